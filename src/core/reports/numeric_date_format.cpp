#include "core/reports/numeric_date_format.h"

#include <algorithm>

using namespace Qt::StringLiterals;

std::optional<NumericDateFormat> NumericDateFormat::of(const QLocale &locale, const QString &format)
{
    if (locale.zeroDigit() != u"0"_s || format.isEmpty())
        return std::nullopt;
    NumericDateFormat numeric;
    bool seen[7] = {};
    for (qsizetype at = 0; at < format.size();) {
        const char16_t c = format.at(at).unicode();
        qsizetype run = 1;
        while (at + run < format.size() && format.at(at + run) == c)
            ++run;
        Part part;
        switch (c) {
        case u'd': part.field = Field::Day; break;
        case u'M': part.field = Field::Month; break;
        case u'y': part.field = Field::Year; break;
        case u'H': part.field = Field::Hour; break;
        case u'm': part.field = Field::Minute; break;
        case u's': part.field = Field::Second; break;
        default:
            // Any other letter or a quote is a field or text of its own kind.
            if (QChar::isLetter(c) || c == u'\'' || QChar::isDigit(c))
                return std::nullopt;
            part.literal = c;
            numeric.m_parts.push_back(part);
            ++at;
            continue;
        }
        if (part.field == Field::Year) {
            if (run != 2 && run != 4)
                return std::nullopt;
            numeric.m_twoDigitYear = run == 2;
            part.width = int(run);
        } else {
            if (run > 2)
                return std::nullopt;
            part.width = int(run);
        }
        if (seen[int(part.field)])
            return std::nullopt;
        seen[int(part.field)] = true;
        numeric.m_parts.push_back(part);
        at += run;
    }
    const bool date = seen[int(Field::Day)] && seen[int(Field::Month)] && seen[int(Field::Year)];
    const bool time = seen[int(Field::Hour)] && seen[int(Field::Minute)];
    if (date == time || (date && (seen[int(Field::Hour)] || seen[int(Field::Minute)] || seen[int(Field::Second)]))
        || (time && (seen[int(Field::Day)] || seen[int(Field::Month)] || seen[int(Field::Year)])))
        return std::nullopt;
    return numeric;
}

bool NumericDateFormat::read(QStringView text, int (&values)[7]) const
{
    std::fill(std::begin(values), std::end(values), -1);
    qsizetype at = 0;
    const auto digit = [&text](qsizetype i) {
        return i < text.size() && text[i].unicode() >= u'0' && text[i].unicode() <= u'9';
    };
    for (const Part &part : m_parts) {
        if (part.field == Field::Literal) {
            if (at >= text.size() || text[at].unicode() != part.literal)
                return false;
            ++at;
            continue;
        }
        int digits = part.width;
        if (part.width == 1) {
            // One digit, or two without a leading zero: what the form writes.
            if (!digit(at) || (text[at] == u'0' && digit(at + 1)))
                return false;
            digits = digit(at + 1) ? 2 : 1;
        }
        int value = 0;
        for (int i = 0; i < digits; ++i) {
            if (!digit(at + i))
                return false;
            value = value * 10 + (text[at + i].unicode() - u'0');
        }
        // A longer run of digits is no text of this form.
        if (digit(at + digits))
            return false;
        values[int(part.field)] = value;
        at += digits;
    }
    return at == text.size();
}

bool NumericDateFormat::writable(QStringView text) const
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'0' && u <= u'9') || u == u'-')
            continue;
        if (std::none_of(m_parts.begin(), m_parts.end(),
                         [u](const Part &part) { return part.field == Field::Literal && part.literal == u; }))
            return false;
    }
    return true;
}

std::optional<QDate> NumericDateFormat::date(QStringView text) const
{
    int values[7];
    if (!read(text, values)) {
        // Years before 1000 and before the common era are written otherwise; a text that
        // may be one of them is left to QLocale.
        if (writable(text))
            return std::nullopt;
        return QDate();
    }
    int year = values[int(Field::Year)];
    if (!m_twoDigitYear && year < 1000)
        return std::nullopt;
    if (m_twoDigitYear)
        year += 1900;
    const QDate date(year, values[int(Field::Month)], values[int(Field::Day)]);
    if (date.isValid())
        return date;
    // The form writes the day and month of a valid date only; a two-digit year may stand for
    // another century in which the day exists (29 February).
    if (m_twoDigitYear)
        return std::nullopt;
    return QDate();
}

std::optional<QTime> NumericDateFormat::time(QStringView text) const
{
    int values[7];
    if (!read(text, values))
        return std::nullopt;
    const int second = values[int(Field::Second)];
    const QTime time(values[int(Field::Hour)], values[int(Field::Minute)], second < 0 ? 0 : second);
    if (!time.isValid())
        return std::nullopt;
    return time;
}
