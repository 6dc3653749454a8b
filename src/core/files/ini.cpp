#include "core/files/ini.h"

#include "core/files/ansi_text.h"
#include "core/files/path_names.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

IniErrorReporter &reporter()
{
    static IniErrorReporter instance;
    return instance;
}

void reportFailure(const QString &function, int number, const QString &description)
{
    if (reporter())
        reporter()(function, u"Ошибка: <"_s + QString::number(number) + u"> - "_s + description);
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text.at(begin) == u' ' || text.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.mid(begin, end - begin).toString();
}

// The file is read as bytes: Windows-1251 gives every byte one character and keeps the ASCII
// bytes as they are, so brackets, '=', ';', blanks and line ends are found without decoding,
// and only the names compared and the value returned are decoded.

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

// One line of the text: [begin, end) without its line end; `next` is where the line after it
// begins. A line ends at CR LF, at a lone LF and at a lone CR, as the profile functions read it.
struct Line
{
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
    bool hasEnding() const { return next > end; }
};

Line lineAt(QByteArrayView text, qsizetype begin)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype end = begin;
    while (end < size && !isLineEnd(data[end]))
        ++end;
    qsizetype next = end;
    if (next < size)
        next += data[next] == '\r' && next + 1 < size && data[next + 1] == '\n' ? 2 : 1;
    return {begin, end, next};
}

// The line end a new line gets: the first one the file has, CR LF for a file without one.
QByteArray lineEndOf(QByteArrayView text)
{
    const Line first = lineAt(text, 0);
    return first.hasEnding() ? text.sliced(first.end, first.next - first.end).toByteArray()
                             : QByteArray(AnsiText::LineEnd);
}

// A section header: a line whose first character after blanks is '['. The name runs to the
// first ']' of the line, or to its end.
struct Header
{
    Line line;
    QByteArrayView name;
};

// Where a header was found: the beginning of its line, its name, and where the name ends
// (at its ']' or at the end of the line).
struct HeaderName
{
    qsizetype lineBegin = 0;
    QByteArrayView name;
    qsizetype nameEnd = 0;
};

// ']', CR and LF end a header's name; one look-up per byte.
constexpr auto EndsName = [] {
    std::array<bool, 256> ends{};
    ends[uchar(']')] = ends[uchar('\r')] = ends[uchar('\n')] = true;
    return ends;
}();

bool endsName(char c)
{
    return EndsName[uchar(c)];
}

// The '[' of the first header at or after `from`. A file is mostly key lines, so the search
// runs with memchr from one '[' to the next and looks only at what stands before the '['
// found: blanks only, on its line. A '[' later on a header's line has the header before it,
// so a search can go on right after a '['.
std::optional<qsizetype> nextHeaderBracket(QByteArrayView text, qsizetype from)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    for (qsizetype at = from; at < size;) {
        const void *hit = std::memchr(data + at, '[', size_t(size - at));
        if (!hit)
            return std::nullopt;
        const qsizetype bracket = static_cast<const char *>(hit) - data;
        qsizetype lineBegin = bracket;
        while (lineBegin > 0 && isBlank(data[lineBegin - 1]))
            --lineBegin;
        if (lineBegin == 0 || isLineEnd(data[lineBegin - 1]))
            return bracket;
        at = bracket + 1;
    }
    return std::nullopt;
}

// The header of that '[': its name runs to the first ']' or the line end.
HeaderName headerNameAt(QByteArrayView text, qsizetype bracket)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype lineBegin = bracket;
    while (lineBegin > 0 && isBlank(data[lineBegin - 1]))
        --lineBegin;
    qsizetype end = bracket + 1;
    while (end < size && !endsName(data[end]))
        ++end;
    return HeaderName{lineBegin, trimmed(text.sliced(bracket + 1, end - bracket - 1)), end};
}

// Whether the header of that '[' can have a name of `length` characters, told from the two
// places where such a name would end: its last character is neither a blank nor an end of the
// name, and only blanks stand between it and the end of the name. Most headers of another
// length are passed over without reading their names.
bool mayHaveNameOfLength(QByteArrayView text, qsizetype bracket, qsizetype length)
{
    const char *data = text.data();
    const qsizetype size = text.size();
    if (length == 0)
        return true;
    qsizetype first = bracket + 1;
    while (first < size && isBlank(data[first]))
        ++first;
    const qsizetype last = first + length - 1;
    if (last >= size || endsName(data[last]) || isBlank(data[last]))
        return false;
    qsizetype after = last + 1;
    while (after < size && isBlank(data[after]))
        ++after;
    return after == size || endsName(data[after]);
}

std::optional<HeaderName> nextHeaderName(QByteArrayView text, qsizetype from)
{
    const auto bracket = nextHeaderBracket(text, from);
    if (!bracket)
        return std::nullopt;
    return headerNameAt(text, *bracket);
}

// The whole header line of a header found.
Header headerOf(QByteArrayView text, const HeaderName &found)
{
    Line line = lineAt(text, found.nameEnd);
    line.begin = found.lineBegin;
    return Header{line, found.name};
}

// The first header whose line begins at or after `from`, which is the beginning of a line.
std::optional<Header> nextHeader(QByteArrayView text, qsizetype from)
{
    const auto found = nextHeaderName(text, from);
    if (!found)
        return std::nullopt;
    return headerOf(text, *found);
}

// Names match ignoring case. Each byte is one character, so a name of another length is
// passed over at once, and so is a name that differs from the wanted one in an ASCII letter
// or sign; only a likely match is decoded and compared by Unicode's rules.
bool sameName(QByteArrayView bytes, const QString &wanted)
{
    if (bytes.size() != wanted.size())
        return false;
    const auto folded = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char16_t byte = uchar(bytes[i]);
        const char16_t other = wanted.at(i).unicode();
        if (byte < 0x80 && other < 0x80 && folded(byte) != folded(other))
            return false;
    }
    return AnsiText::decode(bytes).compare(wanted, Qt::CaseInsensitive) == 0;
}

// The first section of the wanted name among the headers, with the end of its body (the next
// header's line, or the end of the text).
struct Section
{
    Header header;
    qsizetype bodyEnd = 0;
    qsizetype bodyBegin() const { return header.line.next; }
};

std::optional<Section> findSection(QByteArrayView text, const QString &wanted)
{
    for (auto bracket = nextHeaderBracket(text, 0); bracket; bracket = nextHeaderBracket(text, *bracket + 1)) {
        if (!mayHaveNameOfLength(text, *bracket, wanted.size()))
            continue;
        const HeaderName found = headerNameAt(text, *bracket);
        if (!sameName(found.name, wanted))
            continue;
        const Header header = headerOf(text, found);
        const auto following = nextHeaderName(text, header.line.next);
        return Section{header, following ? following->lineBegin : text.size()};
    }
    return std::nullopt;
}

// A key line of a section's body: neither empty nor a comment, and with a '='.
struct KeyLine
{
    Line line;
    QByteArrayView key;
    QByteArrayView value;
};

std::optional<KeyLine> keyLine(QByteArrayView body, const Line &line)
{
    const QByteArrayView content = trimmed(body.sliced(line.begin, line.end - line.begin));
    if (content.startsWith(';'))
        return std::nullopt;
    const qsizetype equals = content.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return KeyLine{line, trimmed(content.first(equals)), trimmed(content.sliced(equals + 1))};
}

// Visits the key lines of a body in order until the visitor returns false.
template <class Visitor>
void forEachKey(QByteArrayView body, Visitor visit)
{
    for (qsizetype at = 0; at < body.size();) {
        const Line line = lineAt(body, at);
        if (const auto key = keyLine(body, line); key && !visit(*key))
            return;
        at = line.next;
    }
}

// The value of the first matching key of a body: blanks trimmed, one pair of matching quotes
// taken off, at most the first 255 characters.
QString valueInBody(QByteArrayView body, const QString &wantedKey)
{
    QString found;
    forEachKey(body, [&](const KeyLine &key) {
        if (!sameName(key.key, wantedKey))
            return true;
        QByteArrayView value = key.value;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front())
            value = value.sliced(1, value.size() - 2);
        found = AnsiText::decode(value.first(std::min<qsizetype>(value.size(), Ini::MaxValueLength)));
        return false;
    });
    return found;
}

// A section or key that a read could not find again: a bracket or '=' would end the
// header or the key early, a line break would split the line, a leading ';' makes a
// comment, and a character outside Windows-1251 is stored as '?'.
bool canReadBack(const QString &name)
{
    static const QString breaking = u"[]=\r\n"_s;
    for (const QChar c : name) {
        if (breaking.contains(c))
            return false;
    }
    return !trimBlanks(name).startsWith(u';') && PathNames::fitsWindows1251(name);
}

// A key and its value make one line of the file: a line break in the value becomes a
// space, so a written value can never end the line early and start keys or sections of
// its own.
QByteArray keyValueLine(const QString &key, const QString &value)
{
    QString line = key + u'=' + value;
    line.replace(u"\r\n"_s, u" "_s);
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return AnsiText::encode(line);
}

// Writes one key into the body of its section: an existing key's line is replaced, with the
// key as spelled in the file; a new key goes after the last key line of the section, or
// right after the header when it has none. `headerEnded` tells whether the header line has
// a line end (only a header on the last line of the file has none).
void setInBody(QByteArray &body, bool &headerEnded, const QString &wantedKey, const QString &value,
               const QByteArray &lineEnd)
{
    std::optional<KeyLine> match;
    std::optional<Line> lastKey;
    forEachKey(body, [&](const KeyLine &key) {
        lastKey = key.line;
        if (!match && sameName(key.key, wantedKey))
            match = key;
        return true;
    });
    if (match) {
        const Line &line = match->line;
        body.replace(line.begin, line.end - line.begin, keyValueLine(AnsiText::decode(match->key), value));
        return;
    }
    qsizetype at = 0;
    if (lastKey) {
        at = lastKey->next;
        if (!lastKey->hasEnding()) {
            body.insert(at, lineEnd);
            at += lineEnd.size();
        }
    } else if (!headerEnded) {
        body.insert(0, lineEnd);
        at = lineEnd.size();
        headerEnded = true;
    }
    body.insert(at, keyValueLine(wantedKey, value) + lineEnd);
}

} // namespace

void setIniErrorReporter(IniErrorReporter newReporter)
{
    reporter() = std::move(newReporter);
}

namespace Ini {

QString valueIn(const QByteArray &content, const QString &section, const QString &key)
{
    const auto found = findSection(content, trimBlanks(section));
    if (!found)
        return QString();
    const QByteArrayView body = QByteArrayView(content).sliced(found->bodyBegin(), found->bodyEnd - found->bodyBegin());
    return valueInBody(body, trimBlanks(key));
}

QByteArray withValues(const QByteArray &original, const QString &section,
                      const QList<std::pair<QString, QString>> &values)
{
    const QString wantedSection = trimBlanks(section);
    const QByteArray lineEnd = lineEndOf(original);
    QByteArray result = original;
    qsizetype bodyBegin = 0;
    qsizetype bodyEnd = 0;
    bool headerEnded = true;
    if (const auto found = findSection(original, wantedSection)) {
        bodyBegin = found->bodyBegin();
        bodyEnd = found->bodyEnd;
        headerEnded = found->header.line.hasEnding();
    } else {
        // A new section goes at the end, after a line end if the file did not end with one.
        if (!result.isEmpty() && !isLineEnd(result.back()))
            result += lineEnd;
        result += AnsiText::encode(u'[' + wantedSection + u']') + lineEnd;
        bodyBegin = bodyEnd = result.size();
    }
    // The keys change only the body of their section; the rest of the file is copied once.
    QByteArray body = result.mid(bodyBegin, bodyEnd - bodyBegin);
    for (const auto &[key, value] : values)
        setInBody(body, headerEnded, trimBlanks(key), value, lineEnd);
    result.replace(bodyBegin, bodyEnd - bodyBegin, body);
    return result;
}

} // namespace Ini

IniFile::IniFile(const QString &file) : m_content(AnsiText::readBytes(file).value_or(QByteArray()))
{
    index();
}

IniFile IniFile::fromBytes(const QByteArray &content)
{
    IniFile file;
    file.m_content = content;
    file.index();
    return file;
}

void IniFile::index()
{
    for (auto header = nextHeader(m_content, 0); header; header = nextHeader(m_content, header->line.next)) {
        const qsizetype nameBegin = header->name.data() - m_content.constData();
        m_sections.push_back({nameBegin, header->name.size(), header->line.begin, header->line.next});
    }
}

QString IniFile::value(const QString &section, const QString &key) const
{
    const QString wantedSection = trimBlanks(section);
    // Callers ask for several keys of one section in a row: the section found last is kept.
    if (!m_lastSearch || m_lastSearch->first != wantedSection) {
        qsizetype found = -1;
        for (size_t i = 0; i < m_sections.size() && found < 0; ++i) {
            const SectionSpan &span = m_sections[i];
            if (sameName(QByteArrayView(m_content).sliced(span.nameBegin, span.nameSize), wantedSection))
                found = qsizetype(i);
        }
        m_lastSearch = {wantedSection, found};
    }
    const qsizetype i = m_lastSearch->second;
    if (i < 0)
        return QString();
    // Only the first section of a name counts; its body ends at the next header.
    const SectionSpan &span = m_sections[size_t(i)];
    const qsizetype bodyEnd = size_t(i) + 1 < m_sections.size() ? m_sections[size_t(i) + 1].lineBegin : m_content.size();
    return valueInBody(QByteArrayView(m_content).sliced(span.bodyBegin, bodyEnd - span.bodyBegin), trimBlanks(key));
}

QString GetValueString(const QString &section, const QString &key, const QString &file)
{
    try {
        const auto bytes = AnsiText::readBytes(file);
        if (!bytes)
            return QString();
        return Ini::valueIn(*bytes, section, key);
    } catch (const std::exception &failure) {
        reportFailure(u"GetValueString"_s, 0, QString::fromLocal8Bit(failure.what()));
        return QString();
    }
}

bool SetValue(const QString &section, const QString &key, const QString &value, const QString &file)
{
    return SetValues(section, {{key, value}}, file);
}

bool SetValues(const QString &section, const QList<std::pair<QString, QString>> &values,
               const QString &file, FileError *error)
{
    if (!canReadBack(section)) {
        if (error)
            *error = FileError(FileError::Kind::Other, file, u"the section name cannot be stored: "_s + section);
        return false;
    }
    for (const auto &entry : values) {
        if (!canReadBack(entry.first)) {
            if (error)
                *error = FileError(FileError::Kind::Other, file, u"the key cannot be stored: "_s + entry.first);
            return false;
        }
    }
    try {
        QByteArray content;
        if (QFileInfo::exists(file)) {
            // A file that exists but cannot be read is not replaced: its other keys would be lost.
            const auto bytes = AnsiText::readBytes(file);
            if (!bytes) {
                if (error)
                    *error = FileError(FileError::Kind::Unreadable, file);
                return false;
            }
            content = *bytes;
        }
        return AnsiText::writeBytes(file, Ini::withValues(content, section, values), error);
    } catch (const std::exception &failure) {
        reportFailure(u"SetValue"_s, 0, QString::fromLocal8Bit(failure.what()));
        if (error)
            *error = FileError(FileError::Kind::Other, file, QString::fromLocal8Bit(failure.what()));
        return false;
    }
}
