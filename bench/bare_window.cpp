// A bare Qt Widgets window: what start-up and memory of the program are compared with. Started
// by bench_startup with "--started <clock>", it exits at its first paint and reports as the
// program does. With "--text" the window shows one line of text, so it also starts the font
// system, which the empty window never does and any window with a word in it must.

#include "first_paint.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    qint64 started = nowNs();
    bool text = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--started" && i + 1 < argc)
            started = QByteArray(argv[i + 1]).toLongLong();
        text = text || QByteArray(argv[i]) == "--text";
    }
    QApplication qtApp(argc, argv);
    FirstPaint watcher(started);
    qtApp.installEventFilter(&watcher);
    QWidget window;
    window.resize(320, 240);
    if (text)
        (new QLabel(QStringLiteral("Тест-Тавринг"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
