// The program's windows on a real X server with a window manager: close requests sent by the
// window manager, frames inside the screen, a student's road by the keyboard alone, and a lab
// of three workstations followed by the lab window.
// run_desktop.sh starts the server and the window manager and runs this once per screen.

#include "core/files/ansi_text.h"
#include "core/lab/lab_table_model.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/common/captions.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/answers_review_window.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/help/help_window.h"
#include "gui/lab/lab_window.h"
#include "gui/questionnaire/questionnaire_window.h"
#include "gui/results/results_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/about_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/windows.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Runs an X tool and returns what it printed; the test fails when the tool fails.
QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        QTest::qFail(qPrintable(u"%1 %2 failed: %3"_s.arg(program, arguments.join(u' '),
                                                          QString::fromLocal8Bit(tool.readAllStandardError()))),
                     __FILE__, __LINE__);
        return QString();
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QString windowId(const QWidget *window)
{
    return u"0x"_s + QString::number(window->winId(), 16);
}

// What the X server says of the window: whether it is mapped and viewable, and its frame
// (the window manager's decoration included) in device pixels.
struct XWindow
{
    bool viewable = false;
    QRect frame;
};

XWindow xWindow(const QWidget *window)
{
    const QString info = runTool(u"xwininfo"_s, {u"-frame"_s, u"-id"_s, windowId(window)});
    const auto number = [&info](const QString &label) {
        const QRegularExpression pattern(QRegularExpression::escape(label) + u":\\s*(-?\\d+)"_s);
        return pattern.match(info).captured(1).toInt();
    };
    XWindow x;
    x.viewable = info.contains(u"IsViewable"_s);
    x.frame = QRect(number(u"Absolute upper-left X"_s), number(u"Absolute upper-left Y"_s), number(u"Width"_s),
                    number(u"Height"_s));
    return x;
}

// The screen in device pixels, as the X server counts them.
QRect deviceScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    const QRect logical = screen->geometry();
    return QRect(QPoint(0, 0), (QSizeF(logical.size()) * ratio).toSize());
}

// Waits until the window is shown, framed by the window manager and settled where it goes.
bool settled(QWidget *window)
{
    if (!window || !QTest::qWaitForWindowExposed(window, 5000))
        return false;
    QTest::qWait(900);
    return true;
}

QString shotFolder()
{
    const QString folder = qEnvironmentVariable("TAVRING_DESKTOP_SHOTS", QDir::currentPath());
    QDir().mkpath(folder);
    return folder;
}

// A picture of the whole screen, the window manager's frames included.
void screenshot(const QString &name)
{
    const QString config = qEnvironmentVariable("TAVRING_DESKTOP_CONFIG", u"screen"_s);
    QGuiApplication::primaryScreen()->grabWindow(0).save(shotFolder() + u'/' + config + u'-' + name + u".png"_s);
}

// Presses keys in the window that has the X focus, as a person at the keyboard would.
void keys(const QStringList &sequence)
{
    for (const QString &key : sequence) {
        runTool(u"xdotool"_s, {u"key"_s, u"--clearmodifiers"_s, key});
        QTest::qWait(250);
    }
}

void type(const QString &text)
{
    runTool(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"40"_s, text});
    QTest::qWait(250);
}

void activate(QWidget *window)
{
    runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, windowId(window)});
    QTest::qWait(300);
}

// Copies a folder with everything under it; false when a file cannot be copied.
bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (!(entry.isDir() ? copyFolder(entry.filePath(), target) : QFile::copy(entry.filePath(), target)))
            return false;
    }
    return true;
}

struct Desk
{
    Desk()
    {
        exam = makeExam(folder, u"География"_s, 2, 3);
        folder.writeSettings({u"bilet=2"_s, u"vopros=3"_s, u"ball=3"_s, u"re=rus"_s, u"k=2"_s, u"z="_s + exam});
        // The picture of the first question: larger than any screen here, so it is scaled down.
        QPixmap picture(2400, 1600);
        picture.fill(Qt::darkCyan);
        picture.save(exam + u"/b1/k1.bmp"_s);
        folder.writeText(u"b/exam/b1/k1.txt"_s, u"k1.bmp\r\n"_s);
        folder.platform.screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    }

    ProgramFolder folder;
    QString exam;
};

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void guardedWindowsStayOnCloseRequests_data();
    void guardedWindowsStayOnCloseRequests();
    void framesInsideTheScreen();
    void windowsComeBackWhereTheyWere_data();
    void windowsComeBackWhereTheyWere();
    void studentRoadByKeyboard();
    void englishStartWindowHasNoRussian();
    void guideOpensBelowTheTestWindow();
    void labFollowsThreeWorkstations();
};

void DesktopTest::initTestCase()
{
    if (QGuiApplication::platformName() != "xcb"_L1)
        QSKIP("needs an X server (run through run_desktop.sh)");
}

void DesktopTest::guardedWindowsStayOnCloseRequests_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("start") << u"Form1"_s;
    QTest::newRow("about") << u"Form10"_s;
    QTest::newRow("settings") << u"Form4"_s;
    QTest::newRow("exam chooser") << u"Form9"_s;
    QTest::newRow("exam editor") << u"Form7"_s;
    QTest::newRow("test") << u"Form6"_s;
    QTest::newRow("results") << u"frmResults"_s;
    QTest::newRow("ticket") << u"Form2"_s;
    QTest::newRow("answers review") << u"Form8"_s;
    QTest::newRow("evaluation") << u"Form5"_s;
}

void DesktopTest::guardedWindowsStayOnCloseRequests()
{
    QFETCH(QString, form);
    Desk desk;
    Application &app = desk.folder.start();
    QWidget *window = openWindow(app, form);
    QVERIFY(settled(window));
    QCOMPARE(window->objectName(), form);
    const QPointer<QWidget> guarded = window;

    // The window manager's close request, as the close box and a pager send it.
    runTool(u"wmctrl"_s, {u"-i"_s, u"-c"_s, windowId(window)});
    QTest::qWait(600);
    QVERIFY(guarded && guarded->isVisible());
    QVERIFY(xWindow(guarded).viewable);

    // Alt+F4, which the window manager turns into the same request.
    activate(window);
    keys({u"alt+F4"_s});
    QTest::qWait(600);
    QVERIFY(guarded && guarded->isVisible());
    QVERIFY(xWindow(guarded).viewable);
    QVERIFY(!app.hasEnded());
    screenshot(u"close-"_s + form);
}

void DesktopTest::framesInsideTheScreen()
{
    Desk desk;
    Application &app = desk.folder.start();
    const QRect screen = deviceScreen();
    for (const QString &form : {u"Form1"_s, u"Form10"_s, u"Form4"_s, u"Form9"_s, u"Form7"_s, u"Form6"_s,
                                u"frmResults"_s, u"Form2"_s, u"Form8"_s, u"Form5"_s}) {
        QWidget *window = openWindow(app, form);
        QVERIFY2(settled(window), qPrintable(form));
        if (form == "Form2"_L1)
            QVERIFY(settled(app.pictureSizeWindow()));
        screenshot(u"frame-"_s + form);
        QList<QWidget *> checked{window};
        if (form == "Form2"_L1)
            checked << app.pictureSizeWindow();
        for (QWidget *shown : std::as_const(checked)) {
            const XWindow x = xWindow(shown);
            QVERIFY2(x.viewable, qPrintable(shown->objectName()));
            QVERIFY2(screen.contains(x.frame), qPrintable(u"%1: frame %2,%3 %4x%5 outside the screen %6x%7"_s
                                                                  .arg(shown->objectName())
                                                                  .arg(x.frame.x())
                                                                  .arg(x.frame.y())
                                                                  .arg(x.frame.width())
                                                                  .arg(x.frame.height())
                                                                  .arg(screen.width())
                                                                  .arg(screen.height())));
        }
        if (form == "Form2"_L1) {
            // The whole picture lies beside the ticket window, not under it, and stays large
            // enough to read (the screens here have room for that, at scale factor 2 too).
            // The ticket window moves beside the picture after the picture window has placed
            // itself, so the check waits for the move.
            QWidget *picture = control(app.pictureSizeWindow(), "Image1");
            const auto shownPicture = [picture] {
                return QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size());
            };
            const auto placement = [&] {
                const QRect ticket = app.ticketWindow()->frameGeometry();
                return u"picture %1..%2, ticket frame from %3 (X: %4), picture window %5,%6 (X: %7)"_s
                    .arg(shownPicture().left())
                    .arg(shownPicture().right())
                    .arg(ticket.left())
                    .arg(xWindow(app.ticketWindow()).frame.left())
                    .arg(app.pictureSizeWindow()->x())
                    .arg(app.pictureSizeWindow()->y())
                    .arg(xWindow(app.pictureSizeWindow()).frame.left());
            };
            QTRY_VERIFY2_WITH_TIMEOUT(shownPicture().right() < app.ticketWindow()->frameGeometry().left(),
                                      qPrintable(placement()), 5000);
            QVERIFY(app.pictureSizeWindow()->geometry().contains(shownPicture()));
            QVERIFY2(std::min(picture->width(), picture->height()) >= PictureSizeWindow::ReadableSide,
                     qPrintable(u"picture %1x%2"_s.arg(picture->width()).arg(picture->height())));
        }
        // A window that scrolls opens at its top left: the evaluation sheet with the student's
        // name, the marks and the verdict.
        if (const auto *scroll = window->findChild<QScrollArea *>(u"screenFit"_s, Qt::FindDirectChildrenOnly)) {
            QVERIFY2(scroll->verticalScrollBar()->value() == 0, qPrintable(form));
            QVERIFY2(scroll->horizontalScrollBar()->value() == 0, qPrintable(form));
        }
        // Every button of the window can be reached: inside the window, or inside a scroll area.
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            if (!button->isVisibleTo(window))
                continue;
            QVERIFY2(window->rect().contains(QRect(button->mapTo(window, QPoint(0, 0)), button->size()))
                         || button->parentWidget()->objectName().endsWith(u"Content"_s)
                         || window->findChild<QWidget *>(window->objectName() + u"Content"_s),
                     qPrintable(button->objectName()));
        }
        if (form == "Form4"_L1 || form == "Form9"_L1 || form == "Form7"_L1 || form == "Form6"_L1
            || form == "frmResults"_L1)
            window->hide();
    }
}

void DesktopTest::windowsComeBackWhereTheyWere_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("about, discarded and made again") << u"Form10"_s;
    QTest::newRow("start, made again by the language switch") << u"Form1"_s;
    QTest::newRow("settings, hidden and shown") << u"Form4"_s;
}

// A window shown again, or discarded and made again, comes back with its frame where it was.
void DesktopTest::windowsComeBackWhereTheyWere()
{
    QFETCH(QString, form);
    Desk desk;
    Application &app = desk.folder.start();
    QVERIFY(settled(app.startWindow()));
    const auto showAgain = [&app, &form]() -> QWidget * {
        if (form == "Form10"_L1) {
            app.discardAbout();
            app.showAbout();
            return app.aboutWindow();
        }
        if (form == "Form1"_L1) {
            app.switchLanguage(app.settings().language() == "rus"_L1 ? u"eng"_s : u"rus"_s);
            return app.startWindow();
        }
        app.settingsWindow()->hide();
        app.showSettings();
        return app.settingsWindow();
    };
    // The frame once the window manager has done with it: the same in two looks 300 ms apart
    // (on a busy machine the window manager may still be placing it when the window settled).
    const auto stableFrame = [](const QWidget *shown) {
        QRect frame = xWindow(shown).frame;
        for (int look = 0; look < 15; ++look) {
            QTest::qWait(300);
            const QRect again = xWindow(shown).frame;
            if (again == frame)
                break;
            frame = again;
        }
        return frame;
    };
    QWidget *window = showAgain();
    QVERIFY(settled(window));
    const QRect first = stableFrame(window);
    for (int time = 2; time <= 10; ++time) {
        window = showAgain();
        QVERIFY(settled(window));
        const QRect frame = stableFrame(window);
        QVERIFY2(frame == first, qPrintable(u"shown %1 times: frame at %2,%3, first at %4,%5"_s.arg(time)
                                                .arg(frame.x())
                                                .arg(frame.y())
                                                .arg(first.x())
                                                .arg(first.y())));
    }
}

// Exam mode, the name, the draw, the answers, the grade and the report: keys only.
void DesktopTest::studentRoadByKeyboard()
{
    Desk desk;
    Application &app = desk.folder.start();
    StartWindow *start = app.startWindow();
    QVERIFY(settled(start));
    activate(start);

    keys({u"space"_s});                      // the exam mode, which has the focus
    QTRY_VERIFY(shown(start, "Text9"));
    if (app.aboutWindow())
        QVERIFY(settled(app.aboutWindow()));
    activate(start);
    type(u"Ivanov"_s);
    keys({u"Return"_s});                     // "OK"
    QTRY_VERIFY(shown(start, "Command1"));
    keys({u"Return"_s});                     // "Выбрать билет" has the focus
    QTRY_VERIFY_WITH_TIMEOUT(control<QPushButton>(start, "Command3")->isEnabled(), 3000);
    QTest::qWait(300);
    keys({u"Return"_s});                     // "Открыть билет"
    QTRY_VERIFY(app.ticketWindow());
    TicketWindow *ticket = app.ticketWindow();
    QVERIFY(settled(ticket));
    activate(ticket);
    screenshot(u"road-ticket"_s);
    // Enter on the highlighted answer, Space on the next question's button, the arrow keys
    // and Space in the answers; then the grade with Enter on "Оценка", which has the focus.
    keys({u"Return"_s});
    QCOMPARE(QApplication::focusWidget(), control(ticket, "Option2"));
    keys({u"space"_s, u"Down"_s, u"space"_s});
    QCOMPARE(QApplication::focusWidget(), control(ticket, "Option3"));
    keys({u"space"_s, u"Return"_s});
    screenshot(u"road-answered"_s);
    QCOMPARE(QApplication::focusWidget(), control(ticket, "Command1"));
    QCOMPARE(control<QLineEdit>(ticket, "txt1")->text(), u"5"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt2")->text(), u"2"_s);
    keys({u"Return"_s});
    QTRY_VERIFY(!control<QLabel>(ticket, "Label5")->text().isEmpty());
    screenshot(u"road-graded"_s);
    keys({u"Tab"_s, u"Return"_s});           // "Закрыть"
    QTRY_VERIFY(app.evaluationWindow());
    EvaluationWindow *sheet = app.evaluationWindow();
    QVERIFY(settled(sheet));
    activate(sheet);
    screenshot(u"road-evaluation"_s);
    // Back from "Закрыть" to "Сохранить в отчет", tick it, then Enter on "Закрыть".
    QWidget *save = control(sheet, "Check1");
    for (int i = 0; i < 4 && QApplication::focusWidget() != save; ++i)
        keys({u"shift+Tab"_s});
    QCOMPARE(QApplication::focusWidget(), save);
    keys({u"space"_s, u"Tab"_s, u"Return"_s});
    QTRY_VERIFY(!app.evaluationWindow());

    const QString report = AnsiText::decode(desk.folder.readBytes(u"s/oth.txt"_s));
    QVERIFY2(report.contains(u"Ivanov"_s), qPrintable(report));
    QVERIFY(settled(start));
    QCOMPARE(QApplication::focusWidget(), control(start, "Text9"));
    screenshot(u"road-next-student"_s);
}

// Every caption of the English start window is English (the program's name aside), at the mode
// choice and at the student's name.
void DesktopTest::englishStartWindowHasNoRussian()
{
    Desk desk;
    Application &app = desk.folder.start();
    app.switchLanguage(u"eng"_s);
    StartWindow *start = app.startWindow();
    QVERIFY(settled(start));
    const QRegularExpression cyrillic(u"[\\x{0400}-\\x{04FF}]"_s);
    const auto russianCaptions = [&] {
        QStringList russian;
        const auto check = [&](const QWidget *control, QString caption) {
            caption.remove(ProgramTitle);
            if (control->isVisibleTo(start) && caption.contains(cyrillic))
                russian << control->objectName() + u": "_s + caption;
        };
        for (const QLabel *label : start->findChildren<QLabel *>())
            check(label, label->text());
        for (const QAbstractButton *button : start->findChildren<QAbstractButton *>())
            check(button, button->text());
        for (const QGroupBox *frame : start->findChildren<QGroupBox *>())
            check(frame, frame->title());
        return russian;
    };
    screenshot(u"english-choice"_s);
    QCOMPARE(russianCaptions(), QStringList());
    control<QRadioButton>(start, "Option1")->click();
    QTRY_VERIFY(shown(start, "Text9"));
    screenshot(u"english-name"_s);
    QCOMPARE(russianCaptions(), QStringList());
}

// The guide that opens by itself at the test mode stands below the test window, as the window
// manager stacks them, so it never covers the test window's buttons.
void DesktopTest::guideOpensBelowTheTestWindow()
{
    Desk desk;
    Application &app = desk.folder.start();
    control<QRadioButton>(app.startWindow(), "Option2")->click();
    QWidget *test = app.testWindow();
    QVERIFY(settled(test));
    QWidget *guide = app.documents().helpWindow();
    QVERIFY(guide && guide->isVisible());
    screenshot(u"test-mode-guide"_s);
    // The root window's stacking list runs from the bottom to the top.
    const auto place = [](const QWidget *window) {
        const QString stacking = runTool(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST_STACKING"_s});
        const QStringList ids = stacking.section(u'#', 1).split(u',', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < ids.size(); ++i) {
            if (ids.at(i).trimmed().toULongLong(nullptr, 16) == window->winId())
                return int(i);
        }
        return -1;
    };
    QVERIFY(place(guide) >= 0);
    QVERIFY2(place(guide) < place(test), "the guide stands above the test window");
}

// Three copies of the program on workstations of their own (each a process with a host name
// of its own) take tickets on one program folder with shuffled answers; the teacher's lab
// window in a fourth follows their answers.
void DesktopTest::labFollowsThreeWorkstations()
{
    if (qEnvironmentVariable("TAVRING_DESKTOP_CONFIG") != "1920x1080-x1"_L1)
        QSKIP("one screen is enough for the lab");
    if (QProcess::execute(u"unshare"_s, {u"-u"_s, u"true"_s}) != 0)
        QSKIP("this machine cannot give a process a host name of its own");
    Desk desk;
    desk.folder.writeBytes(u"test.ini"_s, desk.folder.readBytes(u"test.ini"_s) + "[tavring]\r\nshuffle=1\r\n"_ba);
    QVERIFY(QFile::copy(QStringLiteral(TAVRING_MODULES) + u"/tavring"_s, desk.folder.path(u"tavring"_s)));
    // The guide beside the program, as in an installed program folder: without it every
    // workstation would stop at the mode choice on the message that the guide is missing.
    QVERIFY(copyFolder(QStringLiteral(TAVRING_MODULES) + u"/help"_s, desk.folder.path(u"help"_s)));

    std::vector<std::unique_ptr<QProcess>> workstations;
    const auto cleanUp = qScopeGuard([&workstations] {
        for (const auto &program : workstations) {
            program->kill();
            program->waitForFinished(3000);
        }
    });
    QStringList tickets;
    for (int n = 1; n <= 3; ++n) {
        auto program = std::make_unique<QProcess>();
        program->setWorkingDirectory(desk.folder.path());
        program->start(u"unshare"_s, {u"-u"_s, u"sh"_s, u"-c"_s, u"hostname ws%1 && exec ./tavring"_s.arg(n)});
        QVERIFY(program->waitForStarted());
        const QString pid = QString::number(program->processId());
        workstations.push_back(std::move(program));
        const QString start = runTool(u"xdotool"_s, {u"search"_s, u"--all"_s, u"--sync"_s, u"--onlyvisible"_s,
                                                     u"--pid"_s, pid, u"--name"_s, u"v 3.3"_s})
                                  .split(u'\n', Qt::SkipEmptyParts).last();
        QTest::qWait(1500);
        // The exam mode; the about and help windows it opens leave the keyboard with the
        // start window.
        runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, start});
        keys({u"space"_s});
        QTest::qWait(1500);
        runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, start});
        type(u"Student%1"_s.arg(n));
        // "OK", "Выбрать билет", "Открыть билет".
        keys({u"Return"_s});
        QTest::qWait(1000);
        keys({u"Return"_s});
        QTest::qWait(1000);
        keys({u"Return"_s});
        QTest::qWait(2000);
        tickets << runTool(u"xdotool"_s, {u"getactivewindow"_s}).trimmed();
    }

    Application &app = desk.folder.start();
    app.openLab();
    LabWindow *lab = app.labWindow();
    QVERIFY(settled(lab));
    const QAbstractItemModel *rows = control<QTableView>(lab, "tblLab")->model();
    const auto row = [rows](const QString &workstation) {
        for (int r = 0; r < rows->rowCount(); ++r) {
            if (rows->index(r, LabTableModel::Workstation).data().toString() == workstation)
                return r;
        }
        return -1;
    };
    const auto value = [rows, row](const QString &workstation, int column) {
        return rows->index(row(workstation), column).data(Qt::EditRole).toInt();
    };
    QTRY_COMPARE_WITH_TIMEOUT(rows->rowCount(), 3, 10000);
    for (int n = 1; n <= 3; ++n) {
        const QString workstation = u"ws%1"_s.arg(n);
        QVERIFY(row(workstation) >= 0);
        QCOMPARE(rows->index(row(workstation), LabTableModel::Student).data().toString(), u"Student%1"_s.arg(n));
        QCOMPARE(value(workstation, LabTableModel::Question), 1);
    }
    screenshot(u"lab-started"_s);

    // ws2 answers two questions, ws3 one; their rows follow within a poll.
    runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, tickets[1]});
    keys({u"Return"_s, u"space"_s, u"Return"_s});
    runTool(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, tickets[2]});
    keys({u"Return"_s});
    QTRY_COMPARE_WITH_TIMEOUT(value(u"ws2"_s, LabTableModel::Right) + value(u"ws2"_s, LabTableModel::Wrong), 2, 8000);
    QTRY_COMPARE_WITH_TIMEOUT(value(u"ws2"_s, LabTableModel::Question), 2, 8000);
    QTRY_COMPARE_WITH_TIMEOUT(value(u"ws3"_s, LabTableModel::Right) + value(u"ws3"_s, LabTableModel::Wrong), 1, 8000);
    QCOMPARE(value(u"ws1"_s, LabTableModel::Unanswered), 3);
    activate(lab);
    screenshot(u"lab-answered"_s);
}

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
