#pragma once

#include "core/reports/results.h"

#include <QString>

// The texts of the results in the window's language: English for "eng", Russian otherwise
// (the window keeps its designed Russian texts in another language).
namespace ResultsTexts {

QString pick(const QString &language, const QString &russian, const QString &english);
QString verdict(RecordedVerdict verdict, const QString &language);
QString problem(ReportProblem::Kind kind, const QString &language);

} // namespace ResultsTexts
