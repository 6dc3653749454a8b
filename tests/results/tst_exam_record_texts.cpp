#include "core/files/ansi_text.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ExamRecordTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void verdictCaptions_data();
    void verdictCaptions();
    void writtenVerdictReadsBack_data();
    void writtenVerdictReadsBack();
    void verdictLinesOfOtherWriters_data();
    void verdictLinesOfOtherWriters();
};

void ExamRecordTextsTest::verdictCaptions_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<Verdict>("verdict");
    // As the ticket window, the evaluation window and the report show it, and as the
    // results show it.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("results");

    QTest::newRow("rus passed") << u"rus"_s << Verdict::Passed << u"Зачет"_s << u"Зачет"_s;
    QTest::newRow("rus failed") << u"rus"_s << Verdict::Failed << u"Не зачет"_s << u"Не зачет"_s;
    QTest::newRow("rus on time") << u"rus"_s << Verdict::FailedOnTime << u"Не зачет по времени"_s
                                 << u"Не зачет по времени"_s;
    QTest::newRow("eng passed") << u"eng"_s << Verdict::Passed << u"Delivered"_s << u"Delivered"_s;
    QTest::newRow("eng failed") << u"eng"_s << Verdict::Failed << u"Not deliver"_s << u"Not deliver"_s;
    QTest::newRow("eng on time") << u"eng"_s << Verdict::FailedOnTime << u"Not deliver on time"_s
                                 << u"Not deliver on time"_s;
    QTest::newRow("rus none") << u"rus"_s << Verdict::None << QString() << QString();
    // Another language shows and writes no verdict; the results keep the designed Russian.
    QTest::newRow("other passed") << u"deu"_s << Verdict::Passed << QString() << u"Зачет"_s;
}

void ExamRecordTextsTest::verdictCaptions()
{
    QFETCH(QString, language);
    QFETCH(Verdict, verdict);
    QFETCH(QString, shown);
    QFETCH(QString, results);
    QCOMPARE(ExamRecordTexts(language).verdict(verdict), shown);
    QCOMPARE(ExamRecordTexts::verdictCaption(verdict, LanguagePolicy(language).captions()), results);
}

void ExamRecordTextsTest::writtenVerdictReadsBack_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<Verdict>("verdict");
    for (const QString &language : {u"rus"_s, u"eng"_s}) {
        for (const Verdict verdict : {Verdict::None, Verdict::Passed, Verdict::Failed, Verdict::FailedOnTime})
            QTest::addRow("%s %d", qPrintable(language), int(verdict)) << language << verdict;
    }
}

void ExamRecordTextsTest::writtenVerdictReadsBack()
{
    QFETCH(QString, language);
    QFETCH(Verdict, verdict);

    ExamRecord record;
    record.language = language;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    record.student = u"Ф.И.О ,  Данные  Иванов"_s;
    record.ticket = ExamRecordTexts(language).ticketLine(u"b3"_s);
    record.marks = QStringList{u"5"_s, u"0"_s, u"2"_s};
    record.verdict = verdict;
    record.data2 = u"группа 7"_s;
    const QByteArray bytes = AnsiText::encode(ExamReport::recordText(record));

    const std::optional<ExamReportContents> read = ReportReader::readExamReport(bytes);
    QVERIFY(read);
    QCOMPARE(read->problems.size(), 0);
    QCOMPARE(read->tickets.size(), 1);
    const TicketResult &ticket = read->tickets[0];
    QCOMPARE(ticket.language, language);
    QCOMPARE(ticket.dateText, record.date);
    QCOMPARE(ticket.timeText, record.time);
    QCOMPARE(ticket.student, u"Иванов"_s);
    QCOMPARE(ticket.ticket, u"b3"_s);
    QCOMPARE(ticket.marks[0], TicketResult::Right);
    QCOMPARE(ticket.marks[1], TicketResult::NoMark);
    QCOMPARE(ticket.marks[2], TicketResult::Wrong);
    QCOMPARE(ticket.verdict, ExamRecordTexts(language).verdict(verdict));
    QCOMPARE(ExamRecordTexts::readVerdict(ticket.verdict), std::optional<Verdict>(verdict));
    QCOMPARE(ticket.data, u"группа 7"_s);
}

void ExamRecordTextsTest::verdictLinesOfOtherWriters_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::newRow("empty") << QString() << int(RecordedVerdict::None);
    QTest::newRow("Russian in an English record") << u"Не зачет по времени"_s << int(RecordedVerdict::FailedOnTime);
    QTest::newRow("another spelling") << u"Зачёт"_s << int(RecordedVerdict::Other);
    QTest::newRow("another case") << u"delivered"_s << int(RecordedVerdict::Other);
    QTest::newRow("trailing blank") << u"Not deliver "_s << int(RecordedVerdict::Other);
}

void ExamRecordTextsTest::verdictLinesOfOtherWriters()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    const QString record = u"Date: 12/8/26Time: 10:30:15 AM\r\r\n"
                           "Surname a Name, additional data  Smith\r\r\n"
                           "Ticket № b1\r\r\n"
                           "1 question, evaluation  5; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; ; \r\r\n"_s
                           + line + u"\r\r\n==================\r\r\n\r\n\r\n"_s;
    const std::optional<ExamReportContents> read = ReportReader::readExamReport(AnsiText::encode(record));
    QVERIFY(read);
    QCOMPARE(read->tickets.size(), 1);
    QCOMPARE(read->tickets[0].verdict, line);
    QCOMPARE(int(read->tickets[0].verdictKind), kind);
}

QTEST_MAIN(ExamRecordTextsTest)
#include "tst_exam_record_texts.moc"
