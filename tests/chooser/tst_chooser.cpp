#include "core/files/ini.h"
#include "core/platform.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

class TestChooser : public QObject
{
    Q_OBJECT

private:
    // Starts the program with these counts and opens the chooser from the settings window.
    ExamChooserWindow *openFromSettings(ProgramFolder &folder, const QStringList &settings)
    {
        folder.writeSettings(settings);
        Application &app = folder.start();
        app.showSettings();
        click(app.settingsWindow(), "Label18");
        return app.examChooser();
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void counts_data();
    void counts();
    void folderTest_data();
    void folderTest();
    void acceptTwiceGivesTheSameCounts();
    void equalCountsStillReplaceTheExam();
    void countsMismatch_data();
    void countsMismatch();
    void walkerFailureAsksForRegistration_data();
    void walkerFailureAsksForRegistration();
    void unwritableRegistrationFlagIsSaid();
    void drawWithoutExamOpensTheLibrary();
    void chosenExamOpensOnTheLibrary();
    void treeAndLinkMoveTheFolder();
};

void TestChooser::counts_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QStringList>("extraFiles");
    QTest::addColumn<QString>("tickets");
    QTest::addColumn<QString>("questions");

    // Which entries count as tickets is the exam folder's test, and which files the walk finds
    // (capital endings, sub-folders, no pictures) is the walk's test above; here the window
    // walks the first ticket only and shows a share of text files in the locale.
    QTest::newRow("five tickets of five questions") << u"C"_s << QStringList{} << u"5"_s << u"5"_s;
    QTest::newRow("one more text file, point") << u"C"_s << QStringList{u"b1/notes.txt"_s} << u"5"_s << u"5.3333"_s;
    QTest::newRow("one more text file, comma") << u"ru_RU"_s << QStringList{u"b1/notes.txt"_s} << u"5"_s << u"5,3333"_s;
    QTest::newRow("pictures and other tickets do not count")
        << u"C"_s << QStringList{u"b1/k1.bmp"_s, u"b2/q9.txt"_s} << u"5"_s << u"5"_s;
}

void TestChooser::counts()
{
    QFETCH(QString, localeName);
    QFETCH(QStringList, extraFiles);
    QFETCH(QString, tickets);
    QFETCH(QString, questions);
    QLocale::setDefault(QLocale(localeName));

    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 5, 5);
    for (const QString &file : extraFiles)
        folder.writeText(u"b/exam/"_s + file, u"x\r\n"_s);
    ExamChooserWindow *chooser = openFromSettings(folder, {u"bilet=5"_s, u"vopros=5"_s, u"ball=4"_s, u"re=rus"_s});
    QVERIFY(chooser);

    control<QLineEdit>(chooser, "Text1")->setText(exam);
    QVERIFY(control<QPushButton>(chooser, "Command1")->isEnabled());
    click(chooser, "Command1");
    QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), tickets);
    QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), questions);
    const QStringList entries = rowTexts(control<QListView>(chooser, "List1"));
    QCOMPARE(entries.size(), tickets.toInt() + 1);
    QVERIFY(entries.contains(exam + u"/lzm.lzm"_s));
    QCOMPARE(control<QLineEdit>(chooser, "Text4")->text(), tickets);
}

void TestChooser::folderTest_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("accepting");

    QTest::newRow("exam") << u"rus"_s << QStringList{u"b1/v1.txt"_s} << QString() << true;
    QTest::newRow("no ticket folder") << u"rus"_s << QStringList{u"lzm.lzm"_s} << u"В папке билетов нет"_s << false;
    QTest::newRow("capital B1") << u"rus"_s << QStringList{u"B1/v1.txt"_s} << u"В папке билетов нет"_s << false;
    QTest::newRow("no answers of question 1") << u"rus"_s << QStringList{u"b1/q1.txt"_s} << u"Отсутствует вопрос"_s
                                              << true;
    QTest::newRow("capital V1.txt") << u"rus"_s << QStringList{u"b1/V1.txt"_s} << u"Отсутствует вопрос"_s << true;
    QTest::newRow("english, no ticket folder") << u"eng"_s << QStringList{u"x.txt"_s} << u"In file of tickets no"_s
                                               << false;
    QTest::newRow("english, no question") << u"eng"_s << QStringList{u"b1/o1.txt"_s} << u"Is Absent question"_s
                                          << true;
}

void TestChooser::folderTest()
{
    QFETCH(QString, language);
    QFETCH(QStringList, files);
    QFETCH(QString, said);
    QFETCH(bool, accepting);

    ProgramFolder folder;
    for (const QString &file : files)
        folder.writeText(u"b/candidate/"_s + file, u"x\r\n"_s);
    ExamChooserWindow *chooser = openFromSettings(folder, {u"re="_s + language});
    QVERIFY(chooser);

    control<QLineEdit>(chooser, "Text1")->setText(folder.path(u"b/candidate"_s));
    QCOMPARE(control<QLineEdit>(chooser, "Text4")->text(), said);
    QCOMPARE(shown(chooser, "Text4"), !said.isEmpty());
    QCOMPARE(control<QPushButton>(chooser, "Command1")->isEnabled(), accepting);
}

void TestChooser::acceptTwiceGivesTheSameCounts()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"История"_s, 3, 4);
    ExamChooserWindow *chooser = openFromSettings(folder, {u"bilet=9"_s, u"vopros=9"_s, u"re=rus"_s});
    control<QLineEdit>(chooser, "Text1")->setText(exam);

    for (int round = 0; round < 2; ++round) {
        click(chooser, "Command1");
        QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), u"3"_s);
        QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), u"4"_s);
        QCOMPARE(control<QListWidget>(chooser, "List2")->count(), 12);
        QCOMPARE(control<QLineEdit>(chooser, "Text6")->text(), u"9"_s);
        QCOMPARE(control<QLineEdit>(chooser, "Text7")->text(), u"9"_s);
        QVERIFY(shown(chooser, "Frame1"));
    }
}

void TestChooser::equalCountsStillReplaceTheExam()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 5, 5);
    folder.writeSettings({u"bilet=5"_s, u"vopros=5"_s, u"ball=3,8"_s, u"re=rus"_s, u"z="_s + folder.path(u"old"_s)});
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    app.studentStep().setTicketNumber(u"2"_s);
    app.showSettings();
    click(app.settingsWindow(), "Label18");
    ExamChooserWindow *chooser = app.examChooser();

    control<QLineEdit>(chooser, "Text1")->setText(exam);
    click(chooser, "Command1");

    QVERIFY(!shown(chooser, "Frame1"));
    QVERIFY(chooser->isVisible());
    QCOMPARE(control<QLineEdit>(app.settingsWindow(), "Text6")->text(), exam);
    QCOMPARE(control<QLineEdit>(app.settingsWindow(), "Text5")->text(), u"3,8"_s);
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), QString());
    QVERIFY(!control<QPushButton>(start, "Command3")->isEnabled());

    click(chooser, "Command2");
    QVERIFY(!app.examChooser());
    QVERIFY(app.settingsWindow()->isVisible());
}

void TestChooser::countsMismatch_data()
{
    QTest::addColumn<int>("tickets");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("passScore");
    QTest::newRow("Да takes the exam's counts") << 4 << 7 << QByteArray("Command4") << u"0"_s;
    QTest::newRow("Нет keeps the counts") << 5 << 3 << QByteArray("Command5") << u"3,8"_s;
}

// Counts other than the settings' ask which to keep; the exam is taken either way.
void TestChooser::countsMismatch()
{
    QFETCH(int, tickets);
    QFETCH(int, questions);
    QFETCH(QByteArray, answer);
    QFETCH(QString, passScore);
    const bool takes = answer == "Command4";
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, tickets, questions);
    ExamChooserWindow *chooser =
        openFromSettings(folder, {u"bilet=5"_s, u"vopros=5"_s, u"ball=3,8"_s, u"re=rus"_s});
    SettingsWindow *settings = folder.app().settingsWindow();
    QVERIFY(!settings->isVisible());

    control<QLineEdit>(chooser, "Text1")->setText(exam);
    click(chooser, "Command1");
    QVERIFY(shown(chooser, "Frame1"));
    QCOMPARE(control<QLineEdit>(chooser, "Text6")->text(), u"5"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text7")->text(), u"5"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), QString::number(tickets));
    QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), QString::number(questions));

    click(chooser, answer.constData());
    QCOMPARE(control<QLineEdit>(settings, "Text6")->text(), exam);
    QCOMPARE(control<QLineEdit>(settings, "Text3")->text(), takes ? QString::number(tickets) : u"5"_s);
    QCOMPARE(control<QComboBox>(settings, "Combo1")->currentText(), takes ? QString::number(questions) : u"5"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text5")->text(), passScore);
    QVERIFY(!folder.app().examChooser());
    QVERIFY(settings->isVisible());
}

void TestChooser::walkerFailureAsksForRegistration_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("said");

    QTest::newRow("rus") << u"rus"_s << u"Зарегистрируйте библиотеку scrrun.dll. Активируйте утилиту ventaro.exe"_s;
    QTest::newRow("eng") << u"eng"_s << u"Register scrrun.dll library. Actuate utility ventaro.exe"_s;
    QTest::newRow("another language") << u"xx"_s << u"Register scrrun.dll library. Actuate utility ventaro.exe"_s;
}

void TestChooser::walkerFailureAsksForRegistration()
{
    QFETCH(QString, language);
    QFETCH(QString, said);

    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 2, 5);
    folder.platform.walkerFails = true;
    ExamChooserWindow *chooser = openFromSettings(folder, {u"bilet=5"_s, u"vopros=5"_s, u"re="_s + language});

    control<QLineEdit>(chooser, "Text1")->setText(exam);
    click(chooser, "Command1");

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.messages.first().title, u"Тест-Тавринг"_s);
    QCOMPARE(folder.platform.messages.first().text, said);
    QCOMPARE(folder.platform.programs, QStringList{folder.path(u"ventaro"_s)});
    QCOMPARE(GetValueString(u"reg"_s, u"reg"_s, folder.path(u"test.ini"_s)), u"1"_s);
    QCOMPARE(GetValueString(u"test"_s, u"bilet"_s, folder.path(u"test.ini"_s)), u"5"_s);
    // The ticket count came first; nothing after the walk happened.
    QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), u"2"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), QString());
    QCOMPARE(control<QLineEdit>(folder.app().settingsWindow(), "Text6")->text(), QString());
    QVERIFY(!shown(chooser, "Frame1"));
}

// The flag reg that cannot be written is said after the request to register, once.
void TestChooser::unwritableRegistrationFlagIsSaid()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 2, 5);
    folder.platform.walkerFails = true;
    ExamChooserWindow *chooser = openFromSettings(folder, {u"bilet=5"_s, u"vopros=5"_s, u"re=eng"_s});
    QFile::remove(folder.path(u"test.ini"_s));
    QVERIFY(QDir().mkpath(folder.path(u"test.ini"_s)));

    control<QLineEdit>(chooser, "Text1")->setText(exam);
    click(chooser, "Command1");

    const QStringList said = folder.platform.messageTexts();
    QCOMPARE(said.size(), 2);
    QCOMPARE(said.first(), u"Register scrrun.dll library. Actuate utility ventaro.exe"_s);
    const QString named = u"The settings could not be saved to the file %1: "_s.arg(
        QDir::toNativeSeparators(folder.path(u"test.ini"_s)));
    QVERIFY2(said.last().startsWith(named) && said.last().size() > named.size(), qPrintable(said.last()));
    QCOMPARE(folder.platform.programs, QStringList{folder.path(u"ventaro"_s)});
    QVERIFY(chooser->isVisible());
}

void TestChooser::drawWithoutExamOpensTheLibrary()
{
    ProgramFolder folder;
    folder.writeSettings({u"bilet=5"_s, u"vopros=5"_s, u"re=rus"_s});
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    start->show();

    click(start, "Command1");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"У вас не выбрана папка с билетами экзамена!"_s});
    ExamChooserWindow *chooser = app.examChooser();
    QVERIFY(chooser);
    QVERIFY(chooser->isVisible());
    QVERIFY(!start->isVisible());
    QCOMPARE(chooser->objectName(), u"Form9"_s);
    QCOMPARE(chooser->windowTitle(), u"Тест-Тавринг "_s);
    QCOMPARE(chooser->folder(), folder.path(u"b"_s));
    QCOMPARE(control<QLineEdit>(chooser, "Text1")->text(), folder.path(u"b"_s));
    QCOMPARE(control<QLineEdit>(chooser, "Text4")->text(), u"В папке билетов нет"_s);
    QVERIFY(!control<QPushButton>(chooser, "Command1")->isEnabled());
    QVERIFY(!shown(chooser, "Frame1"));
    QVERIFY(!shown(chooser, "List2"));

    // Opened by a student's draw the chooser returns to the start window: it is no way into the
    // settings without the password.
    click(chooser, "Command2");
    QVERIFY(!app.examChooser());
    QVERIFY(!app.settingsWindow()->isVisible());
    QVERIFY(start->isVisible());
}

void TestChooser::chosenExamOpensOnTheLibrary()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 3, 5);
    ExamChooserWindow *chooser =
        openFromSettings(folder, {u"bilet=3"_s, u"vopros=5"_s, u"re=eng"_s, u"z="_s + exam});

    QCOMPARE(control<QLineEdit>(chooser, "Text1")->text(), folder.path(u"b"_s));
    QCOMPARE(control<QLineEdit>(chooser, "Text6")->text(), u"3"_s);
    QVERIFY(!control<QPushButton>(chooser, "Command1")->isEnabled());
    QCOMPARE(control<QLineEdit>(chooser, "Text4")->text(), u"In file of tickets no"_s);
    QCOMPARE(control<QPushButton>(chooser, "Command1")->text(), u"To Take"_s);
    QCOMPARE(control<ActiveLabel>(chooser, "Label8")->text(), u"Returned to file with exams"_s);
    QVERIFY(!folder.app().settingsWindow()->isVisible());
}

void TestChooser::treeAndLinkMoveTheFolder()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 2, 5);
    for (int i = 0; i < 40; ++i)
        QDir().mkpath(folder.path(u"a%1"_s.arg(i, 2, 10, QChar(u'0'))));
    QDir().mkpath(folder.path(u"zz/deep"_s));
    ExamChooserWindow *chooser = openFromSettings(folder, {u"re=rus"_s});

    // The drive list starts with the root.
    QVERIFY(control<QComboBox>(chooser, "Drive1")->count() >= 1);
    QCOMPARE(control<QComboBox>(chooser, "Drive1")->itemData(0).toString(), QDir::rootPath());

    auto *model = qobject_cast<QFileSystemModel *>(control<QTreeView>(chooser, "Dir1")->model());
    QVERIFY(model);
    control<QTreeView>(chooser, "Dir1")->setCurrentIndex(model->index(exam));
    QCOMPARE(control<QLineEdit>(chooser, "Text1")->text(), exam);
    QVERIFY(control<QPushButton>(chooser, "Command1")->isEnabled());
    QVERIFY(!shown(chooser, "Text4"));

    // A folder that no longer exists puts the tree on the nearest folder above it.
    chooser->setFolder(exam + u"/b9/deeper"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text1")->text(), exam);

    // The tree unfolds to a folder set in code and stays on it while the model reads the
    // folders on the way in the background, which puts many folders above it.
    chooser->setFolder(folder.path(u"zz/deep"_s));
    QTreeView *tree = control<QTreeView>(chooser, "Dir1");
    QCOMPARE(model->filePath(tree->currentIndex()), folder.path(u"zz/deep"_s));
    // The 41 folders made here and b/, s/, t/ and help/ of the program folder.
    QTRY_COMPARE(model->rowCount(model->index(folder.path())), 45);
    QTRY_VERIFY(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()).topLeft()));

    control<QLineEdit>(chooser, "Text1")->setText(u"typed"_s);
    click(chooser, "Label8");
    QCOMPARE(control<QLineEdit>(chooser, "Text1")->text(), folder.path(u"b"_s));
    QCOMPARE(model->filePath(control<QTreeView>(chooser, "Dir1")->currentIndex()), folder.path(u"b"_s));
}

QTEST_MAIN(TestChooser)
#include "tst_chooser.moc"
