#pragma once

#include "core/lab/lab_monitor.h"

#include <QAbstractTableModel>

// The lab monitor's rows as a table: workstation, student, state, exam, ticket, question reached
// of how many, right, wrong and unanswered marks, grade, time left and last activity; the state
// comes early, as it is what the teacher looks for.
// Qt::DisplayRole gives the text shown; Qt::EditRole the value the column sorts by (a number,
// a time or a text); AttentionRole whether the workstation needs the teacher: it stopped
// answering, its ticket was abandoned or its journal is damaged.
class LabTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Workstation, Student, StateColumn, Exam, Ticket, Question, Right, Wrong, Unanswered, Grade,
                  TimeLeft, LastActivity, Columns };
    static constexpr int AttentionRole = Qt::UserRole;

    explicit LabTableModel(const LabMonitor &monitor, QObject *parent = nullptr);

    // "eng" gives English texts; any other language the Russian ones.
    void setLanguage(const QString &language);
    // The state as the table says it, with the idle minutes it counts.
    static QString stateText(LabMonitor::State state, int idleMinutes, const QString &language);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void takeRows();

    const LabMonitor &m_monitor;
    QList<LabMonitor::Row> m_rows;
    QString m_language;
};
