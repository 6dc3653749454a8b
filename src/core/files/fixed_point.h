#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// A decimal with four fraction digits, held as a signed 64-bit count of ten-thousandths.
// Grades, points, pass scores and score bounds are computed with it, never with double,
// so that 0.1 + 0.2 is exactly 0.3 and results print the way they were typed.
class Fixed
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Fixed() = default;
    static constexpr Fixed fromRaw(qint64 raw) { return Fixed(raw); }
    static constexpr Fixed fromInt(qint64 whole) { return Fixed(whole * Scale); }

    constexpr qint64 raw() const { return m_raw; }
    constexpr bool isZero() const { return m_raw == 0; }

    // Reads text by the locale's rules exactly: surrounding blanks, a leading '+' or '-',
    // digits with the locale's group separator (ignored) and one decimal separator.
    // More than four fraction digits are rounded, halves to even. Anything else, and
    // a value beyond the 64-bit range, is not a number; both ends of the range parse.
    static std::optional<Fixed> parse(const QString &text, const QLocale &locale = QLocale());

    // The shortest form: no trailing zeros, no group separator, the locale's decimal separator.
    QString toString(const QLocale &locale = QLocale()) const;

    // Division by a whole number, rounded to four fraction digits with halves to even.
    // Division by zero gives zero.
    Fixed dividedBy(qint64 divisor) const;

    // The exact sum of the values divided by the count, rounded to four fraction digits with
    // halves to even: the grade of a ticket and the pass score of a pattern of marks. The sum
    // is exact however many values there are; nothing when the count is zero or the result
    // lies outside the range.
    static std::optional<Fixed> mean(const QList<Fixed> &values, Fixed count);

    // The nearest whole number, halves to even.
    qint64 roundedToInteger() const;
    // The same as a 16-bit signed whole number; nothing when out of range.
    std::optional<qint16> toInt16() const;

    // The whole part, rounded towards minus infinity.
    qint64 floor() const;

    double toDouble() const { return double(m_raw) / double(Scale); }

    // Checked arithmetic: nothing when the exact result lies outside the range, so a total of
    // hand-edited points near the limit is never a wrapped-around number.
    friend std::optional<Fixed> operator+(Fixed a, Fixed b);
    friend std::optional<Fixed> operator-(Fixed a, Fixed b);
    friend constexpr auto operator<=>(Fixed, Fixed) = default;

private:
    constexpr explicit Fixed(qint64 raw) : m_raw(raw) {}

    qint64 m_raw = 0;
};
