#pragma once

#include "core/files/file_error.h"
#include "core/reports/results_statistics.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

class QAbstractItemModel;
class ResultsFilterModel;

// A table to export: a title, column headers and rows of values (QDate, QTime, int, double,
// text, or nothing for an empty cell).
struct ResultsTable
{
    QString title;
    QStringList headers;
    QList<QVariantList> rows;

    // The table a model shows, in the order it shows it, with its values (Qt::EditRole).
    static ResultsTable of(const QAbstractItemModel &model, const QString &title = QString());
};

// One sheet of a workbook: its name and its tables, one below the other.
struct ResultsSheet
{
    QString name;
    QList<ResultsTable> tables;
};

namespace ResultsExport {

// The statistics as tables in the language: attempts, verdicts, questions, tickets and days.
QList<ResultsTable> statisticsTables(const ResultsStatistics &statistics, const QString &language);

// The list separator spreadsheet programs expect in the locale: ";" where the decimal
// separator is a comma, "," elsewhere.
QChar listSeparator(const QLocale &locale = QLocale());

// The table as CSV: UTF-8 with a byte-order mark, CR LF line ends, the locale's list separator,
// dates as yyyy-MM-dd, times as HH:mm:ss, numbers with the locale's decimal separator, fields
// quoted where needed. A text that a spreadsheet would take for a formula is written with a
// leading apostrophe. Several tables stand one below the other, each after its title and
// followed by an empty line.
QByteArray csv(const QList<ResultsTable> &tables, const QLocale &locale = QLocale());

// The table a results model shows, as csv() writes ResultsTable::of(shown), read straight from
// the results of its source (a TicketResultsModel or a QuestionnaireRunsModel) without a
// QVariant per cell, so the CSV of a few hundred thousand rows is written at about the speed
// of writing its bytes.
QByteArray csv(const ResultsFilterModel &shown, const QLocale &locale = QLocale());

// Writes the bytes to the file whole or not at all; false with the reason.
bool writeCsv(const QString &path, const QList<ResultsTable> &tables, FileError *error = nullptr);
bool writeCsv(const QString &path, const ResultsFilterModel &shown, FileError *error = nullptr);

} // namespace ResultsExport
