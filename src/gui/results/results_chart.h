#pragma once

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// A chart of the results, as plain data: what the results window wants drawn. The drawing is
// done by the results module, which links Qt Charts, so that the program does not load it
// before the results window is opened.
struct ResultsChart
{
    enum class Kind {
        Bars, // a percentage (0 to 100) per category
        Pie,  // a count per slice
        Days, // a percentage per day, as a line
    };

    Kind kind = Kind::Bars;
    QString title;
    // Bars: the name of the values ("Right, %").
    QString seriesName;
    // Bars: the categories; pie: the slice labels.
    QStringList labels;
    // One value per category, slice or day.
    QList<double> values;
    // Bars: the value axis, a percentage unless set otherwise, and how it labels its ticks.
    double minimum = 0.0;
    double maximum = 100.0;
    QString axisFormat = QStringLiteral("%d%%");
    // Bars: the categories drawn in the warning colour (questions a teacher should look at).
    QList<bool> flagged;
    // Pie: the colour of each slice; an invalid colour leaves the chart's own.
    QList<QColor> colours;
    // Days: the day of each value, in order; the axis shows them in `dateFormat`.
    QList<QDate> days;
    QString dateFormat;
};

namespace ResultsCharts {

// The view the charts are shown in, named "chartView".
QWidget *makeView(QWidget *parent);

// Shows the chart in a view made by makeView(), in place of the one it showed.
void show(QWidget *view, const ResultsChart &chart);

} // namespace ResultsCharts
