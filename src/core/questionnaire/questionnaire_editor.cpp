#include "core/questionnaire/questionnaire_editor.h"

#include "core/questionnaire/questionnaire_run.h"

#include <limits>

using namespace Qt::StringLiterals;

QuestionnaireEditor::QuestionnaireEditor(QuestionnaireRun &run, QObject *parent)
    : QObject(parent), m_run(run)
{
}

QString QuestionnaireEditor::markerText(Source source)
{
    switch (source) {
    case Source::Typed:
        return u"1"_s;
    case Source::File:
        return u"3"_s;
    case Source::None:
        break;
    }
    return u"0"_s;
}

QString QuestionnaireEditor::markerText(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

void QuestionnaireEditor::setSource(Source source)
{
    if (m_source == source)
        return;
    m_source = source;
    emit sourceChanged(source);
}

void QuestionnaireEditor::setOpen(bool open)
{
    if (m_open == open)
        return;
    m_open = open;
    emit openChanged(open);
}

void QuestionnaireEditor::setCreating(bool creating)
{
    if (m_creating == creating)
        return;
    m_creating = creating;
    emit creatingChanged(creating);
}

void QuestionnaireEditor::rewindBrowse()
{
    m_browseCounter = 1;
}

void QuestionnaireEditor::backToFirstQuestion()
{
    m_run.setQuestionNumber(u"1"_s);
    m_browseCounter = 1;
}

QuestionnaireEditor::Browse QuestionnaireEditor::browse()
{
    const Fixed count = Fixed::fromInt(m_run.questionCount().value_or(0));
    if (QuestionnaireRun::numberOrZero(m_run.questionNumber()) >= count
        || m_browseCounter == std::numeric_limits<qint16>::max())
        return Browse::Ended;
    const qint16 following = m_browseCounter + 1;
    m_run.setQuestionNumber(QString::number(following));
    m_browseCounter = following;
    return Browse::NextQuestion;
}

QString QuestionnaireEditor::followingNumber(const QString &number)
{
    const auto parsed = Fixed::parse(number);
    const auto whole = parsed ? parsed->toInt16() : std::nullopt;
    return whole && *whole < std::numeric_limits<qint16>::max() ? QString::number(*whole + 1) : QString();
}
