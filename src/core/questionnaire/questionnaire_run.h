#pragma once

#include "core/files/fixed_point.h"
#include "core/questionnaire/questionnaire_file.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

// A questionnaire being run: which question is shown, how many there are, the points
// collected through each answer slot, and at the end the total and the conclusion whose
// range holds it. The next question is always the following number, whatever was answered;
// the run does not lock at its end, so a further answer adds again and ends again.
//
// Points, bounds and numbers come as the boxes hold them: text in the user's locale, where a
// text that is not a number counts as 0. The sums are checked: a sum beyond the range of the
// count is "not a number" and stays so until the points are cleared.
class QuestionnaireRun final : public QObject
{
    Q_OBJECT

public:
    static constexpr int AnswerSlots = QuestionnaireFile::AnswerSlots;
    static constexpr int Conclusions = QuestionnaireFile::Conclusions;

    // Collected points or a total; nothing when a sum left the range ("not a number").
    using Points = std::optional<Fixed>;

    // Where a step of the run leads.
    enum class Step {
        NoQuestionnaire, // no questionnaire open, or no question number
        NextQuestion,    // the following question is shown
        Ended,           // the last question was answered: finish() gives the total
    };

    explicit QuestionnaireRun(QObject *parent = nullptr);

    // A number of a box or of the questionnaire file; text that is not a number counts as 0.
    static Fixed numberOrZero(const QString &text);
    // Points as a hidden box shows them: the shortest decimal text, nothing for "not a number".
    static QString pointsText(Points points);
    // The conclusion (1, 2 or 3) whose range holds the total, tested in this order:
    // total <= b1, b2, b3 gives 1; total >= b1 and <= b2, b3 gives 2; total >= b1, b2 and
    // <= b3 gives 3. A total equal to a bound belongs to the lower range. Nothing matches a
    // total above b3, bounds that leave a gap, or a total that is not a number.
    static std::optional<int> chooseConclusion(Points total, const std::array<Fixed, Conclusions> &bounds);

    // The number of questions of the open questionnaire; nothing before one is opened.
    std::optional<int> questionCount() const { return m_questionCount; }
    void setQuestionCount(int count);

    // The number of the question shown, as typed or set: the user may type another one.
    QString questionNumber() const { return m_questionNumber; }
    void setQuestionNumber(const QString &number);

    // The run's 16-bit question counter: the step to the next question shows counter + 1.
    qint16 counter() const { return m_counter; }
    // Back to question 1 with the counter at 1; the points stay.
    void rewind();

    Points collected(int slot) const { return m_collected[slot]; }
    // Adds the points of an answer (0 ... 4) to its slot.
    void collect(int slot, const QString &points);
    void clearCollected();

    // The total of the last end; nothing before an end and after clearTotal().
    bool hasTotal() const { return m_hasTotal; }
    Points total() const { return m_total; }
    void clearTotal();

    // The step after an answer. At the last question (or when the counter can count no
    // further) the run ends; otherwise the following question is shown.
    Step next();
    // The end: the total of the slots and the conclusion its range chooses among the bounds
    // (texts as the bound boxes hold them). False when the total is not a number.
    bool finish(const std::array<QString, Conclusions> &bounds);

    // "Сброс": question 1, counter 1, nothing collected, no total.
    void restart();

signals:
    void questionCountChanged(int count);
    void questionNumberChanged(const QString &number);
    void collectedChanged(int slot, QuestionnaireRun::Points points);
    void totalChanged(QuestionnaireRun::Points total);
    // After finish(): the conclusion chosen, or nothing when no range holds the total.
    void concluded(std::optional<int> conclusion);

private:
    void setCollected(int slot, Points points);
    void setTotal(bool has, Points total);

    std::optional<int> m_questionCount;
    QString m_questionNumber;
    qint16 m_counter = 1;
    std::array<Points, AnswerSlots> m_collected;
    bool m_hasTotal = false;
    Points m_total;
};
