#pragma once

#include "core/exam/verdict.h"
#include "core/program/language_policy.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The texts of a record of the exam report "s/oth.txt", in one place for the code that shows
// them (the ticket and evaluation windows), the writer and the reader of the report. A record
// is, line by line: the date line, the student line, the ticket line, the twenty evaluation
// lines joined by "; ", the verdict, the data line when there are data, and a closing line.
//
// "rus" and "eng" have their own texts; another language writes no date line, no ticket line,
// empty evaluation lines and no verdict. The reader knows the texts of both languages.
class ExamRecordTexts final
{
public:
    static constexpr int Questions = 20;

    explicit ExamRecordTexts(const QString &language);

    // "Дата: 08.12.2026 Время: 10:30:15", "Date: 12/8/26Time: 10:30:15 AM" (without a blank
    // before the time, as the report has always had it); nothing for another language.
    std::optional<QString> dateLine(const QString &date, const QString &time) const;
    // "Билет № b7" or "Ticket № b7"; the empty text for another language.
    QString ticketLine(const QString &ticketFolderName) const;
    // The evaluation line of question 1 to 20 ending with its mark, such as
    // "Третий вопрос, оценка  5"; the empty text for another language.
    QString evaluationLine(int question, const QString &mark) const;
    // The evaluation lines of questions 1 to 20 for their marks: empty for a question without
    // a mark ("0" or a text that is no number).
    QStringList evaluationLines(const QStringList &marks) const;
    // The verdict's caption in the language, such as "Не зачет"; the empty text for no
    // verdict and for another language.
    QString verdict(Verdict verdict) const;
    // The note that an unfinished ticket was discarded: English for "eng", Russian otherwise.
    QString discardNote() const;

    // The line of the student's three data lines; none when all are empty.
    static std::optional<QString> dataLine(const QString &data1, const QString &data2, const QString &data3);
    static QString closingLine();
    // Whether a mark counts: "2" and "5" do, "0" and a text that is no number do not.
    static bool isMarked(const QString &mark);
    // A verdict's caption in a caption set, for the results of the report.
    static QString verdictCaption(Verdict verdict, LanguagePolicy::Captions captions);

    // Reading a record back, in either language. The texts read are views into the line
    // given, so that a reader keeps only what it wants to keep.
    struct DateLine
    {
        QString language; // "rus" or "eng"
        QStringView date;
        QStringView time;
    };
    static std::optional<DateLine> readDateLine(QStringView line);
    static bool isDateLine(QStringView line);
    // The student line begins with the student frame's caption and two blanks.
    static bool isStudentLine(QStringView line);
    // The name and data of a student line, its caption cut off.
    static QStringView studentOf(QStringView line);
    // A ticket line in either language, or the empty line of another language.
    static bool isTicketLine(QStringView line);
    // Whether a line begins with the caption of a ticket line.
    static bool hasTicketCaption(QStringView line);
    // The ticket folder name of a ticket line ("b7").
    static QStringView ticketOf(QStringView line);
    struct Mark
    {
        QString language; // "rus" or "eng"
        QStringView mark; // what follows the evaluation line's text
    };
    // An item of the marks line as the evaluation line of that question; nothing when it is
    // none in either language.
    static std::optional<Mark> readEvaluationLine(int question, QStringView item);
    struct EncodedMark
    {
        QString language; // "rus" or "eng"
        QByteArrayView mark;
    };
    // The same for an item as the report's Windows-1251 bytes, read without decoding them.
    static std::optional<EncodedMark> readEvaluationItem(int question, QByteArrayView item);
    // The verdict of a verdict line in either language: None for the empty line, nothing for
    // a line that is no verdict caption.
    static std::optional<Verdict> readVerdict(QStringView line);
    // The data of a data line; nothing when the line is no data line.
    static std::optional<QStringView> readDataLine(QStringView line);
    static bool isDiscardNote(QStringView line);

private:
    LanguagePolicy m_language;
};
