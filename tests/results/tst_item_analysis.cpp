#include "core/reports/item_analysis.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double None = std::numeric_limits<double>::quiet_NaN();

// Attempts of ticket b1 of one exam, one per text of marks: "5" right ("Да"), "2" wrong
// ("Нет"), "0" unanswered; "Не знаю" is offered too. A passed verdict and the grade 4 go with
// every attempt that has no wrong answer.
void makeAttempts(const QStringList &sittings, QList<TicketResult> &results, QList<Attempt> &attempts)
{
    for (const QString &marks : sittings) {
        Attempt attempt;
        attempt.examTitle = u"Физика"_s;
        attempt.ticketFolder = u"b1"_s;
        for (int i = 0; i < marks.size(); ++i) {
            const QString mark = marks.mid(i, 1);
            attempt.questions << Attempt::Question{i + 1, u"Вопрос %1"_s.arg(i + 1),
                                                   {u"Да"_s, u"Нет"_s, u"Не знаю"_s},
                                                   mark == u"5"_s ? u"Да"_s : mark == u"2"_s ? u"Нет"_s : QString(),
                                                   u"Да"_s, mark, std::nullopt};
        }
        const bool passed = !marks.contains(u'2');
        attempt.grade = passed ? u"4"_s : u"2,5"_s;
        TicketResult result;
        result.language = u"rus"_s;
        result.ticket = u"b1"_s;
        result.ticketNumber = 1;
        result.exam = attempt.examTitle;
        result.verdictKind = passed ? RecordedVerdict::Passed : RecordedVerdict::Failed;
        result.attempt = int(attempts.size());
        results << result;
        attempts << attempt;
    }
}

void compareFigure(const std::optional<double> &actual, double expected)
{
    if (std::isnan(expected)) {
        QVERIFY2(!actual, qPrintable(QString::number(actual.value_or(0))));
        return;
    }
    QVERIFY(actual);
    QVERIFY2(std::abs(*actual - expected) < 1e-9, qPrintable(QString::number(*actual, 'g', 12)));
}

} // namespace

class ItemAnalysisTest : public QObject
{
    Q_OBJECT

private slots:
    void handComputed_data();
    void handComputed();
    void distractorsAndRecordsOfTheReport();
};

void ItemAnalysisTest::handComputed_data()
{
    QTest::addColumn<QStringList>("sittings");
    QTest::addColumn<QList<double>>("facility");
    QTest::addColumn<QList<double>>("itemRest");
    QTest::addColumn<QList<double>>("upperLower");
    QTest::addColumn<double>("kr20");
    QTest::addColumn<int>("reliability");
    QTest::addColumn<QList<int>>("flags");

    const int unchosen = ItemAnalysis::UnchosenDistractor;
    // Totals 3, 2, 1, 0, 3: the upper group (27 % of 5 is one attempt) is the first 3, the
    // lower one the 0. Item-rest: question 1 has marks 1 1 1 0 1 against rests 2 1 0 0 2,
    // covariance 0.2 over the root of 0.16 × 0.8. KR-20: 3/2 × (1 − 0.64 / 1.36).
    QTest::newRow("spread") << QStringList{u"555"_s, u"552"_s, u"522"_s, u"220"_s, u"555"_s}
                            << QList<double>{0.8, 0.6, 0.4}
                            << QList<double>{0.2 / std::sqrt(0.16 * 0.8), 0.7637626158259733, 0.6123724356957944}
                            << QList<double>{1.0, 1.0, 1.0} << 1.5 * (1.0 - 0.64 / 1.36)
                            << int(ItemAnalysis::Reliability::Computed) << QList<int>{unchosen, unchosen, unchosen};
    // Nothing varies: no correlation, no reliability; what is flagged is the facility.
    QTest::newRow("everyone alike") << QStringList(5, u"552"_s) << QList<double>{1.0, 1.0, 0.0}
                                    << QList<double>{None, None, None} << QList<double>{0.0, 0.0, 0.0} << None
                                    << int(ItemAnalysis::Reliability::NoSpread)
                                    << QList<int>{ItemAnalysis::TooEasy | unchosen, ItemAnalysis::TooEasy | unchosen,
                                                  ItemAnalysis::TooHard | unchosen};
    QTest::newRow("a single attempt") << QStringList{u"52"_s} << QList<double>{1.0, 0.0} << QList<double>{None, None}
                                      << QList<double>{None, None} << None
                                      << int(ItemAnalysis::Reliability::TooFewAttempts) << QList<int>{0, 0};
    // The weaker students get question 3 right: its discrimination is negative. Two attempts
    // make each group (27 % of 6); the totals 2 2 1 1 3 0 vary by 5.5 / 6, each question by 0.25.
    QTest::newRow("negative") << QStringList{u"552"_s, u"552"_s, u"225"_s, u"225"_s, u"555"_s, u"222"_s}
                              << QList<double>{0.5, 0.5, 0.5}
                              << QList<double>{0.5773502691896257, 0.5773502691896257, -1.0 / 3.0}
                              << QList<double>{1.0, 1.0, 0.0} << 1.5 * (1.0 - 0.75 / (5.5 / 6.0))
                              << int(ItemAnalysis::Reliability::Computed)
                              << QList<int>{unchosen, unchosen, ItemAnalysis::NegativeDiscrimination | unchosen};
}

void ItemAnalysisTest::handComputed()
{
    QFETCH(QStringList, sittings);
    QFETCH(QList<double>, facility);
    QFETCH(QList<double>, itemRest);
    QFETCH(QList<double>, upperLower);
    QFETCH(double, kr20);
    QFETCH(int, reliability);
    QFETCH(QList<int>, flags);

    QList<TicketResult> results;
    QList<Attempt> attempts;
    makeAttempts(sittings, results, attempts);
    const ItemAnalysis analysis = ItemAnalysis::of(results, attempts);
    QCOMPARE(analysis.tickets.size(), 1);
    QCOMPARE(analysis.questions.size(), facility.size());
    for (int i = 0; i < facility.size(); ++i) {
        const ItemAnalysis::Question &question = analysis.questions[i];
        QCOMPARE(question.number, i + 1);
        QCOMPARE(question.attempts, sittings.size());
        QCOMPARE(question.facility, facility[i]);
        compareFigure(question.itemRest, itemRest[i]);
        compareFigure(question.upperLower, upperLower[i]);
        QCOMPARE(question.flags, flags[i]);
    }
    const ItemAnalysis::Ticket &ticket = analysis.tickets.first();
    QCOMPARE(ticket.attempts, sittings.size());
    compareFigure(ticket.kr20, kr20);
    QCOMPARE(int(ticket.reliability), reliability);
}

void ItemAnalysisTest::distractorsAndRecordsOfTheReport()
{
    QList<TicketResult> results;
    QList<Attempt> attempts;
    makeAttempts({u"52"_s, u"50"_s, u"25"_s}, results, attempts);
    // A record of the report alone counts with its marks, without answers or grade.
    TicketResult record = results.first();
    record.attempt = -1;
    record.questionCount = 2;
    record.marks[0] = TicketResult::Right;
    record.marks[1] = TicketResult::Right;
    record.verdictKind = RecordedVerdict::Passed;
    results << record;
    // Another exam's ticket b1 is a ticket of its own.
    makeAttempts({u"5"_s}, results, attempts);
    attempts.last().examTitle = u"История"_s;
    results.last().exam = u"История"_s;

    const ItemAnalysis analysis = ItemAnalysis::of(results, attempts);
    QCOMPARE(analysis.tickets.size(), 2);
    const ItemAnalysis::Ticket &physics = analysis.tickets[1];
    QCOMPARE(physics.exam, u"Физика"_s);
    QCOMPARE(physics.attempts, 4);
    compareFigure(physics.meanGrade, 3.0);
    QCOMPARE(physics.passRate, 0.25 * 2);

    const ItemAnalysis::Question &second = analysis.questions[2];
    QCOMPARE(second.exam, u"Физика"_s);
    QCOMPARE(second.number, 2);
    QCOMPARE(second.text, u"Вопрос 2"_s);
    QCOMPARE(second.right, 2);
    QCOMPARE(second.unanswered, 1);
    QCOMPARE(second.unansweredShare(), 0.25);
    QCOMPARE(second.options.size(), 3);
    QCOMPARE(second.options[0].answer, u"Да"_s);
    QVERIFY(second.options[0].right);
    QCOMPARE(second.options[0].chosen, 1);
    QCOMPARE(second.options[1].chosen, 1);
    QVERIFY(!second.options[1].right);
    QCOMPARE(second.options[2].chosen, 0);
    QCOMPARE(ItemAnalysis::flagsText(ItemAnalysis::TooEasy | ItemAnalysis::UnchosenDistractor, u"eng"_s),
             u"too easy, a wrong answer nobody chooses"_s);
}

QTEST_GUILESS_MAIN(ItemAnalysisTest)
#include "tst_item_analysis.moc"
