#include "core/reports/attempt_line_scanner.h"

#include "core/reports/attempts_journal.h"

#include <QVarLengthArray>

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using AttemptsJournal::endingNamed;
using AttemptsJournal::verdictNamed;

// The scan of one line, with the texts its scanner decoded before.
class LineScanner
{
public:
    LineScanner(QByteArrayView line, AttemptLineScanner::Memory *memory)
        : m_at(line.data())
        , m_end(line.data() + line.size())
        , m_memory(memory)
    {}

    bool attempt(Attempt *attempt);

private:
    void skipSpace()
    {
        // The journal writes no spaces: nearly always the next byte is no space, which one
        // comparison tells, since every space JSON knows is below the first printable byte.
        if (m_at != m_end && static_cast<unsigned char>(*m_at) > ' ')
            return;
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }

    bool take(char c)
    {
        skipSpace();
        if (m_at == m_end || *m_at != c)
            return false;
        ++m_at;
        return true;
    }

    bool atEnd()
    {
        skipSpace();
        return m_at == m_end;
    }

    bool key(QByteArrayView *key);
    bool string(QString *text);
    bool decoded(QByteArrayView bytes, QString *text) const;
    bool stringOrNull(QString *text);
    bool integer(int *value);
    bool boolean(bool *value);
    bool null();
    bool strings(QStringList *texts);

    // Calls field(key) for each field of an object; field() answers whether it read the value.
    template<typename Field>
    bool object(Field field);
    template<typename Element>
    bool array(Element element);

    bool exam(Attempt *attempt);
    bool question(Attempt::Question *question);
    bool student(Student *student);
    bool timer(Attempt *attempt);
    bool report(Attempt *attempt);

    // Whether the bytes from here on begin with the ones remembered at this place; a string's
    // are followed by its closing quote, a list's hold their brackets.
    bool sameAs(const AttemptLineScanner::Recent &recent, qsizetype after) const
    {
        // A place not filled yet holds no bytes of any line.
        if (recent.bytes.data() == nullptr)
            return false;
        const qsizetype size = recent.bytes.size();
        if (m_end - m_at < size + after || (after != 0 && m_at[size] != '"'))
            return false;
        // Most texts are a few bytes (marks, answers), which a call would cost more than.
        if (size > 16)
            return std::memcmp(m_at, recent.bytes.data(), size) == 0;
        for (qsizetype i = 0; i < size; ++i) {
            if (m_at[i] != recent.bytes.data()[i])
                return false;
        }
        return true;
    }

    // What the lines before had at this place and this line has from here on; none when
    // neither of the last two there is here. The one found is put first.
    const AttemptLineScanner::Recent *recalled(std::vector<AttemptLineScanner::Recent> *recent, size_t place,
                                               qsizetype after) const
    {
        const size_t first = 2 * place;
        if (first + 1 >= recent->size())
            return nullptr;
        if (sameAs((*recent)[first], after))
            return &(*recent)[first];
        if (!sameAs((*recent)[first + 1], after))
            return nullptr;
        std::swap((*recent)[first], (*recent)[first + 1]);
        return &(*recent)[first];
    }

    const char *m_at;
    const char *m_end;
    AttemptLineScanner::Memory *m_memory;
    // The places of the strings and of the lists read so far in the line.
    size_t m_strings = 0;
    size_t m_lists = 0;
};

// The places remembered in a line; a line of more holds a ticket of hundreds of questions.
constexpr size_t RememberedPlaces = 2048;

void remember(std::vector<AttemptLineScanner::Recent> *recent, size_t place, AttemptLineScanner::Recent value)
{
    if (place >= RememberedPlaces)
        return;
    const size_t first = 2 * place;
    if (first + 1 >= recent->size())
        recent->resize(first + 2);
    (*recent)[first + 1] = std::move((*recent)[first]);
    (*recent)[first] = std::move(value);
}


// Whether the bytes are UTF-8 of characters only, as strictly as any JSON reader wants them:
// no overlong forms, no surrogates, nothing past U+10FFFF, no noncharacters.
bool isStrictUtf8(const unsigned char *at, const unsigned char *end)
{
    while (at != end) {
        const unsigned char lead = *at++;
        if (lead < 0x80)
            continue;
        int following = 0;
        char32_t code = 0;
        if (lead >= 0xc2 && lead <= 0xdf) {
            following = 1;
            code = lead & 0x1f;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            following = 2;
            code = lead & 0x0f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            following = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (end - at < following)
            return false;
        for (int i = 0; i < following; ++i) {
            if ((at[i] & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (at[i] & 0x3f);
        }
        at += following;
        const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[following] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)
            || (code >= 0xfdd0 && code <= 0xfdef) || (code & 0xfffe) == 0xfffe)
            return false;
    }
    return true;
}

// The bytes that end the plain run of a string: its closing quote, an escape, and the
// control characters no JSON string holds unescaped.
constexpr std::array<bool, 256> StringStop = [] {
    std::array<bool, 256> stop{};
    for (int c = 0; c < 0x20; ++c)
        stop[c] = true;
    stop['"'] = true;
    stop['\\'] = true;
    return stop;
}();

// The bytes that end a key this scanner knows: its closing quote, and what no such key holds
// (escapes, control characters, anything beyond ASCII).
constexpr std::array<bool, 256> KeyStop = [] {
    std::array<bool, 256> stop{};
    for (int c = 0; c < 256; ++c)
        stop[c] = c < 0x20 || c >= 0x80 || c == '"' || c == '\\';
    return stop;
}();

// The first byte from a place on that ends a key (its quote, or a byte no known key holds)
// or the plain run of a string (its quote, an escape, a control character); the end when
// none does. Eight bytes are looked at in a step where the line has them.
template<bool Key>
const char *runEnd(const char *at, const char *end)
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t Ones = 0x0101010101010101;
        constexpr std::uint64_t Highs = 0x8080808080808080;
        // The high bit of each byte below the limit; bytes after the first such one may be
        // marked too, which changes nothing, since only the first counts.
        const auto below = [](std::uint64_t word, std::uint64_t limit) { return (word - Ones * limit) & ~word & Highs; };
        while (end - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, at, sizeof word);
            std::uint64_t stops = below(word, 0x20) | below(word ^ (Ones * '"'), 1) | below(word ^ (Ones * '\\'), 1);
            if constexpr (Key)
                stops |= word & Highs;
            if (stops != 0)
                return at + std::countr_zero(stops) / 8;
            at += 8;
        }
    }
    const std::array<bool, 256> &stop = Key ? KeyStop : StringStop;
    while (at != end && !stop[static_cast<unsigned char>(*at)])
        ++at;
    return at;
}

// Whether a field's name is the one given: the length first, which settles most names, then
// the bytes compared in place rather than through a call.
template<qsizetype Size>
bool named(QByteArrayView name, const char (&known)[Size])
{
    if (name.size() != Size - 1)
        return false;
    for (qsizetype i = 0; i < Size - 1; ++i) {
        if (name.data()[i] != known[i])
            return false;
    }
    return true;
}

// The digits of a text from a place on as a number; -1 when one of them is no digit.
int number(QStringView text, qsizetype at, qsizetype digits)
{
    int value = 0;
    for (qsizetype i = at; i < at + digits; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// A time as the journal writes it ("2026-12-01T10:00:00+03:00", or "Z" for UTC) read
// directly; any other form is read by Qt, as before.
QDateTime isoTime(const QString &text)
{
    const bool utc = text.size() == 20 && text[19] == u'Z';
    const bool offset = text.size() == 25 && (text[19] == u'+' || text[19] == u'-') && text[22] == u':';
    if ((utc || offset) && text[4] == u'-' && text[7] == u'-' && text[10] == u'T' && text[13] == u':'
        && text[16] == u':') {
        const QDate date(number(text, 0, 4), number(text, 5, 2), number(text, 8, 2));
        const int hour = number(text, 11, 2);
        const int minute = number(text, 14, 2);
        const int second = number(text, 17, 2);
        const int offsetHours = offset ? number(text, 20, 2) : 0;
        const int offsetMinutes = offset ? number(text, 23, 2) : 0;
        if (date.isValid() && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60
            && offsetHours >= 0 && offsetHours < 24 && offsetMinutes >= 0 && offsetMinutes < 60) {
            const QTime time(hour, minute, second);
            if (utc)
                return QDateTime(date, time, Qt::UTC);
            const int seconds = (offsetHours * 3600 + offsetMinutes * 60) * (text[19] == u'-' ? -1 : 1);
            return QDateTime(date, time, Qt::OffsetFromUTC, seconds);
        }
    }
    return QDateTime::fromString(text, Qt::ISODate);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool LineScanner::key(QByteArrayView *key)
{
    if (!take('"'))
        return false;
    const char *at = runEnd<true>(m_at, m_end);
    if (at == m_end || *at != '"')
        return false;
    *key = QByteArrayView(m_at, at - m_at);
    m_at = at + 1;
    return take(':');
}

bool LineScanner::string(QString *text)
{
    if (!take('"'))
        return false;
    // The bytes of a whole string of the line before, and its closing quote, are a whole
    // string here too.
    const size_t place = m_strings++;
    if (const AttemptLineScanner::Recent *recent = recalled(&m_memory->strings, place, 1)) {
        // A copy moved in: the move is inlined, where the copy assignment is a call.
        *text = QString(recent->text);
        m_at += recent->bytes.size() + 1;
        return true;
    }
    const char *at = m_at;
    for (;;) {
        at = runEnd<false>(at, m_end);
        if (at == m_end || static_cast<unsigned char>(*at) < 0x20)
            return false;
        if (*at == '"')
            break;
        // An escape's sign is never the closing quote.
        if (++at == m_end)
            return false;
        ++at;
    }
    const QByteArrayView bytes(m_at, at - m_at);
    m_at = at + 1;
    // The same bytes always decode to the same text.
    QHash<QByteArrayView, QString> &texts = m_memory->texts;
    if (const auto known = texts.constFind(bytes); known != texts.cend()) {
        *text = *known;
    } else {
        if (!decoded(bytes, text))
            return false;
        // A journal of many students holds many texts seen once (names, times); the texts a
        // ticket repeats are met again soon after the table starts over.
        if (texts.size() >= 4096)
            texts.clear();
        texts.insert(bytes, *text);
    }
    remember(&m_memory->strings, place, {bytes, *text, {}});
    return true;
}

// The text of a string's bytes between its quotes; false when they hold what the scanner
// leaves to the general reader.
bool LineScanner::decoded(QByteArrayView bytes, QString *text) const
{
    const char *at = bytes.data();
    const char *end = at + bytes.size();
    QString built;
    for (;;) {
        const char *run = at;
        bool ascii = true;
        while (at != end && *at != '\\') {
            ascii = ascii && static_cast<unsigned char>(*at) < 0x80;
            ++at;
        }
        const auto *runStart = reinterpret_cast<const unsigned char *>(run);
        const auto *runEnd = reinterpret_cast<const unsigned char *>(at);
        if (!ascii && !isStrictUtf8(runStart, runEnd))
            return false;
        const QByteArrayView part(run, at - run);
        built += ascii ? QString::fromLatin1(part) : QString::fromUtf8(part);
        if (at == end) {
            *text = std::move(built);
            return true;
        }
        ++at;
        const char sign = *at++;
        switch (sign) {
        case '"': built += u'"'; break;
        case '\\': built += u'\\'; break;
        case '/': built += u'/'; break;
        case 'b': built += u'\b'; break;
        case 'f': built += u'\f'; break;
        case 'n': built += u'\n'; break;
        case 'r': built += u'\r'; break;
        case 't': built += u'\t'; break;
        case 'u': {
            if (end - at < 4)
                return false;
            char16_t unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = hexDigit(at[i]);
                if (digit < 0)
                    return false;
                unit = char16_t(unit << 4 | digit);
            }
            at += 4;
            // A lone half of a surrogate pair is left to the general reader to judge.
            if (QChar::isHighSurrogate(unit)) {
                if (end - at < 6 || at[0] != '\\' || at[1] != 'u')
                    return false;
                char16_t low = 0;
                for (int i = 2; i < 6; ++i) {
                    const int digit = hexDigit(at[i]);
                    if (digit < 0)
                        return false;
                    low = char16_t(low << 4 | digit);
                }
                if (!QChar::isLowSurrogate(low))
                    return false;
                at += 6;
                built += QChar(unit);
                built += QChar(low);
            } else if (QChar::isLowSurrogate(unit)) {
                return false;
            } else {
                built += QChar(unit);
            }
            break;
        }
        default:
            return false;
        }
    }
}

bool LineScanner::null()
{
    skipSpace();
    if (m_end - m_at < 4 || QByteArrayView(m_at, 4) != "null")
        return false;
    m_at += 4;
    return true;
}

bool LineScanner::stringOrNull(QString *text)
{
    skipSpace();
    if (m_at != m_end && *m_at == 'n') {
        text->clear();
        return null();
    }
    return string(text);
}

bool LineScanner::integer(int *value)
{
    skipSpace();
    const bool negative = m_at != m_end && *m_at == '-';
    if (negative)
        ++m_at;
    const char *digits = m_at;
    std::int64_t number = 0;
    while (m_at != m_end && *m_at >= '0' && *m_at <= '9' && m_at - digits < 10)
        number = number * 10 + (*m_at++ - '0');
    const qsizetype count = m_at - digits;
    // Fractions, exponents, leading zeros and numbers past an int are the general reader's.
    if (count == 0 || (count > 1 && *digits == '0'))
        return false;
    if (m_at != m_end && (*m_at == '.' || *m_at == 'e' || *m_at == 'E' || (*m_at >= '0' && *m_at <= '9')))
        return false;
    if (negative)
        number = -number;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return false;
    *value = int(number);
    return true;
}

bool LineScanner::boolean(bool *value)
{
    skipSpace();
    if (m_end - m_at >= 4 && QByteArrayView(m_at, 4) == "true") {
        m_at += 4;
        *value = true;
        return true;
    }
    if (m_end - m_at >= 5 && QByteArrayView(m_at, 5) == "false") {
        m_at += 5;
        *value = false;
        return true;
    }
    return false;
}

template<typename Field>
bool LineScanner::object(Field field)
{
    if (!take('{'))
        return false;
    if (take('}'))
        return true;
    do {
        QByteArrayView name;
        if (!key(&name) || !field(name))
            return false;
    } while (take(','));
    return take('}');
}

template<typename Element>
bool LineScanner::array(Element element)
{
    if (!take('['))
        return false;
    if (take(']'))
        return true;
    do {
        if (!element())
            return false;
    } while (take(','));
    return take(']');
}

bool LineScanner::strings(QStringList *texts)
{
    skipSpace();
    const size_t place = m_lists++;
    if (const AttemptLineScanner::Recent *recent = recalled(&m_memory->lists, place, 0)) {
        *texts = recent->texts;
        m_at += recent->bytes.size();
        // The strings of the list keep their places, as when it is read.
        m_strings += recent->texts.size();
        return true;
    }
    const char *start = m_at;
    // Gathered first, so that the list is made once at its size.
    QVarLengthArray<QString, 8> read;
    const bool whole = array([&] {
        QString text;
        if (!string(&text))
            return false;
        read.append(std::move(text));
        return true;
    });
    if (!whole)
        return false;
    *texts = QStringList(std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    remember(&m_memory->lists, place, {QByteArrayView(start, m_at - start), {}, *texts});
    return true;
}

// Marks a field as read and answers whether it was read before: a field given twice is the
// general reader's to settle.
bool seenBefore(unsigned *seen, unsigned field)
{
    const bool before = *seen & (1u << field);
    *seen |= 1u << field;
    return before;
}

bool LineScanner::exam(Attempt *attempt)
{
    unsigned seen = 0;
    return object([&](QByteArrayView name) {
        if (named(name, "folder"))
            return !seenBefore(&seen, 0) && string(&attempt->examFolder);
        if (named(name, "title"))
            return !seenBefore(&seen, 1) && string(&attempt->examTitle);
        return false;
    });
}

bool LineScanner::question(Attempt::Question *question)
{
    unsigned seen = 0;
    const bool read = object([&](QByteArrayView name) {
        if (named(name, "number"))
            return !seenBefore(&seen, 0) && integer(&question->number);
        if (named(name, "text"))
            return !seenBefore(&seen, 1) && string(&question->text);
        if (named(name, "offered"))
            return !seenBefore(&seen, 2) && strings(&question->offered);
        if (named(name, "chosen"))
            return !seenBefore(&seen, 3) && string(&question->chosen);
        if (named(name, "correct"))
            return !seenBefore(&seen, 4) && string(&question->correct);
        if (named(name, "mark"))
            return !seenBefore(&seen, 5) && string(&question->mark);
        if (named(name, "seconds")) {
            if (seenBefore(&seen, 6))
                return false;
            skipSpace();
            if (m_at != m_end && *m_at == 'n')
                return null();
            int seconds = 0;
            if (!integer(&seconds))
                return false;
            question->seconds = seconds;
            return true;
        }
        return false;
    });
    return read && question->number > 0;
}

bool LineScanner::student(Student *student)
{
    unsigned seen = 0;
    return object([&](QByteArrayView name) {
        if (named(name, "name"))
            return !seenBefore(&seen, 0) && string(&student->name);
        if (named(name, "line"))
            return !seenBefore(&seen, 1) && string(&student->line);
        if (named(name, "data")) {
            QStringList data;
            if (seenBefore(&seen, 2) || !strings(&data))
                return false;
            student->data1 = data.value(0);
            student->data2 = data.value(1);
            student->data3 = data.value(2);
            return true;
        }
        return false;
    });
}

bool LineScanner::timer(Attempt *attempt)
{
    unsigned seen = 0;
    return object([&](QByteArrayView name) {
        if (named(name, "ticket"))
            return !seenBefore(&seen, 0) && boolean(&attempt->ticketTimer);
        if (named(name, "question"))
            return !seenBefore(&seen, 1) && boolean(&attempt->questionTimer);
        if (named(name, "seconds"))
            return !seenBefore(&seen, 2) && integer(&attempt->countdownSeconds);
        return false;
    });
}

bool LineScanner::report(Attempt *attempt)
{
    unsigned seen = 0;
    return object([&](QByteArrayView name) {
        if (named(name, "date"))
            return !seenBefore(&seen, 0) && string(&attempt->reportDate);
        if (named(name, "time"))
            return !seenBefore(&seen, 1) && string(&attempt->reportTime);
        return false;
    });
}

bool LineScanner::attempt(Attempt *read)
{
    Attempt &attempt = *read;
    int version = 0;
    QString ending;
    QString verdict;
    unsigned seen = 0;
    const auto time = [&](QDateTime *time) {
        QString text;
        if (!stringOrNull(&text))
            return false;
        *time = isoTime(text);
        return true;
    };
    const bool whole = object([&](QByteArrayView name) {
        if (named(name, "version"))
            return !seenBefore(&seen, 0) && integer(&version);
        if (named(name, "exam"))
            return !seenBefore(&seen, 1) && exam(&attempt);
        if (named(name, "ticket"))
            return !seenBefore(&seen, 2) && string(&attempt.ticket);
        if (named(name, "ticket_folder"))
            return !seenBefore(&seen, 3) && string(&attempt.ticketFolder);
        if (named(name, "ticket_line"))
            return !seenBefore(&seen, 4) && string(&attempt.ticketLine);
        if (named(name, "language"))
            return !seenBefore(&seen, 5) && string(&attempt.language);
        if (named(name, "questions")) {
            if (seenBefore(&seen, 6))
                return false;
            // Made in place, in a list the size of the line before's, which is nearly always
            // the size of this one.
            attempt.questions.reserve(m_memory->questions);
            const bool whole = array([&] { return question(&attempt.questions.emplaceBack()); });
            m_memory->questions = attempt.questions.size();
            return whole;
        }
        if (named(name, "student"))
            return !seenBefore(&seen, 7) && student(&attempt.student);
        if (named(name, "workstation"))
            return !seenBefore(&seen, 8) && string(&attempt.workstation);
        if (named(name, "start"))
            return !seenBefore(&seen, 9) && time(&attempt.start);
        if (named(name, "end"))
            return !seenBefore(&seen, 10) && time(&attempt.end);
        if (named(name, "ending"))
            return !seenBefore(&seen, 11) && string(&ending);
        if (named(name, "grade"))
            return !seenBefore(&seen, 12) && string(&attempt.grade);
        if (named(name, "verdict"))
            return !seenBefore(&seen, 13) && string(&verdict);
        if (named(name, "pass_score"))
            return !seenBefore(&seen, 14) && string(&attempt.passScore);
        if (named(name, "question_count"))
            return !seenBefore(&seen, 15) && string(&attempt.questionCount);
        if (named(name, "timer"))
            return !seenBefore(&seen, 16) && timer(&attempt);
        if (named(name, "saved_to_report"))
            return !seenBefore(&seen, 17) && boolean(&attempt.savedToReport);
        if (named(name, "report"))
            return !seenBefore(&seen, 18) && report(&attempt);
        return false;
    });
    if (!whole || !atEnd() || version < 1)
        return false;
    const std::optional<Attempt::Ending> named = endingNamed(ending);
    if (!named)
        return false;
    attempt.ending = *named;
    attempt.verdict = verdictNamed(verdict).value_or(Verdict::None);
    return true;
}

} // namespace

std::optional<Attempt> AttemptLineScanner::scan(QByteArrayView line)
{
    Attempt attempt;
    if (!scan(line, &attempt))
        return std::nullopt;
    return attempt;
}

bool AttemptLineScanner::scan(QByteArrayView line, Attempt *attempt)
{
    return LineScanner(line, &m_memory).attempt(attempt);
}
