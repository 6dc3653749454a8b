#include "core/exam/ticket_journal.h"
#include "core/lab/lab_monitor.h"
#include "core/lab/lab_table_model.h"
#include "core/program/program_paths.h"
#include "core/reports/attempts_journal.h"
#include "support/program_folder.h"
#include "support/ticket_steps.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Noon(QDate(2026, 12, 9), QTime(12, 0));

// A lab: a program folder with an exam of one ticket of five questions ("Да" is right) and
// the journals of its workstations, written by the program's own journal writer.
struct Lab
{
    ProgramFolder folder;
    TicketRun::Setup setup;

    Lab()
    {
        setup.examFolder = makeExam(folder, u"Экзамен"_s, 1, 5);
        setup.ticketNumber = u"1"_s;
        setup.questionCount = u"5"_s;
        setup.passScore = u"4"_s;
        QDir().mkpath(folder.path(u"s"_s));
    }

    QString journal(const QString &host) const { return folder.path(u"s/ticket-"_s + host + u".journal"_s); }

    TicketJournal::Record record(const QString &student, const QString &steps, bool ticketTimer = false) const
    {
        TicketRun::Setup timed = setup;
        timed.ticketTimer = ticketTimer;
        TicketRun run(timed);
        run.start();
        play(run, steps);
        TicketJournal::Record record;
        record.student.name = student;
        record.ticketNumber = u"1"_s;
        record.ticketFolderName = u"b1"_s;
        record.examTitle = u"Экзамен"_s;
        record.setup = timed;
        record.state = run.state();
        return record;
    }

    // Writes the journal of a workstation as last written at `written`.
    void write(const QString &host, const TicketJournal::Record &record, const QDateTime &written) const
    {
        QVERIFY(TicketJournal::write(journal(host), record));
        QFile file(journal(host));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
};

// The attempt of a ticket of five questions that ended on a workstation at `end`.
Attempt endedAttempt(const QString &workstation, const QDateTime &end, Attempt::Ending ending, bool saved,
                     const QString &marks)
{
    Attempt attempt;
    attempt.workstation = workstation;
    attempt.end = end;
    attempt.start = end.addSecs(-600);
    attempt.ending = ending;
    attempt.savedToReport = saved;
    attempt.student.name = u"Ученик "_s + workstation;
    attempt.examTitle = u"Экзамен"_s;
    attempt.ticketFolder = u"b1"_s;
    for (int n = 1; n <= 5; ++n) {
        Attempt::Question question;
        question.number = n;
        question.mark = n <= marks.size() ? QString(marks.at(n - 1)) : u"0"_s;
        question.offered = question.mark == u"0"_s ? QStringList() : QStringList{u"Да"_s, u"Нет"_s};
        attempt.questions << question;
    }
    if (ending == Attempt::Ending::Graded) {
        attempt.grade = u"4"_s;
        attempt.verdict = Verdict::Passed;
    }
    return attempt;
}

const LabMonitor::Row *rowOf(const LabMonitor &monitor, const QString &workstation)
{
    for (const LabMonitor::Row &row : monitor.rows()) {
        if (row.workstation == workstation)
            return &row;
    }
    return nullptr;
}

} // namespace

class LabMonitorTest : public QObject
{
    Q_OBJECT

private slots:
    void states_data();
    void states();
    void endedTicketsStayForTheDay();
    void attemptsTellTheEndedTickets();
    void damagedAndReplacedJournals();
    void fortyWorkstationsReadOnlyWhatChanged();
    void tableSortsAndFilters();
};

void LabMonitorTest::states_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("ticketTimer");
    QTest::addColumn<int>("silentSeconds");
    QTest::addColumn<LabMonitor::State>("state");
    QTest::addColumn<int>("reached");
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<int>("secondsLeft");

    using State = LabMonitor::State;
    QTest::newRow("just started") << QString() << false << 0 << State::Answering << 1 << QList<int>{0, 0, 5} << -1;
    QTest::newRow("two answered") << u"RW"_s << false << 60 << State::Answering << 3 << QList<int>{1, 1, 3} << -1;
    QTest::newRow("stopped answering") << u"R"_s << false << 5 * 60 + 1 << State::Idle << 2 << QList<int>{1, 0, 4}
                                       << -1;
    QTest::newRow("graded") << u"RRWRRE"_s << false << 600 << State::Graded << 5 << QList<int>{4, 1, 0} << -1;
    QTest::newRow("timed, kept") << u"RTTTT"_s << true << 10 << State::Answering << 2 << QList<int>{1, 0, 4}
                                 << 60 - 4 - 10;
    QTest::newRow("timed, its program gone") << u"R"_s << true << 31 << State::Abandoned << 2
                                             << QList<int>{1, 0, 4} << 60 - 31;
    QTest::newRow("timed, long gone") << u"R"_s << true << 600 << State::Abandoned << 2 << QList<int>{1, 0, 4} << 0;
}

void LabMonitorTest::states()
{
    QFETCH(QString, steps);
    QFETCH(bool, ticketTimer);
    QFETCH(int, silentSeconds);
    QFETCH(LabMonitor::State, state);
    QFETCH(int, reached);
    QFETCH(QList<int>, marks);
    QFETCH(int, secondsLeft);

    const Lab lab;
    const LabMonitor::Row row = LabMonitor::rowOf(lab.record(u"Иванов"_s, steps, ticketTimer), Noon,
                                                  Noon.addSecs(silentSeconds), LabMonitor::DefaultIdleMinutes);
    QCOMPARE(row.state, state);
    QCOMPARE(row.student, u"Иванов"_s);
    QCOMPARE(row.exam, u"Экзамен"_s);
    QCOMPARE(row.ticket, u"b1"_s);
    QCOMPARE(row.reached, reached);
    QCOMPARE(row.questions, 5);
    QCOMPARE((QList<int>{row.right, row.wrong, row.unanswered}), marks);
    QCOMPARE(row.secondsLeft, secondsLeft);
    QCOMPARE(row.lastActivity, Noon);
}

// A journal is removed when its ticket ends: after a grade the row says saved, without one
// abandoned; it stays until the day is over.
void LabMonitorTest::endedTicketsStayForTheDay()
{
    const Lab lab;
    lab.write(u"pc1"_s, lab.record(u"Первый"_s, u"RRRRRE"_s), Noon);
    lab.write(u"pc2"_s, lab.record(u"Второй"_s, u"R"_s), Noon);
    QDateTime now = Noon;
    LabMonitor monitor(lab.folder.path(u"s"_s));
    monitor.setClock([&now] { return now; });
    QSignalSpy changed(&monitor, &LabMonitor::rowsChanged);
    QCOMPARE(monitor.refresh(), 2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->state, LabMonitor::State::Graded);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Answering);

    QVERIFY(QFile::remove(lab.journal(u"pc1"_s)));
    QVERIFY(QFile::remove(lab.journal(u"pc2"_s)));
    now = Noon.addSecs(60);
    QCOMPARE(monitor.refresh(), 0);
    QCOMPARE(monitor.rows().size(), 2);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->state, LabMonitor::State::Saved);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->grade, u"5"_s);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->lastActivity, now);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Abandoned);

    // The next student on the workstation takes the row over.
    lab.write(u"pc1"_s, lab.record(u"Третий"_s, QString()), now);
    monitor.refresh();
    QCOMPARE(rowOf(monitor, u"pc1"_s)->student, u"Третий"_s);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->state, LabMonitor::State::Answering);

    now = QDateTime(Noon.date().addDays(1), QTime(8, 0));
    monitor.refresh();
    QCOMPARE(monitor.rows().size(), 1);
    QCOMPARE(monitor.rows().first().workstation, u"pc1"_s);
}

void LabMonitorTest::attemptsTellTheEndedTickets()
{
    // Tickets that ended before the monitor looked come from the attempts journal, which also
    // tells a saved record from one left out of the report.
    const Lab lab;
    const QString attempts = ProgramPaths(lab.folder.path()).attemptsJournal();
    using Ending = Attempt::Ending;
    for (const Attempt &attempt :
         {endedAttempt(u"pc1"_s, Noon.addSecs(-3600), Ending::Graded, true, u"55525"_s),
          endedAttempt(u"pc2"_s, Noon.addSecs(-1800), Ending::Graded, false, u"5552"_s),
          endedAttempt(u"pc3"_s, Noon.addSecs(-900), Ending::Abandoned, false, u"5"_s),
          endedAttempt(u"pc4"_s, Noon.addDays(-1), Ending::Graded, true, u"55555"_s),
          endedAttempt(u"pc5"_s, Noon.addSecs(-7200), Ending::Graded, true, u"55555"_s)})
        QVERIFY(AttemptsJournal::append(attempts, attempt));
    // The next student of pc5 is at work.
    lab.write(u"pc5"_s, lab.record(u"Пятый"_s, u"R"_s), Noon);
    QDateTime now = Noon;
    LabMonitor monitor(lab.folder.path(u"s"_s));
    monitor.setClock([&now] { return now; });
    QCOMPARE(monitor.refresh(), 2);
    QCOMPARE(monitor.rows().size(), 4);
    QVERIFY(!rowOf(monitor, u"pc4"_s));
    const LabMonitor::Row *saved = rowOf(monitor, u"pc1"_s);
    QCOMPARE(saved->state, LabMonitor::State::Saved);
    QCOMPARE(saved->student, u"Ученик pc1"_s);
    QCOMPARE(saved->right, 4);
    QCOMPARE(saved->wrong, 1);
    QCOMPARE(saved->grade, u"4"_s);
    QCOMPARE(saved->lastActivity, Noon.addSecs(-3600));
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Graded);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->unanswered, 1);
    QCOMPARE(rowOf(monitor, u"pc3"_s)->state, LabMonitor::State::Abandoned);
    QCOMPARE(rowOf(monitor, u"pc5"_s)->student, u"Пятый"_s);
    QCOMPARE(rowOf(monitor, u"pc5"_s)->state, LabMonitor::State::Answering);
    QCOMPARE(monitor.refresh(), 0);

    // pc5's ticket ends and is saved: its journal goes and its attempt is written.
    now = Noon.addSecs(30);
    QVERIFY(QFile::remove(lab.journal(u"pc5"_s)));
    QVERIFY(AttemptsJournal::append(attempts, endedAttempt(u"pc5"_s, now, Ending::Graded, true, u"52555"_s)));
    QCOMPARE(monitor.refresh(), 1);
    QCOMPARE(rowOf(monitor, u"pc5"_s)->state, LabMonitor::State::Saved);
    QCOMPARE(rowOf(monitor, u"pc5"_s)->wrong, 1);
    QCOMPARE(monitor.rows().size(), 4);
}

void LabMonitorTest::damagedAndReplacedJournals()
{
    const Lab lab;
    lab.write(u"pc1"_s, lab.record(u"Первый"_s, u"R"_s), Noon);
    lab.folder.writeBytes(u"s/ticket-pc2.journal"_s, "TAVRING-TICKET-JOURNAL 1 0000\n{}"_ba);
    // A journal set aside and other files of the folder are no workstation's.
    lab.folder.writeBytes(u"s/ticket-pc3.journal.20261209-110000"_s, "x"_ba);
    lab.folder.writeBytes(u"s/ticket-pc1.journal.lock"_s, "1"_ba);
    QDateTime now = Noon;
    LabMonitor monitor(lab.folder.path(u"s"_s));
    monitor.setClock([&now] { return now; });
    QCOMPARE(monitor.refresh(), 2);
    QCOMPARE(monitor.rows().size(), 2);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Damaged);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->reached, 2);

    // Replaced whole by the next step: the row follows; the damaged one is not read again.
    lab.write(u"pc1"_s, lab.record(u"Первый"_s, u"RW"_s), Noon.addSecs(5));
    QCOMPARE(monitor.refresh(), 1);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->reached, 3);
    QCOMPARE(rowOf(monitor, u"pc1"_s)->wrong, 1);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Damaged);

    // Mended by a rewrite: read again.
    lab.write(u"pc2"_s, lab.record(u"Второй"_s, QString()), Noon.addSecs(6));
    QCOMPARE(monitor.refresh(), 1);
    QCOMPARE(rowOf(monitor, u"pc2"_s)->state, LabMonitor::State::Answering);
    QCOMPARE(LabMonitor::workstationOf(u"ticket.journal"_s), QString());
}

void LabMonitorTest::fortyWorkstationsReadOnlyWhatChanged()
{
    const Lab lab;
    const TicketJournal::Record record = lab.record(u"Студент"_s, u"RWR"_s, true);
    for (int n = 1; n <= 40; ++n)
        lab.write(u"pc"_s + QString::number(n), record, Noon);
    QDateTime now = Noon.addSecs(5);
    LabMonitor monitor(lab.folder.path(u"s"_s));
    monitor.setClock([&now] { return now; });

    QElapsedTimer cycle;
    cycle.start();
    QCOMPARE(monitor.refresh(), 40);
    QVERIFY2(cycle.elapsed() < 50, qPrintable(u"first cycle %1 ms"_s.arg(cycle.elapsed())));
    QCOMPARE(monitor.rows().size(), 40);

    cycle.restart();
    QCOMPARE(monitor.refresh(), 0);
    QVERIFY2(cycle.elapsed() < 50, qPrintable(u"unchanged cycle %1 ms"_s.arg(cycle.elapsed())));

    lab.write(u"pc17"_s, lab.record(u"Студент"_s, u"RWRR"_s, true), Noon.addSecs(4));
    cycle.restart();
    QCOMPARE(monitor.refresh(), 1);
    QVERIFY(cycle.elapsed() < 50);
    QCOMPARE(rowOf(monitor, u"pc17"_s)->reached, 5);
}

void LabMonitorTest::tableSortsAndFilters()
{
    const Lab lab;
    lab.write(u"pc1"_s, lab.record(u"Борисов"_s, u"RR"_s), Noon);
    lab.write(u"pc2"_s, lab.record(u"Андреев"_s, u"RRRRRE"_s), Noon);
    lab.write(u"pc3"_s, lab.record(u"Васильев"_s, QString()), Noon.addSecs(-600));
    LabMonitor monitor(lab.folder.path(u"s"_s));
    monitor.setClock([] { return Noon; });
    LabTableModel table(monitor);
    monitor.refresh();
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.data(table.index(0, LabTableModel::Question)).toString(), u"3 / 5"_s);
    QCOMPARE(table.data(table.index(0, LabTableModel::StateColumn)).toString(), u"Отвечает"_s);
    QCOMPARE(table.data(table.index(2, LabTableModel::StateColumn)).toString(), u"Не отвечает более 5 мин"_s);
    QVERIFY(table.data(table.index(2, 0), LabTableModel::AttentionRole).toBool());
    table.setLanguage(u"eng"_s);
    QCOMPARE(table.headerData(LabTableModel::Student, Qt::Horizontal).toString(), u"Student"_s);
    QCOMPARE(table.data(table.index(1, LabTableModel::StateColumn)).toString(), u"Graded"_s);

    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&table);
    proxy.setSortRole(Qt::EditRole);
    proxy.sort(LabTableModel::Question, Qt::DescendingOrder);
    QCOMPARE(proxy.data(proxy.index(0, LabTableModel::Student)).toString(), u"Андреев"_s);
    QCOMPARE(proxy.data(proxy.index(2, LabTableModel::Student)).toString(), u"Васильев"_s);
    proxy.setFilterKeyColumn(-1);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy.setFilterFixedString(u"answer"_s);
    QCOMPARE(proxy.rowCount(), 2);
}

QTEST_MAIN(LabMonitorTest)
#include "tst_lab_monitor.moc"
