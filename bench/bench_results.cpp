// Reads an exam report of 100 MB (about 300 000 records in both languages, as the evaluation
// window writes them) the way the results window does, and times each step: reading and
// parsing, the statistics, filtering by a name part, and the CSV of every record. An attempts
// journal of the same size is read too. Each reading and the CSV are also given as a ratio to
// the floor measured in the same run: reading and decoding the same bytes, writing the same
// bytes. The goal is a ratio of 3 at most. A table of a million rows is filtered and sorted,
// the goal being 100 ms for each.
// Usage: bench_results [megabytes]

#include "core/files/ansi_text.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"
#include "core/reports/results_export.h"
#include "core/reports/results_models.h"
#include "core/reports/results_statistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QByteArray record(int i)
{
    const bool english = i % 3 == 0;
    ExamRecord record;
    record.language = english ? u"eng"_s : u"rus"_s;
    record.date = english ? u"12/%1/2026"_s.arg(1 + i % 28) : u"%1.12.2026"_s.arg(1 + i % 28, 2, 10, QChar(u'0'));
    record.time = u"10:30:15"_s;
    record.student = (english ? u"Surname a Name, additional data  Student "_s : u"Ф.И.О ,  Данные  Студент "_s)
                     + QString::number(i);
    record.ticket = (english ? u"Ticket № b"_s : u"Билет № b"_s) + QString::number(1 + i % 30);
    for (int n = 1; n <= ExamReport::Questions; ++n)
        record.marks << (n <= 10 ? ((i + n) % 4 ? u"5"_s : u"2"_s) : u"0"_s);
    record.verdict = i % 2 ? Verdict::Passed : Verdict::Failed;
    record.data1 = u"10А"_s;
    return AnsiText::encode(ExamReport::recordText(record));
}

Attempt attempt(int i)
{
    Attempt attempt;
    attempt.examFolder = u"/school/b/Физика"_s;
    attempt.examTitle = u"Физика"_s;
    attempt.ticket = QString::number(1 + i % 30);
    attempt.ticketFolder = u"b"_s + attempt.ticket;
    attempt.ticketLine = u"Билет № "_s + attempt.ticketFolder;
    attempt.language = u"rus"_s;
    for (int n = 1; n <= 10; ++n) {
        const bool right = (i + n) % 4 != 0;
        attempt.questions << Attempt::Question{n, u"Вопрос %1 о законах Ньютона и движении тел"_s.arg(n),
                                               {u"Да"_s, u"Нет"_s, u"Не знаю"_s}, right ? u"Да"_s : u"Нет"_s,
                                               u"Да"_s, right ? u"5"_s : u"2"_s, 10 + i % 50};
    }
    attempt.student = Student{u"Ф.И.О ,  Данные  Студент "_s + QString::number(i), u"10А"_s, {}, {},
                              u"Студент "_s + QString::number(i)};
    attempt.workstation = u"lab-3"_s;
    attempt.start = QDateTime(QDate(2026, 12, 1 + i % 28), QTime(10, 0), Qt::OffsetFromUTC, 3 * 3600);
    attempt.end = attempt.start.addSecs(300);
    attempt.ending = Attempt::Ending::Graded;
    attempt.grade = u"4.4"_s;
    attempt.verdict = Verdict::Passed;
    attempt.passScore = u"4"_s;
    attempt.questionCount = u"10"_s;
    attempt.savedToReport = true;
    attempt.reportDate = u"01.12.2026"_s;
    attempt.reportTime = u"10:05:00"_s;
    return attempt;
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// The fastest of five timings of the floor and of the step, taken in turns. On a shared or
// virtual machine a timing is mostly slowed by what the machine does besides (memory handed
// back and taken again, other work); the fastest of each shows the cost of the work itself,
// and both sides of a ratio are measured alike.
template<typename Floor, typename Step>
std::pair<double, double> fastestInTurn(const Floor &floor, const Step &step)
{
    double fastestFloor = std::numeric_limits<double>::max();
    double fastestStep = std::numeric_limits<double>::max();
    QElapsedTimer timer;
    // A first round untimed, so that every timed one works in memory the process has used.
    floor();
    step();
    for (int i = 0; i < 5; ++i) {
        timer.start();
        floor();
        fastestFloor = std::min(fastestFloor, seconds(timer));
        timer.start();
        step();
        fastestStep = std::min(fastestStep, seconds(timer));
    }
    return {fastestFloor, fastestStep};
}

void ratio(const char *step, double measured, double floor)
{
    std::printf("%-34s %8.2f x the floor (%.3f s against %.3f s; goal: 3 at most)\n", step, measured / floor, measured,
                floor);
}

void report(const char *step, const QElapsedTimer &timer, qint64 bytes = 0)
{
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (bytes > 0)
        std::printf("%-34s %8.3f s  %7.1f MB/s\n", step, seconds, bytes / 1e6 / seconds);
    else
        std::printf("%-34s %8.3f s\n", step, seconds);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
#ifdef __GLIBC__
    // Memory the process frees stays with it: the figures then show the work of each step,
    // not how quickly the kernel of this (virtual) machine hands out fresh pages, which moves
    // from run to run by a factor of several.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
#endif
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    QTemporaryDir folder;
    QFile file(folder.filePath(u"oth.txt"_s));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QByteArray block;
    for (int i = 0; i < 1000; ++i)
        block += record(i);
    qint64 written = 0;
    while (written < megabytes * 1000 * 1000)
        written += file.write(block);
    file.close();

    QElapsedTimer timer;
    timer.start();
    const QByteArray bytes = AnsiText::readBytes(file.fileName()).value_or(QByteArray());
    report("read the file", timer, bytes.size());

    timer.restart();
    qint64 calls = 0;
    const auto contents = ReportReader::readExamReport(bytes, [&](qint64, qint64) {
        ++calls;
        return true;
    });
    report("parse into records", timer, bytes.size());
    if (!contents || !contents->problems.isEmpty())
        return 2;
    std::printf("%lld records, %lld progress calls\n", qlonglong(contents->tickets.size()), qlonglong(calls));

    timer.restart();
    const ResultsStatistics statistics = ResultsStatistics::of(contents->tickets);
    report("statistics", timer);

    TicketResultsModel model;
    model.setResults(contents->tickets);
    ResultsFilterModel filtered;
    filtered.setSourceModel(&model);
    timer.restart();
    ResultsFilter filter;
    filter.namePart = u"99"_s;
    filtered.setFilter(filter);
    report("filter by a name part", timer);
    std::printf("%d records shown\n", filtered.rowCount());

    timer.restart();
    filtered.sort(TicketResultsModel::Date);
    report("sort the shown records by date", timer);

    // Every record as the results window exports its table: the rows the table shows.
    ResultsFilterModel everyRecord;
    everyRecord.setSourceModel(&model);
    timer.restart();
    const QByteArray csv = ResultsExport::csv(everyRecord);
    report("CSV of every record", timer, csv.size());
    const QString csvPath = folder.filePath(u"results.csv"_s);
    bool csvWhole = true;
    const auto [writeFloor, csvWritten] = fastestInTurn(
        [&] { csvWhole = AnsiText::writeBytes(csvPath, csv) && csvWhole; },
        [&] { csvWhole = ResultsExport::writeCsv(csvPath, everyRecord) && csvWhole; });
    if (!csvWhole)
        return 4;
    std::printf("%-34s %8.3f s  %7.1f MB/s (fastest of five)\n", "floor: write the same bytes", writeFloor,
                csv.size() / 1e6 / writeFloor);
    std::printf("%-34s %8.3f s  %7.1f MB/s (fastest of five)\n", "CSV written to its file", csvWritten,
                csv.size() / 1e6 / csvWritten);

    // The floor of the reading: the bytes read and decoded from Windows-1251, nothing more.
    // Each reading and its floor are timed in turns, five times, and their fastest compared:
    // a single pair moves with whatever else the machine does.
    QString decoded;
    std::optional<ExamReportContents> again;
    const auto [readFloor, reportRead] = fastestInTurn(
        [&] {
            decoded.clear();
            decoded = AnsiText::decode(*AnsiText::readBytes(file.fileName()));
        },
        [&] {
            again.reset();
            again = ReportReader::readExamReport(*AnsiText::readBytes(file.fileName()));
        });
    std::printf("%-34s %8.3f s  %7.1f MB/s (fastest of five)\n", "floor: read and decode the report", readFloor,
                bytes.size() / 1e6 / readFloor);

    // The attempts journal of the same size.
    const QString journalPath = folder.filePath(u"attempts.jsonl"_s);
    QFile journal(journalPath);
    if (!journal.open(QIODevice::WriteOnly))
        return 1;
    QByteArray lines;
    for (int i = 0; i < 1000; ++i)
        lines += AttemptsJournal::encode(attempt(i)) + '\n';
    qint64 journalBytes = 0;
    while (journalBytes < megabytes * 1000 * 1000)
        journalBytes += journal.write(lines);
    journal.close();
    QString journalDecoded;
    std::optional<AttemptsJournal::Reading> reading;
    const auto [journalFloor, journalRead] = fastestInTurn(
        [&] {
            journalDecoded.clear();
            journalDecoded = QString::fromUtf8(*AnsiText::readBytes(journalPath));
        },
        [&] {
            reading.reset();
            reading = AttemptsJournal::readFile(journalPath);
        });
    std::printf("%-34s %8.3f s  %7.1f MB/s (fastest of five)\n", "floor: read and decode the journal",
                journalFloor, journalBytes / 1e6 / journalFloor);
    std::printf("%-34s %8.3f s  %7.1f MB/s (fastest of five)\n", "read the attempts journal", journalRead,
                journalBytes / 1e6 / journalRead);
    if (!reading || !reading->damaged.isEmpty())
        return 5;
    std::printf("%lld attempts\n", qlonglong(reading->attempts.size()));

    // A million rows in the table: the report's records repeated, filtered by a name part and
    // sorted by a value column and a text column, the filter shown again after the sort.
    QList<TicketResult> million;
    million.reserve(1000000);
    while (million.size() < 1000000)
        million << contents->tickets.at(million.size() % contents->tickets.size());
    TicketResultsModel manyRows;
    manyRows.setResults(std::move(million));
    // Three rounds, each on a table view of its own (a column's first sort reads the column,
    // later ones walk the order it kept), and the median of each step.
    std::array<std::array<double, 5>, 3> rounds{};
    int shownAll = 0;
    int shownFiltered = 0;
    for (auto &round : rounds) {
        ResultsFilterModel shownRows;
        timer.restart();
        shownRows.setSourceModel(&manyRows);
        shownAll = shownRows.rowCount();
        round[0] = seconds(timer);
        timer.restart();
        shownRows.sort(TicketResultsModel::Date, Qt::DescendingOrder);
        round[1] = seconds(timer);
        timer.restart();
        shownRows.sort(TicketResultsModel::Student);
        round[2] = seconds(timer);
        timer.restart();
        shownRows.sort(TicketResultsModel::Student, Qt::DescendingOrder);
        round[3] = seconds(timer);
        timer.restart();
        shownRows.setFilter(filter);
        shownFiltered = shownRows.rowCount();
        round[4] = seconds(timer);
    }
    const auto median = [&rounds](size_t step) {
        std::array<double, 3> times{rounds[0][step], rounds[1][step], rounds[2][step]};
        std::sort(times.begin(), times.end());
        return times[1];
    };
    const double showAll = median(0);
    const double sortByDate = median(1);
    const double sortByStudent = median(2);
    const double sortAgain = median(3);
    const double filterMillion = median(4);
    std::printf("%d of a million rows shown unfiltered, %d by the name part\n", shownAll, shownFiltered);

    ratio("report read into the table", reportRead, readFloor);
    ratio("attempts journal read", journalRead, journalFloor);
    ratio("CSV export", csvWritten, writeFloor);
    const auto goal = [](const char *step, double measured) {
        std::printf("%-34s %8.3f s (median of three; goal: 0.100 s at most)\n", step, measured);
    };
    goal("1M rows: show them all", showAll);
    goal("1M rows: sort by date", sortByDate);
    goal("1M rows: sort by student", sortByStudent);
    goal("1M rows: sort by student again", sortAgain);
    goal("1M rows: filter by a name part", filterMillion);
    const bool whole = again && !decoded.isEmpty() && !journalDecoded.isEmpty();
    return whole && statistics.attempts == contents->tickets.size() ? 0 : 3;
}
