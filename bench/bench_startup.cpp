// Start-up to the first window and peak memory of the program against a bare Qt Widgets
// window. Run without arguments it starts itself as a child process in turn as the program
// ("--program <folder>": the application object on a copy of the demo program folder, as
// main() starts it) and as the bare window ("--bare"), interleaved, and prints the medians.
// A child exits at the first paint of its first window and reports the time since the
// parent started it and its peak resident memory.
//
// Not a test: the numbers depend on the machine. scripts/bench.sh builds and runs it.

#include "config/desktop_platform.h"
#include "start/application.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Pairs = 11;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Peak resident memory of this process in KiB.
qint64 peakKiB()
{
    QFile status(u"/proc/self/status"_s);
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

int runChild(int argc, char *argv[], bool program, const QString &folder, qint64 started)
{
    QApplication qtApp(argc, argv);
    FirstPaint watcher(started);
    qtApp.installEventFilter(&watcher);
    if (program) {
        QApplication::setQuitOnLastWindowClosed(false);
        DesktopPlatform platform;
        Application app(platform, folder);
        app.start();
        return QApplication::exec();
    }
    QWidget window;
    window.resize(320, 240);
    window.show();
    return QApplication::exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Run
{
    double ms = 0;
    double kib = 0;
};

Run runOnce(const QString &self, const QStringList &arguments)
{
    QProcess child;
    QStringList all = arguments;
    all << u"--started"_s << QString::number(nowNs());
    child.start(self, all);
    child.waitForFinished(60000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2)
        return {};
    return {fields[0].toDouble(), fields[1].toDouble()};
}

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    const qsizetype startedAt = arguments.indexOf(u"--started"_s);
    if (startedAt >= 0 && startedAt + 1 < arguments.size()) {
        const qint64 started = arguments[startedAt + 1].toLongLong();
        const qsizetype programAt = arguments.indexOf(u"--program"_s);
        if (programAt >= 0 && programAt + 1 < arguments.size())
            return runChild(argc, argv, true, arguments[programAt + 1], started);
        return runChild(argc, argv, false, QString(), started);
    }

    // The demo program folder the build laid out, copied so the run cannot change it.
    const QString self = QString::fromLocal8Bit(argv[0]);
    const QString demo = QFileInfo(self).absolutePath() + u"/../program"_s;
    QTemporaryDir folder;
    copyFolder(QDir(demo).absolutePath(), folder.path());

    std::vector<double> programMs, bareMs, programKiB, bareKiB, timeRatios, memoryRatios;
    for (int i = 0; i < Pairs; ++i) {
        const Run a = runOnce(self, {u"--program"_s, folder.path()});
        const Run b = runOnce(self, {u"--bare"_s});
        if (a.ms <= 0 || b.ms <= 0)
            continue;
        programMs.push_back(a.ms);
        bareMs.push_back(b.ms);
        programKiB.push_back(a.kib);
        bareKiB.push_back(b.kib);
        timeRatios.push_back(a.ms / b.ms);
        memoryRatios.push_back(a.kib / b.kib);
    }
    if (timeRatios.empty()) {
        std::fprintf(stderr, "the child processes did not report\n");
        return 1;
    }
    std::printf("%-44s %14s %11s %11s %9s\n", "case", "", "program", "bare window", "ratio");
    std::printf("%-44s %14s %11.1f %11.1f %9.2f  (%zu pairs)\n", "start-up to the first window, ms", "",
                median(programMs), median(bareMs), median(timeRatios), timeRatios.size());
    std::printf("%-44s %14s %11.0f %11.0f %9.2f\n", "peak resident memory, KiB", "", median(programKiB),
                median(bareKiB), median(memoryRatios));
    return 0;
}
