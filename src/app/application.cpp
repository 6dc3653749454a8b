#include "app/application.h"

#include "core/exam/exam_editor_state.h"
#include "core/files/ini.h"
#include "core/lab/lab_monitor.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "gui/bank/bank_window.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/common/captions.h"
#include "gui/common/focus_frame_style.h"
#include "gui/common/screen_reader.h"
#include "gui/common/window_ops.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/answers_review_window.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/lab/lab_window.h"
#include "gui/questionnaire/questionnaire_window.h"
#include "gui/results/results_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/about_window.h"
#include "gui/start/start_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>

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
    : QObject(parent), m_platform(platform), m_paths(programFolder),
      m_context(m_platform, m_paths, m_settings), m_studentStep(m_settings)
{
    setIniErrorReporter([this](const QString &title, const QString &text) {
        m_context.message(title, text, MessageIcon::Critical);
    });
    connect(&m_settings, &SettingsRecord::languageChanged, this, &Application::followLanguageInQtTexts);
    m_context.setDocumentViewer(&m_documents);
    ShowFocusClearly();
    connect(&m_documents, &DocumentWindows::textClosed, this, [this] {
        if (m_ended)
            QCoreApplication::exit(0);
    });
    KeepWindowsOnScreen(m_platform, this);
    installScreenReaderRules();
}

Application::~Application()
{
    setIniErrorReporter({});
    delete m_answersReviewWindow;
    delete m_ticketWindow;
    delete m_pictureSizeWindow;
    delete m_aboutWindow;
    delete m_bankWindow;
    delete m_examEditor;
    delete m_examChooser;
    delete m_testWindow;
    delete m_evaluationWindow;
    delete m_startWindow;
    delete m_settingsWindow;
}

void Application::start()
{
    m_settings.load(settingsFile());
    followLanguageInQtTexts(m_settings.language());
    // The settings window is made when it is first needed, but a stored timer length it would
    // refuse is said at once and becomes one minute, as the window would do on loading it.
    const QString minutes = m_settings.minutes();
    if (!minutes.isEmpty() && !SettingsRecord::acceptedMinutes(minutes)) {
        SettingsWindow::sayMinutesRefused(m_context);
        m_settings.setMinutes(u"1"_s);
    }
    const TicketSession::Search found = TicketSession::findUnfinished(m_paths, m_platform.currentDateTime());
    m_unfinished = found.unfinished;
    if (found.setAside)
        sayJournalSetAside(*found.setAside);
    createStartWindow();
}

void Application::createStartWindow()
{
    m_startWindow = new StartWindow(m_context, m_studentStep);
    StartWindow *start = m_startWindow;
    connect(start, &StartWindow::languageSwitched, this, &Application::switchLanguage);
    connect(start, &StartWindow::exitRequested, this, &Application::exitProgram);
    connect(start, &StartWindow::aboutRequested, this, &Application::showAbout);
    connect(start, &StartWindow::testModeChosen, this, &Application::openTestWindow);
    connect(start, &StartWindow::examChooserRequested, this,
            [this] { openExamChooser(m_paths.examLibrary(), ChooserOpener::StartWindow); });
    connect(start, &StartWindow::settingsRequested, this, &Application::showSettings);
    connect(start, &StartWindow::ticketRequested, start, [this, start] {
        if (openTicket())
            start->hide();
    });
    connect(start, &StartWindow::unfinishedContinueRequested, start, [this, start] {
        const bool opened = continueUnfinishedTicket();
        // A journal that could not be taken up has been set aside: nothing is left to offer.
        if (!hasUnfinishedTicket())
            start->withdrawUnfinishedTicketOffer();
        if (opened)
            start->hide();
    });
    connect(start, &StartWindow::unfinishedDiscardRequested, start, [this, start] {
        if (discardUnfinishedTicket())
            start->withdrawUnfinishedTicketOffer();
    });
    start->show();
    if (m_unfinished)
        start->offerUnfinishedTicket(m_unfinished->student.name, m_unfinished->ticketFolderName);
}

void Application::followLanguageInQtTexts(const QString &language)
{
    const bool russian = LanguagePolicy(language).isRussian();
    if (russian == m_qtTextsInstalled)
        return;
    if (!russian) {
        QCoreApplication::removeTranslator(&m_qtTexts);
        m_qtTextsInstalled = false;
        return;
    }
    // Without Qt's translations installed Qt simply keeps its English texts.
    if (m_qtTexts.isEmpty()
        && !m_qtTexts.load(QLocale(QLocale::Russian), u"qtbase"_s, u"_"_s,
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    m_qtTextsInstalled = QCoreApplication::installTranslator(&m_qtTexts);
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
        m_settingsWindow = new SettingsWindow(m_context);
        connect(m_settingsWindow, &SettingsWindow::closed, this, [this] {
            // The name typed to reach the settings was the teacher's: the start window waits
            // for the next student, so that no record is written under that name.
            if (m_startWindow) {
                m_startWindow->takeSettings();
                m_startWindow->nextStudent();
            }
            showStartWindow();
        });
        connect(m_settingsWindow, &SettingsWindow::examEditorRequested, this, &Application::openExamEditor);
        connect(m_settingsWindow, &SettingsWindow::examChooserRequested, this,
                [this](const QString &folder) { openExamChooser(folder); });
        connect(m_settingsWindow, &SettingsWindow::resultsRequested, this, &Application::openResults);
        connect(m_settingsWindow, &SettingsWindow::labRequested, this, &Application::openLab);
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
    closeAboutForWork();
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
    if (!m_aboutWindow) {
        m_aboutWindow = new AboutWindow;
        connect(m_aboutWindow, &AboutWindow::closed, this, &Application::discardAbout);
    }
    m_aboutWindow->applyLanguage(m_settings.language());
    m_aboutWindow->show();
}

void Application::closeAboutForWork()
{
    // The about window greets the mode choice and is kept on top of it. Once a window the
    // student or the teacher works in opens, it goes: on top it would cover the ticket, and
    // lowered it would be forgotten behind the ticket until the ticket ends.
    discardAbout();
}

void Application::discardAbout()
{
    discard(m_aboutWindow);
}

bool Application::openTicket()
{
    const TicketJournal::Record drawn =
        TicketSession::drawn(m_settings, m_studentStep.student(), m_studentStep.ticketNumber(),
                             m_studentStep.ticketFolderName(), m_studentStep.examTitle());
    return openSession(new TicketSession(m_paths, m_settings.language(), drawn, TicketSession::Origin::Drawn, this));
}

bool Application::openSession(TicketSession *session)
{
    discardTicketWindows();
    endSession();
    m_session = session;
    m_session->run().setRandomSource([this] { return m_platform.random(); });
    m_session->setClock([this] { return m_platform.currentDateTime(); });
    connect(m_session, &TicketSession::journalFailed, this,
            [this](const QString &text) { m_context.message(ProgramTitle, text, MessageIcon::Warning); });
    connect(m_session, &TicketSession::attemptNotWritten, this,
            [this](const QString &text) { m_context.message(ProgramTitle, text, MessageIcon::Warning); });
    m_pictureSizeWindow = new PictureSizeWindow(m_context);
    // The ticket window keeps the focus; the picture behind it never takes it.
    m_pictureSizeWindow->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    m_pictureSizeWindow->show();
    m_ticketWindow = new TicketWindow(m_context, *m_session);
    connect(m_ticketWindow, &TicketWindow::pictureChanged, m_pictureSizeWindow, &PictureSizeWindow::showPicture);
    connect(m_pictureSizeWindow, &PictureSizeWindow::besideWindowPlaced, m_ticketWindow, &TicketWindow::moveRightOf);
    connect(m_pictureSizeWindow, &PictureSizeWindow::closed, this, &Application::discardPictureSizeWindow);
    connect(m_ticketWindow, &TicketWindow::answerReviewed, this, [this](const QString &answer) {
        if (m_answersReviewWindow)
            m_answersReviewWindow->showAnswer(answer);
    });
    connect(m_ticketWindow, &TicketWindow::answersReviewRequested, this, [this](bool wanted) {
        if (wanted)
            openAnswersReview();
        else
            discardAnswersReview();
    });
    connect(m_ticketWindow, &TicketWindow::closeRequested, this, &Application::closeTicket);
    connect(m_ticketWindow, &TicketWindow::abandoned, this, &Application::abandonTicket);
    if (!m_ticketWindow->load())
        return false;
    m_ticketWindow->show();
    const QMargins frame = WindowFrame(m_ticketWindow);
    m_pictureSizeWindow->keepRoomBeside(m_ticketWindow->width() + frame.left() + frame.right());
    m_ticketWindow->move(m_ticketWindow->x(), AvailableArea().top());
    m_ticketWindow->moveRightOf(m_pictureSizeWindow->rightOfPicture());
    m_ticketWindow->activateWindow();
    closeAboutForWork();
    return true;
}

void Application::endSession()
{
    if (m_session) {
        m_session->end();
        // The windows that followed it are deleted after the event at hand; so is the session.
        m_session->deleteLater();
        m_session = nullptr;
    }
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
    // The evaluation window takes the outcome before the ticket's windows go; the session
    // keeps the journal until the sheet is closed.
    openEvaluation(m_session && m_ticketWindow ? m_session->outcome() : TicketOutcome());
    discardTicketWindows();
}

void Application::abandonTicket()
{
    showStartWindow();
    discardTicketWindows();
    endSession();
}

AnswersReviewWindow *Application::openAnswersReview()
{
    if (!m_answersReviewWindow) {
        m_answersReviewWindow = new AnswersReviewWindow(m_context);
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
    m_examChooser = new ExamChooserWindow(m_context);
    connect(m_examChooser, &ExamChooserWindow::closed, this, &Application::closeExamChooser);
    connect(m_examChooser, &ExamChooserWindow::examAccepted, &m_studentStep, &StudentStep::clearTicketChoice);
    if (m_settings.examFolder().isEmpty())
        m_examChooser->setFolder(folder.isEmpty() ? m_paths.examLibrary() : folder);
    closeAboutForWork();
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
    if (!m_examEditor) {
        // The editor's state lives as long as its window.
        auto *state = new ExamEditorState(m_settings, m_paths);
        m_examEditor = new ExamEditorWindow(m_context, *state);
        state->setParent(m_examEditor);
        connect(m_examEditor, &ExamEditorWindow::closed, this, &Application::closeExamEditor);
        connect(m_examEditor, &ExamEditorWindow::pictureSizeRequested, this, &Application::openPictureSizeForEditor);
        connect(m_examEditor, &ExamEditorWindow::importRequested, this, &Application::openBankWindow);
    }
    closeAboutForWork();
    m_examEditor->show();
}

ExamEditorWindow *Application::examEditor() const
{
    return m_examEditor;
}

void Application::openResults()
{
    if (!m_resultsWindow) {
        m_resultsWindow = new ResultsWindow(m_context);
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

void Application::openLab()
{
    if (!m_labWindow) {
        auto *monitor = new LabMonitor(m_paths.reportsFolder());
        m_labWindow = new LabWindow(m_context, *monitor);
        monitor->setParent(m_labWindow);
        connect(m_labWindow, &LabWindow::closed, this, &Application::closeLab);
        monitor->watch();
    }
    m_labWindow->show();
}

LabWindow *Application::labWindow() const
{
    return m_labWindow;
}

void Application::closeLab()
{
    discard(m_labWindow);
    settingsWindow()->show();
}

void Application::openPictureSizeForEditor()
{
    discardPictureSizeWindow();
    m_pictureSizeWindow = new PictureSizeWindow(m_context);
    connect(m_pictureSizeWindow, &PictureSizeWindow::closed, this, &Application::discardPictureSizeWindow);
    if (m_examEditor)
        m_pictureSizeWindow->showEditorPicture(m_examEditor->picture(), m_examEditor->pictureWidthCaption(),
                                               m_examEditor->pictureHeightCaption());
    m_pictureSizeWindow->show();
}

void Application::openBankWindow(const QString &examFolder)
{
    if (!m_bankWindow) {
        m_bankWindow = new BankWindow(m_context, examFolder);
        // The editor waits while the bank's exam is written.
        m_bankWindow->setWindowModality(Qt::ApplicationModal);
        connect(m_bankWindow, &BankWindow::closed, this, &Application::closeBankWindow);
    }
    m_bankWindow->show();
    m_bankWindow->raise();
}

BankWindow *Application::bankWindow() const
{
    return m_bankWindow;
}

void Application::closeBankWindow()
{
    discard(m_bankWindow);
}

void Application::closeExamEditor()
{
    discard(m_bankWindow);
    discard(m_examEditor);
    settingsWindow()->show();
}

void Application::openEvaluation(const TicketOutcome &outcome)
{
    discardEvaluation();
    // A continued ticket's student is in its journal; the start window holds no one then.
    const Student student = m_session && m_session->isResumed() ? m_session->student() : m_studentStep.student();
    m_evaluationWindow = new EvaluationWindow(m_context, outcome, student, m_session ? m_session->attempt() : Attempt());
    connect(m_evaluationWindow, &EvaluationWindow::closed, this, &Application::closeEvaluation);
    m_evaluationWindow->show();
    // The ticket window that had the focus is about to go.
    m_evaluationWindow->activateWindow();
    closeAboutForWork();
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
    if (m_session && m_evaluationWindow)
        m_session->sheetClosed(m_evaluationWindow->savedToReport(), m_evaluationWindow->record());
    showStartWindow();
    discardEvaluation();
    endSession();
    // The start window waits for the next student with empty data fields, and the keys go to it.
    if (m_startWindow) {
        m_startWindow->nextStudent();
        m_startWindow->activateWindow();
    }
}

void Application::sayJournalSetAside(const TicketSession::SetAside &setAside)
{
    // Said whatever the language: a ticket is never dropped in silence.
    m_context.message(ProgramTitle, setAside.text(m_settings.language()), MessageIcon::Warning);
}

bool Application::continueUnfinishedTicket()
{
    if (!m_unfinished)
        return false;
    const TicketJournal::Record journal = *m_unfinished;
    if (!openSession(new TicketSession(m_paths, m_settings.language(), journal, TicketSession::Origin::Resumed, this))) {
        discardTicketWindows();
        endSession();
        m_unfinished.reset();
        sayJournalSetAside(TicketSession::setAside(m_paths, TicketSession::Problem::QuestionUnreadable,
                                                   m_platform.currentDateTime()));
        return false;
    }
    m_unfinished.reset();
    return true;
}

bool Application::discardUnfinishedTicket()
{
    if (!m_unfinished)
        return false;
    const std::optional<QString> failure = TicketSession::discardUnfinished(m_paths, *m_unfinished, m_settings.language(),
                                                                            m_platform.currentDateTime());
    if (failure) {
        m_context.message(ProgramTitle, *failure, MessageIcon::Warning);
        return false;
    }
    m_unfinished.reset();
    return true;
}

void Application::openTestWindow()
{
    if (!m_testWindow) {
        m_testWindow = new QuestionnaireWindow(m_context);
        connect(m_testWindow, &QuestionnaireWindow::closed, this, &Application::closeTestWindow);
        connect(m_testWindow, &QuestionnaireWindow::exitRequested, this, &Application::exitProgram);
    }
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
    m_ended = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    if (!m_context.openText(m_paths.farewellNote(), m_settings.language()))
        QCoreApplication::exit(0);
}
