#pragma once

#include "core/files/file_error.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

// A lock file beside a file that programs on this workstation and on others sharing the folder
// write. It is created exclusively, holds its owner's process number, program and workstation
// name on three lines (the form Qt's QLockFile reads, so older copies of the program understand
// it) and is closed at once.
//
// Network file systems shape how it is held and waited for:
// - a waiter never opens a lock file whose owner is at work: on a share that follows Windows
//   rules, a file open anywhere cannot be removed, and an owner that could not remove its lock
//   would block everybody. Waiters look at the lock's size and time of change only, and read it
//   only once it has stayed unchanged for a while;
// - the owner retries the removal for a while, as a reader may still hold the file open;
// - some clients answer the exclusive creation of a file that exists with "permission denied":
//   while the lock file is there, that is another program's lock.
//
// A lock is taken over when its owner is gone: a process of this workstation that no longer
// runs (or this very process number, left by an earlier run, after a power cut), a lock nobody
// wrote an owner into (a crash right between its creation and its write), or, for a lock with a
// stale time, one that stayed unchanged for that long.
class SharedLock
{
public:
    // How long an empty or unreadable lock file must stay unchanged, watched from here, before it
    // is taken for one whose owner died between creating and writing it. Its owner writes it
    // microseconds after creating it; the time is measured on this workstation's own clock, so
    // the clock of a server sharing the folder does not count.
    static constexpr int UnwrittenGraceMilliseconds = 1000;

    // `staleMilliseconds`: how long a lock may stay unchanged before it is taken for a dead
    // owner's on any workstation; 0 keeps it for as long as its owner may run.
    explicit SharedLock(const QString &lockPath, int staleMilliseconds = 0);
    ~SharedLock();

    SharedLock(const SharedLock &) = delete;
    SharedLock &operator=(const SharedLock &) = delete;

    // One attempt, which waits out the grace time of a lock file nobody wrote into. False
    // without an error when a running program holds the lock; with one when the folder
    // refuses the lock (the error names the folder) or the lock cannot be written.
    bool tryLock(FileError *error = nullptr);
    // Waits up to `waitMilliseconds` while another program holds the lock; the error of a lock
    // held all that time is FileError::Kind::LockedElsewhere, naming the locked file.
    bool lock(int waitMilliseconds, FileError *error = nullptr);
    // Removes the lock file, unless another program took it over meanwhile.
    void unlock();

    bool isLocked() const { return m_locked; }
    QString path() const { return m_path; }

    // The three lines of a lock of this process, and whether a lock file's bytes name an owner.
    static QByteArray ownerText();
    static bool namesOwner(const QByteArray &bytes);

private:
    enum class Attempt { Taken, Held, Refused };

    struct Look
    {
        bool exists = false;
        qint64 size = -1;
        QDateTime changed;

        bool operator==(const Look &other) const = default;
    };

    Attempt attempt(FileError *error);
    // Watches the lock held by another program; true when it was found stale and removed.
    // `patient`: a waiter reads the lock only once it stayed unchanged for a while.
    bool removeIfStale(bool patient);
    bool ownerIsGone(const QByteArray &bytes) const;
    FileError refusal(int systemError) const;
    static Look look(const QString &path);

    QString m_path;
    int m_staleMilliseconds;
    bool m_locked = false;
    QElapsedTimer m_held;
    // The lock of another program as last seen, and since when it is unchanged.
    Look m_seen;
    QElapsedTimer m_unchanged;
    // What the lock file as last seen said of its owner: unknown until read.
    enum class Owner { Unknown, Unwritten, Running, Gone } m_owner = Owner::Unknown;
    // Refusals to create the lock while no lock file was seen, in a row.
    int m_refusedWithoutLock = 0;
};
