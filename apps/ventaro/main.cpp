#include "config/desktop_platform.h"
#include "regutil/registration_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    DesktopPlatform platform;
    // Closing the one window ends the program.
    RegistrationWindow window(platform, QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
