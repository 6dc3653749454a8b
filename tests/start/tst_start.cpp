#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "gui/exam/ticket_window.h"
#include "gui/help/text_viewer_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/about_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A program folder with an exam of the given tickets of three questions, chosen in test.ini.
void prepare(ProgramFolder &folder, int tickets, const QString &language = u"rus"_s,
             const QString &password = QString())
{
    const QString exam = makeExam(folder, u"Физика"_s, tickets, 3);
    folder.writeSettings({u"bilet=%1"_s.arg(tickets), u"vopros=3"_s, u"ball=4"_s, u"pass="_s + password,
                          u"re="_s + language, u"z="_s + exam});
}

} // namespace

class StartWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void loadReadsSettingsAndTitle_data();
    void loadReadsSettingsAndTitle();
    void missingTitleFileGivesEmptyTitle();
    void languageSwitchRebuildsWindowAndWritesAtOnce();
    void studentNameIsRequired();
    void examModeShowsAboutAndHelp();
    void aboutGoesWhenWorkBegins_data();
    void aboutGoesWhenWorkBegins();
    void drawShowsTheChoice_data();
    void drawShowsTheChoice();
    void drawWithoutExamFolderWarns();
    void roadToAnOpenTicket();
    void manualEntryNeedsPasswordToOpen();
    void programEndsManualEntryWithoutPassword();
    void incompleteFirstQuestionIsRefused_data();
    void incompleteFirstQuestionIsRefused();
    void resetAndBackToModeChoice();
    void settingsNeedPassword();
    void closedSettingsWaitForNextStudent();
    void exitOpensFarewellAndEnds();
};

void StartWindowTest::loadReadsSettingsAndTitle_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("drawCaption");
    QTest::addColumn<QString>("examCaption");

    QTest::newRow("rus") << u"rus"_s << u"Выбрать билет"_s << u"Тавринг\\Тест"_s;
    QTest::newRow("eng") << u"eng"_s << u"To Choose a ticket"_s << u"Exam"_s;
    QTest::newRow("other language keeps the designed captions") << u"deu"_s << u"Выбрать билет"_s
                                                                << u"Тавринг\\Тест"_s;
}

void StartWindowTest::loadReadsSettingsAndTitle()
{
    QFETCH(QString, language);
    QFETCH(QString, drawCaption);
    QFETCH(QString, examCaption);

    ProgramFolder folder;
    prepare(folder, 4, language, u"секрет"_s);
    StartWindow *start = folder.start().startWindow();

    QCOMPARE(start->objectName(), u"Form1"_s);
    QCOMPARE(start->windowTitle(), u"Тест-Тавринг v 3.3"_s);
    QCOMPARE(control<ActiveLabel>(start, "Label4")->text(), language);
    QCOMPARE(control<QLineEdit>(start, "Text12")->text(), u"секрет"_s);
    QCOMPARE(control<QLineEdit>(start, "Text3")->text(), u"4"_s);
    // The whole title file, its line end included.
    QCOMPARE(control<QLineEdit>(start, "Text4")->text(), u"Физика\r\n"_s);
    QCOMPARE(control<ActiveLabel>(start, "Label8")->text(), u"Физика\r\n"_s);
    QCOMPARE(control<QPushButton>(start, "Command1")->text(), drawCaption);
    QCOMPARE(control<QRadioButton>(start, "Option1")->text(), examCaption);
    QCOMPARE(folder.platform.seeds, 1);

    // The mode choice lies over the student data; the ticket choice is hidden.
    QVERIFY(shown(start, "Frame3"));
    QVERIFY(!shown(start, "Frame1"));
    QVERIFY(!shown(start, "Frame2"));
    QVERIFY(!shown(start, "Label8"));
    QVERIFY(!shown(start, "Text1"));
    QVERIFY(!control<QPushButton>(start, "Command3")->isEnabled());
    QVERIFY(control<QGroupBox>(start, "Frame3")->geometry() == control<QGroupBox>(start, "Frame9")->geometry());
    QVERIFY(!(start->windowFlags() & Qt::WindowCloseButtonHint));
}

void StartWindowTest::missingTitleFileGivesEmptyTitle()
{
    ProgramFolder folder;
    prepare(folder, 2);
    QFile::remove(folder.path(u"b/exam/lzm.lzm"_s));
    StartWindow *start = folder.start().startWindow();
    QCOMPARE(control<QLineEdit>(start, "Text4")->text(), QString());
    QVERIFY(folder.platform.messages.isEmpty());
}

void StartWindowTest::languageSwitchRebuildsWindowAndWritesAtOnce()
{
    ProgramFolder folder;
    prepare(folder, 2);
    Application &app = folder.start();
    StartWindow *first = app.startWindow();
    QVERIFY(enterStudent(first, u"Петров"_s));
    QCOMPARE(control<QLineEdit>(first, "Text9")->text(), u"Петров"_s);

    click(first, "Label7");
    StartWindow *english = app.startWindow();
    QVERIFY(english != first);
    QCOMPARE(control<ActiveLabel>(english, "Label4")->text(), u"eng"_s);
    QCOMPARE(control<QLineEdit>(english, "Text9")->text(), QString());
    QCOMPARE(app.studentStep().name(), QString());
    // The new window shows what the step took from the settings.
    QCOMPARE(control<QLineEdit>(english, "Text3")->text(), u"2"_s);
    QCOMPARE(control<ActiveLabel>(english, "Label8")->text(), u"Физика\r\n"_s);
    QVERIFY(enterStudent(english, u"Smith"_s));
    QCOMPARE(app.studentStep().student().line, u"Surname a Name, additional data  Smith"_s);
    click(english, "Label9");
    QVERIFY(shown(english, "Frame3"));
    QCOMPARE(control<QGroupBox>(english, "Frame1")->title(), u"Choice of ticket"_s);
    QCOMPARE(control<ActiveLabel>(app.settingsWindow(), "Label17")->text(), u"eng"_s);
    QCOMPARE(control<QPushButton>(app.settingsWindow(), "Command6")->text(), u"To Close"_s);
    // Written at once, although the settings were never saved.
    QCOMPARE(GetValueString(u"test"_s, u"re"_s, app.settingsFile()), u"eng"_s);

    click(english, "Label13");
    StartWindow *russian = app.startWindow();
    QCOMPARE(control<QGroupBox>(russian, "Frame1")->title(), u"Выбор билета"_s);
    QCOMPARE(control<ActiveLabel>(russian, "Label2")->text(), u"Сброс"_s);
    QCOMPARE(GetValueString(u"test"_s, u"re"_s, app.settingsFile()), u"rus"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartWindowTest::studentNameIsRequired()
{
    ProgramFolder folder;
    prepare(folder, 2, u"eng"_s);
    StartWindow *start = folder.start().startWindow();
    control<QRadioButton>(start, "Option1")->setChecked(true);
    QVERIFY(!shown(start, "Frame3"));
    QVERIFY(shown(start, "Frame9"));

    click(start, "Command14");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Enter a name! (will without fall enter *)"_s});
    QCOMPARE(folder.platform.messages.first().title, u"Тест-Тавринг"_s);
    QVERIFY(shown(start, "Frame9"));
    QVERIFY(!shown(start, "Frame1"));

    control<QLineEdit>(start, "Text9")->setText(u"Smith"_s);
    click(start, "Command14");
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(!shown(start, "Frame9"));
    QVERIFY(shown(start, "Frame1"));
    QVERIFY(shown(start, "Frame2"));
    QVERIFY(shown(start, "Label8"));
    QVERIFY(!control<QCheckBox>(start, "Check1")->isChecked());
}

void StartWindowTest::examModeShowsAboutAndHelp()
{
    ProgramFolder folder;
    prepare(folder, 2);
    // A help file put into the program folder goes to the desktop.
    folder.writeBytes(u"help/help.chm"_s, "ITSF");
    Application &app = folder.start();
    control<QRadioButton>(app.startWindow(), "Option1")->setChecked(true);
    QVERIFY(app.aboutWindow());
    QCOMPARE(app.aboutWindow()->objectName(), u"Form10"_s);
    QCOMPARE(app.aboutWindow()->windowTitle(), u"Тест-Тавринг v 3.2"_s);
    QVERIFY(app.aboutWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(app.aboutWindow()->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!control<QLabel>(app.aboutWindow(), "Image1")->pixmap().isNull());
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/help.chm"_s)});

    click(app.aboutWindow(), "Command1");
    QVERIFY(!app.aboutWindow());

    // Back to the mode choice and into exam mode again: a new about window.
    click(app.startWindow(), "Label6");
    QVERIFY(shown(app.startWindow(), "Frame3"));
    QVERIFY(control<QRadioButton>(app.startWindow(), "Option3")->isChecked());
    control<QRadioButton>(app.startWindow(), "Option1")->setChecked(true);
    QVERIFY(app.aboutWindow());
    QCOMPARE(folder.platform.documents.size(), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartWindowTest::aboutGoesWhenWorkBegins_data()
{
    QTest::addColumn<bool>("ticket");

    QTest::newRow("the ticket") << true;
    QTest::newRow("the settings") << false;
}

// The about window of the mode choice must not be left behind the window the student or the
// teacher works in: it goes when that window opens.
void StartWindowTest::aboutGoesWhenWorkBegins()
{
    QFETCH(bool, ticket);
    ProgramFolder folder;
    prepare(folder, 2, u"rus"_s, u"1234"_s);
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    start->show();
    QVERIFY(enterStudent(start));
    QVERIFY(app.aboutWindow() && app.aboutWindow()->isVisible());

    if (ticket) {
        QVERIFY(drawTicket(folder));
        click(start, "Command3");
        QVERIFY(app.ticketWindow());
    } else {
        QVERIFY(openSettingsByPassword(app, u"1234"_s));
    }
    QVERIFY(!app.aboutWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartWindowTest::drawShowsTheChoice_data()
{
    QTest::addColumn<double>("random");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("questionFile");

    QTest::newRow("found") << 0.55 << u"6"_s << u"b6"_s << u"q1.txt"_s;
    QTest::newRow("missing folder") << 0.95 << u"10"_s << QString() << QString();
}

void StartWindowTest::drawShowsTheChoice()
{
    QFETCH(double, random);
    QFETCH(QString, number);
    QFETCH(QString, folderName);
    QFETCH(QString, questionFile);

    ProgramFolder folder;
    prepare(folder, 9);
    SetValue(u"test"_s, u"bilet"_s, u"10"_s, folder.path(u"test.ini"_s));
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));
    folder.platform.randoms.enqueue(random);

    click(start, "Command1");
    QCOMPARE(control<QLineEdit>(start, "Text1")->text(), number);
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), folderName);
    QVERIFY(control<QTimer>(start, "Timer1")->isActive());
    start->onTimer1();
    QVERIFY(!control<QTimer>(start, "Timer1")->isActive());
    QCOMPARE(control<QPushButton>(start, "Command3")->isEnabled(), !folderName.isEmpty());
    QCOMPARE(control<ActiveLabel>(start, "q1")->text(), questionFile);
    QCOMPARE(control<ActiveLabel>(start, "v1")->text(), questionFile.isEmpty() ? QString() : u"v1.txt"_s);
    QCOMPARE(control<ActiveLabel>(start, "o1")->text(), questionFile.isEmpty() ? QString() : u"o1.txt"_s);
    if (!folderName.isEmpty())
        QCOMPARE(start->focusWidget(), control(start, "Command3"));
}

void StartWindowTest::drawWithoutExamFolderWarns()
{
    ProgramFolder folder;
    folder.writeSettings({u"bilet=3"_s, u"re=eng"_s});
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));
    click(start, "Command1");
    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.messages.first().title, u"Attention!"_s);
    QCOMPARE(folder.platform.messages.first().text, u"Beside you not choose file with tickets of exam!"_s);
    QCOMPARE(control<QLineEdit>(start, "Text1")->text(), QString());
}

// The ticket opens with the step's choice; the start window steps aside and keeps the student.
void StartWindowTest::roadToAnOpenTicket()
{
    ProgramFolder folder;
    prepare(folder, 3);
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    control<QLineEdit>(start, "Text10")->setText(u"10 класс"_s);
    TicketWindow *ticket = openTicketByDraw(folder, u"Петров П.П."_s, 0.5);
    QVERIFY(ticket);
    QVERIFY(!start->isVisible());
    QCOMPARE(control<QLineEdit>(ticket, "Text1")->text(), u"2"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label27")->text(), u"Физика\r\n"_s);
    QCOMPARE(app.studentStep().ticketFolderName(), u"b2"_s);
    const Student student = app.studentStep().student();
    QCOMPARE(student.line, u"Ф.И.О ,  Данные  Петров П.П."_s);
    QCOMPARE(student.data1, u"10 класс"_s);
    QCOMPARE(control<ActiveLabel>(start, "q1")->text(), QString());
    QVERIFY(!shown(start, "Label8"));
    QVERIFY(folder.platform.messages.isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartWindowTest::manualEntryNeedsPasswordToOpen()
{
    ProgramFolder folder;
    prepare(folder, 3, u"rus"_s, u"Pass"_s);
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));

    auto *password = control<QLineEdit>(start, "Text2");
    password->setText(u"pass"_s);
    control<QCheckBox>(start, "Check1")->setChecked(true);
    QVERIFY(!control<QCheckBox>(start, "Check1")->isChecked());
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Не правильный пароль!"_s});
    QVERIFY(!shown(start, "Text1"));
    QVERIFY(control<QPushButton>(start, "Command1")->isEnabled());
    QCOMPARE(password->text(), QString());

    password->setText(u"Pass"_s);
    control<QCheckBox>(start, "Check1")->setChecked(true);
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(shown(start, "Text1"));
    QVERIFY(!control<QPushButton>(start, "Command1")->isEnabled());
    QVERIFY(!control<ActiveLabel>(start, "Label2")->isEnabled());
    // The next student does not find the password in the box.
    QCOMPARE(password->text(), QString());

    control<QLineEdit>(start, "Text1")->setText(u"2"_s);
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), u"b2"_s);
    // Leaving manual entry needs no password: nothing is said, the field hides, the draw is back.
    control<QCheckBox>(start, "Check1")->setChecked(false);
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(!control<QCheckBox>(start, "Check1")->isChecked());
    QVERIFY(!shown(start, "Text1"));
    QVERIFY(control<QPushButton>(start, "Command1")->isEnabled());
    QVERIFY(control<ActiveLabel>(start, "Label2")->isEnabled());
    QCOMPARE(control<QLineEdit>(start, "Text1")->text(), QString());
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), u"b"_s);
}

// The box is emptied after the check that began manual entry, so the program's own end of it
// (a ticket that cannot open, the next student) asks for no password.
void StartWindowTest::programEndsManualEntryWithoutPassword()
{
    ProgramFolder folder;
    prepare(folder, 3, u"rus"_s, u"Pass"_s);
    QFile::remove(folder.path(u"b/exam/b2/o1.txt"_s));
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));
    auto *manual = control<QCheckBox>(start, "Check1");

    control<QLineEdit>(start, "Text2")->setText(u"Pass"_s);
    manual->setChecked(true);
    control<QLineEdit>(start, "Text1")->setText(u"2"_s);
    click(start, "Command3");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Нет вопроса в билете № b2"_s});
    QVERIFY(!manual->isChecked());
    QVERIFY(!shown(start, "Text1"));
    QVERIFY(control<QPushButton>(start, "Command1")->isEnabled());

    control<QLineEdit>(start, "Text2")->setText(u"Pass"_s);
    manual->setChecked(true);
    click(start, "Label9");
    QVERIFY(enterStudent(start, u"Петров П.П."_s));
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(!manual->isChecked());
    QVERIFY(!shown(start, "Text1"));
    QVERIFY(control<QPushButton>(start, "Command1")->isEnabled());
    QVERIFY(control<ActiveLabel>(start, "Label2")->isEnabled());
}

void StartWindowTest::incompleteFirstQuestionIsRefused_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("rus") << u"rus"_s << QStringList{u"Нет вопроса в билете № b2"_s};
    QTest::newRow("eng") << u"eng"_s << QStringList{u"No question in the ticket № b2"_s};
    QTest::newRow("another language shows nothing") << u"fra"_s << QStringList();
}

void StartWindowTest::incompleteFirstQuestionIsRefused()
{
    QFETCH(QString, language);
    QFETCH(QStringList, messages);

    ProgramFolder folder;
    prepare(folder, 3, language);
    QFile::remove(folder.path(u"b/exam/b2/o1.txt"_s));
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));
    QVERIFY(drawTicket(folder, 0.5));
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), u"b2"_s);

    click(start, "Command3");
    QCOMPARE(folder.platform.messageTexts(), messages);
    QCOMPARE(control<QLineEdit>(start, "Text1")->text(), QString());
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), QString());
    QVERIFY(!control<QPushButton>(start, "Command3")->isEnabled());
    QCOMPARE(control<ActiveLabel>(start, "q1")->text(), QString());
    QVERIFY(!shown(start, "Label8"));
    QVERIFY(start->isVisible());
}

void StartWindowTest::resetAndBackToModeChoice()
{
    ProgramFolder folder;
    prepare(folder, 2);
    StartWindow *start = folder.start().startWindow();
    QVERIFY(enterStudent(start));
    click(start, "Command1");
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), u"b1"_s);
    click(start, "Label2");
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), QString());
    QVERIFY(!control<QPushButton>(start, "Command3")->isEnabled());

    click(start, "Label9");
    QVERIFY(shown(start, "Frame3"));
    QVERIFY(shown(start, "Frame9"));
    QVERIFY(!shown(start, "Frame1"));
    QVERIFY(!shown(start, "Label8"));
    QCOMPARE(control<QLineEdit>(start, "Text9")->text(), QString());
    QVERIFY(control<QRadioButton>(start, "Option3")->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartWindowTest::settingsNeedPassword()
{
    ProgramFolder folder;
    prepare(folder, 2, u"eng"_s, u"1234"_s);
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    start->show();
    QVERIFY(enterStudent(start));

    QVERIFY(!openSettingsByPassword(app, u"123"_s));
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Not correct password!"_s});
    QCOMPARE(control<QLineEdit>(start, "Text2")->text(), QString());

    QVERIFY(openSettingsByPassword(app, u"1234"_s));
    QVERIFY(!start->isVisible());
    QCOMPARE(control<QLineEdit>(start, "Text2")->text(), QString());
}

// The name typed to reach the settings is the teacher's; the next ticket must not carry it.
void StartWindowTest::closedSettingsWaitForNextStudent()
{
    ProgramFolder folder;
    prepare(folder, 2, u"rus"_s, u"1234"_s);
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    start->show();
    QVERIFY(enterStudent(start, u"Учитель"_s));
    control<QLineEdit>(start, "Text10")->setText(u"кафедра"_s);
    SettingsWindow *settings = openSettingsByPassword(app, u"1234"_s);
    QVERIFY(settings);
    click(settings, "Command6");

    QVERIFY(start->isVisible());
    QVERIFY(shown(start, "Frame9"));
    QVERIFY(!shown(start, "Frame1"));
    QCOMPARE(control<QLineEdit>(start, "Text9")->text(), QString());
    QCOMPARE(control<QLineEdit>(start, "Text10")->text(), QString());
    QCOMPARE(app.studentStep().name(), QString());
    QVERIFY(enterStudent(start, u"Петров П.П."_s));
    QCOMPARE(app.studentStep().student().name, u"Петров П.П."_s);
}

void StartWindowTest::exitOpensFarewellAndEnds()
{
    ProgramFolder folder;
    prepare(folder, 2);
    Application &app = folder.start();
    app.startWindow()->show();
    folder.writeBytes(u"plt.txt"_s, AnsiText::encode(u"До свидания\r\n"_s));
    click(app.startWindow(), "Command4");
    // plt.txt in the program's viewer, the only window left; closing it ends the program.
    QVERIFY(app.hasEnded());
    QVERIFY(!app.startWindow()->isVisible());
    TextViewerWindow *farewell = app.documents().textViewer();
    QVERIFY(farewell && farewell->isVisible());
    QCOMPARE(farewell->file(), folder.path(u"plt.txt"_s));
    QCOMPARE(farewell->text(), u"До свидания\n"_s);
    QCOMPARE(folder.platform.documents, QStringList());
}

QTEST_MAIN(StartWindowTest)
#include "tst_start.moc"
