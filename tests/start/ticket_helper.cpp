// Runs the examination program on a program folder with the test platform and takes the
// student's steps from its standard input, one per line, so that a test can kill it in the
// middle of a ticket and start it again:
//   ticket_helper <program folder>
// Steps: "ticket-timer" (switches the ticket timer on), "student <name>", "open <ticket number>", "question <N>" (clicks its button),
// "answer <text>", "evaluate", "close" (the ticket), "save" (closes the evaluation with
// "Сохранить в отчет" ticked), "continue" (the unfinished ticket), "quit".
// Each step is answered by a line "ok" once it is done, or "failed <reason>".
#include "app/application.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/start/start_window.h"
#include "support/roads.h"
#include "support/test_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>

#include <iostream>
#include <string>

using namespace Qt::StringLiterals;

namespace {

template <class Control>
Control *find(QWidget *window, const QString &name)
{
    return window ? window->findChild<Control *>(name) : nullptr;
}

bool press(QWidget *window, const QString &name)
{
    auto *button = find<QAbstractButton>(window, name);
    if (!button)
        return false;
    button->click();
    return true;
}

// One step; the empty text when it was done.
QString step(Application &app, const QString &command, const QString &argument)
{
    StartWindow *start = app.startWindow();
    TicketWindow *ticket = app.ticketWindow();
    if (command == u"student"_s) {
        if (!start)
            return u"no start window"_s;
        find<QLineEdit>(start, u"Text10"_s)->setText(u"группа 7"_s);
        return enterStudent(start, argument) ? QString() : u"no ticket choice"_s;
    }
    if (command == u"open"_s)
        return openTicketByNumber(app, argument) ? QString() : u"no ticket"_s;
    if (command == u"question"_s) {
        auto *button = find<QRadioButton>(ticket, u"Option"_s + argument);
        if (!button || !button->isEnabled())
            return u"question not enabled"_s;
        button->setChecked(true);
        return QString();
    }
    if (command == u"answer"_s) {
        auto *list = find<QListView>(ticket, u"List1"_s);
        return list && list->isEnabled() && answer(ticket, argument) ? QString() : u"no such answer"_s;
    }
    if (command == u"evaluate"_s)
        return press(ticket, u"Command1"_s) ? QString() : u"no ticket"_s;
    if (command == u"close"_s)
        return ticket && closeTicket(app, ticket) ? QString() : u"no evaluation"_s;
    if (command == u"save"_s) {
        EvaluationWindow *evaluation = app.evaluationWindow();
        auto *save = find<QCheckBox>(evaluation, u"Check1"_s);
        if (!save)
            return u"no evaluation"_s;
        save->setChecked(true);
        return press(evaluation, u"Command2"_s) ? QString() : u"no evaluation"_s;
    }
    if (command == u"ticket-timer"_s) {
        app.settings().setTicketTimer(true);
        return QString();
    }
    if (command == u"continue"_s)
        return press(start, u"ContinueTicket"_s) && app.ticketWindow() ? QString() : u"no unfinished ticket"_s;
    return u"unknown step"_s;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication qt(argc, argv);
    if (qt.arguments().size() < 2)
        return 2;
    TestPlatform platform;
    Application app(platform, qt.arguments().at(1));
    app.start();

    std::string line;
    while (std::getline(std::cin, line)) {
        const QString text = QString::fromStdString(line).trimmed();
        const QString command = text.section(u' ', 0, 0);
        if (command == u"quit"_s)
            break;
        const QString failure = step(app, command, text.section(u' ', 1));
        // Windows left behind are deleted before the next step, as the event loop would.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        std::cout << (failure.isEmpty() ? std::string("ok") : "failed " + failure.toStdString()) << std::endl;
    }
    return 0;
}
