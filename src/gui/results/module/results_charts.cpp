#include "gui/results/results_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QPieSeries>
#include <QValueAxis>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QValueAxis *valueAxis(double minimum, double maximum, const QString &format)
{
    auto *axis = new QValueAxis;
    axis->setRange(minimum, maximum);
    axis->setLabelFormat(format);
    return axis;
}

QValueAxis *percentAxis()
{
    return valueAxis(0, 100, u"%d%%"_s);
}

void addBars(QChart *chart, const ResultsChart &data)
{
    auto *set = new QBarSet(data.seriesName);
    set->append(data.values);
    set->setColor(QColor(0, 128, 0));
    // Flagged bars stand out as selected bars in the warning colour.
    set->setSelectedColor(QColor(200, 0, 0));
    for (qsizetype i = 0; i < data.flagged.size() && i < data.values.size(); ++i) {
        if (data.flagged[i])
            set->selectBar(int(i));
    }
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
    // Many bars leave each name too narrow a room across: the names stand upright then.
    if (data.labels.size() > 8)
        axisX->setLabelsAngle(-90);
    chart->addAxis(axisX, Qt::AlignBottom);
    series->attachAxis(axisX);
    QValueAxis *axisY = valueAxis(data.minimum, data.maximum, data.axisFormat);
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

// The days lie on the axis by their distance from the first day, each at the middle of its
// day; the axis names each day that has a value once, under its point (every few days where
// there are many, so that the names do not run into each other).
void addDays(QChart *chart, const ResultsChart &data)
{
    constexpr int MostNames = 10;
    auto *series = new QLineSeries;
    series->setPointsVisible(true);
    auto *axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const qsizetype count = std::min(data.days.size(), data.values.size());
    const qint64 span = count > 0 ? data.days.first().daysTo(data.days[count - 1]) + 1 : 1;
    const qint64 every = (span + MostNames - 1) / MostNames;
    qint64 nextNamed = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 day = data.days.first().daysTo(data.days[i]);
        series->append(day + 0.5, data.values[i]);
        if (day >= nextNamed) {
            axisX->append(data.days[i].toString(data.dateFormat), day + 0.5);
            nextNamed = day + every;
        }
    }
    chart->addSeries(series);
    axisX->setRange(0, double(span));
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
