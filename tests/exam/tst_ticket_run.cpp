#include "core/exam/grade.h"
#include "core/exam/ticket_run.h"
#include "support/program_folder.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An exam of one ticket with `questions` complete questions (answers "Да", "Нет", "Не знаю";
// "Да" is right) and the setup of a ticket run on it.
struct Exam
{
    ProgramFolder folder;
    QString path;
    TicketRun::Setup setup;

    Exam(int questions, const QString &count, const QString &passScore = u"4"_s)
    {
        path = makeExam(folder, u"Экзамен"_s, 1, questions);
        setup.examFolder = path;
        setup.ticketNumber = u"1"_s;
        setup.questionCount = count;
        setup.passScore = passScore;
    }

    void remove(const QString &file) const { QFile::remove(path + u"/b1/"_s + file); }
};

// Answers the open question and opens the next one while the run lets it go on; the letters
// say what each answer led to: U unlocked, F ticket finished, N nothing.
QString answerInTurn(TicketRun &run, const QString &pattern)
{
    QString outcomes;
    for (int n = 1; n <= pattern.size(); ++n) {
        const TicketRun::Choice choice = run.choose(pattern[n - 1] == u'R' ? u"Да"_s : u"Нет"_s);
        if (!choice.recorded)
            break;
        outcomes += choice.next == TicketRun::Next::Unlocked ? u'U'
                    : choice.next == TicketRun::Next::TicketFinished ? u'F' : u'N';
        if (choice.next != TicketRun::Next::Unlocked || run.open(n + 1) != TicketRun::Opening::Opened)
            break;
    }
    return outcomes;
}

} // namespace

class TicketRunTest : public QObject
{
    Q_OBJECT

private slots:
    void unlockAgainstTheQuestionCount_data();
    void unlockAgainstTheQuestionCount();
    void marks_data();
    void marks();
    void oneAnswerPerQuestion();
    void unreadableQuestionAbandons_data();
    void unreadableQuestionAbandons();
    void ticketTimer();
    void ticketFinishedInTimeKeepsItsVerdict();
    void questionTimer_data();
    void questionTimer();
    void questionTimerRestartsPerQuestion();
    void countdownText_data();
    void countdownText();
    void gradeArithmetic_data();
    void gradeArithmetic();
    void grade_data();
    void grade();
    void shuffledAnswers_data();
    void shuffledAnswers();
};

void TicketRunTest::countdownText_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("fifteen minutes less two seconds") << 898 << u"14:58"_s;
    QTest::newRow("a whole minute") << 60 << u"1:00"_s;
    QTest::newRow("seconds alone") << 9 << u"0:09"_s;
    QTest::newRow("the end") << 0 << u"0:00"_s;
    QTest::newRow("two hours") << 7200 << u"120:00"_s;
}

void TicketRunTest::countdownText()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(TicketRun::countdownText(seconds), text);
}

void TicketRunTest::unlockAgainstTheQuestionCount_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("outcomes");

    QTest::newRow("3 of 5") << 5 << QString() << u"3"_s << u"UUF"_s;
    QTest::newRow("12 of 15") << 15 << QString() << u"12"_s << QString(11, u'U') + u'F';
    QTest::newRow("5 of 3: the files end first") << 3 << QString() << u"5"_s << u"UUN"_s;
    QTest::newRow("20 of 20") << 20 << QString() << u"20"_s << QString(19, u'U') + u'N';
    QTest::newRow("answers of 3 missing") << 5 << u"v3.txt"_s << u"5"_s << u"UN"_s;
    QTest::newRow("correct answer of 3 missing") << 5 << u"o3.txt"_s << u"5"_s << u"UN"_s;
    QTest::newRow("question file of 3 missing") << 5 << u"q3.txt"_s << u"5"_s << u"UN"_s;
    QTest::newRow("count 2,5 goes to the third") << 5 << QString() << u"2,5"_s << u"UUF"_s;
    QTest::newRow("count not a number") << 5 << QString() << u"five"_s << u"F"_s;
    QTest::newRow("count empty") << 5 << QString() << QString() << u"F"_s;
    QTest::newRow("question 1 without a correct answer") << 3 << u"o1.txt"_s << u"3"_s << QString();
}

void TicketRunTest::unlockAgainstTheQuestionCount()
{
    QFETCH(int, questions);
    QFETCH(QString, missing);
    QFETCH(QString, count);
    QFETCH(QString, outcomes);
    Exam exam(questions, count);
    if (!missing.isEmpty())
        exam.remove(missing);
    exam.setup.ticketTimer = true;
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    QCOMPARE(run.currentQuestion(), outcomes.isEmpty() ? 0 : 1);
    QCOMPARE(answerInTurn(run, QString(TicketRun::Questions, u'R')), outcomes);
    // The ticket timer stops with the last answer, whatever ends the ticket.
    QCOMPARE(run.isTicketTimerRunning(), outcomes.isEmpty());

    // After the last answer only the last answered question's button stays enabled.
    const int last = int(outcomes.size());
    for (int n = 1; n <= TicketRun::Questions; ++n)
        QCOMPARE(run.isEnabled(n), n == last);
    if (!missing.isEmpty())
        QCOMPARE(run.isMissing(3), missing != u"q3.txt"_s && missing != u"o1.txt"_s);
}

void TicketRunTest::marks_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("mark");
    QTest::newRow("right") << u"Да\r\nНет\r\n"_s << u"Да\r\n"_s << u"Да"_s << u"5"_s;
    QTest::newRow("wrong") << u"Да\r\nНет\r\n"_s << u"Да\r\n"_s << u"Нет"_s << u"2"_s;
    QTest::newRow("letter case counts") << u"Да\r\nда\r\n"_s << u"Да\r\n"_s << u"да"_s << u"2"_s;
    QTest::newRow("a trailing blank counts") << u"Да \r\nДа\r\n"_s << u"Да \r\nда\r\n"_s << u"Да "_s
                                             << u"5"_s;
    QTest::newRow("only the first line is correct") << u"Да\r\nНет\r\n"_s << u"Да\r\nНет\r\n"_s
                                                    << u"Нет"_s << u"2"_s;
    QTest::newRow("empty correct-answer file: only an empty choice") << u"Да\r\n"_s << QString()
                                                                     << QString() << u"5"_s;
}

void TicketRunTest::marks()
{
    QFETCH(QString, answers);
    QFETCH(QString, correct);
    QFETCH(QString, chosen);
    QFETCH(QString, mark);
    Exam exam(2, u"2"_s);
    exam.folder.writeText(u"b/exam/b1/v1.txt"_s, answers);
    exam.folder.writeText(u"b/exam/b1/o1.txt"_s, correct);
    TicketRun run(exam.setup);
    QSignalSpy marked(&run, &TicketRun::markChanged);
    QVERIFY(run.start());
    QCOMPARE(run.mark(1), u"0"_s);
    const TicketRun::Choice choice = run.choose(chosen);
    QVERIFY(choice.recorded);
    QCOMPARE(choice.right, mark == u"5"_s);
    QCOMPARE(run.mark(1), mark);
    QCOMPARE(marked.size(), 1);
    QCOMPARE(marked.first(), (QVariantList{1, mark}));
}

void TicketRunTest::oneAnswerPerQuestion()
{
    Exam exam(3, u"3"_s);
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    QCOMPARE(run.questionEntry(1), u"q1.txt"_s);
    QVERIFY(run.choose(u"Нет"_s).recorded);
    QVERIFY(!run.isAnswerable());
    // A second answer, right this time, changes nothing.
    QVERIFY(!run.choose(u"Да"_s).recorded);
    QCOMPARE(run.mark(1), u"2"_s);
    // The question text is kept as its box shows it.
    QCOMPARE(run.questionEntry(1), u"Вопрос 1 билета 1\n"_s);

    // Questions go strictly forward: neither the answered one nor one further on opens.
    QCOMPARE(run.open(1), TicketRun::Opening::Unavailable);
    QCOMPARE(run.open(3), TicketRun::Opening::Unavailable);
    QCOMPARE(run.open(2), TicketRun::Opening::Opened);
    QVERIFY(run.isAnswerable());
    QCOMPARE(run.answers().toStringList(), (QStringList{u"Да"_s, u"Нет"_s, u"Не знаю"_s}));
    QCOMPARE(run.questionText(), u"Вопрос 2 билета 1\n"_s);
    QCOMPARE(run.pictureFile(), QString());
}

void TicketRunTest::unreadableQuestionAbandons_data()
{
    QTest::addColumn<int>("question");
    QTest::newRow("question 1 at the start") << 1;
    QTest::newRow("question 2 when opened") << 2;
}

void TicketRunTest::unreadableQuestionAbandons()
{
    QFETCH(int, question);
    Exam exam(3, u"3"_s);
    exam.setup.questionTimer = true;
    const QString file = u"q%1.txt"_s.arg(question);
    if (question == 1) {
        // Present but unreadable: a folder of that name.
        exam.remove(file);
        QVERIFY(QDir(exam.path).mkpath(u"b1/"_s + file));
        TicketRun first(exam.setup);
        QVERIFY(!first.start());
        QVERIFY(!first.isQuestionTimerRunning());
        return;
    }
    TicketRun run(exam.setup);
    QSignalSpy switched(&run, &TicketRun::questionTimerSwitched);
    QVERIFY(run.start());
    QVERIFY(run.isQuestionTimerRunning());
    run.choose(u"Да"_s);
    // Present when the ticket started, gone when the question is opened.
    exam.remove(file);
    QCOMPARE(run.open(question), TicketRun::Opening::NoQuestion);
    QVERIFY(!run.isQuestionTimerRunning());
    QVERIFY(!run.isAnswerable());
    QCOMPARE(switched.last(), QVariantList{false});
}

void TicketRunTest::ticketTimer()
{
    Exam exam(2, u"2"_s);
    exam.setup.ticketTimer = true;
    exam.setup.countdownSeconds = 3;
    TicketRun run(exam.setup);
    QSignalSpy expired(&run, &TicketRun::expired);
    QVERIFY(run.start());
    QVERIFY(run.isTicketTimerRunning());
    QVERIFY(!run.isQuestionTimerRunning());
    QCOMPARE(run.countdown(), 3);
    run.choose(u"Да"_s);
    run.tickTicketTimer();
    run.tickTicketTimer();
    QCOMPARE(run.countdown(), 1);
    QCOMPARE(expired.size(), 0);
    QVERIFY(run.open(2) == TicketRun::Opening::Opened);
    run.tickTicketTimer();
    QCOMPARE(run.countdown(), 0);
    QCOMPARE(expired.size(), 1);
    QVERIFY(!run.isTicketTimerRunning());
    QCOMPARE(run.verdict(), Verdict::FailedOnTime);
    QVERIFY(!run.isAnswerable());
    QVERIFY(!run.choose(u"Да"_s).recorded);

    // An evaluation afterwards replaces the verdict: the last writer wins.
    QCOMPARE(run.evaluate().problem, Grade::Problem::None);
    QCOMPARE(run.grade(), u"2.5"_s);
    QCOMPARE(run.verdict(), Verdict::Failed);

    // Without a pass score the grade becomes 0 and the verdict stays as the timer left it.
    exam.setup.passScore = u"0"_s;
    TicketRun unscored(exam.setup);
    QVERIFY(unscored.start());
    for (int second = 0; second < 3; ++second)
        unscored.tickTicketTimer();
    QCOMPARE(unscored.evaluate().problem, Grade::Problem::NoPassScore);
    QCOMPARE(unscored.grade(), u"0"_s);
    QCOMPARE(unscored.verdict(), Verdict::FailedOnTime);
}

void TicketRunTest::ticketFinishedInTimeKeepsItsVerdict()
{
    Exam exam(2, u"2"_s);
    exam.setup.ticketTimer = true;
    exam.setup.countdownSeconds = 3;
    TicketRun run(exam.setup);
    QSignalSpy expired(&run, &TicketRun::expired);
    QVERIFY(run.start());
    QCOMPARE(answerInTurn(run, u"RR"_s), u"UN"_s);
    QVERIFY(!run.isTicketTimerRunning());
    QCOMPARE(run.evaluate().problem, Grade::Problem::None);
    QCOMPARE(run.verdict(), Verdict::Passed);

    // Ticks that still arrive change neither the countdown nor the verdict.
    for (int second = 0; second < 5; ++second)
        run.tickTicketTimer();
    QCOMPARE(run.countdown(), 3);
    QCOMPARE(expired.size(), 0);
    QCOMPARE(run.verdict(), Verdict::Passed);
}

void TicketRunTest::questionTimer_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("answered");
    QTest::addColumn<bool>("expires");
    // Every unanswered question counts, also those beyond the number of questions.
    QTest::newRow("current unanswered") << 5 << 0 << true;
    QTest::newRow("current answered, others left") << 5 << 1 << true;
    QTest::newRow("all twenty answered: the timer stopped") << 20 << 20 << false;
}

void TicketRunTest::questionTimer()
{
    QFETCH(int, questions);
    QFETCH(int, answered);
    QFETCH(bool, expires);
    Exam exam(questions, QString::number(questions));
    exam.setup.questionTimer = true;
    exam.setup.countdownSeconds = 2;
    TicketRun run(exam.setup);
    QSignalSpy expired(&run, &TicketRun::expired);
    QVERIFY(run.start());
    QVERIFY(!run.isTicketTimerRunning());
    QCOMPARE(answerInTurn(run, QString(answered, u'R')).size(), answered);
    run.tickQuestionTimer();
    QCOMPARE(expired.size(), 0);
    run.tickQuestionTimer();
    QCOMPARE(run.countdown(), expires ? 0 : 2);
    QVERIFY(!run.isQuestionTimerRunning());
    QCOMPARE(expired.size(), expires ? 1 : 0);
    QCOMPARE(run.verdict(), expires ? Verdict::FailedOnTime : Verdict::None);
}

void TicketRunTest::questionTimerRestartsPerQuestion()
{
    Exam exam(3, u"3"_s);
    exam.setup.questionTimer = true;
    exam.setup.countdownSeconds = 120;
    TicketRun run(exam.setup);
    QVERIFY(run.start());
    run.tickQuestionTimer();
    run.tickQuestionTimer();
    QCOMPARE(run.countdown(), 118);
    run.choose(u"Да"_s);
    QVERIFY(!run.isQuestionTimerRunning());
    QCOMPARE(run.countdown(), 118);
    QCOMPARE(run.open(2), TicketRun::Opening::Opened);
    QVERIFY(run.isQuestionTimerRunning());
    QCOMPARE(run.countdown(), 120);
}

void TicketRunTest::gradeArithmetic_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("marks");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("passScore");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<int>("verdict");

    const auto marks = [](std::initializer_list<int> given) {
        QStringList all(20, u"0"_s);
        int i = 0;
        for (int mark : given)
            all[i++] = QString::number(mark);
        return all;
    };
    const int none = int(Grade::Problem::None);
    const int pass = int(Verdict::Passed);
    const int fail = int(Verdict::Failed);
    const int undecided = int(Verdict::None);

    QTest::newRow("4 right 1 wrong, point") << u"C"_s << marks({5, 5, 5, 5, 2}) << u"5"_s << u"4"_s
                                            << none << u"4.4"_s << pass;
    QTest::newRow("4 right 1 wrong, comma") << u"ru_RU"_s << marks({5, 2, 5, 5, 5}) << u"5"_s << u"4"_s
                                            << none << u"4,4"_s << pass;
    QTest::newRow("all unanswered") << u"C"_s << marks({}) << u"5"_s << u"4"_s << none << u"0"_s << fail;
    QTest::newRow("32 / 7") << u"C"_s << marks({5, 5, 5, 5, 5, 5, 2}) << u"7"_s << u"4"_s
                            << none << u"4.5714"_s << pass;
    // 5 / 16 = 0.3125 exactly; 1 / 3 of a mark; 2 / 8 * ... halves to even at the fifth digit:
    // 17 / 16 = 1.0625 exact, 2 / 6 = 0.3333, 5 / 32 = 0.15625 -> 0.1562 (even), 15 / 32 -> 0.4688
    QTest::newRow("half to even, down") << u"C"_s << marks({5}) << u"32"_s << u"4"_s
                                        << none << u"0.1562"_s << fail;
    QTest::newRow("half to even, up") << u"C"_s << marks({5, 5, 5}) << u"32"_s << u"4"_s
                                      << none << u"0.4688"_s << fail;
    QTest::newRow("pass 4,5 grade 4,4") << u"ru_RU"_s << marks({5, 5, 5, 5, 2}) << u"5"_s << u"4,5"_s
                                        << none << u"4,4"_s << fail;
    QTest::newRow("pass 4,5 grade 5") << u"ru_RU"_s << marks({5, 5, 5, 5, 5}) << u"5"_s << u"4,5"_s
                                      << none << u"5"_s << pass;
    QTest::newRow("pass 10 grade 5 compares by value") << u"C"_s << marks({5, 5, 5, 5, 5}) << u"5"_s
                                                       << u"10"_s << none << u"5"_s << fail;
    QTest::newRow("pass 4.5 with a point in a comma locale") << u"ru_RU"_s << marks({5, 5, 5, 5, 5, 2})
                                                             << u"6"_s << u"4.5"_s << none << u"4,5"_s << pass;
    QTest::newRow("pass 4,5 with a comma in a point locale") << u"C"_s << marks({5, 5, 5, 5, 2})
                                                             << u"5"_s << u"4,5"_s << none << u"4.4"_s << fail;
    QTest::newRow("grade equal to pass score") << u"C"_s << marks({5, 5, 2, 5, 5}) << u"5"_s << u"4.4"_s
                                               << none << u"4.4"_s << pass;
    QTest::newRow("pass score 0") << u"C"_s << marks({5}) << u"5"_s << u"0"_s
                                  << int(Grade::Problem::NoPassScore) << QString() << undecided;
    QTest::newRow("pass score empty") << u"C"_s << marks({5}) << u"5"_s << u" "_s
                                      << int(Grade::Problem::NoPassScore) << QString() << undecided;
    QTest::newRow("pass score not a number") << u"C"_s << marks({5}) << u"5"_s << u"four"_s
                                             << int(Grade::Problem::PassScoreNotANumber) << QString() << undecided;
    QTest::newRow("question count 0") << u"C"_s << marks({5}) << u"0"_s << u"4"_s
                                      << int(Grade::Problem::BadQuestionCount) << QString() << pass;
    QTest::newRow("question count empty") << u"C"_s << marks({5}) << QString() << u"4"_s
                                          << int(Grade::Problem::BadQuestionCount) << QString() << pass;
}

void TicketRunTest::gradeArithmetic()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, marks);
    QFETCH(QString, count);
    QFETCH(QString, passScore);
    QFETCH(int, problem);
    QFETCH(QString, grade);
    QFETCH(int, verdict);
    QLocale::setDefault(QLocale(locale));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });

    const Grade::Result result = Grade::compute(marks, count, passScore);
    QCOMPARE(int(result.problem), problem);
    if (result.problem != Grade::Problem::None)
        return;
    QCOMPARE(result.grade.toString(), grade);
    QCOMPARE(int(Grade::verdict(grade, passScore)), verdict);
}

void TicketRunTest::grade_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("passScore");
    QTest::addColumn<Grade::Problem>("problem");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<Verdict>("verdict");
    using V = Verdict;
    using P = Grade::Problem;
    QTest::newRow("4 right 1 wrong") << u"RRRRW"_s << u"5"_s << u"4"_s << P::None << u"4.4"_s
                                     << V::Passed;
    QTest::newRow("no pass score: grade 0, no verdict") << u"RRRRR"_s << u"5"_s << u"0"_s
                                                        << P::NoPassScore << u"0"_s << V::None;
    QTest::newRow("pass score not a number") << u"RR"_s << u"5"_s << u"good"_s
                                             << P::PassScoreNotANumber << QString() << V::None;
    QTest::newRow("question count 0") << u"R"_s << u"0"_s << u"4"_s << P::BadQuestionCount
                                      << QString() << V::None;
}

void TicketRunTest::grade()
{
    QFETCH(QString, pattern);
    QFETCH(QString, count);
    QFETCH(QString, passScore);
    QFETCH(Grade::Problem, problem);
    QFETCH(QString, grade);
    QFETCH(Verdict, verdict);
    Exam exam(5, count, passScore);
    TicketRun run(exam.setup);
    QSignalSpy verdicts(&run, &TicketRun::verdictChanged);
    QVERIFY(run.start());
    answerInTurn(run, pattern);
    QCOMPARE(run.evaluate().problem, problem);
    QCOMPARE(run.grade(), grade);
    QCOMPARE(run.verdict(), verdict);
    // The verdict is given again by a second evaluation with the same grade.
    run.evaluate();
    QCOMPARE(verdicts.size(), verdict == Verdict::None ? 0 : 2);
}

void TicketRunTest::shuffledAnswers_data()
{
    QTest::addColumn<bool>("shuffle");
    QTest::addColumn<QList<double>>("randoms");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    const QStringList file = {u"Да"_s, u"Нет"_s, u"Не знаю"_s};
    QTest::newRow("off keeps the file's order") << false << QList<double>{0.0, 0.0, 0.0, 0.0} << file << file;
    QTest::newRow("lowest numbers") << true << QList<double>{0.0, 0.0, 0.99, 0.99}
                                    << QStringList{u"Нет"_s, u"Не знаю"_s, u"Да"_s} << file;
    QTest::newRow("middle numbers") << true << QList<double>{0.5, 0.0, 0.4, 0.6}
                                    << QStringList{u"Не знаю"_s, u"Да"_s, u"Нет"_s}
                                    << QStringList{u"Да"_s, u"Не знаю"_s, u"Нет"_s};
}

// Each question draws its order when it opens; the answer is graded by its text wherever it
// stands, and a ticket taken up from its state shows the orders it was drawn with.
void TicketRunTest::shuffledAnswers()
{
    QFETCH(bool, shuffle);
    QFETCH(QList<double>, randoms);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    Exam exam(2, u"2"_s);
    exam.setup.shuffleAnswers = shuffle;
    TicketRun run(exam.setup);
    run.setRandomSource([&randoms] { return randoms.takeFirst(); });
    QVERIFY(run.start());
    QCOMPARE(run.answers().toStringList(), first);
    QCOMPARE(run.choose(u"Да"_s).right, true);
    QCOMPARE(run.open(2), TicketRun::Opening::Opened);
    QCOMPARE(run.answers().toStringList(), second);
    QCOMPARE(randoms.size(), shuffle ? 0 : 4);

    TicketRun resumed(exam.setup);
    resumed.setRandomSource([] { return 0.0; });
    QVERIFY(resumed.resume(run.state()));
    QCOMPARE(resumed.answers().toStringList(), second);
    QCOMPARE(resumed.state(), run.state());
    QCOMPARE(resumed.choose(u"Нет"_s).right, false);
    QCOMPARE(resumed.marks().mid(0, 2), (QStringList{u"5"_s, u"2"_s}));
}

QTEST_MAIN(TicketRunTest)
#include "tst_ticket_run.moc"
