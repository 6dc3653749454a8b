#include "core/files/clock.h"

#include <QLocale>

namespace Clock {

QString shortTime(const QTime &time)
{
    return QLocale().toString(time, QLocale::ShortFormat);
}

QString shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace Clock
