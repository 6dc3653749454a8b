#include "core/program/language_policy.h"

using namespace Qt::StringLiterals;

bool LanguagePolicy::isRussian() const
{
    return m_language == "rus"_L1;
}

bool LanguagePolicy::isEnglish() const
{
    return m_language == "eng"_L1;
}

QString LanguagePolicy::text(const QString &russian, const QString &english) const
{
    return isEnglish() ? english : russian;
}

QString LanguagePolicy::message(const QString &russian, const QString &english) const
{
    if (isRussian())
        return russian;
    if (isEnglish())
        return english;
    return QString();
}

QString LanguagePolicy::englishUnlessRussian(const QString &russian, const QString &english) const
{
    return isRussian() ? russian : english;
}
