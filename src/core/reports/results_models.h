#pragma once

#include "core/reports/results.h"
#include "core/reports/results_cell.h"
#include "core/reports/results_filter.h"

#include <QAbstractProxyModel>
#include <QAbstractTableModel>

#include <unordered_map>
#include <vector>

// The tables of the results window. Qt::DisplayRole gives the text shown; Qt::EditRole the
// value as a spreadsheet should hold it (a QDate, a QTime, a number, a text, or nothing for
// an empty cell), which also orders the rows when a column is sorted. That value is the
// model's cell() of a result and a column, which the CSV export also reads directly.

// The columns of the tickets' table: date, time, student, data, ticket, the marks of
// questions 1 to 20, right, wrong and unanswered counts, the verdict and the report line.
class TicketResultsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Time, Student, Data, Ticket, FirstMark, Right = FirstMark + TicketResult::Questions,
                  Wrong, Unanswered, Verdict, Line, Columns };

    explicit TicketResultsModel(QObject *parent = nullptr);

    // The value of a column for a result; a text cell refers to the result. Inline, so the
    // export of a whole table reads each column without a call and a choice of column.
    static ResultsCell cell(const TicketResult &result, int column);

    void setResults(QList<TicketResult> results);
    const QList<TicketResult> &results() const { return m_results; }
    // "eng" gives English headers; any other language the Russian ones.
    void setLanguage(const QString &language);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // A mark that could not be read shows as a question mark.
    static const QString UnreadableMark;

    QList<TicketResult> m_results;
    QString m_language;
};

inline ResultsCell TicketResultsModel::cell(const TicketResult &result, int column)
{
    if (column >= FirstMark && column < FirstMark + TicketResult::Questions) {
        const TicketResult::Mark mark = result.marks[column - FirstMark];
        if (mark == TicketResult::Unreadable)
            return ResultsCell::text(UnreadableMark);
        return mark == TicketResult::NoMark ? ResultsCell() : ResultsCell::integer(int(mark));
    }
    switch (column) {
    case Date: return ResultsCell::date(result.date, result.dateText);
    case Time: return ResultsCell::time(result.time, result.timeText);
    case Student: return ResultsCell::text(result.student);
    case Data: return ResultsCell::text(result.data);
    case Ticket:
        return result.ticketNumber > 0 ? ResultsCell::integer(result.ticketNumber) : ResultsCell::text(result.ticket);
    case Right: return result.marksShown() ? ResultsCell::integer(result.count(TicketResult::Right)) : ResultsCell();
    case Wrong: return result.marksShown() ? ResultsCell::integer(result.count(TicketResult::Wrong)) : ResultsCell();
    case Unanswered: return result.marksShown() ? ResultsCell::integer(result.unanswered()) : ResultsCell();
    case Verdict: return ResultsCell::text(result.verdict);
    case Line: return ResultsCell::integer(result.line);
    default: return ResultsCell();
    }
}

// The columns of the questionnaire runs: date, time, questionnaire, total, conclusion, then
// each answer and its points, as many pairs as the longest run has answers.
class QuestionnaireRunsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Time, Name, Total, Conclusion, FirstAnswer };

    explicit QuestionnaireRunsModel(QObject *parent = nullptr);

    // The value of a column for a run; a text cell refers to the run.
    static ResultsCell cell(const QuestionnaireRunResult &run, int column);

    void setRuns(QList<QuestionnaireRunResult> runs);
    const QList<QuestionnaireRunResult> &runs() const { return m_runs; }
    void setLanguage(const QString &language);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<QuestionnaireRunResult> m_runs;
    int m_answers = 0;
    QString m_language;
};

// Shows the rows of either model that the filter accepts, sorted by the values of a column
// (Qt::EditRole): values of one kind by value, texts by the collation of the locale, empty
// cells after every value; rows of equal values keep the order of the report. The values of a
// column are read once and kept as sort keys, so a table of a million rows sorts and filters
// without asking the model for a value per comparison.
class ResultsFilterModel final : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit ResultsFilterModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    void setFilter(const ResultsFilter &filter);
    const ResultsFilter &filter() const { return m_filter; }

    // The tickets shown, in the order shown (the source must be a TicketResultsModel).
    QList<TicketResult> shownTickets() const;
    // The source rows shown, in the order shown.
    const std::vector<int> &shownRows() const { return m_rows; }

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    // A column outside the table shows the rows in the order of the report.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // A cell's place in the order: its kind (a value, a text, empty) and, within the kind, the
    // value or the text's rank in the collation.
    struct Key
    {
        quint8 kind = 0;
        double order = 0;
        auto operator<=>(const Key &) const = default;
    };

    bool accepts(int sourceRow) const;
    // The rows shown, filtered and sorted anew.
    void arrange();
    void orderRows();
    // The source rows in the order of a column's cells, equal cells in the order of the
    // report, and the rank of the cell at each place of that order, equal cells sharing one
    // (kept by place, so that walking the order reads both in step).
    struct ColumnOrder
    {
        std::vector<quint32> rows;
        std::vector<quint32> ranks;
    };
    const ColumnOrder &orderOf(int column);
    void sourceReset();
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);

    ResultsFilter m_filter;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    // The source row of each row shown, and the row shown of each source row (-1: hidden).
    std::vector<int> m_rows;
    std::vector<int> m_shownAt;
    // The orders of the columns sorted by so far.
    std::unordered_map<int, ColumnOrder> m_ranks;
    QList<QMetaObject::Connection> m_connections;
};
