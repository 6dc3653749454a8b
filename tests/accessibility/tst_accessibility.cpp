#include "gui/bank/bank_window.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/help/document_windows.h"
#include "gui/help/help_window.h"
#include "gui/help/text_viewer_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"
#include "support/windows.h"
#include "ventaro/registration_window.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QRadioButton>
#include <QSet>
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

// A program folder in English whose user data (the exam's title, questions and answers) is
// Latin too, so that any Cyrillic a tool reads is the program's own text.
struct LatinExam
{
    ProgramFolder folder;

    LatinExam()
    {
        folder.writeText(u"b/exam/lzm.lzm"_s, u"Seas\r\n"_s);
        for (int n = 1; n <= 5; ++n) {
            const QString base = u"b/exam/b1/"_s;
            folder.writeText(base + u"q%1.txt"_s.arg(n), u"Which sea %1\r\n"_s.arg(n));
            folder.writeText(base + u"v%1.txt"_s.arg(n), u"Black\r\nBaltic\r\nWhite\r\n"_s);
            folder.writeText(base + u"o%1.txt"_s.arg(n), u"Baltic\r\n"_s);
        }
        folder.writeSettings({u"bilet=1"_s, u"vopros=5"_s, u"ball=4"_s, u"z="_s + folder.path(u"b/exam"_s),
                              u"re=eng"_s});
        folder.start();
    }
};

// Cyrillic in a text, the program's name aside: it is a name and stays in both languages.
bool hasCyrillic(QString text)
{
    text.remove(u"Тест-Тавринг"_s).remove(u"Тест - Тавринг"_s);
    for (QChar c : std::as_const(text)) {
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    }
    return false;
}

// The names, descriptions and tooltips under the window that are still Russian.
QStringList russianTexts(QWidget *window)
{
    QStringList found;
    for (const Element &element : walk(QAccessible::queryAccessibleInterface(window))) {
        QStringList texts;
        for (QAccessible::Text text : {QAccessible::Name, QAccessible::Description, QAccessible::Help})
            texts << element.element->text(text);
        if (auto *control = qobject_cast<QWidget *>(element.element->object()))
            texts << control->toolTip() << control->accessibleDescription();
        for (const QString &text : std::as_const(texts)) {
            if (hasCyrillic(text))
                found << nameOf(element.element) + u": \""_s + text + u'"';
        }
    }
    found.removeDuplicates();
    return found;
}

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
    void ticketSpeaks_data();
    void ticketSpeaks();
    void sheetStartsOnItsReportBox();
    void pictureIsDescribedByItsQuestion();
    void tabLeavesTablesAndTextBoxes();
    void tabSkipsTheCoveredNameBoxes();
    void everyControlHasItsOwnName_data();
    void everyControlHasItsOwnName();
    void englishWindowsSayNothingInRussian_data();
    void englishWindowsSayNothingInRussian();
    void registrationSaysNothingInRussian();
    void passScoreBoxesHaveTheirOwnNames_data();
    void passScoreBoxesHaveTheirOwnNames();
    void drawnTicketIsSaid_data();
    void drawnTicketIsSaid();
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

void AccessibilityTest::ticketSpeaks_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("spoken");
    QTest::newRow("rus") << u"rus"_s << u"Билет"_s
                         << QStringList{u"Вопрос 1 из 5"_s, u"Вопрос 1, не отвечен"_s, u"Вопрос 1, отвечен неверно"_s,
                                        u"Вопрос 2 из 5"_s, u"Вопрос 2, отвечен верно"_s, u"Не зачет"_s};
    QTest::newRow("eng") << u"eng"_s << u"Ticket"_s
                         << QStringList{u"Question 1 of 5"_s, u"Question 1, not answered"_s,
                                        u"Question 1, answered wrong"_s, u"Question 2 of 5"_s,
                                        u"Question 2, answered right"_s, u"Not deliver"_s};
}

void AccessibilityTest::ticketSpeaks()
{
    QFETCH(QString, language);
    QFETCH(QString, window);
    QFETCH(QStringList, spoken);
    SeaExam exam(language);
    TicketWindow *ticket = openTicketByNumber(exam.folder.app());
    QVERIFY(ticket);
    const auto name = [ticket](const char *control) {
        return QAccessible::queryAccessibleInterface(::control(ticket, control))->text(QAccessible::Name);
    };
    QCOMPARE(QAccessible::queryAccessibleInterface(ticket)->text(QAccessible::Name), window);
    // The question box says where the student is, the answers list adds the question.
    QCOMPARE(name("Text3"), spoken[0]);
    QCOMPARE(name("List1"), spoken[0] + u". Вопрос 1 билета 1"_s);
    QCOMPARE(name("Option1"), spoken[1]);
    // The question box is labelled by its caption.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(control(ticket, "Text3"));
    const auto labels = box->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), control(ticket, "Label12"));
    const auto labelled = QAccessible::queryAccessibleInterface(control(ticket, "Label12"))->relations(QAccessible::Labelled);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.first().first->object(), control(ticket, "Text3"));

    QVERIFY(answer(ticket, u"Чёрное"_s));
    QCOMPARE(name("Option1"), spoken[2]);
    control<QRadioButton>(ticket, "Option2")->click();
    QCOMPARE(name("Text3"), spoken[3]);
    QVERIFY(answer(ticket, u"Балтийское 2"_s));
    QCOMPARE(name("Option2"), spoken[4]);

    // The verdict takes the focus, so that it is said.
    ticket->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ticket));
    click(ticket, "Command1");
    QCOMPARE(QApplication::focusWidget(), control(ticket, "Label5"));
    QCOMPARE(name("Label5"), spoken[5]);
    // From the verdict Tab goes on to "Закрыть".
    QTest::keyClick(control(ticket, "Label5"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control(ticket, "Command2"));
}

void AccessibilityTest::sheetStartsOnItsReportBox()
{
    SeaExam exam;
    TicketWindow *ticket = openTicketByNumber(exam.folder.app());
    QVERIFY(ticket);
    EvaluationWindow *sheet = closeTicket(exam.folder.app(), ticket);
    QVERIFY(sheet);
    QCOMPARE(sheet->focusWidget(), control(sheet, "Check1"));
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(sheet);
    QVERIFY(window->text(QAccessible::Name).startsWith(u"Результат"_s));
    QVERIFY(window->text(QAccessible::Description).contains(u"Билет № b1"_s));
}

void AccessibilityTest::pictureIsDescribedByItsQuestion()
{
    SeaExam exam;
    QImage picture(QSize(60, 40), QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QVERIFY(picture.save(exam.folder.path(u"b/exam/b1/k1.bmp"_s), "BMP"));
    QVERIFY(openTicketByNumber(exam.folder.app()));
    QWidget *shown = control(exam.folder.app().pictureSizeWindow(), "Image1");
    QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name), u"Вопрос 1 билета 1"_s);
}

void AccessibilityTest::tabLeavesTablesAndTextBoxes()
{
    // Every table and text box of the program is made by the control factory.
    QWidget window;
    auto *table = namedControl<QTableView>(&window, u"table"_s);
    auto *text = namedControl<QPlainTextEdit>(&window, u"text"_s);
    auto *after = namedControl<QPushButton>(&window, u"after"_s);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), text);
    QTest::keyClick(text, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QVERIFY(text->toPlainText().isEmpty());
    QTest::keyClick(after, Qt::Key_Backtab);
    QTest::keyClick(text, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), table);
}

void AccessibilityTest::tabSkipsTheCoveredNameBoxes()
{
    SeaExam exam;
    StartWindow *start = exam.folder.app().startWindow();
    start->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(start));
    QWidget *data = control(start, "Frame9");
    for (int step = 0; step < 12; ++step) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QVERIFY2(!data->isAncestorOf(focus), qPrintable(focus->objectName()));
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // Nor does a screen reader find them under the mode choice.
    for (const Element &element : walk(QAccessible::queryAccessibleInterface(start)))
        QVERIFY(element.element->object() != data);
    // Once the mode is chosen they are reached.
    control<QRadioButton>(start, "Option1")->setChecked(true);
    QCOMPARE(QApplication::focusWidget(), control(start, "Text9"));
}

void AccessibilityTest::everyControlHasItsOwnName_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("form");
    for (const QString &language : {u"rus"_s, u"eng"_s}) {
        for (const QString &form : GuardedForms)
            QTest::newRow(qPrintable(language + u' ' + form)) << language << form;
    }
}

// In every window each control the user can reach has a name of its own, and the window's
// name says which window it is.
void AccessibilityTest::everyControlHasItsOwnName()
{
    QFETCH(QString, language);
    QFETCH(QString, form);
    SeaExam exam(language);
    QWidget *window = openWindow(exam.folder.app(), form);
    QVERIFY(window);
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
    const QString windowName = root->text(QAccessible::Name);
    QStringList faults;
    if (windowName.isEmpty() || windowName.startsWith(u"Тест-Тавринг"_s) || windowName.startsWith(u"Тест-тавринг"_s))
        faults << u"the window is named \""_s + windowName + u'"';
    QMap<QString, QString> named;
    for (const Element &element : walk(root)) {
        auto *control = qobject_cast<QWidget *>(element.element->object());
        const bool frame = element.element->role() == QAccessible::Grouping;
        if (!control || control == window || !(element.element->state().focusable || frame))
            continue;
        const QString name = element.element->text(QAccessible::Name).trimmed();
        // A frame without a title only groups, and a control may bear its frame's title.
        if (name.isEmpty() && frame)
            continue;
        // The parts of a combo box (its list, its text box) are offered under the box's name.
        bool comboPart = false;
        for (QWidget *up = control->parentWidget(); up; up = up->parentWidget())
            comboPart = comboPart || qobject_cast<QComboBox *>(up);
        if (comboPart)
            continue;
        if (name.isEmpty())
            faults << control->objectName() + u" ("_s + QLatin1StringView(control->metaObject()->className()) + u" in "_s
                          + control->parentWidget()->objectName() + u"): no name"_s;
        else if (named.contains(name) && !control->findChild<QWidget *>(named.value(name))
                 && !window->findChild<QWidget *>(named.value(name))->isAncestorOf(control))
            faults << control->objectName() + u" and "_s + named.value(name) + u": both \""_s + name + u'"';
        else
            named.insert(name, control->objectName());
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
}

void AccessibilityTest::englishWindowsSayNothingInRussian_data()
{
    QTest::addColumn<QString>("form");
    for (const QString &form : GuardedForms)
        QTest::newRow(qPrintable(form)) << form;
    for (const char *form : {"pass score", "questionnaire editor", "bank", "picture", "help", "text"})
        QTest::newRow(form) << QString::fromLatin1(form);
}

// After the switch to English a tool reads no Russian in any window: names, descriptions and
// tooltips follow the language.
void AccessibilityTest::englishWindowsSayNothingInRussian()
{
    QFETCH(QString, form);
    LatinExam exam;
    Application &app = exam.folder.app();
    QWidget *window = nullptr;
    if (form == "pass score"_L1) {
        window = openWindow(app, u"Form4"_s);
        click(window, "Command5");
        QVERIFY(control(window, "Frame4")->isVisible());
    } else if (form == "questionnaire editor"_L1) {
        window = openWindow(app, u"Form6"_s);
        click(window, "Command6");
    } else if (form == "bank"_L1) {
        app.openBankWindow(exam.folder.path(u"b/exam"_s));
        window = app.bankWindow();
    } else if (form == "picture"_L1) {
        QImage picture(QSize(60, 40), QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(exam.folder.path(u"b/exam/b1/k1.bmp"_s), "BMP"));
        QVERIFY(openTicketByNumber(app));
        window = app.pictureSizeWindow();
    } else if (form == "help"_L1) {
        app.documents().showGuide(exam.folder.path(u"help/guide-en/index.html"_s), u"eng"_s);
        window = app.documents().helpWindow();
    } else if (form == "text"_L1) {
        exam.folder.writeText(u"notes.txt"_s, u"Notes\r\n"_s);
        QVERIFY(app.documents().showText(exam.folder.path(u"notes.txt"_s), u"eng"_s).isEmpty());
        window = app.documents().textViewer();
    } else {
        window = openWindow(app, form);
    }
    QVERIFY(window);
    QVERIFY(window->isVisible());
    const QStringList russian = russianTexts(window);
    QVERIFY2(russian.isEmpty(), qPrintable(russian.join(u"; "_s)));
}

void AccessibilityTest::registrationSaysNothingInRussian()
{
    ProgramFolder folder;
    RegistrationWindow window(folder.platform, folder.path());
    window.show();
    click(&window, "Label4");
    QCOMPARE(window.language(), u"eng"_s);
    const QStringList russian = russianTexts(&window);
    QVERIFY2(russian.isEmpty(), qPrintable(russian.join(u"; "_s)));
}

void AccessibilityTest::passScoreBoxesHaveTheirOwnNames_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<QString>("questions");
    QTest::addColumn<QString>("score");
    QTest::newRow("rus") << u"rus"_s << u"Оценка вопроса %1"_s << u"Количество вопросов"_s
                         << u"Выбранный проходной балл"_s;
    QTest::newRow("eng") << u"eng"_s << u"Mark of question %1"_s << u"Number of questions"_s << u"Chosen pass score"_s;
}

// The twenty mark boxes of the pass score panel, the number of questions and the result are
// each told apart by name, in the window's language.
void AccessibilityTest::passScoreBoxesHaveTheirOwnNames()
{
    QFETCH(QString, language);
    QFETCH(QString, mark);
    QFETCH(QString, questions);
    QFETCH(QString, score);
    SeaExam exam(language);
    QWidget *settings = openWindow(exam.folder.app(), u"Form4"_s);
    click(settings, "Command5");
    QWidget *panel = control(settings, "Frame4");
    QVERIFY(panel->isVisible());
    QStringList expected;
    QList<QWidget *> boxes;
    for (int n = 1; n <= 20; ++n) {
        boxes << control(panel, qPrintable(u"txt%1"_s.arg(n)));
        expected << mark.arg(n);
    }
    boxes << control(panel, "txtV") << control(panel, "txtZ");
    expected << questions << score;
    QSet<QString> names;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(boxes.at(i));
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(box->text(QAccessible::Name), expected.at(i));
        names << expected.at(i);
    }
    QCOMPARE(names.size(), 22);
    // The two boxes with a caption beside them are labelled by it (and by the panel's title).
    for (const auto &[box, caption] : {std::pair{"txtV", "Label3"}, std::pair{"txtZ", "Label5"}}) {
        QList<QObject *> labels;
        for (const auto &label : QAccessible::queryAccessibleInterface(control(panel, box))->relations(QAccessible::Label))
            labels << label.first->object();
        QVERIFY2(labels.contains(control(panel, caption)), box);
    }
    // The button's caption is the same in both languages; its name is not Cyrillic in English.
    QCOMPARE(QAccessible::queryAccessibleInterface(control(panel, "Command1"))->text(QAccessible::Name),
             language == "eng"_L1 ? u"OK"_s : u"ОК"_s);
}

void AccessibilityTest::drawnTicketIsSaid_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("tip");
    QTest::newRow("rus") << u"rus"_s << u"Билет № b1"_s << u"Открыть выбранный билет"_s;
    QTest::newRow("eng") << u"eng"_s << u"Ticket № b1"_s << u"Open the chosen ticket"_s;
}

// The drawn ticket is named, and "Открыть билет", which takes the focus after the draw, is
// described by it.
void AccessibilityTest::drawnTicketIsSaid()
{
    QFETCH(QString, language);
    QFETCH(QString, spoken);
    QFETCH(QString, tip);
    SeaExam exam(language);
    StartWindow *start = exam.folder.app().startWindow();
    QVERIFY(enterStudent(start));
    QAccessibleInterface *open = QAccessible::queryAccessibleInterface(control(start, "Command3"));
    QCOMPARE(open->text(QAccessible::Description), tip);
    QVERIFY(drawTicket(exam.folder));
    QCOMPARE(start->focusWidget(), control(start, "Command3"));
    QCOMPARE(QAccessible::queryAccessibleInterface(control(start, "Label1"))->text(QAccessible::Name), spoken);
    QCOMPARE(open->text(QAccessible::Description), spoken);
    // "Сброс" takes the ticket away: the button is described by its tooltip again.
    click(start, "Label2");
    QVERIFY(control<ActiveLabel>(start, "Label1")->text().isEmpty());
    QCOMPARE(open->text(QAccessible::Description), tip);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
