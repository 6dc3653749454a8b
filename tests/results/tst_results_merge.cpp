#include "core/files/ansi_text.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"
#include "core/reports/results_filter.h"
#include "core/reports/results_merge.h"
#include "core/program/program_paths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A ticket of an exam, its sheet closed at that time; its record went to the report or not.
Attempt attempt(const QString &exam, const QString &student, int ticket, const QString &time, bool saved = true)
{
    Attempt attempt;
    attempt.examTitle = exam;
    attempt.language = u"rus"_s;
    attempt.ticket = QString::number(ticket);
    attempt.ticketFolder = u"b"_s + attempt.ticket;
    attempt.ticketLine = u"Билет № "_s + attempt.ticketFolder;
    attempt.student.line = u"Ф.И.О ,  Данные  "_s + student;
    attempt.student.data2 = u"7 Б"_s;
    attempt.questions << Attempt::Question{1, u"Вопрос 1"_s, {u"Да"_s, u"Нет"_s}, u"Да"_s, u"Да"_s, u"5"_s, 12};
    attempt.questions << Attempt::Question{2, u"Вопрос 2"_s, {u"Да"_s, u"Нет"_s}, u"Нет"_s, u"Да"_s, u"2"_s, 8};
    attempt.ending = Attempt::Ending::Graded;
    attempt.grade = u"3.5"_s;
    attempt.verdict = Verdict::Failed;
    attempt.end = QDateTime(QDate(2026, 12, 8), QTime::fromString(time, u"HH:mm:ss"_s));
    attempt.savedToReport = saved;
    if (saved) {
        attempt.reportDate = u"08.12.2026"_s;
        attempt.reportTime = time;
    }
    return attempt;
}

// The record the evaluation window writes for the attempt.
ExamRecord recordOf(const Attempt &attempt)
{
    ExamRecord record;
    record.language = attempt.language;
    record.date = u"08.12.2026"_s;
    record.time = attempt.reportTime.isEmpty() ? attempt.end.time().toString(u"HH:mm:ss"_s) : attempt.reportTime;
    record.student = attempt.student.line;
    record.ticket = attempt.ticketLine;
    record.marks = QStringList{u"5"_s, u"2"_s} + QStringList(18, u"0"_s);
    record.verdict = attempt.verdict;
    record.data2 = attempt.student.data2;
    return record;
}

} // namespace

class ResultsMergeTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void nothingTwiceNothingLost_data();
    void nothingTwiceNothingLost();
    void anAttemptReadsAsItsRecord();
    void readsTheFolder();
};

void ResultsMergeTest::nothingTwiceNothingLost_data()
{
    // Each step: "r" a record in the report only, "a" an attempt with its record, "j" an
    // attempt whose record is not in the report, "u" an attempt left out of the report.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("exams");

    QTest::newRow("report alone") << u"rr"_s << QStringList{QString(), QString()};
    QTest::newRow("journal alone") << u"aa"_s << QStringList{u"Физика"_s, u"Физика"_s};
    QTest::newRow("older records then attempts") << u"rra"_s << QStringList{QString(), QString(), u"Физика"_s};
    QTest::newRow("record gone from the report") << u"rj"_s << QStringList{QString(), u"Физика"_s};
    QTest::newRow("left out of the report") << u"aua"_s << QStringList{u"Физика"_s, u"Физика"_s};
}

void ResultsMergeTest::nothingTwiceNothingLost()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, exams);

    QList<TicketResult> report;
    QList<Attempt> attempts;
    int n = 0;
    for (const QChar step : steps) {
        const QString time = QTime(10, 0, 0).addSecs(60 * ++n).toString(u"HH:mm:ss"_s);
        const Attempt one = attempt(u"Физика"_s, u"Ученик "_s + QString::number(n), 1, time, step != u'u');
        if (step != u'j' && step != u'u') {
            TicketResult record = ResultsMerge::resultOf(one);
            record.exam.clear();
            record.line = n;
            report << record;
        }
        if (step != u'r')
            attempts << one;
    }
    const QList<TicketResult> merged = ResultsMerge::merge(report, attempts);
    QStringList mergedExams;
    for (const TicketResult &result : merged)
        mergedExams << result.exam;
    QCOMPARE(mergedExams, exams);
    // A record an attempt covers keeps its line in the report.
    for (const TicketResult &result : merged) {
        if (result.attempt >= 0 && result.line == 0)
            QVERIFY(steps.contains(u'j'));
    }
}

void ResultsMergeTest::anAttemptReadsAsItsRecord()
{
    // The same student twice in the same second, and another exam's ticket: each record is
    // covered by one attempt, so neither is counted twice.
    const QList<Attempt> attempts{attempt(u"Физика"_s, u"Иванов"_s, 3, u"10:30:15"_s),
                                  attempt(u"Физика"_s, u"Иванов"_s, 3, u"10:30:15"_s),
                                  attempt(u"История"_s, u"Петров"_s, 1, u"10:40:00"_s)};
    QByteArray bytes;
    for (const Attempt &one : attempts)
        bytes += AnsiText::encode(ExamReport::recordText(recordOf(one)));
    const std::optional<ExamReportContents> report = ReportReader::readExamReport(bytes);
    QVERIFY(report);
    QCOMPARE(report->tickets.size(), 3);

    // The row made of an attempt is the row its record reads as.
    for (int i = 0; i < 3; ++i) {
        TicketResult fromAttempt = ResultsMerge::resultOf(attempts[i]);
        const TicketResult &fromRecord = report->tickets[i];
        QCOMPARE(fromAttempt.student, fromRecord.student);
        QCOMPARE(fromAttempt.ticket, fromRecord.ticket);
        QCOMPARE(fromAttempt.ticketNumber, fromRecord.ticketNumber);
        QCOMPARE(fromAttempt.date, fromRecord.date);
        QCOMPARE(fromAttempt.time, fromRecord.time);
        QCOMPARE(fromAttempt.marks, fromRecord.marks);
        QCOMPARE(fromAttempt.verdict, fromRecord.verdict);
        QCOMPARE(fromAttempt.verdictKind, fromRecord.verdictKind);
        QCOMPARE(fromAttempt.data, fromRecord.data);
    }

    const QList<TicketResult> merged = ResultsMerge::merge(report->tickets, attempts);
    QCOMPARE(merged.size(), 3);
    QCOMPARE(merged[0].attempt, 0);
    QCOMPARE(merged[1].attempt, 1);
    QCOMPARE(merged[2].exam, u"История"_s);
    QCOMPARE(merged[2].line, report->tickets[2].line);
    // Its questions are the attempt's, not the highest marked in any record of a "b1".
    QCOMPARE(merged[0].questionCount, 2);
    QCOMPARE(ResultsMerge::exams(merged), (QStringList{u"История"_s, u"Физика"_s}));

    ResultsFilter filter;
    filter.exam = u"Физика"_s;
    QCOMPARE(std::count_if(merged.begin(), merged.end(), [&](const TicketResult &r) { return filter.accepts(r); }), 2);
    filter.exam = QString();
    QCOMPARE(std::count_if(merged.begin(), merged.end(), [&](const TicketResult &r) { return filter.accepts(r); }), 0);
}

void ResultsMergeTest::readsTheFolder()
{
    QTemporaryDir dir;
    const ProgramPaths paths(dir.path());
    const Attempt covered = attempt(u"Физика"_s, u"Иванов"_s, 3, u"10:30:15"_s);
    QVERIFY(ExamReport::append(dir.path(), recordOf(attempt(u"Физика"_s, u"Сидоров"_s, 2, u"09:00:00"_s))));
    QVERIFY(ExamReport::append(dir.path(), recordOf(covered)));
    QVERIFY(AttemptsJournal::append(paths.attemptsJournal(), covered));
    QVERIFY(AnsiText::appendBytes(paths.attemptsJournal(), "{\"version\":1,", nullptr, "\n"));
    QVERIFY(AttemptsJournal::append(paths.attemptsJournal(), attempt(u"История"_s, u"Петров"_s, 1, u"11:00:00"_s)));

    const std::optional<ReportReader::Reports> reports = ReportReader::readReports(dir.path());
    QVERIFY(reports);
    QCOMPARE(reports->exams.tickets.size(), 3);
    QCOMPARE(reports->exams.tickets[0].exam, QString());
    QCOMPARE(reports->exams.tickets[1].exam, u"Физика"_s);
    QCOMPARE(reports->exams.tickets[2].exam, u"История"_s);
    QCOMPARE(reports->attempts.size(), 2);
    QCOMPARE(reports->attemptProblems.size(), 1);
    QCOMPARE(reports->attemptProblems[0].kind, ReportProblem::DamagedAttempt);
    QCOMPARE(reports->attemptProblems[0].firstLine, 2);
}

QTEST_GUILESS_MAIN(ResultsMergeTest)
#include "tst_results_merge.moc"
