#include "core/files/ansi_text.h"
#include "core/questionnaire/questionnaire_report.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_report.h"
#include "core/program/program_paths.h"
#include "core/reports/results_export.h"
#include "core/reports/results_models.h"
#include "gui/results/results_window.h"
#include "gui/settings/settings_window.h"
#include "support/controls.h"
#include "support/program_folder.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QDateEdit>
#include <QCheckBox>
#include <QCategoryAxis>
#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QValueAxis>

using namespace Qt::StringLiterals;

namespace {

ExamRecord record(const QString &language, const QString &date, const QString &student, int ticket,
                  const QString &marks, Verdict verdict)
{
    ExamRecord result;
    result.language = language;
    result.date = date;
    result.time = u"10:30:15"_s;
    result.student = u"Ф.И.О ,  Данные  "_s + student;
    result.ticket = u"Билет № b"_s + QString::number(ticket);
    for (int n = 1; n <= ExamReport::Questions; ++n) {
        const QString mark = n <= marks.size() ? marks.mid(n - 1, 1) : QString();
        result.marks << (mark == u"." ? QString() : mark);
    }
    result.verdict = verdict;
    return result;
}

// The reports of a morning: three tickets and one questionnaire run, written by the program's
// own writers, with a line of stray text in the exam report.
void writeReports(const ProgramFolder &folder)
{
    QVERIFY(ExamReport::append(folder.path(), record(u"rus"_s, u"08.12.2026"_s, u"Иванов"_s, 1, u"552"_s, Verdict::Passed)));
    QVERIFY(ExamReport::append(folder.path(), record(u"eng"_s, u"12/9/2026"_s, u"Smith"_s, 2, u"222"_s, Verdict::Failed)));
    QVERIFY(AnsiText::append(folder.path(u"s/oth.txt"_s), u"stray\r\n"_s));
    QVERIFY(ExamReport::append(folder.path(), record(u"rus"_s, u"09.12.2026"_s, u"Петров"_s, 1, u"5"_s, Verdict::FailedOnTime)));
    const std::array<QString, 3> conclusions{u"Плохо\n"_s, u"Средне\n"_s, u"Хорошо\n"_s};
    QVERIFY(QuestionnaireReport::append(
        folder.path(), QuestionnaireReport::header(u"travel"_s, u"10:31"_s, u"08.12.2026"_s)
                           + QuestionnaireReport::answerLine(u"Куда?\n"_s, u"В горы"_s, u"3"_s)
                           + QuestionnaireReport::conclusionBlock(u"3"_s, u"Средне\n"_s, conclusions,
                                                                  {u"1"_s, u"5"_s, u"9"_s})));
}

// The text of a PDF file, its pages split by form feeds; empty when pdftotext failed.
QStringList pdfPages(const QString &path)
{
    QProcess extract;
    extract.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    if (!extract.waitForFinished(30000) || extract.exitCode() != 0)
        return {};
    return QString::fromUtf8(extract.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
}

QStringList column(const QAbstractItemModel *model, int column)
{
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->index(row, column).data().toString();
    return cells;
}

} // namespace

class ResultsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void captionsFollowTheLanguage_data();
    void captionsFollowTheLanguage();
    void showsFiltersSortsAndExports();
    void savesTheChart();
    void namesEachDayOnce_data();
    void namesEachDayOnce();
    void cancelsALongReading();
    void saysWhenAnExportFails();
    void turnsTabsByTheKeyboard();
    void worksWithoutTheModule_data();
    void worksWithoutTheModule();
    void choosesAnExam();
    void savesAPdf();
    void printsThroughThePrintDialog();
    void chartsTheItemAnalysis_data();
    void chartsTheItemAnalysis();

private:
    ResultsWindow *openResults(ProgramFolder &folder, const QString &language);
};

ResultsWindow *ResultsWindowTest::openResults(ProgramFolder &folder, const QString &language)
{
    folder.writeSettings({u"re="_s + language, u"ball=4"_s});
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    auto *button = control<QPushButton>(settings, "cmdResults");
    if (!button)
        return nullptr;
    button->click();
    ResultsWindow *window = app.resultsWindow();
    if (window)
        (void)QTest::qWaitFor([window] { return !window->isReading(); }, 20000);
    return window;
}

void ResultsWindowTest::captionsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QByteArray>("csvHeader");
    QTest::newRow("rus") << u"rus"_s << u"Результаты"_s << u"Закрыть"_s
                         << QByteArray("\xEF\xBB\xBF\xD0\x94\xD0\xB0\xD1\x82\xD0\xB0,");
    QTest::newRow("another language keeps Russian")
        << u"deu"_s << u"Результаты"_s << u"Закрыть"_s << QByteArray("\xEF\xBB\xBF\xD0\x94\xD0\xB0\xD1\x82\xD0\xB0,");
    QTest::newRow("eng") << u"eng"_s << u"Results"_s << u"To Close"_s << QByteArray("\xEF\xBB\xBF" "Date,Time,Student,");
}

void ResultsWindowTest::captionsFollowTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, button);
    QFETCH(QString, close);
    QFETCH(QByteArray, csvHeader);
    ProgramFolder folder;
    writeReports(folder);
    ResultsWindow *window = openResults(folder, language);
    QVERIFY(window);
    Application &app = folder.app();
    QCOMPARE(control<QPushButton>(app.settingsWindow(), "cmdResults")->text(), button);
    QVERIFY(window->isVisible());
    QVERIFY(!app.settingsWindow()->isVisible());
    QCOMPARE(control<QPushButton>(window, "cmdClose")->text(), close);
    folder.platform.saveAnswers.enqueue(folder.path(u"tickets.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    const QByteArray csv = folder.readBytes(u"tickets.csv"_s);
    QVERIFY2(csv.startsWith(csvHeader), csv.left(40).constData());
}

// How the filters choose, how the values sort and what the files hold are the results
// models' tests; here each control of the window reaches them, once.
void ResultsWindowTest::showsFiltersSortsAndExports()
{
    ProgramFolder folder;
    writeReports(folder);
    const QByteArray exams = folder.readBytes(u"s/oth.txt"_s);
    const QByteArray runs = folder.readBytes(u"s/lzm.txt"_s);
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    Application &app = folder.app();

    auto *tickets = control<QTableView>(window, "tblTickets");
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), (QStringList{u"Иванов"_s, u"Smith"_s, u"Петров"_s}));
    // In the order of the report, and the header claims no other.
    QCOMPARE(tickets->horizontalHeader()->sortIndicatorSection(), -1);
    QCOMPARE(column(control<QTableView>(window, "tblRuns")->model(), QuestionnaireRunsModel::Conclusion),
             QStringList{u"Средне"_s});
    // The tests' tab writes its table as it shows it.
    auto *runsView = control<QTableView>(window, "tblRuns");
    control<QTabWidget>(window, "tabResults")->setCurrentWidget(runsView);
    folder.platform.saveAnswers.enqueue(folder.path(u"tests.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    control<QTabWidget>(window, "tabResults")->setCurrentWidget(tickets);
    const QByteArray tests = folder.readBytes(u"tests.csv"_s);
    QCOMPARE(tests, ResultsExport::csv({ResultsTable::of(*runsView->model())}));
    QVERIFY(tests.contains(u"Средне"_s.toUtf8()));
    // The stray line is shown with its line numbers: the next record starts on a line of its
    // own after it, as the stray line is no record's end.
    auto *problems = control<QTableWidget>(window, "tblProblems");
    QCOMPARE(problems->rowCount(), 1);
    QCOMPARE(problems->item(0, 1)->text(), u"17\u201318"_s);
    QCOMPARE(problems->item(0, 3)->text(), u"stray\n"_s);

    tickets->sortByColumn(TicketResultsModel::Date, Qt::DescendingOrder);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), (QStringList{u"Smith"_s, u"Петров"_s, u"Иванов"_s}));
    control<QLineEdit>(window, "txtTicket")->setText(u"1"_s);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), (QStringList{u"Петров"_s, u"Иванов"_s}));
    control<QComboBox>(window, "cboVerdict")->setCurrentIndex(1);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), QStringList{u"Иванов"_s});
    QCOMPARE(window->statistics().attempts, 1);
    control<QPushButton>(window, "cmdReset")->click();
    control<QCheckBox>(window, "chkDates")->setChecked(true);
    control<QDateEdit>(window, "dtFrom")->setDate(QDate(2026, 12, 9));
    control<QDateEdit>(window, "dtTo")->setDate(QDate(2026, 12, 9));
    control<QLineEdit>(window, "txtName")->setText(u"smi"_s);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), QStringList{u"Smith"_s});
    QCOMPARE(window->statistics().questions[0].wrong, 1);

    // What the filter shows goes to the files.
    folder.platform.saveAnswers.enqueue(folder.path(u"tickets.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    const QByteArray csv = folder.readBytes(u"tickets.csv"_s);
    QCOMPARE(csv.count("\r\n"), 2);
    QVERIFY(csv.contains("2026-12-09,10:30:15,Smith,,2,2,2,2,"));
    folder.platform.saveAnswers.enqueue(folder.path(u"results.xlsx"_s));
    control<QPushButton>(window, "cmdXlsx")->click();
    QVERIFY(folder.readBytes(u"results.xlsx"_s).startsWith("PK"));
    // Exports go to the user's documents and say where they went.
    QCOMPARE(folder.platform.saveSuggestions.last(), folder.platform.documentsPath + u"/results.xlsx"_s);
    QCOMPARE(folder.platform.messageTexts(),
             (QStringList{u"The file was saved: "_s + folder.path(u"tests.csv"_s),
                          u"The file was saved: "_s + folder.path(u"tickets.csv"_s),
                          u"The file was saved: "_s + folder.path(u"results.xlsx"_s)}));

    control<QPushButton>(window, "cmdClose")->click();
    QVERIFY(!app.resultsWindow());
    QVERIFY(app.settingsWindow()->isVisible());
    // The reports were only read.
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), exams);
    QCOMPARE(folder.readBytes(u"s/lzm.txt"_s), runs);
}

void ResultsWindowTest::savesTheChart()
{
    ProgramFolder folder;
    writeReports(folder);
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    auto *tabs = control<QTabWidget>(window, "tabResults");
    auto *png = control<QPushButton>(window, "cmdPng");
    QVERIFY(!png->isEnabled());
    tabs->setCurrentWidget(control(window, "pageStatistics"));
    QVERIFY(png->isEnabled());
    for (int chart = 0; chart < 4; ++chart) {
        control<QComboBox>(window, "cboChart")->setCurrentIndex(chart);
        QVERIFY(!control<QChartView>(window, "chartView")->chart()->series().isEmpty());
    }
    folder.platform.saveAnswers.enqueue(folder.path(u"chart.png"_s));
    png->click();
    QVERIFY(!QImage(folder.path(u"chart.png"_s)).isNull());
    // A cancelled dialog writes nothing.
    png->click();
    // A chart that cannot be written says the file and why.
    folder.platform.saveAnswers.enqueue(folder.path(u"missing/chart.png"_s));
    png->click();
    QCOMPARE(folder.platform.messageTexts(),
             (QStringList{u"The file was saved: "_s + folder.path(u"chart.png"_s),
                          u"The file could not be saved: "_s + folder.path(u"missing/chart.png"_s)
                              + u"\nNo such file or directory"_s}));
    folder.platform.messages.clear();
    // On this tab the CSV holds the statistics, one table below the other.
    folder.platform.saveAnswers.enqueue(folder.path(u"statistics.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    QCOMPARE(folder.platform.saveSuggestions.last(), folder.platform.documentsPath + u"/statistics.csv"_s);
    const QByteArray csv = folder.readBytes(u"statistics.csv"_s);
    QVERIFY2(csv.startsWith("\xEF\xBB\xBF" "Attempts\r\nIn all,Without marks\r\n3,0\r\n\r\nVerdicts\r\n"),
             csv.left(80).constData());
    QVERIFY(csv.contains("\r\nBy day\r\nDate,Attempts,Delivered,\"Delivered, %\"\r\n2026-12-08,1,1,100\r\n"));
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"The file was saved: "_s + folder.path(u"statistics.csv"_s)});
}

void ResultsWindowTest::namesEachDayOnce_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("one day") << QStringList{u"09.12.2026"_s, u"09.12.2026"_s, u"09.12.2026"_s, u"09.12.2026"_s}
                             << QStringList{u"12/9/26"_s};
    QTest::newRow("two days") << QStringList{u"08.12.2026"_s, u"09.12.2026"_s, u"08.12.2026"_s, u"09.12.2026"_s}
                              << QStringList{u"12/8/26"_s, u"12/9/26"_s};
}

// The pass-rate chart names each day on its axis once, however many tickets ended that day.
void ResultsWindowTest::namesEachDayOnce()
{
    QFETCH(QStringList, dates);
    QFETCH(QStringList, names);
    ProgramFolder folder;
    int ticket = 0;
    for (const QString &date : dates)
        QVERIFY(ExamReport::append(folder.path(), record(u"rus"_s, date, u"Иванов"_s, ++ticket, u"55"_s, Verdict::Passed)));
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    control<QTabWidget>(window, "tabResults")->setCurrentWidget(control(window, "pageStatistics"));
    control<QComboBox>(window, "cboChart")->setCurrentIndex(3);
    QChart *chart = control<QChartView>(window, "chartView")->chart();
    QCOMPARE(chart->title(), u"Pass rate by day"_s);
    const QList<QAbstractAxis *> axes = chart->axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto *days = qobject_cast<QCategoryAxis *>(axes.first());
    QVERIFY(days);
    QCOMPARE(days->categoriesLabels(), names);
}

void ResultsWindowTest::cancelsALongReading()
{
    ProgramFolder folder;
    const QByteArray one = AnsiText::encode(
        ExamReport::recordText(record(u"rus"_s, u"08.12.2026"_s, u"Иванов"_s, 1, u"552"_s, Verdict::Passed)));
    folder.writeBytes(u"s/oth.txt"_s, one.repeated(60000));
    folder.writeSettings({u"re=rus"_s, u"ball=4"_s});
    Application &app = folder.start();
    app.showSettings();
    control<QPushButton>(app.settingsWindow(), "cmdResults")->click();
    ResultsWindow *window = app.resultsWindow();
    QVERIFY(window->isReading());
    QVERIFY(control<QProgressBar>(window, "prgRead")->isVisible());
    QSignalSpy ended(window, &ResultsWindow::readingEnded);
    control<QPushButton>(window, "cmdCancel")->click();
    QVERIFY(ended.wait(20000));
    QVERIFY(!control<QProgressBar>(window, "prgRead")->isVisible());
    QCOMPARE(control<QTableView>(window, "tblTickets")->model()->rowCount(), 0);

    // Read again, to the end.
    control<QPushButton>(window, "cmdRefresh")->click();
    QVERIFY(ended.wait(60000));
    QCOMPARE(control<QTableView>(window, "tblTickets")->model()->rowCount(), 60000);
}

void ResultsWindowTest::saysWhenAnExportFails()
{
    ProgramFolder folder;
    writeReports(folder);
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    folder.platform.saveAnswers.enqueue(folder.path(u"missing/tickets.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    folder.platform.saveAnswers.enqueue(folder.path(u"missing/results.xlsx"_s));
    control<QPushButton>(window, "cmdXlsx")->click();
    const QStringList messages = folder.platform.messageTexts();
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages[0].startsWith(u"The file could not be saved: "_s));
    QVERIFY(messages[0].contains(u"tickets.csv"_s));
    QVERIFY(messages[1].contains(u"results.xlsx"_s));
}

// Ctrl+Tab and Ctrl+Page Down turn to the next tab from wherever the focus is, the tables and
// the name box included; Ctrl+Shift+Tab and Ctrl+Page Up turn back; both wrap around.
void ResultsWindowTest::turnsTabsByTheKeyboard()
{
    ProgramFolder folder;
    writeReports(folder);
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *tabs = control<QTabWidget>(window, "tabResults");
    auto *table = control<QTableView>(window, "tblTickets");
    table->setFocus();
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(table, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 2);
    QTest::keyClick(control<QLineEdit>(window, "txtName"), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 3);
}

void ResultsWindowTest::worksWithoutTheModule_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("module");
    QTest::addColumn<QString>("said");
    QTest::newRow("missing, rus") << u"rus"_s << QByteArray() << u"Графики и экспорт XLSX недоступны"_s;
    QTest::newRow("missing, eng") << u"eng"_s << QByteArray() << u"Charts and the XLSX export are not available"_s;
    QTest::newRow("not a library") << u"eng"_s << QByteArray("\x7f" "ELF broken")
                                   << u"Charts and the XLSX export are not available"_s;
}

// A program folder whose results module is missing still shows the results and writes CSV;
// the chart area and the XLSX and chart buttons say why they cannot work, and nothing is asked.
void ResultsWindowTest::worksWithoutTheModule()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, module);
    QFETCH(QString, said);
    ProgramFolder folder;
    writeReports(folder);
    folder.platform.modules = folder.path(u"no modules"_s);
    if (!module.isEmpty())
        folder.writeBytes(u"no modules/libtavring_results.so"_s, module);
    ResultsWindow *window = openResults(folder, language);
    QVERIFY(window);
    QCOMPARE(control<QTableView>(window, "tblTickets")->model()->rowCount(), 3);
    auto *missing = control<QLabel>(window, "chartView");
    QVERIFY(missing);
    QVERIFY(missing->text().contains(u"no modules/libtavring_results.so: "_s));
    control<QTabWidget>(window, "tabResults")->setCurrentWidget(control(window, "pageStatistics"));
    control<QPushButton>(window, "cmdPng")->click();
    control<QPushButton>(window, "cmdXlsx")->click();
    QCOMPARE(folder.platform.saveSuggestions, QStringList());
    const QStringList messages = folder.platform.messageTexts();
    QCOMPARE(messages.size(), 2);
    QVERIFY2(messages[1].startsWith(said), qPrintable(messages[1]));
    QVERIFY(messages[1].contains(u"tavring_results"_s));

    folder.platform.saveAnswers.enqueue(folder.path(u"statistics.csv"_s));
    control<QPushButton>(window, "cmdCsv")->click();
    QVERIFY(folder.readBytes(u"statistics.csv"_s).startsWith("\xEF\xBB\xBF"));
    QCOMPARE(folder.platform.messageTexts().size(), 3);
}

void ResultsWindowTest::choosesAnExam()
{
    ProgramFolder folder;
    writeReports(folder);
    // Иванов's ticket is in the attempts journal too, with its exam; a line of it is damaged.
    Attempt attempt;
    attempt.examTitle = u"Физика"_s;
    attempt.language = u"rus"_s;
    attempt.ticketFolder = u"b1"_s;
    attempt.student.line = u"Ф.И.О ,  Данные  Иванов"_s;
    attempt.ending = Attempt::Ending::Graded;
    attempt.savedToReport = true;
    attempt.reportDate = u"08.12.2026"_s;
    attempt.reportTime = u"10:30:15"_s;
    const QString journal = ProgramPaths(folder.path()).attemptsJournal();
    QVERIFY(AnsiText::appendBytes(journal, "{\"version\":1,\n"));
    QVERIFY(AttemptsJournal::append(journal, attempt));
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);

    auto *exams = control<QComboBox>(window, "cboExam");
    QCOMPARE(exams->count(), 3);
    QCOMPARE(exams->itemText(1), u"Физика"_s);
    QCOMPARE(exams->itemText(2), u"Without an exam"_s);
    auto *tickets = control<QTableView>(window, "tblTickets");
    // Covered by its attempt, the record is still one row.
    QCOMPARE(tickets->model()->rowCount(), 3);
    exams->setCurrentIndex(1);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), QStringList{u"Иванов"_s});
    QCOMPARE(window->statistics().attempts, 1);
    exams->setCurrentIndex(2);
    QCOMPARE(column(tickets->model(), TicketResultsModel::Student), (QStringList{u"Smith"_s, u"Петров"_s}));
    control<QPushButton>(window, "cmdReset")->click();
    QCOMPARE(tickets->model()->rowCount(), 3);

    auto *problems = control<QTableWidget>(window, "tblProblems");
    QCOMPARE(problems->rowCount(), 2);
    QCOMPARE(problems->item(1, 0)->text(), u"s/attempts.jsonl"_s);
    QCOMPARE(problems->item(1, 1)->text(), u"1"_s);

    // The item analysis follows the exam chosen: one ticket of Физика.
    exams->setCurrentIndex(1);
    auto *itemTickets = control<QTableWidget>(window, "tblItemTickets");
    QCOMPARE(itemTickets->rowCount(), 1);
    QCOMPARE(itemTickets->item(0, 0)->text(), u"Физика · b1"_s);
    QCOMPARE(itemTickets->item(0, 4)->text(), u"too few attempts (at least 5 needed)"_s);

    // Over every exam two tickets are named b1: the chart still has a bar for each question.
    exams->setCurrentIndex(0);
    auto *chart = control<QChartView>(window, "itemChartView")->chart();
    auto *bars = qobject_cast<QBarSeries *>(chart->series().value(0));
    QVERIFY(bars);
    QCOMPARE(bars->barSets().first()->count(), control<QTableWidget>(window, "tblItems")->rowCount());
    QCOMPARE(qobject_cast<QBarCategoryAxis *>(chart->axes(Qt::Horizontal).value(0))->count(),
             control<QTableWidget>(window, "tblItems")->rowCount());
}

void ResultsWindowTest::savesAPdf()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    ProgramFolder folder;
    // Enough tickets for the table to run over several pages.
    QString report;
    for (int n = 0; n < 120; ++n)
        report += ExamReport::recordText(record(u"eng"_s, u"12/9/2026"_s, u"Student"_s + QString::number(n), 1 + n % 3,
                                                u"552"_s, Verdict::Passed));
    folder.writeText(u"s/oth.txt"_s, report);
    ResultsWindow *window = openResults(folder, u"eng"_s);
    QVERIFY(window);
    control<QLineEdit>(window, "txtTicket")->setText(u"2"_s);

    const QString path = folder.path(u"results.pdf"_s);
    folder.platform.saveAnswers.enqueue(path);
    control<QPushButton>(window, "cmdPdf")->click();
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"The file was saved: "_s + path});
    QVERIFY(folder.readBytes(u"results.pdf"_s).startsWith("%PDF"));

    QProcess extract;
    extract.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    QVERIFY(extract.waitForFinished(30000));
    const QString text = QString::fromUtf8(extract.readAllStandardOutput());
    // The pages, split by form feeds: the tickets' header repeats on each page of the table.
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    QVERIFY(pages[0].contains(u"Exam results"_s));
    QVERIFY(pages[0].contains(u"Exam: All"_s));
    QVERIFY(pages[0].contains(u"Filter: Ticket: 2"_s));
    const QString secondPageTop = pages[1].trimmed().section(u'\n', 0, 0);
    QVERIFY2(secondPageTop.contains(u"Student"_s) && secondPageTop.contains(u"Verdict"_s), qPrintable(secondPageTop));
    QVERIFY(text.contains(u"Student1 "_s));
    QVERIFY(!text.contains(u"Student0 "_s));
    QVERIFY(text.contains(u"Item analysis: questions"_s));
    QVERIFY(text.contains(u"Reliability (KR-20)"_s));
}

// The same pages as the PDF go to the printer chosen in the print dialog; a cancelled dialog
// prints nothing and says nothing.
void ResultsWindowTest::printsThroughThePrintDialog()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    ProgramFolder folder;
    QString report;
    for (int n = 0; n < 120; ++n)
        report += ExamReport::recordText(record(u"rus"_s, u"09.12.2026"_s, u"Студент"_s + QString::number(n), 1 + n % 3,
                                                u"552"_s, Verdict::Passed));
    folder.writeText(u"s/oth.txt"_s, report);
    ResultsWindow *window = openResults(folder, u"rus"_s);
    QVERIFY(window);
    auto *print = control<QPushButton>(window, "cmdPrint");
    QCOMPARE(print->text(), u"Печать"_s);

    const QString path = folder.path(u"printed.pdf"_s);
    folder.platform.printAnswers.enqueue(QString());
    print->click();
    QCOMPARE(folder.platform.printTitles, QStringList{u"Печать"_s});
    QVERIFY(!QFile::exists(path));
    QVERIFY(folder.platform.messages.isEmpty());

    control<QLineEdit>(window, "txtName")->setText(u"Студент1"_s);
    folder.platform.printAnswers.enqueue(path);
    print->click();
    QVERIFY(folder.platform.messages.isEmpty());
    const QStringList pages = pdfPages(path);
    QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
    QVERIFY(pages[0].contains(u"Результаты экзаменов"_s));
    QVERIFY(pages[0].contains(u"Дата: "_s));
    QVERIFY(pages[0].contains(u"Экзамен: Все экзамены"_s));
    QVERIFY(pages[0].contains(u"Отбор: Имя: Студент1"_s));
    const QString text = pages.join(u'\f');
    QVERIFY(text.contains(u"Студент19 "_s));
    QVERIFY(!text.contains(u"Студент2 "_s));
    QVERIFY(text.contains(u"KR-20"_s));

    // A printer that cannot take the pages is said, never passed over as printed.
    folder.platform.printAnswers.enqueue(folder.path(u"no/such/folder/printed.pdf"_s));
    print->click();
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Не удалось напечатать результаты."_s});
}

void ResultsWindowTest::chartsTheItemAnalysis_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("facilityTitle");
    QTest::addColumn<QString>("chartName");
    QTest::newRow("rus") << u"rus"_s << u"Решаемость по вопросам"_s << u"Диаграмма анализа вопросов"_s;
    QTest::newRow("eng") << u"eng"_s << u"Facility by question"_s << u"Item analysis chart"_s;
}

// Six tickets b1 of three questions: the first right every time (too easy, flagged, without
// discrimination), the others right in half of them and each correlating 1/3 with the rest.
void ResultsWindowTest::chartsTheItemAnalysis()
{
    QFETCH(QString, language);
    QFETCH(QString, facilityTitle);
    QFETCH(QString, chartName);
    ProgramFolder folder;
    int n = 0;
    for (const QString &marks : {u"555"_s, u"555"_s, u"552"_s, u"522"_s, u"522"_s, u"525"_s})
        QVERIFY(ExamReport::append(folder.path(), record(u"rus"_s, u"09.12.2026"_s, u"Student"_s + QString::number(++n), 1,
                                                         marks, Verdict::Passed)));
    ResultsWindow *window = openResults(folder, language);
    QVERIFY(window);
    auto *kinds = control<QComboBox>(window, "cboItemChart");
    auto *view = control<QChartView>(window, "itemChartView");
    QVERIFY(view);
    QCOMPARE(view->accessibleName(), chartName);
    const auto bars = [view]() -> QBarSet * {
        const QList<QAbstractSeries *> series = view->chart()->series();
        auto *barSeries = series.size() == 1 ? qobject_cast<QBarSeries *>(series.first()) : nullptr;
        return barSeries && barSeries->count() == 1 ? barSeries->barSets().first() : nullptr;
    };
    QVERIFY(view->chart()->title().startsWith(facilityTitle));
    QBarSet *facility = bars();
    QVERIFY(facility);
    QCOMPARE(facility->count(), 3);
    QCOMPARE(facility->at(0), 100.0);
    QCOMPARE(facility->at(1), 50.0);
    QCOMPARE(facility->at(2), 50.0);
    QVERIFY(facility->isBarSelected(0));
    QVERIFY(!facility->isBarSelected(1));
    QVERIFY(!facility->isBarSelected(2));
    auto *axis = qobject_cast<QBarCategoryAxis *>(view->chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    QCOMPARE(axis->categories(), (QStringList{u"1"_s, u"2"_s, u"3"_s}));

    kinds->setCurrentIndex(1);
    QBarSet *discrimination = bars();
    QVERIFY(discrimination);
    QCOMPARE(discrimination->count(), 3);
    QCOMPARE(discrimination->at(0), 0.0);
    QCOMPARE(discrimination->at(1), 0.33);
    QCOMPARE(discrimination->at(2), 0.33);
    QVERIFY(discrimination->isBarSelected(0));
    auto *values = qobject_cast<QValueAxis *>(view->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(values);
    QCOMPARE(values->min(), -1.0);
    QCOMPARE(values->max(), 1.0);
    QVERIFY(view->accessibleDescription().contains(u"1: 0"_s));
}

QTEST_MAIN(ResultsWindowTest)
#include "tst_results_window.moc"
