#pragma once

#include "core/exam/ticket_run.h"

#include <QString>

// A run taken through steps written as letters: R and W answer the open question right ("Да")
// or wrong ("Нет") and open the next one, T is a second on both timers, E evaluates.
inline void play(TicketRun &run, const QString &steps)
{
    for (const QChar step : steps) {
        if (step == u'R' || step == u'W') {
            const TicketRun::Choice choice = run.choose(step == u'R' ? QStringLiteral("Да") : QStringLiteral("Нет"));
            if (choice.next == TicketRun::Next::Unlocked)
                run.open(run.currentQuestion() + 1);
        } else if (step == u'T') {
            run.tickTicketTimer();
            run.tickQuestionTimer();
        } else if (step == u'E') {
            run.evaluate();
        }
    }
}
