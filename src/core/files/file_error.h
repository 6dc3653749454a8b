#pragma once

#include <QString>

class LanguagePolicy;

// Why a file operation failed: what happened, in terms the program can say in either
// language, the file it happened to, and the system's own text. The common failures of a
// school workstation (a full disk, no access, a read-only or missing folder, a report another
// workstation holds) are said in the window's language; anything else keeps the system's text.
class FileError final
{
public:
    enum class Kind {
        None,           // no failure
        NoSpace,        // the disk or the user's quota is full
        AccessDenied,
        ReadOnly,       // a read-only file system
        NotFound,       // the file or a folder on its path does not exist
        LockedElsewhere,// another workstation or program holds the file's lock
        Unreadable,     // the file exists but its content cannot be read as the program needs
        FolderInPlace,  // a folder stands where the file should be
        Other,
    };

    FileError() = default;
    FileError(Kind kind, const QString &path, const QString &systemText = QString());
    // The failure a system error number (errno) stands for.
    static FileError fromSystem(int systemError, const QString &path, const QString &systemText = QString());

    bool isError() const { return m_kind != Kind::None; }
    Kind kind() const { return m_kind; }
    QString path() const { return m_path; }
    QString systemText() const { return m_systemText; }

    // A failed append could not take back the part it wrote.
    void setPartLeft() { m_partLeft = true; }
    bool partLeft() const { return m_partLeft; }

    // Why, in the language: Russian for any value but "eng", as the messages that name a
    // failed save are said whatever the language.
    QString reason(const LanguagePolicy &language) const;
    // The file and why: "<file>: <reason>".
    QString describe(const LanguagePolicy &language) const;

private:
    Kind m_kind = Kind::None;
    QString m_path;
    QString m_systemText;
    bool m_partLeft = false;
};
