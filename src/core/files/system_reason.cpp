#include "core/files/system_reason.h"

#include <QList>

#include <cerrno>
#include <utility>

using namespace Qt::StringLiterals;

namespace SystemReason {

QString russian(const QString &reason)
{
    // The texts are asked of the same function that made them, so they match on every system.
    static const QList<std::pair<QString, QString>> known{
        {qt_error_string(ENOSPC), u"на диске нет места"_s},
        {qt_error_string(EDQUOT), u"исчерпана квота диска"_s},
        {qt_error_string(EACCES), u"отказано в доступе"_s},
        {qt_error_string(EPERM), u"операция не разрешена"_s},
        {qt_error_string(EROFS), u"файловая система только для чтения"_s},
        {qt_error_string(ENOENT), u"нет такого файла или папки"_s},
        {u"the file is locked by another program"_s, u"файл занят другой программой"_s},
    };
    QString text = reason;
    for (const auto &[english, translated] : known) {
        if (text.contains(english, Qt::CaseInsensitive))
            text.replace(english, translated, Qt::CaseInsensitive);
    }
    return text;
}

} // namespace SystemReason
