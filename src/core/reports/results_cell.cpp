#include "core/reports/results_cell.h"

ResultsCell ResultsCell::date(QDate date)
{
    ResultsCell cell;
    if (date.isValid()) {
        cell.m_kind = Kind::Date;
        cell.m_value.day = date.toJulianDay();
    }
    return cell;
}

ResultsCell ResultsCell::time(QTime time)
{
    ResultsCell cell;
    if (time.isValid()) {
        cell.m_kind = Kind::Time;
        cell.m_value.msecs = time.msecsSinceStartOfDay();
    }
    return cell;
}

ResultsCell ResultsCell::integer(int value)
{
    ResultsCell cell;
    cell.m_kind = Kind::Integer;
    cell.m_value.integer = value;
    return cell;
}

ResultsCell ResultsCell::number(double value)
{
    ResultsCell cell;
    cell.m_kind = Kind::Number;
    cell.m_value.number = value;
    return cell;
}

ResultsCell ResultsCell::text(const QString &text)
{
    ResultsCell cell;
    cell.m_kind = Kind::Text;
    cell.m_value.text = &text;
    return cell;
}

ResultsCell ResultsCell::of(const QVariant &value, QString *text)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return ResultsCell();
    case QMetaType::QDate:
        return date(value.toDate());
    case QMetaType::QTime:
        return time(value.toTime());
    case QMetaType::Int:
        return integer(value.toInt());
    case QMetaType::Double:
        return number(value.toDouble());
    case QMetaType::QString:
        return ResultsCell::text(*static_cast<const QString *>(value.constData()));
    default:
        *text = value.toString();
        return ResultsCell::text(*text);
    }
}

QVariant ResultsCell::toVariant() const
{
    switch (m_kind) {
    case Kind::Empty: return QVariant();
    case Kind::Date: return date();
    case Kind::Time: return time();
    case Kind::Integer: return integer();
    case Kind::Number: return number();
    case Kind::Text: return text();
    }
    return QVariant();
}
