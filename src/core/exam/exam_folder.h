#pragma once

#include "core/files/ansi_text.h"

#include <QString>
#include <QStringList>

#include <optional>

// The files of an exam folder: "lzm.lzm" (the title) and the ticket folders "b" + T, each
// with q<N>.txt (question), v<N>.txt (offered answers, one per line), o<N>.txt (the correct
// answer on its first line) and the optional picture k<N>.bmp, for N = 1 .. 20.
namespace ExamFolder {

inline constexpr int MaxQuestions = 20;

// The title: the whole of "lzm.lzm", line ends included; nothing when it cannot be read.
std::optional<QString> readTitle(const QString &examFolder);

// "b" + the ticket number as it is written, such as b7.
QString ticketFolderName(const QString &ticketNumber);

QString questionFile(int question);
QString answersFile(int question);
QString correctAnswerFile(int question);
QString pictureFile(int question);

} // namespace ExamFolder

// One ticket folder of an exam. A ticket number that would not make one folder level
// (such as "../x" or an empty text) names no folder: every file of it is missing.
class ExamTicket
{
public:
    ExamTicket(const QString &examFolder, const QString &ticketNumber);
    // The ticket folder of that name ("b7"); a name that is not one folder level, or whose
    // number after the "b" is not one either, names no folder.
    static ExamTicket named(const QString &examFolder, const QString &folderName);

    bool isValid() const { return !m_folder.isEmpty(); }
    // The full path of a file of the ticket folder; empty for an invalid ticket.
    QString path(const QString &fileName) const;

    // The file name when that file exists in the ticket folder, else the empty text.
    QString presentName(const QString &fileName) const;
    bool has(const QString &fileName) const { return !presentName(fileName).isEmpty(); }

    // Question N can be opened: its question, answers and correct-answer files exist.
    bool isComplete(int question) const;

    // The question text, read whole; nothing when it cannot be read.
    std::optional<QString> questionText(int question) const;
    // The offered answers, one per line, decoded as each is asked for; an unreadable file
    // gives no answers.
    AnsiText::Lines answers(int question) const;
    // The lines of the correct-answer file; only the first is the correct answer.
    QStringList correctAnswerLines(int question) const;

private:
    ExamTicket() = default;

    QString m_folder;
};
