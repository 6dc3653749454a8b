#include "core/exam/student_step.h"
#include "core/program/settings_record.h"
#include "support/program_folder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An exam of the given ticket folders of three questions and the settings that choose it,
// with that number of tickets and that password; the step
// begins on them, as a new start window does.
struct Desk
{
    Desk(int tickets, const QString &ticketCount, const QString &password = {}) : step(settings)
    {
        exam = makeExam(folder, u"Физика"_s, tickets, 3);
        settings.setTickets(ticketCount);
        settings.setPassword(password);
        settings.setExamFolder(exam);
        step.begin();
    }

    ProgramFolder folder;
    QString exam;
    SettingsRecord settings;
    StudentStep step;
};

QStringList firstQuestionFiles(const StudentStep &step)
{
    return {step.firstAnswersFile(), step.firstCorrectAnswerFile(), step.firstQuestionFile()};
}

const QStringList AllFiles{u"v1.txt"_s, u"o1.txt"_s, u"q1.txt"_s};
const QStringList NoFiles{QString(), QString(), QString()};

} // namespace

class StudentStepTest : public QObject
{
    Q_OBJECT

private slots:
    void beginsFromTheSettings();
    void draw_data();
    void draw();
    void typedNumber_data();
    void typedNumber();
    void passwordGate_data();
    void passwordGate();
    void manualEntry();
    void studentLineAndNextStudent();
    void openingNeedsTheFirstQuestion_data();
    void openingNeedsTheFirstQuestion();
    void newExamClearsTheChoice();
};

void StudentStepTest::beginsFromTheSettings()
{
    Desk desk(2, u"2"_s, u"секрет"_s);
    QCOMPARE(desk.step.ticketCount(), u"2"_s);
    QCOMPARE(desk.step.storedPassword(), u"секрет"_s);
    // The whole title file, its line end included.
    QCOMPARE(desk.step.examTitle(), u"Физика\r\n"_s);
    QVERIFY(desk.step.hasExamFolder());

    // The settings close: tickets and title follow them, the stored password does not.
    desk.settings.setTickets(u"9"_s);
    desk.settings.setPassword(u"новый"_s);
    desk.folder.writeText(u"b/exam/lzm.lzm"_s, u"Химия"_s);
    desk.step.takeSettings();
    QCOMPARE(desk.step.ticketCount(), u"9"_s);
    QCOMPARE(desk.step.examTitle(), u"Химия"_s);
    QCOMPARE(desk.step.storedPassword(), u"секрет"_s);

    // A folder without a title file has no title; no exam folder, no title either.
    QFile::remove(desk.folder.path(u"b/exam/lzm.lzm"_s));
    desk.step.takeSettings();
    QCOMPARE(desk.step.examTitle(), QString());
    desk.settings.setExamFolder(QString());
    QVERIFY(!desk.step.hasExamFolder());

    // A new window begins again, and takes the password now.
    desk.step.setName(u"Иванов"_s);
    desk.step.setTicketNumber(u"1"_s);
    desk.step.setTypedPassword(u"x"_s);
    desk.step.begin();
    QCOMPARE(desk.step.storedPassword(), u"новый"_s);
    QCOMPARE(desk.step.name(), QString());
    QCOMPARE(desk.step.typedPassword(), QString());
    QCOMPARE(desk.step.ticketNumber(), QString());
    QCOMPARE(desk.step.ticketFolderName(), QString());
    QCOMPARE(firstQuestionFiles(desk.step), NoFiles);
    QVERIFY(!desk.step.canOpen());
}

void StudentStepTest::draw_data()
{
    QTest::addColumn<int>("folders");
    QTest::addColumn<QString>("tickets");
    QTest::addColumn<double>("random");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("folderName");

    QTest::newRow("lowest of 10") << 10 << u"10"_s << 0.0 << u"1"_s << u"b1"_s;
    QTest::newRow("highest of 10") << 10 << u"10"_s << 0.9999999 << u"10"_s << u"b10"_s;
    QTest::newRow("middle of 10") << 10 << u"10"_s << 0.55 << u"6"_s << u"b6"_s;
    QTest::newRow("no tickets") << 2 << u"0"_s << 0.7 << u"1"_s << u"b1"_s;
    QTest::newRow("empty count") << 2 << u""_s << 0.7 << u"1"_s << u"b1"_s;
    QTest::newRow("count not a number") << 2 << u"много"_s << 0.7 << u"1"_s << u"b1"_s;
    QTest::newRow("folder missing") << 2 << u"5"_s << 0.9 << u"5"_s << QString();
}

void StudentStepTest::draw()
{
    QFETCH(int, folders);
    QFETCH(QString, tickets);
    QFETCH(double, random);
    QFETCH(QString, number);
    QFETCH(QString, folderName);

    Desk desk(folders, tickets);
    QVERIFY(!desk.step.confirmStudent());
    desk.step.setName(u"Иванов"_s);
    QVERIFY(desk.step.confirmStudent());
    desk.step.draw(random);
    QCOMPARE(desk.step.ticketNumber(), number);
    QCOMPARE(desk.step.ticketFolderName(), folderName);
    QCOMPARE(desk.step.drawSettled(), !folderName.isEmpty());
    QCOMPARE(desk.step.canOpen(), !folderName.isEmpty());
    if (!folderName.isEmpty())
        QCOMPARE(firstQuestionFiles(desk.step), AllFiles);
}

void StudentStepTest::typedNumber_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("opens");

    QTest::newRow("7") << QStringList{u"7"_s} << u"b7"_s << AllFiles << true;
    // Not filtered: 07 is another folder than 7, and a missing folder may still be tried.
    QTest::newRow("07") << QStringList{u"07"_s} << u"b07"_s << QStringList{QString(), QString(), u"q1.txt"_s}
                        << false;
    QTest::newRow("missing") << QStringList{u"12"_s} << u"b12"_s << NoFiles << false;
    // Emptying a number leaves the folder name "b", a folder like any other (this exam has one).
    QTest::newRow("emptied") << QStringList{u"3"_s, QString()} << u"b"_s << AllFiles << true;
    for (const QString &crafted : {u"/../.."_s, u"\\..\\.."_s, u".."_s, u"1/../../b1"_s})
        QTest::newRow(qPrintable(crafted)) << QStringList{crafted} << u"b"_s + crafted << NoFiles << false;
}

void StudentStepTest::typedNumber()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, folderName);
    QFETCH(QStringList, files);
    QFETCH(bool, opens);

    Desk desk(7, u"7"_s);
    desk.folder.writeText(u"b/exam/b07/q1.txt"_s, u"?\r\n"_s);
    // A folder "b" in the exam, and files a crafted number could reach outside the exam folder.
    for (const QString &outside : {u"b/exam/b/"_s, u"b/"_s})
        for (const QString &file : AllFiles)
            desk.folder.writeText(outside + file, u"x\r\n"_s);
    for (const QString &number : typed)
        desk.step.setTicketNumber(number);
    QCOMPARE(desk.step.ticketFolderName(), folderName);
    QCOMPARE(firstQuestionFiles(desk.step), files);
    // Any folder name lets the student try it.
    QVERIFY(desk.step.canOpen());
    QCOMPARE(desk.step.chosenTicketOpens(), opens);
}

void StudentStepTest::passwordGate_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("right");

    QTest::newRow("equal") << u"Pass"_s << u"Pass"_s << true;
    QTest::newRow("case counts") << u"Pass"_s << u"pass"_s << false;
    QTest::newRow("both empty") << QString() << QString() << true;
    QTest::newRow("empty typed") << u"Pass"_s << QString() << false;
    QTest::newRow("typed, none stored") << QString() << u"x"_s << false;
}

void StudentStepTest::passwordGate()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, right);

    Desk desk(1, {}, stored);
    QCOMPARE(desk.step.isStoredPassword(typed), right);
    desk.step.setTypedPassword(typed);
    QCOMPARE(desk.step.checkTypedPassword(), right);
    QCOMPARE(desk.step.typedPassword(), QString());

    desk.step.setTypedPassword(typed);
    QCOMPARE(desk.step.tickManualEntry(true), right);
    QCOMPARE(desk.step.manualEntryTicked(), right);
    QCOMPARE(desk.step.manualEntry(), right);
    QCOMPARE(desk.step.typedPassword(), QString());
}

void StudentStepTest::manualEntry()
{
    Desk desk(3, {}, u"Pass"_s);
    desk.step.setName(u"Иванов"_s);
    desk.step.confirmStudent();
    QSignalSpy opened(&desk.step, &StudentStep::manualEntryChanged);

    desk.step.setTypedPassword(u"Pass"_s);
    QVERIFY(desk.step.tickManualEntry(true));
    desk.step.setTicketNumber(u"2"_s);
    QCOMPARE(desk.step.ticketFolderName(), u"b2"_s);

    // Unticking needs no password: the field closes, the number is emptied and the draw is back.
    QVERIFY(desk.step.tickManualEntry(false));
    QVERIFY(!desk.step.manualEntryTicked());
    QVERIFY(!desk.step.manualEntry());
    QCOMPARE(desk.step.ticketNumber(), QString());
    QCOMPARE(desk.step.ticketFolderName(), u"b"_s);
    QCOMPARE(opened.size(), 2);

    // The program ends manual entry without a password: for the next student, and after a
    // ticket that could not open.
    desk.step.setTypedPassword(u"Pass"_s);
    desk.step.tickManualEntry(true);
    QVERIFY(desk.step.confirmStudent());
    QVERIFY(!desk.step.manualEntryTicked());
    QVERIFY(!desk.step.manualEntry());
    desk.step.setTypedPassword(u"Pass"_s);
    desk.step.tickManualEntry(true);
    desk.step.setTicketNumber(u"9"_s);
    desk.step.refuseChosenTicket();
    QVERIFY(!desk.step.manualEntry());
    QCOMPARE(desk.step.ticketNumber(), QString());
    QCOMPARE(desk.step.ticketFolderName(), QString());
    QVERIFY(!desk.step.canOpen());
}

void StudentStepTest::studentLineAndNextStudent()
{
    Desk desk(2, u"2"_s);
    QSignalSpy changed(&desk.step, &StudentStep::studentChanged);
    desk.step.setDataCaption(u"Ф.И.О ,  Данные"_s);
    desk.step.setName(u"Петров П.П."_s);
    desk.step.setData1(u"10 класс"_s);
    desk.step.setData2(u"школа 5"_s);
    desk.step.setData3(u"вариант А"_s);
    QCOMPARE(changed.size(), 5);
    const Student student = desk.step.student();
    QCOMPARE(student.line, u"Ф.И.О ,  Данные  Петров П.П."_s);
    QCOMPARE(student.name, u"Петров П.П."_s);
    QCOMPARE(student.data1, u"10 класс"_s);
    QCOMPARE(student.data2, u"школа 5"_s);
    QCOMPARE(student.data3, u"вариант А"_s);
    desk.step.setDataCaption(u"Surname a Name, additional data"_s);
    QCOMPARE(desk.step.student().line, u"Surname a Name, additional data  Петров П.П."_s);

    // The next student finds the data empty; the last choice waits for the name's "OK".
    QVERIFY(desk.step.confirmStudent());
    desk.step.draw(0.0);
    desk.step.nextStudent();
    QCOMPARE(desk.step.student().line, u"Surname a Name, additional data  "_s);
    QCOMPARE(desk.step.data1() + desk.step.data2() + desk.step.data3(), QString());
    QCOMPARE(desk.step.ticketFolderName(), u"b1"_s);
    QVERIFY(!desk.step.confirmStudent());
    desk.step.setName(u"Сидоров"_s);
    QVERIFY(desk.step.confirmStudent());
    QCOMPARE(desk.step.ticketNumber(), QString());
    QCOMPARE(desk.step.ticketFolderName(), QString());
    QVERIFY(!desk.step.canOpen());

    desk.step.backToModeChoice();
    QCOMPARE(desk.step.name(), QString());
    desk.step.setName(u"Сидоров"_s);
    desk.step.chooseExamMode();
    QCOMPARE(desk.step.name(), QString());
}

void StudentStepTest::openingNeedsTheFirstQuestion_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<bool>("opens");

    QTest::newRow("complete") << QString() << true;
    QTest::newRow("no correct answer") << u"o1.txt"_s << false;
    QTest::newRow("no answers") << u"v1.txt"_s << false;
    QTest::newRow("no question") << u"q1.txt"_s << false;
    QTest::newRow("second question missing") << u"q2.txt"_s << true;
}

void StudentStepTest::openingNeedsTheFirstQuestion()
{
    QFETCH(QString, removed);
    QFETCH(bool, opens);

    Desk desk(3, u"3"_s);
    if (!removed.isEmpty())
        QVERIFY(QFile::remove(desk.exam + u"/b2/"_s + removed));
    desk.step.draw(0.5);
    QVERIFY(desk.step.drawSettled());
    QCOMPARE(desk.step.ticketFolderName(), u"b2"_s);
    QCOMPARE(desk.step.chosenTicketOpens(), opens);
    desk.step.forgetFirstQuestionFiles();
    QCOMPARE(firstQuestionFiles(desk.step), NoFiles);
    // Forgetting the files leaves the choice.
    QCOMPARE(desk.step.ticketFolderName(), u"b2"_s);
    QVERIFY(desk.step.canOpen());
}

void StudentStepTest::newExamClearsTheChoice()
{
    Desk desk(2, u"2"_s);
    desk.step.draw(0.0);
    desk.step.drawSettled();
    desk.step.clearTicketChoice();
    QCOMPARE(desk.step.ticketFolderName(), QString());
    QVERIFY(!desk.step.canOpen());
    // The reset forgets the folder too, and so disables opening.
    desk.step.setTicketNumber(u"2"_s);
    QVERIFY(desk.step.canOpen());
    desk.step.resetTicketFolder();
    QCOMPARE(desk.step.ticketFolderName(), QString());
    QCOMPARE(desk.step.ticketNumber(), u"2"_s);
    QVERIFY(!desk.step.canOpen());
}

QTEST_MAIN(StudentStepTest)
#include "tst_student_step.moc"
