#pragma once

#include "gui/common/active_label.h"
#include "gui/common/screen_reader.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <type_traits>
#include <utility>

// Creates a control of a window with its name as objectName, so that tests and the
// window's own code find it by its control name (Text6, Command3, txt7).
template <class Control, class... Args>
Control *namedControl(QWidget *parent, const QString &name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(name);
    // Enter presses the button that has the focus, as in a dialog.
    if constexpr (std::is_base_of_v<QPushButton, Control>)
        control->setAutoDefault(true);
    // Tab and Shift+Tab leave every table and text box, so that the keyboard never stays
    // caught in one: the arrow keys move within a table, and a tab is no character of a text.
    if constexpr (std::is_base_of_v<QAbstractItemView, Control>)
        control->setTabKeyNavigation(false);
    if constexpr (std::is_base_of_v<QPlainTextEdit, Control>)
        control->setTabChangesFocus(true);
    return control;
}

// The same, placed at a fixed position in its parent.
template <class Control, class... Args>
Control *makeControl(QWidget *parent, const QString &name, const QRect &geometry, Args &&...args)
{
    auto *control = namedControl<Control>(parent, name, std::forward<Args>(args)...);
    control->setGeometry(geometry);
    return control;
}

// A hidden holder: a control that only mirrors a model, never shown and never offered to
// assistive tools. It is made without a parent and concealed before it joins its window, as a
// tool watching the window may look at it from its first change on.
template <class Control>
Control *makeHolder(QWidget *parent, const QString &name)
{
    auto *control = new Control();
    concealFromScreenReaders(control);
    control->setParent(parent);
    control->setObjectName(name);
    control->hide();
    return control;
}

// A label that acts like a link: clickable, with a pointing hand.
inline ActiveLabel *makeLink(QWidget *parent, const QString &name, const QString &caption,
                             const QRect &geometry)
{
    auto *label = makeControl<ActiveLabel>(parent, name, geometry, caption);
    label->setClickable(true);
    return label;
}
