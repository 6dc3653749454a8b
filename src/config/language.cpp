#include "config/language.h"

using namespace Qt::StringLiterals;

namespace Language {

bool isRussian(const QString &language)
{
    return language == "rus"_L1;
}

bool isEnglish(const QString &language)
{
    return language == "eng"_L1;
}

QString pick(const QString &language, const QString &russian, const QString &english)
{
    if (isRussian(language))
        return russian;
    if (isEnglish(language))
        return english;
    return QString();
}

} // namespace Language
