#include "core/files/fixed_point.h"

#include <QtNumeric>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Sums and scaled dividends of 64-bit counts are held in 128 bits, so they cannot overflow.
__extension__ typedef __int128 Wide;

constexpr Wide MaxRaw = std::numeric_limits<qint64>::max();
constexpr Wide MinRaw = std::numeric_limits<qint64>::min();

// numerator / denominator (denominator not 0) to the nearest whole number, halves to even.
Wide divideRoundHalfEven(Wide numerator, Wide denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    if (remainder < 0) {
        --quotient;
        remainder += denominator;
    }
    // Now numerator = quotient * denominator + remainder with 0 <= remainder < denominator.
    const Wide twice = remainder * 2;
    if (twice > denominator || (twice == denominator && (quotient % 2 != 0)))
        ++quotient;
    return quotient;
}

} // namespace

std::optional<Fixed> Fixed::parse(const QString &text, const QLocale &locale)
{
    const QString trimmed = text.trimmed();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    qsizetype i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed.at(i) == u'+' || trimmed.at(i) == u'-')) {
        negative = trimmed.at(i) == u'-';
        ++i;
    }

    qint64 whole = 0;
    qint64 fraction = 0;      // the first five fraction digits, as ten-thousandths * 10
    int fractionDigits = 0;
    bool sticky = false;      // a non-zero digit beyond the fifth
    bool anyDigit = false;
    bool inFraction = false;
    while (i < trimmed.size()) {
        const QChar c = trimmed.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            const int digit = c.unicode() - u'0';
            anyDigit = true;
            if (!inFraction) {
                if (whole > (std::numeric_limits<qint64>::max() - digit) / 10)
                    return std::nullopt;
                whole = whole * 10 + digit;
            } else if (fractionDigits < 5) {
                fraction = fraction * 10 + digit;
                ++fractionDigits;
            } else if (digit != 0) {
                sticky = true;
            }
            ++i;
        } else if (!inFraction && !decimal.isEmpty() && QStringView(trimmed).mid(i).startsWith(decimal)) {
            inFraction = true;
            i += decimal.size();
        } else if (!inFraction && !group.isEmpty() && QStringView(trimmed).mid(i).startsWith(group)) {
            i += group.size();
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    while (fractionDigits < 5) {
        fraction *= 10;
        ++fractionDigits;
    }
    // fraction holds five digits; bring it to four with halves to even.
    qint64 ten = fraction / 10;
    const qint64 fifth = fraction % 10;
    const bool roundUp = fifth > 5 || (fifth == 5 && (sticky || ten % 2 != 0));
    if (roundUp)
        ++ten;
    // The magnitude of the smallest value is one more than that of the largest.
    const Wide magnitude = Wide(whole) * Scale + ten;
    const Wide raw = negative ? -magnitude : magnitude;
    if (raw > MaxRaw || raw < MinRaw)
        return std::nullopt;
    return Fixed(qint64(raw));
}

std::optional<Fixed> operator+(Fixed a, Fixed b)
{
    qint64 sum = 0;
    if (qAddOverflow(a.m_raw, b.m_raw, &sum))
        return std::nullopt;
    return Fixed(sum);
}

std::optional<Fixed> operator-(Fixed a, Fixed b)
{
    qint64 difference = 0;
    if (qSubOverflow(a.m_raw, b.m_raw, &difference))
        return std::nullopt;
    return Fixed(difference);
}

QString Fixed::toString(const QLocale &locale) const
{
    const bool negative = m_raw < 0;
    // Work in unsigned arithmetic so that the most negative value prints too.
    const quint64 magnitude = negative ? quint64(0) - quint64(m_raw) : quint64(m_raw);
    QString text = QString::number(magnitude / Scale);
    quint64 fraction = magnitude % Scale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    return negative ? u"-"_s + text : text;
}

Fixed Fixed::dividedBy(qint64 divisor) const
{
    if (divisor == 0)
        return Fixed();
    return Fixed(qint64(divideRoundHalfEven(m_raw, divisor)));
}

std::optional<Fixed> Fixed::mean(const QList<Fixed> &values, Fixed count)
{
    if (count.isZero())
        return std::nullopt;
    Wide sum = 0;
    for (const Fixed value : values)
        sum += value.m_raw;
    // Both are ten-thousandths already, so the sum is scaled once more before the division.
    const Wide raw = divideRoundHalfEven(sum * Scale, count.m_raw);
    if (raw > MaxRaw || raw < MinRaw)
        return std::nullopt;
    return Fixed(qint64(raw));
}

qint64 Fixed::roundedToInteger() const
{
    return qint64(divideRoundHalfEven(m_raw, Scale));
}

std::optional<qint16> Fixed::toInt16() const
{
    const qint64 whole = roundedToInteger();
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(whole);
}

qint64 Fixed::floor() const
{
    qint64 whole = m_raw / Scale;
    if (m_raw % Scale < 0)
        --whole;
    return whole;
}
