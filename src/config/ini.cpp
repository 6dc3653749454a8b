#include "config/ini.h"

#include "config/ansi_text.h"
#include "config/path_names.h"

#include <QFileInfo>

#include <exception>
#include <vector>

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

// One line of the file: its bytes without the line end, and the line end as found.
struct Line
{
    QByteArray content;
    QByteArray ending;
};

// A line ends at CR LF, at a lone LF and at a lone CR, as the profile functions read it.
std::vector<Line> splitRaw(const QByteArray &bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\n' && c != '\r')
            continue;
        const bool crlf = c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n';
        const qsizetype endLength = crlf ? 2 : 1;
        lines.push_back({bytes.mid(start, i - start), bytes.mid(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back({bytes.mid(start), QByteArray()});
    return lines;
}

// The line end a new line gets: the first one the file has, CR LF for a file without one.
QByteArray lineEndOf(const std::vector<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return AnsiText::LineEnd;
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

enum class Kind { Other, Section, Key };

struct Parsed
{
    Kind kind = Kind::Other;
    QString name;   // section name or key
    QString value;
};

Parsed parse(const QByteArray &raw)
{
    const QString line = trimBlanks(AnsiText::decode(raw));
    Parsed parsed;
    if (line.startsWith(u'[')) {
        qsizetype close = line.indexOf(u']');
        if (close < 0)
            close = line.size();
        parsed.kind = Kind::Section;
        parsed.name = trimBlanks(QStringView(line).mid(1, close - 1));
        return parsed;
    }
    if (line.startsWith(u';'))
        return parsed;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return parsed;
    parsed.kind = Kind::Key;
    parsed.name = trimBlanks(QStringView(line).left(equals));
    QString value = trimBlanks(QStringView(line).mid(equals + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    parsed.value = value;
    return parsed;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
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

} // namespace

void setIniErrorReporter(IniErrorReporter newReporter)
{
    reporter() = std::move(newReporter);
}

namespace Ini {

QString valueIn(const QByteArray &content, const QString &section, const QString &key)
{
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    bool inSection = false;
    bool sectionSeen = false;
    for (const Line &line : splitRaw(content)) {
        const Parsed parsed = parse(line.content);
        if (parsed.kind == Kind::Section) {
            if (sectionSeen)
                break; // only the first matching section counts
            inSection = sameName(parsed.name, wantedSection);
            sectionSeen = inSection;
        } else if (inSection && parsed.kind == Kind::Key && sameName(parsed.name, wantedKey)) {
            return parsed.value.left(MaxValueLength);
        }
    }
    return QString();
}

QByteArray withValue(const QByteArray &original, const QString &section, const QString &key,
                     const QString &value)
{
    const QString wantedSection = trimBlanks(section);
    const QString wantedKey = trimBlanks(key);
    std::vector<Line> lines = splitRaw(original);

    // Find the first matching section, the matching key in it and its last key line.
    qsizetype header = -1;
    qsizetype keyLine = -1;
    qsizetype lastKey = -1;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Parsed parsed = parse(lines[i].content);
        if (parsed.kind == Kind::Section) {
            if (header >= 0)
                break;
            if (sameName(parsed.name, wantedSection))
                header = i;
        } else if (header >= 0 && parsed.kind == Kind::Key) {
            lastKey = i;
            if (keyLine < 0 && sameName(parsed.name, wantedKey))
                keyLine = i;
        }
    }

    const QByteArray lineEnd = lineEndOf(lines);
    if (keyLine >= 0) {
        const QString spelled = parse(lines[keyLine].content).name;
        lines[keyLine].content = keyValueLine(spelled, value);
    } else if (header >= 0) {
        const qsizetype after = lastKey >= 0 ? lastKey : header;
        if (lines[after].ending.isEmpty())
            lines[after].ending = lineEnd;
        lines.insert(lines.begin() + after + 1,
                     Line{keyValueLine(wantedKey, value), lineEnd});
    } else {
        QByteArray result = original;
        if (!lines.empty() && lines.back().ending.isEmpty())
            result += lineEnd;
        result += AnsiText::encode(u'[' + wantedSection + u']') + lineEnd
                  + keyValueLine(wantedKey, value) + lineEnd;
        return result;
    }

    QByteArray result;
    for (const Line &line : lines)
        result += line.content + line.ending;
    return result;
}

} // namespace Ini

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
               const QString &file, QString *error)
{
    if (!canReadBack(section)) {
        if (error)
            *error = u"the section name cannot be stored: "_s + section;
        return false;
    }
    for (const auto &entry : values) {
        if (!canReadBack(entry.first)) {
            if (error)
                *error = u"the key cannot be stored: "_s + entry.first;
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
                    *error = u"the file cannot be read"_s;
                return false;
            }
            content = *bytes;
        }
        for (const auto &[key, value] : values)
            content = Ini::withValue(content, section, key, value);
        return AnsiText::writeBytes(file, content, error);
    } catch (const std::exception &failure) {
        reportFailure(u"SetValue"_s, 0, QString::fromLocal8Bit(failure.what()));
        if (error)
            *error = QString::fromLocal8Bit(failure.what());
        return false;
    }
}
