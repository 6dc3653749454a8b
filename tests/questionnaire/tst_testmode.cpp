#include "core/files/ansi_text.h"
#include "core/files/ini.h"
#include "core/files/path_names.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/questionnaire/questionnaire_report.h"
#include "gui/help/help_window.h"
#include "gui/help/text_viewer_window.h"
#include "gui/questionnaire/questionnaire_window.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/panels.h"
#include "support/program_folder.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Data = goldenPath(u"testmode"_s);

// Copies the questionnaire "quiz" into the program folder's t/.
void copyQuiz(const ProgramFolder &folder)
{
    copyFolder(Data + u"/quiz"_s, folder.path(u"t/quiz"_s));
}

QByteArray bytes(const QString &text)
{
    return AnsiText::encode(text);
}

// The families of the window by their index from 0: Option1 ... Option6, txtq1 ... txtq5 and so on.
QRadioButton *option(QWidget *window, int index) { return control<QRadioButton>(window, "Option", index); }
QLineEdit *answerBox(QWidget *window, int index) { return control<QLineEdit>(window, "txtq", index); }
QLineEdit *pointsBox(QWidget *window, int index) { return control<QLineEdit>(window, "txtb", index); }
QLineEdit *collectedBox(QWidget *window, int index) { return control<QLineEdit>(window, "txtn", index); }

} // namespace

class TestMode : public QObject
{
    Q_OBJECT

private:
    // Starts the program in the language and picks test mode on the start window.
    QuestionnaireWindow *open(ProgramFolder &folder, const QString &language = u"rus"_s)
    {
        folder.writeSettings({u"re="_s + language});
        Application &app = folder.start();
        control<QRadioButton>(app.startWindow(), "Option2")->setChecked(true);
        return app.testWindow();
    }

    // Picks the test file of the named test with "Выбрать тест".
    void pick(ProgramFolder &folder, QuestionnaireWindow *window, const QString &name)
    {
        folder.platform.fileAnswers.enqueue(folder.path(u"t/"_s + name + u'/' + name + u".tst"_s));
        click(window, "Command5");
    }

    void answer(QuestionnaireWindow *window, int slot)
    {
        option(window, slot - 1)->setChecked(true);
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // Test files.
    void strayFileRaisesTheCount();

    // The runner.
    void modeAndCaptions_data();
    void modeAndCaptions();
    void emptyAnswersDisableTheirOptions();
    void fullRunWithReport();
    void reportHeaderWaitsForTheName();
    void resetStartsAgainWithANewHeader();
    void conclusionByTotal_data();
    void conclusionByTotal();
    void totalAboveBound3KeepsTheOldConclusion();
    void missingFilesReadAsEmpty();
    void cancelledDialogLeavesTheWindowCleared();
    void reportFolderProblems();
    void documentsAndBackToStart();

    // The editor.
    void createQuestionByQuestion();
    void newNameIsRequiredAndHeldByEveryWorkstation_data();
    void newNameIsRequiredAndHeldByEveryWorkstation();
    void numberBoxes_data();
    void numberBoxes();
    void questionNumberBoxesTakeWholeNumbers_data();
    void questionNumberBoxesTakeWholeNumbers();
    void savingRefusesNoQuestionNumber_data();
    void savingRefusesNoQuestionNumber();
    void unfinishedInputIsRefused();
    void browseFiveQuestions();
    void loadAndSaveAgainKeepsFiles();
    void nameFromAFileStaysInsideTheTestsFolder();
    void failedSaveNamesTheFileAndTheReason_data();
    void failedSaveNamesTheFileAndTheReason();
    void panelsHideWhatTheyCover();
};

void TestMode::strayFileRaisesTheCount()
{
    ProgramFolder folder;
    copyQuiz(folder);
    folder.writeText(u"t/quiz/notes.txt"_s, u"заметки"_s);
    QStringList entries;
    QCOMPARE(QuestionnaireFile::questionCount(folder.path(u"t/quiz"_s), &entries), 4);
    QVERIFY(entries.contains(folder.path(u"t/quiz/notes.txt"_s)));

    // The runner then asks for a fourth question that has no file.
    QuestionnaireWindow *window = open(folder);
    pick(folder, window, u"quiz"_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"4"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label14")->text(), u"из 4"_s);
    for (int question = 1; question <= 3; ++question)
        answer(window, 1);
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"4"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), QString());
    QCOMPARE(folder.platform.messageTexts(), QStringList());
}

void TestMode::modeAndCaptions_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("choose");
    QTest::addColumn<QString>("conclusion2");
    QTest::addColumn<QString>("noTest");
    QTest::newRow("rus") << u"rus"_s << u"Выбрать тест"_s << u"Вывод 2"_s << u"Не выбран тест!"_s;
    QTest::newRow("eng") << u"eng"_s << u"To Choose a test"_s << u"Conclusion 2"_s << u"Not choose test!"_s;
    // Any other language gets the English captions and messages in this window.
    QTest::newRow("other") << u"deu"_s << u"To Choose a test"_s << u"Conclusion 2"_s << u"Not choose test!"_s;
}

void TestMode::modeAndCaptions()
{
    QFETCH(QString, language);
    QFETCH(QString, choose);
    QFETCH(QString, conclusion2);
    QFETCH(QString, noTest);
    ProgramFolder folder;
    folder.writeBytes(u"help/help.chm"_s, "ITSF");
    QuestionnaireWindow *window = open(folder, language);
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), u"Form6"_s);
    QCOMPARE(window->windowTitle(), u"Тест-тавринг"_s);
    // Picking test mode hides the start window and opens the about window and the help.
    QVERIFY(!folder.app().startWindow()->isVisible());
    QVERIFY(folder.app().aboutWindow());
    QCOMPARE(folder.platform.documents, QStringList{folder.path(u"help/help.chm"_s)});

    QCOMPARE(control<QPushButton>(window, "Command5")->text(), choose);
    QCOMPARE(control<ActiveLabel>(window, "Label4")->text(), conclusion2);
    QCOMPARE(control<QPushButton>(window, "Command14")->text(), u"ОК"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label1")->text(), u"0"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label10")->text(), u"0"_s);
    QVERIFY(option(window, 5)->isChecked());
    QVERIFY(control<QPlainTextEdit>(window, "txtV")->isReadOnly());
    for (const char *hidden : {"Command1", "Frame3", "Frame4", "Frame5", "Frame6", "Frame8", "Text2"})
        QVERIFY2(!shown(window, hidden), hidden);

    // An answer with no test open.
    answer(window, 1);
    QCOMPARE(folder.platform.messageTexts(), QStringList{noTest});
    QCOMPARE(folder.platform.messages.first().title, u"Тест-Тавринг"_s);
    QVERIFY(option(window, 5)->isChecked());
}

void TestMode::emptyAnswersDisableTheirOptions()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    pick(folder, window, u"quiz"_s);
    QCOMPARE(folder.platform.fileDialogFilters, QStringList{u"Файлы tst (*.tst)"_s});
    QCOMPARE(control<ActiveLabel>(window, "Label1")->text(), u"3"_s);
    QCOMPARE(control<QLineEdit>(window, "Text2")->text(), u"quiz"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), u"1. Вы любите читать?\n"_s);
    QCOMPARE(answerBox(window, 1)->text(), u"Иногда"_s);
    const QList<bool> enabled{true, true, true, false, false};
    for (int slot = 0; slot < 5; ++slot)
        QCOMPARE(option(window, slot)->isEnabled(), enabled[slot]);
    // The next question has five answers: all options come back.
    answer(window, 1);
    for (int slot = 0; slot < 4; ++slot)
        QVERIFY(option(window, slot)->isEnabled());
    QVERIFY(!option(window, 4)->isEnabled());
}

void TestMode::fullRunWithReport()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    // The header carries the clock as the settings window shows it: "10:30 08.12.2026".
    QLocale::setDefault(QLocale(QLocale::Russian));
    control<QCheckBox>(window, "Check1")->setChecked(true);
    pick(folder, window, u"quiz"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label14")->text(), u"из 3"_s);

    answer(window, 1);
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"2"_s);
    answer(window, 2);
    QVERIFY(!shown(window, "Frame6"));
    answer(window, 4);
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Тест окончен"_s});
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"3"_s);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), u"4"_s);
    QVERIFY(shown(window, "Frame6"));
    QCOMPARE(control<ActiveLabel>(window, "Label11")->text(), u"Вы читаете от случая к случаю.\n"_s);

    const QString rule = u"==================\r\r\n"_s;
    const QString expected = rule + u"ТЕСТ: quiz\r\r\n10:30 08.12.2026\r\r\n"_s + rule + rule
        + u"1. Вы любите читать?\r\n Да - 2\r\n"_s
        + u"2. Сколько книг вы прочли за год?\r\n От трёх до десяти - 1\r\n"_s
        + u"3. Где вы читаете чаще всего?\r\nВыберите одно.\r\n На работе - 1\r\n"_s
        + rule + u"Общее количество балов теста: 4\r\r\n"_s
        + u"Вы читаете от случая к случаю.\r\n\r\r\n"_s + rule + rule
        + u"ВЫВОД №1: Чтение пока не стало привычкой.\r\n = до 2\r\r\n"_s + rule
        + u"ВЫВОД №2: Вы читаете от случая к случаю.\r\n =  до 4\r\r\n"_s + rule
        + u"ВЫВОД №3: Вы увлечённый читатель.\r\n =  до 7\r\r\n"_s + rule + u"\r\n\r\n"_s;
    QCOMPARE(folder.readBytes(u"s/lzm.txt"_s), bytes(expected));

    // The run does not lock: a further answer adds again and ends again.
    answer(window, 1);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), u"7"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label11")->text(), u"Вы увлечённый читатель.\n"_s);
    QCOMPARE(folder.platform.messageTexts().size(), 2);
    QVERIFY(folder.readBytes(u"s/lzm.txt"_s).endsWith(bytes(u" =  до 7\r\r\n"_s + rule + u"\r\n\r\n"_s)));

    // Running never touches the test's own files.
    QCOMPARE(filesUnder(folder.path(u"t/quiz"_s)), filesUnder(Data + u"/quiz"_s));
}

void TestMode::reportHeaderWaitsForTheName()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    control<QCheckBox>(window, "Check1")->setChecked(true);
    QVERIFY(!QFile::exists(folder.path(u"s/lzm.txt"_s)));
    pick(folder, window, u"quiz"_s);
    QCOMPARE(QString(AnsiText::decode(folder.readBytes(u"s/lzm.txt"_s))).count(u"ТЕСТ: quiz"_s), 1);
    // Picking again after a question has moved on writes one more header, for this test only.
    answer(window, 1);
    pick(folder, window, u"quiz"_s);
    QCOMPARE(AnsiText::decode(folder.readBytes(u"s/lzm.txt"_s)).count(u"ТЕСТ: "_s), 2);
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"1"_s);
}

void TestMode::resetStartsAgainWithANewHeader()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    control<QCheckBox>(window, "Check1")->setChecked(true);
    pick(folder, window, u"quiz"_s);
    for (int question = 1; question <= 3; ++question)
        answer(window, 1);
    QVERIFY(shown(window, "Frame6"));

    click(window, "Command3");
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"1"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), u"1. Вы любите читать?\n"_s);
    QCOMPARE(collectedBox(window, 0)->text(), u"0"_s);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), QString());
    QVERIFY(!shown(window, "Frame6"));
    QCOMPARE(folder.platform.clipboard, u"quiz"_s);
    QCOMPARE(control<QLineEdit>(window, "Text12")->text(), u"quiz"_s);
    QCOMPARE(AnsiText::decode(folder.readBytes(u"s/lzm.txt"_s)).count(u"ТЕСТ: quiz"_s), 2);

    // The run starts over from question 1 with nothing collected.
    for (int question = 1; question <= 3; ++question)
        answer(window, 3);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), u"3"_s);

    // "X" puts the conclusion away.
    click(window, "Command15");
    QVERIFY(!shown(window, "Frame6"));
}

void TestMode::conclusionByTotal_data()
{
    QTest::addColumn<QString>("bounds");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("conclusion");
    // How a total and the bounds choose a conclusion is the run's rule, tested with it; here the
    // window reads the bounds from the file, and with no range matching in the first run the
    // conclusion is empty.
    QTest::newRow("above bound 3") << u"t1=1\r\nt2=2\r\nt3=3\r\n"_s << QList<int>{1, 1, 1} << u"7"_s << QString();
    QTest::newRow("bounds never saved, 0") << QString() << QList<int>{3, 3, 5} << u"0"_s << u"Чтение пока не стало привычкой.\n"_s;
}

void TestMode::conclusionByTotal()
{
    QFETCH(QString, bounds);
    QFETCH(QList<int>, answers);
    QFETCH(QString, total);
    QFETCH(QString, conclusion);
    ProgramFolder folder;
    copyQuiz(folder);
    QByteArray file = folder.readBytes(u"t/quiz/quiz.tst"_s);
    file.replace("t1=2\r\nt2=4\r\nt3=7\r\n", bytes(bounds));
    folder.writeBytes(u"t/quiz/quiz.tst"_s, file);

    QuestionnaireWindow *window = open(folder);
    pick(folder, window, u"quiz"_s);
    QVERIFY(!control<QLineEdit>(window, "Text8")->text().isEmpty());
    for (int slot : answers)
        answer(window, slot);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), total);
    QCOMPARE(control<ActiveLabel>(window, "Label11")->text(), conclusion);
    QVERIFY(shown(window, "Frame6"));
}

void TestMode::totalAboveBound3KeepsTheOldConclusion()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QByteArray file = folder.readBytes(u"t/quiz/quiz.tst"_s);
    file.replace("t3=7", "t3=6");
    folder.writeBytes(u"t/quiz/quiz.tst"_s, file);
    QuestionnaireWindow *window = open(folder);
    pick(folder, window, u"quiz"_s);
    for (int slot : {1, 3, 5})
        answer(window, slot);
    QCOMPARE(control<ActiveLabel>(window, "Label11")->text(), u"Чтение пока не стало привычкой.\n"_s);
    click(window, "Command3");
    for (int slot : {1, 1, 1})
        answer(window, slot);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), u"7"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label11")->text(), u"Чтение пока не стало привычкой.\n"_s);
}

void TestMode::missingFilesReadAsEmpty()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QFile::remove(folder.path(u"t/quiz/vt2.txt"_s));
    QFile::remove(folder.path(u"t/quiz/v3.txt"_s));
    // Two stray files keep the count at three.
    folder.writeText(u"t/quiz/notes1.txt"_s, u"x"_s);
    folder.writeText(u"t/quiz/notes2.txt"_s, u"x"_s);
    QuestionnaireWindow *window = open(folder);
    control<QCheckBox>(window, "Check1")->setChecked(true);
    pick(folder, window, u"quiz"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "Text7")->toPlainText(), QString());
    answer(window, 1);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), QString());
    answer(window, 1);
    answer(window, 1);
    QCOMPARE(control<QLineEdit>(window, "txtn")->text(), u"7"_s);
    // A question without text writes no answer line.
    const QString report = AnsiText::decode(folder.readBytes(u"s/lzm.txt"_s));
    QVERIFY(report.contains(u" Да - 2\r\n"_s));
    QVERIFY(!report.contains(u" Больше десяти - 2"_s));
}

void TestMode::cancelledDialogLeavesTheWindowCleared()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    pick(folder, window, u"quiz"_s);
    answer(window, 1);
    click(window, "Command5");
    QCOMPARE(control<QLineEdit>(window, "Text3")->text(), QString());
    QCOMPARE(control<QLineEdit>(window, "Text2")->text(), QString());
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"1"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), QString());
    QCOMPARE(answerBox(window, 0)->text(), QString());
    QCOMPARE(collectedBox(window, 0)->text(), u"0"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label16")->text(), u"Путь к папки с тестами:  "_s + folder.path(u"t/"_s));
}

void TestMode::reportFolderProblems()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QDir(folder.path(u"s"_s)).removeRecursively();
    QuestionnaireWindow *window = open(folder);
    control<QCheckBox>(window, "Check1")->setChecked(true);
    pick(folder, window, u"quiz"_s);
    // A missing report folder is made.
    QVERIFY(folder.readBytes(u"s/lzm.txt"_s).startsWith("=================="));

    // A report that cannot be written says so and the run goes on.
    QDir(folder.path(u"s"_s)).removeRecursively();
    folder.writeText(u"s"_s, u"not a folder"_s);
    answer(window, 1);
    QCOMPARE(folder.platform.messageTexts(),
             QStringList{u"Не удалось дописать отчет в файл "_s + folder.path(u"s/lzm.txt"_s)
                         + u":\nнет такого файла или папки"_s});
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"2"_s);
}

void TestMode::documentsAndBackToStart()
{
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder);
    folder.platform.clear();
    folder.writeBytes(u"s/lzm.txt"_s, "lzm\r\n");
    folder.writeBytes(u"help/guide-ru/index.html"_s, "<html></html>");
    click(window, "Command18");
    click(window, "Command10");
    QCOMPARE(folder.app().documents().textViewer()->file(), folder.path(u"s/lzm.txt"_s));
    QCOMPARE(folder.app().documents().helpWindow()->page(), folder.path(u"help/guide-ru/index.html"_s));
    QCOMPARE(folder.platform.documents, QStringList());

    QPointer<QuestionnaireWindow> guard(window);
    click(window, "Label13");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    QVERIFY(!folder.app().testWindow());
    StartWindow *start = folder.app().startWindow();
    QVERIFY(start->isVisible());
    QVERIFY(shown(start, "Frame3"));
    QVERIFY(control<QRadioButton>(start, "Option3")->isChecked());
    // Test mode can be picked again.
    control<QRadioButton>(start, "Option2")->setChecked(true);
    QVERIFY(folder.app().testWindow());

    folder.platform.clear();
    folder.writeBytes(u"plt.txt"_s, "\xC4\xEE \xF1\xE2\xE8\xE4\xE0\xED\xE8\xFF");
    click(folder.app().testWindow(), "Command2");
    QVERIFY(folder.app().documents().textViewer()->isVisible());
    QCOMPARE(folder.app().documents().textViewer()->text(), u"До свидания"_s);
    QVERIFY(folder.app().hasEnded());
}

void TestMode::createQuestionByQuestion()
{
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder);
    click(window, "Command6");
    QCOMPARE(control<ActiveLabel>(window, "Label1")->text(), u"1"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label10")->text(), u"1"_s);
    QVERIFY(shown(window, "Frame3"));
    QVERIFY(!shown(window, "Frame1"));
    QCOMPARE(control<ActiveLabel>(window, "Label17")->text(), u"Путь к папки с тестами:  "_s + folder.path(u"t/"_s));

    control<QLineEdit>(window, "Text2")->setText(u"quiz"_s);
    click(window, "Command11");
    QCOMPARE(folder.readBytes(u"t/quiz/quiz.tst"_s), golden(u"testmode/quiz.created.tst"_s));
    QCOMPARE(control<ActiveLabel>(window, "Label12")->text(), u"1"_s);
    QVERIFY(shown(window, "Frame1") && shown(window, "Frame4") && shown(window, "Frame5"));
    QVERIFY(!shown(window, "Frame3") && !shown(window, "Frame7"));
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"1"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), u"1."_s);
    QCOMPARE(control<QLineEdit>(window, "Text8")->text(), u"0"_s);

    struct Question
    {
        QString text;
        QStringList answers;
        QStringList points;
    };
    const QList<Question> questions{
        {u"1. Вы любите читать?"_s, {u"Да"_s, u"Иногда"_s, u"Нет"_s}, {u"2"_s, u"1"_s, u"0"_s}},
        {u"2. Сколько книг вы прочли за год?"_s,
         {u"Больше десяти"_s, u"От трёх до десяти"_s, u"Меньше трёх"_s, u"Ни одной"_s},
         {u"2"_s, u"1"_s}},
        {u"3. Где вы читаете чаще всего?\nВыберите одно."_s,
         {u"Дома"_s, u"В дороге"_s, u"В библиотеке"_s, u"На работе"_s, u"Нигде"_s},
         {u"3"_s, u"2"_s, u"3"_s, u"1"_s}},
    };
    for (int n = 0; n < questions.size(); ++n) {
        const Question &question = questions[n];
        QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), QString::number(n + 1) + u'.');
        control<QPlainTextEdit>(window, "txtV")->setPlainText(question.text);
        for (int slot = 0; slot < question.answers.size(); ++slot)
            answerBox(window, slot)->setText(question.answers[slot]);
        for (int slot = 0; slot < question.points.size(); ++slot)
            pointsBox(window, slot)->setText(question.points[slot]);
        click(window, "Command4");
        // The prompt proposes the following number.
        QVERIFY(shown(window, "Frame8"));
        QCOMPARE(control<QLineEdit>(window, "Text11")->text(), QString::number(n + 2));
        QVERIFY(control<QPushButton>(window, "Command14")->isEnabled());
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), QString());
        QCOMPARE(answerBox(window, 0)->text(), QString());
        QCOMPARE(pointsBox(window, 0)->text(), u"0"_s);
        if (n == 1)
            QCOMPARE(folder.readBytes(u"t/quiz/quiz.tst"_s),
                     golden(u"testmode/quiz.two_questions.tst"_s));
        click(window, "Command14");
        QVERIFY(!shown(window, "Frame8"));
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), QString::number(n + 2));
        QVERIFY(!control<QPushButton>(window, "Command14")->isEnabled());
    }
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), u"4."_s);

    control<QPlainTextEdit>(window, "Text5")->setPlainText(u"Чтение пока не стало привычкой."_s);
    control<QPlainTextEdit>(window, "Text7")->setPlainText(u"Вы читаете от случая к случаю."_s);
    control<QPlainTextEdit>(window, "Text6")->setPlainText(u"Вы увлечённый читатель."_s);
    control<QLineEdit>(window, "Text8")->setText(u"2"_s);
    control<QLineEdit>(window, "Text9")->setText(u"4"_s);
    control<QLineEdit>(window, "Text10")->setText(u"7"_s);
    click(window, "Command9");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Сохранено"_s});
    // The second row's conclusion lands in v3.txt.
    QCOMPARE(folder.readBytes(u"t/quiz/v3.txt"_s), bytes(u"Вы читаете от случая к случаю.\r\n"_s));
    QCOMPARE(filesUnder(folder.path(u"t/quiz"_s)), filesUnder(Data + u"/quiz"_s));

    click(window, "Command8");
    QCOMPARE(control<ActiveLabel>(window, "Label10")->text(), u"0"_s);
    QCOMPARE(control<ActiveLabel>(window, "Label12")->text(), u"0"_s);
    QVERIFY(!shown(window, "Frame4") && !shown(window, "Frame5") && !shown(window, "Command1"));
    QVERIFY(shown(window, "Frame7"));

    // The new test runs at once.
    pick(folder, window, u"quiz"_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"3"_s);
    QVERIFY(control<QPlainTextEdit>(window, "txtV")->isReadOnly());
}

void TestMode::newNameIsRequiredAndHeldByEveryWorkstation_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const auto refusal = [](const QString &name, bool russian) {
        const PathNames::Refusal why = PathNames::refusal(name, PathNames::problem(name));
        return russian ? why.russian : why.english;
    };
    // Which names are refused and why is the name rules' test; here the editor says the refusal
    // in the window's language and creates nothing.
    QTest::newRow("empty") << u"rus"_s << QString() << u"Не введено имя теста"_s;
    QTest::newRow("slash") << u"rus"_s << u"a/b"_s << refusal(u"a/b"_s, true);
    QTest::newRow("dot dot") << u"eng"_s << u".."_s << refusal(u".."_s, false);
}

void TestMode::newNameIsRequiredAndHeldByEveryWorkstation()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(QString, message);
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder, language);
    click(window, "Command6");
    QVERIFY(!shown(window, "Text2"));
    if (name.isEmpty()) {
        // The first press reveals the empty name box and asks for nothing yet.
        click(window, "Command11");
        QVERIFY(shown(window, "Text2") && shown(window, "Label9"));
        QCOMPARE(folder.platform.messageTexts(), QStringList());
    }
    control<QLineEdit>(window, "Text2")->setText(name);
    click(window, "Command11");
    QVERIFY(shown(window, "Text2") && shown(window, "Label9"));
    QCOMPARE(folder.platform.messageTexts(), QStringList{message});
    QCOMPARE(control<ActiveLabel>(window, "Label12")->text(), u"0"_s);
    QVERIFY(shown(window, "Frame3"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{u"b"_s, u"help"_s, u"s"_s, u"t"_s, u"test.ini"_s}));
    QCOMPARE(QDir(folder.path(u"t"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    // "Закрыть" of the start panel goes back to running.
    click(window, "Command12");
    QVERIFY(!shown(window, "Frame3") && !shown(window, "Text2"));
    QVERIFY(shown(window, "Frame1") && shown(window, "Frame7"));
    QCOMPARE(control<ActiveLabel>(window, "Label10")->text(), u"0"_s);
}

void TestMode::numberBoxes_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("letters") << QLocale::c() << u"abc"_s << u"0"_s;
    QTest::newRow("emptied") << QLocale::c() << QString() << u"0"_s;
    QTest::newRow("whole") << QLocale::c() << u"-12"_s << u"-12"_s;
    QTest::newRow("fraction") << QLocale::c() << u"2.5"_s << u"2.5"_s;
    QTest::newRow("comma fraction") << QLocale(QLocale::Russian) << u"2,5"_s << u"2,5"_s;
    QTest::newRow("point in a comma locale") << QLocale(QLocale::Russian) << u"2.5"_s << u"0"_s;
    QTest::newRow("largest") << QLocale::c() << u"32767.4"_s << u"32767.4"_s;
    QTest::newRow("beyond 16 bits") << QLocale::c() << u"32767.5"_s << u"0"_s;
    QTest::newRow("smallest") << QLocale::c() << u"-32768"_s << u"-32768"_s;
    QTest::newRow("below 16 bits") << QLocale::c() << u"-32769"_s << u"0"_s;
}

void TestMode::numberBoxes()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QLocale::setDefault(locale);
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder);
    for (QLineEdit *box : {pointsBox(window, 0), pointsBox(window, 4), control<QLineEdit>(window, "Text8"), control<QLineEdit>(window, "Text10")}) {
        box->setText(u"7"_s);
        box->setText(typed);
        QCOMPARE(box->text(), kept);
    }
}

void TestMode::questionNumberBoxesTakeWholeNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept"); // what the box holds after typing key by key
    // Which texts are question numbers is the name rules' test; here both boxes keep a number
    // and drop what is none, typed or pasted.
    QTest::newRow("whole") << u"12"_s << u"12"_s;
    QTest::newRow("section header") << u"[2]]"_s << u"2"_s;
}

void TestMode::questionNumberBoxesTakeWholeNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder);
    click(window, "Command6");
    control<QLineEdit>(window, "Text2")->setText(u"quiz"_s);
    click(window, "Command11");
    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Вопрос"_s);
    click(window, "Command4");
    QVERIFY(shown(window, "Frame8"));

    auto *next = control<QLineEdit>(window, "Text11");
    next->clear();
    QTest::keyClicks(next, typed);
    QCOMPARE(next->text(), kept);
    // A paste is refused whole unless it is a number.
    next->clear();
    next->insert(typed);
    QCOMPARE(next->text(), PathNames::isQuestionNumber(typed) ? typed : QString());

    // The question's own number box, once the prompt that covers it is closed.
    click(window, "Command16");
    auto *number = control<QLineEdit>(window, "Text1");
    number->clear();
    QTest::keyClicks(number, typed);
    QCOMPARE(number->text(), kept);
}

void TestMode::savingRefusesNoQuestionNumber_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    // Which texts are question numbers is the name rules' test; one refusal in each language.
    QTest::newRow("out of the folder") << u"rus"_s << u"../1"_s << u"Ввод вопроса и номера теста не закончен"_s;
    QTest::newRow("emoji") << u"eng"_s << u"3😀"_s << u"Entering a question and number of test not legal"_s;
}

// The boxes refuse such numbers as they are typed; a number set otherwise (read from a
// hand-edited file) is refused by "Сохранить вопрос" too.
void TestMode::savingRefusesNoQuestionNumber()
{
    QFETCH(QString, language);
    QFETCH(QString, number);
    QFETCH(QString, message);
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder, language);
    click(window, "Command6");
    control<QLineEdit>(window, "Text2")->setText(u"quiz"_s);
    click(window, "Command11");
    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Вопрос"_s);
    click(window, "Command4");
    click(window, "Command14");
    const QByteArray saved = folder.readBytes(u"t/quiz/quiz.tst"_s);
    const QStringList files = QDir(folder.path(u"t/quiz"_s)).entryList(QDir::Files);
    folder.platform.messages.clear();

    control<QLineEdit>(window, "Text1")->setText(number);
    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"2. Вопрос"_s);
    answerBox(window, 0)->setText(u"Да"_s);
    click(window, "Command4");
    QCOMPARE(folder.platform.messageTexts(), QStringList{message});
    QCOMPARE(folder.readBytes(u"t/quiz/quiz.tst"_s), saved);
    QCOMPARE(QDir(folder.path(u"t/quiz"_s)).entryList(QDir::Files), files);
    QCOMPARE(QDir(folder.path(u"t"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"quiz"_s});
}

void TestMode::unfinishedInputIsRefused()
{
    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder);
    click(window, "Command6");
    control<QLineEdit>(window, "Text2")->setText(u"quiz"_s);
    click(window, "Command11");
    const QByteArray created = folder.readBytes(u"t/quiz/quiz.tst"_s);

    control<QPlainTextEdit>(window, "txtV")->clear();
    click(window, "Command4");
    control<QPlainTextEdit>(window, "Text5")->setPlainText(u"Один"_s);
    control<QPlainTextEdit>(window, "Text6")->setPlainText(u"Три"_s);
    click(window, "Command9");
    QCOMPARE(folder.platform.messageTexts(),
             (QStringList{u"Ввод вопроса и номера теста не закончен"_s, u"Ввод выводов не закончен"_s}));
    QCOMPARE(QDir(folder.path(u"t/quiz"_s)).entryList(QDir::Files), QStringList{u"quiz.tst"_s});
    QCOMPARE(folder.readBytes(u"t/quiz/quiz.tst"_s), created);
    QVERIFY(!QFile::exists(folder.path(u"t/1.txt"_s)));

    // Bounds left at "0" are stored as "0".
    control<QPlainTextEdit>(window, "Text7")->setPlainText(u"Два"_s);
    click(window, "Command9");
    QCOMPARE(GetValueString(u"v"_s, u"t1"_s, folder.path(u"t/quiz/quiz.tst"_s)), u"0"_s);
    QCOMPARE(GetValueString(u"v"_s, u"t3"_s, folder.path(u"t/quiz/quiz.tst"_s)), u"0"_s);

    // Closing the prompt leaves the number to the author.
    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Вопрос"_s);
    click(window, "Command4");
    QVERIFY(shown(window, "Frame8"));
    click(window, "Command16");
    QVERIFY(!shown(window, "Frame8"));
    QCOMPARE(control<QLineEdit>(window, "Text11")->text(), QString());
    QVERIFY(!control<QPushButton>(window, "Command14")->isEnabled());
}

void TestMode::browseFiveQuestions()
{
    ProgramFolder folder;
    copyFolder(QStringLiteral(TAVRING_DEMO_DIR) + u"/t/travel"_s, folder.path(u"t/travel"_s));
    QuestionnaireWindow *window = open(folder, u"eng"_s);
    click(window, "Command6");
    folder.platform.fileAnswers.enqueue(folder.path(u"t/travel/travel.tst"_s));
    click(window, "Command13");
    QCOMPARE(control<ActiveLabel>(window, "Label1")->text(), u"3"_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"5"_s);
    QVERIFY(shown(window, "Command1") && shown(window, "Frame4") && !shown(window, "Frame3"));
    QCOMPARE(control<QPlainTextEdit>(window, "Text6")->toPlainText(), u"Вы настоящий путешественник!\n"_s);
    QCOMPARE(control<QLineEdit>(window, "Text10")->text(), u"10"_s);

    QStringList visited{control<QLineEdit>(window, "Text1")->text()};
    for (int press = 0; press < 4; ++press) {
        click(window, "Command1");
        visited << control<QLineEdit>(window, "Text1")->text();
        QVERIFY(control<QPlainTextEdit>(window, "txtV")->toPlainText().startsWith(control<QLineEdit>(window, "Text1")->text() + u'.'));
    }
    QCOMPARE(visited, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    QCOMPARE(answerBox(window, 4)->text(), u"К морю"_s);
    QVERIFY(folder.platform.messageTexts().isEmpty());
    click(window, "Command1");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"End of test"_s});
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"1"_s);
    click(window, "Command1");
    QCOMPARE(control<QLineEdit>(window, "Text1")->text(), u"2"_s);
}

void TestMode::loadAndSaveAgainKeepsFiles()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    click(window, "Command6");
    folder.platform.fileAnswers.enqueue(folder.path(u"t/quiz/quiz.tst"_s));
    click(window, "Command13");
    for (int question = 1; question <= 3; ++question) {
        click(window, "Command4");
        click(window, "Command1");
    }
    click(window, "Command9");
    QCOMPARE(folder.platform.messageTexts(), (QStringList{u"Конец теста"_s, u"Сохранено"_s}));
    QVERIFY(!shown(window, "Frame8"));
    QCOMPARE(filesUnder(folder.path(u"t/quiz"_s)), filesUnder(Data + u"/quiz"_s));
}

void TestMode::nameFromAFileStaysInsideTheTestsFolder()
{
    ProgramFolder folder;
    folder.writeText(u"t/odd/odd.tst"_s, u"[v]\r\nt=..\r\n[1]\r\nq1=Да\r\n"_s);
    folder.writeText(u"vt1.txt"_s, u"чужой файл\r\n"_s);
    QuestionnaireWindow *window = open(folder);
    click(window, "Command6");
    folder.platform.fileAnswers.enqueue(folder.path(u"t/odd/odd.tst"_s));
    click(window, "Command13");
    QCOMPARE(control<QLineEdit>(window, "Text2")->text(), u".."_s);
    QCOMPARE(control<QLineEdit>(window, "Text4")->text(), u"-4"_s);
    QCOMPARE(answerBox(window, 0)->text(), u"Да"_s);
    QCOMPARE(control<QPlainTextEdit>(window, "txtV")->toPlainText(), QString());

    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Вопрос"_s);
    click(window, "Command4");
    QCOMPARE(folder.platform.messageTexts().size(), 1);
    QVERIFY(folder.platform.messageTexts().first().endsWith(u": .."_s));
    QCOMPARE(folder.readBytes(u"vt1.txt"_s), bytes(u"чужой файл\r\n"_s));
    QVERIFY(!QFile::exists(folder.path(u"t/...tst"_s)));
}

enum class EditorSave { Create, Question, Conclusions };
Q_DECLARE_METATYPE(EditorSave)

void TestMode::failedSaveNamesTheFileAndTheReason_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<EditorSave>("save");
    QTest::addColumn<QString>("blocked");

    QTest::newRow("creating, rus") << u"rus"_s << EditorSave::Create << u"t/quiz/quiz.tst"_s;
    QTest::newRow("question text, eng") << u"eng"_s << EditorSave::Question << u"t/quiz/vt1.txt"_s;
    QTest::newRow("answers, rus") << u"rus"_s << EditorSave::Question << u"t/quiz/quiz.tst"_s;
    QTest::newRow("conclusion 2, eng") << u"eng"_s << EditorSave::Conclusions << u"t/quiz/v3.txt"_s;
    QTest::newRow("bounds, rus") << u"rus"_s << EditorSave::Conclusions << u"t/quiz/quiz.tst"_s;
    // Any language but Russian hears the English message.
    QTest::newRow("bounds, another language") << u"deu"_s << EditorSave::Conclusions << u"t/quiz/quiz.tst"_s;
}

// A file that cannot be written (a folder stands in its place, which stops even root) is said
// once, with the file and the reason, and the editor stays where it was.
void TestMode::failedSaveNamesTheFileAndTheReason()
{
    QFETCH(QString, language);
    QFETCH(EditorSave, save);
    QFETCH(QString, blocked);

    ProgramFolder folder;
    QuestionnaireWindow *window = open(folder, language);
    click(window, "Command6");
    control<QLineEdit>(window, "Text2")->setText(u"quiz"_s);
    const auto block = [&] {
        QFile::remove(folder.path(blocked));
        QVERIFY(QDir().mkpath(folder.path(blocked)));
    };
    if (save == EditorSave::Create)
        block();
    click(window, "Command11");
    if (save != EditorSave::Create) {
        QVERIFY(folder.platform.messages.isEmpty());
        block();
        control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Вопрос?"_s);
        answerBox(window, 0)->setText(u"Да"_s);
        if (save == EditorSave::Question) {
            click(window, "Command4");
        } else {
            for (const char *conclusion : {"Text5", "Text6", "Text7"})
                control<QPlainTextEdit>(window, conclusion)->setPlainText(u"Вывод"_s);
            click(window, "Command9");
        }
    }

    QCOMPARE(folder.platform.messages.size(), 1);
    const QString said = folder.platform.messages.first().text;
    const QString start = (language == "rus"_L1 ? u"Не удалось записать файл "_s : u"Could not write the file "_s)
                          + folder.path(blocked) + u":\n"_s;
    QVERIFY2(said.startsWith(start) && said.size() > start.size(), qPrintable(said));
    // A failed creation does not open the new questionnaire; a failed question keeps its boxes.
    QCOMPARE(shown(window, "Frame3"), save == EditorSave::Create);
    if (save == EditorSave::Question)
        QCOMPARE(answerBox(window, 0)->text(), u"Да"_s);
}

QTEST_MAIN(TestMode)

// Every panel of the run and of the editor, in the orders a teacher opens them: no control of
// another panel shows inside a panel, and the tests folder is named once.
void TestMode::panelsHideWhatTheyCover()
{
    ProgramFolder folder;
    copyQuiz(folder);
    QuestionnaireWindow *window = open(folder);
    QStringList faults;
    const auto look = [&](const QString &step) {
        for (const QString &peeking : peekingControls(window))
            faults << step + u": "_s + peeking;
        const int paths = shownCaptionsWith(window, u"Путь к папки с тестами"_s);
        if (paths > 1)
            faults << step + u": the tests folder named "_s + QString::number(paths) + u" times"_s;
    };
    look(u"test mode"_s);
    pick(folder, window, u"quiz"_s);
    look(u"a test chosen"_s);
    for (int slot = 1; slot <= 3; ++slot)
        answer(window, 1);
    look(u"the conclusion"_s);
    click(window, "Command6");
    look(u"the editor"_s);
    click(window, "Command11");
    look(u"the name box"_s);
    control<QLineEdit>(window, "Text2")->setText(u"poll"_s);
    click(window, "Command11");
    look(u"a new test"_s);
    control<QPlainTextEdit>(window, "txtV")->setPlainText(u"1. Да или нет?"_s);
    answerBox(window, 0)->setText(u"Да"_s);
    answerBox(window, 1)->setText(u"Нет"_s);
    click(window, "Command4");
    look(u"the next number's prompt"_s);
    click(window, "Command14");
    look(u"the second question"_s);
    click(window, "Command8");
    look(u"the editor closed"_s);
    click(window, "Command6");
    folder.platform.fileAnswers.enqueue(folder.path(u"t/quiz/quiz.tst"_s));
    click(window, "Command13");
    look(u"a test opened for editing"_s);
    click(window, "Command1");
    look(u"the next question browsed"_s);
    click(window, "Command8");
    click(window, "Command6");
    click(window, "Command12");
    look(u"the start panel closed"_s);
    pick(folder, window, u"quiz"_s);
    look(u"a test chosen after the editor"_s);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
}

#include "tst_testmode.moc"
