#pragma once

#include "core/exam/exam_folder.h"
#include "core/exam/ticket_run.h"
#include "gui/common/captions.h"

#include <QWidget>

#include <array>
#include <optional>

class ActiveLabel;
class AnswerListModel;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPixmap;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class TicketSession;
class WindowContext;

// Form2: one ticket of the current exam for one student. It shows the TicketRun of a
// TicketSession, the model that decides everything, and turns the student's clicks into calls
// on it; its hidden holders (the marks, the file names, the number of questions, the pass score
// and the grade) mirror the model. What the ticket comes to is the session's outcome.
//
// The families are arrays indexed from 0: txt[0] is txt1 (the mark of question 1), Option[19]
// is Option20. Every element carries its own objectName ("txt1" ... "txt20").
class TicketWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Questions = ExamFolder::MaxQuestions;

    // The window follows the session's run, which must outlive it.
    TicketWindow(const WindowContext &context, TicketSession &session);

    // Shows the session's ticket and begins it: question 1 of a drawn ticket opens and its
    // timer starts, a resumed ticket goes on where its journal left it. False when a drawn
    // ticket had to be abandoned (its first question could not be read: said, and abandoned()
    // emitted) or a resumed one no longer fits its ticket's files (nothing is said then).
    bool load();

    // The one-second ticks of the ticket timer and of the question timer.
    void onTimer2();
    void onTimer3();

    // The question whose button is selected, 1 .. 20; 0 when none is.
    int currentQuestion() const;

    // Moves the window to that left edge, as far as the screen allows: a window pushed off
    // the screen could not be finished. The window is narrowed to the room beside that edge;
    // while it stands left of the edge, it moves again whenever its width changes (the window
    // system confirms a new width only later, and may first report the old one).
    void moveRightOf(int left);

    // "Выбрать" of the answers review window: review mode ends and the answer selected in the
    // list is chosen, as a click on it would choose it.
    void chooseReviewedAnswer();

signals:
    // The picture of the question opened, described by the question's text for screen
    // readers; a null picture clears it first.
    void pictureChanged(const QPixmap &picture, const QString &description);
    // An answer clicked in review mode, to be read whole in the answers review window.
    void answerReviewed(const QString &answer);
    // "Просмотр ответов без горизонтальной прокрутки" ticked or cleared: the answers review
    // window is wanted or no more.
    void answersReviewRequested(bool wanted);
    // "Закрыть": the ticket is done and goes to its result sheet.
    void closeRequested();
    // A question that cannot be read ends the ticket without a result.
    void abandoned();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Language, ticket number, exam title, ticket line.
    ActiveLabel *Label15;
    QLineEdit *Text1;
    ActiveLabel *Label27;
    ActiveLabel *Label17;

    // The current question: its text, offered answers, correct-answer lines, picture.
    ActiveLabel *Label12;
    QPlainTextEdit *Text3;
    ActiveLabel *Label13;
    QListView *List1;
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
    // Label1 ... Label26 in the order of the questions they number.
    std::array<ActiveLabel *, Questions> m_numberLabels;
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

    void buildControls();
    void buildQuestionButtons();
    void connectHandlers();
    void connectRun();
    CaptionTable captionTable() const;
    QString language() const;

    void colourQuestion(int question, const QColor &colour);
    void openQuestion(int question);
    void showQuestion(int question);
    void abandon();
    void widenAnswers();
    void measureAnswers(qsizetype count);
    void sizeAnswerRows();
    void chooseAnswer(const QString &chosen);
    void reviewModeToggled(bool on);
    void evaluate();
    // "Закрыть": the ticket ends and its sheet follows.
    void closeTicket();
    void showVerdict();
    // "Вопрос 2 из 5": the question among the ticket's, in the ticket's language.
    QString questionHeading(int question) const;
    // The question button's spoken name: its number and its state.
    void nameQuestionButton(int question);

    const WindowContext &m_context;
    TicketSession &m_session;
    // The session's run once load() has shown it.
    TicketRun *m_run = nullptr;
    // The widest answer entry of this ticket, in pixels; it only grows.
    int m_widestAnswer = 0;
    // List1's rows.
    AnswerListModel *m_answers = nullptr;
    // Answers shown but not yet measured (from `next` on in each list), how many they are, and
    // the timer that measures them in slices.
    struct UnmeasuredAnswers
    {
        AnsiText::Lines answers;
        qsizetype next = 0;
    };
    QList<UnmeasuredAnswers> m_unmeasuredAnswers;
    qsizetype m_unmeasuredCount = 0;
    QTimer *m_measuring = nullptr;
    // The left edge given to moveRightOf; unset before the first call.
    std::optional<int> m_besideLeft;
    // Moves the window as close to m_besideLeft as its present width allows.
    void placeBeside();
};
