#pragma once

#include <QString>

// The language of captions and messages: "rus" or "eng". Any other value keeps the
// designed Russian captions and shows no message that is chosen by language.
namespace Language {

bool isRussian(const QString &language);
bool isEnglish(const QString &language);

// The text for the language; the empty text (no message) for another language.
QString pick(const QString &language, const QString &russian, const QString &english);

} // namespace Language
