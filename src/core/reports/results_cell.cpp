#include "core/reports/results_cell.h"

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
