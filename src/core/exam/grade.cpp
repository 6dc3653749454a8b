#include "core/exam/grade.h"

using namespace Qt::StringLiterals;

namespace Grade {

std::optional<Fixed> readScore(const QString &text, const QLocale &locale)
{
    const QString decimal = locale.decimalPoint();
    if (!text.contains(decimal)) {
        const QChar other = decimal == u","_s ? u'.' : u',';
        if (text.count(other) == 1) {
            QString normalised = text;
            normalised.replace(other, decimal);
            return Fixed::parse(normalised, locale);
        }
    }
    return Fixed::parse(text, locale);
}

bool isPassScoreSet(const QString &passScore, const QLocale &locale)
{
    if (passScore.trimmed().isEmpty())
        return false;
    const auto score = readScore(passScore, locale);
    return !score || !score->isZero();
}

Result compute(const QStringList &marks, const QString &questionCount, const QString &passScore,
               const QLocale &locale)
{
    if (!isPassScoreSet(passScore, locale))
        return {Problem::NoPassScore, Fixed()};
    if (!readScore(passScore, locale))
        return {Problem::PassScoreNotANumber, Fixed()};
    const auto count = readScore(questionCount, locale);
    if (!count || *count <= Fixed())
        return {Problem::BadQuestionCount, Fixed()};
    QList<Fixed> values;
    for (const QString &mark : marks)
        values << readScore(mark, locale).value_or(Fixed());
    return {Problem::None, Fixed::mean(values, *count).value_or(Fixed())};
}

Verdict verdict(const QString &grade, const QString &passScore, const QLocale &locale)
{
    const auto pass = readScore(passScore, locale);
    if (!pass || pass->isZero())
        return Verdict::None;
    const auto value = readScore(grade, locale);
    return value && *value >= *pass ? Verdict::Passed : Verdict::Failed;
}

} // namespace Grade
