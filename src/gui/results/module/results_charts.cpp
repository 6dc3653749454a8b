#include "gui/results/results_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QPieSeries>
#include <QValueAxis>

using namespace Qt::StringLiterals;

namespace {

QValueAxis *percentAxis()
{
    auto *axis = new QValueAxis;
    axis->setRange(0, 100);
    axis->setLabelFormat(u"%d%%"_s);
    return axis;
}

void addBars(QChart *chart, const ResultsChart &data)
{
    auto *set = new QBarSet(data.seriesName);
    set->append(data.values);
    set->setColor(QColor(0, 128, 0));
    auto *series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsFormat(u"@value"_s);
    series->setLabelsPrecision(3);
    // Up the bar, so that "100" fits a bar as narrow as one of twenty questions; white reads
    // on the dark green.
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    series->setLabelsAngle(-90);
    set->setLabelColor(Qt::white);
    chart->addSeries(series);
    auto *axisX = new QBarCategoryAxis;
    axisX->append(data.labels);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    QValueAxis *axisY = percentAxis();
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);
}

void addPie(QChart *chart, const ResultsChart &data)
{
    auto *series = new QPieSeries;
    for (qsizetype i = 0; i < data.values.size(); ++i) {
        QPieSlice *slice = series->append(data.labels.value(i), data.values[i]);
        slice->setLabelVisible(true);
        if (const QColor colour = data.colours.value(i); colour.isValid())
            slice->setColor(colour);
    }
    chart->addSeries(series);
}

void addDays(QChart *chart, const ResultsChart &data)
{
    auto *series = new QLineSeries;
    series->setPointsVisible(true);
    for (qsizetype i = 0; i < data.days.size() && i < data.values.size(); ++i)
        series->append(QDateTime(data.days[i], QTime(12, 0)).toMSecsSinceEpoch(), data.values[i]);
    chart->addSeries(series);
    auto *axisX = new QDateTimeAxis;
    axisX->setFormat(data.dateFormat);
    if (!data.days.isEmpty())
        axisX->setRange(QDateTime(data.days.first(), QTime(0, 0)), QDateTime(data.days.last().addDays(1), QTime(0, 0)));
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    QValueAxis *axisY = percentAxis();
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisY);
}

} // namespace

namespace ResultsCharts {

QWidget *makeView(QWidget *parent)
{
    auto *view = new QChartView(parent);
    view->setObjectName(u"chartView"_s);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void show(QWidget *view, const ResultsChart &data)
{
    auto *chartView = qobject_cast<QChartView *>(view);
    if (!chartView)
        return;
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setVisible(false);
    chart->setTitle(data.title);
    switch (data.kind) {
    case ResultsChart::Kind::Bars:
        addBars(chart, data);
        break;
    case ResultsChart::Kind::Pie:
        addPie(chart, data);
        break;
    case ResultsChart::Kind::Days:
        addDays(chart, data);
        break;
    }
    // The view hands the chart it showed back to its caller.
    QChart *old = chartView->chart();
    chartView->setChart(chart);
    delete old;
}

} // namespace ResultsCharts
