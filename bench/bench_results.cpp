// Reads an exam report of 100 MB (about 300 000 records in both languages, as the evaluation
// window writes them) the way the results window does, and times each step: reading and
// parsing, the statistics, filtering by a name part, and the CSV of every record.
// Usage: bench_results [megabytes]

#include "core/files/ansi_text.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"
#include "core/reports/results_export.h"
#include "core/reports/results_models.h"
#include "core/reports/results_statistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

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

    timer.restart();
    const QByteArray csv = ResultsExport::csv({ResultsTable::of(model)});
    report("CSV of every record", timer, csv.size());
    return statistics.attempts == contents->tickets.size() ? 0 : 3;
}
