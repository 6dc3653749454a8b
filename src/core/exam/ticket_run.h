#pragma once

#include "core/exam/exam_folder.h"
#include "core/exam/grade.h"
#include "core/exam/verdict.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// One ticket being answered: the questions are taken strictly in order, one answer each,
// against the number of questions of a ticket, under at most the ticket timer or the question
// timer. It reads the ticket's files and decides everything; the ticket window shows it.
// Questions are numbered 1 .. 20.
class TicketRun final : public QObject
{
    Q_OBJECT

public:
    static constexpr int Questions = ExamFolder::MaxQuestions;

    // The settings a ticket runs with, taken when it starts.
    struct Setup
    {
        QString examFolder;
        QString ticketNumber;
        // The number of questions of a ticket and the pass score, as typed in the settings.
        QString questionCount;
        QString passScore;
        bool ticketTimer = false;
        bool questionTimer = false;
        int countdownSeconds = 60;
        // Each question's answers in an order drawn for this ticket instead of the file's.
        bool shuffleAnswers = false;
    };

    enum class Opening {
        Opened,
        Unavailable, // not the question whose turn it is
        NoQuestion,  // its question file is missing or unreadable: the ticket is abandoned
    };

    // What an answer leads to.
    enum class Next {
        Nothing,        // the last question, or the next one lacks a file
        Unlocked,       // the next question may be opened
        TicketFinished, // the number of questions is reached: the student goes on to the grade
    };

    struct Choice
    {
        bool recorded = false; // false: no question was open for an answer
        bool right = false;
        Next next = Next::Nothing;
    };

    // Everything a ticket has come to, so that a ticket cut off by a crash can go on where it
    // stood. The question texts are those of the answered questions, empty for the others.
    struct State
    {
        std::array<QString, Questions> marks;
        std::array<QString, Questions> answeredTexts;
        std::array<bool, Questions> enabled{};
        int current = 0;
        bool answerable = false;
        QString grade;
        Verdict verdict = Verdict::None;
        int countdown = 0;
        bool ticketTimerRunning = false;
        bool questionTimerRunning = false;
        // With shuffled answers, the order each opened question shows its answers in: the
        // places in the answers file, shown first to last. Empty for a question not opened.
        std::array<QList<int>, Questions> answerOrders;

        bool operator==(const State &) const = default;
    };

    explicit TicketRun(const Setup &setup, QObject *parent = nullptr);

    // Where shuffled orders come from: numbers from 0 up to but not including 1. Without one
    // every question keeps the file's order.
    void setRandomSource(std::function<double()> random) { m_random = std::move(random); }

    const ExamTicket &ticket() const { return m_ticket; }
    const Setup &setup() const { return m_setup; }
    QString questionCount() const { return m_setup.questionCount; }
    QString passScore() const { return m_setup.passScore; }
    bool isTimed() const { return m_setup.ticketTimer || m_setup.questionTimer; }

    // The file names of question N as found when the ticket started, empty for a missing file.
    QString answersFile(int question) const;
    QString correctAnswerFile(int question) const;
    // The question file name until the question is answered, then the question text.
    QString questionEntry(int question) const;
    // A question without its answers or correct-answer file can never be reached.
    bool isMissing(int question) const;

    // Opens question 1 when it has its files and starts the timer that is switched on.
    // False when question 1 could not be read: the ticket is abandoned.
    bool start();
    // Instead of start(): takes up a ticket where it stood and shows the open question again;
    // a running timer goes on from the remaining seconds. False when the state does not fit
    // this ticket or the open question can no longer be read.
    bool resume(const State &state);
    State state() const;
    Opening open(int question);
    // The student's answer to the current question, compared exactly with the first line of
    // its correct-answer file. The ticket timer stops when no question is left to answer.
    Choice choose(const QString &answer);
    // The grade over the number of questions and, with a usable pass score, the verdict. A
    // missing pass score makes the grade "0" and leaves the verdict as it was; the other
    // problems change nothing.
    Grade::Result evaluate();

    // The one-second ticks of the ticket timer and of the question timer.
    void tickTicketTimer();
    void tickQuestionTimer();

    // The open question, 0 before the first one opens.
    int currentQuestion() const { return m_current; }
    bool isEnabled(int question) const;
    // Whether the open question still takes an answer.
    bool isAnswerable() const { return m_answerable; }
    QString mark(int question) const;
    // The open question: its text, offered answers (in the order shown), correct-answer lines
    // and picture file name (empty when it has no picture).
    QString questionText() const { return m_questionText; }
    const AnsiText::Lines &answers() const { return m_answers; }
    QStringList correctAnswerLines() const { return m_correctAnswerLines; }
    QString pictureFile() const { return m_pictureFile; }

    QString grade() const { return m_grade; }
    Verdict verdict() const { return m_verdict; }
    int countdown() const { return m_countdown; }
    // The countdown as the student reads it: minutes and seconds, "14:58".
    static QString countdownText(int seconds);
    bool isTicketTimerRunning() const { return m_ticketTimerRunning; }
    bool isQuestionTimerRunning() const { return m_questionTimerRunning; }

    // The marks "0", "2" or "5" of questions 1 .. 20.
    QStringList marks() const;

signals:
    void questionOpened(int question);
    void questionEnabledChanged(int question, bool enabled);
    void answerableChanged(bool answerable);
    void markChanged(int question, const QString &mark);
    // The student's answer to the question, as chosen (a resumed ticket repeats none).
    void answered(int question, const QString &answer);
    void questionEntryChanged(int question, const QString &entry);
    void gradeChanged(const QString &grade);
    // Also when an evaluation repeats the verdict: the verdict follows every evaluation.
    void verdictChanged(Verdict verdict);
    void countdownChanged(int seconds);
    // Emitted on every start and stop; a start begins a new second.
    void ticketTimerSwitched(bool running);
    void questionTimerSwitched(bool running);
    void expired();
    // After every start, opening, answer, evaluation and tick: the ticket has come to a new
    // state as a whole.
    void stepped();

private:
    // A question text as a text box holds it: every line end one LF, a no-break space a space.
    static QString asShown(const QString &text);
    // Reads the question's answers, correct-answer lines, picture name and text; false when
    // its question file is missing or cannot be read.
    bool readQuestion(int question);
    // Puts the open question's answers into the order drawn for it, drawing one when the
    // question has none yet or the answers file no longer has as many answers.
    void orderAnswers(int question);
    bool fits(const State &state) const;
    Grade::Result computeGrade();
    bool isValidQuestion(int question) const { return question >= 1 && question <= Questions; }
    void setEnabled(int question, bool enabled);
    void setAnswerable(bool answerable);
    void setVerdict(Verdict verdict);
    void setCountdown(int seconds);
    void switchTicketTimer(bool running);
    void switchQuestionTimer(bool running);
    void restartQuestionTimer();
    void expire();

    Setup m_setup;
    ExamTicket m_ticket;
    std::array<QString, Questions> m_answersFiles;
    std::array<QString, Questions> m_correctAnswerFiles;
    std::array<QString, Questions> m_questionEntries;
    // Whether each question had its question, answers and correct-answer files at the start.
    std::array<bool, Questions> m_complete{};
    std::array<QString, Questions> m_marks;
    std::array<bool, Questions> m_enabled{};
    std::array<QList<int>, Questions> m_answerOrders;
    std::function<double()> m_random;

    int m_current = 0;
    bool m_answerable = false;
    QString m_questionText;
    AnsiText::Lines m_answers;
    QStringList m_correctAnswerLines;
    QString m_pictureFile;

    QString m_grade;
    Verdict m_verdict = Verdict::None;
    // The remaining seconds of the running timer, shared by both timers; 16 bits wide.
    qint16 m_countdown = 0;
    bool m_ticketTimerRunning = false;
    bool m_questionTimerRunning = false;
};
