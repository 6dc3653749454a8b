#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <array>

// What the results window reads from the two reports: one ticket of s/oth.txt, one
// questionnaire run of s/lzm.txt, and the parts of either file that are no such thing.

// The verdict of a ticket as the report recorded it, in either language: a verdict, or Other
// for a verdict line that is no verdict's caption (ExamRecordTexts reads the captions).
enum class RecordedVerdict { None, Passed, Failed, FailedOnTime, Other };

struct TicketResult
{
    static constexpr int Questions = 20;
    // A question's mark: the empty item of the marks line, a right or wrong answer, or an
    // item that could not be read.
    enum Mark : qint8 { NoMark = 0, Wrong = 2, Right = 5, Unreadable = -1 };

    // The first line of the record in the report, counted from 1.
    int line = 0;
    // "rus", "eng", or empty for another language (no date line, no mark lines).
    QString language;
    // The date and time as written, and as read (invalid when the record has none or they
    // could not be read).
    QString dateText;
    QString timeText;
    QDate date;
    QTime time;
    QString student;
    // The ticket folder name as written ("b7"), and its number (0 when it is no "b" number).
    QString ticket;
    int ticketNumber = 0;
    std::array<Mark, Questions> marks{};
    QString verdict;
    RecordedVerdict verdictKind = RecordedVerdict::None;
    // The three data lines as one text, as the report keeps them.
    QString data;
    // The ticket's questions as far as the report shows them: the highest question of the
    // same ticket marked in any record. Set after the whole report is read.
    int questionCount = 0;
    // The exam's title from the attempts journal; empty for a record no attempt covers.
    QString exam;
    // The attempt of the journal this result is, by its place in the attempts read; -1 for a
    // record of the report alone.
    int attempt = -1;

    // Whether the marks line can show marks at all: another language writes none.
    bool marksShown() const { return !language.isEmpty(); }
    int count(Mark mark) const;
    // Questions of the ticket (up to questionCount) that have no mark.
    int unanswered() const;
};
// A list of many results grows by moving its bytes, not by copying each result.
Q_DECLARE_TYPEINFO(TicketResult, Q_RELOCATABLE_TYPE);

struct QuestionnaireAnswer
{
    // The question text with its line breaks as "\n", the chosen answer and its points.
    QString question;
    QString answer;
    QString points;
};

struct QuestionnaireRunResult
{
    int line = 0;
    QString name;
    QString timeText;
    QString dateText;
    QDate date;
    QTime time;
    QList<QuestionnaireAnswer> answers;
    // Empty until the run's conclusion block was read.
    QString total;
    QString conclusion;
    bool finished = false;
};

// A part of a report that could not be read as what the report should hold.
struct ReportProblem
{
    enum Kind {
        NotARecord,        // lines that are no part of any record or run
        MissingLine,       // a record with a line missing
        NoClosingLine,     // a record without its closing line of equals signs
        CutRecord,         // the end of the report cuts a record that has begun
        UnreadableMark,    // a marks line with an item that is no evaluation line
        UnreadableDate,    // a date or time that could not be read
        CutConclusion,     // a conclusion block that ends before its last line
        DamagedAttempt,    // a line of the attempts journal that is no attempt
    };

    Kind kind = NotARecord;
    int firstLine = 0;
    int lastLine = 0;
    // The lines concerned, as written (shortened when long).
    QString text;
};

struct ExamReportContents
{
    QList<TicketResult> tickets;
    QList<ReportProblem> problems;
};

struct QuestionnaireReportContents
{
    QList<QuestionnaireRunResult> runs;
    QList<ReportProblem> problems;
};
