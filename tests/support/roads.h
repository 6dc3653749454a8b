#pragma once

#include <QString>

class ProgramFolder;
class StartWindow;
class TicketWindow;

// The student's road in the start window, step by step as a student takes it, clicking the
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
