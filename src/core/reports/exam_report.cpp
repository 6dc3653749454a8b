#include "core/reports/exam_report.h"

#include "core/files/ansi_text.h"
#include "core/files/fixed_point.h"
#include "core/files/folders.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"

#include <array>

using namespace Qt::StringLiterals;

namespace ExamReport {

namespace {

const QString RussianDiscardNote = u"Незаконченный билет отменен без оценки"_s;
const QString EnglishDiscardNote = u"The unfinished ticket was discarded without a grade"_s;

// The report's own line end: a CR before the usual CR LF.
constexpr char LineEnd[] = "\r\r\n";

const std::array<QString, Questions> RussianLines = {
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

} // namespace

bool isMarked(const QString &mark)
{
    const auto value = Fixed::parse(mark);
    return value && !value->isZero();
}

QString evaluationLine(int question, const QString &language, const QString &mark)
{
    if (question < 1 || question > Questions)
        return QString();
    const QString english = QString::number(question) + u" question, evaluation  "_s;
    const QString line = LanguagePolicy(language).message(RussianLines[question - 1], english);
    return line.isEmpty() ? line : line + mark;
}

QString dateText(QDate date, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString timeText(QTime time, const QLocale &locale)
{
    // The short form of most locales stops at the minutes; the report wants the seconds.
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u's')) {
        const qsizetype minutes = format.lastIndexOf(u'm');
        if (minutes >= 0)
            format.insert(minutes + 1, u":ss"_s);
        else
            format = u"HH:mm:ss"_s;
    }
    return locale.toString(time, format);
}

namespace {

// The date line, when the language has one.
QStringList dateLine(const ExamRecord &record)
{
    if (LanguagePolicy(record.language).isRussian())
        return {u"Дата: "_s + record.date + u" Время: "_s + record.time};
    if (LanguagePolicy(record.language).isEnglish())
        return {u"Date: "_s + record.date + u"Time: "_s + record.time};
    return {};
}

// The lines with the report's line ends, closed by a line of 18 equals signs and an empty
// separator line.
QString blockText(QStringList lines)
{
    lines << u"=================="_s;
    QString text;
    for (const QString &line : std::as_const(lines))
        text += line + QLatin1StringView(LineEnd);
    return text + u"\r\n\r\n"_s;
}

bool appendText(const QString &programFolder, const QString &text, FileError *error)
{
    MakeDirPath(ProgramPaths(programFolder).reportsFolder());
    return AnsiText::append(ProgramPaths(programFolder).examReport(), text, error);
}

} // namespace

QString recordText(const ExamRecord &record)
{
    QStringList lines = dateLine(record);
    lines << record.student << record.ticket;

    QStringList marks = record.lines.mid(0, Questions);
    while (marks.size() < Questions)
        marks << QString();
    lines << marks.join(u"; "_s);

    lines << record.verdict;
    // Any of the three data lines is worth keeping, not only the first.
    if (!record.data1.isEmpty() || !record.data2.isEmpty() || !record.data3.isEmpty())
        lines << u"Дополнительные сведения: "_s + record.data1 + u' ' + record.data2 + u' '
                     + record.data3;
    return blockText(lines);
}

QString discardNoteText(const ExamRecord &record)
{
    QStringList lines = dateLine(record);
    lines << record.student << record.ticket;
    lines << (LanguagePolicy(record.language).isEnglish() ? EnglishDiscardNote : RussianDiscardNote);
    return blockText(lines);
}

bool isDiscardNote(QStringView line)
{
    return line == RussianDiscardNote || line == EnglishDiscardNote;
}

bool append(const QString &programFolder, const ExamRecord &record, FileError *error)
{
    return appendText(programFolder, recordText(record), error);
}

bool appendDiscardNote(const QString &programFolder, const ExamRecord &record, FileError *error)
{
    return appendText(programFolder, discardNoteText(record), error);
}

} // namespace ExamReport
