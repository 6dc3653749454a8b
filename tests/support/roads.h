#pragma once

#include <QList>
#include <QString>

class Application;
class EvaluationWindow;
class ProgramFolder;
class SettingsWindow;
class StartWindow;
class TicketWindow;

// The student's road through the windows, step by step as a student takes it, clicking the
// controls by their names. Each step says whether it led on to the next.

// Exam mode, the name typed, "OK": true when the ticket choice is shown.
bool enterStudent(StartWindow *start, const QString &name = QStringLiteral("Иванов И.И."));
// "Выбрать билет" with the uniform number given to the platform, then the draw's delay: true
// when the drawn ticket can be opened.
bool drawTicket(ProgramFolder &folder, double random = 0.0);
// The whole road of a started program: the student entered, a ticket drawn with that number
// and "Открыть билет" pressed. The ticket window, or null when it did not open.
TicketWindow *openTicketByDraw(ProgramFolder &folder, const QString &name = QStringLiteral("Иванов И.И."),
                               double random = 0.0);
// The ticket number typed into the start window's number box and "Открыть билет" pressed. The
// ticket window, or null when it did not open.
TicketWindow *openTicketByNumber(Application &app, const QString &number = QStringLiteral("1"));
// The password typed and "Настройка" pressed in the start window: the settings window when it
// is shown, null when the password was refused.
SettingsWindow *openSettingsByPassword(Application &app, const QString &password);

// Clicks the answer of that text in the open question's list: false when there is none.
bool answer(TicketWindow *ticket, const QString &text);
// Answers the open ticket's questions in turn, each with the answer at that row of the list,
// opening the next question after each.
void answerRows(TicketWindow *ticket, const QList<int> &rows);
// "Закрыть" in the ticket window: the evaluation window it gives way to, or null.
EvaluationWindow *closeTicket(Application &app, TicketWindow *ticket);
