#include "core/reports/exam_report.h"

#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/program/program_paths.h"
#include "core/reports/exam_record_texts.h"

using namespace Qt::StringLiterals;

namespace ExamReport {

namespace {

// The report's own line end: a CR before the usual CR LF.
constexpr char LineEnd[] = "\r\r\n";
// The last bytes of every record: the empty lines after its closing line.
constexpr char RecordEnd[] = "\r\n\r\n";

// The date line when the language has one, the student line and the ticket line.
QStringList headLines(const ExamRecord &record, const ExamRecordTexts &texts)
{
    QStringList lines;
    if (const std::optional<QString> date = texts.dateLine(record.date, record.time))
        lines << *date;
    lines << record.student << record.ticket;
    return lines;
}

// The lines with the report's line ends, closed by a line of 18 equals signs and an empty
// separator line.
QString blockText(QStringList lines)
{
    lines << ExamRecordTexts::closingLine();
    QString text;
    for (const QString &line : std::as_const(lines))
        text += line + QLatin1StringView(LineEnd);
    return text + QLatin1StringView(RecordEnd);
}

bool appendText(const QString &programFolder, const QString &text, FileError *error)
{
    MakeDirPath(ProgramPaths(programFolder).reportsFolder());
    return AnsiText::append(ProgramPaths(programFolder).examReport(), text, error, RecordEnd);
}

} // namespace

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

QString recordText(const ExamRecord &record)
{
    const ExamRecordTexts texts(record.language);
    QStringList lines = headLines(record, texts);
    lines << texts.evaluationLines(record.marks).join(u"; "_s);
    lines << texts.verdict(record.verdict);
    if (const std::optional<QString> data = ExamRecordTexts::dataLine(record.data1, record.data2, record.data3))
        lines << *data;
    return blockText(lines);
}

QString discardNoteText(const ExamRecord &record)
{
    const ExamRecordTexts texts(record.language);
    QStringList lines = headLines(record, texts);
    lines << texts.discardNote();
    return blockText(lines);
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
