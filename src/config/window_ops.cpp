#include "config/window_ops.h"

#include <QCloseEvent>
#include <QObject>
#include <QWidget>

namespace {

// Swallows the closes that the window system sends (the close box, Alt+F4, a window
// manager's close request); close() called by the program is not spontaneous and passes.
// It has its own meta-object so that looking for it among a window's children finds it and
// not the window's first timer or layout.
class CloseGuard final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void changeFlags(QWidget *window, Qt::WindowFlags flags)
{
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    if (visible)
        window->show();
}

} // namespace

void DisableXbutton(QWidget *window)
{
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags() | Qt::Window | Qt::CustomizeWindowHint
                            | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint;
    flags &= ~Qt::WindowCloseButtonHint;
    changeFlags(window, flags);
    if (!window->findChild<CloseGuard *>(QString(), Qt::FindDirectChildrenOnly)) {
        auto *guard = new CloseGuard(window);
        window->installEventFilter(guard);
    }
}

void SetTopmost(QWidget *window, bool on)
{
    if (!window)
        return;
    window->setAttribute(Qt::WA_ShowWithoutActivating, on);
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    changeFlags(window, flags);
}

#include "window_ops.moc"
