#include "core/files/lock_files.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace LockFiles {

namespace {

constexpr int LookMilliseconds = 50;

} // namespace

bool isUnwritten(const QString &lockPath)
{
    if (!QFileInfo::exists(lockPath))
        return false;
    qint64 owner = 0;
    QString host;
    QString program;
    // The lock's own reading of itself: a process number it cannot read means no owner.
    return !QLockFile(lockPath).getLockInfo(&owner, &host, &program);
}

bool UnwrittenWatch::removeIfDead()
{
    if (!isUnwritten(m_path)) {
        m_since.invalidate();
        return false;
    }
    const QFileInfo info(m_path);
    const QDateTime changed = info.lastModified();
    const qint64 size = info.size();
    if (!m_since.isValid() || changed != m_changed || size != m_size) {
        m_since.start();
        m_changed = changed;
        m_size = size;
        return false;
    }
    if (m_since.elapsed() < UnwrittenGraceMilliseconds)
        return false;
    m_since.invalidate();
    return QFile::remove(m_path);
}

bool removeIfLeftUnwritten(const QString &lockPath)
{
    UnwrittenWatch watch(lockPath);
    if (watch.removeIfDead())
        return true;
    QElapsedTimer waited;
    waited.start();
    while (isUnwritten(lockPath) && waited.elapsed() <= UnwrittenGraceMilliseconds + LookMilliseconds) {
        QThread::msleep(LookMilliseconds);
        if (watch.removeIfDead())
            return true;
    }
    return false;
}

} // namespace LockFiles
