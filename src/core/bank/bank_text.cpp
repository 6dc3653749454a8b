#include "core/bank/bank_text.h"

#include "core/files/ansi_text.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace BankText {

namespace {

QString withNewlines(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

const QHash<QString, char16_t> &namedEntities()
{
    static const QHash<QString, char16_t> entities = {
        {u"amp"_s, u'&'},       {u"lt"_s, u'<'},        {u"gt"_s, u'>'},        {u"quot"_s, u'"'},
        {u"apos"_s, u'\''},     {u"nbsp"_s, u'\u00a0'},      {u"laquo"_s, u'«'},     {u"raquo"_s, u'»'},
        {u"ndash"_s, u'–'},     {u"mdash"_s, u'—'},     {u"hellip"_s, u'…'},    {u"copy"_s, u'©'},
        {u"reg"_s, u'®'},       {u"deg"_s, u'°'},       {u"plusmn"_s, u'±'},    {u"times"_s, u'×'},
        {u"divide"_s, u'÷'},    {u"minus"_s, u'−'},     {u"le"_s, u'≤'},        {u"ge"_s, u'≥'},
        {u"ne"_s, u'≠'},        {u"lsquo"_s, u'‘'},     {u"rsquo"_s, u'’'},     {u"ldquo"_s, u'“'},
        {u"rdquo"_s, u'”'},     {u"bdquo"_s, u'„'},     {u"sect"_s, u'§'},      {u"middot"_s, u'·'},
        {u"bull"_s, u'•'},      {u"euro"_s, u'€'},      {u"trade"_s, u'™'},     {u"numero"_s, u'№'},
        {u"sup2"_s, u'²'},      {u"sup3"_s, u'³'},      {u"frac12"_s, u'½'},    {u"micro"_s, u'µ'},
        {u"alpha"_s, u'α'},     {u"beta"_s, u'β'},      {u"gamma"_s, u'γ'},     {u"pi"_s, u'π'},
        {u"shy"_s, u'\u00ad'},
    };
    return entities;
}

// Decodes the entity that starts at text[at] ('&'); appends its character and returns the
// position after it, or appends the '&' alone when it starts no entity.
qsizetype decodeEntity(QStringView text, qsizetype at, QString &out)
{
    const qsizetype end = text.indexOf(u';', at + 1);
    if (end > at + 1 && end - at <= 12) {
        const QStringView name = text.sliced(at + 1, end - at - 1);
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X')
                                  ? name.sliced(2).toUInt(&ok, 16)
                                  : name.sliced(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = char32_t(code);
                out += QString::fromUcs4(&c, 1);
                return end + 1;
            }
        } else if (const auto found = namedEntities().constFind(name.toString()); found != namedEntities().cend()) {
            out += QChar(found.value());
            return end + 1;
        }
    }
    out += u'&';
    return at + 1;
}

// The tags of blocks, which stand on lines of their own in a question.
bool breaksLine(const QString &tag)
{
    static const QStringList tags = {u"p"_s, u"div"_s, u"li"_s, u"tr"_s, u"h1"_s, u"h2"_s,
                                     u"h3"_s, u"h4"_s, u"h5"_s, u"h6"_s, u"ul"_s, u"ol"_s, u"table"_s};
    return tags.contains(tag);
}

// Blank ends of lines go, runs of blanks become one, and empty lines at the start and end go;
// a run of empty lines inside becomes one. Non-breaking blanks stay as written, as blanks.
QString tidyLines(const QString &text)
{
    static const QRegularExpression blanks(u"[ \\t\\f\\v]+"_s);
    static const QRegularExpression edges(u"^[ \\t\\f\\v]+|[ \\t\\f\\v]+$"_s);
    QStringList lines;
    for (QString line : text.split(u'\n')) {
        line.replace(blanks, u" "_s);
        line.remove(edges);
        line.replace(u'\u00a0', u' ');
        if (line.isEmpty() && (lines.isEmpty() || lines.last().isEmpty()))
            continue;
        lines << line;
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

} // namespace

std::optional<QString> decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return withNewlines(QString::fromUtf8(bytes.sliced(3)));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return withNewlines(utf16.decode(bytes.sliced(2)));
    }
    if (bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return withNewlines(text);
    return withNewlines(AnsiText::decode(bytes));
}

QString toPlain(const QString &text, Markup markup, bool breaks)
{
    if (markup == Markup::Plain)
        return text.trimmed();
    const QString lineBreak = breaks ? u"\n"_s : u" "_s;
    QString out;
    out.reserve(text.size());
    const QStringView view(text);
    qsizetype at = 0;
    while (at < view.size()) {
        const QChar c = view.at(at);
        if (c == u'<' && at + 1 < view.size()
            && (view.at(at + 1).isLetter() || view.at(at + 1) == u'/' || view.at(at + 1) == u'!')) {
            const qsizetype close = view.indexOf(u'>', at);
            if (close < 0) {
                out += c;
                ++at;
                continue;
            }
            QStringView tag = view.sliced(at + 1, close - at - 1);
            if (tag.startsWith(u'/'))
                tag = tag.sliced(1);
            qsizetype nameEnd = 0;
            while (nameEnd < tag.size() && tag.at(nameEnd).isLetterOrNumber())
                ++nameEnd;
            const QString name = tag.first(nameEnd).toString().toLower();
            at = close + 1;
            if (name == "script"_L1 || name == "style"_L1) {
                const qsizetype end = view.indexOf(QString(u"</"_s + name), at, Qt::CaseInsensitive);
                if (end >= 0) {
                    const qsizetype endClose = view.indexOf(u'>', end);
                    at = endClose < 0 ? view.size() : endClose + 1;
                }
                continue;
            }
            if (name == "br"_L1) {
                out += lineBreak;
            } else if (breaksLine(name)) {
                // A block starts on a line of its own; an empty block adds no empty line.
                qsizetype end = out.size();
                while (end > 0 && out.at(end - 1) == u' ')
                    --end;
                if (!breaks || (end > 0 && out.at(end - 1) != u'\n'))
                    out += lineBreak;
            }
            continue;
        }
        if (c == u'&') {
            at = decodeEntity(view, at, out);
            continue;
        }
        if (c == u'\n')
            // Auto-formatted text keeps its line breaks, in an answer too, where they make it
            // an answer of several lines.
            out += markup == Markup::AutoFormat ? u'\n' : u' ';
        else if (c.isSpace())
            out += u' ';
        else
            out += c;
        ++at;
    }
    return tidyLines(out);
}

QStringList imageSources(const QString &html)
{
    static const QRegularExpression image(u"<img\\b[^>]*?\\bsrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList sources;
    for (auto it = image.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        QString source = match.captured(1);
        if (source.isEmpty())
            source = match.captured(2);
        if (source.isEmpty())
            source = match.captured(3);
        QString decoded;
        for (qsizetype at = 0; at < source.size();) {
            if (source.at(at) == u'&')
                at = decodeEntity(source, at, decoded);
            else
                decoded += source.at(at++);
        }
        sources << decoded;
    }
    return sources;
}

std::optional<QByteArray> dataAddressBytes(const QString &source)
{
    if (!source.startsWith(u"data:"_s, Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype comma = source.indexOf(u',');
    if (comma < 0 || !source.first(comma).endsWith(u";base64"_s, Qt::CaseInsensitive))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(source.sliced(comma + 1).trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return decoded.decoded;
}

QString toHtml(const QString &plain)
{
    QString html;
    html.reserve(plain.size() + plain.size() / 8);
    QChar previous = u'\n';
    for (const QChar c : plain) {
        switch (c.unicode()) {
        case u'&': html += u"&amp;"_s; break;
        case u'<': html += u"&lt;"_s; break;
        case u'>': html += u"&gt;"_s; break;
        case u'"': html += u"&quot;"_s; break;
        case u'\n': html += u"<br>"_s; break;
        case u' ':
            // HTML collapses blanks: a blank after a blank or at a line's start is kept as a
            // non-breaking one, which reads back as a blank.
            html += previous == u' ' || previous == u'\n' ? u"&nbsp;"_s : u" "_s;
            break;
        default: html += c; break;
        }
        previous = c;
    }
    return html;
}

} // namespace BankText
