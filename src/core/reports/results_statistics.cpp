#include "core/reports/results_statistics.h"

#include <QCollator>

#include <algorithm>

namespace {

void add(ResultsStatistics::Answers &answers, TicketResult::Mark mark)
{
    ++answers.asked;
    if (mark == TicketResult::Right)
        ++answers.right;
    else if (mark == TicketResult::Wrong)
        ++answers.wrong;
    else
        ++answers.unanswered;
}

} // namespace

ResultsStatistics ResultsStatistics::of(const QList<TicketResult> &tickets)
{
    ResultsStatistics statistics;
    QHash<QString, qsizetype> ticketRow;
    QHash<QString, int> ticketNumber;
    for (const TicketResult &ticket : tickets) {
        ++statistics.attempts;
        ++statistics.verdicts[ticket.verdictKind];
        if (ticket.date.isValid()) {
            Day &day = statistics.days[ticket.date];
            ++day.attempts;
            if (ticket.verdictKind == RecordedVerdict::Passed)
                ++day.passed;
        }
        if (!ticket.marksShown()) {
            ++statistics.withoutMarks;
            continue;
        }
        auto row = ticketRow.constFind(ticket.ticket);
        if (row == ticketRow.cend()) {
            row = ticketRow.insert(ticket.ticket, statistics.tickets.size());
            statistics.tickets.append({ticket.ticket, Answers()});
            ticketNumber.insert(ticket.ticket, ticket.ticketNumber);
        }
        Answers &ofTicket = statistics.tickets[*row].second;
        const int questions = std::min(ticket.questionCount, TicketResult::Questions);
        for (int n = 0; n < questions; ++n) {
            if (ticket.marks[n] == TicketResult::Unreadable)
                continue;
            add(statistics.questions[n], ticket.marks[n]);
            add(ofTicket, ticket.marks[n]);
        }
    }
    // Tickets in the order of their numbers; names that are no "b" number after them.
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(statistics.tickets.begin(), statistics.tickets.end(), [&](const auto &a, const auto &b) {
        const int left = ticketNumber.value(a.first);
        const int right = ticketNumber.value(b.first);
        if ((left > 0) != (right > 0))
            return left > 0;
        if (left != right)
            return left < right;
        return collator.compare(a.first, b.first) < 0;
    });
    return statistics;
}
