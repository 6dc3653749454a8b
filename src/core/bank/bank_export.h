#pragma once

#include "core/bank/bank_import.h"
#include "core/bank/bank_question.h"
#include "core/files/file_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class LanguagePolicy;

// An exam's tickets as a question bank for the learning platforms.
namespace BankExport {

// One question of an exam, and where it stands.
struct ExamQuestion
{
    QString ticket;  // the ticket folder's name, such as b3
    int number = 0;
    BankQuestion question;
};

struct ExamQuestions
{
    QList<ExamQuestion> questions;
    // The questions that could not be read as one right answer among the offered ones, each
    // with its reason.
    QStringList skipped;
};

// The questions of an exam, ticket by ticket in number order; `ticket` names one ticket
// folder ("b3"), or all when empty. The category of each is the exam's title and its ticket.
ExamQuestions readExam(const QString &examFolder, const QString &ticket, const LanguagePolicy &language);

// The tickets of an exam in number order: their folder names (b1, b2, ... b10).
QStringList ticketsOf(const QString &examFolder);

struct Output
{
    QByteArray bytes;
    // The questions the format cannot hold, each with its reason; they are not in the bytes.
    QStringList skipped;
};

// The bank in a format, UTF-8. Moodle XML embeds the pictures, GIFT carries them as data
// addresses in HTML text, Aiken cannot hold them.
Output write(const QList<ExamQuestion> &questions, BankFormat format, const LanguagePolicy &language);

} // namespace BankExport
