#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Text files of the program are single-byte Windows-1251 with CR LF line ends,
// so that content made on a Windows workstation opens unchanged.
namespace AnsiText {

inline constexpr char LineEnd[] = "\r\n";

// A character Windows-1251 cannot hold becomes '?'.
QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// Splits text into lines: CR LF or a lone CR ends a line, a lone LF stays part of
// the line, and a final line end adds no empty line.
QStringList splitLines(const QString &text);

// Line breaks as the windows show them: CR LF and a lone CR become "\n".
QString toWindowLineEnds(const QString &text);
// Line breaks as the files hold them: every break becomes CR LF.
QString toFileLineEnds(const QString &text);
// A text box's text in the form of a question or answers file: CR LF line ends and one
// final CR LF. A text that already ends in a line break gets no further one, so loading
// a text and saving it again leaves the file as it was.
QString asFileText(const QString &text);

// Reads every byte of a file; nothing when the file cannot be read.
std::optional<QByteArray> readBytes(const QString &path);
std::optional<QString> readWhole(const QString &path);
std::optional<QStringList> readLines(const QString &path);

// Replaces the file whole through a temporary file, so a failure never leaves half a file.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);
bool writeWhole(const QString &path, const QString &text, QString *error = nullptr);

// Appends the text in a single write; false, with the reason, when any of it failed.
bool append(const QString &path, const QString &text, QString *error = nullptr);

} // namespace AnsiText
