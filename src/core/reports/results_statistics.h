#pragma once

#include "core/reports/results.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <map>

// The statistics of the tickets the filter shows: which questions and tickets the class gets
// wrong, how the verdicts share out, and the pass rate day by day.
struct ResultsStatistics
{
    struct Answers
    {
        // Questions asked: answered right or wrong, or left without an answer within the
        // ticket's questions.
        int asked = 0;
        int right = 0;
        int wrong = 0;
        int unanswered = 0;
        // The share of right answers of the questions asked, 0 to 1; 0 when none was asked.
        double rightShare() const { return asked ? double(right) / asked : 0.0; }
    };

    struct Day
    {
        int attempts = 0;
        int passed = 0;
        double passRate() const { return attempts ? double(passed) / attempts : 0.0; }
    };

    int attempts = 0;
    // Tickets whose record shows no marks (written in another language).
    int withoutMarks = 0;
    std::array<Answers, TicketResult::Questions> questions{};
    // By ticket folder name, in the order of ticket numbers.
    QList<QPair<QString, Answers>> tickets;
    std::map<RecordedVerdict, int> verdicts;
    // By date; tickets without a readable date are not in it.
    std::map<QDate, Day> days;

    static ResultsStatistics of(const QList<TicketResult> &tickets);
};
