#include "support/panels.h"

#include <QGroupBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

QRect placeIn(const QWidget *window, const QWidget *widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

} // namespace

QStringList peekingControls(const QWidget *window)
{
    QStringList found;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (const QGroupBox *panel : window->findChildren<QGroupBox *>()) {
        if (!panel->isVisible())
            continue;
        const QRect area = placeIn(window, panel);
        for (const QWidget *control : widgets) {
            // Unnamed widgets are the parts of a named control (a scroll bar, a viewport).
            if (control == panel || control->objectName().isEmpty() || !control->isVisible() || control->isWindow()
                || panel->isAncestorOf(control) || control->isAncestorOf(panel))
                continue;
            if (placeIn(window, control).intersects(area))
                found << control->objectName() + u" in "_s + panel->objectName();
        }
    }
    return found;
}

int shownCaptionsWith(const QWidget *window, const QString &text)
{
    int count = 0;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->isVisible() && label->text().contains(text))
            ++count;
    }
    return count;
}
