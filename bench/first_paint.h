#pragma once

// What the start-up benchmark's children share: the clock the parent passes them, the peak
// memory, and the event filter that ends a child at the first paint of its first window.

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>

inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Peak resident memory of this process in KiB.
inline qint64 peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// Ends the child at the first paint of any window: prints milliseconds since `started`
// and the peak memory.
class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(qint64 started) : m_started(started) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            std::printf("%.3f %lld\n", double(nowNs() - m_started) / 1e6, peakKiB());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }

private:
    qint64 m_started;
};
