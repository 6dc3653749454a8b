#include "core/files/shared_lock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QSysInfo>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Between two attempts on a lock another program holds: an append holds it for milliseconds,
// and a waiter that backs off for seconds would lose it again and again.
constexpr int RetryMilliseconds = 10;
// Between two looks at a lock file nobody wrote into, while its grace time runs.
constexpr int LookMilliseconds = 50;
// How long a waiter leaves a lock file unread: its owner is done with it long before.
constexpr int ReadAfterMilliseconds = 200;
// How long the owner goes on trying to remove its lock while a reader still holds it open.
constexpr int RemoveMilliseconds = 3000;
constexpr int RemoveRetryMilliseconds = 5;
// A lock file is three short lines; more is not one.
constexpr qint64 LongestLock = 4096;

// The lock files this process holds, so that a lock with this very process number is told
// apart from one an earlier run with the same number left behind.
QMutex g_heldMutex;
QSet<QString> g_held;

QString heldKey(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

bool isHeldHere(const QString &path)
{
    const QMutexLocker locker(&g_heldMutex);
    return g_held.contains(heldKey(path));
}

void setHeldHere(const QString &path, bool held)
{
    const QMutexLocker locker(&g_heldMutex);
    if (held)
        g_held.insert(heldKey(path));
    else
        g_held.remove(heldKey(path));
}

// The file a lock guards: the lock's own name without ".lock".
QString lockedFile(const QString &lockPath)
{
    return lockPath.endsWith(u".lock"_s) ? lockPath.chopped(5) : lockPath;
}

bool writeAll(int file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(file, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

SharedLock::SharedLock(const QString &lockPath, int staleMilliseconds)
    : m_path(lockPath), m_staleMilliseconds(staleMilliseconds)
{
}

SharedLock::~SharedLock()
{
    unlock();
}

QByteArray SharedLock::ownerText()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n'
           + QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

bool SharedLock::namesOwner(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() < 4)
        return false;
    bool isNumber = false;
    const qint64 owner = lines.at(0).toLongLong(&isNumber);
    return isNumber && owner > 0;
}

bool SharedLock::tryLock(FileError *error)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (const Attempt outcome = attempt(error); outcome != Attempt::Held)
            return outcome == Attempt::Taken;
        if (m_refusedWithoutLock > 0) {
            QThread::msleep(RetryMilliseconds);
            continue;
        }
        if (removeIfStale(false))
            continue;
        if (m_owner != Owner::Unwritten || waited.elapsed() > UnwrittenGraceMilliseconds + LookMilliseconds)
            return false;
        QThread::msleep(LookMilliseconds);
    }
}

bool SharedLock::lock(int waitMilliseconds, FileError *error)
{
    const QDeadlineTimer deadline(waitMilliseconds);
    for (;;) {
        if (const Attempt outcome = attempt(error); outcome != Attempt::Held)
            return outcome == Attempt::Taken;
        if (m_refusedWithoutLock == 0 && removeIfStale(true))
            continue;
        if (deadline.hasExpired()) {
            if (error)
                *error = FileError(FileError::Kind::LockedElsewhere, lockedFile(m_path));
            return false;
        }
        QThread::msleep(RetryMilliseconds);
    }
}

void SharedLock::unlock()
{
    if (!m_locked)
        return;
    m_locked = false;
    setHeldHere(m_path, false);
    // Held past its stale time, the lock may have been taken over: another program's lock
    // stays where it is.
    if (m_staleMilliseconds > 0 && m_held.elapsed() >= m_staleMilliseconds) {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly) || file.read(LongestLock) != ownerText())
            return;
    }
    QElapsedTimer removing;
    removing.start();
    while (::unlink(QFile::encodeName(m_path).constData()) != 0 && errno != ENOENT
           && removing.elapsed() < RemoveMilliseconds)
        QThread::msleep(RemoveRetryMilliseconds);
}

SharedLock::Attempt SharedLock::attempt(FileError *error)
{
    const QByteArray name = QFile::encodeName(m_path);
    errno = 0;
    const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file >= 0) {
        const bool written = writeAll(file, ownerText());
        const int systemError = errno;
        ::close(file);
        if (!written) {
            // A lock without its owner would hold up everybody for its grace time.
            ::unlink(name.constData());
            if (error)
                *error = FileError::fromSystem(systemError != 0 ? systemError : EIO, lockedFile(m_path));
            return Attempt::Refused;
        }
        m_locked = true;
        m_held.start();
        m_refusedWithoutLock = 0;
        setHeldHere(m_path, true);
        return Attempt::Taken;
    }
    const int systemError = errno;
    if (systemError == EEXIST) {
        m_refusedWithoutLock = 0;
        return Attempt::Held;
    }
    if (systemError == EACCES || systemError == EPERM) {
        if (QFileInfo::exists(m_path)) {
            m_refusedWithoutLock = 0;
            return Attempt::Held;
        }
        // A refusal with no lock file may come just after its holder removed it: it is the
        // folder's own only when it comes again.
        if (++m_refusedWithoutLock < 3)
            return Attempt::Held;
    }
    m_refusedWithoutLock = 0;
    if (error)
        *error = refusal(systemError);
    return Attempt::Refused;
}

bool SharedLock::removeIfStale(bool patient)
{
    const Look now = look(m_path);
    if (!now.exists) {
        m_seen = Look();
        return true;
    }
    if (now != m_seen || !m_unchanged.isValid()) {
        m_seen = now;
        m_unchanged.start();
        m_owner = Owner::Unknown;
    }
    const qint64 unchanged = m_unchanged.elapsed();
    if (m_owner == Owner::Unknown) {
        if (now.size == 0) {
            m_owner = Owner::Unwritten;
        } else if (!patient || unchanged >= ReadAfterMilliseconds) {
            QFile file(m_path);
            // A lock file that cannot be read names no owner either.
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(LongestLock) : QByteArray();
            file.close();
            m_owner = !namesOwner(bytes) ? Owner::Unwritten : ownerIsGone(bytes) ? Owner::Gone : Owner::Running;
        }
    }
    bool stale = false;
    switch (m_owner) {
    case Owner::Gone:
        stale = true;
        break;
    case Owner::Unwritten:
        stale = unchanged >= UnwrittenGraceMilliseconds;
        break;
    case Owner::Unknown:
    case Owner::Running:
        // The time of change is the server's: it counts only for a lock that is also seen
        // unchanged for a while from here, so that a server whose clock is behind cannot make
        // a fresh lock look old.
        stale = m_staleMilliseconds > 0
                && (unchanged >= m_staleMilliseconds
                    || (unchanged >= UnwrittenGraceMilliseconds
                        && now.changed.msecsTo(QDateTime::currentDateTime()) >= m_staleMilliseconds));
        break;
    }
    // Removed only while it is still the lock judged: a lock made meanwhile has another size
    // or time of change.
    if (!stale || look(m_path) != now)
        return false;
    QFile::remove(m_path);
    m_seen = Look();
    m_unchanged.invalidate();
    m_owner = Owner::Unknown;
    return true;
}

bool SharedLock::ownerIsGone(const QByteArray &bytes) const
{
    const QList<QByteArray> lines = bytes.split('\n');
    const qint64 owner = lines.at(0).toLongLong();
    if (QString::fromUtf8(lines.at(2)) != QSysInfo::machineHostName())
        return false;
    if (owner == QCoreApplication::applicationPid())
        return !isHeldHere(m_path);
    return ::kill(pid_t(owner), 0) != 0 && errno == ESRCH;
}

FileError SharedLock::refusal(int systemError) const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    switch (systemError) {
    case EROFS:
        return FileError::fromSystem(EROFS, folder);
    case EACCES:
    case EPERM:
        return FileError::fromSystem(EACCES, folder);
    default:
        return FileError::fromSystem(systemError != 0 ? systemError : EIO, lockedFile(m_path));
    }
}

SharedLock::Look SharedLock::look(const QString &path)
{
    const QFileInfo info(path);
    Look seen;
    seen.exists = info.exists();
    if (seen.exists) {
        seen.size = info.size();
        seen.changed = info.lastModified();
    }
    return seen;
}
