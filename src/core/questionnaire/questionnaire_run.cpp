#include "core/questionnaire/questionnaire_run.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The sum, or nothing when either side is not a number or the sum leaves the range.
QuestionnaireRun::Points add(QuestionnaireRun::Points a, QuestionnaireRun::Points b)
{
    return a && b ? *a + *b : std::nullopt;
}

} // namespace

QuestionnaireRun::QuestionnaireRun(QObject *parent) : QObject(parent)
{
    m_collected.fill(Fixed());
}

Fixed QuestionnaireRun::numberOrZero(const QString &text)
{
    return Fixed::parse(text).value_or(Fixed());
}

QString QuestionnaireRun::pointsText(Points points)
{
    return points ? points->toString() : QString();
}

std::optional<int> QuestionnaireRun::chooseConclusion(Points total, const std::array<Fixed, Conclusions> &bounds)
{
    if (!total)
        return std::nullopt;
    const Fixed value = *total;
    const auto [b1, b2, b3] = bounds;
    if (value <= b1 && value <= b2 && value <= b3)
        return 1;
    if (value >= b1 && value <= b2 && value <= b3)
        return 2;
    if (value >= b1 && value >= b2 && value <= b3)
        return 3;
    return std::nullopt;
}

void QuestionnaireRun::setQuestionCount(int count)
{
    if (m_questionCount == count)
        return;
    m_questionCount = count;
    emit questionCountChanged(count);
}

void QuestionnaireRun::setQuestionNumber(const QString &number)
{
    if (m_questionNumber == number)
        return;
    m_questionNumber = number;
    emit questionNumberChanged(number);
}

void QuestionnaireRun::rewind()
{
    setQuestionNumber(u"1"_s);
    m_counter = 1;
}

void QuestionnaireRun::collect(int slot, const QString &points)
{
    setCollected(slot, add(m_collected[slot], numberOrZero(points)));
}

void QuestionnaireRun::clearCollected()
{
    for (int slot = 0; slot < AnswerSlots; ++slot)
        setCollected(slot, Fixed());
}

void QuestionnaireRun::clearTotal()
{
    setTotal(false, std::nullopt);
}

QuestionnaireRun::Step QuestionnaireRun::next()
{
    if (!m_questionCount || m_questionNumber.isEmpty())
        return Step::NoQuestionnaire;
    // A question beyond the counter's 16 bits cannot be counted: the run ends there too.
    if (numberOrZero(m_questionNumber) >= Fixed::fromInt(*m_questionCount)
        || m_counter == std::numeric_limits<qint16>::max())
        return Step::Ended;
    const qint16 following = m_counter + 1;
    // The number first: showing it loads the question while the counter is still the old one.
    setQuestionNumber(QString::number(following));
    m_counter = following;
    return Step::NextQuestion;
}

bool QuestionnaireRun::finish(const std::array<QString, Conclusions> &bounds)
{
    Points total = Fixed();
    for (const Points &collected : m_collected)
        total = add(total, collected);
    setTotal(true, total);
    emit concluded(chooseConclusion(total, {numberOrZero(bounds[0]), numberOrZero(bounds[1]),
                                            numberOrZero(bounds[2])}));
    return total.has_value();
}

void QuestionnaireRun::restart()
{
    rewind();
    clearCollected();
    clearTotal();
}

void QuestionnaireRun::setCollected(int slot, Points points)
{
    if (m_collected[slot] == points)
        return;
    m_collected[slot] = points;
    emit collectedChanged(slot, points);
}

void QuestionnaireRun::setTotal(bool has, Points total)
{
    if (m_hasTotal == has && m_total == total)
        return;
    m_hasTotal = has;
    m_total = total;
    emit totalChanged(total);
}
