#include "core/files/ansi_text.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/common/captions.h"
#include "gui/common/focus_frame_style.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/answers_review_window.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/questionnaire/questionnaire_window.h"
#include "gui/results/results_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/about_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"
#include "support/windows.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The controls of a window that have no name; the parts Qt builds inside its own composite
// widgets (combo boxes, scroll areas, spin boxes) are not controls of the window.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        bool inner = false;
        for (QWidget *up = child->parentWidget(); up && up != window; up = up->parentWidget())
            inner = inner || qobject_cast<QComboBox *>(up) || qobject_cast<QAbstractScrollArea *>(up)
                    || qobject_cast<QAbstractSpinBox *>(up);
        if (!inner && child->objectName().isEmpty())
            unnamed << QString::fromLatin1(child->metaObject()->className());
    }
    return unnamed;
}

// A folder with an exam of one ticket of three questions, started.
struct Desk
{
    explicit Desk(const QStringList &extra = {})
    {
        exam = makeExam(folder, u"Экзамен"_s, 1, 3);
        folder.writeSettings(QStringList{u"bilet=1"_s, u"vopros=3"_s, u"ball=3"_s, u"re=rus"_s, u"z="_s + exam}
                             + extra);
    }

    ProgramFolder folder;
    QString exam;
};

} // namespace

// Every window of a run carries its form name, and every control its own name, so that the
// program's code and its tests find them the same way.
class WindowNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowAndControlIsNamed();
    void closeRequestsLeaveGuardedWindows_data();
    void closeRequestsLeaveGuardedWindows();
    void everyControlHasAnAccessibleName();
    void textReadsOnItsBackground_data();
    void textReadsOnItsBackground();
    void ticketColoursRead();
    void enterPressesTheStepsButton();
    void focusWhereTheNextInputGoes();
    void answersByKeyboardAsByClick_data();
    void answersByKeyboardAsByClick();
    void tabFollowsTheReadingOrder_data();
    void tabFollowsTheReadingOrder();
    void windowsTooLargeScroll();
    void windowsComeBackWhereTheyWere();
    void qtTextsFollowTheLanguage();
    void focusIsFramed();
};

void WindowNamesTest::everyWindowAndControlIsNamed()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 3);
    folder.writeSettings({u"bilet=1"_s, u"vopros=3"_s, u"ball=4"_s, u"re=rus"_s, u"z="_s + exam});
    Application &app = folder.start();
    app.openExamChooser(exam);
    app.openExamEditor();
    app.openTestWindow();

    StartWindow *start = app.startWindow();
    QVERIFY(openTicketByNumber(app));
    // Last: the ticket, the chooser and the editor each close the about window.
    app.showAbout();

    const QList<std::pair<QWidget *, QString>> windows{
        {start, u"Form1"_s},
        {app.ticketWindow(), u"Form2"_s},
        {app.pictureSizeWindow(), u"Form3"_s},
        {app.settingsWindow(), u"Form4"_s},
        {app.testWindow(), u"Form6"_s},
        {app.examEditor(), u"Form7"_s},
        {app.examChooser(), u"Form9"_s},
        {app.aboutWindow(), u"Form10"_s},
    };
    for (const auto &[window, form] : windows) {
        QVERIFY2(window, qPrintable(form));
        QCOMPARE(window->objectName(), form);
        QCOMPARE(unnamedControls(window), QStringList());
    }

    app.closeTicket();
    QVERIFY(app.evaluationWindow());
    QCOMPARE(app.evaluationWindow()->objectName(), u"Form5"_s);
    QCOMPARE(unnamedControls(app.evaluationWindow()), QStringList());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::closeRequestsLeaveGuardedWindows_data()
{
    QTest::addColumn<QString>("form");
    for (const QString &form : GuardedForms)
        QTest::newRow(qPrintable(form)) << form;
}

// A close request of the window system (the close box, Alt+F4) reaches the window as a
// spontaneous close; the window stays, with no close box offered.
void WindowNamesTest::closeRequestsLeaveGuardedWindows()
{
    QFETCH(QString, form);
    Desk desk;
    Application &app = desk.folder.start();
    QWidget *window = openWindow(app, form);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    // What the window system's close request does: a close event to the native window, which
    // passes it on to the widget as a spontaneous close.
    QCloseEvent request;
    QCoreApplication::sendEvent(window->windowHandle(), &request);
    QVERIFY(!request.isAccepted());
    QVERIFY(window->isVisible());
    // The program's own close still works.
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What a screen reader says for a control: its accessible name, else its caption.
static QString spokenName(const QWidget *control)
{
    return control->accessibleName().isEmpty() ? captionOf(control).trimmed() : control->accessibleName();
}

// Every control that takes the focus is announced: by its caption, or by its tooltip.
void WindowNamesTest::everyControlHasAnAccessibleName()
{
    Desk desk;
    Application &app = desk.folder.start();
    QStringList silent;
    for (const QString &form : GuardedForms) {
        QWidget *window = openWindow(app, form);
        for (QWidget *child : window->findChildren<QWidget *>()) {
            const bool inner = qobject_cast<QAbstractScrollArea *>(child->parentWidget())
                               || qobject_cast<QComboBox *>(child->parentWidget())
                               || child->objectName().isEmpty() || child->objectName().startsWith(u"qt_"_s);
            if (inner || !child->isVisibleTo(window) || child->focusPolicy() == Qt::NoFocus)
                continue;
            if (!child->toolTip().isEmpty() || qobject_cast<QAbstractButton *>(child))
                QVERIFY2(!spokenName(child).isEmpty() || child->toolTip().isEmpty(),
                         qPrintable(form + u' ' + child->objectName()));
            if (captionOf(child).trimmed().isEmpty() && !child->toolTip().isEmpty())
                QCOMPARE(child->accessibleName(), child->toolTip());
        }
    }
    QCOMPARE(control(app.startWindow(), "Text9")->accessibleName(), u"Введите Ф.И.О"_s);
    // A caption changed by a language switch is what is said.
    app.switchLanguage(u"eng"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(spokenName(control(app.startWindow(), "Command10")), u"Help"_s);
    // The two exits are told apart by names of their own, in the language too.
    QCOMPARE(spokenName(control(app.startWindow(), "Command2")), u"Exit the program"_s);
}

void WindowNamesTest::textReadsOnItsBackground_data()
{
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("red") << QColor(255, 0, 0) << QColor(Qt::white);
    QTest::newRow("dark green") << QColor(0, 128, 0) << QColor(Qt::white);
    QTest::newRow("black") << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("blue") << QColor(0, 0, 255) << QColor(Qt::white);
    QTest::newRow("white") << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("light grey") << QColor(0xef, 0xef, 0xef) << QColor(Qt::black);
    QTest::newRow("yellow") << QColor(255, 255, 0) << QColor(Qt::black);
    QTest::newRow("light green") << QColor(144, 238, 144) << QColor(Qt::black);
}

void WindowNamesTest::textReadsOnItsBackground()
{
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QCOMPARE(readableTextOn(background), text);
    QLineEdit box;
    setBackground(&box, background);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        QCOMPARE(box.palette().color(role), background);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        QCOMPARE(box.palette().color(role), text);
}

// The numbers of the questions read on their rectangles, the missing ones included; the pass
// score boxes beyond the question count show their marks.
void WindowNamesTest::ticketColoursRead()
{
    Desk desk;
    Application &app = desk.folder.start();
    auto *ticket = qobject_cast<TicketWindow *>(openWindow(app, u"Form2"_s));
    QVERIFY(ticket);
    // Question 4 is missing: black rectangle, white number.
    QCOMPARE(background(control(ticket, "Shape4")), QColor(Qt::black));
    QCOMPARE(textColour(control(ticket, "Label4")), QColor(Qt::white));
    auto *answers = control<QListView>(ticket, "List1");
    QTest::mouseClick(answers->viewport(), Qt::LeftButton, {}, answers->visualRect(rowIndex(answers, 0)).center());
    QCOMPARE(background(control(ticket, "Shape1")), QColor(0, 128, 0));
    QCOMPARE(textColour(control(ticket, "Label1")), QColor(Qt::white));

    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    click(settings, "Command5");
    auto *beyond = control<QLineEdit>(settings, "txt20");
    if (beyond->palette().color(QPalette::Base) == QColor(Qt::black))
        QCOMPARE(beyond->palette().color(QPalette::Text), QColor(Qt::white));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Enter in the name, the password and the typed ticket number presses the button of the step.
void WindowNamesTest::enterPressesTheStepsButton()
{
    Desk desk;
    Application &app = desk.folder.start();
    StartWindow *start = app.startWindow();
    control<QRadioButton>(start, "Option1")->setChecked(true);
    QTest::keyClicks(control(start, "Text9"), u"Ivanov"_s);
    QTest::keyClick(control(start, "Text9"), Qt::Key_Return);
    QVERIFY(shown(start, "Frame1"));

    QTest::keyClick(control(start, "Text2"), Qt::Key_Return);   // the empty password is right
    QVERIFY(app.settingsWindow()->isVisible());
    click(app.settingsWindow(), "Command1");                   // back to the start window
    app.showStartWindow();

    desk.folder.platform.clear();
    control<QCheckBox>(start, "Check1")->setChecked(true);
    QVERIFY(shown(start, "Text1"));
    QTest::keyClicks(control(start, "Text1"), u"1"_s);
    QTest::keyClick(control(start, "Text1"), Qt::Key_Enter);
    QVERIFY(app.ticketWindow());

    // "Сохранить в отчет" has the focus while it is not ticked; Tab leads on to "Закрыть",
    // and Enter presses it.
    app.closeTicket();
    EvaluationWindow *sheet = app.evaluationWindow();
    QCOMPARE(sheet->focusWidget(), control(sheet, "Check1"));
    QTest::keyClick(control(sheet, "Check1"), Qt::Key_Tab);
    QCOMPARE(sheet->focusWidget(), control(sheet, "Command2"));
    desk.folder.platform.questionAnswers.enqueue(true);
    QTest::keyClick(control(sheet, "Command2"), Qt::Key_Return);
    QVERIFY(!app.evaluationWindow());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::focusWhereTheNextInputGoes()
{
    Desk desk;
    Application &app = desk.folder.start();
    StartWindow *start = app.startWindow();
    QCOMPARE(start->focusWidget(), control(start, "Option1"));
    control<QRadioButton>(start, "Option1")->setChecked(true);
    QCOMPARE(start->focusWidget(), control(start, "Text9"));
    click(start, "Text10");
    control(start, "Text10")->setFocus();
    click(start, "Command14");                                 // no name yet
    QCOMPARE(desk.folder.platform.messages.size(), 1);
    QCOMPARE(start->focusWidget(), control(start, "Text9"));
    control<QLineEdit>(start, "Text9")->setText(u"Иванов"_s);
    click(start, "Command14");
    QCOMPARE(start->focusWidget(), control(start, "Command1"));
    click(start, "Command1");
    start->onTimer1();
    QCOMPARE(start->focusWidget(), control(start, "Command3"));
    click(start, "Command3");
    QVERIFY(app.ticketWindow());
    QCOMPARE(app.ticketWindow()->focusWidget(), control(app.ticketWindow(), "List1"));
    app.closeTicket();
    desk.folder.platform.questionAnswers.enqueue(true);
    click(app.evaluationWindow(), "Command2");
    QCOMPARE(start->focusWidget(), control(start, "Text9"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::answersByKeyboardAsByClick_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("mark");
    QTest::newRow("Enter on the first") << QList<int>{Qt::Key_Return} << u"5"_s;
    QTest::newRow("Space on the first") << QList<int>{Qt::Key_Space} << u"5"_s;
    QTest::newRow("down, Enter") << QList<int>{Qt::Key_Down, Qt::Key_Enter} << u"2"_s;
    QTest::newRow("down, down, Space") << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Space} << u"2"_s;
    QTest::newRow("down, up, Space") << QList<int>{Qt::Key_Down, Qt::Key_Up, Qt::Key_Space} << u"5"_s;
    QTest::newRow("arrows alone choose nothing") << QList<int>{Qt::Key_Down, Qt::Key_Down} << u"0"_s;
}

void WindowNamesTest::answersByKeyboardAsByClick()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, mark);
    Desk desk;
    Application &app = desk.folder.start();
    auto *ticket = qobject_cast<TicketWindow *>(openWindow(app, u"Form2"_s));
    auto *list = control<QListView>(ticket, "List1");
    for (int key : keys)
        QTest::keyClick(list, Qt::Key(key));
    QCOMPARE(control<QLineEdit>(ticket, "txt1")->text(), mark);
    if (mark != "0"_L1) {
        // As after a click: the next question's button has the focus, and keys on the old
        // answers change nothing.
        QCOMPARE(ticket->focusWidget(), control(ticket, "Option2"));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(control<QLineEdit>(ticket, "txt1")->text(), mark);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::tabFollowsTheReadingOrder_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("student data") << u"Form1"_s
                                  << QStringList{u"Text9"_s, u"Text10"_s, u"Text11"_s, u"Text13"_s,
                                                 u"Command14"_s, u"Label6"_s, u"Command10"_s, u"Command2"_s};
    QStringList boxes;
    for (int n = 1; n <= 20; ++n)
        boxes << u"txt"_s + QString::number(n);
    QTest::newRow("pass score boxes") << u"Form4"_s << boxes + QStringList{u"txtV"_s};
    QTest::newRow("evaluation") << u"Form5"_s << QStringList{u"Check2"_s, u"Check1"_s, u"Command2"_s};
}

// Tab goes through the controls in the order they are read, top to bottom, left to right.
void WindowNamesTest::tabFollowsTheReadingOrder()
{
    QFETCH(QString, form);
    QFETCH(QStringList, order);
    Desk desk;
    Application &app = desk.folder.start();
    QWidget *window = openWindow(app, form);
    if (form == "Form1"_L1)
        control<QRadioButton>(window, "Option1")->setChecked(true);
    if (form == "Form4"_L1)
        click(window, "Command5");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    control(window, qPrintable(order.first()))->setFocus();
    QStringList walked{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, order);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// On a screen smaller than a window, the window fits the screen with its frame and its
// controls scroll; every button can still be reached.
void WindowNamesTest::windowsTooLargeScroll()
{
    Desk desk;
    desk.folder.platform.screen = QSize(600, 360);
    Application &app = desk.folder.start();
    for (const QString &form : GuardedForms) {
        QWidget *window = openWindow(app, form);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY2(QRect(0, 0, 600, 360).contains(window->frameGeometry()), qPrintable(form));
        auto *scroll = window->findChild<QScrollArea *>(u"screenFit"_s);
        if (window->height() == 480 || form == "Form2"_L1) {
            QVERIFY2(scroll, qPrintable(form));
        }
        if (scroll) {
            for (QPushButton *button : window->findChildren<QPushButton *>())
                QVERIFY2(scroll->widget()->isAncestorOf(button), qPrintable(button->objectName()));
        }
    }
    // The ticket's "Закрыть" is reached by scrolling, and still closes the ticket.
    app.openTestWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::windowsComeBackWhereTheyWere()
{
    Desk desk;
    Application &app = desk.folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    QVERIFY(QTest::qWaitForWindowExposed(settings));
    settings->move(200, 150);
    for (int time = 0; time < 10; ++time) {
        settings->hide();
        settings->show();
        QCOMPARE(settings->pos(), QPoint(200, 150));
    }
    // Discarded and made again: the about window comes back where it was too, every time.
    app.showAbout();
    app.aboutWindow()->move(30, 40);
    for (int time = 0; time < 10; ++time) {
        app.discardAbout();
        app.showAbout();
        QCOMPARE(app.aboutWindow()->pos(), QPoint(30, 40));
    }
    // A place outside the screen is brought inside it, frame included.
    app.aboutWindow()->move(5000, 5000);
    app.discardAbout();
    app.showAbout();
    QVERIFY(QRect(QPoint(0, 0), desk.folder.platform.screen).contains(app.aboutWindow()->frameGeometry()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowNamesTest::qtTextsFollowTheLanguage()
{
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_ru.qm"_s))
        QSKIP("Qt's Russian translations are not installed (qt6-translations-l10n)");
    Desk desk;
    Application &app = desk.folder.start();
    QVERIFY(app.usesQtRussianTexts());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Отмена"_s);
    app.switchLanguage(u"eng"_s);
    QVERIFY(!app.usesQtRussianTexts());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_s);
    app.switchLanguage(u"rus"_s);
    QVERIFY(app.usesQtRussianTexts());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The control with the keyboard focus wears a two-tone frame a student sees at a glance, on the
// question buttons in their colours as on plain buttons; the others wear none.
void WindowNamesTest::focusIsFramed()
{
    Desk desk;
    Application &app = desk.folder.start();
    auto *ticket = qobject_cast<TicketWindow *>(openWindow(app, u"Form2"_s));
    QVERIFY(ticket);
    ticket->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ticket));
    auto *answers = control<QListView>(ticket, "List1");
    QTest::mouseClick(answers->viewport(), Qt::LeftButton, {}, answers->visualRect(rowIndex(answers, 0)).center());
    const auto framed = [](QWidget *control) {
        const QImage image = control->grab().toImage();
        const int middle = image.height() / 2;
        return image.pixelColor(0, middle) == FocusFrameStyle::outerColour()
               && image.pixelColor(FocusFrameStyle::LineWidth, middle) == FocusFrameStyle::innerColour();
    };
    // The next question's button, plain and in a question's colour, and a plain button.
    QWidget *next = control(ticket, "Option2");
    for (const QColor &colour : {QColor(), QColor(Qt::red), QColor(0, 128, 0), QColor(Qt::black)}) {
        if (colour.isValid())
            setBackground(next, colour);
        next->setFocus();
        QVERIFY(next->hasFocus());
        QVERIFY2(framed(next), qPrintable(colour.name()));
        QVERIFY(!framed(control(ticket, "Command1")));
    }
    control(ticket, "Command1")->setFocus();
    QVERIFY(framed(control(ticket, "Command1")));
    QVERIFY(!framed(next));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(WindowNamesTest)
#include "tst_windows.moc"
