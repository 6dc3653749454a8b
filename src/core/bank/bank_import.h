#pragma once

#include "core/bank/bank_question.h"
#include "core/program/language_policy.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The three bank formats the learning platforms read and write.
enum class BankFormat { Unknown, Aiken, Gift, MoodleXml };

// Reads the questions of a bank file. Every question found is kept, with the reason when it
// cannot become a ticket question; a file that holds no bank at all gives the reason instead.
namespace BankImport {

struct Options
{
    // The language of the answers of a true/false question ("Верно"/"Неверно" or
    // "True"/"False") and of the reasons.
    LanguagePolicy language{QString()};
    // Turns a picture's bytes into the bitmap the ticket keeps; nothing when they are no
    // picture. Without it the bytes are kept as they are.
    std::function<std::optional<QByteArray>(const QByteArray &)> readPicture;
    // Told how far the reading is, in percent, now and then; called on the reading thread.
    std::function<void(int)> progress;
};

struct Result
{
    BankFormat format = BankFormat::Unknown;
    BankQuestions questions;
    // Why the file gave no questions; empty when it was read.
    QString error;
};

// A bank file larger than this is refused before it is read.
inline constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;

// A file whose content shows no format is read in the format its name's ending names
// (".xml", ".gift", ".aiken"), as a bank of descriptions or damaged records still is one.
Result readFile(const QString &path, const Options &options);
Result readBytes(const QByteArray &bytes, const Options &options, BankFormat named = BankFormat::Unknown);

// Which format a text is in, by its content.
BankFormat detect(const QString &text);

BankQuestions parseAiken(const QString &text, const Options &options);
BankQuestions parseGift(const QString &text, const Options &options);
// Nothing, with the reason, when the XML is damaged or is no Moodle quiz.
std::optional<BankQuestions> parseMoodleXml(const QString &text, const Options &options, QString *error);

} // namespace BankImport
