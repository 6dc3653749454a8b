#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "gui/help/text_viewer_window.h"
#include "gui/lab/lab_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString MinutesMessage = u"В минутах установите целые числа 1, 2 , .....30..... "_s;

QStringList fullSettings(const QString &exam)
{
    return {u"bilet=12"_s, u"vopros=5"_s, u"ball=4,4"_s, u"time=10"_s, u"pass=секрет"_s, u"l=640"_s,
            u"h=480"_s, u"k=1"_s, u"re=eng"_s, u"z="_s + exam};
}

// The start of the message that a save of the settings file failed, before the reason.
QString failedSave(const QString &language, const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    return language == "eng"_L1 ? u"The settings could not be saved to the file %1: "_s.arg(shown)
                                : u"Не удалось сохранить настройки в файл %1: "_s.arg(shown);
}

// A settings file that cannot be replaced, even by root: a folder in its place.
void blockSettingsFile(const ProgramFolder &folder)
{
    QFile::remove(folder.path(u"test.ini"_s));
    QVERIFY(QDir().mkpath(folder.path(u"test.ini"_s)));
}

// Exactly one message, the failed save in the language, with a reason after the file name.
void saidFailedSave(const TestPlatform &platform, const QString &language, const QString &file)
{
    QCOMPARE(platform.messages.size(), 1);
    const TestPlatform::Message &message = platform.messages.first();
    const QString start = failedSave(language, file);
    QVERIFY2(message.text.startsWith(start) && message.text.size() > start.size(), qPrintable(message.text));
    QCOMPARE(message.title, u"Тест-Тавринг"_s);
    QCOMPARE(message.icon, MessageIcon::Critical);
}

} // namespace

class SettingsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(u"ru_RU"_s)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void loadFillsTheRecord();
    void missingFileLeavesEverythingEmpty();
    void pictureSizeMode_data();
    void pictureSizeMode();
    void minutes_data();
    void minutes();
    void storedMinutesAtStart_data();
    void storedMinutesAtStart();
    void timerSwitchesExcludeEachOther();
    void clockShowsDateAndTime();
    void closingWithoutSavingLeavesTheFile();
    void closingWithSavingWritesInOrder();
    void saveEveryResult();
    void labSettings();
    void closingWithoutPassScoreWarns_data();
    void closingWithoutPassScoreWarns();
    void closingRecaptionsTheStartWindow();
    void reportAndHelpOpenDocuments();
    void languageButtons();
    void failedSaveOnClosingIsSaid_data();
    void failedSaveOnClosingIsSaid();
    void faultOnClosingKeepsTheFileAndIsSaid_data();
    void faultOnClosingKeepsTheFileAndIsSaid();
    void failedLanguageSaveIsSaidOnce_data();
    void failedLanguageSaveIsSaidOnce();
};

void SettingsWindowTest::loadFillsTheRecord()
{
    ProgramFolder folder;
    folder.writeSettings(fullSettings(u"/exams/Физика"_s));
    SettingsWindow *settings = folder.start().settingsWindow();

    QCOMPARE(settings->objectName(), u"Form4"_s);
    QVERIFY(!settings->isVisible());
    QCOMPARE(control<QLineEdit>(settings, "Text3")->text(), u"12"_s);
    QCOMPARE(control<QComboBox>(settings, "Combo1")->currentText(), u"5"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text5")->text(), u"4,4"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text2")->text(), u"10"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label15")->text(), u"10"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text12")->text(), u"секрет"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text4")->text(), u"640"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text1")->text(), u"480"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"1"_s);
    QVERIFY(control<QRadioButton>(settings, "Option1")->isChecked());
    QCOMPARE(control<ActiveLabel>(settings, "Label17")->text(), u"eng"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text6")->text(), u"/exams/Физика"_s);
    QCOMPARE(control<QComboBox>(settings, "Combo1")->count(), 20);
    QVERIFY(!control<QCheckBox>(settings, "Check1")->isChecked());
    QVERIFY(!control<QCheckBox>(settings, "Check2")->isChecked());
    QVERIFY(!control<QCheckBox>(settings, "Check3")->isChecked());

    QCOMPARE(control<QGroupBox>(settings, "Frame3")->title(), u"Adjustment"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label6")->text(), u"To Adjust a communicating ballet"_s);
    QVERIFY(shown(settings, "Frame3"));
    QVERIFY(!shown(settings, "Frame12"));
    QVERIFY(!shown(settings, "Frame9"));
    QVERIFY(!shown(settings, "Label15"));
    QVERIFY(!shown(settings, "Command5"));
    QVERIFY(folder.platform.messages.isEmpty());
}

void SettingsWindowTest::missingFileLeavesEverythingEmpty()
{
    ProgramFolder folder;
    SettingsWindow *settings = folder.start().settingsWindow();
    QCOMPARE(control<QLineEdit>(settings, "Text3")->text(), QString());
    QCOMPARE(control<QLineEdit>(settings, "Text2")->text(), QString());
    QCOMPARE(control<ActiveLabel>(settings, "Label15")->text(), u"1"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"2"_s);
    QVERIFY(control<QRadioButton>(settings, "Option2")->isChecked());
    // Designed captions for no language, the trailing space included.
    QCOMPARE(control<QGroupBox>(settings, "Frame3")->title(), u"Настройка "_s);
    QVERIFY(folder.platform.messages.isEmpty());
    QVERIFY(!QFile::exists(folder.path(u"test.ini"_s)));
}

void SettingsWindowTest::pictureSizeMode_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("mode");

    QTest::newRow("fixed") << u"1"_s << u"1"_s;
    QTest::newRow("seven") << u"7"_s << u"2"_s;
}

void SettingsWindowTest::pictureSizeMode()
{
    QFETCH(QString, stored);
    QFETCH(QString, mode);
    ProgramFolder folder;
    folder.writeSettings({u"k="_s + stored});
    SettingsWindow *settings = folder.start().settingsWindow();
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), mode);
    QCOMPARE(control<QRadioButton>(settings, "Option1")->isChecked(), mode == "1"_L1);

    control<QRadioButton>(settings, "Option1")->setChecked(true);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"1"_s);
    control<QRadioButton>(settings, "Option2")->setChecked(true);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"2"_s);
}

void SettingsWindowTest::minutes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("message");

    // The rule itself is the settings record's; the window shows it and refuses with a message.
    QTest::newRow("whole") << u"25"_s << u"25"_s << u"25"_s << false;
    QTest::newRow("zero becomes one") << u"0"_s << u"1"_s << u"0"_s << false;
    QTest::newRow("beyond the countdown") << u"547"_s << u"1"_s << u"1"_s << true;
    QTest::newRow("emptied") << QString() << u"1"_s << u"1"_s << true;
}

void SettingsWindowTest::minutes()
{
    QFETCH(QString, typed);
    QFETCH(QString, minutes);
    QFETCH(QString, box);
    QFETCH(bool, message);

    ProgramFolder folder;
    folder.writeSettings({u"time=7"_s, u"re=eng"_s});
    SettingsWindow *settings = folder.start().settingsWindow();
    QCOMPARE(control<ActiveLabel>(settings, "Label15")->text(), u"7"_s);
    control<QLineEdit>(settings, "Text2")->setText(typed);
    QCOMPARE(control<ActiveLabel>(settings, "Label15")->text(), minutes);
    QCOMPARE(control<QLineEdit>(settings, "Text2")->text(), box);
    if (message) {
        // Russian only, whatever the language.
        QCOMPARE(folder.platform.messageTexts(), QStringList{MinutesMessage});
        QCOMPARE(folder.platform.messages.first().title, u"Внимание!"_s);
        QCOMPARE(folder.platform.messages.first().icon, MessageIcon::Information);
    } else {
        QVERIFY(folder.platform.messages.isEmpty());
    }
}

void SettingsWindowTest::storedMinutesAtStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<bool>("message");

    QTest::newRow("whole") << u"12"_s << u"12"_s << false;
    QTest::newRow("none") << QString() << QString() << false;
    QTest::newRow("beyond the countdown") << u"600"_s << u"1"_s << true;
}

// The settings window is made only when it is needed, yet stored minutes the timer cannot take
// are said at start, before the start window shows, and the run times one minute, as before.
void SettingsWindowTest::storedMinutesAtStart()
{
    QFETCH(QString, stored);
    QFETCH(QString, minutes);
    QFETCH(bool, message);

    ProgramFolder folder;
    folder.writeSettings({u"time="_s + stored});
    Application &app = folder.start();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.begin(), windows.end(),
                         [](const QWidget *window) { return window->objectName() == "Form4"_L1; }));
    QCOMPARE(folder.platform.messageTexts(), message ? QStringList{MinutesMessage} : QStringList{});
    QCOMPARE(app.settings().minutes(), minutes);
    QCOMPARE(control<QLineEdit>(app.settingsWindow(), "Text2")->text(), minutes);
    // Loading the window later says nothing more.
    QCOMPARE(folder.platform.messages.size(), message ? 1 : 0);
}

void SettingsWindowTest::timerSwitchesExcludeEachOther()
{
    ProgramFolder folder;
    SettingsWindow *settings = folder.start().settingsWindow();
    control<QCheckBox>(settings, "Check1")->setChecked(true);
    QVERIFY(!control<QCheckBox>(settings, "Check2")->isEnabled());
    QCOMPARE(control<ActiveLabel>(settings, "Label13")->text(), u"Таймер включен"_s);
    control<QCheckBox>(settings, "Check1")->setChecked(false);
    QVERIFY(control<QCheckBox>(settings, "Check2")->isEnabled());
    QCOMPARE(control<ActiveLabel>(settings, "Label13")->text(), QString());

    control<QCheckBox>(settings, "Check2")->setChecked(true);
    QVERIFY(!control<QCheckBox>(settings, "Check1")->isEnabled());
    QVERIFY(control<QCheckBox>(settings, "Check2")->isEnabled());
    QCOMPARE(control<ActiveLabel>(settings, "Label13")->text(), u"Таймер включен"_s);
    control<QCheckBox>(settings, "Check2")->setChecked(false);
    QVERIFY(control<QCheckBox>(settings, "Check1")->isEnabled());
}

void SettingsWindowTest::clockShowsDateAndTime()
{
    ProgramFolder folder;
    SettingsWindow *settings = folder.start().settingsWindow();
    folder.platform.now = QDateTime(QDate(2027, 1, 31), QTime(9, 5, 0));
    settings->onTimer1();
    QCOMPARE(control<ActiveLabel>(settings, "Label35")->text(), u"09:05"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label36")->text(), u"31.01.2027"_s);
    QCOMPARE(control<QTimer>(settings, "Timer1")->interval(), 500);
    QVERIFY(control<QTimer>(settings, "Timer1")->isActive());
}

void SettingsWindowTest::closingWithoutSavingLeavesTheFile()
{
    ProgramFolder folder;
    folder.writeSettings(fullSettings(QString()));
    const QByteArray before = folder.readBytes(u"test.ini"_s);
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    control<QLineEdit>(settings, "Text3")->setText(u"99"_s);
    control<QLineEdit>(settings, "Text12")->setText(u"другой"_s);
    click(settings, "Command6");
    QVERIFY(!settings->isVisible());
    QVERIFY(app.startWindow()->isVisible());
    QCOMPARE(folder.readBytes(u"test.ini"_s), before);
    // The start window takes the number of tickets of the run all the same.
    QCOMPARE(control<QLineEdit>(app.startWindow(), "Text3")->text(), u"99"_s);
}

void SettingsWindowTest::closingWithSavingWritesInOrder()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Химия"_s, 2, 3);
    folder.writeText(u"test.ini"_s, u"[reg]\r\nreg=1\r\n"_s);
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    control<QLineEdit>(settings, "Text3")->setText(u"2"_s);
    control<QComboBox>(settings, "Combo1")->setEditText(u"3"_s);
    control<QLineEdit>(settings, "Text5")->setText(u"4,5"_s);
    control<QLineEdit>(settings, "Text2")->setText(u"15"_s);
    control<QLineEdit>(settings, "Text12")->setText(u"пароль"_s);
    control<QLineEdit>(settings, "Text4")->setText(u"320"_s);
    control<QLineEdit>(settings, "Text1")->setText(u"200"_s);
    control<QRadioButton>(settings, "Option1")->setChecked(true);
    control<QLineEdit>(settings, "Text6")->setText(exam);
    control<QCheckBox>(settings, "Check3")->setChecked(true);
    click(settings, "Command6");

    const QByteArray expected = AnsiText::encode(
        u"[reg]\r\nreg=1\r\n[test]\r\nbilet=2\r\nvopros=3\r\nball=4,5\r\ntime=15\r\npass=пароль\r\n"
        "l=320\r\nh=200\r\nk=1\r\nz="_s + exam + u"\r\n"_s);
    QCOMPARE(folder.readBytes(u"test.ini"_s), expected);
    QVERIFY(!control<QCheckBox>(settings, "Check3")->isChecked());
    QCOMPARE(control<QLineEdit>(app.startWindow(), "Text4")->text(), u"Химия\r\n"_s);
    QCOMPARE(control<QLineEdit>(app.startWindow(), "Text3")->text(), u"2"_s);

    // The tick is cleared: the next closing saves nothing.
    control<QLineEdit>(settings, "Text3")->setText(u"8"_s);
    app.showSettings();
    click(settings, "Command6");
    QCOMPARE(folder.readBytes(u"test.ini"_s), expected);
}

// The check box mirrors the record, in both languages, and is stored in its own section.
void SettingsWindowTest::saveEveryResult()
{
    ProgramFolder folder;
    folder.writeSettings({u"bilet=2"_s, u"ball=4"_s, u"re=eng"_s, u"[tavring]"_s, u"saveall=1"_s});
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    auto *saveAll = control<QCheckBox>(settings, "chkSaveAll");
    QVERIFY(saveAll->isVisibleTo(settings));
    QCOMPARE(saveAll->text(), u"Save every result"_s);
    QVERIFY(saveAll->isChecked());
    QVERIFY(app.settings().saveAll());
    click(settings, "Command2");
    QCOMPARE(saveAll->text(), u"Сохранять каждый результат"_s);

    saveAll->setChecked(false);
    QVERIFY(!app.settings().saveAll());
    control<QCheckBox>(settings, "Check3")->setChecked(true);
    click(settings, "Command6");
    QCOMPARE(GetValueString(u"tavring"_s, u"saveall"_s, app.settingsFile()), u"0"_s);
    QCOMPARE(GetValueString(u"test"_s, u"bilet"_s, app.settingsFile()), u"2"_s);
}

// Shuffling and printing the sheet mirror the record and are stored beside saveall; "Класс"
// leads to the lab window, which shows the workstations of the folder and leads back.
void SettingsWindowTest::labSettings()
{
    ProgramFolder folder;
    folder.writeSettings({u"bilet=2"_s, u"ball=4"_s, u"re=eng"_s});
    folder.writeBytes(u"s/ticket-pc7.journal"_s, "damaged"_ba);
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    auto *shuffle = control<QCheckBox>(settings, "chkShuffle");
    QVERIFY(shuffle->isVisibleTo(settings));
    QCOMPARE(shuffle->text(), u"Shuffle answers"_s);
    QCOMPARE(control<QPushButton>(settings, "cmdLab")->text(), u"Lab"_s);
    QVERIFY(!shuffle->isChecked());
    shuffle->setChecked(true);
    QVERIFY(app.settings().shuffleAnswers());
    click(settings, "Command2");
    QCOMPARE(shuffle->text(), u"Перемешивать ответы"_s);
    QCOMPARE(control<QPushButton>(settings, "cmdLab")->text(), u"Класс"_s);

    click(settings, "cmdLab");
    QVERIFY(!settings->isVisible());
    QWidget *lab = app.labWindow();
    QVERIFY(lab && lab->isVisible());
    QCOMPARE(lab->windowTitle(), u"Класс"_s);
    auto *table = control<QTableView>(lab, "tblLab");
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(table->model()->index(0, 0).data().toString(), u"pc7"_s);
    click(lab, "cmdLabClose");
    QVERIFY(!app.labWindow());
    QVERIFY(settings->isVisible());

    // Printing the result sheet sits below, off until the teacher allows it.
    auto *printSheet = control<QCheckBox>(settings, "chkPrintSheet");
    QVERIFY(printSheet->isVisibleTo(settings));
    QCOMPARE(printSheet->text(), u"Разрешить печать листа результата"_s);
    QVERIFY(!printSheet->isChecked());
    printSheet->setChecked(true);
    QVERIFY(app.settings().printSheet());

    control<QCheckBox>(settings, "Check3")->setChecked(true);
    click(settings, "Command6");
    QCOMPARE(GetValueString(u"tavring"_s, u"shuffle"_s, app.settingsFile()), u"1"_s);
    QCOMPARE(GetValueString(u"tavring"_s, u"printsheet"_s, app.settingsFile()), u"1"_s);
    QCOMPARE(GetValueString(u"tavring"_s, u"saveall"_s, app.settingsFile()), QString());
}

void SettingsWindowTest::closingWithoutPassScoreWarns_data()
{
    QTest::addColumn<QString>("passScore");
    QTest::newRow("zero") << u"0"_s;
    QTest::newRow("zero with decimals") << u"0,0"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("not a number") << u"четыре"_s;
}

void SettingsWindowTest::closingWithoutPassScoreWarns()
{
    QFETCH(QString, passScore);
    ProgramFolder folder;
    folder.writeSettings({u"ball="_s + passScore, u"bilet=3"_s});
    const QByteArray before = folder.readBytes(u"test.ini"_s);
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    control<QCheckBox>(settings, "Check3")->setChecked(true);
    click(settings, "Command6");
    QVERIFY(shown(settings, "Frame12"));
    QCOMPARE(control<QGroupBox>(settings, "Frame12")->geometry(), control<QGroupBox>(settings, "Frame3")->geometry());
    QVERIFY(settings->isVisible());
    QVERIFY(!app.startWindow()->isVisible());

    // "Нет" closes all the same, saving what is ticked, the old pass score included.
    click(settings, "Command8");
    QVERIFY(!shown(settings, "Frame12"));
    QVERIFY(!settings->isVisible());
    QVERIFY(app.startWindow()->isVisible());
    QCOMPARE(GetValueString(u"test"_s, u"ball"_s, folder.path(u"test.ini"_s)), passScore);
    QVERIFY(folder.readBytes(u"test.ini"_s).size() > before.size());
}

void SettingsWindowTest::closingRecaptionsTheStartWindow()
{
    ProgramFolder folder;
    folder.writeSettings({u"ball=4"_s, u"re=rus"_s});
    Application &app = folder.start();
    SettingsWindow *settings = app.settingsWindow();
    // The language changed behind the start window's back.
    app.settings().setLanguage(u"eng"_s);
    app.showSettings();
    click(settings, "Command6");
    StartWindow *start = app.startWindow();
    QCOMPARE(control<QGroupBox>(start, "Frame1")->title(), u"Choice of ticket"_s);
    QCOMPARE(control<QPushButton>(start, "Command2")->text(), u"Output"_s);
    QCOMPARE(control<QGroupBox>(start, "Frame9")->title(), u"Surname a Name, additional data"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label20")->text(), u"Not installed evaluation for the ticket. Want to install?"_s);
    // The mode choice keeps its captions.
    QCOMPARE(control<QRadioButton>(start, "Option1")->text(), u"Тавринг\\Тест"_s);
}

void SettingsWindowTest::reportAndHelpOpenDocuments()
{
    ProgramFolder folder;
    SettingsWindow *settings = folder.start().settingsWindow();
    folder.writeBytes(u"s/oth.txt"_s, "oth\r\n");
    folder.writeBytes(u"help/help.chm"_s, "ITSF");
    click(settings, "Command3");
    click(settings, "Command10");
    QCOMPARE(folder.app().documents().textViewer()->file(), folder.path(u"s/oth.txt"_s));
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/help.chm"_s)});
}

void SettingsWindowTest::languageButtons()
{
    ProgramFolder folder;
    folder.writeSettings({u"re=rus"_s, u"bilet=3"_s});
    SettingsWindow *settings = folder.start().settingsWindow();
    click(settings, "Command4");
    QCOMPARE(control<ActiveLabel>(settings, "Label17")->text(), u"eng"_s);
    QCOMPARE(control<QCheckBox>(settings, "Check3")->text(), u"To Save adjustment"_s);
    QCOMPARE(GetValueString(u"test"_s, u"re"_s, folder.path(u"test.ini"_s)), u"eng"_s);
    click(settings, "Command2");
    QCOMPARE(control<QCheckBox>(settings, "Check3")->text(), u"Сохранить настройки"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label10")->text(), u"Время            Дата"_s);
    QCOMPARE(GetValueString(u"test"_s, u"re"_s, folder.path(u"test.ini"_s)), u"rus"_s);
    QCOMPARE(GetValueString(u"test"_s, u"bilet"_s, folder.path(u"test.ini"_s)), u"3"_s);
}

void SettingsWindowTest::failedSaveOnClosingIsSaid_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("rus") << u"rus"_s;
    QTest::newRow("eng") << u"eng"_s;
    // A failure is never silent: another language hears it in Russian.
    QTest::newRow("another language") << u"deu"_s;
}

void SettingsWindowTest::failedSaveOnClosingIsSaid()
{
    QFETCH(QString, language);
    ProgramFolder folder;
    folder.writeSettings({u"ball=4"_s, u"re="_s + language});
    Application &app = folder.start();
    blockSettingsFile(folder);
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    control<QLineEdit>(settings, "Text3")->setText(u"7"_s);
    control<QCheckBox>(settings, "Check3")->setChecked(true);
    click(settings, "Command6");

    saidFailedSave(folder.platform, language, app.settingsFile());
    // The window goes on as after a save: closed, the start window back with the settings.
    QVERIFY(!settings->isVisible());
    QVERIFY(app.startWindow()->isVisible());
    QCOMPARE(control<QLineEdit>(app.startWindow(), "Text3")->text(), u"7"_s);
    QVERIFY(!control<QCheckBox>(settings, "Check3")->isChecked());
}

void SettingsWindowTest::faultOnClosingKeepsTheFileAndIsSaid_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("full disk") << true;
    QTest::newRow("refused rename") << false;
}

void SettingsWindowTest::faultOnClosingKeepsTheFileAndIsSaid()
{
    QFETCH(bool, fullDisk);
    ProgramFolder folder;
    folder.writeSettings({u"ball=4"_s, u"re=eng"_s});
    const QByteArray before = folder.readBytes(u"test.ini"_s);
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    control<QLineEdit>(settings, "Text3")->setText(u"7"_s);
    control<QCheckBox>(settings, "Check3")->setChecked(true);
    if (fullDisk)
        AnsiText::Faults::failWriteAfter(10);
    else
        AnsiText::Faults::failRename();
    click(settings, "Command6");
    AnsiText::Faults::clear();

    saidFailedSave(folder.platform, u"eng"_s, app.settingsFile());
    QVERIFY2(!folder.platform.messages.first().text.contains(u"Unknown error"_s),
             qPrintable(folder.platform.messages.first().text));
    QCOMPARE(folder.readBytes(u"test.ini"_s), before);
    QVERIFY(app.startWindow()->isVisible());
}

void SettingsWindowTest::failedLanguageSaveIsSaidOnce_data()
{
    QTest::addColumn<bool>("fromStartWindow");
    QTest::addColumn<QString>("language");
    QTest::newRow("settings window, eng") << false << u"eng"_s;
    QTest::newRow("settings window, rus") << false << u"rus"_s;
    QTest::newRow("start window, eng") << true << u"eng"_s;
    QTest::newRow("start window, rus") << true << u"rus"_s;
}

void SettingsWindowTest::failedLanguageSaveIsSaidOnce()
{
    QFETCH(bool, fromStartWindow);
    QFETCH(QString, language);
    ProgramFolder folder;
    folder.writeSettings({u"re=xx"_s});
    Application &app = folder.start();
    blockSettingsFile(folder);
    if (fromStartWindow)
        click(app.startWindow(), language == "eng"_L1 ? "Label7" : "Label13");
    else
        click(app.settingsWindow(), language == "eng"_L1 ? "Command4" : "Command2");

    saidFailedSave(folder.platform, language, app.settingsFile());
    QCOMPARE(app.settings().language(), language);
    QVERIFY(app.startWindow());
}

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings.moc"
