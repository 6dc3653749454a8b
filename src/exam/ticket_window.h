#pragma once

#include "config/captions.h"
#include "exam/exam_folder.h"

#include <QWidget>

#include <array>

class ActiveLabel;
class Application;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// Form2: one ticket of the current exam for one student. The questions are taken strictly in
// order, one answer each; the marks, the question texts, the ticket line and the verdict stay
// in its controls for the evaluation window, which reads them when the ticket is closed.
//
// The families are arrays indexed from 0: txt[0] is txt1 (the mark of question 1), Option[19]
// is Option20. Every element carries its own objectName ("txt1" ... "txt20").
class TicketWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Questions = ExamFolder::MaxQuestions;

    explicit TicketWindow(Application &app);

    // Reads the ticket, opens question 1 and starts the timer. Returns false when the ticket
    // had to be abandoned (its first question could not be read); the window is then discarded.
    bool load();

    // The one-second ticks of the ticket timer and of the question timer.
    void onTimer2();
    void onTimer3();

    // The question whose button is selected, 1 .. 20; 0 when none is.
    int currentQuestion() const;

    // Language, ticket number, exam title, ticket line.
    ActiveLabel *Label15;
    QLineEdit *Text1;
    ActiveLabel *Label27;
    ActiveLabel *Label17;

    // The current question: its text, offered answers, correct-answer lines, picture.
    ActiveLabel *Label12;
    QPlainTextEdit *Text3;
    ActiveLabel *Label13;
    QListWidget *List1;
    QListWidget *List2;
    QLineEdit *Text4;
    QLabel *Image1;

    // Per question: the answers, correct-answer and question file names when present;
    // after an answer q holds the question text.
    std::array<ActiveLabel *, Questions> v;
    std::array<ActiveLabel *, Questions> o;
    std::array<ActiveLabel *, Questions> q;

    // The question buttons, their coloured rectangles and their number labels.
    QGroupBox *Frame2;
    std::array<QRadioButton *, Questions> Option;
    std::array<QFrame *, Questions> Shape;
    ActiveLabel *Label1;
    ActiveLabel *Label2;
    ActiveLabel *Label3;
    ActiveLabel *Label4;
    ActiveLabel *Label6;
    ActiveLabel *Label7;
    ActiveLabel *Label8;
    ActiveLabel *Label9;
    ActiveLabel *Label10;
    ActiveLabel *Label11;
    ActiveLabel *Label16;
    ActiveLabel *Label18;
    ActiveLabel *Label19;
    ActiveLabel *Label20;
    ActiveLabel *Label21;
    ActiveLabel *Label22;
    ActiveLabel *Label23;
    ActiveLabel *Label24;
    ActiveLabel *Label25;
    ActiveLabel *Label26;

    // Hidden holders: the marks, the number of questions, the pass score and the grade.
    QGroupBox *Frame1;
    std::array<QLineEdit *, Questions> txt;
    QLineEdit *txtV;
    QLineEdit *Text5;
    QLineEdit *txtZ;

    // Verdict and countdown.
    ActiveLabel *Label5;
    ActiveLabel *Label14;
    ActiveLabel *Label28;

    QCheckBox *Check1;
    QPushButton *Command3;
    QPushButton *Command1;
    QPushButton *Command2;

    QTimer *Timer2;
    QTimer *Timer3;

private:
    void buildControls();
    void buildQuestionButtons();
    void connectHandlers();
    CaptionTable captionTable() const;
    QString language() const;
    ExamTicket ticket() const;

    void colourQuestion(int question, const QColor &colour);
    void openQuestion(int question);
    void abandon();
    void widenAnswers();
    void chooseAnswer(const QString &chosen);
    void reviewModeToggled(bool on);
    void evaluate();
    void gradeChanged();
    void expire();
    void restartQuestionTimer();
    bool questionTimerOn() const;
    bool ticketTimerOn() const;

    Application &m_app;
    // The remaining seconds of the running timer, shared by both timers.
    qint16 m_countdown = 0;
    // The widest answer entry of this ticket, in pixels; it only grows.
    int m_widestAnswer = 0;
    bool m_abandoned = false;
};
