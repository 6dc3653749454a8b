#include "settings/pass_score.h"

#include <limits>

namespace PassScore {

namespace {

// Twenty marks near the limit of the 64-bit count would overflow it, so the sum and the
// scaled dividend are held in 128 bits.
__extension__ typedef __int128 Wide;

constexpr Wide MaxRaw = std::numeric_limits<qint64>::max();
constexpr Wide MinRaw = std::numeric_limits<qint64>::min();

// numerator / denominator (denominator > 0) to the nearest whole number, halves to even.
Wide divideHalfEven(Wide numerator, Wide denominator)
{
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    const Wide twice = remainder * 2;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

} // namespace

Result compute(const QStringList &marks, const QString &questions, const QLocale &locale)
{
    Wide sum = 0;
    for (const QString &mark : marks) {
        const auto value = Fixed::parse(mark, locale);
        if (!value)
            return {true, Fixed()};
        sum += value->raw();
    }
    const auto divisor = Fixed::parse(questions, locale);
    if (!divisor)
        return {true, Fixed()};
    if (divisor->isZero())
        return {false, Fixed()};

    // sum / divisor as ten-thousandths: both are ten-thousandths already, so the sum is
    // scaled once more before the division.
    Wide numerator = sum * Fixed::Scale;
    Wide denominator = divisor->raw();
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const Wide raw = divideHalfEven(numerator, denominator);
    if (raw > MaxRaw || raw < MinRaw)
        return {true, Fixed()};
    return {false, Fixed::fromRaw(static_cast<qint64>(raw))};
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
