#pragma once

#include "core/exam/student_step.h"
#include "core/exam/ticket_journal.h"
#include "core/exam/ticket_outcome.h"
#include "core/exam/ticket_session.h"
#include "core/platform.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "gui/common/window_context.h"
#include "gui/help/document_windows.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTranslator>

#include <optional>

class AboutWindow;
class AnswersReviewWindow;
class BankWindow;
class ExamEditorWindow;
class ExamChooserWindow;
class PictureSizeWindow;
class ResultsWindow;
class LabWindow;
class EvaluationWindow;
class SettingsWindow;
class StartWindow;
class QuestionnaireWindow;
class TicketWindow;

// One per run: creates the windows, hands each its models and connects their signals, and owns
// their lifetimes. It is the only code that knows the windows; the rules live in the models of
// the logic library and the texts in the windows.
class Application final : public QObject
{
    Q_OBJECT

public:
    Application(Platform &platform, const QString &programFolder, QObject *parent = nullptr);
    ~Application() override;

    // The settings of this run, read from test.ini when the program starts.
    SettingsRecord &settings() { return m_settings; }
    // What the windows are given: the platform, the paths and the settings.
    const WindowContext &context() const { return m_context; }
    const ProgramPaths &paths() const { return m_paths; }
    // The settings file test.ini of the program folder.
    QString settingsFile() const { return m_paths.settingsFile(); }
    const SettingsRecord &settings() const { return m_settings; }

    // Reads the settings and shows the start window; with the journal of a ticket that a crash
    // cut off, the start window offers to continue or discard it.
    void start();

    StartWindow *startWindow() const;
    // The student, the chosen ticket and the password gate of the start window; it outlives
    // the start window, which a language switch makes anew.
    StudentStep &studentStep() { return m_studentStep; }
    // The holder of the settings record: created hidden on first reference, never destroyed.
    SettingsWindow *settingsWindow();
    AboutWindow *aboutWindow() const;

    // The start window's language switch: the start window is discarded, the settings
    // window's language button pressed, a new start window created, and `re` written.
    void switchLanguage(const QString &language);

    // Shows the settings window, hiding the start window.
    void showSettings();
    // Shows the start window again (after the window that hid it ends).
    void showStartWindow();

    // The about window, not modal; "OK" discards it.
    void showAbout();
    void discardAbout();

    // The picture size window on the whole screen and the ticket window with the start
    // window's ticket to the right of its picture, at the top of the screen. False when the
    // ticket could not be loaded; the start window then stays.
    bool openTicket();
    // Who opened the exam chooser: the window that comes back when it closes.
    enum class ChooserOpener { Settings, StartWindow };
    // The exam chooser. With an exam folder set it opens on the exam library; without one
    // its tree starts on the given folder (the exam library when none is given).
    void openExamChooser(const QString &folder, ChooserOpener opener = ChooserOpener::Settings);
    ExamChooserWindow *examChooser() const;
    // Discards the exam chooser and shows the window that opened it: the settings window, or
    // the start window after a student's draw, so that the chooser is no way past the password.
    void closeExamChooser();
    void openExamEditor();
    ExamEditorWindow *examEditor() const;
    // Discards the exam editor and shows the settings window again.
    void closeExamEditor();
    // The question banks window over the exam editor, offering the exam it edits.
    void openBankWindow(const QString &examFolder);
    BankWindow *bankWindow() const;
    void closeBankWindow();
    // The picture size window in its editor mode, showing the exam editor's picture.
    void openPictureSizeForEditor();
    // The results of the reports, opened from the settings window; "Закрыть" discards it and
    // shows the settings window again.
    void openResults();
    ResultsWindow *resultsWindow() const;
    void closeResults();
    // The lab window, opened from the settings window with a monitor of the reports' folder
    // that lives as long as it; "Закрыть" discards both and shows the settings window again.
    void openLab();
    LabWindow *labWindow() const;
    void closeLab();
    void openTestWindow();
    QuestionnaireWindow *testWindow() const;
    // Discards the test window and shows the start window at its mode choice.
    void closeTestWindow();
    // The evaluation window for this outcome of the running ticket's student (the student of
    // the start window when the ticket was drawn there).
    void openEvaluation(const TicketOutcome &outcome);
    EvaluationWindow *evaluationWindow() const;
    void discardEvaluation();
    // "Закрыть" of the evaluation window: the start window comes back for the next student.
    void closeEvaluation();

    // The windows of a running ticket; null when no ticket runs.
    TicketWindow *ticketWindow() const;
    PictureSizeWindow *pictureSizeWindow() const;
    AnswersReviewWindow *answersReviewWindow() const;
    // "Закрыть" of the ticket: the evaluation window takes its outcome, then the ticket,
    // picture size and answers review windows are discarded. The start window comes back
    // when the evaluation window is closed.
    void closeTicket();
    // A question that cannot be read ends the ticket: the start window comes back and the
    // ticket's windows are discarded.
    void abandonTicket();
    // A ticket that a crash cut off waits to be continued or discarded.
    bool hasUnfinishedTicket() const { return m_unfinished.has_value(); }
    // Opens the ticket windows on the unfinished ticket where its journal left it. False when
    // it could not be taken up: the journal is then set aside and the reason said.
    bool continueUnfinishedTicket();
    // Notes in the exam report that the unfinished ticket was discarded and removes its
    // journal. False, with a message, when the note could not be written: the journal stays.
    bool discardUnfinishedTicket();
    // The review window of the ticket's review mode, created on first use.
    AnswersReviewWindow *openAnswersReview();
    void discardAnswersReview();
    void discardPictureSizeWindow();

    // The help window and the text viewer.
    DocumentWindows &documents() { return m_documents; }

    // Hides every window and shows plt.txt in the text viewer; the program ends when the
    // viewer is closed, at once when plt.txt cannot be shown.
    void exitProgram();
    bool hasEnded() const { return m_ended; }

    // Whether Qt's own Russian texts (file dialogs, standard buttons) are in use.
    bool usesQtRussianTexts() const { return m_qtTextsInstalled; }

private:
    void createStartWindow();
    // Qt's own texts follow the program's language: Russian for "rus", Qt's English otherwise.
    void followLanguageInQtTexts(const QString &language);
    void discardTicketWindows();
    // Shows the session's ticket in the ticket and picture size windows and begins it; false
    // when it could not begin.
    bool openSession(TicketSession *session);
    // The running ticket has ended: its journal goes with its session.
    void endSession();
    void sayJournalSetAside(const TicketSession::SetAside &setAside);
    void closeAboutForWork();

    Platform &m_platform;
    ProgramPaths m_paths;
    SettingsRecord m_settings;
    WindowContext m_context;
    DocumentWindows m_documents;
    StudentStep m_studentStep;
    QPointer<StartWindow> m_startWindow;
    QPointer<SettingsWindow> m_settingsWindow;
    QPointer<AboutWindow> m_aboutWindow;
    QPointer<ExamEditorWindow> m_examEditor;
    QPointer<BankWindow> m_bankWindow;
    QPointer<ExamChooserWindow> m_examChooser;
    QPointer<ResultsWindow> m_resultsWindow;
    QPointer<LabWindow> m_labWindow;
    ChooserOpener m_chooserOpener = ChooserOpener::Settings;
    QPointer<QuestionnaireWindow> m_testWindow;
    QPointer<TicketWindow> m_ticketWindow;
    QPointer<PictureSizeWindow> m_pictureSizeWindow;
    QPointer<AnswersReviewWindow> m_answersReviewWindow;
    QPointer<EvaluationWindow> m_evaluationWindow;
    // The running ticket, from the draw until its sheet is closed.
    QPointer<TicketSession> m_session;
    // The journal found at start, until it is continued or discarded.
    std::optional<TicketJournal::Record> m_unfinished;
    bool m_ended = false;
    QTranslator m_qtTexts;
    bool m_qtTextsInstalled = false;
};
