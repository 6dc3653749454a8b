// The results module: a Qt plugin that carries what links Qt Charts and libxlsxwriter, loaded
// when the results window first opens.

#include "gui/results/module/results_xlsx.h"
#include "gui/results/results_chart.h"
#include "gui/results/results_module.h"

#include <QObject>

class ResultsModulePlugin final : public QObject, public ResultsModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ResultsModule_iid)
    Q_INTERFACES(ResultsModule)

public:
    QWidget *makeChartView(QWidget *parent) override { return ResultsCharts::makeView(parent); }
    void showChart(QWidget *view, const ResultsChart &chart) override { ResultsCharts::show(view, chart); }
    bool writeXlsx(const QString &path, const QList<ResultsSheet> &sheets, QString *error) override
    {
        return ResultsExport::writeXlsx(path, sheets, error);
    }
};

#include "results_module_plugin.moc"
