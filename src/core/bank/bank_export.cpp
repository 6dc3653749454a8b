#include "core/bank/bank_export.h"

#include "core/bank/bank_text.h"
#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/program/language_policy.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace BankExport {

namespace {

QString where(const ExamQuestion &question, const LanguagePolicy &language)
{
    return language.text(u"%1, вопрос %2: "_s, u"%1, question %2: "_s).arg(question.ticket).arg(question.number);
}

QString withoutFinalBreak(QString text)
{
    text = AnsiText::toWindowLineEnds(text);
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

} // namespace

QStringList ticketsOf(const QString &examFolder)
{
    QStringList folders;
    GetFolders(examFolder, &folders);
    QList<std::pair<qulonglong, QString>> numbered;
    for (const QString &path : std::as_const(folders)) {
        const QString name = QFileInfo(path).fileName();
        static const QRegularExpression ticket(u"^b([1-9][0-9]*)$"_s);
        if (const auto match = ticket.match(name); match.hasMatch() && QFileInfo(path).isDir())
            numbered.append({match.captured(1).toULongLong(), name});
    }
    std::sort(numbered.begin(), numbered.end());
    QStringList names;
    for (const auto &entry : std::as_const(numbered))
        names << entry.second;
    return names;
}

ExamQuestions readExam(const QString &examFolder, const QString &ticket, const LanguagePolicy &language)
{
    ExamQuestions found;
    const QString title = withoutFinalBreak(ExamFolder::readTitle(examFolder).value_or(QString())).simplified();
    const QStringList tickets = ticket.isEmpty() ? ticketsOf(examFolder) : QStringList{ticket};
    for (const QString &name : tickets) {
        const ExamTicket files = ExamTicket::named(examFolder, name);
        // Questions follow one another from 1, as the ticket window goes through them.
        for (int number = 1; number <= ExamFolder::MaxQuestions && files.isComplete(number); ++number) {
            ExamQuestion item;
            item.ticket = name;
            item.number = number;
            BankQuestion &question = item.question;
            question.title = name + u'-' + QString::number(number);
            question.category = title.isEmpty() ? name : title + u'/' + name;
            question.text = withoutFinalBreak(files.questionText(number).value_or(QString()));
            question.answers = files.answers(number).toStringList();
            const QStringList correct = files.correctAnswerLines(number);
            question.right = correct.isEmpty() ? -1 : int(question.answers.indexOf(correct.first()));
            if (files.has(ExamFolder::pictureFile(number))) {
                question.picture = AnsiText::readBytes(files.path(ExamFolder::pictureFile(number))).value_or(QByteArray());
                question.pictureName = ExamFolder::pictureFile(number);
            }
            if (question.right < 0) {
                found.skipped << where(item, language)
                                     + language.text(u"правильный ответ не совпадает ни с одним из ответов"_s,
                                                     u"the correct answer is none of the answers"_s);
                continue;
            }
            found.questions << item;
        }
    }
    return found;
}

namespace {

// Aiken: options are letters, a question is a block of lines, the answer line closes it.
QString aikenProblem(const BankQuestion &question, const LanguagePolicy &language)
{
    if (!question.picture.isEmpty())
        return language.text(u"Aiken не хранит картинки"_s, u"Aiken holds no pictures"_s);
    if (question.answers.size() > 26)
        return language.text(u"в Aiken не больше 26 ответов"_s, u"Aiken holds at most 26 answers"_s);
    static const QRegularExpression optionLike(u"^\\s*([A-Z][.)](\\s|$)|ANSWER\\s*:)"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = question.text.split(u'\n');
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || optionLike.match(line).hasMatch())
            return language.text(u"в Aiken вопрос не может содержать пустую строку или строку, похожую на ответ"_s,
                                 u"in Aiken a question cannot hold an empty line or a line like an answer"_s);
    }
    if (question.text.trimmed().isEmpty())
        return language.text(u"нет текста вопроса"_s, u"no question text"_s);
    return QString();
}

QString aiken(const QList<ExamQuestion> &questions, const LanguagePolicy &language, QStringList &skipped)
{
    QString out;
    for (const ExamQuestion &item : questions) {
        const BankQuestion &question = item.question;
        if (const QString problem = aikenProblem(question, language); !problem.isEmpty()) {
            skipped << where(item, language) + problem;
            continue;
        }
        QStringList lines = question.text.split(u'\n');
        for (QString &line : lines)
            line = line.trimmed();
        out += lines.join(u'\n') + u'\n';
        for (int i = 0; i < question.answers.size(); ++i)
            out += QChar(u'A' + i) + u") "_s + question.answers.at(i) + u'\n';
        out += u"ANSWER: "_s + QChar(u'A' + question.right) + u"\n\n"_s;
    }
    return out;
}

QString escapeGift(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (QStringView(u"~=#{}:\\").contains(c))
            out += u'\\';
        if (c == u'\n') {
            out += u"\\n"_s;
            continue;
        }
        out += c;
    }
    return out;
}

QString dataAddress(const QByteArray &picture)
{
    // A Windows bitmap begins with "BM"; other pictures keep a general type.
    const QString type = picture.startsWith("BM") ? u"image/bmp"_s : u"application/octet-stream"_s;
    return u"data:"_s + type + u";base64,"_s + QString::fromLatin1(picture.toBase64());
}

QString gift(const QList<ExamQuestion> &questions, const QString &heading)
{
    QString out = u"// "_s + heading + u"\n\n"_s;
    QString category;
    for (const ExamQuestion &item : questions) {
        const BankQuestion &question = item.question;
        if (question.category != category) {
            category = question.category;
            out += u"$CATEGORY: $course$/top/"_s + category + u"\n\n"_s;
        }
        out += u"::"_s + escapeGift(question.title) + u"::"_s;
        const bool html = !question.picture.isEmpty();
        if (html) {
            out += u"[html]"_s + escapeGift(BankText::toHtml(question.text)) + u"<br><img src=\""_s
                   + dataAddress(question.picture) + u"\" alt=\""_s + escapeGift(question.pictureName) + u"\">"_s;
        } else {
            out += u"[plain]"_s + escapeGift(question.text);
        }
        out += u" {\n"_s;
        for (int i = 0; i < question.answers.size(); ++i) {
            const QString answer = html ? BankText::toHtml(question.answers.at(i)) : question.answers.at(i);
            out += (i == question.right ? u"\t="_s : u"\t~"_s) + escapeGift(answer) + u'\n';
        }
        out += u"}\n\n"_s;
    }
    return out;
}

QByteArray moodleXml(const QList<ExamQuestion> &questions)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(u"quiz"_s);
    QString category;
    const auto textElement = [&xml](const QString &name, const QString &text) {
        xml.writeStartElement(name);
        xml.writeTextElement(u"text"_s, text);
        xml.writeEndElement();
    };
    for (const ExamQuestion &item : questions) {
        const BankQuestion &question = item.question;
        if (question.category != category) {
            category = question.category;
            xml.writeStartElement(u"question"_s);
            xml.writeAttribute(u"type"_s, u"category"_s);
            textElement(u"category"_s, u"$course$/top/"_s + category);
            xml.writeEndElement();
        }
        xml.writeStartElement(u"question"_s);
        xml.writeAttribute(u"type"_s, u"multichoice"_s);
        textElement(u"name"_s, question.title);
        xml.writeStartElement(u"questiontext"_s);
        xml.writeAttribute(u"format"_s, u"html"_s);
        xml.writeStartElement(u"text"_s);
        QString html = u"<p>"_s + BankText::toHtml(question.text) + u"</p>"_s;
        if (!question.picture.isEmpty())
            html += u"<p><img src=\"@@PLUGINFILE@@/"_s + question.pictureName + u"\" alt=\"\"></p>"_s;
        // A CDATA section cannot hold its own end marker.
        html.replace(u"]]>"_s, u"]]&gt;"_s);
        xml.writeCDATA(html);
        xml.writeEndElement();
        if (!question.picture.isEmpty()) {
            xml.writeStartElement(u"file"_s);
            xml.writeAttribute(u"name"_s, question.pictureName);
            xml.writeAttribute(u"path"_s, u"/"_s);
            xml.writeAttribute(u"encoding"_s, u"base64"_s);
            xml.writeCharacters(QString::fromLatin1(question.picture.toBase64()));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        xml.writeTextElement(u"defaultgrade"_s, u"1"_s);
        xml.writeTextElement(u"single"_s, u"true"_s);
        xml.writeTextElement(u"shuffleanswers"_s, u"0"_s);
        xml.writeTextElement(u"answernumbering"_s, u"none"_s);
        for (int i = 0; i < question.answers.size(); ++i) {
            xml.writeStartElement(u"answer"_s);
            xml.writeAttribute(u"fraction"_s, i == question.right ? u"100"_s : u"0"_s);
            xml.writeAttribute(u"format"_s, u"plain_text"_s);
            xml.writeTextElement(u"text"_s, question.answers.at(i));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace

Output write(const QList<ExamQuestion> &questions, BankFormat format, const LanguagePolicy &language)
{
    Output output;
    switch (format) {
    case BankFormat::Aiken:
        output.bytes = aiken(questions, language, output.skipped).toUtf8();
        break;
    case BankFormat::Gift:
        output.bytes = gift(questions, language.text(u"Вопросы экзамена"_s, u"The questions of an exam"_s)).toUtf8();
        break;
    case BankFormat::MoodleXml:
        output.bytes = moodleXml(questions);
        break;
    case BankFormat::Unknown:
        break;
    }
    return output;
}

} // namespace BankExport
