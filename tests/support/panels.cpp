#include "support/panels.h"

#include <QGroupBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

// The part of the widget its parents leave visible, in the window's coordinates.
QRect visiblePart(const QWidget *window, const QWidget *widget)
{
    QRect part(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget *parent = widget->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        part &= QRect(parent->mapTo(window, QPoint(0, 0)), parent->size());
    return part;
}

// Whether the widget is painted after the panel: its branch lies above the panel's branch
// under the parent they share.
bool paintedAbove(const QWidget *widget, const QWidget *panel)
{
    const QWidget *shared = panel->parentWidget();
    while (shared && !shared->isAncestorOf(widget))
        shared = shared->parentWidget();
    const auto branch = [shared](const QWidget *leaf) {
        const QWidget *child = leaf;
        while (child->parentWidget() != shared)
            child = child->parentWidget();
        return child;
    };
    const QObjectList &order = shared->children();
    return order.indexOf(branch(widget)) > order.indexOf(branch(panel));
}

// Whether the widget belongs to an opaque panel painted above the panel: an overlay of its own,
// which hides the panel rather than peeking out of it.
bool inPanelAbove(const QWidget *widget, const QWidget *panel)
{
    for (const QWidget *holder = widget; holder && !holder->isAncestorOf(panel); holder = holder->parentWidget()) {
        if (qobject_cast<const QGroupBox *>(holder) && holder->autoFillBackground() && paintedAbove(holder, panel))
            return true;
    }
    return false;
}

} // namespace

QStringList peekingControls(const QWidget *window)
{
    QStringList found;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (const QGroupBox *panel : window->findChildren<QGroupBox *>()) {
        if (!panel->isVisible())
            continue;
        const QRect area = visiblePart(window, panel);
        for (const QWidget *control : widgets) {
            // Unnamed widgets and those Qt names are the parts of a named control.
            const QString name = control->objectName();
            if (control == panel || name.isEmpty() || name.startsWith(u"qt_"_s) || !control->isVisible()
                || control->isWindow() || panel->isAncestorOf(control) || control->isAncestorOf(panel))
                continue;
            const QRect part = visiblePart(window, control);
            if (!part.intersects(area) || (part.contains(area) && !paintedAbove(control, panel))
                || inPanelAbove(control, panel))
                continue;
            const bool hidden = !paintedAbove(control, panel) && panel->autoFillBackground() && area.contains(part);
            const bool reached = control->isEnabled() && control->focusPolicy() != Qt::NoFocus;
            if (!hidden || reached)
                found << name + u" in "_s + panel->objectName();
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
