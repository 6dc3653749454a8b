#include "gui/common/window_ops.h"

#include "core/platform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QTimer>
#include <QVariant>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

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

// Turns Space on a view into the view's activation of its current item.
class SpaceActivates final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *view = qobject_cast<QAbstractItemView *>(watched);
        if (view && event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            if (view->currentIndex().isValid())
                emit view->activated(view->currentIndex());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The frame last seen around a framed window of the program.
QMargins &learnedFrame()
{
    static QMargins frame;
    return frame;
}

QMargins frameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

// The property that marks the scroll area put into a window whose designed size does not fit.
constexpr char ScrollAreaName[] = "screenFit";
// The property of a window kept right of a place on the screen (the ticket beside its picture):
// the left edge of its frame, in screen coordinates.
constexpr char KeptRightOf[] = "keptRightOf";
// The least width such a window keeps, whatever stands left of it.
constexpr int LeastWidthBeside = 240;

// Watches the windows of the program as they are shown, resized and hidden.
class ScreenKeeper final : public QObject
{
    Q_OBJECT

public:
    ScreenKeeper(Platform &platform, QObject *owner) : QObject(owner), m_platform(platform)
    {
        // A control that takes the focus in a window that scrolls is scrolled into view, however
        // it got the focus within the window (Tab, Enter on the step before, the program). The
        // focus a window gives back as it is shown or activated moves nothing: a window that
        // scrolls opens at its top left, where its title and first controls are.
        connect(qApp, &QApplication::focusChanged, this, [](QWidget *before, QWidget *now) {
            if (!now || now->isWindow() || !before || before->window() != now->window())
                return;
            if (QScrollArea *scroll = scrollAreaOf(now->window()); scroll && scroll->isAncestorOf(now))
                scroll->ensureWidgetVisible(now);
        });
    }

    Platform &platform() const { return m_platform; }

    // Fits the window again to its room and keeps it inside the area.
    void refit(QWidget *window)
    {
        fit(window);
        place(window, false);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !window->isWindow() || !isPlacedWindow(window))
            return QObject::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::Show:
            fit(window);
            place(window, true);
            if (QScrollArea *scroll = scrollAreaOf(window)) {
                scroll->horizontalScrollBar()->setValue(0);
                scroll->verticalScrollBar()->setValue(0);
            }
            // The window manager frames the window a moment later; then its real frame is known.
            for (int delay : {150, 600})
                QTimer::singleShot(delay, window, [this, window] { settle(window); });
            break;
        case QEvent::Hide:
            // The frame's place, from the inside's: a window hidden before the window
            // manager's frame reached the program has its inside where the frame will be.
            if (!window->objectName().isEmpty() && m_shown.contains(window)) {
                const QMargins frame = WindowFrame(window);
                m_positions.insert(window->objectName(),
                                   window->geometry().topLeft() - QPoint(frame.left(), frame.top()));
            }
            m_shown.remove(window);
            m_fitted.remove(window);
            break;
        case QEvent::Resize:
            designedSizeChanged(window);
            break;
        case QEvent::ChildAdded:
            adoptLateControl(window, static_cast<QChildEvent *>(event)->child());
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isPlacedWindow(const QWidget *window)
    {
        const Qt::WindowType type = window->windowType();
        return type == Qt::Window || type == Qt::Dialog;
    }

    static QScrollArea *scrollAreaOf(const QWidget *window)
    {
        return window->findChild<QScrollArea *>(QLatin1StringView(ScrollAreaName), Qt::FindDirectChildrenOnly);
    }

    // The largest size of the window's inside that the area holds with the frame.
    static QSize room(const QWidget *window)
    {
        const QMargins frame = WindowFrame(window);
        const QRect area = AvailableArea();
        QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
        if (const QVariant left = window->property(KeptRightOf); left.isValid())
            room.setWidth(std::min(room.width(), std::max(LeastWidthBeside, area.right() + 1 - left.toInt()
                                                                                   - frame.left() - frame.right())));
        return room;
    }

    // Limits the window to the room; a window with a designed size that does not fit gets
    // its controls into a scroll area.
    void fit(QWidget *window)
    {
        const QSize space = room(window);
        QScrollArea *scroll = scrollAreaOf(window);
        if (window->minimumSize() != window->maximumSize() || (scroll && scroll->widgetResizable())) {
            fitResizable(window, space);
            return;
        }
        const QSize designed = scroll ? scroll->widget()->size() : window->size();
        const bool fits = designed.width() <= space.width() && designed.height() <= space.height();
        if (fits && !scroll)
            return;
        if (!scroll)
            scroll = wrap(window);
        QSize size = designed;
        if (!fits) {
            // The scroll bar takes room across the other direction.
            const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            if (designed.height() > space.height())
                size.rwidth() += bar;
            if (designed.width() > space.width())
                size.rheight() += bar;
            size = size.boundedTo(space);
        }
        const bool keep = m_resizing;
        m_resizing = true;
        m_fitted.insert(window, size);
        window->setFixedSize(size);
        m_resizing = keep;
    }

    // A window that may be resized is made smaller; where its layout cannot be made that
    // small, its controls scroll.
    void fitResizable(QWidget *window, const QSize &space)
    {
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        if (!scrollAreaOf(window) && (least.width() > space.width() || least.height() > space.height())) {
            wrap(window);
            window->setMinimumSize(0, 0);
        }
        const QSize size = window->size();
        if (size.width() > space.width() || size.height() > space.height())
            window->resize(size.boundedTo(space));
    }

    // Moves the window's controls, and its layout where it has one, into a scroll area that
    // fills the window.
    QScrollArea *wrap(QWidget *window)
    {
        const QSize designed = window->size();
        auto *content = new QWidget;
        content->setObjectName(window->objectName() + u"Content"_s);
        QLayout *laidOut = window->layout();
        if (laidOut)
            content->setLayout(laidOut);    // QWidget::setLayout takes it from the window
        else
            content->setFixedSize(designed);
        // Moving a control to another parent takes the focus from it: the control that had it
        // gets it back.
        QWidget *focused = window->focusWidget();
        const QList<QWidget *> controls = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *control : controls) {
            if (control->isWindow())
                continue;
            const bool hidden = control->isHidden();
            control->setParent(content);
            control->setHidden(hidden);
        }
        auto *scroll = new QScrollArea;
        scroll->setObjectName(QLatin1StringView(ScrollAreaName));
        scroll->setFrameShape(QFrame::NoFrame);
        // The keys go to the controls; the scroll area follows the focus (ensureWidgetVisible).
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->setWidget(content);
        scroll->setWidgetResizable(laidOut != nullptr);
        auto *layout = new QVBoxLayout(window);
        layout->setObjectName(u"screenFitLayout"_s);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
        scroll->show();
        if (focused && focused != window)
            focused->setFocus();
        return scroll;
    }

    // A wrapped window that the program gives a new size (an editor that grows, a sheet that
    // widens) keeps that size as its designed size, and is fitted again.
    void designedSizeChanged(QWidget *window)
    {
        QScrollArea *scroll = scrollAreaOf(window);
        if (m_resizing || !scroll || scroll->widgetResizable())
            return;
        const QSize designed = window->size();
        // The size fitted here, which the window system may confirm only later.
        if (m_fitted.value(window) == designed)
            return;
        if (scroll->widget()->size() == designed || designed.isEmpty())
            return;
        scroll->widget()->setFixedSize(designed);
        QTimer::singleShot(0, window, [this, window] {
            fit(window);
            place(window, false);
        });
    }

    // A control made after the window was wrapped joins the others in the scroll area.
    void adoptLateControl(QWidget *window, QObject *child)
    {
        QScrollArea *scroll = scrollAreaOf(window);
        auto *control = qobject_cast<QWidget *>(child);
        if (!scroll || !control || control == scroll || control->isWindow())
            return;
        QTimer::singleShot(0, control, [control, scroll, window] {
            if (control->parentWidget() != window)
                return;
            const bool hidden = control->isHidden();
            control->setParent(scroll->widget());
            control->setHidden(hidden);
        });
    }

    // Moves the window where it belongs: on a new show where it was last time, then inside
    // the area with its frame.
    void place(QWidget *window, bool shown)
    {
        QPoint position = window->pos();
        if (shown) {
            m_shown.insert(window);
            const auto remembered = m_positions.constFind(window->objectName());
            if (remembered != m_positions.cend()) {
                // The frame's place when it was last seen. The window about to be mapped is
                // placed by its inside: its frame is not there yet, and a frame position given
                // now would put the inside where the frame was, the window manager's frame
                // going on top of it (each new show a title bar higher).
                const QMargins frame = WindowFrame(window);
                const QPoint inside = clamped(window, *remembered) + QPoint(frame.left(), frame.top());
                if (inside != window->geometry().topLeft())
                    window->setGeometry(QRect(inside, window->size()));
                return;
            }
            if (!window->testAttribute(Qt::WA_Moved))
                position = centred(window);
        }
        const QPoint inside = clamped(window, position);
        if (inside != window->pos())
            window->move(inside);
    }

    static QPoint centred(const QWidget *window)
    {
        const QRect area = AvailableArea();
        const QSize outer = window->size().grownBy(WindowFrame(window));
        return area.topLeft() + QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
    }

    // The frame position nearest to the given one at which the whole frame lies inside the area;
    // where the frame is larger than the area, its top left corner (with the title bar) is kept.
    static QPoint clamped(const QWidget *window, const QPoint &position)
    {
        const QRect area = AvailableArea();
        const QSize outer = window->size().grownBy(WindowFrame(window));
        const int x = std::max(area.left(), std::min(position.x(), area.right() + 1 - outer.width()));
        const int y = std::max(area.top(), std::min(position.y(), area.bottom() + 1 - outer.height()));
        return QPoint(x, y);
    }

    void settle(QWidget *window)
    {
        if (!window->isVisible())
            return;
        const QMargins frame = frameOf(window);
        if (!frame.isNull())
            learnedFrame() = frame;
        fit(window);
        place(window, false);
    }

    Platform &m_platform;
    QHash<QString, QPoint> m_positions;
    QSet<const QWidget *> m_shown;
    QHash<const QWidget *, QSize> m_fitted;
    bool m_resizing = false;
};

// The keeper of the running application; gone with it.
QPointer<ScreenKeeper> &currentKeeper()
{
    static QPointer<ScreenKeeper> keeper;
    return keeper;
}

} // namespace

void KeepWindowsOnScreen(Platform &platform, QObject *owner)
{
    if (!qApp)
        return;
    delete currentKeeper();
    currentKeeper() = new ScreenKeeper(platform, owner);
    qApp->installEventFilter(currentKeeper());
}

void KeepRightOf(QWidget *window, int left)
{
    window->setProperty(KeptRightOf, left);
    if (ScreenKeeper *keeper = currentKeeper(); keeper && window->isVisible())
        keeper->refit(window);
}

QRect AvailableArea()
{
    if (ScreenKeeper *keeper = currentKeeper())
        return keeper->platform().screenArea();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QMargins WindowFrame(const QWidget *window)
{
    const QMargins own = window ? frameOf(window) : QMargins();
    return own.isNull() ? learnedFrame() : own;
}

void PressOnEnter(QLineEdit *field, QAbstractButton *button)
{
    QObject::connect(field, &QLineEdit::returnPressed, button, [button] {
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
}

void ActivateOnSpace(QAbstractItemView *view)
{
    view->installEventFilter(new SpaceActivates(view));
}

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
