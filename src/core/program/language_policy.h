#pragma once

#include <QString>

// What a language value of the settings means for captions and messages. "rus" and "eng"
// choose the Russian or the English caption set and show the messages chosen by language;
// any other value keeps the designed (Russian) captions and shows none of those messages.
// Every window and every text asks this type, so the rule lives here alone.
class LanguagePolicy final
{
public:
    enum class Captions { Russian, English };

    explicit LanguagePolicy(const QString &language) : m_language(language) {}

    QString value() const { return m_language; }
    bool isRussian() const;
    bool isEnglish() const;
    // "rus" or "eng": the languages that have a caption set and messages of their own.
    bool isKnown() const { return isRussian() || isEnglish(); }

    // The caption set: English for "eng", the designed Russian for any other value.
    Captions captions() const { return isEnglish() ? Captions::English : Captions::Russian; }
    // A caption or a text that is said whatever the language (a ticket set aside, a failed
    // save): English for "eng", Russian otherwise.
    QString text(const QString &russian, const QString &english) const;
    // A message chosen by language: the empty text, which shows no box, for a value other
    // than "rus" and "eng".
    QString message(const QString &russian, const QString &english) const;
    // The texts of the windows that know only two languages and read any value but "rus" as
    // English (the questionnaire window, the exam editor's notes).
    QString englishUnlessRussian(const QString &russian, const QString &english) const;

private:
    QString m_language;
};
