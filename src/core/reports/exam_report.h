#pragma once

#include "core/exam/verdict.h"
#include "core/files/file_error.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTime>

// The result sheet of one finished ticket, as the evaluation window makes it from the
// ticket's outcome, and the exam report "s/oth.txt" that collects one record per saved
// ticket. The record's texts are those of ExamRecordTexts.
struct ExamRecord
{
    QString language;
    QString date;
    QString time;
    QString student;
    // The ticket line as the ticket window showed it ("Билет № b7").
    QString ticket;
    // The marks of questions 1 to 20: "0" unanswered, "2" wrong, "5" right.
    QStringList marks;
    Verdict verdict = Verdict::None;
    // The student's three optional data lines.
    QString data1;
    QString data2;
    QString data3;
};

namespace ExamReport {

inline constexpr int Questions = 20;

// The date in the locale's short form and the time with seconds, as the record keeps them.
QString dateText(QDate date, const QLocale &locale = QLocale());
QString timeText(QTime time, const QLocale &locale = QLocale());

// The record as the report holds it, before the Windows-1251 encoding: every line ended by
// CR CR LF, closed by a line of 18 equals signs and an empty separator line.
QString recordText(const ExamRecord &record);

// The note that the unfinished ticket of a student was discarded, which the report keeps in
// the form of a record: the date line, the student line, the ticket line, the note (in Russian
// for a language other than "eng") and the closing lines. The record's marks, verdict and data
// lines are not used.
QString discardNoteText(const ExamRecord &record);

// Appends the record to the report of the program folder, creating the folder "s" when
// it is missing. The record goes in whole or not at all, also while other programs append
// to the same report; on failure the error text names the reason.
bool append(const QString &programFolder, const ExamRecord &record, FileError *error = nullptr);
bool appendDiscardNote(const QString &programFolder, const ExamRecord &record, FileError *error = nullptr);

} // namespace ExamReport
