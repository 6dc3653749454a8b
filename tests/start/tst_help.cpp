#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "gui/help/help_window.h"
#include "gui/help/text_viewer_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTest>

using namespace Qt::StringLiterals;

// The help buttons: help/help.chm when the program folder has one, the guide in the window's
// language otherwise, in the program's own help window; the program's own text viewer.
class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void documentFollowsFilesAndLanguage_data();
    void documentFollowsFilesAndLanguage();
    void helpButtonsOpenTheGuideOfTheirLanguage();
    void missingGuideIsSaid();
    void textViewerReadsWindows1251_data();
    void textViewerReadsWindows1251();
};

void HelpTest::documentFollowsFilesAndLanguage_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("opened");

    const QString chm = u"help/help.chm"_s;
    const QString ru = u"help/guide-ru/index.html"_s;
    const QString en = u"help/guide-en/index.html"_s;
    QTest::newRow("chm wins in rus") << QStringList{chm, ru, en} << u"rus"_s << chm;
    QTest::newRow("chm wins in eng") << QStringList{chm, ru, en} << u"eng"_s << chm;
    QTest::newRow("russian guide") << QStringList{ru, en} << u"rus"_s << ru;
    QTest::newRow("english guide") << QStringList{ru, en} << u"eng"_s << en;
    QTest::newRow("another language reads russian") << QStringList{ru, en} << u"deu"_s << ru;
    QTest::newRow("english guide missing") << QStringList{ru} << u"eng"_s << chm;
    QTest::newRow("nothing shipped") << QStringList{} << u"rus"_s << chm;
}

void HelpTest::documentFollowsFilesAndLanguage()
{
    QFETCH(QStringList, present);
    QFETCH(QString, language);
    QFETCH(QString, opened);

    ProgramFolder folder;
    for (const QString &file : present)
        folder.writeBytes(file, "<html></html>");
    QCOMPARE(ProgramPaths(folder.path()).helpDocument(language), folder.path(opened));
}

namespace {

// The guide's page in the help window, "" while it is not shown.
QString shownGuide(Application &app)
{
    HelpWindow *help = app.documents().helpWindow();
    return help && help->isVisible() ? help->page() : QString();
}

} // namespace

void HelpTest::helpButtonsOpenTheGuideOfTheirLanguage()
{
    ProgramFolder folder;
    folder.writeBytes(u"help/guide-ru/index.html"_s, "<html><body><a href=\"next.html\">next</a></body></html>");
    folder.writeBytes(u"help/guide-ru/next.html"_s, "<html><body>Дальше</body></html>");
    folder.writeBytes(u"help/guide-en/index.html"_s, "<html><body>Guide</body></html>");
    folder.writeSettings({u"bilet=1"_s, u"vopros=1"_s, u"pass="_s, u"re=eng"_s});
    Application &app = folder.start();
    StartWindow *start = app.startWindow();
    start->show();
    QApplication::setActiveWindow(start);

    // Exam mode opens the guide in the program's help window, which leaves the keyboard with
    // the name box; the desktop opens nothing.
    control<QRadioButton>(start, "Option1")->setChecked(true);
    const QString english = folder.path(u"help/guide-en/index.html"_s);
    QCOMPARE(shownGuide(app), english);
    HelpWindow *help = app.documents().helpWindow();
    QVERIFY(help->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(QApplication::activeWindow(), start);
    QCOMPARE(QApplication::focusWidget(), control(start, "Text9"));
    QCOMPARE(help->windowTitle(), u"Тест-Тавринг: user guide"_s);
    QCOMPARE(control<QPushButton>(help, "cmdBack")->text(), u"< Back"_s);
    QCOMPARE(folder.platform.documents, QStringList());

    // The help button brings the same window forward, also when it was minimized or closed.
    help->showMinimized();
    click(start, "Command10");
    QCOMPARE(app.documents().helpWindow(), help);
    QVERIFY(help->isVisible() && !help->isMinimized());
    help->close();
    click(start, "Command10");
    QCOMPARE(app.documents().helpWindow(), help);
    QCOMPARE(shownGuide(app), english);

    // The settings window after a switch to Russian shows the Russian guide, in Russian; a
    // link leads on and "Назад" comes back.
    app.switchLanguage(u"rus"_s);
    app.showSettings();
    click(app.settingsWindow(), "Command10");
    QCOMPARE(shownGuide(app), folder.path(u"help/guide-ru/index.html"_s));
    QCOMPARE(help->windowTitle(), u"Тест-Тавринг: руководство"_s);
    auto *back = control<QPushButton>(help, "cmdBack");
    QCOMPARE(back->text(), u"< Назад"_s);
    QVERIFY(!back->isEnabled());
    control<QTextBrowser>(help, "helpBrowser")->setSource(QUrl::fromLocalFile(folder.path(u"help/guide-ru/next.html"_s)));
    QCOMPARE(shownGuide(app), folder.path(u"help/guide-ru/next.html"_s));
    QVERIFY(back->isEnabled());
    back->click();
    QCOMPARE(shownGuide(app), folder.path(u"help/guide-ru/index.html"_s));
    QVERIFY(control<QPushButton>(help, "cmdForward")->isEnabled());
    QCOMPARE(folder.platform.messageTexts(), QStringList());

    // A help file the teacher puts into help/ goes to the desktop; a desktop that cannot open
    // it says so.
    folder.writeBytes(u"help/help.chm"_s, "ITSF");
    click(app.settingsWindow(), "Command10");
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/help.chm"_s)});
    folder.platform.documentsOpen = false;
    click(app.settingsWindow(), "Command10");
    QCOMPARE(folder.platform.messageTexts(),
             QStringList{u"Нет программы, которая открывает файл "_s + folder.path(u"help/help.chm"_s)});
}

void HelpTest::missingGuideIsSaid()
{
    ProgramFolder folder;
    folder.writeSettings({u"bilet=1"_s, u"vopros=1"_s, u"pass="_s, u"re=eng"_s});
    Application &app = folder.start();
    QVERIFY(QDir(folder.path(u"help"_s)).removeRecursively());
    const QStringList said{u"The guide is missing: there is no file "_s + folder.path(u"help/help.chm"_s)};

    // Opened by the program at each mode choice, a missing guide is said the first time only,
    // so it does not stop every student; "Help" says it every time.
    for (int student = 0; student < 3; ++student) {
        control<QRadioButton>(app.startWindow(), "Option1")->setChecked(true);
        click(app.startWindow(), "Label6");
    }
    QCOMPARE(folder.platform.messageTexts(), said);
    click(app.startWindow(), "Command10");
    QCOMPARE(folder.platform.messageTexts(), said + said);
    QVERIFY(!app.documents().helpWindow());
}

// The reports and plt.txt are Windows-1251; the viewer shows their letters, whatever the desktop
// would make of them, and says why a file cannot be shown.
void HelpTest::textViewerReadsWindows1251_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("said");
    QTest::newRow("report") << u"rus"_s << true << QString();
    QTest::newRow("no report yet, in Russian") << u"rus"_s << false << u"нет такого файла"_s;
    QTest::newRow("no report yet, in English") << u"eng"_s << false << u"No such file"_s;
}

void HelpTest::textViewerReadsWindows1251()
{
    QFETCH(QString, language);
    QFETCH(bool, present);
    QFETCH(QString, said);
    ProgramFolder folder;
    folder.writeSettings({u"bilet=1"_s, u"vopros=1"_s, u"pass="_s, u"re="_s + language});
    const QString record = u"Иванова Анна\r\nБилет № 2\r\nЗачет\r\n"_s;
    if (present)
        folder.writeBytes(u"s/oth.txt"_s, AnsiText::encode(record));
    SettingsWindow *settings = folder.start().settingsWindow();
    click(settings, "Command3");
    TextViewerWindow *viewer = folder.app().documents().textViewer();
    QCOMPARE(folder.platform.documents, QStringList());
    if (!present) {
        QVERIFY(!viewer || !viewer->isVisible());
        QCOMPARE(folder.platform.messageTexts().size(), 1);
        QVERIFY2(folder.platform.messageTexts().first().contains(said, Qt::CaseInsensitive),
                 qPrintable(folder.platform.messageTexts().first()));
        QVERIFY(folder.platform.messageTexts().first().contains(u"oth.txt"_s));
        return;
    }
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->text(), u"Иванова Анна\nБилет № 2\nЗачет\n"_s);
    QVERIFY(control<QPlainTextEdit>(viewer, "txtText")->isReadOnly());
    QVERIFY(viewer->windowTitle().startsWith(u"oth.txt"_s));
    QCOMPARE(folder.platform.messageTexts(), QStringList());
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
