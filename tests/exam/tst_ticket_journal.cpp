#include "core/exam/ticket_journal.h"
#include "core/exam/ticket_journal_keeper.h"
#include "core/files/ansi_text.h"
#include "support/program_folder.h"
#include "support/ticket_steps.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An exam of one ticket with `questions` complete questions ("Да" is right).
struct Exam
{
    ProgramFolder folder;
    TicketRun::Setup setup;

    explicit Exam(int questions, const QString &count = u"5"_s)
    {
        setup.examFolder = makeExam(folder, u"Экзамен"_s, 1, questions);
        setup.ticketNumber = u"1"_s;
        setup.questionCount = count;
        setup.passScore = u"4"_s;
    }

    QString journal() const { return folder.path(u"s/ticket.journal"_s); }
};

TicketJournal::Record recordOf(const TicketRun &run)
{
    TicketJournal::Record record;
    // Texts a line-based format would trip over.
    record.student = {u"Ф.И.О ,  Данные  Иванов \"И.\"\r\nИ.=1"_s, u"группа; 7"_s, QString(), u"\\n"_s,
                      u"Иванов \"И.\"\r\nИ.=1"_s};
    record.ticketNumber = run.setup().ticketNumber;
    record.ticketFolderName = u"b1"_s;
    record.examTitle = u"Экзамен\r\n"_s;
    record.setup = run.setup();
    record.state = run.state();
    return record;
}

} // namespace

class TicketJournalTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void damaged_data();
    void damaged();
    void stateThatDoesNotFitIsRefused_data();
    void stateThatDoesNotFitIsRefused();
    void keeperWritesEveryStepAndEveryTenSeconds();
    void failedWriteKeepsTheLastJournalAndIsSaidOnce();
    void setAsideKeepsTheFile();
    void lockWithThisProcessNumberIsStale();
    void shuffledOrderIsKept();
};

void TicketJournalTest::roundTrip_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<bool>("ticketTimer");
    QTest::addColumn<bool>("questionTimer");
    QTest::addColumn<QString>("steps");

    QTest::newRow("just opened") << 5 << QString() << false << false << QString();
    QTest::newRow("two answered") << 5 << QString() << false << false << u"RW"_s;
    QTest::newRow("all answered, evaluated") << 5 << QString() << false << false << u"RWRRRE"_s;
    QTest::newRow("ticket timer running") << 5 << QString() << true << false << u"RTTTW"_s;
    QTest::newRow("ticket timer expired") << 3 << QString() << true << false << u"R"_s + QString(60, u'T');
    QTest::newRow("question timer expired") << 3 << QString() << false << true << u"W"_s + QString(60, u'T');
    QTest::newRow("question 3 missing") << 5 << u"v3.txt"_s << false << false << u"RR"_s;
}

void TicketJournalTest::roundTrip()
{
    QFETCH(int, questions);
    QFETCH(QString, missing);
    QFETCH(bool, ticketTimer);
    QFETCH(bool, questionTimer);
    QFETCH(QString, steps);

    Exam exam(questions);
    if (!missing.isEmpty())
        QVERIFY(QFile::remove(exam.setup.examFolder + u"/b1/"_s + missing));
    exam.setup.ticketTimer = ticketTimer;
    exam.setup.questionTimer = questionTimer;
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    play(run, steps);

    const TicketJournal::Record record = recordOf(run);
    QVERIFY(TicketJournal::write(exam.journal(), record));
    const std::optional<TicketJournal::Record> read =
        TicketJournal::decode(AnsiText::readBytes(exam.journal()).value_or(QByteArray()));
    QVERIFY(read);
    QVERIFY(*read == record);
    QVERIFY(TicketJournal::examExists(*read));

    // A new run taken up from it stands where the first one stood and goes on alike.
    TicketRun resumed(read->setup);
    QVERIFY(resumed.resume(read->state));
    QVERIFY(resumed.state() == run.state());
    QCOMPARE(resumed.questionText(), run.questionText());
    QCOMPARE(resumed.answers(), run.answers());
    for (int n = 1; n <= TicketRun::Questions; ++n)
        QCOMPARE(resumed.questionEntry(n), run.questionEntry(n));
    play(run, u"RTE"_s);
    play(resumed, u"RTE"_s);
    QVERIFY(resumed.state() == run.state());
}

void TicketJournalTest::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");

    Exam exam(3);
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    const QByteArray good = TicketJournal::encode(recordOf(run));
    const qsizetype headerEnd = good.indexOf('\n');
    const auto withBody = [&](const QByteArray &body) -> QByteArray {
        const QByteArray sum = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
        return good.left(headerEnd - sum.size()) + sum + '\n' + body;
    };
    QByteArray flipped = good;
    flipped[good.size() - 20] = char(flipped[good.size() - 20] ^ 0x01);
    QByteArray otherVersion = good;
    otherVersion.replace("JOURNAL 1 ", "JOURNAL 9 ");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.left(headerEnd + 1);
    QTest::newRow("cut short") << good.left(good.size() / 2);
    QTest::newRow("one bit changed") << flipped;
    QTest::newRow("another version") << otherVersion;
    QTest::newRow("not json, checksum right") << withBody("not json");
    QTest::newRow("a field missing, checksum right")
        << withBody(good.mid(headerEnd + 1).replace("\"answerable\"", "\"answerabl\""));
    QTest::newRow("a field of another type, checksum right")
        << withBody(good.mid(headerEnd + 1).replace("\"current\": 1", "\"current\": \"1\""));
    QTest::newRow("unknown verdict, checksum right")
        << withBody(good.mid(headerEnd + 1).replace("\"verdict\": \"none\"", "\"verdict\": \"maybe\""));
    QTest::newRow("countdown out of range, checksum right")
        << withBody(good.mid(headerEnd + 1).replace("\"countdown\": 0", "\"countdown\": 40000"));
}

void TicketJournalTest::damaged()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!TicketJournal::decode(bytes));
}

void TicketJournalTest::stateThatDoesNotFitIsRefused_data()
{
    QTest::addColumn<QString>("change");

    QTest::newRow("a mark that is none") << u"mark"_s;
    QTest::newRow("an answered question beyond the ticket") << u"beyond"_s;
    QTest::newRow("a text for an unanswered question") << u"text"_s;
    QTest::newRow("a timer the ticket does not have") << u"timer"_s;
    QTest::newRow("the open question's file gone") << u"file"_s;
}

void TicketJournalTest::stateThatDoesNotFitIsRefused()
{
    QFETCH(QString, change);

    Exam exam(3);
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    play(run, u"R"_s);
    TicketRun::State state = run.state();
    if (change == u"mark"_s)
        state.marks[1] = u"4"_s;
    else if (change == u"beyond"_s)
        state.marks[5] = u"5"_s;
    else if (change == u"text"_s)
        state.answeredTexts[2] = u"Вопрос"_s;
    else if (change == u"timer"_s)
        state.ticketTimerRunning = true;
    else
        QVERIFY(QFile::remove(exam.setup.examFolder + u"/b1/q2.txt"_s));
    TicketRun resumed(exam.setup);
    QVERIFY(!resumed.resume(state));
}

void TicketJournalTest::keeperWritesEveryStepAndEveryTenSeconds()
{
    Exam exam(3);
    exam.setup.ticketTimer = true;
    exam.setup.countdownSeconds = 60;
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    const auto journaled = [&] {
        const auto record = TicketJournal::decode(AnsiText::readBytes(exam.journal()).value_or(QByteArray()));
        return record ? record->state : TicketRun::State();
    };
    TicketJournalKeeper keeper(exam.journal(), recordOf(run), run);
    keeper.keep();
    QCOMPARE(journaled().countdown, 60);

    for (int second = 1; second < TicketJournalKeeper::SecondsBetweenWrites; ++second)
        run.tickTicketTimer();
    QCOMPARE(journaled().countdown, 60);
    run.tickTicketTimer();
    QCOMPARE(journaled().countdown, 50);

    // An answer is written at once, whatever the countdown.
    run.tickTicketTimer();
    play(run, u"W"_s);
    QVERIFY(journaled() == run.state());
    QCOMPARE(journaled().marks[0], u"2"_s);
    QCOMPARE(journaled().current, 2);

    // So is the expiry of the timer.
    for (int second = run.countdown(); second > 1; --second)
        run.tickTicketTimer();
    QVERIFY(journaled().countdown > 1);
    run.tickTicketTimer();
    QVERIFY(journaled() == run.state());
    QCOMPARE(journaled().verdict, Verdict::FailedOnTime);
}

void TicketJournalTest::failedWriteKeepsTheLastJournalAndIsSaidOnce()
{
    Exam exam(3);
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    TicketJournalKeeper keeper(exam.journal(), recordOf(run), run);
    keeper.keep();
    QSignalSpy failures(&keeper, &TicketJournalKeeper::writeFailed);
    const QByteArray opened = AnsiText::readBytes(exam.journal()).value_or(QByteArray());

    AnsiText::Faults::failRename();
    run.choose(u"Да"_s);
    AnsiText::Faults::failWriteAfter(10);
    QCOMPARE(run.open(2), TicketRun::Opening::Opened);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.at(0).at(0).value<FileError>().path(), exam.journal());
    QCOMPARE(failures.at(0).at(0).value<FileError>().kind(), FileError::Kind::AccessDenied);
    QCOMPARE(AnsiText::readBytes(exam.journal()).value_or(QByteArray()), opened);

    // The next step that can be written brings the journal up to date.
    play(run, u"E"_s);
    QCOMPARE(TicketJournal::decode(AnsiText::readBytes(exam.journal()).value_or(QByteArray()))->state.current, 2);
    QCOMPARE(failures.size(), 1);
}

void TicketJournalTest::setAsideKeepsTheFile()
{
    Exam exam(1);
    const QDateTime when(QDate(2026, 12, 8), QTime(10, 30, 15));
    QVERIFY(AnsiText::writeBytes(exam.journal(), "first"));
    const QString first = TicketJournal::setAside(exam.journal(), when);
    QCOMPARE(first, exam.journal() + u".20261208-103015"_s);
    QVERIFY(AnsiText::writeBytes(exam.journal(), "second"));
    const QString second = TicketJournal::setAside(exam.journal(), when);
    QCOMPARE(second, exam.journal() + u".20261208-103015-2"_s);
    QVERIFY(!QFileInfo::exists(exam.journal()));
    QCOMPARE(AnsiText::readBytes(first).value_or(QByteArray()), QByteArray("first"));
    QCOMPARE(AnsiText::readBytes(second).value_or(QByteArray()), QByteArray("second"));
}

void TicketJournalTest::lockWithThisProcessNumberIsStale()
{
    // After a power cut the new run may get the process number of the run that left the lock.
    Exam exam(1);
    const QString lockPath = exam.journal() + u".lock"_s;
    QVERIFY(AnsiText::writeBytes(lockPath, SharedLock::ownerText()));
    const std::unique_ptr<SharedLock> lock = TicketJournal::journalLock(exam.journal());
    QVERIFY(lock->tryLock());
    // While this process holds it, the same number is a running owner's.
    QVERIFY(!TicketJournal::journalLock(exam.journal())->tryLock());
    lock->unlock();
    QVERIFY(!QFileInfo::exists(lockPath));
}

QTEST_GUILESS_MAIN(TicketJournalTest)
// A shuffled ticket is written in the second version with each question's order and taken up
// in that order whatever numbers come next; an unshuffled one stays in the first, as before.
void TicketJournalTest::shuffledOrderIsKept()
{
    Exam exam(3);
    TicketRun plain(exam.setup);
    plain.setRandomSource([] { return 0.0; });
    QVERIFY(plain.start());
    const QByteArray plainBytes = TicketJournal::encode(recordOf(plain));
    QVERIFY(plainBytes.startsWith("TAVRING-TICKET-JOURNAL 1 "));
    QVERIFY(!plainBytes.contains("order"));
    QVERIFY(!plainBytes.contains("shuffle"));

    exam.setup.shuffleAnswers = true;
    TicketRun run(exam.setup);
    run.setRandomSource([] { return 0.0; });
    QVERIFY(run.start());
    play(run, u"R"_s);
    const QStringList shown = {u"Нет"_s, u"Не знаю"_s, u"Да"_s};
    QCOMPARE(run.answers().toStringList(), shown);
    QCOMPARE(run.mark(1), u"5"_s);

    const TicketJournal::Record record = recordOf(run);
    QVERIFY(TicketJournal::write(exam.journal(), record));
    const QByteArray bytes = AnsiText::readBytes(exam.journal()).value_or(QByteArray());
    QVERIFY(bytes.startsWith("TAVRING-TICKET-JOURNAL 2 "));
    const std::optional<TicketJournal::Record> read = TicketJournal::decode(bytes);
    QVERIFY(read);
    QVERIFY(*read == record);
    QVERIFY(read->setup.shuffleAnswers);
    QCOMPARE(read->state.answerOrders[1], (QList<int>{1, 2, 0}));

    TicketRun resumed(read->setup);
    resumed.setRandomSource([] { return 0.99; });
    QVERIFY(resumed.resume(read->state));
    QCOMPARE(resumed.answers().toStringList(), shown);
    QVERIFY(resumed.state() == run.state());

    // An order that is not a list of places makes the journal damaged.
    const qsizetype headerEnd = bytes.indexOf('\n');
    QByteArray body = bytes.mid(headerEnd + 1);
    QVERIFY(body.contains("1,\n"));
    body.replace("1,\n", "\"1\",\n");
    const QByteArray sum = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    QVERIFY(!TicketJournal::decode("TAVRING-TICKET-JOURNAL 2 "_ba + sum + '\n' + body));
}

#include "tst_ticket_journal.moc"
