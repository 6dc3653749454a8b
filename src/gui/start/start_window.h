#pragma once

#include "core/program/student.h"
#include "gui/common/captions.h"

#include <QWidget>

class ActiveLabel;
class Application;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// Form1: language, exam or test mode, the student's data and the choice of a ticket.
// Its controls hold the student's name, the ticket number, the ticket folder name and
// the exam title, which the ticket and evaluation windows read.
class StartWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit StartWindow(Application &app);

    // The teacher has closed the settings: their language, exam title and number of
    // tickets take effect here.
    void takeSettings();

    // Timer1's tick, 500 ms after a draw.
    void onTimer1();

    // What the student chose, for the ticket and evaluation windows.
    Student student() const;
    // The ticket number as drawn or typed, and its folder name ("b7") when that folder exists.
    QString ticketNumber() const;
    QString ticketFolderName() const;
    // The exam title shown with the ticket.
    QString examTitle() const;

    // Back to the student step with empty data fields, for the next student.
    void nextStudent();
    // A newly chosen exam needs a new ticket choice: the drawn folder is forgotten and
    // "Открыть билет" disabled.
    void clearTicketChoice();
    // Covers the mode choice with the offer to continue or discard the ticket a crash cut off,
    // until one of them succeeds.
    void offerUnfinishedTicket(const QString &studentName, const QString &ticketFolderName);
    // Back to the mode choice with the questionnaire's mode unselected (after the
    // questionnaire window closes).
    void showModeChoice();

private:
    // Language, stored password, number of tickets, exam title (hidden carriers).
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

    QString examFolder() const;
    void showExamTitle();
    QString language() const;
    void messageByLanguage(const QString &russian, const QString &english);
    void buildControls();
    void connectHandlers();
    void load();
    CaptionTable captionTable() const;

    void selectExamMode();
    void selectTestMode();
    void confirmStudent();
    void drawTicket();
    void manualEntryToggled(bool ticked);
    void endManualEntry();
    void showManualEntry(bool ticked);
    void ticketFolderChanged(const QString &folderName);
    void openTicket();
    void openSettings();
    void backToModeChoice();

    Application &m_app;
};
