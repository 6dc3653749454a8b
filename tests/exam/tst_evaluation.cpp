#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_report.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The marks of questions 1 to 20, "0" for those not given.
QStringList twentyMarks(const QMap<int, QString> &marked)
{
    QStringList marks;
    for (int n = 1; n <= ExamReport::Questions; ++n)
        marks << marked.value(n, u"0"_s);
    return marks;
}

ExamRecord russianRecord()
{
    ExamRecord record;
    record.language = u"rus"_s;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    record.student = u"Ф.И.О ,  Данные  Иванов Иван"_s;
    record.ticket = u"Билет № b2"_s;
    record.marks = twentyMarks({{1, u"5"_s}, {3, u"2"_s}, {20, u"5"_s}});
    record.verdict = Verdict::Failed;
    record.data2 = u"группа 3"_s;
    return record;
}

ExamRecord englishRecord()
{
    ExamRecord record;
    record.language = u"eng"_s;
    record.date = u"12/8/26"_s;
    record.time = u"10:30:15 AM"_s;
    record.student = u"Surname a Name, additional data  John Smith"_s;
    record.ticket = u"Ticket № b1"_s;
    record.marks = twentyMarks({{1, u"5"_s}, {2, u"5"_s}, {3, u"2"_s}, {4, u"5"_s}, {5, u"5"_s}});
    record.verdict = Verdict::Passed;
    return record;
}

ExamRecord otherLanguageRecord()
{
    ExamRecord record;
    record.language = u"deu"_s;
    record.date = u"08.12.2026"_s;
    record.time = u"10:30:15"_s;
    // A letter Windows-1251 cannot hold is written as '?'.
    record.student = u"Ф.И.О ,  Данные  Petra Ř"_s;
    record.ticket = u"Билет № b3"_s;
    // Marks and a verdict make no lines in another language.
    record.marks = twentyMarks({{1, u"5"_s}});
    record.verdict = Verdict::Passed;
    record.data1 = u"1"_s;
    record.data2 = u"2"_s;
    record.data3 = u"3"_s;
    return record;
}

// Starts the program on a one-ticket exam of five questions, enters the student and opens
// ticket 1, as a student does in the start window.
TicketWindow *openTicket(ProgramFolder &folder, const QString &language,
                         const QString &name = u"Иванов Иван"_s, const QStringList &moreSettings = {})
{
    const QString exam = makeExam(folder, u"География"_s, 1, 5);
    folder.writeSettings(QStringList{u"bilet=1"_s, u"vopros=5"_s, u"ball=4"_s, u"time=10"_s, u"pass="_s,
                                     u"re="_s + language, u"z="_s + exam}
                         + moreSettings);
    folder.start();
    TicketWindow *ticket = openTicketByDraw(folder, name);
    folder.platform.clear();
    return ticket;
}

// The sheet of a ticket with these marks and verdict; marked questions have the text
// "Текст вопроса N".
EvaluationWindow *sheetFor(ProgramFolder &folder, const QString &language, const QMap<int, QString> &marks,
                           Verdict verdict)
{
    folder.writeSettings({u"re="_s + language});
    Application &app = folder.start();
    TicketOutcome outcome;
    outcome.ticketLine = u"Билет № b1"_s;
    for (int n = 1; n <= ExamReport::Questions; ++n) {
        const QString mark = marks.value(n, u"0"_s);
        outcome.marks << mark;
        outcome.questionTexts << (mark == u"0"_s ? u"q%1.txt"_s.arg(n) : u"Текст вопроса %1"_s.arg(n));
    }
    outcome.verdict = verdict;
    app.openEvaluation(outcome);
    return app.evaluationWindow();
}

void moveOver(QWidget *control)
{
    const QPointF inside(2, 2);
    QMouseEvent move(QEvent::MouseMove, inside, control->mapToGlobal(inside), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &move);
}

} // namespace

class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void recordBytes_data();
    void recordBytes();
    void dataLineWhenAnyFieldIsFilled_data();
    void dataLineWhenAnyFieldIsFilled();
    void timeHasSeconds_data();
    void timeHasSeconds();
    void twoRecordsInARow();
    void missingReportFolderIsCreated();
    void failedAppendChangesNothing_data();
    void failedAppendChangesNothing();

    void sheetCopiesTheTicket_data();
    void sheetCopiesTheTicket();
    void verdictColour_data();
    void verdictColour();
    void hoverShowsTheQuestion();
    void closingReturnsToAClearedStartWindow_data();
    void closingReturnsToAClearedStartWindow();
    void closingWithoutSavingAsks_data();
    void closingWithoutSavingAsks();
    void failedSaveKeepsTheSheet_data();
    void failedSaveKeepsTheSheet();
    void failedSaveGoesElsewhere();
    void everyResultIsSaved();
    void studentWalksTheWholeRoad();
    void sheetPrintsWhereAllowed_data();
    void sheetPrintsWhereAllowed();
};

void TestEvaluation::recordBytes_data()
{
    QTest::addColumn<ExamRecord>("record");
    QTest::addColumn<QString>("goldenFile");
    QTest::newRow("russian") << russianRecord() << u"rus.txt"_s;
    QTest::newRow("english, no data lines") << englishRecord() << u"eng.txt"_s;
    QTest::newRow("another language, no verdict") << otherLanguageRecord() << u"other.txt"_s;
}

void TestEvaluation::recordBytes()
{
    QFETCH(ExamRecord, record);
    QFETCH(QString, goldenFile);
    QCOMPARE(::recordBytes(record), golden(u"report/"_s + goldenFile));
}

void TestEvaluation::dataLineWhenAnyFieldIsFilled_data()
{
    QTest::addColumn<QString>("data1");
    QTest::addColumn<QString>("data2");
    QTest::addColumn<QString>("data3");
    QTest::addColumn<QByteArray>("dataLine");
    const QByteArray none;
    QTest::newRow("none") << QString() << QString() << QString() << none;
    QTest::newRow("first") << u"a"_s << QString() << QString()
                           << AnsiText::encode(u"Дополнительные сведения: a  "_s);
    QTest::newRow("third only") << QString() << QString() << u"c"_s
                                << AnsiText::encode(u"Дополнительные сведения:   c"_s);
}

void TestEvaluation::dataLineWhenAnyFieldIsFilled()
{
    QFETCH(QString, data1);
    QFETCH(QString, data2);
    QFETCH(QString, data3);
    QFETCH(QByteArray, dataLine);
    ExamRecord record = englishRecord();
    record.data1 = data1;
    record.data2 = data2;
    record.data3 = data3;
    const QList<QByteArray> lines = ::recordBytes(record).split('\n');
    // Date, student, ticket, marks, verdict, then the data line or the closing line.
    const QByteArray expected = (dataLine.isEmpty() ? QByteArray("==================") : dataLine)
                                + "\r\r";
    QCOMPARE(lines.value(5), expected);
}

void TestEvaluation::timeHasSeconds_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("time");
    QTest::newRow("C") << u"C"_s << u"14:05:09"_s;
    QTest::newRow("ru_RU") << u"ru_RU"_s << u"14:05:09"_s;
    QTest::newRow("en_US") << u"en_US"_s << u"2:05:09\u202fPM"_s;
}

void TestEvaluation::timeHasSeconds()
{
    QFETCH(QString, locale);
    QFETCH(QString, time);
    QString text = ExamReport::timeText(QTime(14, 5, 9), QLocale(locale));
    text.replace(u' ', u'\u202f');
    QCOMPARE(text, time);
}

void TestEvaluation::twoRecordsInARow()
{
    ProgramFolder folder;
    folder.writeText(u"s/oth.txt"_s, u"старая запись\r\n"_s);
    QVERIFY(ExamReport::append(folder.path(), russianRecord()));
    QVERIFY(ExamReport::append(folder.path(), englishRecord()));
    // Text that is no record's end is followed by a line end, so the first record stands apart.
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s),
             AnsiText::encode(u"старая запись\r\n\r\n"_s) + golden(u"report/rus.txt"_s) + golden(u"report/eng.txt"_s));
}

void TestEvaluation::missingReportFolderIsCreated()
{
    ProgramFolder folder;
    QVERIFY(QDir(folder.path(u"s"_s)).removeRecursively());
    FileError error;
    QVERIFY2(ExamReport::append(folder.path(), englishRecord(), &error), qPrintable(error.systemText()));
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), golden(u"report/eng.txt"_s));
}

void TestEvaluation::failedAppendChangesNothing_data()
{
    QTest::addColumn<QString>("blocker");
    // The report file is a folder, or the report folder is a file.
    QTest::newRow("report is a folder") << u"s/oth.txt"_s;
    QTest::newRow("s is a file") << u"s"_s;
}

void TestEvaluation::failedAppendChangesNothing()
{
    QFETCH(QString, blocker);
    ProgramFolder folder;
    QVERIFY(QDir(folder.path(u"s"_s)).removeRecursively());
    if (blocker == u"s"_s)
        folder.writeText(blocker, u"not a folder"_s);
    else
        QVERIFY(QDir().mkpath(folder.path(blocker)));
    FileError error;
    QVERIFY(!ExamReport::append(folder.path(), russianRecord(), &error));
    QVERIFY(error.isError());
    QVERIFY(!error.reason(LanguagePolicy(u"rus"_s)).isEmpty());
    if (blocker == u"s"_s)
        QCOMPARE(folder.readBytes(u"s"_s), QByteArray("not a folder"));
    else
        QVERIFY(QDir(folder.path(blocker)).isEmpty());
}

void TestEvaluation::sheetCopiesTheTicket_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("student");
    QTest::addColumn<QString>("ticketLine");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("captions");

    QStringList russian(ExamReport::Questions);
    russian[0] = u"Первый вопрос, оценка  5"_s;
    russian[1] = u"Второй вопрос, оценка  2"_s;
    QStringList english(ExamReport::Questions);
    english[0] = u"1 question, evaluation  5"_s;
    english[1] = u"2 question, evaluation  2"_s;
    const QStringList none(ExamReport::Questions);
    const QStringList russianCaptions{u"Показывать вопросы"_s, u"Сохранить в отчет"_s, u"Закрыть"_s};

    QTest::newRow("rus") << u"rus"_s << u"Ф.И.О ,  Данные  Иванов Иван"_s << u"Билет № b1"_s
                         << russian << russianCaptions;
    QTest::newRow("eng") << u"eng"_s << u"Surname a Name, additional data  Иванов Иван"_s
                         << u"Ticket № b1"_s << english
                         << QStringList{u"To Show questions"_s, u"To Save in the report"_s, u"To Close"_s};
    // Another language: no lines and the designed captions; the ticket line as the ticket
    // window had it.
    QTest::newRow("other") << u"fra"_s << u"Ф.И.О ,  Данные  Иванов Иван"_s << QString() << none
                           << russianCaptions;
}

void TestEvaluation::sheetCopiesTheTicket()
{
    QFETCH(QString, language);
    QFETCH(QString, student);
    QFETCH(QString, ticketLine);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, captions);

    ProgramFolder folder;
    TicketWindow *ticket = openTicket(folder, language);
    QVERIFY(ticket);
    const QString ticketCaption = control<ActiveLabel>(ticket, "Label17")->text();
    if (!ticketLine.isEmpty())
        QCOMPARE(ticketCaption, ticketLine);
    // Question 1 right, question 2 wrong, the others left at "0".
    answerRows(ticket, {0, 1});
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QVERIFY(!folder.app().ticketWindow());
    QVERIFY(sheet->isVisible());
    QCOMPARE(sheet->objectName(), u"Form5"_s);
    QCOMPARE(sheet->width(), 328);

    QCOMPARE(control<QLabel>(sheet, "Label5")->text(), language);
    QCOMPARE(control<QLabel>(sheet, "Label1")->text(), student);
    QCOMPARE(control<QLabel>(sheet, "Label2")->text(), ticketCaption);
    for (int i = 0; i < ExamReport::Questions; ++i)
        QCOMPARE(control<QLabel>(sheet, "l", i)->text(), lines[i]);
    // The question texts come over for the marked questions only, whatever the language.
    QCOMPARE(control<QLabel>(sheet, "q", 0)->text(), u"Вопрос 1 билета 1\n"_s);
    QCOMPARE(control<QLabel>(sheet, "q", 1)->text(), u"Вопрос 2 билета 1\n"_s);
    QCOMPARE(control<QLabel>(sheet, "q", 2)->text(), QString());
    QCOMPARE(control<ActiveLabel>(sheet, "Label3")->text(), QString());
    QCOMPARE((QStringList{control<QCheckBox>(sheet, "Check2")->text(), control<QCheckBox>(sheet, "Check1")->text(),
                          control<QPushButton>(sheet, "Command2")->text()}),
             captions);
    QVERIFY(!control<QCheckBox>(sheet, "Check1")->isChecked());
    QVERIFY(!control<QCheckBox>(sheet, "Check2")->isChecked());
    QCOMPARE(control<QLabel>(sheet, "Label6")->text(), ExamReport::dateText(folder.platform.now.date()));
    QCOMPARE(control<QLabel>(sheet, "Label7")->text(), ExamReport::timeText(folder.platform.now.time()));
}

void TestEvaluation::verdictColour_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    const QColor green(0, 128, 0);
    const QColor red(255, 0, 0);
    const QColor unchanged;
    // The captions of every verdict in each language are the record's texts, tested with
    // them; here the sheet shows them, green for a pass and red for either failure.
    QTest::newRow("rus pass") << u"rus"_s << Verdict::Passed << u"Зачет"_s << green;
    QTest::newRow("rus fail") << u"rus"_s << Verdict::Failed << u"Не зачет"_s << red;
    QTest::newRow("eng out of time") << u"eng"_s << Verdict::FailedOnTime << u"Not deliver on time"_s << red;
    QTest::newRow("no verdict") << u"rus"_s << Verdict::None << QString() << unchanged;
    QTest::newRow("other language") << u"deu"_s << Verdict::Passed << QString() << unchanged;
}

void TestEvaluation::verdictColour()
{
    QFETCH(QString, language);
    QFETCH(Verdict, verdict);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);

    ProgramFolder folder;
    EvaluationWindow *sheet = sheetFor(folder, language, {{1, u"5"_s}}, verdict);
    QVERIFY(sheet);
    QCOMPARE(control<ActiveLabel>(sheet, "Label3")->text(), caption);
    QCOMPARE(background(control<ActiveLabel>(sheet, "Label3")), colour.isValid() ? colour : sheet->palette().color(QPalette::Button));
}

void TestEvaluation::hoverShowsTheQuestion()
{
    ProgramFolder folder;
    EvaluationWindow *sheet = sheetFor(folder, u"rus"_s, {{1, u"5"_s}, {3, u"2"_s}}, Verdict::Failed);
    QVERIFY(sheet);
    QCOMPARE(sheet->width(), 328);

    // With "Показывать вопросы" clear nothing is shown.
    moveOver(control<QLabel>(sheet, "l", 0));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), QString());
    QCOMPARE(sheet->width(), 328);

    control<QCheckBox>(sheet, "Check2")->setChecked(true);
    QCOMPARE(textColour(control<QLabel>(sheet, "l", 0)), QColor(0, 0, 255));
    QCOMPARE(textColour(control<QLabel>(sheet, "l", 19)), QColor(0, 0, 255));
    QCOMPARE(control<QLabel>(sheet, "l", 0)->cursor().shape(), Qt::WhatsThisCursor);

    moveOver(control<QLabel>(sheet, "l", 2));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), u"Текст вопроса 3"_s);
    QCOMPARE(sheet->width(), 634);
    // An empty line changes nothing.
    moveOver(control<QLabel>(sheet, "l", 1));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), u"Текст вопроса 3"_s);
    QCOMPARE(sheet->width(), 634);
    // The ticket line and the panel itself close the side panel.
    moveOver(control<QLabel>(sheet, "Label2"));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), QString());
    QCOMPARE(sheet->width(), 328);
    moveOver(control<QLabel>(sheet, "l", 0));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), u"Текст вопроса 1"_s);
    moveOver(control<QGroupBox>(sheet, "Frame1"));
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), QString());
    QCOMPARE(sheet->width(), 328);

    moveOver(control<QLabel>(sheet, "l", 0));
    QCOMPARE(sheet->width(), 634);
    control<QCheckBox>(sheet, "Check2")->setChecked(false);
    QCOMPARE(control<QLabel>(sheet, "Label4")->text(), QString());
    QCOMPARE(sheet->width(), 328);
    QCOMPARE(textColour(control<QLabel>(sheet, "l", 0)), sheet->palette().color(QPalette::ButtonText));
    QCOMPARE(control<QLabel>(sheet, "l", 0)->cursor().shape(), Qt::ArrowCursor);
}

void TestEvaluation::closingReturnsToAClearedStartWindow_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("saved") << true;
    QTest::newRow("not saved") << false;
}

void TestEvaluation::closingReturnsToAClearedStartWindow()
{
    QFETCH(bool, save);

    ProgramFolder folder;
    QVERIFY(QDir(folder.path(u"s"_s)).removeRecursively());
    TicketWindow *ticket = openTicket(folder, u"rus"_s, u"Петров"_s);
    QVERIFY(ticket);
    StartWindow *start = folder.app().startWindow();
    control<QLineEdit>(start, "Text11")->setText(u"группа 7"_s);
    answerRows(ticket, {0, 1});
    click(ticket, "Command1");
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QVERIFY(!start->isVisible());
    // The record holds the data line although the first data field is empty.
    ExamRecord expected = sheet->record();
    QCOMPARE(expected.data2, u"группа 7"_s);

    control<QCheckBox>(sheet, "Check1")->setChecked(save);
    folder.platform.questionAnswers.enqueue(true);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(folder.platform.questions.size(), save ? 0 : 1);
    QVERIFY(!folder.app().evaluationWindow());
    QVERIFY(start->isVisible());
    QVERIFY(shown(start, "Frame9"));
    QVERIFY(!shown(start, "Frame1"));
    QVERIFY(!shown(start, "Frame2"));
    for (QLineEdit *field : {control<QLineEdit>(start, "Text9"), control<QLineEdit>(start, "Text10"), control<QLineEdit>(start, "Text11"), control<QLineEdit>(start, "Text13")})
        QCOMPARE(field->text(), QString());
    QCOMPARE(folder.platform.messageTexts(), QStringList());
    if (save)
        QCOMPARE(folder.readBytes(u"s/oth.txt"_s), ::recordBytes(expected));
    else
        QVERIFY(!QFileInfo::exists(folder.path(u"s/oth.txt"_s)));

    // The attempt is in the attempts journal either way, timed by the platform's clock, and
    // names the record it went to.
    const std::optional<AttemptsJournal::Reading> journal =
        AttemptsJournal::readFile(ProgramPaths(folder.path()).attemptsJournal());
    QVERIFY(journal);
    QCOMPARE(journal->attempts.size(), 1);
    const Attempt &attempt = journal->attempts.first();
    QCOMPARE(attempt.savedToReport, save);
    QCOMPARE(attempt.reportDate, save ? expected.date : QString());
    QCOMPARE(attempt.reportTime, save ? expected.time : QString());
    QCOMPARE(attempt.student.data2, u"группа 7"_s);
    QCOMPARE(attempt.start, folder.platform.now);
    QCOMPARE(attempt.questions.value(0).chosen.isEmpty(), false);
}

void TestEvaluation::closingWithoutSavingAsks_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("question");
    QTest::newRow("rus") << u"rus"_s << u"Результат не сохранен в отчет. Закрыть без сохранения?"_s;
    QTest::newRow("eng") << u"eng"_s << u"The result is not saved in the report. Close without saving?"_s;
    QTest::newRow("other") << u"fra"_s << u"Результат не сохранен в отчет. Закрыть без сохранения?"_s;
}

// "Закрыть" with "Сохранить в отчет" clear asks; "No" keeps the sheet and its result.
void TestEvaluation::closingWithoutSavingAsks()
{
    QFETCH(QString, language);
    QFETCH(QString, question);

    ProgramFolder folder;
    TicketWindow *ticket = openTicket(folder, language);
    QVERIFY(ticket);
    answerRows(ticket, {0});
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QVERIFY(!control<QCheckBox>(sheet, "Check1")->isChecked());
    QVERIFY(control<QCheckBox>(sheet, "Check1")->isEnabled());

    folder.platform.questionAnswers.enqueue(false);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(folder.platform.questions.size(), 1);
    QCOMPARE(folder.platform.questions[0].title, u"Тест-Тавринг"_s);
    QCOMPARE(folder.platform.questions[0].text, question);
    QCOMPARE(folder.app().evaluationWindow(), sheet);
    QVERIFY(!folder.app().startWindow()->isVisible());

    // Ticked after all: saved without a question.
    control<QCheckBox>(sheet, "Check1")->setChecked(true);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(folder.platform.questions.size(), 1);
    QVERIFY(!folder.app().evaluationWindow());
    QVERIFY(QFileInfo::exists(folder.path(u"s/oth.txt"_s)));
}

void TestEvaluation::failedSaveKeepsTheSheet_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reason");
    QTest::newRow("eng") << u"eng"_s << u"The result was not saved in the report "_s << u"Is a directory"_s;
    QTest::newRow("rus") << u"rus"_s << u"Результат не записан в отчет "_s << u"на месте файла стоит папка"_s;
    // A lost record is reported in any language, in the designed Russian.
    QTest::newRow("other") << u"fra"_s << u"Результат не записан в отчет "_s << u"на месте файла стоит папка"_s;
}

// A report that cannot be written keeps the sheet open; once it is freed "Закрыть" saves.
void TestEvaluation::failedSaveKeepsTheSheet()
{
    QFETCH(QString, language);
    QFETCH(QString, message);
    QFETCH(QString, reason);

    ProgramFolder folder;
    QVERIFY(QDir().mkpath(folder.path(u"s/oth.txt"_s)));
    TicketWindow *ticket = openTicket(folder, language);
    QVERIFY(ticket);
    answerRows(ticket, {0});
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    const ExamRecord expected = sheet->record();
    control<QCheckBox>(sheet, "Check1")->setChecked(true);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(folder.platform.messages.size(), 1);
    QCOMPARE(folder.platform.messages[0].title, u"Тест-Тавринг"_s);
    QCOMPARE(folder.platform.messages[0].text, message + folder.path(u"s/oth.txt"_s) + u":\n"_s + reason);
    // Saving elsewhere is offered; declined, the sheet stays with its result.
    QCOMPARE(folder.platform.questions.size(), 1);
    QCOMPARE(folder.app().evaluationWindow(), sheet);
    QVERIFY(control<QCheckBox>(sheet, "Check1")->isChecked());
    QVERIFY(!folder.app().startWindow()->isVisible());

    QVERIFY(QDir(folder.path(u"s/oth.txt"_s)).removeRecursively());
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(!folder.app().evaluationWindow());
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), ::recordBytes(expected));
    QVERIFY(folder.app().startWindow()->isVisible());
    QCOMPARE(control<QLineEdit>(folder.app().startWindow(), "Text9")->text(), QString());
}

// After a failed save the result can go to a text file of the teacher's choice, or the sheet
// can be closed without it once that is confirmed.
void TestEvaluation::failedSaveGoesElsewhere()
{
    ProgramFolder folder;
    QVERIFY(QDir().mkpath(folder.path(u"s/oth.txt"_s)));
    TicketWindow *ticket = openTicket(folder, u"rus"_s);
    QVERIFY(ticket);
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    const ExamRecord expected = sheet->record();
    control<QCheckBox>(sheet, "Check1")->setChecked(true);

    // The chosen file cannot be written either: said, and the sheet stays.
    folder.platform.questionAnswers << true << true;
    folder.platform.saveAnswers << folder.path(u"s/oth.txt"_s) << folder.path(u"копия.txt"_s);
    click(sheet, "Command2");
    QCOMPARE(folder.platform.messages.size(), 2);
    QVERIFY(folder.platform.messages[1].text.startsWith(u"Результат не записан в файл "_s));
    QCOMPARE(folder.app().evaluationWindow(), sheet);

    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(folder.platform.messages.size(), 4);
    QCOMPARE(folder.platform.messages[3].text, u"Результат сохранен в файл "_s + folder.path(u"копия.txt"_s));
    QCOMPARE(folder.readBytes(u"копия.txt"_s), ::recordBytes(expected));
    QVERIFY(!folder.app().evaluationWindow());

    // Another sheet whose save fails: cleared and confirmed, it closes.
    ticket = openTicketByDraw(folder, u"Петров"_s);
    QVERIFY(ticket);
    sheet = closeTicket(folder.app(), ticket);
    control<QCheckBox>(sheet, "Check1")->setChecked(true);
    folder.platform.questions.clear();
    click(sheet, "Command2");
    QCOMPARE(folder.app().evaluationWindow(), sheet);
    control<QCheckBox>(sheet, "Check1")->setChecked(false);
    folder.platform.questionAnswers << true;
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(folder.platform.questions.size(), 2);
    QVERIFY(!folder.app().evaluationWindow());
}

// Where every result is saved, a ticket closed before "Оценка" is graded (unanswered questions
// counting nothing) and its sheet is saved without a choice.
void TestEvaluation::everyResultIsSaved()
{
    ProgramFolder folder;
    TicketWindow *ticket = openTicket(folder, u"rus"_s, u"Иванов Иван"_s, {u"[tavring]"_s, u"saveall=1"_s});
    QVERIFY(ticket);
    answerRows(ticket, {0});
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QCOMPARE(sheet->record().verdict, Verdict::Failed);
    QCOMPARE(control<ActiveLabel>(sheet, "Label3")->text(), u"Не зачет"_s);
    QVERIFY(control<QCheckBox>(sheet, "Check1")->isChecked());
    QVERIFY(!control<QCheckBox>(sheet, "Check1")->isEnabled());
    const ExamRecord expected = sheet->record();
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(folder.platform.questions.isEmpty());
    QVERIFY(!folder.app().evaluationWindow());
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), ::recordBytes(expected));

    // A verdict reached with "Оценка" is kept as it is.
    ticket = openTicketByDraw(folder, u"Петров"_s);
    QVERIFY(ticket);
    answerRows(ticket, {0, 0, 0, 0, 0});
    click(ticket, "Command1");
    sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QCOMPARE(sheet->record().verdict, Verdict::Passed);

    // A report that cannot be written frees the box, so that the sheet can still be closed.
    QVERIFY(QFile::remove(folder.path(u"s/oth.txt"_s)));
    QVERIFY(QDir().mkpath(folder.path(u"s/oth.txt"_s)));
    click(sheet, "Command2");
    QCOMPARE(folder.app().evaluationWindow(), sheet);
    QVERIFY(control<QCheckBox>(sheet, "Check1")->isEnabled());
    control<QCheckBox>(sheet, "Check1")->setChecked(false);
    folder.platform.questionAnswers << true;
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!folder.app().evaluationWindow());
}

void TestEvaluation::studentWalksTheWholeRoad()
{
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(system); });

    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 3, 5);
    folder.writeSettings({u"bilet=3"_s, u"vopros=5"_s, u"ball=4"_s, u"time=10"_s, u"pass="_s,
                          u"re=rus"_s, u"z="_s + exam});
    Application &app = folder.start();
    StartWindow *start = app.startWindow();

    // The student's data and a drawn ticket: 0.5 of three tickets is ticket 2.
    control<QLineEdit>(start, "Text10")->setText(u"10 класс"_s);
    QVERIFY(enterStudent(start, u"Сидорова Анна"_s));
    QVERIFY(drawTicket(folder, 0.5));
    QCOMPARE(control<ActiveLabel>(start, "Label1")->text(), u"b2"_s);
    click(start, "Command3");
    TicketWindow *ticket = app.ticketWindow();
    QVERIFY(ticket);
    QVERIFY(!start->isVisible());

    // Four right answers ("Да") and a wrong one for the last question.
    for (int n = 1; n <= 5; ++n) {
        if (n > 1)
            control<QRadioButton>(ticket, "Option", n - 1)->click();
        QVERIFY(control<QRadioButton>(ticket, "Option", n - 1)->isChecked());
        QVERIFY(control<QPlainTextEdit>(ticket, "Text3")->toPlainText().startsWith(u"Вопрос %1 билета 2"_s.arg(n)));
        auto *list = control<QListView>(ticket, "List1");
        list->setCurrentIndex(rowIndex(list, n < 5 ? 0 : 1));
        control<QPushButton>(ticket, "Command3")->click();
    }
    click(ticket, "Command1");
    QCOMPARE(control<QLineEdit>(ticket, "txtZ")->text(), u"4,4"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Зачет"_s);

    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QCOMPARE(control<QLabel>(sheet, "l", 4)->text(), u"Пятый вопрос, оценка  2"_s);
    QCOMPARE(background(control<ActiveLabel>(sheet, "Label3")), QColor(0, 128, 0));
    control<QCheckBox>(sheet, "Check1")->setChecked(true);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QString record =
        u"Дата: 08.12.2026 Время: 10:30:15\r\r\n"
        "Ф.И.О ,  Данные  Сидорова Анна\r\r\n"
        "Билет № b2\r\r\n"
        "Первый вопрос, оценка  5; Второй вопрос, оценка  5; Третий вопрос, оценка  5; "
        "Четвертый вопрос, оценка  5; Пятый вопрос, оценка  2; ; ; ; ; ; ; ; ; ; ; ; ; ; ; \r\r\n"
        "Зачет\r\r\n"
        "Дополнительные сведения: 10 класс  \r\r\n"
        "==================\r\r\n"
        "\r\n\r\n"_s;
    QCOMPARE(folder.readBytes(u"s/oth.txt"_s), AnsiText::encode(record));
    QVERIFY(start->isVisible());
    QCOMPARE(control<QLineEdit>(start, "Text9")->text(), QString());
    QVERIFY(folder.platform.messageTexts().isEmpty());
}

void TestEvaluation::sheetPrintsWhereAllowed_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("not allowed") << u"rus"_s << false << QStringList();
    QTest::newRow("rus") << u"rus"_s << true
                         << QStringList{u"Тест-Тавринг"_s, u"Студент: Иванов Иван"_s, u"Экзамен: География"_s,
                                        u"Вопрос 1 билета 1"_s, u"Выбранный ответ"_s, u"нет ответа"_s,
                                        u"Оценка за билет:"_s, u"Не зачет"_s};
    QTest::newRow("eng") << u"eng"_s << true
                         << QStringList{u"Тест-Тавринг"_s, u"Student: Иванов Иван"_s, u"Exam: География"_s,
                                        u"Вопрос 2 билета 1"_s, u"Answer chosen"_s, u"not answered"_s, u"Grade:"_s,
                                        u"Not deliver"_s};
}

// The buttons are there only where the teacher allows printing; the sheet on paper has the
// student, the exam, each question with the answer chosen and its mark, the grade and the verdict.
void TestEvaluation::sheetPrintsWhereAllowed()
{
    QFETCH(QString, language);
    QFETCH(bool, allowed);
    QFETCH(QStringList, printed);
    ProgramFolder folder;
    TicketWindow *ticket = openTicket(folder, language, u"Иванов Иван"_s,
                                      allowed ? QStringList{u"[tavring]"_s, u"printsheet=1"_s} : QStringList());
    QVERIFY(ticket);
    answerRows(ticket, {0, 1});
    click(ticket, "Command1");
    EvaluationWindow *sheet = closeTicket(folder.app(), ticket);
    QVERIFY(sheet);
    QCOMPARE(sheet->findChild<QPushButton *>(u"cmdPrint"_s) != nullptr, allowed);
    QCOMPARE(sheet->findChild<QPushButton *>(u"cmdPdf"_s) != nullptr, allowed);
    if (!allowed)
        return;
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY(control<QPushButton>(sheet, "cmdPrint")->isVisible());
    QVERIFY(sheet->height() > control<QPushButton>(sheet, "cmdPdf")->mapTo(sheet, QPoint(0, 0)).y());

    const auto extract = [](const QString &path) {
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
        return pdftotext.waitForFinished(30000) ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : QString();
    };
    const QString pdf = folder.path(u"sheet.pdf"_s);
    folder.platform.saveAnswers.enqueue(pdf);
    click(sheet, "cmdPdf");
    QCOMPARE(folder.platform.messages.size(), 1);
    QVERIFY(folder.platform.messages.first().text.endsWith(pdf));
    const QString text = extract(pdf);
    for (const QString &line : printed)
        QVERIFY2(text.contains(line), qPrintable(line + u"\n"_s + text));
    // Question 1 answered "Да" (right, 5), question 2 "Нет" (wrong, 2).
    QVERIFY2(QRegularExpression(u"Вопрос 1 билета 1\\s+Да\\s+5"_s).match(text).hasMatch(), qPrintable(text));
    QVERIFY2(QRegularExpression(u"Вопрос 2 билета 1\\s+Нет\\s+2"_s).match(text).hasMatch(), qPrintable(text));

    // The same sheet through the print dialog; a cancelled dialog prints nothing.
    const QString paper = folder.path(u"paper.pdf"_s);
    folder.platform.printAnswers << QString() << paper;
    click(sheet, "cmdPrint");
    QVERIFY(!QFile::exists(paper));
    click(sheet, "cmdPrint");
    QCOMPARE(extract(paper).split(u'\f', Qt::SkipEmptyParts).size(), 1);
    QVERIFY(extract(paper).contains(printed.at(1)));
    QCOMPARE(folder.platform.messages.size(), 1);
}

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
