#pragma once

#include "core/files/file_error.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Reading and writing single values of an INI file in Windows-1251, with the behaviour of
// the Windows profile functions: sections and keys match ignoring case, the first match
// wins, values are trimmed and lose one pair of matching quotes, a read gives at most
// 255 characters, a write keeps every other line byte for byte. CR LF, a lone LF and a
// lone CR each end a line, and a new line gets the line end the file already has.

// Reads key in section of the file; anything missing gives the empty text.
QString GetValueString(const QString &section, const QString &key, const QString &file);

// Writes value under key in section, creating the file, the section or the key as
// needed. The file is replaced through a temporary file. False when it cannot be written.
// A line break in the value is written as a space: the value stays on its key's line.
// A section or key that could not be read back (holding '[', ']', '=', a line break or a
// character outside Windows-1251, or beginning with ';') is refused and nothing is written.
bool SetValue(const QString &section, const QString &key, const QString &value, const QString &file);

// Writes several keys of one section in one replace of the file: the bytes are those that
// SetValue of each key in turn would leave. False, with the reason, when it cannot be written.
bool SetValues(const QString &section, const QList<std::pair<QString, QString>> &values,
               const QString &file, FileError *error = nullptr);

// A file read once that answers many keys, each exactly as GetValueString would answer it:
// loading the settings or showing a questionnaire question reads its file one time.
class IniFile
{
public:
    // Reads the file; a missing or unreadable file answers every key with the empty text.
    explicit IniFile(const QString &file);
    static IniFile fromBytes(const QByteArray &content);

    QString value(const QString &section, const QString &key) const;

private:
    IniFile() = default;
    void index();

    // Where each section header's name lies, and where its line and the body after it begin.
    struct SectionSpan
    {
        qsizetype nameBegin;
        qsizetype nameSize;
        qsizetype lineBegin;
        qsizetype bodyBegin;
    };
    QByteArray m_content;
    std::vector<SectionSpan> m_sections;
    // The section name looked up last and the index of its first section, -1 for none.
    mutable std::optional<std::pair<QString, qsizetype>> m_lastSearch;
};

// Receives the error box of a run-time failure inside GetValueString or SetValue:
// the title is the function's name, the text "Ошибка: <number> - description".
// The application installs one that shows a message box; without one nothing is shown.
using IniErrorReporter = std::function<void(const QString &title, const QString &text)>;
void setIniErrorReporter(IniErrorReporter reporter);

namespace Ini {
inline constexpr int MaxValueLength = 255;

// The text of one file after a write of several keys of one section in turn.
QByteArray withValues(const QByteArray &original, const QString &section,
                      const QList<std::pair<QString, QString>> &values);
// The value GetValueString reads from a file of this content.
QString valueIn(const QByteArray &content, const QString &section, const QString &key);
} // namespace Ini
