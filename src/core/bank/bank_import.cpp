#include "core/bank/bank_import.h"

#include "core/bank/bank_text.h"
#include "core/files/file_error.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace BankImport {

namespace {

// Reports progress only when the percentage changes, so a long file costs few calls.
class Progress
{
public:
    Progress(const Options &options, qsizetype total) : m_report(options.progress), m_total(total) {}

    void at(qsizetype done)
    {
        if (!m_report || m_total <= 0)
            return;
        const int percent = int(qint64(done) * 100 / m_total);
        if (percent != m_last) {
            m_last = percent;
            m_report(percent);
        }
    }

private:
    const std::function<void(int)> &m_report;
    qsizetype m_total;
    int m_last = -1;
};

QString trueAnswer(const Options &options)
{
    return options.language.text(u"Верно"_s, u"True"_s);
}

QString falseAnswer(const Options &options)
{
    return options.language.text(u"Неверно"_s, u"False"_s);
}

void setTrueFalse(BankQuestion &question, bool rightIsTrue, const Options &options)
{
    question.answers = {trueAnswer(options), falseAnswer(options)};
    question.right = rightIsTrue ? 0 : 1;
}

// Takes a picture's bytes as the ticket keeps them; a picture that cannot be read refuses
// the question.
void takePicture(BankQuestion &question, const QByteArray &bytes, const QString &name, const Options &options)
{
    question.pictureName = name;
    if (!question.isTaken())
        return;
    if (bytes.isEmpty()) {
        question.refusal = BankRefusal::UnreadablePicture;
        return;
    }
    if (!options.readPicture) {
        question.picture = bytes;
        return;
    }
    if (const auto bitmap = options.readPicture(bytes))
        question.picture = *bitmap;
    else
        question.refusal = BankRefusal::UnreadablePicture;
}

// The picture of an HTML text that names it by a data address; a picture named any other way
// cannot be read from a text-only bank.
void takeDataPicture(BankQuestion &question, const QString &html, const Options &options)
{
    const QStringList sources = BankText::imageSources(html);
    if (sources.isEmpty())
        return;
    const auto bytes = BankText::dataAddressBytes(sources.first());
    takePicture(question, bytes.value_or(QByteArray()), QString(), options);
}

// Aiken.

const QRegularExpression &aikenOption()
{
    static const QRegularExpression option(u"^([A-Z])[.)](?:[ \\t]+(.*))?$"_s);
    return option;
}

const QRegularExpression &aikenAnswer()
{
    static const QRegularExpression answer(u"^ANSWER\\s*:\\s*(.*)$"_s, QRegularExpression::CaseInsensitiveOption);
    return answer;
}

} // namespace

BankQuestions parseAiken(const QString &text, const Options &options)
{
    BankQuestions questions;
    Progress progress(options, text.size());
    QStringList questionLines;
    QList<QChar> letters;
    BankQuestion current;
    const auto finish = [&](bool answered) {
        if (questionLines.isEmpty() && letters.isEmpty())
            return;
        current.text = questionLines.join(u'\n');
        if (letters.isEmpty() || questionLines.isEmpty())
            current.refusal = BankRefusal::Damaged;
        else if (!answered)
            current.refusal = BankRefusal::NoRightAnswer;
        current.check();
        questions << current;
        current = BankQuestion();
        questionLines.clear();
        letters.clear();
    };
    qsizetype position = 0;
    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        position += rawLine.size() + 1;
        progress.at(position);
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty()) {
            // A blank line ends a question that got no answer line.
            if (!letters.isEmpty())
                finish(false);
            continue;
        }
        if (!letters.isEmpty()) {
            if (const auto answer = aikenAnswer().match(line); answer.hasMatch()) {
                const QString given = answer.captured(1).trimmed();
                static const QRegularExpression oneLetter(u"^[A-Za-z]$"_s);
                if (!oneLetter.match(given).hasMatch()) {
                    // Several letters ("A, C") name several right answers.
                    current.refusal = given.isEmpty() ? BankRefusal::NoRightAnswer : BankRefusal::NotSingleChoice;
                } else {
                    current.right = int(letters.indexOf(given.at(0).toUpper()));
                    if (current.right < 0)
                        current.refusal = BankRefusal::NoRightAnswer;
                }
                finish(true);
                continue;
            }
        }
        if (const auto option = aikenOption().match(line); option.hasMatch() && !questionLines.isEmpty()) {
            letters << option.captured(1).at(0);
            current.answers << option.captured(2).trimmed();
            continue;
        }
        if (!letters.isEmpty())
            // A line between the options that is none goes on the option before it.
            current.answers.last() += u'\n' + line;
        else
            questionLines << line;
    }
    finish(false);
    return questions;
}

namespace {

// GIFT.

// The GIFT escapes: "\" before ~ = # { } : and "\" itself; "\n" is a line break.
QString unescapeGift(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c == u'\\' && at + 1 < text.size()) {
            const QChar next = text.at(at + 1);
            if (next == u'n') {
                out += u'\n';
                ++at;
                continue;
            }
            if (QStringView(u"~=#{}:\\").contains(next)) {
                out += next;
                ++at;
                continue;
            }
        }
        out += c;
    }
    return out;
}

// The position of the first character of `set` at or after `from` that no "\" escapes.
qsizetype findUnescaped(QStringView text, QStringView set, qsizetype from = 0)
{
    for (qsizetype at = from; at < text.size(); ++at) {
        if (text.at(at) == u'\\') {
            ++at;
            continue;
        }
        if (set.contains(text.at(at)))
            return at;
    }
    return -1;
}

// The position of the first `sequence` at or after `from` whose first character no "\" escapes.
qsizetype findUnescapedSequence(QStringView text, QStringView sequence, qsizetype from)
{
    for (qsizetype at = from; at + sequence.size() <= text.size(); ++at) {
        if (text.at(at) == u'\\') {
            ++at;
            continue;
        }
        if (text.sliced(at).startsWith(sequence))
            return at;
    }
    return -1;
}

BankText::Markup giftMarkup(QString &text)
{
    static const struct
    {
        QString marker;
        BankText::Markup markup;
    } markers[] = {{u"[html]"_s, BankText::Markup::Html},
                   {u"[moodle]"_s, BankText::Markup::AutoFormat},
                   {u"[plain]"_s, BankText::Markup::Plain},
                   {u"[markdown]"_s, BankText::Markup::Plain}};
    text = text.trimmed();
    for (const auto &marker : markers) {
        if (text.startsWith(marker.marker, Qt::CaseInsensitive)) {
            text = text.sliced(marker.marker.size());
            return marker.markup;
        }
    }
    // Without a marker GIFT text is auto-formatted: its line breaks count, and HTML may stand in it.
    return BankText::Markup::AutoFormat;
}

struct GiftAnswer
{
    bool right = false;
    double weight = 0;
    QString text;
};

// The answers of a choice block: "=" or "~", an optional "%weight%", the text, an optional
// "#feedback". Nothing when text stands before the first marker.
std::optional<QList<GiftAnswer>> giftAnswers(QStringView block)
{
    QList<GiftAnswer> answers;
    qsizetype at = findUnescaped(block, u"=~");
    if (at < 0 || !block.first(at).trimmed().isEmpty())
        return std::nullopt;
    while (at >= 0) {
        const qsizetype next = findUnescaped(block, u"=~", at + 1);
        QStringView part = block.sliced(at + 1, (next < 0 ? block.size() : next) - at - 1);
        GiftAnswer answer;
        answer.right = block.at(at) == u'=';
        answer.weight = answer.right ? 100 : 0;
        const QStringView trimmed = part.trimmed();
        if (trimmed.startsWith(u'%')) {
            const qsizetype end = trimmed.indexOf(u'%', 1);
            if (end > 0) {
                bool ok = false;
                const double weight = trimmed.sliced(1, end - 1).toDouble(&ok);
                if (ok)
                    answer.weight = weight;
                part = trimmed.sliced(end + 1);
            }
        }
        if (const qsizetype feedback = findUnescaped(part, u"#"); feedback >= 0)
            part = part.first(feedback);
        answer.text = unescapeGift(part.trimmed());
        answers << answer;
        at = next;
    }
    return answers;
}

BankQuestion giftQuestion(QString record, const QString &category, const Options &options)
{
    BankQuestion question;
    question.category = category;
    record = record.trimmed();
    if (record.startsWith(u"::"_s)) {
        const qsizetype end = findUnescapedSequence(record, u"::", 2);
        if (end > 0) {
            question.title = unescapeGift(QStringView(record).sliced(2, end - 2)).trimmed();
            record = record.sliced(end + 2);
        }
    }
    const BankText::Markup markup = giftMarkup(record);
    const qsizetype open = findUnescaped(record, u"{");
    const qsizetype close = open < 0 ? -1 : findUnescaped(record, u"}", open + 1);
    QString rawText = record;
    if (open >= 0 && close > open) {
        const QString after = record.sliced(close + 1).trimmed();
        rawText = record.first(open).trimmed();
        // A blank inside the text: the missing-word form.
        if (!after.isEmpty())
            rawText += u" _____ "_s + after;
    }
    const QString unescaped = unescapeGift(rawText);
    question.text = BankText::toPlain(unescaped, markup, true);
    if (markup != BankText::Markup::Plain)
        takeDataPicture(question, unescaped, options);
    if (open < 0) {
        // A text without answers is a description, no question.
        question.refusal = BankRefusal::NotSingleChoice;
        return question;
    }
    if (close < 0) {
        question.refusal = BankRefusal::Damaged;
        return question;
    }
    const QStringView block = QStringView(record).sliced(open + 1, close - open - 1).trimmed();
    static const QRegularExpression trueFalse(u"^(T|TRUE|F|FALSE)\\s*(#.*)?$"_s,
                                              QRegularExpression::CaseInsensitiveOption
                                                  | QRegularExpression::DotMatchesEverythingOption);
    if (const auto match = trueFalse.match(block.toString()); match.hasMatch()) {
        setTrueFalse(question, match.captured(1).startsWith(u'T', Qt::CaseInsensitive), options);
        return question;
    }
    if (block.isEmpty() || block.startsWith(u'#') || findUnescapedSequence(block, u"->", 0) >= 0) {
        question.refusal = BankRefusal::NotSingleChoice;
        return question;
    }
    const auto answers = giftAnswers(block);
    if (!answers) {
        question.refusal = BankRefusal::Damaged;
        return question;
    }
    int positive = 0;
    bool hasWrong = false;
    for (const GiftAnswer &answer : *answers) {
        question.answers << BankText::toPlain(answer.text, markup, false);
        hasWrong = hasWrong || !answer.right;
        if (answer.weight > 0) {
            ++positive;
            if (answer.weight >= 100)
                question.right = int(question.answers.size() - 1);
        }
    }
    if (!hasWrong || positive > 1) {
        // Only "=" answers make a short answer; several positive answers, several right ones.
        question.right = -1;
        question.refusal = BankRefusal::NotSingleChoice;
    } else if (question.right < 0) {
        question.refusal = BankRefusal::NoRightAnswer;
    }
    question.check();
    return question;
}

bool isGiftComment(QStringView line)
{
    return line.trimmed().startsWith(u"//");
}

} // namespace

BankQuestions parseGift(const QString &text, const Options &options)
{
    BankQuestions questions;
    Progress progress(options, text.size());
    QString category;
    QStringList record;
    const auto finish = [&] {
        if (!record.isEmpty())
            questions << giftQuestion(record.join(u'\n'), category, options);
        record.clear();
    };
    qsizetype position = 0;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        position += line.size() + 1;
        progress.at(position);
        if (line.trimmed().isEmpty()) {
            finish();
            continue;
        }
        if (isGiftComment(line))
            continue;
        if (record.isEmpty() && line.trimmed().startsWith(u"$CATEGORY:")) {
            category = line.trimmed().sliced(10).trimmed().toString();
            static const QRegularExpression prefix(u"^\\$[a-z0-9]+\\$/(top/)?"_s);
            category.remove(prefix);
            continue;
        }
        record << line.toString();
    }
    finish();
    return questions;
}

namespace {

// Moodle XML. Each <question> is read into a small tree first, as its parts come in any order.

struct Node
{
    QString name;
    QXmlStreamAttributes attributes;
    QString text;
    QList<Node> children;

    const Node *child(QStringView childName) const
    {
        for (const Node &node : children) {
            if (node.name == childName)
                return &node;
        }
        return nullptr;
    }
    // The text of <childName><text>...</text></childName>, or of <childName> itself.
    QString textOf(QStringView childName) const
    {
        const Node *node = child(childName);
        if (!node)
            return QString();
        const Node *text = node->child(u"text");
        return text ? text->text : node->text;
    }
    QString attribute(const QString &attributeName) const { return attributes.value(attributeName).toString(); }
    // The text of an answer: in its <text>, or (in old files) right inside it.
    QString answerText() const
    {
        const Node *inner = child(u"text");
        return inner ? inner->text : text;
    }
};

constexpr int MaxDepth = 16;

// Reads the element the reader stands on, with everything in it.
bool readNode(QXmlStreamReader &xml, Node &node, int depth)
{
    node.name = xml.name().toString();
    node.attributes = xml.attributes();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (depth >= MaxDepth) {
                xml.raiseError(u"elements nested too deep"_s);
                return false;
            }
            Node child;
            if (!readNode(xml, child, depth + 1))
                return false;
            node.children << std::move(child);
        } else if (xml.isCharacters()) {
            node.text += xml.text();
        } else if (xml.isEndElement()) {
            return true;
        }
    }
    return false;
}

BankText::Markup moodleMarkup(const QString &format)
{
    if (format == "html"_L1)
        return BankText::Markup::Html;
    if (format == "plain_text"_L1 || format == "markdown"_L1)
        return BankText::Markup::Plain;
    return BankText::Markup::AutoFormat;
}

QString moodleCategory(QString path)
{
    static const QRegularExpression prefix(u"^\\$[a-z0-9]+\\$/(top/)?"_s);
    path.remove(prefix);
    if (path == "top"_L1)
        return QString();
    return path;
}

// The picture of a question: the first image of its text, a file embedded beside the text or
// a data address; or the picture of the old form, <image_base64>.
void takeMoodlePicture(BankQuestion &question, const Node &node, const QString &html, const Options &options)
{
    const Node *textNode = node.child(u"questiontext");
    const QStringList sources = BankText::imageSources(html);
    if (!sources.isEmpty()) {
        const QString source = sources.first();
        if (const auto bytes = BankText::dataAddressBytes(source)) {
            takePicture(question, *bytes, QString(), options);
            return;
        }
        static const QString plugin = u"@@PLUGINFILE@@/"_s;
        QByteArray bytes;
        QString name;
        if (source.startsWith(plugin) && textNode) {
            name = QUrl::fromPercentEncoding(source.sliced(plugin.size()).toUtf8());
            for (const Node &file : textNode->children) {
                if (file.name == "file"_L1 && file.attribute(u"name"_s) == name) {
                    bytes = QByteArray::fromBase64(file.text.trimmed().toLatin1());
                    break;
                }
            }
        }
        takePicture(question, bytes, name.isEmpty() ? source : name, options);
        return;
    }
    if (const Node *old = node.child(u"image_base64"); old && !old->text.trimmed().isEmpty())
        takePicture(question, QByteArray::fromBase64(old->text.trimmed().toLatin1()), node.textOf(u"image"),
                    options);
}

BankQuestion moodleQuestion(const Node &node, const QString &type, const QString &category, const Options &options)
{
    BankQuestion question;
    question.category = category;
    question.title = node.textOf(u"name").trimmed();
    const Node *textNode = node.child(u"questiontext");
    const BankText::Markup markup = moodleMarkup(textNode ? textNode->attribute(u"format"_s) : QString());
    const QString raw = node.textOf(u"questiontext");
    question.text = BankText::toPlain(raw, markup, true);
    if (type == "truefalse"_L1) {
        int rightAt = -1;
        for (const Node &answer : node.children) {
            if (answer.name != "answer"_L1 || answer.attribute(u"fraction"_s).toDouble() < 100)
                continue;
            const QString text = BankText::toPlain(answer.answerText(), BankText::Markup::Html, false).toLower();
            rightAt = text == "true"_L1 ? 0 : text == "false"_L1 ? 1 : -1;
        }
        if (rightAt < 0)
            question.refusal = BankRefusal::NoRightAnswer;
        else
            setTrueFalse(question, rightAt == 0, options);
    } else if (type == "multichoice"_L1) {
        const QString single = node.textOf(u"single").trimmed().toLower();
        int positive = 0;
        for (const Node &answer : node.children) {
            if (answer.name != "answer"_L1)
                continue;
            const double fraction = answer.attribute(u"fraction"_s).toDouble();
            question.answers << BankText::toPlain(answer.answerText(), moodleMarkup(answer.attribute(u"format"_s)),
                                                  false);
            if (fraction > 0) {
                ++positive;
                if (fraction >= 100)
                    question.right = int(question.answers.size() - 1);
            }
        }
        if (single == "false"_L1 || single == "0"_L1 || positive > 1) {
            question.right = -1;
            question.refusal = BankRefusal::NotSingleChoice;
        } else if (question.right < 0) {
            question.refusal = BankRefusal::NoRightAnswer;
        }
    } else {
        question.refusal = BankRefusal::NotSingleChoice;
    }
    if (markup != BankText::Markup::Plain)
        takeMoodlePicture(question, node, raw, options);
    question.check();
    return question;
}

} // namespace

std::optional<BankQuestions> parseMoodleXml(const QString &text, const Options &options, QString *error)
{
    const LanguagePolicy &language = options.language;
    Progress progress(options, text.size());
    QXmlStreamReader xml(text);
    BankQuestions questions;
    QString category;
    const auto fail = [&](const QString &reason) -> std::optional<BankQuestions> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (!xml.readNextStartElement() || xml.name() != "quiz"_L1) {
        if (xml.hasError())
            return fail(language.text(u"файл XML поврежден (строка %1): %2"_s, u"the XML file is damaged (line %1): %2"_s)
                            .arg(xml.lineNumber())
                            .arg(xml.errorString()));
        return fail(language.text(u"это не банк вопросов Moodle XML"_s, u"this is no Moodle XML question bank"_s));
    }
    while (xml.readNextStartElement()) {
        progress.at(qsizetype(xml.characterOffset()));
        Node node;
        if (!readNode(xml, node, 0))
            break;
        if (node.name != "question"_L1)
            continue;
        const QString type = node.attribute(u"type"_s);
        if (type == "category"_L1) {
            category = moodleCategory(node.textOf(u"category").trimmed());
            continue;
        }
        questions << moodleQuestion(node, type, category, options);
    }
    if (xml.hasError())
        return fail(language.text(u"файл XML поврежден (строка %1): %2"_s, u"the XML file is damaged (line %1): %2"_s)
                        .arg(xml.lineNumber())
                        .arg(xml.errorString()));
    return questions;
}

BankFormat detect(const QString &text)
{
    const QStringView start = QStringView(text).trimmed();
    if (start.startsWith(u'<'))
        return text.contains(u"<quiz"_s) ? BankFormat::MoodleXml : BankFormat::Unknown;
    static const QRegularExpression aiken(u"^ANSWER\\s*:\\s*[A-Za-z]"_s, QRegularExpression::MultilineOption);
    if (aiken.match(text).hasMatch())
        return BankFormat::Aiken;
    const qsizetype open = findUnescaped(text, u"{");
    if (open >= 0 && findUnescaped(text, u"}", open + 1) > open)
        return BankFormat::Gift;
    return BankFormat::Unknown;
}

Result readBytes(const QByteArray &bytes, const Options &options, BankFormat named)
{
    const LanguagePolicy &language = options.language;
    Result result;
    const auto text = BankText::decode(bytes);
    if (!text) {
        result.error = language.text(u"это не текстовый файл"_s, u"this is no text file"_s);
        return result;
    }
    result.format = detect(*text);
    if (result.format == BankFormat::Unknown && !text->trimmed().isEmpty())
        result.format = named;
    switch (result.format) {
    case BankFormat::Aiken:
        result.questions = parseAiken(*text, options);
        break;
    case BankFormat::Gift:
        result.questions = parseGift(*text, options);
        break;
    case BankFormat::MoodleXml:
        if (auto questions = parseMoodleXml(*text, options, &result.error))
            result.questions = std::move(*questions);
        break;
    case BankFormat::Unknown:
        result.error = language.text(u"в файле нет вопросов в формате Moodle XML, GIFT или Aiken"_s,
                                     u"the file holds no questions in Moodle XML, GIFT or Aiken"_s);
        break;
    }
    if (result.error.isEmpty() && result.questions.isEmpty())
        result.error = language.text(u"в файле не найдено ни одного вопроса"_s, u"no question was found in the file"_s);
    return result;
}

Result readFile(const QString &path, const Options &options)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        Result result;
        result.error = FileError::fromSystem(errno, path, file.errorString()).describe(options.language);
        return result;
    }
    if (file.size() > MaxFileBytes) {
        Result result;
        result.error = options.language.text(u"файл больше %1 МБ: это не банк вопросов"_s,
                                             u"the file is larger than %1 MB: this is no question bank"_s)
                           .arg(MaxFileBytes / (1024 * 1024));
        return result;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Result result;
        result.error = FileError::fromSystem(errno, path, file.errorString()).describe(options.language);
        return result;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const BankFormat named = suffix == "xml"_L1     ? BankFormat::MoodleXml
                             : suffix == "gift"_L1  ? BankFormat::Gift
                             : suffix == "aiken"_L1 ? BankFormat::Aiken
                                                    : BankFormat::Unknown;
    return readBytes(bytes, options, named);
}

} // namespace BankImport
