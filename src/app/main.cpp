#include "app/application.h"
#include "core/program/command_line.h"
#include "gui/common/desktop_platform.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    if (const auto exitCode = answerCommandLine(argc, argv, u"tavring"_s,
            u"Тест-Тавринг: exams in tickets and scored tests, in Russian and English.\n"
            "The program folder is the folder of this executable; test.ini there holds the settings."_s))
        return *exitCode;
    QApplication qtApp(argc, argv);
    // Windows are hidden, not closed, while another one works; only the exit buttons end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopPlatform platform;
    Application app(platform, QCoreApplication::applicationDirPath());
    app.start();
    return QApplication::exec();
}
