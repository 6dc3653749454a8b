#pragma once

#include "gui/common/captions.h"

#include <QWidget>

class LabMonitor;
class LabTableModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;
class WindowContext;

// "Класс": every workstation of the lab that shares this program folder, one row each, as the
// lab monitor reads them from the ticket journals; it follows the monitor as it refreshes.
// The table sorts by any column and shows the rows that hold the text typed. Opened from the
// settings window and left only through "Закрыть", which returns to it.
class LabWindow final : public QWidget
{
    Q_OBJECT

public:
    LabWindow(const WindowContext &context, LabMonitor &monitor, QWidget *parent = nullptr);

signals:
    // "Закрыть": the settings window takes over.
    void closed();

private:
    void buildControls();
    CaptionTable captionTable() const;
    void showCount();

    const WindowContext &m_context;
    LabMonitor &m_monitor;
    QString m_language;
    LabTableModel *m_table;
    QSortFilterProxyModel *m_shown;

    QLabel *lblLabFilter;
    QLineEdit *txtLabFilter;
    QLabel *lblLabIdle;
    QSpinBox *spnLabIdle;
    QLabel *lblLabCount;
    QTableView *tblLab;
    QPushButton *cmdLabClose;
};
