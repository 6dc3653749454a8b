#include "core/reports/results.h"

#include <algorithm>

int TicketResult::count(Mark mark) const
{
    return int(std::count(marks.begin(), marks.end(), mark));
}

int TicketResult::unanswered() const
{
    const int questions = std::min(questionCount, Questions);
    return int(std::count(marks.begin(), marks.begin() + questions, NoMark));
}
