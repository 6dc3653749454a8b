#include "support/roads.h"

#include "app/application.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
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

TicketWindow *openTicketByNumber(Application &app, const QString &number)
{
    StartWindow *start = app.startWindow();
    if (!start)
        return nullptr;
    control<QLineEdit>(start, "Text1")->setText(number);
    click(start, "Command3");
    return app.ticketWindow();
}

SettingsWindow *openSettingsByPassword(Application &app, const QString &password)
{
    StartWindow *start = app.startWindow();
    if (!start)
        return nullptr;
    control<QLineEdit>(start, "Text2")->setText(password);
    click(start, "Command15");
    SettingsWindow *settings = app.settingsWindow();
    return settings && settings->isVisible() ? settings : nullptr;
}

bool answer(TicketWindow *ticket, const QString &text)
{
    return ticket && clickRow(control<QListView>(ticket, "List1"), text);
}

void answerRows(TicketWindow *ticket, const QList<int> &rows)
{
    for (int n = 1; n <= rows.size(); ++n) {
        if (n > 1)
            click(ticket, qPrintable(QStringLiteral("Option%1").arg(n)));
        clickRow(control<QListView>(ticket, "List1"), rows[n - 1]);
    }
}

EvaluationWindow *closeTicket(Application &app, TicketWindow *ticket)
{
    click(ticket, "Command2");
    // The ticket window is discarded later; its evaluation window is already there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return app.evaluationWindow();
}
