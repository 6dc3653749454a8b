#pragma once

#include "gui/common/active_label.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Finds a control of a window by its name; the test fails when it is missing.
template <class Control = QWidget>
Control *control(const QWidget *window, const char *name)
{
    Control *found = window ? window->findChild<Control *>(QLatin1StringView(name)) : nullptr;
    if (!found)
        QTest::qFail(qPrintable(QLatin1StringView("control %1 not found").arg(QLatin1StringView(name))),
                     __FILE__, __LINE__);
    return found;
}

// The control of a family (txt1, txt2 ...) at a position counted from 0, as windows hold
// their families: position 0 is txt1.
template <class Control = QWidget>
Control *control(const QWidget *window, const char *family, qsizetype position)
{
    const QByteArray name = QByteArray(family) + QByteArray::number(position + 1);
    return control<Control>(window, name.constData());
}

// Every control of a family, from its first member on.
template <class Control = QWidget>
QList<Control *> family(const QWidget *window, const char *name)
{
    QList<Control *> members;
    while (window) {
        const QString member = QLatin1StringView(name) + QString::number(members.size() + 1);
        auto *found = window->findChild<Control *>(member);
        if (!found)
            break;
        members << found;
    }
    return members;
}

// The caption of a control whatever its kind: a label's or button's text, a frame's title,
// a text box's text, a window's title.
inline QString captionOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    return control ? control->windowTitle() : QString();
}

// The colours a control is painted with: its background and its text.
inline QColor background(const QWidget *control)
{
    return control->palette().color(QPalette::Window);
}

inline QColor textColour(const QWidget *control)
{
    return control->palette().color(QPalette::WindowText);
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

// A list control's rows, whatever model it shows: the index of a row, how many rows there are,
// their texts, a row's size.
inline QModelIndex rowIndex(const QAbstractItemView *list, int row)
{
    return list && list->model() ? list->model()->index(row, 0) : QModelIndex();
}

inline int rowCount(const QAbstractItemView *list)
{
    return list && list->model() ? list->model()->rowCount() : 0;
}

inline QStringList rowTexts(const QAbstractItemView *list)
{
    QStringList texts;
    for (int row = 0; row < rowCount(list); ++row)
        texts << rowIndex(list, row).data().toString();
    return texts;
}

inline QSize rowSize(const QAbstractItemView *list, int row)
{
    return rowIndex(list, row).data(Qt::SizeHintRole).toSize();
}

// Highlights the row and clicks it, as the user would.
inline void clickRow(QAbstractItemView *list, int row)
{
    const QModelIndex index = rowIndex(list, row);
    list->setCurrentIndex(index);
    emit list->clicked(index);
}

// Clicks the first row of that text; false when there is none.
inline bool clickRow(QAbstractItemView *list, const QString &text)
{
    const int row = int(rowTexts(list).indexOf(text));
    if (row < 0)
        return false;
    clickRow(list, row);
    return true;
}
