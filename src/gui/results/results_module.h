#pragma once

#include "core/reports/results_export.h"
#include "gui/results/results_chart.h"

#include <QtPlugin>

// What the results window takes from the results module: the charts (Qt Charts) and XLSX
// workbooks (libxlsxwriter). The module is a plugin loaded when the results window first
// opens, so that the program starts without those libraries; everything crosses as plain data
// and through this interface, and the module uses nothing of the program but these headers.
class ResultsModule
{
public:
    virtual ~ResultsModule() = default;

    // See ResultsCharts.
    virtual QWidget *makeChartView(QWidget *parent) = 0;
    virtual void showChart(QWidget *view, const ResultsChart &chart) = 0;

    // See ResultsExport::writeXlsx.
    virtual bool writeXlsx(const QString &path, const QList<ResultsSheet> &sheets, QString *error) = 0;
};

#define ResultsModule_iid "org.tavring.ResultsModule/1.0"
Q_DECLARE_INTERFACE(ResultsModule, ResultsModule_iid)

// The file name of the module without its prefix and suffix ("libtavring_results.so").
inline constexpr char16_t ResultsModuleName[] = u"tavring_results";

// The results module of the folder, loaded on the first call and kept loaded; null when it
// cannot be loaded, with the reason in `error`.
ResultsModule *loadResultsModule(const QString &folder, QString *error);
