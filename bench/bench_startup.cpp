// Start-up to the first window and peak memory of the program against a bare Qt Widgets
// window. Run without arguments it starts, interleaved, itself as the program ("--program
// <folder>": the application object on a copy of the demo program folder, as main() starts
// it) and the bare window program beside it (bare_window, which links Qt Widgets alone), and
// prints the medians. Each child exits at the first paint of its first window and reports the
// time since the parent started it and its peak resident memory.
//
// Not a test: the numbers depend on the machine. scripts/bench.sh builds and runs it.

#include "first_paint.h"

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

int runProgram(int argc, char *argv[], const QString &folder, qint64 started)
{
    QApplication qtApp(argc, argv);
    FirstPaint watcher(started);
    qtApp.installEventFilter(&watcher);
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopPlatform platform;
    Application app(platform, folder);
    app.start();
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

Run runOnce(const QString &program, const QStringList &arguments)
{
    QProcess child;
    QStringList all = arguments;
    all << u"--started"_s << QString::number(nowNs());
    child.start(program, all);
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
            return runProgram(argc, argv, arguments[programAt + 1], started);
        return 1;
    }

    // The demo program folder the build laid out, copied so the run cannot change it.
    const QString self = QString::fromLocal8Bit(argv[0]);
    const QString demo = QFileInfo(self).absolutePath() + u"/../program"_s;
    const QString bare = QFileInfo(self).absolutePath() + u"/bare_window"_s;
    QTemporaryDir folder;
    copyFolder(QDir(demo).absolutePath(), folder.path());

    std::vector<double> programMs, bareMs, programKiB, bareKiB, timeRatios, memoryRatios;
    for (int i = 0; i < Pairs; ++i) {
        const Run a = runOnce(self, {u"--program"_s, folder.path()});
        const Run b = runOnce(bare, {});
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
