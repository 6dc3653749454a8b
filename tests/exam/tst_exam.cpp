#include "core/files/ansi_text.h"
#include "gui/common/active_label.h"
#include "gui/exam/answers_review_window.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString EndMessageRu = u"Тест-Экзамен закончен. Нажмите кнопку ОЦЕНКА."_s;

// A program folder whose exam has one ticket of `questions` questions (answers "Да", "Нет",
// "Не знаю"; "Да" is right), with the settings given.
struct Road
{
    ProgramFolder folder;
    QString exam;

    Road(int questions, const QStringList &settings)
    {
        exam = makeExam(folder, u"Экзамен"_s, 1, questions);
        folder.writeSettings(QStringList{u"bilet=1"_s, u"z="_s + exam} + settings);
        folder.start();
    }

    Application &app() { return folder.app(); }
    TicketWindow *ticket() { return app().ticketWindow(); }

    // The start window's road to ticket 1: the number, then "Открыть билет".
    bool open() { return openTicketByNumber(app()) != nullptr; }

    // Clicks an answer of the current question by its text.
    void answer(const QString &text) { QVERIFY2(::answer(ticket(), text), qPrintable(text)); }
};

// A picture file of the given size in pixels.
void writePicture(const QString &path, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, "BMP"));
}

} // namespace

class ExamTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadCopiesAndCaptions_data();
    void loadCopiesAndCaptions();
    void questionCountEndsTicket_data();
    void questionCountEndsTicket();
    void secondClickDoesNothing();
    void missingQuestionFileAbandons();
    void evaluation_data();
    void evaluation();
    void ticketTimerExpiresThenEvaluation();
    void ticketFinishedInTimeKeepsItsVerdict();
    void questionTimerRestartsPerQuestion();
    void reviewMode();
    void answersExtentOnlyGrows();
    void longAnswerListShownAtOnceAndMeasuredBetweenEvents();
    void closeOpensTheEvaluation();

    void pictureBesideTicket_data();
    void pictureBesideTicket();
    void picturePerQuestion();
    void pictureSizePanel();
};

void ExamTest::loadCopiesAndCaptions_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("ticketLine");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("close");
    QTest::newRow("rus") << u"rus"_s << u"Билет № b1"_s << u"Вопросы"_s << u"Закрыть"_s;
    QTest::newRow("eng") << u"eng"_s << u"Ticket № b1"_s << u"Questions"_s << u"To Close"_s;
    QTest::newRow("another") << u"deu"_s << QString() << u"Вопросы"_s << u"Закрыть"_s;
}

void ExamTest::loadCopiesAndCaptions()
{
    QFETCH(QString, language);
    QFETCH(QString, ticketLine);
    QFETCH(QString, frame);
    QFETCH(QString, close);
    Road road(5, {u"vopros=5"_s, u"ball=4"_s, u"re="_s + language});
    // Question 4 has no correct-answer file: it shows the missing colour.
    QFile::remove(road.exam + u"/b1/o4.txt"_s);
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();

    QVERIFY(!road.app().startWindow()->isVisible());
    QCOMPARE(ticket->objectName(), u"Form2"_s);
    QCOMPARE(control<QLineEdit>(ticket, "Text1")->text(), u"1"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label27")->text(), u"Экзамен\r\n"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label17")->text(), ticketLine);
    QCOMPARE(control<QGroupBox>(ticket, "Frame2")->title(), frame);
    QCOMPARE(control<QPushButton>(ticket, "Command2")->text(), close);
    QCOMPARE(control<QLineEdit>(ticket, "txtV")->text(), u"5"_s);
    QCOMPARE(control<QLineEdit>(ticket, "Text5")->text(), u"4"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "v", 0)->text(), u"v1.txt"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "o", 3)->text(), QString());
    QCOMPARE(control<ActiveLabel>(ticket, "q", 5)->text(), QString());

    QCOMPARE(ticket->currentQuestion(), 1);
    QCOMPARE(control<QPlainTextEdit>(ticket, "Text3")->toPlainText(), u"Вопрос 1 билета 1\n"_s);
    QCOMPARE(rowCount(control<QListView>(ticket, "List1")), 3);
    QVERIFY(control<QRadioButton>(ticket, "Option", 0)->isEnabled());
    for (int n = 2; n <= 20; ++n)
        QVERIFY(!control<QRadioButton>(ticket, "Option", n - 1)->isEnabled());
    QCOMPARE(background(control<QFrame>(ticket, "Shape", 3)), ticket->palette().color(QPalette::WindowText));
    QCOMPARE(background(control<QRadioButton>(ticket, "Option", 3)), ticket->palette().color(QPalette::WindowText));
    QCOMPARE(background(control<QFrame>(ticket, "Shape", 5)), ticket->palette().color(QPalette::WindowText));
    QVERIFY(!shown(ticket, "Label28"));
    QVERIFY(!shown(ticket, "Frame1"));
    QVERIFY(!shown(ticket, "Command3"));

    // Two columns: 1 to 10 down the left, 11 to 20 up the right, 20 beside 1.
    QCOMPARE(control<QRadioButton>(ticket, "Option", 19)->y(), control<QRadioButton>(ticket, "Option", 0)->y());
    QCOMPARE(control<QRadioButton>(ticket, "Option", 10)->y(), control<QRadioButton>(ticket, "Option", 9)->y());
    QVERIFY(control<QRadioButton>(ticket, "Option", 19)->x() > control<QRadioButton>(ticket, "Option", 0)->x());
    QVERIFY(control<QRadioButton>(ticket, "Option", 1)->y() > control<QRadioButton>(ticket, "Option", 0)->y());
    QCOMPARE(control<ActiveLabel>(ticket, "Label16")->text(), u"11"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label26")->text(), u"20"_s);
}

void ExamTest::questionCountEndsTicket_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("answered");
    QTest::addColumn<bool>("endMessage");
    QTest::addColumn<bool>("nextEnabled");
    QTest::newRow("3 of 5") << 5 << u"3"_s << 3 << true << false;
    QTest::newRow("5 of 3") << 3 << u"5"_s << 3 << false << false;
}

void ExamTest::questionCountEndsTicket()
{
    QFETCH(int, questions);
    QFETCH(QString, count);
    QFETCH(int, answered);
    QFETCH(bool, endMessage);
    QFETCH(bool, nextEnabled);
    Road road(questions, {u"vopros="_s + count, u"ball=4"_s, u"re=rus"_s});
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();

    for (int n = 1; n <= answered; ++n) {
        QCOMPARE(ticket->currentQuestion(), n);
        QVERIFY(control<QListView>(ticket, "List1")->isEnabled());
        road.answer(n % 2 ? u"Да"_s : u"Нет"_s);
        QCOMPARE(control<QLineEdit>(ticket, "txt", n - 1)->text(), n % 2 ? u"5"_s : u"2"_s);
        QCOMPARE(background(control<QFrame>(ticket, "Shape", n - 1)), n % 2 ? QColor(0, 128, 0) : QColor(255, 0, 0));
        QCOMPARE(control<ActiveLabel>(ticket, "q", n - 1)->text(), u"Вопрос %1 билета 1\n"_s.arg(n));
        QVERIFY(!control<QListView>(ticket, "List1")->isEnabled());
        if (n < answered) {
            QVERIFY(!control<QRadioButton>(ticket, "Option", n - 1)->isEnabled());
            QVERIFY(control<QRadioButton>(ticket, "Option", n)->isEnabled());
            control<QRadioButton>(ticket, "Option", n)->click();
        }
    }
    QCOMPARE(road.folder.platform.messageTexts(), endMessage ? QStringList{EndMessageRu} : QStringList());
    if (endMessage)
        QCOMPARE(road.folder.platform.messages.first().title, QString());
    if (answered < 20)
        QCOMPARE(control<QRadioButton>(ticket, "Option", answered)->isEnabled(), nextEnabled);
}

void ExamTest::secondClickDoesNothing()
{
    Road road(3, {u"vopros=3"_s, u"ball=4"_s, u"re=rus"_s});
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    // Chosen with the keyboard: down to "Нет", then Enter.
    auto *list = control<QListView>(ticket, "List1");
    list->setFocus();
    list->setCurrentIndex(rowIndex(list, 0));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 0)->text(), u"2"_s);
    // A click that still reaches the list, and the hidden button, change nothing.
    road.answer(u"Да"_s);
    control<QPushButton>(ticket, "Command3")->click();
    QCOMPARE(control<QLineEdit>(ticket, "txt", 0)->text(), u"2"_s);
    QCOMPARE(background(control<QFrame>(ticket, "Shape", 0)), QColor(255, 0, 0));
    QVERIFY(road.folder.platform.messages.isEmpty());
}

void ExamTest::missingQuestionFileAbandons()
{
    Road road(3, {u"vopros=3"_s, u"ball=4"_s, u"re=eng"_s});
    QVERIFY(road.open());
    road.answer(u"Да"_s);
    // The question file was there when the ticket loaded and is gone when it is opened.
    QFile::remove(road.exam + u"/b1/q2.txt"_s);
    QPointer<TicketWindow> ticket = road.ticket();
    control<QRadioButton>(ticket, "Option", 1)->click();
    QCOMPARE(road.folder.platform.messageTexts(), QStringList{u"Нет вопроса"_s});
    QCOMPARE(road.folder.platform.messages.first().title, u"Тест-Тавринг"_s);
    QVERIFY(road.app().ticketWindow() == nullptr);
    QVERIFY(road.app().pictureSizeWindow() == nullptr);
    QVERIFY(road.app().startWindow()->isVisible());
    QVERIFY(!ticket->isVisible());

    // Question 1 present but unreadable (a folder of that name): the start window stays.
    Road first(3, {u"vopros=3"_s, u"ball=4"_s, u"re=rus"_s});
    QFile::remove(first.exam + u"/b1/q1.txt"_s);
    QVERIFY(QDir(first.exam).mkpath(u"b1/q1.txt"_s));
    QVERIFY(!first.open());
    QVERIFY(first.app().startWindow()->isVisible());
    QCOMPARE(first.folder.platform.messageTexts(), QStringList{u"Нет вопроса"_s});
}

void ExamTest::evaluation_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("passScore");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("message");

    QTest::newRow("pass") << u"rus"_s << u"4"_s << u"5"_s << u"4.4"_s << u"Зачет"_s << QColor(0, 128, 0)
                          << QString();
    QTest::newRow("fail in English") << u"eng"_s << u"4,5"_s << u"5"_s << u"4.4"_s << u"Not deliver"_s
                                     << QColor(255, 0, 0) << QString();
    QTest::newRow("another language: colour only") << u"fra"_s << u"4"_s << u"5"_s << u"4.4"_s
                                                   << QString() << QColor(0, 128, 0) << QString();
    QTest::newRow("no pass score") << u"rus"_s << u"0"_s << u"5"_s << u"0"_s << QString() << QColor()
                                   << u"Не установлена оценка. Установите в Настройках оценку"_s;
    QTest::newRow("no pass score, another language") << u"fra"_s << QString() << u"5"_s << u"0"_s
                                                     << QString() << QColor()
                                                     << u"Not installed evaluation. Install an evaluation in Adjustment"_s;
    QTest::newRow("pass score not a number") << u"eng"_s << u"good"_s << u"5"_s << QString() << QString()
                                             << QColor()
                                             << u"The pass score \"good\" is not a number. Correct it in Adjustment."_s;
    QTest::newRow("question count 0") << u"rus"_s << u"4"_s << u"0"_s << QString() << QString() << QColor()
                                      << u"Число вопросов \"0\" должно быть числом больше 0. Исправьте его в Настройках."_s;
}

void ExamTest::evaluation()
{
    QFETCH(QString, language);
    QFETCH(QString, passScore);
    QFETCH(QString, count);
    QFETCH(QString, grade);
    QFETCH(QString, verdict);
    QFETCH(QColor, colour);
    QFETCH(QString, message);
    Road road(5, {u"vopros="_s + count, u"ball="_s + passScore, u"re="_s + language});
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    for (int n = 1; n <= 5; ++n) {
        road.answer(n == 3 ? u"Не знаю"_s : u"Да"_s);
        if (n < 5)
            control<QRadioButton>(ticket, "Option", n)->click();
    }
    auto *verdictLabel = control<ActiveLabel>(ticket, "Label5");
    const QColor before = verdictLabel->palette().color(QPalette::WindowText);
    road.folder.platform.clear();
    click(ticket, "Command1");
    QCOMPARE(control<QLineEdit>(ticket, "txtZ")->text(), grade);
    QCOMPARE(verdictLabel->text(), verdict);
    QCOMPARE(verdictLabel->palette().color(QPalette::WindowText), colour.isValid() ? colour : before);
    QCOMPARE(road.folder.platform.messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
}

void ExamTest::ticketTimerExpiresThenEvaluation()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s, u"time=1"_s});
    control<QCheckBox>(road.app().settingsWindow(), "Check1")->setChecked(true);
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    QVERIFY(shown(ticket, "Label28"));
    QCOMPARE(control<ActiveLabel>(ticket, "Label14")->text(), u"Время"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"1:00"_s);
    QVERIFY(control<QTimer>(ticket, "Timer2")->isActive());
    QVERIFY(!control<QTimer>(ticket, "Timer3")->isActive());

    road.answer(u"Да"_s);
    for (int second = 59; second >= 1; --second) {
        ticket->onTimer2();
        QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), TicketRun::countdownText(second));
    }
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), QString());
    ticket->onTimer2();
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"0:00"_s);
    QVERIFY(!control<QTimer>(ticket, "Timer2")->isActive());
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Не зачет по времени"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // Only the list is disabled: the next question still opens and can be answered.
    control<QRadioButton>(ticket, "Option", 1)->click();
    QVERIFY(control<QListView>(ticket, "List1")->isEnabled());
    road.answer(u"Да"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 1)->text(), u"5"_s);

    click(ticket, "Command1");
    QCOMPARE(control<QLineEdit>(ticket, "txtZ")->text(), u"5"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Зачет"_s);

    // Evaluating again with the same grade after another expiry still replaces the verdict.
    control<ActiveLabel>(ticket, "Label5")->setText(u"Не зачет по времени"_s);
    click(ticket, "Command1");
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Зачет"_s);
}

void ExamTest::ticketFinishedInTimeKeepsItsVerdict()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s, u"time=1"_s});
    control<QCheckBox>(road.app().settingsWindow(), "Check1")->setChecked(true);
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    road.answer(u"Да"_s);
    ticket->onTimer2();
    QVERIFY(control<QTimer>(ticket, "Timer2")->isActive());
    control<QRadioButton>(ticket, "Option", 1)->click();
    road.answer(u"Да"_s);
    QVERIFY(!control<QTimer>(ticket, "Timer2")->isActive());
    click(ticket, "Command1");
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Зачет"_s);

    for (int second = 0; second < 60; ++second)
        ticket->onTimer2();
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"0:59"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Зачет"_s);
    road.app().closeTicket();
    QCOMPARE(control<ActiveLabel>(road.app().evaluationWindow(), "Label3")->text(), u"Зачет"_s);
}

void ExamTest::questionTimerRestartsPerQuestion()
{
    Road road(3, {u"vopros=3"_s, u"ball=4"_s, u"re=eng"_s, u"time=2"_s});
    control<QCheckBox>(road.app().settingsWindow(), "Check2")->setChecked(true);
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    QVERIFY(control<QTimer>(ticket, "Timer3")->isActive());
    QVERIFY(!control<QTimer>(ticket, "Timer2")->isActive());
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"2:00"_s);
    ticket->onTimer3();
    ticket->onTimer3();
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"1:58"_s);

    road.answer(u"Да"_s);
    QVERIFY(!control<QTimer>(ticket, "Timer3")->isActive());
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"1:58"_s);

    control<QRadioButton>(ticket, "Option", 1)->click();
    QVERIFY(control<QTimer>(ticket, "Timer3")->isActive());
    QCOMPARE(control<ActiveLabel>(ticket, "Label28")->text(), u"2:00"_s);
    for (int i = 0; i < 120; ++i)
        ticket->onTimer3();
    QVERIFY(!control<QTimer>(ticket, "Timer3")->isActive());
    QVERIFY(!control<QListView>(ticket, "List1")->isEnabled());
    QCOMPARE(control<ActiveLabel>(ticket, "Label5")->text(), u"Not deliver on time"_s);
    // The expired question keeps no mark and the hidden button cannot record one.
    control<QPushButton>(ticket, "Command3")->click();
    QCOMPARE(control<QLineEdit>(ticket, "txt", 1)->text(), u"0"_s);
}

void ExamTest::reviewMode()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=eng"_s});
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();

    control<QCheckBox>(ticket, "Check1")->setChecked(true);
    AnswersReviewWindow *review = road.app().answersReviewWindow();
    QVERIFY(review);
    QVERIFY(review->isVisible());
    QCOMPARE(review->objectName(), u"Form8"_s);
    QCOMPARE(control<QPushButton>(review, "Command1")->text(), u"To Choose"_s);
    QCOMPARE(control<QGroupBox>(review, "Frame1")->title(), u"Viewing the answers"_s);
    QCOMPARE(review->y(), 1024 / 3);

    road.answer(u"Нет"_s);
    road.answer(u"Да"_s);
    road.answer(u"Не знаю"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 0)->text(), u"0"_s);
    QVERIFY(control<QListView>(ticket, "List1")->isEnabled());
    QCOMPARE(control<QPlainTextEdit>(review, "Text1")->toPlainText(), u"Не знаю"_s);

    click(review, "Command1");
    QVERIFY(!control<QCheckBox>(ticket, "Check1")->isChecked());
    QVERIFY(road.app().answersReviewWindow() == nullptr);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 0)->text(), u"2"_s);

    // Leaving review mode by the check box records nothing; a click then records directly.
    control<QRadioButton>(ticket, "Option", 1)->click();
    control<QCheckBox>(ticket, "Check1")->setChecked(true);
    road.answer(u"Нет"_s);
    control<QCheckBox>(ticket, "Check1")->setChecked(false);
    QVERIFY(road.app().answersReviewWindow() == nullptr);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 1)->text(), u"0"_s);
    road.answer(u"Да"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 1)->text(), u"5"_s);
}

void ExamTest::answersExtentOnlyGrows()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s});
    const QString longAnswer = QString(200, u'Ш');
    road.folder.writeText(u"b/exam/b1/v1.txt"_s, u"Да\r\n"_s + longAnswer + u"\r\n"_s);
    QVERIFY(road.open());
    TicketWindow *ticket = road.ticket();
    const int wide = rowSize(control<QListView>(ticket, "List1"), 1).width();
    QVERIFY(wide >= control<QListView>(ticket, "List1")->fontMetrics().horizontalAdvance(longAnswer));
    road.answer(u"Да"_s);
    control<QRadioButton>(ticket, "Option", 1)->click();
    QCOMPARE(rowTexts(control<QListView>(ticket, "List1")).value(0), u"Да"_s);
    QCOMPARE(rowSize(control<QListView>(ticket, "List1"), 0).width(), wide);
}

// Thousands of answers are listed at once; their widths are measured between events, and the
// extent then is the widest of them, as with a short list.
void ExamTest::longAnswerListShownAtOnceAndMeasuredBetweenEvents()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s});
    QString answers = u"Да\r\n"_s;
    for (int i = 0; i < 2000; ++i)
        answers += u"Ответ %1\r\n"_s.arg(i);
    const QString longAnswer = QString(200, u'Ш');
    answers += longAnswer + u"\r\n"_s;
    road.folder.writeText(u"b/exam/b1/v1.txt"_s, answers);
    QVERIFY(road.open());
    auto *list = control<QListView>(road.ticket(), "List1");
    QCOMPARE(rowCount(list), 2002);
    const int wide = list->fontMetrics().horizontalAdvance(longAnswer + u' ');
    QTRY_COMPARE(rowSize(list, 0).width(), wide);
    QCOMPARE(rowSize(list, 2001), rowSize(list, 0));
    // The list scrolls as far as the widest answer.
    road.ticket()->show();
    QTRY_COMPARE(list->horizontalScrollBar()->maximum(), wide - list->viewport()->width());
    road.answer(u"Да"_s);
    QCOMPARE(control<QLineEdit>(road.ticket(), "txt", 0)->text(), u"5"_s);
}

void ExamTest::closeOpensTheEvaluation()
{
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s});
    QVERIFY(road.open());
    control<QCheckBox>(road.ticket(), "Check1")->setChecked(true);
    QVERIFY(road.app().pictureSizeWindow());
    click(road.ticket(), "Command2");
    QVERIFY(road.app().ticketWindow() == nullptr);
    QVERIFY(road.app().pictureSizeWindow() == nullptr);
    QVERIFY(road.app().answersReviewWindow() == nullptr);
    // The evaluation window takes over; the start window returns when it is closed.
    QVERIFY(road.app().evaluationWindow() != nullptr);
    QVERIFY(!road.app().startWindow()->isVisible());
}

void ExamTest::pictureBesideTicket_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("ticketLeft");

    // The picture itself is 120 x 80 pixels; the ticket window goes 100 twips to its right.
    // -1: the ticket window is not moved at all.
    QTest::newRow("fixed 400 x 300") << u"1"_s << u"400"_s << u"300"_s << QSize(400, 300) << 406;
    QTest::newRow("fixed without a height") << u"1"_s << u"400"_s << QString() << QSize(120, 80) << -1;
    QTest::newRow("fixed size not a number") << u"1"_s << u"wide"_s << u"300"_s << QSize(120, 80) << 126;
    QTest::newRow("real size") << u"2"_s << u"400"_s << u"300"_s << QSize(120, 80) << 126;
    // -2: a fixed size wider than the room beside the ticket window is scaled down to that
    // room, keeping its proportions, and the ticket window stands at the right edge.
    QTest::newRow("wider than the screen allows") << u"1"_s << u"1000"_s << u"300"_s << QSize(1000, 300)
                                                  << -2;
    QTest::newRow("higher than the screen allows") << u"1"_s << u"300"_s << u"2000"_s << QSize(300, 2000)
                                                   << -3;
}

void ExamTest::pictureBesideTicket()
{
    QFETCH(QString, mode);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QSize, picture);
    QFETCH(int, ticketLeft);
    Road road(2, {u"vopros=2"_s, u"ball=4"_s, u"re=rus"_s, u"k="_s + mode, u"l="_s + width,
                  u"h="_s + height});
    writePicture(road.exam + u"/b1/k1.bmp"_s, QSize(120, 80));
    QVERIFY(road.open());
    PictureSizeWindow *pictures = road.app().pictureSizeWindow();
    TicketWindow *ticket = road.ticket();
    QCOMPARE(pictures->objectName(), u"Form3"_s);
    // The picture window covers the screen, its frame included.
    QCOMPARE(pictures->frameGeometry(), QRect(0, 0, 1280, 1024));
    QCOMPARE(control<QLineEdit>(ticket, "Text4")->text(), u"k1.bmp"_s);
    QCOMPARE(ticket->y(), 0);
    QCOMPARE(ticket->x(), 126);

    ticket->move(700, 0);
    pictures->onTimer1();
    QVERIFY(!shown(pictures, "Frame8"));
    const QRect shownPicture = control<QLabel>(pictures, "Image1")->geometry();
    if (ticketLeft >= -1) {
        QCOMPARE(shownPicture.size(), picture);
        QCOMPARE(ticket->x(), ticketLeft == -1 ? 700 : ticketLeft);
        return;
    }
    // Scaled down: the proportions kept, the whole picture inside the window and beside the
    // ticket window, and the ticket window's frame inside the screen.
    QVERIFY(shownPicture.width() < picture.width());
    QVERIFY(qAbs(shownPicture.width() * picture.height() - shownPicture.height() * picture.width())
            <= picture.width() + picture.height());
    QVERIFY(pictures->rect().contains(shownPicture));
    QVERIFY(shownPicture.right() < ticket->x());
    QVERIFY(QRect(0, 0, 1280, 1024).contains(ticket->frameGeometry()));

    // Made narrower after the picture was shown (a window manager fitting the window to its
    // screen), the window sizes its picture again and the ticket window follows.
    pictures->resize(pictures->width() / 2, pictures->height());
    const QRect narrower = control<QLabel>(pictures, "Image1")->geometry();
    QVERIFY(pictures->rect().contains(narrower));
    QVERIFY(narrower.right() < ticket->x());

    // A window system may report the ticket window's narrowed width only after the window was
    // placed by its old width, over the picture: the width, once it comes, puts it beside the
    // picture again. A ticket window moved beside the picture stays where it was moved.
    const int ticketWidth = ticket->width();
    ticket->move(0, ticket->y());
    ticket->setFixedSize(ticketWidth - 10, ticket->height());
    QCOMPARE(ticket->width(), ticketWidth - 10);
    QVERIFY(narrower.right() < ticket->x());
    const int moved = ticket->x() + 5;
    ticket->move(moved, ticket->y());
    ticket->setFixedSize(ticketWidth, ticket->height());
    QCOMPARE(ticket->x(), moved);

    // A window manager may leave the picture window wider than the screen (a scaled screen):
    // the picture is sized for the part on the screen, so the ticket window still finds room
    // beside it there.
    pictures->resize(1280, pictures->height());
    const QRect screenWide = control<QLabel>(pictures, "Image1")->geometry();
    pictures->resize(1280 * 3 / 2, pictures->height());
    QCOMPARE(control<QLabel>(pictures, "Image1")->geometry(), screenWide);
    QVERIFY(screenWide.right() < ticket->x());
    QVERIFY(QRect(0, 0, 1280, 1024).contains(ticket->frameGeometry()));
}

void ExamTest::picturePerQuestion()
{
    Road road(3, {u"vopros=3"_s, u"ball=4"_s, u"re=rus"_s, u"k=2"_s});
    writePicture(road.exam + u"/b1/k2.bmp"_s, QSize(200, 50));
    QVERIFY(road.open());
    PictureSizeWindow *pictures = road.app().pictureSizeWindow();
    TicketWindow *ticket = road.ticket();
    pictures->onTimer1();
    QVERIFY(control<QLabel>(pictures, "Image1")->pixmap().isNull());
    QCOMPARE(ticket->x(), 6);

    road.answer(u"Да"_s);
    control<QRadioButton>(ticket, "Option", 1)->click();
    QCOMPARE(control<QLineEdit>(ticket, "Text4")->text(), u"k2.bmp"_s);
    QCOMPARE(control<QLabel>(pictures, "Image1")->pixmap().size(), QSize(200, 50));
    // The ticket window moves aside so that it never covers the new picture.
    QCOMPARE(ticket->x(), 206);

    road.answer(u"Да"_s);
    control<QRadioButton>(ticket, "Option", 2)->click();
    QCOMPARE(control<QLineEdit>(ticket, "Text4")->text(), QString());
    QVERIFY(control<QLabel>(pictures, "Image1")->pixmap().isNull());
}

void ExamTest::pictureSizePanel()
{
    ProgramFolder folder;
    folder.writeSettings({u"l=640"_s, u"h=480"_s, u"k=2"_s, u"re=eng"_s});
    Application &app = folder.start();
    SettingsWindow *settings = app.settingsWindow();

    // Closing without "Ввести" leaves the settings alone.
    auto *pictures = new PictureSizeWindow(app.context());
    QCOMPARE(control<QLineEdit>(pictures, "Text4")->text(), u"640"_s);
    QCOMPARE(control<QRadioButton>(pictures, "Option2")->text(), u"Size corresponds a real the size pictures"_s);
    control<ActiveLabel>(pictures, "Label1")->setText(PictureSizeWindow::EditorMode);
    pictures->onTimer1();
    QVERIFY(shown(pictures, "Frame8"));
    pictures->showPicture(QPixmap::fromImage(QImage(90, 60, QImage::Format_RGB32)));
    control<QLineEdit>(pictures, "Text4")->setText(u"200"_s);
    control<QLineEdit>(pictures, "Text1")->clear();
    control<QRadioButton>(pictures, "Option1")->click();
    QCOMPARE(control<QLabel>(pictures, "Image1")->size(), QSize(90, 60));
    control<QLineEdit>(pictures, "Text1")->setText(u"100"_s);
    QCOMPARE(control<QLabel>(pictures, "Image1")->size(), QSize(200, 100));
    control<QRadioButton>(pictures, "Option2")->click();
    QCOMPARE(control<QLabel>(pictures, "Image1")->size(), QSize(90, 60));
    control<QRadioButton>(pictures, "Option1")->click();
    control<QPushButton>(pictures, "Command2")->click();
    QCOMPARE(control<QLineEdit>(settings, "Text4")->text(), u"640"_s);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"2"_s);
    delete pictures;

    // With "Ввести" the size and the mode go to the settings window.
    pictures = new PictureSizeWindow(app.context());
    control<ActiveLabel>(pictures, "Label1")->setText(PictureSizeWindow::EditorMode);
    pictures->onTimer1();
    control<QLineEdit>(pictures, "Text4")->setText(u"320"_s);
    control<QLineEdit>(pictures, "Text1")->setText(u"240"_s);
    control<QRadioButton>(pictures, "Option1")->click();
    control<QCheckBox>(pictures, "Check1")->setChecked(true);
    control<QPushButton>(pictures, "Command2")->click();
    QCOMPARE(control<ActiveLabel>(pictures, "Label1")->text(), PictureSizeWindow::TicketMode);
    QCOMPARE(control<QLineEdit>(settings, "Text4")->text(), u"320"_s);
    QCOMPARE(control<QLineEdit>(settings, "Text1")->text(), u"240"_s);
    QVERIFY(control<QRadioButton>(settings, "Option1")->isChecked());
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), u"1"_s);
    delete pictures;
}

QTEST_MAIN(ExamTest)
#include "tst_exam.moc"
