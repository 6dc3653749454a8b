#include "core/program/command_line.h"
#include "gui/common/desktop_platform.h"
#include "gui/common/focus_frame_style.h"
#include "ventaro/registration_window.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    if (const auto exitCode = answerCommandLine(argc, argv, u"ventaro"_s,
            u"Registers or unregisters the library scrrun.dll of the program folder (the folder of\n"
            "this executable) and records it in test.ini there."_s))
        return *exitCode;
    QApplication qtApp(argc, argv);
    ShowFocusClearly();
    DesktopPlatform platform;
    // Closing the one window ends the program.
    RegistrationWindow window(platform, QCoreApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
