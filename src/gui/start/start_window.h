#pragma once

#include "core/program/language_policy.h"
#include "gui/common/captions.h"

#include <QPointer>
#include <QWidget>

class ActiveLabel;
class StudentStep;
class UnfinishedTicketPanel;
class WindowContext;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// Form1: language, exam or test mode, the student's data and the choice of a ticket.
// It shows the student step: the student, the chosen ticket and the exam title live there,
// and the controls that held them are its mirrors. What it asks of the program (another
// language, the settings, a ticket, the end) leaves it as a signal.
class StartWindow final : public QWidget
{
    Q_OBJECT

public:
    StartWindow(const WindowContext &context, StudentStep &step, QWidget *parent = nullptr);

    // The teacher has closed the settings: their language, exam title and number of
    // tickets take effect here.
    void takeSettings();

    // Timer1's tick, 500 ms after a draw.
    void onTimer1();

    // Back to the student step with empty data fields, for the next student.
    void nextStudent();
    // Covers the mode choice with the offer to continue or discard the ticket a crash cut off,
    // until the program withdraws it.
    void offerUnfinishedTicket(const QString &studentName, const QString &ticketFolderName);
    // The unfinished ticket was continued or discarded, or can no longer be continued.
    void withdrawUnfinishedTicketOffer();
    // Back to the mode choice with the questionnaire's mode unselected (after the
    // questionnaire window closes).
    void showModeChoice();

signals:
    // "rus" or "eng": the window is to be made anew in that language.
    void languageSwitched(const QString &language);
    void exitRequested();
    // Exam or test mode was chosen: the about window is shown with the help.
    void aboutRequested();
    // The questionnaire replaces this window.
    void testModeChosen();
    // A draw without an exam folder: the exam chooser replaces this window.
    void examChooserRequested();
    // The student step's ticket is to be opened; this window is hidden when it opened.
    void ticketRequested();
    // The right password was typed for the settings.
    void settingsRequested();
    // The offer of the unfinished ticket: continue it, or (the password checked) discard it.
    void unfinishedContinueRequested();
    void unfinishedDiscardRequested();

private:
    // Mirrors: the window's language, and the step's stored password, number of tickets and
    // exam title.
    ActiveLabel *Label4;
    QLineEdit *Text12;
    QLineEdit *Text3;
    QLineEdit *Text4;
    ActiveLabel *Label8;

    // Mode choice.
    QGroupBox *Frame3;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QRadioButton *Option3;
    QPushButton *Command4;

    // Student data.
    QGroupBox *Frame9;
    QLineEdit *Text9;
    QLineEdit *Text10;
    QLineEdit *Text11;
    QLineEdit *Text13;
    QPushButton *Command14;
    ActiveLabel *Label31;
    ActiveLabel *Label6;

    // Ticket choice.
    QGroupBox *Frame1;
    QPushButton *Command1;
    QPushButton *Command3;
    QCheckBox *Check1;
    QLineEdit *Text1;
    ActiveLabel *Label1;
    ActiveLabel *Label2;
    ActiveLabel *Label9;
    ActiveLabel *v1;
    ActiveLabel *o1;
    ActiveLabel *q1;

    // Route to the settings.
    QGroupBox *Frame2;
    ActiveLabel *Label3;
    QLineEdit *Text2;
    QPushButton *Command15;

    QPushButton *Command2;
    QPushButton *Command10;
    ActiveLabel *Label13;
    ActiveLabel *Label7;
    ActiveLabel *Label5;

    QTimer *Timer1;

    void messageByLanguage(const QString &russian, const QString &english);
    void buildControls();
    void connectHandlers();
    void connectStep();
    void load();
    void showStep();
    void showStudent();
    void showTicketFolderName(const QString &folderName);
    void showFirstQuestionFiles();
    void showManualEntry(bool open);
    void applyCaptionsOf(const CaptionTable &table, const QString &language);
    CaptionTable captionTable() const;

    void selectExamMode();
    void selectTestMode();
    void confirmStudent();
    void drawTicket();
    void manualEntryToggled(bool ticked);
    void openTicket();
    void openSettings();
    void backToModeChoice();

    const WindowContext &m_context;
    StudentStep &m_step;
    // The language of the settings when the window was made: its messages and help keep it.
    LanguagePolicy m_language;
    QPointer<UnfinishedTicketPanel> m_unfinishedPanel;
};
