#include "core/lab/lab_table_model.h"

#include "core/program/language_policy.h"

using namespace Qt::StringLiterals;

LabTableModel::LabTableModel(const LabMonitor &monitor, QObject *parent)
    : QAbstractTableModel(parent), m_monitor(monitor), m_rows(monitor.rows())
{
    connect(&monitor, &LabMonitor::rowsChanged, this, &LabTableModel::takeRows);
}

void LabTableModel::takeRows()
{
    // The rows are few and change together: the table is laid out again as a whole, which
    // keeps the sorting and filtering of a proxy in step.
    beginResetModel();
    m_rows = m_monitor.rows();
    endResetModel();
}

void LabTableModel::setLanguage(const QString &language)
{
    m_language = language;
    emit headerDataChanged(Qt::Horizontal, 0, Columns - 1);
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, Columns - 1));
}

QString LabTableModel::stateText(LabMonitor::State state, int idleMinutes, const QString &language)
{
    const LanguagePolicy policy(language);
    switch (state) {
    case LabMonitor::State::Answering:
        return policy.text(u"Отвечает"_s, u"Answering"_s);
    case LabMonitor::State::Idle:
        return policy.text(u"Не отвечает более %1 мин"_s, u"No answer for over %1 min"_s).arg(idleMinutes);
    case LabMonitor::State::Graded:
        return policy.text(u"Оценен"_s, u"Graded"_s);
    case LabMonitor::State::Saved:
        return policy.text(u"Сохранен"_s, u"Saved"_s);
    case LabMonitor::State::Abandoned:
        return policy.text(u"Прерван"_s, u"Abandoned"_s);
    case LabMonitor::State::Damaged:
        return policy.text(u"Журнал поврежден"_s, u"Journal damaged"_s);
    }
    return QString();
}

int LabTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int LabTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant LabTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const LabMonitor::Row &row = m_rows.at(index.row());
    const bool known = row.state != LabMonitor::State::Damaged;
    if (role == AttentionRole) {
        return row.state == LabMonitor::State::Idle || row.state == LabMonitor::State::Abandoned
               || row.state == LabMonitor::State::Damaged;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const bool display = role == Qt::DisplayRole;
    switch (index.column()) {
    case Workstation:
        return row.workstation;
    case Student:
        return row.student;
    case Exam:
        return row.exam;
    case Ticket:
        return row.ticket;
    case Question:
        if (!known)
            return {};
        return display ? u"%1 / %2"_s.arg(row.reached).arg(row.questions) : QVariant(row.reached);
    case Right:
        return known ? QVariant(row.right) : QVariant();
    case Wrong:
        return known ? QVariant(row.wrong) : QVariant();
    case Unanswered:
        return known ? QVariant(row.unanswered) : QVariant();
    case Grade:
        return row.grade;
    case TimeLeft:
        if (row.secondsLeft < 0)
            return display ? QVariant(QString()) : QVariant(-1);
        return display ? QVariant(u"%1:%2"_s.arg(row.secondsLeft / 60).arg(row.secondsLeft % 60, 2, 10, QChar(u'0')))
                       : QVariant(row.secondsLeft);
    case LastActivity:
        return display ? QVariant(row.lastActivity.toString(u"HH:mm:ss"_s)) : QVariant(row.lastActivity);
    case StateColumn:
        return stateText(row.state, m_monitor.idleMinutes(), m_language);
    }
    return {};
}

QVariant LabTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const LanguagePolicy policy(m_language);
    switch (section) {
    case Workstation:
        return policy.text(u"Компьютер"_s, u"Workstation"_s);
    case Student:
        return policy.text(u"Студент"_s, u"Student"_s);
    case Exam:
        return policy.text(u"Экзамен"_s, u"Exam"_s);
    case Ticket:
        return policy.text(u"Билет"_s, u"Ticket"_s);
    case Question:
        return policy.text(u"Вопрос"_s, u"Question"_s);
    case Right:
        return policy.text(u"Верно"_s, u"Right"_s);
    case Wrong:
        return policy.text(u"Неверно"_s, u"Wrong"_s);
    case Unanswered:
        return policy.text(u"Без ответа"_s, u"Unanswered"_s);
    case Grade:
        return policy.text(u"Оценка"_s, u"Grade"_s);
    case TimeLeft:
        return policy.text(u"Осталось"_s, u"Time left"_s);
    case LastActivity:
        return policy.text(u"Последний шаг"_s, u"Last activity"_s);
    case StateColumn:
        return policy.text(u"Состояние"_s, u"State"_s);
    }
    return {};
}
