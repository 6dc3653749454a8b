#include "config/ansi_text.h"
#include "evaluation/report.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray golden(const QString &name)
{
    QFile file(QStringLiteral(TAVRING_TEST_DATA) + u"/report/"_s + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    return file.readAll();
}

QStringList twentyLines(const QMap<int, QString> &marked)
{
    QStringList lines;
    for (int n = 1; n <= ExamReport::Questions; ++n)
        lines << marked.value(n);
    return lines;
}

ExamRecord russianRecord()
{
    ExamRecord record;
    record.language = u"rus"_s;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    record.student = u"Ф.И.О ,  Данные  Иванов Иван"_s;
    record.ticket = u"Билет № b2"_s;
    record.lines = twentyLines({{1, u"Первый вопрос, оценка  5"_s},
                                {3, u"Третий вопрос, оценка  2"_s},
                                {20, u"Дватцатый вопрос, оценка  5"_s}});
    record.verdict = u"Не зачет"_s;
    record.data2 = u"группа 3"_s;
    return record;
}

ExamRecord englishRecord()
{
    ExamRecord record;
    record.language = u"eng"_s;
    record.date = u"12/8/26"_s;
    record.time = u"10:30:15 AM"_s;
    record.student = u"Surname a Name, additional data  John Smith"_s;
    record.ticket = u"Ticket № b1"_s;
    record.lines = twentyLines({{1, u"1 question, evaluation  5"_s},
                                {2, u"2 question, evaluation  5"_s},
                                {3, u"3 question, evaluation  2"_s},
                                {4, u"4 question, evaluation  5"_s},
                                {5, u"5 question, evaluation  5"_s}});
    record.verdict = u"Delivered"_s;
    return record;
}

ExamRecord otherLanguageRecord()
{
    ExamRecord record;
    record.language = u"deu"_s;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    // A letter Windows-1251 cannot hold is written as '?'.
    record.student = u"Ф.И.О ,  Данные  Petra Ř"_s;
    record.ticket = u"Билет № b3"_s;
    record.lines = twentyLines({});
    record.data1 = u"1"_s;
    record.data2 = u"2"_s;
    record.data3 = u"3"_s;
    return record;
}

} // namespace

class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void recordBytes_data();
    void recordBytes();
    void dataLineWhenAnyFieldIsFilled_data();
    void dataLineWhenAnyFieldIsFilled();
    void evaluationLine_data();
    void evaluationLine();
    void timeHasSeconds_data();
    void timeHasSeconds();
    void twoRecordsInARow();
    void missingReportFolderIsCreated();
    void failedAppendChangesNothing_data();
    void failedAppendChangesNothing();
};

void TestEvaluation::recordBytes_data()
{
    QTest::addColumn<ExamRecord>("record");
    QTest::addColumn<QString>("goldenFile");
    QTest::newRow("russian") << russianRecord() << u"rus.txt"_s;
    QTest::newRow("english, no data lines") << englishRecord() << u"eng.txt"_s;
    QTest::newRow("another language, no verdict") << otherLanguageRecord() << u"other.txt"_s;
}

void TestEvaluation::recordBytes()
{
    QFETCH(ExamRecord, record);
    QFETCH(QString, goldenFile);
    QCOMPARE(ExamReport::recordBytes(record), golden(goldenFile));
}

void TestEvaluation::dataLineWhenAnyFieldIsFilled_data()
{
    QTest::addColumn<QString>("data1");
    QTest::addColumn<QString>("data2");
    QTest::addColumn<QString>("data3");
    QTest::addColumn<QByteArray>("dataLine");
    const QByteArray none;
    QTest::newRow("none") << QString() << QString() << QString() << none;
    QTest::newRow("first") << u"a"_s << QString() << QString()
                           << AnsiText::encode(u"Дополнительные сведения: a  "_s);
    QTest::newRow("third only") << QString() << QString() << u"c"_s
                                << AnsiText::encode(u"Дополнительные сведения:   c"_s);
}

void TestEvaluation::dataLineWhenAnyFieldIsFilled()
{
    QFETCH(QString, data1);
    QFETCH(QString, data2);
    QFETCH(QString, data3);
    QFETCH(QByteArray, dataLine);
    ExamRecord record = englishRecord();
    record.data1 = data1;
    record.data2 = data2;
    record.data3 = data3;
    const QList<QByteArray> lines = ExamReport::recordBytes(record).split('\n');
    // Date, student, ticket, marks, verdict, then the data line or the closing line.
    const QByteArray expected = (dataLine.isEmpty() ? QByteArray("==================") : dataLine)
                                + "\r\r";
    QCOMPARE(lines.value(5), expected);
}

void TestEvaluation::evaluationLine_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("line");
    QTest::newRow("first, rus") << 1 << u"rus"_s << u"5"_s << u"Первый вопрос, оценка  5"_s;
    QTest::newRow("11th, rus") << 11 << u"rus"_s << u"2"_s << u"Одинадцатый вопрос, оценка  2"_s;
    QTest::newRow("20th, rus") << 20 << u"rus"_s << u"5"_s << u"Дватцатый вопрос, оценка  5"_s;
    QTest::newRow("12th, eng") << 12 << u"eng"_s << u"2"_s << u"12 question, evaluation  2"_s;
    QTest::newRow("another language") << 3 << u"ukr"_s << u"5"_s << QString();
    QTest::newRow("no language") << 3 << QString() << u"5"_s << QString();
}

void TestEvaluation::evaluationLine()
{
    QFETCH(int, question);
    QFETCH(QString, language);
    QFETCH(QString, mark);
    QFETCH(QString, line);
    QCOMPARE(ExamReport::evaluationLine(question, language, mark), line);
}

void TestEvaluation::timeHasSeconds_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("time");
    QTest::newRow("C") << u"C"_s << u"14:05:09"_s;
    QTest::newRow("ru_RU") << u"ru_RU"_s << u"14:05:09"_s;
    QTest::newRow("en_US") << u"en_US"_s << u"2:05:09\u202fPM"_s;
}

void TestEvaluation::timeHasSeconds()
{
    QFETCH(QString, locale);
    QFETCH(QString, time);
    QString text = ExamReport::timeText(QTime(14, 5, 9), QLocale(locale));
    text.replace(u' ', u'\u202f');
    QCOMPARE(text, time);
}

void TestEvaluation::twoRecordsInARow()
{
    ProgramFolder folder;
    folder.writeText(u"s/oth.txt"_s, u"старая запись\r\n"_s);
    QString error;
    QVERIFY(ExamReport::append(folder.path(), russianRecord(), &error));
    QVERIFY(ExamReport::append(folder.path(), englishRecord(), &error));
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s),
             AnsiText::encode(u"старая запись\r\n"_s) + golden(u"rus.txt"_s) + golden(u"eng.txt"_s));
}

void TestEvaluation::missingReportFolderIsCreated()
{
    ProgramFolder folder;
    QVERIFY(QDir(folder.path(u"s"_s)).removeRecursively());
    QString error;
    QVERIFY2(ExamReport::append(folder.path(), englishRecord(), &error), qPrintable(error));
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), golden(u"eng.txt"_s));
}

void TestEvaluation::failedAppendChangesNothing_data()
{
    QTest::addColumn<QString>("blocker");
    // The report file is a folder, or the report folder is a file.
    QTest::newRow("report is a folder") << u"s/oth.txt"_s;
    QTest::newRow("s is a file") << u"s"_s;
}

void TestEvaluation::failedAppendChangesNothing()
{
    QFETCH(QString, blocker);
    ProgramFolder folder;
    QVERIFY(QDir(folder.path(u"s"_s)).removeRecursively());
    if (blocker == u"s"_s)
        folder.writeText(blocker, u"not a folder"_s);
    else
        QVERIFY(QDir().mkpath(folder.path(blocker)));
    QString error;
    QVERIFY(!ExamReport::append(folder.path(), russianRecord(), &error));
    QVERIFY(!error.isEmpty());
    if (blocker == u"s"_s)
        QCOMPARE(folder.readBytes(u"s"_s), QByteArray("not a folder"));
    else
        QVERIFY(QDir(folder.path(blocker)).isEmpty());
}

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
