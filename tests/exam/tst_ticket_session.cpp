#include "core/exam/ticket_session.h"
#include "core/files/ansi_text.h"
#include "core/program/settings_record.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"
#include "support/program_folder.h"
#include "support/ticket_desk.h"
#include "support/ticket_steps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Now(QDate(2026, 12, 8), QTime(10, 30, 15));

using Desk = TicketDesk;

// The sheet the evaluation window makes of an outcome.
ExamRecord recordOf(const TicketOutcome &outcome, const Student &student, const QString &language)
{
    ExamRecord record;
    record.language = language;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    record.student = student.line;
    record.ticket = outcome.ticketLine;
    record.marks = outcome.marks;
    record.verdict = outcome.verdict;
    record.data1 = student.data1;
    return record;
}

} // namespace

class TicketSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void drawToRecord_data();
    void drawToRecord();
    void unreadableFirstQuestionKeepsNoJournal();
    void takeUpAfterACrash_data();
    void takeUpAfterACrash();
    void shuffledTicketTakenUpInItsOrder();
    void setAsideTexts_data();
    void setAsideTexts();
    void discardNote_data();
    void discardNote();
    void journalFailureIsSaidOnce_data();
    void journalFailureIsSaidOnce();
};

void TicketSessionTest::drawToRecord_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("ticketTimer");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("ticketLine");
    QTest::addColumn<int>("readVerdict");

    const QString outOfTime = u"R"_s + QString(60, u'T');
    QTest::newRow("rus passed") << u"rus"_s << false << u"RRRRWE"_s << u"55552"_s << u"4.4"_s << Verdict::Passed
                                << u"Билет № b1"_s << int(RecordedVerdict::Passed);
    QTest::newRow("eng failed") << u"eng"_s << false << u"RWWE"_s << u"52200"_s << u"1.8"_s << Verdict::Failed
                                << u"Ticket № b1"_s << int(RecordedVerdict::Failed);
    QTest::newRow("rus out of time") << u"rus"_s << true << outOfTime << u"50000"_s << QString()
                                     << Verdict::FailedOnTime << u"Билет № b1"_s << int(RecordedVerdict::FailedOnTime);
    QTest::newRow("eng not evaluated") << u"eng"_s << false << u"RR"_s << u"55000"_s << QString() << Verdict::None
                                       << u"Ticket № b1"_s << int(RecordedVerdict::None);
    // Another language has no ticket line and writes no verdict; the value is still there.
    QTest::newRow("other language") << u"deu"_s << false << u"RRRRRE"_s << u"55555"_s << u"5"_s << Verdict::Passed
                                    << QString() << int(RecordedVerdict::None);
}

void TicketSessionTest::drawToRecord()
{
    QFETCH(QString, language);
    QFETCH(bool, ticketTimer);
    QFETCH(QString, steps);
    QFETCH(QString, marks);
    QFETCH(QString, grade);
    QFETCH(Verdict, verdict);
    QFETCH(QString, ticketLine);
    QFETCH(int, readVerdict);

    Desk desk(language);
    desk.settings.setTicketTimer(ticketTimer);
    TicketSession session(desk.paths, language, desk.drawn(), TicketSession::Origin::Drawn);
    QVERIFY(!session.isResumed());
    QVERIFY(session.begin());
    QVERIFY(desk.hasJournal());
    play(session.run(), steps);

    const TicketOutcome outcome = session.outcome();
    QCOMPARE(outcome.marks.size(), TicketRun::Questions);
    QCOMPARE(outcome.marks.mid(0, 5).join(QString()), marks);
    QCOMPARE(outcome.grade, grade);
    QCOMPARE(outcome.verdict, verdict);
    QCOMPARE(outcome.ticketLine, ticketLine);
    // An answered question carries its text, the others their file name.
    QCOMPARE(outcome.questionTexts.value(0), u"Вопрос 1 билета 1\n"_s);
    QCOMPARE(outcome.questionTexts.value(4), marks.at(4) == u'0' ? u"q5.txt"_s : u"Вопрос 5 билета 1\n"_s);

    // The journal stays until the record is written and the ticket ends.
    FileError error;
    QVERIFY2(ExamReport::append(desk.folder.path(), recordOf(outcome, session.student(), language), &error),
             qPrintable(error.systemText()));
    QVERIFY(desk.hasJournal());
    session.end();
    QVERIFY(!desk.hasJournal());

    const std::optional<ExamReportContents> read = ReportReader::readExamReport(desk.folder.readBytes(u"s/oth.txt"_s));
    QVERIFY(read);
    QCOMPARE(read->tickets.size(), 1);
    QCOMPARE(int(read->tickets[0].verdictKind), readVerdict);
    QCOMPARE(read->tickets[0].student, u"Иванов"_s);
}

void TicketSessionTest::unreadableFirstQuestionKeepsNoJournal()
{
    Desk desk;
    QVERIFY(QFile::remove(desk.exam + u"/b1/q1.txt"_s));
    TicketSession session(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
    QVERIFY(!session.begin());
    QVERIFY(!desk.hasJournal());
    session.end();
    QVERIFY(!desk.hasJournal());
}

void TicketSessionTest::takeUpAfterACrash_data()
{
    QTest::addColumn<QString>("journal");
    QTest::addColumn<int>("problem");
    QTest::addColumn<bool>("continues");

    const int none = -1;
    QTest::newRow("none") << u"none"_s << none << false;
    QTest::newRow("whole") << u"whole"_s << none << true;
    QTest::newRow("damaged") << u"damaged"_s << int(TicketSession::Problem::Damaged) << false;
    QTest::newRow("exam gone") << u"exam gone"_s << int(TicketSession::Problem::ExamMissing) << false;
    // Found, but its open question can no longer be read when it is continued.
    QTest::newRow("question gone") << u"question gone"_s << int(TicketSession::Problem::QuestionUnreadable) << false;
}

void TicketSessionTest::takeUpAfterACrash()
{
    QFETCH(QString, journal);
    QFETCH(int, problem);
    QFETCH(bool, continues);

    Desk desk;
    TicketOutcome before;
    if (journal != u"none"_s) {
        // The program dies in the middle of question 3: the session never ends.
        auto crashed = std::make_unique<TicketSession>(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
        QVERIFY(crashed->begin());
        play(crashed->run(), u"RW"_s);
        before = crashed->outcome();
        crashed.reset();
        QVERIFY(desk.hasJournal());
    }
    if (journal == u"damaged"_s) {
        QByteArray bytes = desk.folder.readBytes(QDir(desk.folder.path()).relativeFilePath(desk.paths.ticketJournal()));
        bytes[bytes.size() / 2] = bytes[bytes.size() / 2] ^ 1;
        desk.folder.writeBytes(QDir(desk.folder.path()).relativeFilePath(desk.paths.ticketJournal()), bytes);
    } else if (journal == u"exam gone"_s) {
        QVERIFY(QDir(desk.exam).removeRecursively());
    } else if (journal == u"question gone"_s) {
        QVERIFY(QFile::remove(desk.exam + u"/b1/q3.txt"_s));
    }

    const TicketSession::Search found = TicketSession::findUnfinished(desk.paths, Now);
    std::optional<TicketSession::SetAside> setAside = found.setAside;
    if (found.unfinished) {
        QCOMPARE(found.unfinished->student.name, u"Иванов"_s);
        TicketSession resumed(desk.paths, u"rus"_s, *found.unfinished, TicketSession::Origin::Resumed);
        QVERIFY(resumed.isResumed());
        QCOMPARE(resumed.begin(), continues);
        if (continues) {
            const TicketOutcome after = resumed.outcome();
            QCOMPARE(after.marks, before.marks);
            QCOMPARE(after.questionTexts, before.questionTexts);
            QCOMPARE(resumed.run().currentQuestion(), 3);
            resumed.end();
            QVERIFY(!desk.hasJournal());
        } else {
            // Nothing was kept: the journal waits where it was until it is set aside.
            resumed.end();
            QVERIFY(desk.hasJournal());
            setAside = TicketSession::setAside(desk.paths, TicketSession::Problem::QuestionUnreadable, Now);
        }
    }

    QCOMPARE(setAside ? int(setAside->problem) : -1, problem);
    if (setAside) {
        QVERIFY(!desk.hasJournal());
        QCOMPARE(setAside->journal, desk.paths.ticketJournal());
        QCOMPARE(setAside->aside, desk.paths.ticketJournal() + u".20261208-103015"_s);
        QVERIFY(QFileInfo::exists(setAside->aside));
    }
}

// With shuffling on the program dies in the middle of question 3; the ticket taken up shows
// question 3's answers in the order drawn before the crash, whatever numbers come now.
void TicketSessionTest::shuffledTicketTakenUpInItsOrder()
{
    Desk desk;
    desk.settings.setShuffleAnswers(true);
    QStringList shown;
    {
        TicketSession crashed(desk.paths, u"rus"_s, desk.drawn(), TicketSession::Origin::Drawn);
        crashed.run().setRandomSource([] { return 0.0; });
        QVERIFY(crashed.begin());
        play(crashed.run(), u"RW"_s);
        shown = crashed.run().answers().toStringList();
        QCOMPARE(crashed.run().marks().mid(0, 2), (QStringList{u"5"_s, u"2"_s}));
    }
    QCOMPARE(shown, (QStringList{u"Нет"_s, u"Не знаю"_s, u"Да"_s}));
    QVERIFY(desk.folder.readBytes(QDir(desk.folder.path()).relativeFilePath(desk.paths.ticketJournal()))
                .startsWith("TAVRING-TICKET-JOURNAL 2 "));

    const TicketSession::Search found = TicketSession::findUnfinished(desk.paths, Now);
    QVERIFY(found.unfinished);
    TicketSession resumed(desk.paths, u"rus"_s, *found.unfinished, TicketSession::Origin::Resumed);
    resumed.run().setRandomSource([] { return 0.99; });
    QVERIFY(resumed.begin());
    QCOMPARE(resumed.run().currentQuestion(), 3);
    QCOMPARE(resumed.run().answers().toStringList(), shown);
    resumed.end();
}

void TicketSessionTest::setAsideTexts_data()
{
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("aside");
    QTest::addColumn<QString>("text");

    QTest::newRow("damaged, rus")
        << int(TicketSession::Problem::Damaged) << u"rus"_s << u"j.1"_s
        << u"Незаконченный билет, сохраненный при сбое, не удалось прочитать: его файл поврежден.\nФайл сохранен как j.1."_s;
    QTest::newRow("exam gone, eng")
        << int(TicketSession::Problem::ExamMissing) << u"eng"_s << u"j.1"_s
        << u"The unfinished ticket saved at a crash cannot be continued: the folder of its exam or ticket is gone.\nThe file is kept as j.1."_s;
    // Said in any language, in Russian for another one.
    QTest::newRow("question gone, other language, not renamed")
        << int(TicketSession::Problem::QuestionUnreadable) << u"deu"_s << QString()
        << u"Незаконченный билет, сохраненный при сбое, нельзя продолжить: файлы его билета изменились или не читаются.\nФайл j не удалось переименовать."_s;
    QTest::newRow("not renamed, eng")
        << int(TicketSession::Problem::Damaged) << u"eng"_s << QString()
        << u"The unfinished ticket saved at a crash could not be read: its file is damaged.\nThe file j could not be renamed."_s;
}

void TicketSessionTest::setAsideTexts()
{
    QFETCH(int, problem);
    QFETCH(QString, language);
    QFETCH(QString, aside);
    QFETCH(QString, text);
    const TicketSession::SetAside setAside{TicketSession::Problem(problem), u"j"_s, aside};
    QCOMPARE(setAside.text(language), text);
}

void TicketSessionTest::discardNote_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("reportWritable");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("failure");

    QTest::newRow("rus") << u"rus"_s << true
                         << QStringList{u"Дата: 08.12.2026 Время: 10:30:15"_s, u"Ф.И.О ,  Данные  Иванов"_s,
                                        u"Билет № b1"_s, u"Незаконченный билет отменен без оценки"_s}
                         << QString();
    QTest::newRow("eng") << u"eng"_s << true
                         << QStringList{u"Date: 08.12.2026Time: 10:30:15"_s, u"Ф.И.О ,  Данные  Иванов"_s,
                                        u"Ticket № b1"_s, u"The unfinished ticket was discarded without a grade"_s}
                         << QString();
    QTest::newRow("other language")
        << u"deu"_s << true
        << QStringList{u"Ф.И.О ,  Данные  Иванов"_s, QString(), u"Незаконченный билет отменен без оценки"_s} << QString();
    QTest::newRow("report cannot be written, eng")
        << u"eng"_s << false << QStringList() << u"The unfinished ticket was not discarded: the report "_s;
    QTest::newRow("report cannot be written, rus")
        << u"rus"_s << false << QStringList() << u"Незаконченный билет не отменен: не удалось записать в отчет "_s;
}

void TicketSessionTest::discardNote()
{
    QFETCH(QString, language);
    QFETCH(bool, reportWritable);
    QFETCH(QStringList, lines);
    QFETCH(QString, failure);

    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Desk desk(language);
    if (!reportWritable)
        QVERIFY(QDir().mkpath(desk.paths.examReport()));
    desk.folder.writeBytes(QDir(desk.folder.path()).relativeFilePath(desk.paths.ticketJournal()), "journal");
    const std::optional<QString> said = TicketSession::discardUnfinished(desk.paths, desk.drawn(), language, Now);
    QLocale::setDefault(system);

    if (!reportWritable) {
        QVERIFY(said);
        QVERIFY2(said->startsWith(failure + desk.paths.examReport() + u":\n"_s), qPrintable(*said));
        QVERIFY(desk.hasJournal());
        return;
    }
    QVERIFY(!said);
    QVERIFY(!desk.hasJournal());
    QString expected;
    for (const QString &line : lines + QStringList{u"=================="_s})
        expected += line + u"\r\r\n"_s;
    QCOMPARE(desk.folder.readBytes(u"s/oth.txt"_s), AnsiText::encode(expected + u"\r\n\r\n"_s));
}

void TicketSessionTest::journalFailureIsSaidOnce_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("rus") << u"rus"_s << u"Ход билета не сохраняется на случай сбоя в "_s;
    QTest::newRow("eng") << u"eng"_s << u"The ticket cannot be kept against a crash in "_s;
    QTest::newRow("other language") << u"deu"_s << u"Ход билета не сохраняется на случай сбоя в "_s;
}

void TicketSessionTest::journalFailureIsSaidOnce()
{
    QFETCH(QString, language);
    QFETCH(QString, message);

    Desk desk(language);
    // A folder where the journal should be: it cannot be replaced.
    QVERIFY(QDir().mkpath(desk.paths.ticketJournal()));
    TicketSession session(desk.paths, language, desk.drawn(), TicketSession::Origin::Drawn);
    QSignalSpy failures(&session, &TicketSession::journalFailed);
    QVERIFY(session.begin());
    play(session.run(), u"RRRRRE"_s);
    QCOMPARE(failures.size(), 1);
    const QString said = failures[0][0].toString();
    QVERIFY2(said.startsWith(message + desk.paths.ticketJournal() + u":\n"_s), qPrintable(said));
    // The ticket goes on without its journal; ending it leaves the folder alone.
    QCOMPARE(session.outcome().verdict, Verdict::Passed);
    session.end();
    QVERIFY(QFileInfo(desk.paths.ticketJournal()).isDir());
}

QTEST_MAIN(TicketSessionTest)
#include "tst_ticket_session.moc"
