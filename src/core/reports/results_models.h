#pragma once

#include "core/reports/results.h"
#include "core/reports/results_filter.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

// The tables of the results window. Qt::DisplayRole gives the text shown; Qt::EditRole the
// value as a spreadsheet should hold it (a QDate, a QTime, a number, a text, or nothing for
// an empty cell), which also orders the rows when a column is sorted.

// The columns of the tickets' table: date, time, student, data, ticket, the marks of
// questions 1 to 20, right, wrong and unanswered counts, the verdict and the report line.
class TicketResultsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Time, Student, Data, Ticket, FirstMark, Right = FirstMark + TicketResult::Questions,
                  Wrong, Unanswered, Verdict, Line, Columns };

    explicit TicketResultsModel(QObject *parent = nullptr);

    void setResults(QList<TicketResult> results);
    const QList<TicketResult> &results() const { return m_results; }
    // "eng" gives English headers; any other language the Russian ones.
    void setLanguage(const QString &language);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<TicketResult> m_results;
    QString m_language;
};

// The columns of the questionnaire runs: date, time, questionnaire, total, conclusion, then
// each answer and its points, as many pairs as the longest run has answers.
class QuestionnaireRunsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Time, Name, Total, Conclusion, FirstAnswer };

    explicit QuestionnaireRunsModel(QObject *parent = nullptr);

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

// Shows the rows of either model that the filter accepts, sorted by the values of a column.
class ResultsFilterModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ResultsFilterModel(QObject *parent = nullptr);

    void setFilter(const ResultsFilter &filter);
    const ResultsFilter &filter() const { return m_filter; }

    // The tickets shown, in the order shown (the source must be a TicketResultsModel).
    QList<TicketResult> shownTickets() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    ResultsFilter m_filter;
};
