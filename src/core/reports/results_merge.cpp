#include "core/reports/results_merge.h"

#include "core/reports/exam_record_texts.h"
#include "core/reports/report_reader.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace ResultsMerge {

namespace {

// What tells a record of the report apart: the student, the ticket, the date and the time.
QString keyOf(const TicketResult &result)
{
    return result.student + u'\x1f' + result.ticket + u'\x1f' + result.dateText + u'\x1f' + result.timeText;
}

RecordedVerdict recorded(Verdict verdict)
{
    switch (verdict) {
    case Verdict::None: return RecordedVerdict::None;
    case Verdict::Passed: return RecordedVerdict::Passed;
    case Verdict::Failed: return RecordedVerdict::Failed;
    case Verdict::FailedOnTime: return RecordedVerdict::FailedOnTime;
    }
    return RecordedVerdict::None;
}

} // namespace

TicketResult resultOf(const Attempt &attempt)
{
    TicketResult result;
    const bool shown = attempt.language == u"rus"_s || attempt.language == u"eng"_s;
    result.language = shown ? attempt.language : QString();
    result.dateText = attempt.reportDate;
    result.timeText = attempt.reportTime;
    result.date = attempt.reportDate.isEmpty() ? attempt.end.date() : ReportReader::readDate(attempt.reportDate);
    result.time = attempt.reportTime.isEmpty() ? attempt.end.time() : ReportReader::readTime(attempt.reportTime);
    result.student = ExamRecordTexts::studentOf(attempt.student.line).toString();
    result.ticket = attempt.ticketFolder;
    if (result.ticket.size() > 1 && result.ticket.startsWith(u'b'))
        result.ticketNumber = QStringView(result.ticket).mid(1).toInt();
    for (const Attempt::Question &question : attempt.questions) {
        if (question.number < 1 || question.number > TicketResult::Questions)
            continue;
        TicketResult::Mark &mark = result.marks[question.number - 1];
        mark = question.mark == u"5"_s   ? TicketResult::Right
               : question.mark == u"2"_s ? TicketResult::Wrong
                                         : TicketResult::NoMark;
        result.questionCount = std::max(result.questionCount, question.number);
    }
    // Another language writes no verdict into the record.
    result.verdict = shown ? ExamRecordTexts(attempt.language).verdict(attempt.verdict) : QString();
    result.verdictKind = shown ? recorded(attempt.verdict) : RecordedVerdict::None;
    const Student &student = attempt.student;
    if (const std::optional<QString> data = ExamRecordTexts::dataLine(student.data1, student.data2, student.data3))
        result.data = ExamRecordTexts::readDataLine(*data).value_or(QStringView()).toString();
    result.exam = attempt.examTitle;
    return result;
}

QList<TicketResult> merge(QList<TicketResult> report, const QList<Attempt> &attempts)
{
    QHash<QString, QList<int>> uncovered;
    for (int i = 0; i < report.size(); ++i)
        uncovered[keyOf(report[i])] << i;
    QList<TicketResult> unrecorded;
    for (int i = 0; i < attempts.size(); ++i) {
        const Attempt &attempt = attempts[i];
        if (!attempt.savedToReport)
            continue;
        TicketResult result = resultOf(attempt);
        result.attempt = i;
        QList<int> &records = uncovered[keyOf(result)];
        if (records.isEmpty()) {
            unrecorded << result;
            continue;
        }
        // The record keeps its place and line in the report; the attempt adds its exam and
        // the ticket's questions as they were, which the report can only guess from the
        // highest question marked in any record of a ticket of that name.
        TicketResult &record = report[records.takeFirst()];
        record.exam = result.exam;
        record.attempt = i;
        record.questionCount = result.questionCount;
    }
    return report + unrecorded;
}

QList<ReportProblem> problemsOf(const QList<AttemptsJournal::Damaged> &damaged)
{
    QList<ReportProblem> problems;
    for (const AttemptsJournal::Damaged &line : damaged) {
        ReportProblem problem;
        problem.kind = ReportProblem::DamagedAttempt;
        problem.firstLine = int(line.line);
        problem.lastLine = int(line.line);
        problem.text = QString::fromUtf8(line.bytes.left(200));
        problems << problem;
    }
    return problems;
}

QStringList exams(const QList<TicketResult> &tickets)
{
    QStringList titles;
    for (const TicketResult &ticket : tickets) {
        if (!ticket.exam.isEmpty() && !titles.contains(ticket.exam))
            titles << ticket.exam;
    }
    std::sort(titles.begin(), titles.end(), [](const QString &a, const QString &b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    return titles;
}

} // namespace ResultsMerge
