#include "gui/lab/lab_window.h"

#include "core/lab/lab_monitor.h"
#include "core/lab/lab_table_model.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QBrush>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The rows that hold the typed text, sorted by value; a workstation that needs the teacher
// has its state in red.
class ShownLabRows final : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::ForegroundRole && index.column() == LabTableModel::StateColumn
            && QSortFilterProxyModel::data(index, LabTableModel::AttentionRole).toBool())
            return QBrush(Qt::darkRed);
        return QSortFilterProxyModel::data(index, role);
    }
};

} // namespace

LabWindow::LabWindow(const WindowContext &context, LabMonitor &monitor, QWidget *parent)
    : QWidget(parent), m_context(context), m_monitor(monitor), m_language(context.settings().language())
{
    setObjectName(u"frmLab"_s);
    m_table = new LabTableModel(monitor, this);
    m_table->setLanguage(m_language);
    m_shown = new ShownLabRows(this);
    m_shown->setSourceModel(m_table);
    m_shown->setSortRole(Qt::EditRole);
    m_shown->setFilterKeyColumn(-1);
    m_shown->setFilterCaseSensitivity(Qt::CaseInsensitive);
    buildControls();

    const CaptionTable captions = captionTable();
    applyCaptions(captions, u"rus"_s);
    applyCaptions(captions, m_language);
    setWindowTitle(LanguagePolicy(m_language).text(u"Класс"_s, u"Lab"_s));
    // The window and its table have no caption that tells a screen reader what they are.
    applySpokenNames({{this, u"Класс: билеты рабочих мест"_s, u"Lab: the workstations' tickets"_s},
                      {tblLab, u"Таблица рабочих мест"_s, u"Table of workstations"_s}},
                     m_language);
    showCount();
    DisableXbutton(this);
    const QSize screen = m_context.platform().screenSize();
    resize(std::min(1200, screen.width() - 40), std::min(520, screen.height() - 120));
}

void LabWindow::buildControls()
{
    auto *top = new QHBoxLayout;
    lblLabFilter = namedControl<QLabel>(this, u"lblLabFilter"_s);
    txtLabFilter = namedControl<QLineEdit>(this, u"txtLabFilter"_s);
    txtLabFilter->setClearButtonEnabled(true);
    lblLabIdle = namedControl<QLabel>(this, u"lblLabIdle"_s);
    spnLabIdle = namedControl<QSpinBox>(this, u"spnLabIdle"_s);
    spnLabIdle->setRange(1, 240);
    spnLabIdle->setValue(m_monitor.idleMinutes());
    lblLabFilter->setBuddy(txtLabFilter);
    lblLabIdle->setBuddy(spnLabIdle);
    top->addWidget(lblLabFilter);
    top->addWidget(txtLabFilter, 1);
    top->addWidget(lblLabIdle);
    top->addWidget(spnLabIdle);

    tblLab = namedControl<QTableView>(this, u"tblLab"_s);
    tblLab->setModel(m_shown);
    tblLab->setSortingEnabled(true);
    tblLab->sortByColumn(LabTableModel::Workstation, Qt::AscendingOrder);
    tblLab->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblLab->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblLab->setAlternatingRowColors(true);
    tblLab->verticalHeader()->hide();
    tblLab->verticalHeader()->setDefaultSectionSize(22);
    tblLab->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // An exam's title can be long: its column takes a width of its own and shows the rest elided.
    tblLab->horizontalHeader()->setSectionResizeMode(LabTableModel::Exam, QHeaderView::Interactive);
    tblLab->horizontalHeader()->resizeSection(LabTableModel::Exam, 200);
    tblLab->horizontalHeader()->setStretchLastSection(true);

    auto *bottom = new QHBoxLayout;
    lblLabCount = namedControl<QLabel>(this, u"lblLabCount"_s);
    cmdLabClose = namedControl<QPushButton>(this, u"cmdLabClose"_s);
    bottom->addWidget(lblLabCount, 1);
    bottom->addWidget(cmdLabClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tblLab, 1);
    layout->addLayout(bottom);

    connect(txtLabFilter, &QLineEdit::textChanged, m_shown, &QSortFilterProxyModel::setFilterFixedString);
    connect(spnLabIdle, &QSpinBox::valueChanged, this, [this](int minutes) {
        m_monitor.setIdleMinutes(minutes);
        m_monitor.refresh();
    });
    connect(&m_monitor, &LabMonitor::rowsChanged, this, &LabWindow::showCount);
    connect(cmdLabClose, &QPushButton::clicked, this, &LabWindow::closed);
}

CaptionTable LabWindow::captionTable() const
{
    return {
        {lblLabFilter, u"Найти:"_s, u"Find:"_s},
        {lblLabIdle, u"Не отвечает более, мин:"_s, u"No answer for over, min:"_s},
        {cmdLabClose, u"Закрыть"_s, u"To Close"_s},
    };
}

void LabWindow::showCount()
{
    const LanguagePolicy language(m_language);
    lblLabCount->setText(language.text(u"Компьютеров: %1. Папка: %2"_s, u"Workstations: %1. Folder: %2"_s)
                             .arg(m_monitor.rows().size())
                             .arg(QDir::toNativeSeparators(m_monitor.folder())));
}
