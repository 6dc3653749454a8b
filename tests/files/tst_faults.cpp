// Saves and appends under faults of the file layer: a write that fails as on a full disk after
// some bytes, a rename that is refused, a really full or read-only file system where the tests
// may mount one, and several processes appending to one report at once.
#include "append_record.h"
#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/questionnaire/questionnaire_report.h"
#include "core/reports/exam_report.h"
#include "support/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QByteArray OldBytes = "[test]\r\nbilet=3\r\nvopros=5\r\nball=4\r\npass=secret\r\nre=rus\r\n";

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A save of the program: it replaces `file` (relative to the folder given) and says whether it did.
struct Save
{
    const char *name;
    QString file;
    std::function<bool(const QString &folder)> run;
};

QList<Save> saves()
{
    const auto record = [](const QString &folder) {
        SettingsRecord settings;
        settings.load(folder + u"/test.ini"_s);
        return bool(settings.save(folder + u"/test.ini"_s));
    };
    const auto answers = [](const QString &folder) {
        QuestionnaireFile::Answers given;
        given.texts = {u"Да"_s, u"Нет"_s, u"Не знаю"_s, QString(), QString()};
        given.points = {u"2"_s, u"0"_s, u"1"_s, QString(), QString()};
        return QuestionnaireFile::writeAnswers(folder + u"/q.tst"_s, u"1"_s, given);
    };
    return {
        {"settings value", u"test.ini"_s,
         [](const QString &folder) { return SetValue(u"test"_s, u"ball"_s, u"3"_s, folder + u"/test.ini"_s); }},
        {"settings record", u"test.ini"_s, record},
        {"exam title", u"Экзамен/lzm.lzm"_s,
         [](const QString &folder) { return !ExamFolder::createExam(folder, u"Экзамен"_s).isError(); }},
        {"question file", u"Экзамен/b1/q1.txt"_s,
         [](const QString &folder) {
             return !ExamTicket(folder + u"/Экзамен"_s, u"1"_s).saveQuestion(1, u"Вопрос"_s, u"Да\nНет"_s, u"Да"_s).isError();
         }},
        {"questionnaire answers", u"q.tst"_s, answers},
        {"questionnaire bounds", u"q.tst"_s,
         [](const QString &folder) {
             return QuestionnaireFile::writeBounds(folder + u"/q.tst"_s, {u"5"_s, u"10"_s, u"15"_s});
         }},
        {"questionnaire text", u"vt1.txt"_s,
         [](const QString &folder) { return QuestionnaireFile::writeText(folder + u"/vt1.txt"_s, u"Вопрос?"_s); }},
    };
}

// A tmpfs of 64 KiB mounted for one test and unmounted however the test ends.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &path) : m_path(path)
    {
        QDir().mkpath(path);
        m_mounted = QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, path}) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(u"umount"_s, {u"-l"_s, m_path});
    }
    bool mounted() const { return m_mounted; }
    bool remountReadOnly() const
    {
        return QProcess::execute(u"mount"_s, {u"-o"_s, u"remount,ro"_s, m_path}) == 0;
    }
    // Fills the file system up to `freePages` free pages of 4 KiB.
    void fill(int freePages) const
    {
        QFile filler(m_path + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        filler.resize(std::max<qint64>(filler.size() / 4096 - freePages, 0) * 4096);
    }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { AnsiText::Faults::clear(); }

    void failedReplaceKeepsTheOldFile_data();
    void failedReplaceKeepsTheOldFile();
    void failedAppendLeavesNoPartOfIt_data();
    void failedAppendLeavesNoPartOfIt();
    void staleLockOfAnotherWorkstationIsTakenOver();
    void fullAndReadOnlyFileSystem();
    void severalProcessesAppendAtOnce_data();
    void severalProcessesAppendAtOnce();
};

void FaultsTest::failedReplaceKeepsTheOldFile_data()
{
    QTest::addColumn<int>("save");
    QTest::addColumn<int>("failAfter"); // bytes written before the disk is full; -1: the rename fails
    const QList<Save> all = saves();
    for (int save = 0; save < all.size(); ++save) {
        QTest::addRow("%s, full at once", all[save].name) << save << 0;
        QTest::addRow("%s, full after 3 bytes", all[save].name) << save << 3;
        QTest::addRow("%s, rename refused", all[save].name) << save << -1;
    }
}

void FaultsTest::failedReplaceKeepsTheOldFile()
{
    QFETCH(int, save);
    QFETCH(int, failAfter);
    const Save subject = saves().at(save);
    QTemporaryDir dir;
    const QString file = dir.filePath(subject.file);
    writeFile(file, OldBytes);
    const QStringList before = entries(QFileInfo(file).path());

    if (failAfter < 0)
        AnsiText::Faults::failRename();
    else
        AnsiText::Faults::failWriteAfter(failAfter);
    QVERIFY(!subject.run(dir.path()));
    // The old file is whole and no temporary file is left beside it.
    QCOMPARE(readFile(file), OldBytes);
    QCOMPARE(entries(QFileInfo(file).path()), before);

    // Without a fault the same save replaces the file.
    QVERIFY(subject.run(dir.path()));
    QVERIFY(readFile(file) != OldBytes);
}

void FaultsTest::failedAppendLeavesNoPartOfIt_data()
{
    QTest::addColumn<bool>("questionnaire");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("failAfter");
    for (const bool questionnaire : {false, true}) {
        for (const bool existing : {false, true}) {
            for (const int failAfter : {0, 9}) {
                QTest::addRow("%s report, %s, full after %d bytes", questionnaire ? "questionnaire" : "exam",
                              existing ? "existing" : "new", failAfter)
                    << questionnaire << existing << failAfter;
            }
        }
    }
}

void FaultsTest::failedAppendLeavesNoPartOfIt()
{
    QFETCH(bool, questionnaire);
    QFETCH(bool, existing);
    QFETCH(int, failAfter);
    QTemporaryDir dir;
    const QString report = questionnaire ? ProgramPaths(dir.path()).questionnaireReport() : dir.filePath(ProgramPaths::examReportName());
    const QByteArray old = recordBytes((appendedRecord(0, 0)));
    if (existing)
        writeFile(report, old);
    const auto append = [&](FileError *error) {
        return questionnaire ? QuestionnaireReport::append(
                                   dir.path(), QuestionnaireReport::header(u"quiz"_s, u"10:00"_s, u"08.12.2026"_s), error)
                             : ExamReport::append(dir.path(), appendedRecord(1, 1), error);
    };

    AnsiText::Faults::failWriteAfter(failAfter);
    FileError error;
    QVERIFY(!append(&error));
    QCOMPARE(error.kind(), FileError::Kind::NoSpace);
    QCOMPARE(error.path(), report);
    QCOMPARE(readFile(report), existing ? old : "<missing>"_ba);
    QVERIFY(!QFileInfo::exists(report + u".lock"_s));

    QVERIFY(append(&error));
    QVERIFY(readFile(report).size() > (existing ? old.size() : 0));
}

void FaultsTest::staleLockOfAnotherWorkstationIsTakenOver()
{
    // A workstation that died while appending leaves its lock; once it is old enough, the
    // next append takes it over instead of failing for ever.
    QTemporaryDir dir;
    const QString lockPath = dir.filePath(ProgramPaths::examReportName()) + u".lock"_s;
    writeFile(lockPath, "4242\nappend_helper\nanother-workstation\n");
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addMSecs(-2 * AnsiText::StaleLockMilliseconds);
    QVERIFY(lock.setFileTime(old, QFileDevice::FileModificationTime));
    lock.close();

    FileError error;
    QVERIFY2(ExamReport::append(dir.path(), appendedRecord(0, 0), &error), qPrintable(error.describe(LanguagePolicy(u"eng"_s))));
    QCOMPARE(readFile(dir.filePath(ProgramPaths::examReportName())),
             recordBytes((appendedRecord(0, 0))));
    QVERIFY(!QFileInfo::exists(lockPath));
}

void FaultsTest::fullAndReadOnlyFileSystem()
{
    const QTemporaryDir base;
    SmallFileSystem disk(base.filePath(u"disk"_s));
    if (!disk.mounted())
        QSKIP("A 64 KiB tmpfs cannot be mounted here (the tests do not run as root, or mount is refused)");
    const QString folder = base.filePath(u"disk"_s);
    const QString settings = folder + u"/test.ini"_s;
    const QString report = folder + u'/' + ProgramPaths::examReportName();
    const QString questionnaireReport = ProgramPaths(folder).questionnaireReport();
    writeFile(settings, OldBytes);
    const QByteArray oldRecord = recordBytes((appendedRecord(0, 0)));
    writeFile(report, oldRecord);
    writeFile(questionnaireReport, "=\r\n");

    // Two pages free: the lock file takes one, and a record of 12 KiB cannot fit in the other.
    disk.fill(2);
    ExamRecord big = appendedRecord(1, 1);
    big.data1 = QString(12 * 1024, u'ж');
    FileError error;
    QVERIFY(!ExamReport::append(folder, big, &error));
    QCOMPARE(error.kind(), FileError::Kind::NoSpace);
    QCOMPARE(error.reason(LanguagePolicy(u"rus"_s)), u"на диске нет места"_s);
    QCOMPARE(error.reason(LanguagePolicy(u"eng"_s)), qt_error_string(ENOSPC));
    QCOMPARE(readFile(report), oldRecord);
    QVERIFY(!QuestionnaireReport::append(folder, QString(12 * 1024, u'ж')));
    QCOMPARE(readFile(questionnaireReport), "=\r\n"_ba);

    disk.fill(0);
    QVERIFY(!SetValue(u"test"_s, u"ball"_s, u"3"_s, settings));
    QVERIFY(!SetValues(u"test"_s, {{u"ball"_s, u"3"_s}}, settings, &error));
    QCOMPARE(error.kind(), FileError::Kind::NoSpace);
    QCOMPARE(error.path(), settings);
    QCOMPARE(readFile(settings), OldBytes);

    QVERIFY(disk.remountReadOnly());
    QVERIFY(!SetValue(u"test"_s, u"ball"_s, u"3"_s, settings));
    QCOMPARE(readFile(settings), OldBytes);
    QVERIFY(!ExamReport::append(folder, appendedRecord(1, 2), &error));
    QCOMPARE(error.kind(), FileError::Kind::ReadOnly);
    QCOMPARE(error.reason(LanguagePolicy(u"rus"_s)), u"файловая система доступна только для чтения"_s);
    QCOMPARE(readFile(report), oldRecord);
}

void FaultsTest::severalProcessesAppendAtOnce_data()
{
    QTest::addColumn<int>("failing"); // the record of process 0 that fails half way; -1: none
    QTest::newRow("all succeed") << -1;
    QTest::newRow("one fails half way") << 7;
}

void FaultsTest::severalProcessesAppendAtOnce()
{
    QFETCH(int, failing);
    constexpr int Processes = 4;
    constexpr int Records = 150;
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.filePath(u"s"_s)));

    QList<QProcess *> processes;
    for (int process = 0; process < Processes; ++process) {
        auto *helper = new QProcess(this);
        QStringList arguments{dir.path(), QString::number(process), QString::number(Records)};
        if (process == 0 && failing >= 0)
            arguments << QString::number(failing);
        helper->start(QStringLiteral(TAVRING_APPEND_HELPER), arguments);
        processes << helper;
    }
    for (int process = 0; process < Processes; ++process) {
        QProcess *helper = processes[process];
        QVERIFY(helper->waitForFinished(60000));
        QCOMPARE(helper->exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper->exitCode(), process == 0 && failing >= 0 ? 1 : 0);
        delete helper;
    }

    // Every record that succeeded is there once and whole, and nothing else is.
    const QByteArray report = readFile(dir.filePath(ProgramPaths::examReportName()));
    qsizetype expectedSize = 0;
    for (int process = 0; process < Processes; ++process) {
        for (int index = 0; index < Records; ++index) {
            const QByteArray record = recordBytes((appendedRecord(process, index)));
            const bool failed = process == 0 && index == failing;
            QCOMPARE(report.count(record), failed ? 0 : 1);
            if (!failed)
                expectedSize += record.size();
        }
    }
    QCOMPARE(report.size(), expectedSize);
    QVERIFY(!QFileInfo::exists(dir.filePath(ProgramPaths::examReportName()) + u".lock"_s));
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "tst_faults.moc"
