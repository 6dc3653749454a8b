#pragma once

#include "core/exam/verdict.h"

#include <QString>
#include <QStringList>

// What a closed ticket comes to, for its result sheet and its record in the report. The lists
// hold one entry per question 1 .. 20 (none when no ticket ran).
struct TicketOutcome
{
    // "Билет № b7" or "Ticket № b7" as the ticket window showed it; empty for another language.
    QString ticketLine;
    // "0" unanswered, "2" wrong, "5" right.
    QStringList marks;
    // The question text of an answered question; the question file name of the others.
    QStringList questionTexts;
    // The grade as the ticket window's holder shows it; empty before an evaluation.
    QString grade;
    Verdict verdict = Verdict::None;
};
