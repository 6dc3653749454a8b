#include "editor/exam_editor_window.h"
#include "evaluation/evaluation_window.h"
#include "exam/exam_chooser_window.h"
#include "exam/ticket_window.h"
#include "settings/picture_size_window.h"
#include "settings/settings_window.h"
#include "start/about_window.h"
#include "start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "testmode/test_window.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

} // namespace

// Every window of a run carries its form name, and every control its own name, so that the
// program's code and its tests find them the same way.
class WindowNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowAndControlIsNamed();
};

void WindowNamesTest::everyWindowAndControlIsNamed()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 3);
    folder.writeSettings({u"bilet=1"_s, u"vopros=3"_s, u"ball=4"_s, u"re=rus"_s, u"z="_s + exam});
    Application &app = folder.start();
    app.showAbout();
    app.openExamChooser(exam);
    app.openExamEditor();
    app.openTestWindow();

    StartWindow *start = app.startWindow();
    control<QLineEdit>(start, "Text1")->setText(u"1"_s);
    control<QPushButton>(start, "Command3")->click();
    QVERIFY(app.ticketWindow());

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

QTEST_MAIN(WindowNamesTest)
#include "tst_windows.moc"
