#pragma once

#include "core/exam/verdict.h"
#include "core/program/student.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One ticket that ended, as the attempts journal keeps it: what the exam report cannot say
// (the exam, the answers chosen, the question texts as shown, the times), whether or not the
// ticket's record went to the report.
struct Attempt
{
    // How the ticket ended.
    enum class Ending {
        Graded,       // its sheet was closed after a grade
        Closed,       // its sheet was closed without a grade
        FailedOnTime, // its sheet was closed after the time ran out
        Abandoned,    // a question could not be read, or the ticket was left without a sheet
        Discarded,    // cut off by a crash and discarded at the next start
    };

    struct Question
    {
        int number = 0;
        QString text;
        // The answers in the order the student saw them; empty for a question never opened.
        QStringList offered;
        // Empty when the question was not answered.
        QString chosen;
        QString correct;
        // "0" unanswered, "2" wrong, "5" right.
        QString mark;
        // From opening to answering; none when unknown (not answered, or answered before a crash).
        std::optional<int> seconds;

        bool operator==(const Question &) const = default;
    };

    QString examFolder;
    QString examTitle;
    // The ticket number as drawn or typed, its folder name and the ticket line of the sheet.
    QString ticket;
    QString ticketFolder;
    QString ticketLine;
    QString language;
    QList<Question> questions;
    Student student;
    // The host name of the workstation the ticket ran on.
    QString workstation;
    // Invalid when unknown (a ticket taken up after a crash did not keep its start).
    QDateTime start;
    QDateTime end;
    Ending ending = Ending::Abandoned;
    QString grade;
    Verdict verdict = Verdict::None;
    QString passScore;
    QString questionCount;
    bool ticketTimer = false;
    bool questionTimer = false;
    int countdownSeconds = 0;
    bool savedToReport = false;
    // The date and time texts of the record in the report, as written, when it was saved: they
    // tell which record of the report this attempt is.
    QString reportDate;
    QString reportTime;
    // Fields a later version of the program wrote, kept as read.
    QJsonObject unknown;

    bool operator==(const Attempt &) const = default;
};
// A journal's many attempts grow by moving their bytes, not by copying each one.
Q_DECLARE_TYPEINFO(Attempt::Question, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(Attempt, Q_RELOCATABLE_TYPE);
