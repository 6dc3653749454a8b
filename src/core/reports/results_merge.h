#pragma once

#include "core/reports/attempts_journal.h"
#include "core/reports/results.h"

#include <QList>
#include <QStringList>

// The tickets of the results: the attempts of the journal whose record went to the report,
// and the records of the report that no attempt covers (older records, or records another
// copy of the program wrote). A record is covered by the attempt of the same student, ticket,
// date and time, so nothing is counted twice; an attempt whose record is no longer in the
// report is still a result.
namespace ResultsMerge {

// The report's tickets with the attempts merged in, in the report's order, the attempts
// without a record after them; each result that is an attempt names it and its exam.
QList<TicketResult> merge(QList<TicketResult> report, const QList<Attempt> &attempts);

// The attempt as a row of the results, as its record in the report reads.
TicketResult resultOf(const Attempt &attempt);

// The damaged lines of the journal as problems of the results.
QList<ReportProblem> problemsOf(const QList<AttemptsJournal::Damaged> &damaged);

// The exams of the results in name order, for choosing one; records without an exam are no
// exam of their own here.
QStringList exams(const QList<TicketResult> &tickets);

} // namespace ResultsMerge
