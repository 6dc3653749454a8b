#include "core/exam/ticket_session.h"
#include "core/files/ansi_text.h"
#include "core/program/settings_record.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_report.h"
#include "support/program_folder.h"
#include "support/ticket_desk.h"
#include "support/ticket_steps.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2026, 12, 8), QTime(10, 30, 15));

// The desk with a clock: the seconds since Now on the session's clock.
struct Desk : TicketDesk
{
    int seconds = 0;

    TicketJournal::Record drawn() const { return TicketDesk::drawn(u"вариант 2"_s); }

    void clockOn(TicketSession &session)
    {
        session.setClock([this] { return Now.addSecs(seconds); });
    }

    // Each answer takes the student ten seconds more than the one before: 10, 20, 30 ...
    void play(TicketSession &session, const QString &steps)
    {
        int answer = 0;
        for (const QChar step : steps) {
            if (step == u'R' || step == u'W')
                seconds += 10 * ++answer;
            ::play(session.run(), QString(step));
        }
    }

    AttemptsJournal::Reading journal() const
    {
        const std::optional<AttemptsJournal::Reading> reading = AttemptsJournal::readFile(paths.attemptsJournal());
        return reading.value_or(AttemptsJournal::Reading());
    }
};

Attempt someAttempt(int n)
{
    Attempt attempt;
    attempt.examFolder = u"/exams/Физика"_s;
    attempt.examTitle = u"Физика"_s;
    attempt.ticket = QString::number(n);
    attempt.ticketFolder = u"b"_s + QString::number(n);
    attempt.ticketLine = u"Билет № b"_s + QString::number(n);
    attempt.language = u"rus"_s;
    attempt.questions << Attempt::Question{1, u"Вопрос\n«1»"_s, {u"Да"_s, u"Нет"_s}, u"Нет"_s, u"Да"_s, u"2"_s, 14};
    attempt.questions << Attempt::Question{2, u"Вопрос 2"_s, {}, QString(), u"Да"_s, u"0"_s, std::nullopt};
    attempt.student = Student{u"Ф.И.О  Петров"_s, u"7 \"Б\""_s, QString(), QString(), u"Петров"_s};
    attempt.workstation = u"lab-3"_s;
    attempt.start = QDateTime(QDate(2026, 12, 8), QTime(9, 0, 0), Qt::OffsetFromUTC, 3 * 3600);
    attempt.end = attempt.start.addSecs(95);
    attempt.ending = Attempt::Ending::Graded;
    attempt.grade = u"2,5"_s;
    attempt.verdict = Verdict::Failed;
    attempt.passScore = u"4"_s;
    attempt.questionCount = u"2"_s;
    attempt.questionTimer = true;
    attempt.countdownSeconds = 60;
    attempt.savedToReport = true;
    attempt.reportDate = u"08.12.2026"_s;
    attempt.reportTime = u"09:01:35"_s;
    return attempt;
}

} // namespace

class AttemptsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyEndingLeavesItsAttempt_data();
    void everyEndingLeavesItsAttempt();
    void discardedAfterACrash();
    void resumedTicketThatCannotGoOnIsNoAttempt();
    void roundTrip();
    void damagedLinesAreKeptWithTheirNumbers();
    void unknownFieldsAreKept();
    void scannerReadsAsTheDocumentReader_data();
    void scannerReadsAsTheDocumentReader();
    void linesAlikeAreReadEachAsItself_data();
    void linesAlikeAreReadEachAsItself();
    void appendSyncsUnderTheLock();
};

void AttemptsTest::everyEndingLeavesItsAttempt_data()
{
    QTest::addColumn<bool>("ticketTimer");
    QTest::addColumn<QString>("steps");
    // "saved", "left out" or "" when the sheet never closed.
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("graded and saved") << false << u"RRRRWE"_s << u"saved"_s << int(Attempt::Ending::Graded)
                                      << u"55552"_s << u"4.4"_s << Verdict::Passed;
    QTest::newRow("graded, left out of the report") << false << u"RWWE"_s << u"left out"_s
                                                    << int(Attempt::Ending::Graded) << u"52200"_s << u"1.8"_s
                                                    << Verdict::Failed;
    QTest::newRow("closed without a grade") << false << u"RR"_s << u"saved"_s << int(Attempt::Ending::Closed)
                                            << u"55000"_s << QString() << Verdict::None;
    QTest::newRow("failed on time") << true << u"R"_s + QString(60, u'T') << u"saved"_s
                                    << int(Attempt::Ending::FailedOnTime) << u"50000"_s << QString()
                                    << Verdict::FailedOnTime;
    QTest::newRow("abandoned") << false << u"RW"_s << QString() << int(Attempt::Ending::Abandoned) << u"52000"_s
                               << QString() << Verdict::None;
}

void AttemptsTest::everyEndingLeavesItsAttempt()
{
    QFETCH(bool, ticketTimer);
    QFETCH(QString, steps);
    QFETCH(QString, sheet);
    QFETCH(int, ending);
    QFETCH(QString, marks);
    QFETCH(QString, grade);
    QFETCH(Verdict, verdict);

    Desk desk;
    desk.settings.setTicketTimer(ticketTimer);
    TicketSession session(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
    desk.clockOn(session);
    QVERIFY(session.begin());
    desk.play(session, steps);
    if (!sheet.isEmpty()) {
        ExamRecord record;
        record.date = u"08.12.2026"_s;
        record.time = u"10:31:00"_s;
        record.student = session.student().line;
        record.data3 = u"вариант 2"_s;
        session.sheetClosed(sheet == u"saved"_s, record);
    }
    // Nothing is in the journal before the ticket ends, and the report is not touched.
    QVERIFY(!QFileInfo::exists(desk.paths.attemptsJournal()));
    session.end();
    QVERIFY(!QFileInfo::exists(desk.paths.examReport()));
    session.end();

    const AttemptsJournal::Reading journal = desk.journal();
    QVERIFY(journal.damaged.isEmpty());
    QCOMPARE(journal.attempts.size(), 1);
    const Attempt &attempt = journal.attempts.first();
    QCOMPARE(int(attempt.ending), ending);
    QCOMPARE(attempt.savedToReport, sheet == u"saved"_s);
    QCOMPARE(attempt.reportTime, sheet == u"saved"_s ? u"10:31:00"_s : QString());
    QCOMPARE(attempt.grade, grade);
    QCOMPARE(attempt.verdict, verdict);
    QCOMPARE(attempt.examTitle, u"Физика"_s);
    QCOMPARE(attempt.examFolder, desk.exam);
    QCOMPARE(attempt.ticket, u"1"_s);
    QCOMPARE(attempt.ticketLine, u"Билет № b1"_s);
    QCOMPARE(attempt.student.name, u"Иванов"_s);
    QCOMPARE(attempt.student.data3, u"вариант 2"_s);
    QCOMPARE(attempt.passScore, u"4"_s);
    QCOMPARE(attempt.questionCount, u"5"_s);
    QCOMPARE(attempt.ticketTimer, ticketTimer);
    QCOMPARE(attempt.countdownSeconds, 60);
    QVERIFY(!attempt.workstation.isEmpty());
    QCOMPARE(attempt.start, Now);
    QCOMPARE(attempt.end, Now.addSecs(desk.seconds));

    // Every question the ticket asks, answered or not, in its order.
    QCOMPARE(attempt.questions.size(), 5);
    QString readMarks;
    for (int i = 0; i < 5; ++i) {
        const Attempt::Question &question = attempt.questions[i];
        QCOMPARE(question.number, i + 1);
        QCOMPARE(question.correct, u"Да"_s);
        QCOMPARE(question.text, u"Вопрос %1 билета 1\n"_s.arg(i + 1));
        readMarks += question.mark;
        if (question.mark == u"0"_s) {
            QVERIFY(question.chosen.isEmpty());
            QVERIFY(!question.seconds);
        } else {
            QCOMPARE(question.chosen, question.mark == u"5"_s ? u"Да"_s : u"Нет"_s);
            QCOMPARE(question.offered, (QStringList{u"Да"_s, u"Нет"_s, u"Не знаю"_s}));
            QCOMPARE(question.seconds, std::optional<int>(10 * (i + 1)));
        }
    }
    QCOMPARE(readMarks, marks);

    // The times carry their zone, as ISO 8601.
    const QJsonObject line = QJsonDocument::fromJson(desk.folder.readBytes(u"s/attempts.jsonl"_s)).object();
    QCOMPARE(line.value(u"version"_s).toInt(), 1);
    const QRegularExpression zoned(u"^2026-12-08T10:30:15(Z|[+-]\\d\\d:\\d\\d)$"_s);
    QVERIFY2(zoned.match(line.value(u"start"_s).toString()).hasMatch(), qPrintable(line.value(u"start"_s).toString()));
}

void AttemptsTest::discardedAfterACrash()
{
    Desk desk;
    {
        // The program dies in the middle of question 3: the session never ends.
        TicketSession crashed(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
        QVERIFY(crashed.begin());
        play(crashed.run(), u"RW"_s);
    }
    QVERIFY(!QFileInfo::exists(desk.paths.attemptsJournal()));
    const std::optional<TicketJournal::Record> unfinished = TicketSession::findUnfinished(desk.paths, Now).unfinished;
    QVERIFY(unfinished);
    QVERIFY(!TicketSession::discardUnfinished(desk.paths, *unfinished, u"rus"_s, Now.addSecs(600)));

    const AttemptsJournal::Reading journal = desk.journal();
    QCOMPARE(journal.attempts.size(), 1);
    const Attempt &attempt = journal.attempts.first();
    QCOMPARE(attempt.ending, Attempt::Ending::Discarded);
    QVERIFY(!attempt.savedToReport);
    QVERIFY(!attempt.start.isValid());
    QCOMPARE(attempt.end, Now.addSecs(600));
    QCOMPARE(attempt.questions.size(), 5);
    QCOMPARE(attempt.questions[0].mark, u"5"_s);
    QCOMPARE(attempt.questions[1].mark, u"2"_s);
    QCOMPARE(attempt.questions[1].text, u"Вопрос 2 билета 1\n"_s);
    QCOMPARE(attempt.questions[2].mark, u"0"_s);
    // The note in the report is as it always was.
    QVERIFY(QFileInfo::exists(desk.paths.examReport()));
}

void AttemptsTest::resumedTicketThatCannotGoOnIsNoAttempt()
{
    Desk desk;
    {
        TicketSession crashed(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
        QVERIFY(crashed.begin());
        play(crashed.run(), u"RW"_s);
    }
    const std::optional<TicketJournal::Record> unfinished = TicketSession::findUnfinished(desk.paths, Now).unfinished;
    QVERIFY(unfinished);
    QVERIFY(QFile::remove(desk.exam + u"/b1/q3.txt"_s));
    TicketSession resumed(desk.paths, u"rus"_s, *unfinished, TicketSession::Origin::Resumed);
    QVERIFY(!resumed.begin());
    resumed.end();
    QVERIFY(!QFileInfo::exists(desk.paths.attemptsJournal()));

    // A drawn ticket whose first question cannot be read is abandoned, and said so.
    QVERIFY(QFile::remove(desk.exam + u"/b1/q1.txt"_s));
    TicketSession drawn(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
    QVERIFY(!drawn.begin());
    drawn.end();
    QCOMPARE(desk.journal().attempts.size(), 1);
    QCOMPARE(desk.journal().attempts.first().ending, Attempt::Ending::Abandoned);
}

void AttemptsTest::roundTrip()
{
    const Attempt attempt = someAttempt(7);
    const QByteArray line = AttemptsJournal::encode(attempt);
    QVERIFY(!line.contains('\n'));
    const std::optional<Attempt> read = AttemptsJournal::decode(line);
    QVERIFY(read);
    QCOMPARE(*read, attempt);
}

void AttemptsTest::damagedLinesAreKeptWithTheirNumbers()
{
    const QByteArray good = AttemptsJournal::encode(someAttempt(1));
    const QByteArray bytes = good + "\n"
                             // cut short by a power cut, then a line end put after it by the next append
                             + good.left(good.size() / 2) + "\r\n" + good + "\n"
                             + "\n"
                             + "{\"version\":0,\"ending\":\"graded\"}\n"
                             + "not json at all\n"
                             + "{\"version\":1,\"ending\":\"lost\"}\n"
                             + good;
    const AttemptsJournal::Reading reading = AttemptsJournal::read(bytes);
    QCOMPARE(reading.attempts.size(), 3);
    QCOMPARE(reading.lines, (QList<qsizetype>{1, 3, 8}));
    QCOMPARE(reading.damaged.size(), 4);
    QCOMPARE(reading.damaged[0].line, 2);
    QCOMPARE(reading.damaged[0].bytes, good.left(good.size() / 2));
    QCOMPARE(reading.damaged[1].line, 5);
    QCOMPARE(reading.damaged[2].line, 6);
    QCOMPARE(reading.damaged[3].line, 7);
}

void AttemptsTest::unknownFieldsAreKept()
{
    QJsonObject object = QJsonDocument::fromJson(AttemptsJournal::encode(someAttempt(2))).object();
    object.insert(u"version"_s, 2);
    object.insert(u"room"_s, u"204"_s);
    object.insert(u"proctor"_s, QJsonObject{{u"name"_s, u"Сидорова"_s}});
    const std::optional<Attempt> read = AttemptsJournal::decode(QJsonDocument(object).toJson(QJsonDocument::Compact));
    QVERIFY(read);
    QCOMPARE(read->ticket, u"2"_s);
    QCOMPARE(read->unknown.value(u"room"_s).toString(), u"204"_s);
    QCOMPARE(read->unknown.value(u"proctor"_s).toObject().value(u"name"_s).toString(), u"Сидорова"_s);
    // Written again, they stay.
    const QJsonObject again = QJsonDocument::fromJson(AttemptsJournal::encode(*read)).object();
    QCOMPARE(again.value(u"room"_s).toString(), u"204"_s);
}

void AttemptsTest::scannerReadsAsTheDocumentReader_data()
{
    QTest::addColumn<QByteArray>("line");
    // Whether the scanner reads the line itself rather than leaving it to the document reader.
    QTest::addColumn<bool>("scanned");

    const QByteArray good = AttemptsJournal::encode(someAttempt(1));
    Attempt odd = someAttempt(2);
    odd.examTitle = u"quote \" backslash \\ slash / tab \t line\r\n bell \u0001 end"_s;
    odd.questions[0].text = u"smile 😀 and 𝄞, Ж, €"_s;
    odd.questions[0].offered = {QString(), u"\u007f"_s, u"∑ \"x\""_s};
    odd.questions[1].seconds = 0;
    odd.student.data3 = u"last"_s;
    odd.countdownSeconds = -5;
    odd.start = QDateTime();
    QTest::newRow("as written") << good << true;
    QTest::newRow("escapes and characters beyond the BMP") << AttemptsJournal::encode(odd) << true;

    const QByteArray plain = R"({"version":1,"ending":"graded","questions":[{"number":1,"text":"%1"}]})";
    const auto withText = [&](const char *text) { return QByteArray(plain).replace("%1", text); };
    QTest::newRow("escaped letters") << withText(R"(\u0414\u0430 \/ \b\f)") << true;
    QTest::newRow("escaped surrogate pair") << withText(R"(\ud83d\ude00\uD834\uDD1E)") << true;
    QTest::newRow("lone high surrogate") << withText(R"(\ud83d x)") << false;
    QTest::newRow("lone low surrogate") << withText(R"(\ude00)") << false;
    QTest::newRow("unknown escape") << withText(R"(\x41)") << false;
    QTest::newRow("short escape") << withText(R"(\u12)") << false;
    QTest::newRow("raw control character") << withText("a\tb") << false;
    QTest::newRow("long text, escapes far in") << withText(R"(abcdefghijk\"lmnopqrstuvw\\xyz)") << true;
    QTest::newRow("text of eight bytes") << withText("abcdefgh") << true;
    QTest::newRow("text of nine bytes beyond ASCII") << withText("Д\x7f ДДДД") << true;
    QTest::newRow("control character far in") << withText("abcdefghijklmnopq\x01r") << false;
    QTest::newRow("control character after letters beyond ASCII") << withText("ДДДДДД\x1f") << false;
    QTest::newRow("broken UTF-8") << withText("\xd0") << false;
    QTest::newRow("overlong UTF-8") << withText("\xc0\xaf") << false;
    QTest::newRow("encoded surrogate") << withText("\xed\xa0\x80") << false;

    QTest::newRow("fewest fields") << QByteArray(R"({"version":1,"ending":"closed"})") << true;
    QTest::newRow("spaces between") << QByteArray(" { \"version\" : 1 ,\t\"ending\" : \"closed\" , \"questions\" : [ ] } ")
                                    << true;
    QTest::newRow("no version") << QByteArray(R"({"ending":"closed"})") << false;
    QTest::newRow("version 0") << QByteArray(R"({"version":0,"ending":"closed"})") << false;
    QTest::newRow("no ending") << QByteArray(R"({"version":1})") << false;
    QTest::newRow("unknown ending") << QByteArray(R"({"version":1,"ending":"lost"})") << false;
    QTest::newRow("unknown verdict") << QByteArray(R"({"version":1,"ending":"closed","verdict":"maybe"})") << true;
    QTest::newRow("version as a fraction") << QByteArray(R"({"version":1.0,"ending":"closed"})") << false;
    QTest::newRow("version with an exponent") << QByteArray(R"({"version":1e0,"ending":"closed"})") << false;
    QTest::newRow("version as text") << QByteArray(R"({"version":"1","ending":"closed"})") << false;
    QTest::newRow("huge number") << QByteArray(R"({"version":12345678901,"ending":"closed"})") << false;
    QTest::newRow("seconds null") << QByteArray(R"({"version":1,"ending":"closed","questions":[{"number":2,"seconds":null}]})") << true;
    QTest::newRow("seconds fraction") << QByteArray(R"({"version":1,"ending":"closed","questions":[{"number":2,"seconds":1.5}]})") << false;
    QTest::newRow("question number 0") << QByteArray(R"({"version":1,"ending":"closed","questions":[{"number":0}]})") << false;
    QTest::newRow("ticket as a number") << QByteArray(R"({"version":1,"ending":"closed","ticket":5})") << false;
    QTest::newRow("timer flag as a number") << QByteArray(R"({"version":1,"ending":"closed","timer":{"ticket":1}})") << false;
    QTest::newRow("a field twice") << QByteArray(R"({"version":1,"ending":"closed","ticket":"1","ticket":"2"})") << false;
    QTest::newRow("unknown field") << QByteArray(R"({"version":2,"ending":"closed","room":"204"})") << false;
    QTest::newRow("escaped name of a known field")
        << QByteArray(R"({"version":1,"ending":"closed","ticke\u0074":"2"})") << false;
    QTest::newRow("long name of a known field, escaped far in")
        << QByteArray(R"({"version":1,"ending":"closed","question_coun\u0074":"5"})") << false;
    QTest::newRow("long name beyond ASCII far in")
        << QByteArray(R"({"version":1,"ending":"closed","questions_Ж":[]})") << false;
    QTest::newRow("name beyond ASCII") << QByteArray(R"({"version":1,"ending":"closed","билет":"2"})") << false;
    QTest::newRow("raw control character in a name") << QByteArray("{\"version\":1,\"ending\":\"closed\",\"a\tb\":1}") << false;
    QTest::newRow("unknown field of the exam") << QByteArray(R"({"version":1,"ending":"closed","exam":{"folder":"a","id":3}})") << false;
    QTest::newRow("cut short") << good.left(good.size() / 2) << false;
    QTest::newRow("text after the object") << good + " x" << false;
    QTest::newRow("trailing comma") << QByteArray(R"({"version":1,"ending":"closed",})") << false;
    QTest::newRow("array") << QByteArray("[1]") << false;

    // Times: the forms the journal writes are read directly, any other by Qt, alike.
    const auto withStart = [](const char *start) {
        return QByteArray(R"({"version":1,"ending":"closed","start":"%1"})").replace("%1", start);
    };
    QTest::newRow("start with an offset") << withStart("2026-12-01T10:00:05+03:00") << true;
    QTest::newRow("start west of UTC") << withStart("2026-12-01T23:59:59-05:30") << true;
    QTest::newRow("start in UTC") << withStart("2026-12-01T10:00:00Z") << true;
    QTest::newRow("start with a zero offset") << withStart("2026-12-01T10:00:00+00:00") << true;
    QTest::newRow("start with milliseconds") << withStart("2026-12-01T10:00:00.250+03:00") << true;
    QTest::newRow("start at 24 o'clock") << withStart("2026-12-01T24:00:00+03:00") << true;
    QTest::newRow("start on no day") << withStart("2026-02-30T10:00:00+03:00") << true;
    QTest::newRow("start without a zone") << withStart("2026-12-01T10:00:00") << true;
    QTest::newRow("start with letters") << withStart("2026-12-0xT10:00:00+03:00") << true;
}

void AttemptsTest::scannerReadsAsTheDocumentReader()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, scanned);

    const std::optional<Attempt> document = AttemptsJournal::decodeDocument(line);
    const std::optional<Attempt> scan = AttemptsJournal::scan(line);
    QCOMPARE(scan.has_value(), scanned);
    if (scan) {
        QCOMPARE(scan, document);
        // Equal times may still differ in their zone, which the results show.
        QCOMPARE(scan->start.isValid(), document->start.isValid());
        QCOMPARE(scan->start.timeSpec(), document->start.timeSpec());
        QCOMPARE(scan->start.offsetFromUtc(), document->start.offsetFromUtc());
        QCOMPARE(scan->start.toString(Qt::ISODateWithMs), document->start.toString(Qt::ISODateWithMs));
    }
    QCOMPARE(AttemptsJournal::decode(line), document);

    // Read again after other lines, the texts the scanner keeps from them change nothing.
    const QByteArray other = AttemptsJournal::encode(someAttempt(3));
    const AttemptsJournal::Reading reading = AttemptsJournal::read(other + "\n" + line + "\n" + line);
    QCOMPARE(reading.attempts.size(), document ? 3 : 1);
    if (document) {
        QCOMPARE(reading.attempts.at(1), *document);
        QCOMPARE(reading.attempts.at(2), *document);
    }
}

void AttemptsTest::linesAlikeAreReadEachAsItself_data()
{
    // Lines in turn, read as one journal: each must read as it would alone, however much of
    // it has the bytes of the line before at the same place.
    QTest::addColumn<QList<QByteArray>>("lines");

    const auto question = [](const char *fields) {
        return QByteArray(R"({"version":1,"ending":"closed","questions":[{"number":1,%1}]})").replace("%1", fields);
    };
    QTest::newRow("a longer text")
        << QList<QByteArray>{question(R"("text":"Да")"), question(R"("text":"Да, конечно")")};
    QTest::newRow("a shorter text")
        << QList<QByteArray>{question(R"("text":"Да, конечно")"), question(R"("text":"Да")")};
    // Damaged: the text ends at the second quote, and the third begins no field.
    QTest::newRow("the same bytes and one more, then no quote")
        << QList<QByteArray>{question(R"("chosen":"x","correct":"y")"), question(R"("chosen":"xz,"correct":"y")")};
    QTest::newRow("answers in turn")
        << QList<QByteArray>{question(R"("chosen":"Да","offered":["Да","Нет"])"),
                             question(R"("chosen":"Нет","offered":["Нет","Да"])"),
                             question(R"("chosen":"Да","offered":["Да","Нет"])"),
                             question(R"("chosen":"Нет","offered":["Нет","Да"])"),
                             question(R"("chosen":"","offered":[])"), question(R"("chosen":"Да","offered":["Да","Нет"])")};
    QTest::newRow("the bytes of the line before the last and one more")
        << QList<QByteArray>{question(R"("chosen":"x","correct":"y")"), question(R"("chosen":"w","correct":"y")"),
                             question(R"("chosen":"xz,"correct":"y")")};
    QTest::newRow("an escaped quote after the same bytes")
        << QList<QByteArray>{question(R"("text":"Да")"), question(R"("text":"Да\" нет")")};
    QTest::newRow("an escaped backslash before the quote")
        << QList<QByteArray>{question(R"("text":"Да\\")"), question(R"("text":"Да\\\\")"),
                             question(R"("text":"Да\\")")};
    QTest::newRow("more offered answers")
        << QList<QByteArray>{question(R"("offered":["a","b"])"), question(R"("offered":["a","b","c"])")};
    QTest::newRow("fewer offered answers")
        << QList<QByteArray>{question(R"("offered":["a","b","c"])"), question(R"("offered":["a","b"])")};
    QTest::newRow("offered answers, then texts at their places")
        << QList<QByteArray>{question(R"("offered":["a","b"],"text":"c")"),
                             question(R"("chosen":"a","correct":"b","text":"b")")};
    QTest::newRow("the same bytes in another field")
        << QList<QByteArray>{question(R"("chosen":"x","correct":"y")"), question(R"("correct":"x","text":"y")")};
    QTest::newRow("the same list as data of the student")
        << QList<QByteArray>{question(R"("offered":["a","b","c"])"),
                             QByteArray(R"({"version":1,"ending":"closed","student":{"data":["a","b","c"]}})")};
    QTest::newRow("a damaged line between")
        << QList<QByteArray>{question(R"("offered":["a","b"],"text":"Да")"),
                             question("\"offered\":[\"a\",\"b\"],\"text\":\"\xd0\""),
                             question(R"("offered":["a","b"],"text":"Да")")};
    QTest::newRow("a line cut short in a list")
        << QList<QByteArray>{question(R"("offered":["a","b"])"), QByteArray(R"({"version":1,"ending":"closed","questions":[{"number":1,"offered":["a",)"),
                             question(R"("offered":["a","b"])")};
    QTest::newRow("attempts as written")
        << QList<QByteArray>{AttemptsJournal::encode(someAttempt(1)), AttemptsJournal::encode(someAttempt(2)),
                             AttemptsJournal::encode(someAttempt(1))};
}

void AttemptsTest::linesAlikeAreReadEachAsItself()
{
    QFETCH(QList<QByteArray>, lines);

    const AttemptsJournal::Reading reading = AttemptsJournal::read(lines.join('\n'));
    qsizetype attempt = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<Attempt> alone = AttemptsJournal::decodeDocument(lines.at(i));
        if (alone) {
            QVERIFY(attempt < reading.attempts.size());
            QCOMPARE(reading.lines.at(attempt), i + 1);
            QCOMPARE(reading.attempts.at(attempt), *alone);
            ++attempt;
        }
    }
    QCOMPARE(reading.attempts.size(), attempt);
    QCOMPARE(reading.damaged.size(), lines.size() - attempt);
}

void AttemptsTest::appendSyncsUnderTheLock()
{
    QTemporaryDir dir;
    const QString path = ProgramPaths(dir.path()).attemptsJournal();
    QVERIFY(AttemptsJournal::append(path, someAttempt(1)));
    // A workstation that died half way through its line.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(AttemptsJournal::encode(someAttempt(2)).left(40));
    file.close();

    AnsiText::Faults::watch();
    FileError error;
    QVERIFY(AttemptsJournal::append(path, someAttempt(3), &error));
    QCOMPARE(AnsiText::Faults::events(), (QStringList{u"write "_s + path, u"sync "_s + path, u"unlock "_s + path}));
    AnsiText::Faults::cutPower();
    AnsiText::Faults::clear();
    QVERIFY(!QFileInfo::exists(path + u".lock"_s));

    const AttemptsJournal::Reading reading = *AttemptsJournal::readFile(path);
    QCOMPARE(reading.attempts.size(), 2);
    QCOMPARE(reading.attempts[1].ticket, u"3"_s);
    QCOMPARE(reading.damaged.size(), 1);
    QCOMPARE(reading.damaged[0].line, 2);

    // A failed sync is no saved attempt: the bytes are taken back.
    const QByteArray before = *AnsiText::readBytes(path);
    AnsiText::Faults::failSync();
    QVERIFY(!AttemptsJournal::append(path, someAttempt(4), &error));
    QCOMPARE(*AnsiText::readBytes(path), before);
}

QTEST_GUILESS_MAIN(AttemptsTest)
#include "tst_attempts.moc"
