#pragma once

#include "core/files/file_error.h"
#include "core/reports/results_export.h"

#include <QList>
#include <QString>
#include <QStringList>

// Results on paper: a title, the lines that say what is shown (the date, the exam, the
// filter) and tables whose header rows repeat on every page a long table runs over.
namespace ResultsPdf {

// The page as HTML that QTextDocument lays out.
QString html(const QString &title, const QStringList &heading, const QList<ResultsTable> &tables);

// Writes the page as a PDF file of A4 pages, whole or not at all; false with the reason.
bool write(const QString &path, const QString &html, FileError *error = nullptr);

} // namespace ResultsPdf
