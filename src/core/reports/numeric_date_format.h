#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>
#include <vector>

// A date or time form made only of numbers and the signs between them ("dd.MM.yyyy",
// "H:mm:ss"), read directly instead of through QLocale's general parser, which is far too slow
// for a report of a hundred thousand records. It reads the texts the form writes itself:
// "dd" two digits, "d" one or two without a leading zero, "yyyy" four, "yy" two, and the
// signs as written. Whatever else it leaves undecided, for QLocale to read.
class NumericDateFormat
{
public:
    // None for a form with anything but day, month, year, 24-hour hour, minute and second
    // fields (month names, AM and PM, quoted text), and for a locale that writes other digits.
    static std::optional<NumericDateFormat> of(const QLocale &locale, const QString &format);

    // The date of a text as QLocale::toDate gives it, where the form writes that very text
    // for that date (a two-digit year is one of 1900 to 1999); an invalid date where the form
    // writes that text for no date at all; nothing when undecided.
    std::optional<QDate> date(QStringView text) const;
    // The time of a text in the form's own shape; nothing when undecided.
    std::optional<QTime> time(QStringView text) const;

private:
    enum class Field { Literal, Day, Month, Year, Hour, Minute, Second };
    struct Part
    {
        Field field = Field::Literal;
        // Digits: 1 for one or two without a leading zero, else exactly this many.
        int width = 0;
        char16_t literal = 0;
    };

    // The fields read from a text, -1 where the form has none; false when the text is not
    // of the form's shape.
    bool read(QStringView text, int (&values)[7]) const;

    // Whether a text holds only what the form writes: digits, a minus and its signs.
    bool writable(QStringView text) const;

    std::vector<Part> m_parts;
    bool m_twoDigitYear = false;
};
