#include "core/program/pass_score.h"

#include "core/exam/grade.h"

namespace PassScore {

Result compute(const QStringList &marks, const QString &questions, const QLocale &locale)
{
    QList<Fixed> values;
    for (const QString &mark : marks) {
        const auto value = Fixed::parse(mark, locale);
        if (!value)
            return {true, Fixed()};
        values << *value;
    }
    const auto divisor = Fixed::parse(questions, locale);
    if (!divisor)
        return {true, Fixed()};
    if (divisor->isZero())
        return {false, Fixed()};
    const auto score = Fixed::mean(values, *divisor);
    if (!score)
        return {true, Fixed()};
    return {false, *score};
}

bool isReachable(const QString &score, const QLocale &locale)
{
    // Read as the ticket's verdict reads the pass score, either decimal separator.
    const auto value = Grade::readScore(score, locale);
    return value && *value > Fixed() && *value <= Fixed::fromInt(HighestMark);
}

std::optional<int> usedBoxes(const QString &questions, const QLocale &locale)
{
    const auto value = Fixed::parse(questions, locale);
    if (!value || value->raw() % Fixed::Scale != 0)
        return std::nullopt;
    const qint64 count = value->raw() / Fixed::Scale;
    if (count < 1 || count > Boxes)
        return std::nullopt;
    return static_cast<int>(count);
}

} // namespace PassScore
