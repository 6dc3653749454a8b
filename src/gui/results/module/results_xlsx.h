#pragma once

#include "core/reports/results_export.h"

namespace ResultsExport {

// Writes an XLSX workbook with a worksheet per sheet: dates as dates, times as times, numbers
// as numbers, header rows in bold. The file is replaced whole or not at all; false with the
// reason. Built into the results module, which links libxlsxwriter.
bool writeXlsx(const QString &path, const QList<ResultsSheet> &sheets, QString *error = nullptr);

} // namespace ResultsExport
