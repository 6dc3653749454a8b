#include "core/exam/ticket_journal.h"
#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "core/reports/exam_report.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QListView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString StudentName = u"Иванов И.И."_s;

// A program folder with one ticket of five questions ("Да" is right), a pass score of 4 and
// a ticket timer of five minutes to be switched on.
void prepare(ProgramFolder &folder, const QString &language = u"rus"_s, const QString &password = QString())
{
    const QString exam = makeExam(folder, u"Физика"_s, 1, 5);
    folder.writeSettings({u"bilet=1"_s, u"vopros=5"_s, u"ball=4"_s, u"time=5"_s, u"pass="_s + password,
                          u"re="_s + language, u"z="_s + exam});
}

QString journalOf(const ProgramFolder &folder)
{
    return folder.path(ProgramPaths::ticketJournalName());
}

// The student's road from the mode choice to the open ticket 1 under the ticket timer.
void openTicket(Application &app)
{
    app.settings().setTicketTimer(true);
    QVERIFY(enterStudent(app.startWindow(), StudentName));
    QVERIFY(openTicketByNumber(app));
}

// Answers the open question; a number first opens that question.
void answer(Application &app, const QString &text, int question = 0)
{
    TicketWindow *ticket = app.ticketWindow();
    if (question > 0)
        control<QRadioButton>(ticket, "Option", question - 1)->setChecked(true);
    QVERIFY(::answer(ticket, text));
}

// Everything the ticket window shows of its ticket, to compare it before and after a crash.
QStringList ticketView(TicketWindow *ticket)
{
    QStringList view;
    for (int n = 0; n < TicketRun::Questions; ++n) {
        auto *option = control<QRadioButton>(ticket, "Option", n);
        view << u"%1: mark %2 %3 %4 %5 %6 %7"_s.arg(n + 1)
                    .arg(control<QLineEdit>(ticket, "txt", n)->text())
                    .arg(control<QFrame>(ticket, "Shape", n)->palette().color(QPalette::Window).name())
                    .arg(option->isEnabled() ? u"enabled"_s : u"disabled"_s)
                    .arg(option->isChecked() ? u"selected"_s : u"-"_s)
                    .arg(control<ActiveLabel>(ticket, "q", n)->text())
                    .arg(control<ActiveLabel>(ticket, "v", n)->text());
    }
    auto *list = control<QListView>(ticket, "List1");
    for (const QString &answer : rowTexts(list))
        view << u"answer "_s + answer;
    view << u"answers "_s + (list->isEnabled() ? u"enabled"_s : u"disabled"_s)
         << control<QPlainTextEdit>(ticket, "Text3")->toPlainText()
         << control<ActiveLabel>(ticket, "Label17")->text() << control<ActiveLabel>(ticket, "Label27")->text()
         << control<ActiveLabel>(ticket, "Label5")->text() << control<QLineEdit>(ticket, "txtZ")->text()
         << control<ActiveLabel>(ticket, "Label28")->text()
         << u"timer "_s + (control<QTimer>(ticket, "Timer2")->isActive() ? u"on"_s : u"off"_s);
    return view;
}

// Starts the program again on the folder, as after a crash: the old run leaves its files.
Application &restart(ProgramFolder &folder)
{
    folder.platform.clear();
    return folder.start();
}

// The program run as its own process, driven step by step through the helper.
class HelperRun
{
public:
    explicit HelperRun(const QString &programFolder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(TAVRING_TICKET_HELPER), {programFolder});
    }

    ~HelperRun()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Takes the steps one by one; the first that fails is returned with its answer.
    QString take(const QStringList &steps)
    {
        for (const QString &step : steps) {
            m_process.write((step + u'\n').toUtf8());
            while (!m_process.canReadLine()) {
                if (!m_process.waitForReadyRead(30000))
                    return step + u": no answer"_s;
            }
            const QString reply = QString::fromUtf8(m_process.readLine()).trimmed();
            if (reply != u"ok"_s)
                return step + u": "_s + reply;
        }
        return QString();
    }

    // Ends the program at once, as a power cut would: nothing of it runs any more.
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    bool quit()
    {
        m_process.write("quit\n");
        m_process.closeWriteChannel();
        return m_process.waitForFinished(30000) && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

} // namespace

class UnfinishedTicketTest : public QObject
{
    Q_OBJECT

private slots:
    void withoutCrashNothingStays();
    void continueRestoresTheTicket_data();
    void continueRestoresTheTicket();
    void discardNeedsThePassword_data();
    void discardNeedsThePassword();
    void unusableJournalIsSetAside_data();
    void unusableJournalIsSetAside();
    void killedProgramWritesTheSameRecord();
    void ticketOfARunningCopyIsLeftAlone();
};

void UnfinishedTicketTest::withoutCrashNothingStays()
{
    ProgramFolder folder;
    prepare(folder);
    Application &app = folder.start();
    QVERIFY(!app.startWindow()->findChild<QWidget *>(u"UnfinishedTicket"_s));
    openTicket(app);
    QVERIFY(QFileInfo::exists(journalOf(folder)));
    for (int n = 1; n <= 5; ++n)
        answer(app, u"Да"_s, n);
    click(app.ticketWindow(), "Command1");
    EvaluationWindow *evaluation = closeTicket(app, app.ticketWindow());
    QVERIFY(evaluation);
    control<QCheckBox>(evaluation, "Check1")->setChecked(true);
    click(evaluation, "Command2");

    // The ended ticket leaves its record and its attempt, and no journal or lock.
    QCOMPARE(QDir(folder.path(u"s"_s)).entryList(QDir::Files | QDir::Hidden), (QStringList{u"attempts.jsonl"_s, u"oth.txt"_s}));
    // The only message is the one that invites the student to press "Оценка".
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!folder.start().startWindow()->findChild<QWidget *>(u"UnfinishedTicket"_s));
}

void UnfinishedTicketTest::continueRestoresTheTicket_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("offer");
    QTest::addColumn<QString>("continueCaption");

    QTest::newRow("rus") << u"rus"_s << u"Студент: Иванов И.И.\nБилет № b1"_s << u"Продолжить билет"_s;
    QTest::newRow("eng") << u"eng"_s << u"Student: Иванов И.И.\nTicket № b1"_s << u"Continue the ticket"_s;
}

void UnfinishedTicketTest::continueRestoresTheTicket()
{
    QFETCH(QString, language);
    QFETCH(QString, offer);
    QFETCH(QString, continueCaption);

    ProgramFolder folder;
    prepare(folder, language);
    Application &before = folder.start();
    openTicket(before);
    answer(before, u"Да"_s);
    answer(before, u"Нет"_s, 2);
    control<QRadioButton>(before.ticketWindow(), "Option", 2)->setChecked(true);
    // Fifteen seconds pass; the journal has the countdown of the tenth.
    for (int second = 0; second < 15; ++second)
        before.ticketWindow()->onTimer2();
    QStringList expected = ticketView(before.ticketWindow());
    expected.replace(expected.size() - 2, u"4:50"_s);

    QVERIFY(QFileInfo::exists(journalOf(folder)));
    Application &app = restart(folder);
    StartWindow *start = app.startWindow();
    QVERIFY(shown(start, "UnfinishedTicket"));
    QVERIFY(control<QLabel>(start, "UnfinishedText")->text().contains(offer));
    QCOMPARE(control<QPushButton>(start, "ContinueTicket")->text(), continueCaption);
    QVERIFY(folder.platform.messages.isEmpty());

    click(start, "ContinueTicket");
    TicketWindow *ticket = app.ticketWindow();
    QVERIFY(ticket);
    QVERIFY(!start->isVisible());
    QVERIFY(!shown(start, "UnfinishedTicket"));
    QCOMPARE(ticketView(ticket), expected);
    QCOMPARE(control<QFrame>(ticket, "Shape", 0)->palette().color(QPalette::Window), QColor(0, 128, 0));
    QCOMPARE(control<QFrame>(ticket, "Shape", 1)->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(ticket->currentQuestion(), 3);

    // The ticket goes on and ends as any other, with the student of the journal.
    answer(app, u"Да"_s);
    answer(app, u"Да"_s, 4);
    answer(app, u"Да"_s, 5);
    click(ticket, "Command1");
    EvaluationWindow *evaluation = closeTicket(app, ticket);
    QVERIFY(evaluation);
    QVERIFY(evaluation->record().student.endsWith(u"  "_s + StudentName));
    QCOMPARE(evaluation->record().verdict, Verdict::Passed);
    QCOMPARE(control<ActiveLabel>(evaluation, "Label3")->text(), language == u"rus"_s ? u"Зачет"_s : u"Delivered"_s);
    QVERIFY(QFileInfo::exists(journalOf(folder)));
    folder.platform.questionAnswers.enqueue(true);
    click(evaluation, "Command2");
    QVERIFY(!QFileInfo::exists(journalOf(folder)));
}

void UnfinishedTicketTest::discardNeedsThePassword_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("wrongPassword");
    QTest::addColumn<QString>("note");

    QTest::newRow("rus") << u"rus"_s << u"Не правильный пароль!"_s << u"Незаконченный билет отменен без оценки"_s;
    QTest::newRow("eng") << u"eng"_s << u"Not correct password!"_s
                         << u"The unfinished ticket was discarded without a grade"_s;
}

void UnfinishedTicketTest::discardNeedsThePassword()
{
    QFETCH(QString, language);
    QFETCH(QString, wrongPassword);
    QFETCH(QString, note);

    ProgramFolder folder;
    prepare(folder, language, u"secret"_s);
    openTicket(folder.start());
    answer(folder.app(), u"Да"_s);
    const QString studentLine = folder.app().studentStep().student().line;

    StartWindow *start = restart(folder).startWindow();
    control<QLineEdit>(start, "UnfinishedPassword")->setText(u"guess"_s);
    click(start, "DiscardTicket");
    QCOMPARE(folder.platform.messageTexts(), QStringList{wrongPassword});
    QVERIFY(control<QLineEdit>(start, "UnfinishedPassword")->text().isEmpty());
    QVERIFY(shown(start, "UnfinishedTicket"));
    QVERIFY(QFileInfo::exists(journalOf(folder)));
    QVERIFY(!QFileInfo::exists(folder.path(u"s/oth.txt"_s)));

    control<QLineEdit>(start, "UnfinishedPassword")->setText(u"secret"_s);
    click(start, "DiscardTicket");
    QVERIFY(!shown(start, "UnfinishedTicket"));
    QVERIFY(shown(start, "Frame3"));
    QVERIFY(!QFileInfo::exists(journalOf(folder)));
    const QDateTime now = folder.platform.now;
    const QString dateLine = language == u"rus"_s
                                 ? u"Дата: "_s + ExamReport::dateText(now.date()) + u" Время: "_s
                                       + ExamReport::timeText(now.time())
                                 : u"Date: "_s + ExamReport::dateText(now.date()) + u"Time: "_s
                                       + ExamReport::timeText(now.time());
    const QString ticketLine = language == u"rus"_s ? u"Билет № b1"_s : u"Ticket № b1"_s;
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s),
             AnsiText::encode(dateLine + u"\r\r\n"_s + studentLine + u"\r\r\n"_s + ticketLine + u"\r\r\n"_s + note
                              + u"\r\r\n==================\r\r\n\r\n\r\n"_s));
    QVERIFY(!restart(folder).startWindow()->findChild<QWidget *>(u"UnfinishedTicket"_s));
}

void UnfinishedTicketTest::unusableJournalIsSetAside_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");

    QTest::newRow("damaged") << u"damaged"_s << u"не удалось прочитать: его файл поврежден."_s;
    QTest::newRow("exam gone") << u"exam"_s << u"папки его экзамена или билета больше нет."_s;
    QTest::newRow("question unreadable") << u"question"_s << u"файлы его билета изменились или не читаются."_s;
}

void UnfinishedTicketTest::unusableJournalIsSetAside()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);

    ProgramFolder folder;
    prepare(folder);
    openTicket(folder.start());
    answer(folder.app(), u"Да"_s);
    const QString journal = journalOf(folder);
    QByteArray bytes = folder.readBytes(ProgramPaths::ticketJournalName());
    if (fault == u"damaged"_s) {
        bytes.chop(1);
        folder.writeBytes(ProgramPaths::ticketJournalName(), bytes);
    } else if (fault == u"exam"_s) {
        QVERIFY(QDir(folder.path(u"b/exam"_s)).removeRecursively());
    } else {
        QVERIFY(QFile::remove(folder.path(u"b/exam/b1/q1.txt"_s)));
    }

    Application &app = restart(folder);
    StartWindow *start = app.startWindow();
    if (fault == u"question"_s) {
        QVERIFY(shown(start, "UnfinishedTicket"));
        click(start, "ContinueTicket");
        QVERIFY(!app.ticketWindow());
        QVERIFY(start->isVisible());
    }
    QVERIFY(!start->findChild<QWidget *>(u"UnfinishedTicket"_s) || !shown(start, "UnfinishedTicket"));
    const QString aside = journal + u".20261208-103015"_s;
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(folder.platform.messages[0].text.contains(reason));
    QVERIFY(folder.platform.messages[0].text.endsWith(u"Файл сохранен как "_s + aside + u'.'));
    QVERIFY(!QFileInfo::exists(journal));
    QCOMPARE(readFile(aside), bytes);
    // The program goes on as usual, and says nothing more on the next start.
    QVERIFY(shown(start, "Frame3"));
    restart(folder);
    QVERIFY(folder.platform.messages.isEmpty());
}

void UnfinishedTicketTest::killedProgramWritesTheSameRecord()
{
    const QStringList first = {u"ticket-timer"_s, u"student "_s + StudentName, u"open 1"_s, u"answer Да"_s,
                               u"question 2"_s, u"answer Нет"_s};
    const QStringList rest = {u"question 3"_s, u"answer Да"_s, u"question 4"_s, u"answer Да"_s, u"question 5"_s,
                              u"answer Да"_s, u"evaluate"_s, u"close"_s, u"save"_s};

    ProgramFolder killed;
    prepare(killed);
    {
        HelperRun run(killed.path());
        QCOMPARE(run.take(first), QString());
        run.kill();
    }
    QVERIFY(QFileInfo::exists(journalOf(killed)));
    QVERIFY(!QFileInfo::exists(killed.path(u"s/oth.txt"_s)));
    {
        HelperRun run(killed.path());
        QCOMPARE(run.take(QStringList{u"continue"_s} + rest), QString());
        QVERIFY(run.quit());
    }

    ProgramFolder uninterrupted;
    prepare(uninterrupted);
    {
        HelperRun run(uninterrupted.path());
        QCOMPARE(run.take(first + rest), QString());
        QVERIFY(run.quit());
    }

    const QByteArray record = uninterrupted.readBytes(u"s/oth.txt"_s);
    QVERIFY(record.contains(AnsiText::encode(StudentName)));
    QVERIFY(record.contains(AnsiText::encode(u"Второй вопрос, оценка  2"_s)));
    QVERIFY(record.contains(AnsiText::encode(u"Дополнительные сведения: группа 7"_s)));
    QCOMPARE(killed.readBytes(u"s/oth.txt"_s), record);
    QCOMPARE(QDir(killed.path(u"s"_s)).entryList(QDir::Files | QDir::Hidden), (QStringList{u"attempts.jsonl"_s, u"oth.txt"_s}));
}

void UnfinishedTicketTest::ticketOfARunningCopyIsLeftAlone()
{
    ProgramFolder folder;
    prepare(folder);
    HelperRun running(folder.path());
    QCOMPARE(running.take({u"student Петров"_s, u"open 1"_s, u"answer Да"_s}), QString());
    const QByteArray journal = folder.readBytes(ProgramPaths::ticketJournalName());

    // A second copy started beside it offers nothing, and its own ticket leaves the journal alone.
    Application &second = folder.start();
    QVERIFY(!second.startWindow()->findChild<QWidget *>(u"UnfinishedTicket"_s));
    QVERIFY(folder.platform.messages.isEmpty());
    openTicket(second);
    answer(second, u"Нет"_s);
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(folder.platform.messages[0].text.contains(u"ведет другая запущенная копия программы"_s));
    QCOMPARE(folder.readBytes(ProgramPaths::ticketJournalName()), journal);

    running.kill();
    StartWindow *start = restart(folder).startWindow();
    QVERIFY(shown(start, "UnfinishedTicket"));
    QVERIFY(control<QLabel>(start, "UnfinishedText")->text().contains(u"Студент: Петров"_s));
}

QTEST_MAIN(UnfinishedTicketTest)
#include "tst_unfinished_ticket.moc"
