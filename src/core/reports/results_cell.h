#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

// One cell of a results table as a spreadsheet should hold it: nothing, a date, a time, a
// whole number, a number or a text. A text is held by reference, so a cell is cheap to make
// for every cell of a large table; it must not outlive the text it was made from.
class ResultsCell
{
public:
    enum class Kind : quint8 { Empty, Date, Time, Integer, Number, Text };

    ResultsCell() = default;

    // An invalid date or time is an empty cell.
    static ResultsCell date(QDate date);
    static ResultsCell time(QTime time);
    static ResultsCell integer(int value);
    static ResultsCell number(double value);
    static ResultsCell text(const QString &text);
    // The cell of a value (QDate, QTime, int, double, a text, or nothing); any other value is
    // taken as its text, which *text then holds.
    static ResultsCell of(const QVariant &value, QString *text);

    Kind kind() const { return m_kind; }
    QDate date() const { return QDate::fromJulianDay(m_value.day); }
    QTime time() const { return QTime::fromMSecsSinceStartOfDay(m_value.msecs); }
    int integer() const { return m_value.integer; }
    double number() const { return m_value.number; }
    const QString &text() const { return *m_value.text; }

    QVariant toVariant() const;

private:
    Kind m_kind = Kind::Empty;
    union {
        qint64 day = 0;
        int msecs;
        int integer;
        double number;
        const QString *text;
    } m_value;
};
