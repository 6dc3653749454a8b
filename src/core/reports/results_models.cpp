#include "core/reports/results_models.h"

#include "core/exam/grade.h"
#include "core/reports/results_texts.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// A number written by the program (points, totals) as a value; nothing when it is none.
ResultsCell numberCell(const QString &text)
{
    const auto number = Grade::readScore(text);
    return number ? ResultsCell::number(number->toDouble()) : ResultsCell();
}

// The sort key of a record's cell, straight from the record instead of through a QVariant per
// row: a date, time or number (kind 0), a text (kind 1, the text in *text), or nothing (kind 2).
// The columns a table's first sort reads most are read from the record's fields, the same as
// TicketResultsModel::cell() gives them; the others through cell().
void directKey(const TicketResult &result, int column, quint8 *kind, double *order, const QString **text)
{
    const auto dateOrText = [&](bool valid, double value, const QString &written) {
        *kind = valid ? 0 : (written.isEmpty() ? 2 : 1);
        *order = valid ? value : 0;
        if (*kind == 1)
            *text = &written;
    };
    switch (column) {
    case TicketResultsModel::Date:
        dateOrText(result.date.isValid(), double(result.date.toJulianDay()), result.dateText);
        return;
    case TicketResultsModel::Time:
        dateOrText(result.time.isValid(), result.time.msecsSinceStartOfDay(), result.timeText);
        return;
    case TicketResultsModel::Line:
        *kind = 0;
        *order = result.line;
        return;
    case TicketResultsModel::Student:
    case TicketResultsModel::Data:
    case TicketResultsModel::Verdict: {
        const QString &value = column == TicketResultsModel::Student ? result.student
                               : column == TicketResultsModel::Data  ? result.data
                                                                     : result.verdict;
        *kind = 1;
        *order = 0;
        *text = &value;
        return;
    }
    default:
        break;
    }
    const ResultsCell cell = TicketResultsModel::cell(result, column);
    *kind = 0;
    *order = 0;
    switch (cell.kind()) {
    case ResultsCell::Kind::Empty: *kind = 2; break;
    case ResultsCell::Kind::Text:
        *kind = 1;
        *text = &cell.text();
        break;
    case ResultsCell::Kind::Date: *order = double(cell.date().toJulianDay()); break;
    case ResultsCell::Kind::Time: *order = cell.time().msecsSinceStartOfDay(); break;
    case ResultsCell::Kind::Integer: *order = cell.integer(); break;
    case ResultsCell::Kind::Number: *order = cell.number(); break;
    }
}

// Sorts the pairs by their first, equal ones keeping their order: a radix sort byte by byte,
// passing over the bytes all keys share, which takes a few walks over a million rows where a
// comparison sort takes twenty.
void radixSort(std::vector<std::pair<quint64, quint32>> &items)
{
    std::array<std::array<size_t, 256>, 8> counts{};
    for (const auto &item : items) {
        for (int byte = 0; byte < 8; ++byte)
            ++counts[byte][(item.first >> (8 * byte)) & 0xFF];
    }
    std::vector<std::pair<quint64, quint32>> sorted(items.size());
    for (int byte = 0; byte < 8; ++byte) {
        auto &count = counts[byte];
        if (std::any_of(count.begin(), count.end(), [&items](size_t n) { return n == items.size(); }))
            continue;
        size_t at = 0;
        for (size_t &n : count)
            at += std::exchange(n, at);
        for (const auto &item : items)
            sorted[count[(item.first >> (8 * byte)) & 0xFF]++] = item;
        items.swap(sorted);
    }
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

const QString TicketResultsModel::UnreadableMark = u"?"_s;

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
    const QVariant value = cell(result, column).toVariant();
    return role == Qt::DisplayRole ? shown(value) : value;
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

ResultsCell QuestionnaireRunsModel::cell(const QuestionnaireRunResult &run, int column)
{
    switch (column) {
    case Date: return ResultsCell::date(run.date, run.dateText);
    case Time: return ResultsCell::time(run.time, run.timeText);
    case Name: return ResultsCell::text(run.name);
    case Total: return numberCell(run.total);
    case Conclusion: return ResultsCell::text(run.conclusion);
    default: {
        // Each answer and its points, as far as the run has answers.
        const qsizetype answer = (column - FirstAnswer) / 2;
        if (column < FirstAnswer || answer >= run.answers.size())
            return ResultsCell();
        const QuestionnaireAnswer &given = run.answers[answer];
        return (column - FirstAnswer) % 2 == 0 ? ResultsCell::text(given.answer) : numberCell(given.points);
    }
    }
}

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
    if (role == Qt::EditRole)
        return cell(run, column).toVariant();
    if (role != Qt::DisplayRole)
        return QVariant();
    // The table shows the total and the points as written, and the line breaks of a conclusion
    // or an answer as blanks in its one line.
    const auto oneLine = [](QString text) { return text.replace(u'\n', u' '); };
    if (column == Total)
        return run.total;
    if (column == Conclusion)
        return oneLine(run.conclusion);
    if (column >= FirstAnswer) {
        const QuestionnaireAnswer &answer = run.answers[(column - FirstAnswer) / 2];
        return (column - FirstAnswer) % 2 == 0 ? QVariant(oneLine(answer.answer)) : QVariant(answer.points);
    }
    return shown(cell(run, column).toVariant());
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

ResultsFilterModel::ResultsFilterModel(QObject *parent) : QAbstractProxyModel(parent) {}

void ResultsFilterModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        // The models of the results change whole; anything else is taken as a new content too.
        m_connections << connect(source, &QAbstractItemModel::modelReset, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::layoutChanged, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::rowsInserted, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::rowsRemoved, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::rowsMoved, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::columnsInserted, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::columnsRemoved, this, &ResultsFilterModel::sourceReset);
        m_connections << connect(source, &QAbstractItemModel::dataChanged, this,
                                 &ResultsFilterModel::sourceDataChanged);
        m_connections << connect(source, &QAbstractItemModel::headerDataChanged, this,
                                 &ResultsFilterModel::headerDataChanged);
    }
    m_ranks.clear();
    arrange();
    endResetModel();
}

void ResultsFilterModel::setFilter(const ResultsFilter &filter)
{
    beginResetModel();
    m_filter = filter;
    arrange();
    endResetModel();
}

QList<TicketResult> ResultsFilterModel::shownTickets() const
{
    QList<TicketResult> shown;
    const auto *tickets = qobject_cast<const TicketResultsModel *>(sourceModel());
    if (!tickets)
        return shown;
    shown.reserve(qsizetype(m_rows.size()));
    for (const int row : m_rows)
        shown << tickets->results()[row];
    return shown;
}

QModelIndex ResultsFilterModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex ResultsFilterModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int ResultsFilterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ResultsFilterModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->columnCount();
}

QModelIndex ResultsFilterModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel() || proxyIndex.row() >= int(m_rows.size()))
        return QModelIndex();
    return sourceModel()->index(m_rows[proxyIndex.row()], proxyIndex.column());
}

QModelIndex ResultsFilterModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.row() >= int(m_shownAt.size()))
        return QModelIndex();
    const int row = m_shownAt[sourceIndex.row()];
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column());
}

void ResultsFilterModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<QPersistentModelIndex> sources;
    sources.reserve(before.size());
    for (const QModelIndex &index : before)
        sources << mapToSource(index);
    m_sortColumn = column;
    m_sortOrder = order;
    orderRows();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QPersistentModelIndex &source : std::as_const(sources))
        after << mapFromSource(source);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool ResultsFilterModel::accepts(int sourceRow) const
{
    if (const auto *tickets = qobject_cast<const TicketResultsModel *>(sourceModel()))
        return m_filter.accepts(tickets->results()[sourceRow]);
    if (const auto *runs = qobject_cast<const QuestionnaireRunsModel *>(sourceModel()))
        return m_filter.accepts(runs->runs()[sourceRow]);
    return true;
}

void ResultsFilterModel::arrange()
{
    m_rows.clear();
    const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
    m_rows.reserve(rows);
    const auto *tickets = qobject_cast<const TicketResultsModel *>(sourceModel());
    for (int row = 0; row < rows; ++row) {
        if (tickets ? m_filter.accepts(tickets->results()[row]) : accepts(row))
            m_rows.push_back(row);
    }
    orderRows();
}

void ResultsFilterModel::orderRows()
{
    const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
    if (m_sortColumn < 0 || m_sortColumn >= columnCount()) {
        std::sort(m_rows.begin(), m_rows.end());
    } else {
        // The column's order of every source row, kept from the first sort, walked once:
        // only the rows shown are taken, equal cells keeping the order of the report in
        // either direction.
        const ColumnOrder &order = orderOf(m_sortColumn);
        std::vector<char> shown(rows, 0);
        for (const int row : m_rows)
            shown[row] = 1;
        m_rows.clear();
        const auto take = [&](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i) {
                if (shown[order.rows[i]])
                    m_rows.push_back(int(order.rows[i]));
            }
        };
        if (m_sortOrder == Qt::AscendingOrder) {
            take(0, order.rows.size());
        } else {
            for (size_t end = order.rows.size(); end > 0;) {
                size_t start = end - 1;
                const quint32 rank = order.ranks[start];
                while (start > 0 && order.ranks[start - 1] == rank)
                    --start;
                take(start, end);
                end = start;
            }
        }
    }
    m_shownAt.assign(rows, -1);
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_shownAt[m_rows[i]] = int(i);
}

const ResultsFilterModel::ColumnOrder &ResultsFilterModel::orderOf(int column)
{
    if (const auto known = m_ranks.find(column); known != m_ranks.end())
        return known->second;
    const QAbstractItemModel *source = sourceModel();
    const int rows = source->rowCount();
    // Texts are ranked once each, by the collation of the locale.
    QHash<QString, int> texts;
    QStringList distinct;
    const auto textIndex = [&](const QString &text) {
        auto at = texts.constFind(text);
        if (at == texts.constEnd()) {
            at = texts.insert(text, int(distinct.size()));
            distinct << text;
        }
        return *at;
    };
    const auto ranksOfTexts = [&distinct] {
        std::vector<int> byCollation(distinct.size());
        std::iota(byCollation.begin(), byCollation.end(), 0);
        std::sort(byCollation.begin(), byCollation.end(), [&distinct](int a, int b) {
            return QString::localeAwareCompare(distinct[a], distinct[b]) < 0;
        });
        std::vector<int> rank(distinct.size());
        for (size_t i = 0; i < byCollation.size(); ++i) {
            const bool same = i > 0 && QString::localeAwareCompare(distinct[byCollation[i - 1]], distinct[byCollation[i]]) == 0;
            rank[byCollation[i]] = i == 0 ? 0 : rank[byCollation[i - 1]] + (same ? 0 : 1);
        }
        return rank;
    };
    // Every row's place among the distinct keys: equal cells share a rank. The keys are
    // sorted with their rows beside them, which is several times faster than through an index.
    ColumnOrder order;
    const auto take = [&order, rows](const auto &sorted) {
        order.rows.resize(rows);
        order.ranks.resize(rows);
        for (size_t i = 0; i < sorted.size(); ++i) {
            order.rows[i] = sorted[i].second;
            order.ranks[i] = i == 0 ? 0 : order.ranks[i - 1] + (sorted[i - 1].first < sorted[i].first ? 1 : 0);
        }
    };
    // Whole numbers (dates, times, counts, the ranks of texts) are packed with their kind into
    // one integer, which sorts faster again than a kind and a double. The results' cells are
    // whole numbers or texts, so their keys are packed as they are read, with no other copy of
    // a million keys: a text's key holds its index among the texts until the texts are ranked.
    constexpr double Whole = 4503599627370496.0; // 2 to the 52nd
    const auto pack = [](quint8 kind, double value) {
        return quint64(kind) << 60 | quint64(qint64(value) + qint64(Whole));
    };
    const auto isWhole = [](double value) { return value == std::trunc(value) && std::abs(value) < Whole; };
    if (const auto *tickets = qobject_cast<const TicketResultsModel *>(source)) {
        std::vector<std::pair<quint64, quint32>> packed(rows);
        bool whole = true;
        for (int row = 0; row < rows && whole; ++row) {
            quint8 kind = 0;
            double value = 0;
            const QString *text = nullptr;
            directKey(tickets->results()[row], column, &kind, &value, &text);
            if (text)
                value = textIndex(*text);
            whole = isWhole(value);
            packed[row] = {pack(kind, value), quint32(row)};
        }
        if (whole) {
            const std::vector<int> rank = ranksOfTexts();
            for (auto &[key, row] : packed) {
                if (key >> 60 == 1)
                    key = pack(1, rank[qint64(key & ((quint64(1) << 60) - 1)) - qint64(Whole)]);
            }
            // The rows are in order already, so a sort that keeps the order of equal keys gives
            // the order of the report among them.
            radixSort(packed);
            take(packed);
            return m_ranks.emplace(column, std::move(order)).first->second;
        }
        texts.clear();
        distinct.clear();
    }
    std::vector<Key> keys(rows);
    std::vector<int> textOf(rows, -1);
    const auto *tickets = qobject_cast<const TicketResultsModel *>(source);
    for (int row = 0; row < rows; ++row) {
        Key &key = keys[row];
        const QString *text = nullptr;
        if (tickets) {
            directKey(tickets->results()[row], column, &key.kind, &key.order, &text);
            if (text)
                textOf[row] = textIndex(*text);
            continue;
        }
        const QVariant value = source->data(source->index(row, column), Qt::EditRole);
        switch (value.metaType().id()) {
        case QMetaType::UnknownType: key.kind = 2; break;
        case QMetaType::QString:
            key.kind = 1;
            textOf[row] = textIndex(value.toString());
            break;
        case QMetaType::QDate: key.order = double(value.toDate().toJulianDay()); break;
        case QMetaType::QTime: key.order = value.toTime().msecsSinceStartOfDay(); break;
        default: key.order = value.toDouble(); break;
        }
    }
    const std::vector<int> rank = ranksOfTexts();
    for (int row = 0; row < rows; ++row) {
        if (textOf[row] >= 0)
            keys[row].order = rank[textOf[row]];
    }
    if (std::all_of(keys.begin(), keys.end(), [&](const Key &key) { return isWhole(key.order); })) {
        std::vector<std::pair<quint64, quint32>> packed(rows);
        for (int row = 0; row < rows; ++row)
            packed[row] = {pack(keys[row].kind, keys[row].order), quint32(row)};
        radixSort(packed);
        take(packed);
    } else {
        std::vector<std::pair<Key, quint32>> entries(rows);
        for (int row = 0; row < rows; ++row)
            entries[row] = {keys[row], quint32(row)};
        std::sort(entries.begin(), entries.end());
        take(entries);
    }
    return m_ranks.emplace(column, std::move(order)).first->second;
}

void ResultsFilterModel::sourceReset()
{
    beginResetModel();
    m_ranks.clear();
    arrange();
    endResetModel();
}

void ResultsFilterModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                           const QList<int> &roles)
{
    if (m_rows.empty())
        return;
    const bool ordered = roles.isEmpty() || roles.contains(Qt::EditRole) || roles.contains(Qt::DisplayRole);
    if (ordered) {
        for (int column = topLeft.column(); column <= bottomRight.column(); ++column)
            m_ranks.erase(column);
        if (m_sortColumn >= topLeft.column() && m_sortColumn <= bottomRight.column())
            sort(m_sortColumn, m_sortOrder);
    }
    emit dataChanged(index(0, topLeft.column()), index(rowCount() - 1, bottomRight.column()), roles);
}
