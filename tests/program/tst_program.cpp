// The small types every window and model leans on: the language rule, the paths of the
// program folder and the reasons of failed file operations.
#include "core/files/file_error.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"

#include <QSysInfo>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void languagePolicy_data();
    void languagePolicy();
    void programPaths();
    void journalNameIsOneSafeFileName();
    void fileErrorKinds_data();
    void fileErrorKinds();
    void fileErrorReasons_data();
    void fileErrorReasons();
};

void ProgramTest::languagePolicy_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("english");   // the English caption set
    QTest::addColumn<QString>("text");    // a text said whatever the language
    QTest::addColumn<QString>("message"); // a message chosen by language
    QTest::addColumn<QString>("twoLanguageWindow");

    QTest::newRow("rus") << u"rus"_s << false << u"да"_s << u"да"_s << u"да"_s;
    QTest::newRow("eng") << u"eng"_s << true << u"yes"_s << u"yes"_s << u"yes"_s;
    // Any other value keeps the designed Russian captions, shows no message chosen by
    // language, and reads as English where a window knows only two languages.
    QTest::newRow("another") << u"deu"_s << false << u"да"_s << QString() << u"yes"_s;
    QTest::newRow("empty") << QString() << false << u"да"_s << QString() << u"yes"_s;
    // The values are matched exactly, as the settings file stores them.
    QTest::newRow("capitals") << u"RUS"_s << false << u"да"_s << QString() << u"yes"_s;
}

void ProgramTest::languagePolicy()
{
    QFETCH(QString, language);
    QFETCH(bool, english);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, twoLanguageWindow);
    const LanguagePolicy policy(language);
    QCOMPARE(policy.captions() == LanguagePolicy::Captions::English, english);
    QCOMPARE(policy.isKnown(), !message.isEmpty());
    QCOMPARE(policy.text(u"да"_s, u"yes"_s), text);
    QCOMPARE(policy.message(u"да"_s, u"yes"_s), message);
    QCOMPARE(policy.englishUnlessRussian(u"да"_s, u"yes"_s), twoLanguageWindow);
}

void ProgramTest::programPaths()
{
    const ProgramPaths paths(u"/opt/tavring"_s);
    QCOMPARE(paths.settingsFile(), u"/opt/tavring/test.ini"_s);
    QCOMPARE(paths.examLibrary(), u"/opt/tavring/b"_s);
    QCOMPARE(paths.questionnaires(), u"/opt/tavring/t"_s);
    QCOMPARE(paths.reportsFolder(), u"/opt/tavring/s"_s);
    QCOMPARE(paths.examReport(), u"/opt/tavring/s/oth.txt"_s);
    QCOMPARE(paths.questionnaireReport(), u"/opt/tavring/s/lzm.txt"_s);
    QCOMPARE(paths.farewellNote(), u"/opt/tavring/plt.txt"_s);
    QCOMPARE(paths.registrationUtility(), u"/opt/tavring/ventaro"_s);
    QCOMPARE(paths.registeredLibrary(), u"/opt/tavring/scrrun.dll"_s);
    QCOMPARE(paths.ticketJournal(), u"/opt/tavring/"_s + ProgramPaths::ticketJournalName());
    QCOMPARE(paths.path(ProgramPaths::examReportName()), paths.examReport());
}

void ProgramTest::journalNameIsOneSafeFileName()
{
    // Workstations sharing one program folder keep a journal each, named by the host; only
    // letters, digits and dashes of the host name make it into the name.
    const QString name = ProgramPaths::ticketJournalName();
    QVERIFY(name.startsWith(u"s/ticket"_s));
    QVERIFY(name.endsWith(u".journal"_s));
    const QString host = name.mid(8, name.size() - 8 - 8);
    for (const QChar c : host.mid(1))
        QVERIFY2(c.isLetterOrNumber() || c == u'-', qPrintable(name));
    if (!QSysInfo::machineHostName().isEmpty())
        QVERIFY(host.startsWith(u'-'));
}

void ProgramTest::fileErrorKinds_data()
{
    QTest::addColumn<int>("systemError");
    QTest::addColumn<FileError::Kind>("kind");
    QTest::newRow("full disk") << ENOSPC << FileError::Kind::NoSpace;
    QTest::newRow("quota") << EDQUOT << FileError::Kind::NoSpace;
    QTest::newRow("access") << EACCES << FileError::Kind::AccessDenied;
    QTest::newRow("not permitted") << EPERM << FileError::Kind::AccessDenied;
    QTest::newRow("read-only") << EROFS << FileError::Kind::ReadOnly;
    QTest::newRow("missing") << ENOENT << FileError::Kind::NotFound;
    QTest::newRow("a file on the path") << ENOTDIR << FileError::Kind::NotFound;
    QTest::newRow("a folder in its place") << EISDIR << FileError::Kind::FolderInPlace;
    QTest::newRow("anything else") << EIO << FileError::Kind::Other;
}

void ProgramTest::fileErrorKinds()
{
    QFETCH(int, systemError);
    QFETCH(FileError::Kind, kind);
    const FileError error = FileError::fromSystem(systemError, u"/s/oth.txt"_s);
    QVERIFY(error.isError());
    QCOMPARE(error.kind(), kind);
    QCOMPARE(error.path(), u"/s/oth.txt"_s);
    QVERIFY(!error.systemText().isEmpty());
}

void ProgramTest::fileErrorReasons_data()
{
    QTest::addColumn<FileError>("error");
    QTest::addColumn<QString>("russian");
    QTest::addColumn<QString>("english");
    const QString file = u"/s/oth.txt"_s;
    QTest::newRow("full disk") << FileError::fromSystem(ENOSPC, file) << u"на диске нет места"_s
                               << u"No space left on device"_s;
    QTest::newRow("held by another workstation") << FileError(FileError::Kind::LockedElsewhere, file)
                                                  << u"файл занят другой рабочей станцией или программой"_s
                                                  << u"the file is locked by another workstation or program"_s;
    QTest::newRow("a folder in its place") << FileError::fromSystem(EISDIR, file) << u"на месте файла стоит папка"_s
                                           << u"Is a directory"_s;
    QTest::newRow("unreadable") << FileError(FileError::Kind::Unreadable, file) << u"файл не удалось прочитать"_s
                                << u"the file could not be read"_s;
    // A reason the program has no words for keeps the system's in both languages.
    QTest::newRow("system's own") << FileError(FileError::Kind::Other, file, u"Filename refers to a directory"_s)
                                  << u"Filename refers to a directory"_s << u"Filename refers to a directory"_s;
    QTest::newRow("none given") << FileError(FileError::Kind::Other, file) << u"причина неизвестна"_s
                                << u"unknown reason"_s;
    FileError partLeft = FileError::fromSystem(ENOSPC, file);
    partLeft.setPartLeft();
    QTest::newRow("part left behind") << partLeft << u"на диске нет места; записанную часть не удалось убрать"_s
                                      << u"No space left on device; the part written could not be taken back"_s;
}

void ProgramTest::fileErrorReasons()
{
    QFETCH(FileError, error);
    QFETCH(QString, russian);
    QFETCH(QString, english);
    QCOMPARE(error.reason(LanguagePolicy(u"rus"_s)), russian);
    QCOMPARE(error.reason(LanguagePolicy(u"eng"_s)), english);
    // A failed save is said whatever the language: another value hears the Russian.
    QCOMPARE(error.reason(LanguagePolicy(u"deu"_s)), russian);
    QCOMPARE(error.describe(LanguagePolicy(u"rus"_s)), u"/s/oth.txt: "_s + russian);
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_program.moc"
