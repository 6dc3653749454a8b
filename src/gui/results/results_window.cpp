#include "gui/results/results_window.h"

#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/reports/item_analysis.h"
#include "core/reports/results_export.h"
#include "core/reports/results_merge.h"
#include "core/reports/results_models.h"
#include "core/reports/results_texts.h"
#include "gui/common/captions.h"
#include "gui/common/control_factory.h"
#include "gui/common/flow_layout.h"
#include "gui/common/paged_document.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"
#include "gui/results/results_module.h"
#include "gui/results/results_pdf.h"

#include <QBuffer>
#include <QCheckBox>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum Chart { QuestionsChart, TicketsChart, VerdictsChart, DaysChart };
enum ItemChart { FacilityChart, DiscriminationChart };

const RecordedVerdict Verdicts[] = {RecordedVerdict::Passed, RecordedVerdict::Failed, RecordedVerdict::FailedOnTime,
                                    RecordedVerdict::None, RecordedVerdict::Other};

QTableView *makeTable(QWidget *parent, const QString &name)
{
    auto *table = namedControl<QTableView>(parent, name);
    table->setSortingEnabled(true);
    // The rows come in the order of the reports until a column is chosen; the header must not
    // claim an order the table does not have.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setDefaultSectionSize(22);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}

} // namespace

ResultsWindow::ResultsWindow(const WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_language(context.settings().language())
{
    setObjectName(u"frmResults"_s);
    setWindowTitle(ProgramTitle);
    m_tickets = new TicketResultsModel(this);
    m_runs = new QuestionnaireRunsModel(this);
    m_shownTickets = new ResultsFilterModel(this);
    m_shownTickets->setSourceModel(m_tickets);
    m_shownRuns = new ResultsFilterModel(this);
    m_shownRuns->setSourceModel(m_runs);
    buildControls();
    connectHandlers();
    applyLanguage();
    DisableXbutton(this);
    const QSize screen = m_context.platform().screenSize();
    // Room for the frame and a panel of the desktop.
    resize(std::min(1100, screen.width() - 40), std::min(700, screen.height() - 120));
    move((screen.width() - width()) / 2, std::max(0, (screen.height() - height()) / 2 - 30));
}

ResultsWindow::~ResultsWindow()
{
    if (m_reader) {
        m_cancel->store(true);
        m_reader->wait();
    }
}

QWidget *ResultsWindow::makeChartView(QWidget *parent, const QString &name)
{
    if (m_module) {
        QWidget *view = m_module->makeChartView(parent);
        view->setObjectName(name);
        return view;
    }
    // Without the module the place of the chart says why there is none.
    auto *missing = namedControl<QLabel>(parent, name);
    missing->setWordWrap(true);
    missing->setAlignment(Qt::AlignCenter);
    missing->setText(text(u"Графики недоступны: не загружен модуль результатов.\n"_s,
                          u"Charts are not available: the results module is not loaded.\n"_s)
                     + m_moduleError);
    return missing;
}

void ResultsWindow::buildControls()
{
    // The filters wrap onto a second row on a narrow window; a label stays with its box.
    auto *filterRow = new QWidget(this);
    filterRow->setObjectName(u"filterRow"_s);
    auto *filters = new FlowLayout(filterRow);
    filters->setContentsMargins(0, 0, 0, 0);
    const auto group = [filterRow, filters](std::initializer_list<QWidget *> controls) {
        auto *together = new QWidget(filterRow);
        auto *row = new QHBoxLayout(together);
        row->setContentsMargins(0, 0, 0, 0);
        for (QWidget *control : controls) {
            control->setParent(together);
            row->addWidget(control);
        }
        filters->addWidget(together);
    };
    chkDates = namedControl<QCheckBox>(this, u"chkDates"_s);
    lblFrom = namedControl<QLabel>(this, u"lblFrom"_s);
    dtFrom = namedControl<QDateEdit>(this, u"dtFrom"_s);
    lblTo = namedControl<QLabel>(this, u"lblTo"_s);
    dtTo = namedControl<QDateEdit>(this, u"dtTo"_s);
    for (QDateEdit *date : {dtFrom, dtTo}) {
        date->setCalendarPopup(true);
        date->setDate(m_context.platform().currentDateTime().date());
        date->setEnabled(false);
    }
    lblName = namedControl<QLabel>(this, u"lblName"_s);
    txtName = namedControl<QLineEdit>(this, u"txtName"_s);
    txtName->setClearButtonEnabled(true);
    txtName->setMinimumWidth(120);
    lblTicket = namedControl<QLabel>(this, u"lblTicket"_s);
    txtTicket = namedControl<QLineEdit>(this, u"txtTicket"_s);
    txtTicket->setMaximumWidth(70);
    lblVerdict = namedControl<QLabel>(this, u"lblVerdict"_s);
    cboVerdict = namedControl<QComboBox>(this, u"cboVerdict"_s);
    lblExam = namedControl<QLabel>(this, u"lblExam"_s);
    cboExam = namedControl<QComboBox>(this, u"cboExam"_s);
    // An exam's title may be long: the name box keeps its room, the list shows titles whole.
    cboExam->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboExam->setMinimumContentsLength(18);
    cmdReset = namedControl<QPushButton>(this, u"cmdReset"_s);
    txtName->setMinimumWidth(180);
    group({chkDates, lblFrom, dtFrom, lblTo, dtTo});
    group({lblName, txtName});
    group({lblTicket, txtTicket});
    group({lblVerdict, cboVerdict});
    group({lblExam, cboExam});
    group({cmdReset});

    tabResults = namedControl<QTabWidget>(this, u"tabResults"_s);
    tblTickets = makeTable(tabResults, u"tblTickets"_s);
    tblTickets->setModel(m_shownTickets);
    tblRuns = makeTable(tabResults, u"tblRuns"_s);
    tblRuns->setModel(m_shownRuns);

    pageStatistics = namedControl<QWidget>(tabResults, u"pageStatistics"_s);
    auto *statistics = new QHBoxLayout(pageStatistics);
    auto *charts = new QVBoxLayout;
    cboChart = namedControl<QComboBox>(pageStatistics, u"cboChart"_s);
    m_module = loadResultsModule(m_context.platform().modulesFolder(), &m_moduleError);
    chartView = makeChartView(pageStatistics, u"chartView"_s);
    chartView->setMinimumSize(420, 300);
    charts->addWidget(cboChart);
    charts->addWidget(chartView, 1);
    tblStatistics = namedControl<QTableWidget>(pageStatistics, u"tblStatistics"_s);
    tblStatistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblStatistics->verticalHeader()->hide();
    tblStatistics->horizontalHeader()->hide();
    statistics->addLayout(charts, 3);
    statistics->addWidget(tblStatistics, 2);

    tblProblems = namedControl<QTableWidget>(tabResults, u"tblProblems"_s);
    tblProblems->setColumnCount(4);
    tblProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblProblems->setWordWrap(true);
    tblProblems->verticalHeader()->hide();
    tblProblems->horizontalHeader()->setStretchLastSection(true);

    pageItems = namedControl<QWidget>(tabResults, u"pageItems"_s);
    auto *items = new QVBoxLayout(pageItems);
    tblItemTickets = namedControl<QTableWidget>(pageItems, u"tblItemTickets"_s);
    tblItems = namedControl<QTableWidget>(pageItems, u"tblItems"_s);
    for (QTableWidget *table : {tblItemTickets, tblItems}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->hide();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setWordWrap(true);
    }
    // The charts of the questions beside the tickets' table, over the questions' table.
    auto *itemCharts = new QVBoxLayout;
    cboItemChart = namedControl<QComboBox>(pageItems, u"cboItemChart"_s);
    itemChartView = makeChartView(pageItems, u"itemChartView"_s);
    itemChartView->setMinimumSize(360, 240);
    itemCharts->addWidget(cboItemChart);
    itemCharts->addWidget(itemChartView, 1);
    auto *itemsTop = new QHBoxLayout;
    itemsTop->addWidget(tblItemTickets, 1);
    itemsTop->addLayout(itemCharts, 1);
    items->addLayout(itemsTop, 2);
    items->addWidget(tblItems, 3);

    tabResults->addTab(tblTickets, QString());
    tabResults->addTab(tblRuns, QString());
    tabResults->addTab(pageStatistics, QString());
    tabResults->addTab(tblProblems, QString());
    tabResults->addTab(pageItems, QString());

    auto *buttons = new QHBoxLayout;
    lblShown = namedControl<QLabel>(this, u"lblShown"_s);
    prgRead = namedControl<QProgressBar>(this, u"prgRead"_s);
    prgRead->setRange(0, 1000);
    prgRead->setTextVisible(false);
    prgRead->setMaximumWidth(200);
    prgRead->hide();
    cmdCancel = namedControl<QPushButton>(this, u"cmdCancel"_s);
    cmdCancel->hide();
    cmdRefresh = namedControl<QPushButton>(this, u"cmdRefresh"_s);
    cmdCsv = namedControl<QPushButton>(this, u"cmdCsv"_s);
    cmdXlsx = namedControl<QPushButton>(this, u"cmdXlsx"_s);
    cmdPng = namedControl<QPushButton>(this, u"cmdPng"_s);
    cmdPdf = namedControl<QPushButton>(this, u"cmdPdf"_s);
    cmdPrint = namedControl<QPushButton>(this, u"cmdPrint"_s);
    cmdClose = namedControl<QPushButton>(this, u"cmdClose"_s);
    buttons->addWidget(lblShown, 1);
    for (QWidget *control : std::initializer_list<QWidget *>{prgRead, cmdCancel, cmdRefresh, cmdCsv, cmdXlsx, cmdPng,
                                                             cmdPdf, cmdPrint, cmdClose})
        buttons->addWidget(control);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filterRow);
    layout->addWidget(tabResults, 1);
    layout->addLayout(buttons);
}

void ResultsWindow::connectHandlers()
{
    // The tabs by the keyboard from anywhere in the window, as in a browser: the tab widget's
    // own Ctrl+Tab works only while it has the focus, and its tables take the key themselves.
    const auto turnTab = [this](int step) {
        tabResults->setCurrentIndex((tabResults->currentIndex() + step + tabResults->count()) % tabResults->count());
    };
    for (const QKeySequence &next : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(next, this), &QShortcut::activated, this, [turnTab] { turnTab(1); });
    for (const QKeySequence &previous :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(previous, this), &QShortcut::activated, this, [turnTab] { turnTab(-1); });
    connect(chkDates, &QCheckBox::toggled, this, [this](bool on) {
        dtFrom->setEnabled(on);
        dtTo->setEnabled(on);
        applyFilter();
    });
    connect(dtFrom, &QDateEdit::dateChanged, this, &ResultsWindow::applyFilter);
    connect(dtTo, &QDateEdit::dateChanged, this, &ResultsWindow::applyFilter);
    connect(txtName, &QLineEdit::textChanged, this, &ResultsWindow::applyFilter);
    connect(txtTicket, &QLineEdit::textChanged, this, &ResultsWindow::applyFilter);
    connect(cboVerdict, &QComboBox::currentIndexChanged, this, &ResultsWindow::applyFilter);
    connect(cboExam, &QComboBox::currentIndexChanged, this, &ResultsWindow::applyFilter);
    connect(cmdReset, &QPushButton::clicked, this, &ResultsWindow::resetFilter);
    connect(cboChart, &QComboBox::currentIndexChanged, this, &ResultsWindow::showChart);
    connect(cboItemChart, &QComboBox::currentIndexChanged, this, &ResultsWindow::showItemChart);
    connect(tabResults, &QTabWidget::currentChanged, this, [this] {
        cmdPng->setEnabled(tabResults->currentWidget() == pageStatistics || tabResults->currentWidget() == pageItems);
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        if (m_cancel)
            m_cancel->store(true);
    });
    connect(cmdRefresh, &QPushButton::clicked, this, &ResultsWindow::read);
    connect(cmdCsv, &QPushButton::clicked, this, &ResultsWindow::exportCsv);
    connect(cmdXlsx, &QPushButton::clicked, this, &ResultsWindow::exportXlsx);
    connect(cmdPng, &QPushButton::clicked, this, &ResultsWindow::saveChart);
    connect(cmdPdf, &QPushButton::clicked, this, &ResultsWindow::exportPdf);
    connect(cmdPrint, &QPushButton::clicked, this, &ResultsWindow::print);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (m_cancel)
            m_cancel->store(true);
        emit closed();
    });
    cmdPng->setEnabled(false);
}

QString ResultsWindow::text(const QString &russian, const QString &english) const
{
    return LanguagePolicy(m_language).text(russian, english);
}

CaptionTable ResultsWindow::captionTable() const
{
    return {
        {chkDates, u"Даты"_s, u"Dates"_s},
        {lblFrom, u"с"_s, u"from"_s},
        {lblTo, u"по"_s, u"to"_s},
        {lblName, u"Имя:"_s, u"Name:"_s},
        {lblTicket, u"Билет:"_s, u"Ticket:"_s},
        {lblVerdict, u"Вердикт:"_s, u"Verdict:"_s},
        {lblExam, u"Экзамен:"_s, u"Exam:"_s},
        {cmdReset, u"Сбросить"_s, u"Reset"_s},
        {cmdCancel, u"Отмена"_s, u"Cancel"_s},
        {cmdRefresh, u"Обновить"_s, u"Refresh"_s},
        {cmdCsv, u"Экспорт CSV"_s, u"Export CSV"_s},
        {cmdXlsx, u"Экспорт XLSX"_s, u"Export XLSX"_s},
        {cmdPng, u"Сохранить график"_s, u"Save chart"_s},
        {cmdPdf, u"Сохранить PDF"_s, u"Save PDF"_s},
        {cmdPrint, u"Печать"_s, u"Print"_s},
        {cmdClose, u"Закрыть"_s, u"To Close"_s},
    };
}

// The controls of the table keep their Russian captions in another language; the texts of
// lists, tabs and tables follow the same rule through text().
void ResultsWindow::applyLanguage()
{
    const CaptionTable captions = captionTable();
    applyCaptions(captions, u"rus"_s);
    applyCaptions(captions, m_language);
    txtName->setPlaceholderText(text(u"часть имени"_s, u"part of the name"_s));
    cboVerdict->clear();
    cboVerdict->addItem(text(u"Все"_s, u"All"_s));
    for (RecordedVerdict verdict : Verdicts)
        cboVerdict->addItem(ResultsTexts::verdict(verdict, m_language));
    tabResults->setTabText(0, text(u"Билеты"_s, u"Tickets"_s));
    tabResults->setTabText(1, text(u"Тесты"_s, u"Tests"_s));
    tabResults->setTabText(2, text(u"Статистика"_s, u"Statistics"_s));
    tabResults->setTabText(3, text(u"Ошибки в отчетах"_s, u"Damaged parts"_s));
    tabResults->setTabText(4, text(u"Анализ вопросов"_s, u"Item analysis"_s));
    cboChart->addItems({text(u"Доля верных ответов по вопросам"_s, u"Right answers by question"_s),
                        text(u"Доля верных ответов по билетам"_s, u"Right answers by ticket"_s),
                        text(u"Вердикты"_s, u"Verdicts"_s),
                        text(u"Доля зачетов по дням"_s, u"Pass rate by day"_s)});
    cboItemChart->addItems({text(u"Решаемость по вопросам"_s, u"Facility by question"_s),
                            text(u"Связь с остальными по вопросам"_s, u"Item-rest discrimination by question"_s)});
    tblProblems->setHorizontalHeaderLabels({text(u"Отчет"_s, u"Report"_s), text(u"Строки"_s, u"Lines"_s),
                                            text(u"Что не так"_s, u"What is wrong"_s), text(u"Текст"_s, u"Text"_s)});
    cmdClose->setToolTip(text(u"Закрыть окно"_s, u"Close the window"_s));
    lblName->setBuddy(txtName);
    lblTicket->setBuddy(txtTicket);
    lblVerdict->setBuddy(cboVerdict);
    lblExam->setBuddy(cboExam);
    m_tickets->setLanguage(m_language);
    m_runs->setLanguage(m_language);
    for (QWidget *control : findChildren<QWidget *>()) {
        if (const auto *button = qobject_cast<QAbstractButton *>(control))
            control->setAccessibleName(button->text());
        else if (auto *line = qobject_cast<QLineEdit *>(control))
            line->setAccessibleName(line->placeholderText());
    }
    txtTicket->setAccessibleName(lblTicket->text());
    cboVerdict->setAccessibleName(lblVerdict->text());
    // The window, the boxes and tables without a caption of their own, and the tab bar's
    // scroll buttons are named for screen readers.
    auto *chartArea = qobject_cast<QAbstractScrollArea *>(chartView);
    auto *itemChartArea = qobject_cast<QAbstractScrollArea *>(itemChartView);
    applySpokenNames({{this, u"Результаты"_s, u"Results"_s},
                      {dtFrom, u"Даты с"_s, u"Dates from"_s},
                      {dtTo, u"Даты по"_s, u"Dates to"_s},
                      {tabResults, u"Вкладки результатов"_s, u"Result tabs"_s},
                      {tblTickets, u"Таблица билетов"_s, u"Table of tickets"_s},
                      {tblRuns, u"Таблица тестов"_s, u"Table of tests"_s},
                      {tblStatistics, u"Таблица статистики"_s, u"Table of statistics"_s},
                      {tblProblems, u"Таблица ошибок в отчетах"_s, u"Table of damaged parts"_s},
                      {tblItemTickets, u"Таблица анализа билетов"_s, u"Table of the tickets' analysis"_s},
                      {tblItems, u"Таблица анализа вопросов"_s, u"Table of the questions' analysis"_s},
                      {chartView, u"Диаграмма"_s, u"Chart"_s},
                      {chartArea ? chartArea->viewport() : nullptr, u"Диаграмма"_s, u"Chart"_s},
                      {cboChart, u"Вид диаграммы"_s, u"Kind of chart"_s},
                      {itemChartView, u"Диаграмма анализа вопросов"_s, u"Item analysis chart"_s},
                      {itemChartArea ? itemChartArea->viewport() : nullptr, u"Диаграмма анализа вопросов"_s,
                       u"Item analysis chart"_s},
                      {cboItemChart, u"Вид диаграммы анализа вопросов"_s, u"Kind of item analysis chart"_s},
                      {findChild<QWidget *>(u"ScrollLeftButton"_s), u"Прокрутить вкладки влево"_s, u"Scroll the tabs left"_s},
                      {findChild<QWidget *>(u"ScrollRightButton"_s), u"Прокрутить вкладки вправо"_s, u"Scroll the tabs right"_s}},
                     m_language);
    cboExam->setAccessibleName(lblExam->text());
    fillExams();
}

void ResultsWindow::fillExams()
{
    // The item's data is the exam chosen: none for every exam, the empty text for the records
    // that name no exam.
    const QVariant chosen = cboExam->currentData();
    const QSignalBlocker quiet(cboExam);
    cboExam->clear();
    cboExam->addItem(text(u"Все экзамены"_s, u"All exams"_s));
    for (const QString &exam : ResultsMerge::exams(m_tickets->results()))
        cboExam->addItem(exam, exam);
    const bool withoutExam = std::any_of(m_tickets->results().begin(), m_tickets->results().end(),
                                         [](const TicketResult &ticket) { return ticket.exam.isEmpty(); });
    if (withoutExam)
        cboExam->addItem(text(u"Без экзамена"_s, u"Without an exam"_s), QString(u""_s));
    cboExam->setCurrentIndex(std::max(0, chosen.isValid() ? cboExam->findData(chosen) : 0));
}

void ResultsWindow::read()
{
    if (m_reader)
        return;
    m_cancel = std::make_shared<std::atomic_bool>(false);
    auto result = std::make_shared<std::optional<ReportReader::Reports>>();
    const QString folder = m_context.paths().folder();
    const std::shared_ptr<std::atomic_bool> cancel = m_cancel;
    const QPointer<QProgressBar> progress = prgRead;
    auto lastShown = std::make_shared<int>(-1);
    m_reader = QThread::create([folder, cancel, result, progress, lastShown] {
        *result = ReportReader::readReports(folder, [&](qint64 done, qint64 total) {
            const int shown = total > 0 ? int(done * 1000 / total) : 1000;
            if (shown != *lastShown) {
                *lastShown = shown;
                QMetaObject::invokeMethod(progress, [progress, shown] {
                    if (progress)
                        progress->setValue(shown);
                }, Qt::QueuedConnection);
            }
            return !cancel->load();
        });
    });
    m_reader->setParent(this);
    connect(m_reader, &QThread::finished, this, [this, result] { readingFinished(result); });
    prgRead->setValue(0);
    prgRead->show();
    cmdCancel->show();
    cmdRefresh->setEnabled(false);
    m_reader->start();
}

void ResultsWindow::readingFinished(std::shared_ptr<std::optional<ReportReader::Reports>> result)
{
    m_reader->wait();
    m_reader->deleteLater();
    m_reader = nullptr;
    prgRead->hide();
    cmdCancel->hide();
    cmdRefresh->setEnabled(true);
    if (*result)
        showReports(std::move(**result));
    emit readingEnded();
}

void ResultsWindow::showReports(ReportReader::Reports reports)
{
    m_examProblems = std::move(reports.exams.problems);
    m_runProblems = std::move(reports.questionnaires.problems);
    m_attemptProblems = std::move(reports.attemptProblems);
    m_attempts = std::move(reports.attempts);
    m_readErrors = reports.errors;
    m_tickets->setResults(std::move(reports.exams.tickets));
    fillExams();
    m_runs->setRuns(std::move(reports.questionnaires.runs));
    for (QTableView *table : {tblTickets, tblRuns})
        table->resizeColumnsToContents();
    for (int column = TicketResultsModel::FirstMark; column < TicketResultsModel::Right; ++column)
        tblTickets->setColumnWidth(column, 28);
    showProblems();
    applyFilter();
    for (const QString &error : std::as_const(m_readErrors))
        m_context.message(ProgramTitle, text(u"Не удалось прочитать отчет "_s, u"The report could not be read: "_s) + error,
                      MessageIcon::Warning);
}

void ResultsWindow::showProblems()
{
    const qsizetype count = m_examProblems.size() + m_runProblems.size() + m_attemptProblems.size();
    tblProblems->setRowCount(int(count));
    int row = 0;
    const auto add = [&](const QList<ReportProblem> &problems, const QString &report) {
        for (const ReportProblem &problem : problems) {
            const QString lines = problem.firstLine == problem.lastLine
                                      ? QString::number(problem.firstLine)
                                      : QString::number(problem.firstLine) + u'–' + QString::number(problem.lastLine);
            const QStringList cells{report, lines, ResultsTexts::problem(problem.kind, m_language), problem.text};
            for (int column = 0; column < cells.size(); ++column)
                tblProblems->setItem(row, column, new QTableWidgetItem(cells[column]));
            ++row;
        }
    };
    add(m_examProblems, ProgramPaths::examReportName());
    add(m_runProblems, ProgramPaths::questionnaireReportName());
    add(m_attemptProblems, ProgramPaths::attemptsJournalName());
    tblProblems->resizeColumnsToContents();
    tblProblems->resizeRowsToContents();
    const QString title = text(u"Ошибки в отчетах"_s, u"Damaged parts"_s);
    tabResults->setTabText(3, count ? title + u" ("_s + QString::number(count) + u')' : title);
}

void ResultsWindow::applyFilter()
{
    ResultsFilter filter;
    if (chkDates->isChecked()) {
        filter.from = dtFrom->date();
        filter.to = dtTo->date();
    }
    filter.namePart = txtName->text().trimmed();
    filter.ticket = txtTicket->text().trimmed();
    if (cboVerdict->currentIndex() > 0)
        filter.verdict = Verdicts[cboVerdict->currentIndex() - 1];
    if (cboExam->currentIndex() > 0)
        filter.exam = cboExam->currentData().toString();
    m_shownTickets->setFilter(filter);
    // Questionnaire runs have no ticket, no verdict and no exam.
    ResultsFilter runs = filter;
    runs.ticket.clear();
    runs.verdict.reset();
    runs.exam.reset();
    m_shownRuns->setFilter(runs);
    lblShown->setText(text(u"Билетов: "_s, u"Tickets: "_s) + QString::number(m_shownTickets->rowCount()) + u" / "_s
                      + QString::number(m_tickets->rowCount()) + text(u"   Тестов: "_s, u"   Tests: "_s)
                      + QString::number(m_shownRuns->rowCount()) + u" / "_s + QString::number(m_runs->rowCount()));
    showStatistics();
}

void ResultsWindow::resetFilter()
{
    chkDates->setChecked(false);
    txtName->clear();
    txtTicket->clear();
    cboVerdict->setCurrentIndex(0);
    cboExam->setCurrentIndex(0);
}

void ResultsWindow::showStatistics()
{
    m_statistics = ResultsStatistics::of(m_shownTickets->shownTickets());
    const QList<ResultsTable> tables = ResultsExport::statisticsTables(m_statistics, m_language);
    tblStatistics->clear();
    int rows = 0;
    int columns = 0;
    for (const ResultsTable &table : tables) {
        rows += int(table.rows.size()) + 3;
        columns = std::max(columns, int(table.headers.size()));
    }
    tblStatistics->setRowCount(rows);
    tblStatistics->setColumnCount(columns);
    int row = 0;
    for (const ResultsTable &table : tables) {
        auto *title = new QTableWidgetItem(table.title);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        tblStatistics->setItem(row++, 0, title);
        for (int column = 0; column < table.headers.size(); ++column) {
            auto *header = new QTableWidgetItem(table.headers[column]);
            header->setFont(bold);
            tblStatistics->setItem(row, column, header);
        }
        ++row;
        for (const QVariantList &values : table.rows) {
            for (int column = 0; column < values.size(); ++column) {
                const QVariant &value = values[column];
                const QString shown = value.metaType().id() == QMetaType::QDate
                                          ? QLocale().toString(value.toDate(), QLocale::ShortFormat)
                                      : value.metaType().id() == QMetaType::Double
                                          ? QLocale().toString(value.toDouble(), 'f', 1)
                                          : value.toString();
                tblStatistics->setItem(row, column, new QTableWidgetItem(shown));
            }
            ++row;
        }
        ++row;
    }
    tblStatistics->resizeColumnsToContents();
    showChart();
    showItemAnalysis();
}

void ResultsWindow::showItemAnalysis()
{
    m_itemAnalysis = ItemAnalysis::of(m_shownTickets->shownTickets(), m_attempts);
    const ItemAnalysis &analysis = m_itemAnalysis;
    const auto number = [](double value, int decimals) -> QString { return QLocale().toString(value, 'f', decimals); };
    const auto percent = [&](double share) -> QString { return number(share * 100.0, 0) + u'%'; };
    const auto figure = [&](const std::optional<double> &value) -> QString { return value ? number(*value, 2) : u"—"_s; };
    const auto ticketName = [](const QString &exam, const QString &ticket) -> QString {
        return exam.isEmpty() ? ticket : exam + u" · "_s + ticket;
    };
    const auto fill = [](QTableWidget *table, int row, const QStringList &cells) {
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    };

    tblItemTickets->clear();
    tblItemTickets->setColumnCount(5);
    tblItemTickets->setHorizontalHeaderLabels({text(u"Билет"_s, u"Ticket"_s), text(u"Попыток"_s, u"Attempts"_s),
                                               text(u"Средняя оценка"_s, u"Mean grade"_s),
                                               text(u"Доля зачетов"_s, u"Pass rate"_s),
                                               text(u"Надежность (KR-20)"_s, u"Reliability (KR-20)"_s)});
    tblItemTickets->setRowCount(int(analysis.tickets.size()));
    for (int row = 0; row < analysis.tickets.size(); ++row) {
        const ItemAnalysis::Ticket &ticket = analysis.tickets[row];
        fill(tblItemTickets, row,
             {ticketName(ticket.exam, ticket.ticket), QString::number(ticket.attempts), figure(ticket.meanGrade),
              percent(ticket.passRate),
              ticket.kr20 ? number(*ticket.kr20, 2) : ItemAnalysis::reliabilityText(ticket.reliability, m_language)});
    }

    tblItems->clear();
    tblItems->setColumnCount(9);
    tblItems->setHorizontalHeaderLabels(
        {text(u"Билет"_s, u"Ticket"_s), text(u"Вопрос"_s, u"Question"_s), text(u"Попыток"_s, u"Attempts"_s),
         text(u"Решаемость"_s, u"Facility"_s), text(u"Связь с остальными"_s, u"Item-rest"_s),
         text(u"Индекс 27 %"_s, u"Upper-lower 27 %"_s), text(u"Без ответа"_s, u"Unanswered"_s),
         text(u"Выбранные ответы (✓ верный)"_s, u"Answers chosen (✓ right)"_s), text(u"Отметки"_s, u"Flags"_s)});
    tblItems->setRowCount(int(analysis.questions.size()));
    for (int row = 0; row < analysis.questions.size(); ++row) {
        const ItemAnalysis::Question &question = analysis.questions[row];
        QStringList options;
        for (const ItemAnalysis::Option &option : question.options)
            options << (option.right ? u"✓ "_s : QString()) + option.answer + u": "_s + QString::number(option.chosen);
        const QString shown = QString::number(question.number)
                              + (question.text.isEmpty() ? QString() : u". "_s + question.text.simplified());
        fill(tblItems, row,
             {ticketName(question.exam, question.ticket), shown, QString::number(question.attempts),
              percent(question.facility), figure(question.itemRest), figure(question.upperLower),
              percent(question.unansweredShare()), options.join(u"; "_s),
              ItemAnalysis::flagsText(question.flags, m_language)});
    }
    for (QTableWidget *table : {tblItemTickets, tblItems}) {
        table->resizeColumnsToContents();
        table->resizeRowsToContents();
    }
    tblItems->setColumnWidth(1, std::min(tblItems->columnWidth(1), 320));
    tblItems->setColumnWidth(7, std::min(tblItems->columnWidth(7), 320));
    showItemChart();
}

void ResultsWindow::showItemChart()
{
    if (!m_module)
        return;
    const ResultsChart chart = itemChart();
    m_module->showChart(itemChartView, chart);
    // A screen reader cannot see the bars: the chart's description says what they show.
    QStringList values;
    for (qsizetype i = 0; i < chart.values.size(); ++i)
        values << chart.labels[i] + u": "_s + QLocale().toString(chart.values[i]) + (chart.flagged[i] ? text(u" (с отметкой)"_s, u" (flagged)"_s) : QString());
    itemChartView->setAccessibleDescription(chart.title + u". "_s + values.join(u"; "_s));
}

ResultsChart ResultsWindow::itemChart() const
{
    ResultsChart chart;
    const bool facility = cboItemChart->currentIndex() != DiscriminationChart;
    // A bar a question, named by its number, with its ticket where more than one ticket is shown
    // and the first word of its exam where more than one exam is. The axis keeps one bar a name,
    // so a name met again is told apart by zero-width spaces.
    const bool oneTicket = m_itemAnalysis.tickets.size() <= 1;
    QSet<QString> exams;
    for (const ItemAnalysis::Ticket &ticket : m_itemAnalysis.tickets)
        exams.insert(ticket.exam);
    QSet<QString> named;
    for (const ItemAnalysis::Question &question : m_itemAnalysis.questions) {
        QString label = oneTicket ? QString::number(question.number)
                                  : question.ticket + u'·' + QString::number(question.number);
        if (exams.size() > 1)
            label = question.exam.section(u' ', 0, 0).left(12) + u' ' + label;
        while (named.contains(label))
            label += QChar(0x200B);
        named.insert(label);
        chart.labels << label;
        chart.values << (facility ? std::round(question.facility * 1000.0) / 10.0
                                  : std::round(question.itemRest.value_or(0.0) * 100.0) / 100.0);
        chart.flagged << (question.flags != 0);
    }
    if (facility) {
        chart.title = text(u"Решаемость по вопросам"_s, u"Facility by question"_s);
        chart.seriesName = text(u"Верно, %"_s, u"Right, %"_s);
    } else {
        chart.title = text(u"Связь с остальными по вопросам"_s, u"Item-rest discrimination by question"_s);
        chart.seriesName = text(u"Связь с остальными"_s, u"Item-rest"_s);
        chart.minimum = -1.0;
        chart.maximum = 1.0;
        chart.axisFormat = u"%.1f"_s;
    }
    chart.title += text(u" (красным: вопросы с отметками)"_s, u" (in red: flagged questions)"_s);
    return chart;
}

void ResultsWindow::showChart()
{
    if (m_module)
        m_module->showChart(chartView, chart());
}

ResultsChart ResultsWindow::chart() const
{
    ResultsChart chart;
    const auto percent = [](double share) { return std::round(share * 1000.0) / 10.0; };
    switch (cboChart->currentIndex()) {
    case TicketsChart:
        chart.title = text(u"Доля верных ответов по билетам"_s, u"Right answers by ticket"_s);
        for (const auto &[ticket, answers] : m_statistics.tickets) {
            chart.labels << ticket;
            chart.values << percent(answers.rightShare());
        }
        break;
    case VerdictsChart:
        chart.kind = ResultsChart::Kind::Pie;
        chart.title = text(u"Вердикты"_s, u"Verdicts"_s);
        for (const auto &[verdict, count] : m_statistics.verdicts) {
            chart.labels << ResultsTexts::verdict(verdict, m_language) + u": "_s + QString::number(count);
            chart.values << count;
            chart.colours << (verdict == RecordedVerdict::Passed         ? QColor(0, 128, 0)
                              : verdict == RecordedVerdict::Failed       ? QColor(255, 0, 0)
                              : verdict == RecordedVerdict::FailedOnTime ? QColor(176, 0, 0)
                                                                         : QColor());
        }
        break;
    case DaysChart:
        chart.kind = ResultsChart::Kind::Days;
        chart.title = text(u"Доля зачетов по дням"_s, u"Pass rate by day"_s);
        chart.dateFormat = QLocale().dateFormat(QLocale::ShortFormat);
        for (const auto &[date, day] : m_statistics.days) {
            chart.days << date;
            chart.values << percent(day.passRate());
        }
        break;
    default:
        chart.title = text(u"Доля верных ответов по вопросам"_s, u"Right answers by question"_s);
        for (int n = 0; n < TicketResult::Questions; ++n) {
            if (m_statistics.questions[n].asked == 0)
                continue;
            chart.labels << QString::number(n + 1);
            chart.values << percent(m_statistics.questions[n].rightShare());
        }
    }
    if (chart.kind == ResultsChart::Kind::Bars)
        chart.seriesName = text(u"Верно, %"_s, u"Right, %"_s);
    return chart;
}

ResultsModule *ResultsWindow::module()
{
    if (!m_module) {
        m_context.message(ProgramTitle,
                      text(u"Графики и экспорт XLSX недоступны: не загружен модуль результатов.\n"_s,
                           u"Charts and the XLSX export are not available: the results module is not loaded.\n"_s)
                          + m_moduleError,
                      MessageIcon::Critical);
    }
    return m_module;
}

QString ResultsWindow::suggestedPath(const QString &name) const
{
    return m_context.platform().documentsFolder() + u'/' + name;
}

void ResultsWindow::sayWhereWritten(bool written, const QString &path, const QString &reason)
{
    if (written) {
        m_context.message(ProgramTitle,
                          text(u"Файл сохранён: "_s, u"The file was saved: "_s) + QDir::toNativeSeparators(path),
                          MessageIcon::Information);
        return;
    }
    m_context.message(ProgramTitle,
                  text(u"Не удалось сохранить файл "_s, u"The file could not be saved: "_s) + QDir::toNativeSeparators(path)
                      + u"\n"_s + reason,
                  MessageIcon::Critical);
}

void ResultsWindow::saveChart()
{
    if (!module())
        return;
    const QString path = m_context.platform().saveFileName(text(u"Сохранить график"_s, u"Save the chart"_s),
                                                       suggestedPath(u"chart.png"_s),
                                                       text(u"Рисунки PNG (*.png)"_s, u"PNG pictures (*.png)"_s));
    if (path.isEmpty())
        return;
    // Encoded in memory and written through the file layer, so a failure has its reason and
    // an existing chart is replaced whole or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    FileError error(FileError::Kind::Other, path);
    QWidget *shown = tabResults->currentWidget() == pageItems ? itemChartView : chartView;
    const bool written = shown->grab().save(&buffer, "PNG") && AnsiText::writeBytes(path, png, &error);
    sayWhereWritten(written, path, error.reason(LanguagePolicy(m_language)));
}

void ResultsWindow::exportCsv()
{
    // The table of the tab shown: the tests, the statistics, or else the tickets.
    const QWidget *tab = tabResults->currentWidget();
    const QString name = tab == tblRuns ? u"tests.csv"_s : tab == pageStatistics ? u"statistics.csv"_s : u"tickets.csv"_s;
    const QString path = m_context.platform().saveFileName(text(u"Экспорт CSV"_s, u"Export CSV"_s), suggestedPath(name),
                                                       text(u"Файлы CSV (*.csv)"_s, u"CSV files (*.csv)"_s));
    if (path.isEmpty())
        return;
    FileError error;
    const bool written = tab == pageStatistics
                             ? ResultsExport::writeCsv(path, ResultsExport::statisticsTables(m_statistics, m_language), &error)
                             : ResultsExport::writeCsv(path, tab == tblRuns ? *m_shownRuns : *m_shownTickets, &error);
    sayWhereWritten(written, path, error.reason(LanguagePolicy(m_language)));
}

void ResultsWindow::exportPdf()
{
    const QString path = m_context.platform().saveFileName(text(u"Сохранить PDF"_s, u"Save PDF"_s),
                                                           suggestedPath(u"results.pdf"_s),
                                                           text(u"Файлы PDF (*.pdf)"_s, u"PDF files (*.pdf)"_s));
    if (path.isEmpty())
        return;
    FileError error;
    sayWhereWritten(PagedDocument::writePdf(path, printedPage(), QPageLayout::Landscape, &error), path,
                    error.reason(LanguagePolicy(m_language)));
}

void ResultsWindow::print()
{
    const PagedDocument::Printed printed = PagedDocument::print(m_context.platform(), text(u"Печать"_s, u"Print"_s),
                                                                printedPage(), QPageLayout::Landscape);
    if (printed == PagedDocument::Printed::Failed)
        m_context.platform().messageBox(windowTitle(), text(u"Не удалось напечатать результаты."_s,
                                                            u"The results could not be printed."_s),
                                        MessageIcon::Warning);
}

QString ResultsWindow::printedPage() const
{
    // The tickets without the twenty mark columns and the report line, which a page cannot hold.
    ResultsTable tickets = ResultsTable::of(*m_shownTickets, text(u"Билеты"_s, u"Tickets"_s));
    const auto keep = [](qsizetype column) {
        return column < TicketResultsModel::FirstMark
               || (column >= TicketResultsModel::Right && column < TicketResultsModel::Line);
    };
    QStringList headers;
    for (qsizetype column = 0; column < tickets.headers.size(); ++column) {
        if (keep(column))
            headers << tickets.headers[column];
    }
    tickets.headers = headers;
    for (QVariantList &row : tickets.rows) {
        QVariantList kept;
        for (qsizetype column = 0; column < row.size(); ++column) {
            if (keep(column))
                kept << row[column];
        }
        row = kept;
    }
    QList<ResultsTable> tables{tickets};
    tables += ResultsExport::statisticsTables(m_statistics, m_language);
    tables += ItemAnalysis::of(m_shownTickets->shownTickets(), m_attempts).tables(m_language);

    // What is shown: the day, the exam and the filter.
    QStringList heading{
        text(u"Дата: "_s, u"Date: "_s) + QLocale().toString(m_context.platform().currentDateTime().date(), QLocale::ShortFormat),
        text(u"Экзамен: "_s, u"Exam: "_s) + cboExam->currentText()};
    QStringList filter;
    if (chkDates->isChecked())
        filter << QLocale().toString(dtFrom->date(), QLocale::ShortFormat) + u" – "_s
                      + QLocale().toString(dtTo->date(), QLocale::ShortFormat);
    if (!txtName->text().trimmed().isEmpty())
        filter << lblName->text() + u' ' + txtName->text().trimmed();
    if (!txtTicket->text().trimmed().isEmpty())
        filter << lblTicket->text() + u' ' + txtTicket->text().trimmed();
    if (cboVerdict->currentIndex() > 0)
        filter << lblVerdict->text() + u' ' + cboVerdict->currentText();
    heading << text(u"Отбор: "_s, u"Filter: "_s) + (filter.isEmpty() ? text(u"нет"_s, u"none"_s) : filter.join(u"; "_s));

    return ResultsPdf::html(text(u"Результаты экзаменов"_s, u"Exam results"_s), heading, tables);
}

void ResultsWindow::exportXlsx()
{
    if (!module())
        return;
    const QString path = m_context.platform().saveFileName(text(u"Экспорт XLSX"_s, u"Export XLSX"_s),
                                                       suggestedPath(u"results.xlsx"_s),
                                                       text(u"Книги Excel (*.xlsx)"_s, u"Excel workbooks (*.xlsx)"_s));
    if (path.isEmpty())
        return;
    const QList<ResultsSheet> sheets{
        {text(u"Билеты"_s, u"Tickets"_s), {ResultsTable::of(*m_shownTickets)}},
        {text(u"Тесты"_s, u"Tests"_s), {ResultsTable::of(*m_shownRuns)}},
        {text(u"Статистика"_s, u"Statistics"_s), ResultsExport::statisticsTables(m_statistics, m_language)},
    };
    QString reason;
    sayWhereWritten(m_module->writeXlsx(path, sheets, &reason), path, reason);
}
