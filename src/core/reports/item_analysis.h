#pragma once

#include "core/reports/attempt.h"
#include "core/reports/results.h"
#include "core/reports/results_export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// How well the questions of each ticket worked, for the tickets the filter shows: for every
// question how many got it right, whether it separates strong students from weak ones, which
// wrong answers draw the class; for every ticket its mean grade, pass rate and reliability.
// Records of the report alone give marks only; attempts of the journal also give the answers
// chosen, the grade and the question texts.
struct ItemAnalysis
{
    // Below this many attempts a ticket's reliability is not computed and no question is
    // flagged: a handful of students says nothing about a question.
    static constexpr int MinimumAttempts = 5;

    enum Flag {
        TooEasy = 0x1,                // nearly everyone right (facility above 0.9)
        TooHard = 0x2,                // nearly everyone wrong (facility below 0.2)
        NegativeDiscrimination = 0x4, // the weaker students do better on it than the stronger
        NearZeroDiscrimination = 0x8, // it does not tell strong and weak students apart
        UnchosenDistractor = 0x10,    // a wrong answer nobody chooses
    };

    struct Option
    {
        QString answer;
        int chosen = 0;
        bool right = false;
    };

    struct Question
    {
        QString exam;
        QString ticket;
        int number = 0;
        QString text;
        int attempts = 0;
        int right = 0;
        int unanswered = 0;
        // The share right, 0 to 1.
        double facility = 0.0;
        // The correlation of the question's mark with the rest of the ticket's marks; none
        // when either does not vary.
        std::optional<double> itemRest;
        // The share right of the best 27 % of the attempts less that of the weakest 27 %;
        // none below two attempts.
        std::optional<double> upperLower;
        // The answers offered and chosen, in the order first seen; answers chosen that were
        // not offered come after them.
        QList<Option> options;
        int flags = 0;

        double unansweredShare() const { return attempts ? double(unanswered) / attempts : 0.0; }
    };

    enum class Reliability { Computed, TooFewAttempts, TooFewQuestions, NoSpread };

    struct Ticket
    {
        QString exam;
        QString ticket;
        int attempts = 0;
        // Over the attempts whose grade is known (the journal's).
        std::optional<double> meanGrade;
        double passRate = 0.0;
        std::optional<double> kr20;
        Reliability reliability = Reliability::TooFewAttempts;
    };

    QList<Question> questions;
    QList<Ticket> tickets;

    // The results as shown; `attempts` are those the results name by index.
    static ItemAnalysis of(const QList<TicketResult> &results, const QList<Attempt> &attempts);

    // The tickets and the questions as tables in the language, for printing and export.
    QList<ResultsTable> tables(const QString &language) const;

    // The flags as words in the language, joined by commas.
    static QString flagsText(int flags, const QString &language);
    static QString reliabilityText(Reliability reliability, const QString &language);
};
