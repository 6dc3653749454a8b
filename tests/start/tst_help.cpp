#include "core/program/program_paths.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The help buttons: help/help.chm when the program folder has one, the guide in the window's
// language otherwise.
class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void documentFollowsFilesAndLanguage_data();
    void documentFollowsFilesAndLanguage();
    void helpButtonsOpenTheGuideOfTheirLanguage();
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

void HelpTest::helpButtonsOpenTheGuideOfTheirLanguage()
{
    ProgramFolder folder;
    folder.writeBytes(u"help/guide-ru/index.html"_s, "<html></html>");
    folder.writeBytes(u"help/guide-en/index.html"_s, "<html></html>");
    folder.writeSettings({u"bilet=1"_s, u"vopros=1"_s, u"pass="_s, u"re=eng"_s});
    Application &app = folder.start();

    // Exam mode opens the help with the about window; so does the help button.
    control<QRadioButton>(app.startWindow(), "Option1")->setChecked(true);
    click(app.startWindow(), "Command10");
    const QString english = folder.path(u"help/guide-en/index.html"_s);
    QCOMPARE(folder.platform.documents, (QStringList{english, english}));

    // The settings window after a switch to Russian opens the Russian guide.
    app.switchLanguage(u"rus"_s);
    app.showSettings();
    folder.platform.documents.clear();
    click(app.settingsWindow(), "Command10");
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/guide-ru/index.html"_s)});

    // A help file the teacher puts into help/ is opened instead of the guide.
    folder.writeBytes(u"help/help.chm"_s, "ITSF");
    folder.platform.documents.clear();
    click(app.settingsWindow(), "Command10");
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/help.chm"_s)});
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
