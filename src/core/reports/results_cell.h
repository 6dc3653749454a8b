#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

// One cell of a results table as a spreadsheet should hold it: nothing, a date, a time, a
// whole number, a number or a text. A text is held by reference, so a cell is cheap to make
// for every cell of a large table; it must not outlive the text it was made from. The cells
// are made inline, so a writer that walks the columns of a row in a row gets each column's
// cell without a call.
class ResultsCell
{
public:
    enum class Kind : quint8 { Empty, Date, Time, Integer, Number, Text };

    ResultsCell() = default;

    // An invalid date or time is an empty cell.
    static ResultsCell date(QDate date)
    {
        ResultsCell cell;
        if (date.isValid()) {
            cell.m_kind = Kind::Date;
            cell.m_value.day = date.toJulianDay();
        }
        return cell;
    }
    static ResultsCell time(QTime time)
    {
        ResultsCell cell;
        if (time.isValid()) {
            cell.m_kind = Kind::Time;
            cell.m_value.msecs = time.msecsSinceStartOfDay();
        }
        return cell;
    }
    // A date or time that could not be read stays the text that was written.
    static ResultsCell date(QDate date, const QString &written)
    {
        return date.isValid() ? ResultsCell::date(date) : (written.isEmpty() ? ResultsCell() : text(written));
    }
    static ResultsCell time(QTime time, const QString &written)
    {
        return time.isValid() ? ResultsCell::time(time) : (written.isEmpty() ? ResultsCell() : text(written));
    }
    static ResultsCell integer(int value)
    {
        ResultsCell cell;
        cell.m_kind = Kind::Integer;
        cell.m_value.integer = value;
        return cell;
    }
    static ResultsCell number(double value)
    {
        ResultsCell cell;
        cell.m_kind = Kind::Number;
        cell.m_value.number = value;
        return cell;
    }
    static ResultsCell text(const QString &text)
    {
        ResultsCell cell;
        cell.m_kind = Kind::Text;
        cell.m_value.text = &text;
        return cell;
    }
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
