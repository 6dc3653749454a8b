#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>

// Lock files beside a file that several programs write: what a dead owner leaves behind.
namespace LockFiles {

// How long a lock file must stay without an owner, watched from here, before it is taken
// for one whose owner died between creating it and writing into it. Its owner writes it
// microseconds after creating it; the time is measured on this workstation's own clock, so
// the clock of a server sharing the folder does not count.
inline constexpr int UnwrittenGraceMilliseconds = 1000;

// Whether the lock file exists without naming an owner: empty, or holding what is not a lock's
// text, as a crash or a power cut between its creation and its write leaves it.
bool isUnwritten(const QString &lockPath);

// Watches one lock file that could not be taken. The first sighting of it unwritten starts
// the grace time; when the same file (same size, same time of change) is still unwritten after
// it, it is removed so that the lock can be taken.
class UnwrittenWatch
{
public:
    explicit UnwrittenWatch(const QString &lockPath) : m_path(lockPath) {}

    // Looks at the lock file once more; true when it was removed as left by a dead owner.
    bool removeIfDead();

private:
    QString m_path;
    QElapsedTimer m_since;
    QDateTime m_changed;
    qint64 m_size = -1;
};

// Waits out the grace time for a lock file that is unwritten now and removes it when it
// stays so; true when it was removed. Returns at once for a lock with an owner or no lock file.
bool removeIfLeftUnwritten(const QString &lockPath);

} // namespace LockFiles
