// A bare Qt Widgets window: what start-up and memory of the program are compared with. Started
// by bench_startup with "--started <clock>", it exits at its first paint and reports as the
// program does.

#include "first_paint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    qint64 started = nowNs();
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--started")
            started = QByteArray(argv[i + 1]).toLongLong();
    }
    QApplication qtApp(argc, argv);
    FirstPaint watcher(started);
    qtApp.installEventFilter(&watcher);
    QWidget window;
    window.resize(320, 240);
    window.show();
    return QApplication::exec();
}
