#include "config/desktop_platform.h"
#include "start/application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    // Windows are hidden, not closed, while another one works; only the exit buttons end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopPlatform platform;
    Application app(platform, QCoreApplication::applicationDirPath());
    app.start();
    return QApplication::exec();
}
