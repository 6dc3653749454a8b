#pragma once

#include "app/application.h"

#include <QString>
#include <QStringList>

class QWidget;

// The windows that refuse every close the program did not start itself, by form name.
extern const QStringList GuardedForms;

// Opens the window of the form name through the application, as the user's road reaches it
// (the ticket, its answers review and its evaluation from the ticket of number 1), and
// returns it.
QWidget *openWindow(Application &app, const QString &form);
