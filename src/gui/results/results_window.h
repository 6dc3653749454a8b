#pragma once

#include "core/reports/item_analysis.h"
#include "core/reports/report_reader.h"
#include "core/reports/results_statistics.h"
#include "gui/common/captions.h"
#include "gui/results/results_chart.h"

#include <QWidget>

#include <atomic>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QThread;
class QuestionnaireRunsModel;
class ResultsModule;
class ResultsFilterModel;
class TicketResultsModel;
class WindowContext;

// The results of the reports s/oth.txt and s/lzm.txt and of the attempts journal as tables that sort and filter, their
// statistics and charts per exam, and their export to CSV and XLSX. The reports are read off the
// user-interface thread and never written here. Opened from the settings window and left
// only through "Закрыть", which returns to it.
class ResultsWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit ResultsWindow(const WindowContext &context, QWidget *parent = nullptr);
    ~ResultsWindow() override;

    // Reads both reports anew; what was shown stays until the reading ends.
    void read();
    bool isReading() const { return m_reader != nullptr; }

    // The statistics of the tickets the filter shows.
    const ResultsStatistics &statistics() const { return m_statistics; }

signals:
    // A reading ended, done or cancelled.
    void readingEnded();
    // "Закрыть": the settings window takes over.
    void closed();

private:
    void buildControls();
    // A chart view from the results module, or a label saying why there is none.
    QWidget *makeChartView(QWidget *parent, const QString &name);
    void connectHandlers();
    CaptionTable captionTable() const;
    void applyLanguage();
    void applyFilter();
    void resetFilter();
    void showReports(ReportReader::Reports reports);
    void readingFinished(std::shared_ptr<std::optional<ReportReader::Reports>> result);
    void showProblems();
    // The exams of the results to choose from, keeping the one chosen while it is there.
    void fillExams();
    void showStatistics();
    void showItemAnalysis();
    // The chart of the questions analysed: facility or discrimination, flagged ones in red.
    void showItemChart();
    ResultsChart itemChart() const;
    void showChart();
    ResultsChart chart() const;
    // The results module, or null after saying why it cannot be loaded.
    ResultsModule *module();
    void saveChart();
    void exportCsv();
    void exportXlsx();
    // The tickets, statistics and item analysis the filter shows, as a PDF file or on a printer
    // chosen in the print dialog.
    void exportPdf();
    void print();
    // Those tables on landscape pages, headed by the date, the exam and the filter.
    QString printedPage() const;
    QString text(const QString &russian, const QString &english) const;
    QString suggestedPath(const QString &name) const;
    // Says where the file was written, or why it was not.
    void sayWhereWritten(bool written, const QString &path, const QString &reason);

    QLabel *lblFrom;
    QCheckBox *chkDates;
    QDateEdit *dtFrom;
    QLabel *lblTo;
    QDateEdit *dtTo;
    QLabel *lblName;
    QLineEdit *txtName;
    QLabel *lblTicket;
    QLineEdit *txtTicket;
    QLabel *lblVerdict;
    QComboBox *cboVerdict;
    QLabel *lblExam;
    QComboBox *cboExam;
    QPushButton *cmdReset;

    QTabWidget *tabResults;
    QTableView *tblTickets;
    QTableView *tblRuns;
    QWidget *pageStatistics;
    QComboBox *cboChart;
    // The chart view of the results module, or a label that says why there is none.
    QWidget *chartView;
    QTableWidget *tblStatistics;
    QTableWidget *tblProblems;
    QWidget *pageItems;
    QTableWidget *tblItemTickets;
    QTableWidget *tblItems;
    QComboBox *cboItemChart;
    // Like chartView, for the item analysis.
    QWidget *itemChartView;

    QLabel *lblShown;
    QProgressBar *prgRead;
    QPushButton *cmdCancel;
    QPushButton *cmdRefresh;
    QPushButton *cmdCsv;
    QPushButton *cmdXlsx;
    QPushButton *cmdPng;
    QPushButton *cmdPdf;
    QPushButton *cmdPrint;
    QPushButton *cmdClose;

    const WindowContext &m_context;
    // The language of the settings when the window opened: the window keeps it while open.
    QString m_language;
    TicketResultsModel *m_tickets;
    QuestionnaireRunsModel *m_runs;
    ResultsFilterModel *m_shownTickets;
    ResultsFilterModel *m_shownRuns;
    ResultsStatistics m_statistics;
    QList<ReportProblem> m_examProblems;
    QList<ReportProblem> m_runProblems;
    QList<ReportProblem> m_attemptProblems;
    QList<Attempt> m_attempts;
    ItemAnalysis m_itemAnalysis;
    QStringList m_readErrors;
    ResultsModule *m_module = nullptr;
    QString m_moduleError;
    QThread *m_reader = nullptr;
    std::shared_ptr<std::atomic_bool> m_cancel;
};
