#pragma once

#include "core/reports/results_export.h"

#include <QList>
#include <QString>
#include <QStringList>

// Results on paper: a title, the lines that say what is shown (the date, the exam, the
// filter) and tables whose header rows repeat on every page a long table runs over.
namespace ResultsPdf {

// The page as HTML for PagedDocument, which writes it as a PDF file or prints it.
QString html(const QString &title, const QStringList &heading, const QList<ResultsTable> &tables);

} // namespace ResultsPdf
