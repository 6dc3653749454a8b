#pragma once

#include "config/active_label.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

// Finds a control of a window by its name; the test fails when it is missing.
template <class Control = QWidget>
Control *control(QWidget *window, const char *name)
{
    Control *found = window ? window->findChild<Control *>(QLatin1StringView(name)) : nullptr;
    if (!found)
        QTest::qFail(qPrintable(QLatin1StringView("control %1 not found").arg(QLatin1StringView(name))),
                     __FILE__, __LINE__);
    return found;
}

// Clicks a button or a clickable label by its name, as the user would.
inline void click(QWidget *window, const char *name)
{
    QWidget *target = control(window, name);
    if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->click();
    else if (auto *label = qobject_cast<ActiveLabel *>(target))
        QTest::mouseClick(label, Qt::LeftButton);
}

// Whether a control would be visible when its window is shown.
inline bool shown(QWidget *window, const char *name)
{
    QWidget *target = control(window, name);
    return target && target->isVisibleTo(window);
}
