// Start-up to the first window and peak memory of the program against a bare Qt Widgets
// window. Run without arguments it starts, interleaved, itself as the program ("--program
// <folder>": the application object on a copy of the demo program folder, as main() starts
// it) and the bare window program beside it (bare_window, which links Qt Widgets alone), empty
// and with one line of text, and prints the medians against both. Each child exits at the first paint of its first window and reports the
// time since the parent started it and its peak resident memory.
//
// Not a test: the numbers depend on the machine. scripts/bench.sh builds and runs it.

#include "app/application.h"
#include "first_paint.h"
#include "gui/common/desktop_platform.h"

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

constexpr int Rounds = 11;

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

    // One round: the program, the empty window, the window with a line of text.
    struct Series
    {
        std::vector<double> ms, kib;
    } program, bareEmpty, bareText;
    std::vector<double> timeRatios[2], memoryRatios[2];
    for (int i = 0; i < Rounds; ++i) {
        const Run a = runOnce(self, {u"--program"_s, folder.path()});
        const Run b = runOnce(bare, {});
        const Run c = runOnce(bare, {u"--text"_s});
        if (a.ms <= 0 || b.ms <= 0 || c.ms <= 0)
            continue;
        program.ms.push_back(a.ms);
        program.kib.push_back(a.kib);
        bareEmpty.ms.push_back(b.ms);
        bareEmpty.kib.push_back(b.kib);
        bareText.ms.push_back(c.ms);
        bareText.kib.push_back(c.kib);
        timeRatios[0].push_back(a.ms / b.ms);
        memoryRatios[0].push_back(a.kib / b.kib);
        timeRatios[1].push_back(a.ms / c.ms);
        memoryRatios[1].push_back(a.kib / c.kib);
    }
    if (program.ms.empty()) {
        std::fprintf(stderr, "the child processes did not report\n");
        return 1;
    }
    std::printf("%-44s %14s %11s %11s %9s\n", "case", "floor", "program", "floor", "ratio");
    const char *floors[2] = {"empty window", "one text line"};
    const Series *floorSeries[2] = {&bareEmpty, &bareText};
    for (int f = 0; f < 2; ++f)
        std::printf("%-44s %14s %11.1f %11.1f %9.2f  (%zu rounds)\n", "start-up to the first window, ms", floors[f],
                    median(program.ms), median(floorSeries[f]->ms), median(timeRatios[f]), program.ms.size());
    for (int f = 0; f < 2; ++f)
        std::printf("%-44s %14s %11.0f %11.0f %9.2f\n", "peak resident memory, KiB", floors[f], median(program.kib),
                    median(floorSeries[f]->kib), median(memoryRatios[f]));
    return 0;
}
