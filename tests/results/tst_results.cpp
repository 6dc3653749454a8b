#include "core/files/ansi_text.h"
#include "core/files/clock.h"
#include "core/questionnaire/questionnaire_report.h"
#include "core/reports/exam_report.h"
#include "core/reports/name_part.h"
#include "core/reports/report_reader.h"
#include "core/reports/results_export.h"
#include "core/reports/results_filter.h"
#include "core/reports/results_models.h"
#include "core/reports/results_statistics.h"
#include "gui/results/module/results_xlsx.h"
#include "support/files.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// A record of the program's own writer with the marks given as 20 characters: '5' right,
// '2' wrong, '.' no mark.
QByteArray written(const QString &language, const QString &student, const QString &ticket, const QString &marks,
                   Verdict verdict, const QString &date = u"08.12.2026"_s, const QString &data = QString(),
                   const QString &time = u"10:30:15"_s)
{
    ExamRecord record;
    record.language = language;
    record.date = date;
    record.time = time;
    record.student = u"Ф.И.О ,  Данные  "_s + student;
    record.ticket = ticket.isEmpty() ? QString() : u"Билет № "_s + ticket;
    for (int n = 1; n <= ExamReport::Questions; ++n) {
        const QChar mark = marks.at(n - 1);
        record.marks << (mark == u'.' ? u"0"_s : QString(mark));
    }
    record.verdict = verdict;
    record.data1 = data;
    return recordBytes(record);
}

// A ticket in one line: date|time|student|ticket|marks|verdict|data|language|line.
QString describe(const TicketResult &t)
{
    QString marks;
    for (const TicketResult::Mark mark : t.marks)
        marks += mark == TicketResult::NoMark ? u'.' : mark == TicketResult::Unreadable ? u'?' : QChar(u'0' + mark);
    return QStringList{t.date.toString(Qt::ISODate), t.time.toString(Qt::ISODate), t.student, t.ticket, marks,
                       t.verdict, t.data, t.language, QString::number(t.line)}
        .join(u'|');
}

QString describe(const ReportProblem &p)
{
    return QString::number(int(p.kind)) + u':' + QString::number(p.firstLine) + u'-' + QString::number(p.lastLine);
}

template <class T>
QStringList describeAll(const QList<T> &items)
{
    QStringList described;
    for (const T &item : items)
        described << describe(item);
    return described;
}

QString problemOf(ReportProblem::Kind kind, int first, int last)
{
    return describe(ReportProblem{kind, first, last, QString()});
}

const QString Five = u"55255..............."_s;

// The cells of a worksheet of an XLSX file: "A1=value" with strings resolved.
QStringList sheetCells(const QString &xlsx, int sheet)
{
    const auto unzip = [&](const QString &member) {
        QProcess process;
        process.start(u"unzip"_s, {u"-p"_s, xlsx, member});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    QStringList strings;
    const QString shared = unzip(u"xl/sharedStrings.xml"_s);
    static const QRegularExpression si(u"<si><t[^>]*>([^<]*)</t></si>"_s);
    for (auto match = si.globalMatch(shared); match.hasNext();)
        strings << match.next().captured(1);
    QStringList cells;
    const QString xml = unzip(u"xl/worksheets/sheet"_s + QString::number(sheet) + u".xml"_s);
    static const QRegularExpression cell(u"<c r=\"([A-Z]+[0-9]+)\"( s=\"[0-9]+\")?( t=\"(\\w+)\")?><v>([^<]*)</v></c>"_s);
    for (auto match = cell.globalMatch(xml); match.hasNext();) {
        const auto found = match.next();
        const QString value = found.captured(4) == u"s" ? strings.value(found.captured(5).toInt()) : found.captured(5);
        cells << found.captured(1) + u'=' + value;
    }
    return cells;
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void readsTheRecordsOfTheProgramsWriter_data();
    void readsTheRecordsOfTheProgramsWriter();
    void showsDamagedParts_data();
    void showsDamagedParts();
    void readsQuestionnaireRuns();
    void showsLinesOutsideRuns();
    void readsStampsWrittenUnderEveryLocale_data();
    void readsStampsWrittenUnderEveryLocale();
    void partsTheQuestionnaireStamp_data();
    void partsTheQuestionnaireStamp();
    void skipsHeadersWithoutAnswers();
    void readsDatesOfEitherSystem_data();
    void readsDatesOfEitherSystem();
    void cancelsReading();
    void readsALargeReportInHalvesAsOne();
    void countsStatistics_data();
    void countsStatistics();
    void filters_data();
    void filters();
    void namePartFindsWhatContainsFinds();
    void filterFollowsAChangedNamePart();
    void sortsByValue();
    void sortsAsOneComparisonWould_data();
    void sortsAsOneComparisonWould();
    void sortsManyRowsAsOneComparisonWould();
    void sortKeepsTheSelectionAndFollowsTheFilter();
    void writesCsv_data();
    void writesCsv();
    void writesCsvTextsAsUtf8_data();
    void writesCsvTextsAsUtf8();
    void writesXlsx();
};

void ResultsTest::readsTheRecordsOfTheProgramsWriter_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QStringList>("tickets");

    const QString rus = u"2026-12-08|10:30:15|Иванов Иван|b2|5.2................5|Не зачет|группа 3|rus|1"_s;
    const QString eng = u"2026-12-08|10:30:15|John Smith|b1|55255...............|Delivered||eng|1"_s;
    const QString other = u"||Petra ?|b3|....................||1 2 3||1"_s;
    QTest::newRow("rus") << golden(u"report/rus.txt"_s) << QStringList{rus};
    QTest::newRow("eng") << golden(u"report/eng.txt"_s) << QStringList{eng};
    QTest::newRow("another language") << golden(u"report/other.txt"_s) << QStringList{other};
    QTest::newRow("three in a row") << golden(u"report/rus.txt"_s) + golden(u"report/eng.txt"_s) + golden(u"report/other.txt"_s)
                                    << QStringList{rus, eng.chopped(1) + u"10"_s, other.chopped(1) + u"18"_s};
    QTest::newRow("every mark empty")
        << written(u"rus"_s, u"Петров"_s, u"b4"_s, u"...................."_s, Verdict::FailedOnTime)
        << QStringList{u"2026-12-08|10:30:15|Петров|b4|....................|Не зачет по времени||rus|1"_s};
    QTest::newRow("no verdict, data line")
        << written(u"eng"_s, u"Ann"_s, u"b12"_s, u"5..................."_s, Verdict::None, u"12/8/2026"_s, u"7A"_s)
        << QStringList{u"2026-12-08|10:30:15|Ann|b12|5...................||7A|eng|1"_s};
    QTest::newRow("written on Windows with two-digit years")
        << QByteArray("\xc4\xe0\xf2\xe0: 08.12.26 \xc2\xf0\xe5\xec\xff: 9:05:00\r\r\n\xd4.\xc8.\xce ,  "
                      "\xc4\xe0\xed\xed\xfb\xe5  X\r\r\n\xc1\xe8\xeb\xe5\xf2 \xb9 b1\r\r\n; ; ; ; ; ; ; ; ; ; ; ; ; ; "
                      "; ; ; ; ; \r\r\n\r\r\n==================\r\r\n\r\n\r\n")
        << QStringList{u"2026-12-08|09:05:00|X|b1|....................|||rus|1"_s};
    // Language, date, time, student and ticket; a note has no marks, verdict or data.
    const ExamRecord discarded{u"rus"_s, u"08.12.2026"_s, u"11:00:00"_s, u"Ф.И.О ,  Данные  Петров"_s,
                               u"Билет № b2"_s, {}, {}, {}, {}, {}};
    QTest::newRow("the note of a discarded ticket between records")
        << golden(u"report/rus.txt"_s) + AnsiText::encode(ExamReport::discardNoteText(discarded)) + golden(u"report/eng.txt"_s)
        << QStringList{rus, eng.chopped(1) + u"17"_s};
    const QString name(300, u'Я');
    QTest::newRow("a 300-character name")
        << written(u"rus"_s, name, u"b1"_s, Five, Verdict::Passed)
        << QStringList{u"2026-12-08|10:30:15|"_s + name + u"|b1|"_s + Five + u"|Зачет||rus|1"_s};
}

void ResultsTest::readsTheRecordsOfTheProgramsWriter()
{
    QFETCH(QByteArray, report);
    QFETCH(QStringList, tickets);
    const auto contents = ReportReader::readExamReport(report);
    QVERIFY(contents);
    QCOMPARE(describeAll(contents->tickets), tickets);
    QCOMPARE(describeAll(contents->problems), QStringList());
}

void ResultsTest::showsDamagedParts_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QStringList>("students");
    QTest::addColumn<QStringList>("problems");

    const QByteArray rus = golden(u"report/rus.txt"_s);
    const QByteArray eng = golden(u"report/eng.txt"_s);
    const QStringList both{u"Иванов Иван"_s, u"John Smith"_s};
    QTest::newRow("CR LF line ends") << QByteArray(rus + eng).replace("\r\r\n", "\r\n") << both << QStringList();
    QTest::newRow("lone LF line ends") << QByteArray(rus + eng).replace("\r\r\n", "\n").replace("\r\n", "\n") << both
                                       << QStringList();
    QTest::newRow("lone CR line ends") << QByteArray(rus + eng).replace("\r\r\n", "\r").replace("\r\n", "\r") << both
                                       << QStringList();
    // Each line end of its own kind, so that every kind meets every other at a record's edge.
    QByteArray mixed;
    const QList<QByteArray> ends{"\r\r\n", "\n", "\r", "\r\n"};
    int next = 0;
    for (QByteArray line : QByteArray(rus + eng).replace("\r\r\n", "\r\n").split('\n'))
        mixed += line.endsWith('\r') ? line.chopped(1) + ends.at(next++ % ends.size()) : line;
    QTest::newRow("every line end mixed") << mixed << both << QStringList();
    QTest::newRow("cut in the marks line")
        << rus + eng.left(120) << QStringList{u"Иванов Иван"_s}
        << QStringList{problemOf(ReportProblem::CutRecord, 10, 13)};
    QTest::newRow("cut after the verdict")
        << rus + eng.left(eng.indexOf("Delivered") + 9) << both << QStringList{problemOf(ReportProblem::NoClosingLine, 10, 14)};
    QByteArray noStudent = rus;
    noStudent.remove(noStudent.indexOf("\xd4.\xc8"), noStudent.indexOf("\xc1\xe8\xeb") - noStudent.indexOf("\xd4.\xc8"));
    QTest::newRow("student line missing") << noStudent + eng << QStringList{QString(), u"John Smith"_s}
                                          << QStringList{problemOf(ReportProblem::MissingLine, 1, 5)};
    QByteArray noVerdict = eng;
    noVerdict.remove(noVerdict.indexOf("Delivered"), 12);
    QTest::newRow("verdict line missing") << rus + noVerdict << both
                                          << QStringList{problemOf(ReportProblem::MissingLine, 10, 13)};
    QTest::newRow("stray text between records")
        << rus + "stray text\r\nmore\r\n" + eng << both << QStringList{problemOf(ReportProblem::NotARecord, 10, 11)};
    QTest::newRow("closing line missing between records")
        << QByteArray(rus).replace("==================\r\r\n\r\n\r\n", "") + eng << both
        << QStringList{problemOf(ReportProblem::NoClosingLine, 1, 6)};
    QTest::newRow("hand-edited mark")
        << QByteArray(eng).replace("evaluation  2", "evaluation  3") << QStringList{u"John Smith"_s}
        << QStringList{problemOf(ReportProblem::UnreadableMark, 4, 4)};
    QTest::newRow("unreadable date") << QByteArray(eng).replace("12/8/26", "someday") << QStringList{u"John Smith"_s}
                                     << QStringList{problemOf(ReportProblem::UnreadableDate, 1, 1)};
    QTest::newRow("no record at all") << QByteArray("hello\r\nworld\r\n") << QStringList()
                                      << QStringList{problemOf(ReportProblem::NotARecord, 1, 2)};
    QTest::newRow("stray text at the end") << rus + "stray\r\n" << QStringList{u"Иванов Иван"_s}
                                           << QStringList{problemOf(ReportProblem::NotARecord, 10, 10)};
    QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
}

void ResultsTest::showsDamagedParts()
{
    QFETCH(QByteArray, report);
    QFETCH(QStringList, students);
    QFETCH(QStringList, problems);
    const auto contents = ReportReader::readExamReport(report);
    QVERIFY(contents);
    QStringList read;
    for (const TicketResult &ticket : contents->tickets)
        read << ticket.student;
    QCOMPARE(read, students);
    QCOMPARE(describeAll(contents->problems), problems);
    // Each problem shows its lines as the report has them, the marks line among them, which
    // is read in its bytes and never decoded otherwise.
    const QStringList lines = AnsiText::decode(report)
                                  .replace(u"\r\r\n"_s, u"\n"_s)
                                  .replace(u"\r\n"_s, u"\n"_s)
                                  .replace(u'\r', u'\n')
                                  .split(u'\n');
    for (const ReportProblem &problem : contents->problems)
        QCOMPARE(problem.text, lines.mid(problem.firstLine - 1, problem.lastLine - problem.firstLine + 1).join(u'\n'));
}

void ResultsTest::readsQuestionnaireRuns()
{
    using namespace QuestionnaireReport;
    const std::array<QString, 3> conclusions{u"Плохо\n"_s, u"Средне\n"_s, u"Хорошо\nочень\n"_s};
    const std::array<QString, 3> bounds{u"2"_s, u"5"_s, u"10"_s};
    const QString run = header(u"travel"_s, u"10:30"_s, u"08.12.2026"_s)
                        + answerLine(u"Столица Франции?\n"_s, u"Париж"_s, u"5"_s)
                        + answerLine(u"Вопрос в две\n\nстроки - да\n"_s, u"Да - и нет"_s, u"1,5"_s)
                        + conclusionBlock(u"6,5"_s, conclusions[2], conclusions, bounds);
    // A further answer after the end, as the window allows, then a new run of another test.
    const QString more = answerLine(u"Еще?\n"_s, u"Нет"_s, u"0"_s) + header(u"другой"_s, u"9:05 AM"_s, u"12/8/26"_s)
                         + answerLine(u"Q\n"_s, u"A"_s, u"-1"_s);
    const auto contents = ReportReader::readQuestionnaireReport(AnsiText::encode(run + more));
    QVERIFY(contents);
    QCOMPARE(describeAll(contents->problems), QStringList());
    QCOMPARE(contents->runs.size(), 3);

    const QuestionnaireRunResult &first = contents->runs[0];
    QCOMPARE(first.line, 1);
    QCOMPARE(first.name, u"travel"_s);
    QCOMPARE(first.date, QDate(2026, 12, 8));
    QCOMPARE(first.time, QTime(10, 30));
    QCOMPARE(first.answers.size(), 2);
    QCOMPARE(first.answers[0].question, u"Столица Франции?"_s);
    QCOMPARE(first.answers[0].answer, u"Париж"_s);
    QCOMPARE(first.answers[0].points, u"5"_s);
    QCOMPARE(first.answers[1].question, u"Вопрос в две\n\nстроки - да"_s);
    QCOMPARE(first.answers[1].answer, u"Да - и нет"_s);
    QCOMPARE(first.answers[1].points, u"1,5"_s);
    QCOMPARE(first.total, u"6,5"_s);
    QCOMPARE(first.conclusion, u"Хорошо\nочень"_s);
    QVERIFY(first.finished);

    const QuestionnaireRunResult &continued = contents->runs[1];
    QCOMPARE(continued.name, u"travel"_s);
    QCOMPARE(continued.answers.size(), 1);
    QCOMPARE(continued.answers[0].answer, u"Нет"_s);
    QVERIFY(!continued.finished);

    const QuestionnaireRunResult &last = contents->runs[2];
    QCOMPARE(last.name, u"другой"_s);
    QCOMPARE(last.date, QDate(2026, 12, 8));
    QCOMPARE(last.time, QTime(9, 5));
    QCOMPARE(last.answers[0].points, u"-1"_s);
    QVERIFY(last.total.isEmpty());
}

void ResultsTest::showsLinesOutsideRuns()
{
    using namespace QuestionnaireReport;
    const std::array<QString, 3> three{u"a\n"_s, u"b\n"_s, u"c\n"_s};
    const QString text = u"старый текст\r\n"_s + answerLine(u"Q\n"_s, u"A"_s, u"1"_s)
                         + header(u"t"_s, u"10:30"_s, u"08.12.2026"_s) + answerLine(u"Q\n"_s, u"A"_s, u"1"_s)
                         + u"вопрос без ответа\r\n"_s + conclusionBlock(u"1"_s, u"a\n"_s, three, {u"1"_s, u"2"_s, u"3"_s})
                         + header(u"t"_s, u"10:31"_s, u"08.12.2026"_s)
                         + conclusionBlock(u"2"_s, u"b\n"_s, three, {u"1"_s, u"2"_s, u"3"_s}).left(58);
    const auto contents = ReportReader::readQuestionnaireReport(AnsiText::encode(text));
    QVERIFY(contents);
    QCOMPARE(contents->runs.size(), 2);
    QCOMPARE(contents->runs[0].answers.size(), 1);
    QCOMPARE(contents->runs[0].conclusion, u"a"_s);
    QCOMPARE(contents->runs[1].total, u"2"_s);
    QCOMPARE(describeAll(contents->problems),
             (QStringList{problemOf(ReportProblem::NotARecord, 1, 3), problemOf(ReportProblem::NotARecord, 11, 11),
                          problemOf(ReportProblem::CutConclusion, 34, 36)}));
}

void ResultsTest::readsStampsWrittenUnderEveryLocale_data()
{
    QTest::addColumn<QLocale>("writer");
    QTest::addColumn<QLocale>("reader");
    const QList<QLocale> locales{QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia),
                                 QLocale(QLocale::English, QLocale::UnitedStates),
                                 QLocale(QLocale::English, QLocale::UnitedKingdom),
                                 QLocale(QLocale::German, QLocale::Germany)};
    for (const QLocale &writer : locales) {
        for (const QLocale &reader : locales) {
            const QString row = u"written under "_s + writer.name() + u", read under "_s + reader.name();
            QTest::newRow(qPrintable(row)) << writer << reader;
        }
    }
}

void ResultsTest::readsStampsWrittenUnderEveryLocale()
{
    QFETCH(QLocale, writer);
    QFETCH(QLocale, reader);
    // The 8th of December reads as a month in the American order too: the forms must not
    // be mistaken for each other.
    const QDate date(2026, 12, 8);
    const QTime time(21, 28, 54);
    QLocale::setDefault(writer);
    const QByteArray exam = written(u"eng"_s, u"Smith"_s, u"1"_s, Five, Verdict::Passed, ExamReport::dateText(date),
                                    QString(), ExamReport::timeText(time));
    const QString shortTime = Clock::shortTime(time);
    const QString shortDate = Clock::shortDate(date);
    const QByteArray questionnaire = AnsiText::encode(QuestionnaireReport::header(u"travel"_s, shortTime, shortDate)
                                                      + QuestionnaireReport::answerLine(u"Q\n"_s, u"A"_s, u"1"_s));
    // The questionnaire's time is the short form, which drops the seconds in most locales.
    const QTime questionnaireTime = writer.timeFormat(QLocale::ShortFormat).contains(u's') ? time : QTime(21, 28);

    QLocale::setDefault(reader);
    const auto tickets = ReportReader::readExamReport(exam);
    QVERIFY(tickets);
    QCOMPARE(describeAll(tickets->problems), QStringList());
    QCOMPARE(tickets->tickets.size(), 1);
    QCOMPARE(tickets->tickets[0].date, date);
    QCOMPARE(tickets->tickets[0].time, time);

    const auto runs = ReportReader::readQuestionnaireReport(questionnaire);
    QVERIFY(runs);
    QCOMPARE(describeAll(runs->problems), QStringList());
    QCOMPARE(runs->runs.size(), 1);
    QCOMPARE(runs->runs[0].dateText, shortDate);
    QCOMPARE(runs->runs[0].timeText, shortTime);
    QCOMPARE(runs->runs[0].date, date);
    QCOMPARE(runs->runs[0].time, questionnaireTime);

    // The exports take the values the models hold: the date and time read, not the texts.
    TicketResultsModel ticketModel;
    ticketModel.setResults(tickets->tickets);
    const ResultsTable ticketTable = ResultsTable::of(ticketModel);
    QVERIFY(ticketTable.rows.value(0).contains(QVariant(date)));
    QVERIFY(ticketTable.rows.value(0).contains(QVariant(time)));
    QuestionnaireRunsModel runModel;
    runModel.setRuns(runs->runs);
    const ResultsTable runTable = ResultsTable::of(runModel);
    QVERIFY(runTable.rows.value(0).contains(QVariant(date)));
    QVERIFY(runTable.rows.value(0).contains(QVariant(questionnaireTime)));
}

void ResultsTest::partsTheQuestionnaireStamp_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("readable");
    QTest::newRow("date with blanks") << u"21:28:54"_s << u"8 Dec 2026"_s << true;
    QTest::newRow("time with AM or PM") << u"9:28 PM"_s << u"12/8/26"_s << true;
    QTest::newRow("unreadable date with blanks") << u"21:28"_s << u"8 Foo 2026"_s << false;
    QTest::newRow("unreadable time with PM") << u"9:61 PM"_s << u"12/8/26"_s << false;
}

void ResultsTest::partsTheQuestionnaireStamp()
{
    QFETCH(QString, time);
    QFETCH(QString, date);
    QFETCH(bool, readable);
    const auto contents = ReportReader::readQuestionnaireReport(AnsiText::encode(
        QuestionnaireReport::header(u"t"_s, time, date) + QuestionnaireReport::answerLine(u"Q\n"_s, u"A"_s, u"1"_s)));
    QVERIFY(contents);
    QCOMPARE(contents->runs.size(), 1);
    QCOMPARE(contents->runs[0].timeText, time);
    QCOMPARE(contents->runs[0].dateText, date);
    QCOMPARE(describeAll(contents->problems),
             readable ? QStringList() : QStringList{problemOf(ReportProblem::UnreadableDate, 3, 3)});
}

void ResultsTest::skipsHeadersWithoutAnswers()
{
    using namespace QuestionnaireReport;
    const std::array<QString, 3> three{u"a\n"_s, u"b\n"_s, u"c\n"_s};
    // Making a questionnaire while its report is on writes a header alone; one is followed
    // by the next header, the other ends the report, and its stamp is unreadable.
    const QString text = header(u"made"_s, u"10:30"_s, u"08.12.2026"_s) + header(u"t"_s, u"10:31"_s, u"08.12.2026"_s)
                         + answerLine(u"Q\n"_s, u"A"_s, u"1"_s)
                         + conclusionBlock(u"1"_s, u"a\n"_s, three, {u"1"_s, u"2"_s, u"3"_s})
                         + header(u"made again"_s, u"когда-то"_s, u"где-то"_s);
    const auto contents = ReportReader::readQuestionnaireReport(AnsiText::encode(text));
    QVERIFY(contents);
    QCOMPARE(describeAll(contents->problems), QStringList());
    QCOMPARE(contents->runs.size(), 1);
    QCOMPARE(contents->runs[0].name, u"t"_s);
    QCOMPARE(contents->runs[0].line, 6);
    QCOMPARE(contents->runs[0].answers.size(), 1);
    QVERIFY(contents->runs[0].finished);
}

void ResultsTest::readsDatesOfEitherSystem_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("Russian") << u"08.12.2026"_s << QDate(2026, 12, 8);
    QTest::newRow("Russian, two-digit year") << u"08.12.26"_s << QDate(2026, 12, 8);
    QTest::newRow("English") << u"12/8/2026"_s << QDate(2026, 12, 8);
    QTest::newRow("English, two-digit year") << u"12/8/26"_s << QDate(2026, 12, 8);
    QTest::newRow("ISO") << u"2026-12-08"_s << QDate(2026, 12, 8);
    QTest::newRow("no date") << u"08.13.2026"_s << QDate();
}

void ResultsTest::readsDatesOfEitherSystem()
{
    QFETCH(QString, date);
    QFETCH(QDate, expected);
    QCOMPARE(ReportReader::readDate(date), expected);
}

void ResultsTest::cancelsReading()
{
    QByteArray report;
    for (int i = 0; i < 2000; ++i)
        report += golden(u"report/rus.txt"_s);
    int calls = 0;
    QVERIFY(!ReportReader::readExamReport(report, [&](qint64, qint64) { return ++calls < 2; }));
    qint64 last = -1;
    qint64 all = 0;
    const auto contents = ReportReader::readExamReport(report, [&](qint64 done, qint64 total) {
        if (done < last)
            return false;
        last = done;
        all = total;
        return true;
    });
    QVERIFY(contents);
    QCOMPARE(contents->tickets.size(), 2000);
    QCOMPARE(contents->tickets.last().line, 1999 * 9 + 1);
    QVERIFY(last > 0 && last <= all);
}

void ResultsTest::readsALargeReportInHalvesAsOne()
{
    // A report of several megabytes is read in two halves at once where the machine has two
    // cores. Whatever the parting, the records, their line numbers and the problems come out
    // as from one reading: a record without its student line stands now and then in either
    // half, and the halves meet between records written with different line ends.
    const QByteArray rus = golden(u"report/rus.txt"_s);
    const QByteArray lf = QByteArray(golden(u"report/eng.txt"_s)).replace("\r\r\n", "\n").replace("\r\n", "\n");
    QByteArray damaged = rus;
    damaged.remove(damaged.indexOf("\xd4.\xc8"), damaged.indexOf("\xc1\xe8\xeb") - damaged.indexOf("\xd4.\xc8"));
    const auto recordOf = [&](int i) -> const QByteArray & { return i % 1000 == 500 ? damaged : i % 2 ? lf : rus; };
    const auto linesOf = [&](int i) { return &recordOf(i) == &rus ? 9 : 8; };
    QByteArray report;
    int records = 0;
    QList<int> damagedAt;
    for (int line = 1; report.size() < 12 * 1024 * 1024; line += linesOf(records++)) {
        if (&recordOf(records) == &damaged)
            damagedAt << line;
        report += recordOf(records);
    }
    // The last record, in the second half, marks more questions of b1 than any before: every
    // b1 record of both halves has that many, the b2 records their own.
    report += written(u"eng"_s, u"Z"_s, u"b1"_s, u"555555555..........."_s, Verdict::Passed);
    qint64 last = -1;
    bool ordered = true;
    const auto contents = ReportReader::readExamReport(report, [&](qint64 done, qint64 total) {
        ordered = ordered && done >= last && done <= total;
        last = done;
        return true;
    });
    QVERIFY(contents);
    QVERIFY(ordered);
    QCOMPARE(last, qint64(report.size()));
    QCOMPARE(contents->tickets.size(), records + 1);
    for (int i = 0, line = 1; i < records; line += linesOf(i++)) {
        if (contents->tickets.at(i).line != line)
            QFAIL(qPrintable(u"record %1 at line %2, read at %3"_s.arg(i).arg(line).arg(contents->tickets.at(i).line)));
    }
    for (const TicketResult &ticket : contents->tickets) {
        if (ticket.questionCount != (ticket.ticket == "b1"_L1 ? 9 : 20))
            QFAIL(qPrintable(u"%1 with %2 questions at line %3"_s.arg(ticket.ticket).arg(ticket.questionCount).arg(ticket.line)));
    }
    QList<int> problemLines;
    for (const ReportProblem &problem : contents->problems)
        problemLines << problem.firstLine;
    QCOMPARE(problemLines, damagedAt);
    QVERIFY(damagedAt.size() > 2);

    // Cancelled in the first half, the second stops too and nothing is read.
    QVERIFY(!ReportReader::readExamReport(report, [](qint64 done, qint64 total) { return done < total / 4; }));
}

void ResultsTest::countsStatistics_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QString>("questions");
    QTest::addColumn<QStringList>("tickets");
    QTest::addColumn<QStringList>("verdicts");
    QTest::addColumn<QStringList>("days");

    // Question counts as "asked/right/wrong/unanswered" for questions 1 to 3; tickets with
    // the same; verdicts as "kind:count"; days as "date:attempts/passed".
    const QByteArray a = written(u"rus"_s, u"A"_s, u"b1"_s, u"552................."_s, Verdict::Passed);
    const QByteArray b = written(u"rus"_s, u"B"_s, u"b1"_s, u"25.................."_s, Verdict::FailedOnTime,
                                 u"09.12.2026"_s);
    const QByteArray c = written(u"eng"_s, u"C"_s, u"b2"_s, u"22.................."_s, Verdict::Failed,
                                 u"12/8/2026"_s);
    QTest::newRow("one ticket") << a << u"1/1/0/0 1/1/0/0 1/0/1/0"_s << QStringList{u"b1 3/2/1/0"_s}
                                << QStringList{u"1:1"_s} << QStringList{u"2026-12-08:1/1"_s};
    QTest::newRow("unanswered within the ticket's questions")
        << a + b << u"2/1/1/0 2/2/0/0 2/0/1/1"_s << QStringList{u"b1 6/3/2/1"_s} << QStringList{u"1:1"_s, u"3:1"_s}
        << QStringList{u"2026-12-08:1/1"_s, u"2026-12-09:1/0"_s};
    QTest::newRow("two tickets, another language without marks")
        << c + golden(u"report/other.txt"_s) + a << u"2/1/1/0 2/1/1/0 1/0/1/0"_s << QStringList{u"b1 3/2/1/0"_s, u"b2 2/0/2/0"_s}
        << QStringList{u"0:1"_s, u"1:1"_s, u"2:1"_s} << QStringList{u"2026-12-08:2/1"_s};
}

void ResultsTest::countsStatistics()
{
    QFETCH(QByteArray, report);
    QFETCH(QString, questions);
    QFETCH(QStringList, tickets);
    QFETCH(QStringList, verdicts);
    QFETCH(QStringList, days);
    const auto answers = [](const ResultsStatistics::Answers &a) {
        return u"%1/%2/%3/%4"_s.arg(a.asked).arg(a.right).arg(a.wrong).arg(a.unanswered);
    };
    const ResultsStatistics statistics = ResultsStatistics::of(ReportReader::readExamReport(report)->tickets);
    QStringList read;
    for (int n = 0; n < 3; ++n)
        read << answers(statistics.questions[n]);
    QCOMPARE(read.join(u' '), questions);
    QCOMPARE(statistics.questions[3].asked, 0);
    read.clear();
    for (const auto &[ticket, a] : statistics.tickets)
        read << ticket + u' ' + answers(a);
    QCOMPARE(read, tickets);
    read.clear();
    for (const auto &[verdict, count] : statistics.verdicts)
        read << QString::number(int(verdict)) + u':' + QString::number(count);
    QCOMPARE(read, verdicts);
    read.clear();
    for (const auto &[date, day] : statistics.days)
        read << date.toString(Qt::ISODate) + u':' + QString::number(day.attempts) + u'/' + QString::number(day.passed);
    QCOMPARE(read, days);
}

void ResultsTest::filters_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QStringList>("shown");

    const int any = -1;
    QTest::newRow("everything") << QDate() << QDate() << QString() << QString() << any
                                << QStringList{u"Иванов"_s, u"Петров"_s, u"Smith"_s, u"Petra"_s};
    QTest::newRow("one day, undated excluded") << QDate(2026, 12, 9) << QDate(2026, 12, 9) << QString() << QString()
                                               << any << QStringList{u"Петров"_s};
    QTest::newRow("from a day on") << QDate(2026, 12, 8) << QDate() << QString() << QString() << any
                                   << QStringList{u"Иванов"_s, u"Петров"_s, u"Smith"_s};
    QTest::newRow("name part, any case") << QDate() << QDate() << u"пЕтР"_s << QString() << any
                                         << QStringList{u"Петров"_s};
    QTest::newRow("ticket by number") << QDate() << QDate() << QString() << u"2"_s << any
                                      << QStringList{u"Иванов"_s, u"Smith"_s};
    QTest::newRow("ticket by folder name") << QDate() << QDate() << QString() << u"B2"_s << any
                                           << QStringList{u"Иванов"_s, u"Smith"_s};
    QTest::newRow("verdict in either language") << QDate() << QDate() << QString() << QString()
                                                << int(RecordedVerdict::Passed) << QStringList{u"Петров"_s, u"Smith"_s};
    QTest::newRow("no verdict") << QDate() << QDate() << QString() << QString() << int(RecordedVerdict::None)
                                << QStringList{u"Petra"_s};
}

void ResultsTest::filters()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, name);
    QFETCH(QString, ticket);
    QFETCH(int, verdict);
    QFETCH(QStringList, shown);
    const QByteArray report = written(u"rus"_s, u"Иванов"_s, u"b2"_s, Five, Verdict::Failed)
                              + written(u"rus"_s, u"Петров"_s, u"b1"_s, Five, Verdict::Passed, u"09.12.2026"_s)
                              + written(u"eng"_s, u"Smith"_s, u"b2"_s, Five, Verdict::Passed, u"12/8/2026"_s)
                              + written(u"other"_s, u"Petra"_s, QString(), Five, Verdict::None);
    TicketResultsModel model;
    model.setResults(ReportReader::readExamReport(report)->tickets);
    ResultsFilterModel filtered;
    filtered.setSourceModel(&model);
    ResultsFilter filter;
    filter.from = from;
    filter.to = to;
    filter.namePart = name;
    filter.ticket = ticket;
    if (verdict >= 0)
        filter.verdict = RecordedVerdict(verdict);
    filtered.setFilter(filter);
    QStringList students;
    for (const TicketResult &result : filtered.shownTickets())
        students << result.student;
    QCOMPARE(students, shown);
}

void ResultsTest::namePartFindsWhatContainsFinds()
{
    // Letters of both cases, the characters that fold to a Latin letter (the Kelvin sign, the
    // long s), Cyrillic with Ё, digits, a part at the very end, and characters beyond the
    // first plane: every part in every name, as Qt's own search without case finds it.
    const QStringList names{u"Иванов Иван"_s, u"ИВАНОВА Ёлка"_s, u"ёлкин"_s, u"Smith"_s, u"\u212Aelvin"_s,
                            u"Kelvin"_s, u"Mi\u017Fs"_s, u"Student 1999"_s, u"x"_s, QString(),
                            u"😀 Emoji 😀a"_s, u"𝐀𝐁 Bold"_s, u"Σίσυφος ΣΊΣΥΦΟΣ"_s, u"straße STRASSE"_s};
    const QStringList parts{u"иван"_s, u"ИВАН"_s, u"ё"_s, u"Ё"_s, u"ЁЛК"_s, u"sm"_s, u"K"_s, u"k"_s, u"kel"_s,
                            u"s"_s, u"S"_s, u"ss"_s, u"99"_s, u"9"_s, u"n"_s, u"x"_s, u"xx"_s, u"😀"_s, u"😀a"_s,
                            u"𝐁"_s, u" b"_s, u"σ"_s, u"ς"_s, u"ß"_s, u"vin"_s, u"Student 1999 and more"_s};
    for (const QString &part : parts) {
        const NamePart looked(part);
        for (const QString &name : names)
            QVERIFY2(looked.in(name) == name.contains(part, Qt::CaseInsensitive),
                     qPrintable(u"\"%1\" in \"%2\""_s.arg(part, name)));
    }
    QVERIFY(NamePart().in(u"anything"_s));
}

void ResultsTest::filterFollowsAChangedNamePart()
{
    // The filter keeps its name part ready between rows; a part changed on the same filter
    // (or on a copy) is looked for anew.
    TicketResult ivanov;
    ivanov.student = u"Иванов"_s;
    TicketResult smith;
    smith.student = u"Smith"_s;
    ResultsFilter filter;
    filter.namePart = u"ив"_s;
    QVERIFY(filter.accepts(ivanov));
    QVERIFY(!filter.accepts(smith));
    ResultsFilter copy = filter;
    copy.namePart = u"SM"_s;
    QVERIFY(!copy.accepts(ivanov));
    QVERIFY(copy.accepts(smith));
    QVERIFY(filter.accepts(ivanov));
    filter.namePart.clear();
    QVERIFY(filter.accepts(smith));
}

void ResultsTest::sortsByValue()
{
    const QByteArray report = written(u"rus"_s, u"б"_s, u"b10"_s, u"5..................."_s, Verdict::Passed, u"10.12.2026"_s)
                              + written(u"rus"_s, u"А"_s, u"b9"_s, u"55555..............."_s, Verdict::Passed, u"09.12.2025"_s)
                              + written(u"rus"_s, u"в"_s, u"b1"_s, u"2..................."_s, Verdict::Passed, u"01.01.2026"_s);
    TicketResultsModel model;
    model.setResults(ReportReader::readExamReport(report)->tickets);
    ResultsFilterModel sorted;
    sorted.setSourceModel(&model);
    const auto order = [&](int column, Qt::SortOrder direction) {
        sorted.sort(column, direction);
        QString students;
        for (const TicketResult &result : sorted.shownTickets())
            students += result.student;
        return students;
    };
    QCOMPARE(order(TicketResultsModel::Date, Qt::AscendingOrder), u"Авб"_s);
    QCOMPARE(order(TicketResultsModel::Ticket, Qt::AscendingOrder), u"вАб"_s);
    QCOMPARE(order(TicketResultsModel::Student, Qt::DescendingOrder), u"вбА"_s);
    QCOMPARE(order(TicketResultsModel::Right, Qt::DescendingOrder), u"Абв"_s);
    // An empty mark comes after every mark.
    QCOMPARE(order(TicketResultsModel::FirstMark + 1, Qt::AscendingOrder), u"Абв"_s);
}

void ResultsTest::writesCsvTextsAsUtf8_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("three-byte sign") << u"№ 7"_s << QByteArray("\xE2\x84\x96 7");
    QTest::newRow("surrogate pair") << u"😀 да"_s << QByteArray("\xF0\x9F\x98\x80 \xD0\xB4\xD0\xB0");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u"a"_s << (QString(QChar(0xD800)) + u"a"_s).toUtf8();
    QTest::newRow("quote after a pair") << u"😀\"x"_s << QByteArray("\"\xF0\x9F\x98\x80\"\"x\"");
    QTest::newRow("blank at the end") << u"Иван "_s << QByteArray("\"\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD \"");
}

void ResultsTest::writesCsvTextsAsUtf8()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    const ResultsTable table{QString(), {u"A"_s, u"B"_s}, {{text, 1}}};
    QCOMPARE(ResultsExport::csv({table}, QLocale::c()), QByteArray("\xEF\xBB\xBF" "A,B\r\n") + field + ",1\r\n");
}

// The order of a column as the comparison of two cells gives it, in a stable sort of the
// report's order: empty cells after every value, values of one kind by value, then texts by
// the collation. The table's own sort reads every column once; it must give the same order.
QList<int> comparedOrder(const QAbstractItemModel &model, int column, Qt::SortOrder direction)
{
    const auto less = [&](int left, int right) {
        const QVariant a = model.index(left, column).data(Qt::EditRole);
        const QVariant b = model.index(right, column).data(Qt::EditRole);
        if (!a.isValid() || !b.isValid())
            return a.isValid() && !b.isValid();
        if (a.metaType() == b.metaType() && a.metaType().id() != QMetaType::QString)
            return QVariant::compare(a, b) == QPartialOrdering::Less;
        if (a.metaType().id() != QMetaType::QString || b.metaType().id() != QMetaType::QString)
            return a.metaType().id() != QMetaType::QString;
        return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
    };
    QList<int> rows(model.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    if (direction == Qt::AscendingOrder)
        std::stable_sort(rows.begin(), rows.end(), less);
    else
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return less(b, a); });
    return rows;
}

void ResultsTest::sortsAsOneComparisonWould_data()
{
    QTest::addColumn<int>("column");
    for (const int column : {int(TicketResultsModel::Date), int(TicketResultsModel::Time),
                             int(TicketResultsModel::Student), int(TicketResultsModel::Data),
                             int(TicketResultsModel::Ticket), int(TicketResultsModel::FirstMark),
                             int(TicketResultsModel::FirstMark + 3), int(TicketResultsModel::Right),
                             int(TicketResultsModel::Unanswered), int(TicketResultsModel::Verdict),
                             int(TicketResultsModel::Line)})
        QTest::newRow(qPrintable(QString::number(column))) << column;
}

void ResultsTest::sortsAsOneComparisonWould()
{
    QFETCH(int, column);
    // Records with equal and unreadable dates, names that differ in case and letters, marks
    // missing or unreadable and tickets that are no "b" number.
    const QStringList names = {u"Иванов"_s, u"иванов"_s, u"Ёлкин"_s, u"Smith"_s, u"smith"_s, u"Петров"_s, u""_s};
    const QStringList dates = {u"08.12.2026"_s, u"07.12.2026"_s, u"12/8/2026"_s, u"вчера"_s, u"08.12.2026"_s};
    const QStringList marks = {u"55555..............."_s, u"52.?5..............."_s, u"2..................."_s,
                               u"...................."_s};
    const QStringList tickets = {u"b2"_s, u"b10"_s, u"x"_s, u"b1"_s};
    QByteArray report;
    for (int i = 0; i < 40; ++i)
        report += written(i % 5 == 4 ? u"eng"_s : u"rus"_s, names[i % names.size()], tickets[i % tickets.size()],
                          marks[i % marks.size()], i % 3 ? Verdict::Passed : Verdict::Failed, dates[i % dates.size()],
                          i % 2 ? u"10А"_s : QString(), i % 4 ? u"10:30:15"_s : u"9:05:00"_s);
    TicketResultsModel model;
    model.setResults(ReportReader::readExamReport(report)->tickets);
    ResultsFilterModel sorted;
    sorted.setSourceModel(&model);
    for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        sorted.sort(column, direction);
        QList<int> rows;
        for (int row = 0; row < sorted.rowCount(); ++row)
            rows << sorted.mapToSource(sorted.index(row, column)).row();
        QCOMPARE(rows, comparedOrder(model, column, direction));
    }
}

void ResultsTest::sortsManyRowsAsOneComparisonWould()
{
    // Values that differ in every byte of their keys, many equal, dates and texts mixed.
    QList<TicketResult> results;
    for (int i = 0; i < 3000; ++i) {
        TicketResult result;
        result.line = (i * 7919) % 100003 * (i % 3 == 0 ? 1000 : 1);
        if (i % 5 == 0)
            result.dateText = u"вчера"_s;
        else if (i % 7 != 0)
            result.date = QDate(1900, 1, 1).addDays((i * 104729) % 80000);
        results << result;
    }
    TicketResultsModel model;
    model.setResults(results);
    ResultsFilterModel sorted;
    sorted.setSourceModel(&model);
    for (const int column : {int(TicketResultsModel::Line), int(TicketResultsModel::Date)}) {
        for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            sorted.sort(column, direction);
            QList<int> rows;
            for (int row = 0; row < sorted.rowCount(); ++row)
                rows << sorted.mapToSource(sorted.index(row, column)).row();
            QCOMPARE(rows, comparedOrder(model, column, direction));
        }
    }
}

void ResultsTest::sortKeepsTheSelectionAndFollowsTheFilter()
{
    const QByteArray report = written(u"rus"_s, u"б"_s, u"b1"_s, Five, Verdict::Passed, u"10.12.2026"_s)
                              + written(u"rus"_s, u"А"_s, u"b1"_s, Five, Verdict::Failed, u"09.12.2026"_s)
                              + written(u"rus"_s, u"в"_s, u"b1"_s, Five, Verdict::Passed, u"11.12.2026"_s);
    TicketResultsModel model;
    model.setResults(ReportReader::readExamReport(report)->tickets);
    ResultsFilterModel sorted;
    sorted.setSourceModel(&model);
    const QPersistentModelIndex chosen = sorted.index(0, TicketResultsModel::Student);
    sorted.sort(TicketResultsModel::Date, Qt::DescendingOrder);
    QCOMPARE(chosen.data().toString(), u"б"_s);
    QCOMPARE(chosen.row(), 1);
    const auto students = [&sorted] {
        QString shown;
        for (const TicketResult &result : sorted.shownTickets())
            shown += result.student;
        return shown;
    };
    ResultsFilter passed;
    passed.verdict = RecordedVerdict::Passed;
    sorted.setFilter(passed);
    QCOMPARE(students(), u"вб"_s);
    // New results are shown filtered and sorted as before.
    model.setResults(ReportReader::readExamReport(report + written(u"rus"_s, u"г"_s, u"b1"_s, Five,
                                                                   Verdict::Passed, u"12.12.2026"_s))->tickets);
    QCOMPARE(students(), u"гвб"_s);
}

void ResultsTest::writesCsv_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("point locale") << QLocale(QLocale::English, QLocale::UnitedStates)
                                  << bom + "Name,Date,Time,Points,Count\r\n"
                                           "\"Smith, John\",2026-12-08,10:30:15,1.5,3\r\n"
                                           "'=1+1,,,\"\"\"q\"\"\",\r\n"
                                           "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd;,,,-2,\r\n";
    QTest::newRow("comma locale") << QLocale(QLocale::Russian, QLocale::Russia)
                                  << bom + "Name;Date;Time;Points;Count\r\n"
                                           "Smith, John;2026-12-08;10:30:15;1,5;3\r\n"
                                           "'=1+1;;;\"\"\"q\"\"\";\r\n"
                                           "\"\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd;\";;;-2;\r\n";
}

void ResultsTest::writesCsv()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, bytes);
    ResultsTable table{QString(), {u"Name"_s, u"Date"_s, u"Time"_s, u"Points"_s, u"Count"_s}, {}};
    table.rows << QVariantList{u"Smith, John"_s, QDate(2026, 12, 8), QTime(10, 30, 15), 1.5, 3}
               << QVariantList{u"=1+1"_s, QVariant(), QVariant(), u"\"q\""_s, QVariant()}
               << QVariantList{u"Иван;"_s, QVariant(), QVariant(), -2.0, QVariant()};
    QCOMPARE(ResultsExport::csv({table}, locale), bytes);
}

void ResultsTest::writesXlsx()
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        QSKIP("unzip is not installed");
    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.xlsx"_s);
    TicketResultsModel model;
    model.setResults(ReportReader::readExamReport(golden(u"report/rus.txt"_s) + golden(u"report/other.txt"_s))->tickets);
    const ResultsStatistics statistics = ResultsStatistics::of(model.results());
    QString error;
    QVERIFY2(ResultsExport::writeXlsx(path,
                                      {{u"Билеты"_s, {ResultsTable::of(model)}},
                                       {u"Статистика"_s, ResultsExport::statisticsTables(statistics, u"rus"_s)}},
                                      &error),
             qPrintable(error));
    const QStringList tickets = sheetCells(path, 1);
    // Headers, then the date as a serial day number, the time as a fraction, numbers as numbers.
    for (const QString &cell : {u"A1=Дата"_s, u"C1=Ф.И.О"_s, u"F1=1"_s, u"A2=46364"_s, u"B2=0.4376736111111111"_s,
                                u"C2=Иванов Иван"_s, u"D2=группа 3"_s, u"E2=2"_s, u"F2=5"_s, u"H2=2"_s, u"Y2=5"_s,
                                u"Z2=2"_s, u"AA2=1"_s, u"AB2=17"_s, u"AC2=Не зачет"_s, u"AD2=1"_s, u"C3=Petra ?"_s,
                                u"E3=3"_s, u"AD3=10"_s})
        QVERIFY2(tickets.contains(cell), qPrintable(cell + u" not in "_s + tickets.join(u' ')));
    QVERIFY(tickets.filter(QRegularExpression(u"^G2="_s)).isEmpty());
    const QStringList statisticsCells = sheetCells(path, 2);
    for (const QString &cell : {u"A1=Попытки"_s, u"A3=2"_s, u"B3=1"_s})
        QVERIFY2(statisticsCells.contains(cell), qPrintable(cell + u" not in "_s + statisticsCells.join(u' ')));

    // A folder that cannot hold the file leaves nothing behind and says why.
    QVERIFY(!ResultsExport::writeXlsx(dir.filePath(u"missing/results.xlsx"_s), {}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(ResultsTest)
#include "tst_results.moc"
