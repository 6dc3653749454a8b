#include "start/application.h"

#include "config/active_label.h"
#include "config/captions.h"
#include "config/ini.h"
#include "editor/exam_editor_window.h"
#include "evaluation/evaluation_window.h"
#include "exam/answers_review_window.h"
#include "exam/exam_chooser_window.h"
#include "exam/ticket_window.h"
#include "results/results_window.h"
#include "settings/picture_size_window.h"
#include "settings/settings_window.h"
#include "start/about_window.h"
#include "start/help_document.h"
#include "start/start_window.h"
#include "testmode/questionnaire_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QGroupBox>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// Discards a window: hidden at once and deleted once the event that discards it, maybe one
// of the window's own handlers, has been handled; the application forgets it at once.
template <class Window>
void discard(QPointer<Window> &window)
{
    if (window) {
        window->hide();
        window->deleteLater();
        window = nullptr;
    }
}

} // namespace

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
    delete m_answersReviewWindow;
    delete m_ticketWindow;
    delete m_pictureSizeWindow;
    delete m_aboutWindow;
    delete m_examEditor;
    delete m_examChooser;
    delete m_testWindow;
    delete m_evaluationWindow;
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

void Application::sayIfNotSaved(const QString &file, const SettingsRecord::SaveResult &result,
                                const QString &language)
{
    if (!result)
        message(ProgramTitle, SettingsRecord::saveFailureText(file, result, language), MessageIcon::Critical);
}

void Application::start()
{
    m_settings.load(settingsFile());
    // The settings window loads hidden at start, so a timer length it refuses is said at once.
    settingsWindow();
    createStartWindow();
}

void Application::createStartWindow()
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
    if (!m_settingsWindow) {
        m_settingsWindow = new SettingsWindow(*this);
        connect(m_settingsWindow, &SettingsWindow::closed, this, [this] {
            if (m_startWindow)
                m_startWindow->takeSettings();
            showStartWindow();
        });
    }
    return m_settingsWindow;
}

void Application::switchLanguage(const QString &language)
{
    discard(m_startWindow);
    // The settings window's language button writes re, and says so once when it cannot.
    settingsWindow()->pressLanguageButton(language);
    createStartWindow();
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
    discard(m_aboutWindow);
}

void Application::openHelp(const QString &language)
{
    m_platform.openDocument(helpDocument(m_programFolder, language));
}

void Application::openReport()
{
    m_platform.openDocument(path(u"s/oth.txt"_s));
}

bool Application::openTicket()
{
    discardTicketWindows();
    m_pictureSizeWindow = new PictureSizeWindow(*this);
    // The ticket window keeps the focus; the picture behind it never takes it.
    m_pictureSizeWindow->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    m_pictureSizeWindow->show();
    m_ticketWindow = new TicketWindow(*this);
    connect(m_ticketWindow, &TicketWindow::pictureChanged, m_pictureSizeWindow, &PictureSizeWindow::showPicture);
    connect(m_pictureSizeWindow, &PictureSizeWindow::besideWindowPlaced, m_ticketWindow, &TicketWindow::moveRightOf);
    connect(m_ticketWindow, &TicketWindow::answerReviewed, this, [this](const QString &answer) {
        if (m_answersReviewWindow)
            m_answersReviewWindow->showAnswer(answer);
    });
    const StartWindow *start = m_startWindow;
    if (!m_ticketWindow->load(start ? start->ticketNumber() : QString(), start ? start->ticketFolderName() : QString(),
                              start ? start->examTitle() : QString()))
        return false;
    m_ticketWindow->show();
    m_ticketWindow->move(m_ticketWindow->x(), 0);
    m_ticketWindow->moveRightOf(m_pictureSizeWindow->rightOfPicture());
    m_ticketWindow->activateWindow();
    return true;
}

TicketWindow *Application::ticketWindow() const
{
    return m_ticketWindow;
}

PictureSizeWindow *Application::pictureSizeWindow() const
{
    return m_pictureSizeWindow;
}

AnswersReviewWindow *Application::answersReviewWindow() const
{
    return m_answersReviewWindow;
}

void Application::closeTicket()
{
    // The evaluation window takes the results before the ticket's windows go.
    openEvaluation(m_ticketWindow ? m_ticketWindow->results() : TicketResults());
    discardTicketWindows();
}

void Application::abandonTicket()
{
    showStartWindow();
    discardTicketWindows();
}

AnswersReviewWindow *Application::openAnswersReview()
{
    if (!m_answersReviewWindow) {
        m_answersReviewWindow = new AnswersReviewWindow(*this);
        connect(m_answersReviewWindow, &AnswersReviewWindow::chosen, this, [this] {
            if (m_ticketWindow)
                m_ticketWindow->chooseReviewedAnswer();
            discardAnswersReview();
        });
    }
    m_answersReviewWindow->show();
    return m_answersReviewWindow;
}

void Application::discardAnswersReview()
{
    discard(m_answersReviewWindow);
}

void Application::discardPictureSizeWindow()
{
    discard(m_pictureSizeWindow);
}

void Application::discardTicketWindows()
{
    discardAnswersReview();
    discard(m_ticketWindow);
    discardPictureSizeWindow();
}

void Application::openExamChooser(const QString &folder, ChooserOpener opener)
{
    discard(m_examChooser);
    m_chooserOpener = opener;
    m_examChooser = new ExamChooserWindow(*this);
    connect(m_examChooser, &ExamChooserWindow::examAccepted, this, [this] {
        if (m_startWindow)
            m_startWindow->clearTicketChoice();
    });
    if (m_settings.examFolder().isEmpty())
        m_examChooser->setFolder(folder.isEmpty() ? path(u"b"_s) : folder);
    m_examChooser->show();
}

ExamChooserWindow *Application::examChooser() const
{
    return m_examChooser;
}

void Application::closeExamChooser()
{
    discard(m_examChooser);
    if (m_chooserOpener == ChooserOpener::Settings) {
        settingsWindow()->show();
        return;
    }
    // The exam and its ticket count may have changed: the start window shows them as it does
    // after the settings close.
    if (m_startWindow)
        m_startWindow->takeSettings();
    showStartWindow();
}

void Application::openExamEditor()
{
    if (!m_examEditor)
        m_examEditor = new ExamEditorWindow(*this);
    m_examEditor->show();
}

ExamEditorWindow *Application::examEditor() const
{
    return m_examEditor;
}

void Application::openResults()
{
    if (!m_resultsWindow) {
        m_resultsWindow = new ResultsWindow(*this);
        connect(m_resultsWindow, &ResultsWindow::closed, this, &Application::closeResults);
    }
    m_resultsWindow->show();
    m_resultsWindow->read();
}

ResultsWindow *Application::resultsWindow() const
{
    return m_resultsWindow;
}

void Application::closeResults()
{
    discard(m_resultsWindow);
    settingsWindow()->show();
}

void Application::openPictureSizeForEditor()
{
    discardPictureSizeWindow();
    m_pictureSizeWindow = new PictureSizeWindow(*this);
    if (m_examEditor)
        m_pictureSizeWindow->showEditorPicture(m_examEditor->picture(), m_examEditor->pictureWidthCaption(),
                                               m_examEditor->pictureHeightCaption());
    m_pictureSizeWindow->show();
}

void Application::closeExamEditor()
{
    discard(m_examEditor);
    settingsWindow()->show();
}

void Application::openEvaluation(const TicketResults &results)
{
    discardEvaluation();
    m_evaluationWindow = new EvaluationWindow(*this, results, m_startWindow ? m_startWindow->student() : Student());
    m_evaluationWindow->show();
    // The ticket window that had the focus is about to go.
    m_evaluationWindow->activateWindow();
}

EvaluationWindow *Application::evaluationWindow() const
{
    return m_evaluationWindow;
}

void Application::discardEvaluation()
{
    discard(m_evaluationWindow);
}

void Application::closeEvaluation()
{
    showStartWindow();
    discardEvaluation();
    // The start window waits for the next student with empty data fields.
    if (m_startWindow)
        m_startWindow->nextStudent();
}

void Application::openTestWindow()
{
    if (!m_testWindow)
        m_testWindow = new QuestionnaireWindow(*this);
    m_testWindow->show();
}

QuestionnaireWindow *Application::testWindow() const
{
    return m_testWindow;
}

void Application::closeTestWindow()
{
    discard(m_testWindow);
    if (m_startWindow)
        m_startWindow->showModeChoice();
    showStartWindow();
}

void Application::exitProgram()
{
    m_platform.openDocument(path(u"plt.txt"_s));
    m_ended = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
