#include "core/reports/results_filter.h"

bool ResultsFilter::acceptsDate(const QDate &date) const
{
    if (!from.isValid() && !to.isValid())
        return true;
    if (!date.isValid())
        return false;
    return (!from.isValid() || date >= from) && (!to.isValid() || date <= to);
}

bool ResultsFilter::acceptsName(const QString &name) const
{
    if (namePart.isEmpty())
        return true;
    if (!m_namePart || m_namePart->text() != namePart)
        m_namePart = std::make_shared<const NamePart>(namePart);
    return m_namePart->in(name);
}

bool ResultsFilter::accepts(const TicketResult &result) const
{
    if (!acceptsDate(result.date))
        return false;
    if (!acceptsName(result.student))
        return false;
    if (verdict && result.verdictKind != *verdict)
        return false;
    if (exam && result.exam != *exam)
        return false;
    if (!ticket.trimmed().isEmpty()) {
        const QString wanted = ticket.trimmed();
        if (wanted.compare(result.ticket, Qt::CaseInsensitive) != 0
            && !(result.ticketNumber > 0 && wanted == QString::number(result.ticketNumber)))
            return false;
    }
    return true;
}

bool ResultsFilter::accepts(const QuestionnaireRunResult &run) const
{
    return acceptsDate(run.date) && acceptsName(run.name);
}
