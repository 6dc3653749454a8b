#include "core/exam/ticket_run.h"

#include <algorithm>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

TicketRun::TicketRun(const Setup &setup, QObject *parent)
    : QObject(parent), m_setup(setup), m_ticket(setup.examFolder, setup.ticketNumber)
{
    m_marks.fill(u"0"_s);
    for (int n = 1; n <= Questions; ++n) {
        m_answersFiles[n - 1] = m_ticket.presentName(ExamFolder::answersFile(n));
        m_correctAnswerFiles[n - 1] = m_ticket.presentName(ExamFolder::correctAnswerFile(n));
        m_questionEntries[n - 1] = m_ticket.presentName(ExamFolder::questionFile(n));
        m_complete[n - 1] = m_ticket.isComplete(n);
    }
}

QString TicketRun::countdownText(int seconds)
{
    const int left = std::max(seconds, 0);
    return QString::number(left / 60) + u':' + QString::number(left % 60).rightJustified(2, u'0');
}

QString TicketRun::answersFile(int question) const
{
    return isValidQuestion(question) ? m_answersFiles[question - 1] : QString();
}

QString TicketRun::correctAnswerFile(int question) const
{
    return isValidQuestion(question) ? m_correctAnswerFiles[question - 1] : QString();
}

QString TicketRun::questionEntry(int question) const
{
    return isValidQuestion(question) ? m_questionEntries[question - 1] : QString();
}

bool TicketRun::isMissing(int question) const
{
    return answersFile(question).isEmpty() || correctAnswerFile(question).isEmpty();
}

bool TicketRun::isEnabled(int question) const
{
    return isValidQuestion(question) && m_enabled[question - 1];
}

QString TicketRun::mark(int question) const
{
    return isValidQuestion(question) ? m_marks[question - 1] : QString();
}

QStringList TicketRun::marks() const
{
    return QStringList(m_marks.begin(), m_marks.end());
}

bool TicketRun::start()
{
    for (int n = 2; n <= Questions; ++n)
        setEnabled(n, false);
    // Without its answers or correct answer question 1 is not opened: nothing can be answered.
    setEnabled(1, !isMissing(1));
    if (isEnabled(1) && open(1) == Opening::NoQuestion)
        return false;

    if (m_setup.ticketTimer)
        setCountdown(m_setup.countdownSeconds);
    switchTicketTimer(m_setup.ticketTimer);
    if (m_setup.questionTimer)
        setCountdown(m_setup.countdownSeconds);
    switchQuestionTimer(m_setup.questionTimer);
    emit stepped();
    return true;
}

TicketRun::Opening TicketRun::open(int question)
{
    if (!isEnabled(question))
        return Opening::Unavailable;
    m_current = question;
    setAnswerable(true);
    // A question file that went missing or cannot be read ends the ticket.
    if (!readQuestion(question)) {
        setAnswerable(false);
        switchTicketTimer(false);
        switchQuestionTimer(false);
        emit stepped();
        return Opening::NoQuestion;
    }
    restartQuestionTimer();
    emit questionOpened(question);
    emit stepped();
    return Opening::Opened;
}

bool TicketRun::readQuestion(int question)
{
    m_pictureFile = m_ticket.presentName(ExamFolder::pictureFile(question));
    m_answers = m_ticket.answers(question);
    m_correctAnswerLines = m_ticket.correctAnswerLines(question);
    if (m_setup.shuffleAnswers)
        orderAnswers(question);
    const std::optional<QString> text = questionEntry(question).isEmpty()
                                            ? std::nullopt
                                            : m_ticket.questionText(question);
    if (!text)
        return false;
    m_questionText = asShown(*text);
    return true;
}

void TicketRun::orderAnswers(int question)
{
    QList<int> &order = m_answerOrders[question - 1];
    QList<int> places(m_answers.size());
    std::iota(places.begin(), places.end(), 0);
    QList<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    if (sorted != places) {
        // Fisher and Yates: each place in turn, from the last, swaps with itself or one before it,
        // so that every order is as likely as any other.
        order = places;
        for (qsizetype i = order.size() - 1; i > 0 && m_random; --i) {
            const auto j = std::min(i, qsizetype(m_random() * double(i + 1)));
            std::swap(order[i], order[j]);
        }
    }
    // The answers as a list of lines of their own, so that the window shows them as it shows
    // the file's.
    QByteArray shown;
    for (const int place : order) {
        shown.append(m_answers.bytesAt(place));
        shown.append(AnsiText::LineEnd);
    }
    m_answers = AnsiText::Lines(shown);
}

bool TicketRun::fits(const State &state) const
{
    const QStringList known = {u"0"_s, u"2"_s, u"5"_s};
    for (int n = 1; n <= Questions; ++n) {
        const QString &mark = state.marks[n - 1];
        if (!known.contains(mark))
            return false;
        // Only a question the ticket can reach can have been answered or be open to an answer.
        const bool reached = mark != u"0"_s || state.enabled[n - 1] || state.current == n;
        if (reached && !m_complete[n - 1])
            return false;
        if (mark == u"0"_s && !state.answeredTexts[n - 1].isEmpty())
            return false;
    }
    if (state.current < 0 || state.current > Questions)
        return false;
    if (state.countdown < 0 || state.countdown > std::numeric_limits<qint16>::max())
        return false;
    return (m_setup.ticketTimer || !state.ticketTimerRunning)
           && (m_setup.questionTimer || !state.questionTimerRunning);
}

bool TicketRun::resume(const State &state)
{
    if (!fits(state))
        return false;
    m_answerOrders = state.answerOrders;
    if (state.current > 0) {
        m_current = state.current;
        if (!readQuestion(m_current))
            return false;
    }
    for (int n = 1; n <= Questions; ++n) {
        setEnabled(n, state.enabled[n - 1]);
        if (state.marks[n - 1] == u"0"_s)
            continue;
        m_marks[n - 1] = state.marks[n - 1];
        emit markChanged(n, m_marks[n - 1]);
        m_questionEntries[n - 1] = state.answeredTexts[n - 1];
        emit questionEntryChanged(n, m_questionEntries[n - 1]);
    }
    if (m_current > 0) {
        setAnswerable(state.answerable);
        emit questionOpened(m_current);
    }
    if (!state.grade.isEmpty()) {
        m_grade = state.grade;
        emit gradeChanged(m_grade);
    }
    if (state.verdict != Verdict::None)
        setVerdict(state.verdict);
    if (isTimed())
        setCountdown(state.countdown);
    switchTicketTimer(state.ticketTimerRunning);
    switchQuestionTimer(state.questionTimerRunning);
    emit stepped();
    return true;
}

TicketRun::State TicketRun::state() const
{
    State state;
    state.marks = m_marks;
    for (int n = 1; n <= Questions; ++n) {
        if (m_marks[n - 1] != u"0"_s)
            state.answeredTexts[n - 1] = m_questionEntries[n - 1];
    }
    state.enabled = m_enabled;
    state.current = m_current;
    state.answerable = m_answerable;
    state.grade = m_grade;
    state.verdict = m_verdict;
    state.countdown = m_countdown;
    state.ticketTimerRunning = m_ticketTimerRunning;
    state.questionTimerRunning = m_questionTimerRunning;
    state.answerOrders = m_answerOrders;
    return state;
}

TicketRun::Choice TicketRun::choose(const QString &answer)
{
    // One answer per question: once answered or out of time nothing more is recorded.
    if (!m_answerable || m_current == 0)
        return {};
    setAnswerable(false);

    const int n = m_current;
    Choice choice;
    choice.recorded = true;
    const QString correct = m_correctAnswerLines.isEmpty() ? QString() : m_correctAnswerLines.first();
    choice.right = answer == correct;
    m_marks[n - 1] = choice.right ? u"5"_s : u"2"_s;
    emit markChanged(n, m_marks[n - 1]);
    emit answered(n, answer);

    // The next question needs all three of its files, as they were when the ticket started.
    const int next = n + 1;
    if (isValidQuestion(next) && m_complete[next - 1]) {
        const auto count = Grade::readScore(m_setup.questionCount);
        if (count && *count > Fixed::fromInt(n)) {
            setEnabled(n, false);
            setEnabled(next, true);
            choice.next = Next::Unlocked;
        } else {
            choice.next = Next::TicketFinished;
        }
    }
    m_questionEntries[n - 1] = m_questionText;
    emit questionEntryChanged(n, m_questionText);

    if (m_setup.questionTimer)
        switchQuestionTimer(false);
    // Nothing is left to answer: a verdict reached in time must not be replaced by the timer.
    if (choice.next != Next::Unlocked && m_ticketTimerRunning)
        switchTicketTimer(false);
    emit stepped();
    return choice;
}

Grade::Result TicketRun::evaluate()
{
    const Grade::Result result = computeGrade();
    emit stepped();
    return result;
}

Grade::Result TicketRun::computeGrade()
{
    const Grade::Result result = Grade::compute(marks(), m_setup.questionCount, m_setup.passScore);
    if (result.problem == Grade::Problem::NoPassScore) {
        if (m_grade != u"0"_s) {
            m_grade = u"0"_s;
            emit gradeChanged(m_grade);
        }
        return result;
    }
    if (result.problem != Grade::Problem::None)
        return result;

    const QString grade = result.grade.toString();
    if (m_grade != grade) {
        m_grade = grade;
        emit gradeChanged(m_grade);
    }
    const Verdict verdict = Grade::verdict(m_grade, m_setup.passScore);
    if (verdict != Verdict::None)
        setVerdict(verdict);
    return result;
}

void TicketRun::tickTicketTimer()
{
    // A tick that was already on its way when the timer stopped changes nothing.
    if (!m_ticketTimerRunning)
        return;
    setCountdown(m_countdown - 1);
    if (m_countdown <= 0) {
        switchTicketTimer(false);
        expire();
    }
    emit stepped();
}

void TicketRun::tickQuestionTimer()
{
    if (!m_questionTimerRunning)
        return;
    setCountdown(m_countdown - 1);
    if (m_countdown <= 0) {
        switchQuestionTimer(false);
        // Any question without a mark counts, not only the open one.
        const bool unanswered = std::any_of(m_marks.begin(), m_marks.end(), [](const QString &mark) {
            const auto value = Grade::readScore(mark);
            return !value || value->isZero();
        });
        if (unanswered)
            expire();
    }
    emit stepped();
}

QString TicketRun::asShown(const QString &text)
{
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    shown.replace(u'\r', u'\n');
    shown.replace(QChar::Nbsp, u' ');
    return shown;
}

void TicketRun::setEnabled(int question, bool enabled)
{
    if (m_enabled[question - 1] == enabled)
        return;
    m_enabled[question - 1] = enabled;
    emit questionEnabledChanged(question, enabled);
}

void TicketRun::setAnswerable(bool answerable)
{
    if (m_answerable == answerable)
        return;
    m_answerable = answerable;
    emit answerableChanged(answerable);
}

void TicketRun::setVerdict(Verdict verdict)
{
    m_verdict = verdict;
    emit verdictChanged(verdict);
}

void TicketRun::setCountdown(int seconds)
{
    m_countdown = qint16(seconds);
    emit countdownChanged(m_countdown);
}

void TicketRun::switchTicketTimer(bool running)
{
    m_ticketTimerRunning = running;
    emit ticketTimerSwitched(running);
}

void TicketRun::switchQuestionTimer(bool running)
{
    m_questionTimerRunning = running;
    emit questionTimerSwitched(running);
}

void TicketRun::restartQuestionTimer()
{
    if (m_setup.questionTimer)
        setCountdown(m_setup.countdownSeconds);
    switchQuestionTimer(m_setup.questionTimer);
}

void TicketRun::expire()
{
    setAnswerable(false);
    setVerdict(Verdict::FailedOnTime);
    emit expired();
}
