#include "gui/common/active_label.h"
#include "gui/exam/ticket_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What an assistive tool reads of one element of a window.
struct Element
{
    QAccessibleInterface *element;
    QAccessibleInterface *parent;
};

// Every element of the tree under the window, as a tool walks it child by child.
QList<Element> walk(QAccessibleInterface *root)
{
    QList<Element> elements;
    QList<Element> pending{{root, nullptr}};
    while (!pending.isEmpty()) {
        const Element next = pending.takeFirst();
        elements << next;
        for (int i = 0; i < next.element->childCount(); ++i) {
            if (QAccessibleInterface *child = next.element->child(i))
                pending << Element{child, next.element};
        }
        if (elements.size() > 20000)
            break;
    }
    return elements;
}

// The trees of every window on screen.
QList<Element> everyShownElement()
{
    QList<Element> elements;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            elements << walk(QAccessible::queryAccessibleInterface(window));
    }
    return elements;
}

// The control an element stands for, named for a failure's message.
QString nameOf(QAccessibleInterface *element)
{
    for (QAccessibleInterface *up = element; up; up = up->parent()) {
        if (up->object())
            return up->object()->objectName() + (up == element ? QString() : u" (a part)"_s);
    }
    return u"?"_s;
}

QString textsOf(QAccessibleInterface *element)
{
    QStringList texts;
    for (QAccessible::Text text : {QAccessible::Name, QAccessible::Value, QAccessible::Description, QAccessible::Help})
        texts << element->text(text);
    if (QAccessibleTextInterface *box = element->textInterface())
        texts << box->text(0, box->characterCount());
    return texts.join(u'\n');
}

// A program folder whose exam has one ticket of five questions; the right answer of
// question n is "Балтийское n", a text found nowhere else in the ticket.
struct SeaExam
{
    ProgramFolder folder;

    explicit SeaExam(const QString &language = u"rus"_s)
    {
        makeExam(folder, u"Моря"_s, 1, 5);
        for (int n = 1; n <= 5; ++n) {
            const QString base = u"b/exam/b1/"_s;
            folder.writeText(base + u"v%1.txt"_s.arg(n), u"Чёрное\r\nБалтийское %1\r\nБелое\r\n"_s.arg(n));
            folder.writeText(base + u"o%1.txt"_s.arg(n), u"Балтийское %1\r\n"_s.arg(n));
        }
        folder.writeSettings({u"bilet=1"_s, u"vopros=5"_s, u"ball=4"_s, u"z="_s + folder.path(u"b/exam"_s),
                              u"re="_s + language});
        folder.start();
    }
};

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void ticketOffersNoRightAnswer();
    void holdersRaiseNoEvent();
    void treeOffersOnlyShownControls();
    void linksArePressedByKeyboard_data();
    void linksArePressedByKeyboard();
};

void AccessibilityTest::ticketOffersNoRightAnswer()
{
    SeaExam exam;
    TicketWindow *ticket = openTicketByNumber(exam.folder.app());
    QVERIFY(ticket);
    auto *answers = control<QListView>(ticket, "List1");
    // Question 1 open, then question 2 after a wrong answer: at each step only the offered
    // answers of the open question carry a right answer's text, as rows of the answers list.
    for (int step = 1; step <= 2; ++step) {
        for (const Element &element : everyShownElement()) {
            const QString texts = textsOf(element.element);
            for (int n = 1; n <= 5; ++n) {
                if (!texts.contains(u"Балтийское %1"_s.arg(n)))
                    continue;
                const bool offeredRow = n == ticket->currentQuestion() && element.parent && element.parent->object() == answers;
                QVERIFY2(offeredRow, qPrintable(u"right answer %1 in %2 \"%3\""_s.arg(n).arg(nameOf(element.element), texts)));
            }
        }
        QVERIFY(answer(ticket, u"Чёрное"_s));
        if (step == 1)
            control<QRadioButton>(ticket, "Option2")->click();
    }
    QCOMPARE(ticket->currentQuestion(), 2);
}

void AccessibilityTest::holdersRaiseNoEvent()
{
    SeaExam exam;
    TicketWindow *ticket = openTicketByNumber(exam.folder.app());
    QVERIFY(ticket);
    // The list the correct answers used to be copied to holds none.
    QCOMPARE(control<QListWidget>(ticket, "List2")->count(), 0);
    // Every event of a holder, a focus moved to its first row included, is dropped by Qt
    // before it reaches a tool: the holder has no valid interface.
    for (const char *holder : {"List2", "Text1", "Text4", "Image1", "Label15", "o1", "v1", "q1", "txt1",
                               "txtV", "Text5", "txtZ", "Frame1", "Command3"}) {
        QAccessibleEvent focus(control(ticket, holder), QAccessible::Focus);
        focus.setChild(0);
        QVERIFY2(!focus.accessibleInterface(), holder);
        QAccessibleEvent name(control(ticket, holder), QAccessible::NameChanged);
        QVERIFY2(!name.accessibleInterface(), holder);
    }
    // Shown controls keep theirs.
    QAccessibleEvent focus(control(ticket, "List1"), QAccessible::Focus);
    QVERIFY(focus.accessibleInterface());
}

void AccessibilityTest::treeOffersOnlyShownControls()
{
    SeaExam exam;
    QVERIFY(openTicketByNumber(exam.folder.app()));
    const QList<Element> elements = everyShownElement();
    QVERIFY(elements.size() > 20);
    for (const Element &element : elements) {
        QVERIFY(element.element->isValid());
        auto *widget = qobject_cast<QWidget *>(element.element->object());
        QVERIFY2(!widget || widget->isVisible(), qPrintable(nameOf(element.element)));
        QVERIFY2(!widget || !element.element->state().invisible, qPrintable(nameOf(element.element)));
        // A tool walks up as it walks down.
        if (element.parent && widget && element.parent->object() != widget) {
            QCOMPARE(element.element->parent()->object(), element.parent->object());
            QVERIFY(element.parent->indexOfChild(element.element) >= 0);
        }
    }
}

void AccessibilityTest::linksArePressedByKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("enter") << int(Qt::Key_Return);
}

void AccessibilityTest::linksArePressedByKeyboard()
{
    QFETCH(int, key);
    SeaExam exam;
    StartWindow *start = exam.folder.app().startWindow();
    start->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(start));
    auto *english = control<ActiveLabel>(start, "Label7");
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(english);
    QCOMPARE(link->role(), QAccessible::Link);
    QVERIFY(link->state().focusable);
    QCOMPARE(link->text(QAccessible::Name), u"eng"_s);
    QVERIFY(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    english->setFocus();
    QVERIFY(english->hasFocus());
    QTest::keyClick(english, Qt::Key(key));
    QCOMPARE(exam.folder.app().settings().language(), u"eng"_s);
    // The press of a tool acts as the key does.
    link = QAccessible::queryAccessibleInterface(control(start, "Label13"));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(exam.folder.app().settings().language(), u"rus"_s);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
