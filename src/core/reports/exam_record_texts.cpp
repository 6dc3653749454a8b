#include "core/reports/exam_record_texts.h"

#include "core/files/ansi_text.h"
#include "core/files/fixed_point.h"

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString RussianDate = u"Дата: "_s;
const QString RussianTime = u" Время: "_s;
const QString EnglishDate = u"Date: "_s;
const QString EnglishTime = u"Time: "_s;

// The captions of the start window's student frame that begin the student line, each
// followed by two blanks.
const QString StudentCaptions[] = {u"Ф.И.О ,  Данные  "_s, u"Surname a Name, additional data  "_s};
const QString TicketCaptions[] = {u"Билет № "_s, u"Ticket № "_s};

const std::array<QString, ExamRecordTexts::Questions> RussianLines = {
    u"Первый вопрос, оценка  "_s,        u"Второй вопрос, оценка  "_s,
    u"Третий вопрос, оценка  "_s,        u"Четвертый вопрос, оценка  "_s,
    u"Пятый вопрос, оценка  "_s,         u"Шестой вопрос, оценка  "_s,
    u"Седьмой вопрос, оценка  "_s,       u"Восьмой вопрос, оценка  "_s,
    u"Девятый вопрос, оценка  "_s,       u"Десятый вопрос, оценка  "_s,
    u"Одинадцатый вопрос, оценка  "_s,   u"Двенадцатый вопрос, оценка  "_s,
    u"Тринадцатый вопрос, оценка  "_s,   u"Четырнадцатый вопрос, оценка  "_s,
    u"Пятнадцатый вопрос, оценка  "_s,   u"Шестьнадцатый вопрос, оценка  "_s,
    u"Семьнадцатый вопрос, оценка  "_s,  u"Восемьнадцатый вопрос, оценка  "_s,
    u"Девятьнадцатый вопрос, оценка  "_s, u"Дватцатый вопрос, оценка  "_s,
};

const std::array<QString, ExamRecordTexts::Questions> EnglishLines = [] {
    std::array<QString, ExamRecordTexts::Questions> lines;
    for (int n = 1; n <= ExamRecordTexts::Questions; ++n)
        lines[n - 1] = QString::number(n) + u" question, evaluation  "_s;
    return lines;
}();

struct VerdictCaption
{
    Verdict verdict;
    QString russian;
    QString english;
};

const VerdictCaption VerdictCaptions[] = {
    {Verdict::Passed, u"Зачет"_s, u"Delivered"_s},
    {Verdict::Failed, u"Не зачет"_s, u"Not deliver"_s},
    {Verdict::FailedOnTime, u"Не зачет по времени"_s, u"Not deliver on time"_s},
};

const QString RussianDiscardNote = u"Незаконченный билет отменен без оценки"_s;
const QString EnglishDiscardNote = u"The unfinished ticket was discarded without a grade"_s;
const QString DataCaption = u"Дополнительные сведения: "_s;

// Whether the line begins with the caption. The first character is compared here, as most
// lines looked at begin otherwise and a report has many: the call of a full comparison would
// cost more than the answer.
bool begins(QStringView line, const QString &caption)
{
    return caption.isEmpty()
           || (line.size() >= caption.size() && line.front() == caption.front() && line.startsWith(caption));
}

} // namespace

ExamRecordTexts::ExamRecordTexts(const QString &language) : m_language(language) {}

std::optional<QString> ExamRecordTexts::dateLine(const QString &date, const QString &time) const
{
    if (m_language.isRussian())
        return RussianDate + date + RussianTime + time;
    if (m_language.isEnglish())
        return EnglishDate + date + EnglishTime + time;
    return std::nullopt;
}

QString ExamRecordTexts::ticketLine(const QString &ticketFolderName) const
{
    const QString caption = m_language.message(TicketCaptions[0], TicketCaptions[1]);
    return caption.isEmpty() ? caption : caption + ticketFolderName;
}

QString ExamRecordTexts::evaluationLine(int question, const QString &mark) const
{
    if (question < 1 || question > Questions)
        return QString();
    const QString line = m_language.message(RussianLines[question - 1], EnglishLines[question - 1]);
    return line.isEmpty() ? line : line + mark;
}

QStringList ExamRecordTexts::evaluationLines(const QStringList &marks) const
{
    QStringList lines;
    for (int n = 1; n <= Questions; ++n) {
        const QString mark = marks.value(n - 1);
        lines << (isMarked(mark) ? evaluationLine(n, mark) : QString());
    }
    return lines;
}

QString ExamRecordTexts::verdict(Verdict verdict) const
{
    for (const VerdictCaption &caption : VerdictCaptions) {
        if (caption.verdict == verdict)
            return m_language.message(caption.russian, caption.english);
    }
    return QString();
}

QString ExamRecordTexts::discardNote() const
{
    return m_language.text(RussianDiscardNote, EnglishDiscardNote);
}

std::optional<QString> ExamRecordTexts::dataLine(const QString &data1, const QString &data2, const QString &data3)
{
    // Any of the three data lines is worth keeping, not only the first.
    if (data1.isEmpty() && data2.isEmpty() && data3.isEmpty())
        return std::nullopt;
    return DataCaption + data1 + u' ' + data2 + u' ' + data3;
}

QString ExamRecordTexts::closingLine()
{
    return u"=================="_s;
}

bool ExamRecordTexts::isMarked(const QString &mark)
{
    const auto value = Fixed::parse(mark);
    return value && !value->isZero();
}

QString ExamRecordTexts::verdictCaption(Verdict verdict, LanguagePolicy::Captions captions)
{
    for (const VerdictCaption &caption : VerdictCaptions) {
        if (caption.verdict == verdict)
            return captions == LanguagePolicy::Captions::English ? caption.english : caption.russian;
    }
    return QString();
}

std::optional<ExamRecordTexts::DateLine> ExamRecordTexts::readDateLine(QStringView line)
{
    DateLine read;
    if (begins(line, RussianDate)) {
        read.language = u"rus"_s;
        const qsizetype time = line.indexOf(RussianTime);
        read.date = line.mid(RussianDate.size(), time < 0 ? -1 : time - RussianDate.size());
        if (time >= 0)
            read.time = line.mid(time + RussianTime.size());
    } else if (begins(line, EnglishDate)) {
        read.language = u"eng"_s;
        // The English time follows the date without a blank: the last "Time: " begins it.
        const qsizetype time = line.lastIndexOf(EnglishTime);
        read.date = line.mid(EnglishDate.size(), time < 0 ? -1 : time - EnglishDate.size());
        if (time >= 0)
            read.time = line.mid(time + EnglishTime.size());
    } else {
        return std::nullopt;
    }
    return read;
}

bool ExamRecordTexts::isDateLine(QStringView line)
{
    return begins(line, RussianDate) || begins(line, EnglishDate);
}

bool ExamRecordTexts::isStudentLine(QStringView line)
{
    return begins(line, StudentCaptions[0]) || begins(line, StudentCaptions[1]);
}

QStringView ExamRecordTexts::studentOf(QStringView line)
{
    for (const QString &caption : StudentCaptions) {
        if (begins(line, caption))
            return line.mid(caption.size()).trimmed();
    }
    return line.trimmed();
}

bool ExamRecordTexts::isTicketLine(QStringView line)
{
    return line.isEmpty() || hasTicketCaption(line);
}

bool ExamRecordTexts::hasTicketCaption(QStringView line)
{
    return begins(line, TicketCaptions[0]) || begins(line, TicketCaptions[1]);
}

QStringView ExamRecordTexts::ticketOf(QStringView line)
{
    for (const QString &caption : TicketCaptions) {
        if (begins(line, caption))
            return line.mid(caption.size()).trimmed();
    }
    return line;
}

std::optional<ExamRecordTexts::Mark> ExamRecordTexts::readEvaluationLine(int question, QStringView item)
{
    if (question < 1 || question > Questions)
        return std::nullopt;
    const QString &russian = RussianLines[question - 1];
    if (begins(item, russian))
        return Mark{u"rus"_s, item.mid(russian.size())};
    const QString &english = EnglishLines[question - 1];
    if (begins(item, english))
        return Mark{u"eng"_s, item.mid(english.size())};
    return std::nullopt;
}

std::optional<ExamRecordTexts::EncodedMark> ExamRecordTexts::readEvaluationItem(int question, QByteArrayView item)
{
    // The evaluation lines in the report's encoding, made once from the same texts.
    struct Encoded
    {
        std::array<QByteArray, Questions> russian;
        std::array<QByteArray, Questions> english;
    };
    static const Encoded encoded = [] {
        Encoded lines;
        for (int n = 0; n < Questions; ++n) {
            lines.russian[n] = AnsiText::encode(RussianLines[n]);
            lines.english[n] = AnsiText::encode(EnglishLines[n]);
        }
        return lines;
    }();
    if (question < 1 || question > Questions)
        return std::nullopt;
    // The first bytes tell the languages apart, so most captions that differ end there.
    const auto beginsWith = [&item](const QByteArray &caption) {
        return item.size() >= caption.size() && item.front() == caption.front()
               && std::memcmp(item.data(), caption.constData(), size_t(caption.size())) == 0;
    };
    const QByteArray &russian = encoded.russian[question - 1];
    if (beginsWith(russian))
        return EncodedMark{u"rus"_s, item.sliced(russian.size())};
    const QByteArray &english = encoded.english[question - 1];
    if (beginsWith(english))
        return EncodedMark{u"eng"_s, item.sliced(english.size())};
    return std::nullopt;
}

std::optional<Verdict> ExamRecordTexts::readVerdict(QStringView line)
{
    if (line.isEmpty())
        return Verdict::None;
    for (const VerdictCaption &caption : VerdictCaptions) {
        if (line == caption.russian || line == caption.english)
            return caption.verdict;
    }
    return std::nullopt;
}

std::optional<QStringView> ExamRecordTexts::readDataLine(QStringView line)
{
    if (!begins(line, DataCaption))
        return std::nullopt;
    return line.mid(DataCaption.size()).trimmed();
}

bool ExamRecordTexts::isDiscardNote(QStringView line)
{
    return line == RussianDiscardNote || line == EnglishDiscardNote;
}
