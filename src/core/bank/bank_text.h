#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The text handling the bank formats share: reading a file's bytes as text, and the HTML
// that question texts and answers may be written in.
namespace BankText {

// The text of a bank file: UTF-8 or UTF-16 after a byte order mark, UTF-8 when the bytes
// are valid UTF-8, Windows-1251 otherwise. Line ends become "\n". Nothing when the bytes
// hold a NUL, as a text file never does.
std::optional<QString> decode(const QByteArray &bytes);

// How a text of a bank is written.
enum class Markup { Plain, Html, AutoFormat };

// HTML as plain text: tags dropped, entities decoded, blanks collapsed. In a question
// (`breaks` true) <br>, paragraphs, list items and rows become line breaks; in an answer
// they are blanks. Auto-formatted text keeps its own line breaks and may hold HTML too.
QString toPlain(const QString &text, Markup markup, bool breaks);

// The src of every <img> of an HTML text, in order.
QStringList imageSources(const QString &html);
// The bytes of a "data:...;base64," address; nothing for any other address.
std::optional<QByteArray> dataAddressBytes(const QString &source);

// Plain text as HTML that toPlain gives back: special characters escaped, line breaks as
// <br>, runs of blanks kept.
QString toHtml(const QString &plain);

} // namespace BankText
