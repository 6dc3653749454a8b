#include "core/files/shared_lock.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// How a lock file beside a shared file is taken, waited for, taken over and given back, as
// programs on this workstation and on others sharing the folder see it.
class SharedLockTest : public QObject
{
    Q_OBJECT

private slots:
    void ownerIsWrittenAndRemovedAgain();
    void lockOfAGoneOwnerIsTakenOver_data();
    void lockOfAGoneOwnerIsTakenOver();
    void freshLockWithAnOldTimeIsWaitedFor();
    void lockTakenOverMeanwhileIsNotRemoved();
};

namespace {

// A process number that ran on this workstation and has ended.
qint64 endedProcess()
{
    QProcess process;
    process.start(u"true"_s, {});
    if (!process.waitForFinished())
        return 0;
    return process.processId() > 0 ? process.processId() : 999999;
}

QByteArray ownerLines(qint64 process, const QString &host)
{
    return QByteArray::number(process) + "\nprogram\n" + host.toUtf8() + '\n';
}

void makeOld(const QString &path, qint64 milliseconds)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addMSecs(-milliseconds), QFileDevice::FileModificationTime));
}

} // namespace

void SharedLockTest::ownerIsWrittenAndRemovedAgain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"oth.txt.lock"_s);
    {
        SharedLock lock(path, 10000);
        QVERIFY(lock.lock(1000));
        // Three lines that Qt's own lock file reads, so older copies of the program understand it.
        QCOMPARE(readFile(path), QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                                     + QCoreApplication::applicationName().toUtf8() + '\n'
                                     + QSysInfo::machineHostName().toUtf8() + '\n');
        // A second lock of the same file in this process waits like any other program.
        SharedLock second(path, 10000);
        FileError error;
        QVERIFY(!second.lock(100, &error));
        QCOMPARE(error.kind(), FileError::Kind::LockedElsewhere);
        QCOMPARE(error.path(), dir.filePath(u"oth.txt"_s));
    }
    QVERIFY(!QFileInfo::exists(path));
}

void SharedLockTest::lockOfAGoneOwnerIsTakenOver_data()
{
    QTest::addColumn<bool>("journal");
    for (const bool journal : {false, true})
        QTest::addRow("%s", journal ? "journal, one attempt" : "report, waiting") << journal;
}

void SharedLockTest::lockOfAGoneOwnerIsTakenOver()
{
    // A program of this workstation that died holding the lock is known gone by its number:
    // its lock is taken at once, without waiting for a stale time.
    QFETCH(bool, journal);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"file.lock"_s);
    const qint64 gone = endedProcess();
    QVERIFY(gone > 0);
    QVERIFY(writeFile(path, ownerLines(gone, QSysInfo::machineHostName())));
    SharedLock lock(path, journal ? 0 : 60000);
    QElapsedTimer taking;
    taking.start();
    QVERIFY(journal ? lock.tryLock() : lock.lock(5000));
    QVERIFY(taking.elapsed() < SharedLock::UnwrittenGraceMilliseconds);
    QCOMPARE(readFile(path), SharedLock::ownerText());

    // The same number on another workstation may be running there: its lock is kept.
    lock.unlock();
    const QByteArray elsewhere = ownerLines(gone, u"another-workstation"_s);
    QVERIFY(writeFile(path, elsewhere));
    SharedLock other(path);
    QVERIFY(!other.tryLock());
    QCOMPARE(readFile(path), elsewhere);
}

void SharedLockTest::freshLockWithAnOldTimeIsWaitedFor()
{
    // The time of change is the file server's; a server whose clock is behind gives a fresh
    // lock an old time. Before it was seen unchanged for a while, it is no dead owner's.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"oth.txt.lock"_s);
    QVERIFY(writeFile(path, ownerLines(4242, u"another-workstation"_s)));
    makeOld(path, 60000);
    SharedLock lock(path, 10000);
    FileError error;
    QVERIFY(!lock.lock(SharedLock::UnwrittenGraceMilliseconds / 2, &error));
    QCOMPARE(error.kind(), FileError::Kind::LockedElsewhere);
    // Unchanged for longer, it is taken over.
    QVERIFY(lock.lock(3 * SharedLock::UnwrittenGraceMilliseconds));
}

void SharedLockTest::lockTakenOverMeanwhileIsNotRemoved()
{
    // A lock held past its stale time may have been taken over by another workstation; giving
    // it back then must not remove the other's lock.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"oth.txt.lock"_s);
    const QByteArray other = ownerLines(4242, u"another-workstation"_s);
    {
        SharedLock lock(path, 100);
        QVERIFY(lock.lock(1000));
        QTest::qWait(150);
        QVERIFY(writeFile(path, other));
    }
    QCOMPARE(readFile(path), other);
    {
        SharedLock lock(path, 100);
        QVERIFY(lock.lock(3000));
        QTest::qWait(150);
    }
    QVERIFY(!QFileInfo::exists(path));
}

QTEST_GUILESS_MAIN(SharedLockTest)
#include "tst_shared_lock.moc"
