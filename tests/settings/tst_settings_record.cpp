#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "core/program/settings_record.h"
#include "support/files.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

// The settings record without any window: its rules, its change signals and its file.
class SettingsRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(u"ru_RU"_s)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void loadReadsEveryKey();
    void pictureSizeFromTheFile_data();
    void pictureSizeFromTheFile();
    void minutes_data();
    void minutes();
    void changesAreSignalledOnce();
    void saveGivesTheBytesOfNineWrites_data();
    void saveGivesTheBytesOfNineWrites();
    void saveReportsAFailure();
    void registrationFlagIsWrittenAlone();
    void saveAllHasASectionOfItsOwn_data();
    void saveAllHasASectionOfItsOwn();
    void shuffleSitsBesideSaveAll_data();
    void shuffleSitsBesideSaveAll();
    void saveFailureText_data();
    void saveFailureText();
    void languageIsWrittenAlone();
    void examFolderComesBackFromTheFile();
};

void SettingsRecordTest::loadReadsEveryKey()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, AnsiText::encode(u"[Test]\r\nBILET=12\r\nvopros=5\r\nball=4,4\r\ntime=10\r\npass=секрет\r\n"
                                     "l=640\r\nh=480\r\nk=1\r\nre=eng\r\nz=/exams/Физика\r\n[reg]\r\nreg=1\r\n"_s));
    SettingsRecord record;
    record.setTicketTimer(true);
    record.load(file);
    QCOMPARE(record.tickets(), u"12"_s);
    QCOMPARE(record.questions(), u"5"_s);
    QCOMPARE(record.passScore(), u"4,4"_s);
    QCOMPARE(record.minutes(), u"10"_s);
    QCOMPARE(record.wholeMinutes(), 10);
    QCOMPARE(record.countdownSeconds(), 600);
    QCOMPARE(record.password(), u"секрет"_s);
    QCOMPARE(record.pictureWidth(), u"640"_s);
    QCOMPARE(record.pictureHeight(), u"480"_s);
    QCOMPARE(record.pictureSize(), SettingsRecord::PictureSize::Fixed);
    QCOMPARE(record.language(), u"eng"_s);
    QCOMPARE(record.examFolder(), u"/exams/Физика"_s);
    // The switches are never stored: every run starts with both off.
    QVERIFY(!record.ticketTimer());
    QVERIFY(!record.questionTimer());

    record.load(dir.filePath(u"missing.ini"_s));
    QCOMPARE(record.tickets(), QString());
    QCOMPARE(record.wholeMinutes(), 1);
    QCOMPARE(record.pictureSize(), SettingsRecord::PictureSize::Real);
}

void SettingsRecordTest::pictureSizeFromTheFile_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("key");

    QTest::newRow("fixed") << u"1"_s << u"1"_s;
    QTest::newRow("real") << u"2"_s << u"2"_s;
    QTest::newRow("zero") << u"0"_s << u"2"_s;
    QTest::newRow("one as a decimal") << u"1,0"_s << u"2"_s;
    QTest::newRow("empty") << QString() << u"2"_s;
}

void SettingsRecordTest::pictureSizeFromTheFile()
{
    QFETCH(QString, stored);
    QFETCH(QString, key);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, AnsiText::encode(u"[test]\r\nk="_s + stored + u"\r\n"_s));
    SettingsRecord record;
    record.load(file);
    QCOMPARE(record.pictureSizeKey(), key);
}

void SettingsRecordTest::minutes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("accepted"); // -1: refused
    QTest::addColumn<int>("whole");

    QTest::newRow("whole") << u"25"_s << 25 << 25;
    QTest::newRow("zero becomes one") << u"0"_s << 0 << 1;
    QTest::newRow("two and a half to even") << u"2,5"_s << 2 << 2;
    QTest::newRow("three and a half to even") << u"3,5"_s << 4 << 4;
    QTest::newRow("blanks around") << u" 8 "_s << 8 << 8;
    QTest::newRow("longest countdown") << u"546"_s << 546 << 546;
    QTest::newRow("beyond the countdown") << u"547"_s << -1 << 1;
    QTest::newRow("beyond 16 bits") << u"40000"_s << -1 << 1;
    QTest::newRow("negative") << u"-5"_s << -1 << 1;
    QTest::newRow("point in a comma locale") << u"2.5"_s << -1 << 1;
    QTest::newRow("letters") << u"abc"_s << -1 << 1;
    QTest::newRow("empty") << QString() << -1 << 1;
}

void SettingsRecordTest::minutes()
{
    QFETCH(QString, typed);
    QFETCH(int, accepted);
    QFETCH(int, whole);
    QCOMPARE(SettingsRecord::acceptedMinutes(typed).value_or(-1), accepted);
    SettingsRecord record;
    record.setMinutes(typed);
    QCOMPARE(record.wholeMinutes(), whole);
    QCOMPARE(record.countdownSeconds(), whole * 60);
}

void SettingsRecordTest::changesAreSignalledOnce()
{
    SettingsRecord record;
    QSignalSpy folders(&record, &SettingsRecord::examFolderChanged);
    QSignalSpy sizes(&record, &SettingsRecord::pictureSizeChanged);
    QSignalSpy timers(&record, &SettingsRecord::questionTimerChanged);
    record.setExamFolder(u"/b/exam"_s);
    record.setExamFolder(u"/b/exam"_s);
    record.setPictureSize(SettingsRecord::PictureSize::Real);
    record.setPictureSize(SettingsRecord::PictureSize::Fixed);
    record.setQuestionTimer(true);
    record.setQuestionTimer(true);
    QCOMPARE(folders.count(), 1);
    QCOMPARE(folders.first().first().toString(), u"/b/exam"_s);
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(timers.count(), 1);
    QVERIFY(record.questionTimer());
}

void SettingsRecordTest::saveGivesTheBytesOfNineWrites_data()
{
    QTest::addColumn<QByteArray>("before"); // "absent": no file
    QTest::addColumn<QString>("folder");

    QTest::newRow("no file") << "absent"_ba << u"/b/Физика"_s;
    QTest::newRow("empty file") << QByteArray() << u"/b/x"_s;
    QTest::newRow("every key, other spelling, other sections")
        << "; settings\r\n[reg]\r\nreg=1\r\n[TEST]\r\nBilet = 3\r\nZ=old\r\nre=rus\r\nvopros=9\r\n[other]\r\nx=1\r\n"_ba
        << u"/b/new"_s;
    QTest::newRow("no final line end") << "[test]\r\nball=2"_ba << QString();
    QTest::newRow("lone LF line ends kept") << "[test]\nbilet=1\nextra\n"_ba << u"/b/y"_s;
    QTest::newRow("no section yet") << "[reg]\r\nreg=0\r\n"_ba << u"/b/z"_s;
}

void SettingsRecordTest::saveGivesTheBytesOfNineWrites()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    const QString one = dir.filePath(u"one.ini"_s);
    const QString nine = dir.filePath(u"nine.ini"_s);
    if (before != "absent") {
        writeFile(one, before);
        writeFile(nine, before);
    }

    SettingsRecord record;
    record.setTickets(u"12"_s);
    record.setQuestions(u"5"_s);
    record.setPassScore(u"4,4"_s);
    record.setMinutes(u"abc"_s);
    record.setPassword(u"пароль"_s);
    record.setPictureWidth(u"640"_s);
    record.setPictureHeight(QString());
    record.setPictureSize(SettingsRecord::PictureSize::Fixed);
    record.setLanguage(u"eng"_s);
    record.setExamFolder(folder);
    QVERIFY(record.save(one));

    const QList<std::pair<const char *, QString>> writes = {
        {"bilet", u"12"_s}, {"vopros", u"5"_s}, {"ball", u"4,4"_s}, {"time", u"abc"_s},
        {"pass", u"пароль"_s}, {"l", u"640"_s}, {"h", QString()}, {"k", u"1"_s}, {"z", folder}};
    for (const auto &[key, value] : writes)
        QVERIFY(SetValue(u"test"_s, QLatin1StringView(key).toString(), value, nine));
    QCOMPARE(readFile(one), readFile(nine));
    // The language is not part of saving the settings.
    QCOMPARE(GetValueString(u"test"_s, u"re"_s, one), GetValueString(u"test"_s, u"re"_s, nine));
}

void SettingsRecordTest::saveReportsAFailure()
{
    QTemporaryDir dir;
    SettingsRecord record;
    record.setTickets(u"3"_s);
    const SettingsRecord::SaveResult result = record.save(dir.filePath(u"no/such/folder/test.ini"_s));
    QVERIFY(!result);
    QCOMPARE(result.error.kind(), FileError::Kind::NotFound);
    QVERIFY(!record.saveLanguage(dir.filePath(u"no/such/folder/test.ini"_s)));
    const SettingsRecord::SaveResult flag = SettingsRecord::saveRegistrationFlag(dir.filePath(u"no/such/folder/test.ini"_s), u"1"_s);
    QVERIFY(!flag);
    QCOMPARE(flag.error.kind(), FileError::Kind::NotFound);
}

void SettingsRecordTest::saveAllHasASectionOfItsOwn_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QByteArray>("after");
    const QByteArray test = "[test]\r\nbilet=7\r\n"_ba;
    const QByteArray written = "[test]\r\nbilet=7\r\nvopros=\r\nball=\r\ntime=\r\npass=\r\nl=\r\nh=\r\nk=2\r\nz=\r\n"_ba;
    // A file that never had the setting stays without it while it is off.
    QTest::newRow("never on") << test << false << false << written;
    QTest::newRow("turned on") << test << false << true << written + "[tavring]\r\nsaveall=1\r\n"_ba;
    QTest::newRow("turned off") << test + "[tavring]\r\nsaveall=1\r\n"_ba << true << false
                                << "[test]\r\nbilet=7\r\nvopros=\r\nball=\r\ntime=\r\npass=\r\nl=\r\nh=\r\nk=2\r\nz=\r\n"
                                   "[tavring]\r\nsaveall=0\r\n"_ba;
    // In the documents' section the key means nothing.
    QTest::newRow("in [test]") << "[test]\r\nbilet=7\r\nsaveall=1\r\n"_ba << false << false
                               << "[test]\r\nbilet=7\r\nsaveall=1\r\nvopros=\r\nball=\r\ntime=\r\npass=\r\nl=\r\nh=\r\nk=2\r\nz=\r\n"_ba;
}

void SettingsRecordTest::saveAllHasASectionOfItsOwn()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, loaded);
    QFETCH(bool, on);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, before);
    SettingsRecord record;
    record.load(file);
    QCOMPARE(record.saveAll(), loaded);
    record.setSaveAll(on);
    QVERIFY(record.save(file));
    QCOMPARE(readFile(file), after);
    record.setSaveAll(!on);
    record.load(file);
    QCOMPARE(record.saveAll(), on);
}

void SettingsRecordTest::shuffleSitsBesideSaveAll_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("saveAll");
    QTest::addColumn<bool>("shuffle");
    QTest::addColumn<bool>("printSheet");
    QTest::addColumn<QByteArray>("own");
    const QByteArray test = "[test]\r\nbilet=7\r\n"_ba;
    QTest::newRow("all off") << test << false << false << false << QByteArray();
    QTest::newRow("shuffle alone") << test << false << true << false << "[tavring]\r\nshuffle=1\r\n"_ba;
    QTest::newRow("both on") << test << true << true << false << "[tavring]\r\nsaveall=1\r\nshuffle=1\r\n"_ba;
    QTest::newRow("shuffle turned off") << test + "[tavring]\r\nshuffle=1\r\n"_ba << false << false << false
                                        << "[tavring]\r\nshuffle=0\r\n"_ba;
    QTest::newRow("in [test]") << "[test]\r\nbilet=7\r\nshuffle=1\r\nprintsheet=1\r\n"_ba << false << false << false
                               << QByteArray();
    QTest::newRow("print alone") << test << false << false << true << "[tavring]\r\nprintsheet=1\r\n"_ba;
    QTest::newRow("all on") << test << true << true << true
                            << "[tavring]\r\nsaveall=1\r\nshuffle=1\r\nprintsheet=1\r\n"_ba;
    QTest::newRow("print turned off") << test + "[tavring]\r\nprintsheet=1\r\n"_ba << false << false << false
                                      << "[tavring]\r\nprintsheet=0\r\n"_ba;
}

void SettingsRecordTest::shuffleSitsBesideSaveAll()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, saveAll);
    QFETCH(bool, shuffle);
    QFETCH(bool, printSheet);
    QFETCH(QByteArray, own);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, before);
    SettingsRecord record;
    record.load(file);
    record.setSaveAll(saveAll);
    record.setShuffleAnswers(shuffle);
    record.setPrintSheet(printSheet);
    QVERIFY(record.save(file));
    QVERIFY(readFile(file).endsWith(QByteArray("k=2\r\nz=\r\n"_ba + own)));
    record.setShuffleAnswers(!shuffle);
    record.setPrintSheet(!printSheet);
    record.load(file);
    QCOMPARE(record.shuffleAnswers(), shuffle);
    QCOMPARE(record.saveAll(), saveAll);
    QCOMPARE(record.printSheet(), printSheet);
}

void SettingsRecordTest::registrationFlagIsWrittenAlone()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, "[test]\r\nbilet=7\r\n"_ba);
    QVERIFY(SettingsRecord::saveRegistrationFlag(file, u"1"_s));
    QCOMPARE(readFile(file), "[test]\r\nbilet=7\r\n[reg]\r\nreg=1\r\n"_ba);
}

void SettingsRecordTest::saveFailureText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("text");

    const QString russian = u"Не удалось сохранить настройки в файл /p/test.ini: "_s;
    const QString english = u"The settings could not be saved to the file /p/test.ini: "_s;
    // Russian messages carry Russian reasons for the failures a school meets; English keeps the
    // system's words.
    QTest::newRow("full disk, rus") << u"rus"_s << ENOSPC << russian + u"на диске нет места"_s;
    QTest::newRow("full disk, eng") << u"eng"_s << ENOSPC << english + u"No space left on device"_s;
    QTest::newRow("quota, rus") << u"rus"_s << EDQUOT << russian + u"на диске нет места"_s;
    QTest::newRow("access, another language hears Russian") << u"deu"_s << EACCES << russian + u"доступ запрещен"_s;
    QTest::newRow("access, eng") << u"eng"_s << EACCES << english + u"Permission denied"_s;
    QTest::newRow("read-only, rus") << u"rus"_s << EROFS << russian + u"файловая система доступна только для чтения"_s;
    QTest::newRow("missing folder, rus") << u"rus"_s << ENOENT << russian + u"нет такого файла или папки"_s;
    QTest::newRow("missing folder, eng") << u"eng"_s << ENOENT << english + u"No such file or directory"_s;
    QTest::newRow("no reason, rus") << u"rus"_s << 0 << russian + u"причина неизвестна"_s;
    QTest::newRow("no reason, eng") << u"eng"_s << 0 << english + u"unknown reason"_s;
}

void SettingsRecordTest::saveFailureText()
{
    QFETCH(QString, language);
    QFETCH(int, systemError);
    QFETCH(QString, text);
    const SettingsRecord::SaveResult failed{false, FileError::fromSystem(systemError, u"/p/test.ini"_s)};
    QCOMPARE(SettingsRecord::saveFailureText(u"/p/test.ini"_s, failed, language), text);
}

void SettingsRecordTest::languageIsWrittenAlone()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, "[test]\r\nbilet=7\r\nre=rus\r\n"_ba);
    SettingsRecord record;
    record.setTickets(u"99"_s);
    record.setLanguage(u"eng"_s);
    QVERIFY(record.saveLanguage(file));
    QCOMPARE(readFile(file), "[test]\r\nbilet=7\r\nre=eng\r\n"_ba);
}

void SettingsRecordTest::examFolderComesBackFromTheFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"test.ini"_s);
    writeFile(file, AnsiText::encode(u"[test]\r\nz=/b/Химия\r\n"_s));
    SettingsRecord record;
    record.load(file);
    record.setExamFolder(u"/b/new"_s);
    QSignalSpy folders(&record, &SettingsRecord::examFolderChanged);
    record.restoreExamFolder(file);
    QCOMPARE(record.examFolder(), u"/b/Химия"_s);
    QCOMPARE(folders.count(), 1);
}

QTEST_GUILESS_MAIN(SettingsRecordTest)
#include "tst_settings_record.moc"
