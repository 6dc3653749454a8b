#pragma once

#include "core/reports/attempt.h"

#include <QString>

// The result sheet of a finished ticket on paper, for the student to take away: the program's
// title, the date and time, the student and the data lines, the exam and the ticket, each
// question with the answer chosen and its mark, the grade and the verdict, in the sheet's
// language (English for a language that is neither Russian nor English).
namespace ResultSheet {

// The sheet as HTML for a paged document. `date` and `time` are those of the sheet.
QString html(const QString &programTitle, const Attempt &attempt, const QString &date, const QString &time);

} // namespace ResultSheet
