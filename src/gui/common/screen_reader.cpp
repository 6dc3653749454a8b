#include "gui/common/screen_reader.h"

#include "gui/common/active_label.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QFocusFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>
#include <QTextEdit>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *ConcealedProperty = "tavringConcealed";

// A hidden holder: no name, no children, no parent, and no valid interface, so that Qt drops
// every event the control raises before it leaves the program.
class ConcealedControl final : public QAccessibleObject
{
public:
    explicit ConcealedControl(QObject *holder) : QAccessibleObject(holder) {}

    bool isValid() const override { return false; }
    QAccessibleInterface *parent() const override { return nullptr; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text) const override { return QString(); }
    QAccessible::Role role() const override { return QAccessible::NoRole; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = true;
        return state;
    }
};

// Whether a panel lies wholly under a later one that paints its background: frames that
// stand one above the other show only the top one.
bool isCovered(const QWidget *child, const QWidgetList &siblings, qsizetype position)
{
    for (qsizetype above = position + 1; above < siblings.size(); ++above) {
        const QWidget *cover = siblings.at(above);
        if (cover->autoFillBackground() && cover->isVisibleTo(cover->parentWidget())
            && cover->geometry().contains(child->geometry()))
            return true;
    }
    return false;
}

// The controls of a container that are offered: those shown with it and not covered, as Qt
// offers them (windows of their own and focus frames are no children).
QList<QWidget *> shownChildren(const QWidget *container)
{
    QWidgetList children;
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || qobject_cast<QFocusFrame *>(child) || qobject_cast<QMenu *>(child)
            || child->objectName() == "qt_rubberband"_L1)
            continue;
        if (child->isVisibleTo(const_cast<QWidget *>(container)) && !isConcealedFromScreenReaders(child))
            children << child;
    }
    QList<QWidget *> shown;
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (!isCovered(children.at(i), children, i))
            shown << children.at(i);
    }
    return shown;
}

// Keeps the covered panel's controls out of the Tab order while its cover is shown.
class CoverWatch final : public QObject
{
public:
    CoverWatch(QWidget *cover, QWidget *covered) : QObject(cover), m_covered(covered)
    {
        cover->installEventFilter(this);
        follow(cover);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            follow(static_cast<QWidget *>(watched));
        return false;
    }

private:
    void follow(QWidget *cover)
    {
        if (m_covered)
            m_covered->setEnabled(!cover->isVisibleTo(cover->parentWidget()));
    }

    QPointer<QWidget> m_covered;
};

// What a screen reader says as the focus comes to a control, where Qt's own order of reports
// makes it say too little. Both follow-ups wait until Qt has done with the focus, and run
// only while a screen reader listens.
// Tab into a text box: Qt reports the box's caret and selection as the box takes the focus, and
// the focus itself only after them; a screen reader then takes the box for focused already and
// says nothing of it. The box takes in its focus again once the focus has been reported, so that
// its caret and selection follow.
// A list or a table that takes the focus (a window that opens or comes back, Tab, a click):
// Qt reports its current item before the view itself, or not at all, and a screen reader says
// the view and never the item the arrow keys start from. The current item is reported once
// the view's own focus has been.
class FocusFollowUp final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FocusIn || m_delivering || !QAccessible::isActive())
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (isListOrTable(watched)) {
            auto *view = static_cast<QAbstractItemView *>(watched);
            QMetaObject::invokeMethod(
                this, [view = QPointer<QAbstractItemView>(view)] { reportCurrentItem(view); }, Qt::QueuedConnection);
            return false;
        }
        if (!isTextBox(watched) || (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason))
            return false;
        QMetaObject::invokeMethod(
            this,
            [this, box = QPointer<QWidget>(static_cast<QWidget *>(watched)), reason] {
                // A box the focus has already left takes nothing in.
                if (!box || !box->hasFocus())
                    return;
                m_delivering = true;
                QFocusEvent focusIn(QEvent::FocusIn, reason);
                QCoreApplication::sendEvent(box, &focusIn);
                m_delivering = false;
            },
            Qt::QueuedConnection);
        return true;
    }

private:
    static bool isTextBox(const QObject *object)
    {
        return qobject_cast<const QLineEdit *>(object) || qobject_cast<const QPlainTextEdit *>(object)
               || qobject_cast<const QTextEdit *>(object);
    }

    // A tree is left out: the items it offers are counted down its open branches, not by the
    // rows of a model.
    static bool isListOrTable(const QObject *object)
    {
        return qobject_cast<const QListView *>(object) || qobject_cast<const QTableView *>(object);
    }

    // A view the focus has already left, or without a current item, reports nothing.
    static void reportCurrentItem(QAbstractItemView *view)
    {
        if (!view || !view->hasFocus() || !view->currentIndex().isValid())
            return;
        QAccessibleInterface *viewInterface = QAccessible::queryAccessibleInterface(view);
        QAccessibleTableInterface *table = viewInterface ? viewInterface->tableInterface() : nullptr;
        if (!table)
            return;
        const QModelIndex current = view->currentIndex();
        const int item = viewInterface->indexOfChild(table->cellAt(current.row(), current.column()));
        if (item < 0)
            return;
        QAccessibleEvent focus(view, QAccessible::Focus);
        focus.setChild(item);
        QAccessible::updateAccessibility(&focus);
    }

    bool m_delivering = false;
};

// A window, a panel or a plain frame that offers only its shown controls.
class ShownContainer : public QAccessibleWidget
{
public:
    ShownContainer(QWidget *container, QAccessible::Role role) : QAccessibleWidget(container, role) {}

    int childCount() const override { return int(shownChildren(widget()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> shown = shownChildren(widget());
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index)) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(shownChildren(widget()).indexOf(qobject_cast<QWidget *>(child->object())));
    }
};

// A titled frame: named by its title unless it was given a name.
class ShownFrame final : public ShownContainer
{
public:
    explicit ShownFrame(QGroupBox *frame) : ShownContainer(frame, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *frame = static_cast<const QGroupBox *>(widget());
        if (t == QAccessible::Name && frame->accessibleName().isEmpty())
            return frame->title().remove(u'&');
        return ShownContainer::text(t);
    }

    QAccessible::Role role() const override
    {
        return static_cast<const QGroupBox *>(widget())->isCheckable() ? QAccessible::CheckBox : QAccessible::Grouping;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = ShownContainer::state();
        const auto *frame = static_cast<const QGroupBox *>(widget());
        if (frame->isCheckable()) {
            state.checkable = true;
            state.checked = frame->isChecked();
        }
        return state;
    }
};

// A caption that acts as a link is offered as one, with the press that clicks it; any other
// caption is static text, named by what it shows.
class CaptionLabel final : public QAccessibleWidget
{
public:
    explicit CaptionLabel(ActiveLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    ActiveLabel *label() const { return static_cast<ActiveLabel *>(widget()); }

    QAccessible::Role role() const override
    {
        return label()->isClickable() ? QAccessible::Link : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text().remove(u'&');
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (label()->isClickable())
            state.linked = true;
        return state;
    }

    // A caption that labels a box says so, as Qt's own labels do.
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) && label()->buddy()) {
            if (QAccessibleInterface *labelled = QAccessible::queryAccessibleInterface(label()->buddy()))
                found.append({labelled, QAccessible::Labelled});
        }
        return found;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->isClickable())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            label()->press();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *screenReaderInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (isConcealedFromScreenReaders(widget))
        return new ConcealedControl(widget);
    // Qt's own interfaces answer for its controls; the program answers for its captions and
    // for the plain containers, which Qt would offer with their hidden controls.
    if (className == "ActiveLabel"_L1)
        return new CaptionLabel(static_cast<ActiveLabel *>(widget));
    if (className == "QGroupBox"_L1)
        return new ShownFrame(static_cast<QGroupBox *>(widget));
    if (className == "QWidget"_L1 || className == "QFrame"_L1)
        return new ShownContainer(widget, widget->isWindow() ? QAccessible::Window : QAccessible::Client);
    if (className == "QDialog"_L1)
        return new ShownContainer(widget, QAccessible::Dialog);
    return nullptr;
}

} // namespace

void installScreenReaderRules()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(screenReaderInterface);
    qApp->installEventFilter(new FocusFollowUp(qApp));
}

void concealFromScreenReaders(QWidget *holder)
{
    holder->setProperty(ConcealedProperty, true);
    holder->setFocusPolicy(Qt::NoFocus);
}

bool isConcealedFromScreenReaders(const QWidget *control)
{
    return control->property(ConcealedProperty).toBool();
}

void keepCoveredOutOfReach(QWidget *cover, QWidget *covered)
{
    new CoverWatch(cover, covered);
}
