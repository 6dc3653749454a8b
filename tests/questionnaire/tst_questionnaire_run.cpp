#include "core/questionnaire/questionnaire_editor.h"
#include "core/questionnaire/questionnaire_run.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QuestionnaireRun::Step)
Q_DECLARE_METATYPE(QuestionnaireEditor::Browse)

namespace {

// The largest count of ten-thousandths and its negative, as text.
const QString Largest = u"922337203685477.5807"_s;
const QString Smallest = u"-922337203685477.5807"_s;

// A run of a questionnaire of the given count, at the given number.
void open(QuestionnaireRun &run, int count, const QString &number)
{
    run.setQuestionCount(count);
    run.setQuestionNumber(number);
}

} // namespace

class QuestionnaireRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void conclusionChoice_data();
    void conclusionChoice();
    void nextStep_data();
    void nextStep();
    void followingQuestionLoadsBeforeTheCounterMoves();
    void counterEndsAtItsLimit();
    void endDoesNotLock();
    void pointsCollection_data();
    void pointsCollection();

    void browse_data();
    void browse();
    void followingNumber_data();
    void followingNumber();
};

void QuestionnaireRunTest::conclusionChoice_data()
{
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("bounds");
    QTest::addColumn<int>("conclusion");
    const QStringList ascending{u"2"_s, u"4"_s, u"7"_s};
    QTest::newRow("below bound 1") << u"-3"_s << ascending << 1;
    QTest::newRow("equal to bound 1") << u"2"_s << ascending << 1;
    QTest::newRow("just above bound 1") << u"2.0001"_s << ascending << 2;
    QTest::newRow("equal to bound 2") << u"4"_s << ascending << 2;
    QTest::newRow("just above bound 2") << u"4.0001"_s << ascending << 3;
    QTest::newRow("equal to bound 3") << u"7"_s << ascending << 3;
    QTest::newRow("just above bound 3") << u"7.0001"_s << ascending << 0;
    QTest::newRow("bounds all 0, total 0") << u"0"_s << QStringList{u"0"_s, u"0"_s, u"0"_s} << 1;
    QTest::newRow("bounds all 0, total 1") << u"1"_s << QStringList{u"0"_s, u"0"_s, u"0"_s} << 0;
    QTest::newRow("bounds with a gap") << u"4"_s << QStringList{u"5"_s, u"3"_s, u"10"_s} << 0;
    QTest::newRow("bound not a number counts as 0") << u"0"_s << QStringList{u"много"_s, u"4"_s, u"7"_s} << 1;
    QTest::newRow("fractional bounds") << u"2.5"_s << QStringList{u"2.4999"_s, u"2.5"_s, u"3"_s} << 2;
    QTest::newRow("total not a number") << QString() << ascending << 0;
}

// Through the run's end: the slots add up to the total, and the bounds come as box texts.
void QuestionnaireRunTest::conclusionChoice()
{
    QFETCH(QString, total);
    QFETCH(QStringList, bounds);
    QFETCH(int, conclusion);
    QuestionnaireRun run;
    if (total.isEmpty()) {
        run.collect(0, Largest);
        run.collect(0, u"1"_s);
    } else {
        run.collect(0, total);
    }
    std::optional<int> chosen = -1;
    connect(&run, &QuestionnaireRun::concluded, this, [&chosen](std::optional<int> c) { chosen = c; });
    QCOMPARE(run.finish({bounds[0], bounds[1], bounds[2]}), !total.isEmpty());
    QVERIFY(chosen != -1);
    QCOMPARE(chosen.value_or(0), conclusion);
    QVERIFY(run.hasTotal());
    QCOMPARE(QuestionnaireRun::pointsText(run.total()), total);
}

void QuestionnaireRunTest::nextStep_data()
{
    QTest::addColumn<int>("count"); // -1: no questionnaire opened
    QTest::addColumn<QString>("number");
    QTest::addColumn<QuestionnaireRun::Step>("step");
    QTest::addColumn<QString>("numberAfter");
    using Step = QuestionnaireRun::Step;
    QTest::newRow("nothing opened") << -1 << u"1"_s << Step::NoQuestionnaire << u"1"_s;
    QTest::newRow("number box emptied") << 3 << QString() << Step::NoQuestionnaire << QString();
    QTest::newRow("first of three") << 3 << u"1"_s << Step::NextQuestion << u"2"_s;
    QTest::newRow("last of three") << 3 << u"3"_s << Step::Ended << u"3"_s;
    QTest::newRow("typed beyond the count") << 3 << u"9"_s << Step::Ended << u"9"_s;
    QTest::newRow("fraction below the count") << 3 << u"2.9999"_s << Step::NextQuestion << u"2"_s;
    // A typed number that is no number counts as 0; the next question follows the counter.
    QTest::newRow("typed letters") << 3 << u"abc"_s << Step::NextQuestion << u"2"_s;
    QTest::newRow("empty questionnaire") << 0 << u"1"_s << Step::Ended << u"1"_s;
    QTest::newRow("folder missing") << -4 << u"1"_s << Step::Ended << u"1"_s;
}

void QuestionnaireRunTest::nextStep()
{
    QFETCH(int, count);
    QFETCH(QString, number);
    QFETCH(QuestionnaireRun::Step, step);
    QFETCH(QString, numberAfter);
    QuestionnaireRun run;
    if (count != -1)
        run.setQuestionCount(count);
    run.setQuestionNumber(number);
    QCOMPARE(run.next(), step);
    QCOMPARE(run.questionNumber(), numberAfter);
    QCOMPARE(run.counter(), qint16(step == QuestionnaireRun::Step::NextQuestion ? 2 : 1));
}

// The question is loaded when its number is shown, and the counter moves after that.
void QuestionnaireRunTest::followingQuestionLoadsBeforeTheCounterMoves()
{
    QuestionnaireRun run;
    open(run, 5, u"1"_s);
    QList<std::pair<QString, qint16>> shown;
    connect(&run, &QuestionnaireRun::questionNumberChanged, this,
            [&](const QString &number) { shown.append({number, run.counter()}); });
    run.next();
    run.next();
    // A typed number does not move the counter: the next step still shows counter + 1.
    run.setQuestionNumber(u"5"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::Ended);
    run.setQuestionNumber(u"1"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::NextQuestion);
    QCOMPARE(shown, (QList<std::pair<QString, qint16>>{
                        {u"2"_s, 1}, {u"3"_s, 2}, {u"5"_s, 3}, {u"1"_s, 3}, {u"4"_s, 3}}));
    QCOMPARE(run.counter(), qint16(4));
}

// A counter of 16 bits counts up to 32767 questions; a larger questionnaire ends there.
void QuestionnaireRunTest::counterEndsAtItsLimit()
{
    QuestionnaireRun run;
    open(run, 40000, u"1"_s);
    while (run.counter() < std::numeric_limits<qint16>::max())
        QCOMPARE(run.next(), QuestionnaireRun::Step::NextQuestion);
    QCOMPARE(run.questionNumber(), u"32767"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::Ended);
    QCOMPARE(run.counter(), std::numeric_limits<qint16>::max());
}

// A further answer after the end adds again and ends again with a new total.
void QuestionnaireRunTest::endDoesNotLock()
{
    QuestionnaireRun run;
    open(run, 2, u"1"_s);
    int concluded = 0;
    connect(&run, &QuestionnaireRun::concluded, this, [&concluded] { ++concluded; });
    const std::array<QString, 3> bounds{u"2"_s, u"4"_s, u"7"_s};
    run.collect(0, u"2"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::NextQuestion);
    run.collect(1, u"1"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::Ended);
    QVERIFY(!run.hasTotal());
    QVERIFY(run.finish(bounds));
    QCOMPARE(run.total(), Fixed::fromInt(3));
    run.collect(0, u"2"_s);
    QCOMPARE(run.next(), QuestionnaireRun::Step::Ended);
    QVERIFY(run.finish(bounds));
    QCOMPARE(run.total(), Fixed::fromInt(5));
    // The same total again still chooses the conclusion again.
    QVERIFY(run.finish(bounds));
    QCOMPARE(concluded, 3);
}

void QuestionnaireRunTest::pointsCollection_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QList<int>>("answered");
    QTest::addColumn<QStringList>("points");
    QTest::addColumn<QStringList>("collected");
    QTest::addColumn<QString>("total");
    const QLocale c = QLocale::c();
    QTest::newRow("whole points")
        << c << QList<int>{0, 1, 0} << QStringList{u"2"_s, u"1"_s, u"3"_s}
        << QStringList{u"5"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s} << u"6"_s;
    QTest::newRow("fractions, point")
        << c << QList<int>{2, 2, 4} << QStringList{u"0.25"_s, u"0.25"_s, u"-1"_s}
        << QStringList{u"0"_s, u"0"_s, u"0.5"_s, u"0"_s, u"-1"_s} << u"-0.5"_s;
    QTest::newRow("fractions, comma")
        << QLocale(QLocale::Russian) << QList<int>{2, 2} << QStringList{u"0,25"_s, u"1,5"_s}
        << QStringList{u"0"_s, u"0"_s, u"1,75"_s, u"0"_s, u"0"_s} << u"1,75"_s;
    QTest::newRow("points that are no number count as 0")
        << c << QList<int>{0, 0, 1} << QStringList{u"много"_s, QString(), u"1e3"_s}
        << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s} << u"0"_s;
    QTest::newRow("largest slot and total")
        << c << QList<int>{0, 1} << QStringList{u"922337203685477.5806"_s, u"0.0001"_s}
        << QStringList{u"922337203685477.5806"_s, u"0.0001"_s, u"0"_s, u"0"_s, u"0"_s} << Largest;
    QTest::newRow("slot beyond the largest")
        << c << QList<int>{0, 0, 1} << QStringList{Largest, u"0.0001"_s, u"1"_s}
        << QStringList{QString(), u"1"_s, u"0"_s, u"0"_s, u"0"_s} << QString();
    QTest::newRow("slot below the smallest")
        << c << QList<int>{3, 3} << QStringList{Smallest, u"-0.0002"_s}
        << QStringList{u"0"_s, u"0"_s, u"0"_s, QString(), u"0"_s} << QString();
    // Once not a number, a slot stays so, even when the next points would bring it back.
    QTest::newRow("not a number stays")
        << c << QList<int>{0, 0, 0} << QStringList{Largest, u"1"_s, u"-5"_s}
        << QStringList{QString(), u"0"_s, u"0"_s, u"0"_s, u"0"_s} << QString();
    QTest::newRow("total beyond the largest")
        << c << QList<int>{0, 1} << QStringList{Largest, u"0.0001"_s}
        << QStringList{Largest, u"0.0001"_s, u"0"_s, u"0"_s, u"0"_s} << QString();
    QTest::newRow("slots of both signs near the limits")
        << c << QList<int>{0, 1} << QStringList{Largest, Smallest}
        << QStringList{Largest, Smallest, u"0"_s, u"0"_s, u"0"_s} << u"0"_s;
}

void QuestionnaireRunTest::pointsCollection()
{
    QFETCH(QLocale, locale);
    QFETCH(QList<int>, answered);
    QFETCH(QStringList, points);
    QFETCH(QStringList, collected);
    QFETCH(QString, total);
    QLocale::setDefault(locale);
    QuestionnaireRun run;
    QStringList mirrors(QuestionnaireRun::AnswerSlots, u"0"_s);
    connect(&run, &QuestionnaireRun::collectedChanged, this, [&mirrors](int slot, QuestionnaireRun::Points p) {
        mirrors[slot] = QuestionnaireRun::pointsText(p);
    });
    for (int i = 0; i < answered.size(); ++i)
        run.collect(answered[i], points[i]);
    QStringList texts;
    for (int slot = 0; slot < QuestionnaireRun::AnswerSlots; ++slot)
        texts << QuestionnaireRun::pointsText(run.collected(slot));
    QCOMPARE(texts, collected);
    QCOMPARE(mirrors, collected);

    QString totalMirror = u"none"_s;
    connect(&run, &QuestionnaireRun::totalChanged, this,
            [&totalMirror](QuestionnaireRun::Points p) { totalMirror = QuestionnaireRun::pointsText(p); });
    QCOMPARE(run.finish({u"0"_s, u"0"_s, u"0"_s}), !total.isEmpty());
    QCOMPARE(totalMirror, total);

    run.clearCollected();
    for (int slot = 0; slot < QuestionnaireRun::AnswerSlots; ++slot)
        QCOMPARE(run.collected(slot), Fixed());
}

void QuestionnaireRunTest::browse_data()
{
    QTest::addColumn<int>("count"); // -1: no questionnaire opened
    QTest::addColumn<QString>("number");
    QTest::addColumn<QuestionnaireEditor::Browse>("browse");
    QTest::addColumn<QString>("numberAfter");
    using Browse = QuestionnaireEditor::Browse;
    QTest::newRow("first of five") << 5 << u"1"_s << Browse::NextQuestion << u"2"_s;
    QTest::newRow("last of five") << 5 << u"5"_s << Browse::Ended << u"1"_s;
    QTest::newRow("typed beyond the count") << 5 << u"8"_s << Browse::Ended << u"1"_s;
    QTest::newRow("no count") << -1 << u"1"_s << Browse::Ended << u"1"_s;
}

void QuestionnaireRunTest::browse()
{
    QFETCH(int, count);
    QFETCH(QString, number);
    QFETCH(QuestionnaireEditor::Browse, browse);
    QFETCH(QString, numberAfter);
    QuestionnaireRun run;
    QuestionnaireEditor editor(run);
    if (count != -1)
        run.setQuestionCount(count);
    run.setQuestionNumber(number);
    const QuestionnaireEditor::Browse led = editor.browse();
    QCOMPARE(led, browse);
    if (led == QuestionnaireEditor::Browse::Ended) {
        // The number stays until the window has said so.
        QCOMPARE(run.questionNumber(), number);
        editor.backToFirstQuestion();
    }
    QCOMPARE(run.questionNumber(), numberAfter);
    QCOMPARE(editor.browseCounter(), qint16(led == QuestionnaireEditor::Browse::Ended ? 1 : 2));
    // Browsing never moves the run's own counter.
    QCOMPARE(run.counter(), qint16(1));
}

void QuestionnaireRunTest::followingNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("following");
    QTest::newRow("whole") << u"3"_s << u"4"_s;
    QTest::newRow("negative") << u"-1"_s << u"0"_s;
    QTest::newRow("half to even") << u"2.5"_s << u"3"_s;
    QTest::newRow("largest has none") << u"32767"_s << QString();
    QTest::newRow("beyond 16 bits") << u"40000"_s << QString();
    QTest::newRow("letters") << u"abc"_s << QString();
}

void QuestionnaireRunTest::followingNumber()
{
    QFETCH(QString, number);
    QFETCH(QString, following);
    QCOMPARE(QuestionnaireEditor::followingNumber(number), following);
}

QTEST_MAIN(QuestionnaireRunTest)
#include "tst_questionnaire_run.moc"
