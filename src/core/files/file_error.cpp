#include "core/files/file_error.h"

#include "core/program/language_policy.h"

#include <QDir>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

FileError::FileError(Kind kind, const QString &path, const QString &systemText)
    : m_kind(kind), m_path(path), m_systemText(systemText)
{
}

FileError FileError::fromSystem(int systemError, const QString &path, const QString &systemText)
{
    const QString text = systemText.isEmpty() && systemError != 0 ? QString::fromLocal8Bit(std::strerror(systemError))
                                                                    : systemText;
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return FileError(Kind::NoSpace, path, text);
    case EACCES:
    case EPERM:
        return FileError(Kind::AccessDenied, path, text);
    case EROFS:
        return FileError(Kind::ReadOnly, path, text);
    case ENOENT:
    case ENOTDIR:
        return FileError(Kind::NotFound, path, text);
    case EISDIR:
        return FileError(Kind::FolderInPlace, path, text);
    default:
        return FileError(Kind::Other, path, text);
    }
}

QString FileError::reason(const LanguagePolicy &language) const
{
    if (m_kind == Kind::None)
        return QString();
    QString text = m_systemText;
    // English keeps the system's own words where it gave some; Russian says the common
    // failures in Russian, so a message does not switch language half way.
    if (language.isEnglish() ? text.isEmpty() : m_kind != Kind::Other) {
        switch (m_kind) {
        case Kind::None:
        case Kind::Other:
            break;
        case Kind::NoSpace:
            text = language.text(u"на диске нет места"_s, u"No space left on device"_s);
            break;
        case Kind::AccessDenied:
            text = language.text(u"доступ запрещен"_s, u"Permission denied"_s);
            break;
        case Kind::ReadOnly:
            text = language.text(u"файловая система доступна только для чтения"_s, u"Read-only file system"_s);
            break;
        case Kind::NotFound:
            text = language.text(u"нет такого файла или папки"_s, u"No such file or directory"_s);
            break;
        case Kind::LockedElsewhere:
            text = language.text(u"файл занят другой рабочей станцией или программой"_s,
                                 u"the file is locked by another workstation or program"_s);
            break;
        case Kind::FolderInPlace:
            text = language.text(u"на месте файла стоит папка"_s, u"Is a directory"_s);
            break;
        case Kind::Unreadable:
            text = language.text(u"файл не удалось прочитать"_s, u"the file could not be read"_s);
            break;
        }
    }
    if (text.isEmpty())
        text = language.text(u"причина неизвестна"_s, u"unknown reason"_s);
    if (m_partLeft)
        text += language.text(u"; записанную часть не удалось убрать"_s, u"; the part written could not be taken back"_s);
    return text;
}

QString FileError::describe(const LanguagePolicy &language) const
{
    return QDir::toNativeSeparators(m_path) + u": "_s + reason(language);
}
