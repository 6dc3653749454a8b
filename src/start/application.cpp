#include "start/application.h"

#include "config/active_label.h"
#include "config/ini.h"
#include "editor/exam_editor_window.h"
#include "exam/exam_chooser_window.h"
#include "settings/settings_window.h"
#include "start/about_window.h"
#include "start/start_window.h"
#include "testmode/test_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QGroupBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

Application::Application(Platform &platform, const QString &programFolder, QObject *parent)
    : QObject(parent), m_platform(platform), m_programFolder(programFolder)
{
    setIniErrorReporter([this](const QString &title, const QString &text) {
        message(title, text, MessageIcon::Critical);
    });
}

Application::~Application()
{
    setIniErrorReporter({});
    delete m_aboutWindow;
    delete m_examEditor;
    delete m_examChooser;
    delete m_testWindow;
    delete m_startWindow;
    delete m_settingsWindow;
}

QString Application::path(const QString &relative) const
{
    return m_programFolder + u'/' + relative;
}

QString Application::settingsFile() const
{
    return path(u"test.ini"_s);
}

void Application::message(const QString &title, const QString &text, MessageIcon icon)
{
    if (!text.isEmpty())
        m_platform.messageBox(title, text, icon);
}

void Application::start()
{
    m_startWindow = new StartWindow(*this);
    m_startWindow->show();
}

StartWindow *Application::startWindow() const
{
    return m_startWindow;
}

AboutWindow *Application::aboutWindow() const
{
    return m_aboutWindow;
}

SettingsWindow *Application::settingsWindow()
{
    if (!m_settingsWindow)
        m_settingsWindow = new SettingsWindow(*this);
    return m_settingsWindow;
}

void Application::switchLanguage(const QString &language)
{
    if (m_startWindow) {
        m_startWindow->hide();
        m_startWindow->deleteLater();
        m_startWindow = nullptr;
    }
    SettingsWindow *settings = settingsWindow();
    settings->pressLanguageButton(language);
    start();
    SetValue(u"test"_s, u"re"_s, settings->Label17->text(), settingsFile());
}

void Application::showSettings()
{
    settingsWindow()->show();
    if (m_startWindow)
        m_startWindow->hide();
}

void Application::showStartWindow()
{
    if (m_startWindow)
        m_startWindow->show();
}

void Application::showAbout()
{
    if (!m_aboutWindow)
        m_aboutWindow = new AboutWindow(*this);
    m_aboutWindow->show();
}

void Application::discardAbout()
{
    if (m_aboutWindow) {
        m_aboutWindow->hide();
        m_aboutWindow->deleteLater();
        m_aboutWindow = nullptr;
    }
}

void Application::openHelp()
{
    m_platform.openDocument(path(u"help/help.chm"_s));
}

void Application::openReport()
{
    m_platform.openDocument(path(u"s/oth.txt"_s));
}

// The ticket and picture size windows arrive with the exam road (issue #3).
bool Application::openTicket()
{
    return false;
}

bool Application::openExamChooser(const QString &folder)
{
    if (m_examChooser)
        m_examChooser->deleteLater();
    m_examChooser = new ExamChooserWindow(*this);
    if (settingsWindow()->Text6->text().isEmpty())
        m_examChooser->setFolder(folder.isEmpty() ? path(u"b"_s) : folder);
    m_examChooser->show();
    return true;
}

ExamChooserWindow *Application::examChooser() const
{
    return m_examChooser;
}

void Application::closeExamChooser()
{
    if (m_examChooser) {
        m_examChooser->hide();
        m_examChooser->deleteLater();
        m_examChooser = nullptr;
    }
    settingsWindow()->show();
}

bool Application::openExamEditor()
{
    if (!m_examEditor)
        m_examEditor = new ExamEditorWindow(*this);
    m_examEditor->show();
    return true;
}

ExamEditorWindow *Application::examEditor() const
{
    return m_examEditor;
}

void Application::closeExamEditor()
{
    if (m_examEditor) {
        m_examEditor->hide();
        m_examEditor->deleteLater();
        m_examEditor = nullptr;
    }
    settingsWindow()->show();
}

// The evaluation window arrives with the exam road (issue #3).
bool Application::openEvaluation()
{
    return false;
}

bool Application::openTestWindow()
{
    if (!m_testWindow)
        m_testWindow = new TestWindow(*this);
    m_testWindow->show();
    return true;
}

TestWindow *Application::testWindow() const
{
    return m_testWindow;
}

void Application::closeTestWindow()
{
    if (m_testWindow) {
        m_testWindow->hide();
        m_testWindow->deleteLater();
        m_testWindow = nullptr;
    }
    if (m_startWindow) {
        m_startWindow->Frame3->show();
        m_startWindow->Option3->setChecked(true);
        m_startWindow->show();
    }
}

void Application::exitProgram()
{
    m_platform.openDocument(path(u"plt.txt"_s));
    m_ended = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
