#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The clock as the windows show it: the locale's short time and date, as in the settings
// window's clock and the questionnaire report's header.
namespace Clock {

QString shortTime(const QTime &time);
QString shortDate(const QDate &date);

} // namespace Clock
