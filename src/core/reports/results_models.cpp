#include "core/reports/results_models.h"

#include "core/exam/grade.h"
#include "core/reports/results_texts.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// A number written by the program (points, totals) as a value; nothing when it is none.
QVariant numberOf(const QString &text)
{
    const auto number = Grade::readScore(text);
    return number ? QVariant(number->toDouble()) : QVariant();
}

// A date or time that could not be read stays the text that was written.
QVariant dateValue(const QDate &date, const QString &text)
{
    return date.isValid() ? QVariant(date) : (text.isEmpty() ? QVariant() : QVariant(text));
}

QVariant timeValue(const QTime &time, const QString &text)
{
    return time.isValid() ? QVariant(time) : (text.isEmpty() ? QVariant() : QVariant(text));
}

QVariant shown(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime:
        return value.toTime().toString(u"HH:mm:ss"_s);
    case QMetaType::Double:
        return QLocale().toString(value.toDouble(), 'g', 15);
    default:
        return value;
    }
}

} // namespace

TicketResultsModel::TicketResultsModel(QObject *parent) : QAbstractTableModel(parent) {}

void TicketResultsModel::setResults(QList<TicketResult> results)
{
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
}

void TicketResultsModel::setLanguage(const QString &language)
{
    m_language = language;
    emit headerDataChanged(Qt::Horizontal, 0, Columns - 1);
    if (!m_results.isEmpty())
        emit dataChanged(index(0, Verdict), index(rowCount() - 1, Verdict));
}

int TicketResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

int TicketResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant TicketResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_results.size())
        return QVariant();
    const TicketResult &result = m_results[index.row()];
    const int column = index.column();
    if (role == Qt::ToolTipRole && column == Verdict && result.verdictKind == RecordedVerdict::Other)
        return ResultsTexts::verdict(result.verdictKind, m_language);
    if (role == Qt::TextAlignmentRole)
        return column >= FirstMark && column <= Line ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();

    QVariant value;
    if (column >= FirstMark && column < FirstMark + TicketResult::Questions) {
        const TicketResult::Mark mark = result.marks[column - FirstMark];
        if (mark == TicketResult::Unreadable)
            value = u"?"_s;
        else if (mark != TicketResult::NoMark)
            value = int(mark);
    } else {
        switch (column) {
        case Date: value = dateValue(result.date, result.dateText); break;
        case Time: value = timeValue(result.time, result.timeText); break;
        case Student: value = result.student; break;
        case Data: value = result.data; break;
        case Ticket:
            value = result.ticketNumber > 0 ? QVariant(result.ticketNumber) : QVariant(result.ticket);
            break;
        case Right:
            if (result.marksShown())
                value = result.count(TicketResult::Right);
            break;
        case Wrong:
            if (result.marksShown())
                value = result.count(TicketResult::Wrong);
            break;
        case Unanswered:
            if (result.marksShown())
                value = result.unanswered();
            break;
        case Verdict: value = result.verdict; break;
        case Line: value = result.line; break;
        default: break;
        }
    }
    if (role == Qt::DisplayRole)
        return shown(value);
    return value;
}

QVariant TicketResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section >= FirstMark && section < FirstMark + TicketResult::Questions)
        return QString::number(section - FirstMark + 1);
    const auto pick = [this](const QString &russian, const QString &english) {
        return ResultsTexts::pick(m_language, russian, english);
    };
    switch (section) {
    case Date: return pick(u"Дата"_s, u"Date"_s);
    case Time: return pick(u"Время"_s, u"Time"_s);
    case Student: return pick(u"Ф.И.О"_s, u"Student"_s);
    case Data: return pick(u"Дополнительные сведения"_s, u"Additional data"_s);
    case Ticket: return pick(u"Билет"_s, u"Ticket"_s);
    case Right: return pick(u"Верно"_s, u"Right"_s);
    case Wrong: return pick(u"Неверно"_s, u"Wrong"_s);
    case Unanswered: return pick(u"Без ответа"_s, u"Unanswered"_s);
    case Verdict: return pick(u"Вердикт"_s, u"Verdict"_s);
    case Line: return pick(u"Строка отчета"_s, u"Report line"_s);
    default: return QVariant();
    }
}

QuestionnaireRunsModel::QuestionnaireRunsModel(QObject *parent) : QAbstractTableModel(parent) {}

void QuestionnaireRunsModel::setRuns(QList<QuestionnaireRunResult> runs)
{
    beginResetModel();
    m_runs = std::move(runs);
    m_answers = 0;
    for (const QuestionnaireRunResult &run : std::as_const(m_runs))
        m_answers = std::max(m_answers, int(run.answers.size()));
    endResetModel();
}

void QuestionnaireRunsModel::setLanguage(const QString &language)
{
    m_language = language;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int QuestionnaireRunsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_runs.size());
}

int QuestionnaireRunsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FirstAnswer + 2 * m_answers;
}

QVariant QuestionnaireRunsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_runs.size())
        return QVariant();
    const QuestionnaireRunResult &run = m_runs[index.row()];
    const int column = index.column();
    if (column >= FirstAnswer) {
        const int answer = (column - FirstAnswer) / 2;
        if (answer >= run.answers.size())
            return QVariant();
        if (role == Qt::ToolTipRole)
            return run.answers[answer].question;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    // Line breaks of a conclusion show as blanks in the table's one line.
    const auto oneLine = [role](const QString &text) {
        return role == Qt::DisplayRole ? QString(text).replace(u'\n', u' ') : text;
    };
    QVariant value;
    switch (column) {
    case Date: value = dateValue(run.date, run.dateText); break;
    case Time: value = timeValue(run.time, run.timeText); break;
    case Name: value = run.name; break;
    case Total: value = role == Qt::DisplayRole ? QVariant(run.total) : numberOf(run.total); break;
    case Conclusion: value = oneLine(run.conclusion); break;
    default: {
        const QuestionnaireAnswer &answer = run.answers[(column - FirstAnswer) / 2];
        if ((column - FirstAnswer) % 2 == 0)
            value = oneLine(answer.answer);
        else
            value = role == Qt::DisplayRole ? QVariant(answer.points) : numberOf(answer.points);
    }
    }
    return role == Qt::DisplayRole ? shown(value) : value;
}

QVariant QuestionnaireRunsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto pick = [this](const QString &russian, const QString &english) {
        return ResultsTexts::pick(m_language, russian, english);
    };
    switch (section) {
    case Date: return pick(u"Дата"_s, u"Date"_s);
    case Time: return pick(u"Время"_s, u"Time"_s);
    case Name: return pick(u"Тест"_s, u"Test"_s);
    case Total: return pick(u"Общий балл"_s, u"Total"_s);
    case Conclusion: return pick(u"Вывод"_s, u"Conclusion"_s);
    default: {
        const QString number = QString::number((section - FirstAnswer) / 2 + 1);
        if ((section - FirstAnswer) % 2 == 0)
            return QString(pick(u"Ответ "_s, u"Answer "_s) + number);
        return QString(pick(u"Баллы "_s, u"Points "_s) + number);
    }
    }
}

ResultsFilterModel::ResultsFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(Qt::EditRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void ResultsFilterModel::setFilter(const ResultsFilter &filter)
{
    m_filter = filter;
    invalidateFilter();
}

QList<TicketResult> ResultsFilterModel::shownTickets() const
{
    QList<TicketResult> shown;
    const auto *tickets = qobject_cast<const TicketResultsModel *>(sourceModel());
    if (!tickets)
        return shown;
    shown.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        shown << tickets->results()[mapToSource(index(row, 0)).row()];
    return shown;
}

bool ResultsFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (const auto *tickets = qobject_cast<const TicketResultsModel *>(sourceModel()))
        return m_filter.accepts(tickets->results()[sourceRow]);
    if (const auto *runs = qobject_cast<const QuestionnaireRunsModel *>(sourceModel()))
        return m_filter.accepts(runs->runs()[sourceRow]);
    return true;
}

// Empty cells after every value; values of one kind by value, texts by the collation.
bool ResultsFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    if (!a.isValid() || !b.isValid())
        return a.isValid() && !b.isValid();
    if (a.metaType() == b.metaType() && a.metaType().id() != QMetaType::QString) {
        const QPartialOrdering order = QVariant::compare(a, b);
        return order == QPartialOrdering::Less;
    }
    if (a.metaType().id() != QMetaType::QString || b.metaType().id() != QMetaType::QString)
        return a.metaType().id() != QMetaType::QString;
    return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
}
