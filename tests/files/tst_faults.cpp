// Saves and appends under faults of the file layer: a write that fails as on a full disk after
// some bytes, a rename that is refused, a really full or read-only file system where the tests
// may mount one, and several processes appending to one report at once.
#include "append_record.h"
#include "core/exam/exam_folder.h"
#include "core/exam/ticket_journal.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/questionnaire/questionnaire_report.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/exam_report.h"
#include "core/reports/report_reader.h"
#include "support/files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>

#include <unistd.h>

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

// A record as the program writes it, with a ticket line the results reader knows.
ExamRecord readableRecord(int process, int index)
{
    ExamRecord record = appendedRecord(process, index);
    record.ticket = ExamRecordTexts(record.language).ticketLine(u"b3"_s);
    return record;
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
    void appendIsOnTheDiskBeforeItsLockGoes_data();
    void appendIsOnTheDiskBeforeItsLockGoes();
    void partialRecordStaysApart_data();
    void partialRecordStaysApart();
    void questionnaireRunAfterAPartialOne();
    void unwrittenLockIsTakenOver_data();
    void unwrittenLockIsTakenOver();
    void journalLockOfARunningCopyIsKept();
    void folderWithoutAccessIsSaidAtOnce();
    void saveTemporaryIsNoContent();
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

void FaultsTest::appendIsOnTheDiskBeforeItsLockGoes_data()
{
    QTest::addColumn<bool>("questionnaire");
    QTest::addColumn<bool>("syncFails");
    for (const bool questionnaire : {false, true}) {
        QTest::addRow("%s report", questionnaire ? "questionnaire" : "exam") << questionnaire << false;
        QTest::addRow("%s report, sync fails", questionnaire ? "questionnaire" : "exam") << questionnaire << true;
    }
}

void FaultsTest::appendIsOnTheDiskBeforeItsLockGoes()
{
    // A power cut right after an append said "saved" must leave the record in the report.
    QFETCH(bool, questionnaire);
    QFETCH(bool, syncFails);
    QTemporaryDir dir;
    const QString report = questionnaire ? ProgramPaths(dir.path()).questionnaireReport()
                                         : ProgramPaths(dir.path()).examReport();
    const QByteArray old = recordBytes(appendedRecord(0, 0));
    writeFile(report, old);
    const QString text = questionnaire ? QuestionnaireReport::header(u"quiz"_s, u"10:00:00"_s, u"08.12.2026"_s)
                                       : ExamReport::recordText(appendedRecord(1, 1));

    AnsiText::Faults::watch();
    if (syncFails)
        AnsiText::Faults::failSync();
    FileError error;
    const bool appended = questionnaire ? QuestionnaireReport::append(dir.path(), text, &error)
                                        : ExamReport::append(dir.path(), appendedRecord(1, 1), &error);
    if (syncFails) {
        // Bytes that may not outlive a power cut are no saved record: the append fails and
        // takes them back.
        QVERIFY(!appended);
        QCOMPARE(error.path(), report);
        QCOMPARE(error.systemText(), QString::fromLocal8Bit(std::strerror(EIO)));
        QCOMPARE(readFile(report), old);
        QVERIFY(!QFileInfo::exists(report + u".lock"_s));
        return;
    }
    QVERIFY(appended);
    QCOMPARE(AnsiText::Faults::events(),
             (QStringList{u"write "_s + report, u"sync "_s + report, u"unlock "_s + report}));
    AnsiText::Faults::cutPower();
    QCOMPARE(readFile(report), old + AnsiText::encode(text));
}

void FaultsTest::partialRecordStaysApart_data()
{
    QTest::addColumn<int>("cutFromEnd"); // bytes of the second record that were never written
    QTest::addColumn<bool>("lineEndFirst");
    const int size = int(recordBytes(readableRecord(0, 2)).size());
    QTest::newRow("cut in its first line") << size - 5 << true;
    QTest::newRow("cut in its student line") << size - 30 << true;
    QTest::newRow("cut in its closing line") << 8 << true;
    QTest::newRow("cut after its closing line") << 4 << true;
    QTest::newRow("cut in its last line end") << 1 << true;
    QTest::newRow("whole") << 0 << false;
}

void FaultsTest::partialRecordStaysApart()
{
    // A workstation died in the middle of its append: the next record is read whole, with
    // its date line, and the part left stays a part of its own.
    QFETCH(int, cutFromEnd);
    QFETCH(bool, lineEndFirst);
    QTemporaryDir dir;
    const QString report = ProgramPaths(dir.path()).examReport();
    const QByteArray whole = recordBytes(readableRecord(0, 1));
    QByteArray cut = recordBytes(readableRecord(0, 2));
    cut.chop(cutFromEnd);
    writeFile(report, whole + cut);

    const ExamRecord next = readableRecord(1, 1);
    QVERIFY(ExamReport::append(dir.path(), next));
    QCOMPARE(readFile(report), whole + cut + (lineEndFirst ? "\r\n"_ba : QByteArray()) + recordBytes(next));

    const std::optional<ExamReportContents> read = ReportReader::readExamReport(readFile(report));
    QVERIFY(read);
    QStringList students;
    for (const TicketResult &ticket : read->tickets)
        students << ticket.student;
    QCOMPARE(students.first(), readableRecord(0, 1).student);
    QCOMPARE(students.last(), next.student);
    const TicketResult &last = read->tickets.last();
    QCOMPARE(last.dateText, next.date);
    QCOMPARE(last.timeText, next.time);
    QCOMPARE(last.verdict, ExamRecordTexts(next.language).verdict(next.verdict));
}

void FaultsTest::questionnaireRunAfterAPartialOne()
{
    QTemporaryDir dir;
    const QString report = ProgramPaths(dir.path()).questionnaireReport();
    QByteArray cut = AnsiText::encode(QuestionnaireReport::header(u"first"_s, u"10:00:00"_s, u"08.12.2026"_s));
    cut.chop(12);
    writeFile(report, cut);

    const QString header = QuestionnaireReport::header(u"second"_s, u"10:05:00"_s, u"08.12.2026"_s);
    const QString answer = QuestionnaireReport::answerLine(u"1"_s, u"Да"_s, u"2"_s);
    QVERIFY(QuestionnaireReport::append(dir.path(), header));
    QVERIFY(QuestionnaireReport::append(dir.path(), answer));
    // The pieces of one run follow one another without further line ends.
    QCOMPARE(readFile(report), cut + "\r\n" + AnsiText::encode(header + answer));

    const std::optional<QuestionnaireReportContents> read = ReportReader::readQuestionnaireReport(readFile(report));
    QVERIFY(read);
    QVERIFY(!read->runs.isEmpty());
    QCOMPARE(read->runs.last().name, u"second"_s);
    QCOMPARE(read->runs.last().answers.size(), 1);
}

void FaultsTest::unwrittenLockIsTakenOver_data()
{
    QTest::addColumn<bool>("journal");
    QTest::addColumn<QByteArray>("content");
    for (const bool journal : {false, true}) {
        const char *what = journal ? "journal" : "report";
        QTest::addRow("%s, empty lock", what) << journal << QByteArray();
        // A power cut can leave a file of the right size holding only zeros.
        QTest::addRow("%s, lock of zeros", what) << journal << QByteArray(40, '\0');
        QTest::addRow("%s, lock cut in its first line", what) << journal << "\n"_ba;
    }
}

void FaultsTest::unwrittenLockIsTakenOver()
{
    // A crash between creating a lock and writing its owner leaves a lock of nobody's: the
    // next append or journal takes it over instead of waiting for ever.
    QFETCH(bool, journal);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const ProgramPaths paths(dir.path());
    const QString target = journal ? paths.ticketJournal() : paths.examReport();
    const QString lockPath = target + u".lock"_s;
    writeFile(lockPath, content);

    if (journal) {
        const std::unique_ptr<SharedLock> lock = TicketJournal::journalLock(target);
        FileError error;
        QVERIFY(lock->tryLock(&error));
        QVERIFY(!error.isError());
        QVERIFY(readFile(lockPath).startsWith(QByteArray::number(QCoreApplication::applicationPid())));
    } else {
        FileError error;
        QVERIFY2(ExamReport::append(dir.path(), appendedRecord(0, 0), &error),
                 qPrintable(error.describe(LanguagePolicy(u"eng"_s))));
        QCOMPARE(readFile(target), recordBytes(appendedRecord(0, 0)));
        QVERIFY(!QFileInfo::exists(lockPath));
    }
}

void FaultsTest::journalLockOfARunningCopyIsKept()
{
    // A lock with an owner on another workstation name is a running copy's: no error, no takeover.
    QTemporaryDir dir;
    const QString journal = ProgramPaths(dir.path()).ticketJournal();
    const QByteArray held = "4242\ntavring\nanother-workstation\n";
    writeFile(journal + u".lock"_s, held);
    const std::unique_ptr<SharedLock> lock = TicketJournal::journalLock(journal);
    FileError error;
    QVERIFY(!lock->tryLock(&error));
    QVERIFY(!error.isError());
    QCOMPARE(readFile(journal + u".lock"_s), held);
}

void FaultsTest::folderWithoutAccessIsSaidAtOnce()
{
    // An account that may not write in s/ is told so, naming the folder, and at once: it is
    // no lock of another workstation to wait for.
    QTemporaryDir dir;
    const QString reports = ProgramPaths(dir.path()).reportsFolder();
    QVERIFY(QDir().mkpath(reports));
    QStringList command{QStringLiteral(TAVRING_APPEND_HELPER), dir.path(), u"0"_s, u"1"_s};
    if (::geteuid() == 0) {
        // The superuser may write anywhere: the helper runs as nobody, who may read but not write.
        const QFile::Permissions readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                            | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        for (const QString &level : {dir.path(), reports})
            QVERIFY(QFile::setPermissions(level, readable));
        command = QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s} + command;
        command.prepend(u"setpriv"_s);
    } else {
        QVERIFY(QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner));
    }
    QProcess helper;
    helper.start(command.takeFirst(), command);
    QVERIFY(helper.waitForStarted());
    // Well within the wait for a lock of another workstation.
    QVERIFY(helper.waitForFinished(AnsiText::LockWaitMilliseconds / 2));
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (helper.exitCode() == 127 && ::geteuid() == 0)
        QSKIP("setpriv is not there to run the helper without the superuser's rights");
    QCOMPARE(helper.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(helper.readAllStandardOutput()).trimmed(),
             u"permission denied: "_s + QFileInfo(reports).absoluteFilePath());
}

void FaultsTest::saveTemporaryIsNoContent()
{
    // A save cut off by a crash leaves its temporary file: it is no question of the
    // questionnaire, and the next save of the same file clears it away once it is old.
    QTemporaryDir dir;
    QVERIFY(QuestionnaireFile::create(dir.path(), u"quiz"_s));
    const QString folder = QuestionnaireFile::questionnaireFolder(dir.path(), u"quiz"_s);
    const QString question = folder + u'/' + QuestionnaireFile::questionFileName(u"1"_s);
    QVERIFY(QuestionnaireFile::writeText(question, u"Вопрос?"_s));
    const int questions = QuestionnaireFile::questionCount(folder);

    const QString left = question + u".aB3xYz"_s;
    const QString atWork = question + u".Qw7rTy"_s;
    writeFile(left, "cut off");
    writeFile(atWork, "another workstation's save");
    QCOMPARE(QuestionnaireFile::questionCount(folder), questions);
    QStringList entries;
    GetFolders(folder, &entries);
    QVERIFY(!entries.contains(left));

    QFile old(left);
    QVERIFY(old.open(QIODevice::ReadWrite));
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addMSecs(-2 * AnsiText::StaleTemporaryMilliseconds),
                            QFileDevice::FileModificationTime));
    old.close();
    QVERIFY(QuestionnaireFile::writeText(question, u"Другой вопрос?"_s));
    QVERIFY(!QFileInfo::exists(left));
    QVERIFY(QFileInfo::exists(atWork));
    QCOMPARE(QuestionnaireFile::questionCount(folder), questions);
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
