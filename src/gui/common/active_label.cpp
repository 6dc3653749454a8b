#include "gui/common/active_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

ActiveLabel::ActiveLabel(QWidget *parent) : QLabel(parent) {}

ActiveLabel::ActiveLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {}

void ActiveLabel::setText(const QString &caption)
{
    if (caption == text())
        return;
    QLabel::setText(caption);
    emit captionChanged(caption);
}

void ActiveLabel::setClickable(bool clickable)
{
    m_clickable = clickable;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QFont underlined = font();
    underlined.setUnderline(clickable);
    setFont(underlined);
    // Tab reaches a link; a click on it acts without taking the focus from where the user types.
    setFocusPolicy(clickable ? Qt::TabFocus : Qt::NoFocus);
}

void ActiveLabel::press()
{
    if (m_clickable && isEnabled())
        emit clicked();
}

void ActiveLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        press();
}

void ActiveLabel::keyPressEvent(QKeyEvent *event)
{
    const bool pressKey = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
                          || event->key() == Qt::Key_Enter;
    if (m_clickable && pressKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ActiveLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The link keeps its look; the focus shows as the style's focus rectangle around it.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
