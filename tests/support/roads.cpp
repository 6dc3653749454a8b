#include "support/roads.h"

#include "gui/exam/ticket_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

bool enterStudent(StartWindow *start, const QString &name)
{
    if (!start)
        return false;
    control<QRadioButton>(start, "Option1")->setChecked(true);
    control<QLineEdit>(start, "Text9")->setText(name);
    click(start, "Command14");
    return shown(start, "Frame1");
}

bool drawTicket(ProgramFolder &folder, double random)
{
    StartWindow *start = folder.app().startWindow();
    if (!start)
        return false;
    folder.platform.randoms.enqueue(random);
    click(start, "Command1");
    start->onTimer1();
    return control<QPushButton>(start, "Command3")->isEnabled();
}

TicketWindow *openTicketByDraw(ProgramFolder &folder, const QString &name, double random)
{
    StartWindow *start = folder.app().startWindow();
    if (!enterStudent(start, name) || !drawTicket(folder, random))
        return nullptr;
    click(start, "Command3");
    return folder.app().ticketWindow();
}
