#include "gui/common/active_label.h"

#include <QMouseEvent>

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
}

void ActiveLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (m_clickable && isEnabled() && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint()))
        emit clicked();
}
