#include "core/program/pass_score.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "gui/common/window_context.h"
#include "gui/settings/pass_score_panel.h"
#include "gui/settings/settings_window.h"
#include "gui/start/start_window.h"
#include "support/controls.h"
#include "support/program_folder.h"
#include "support/test_platform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Twenty marks: the given ones first, "0" in the rest.
QStringList marks(const QStringList &given)
{
    QStringList all = given;
    while (all.size() < PassScore::Boxes)
        all << u"0"_s;
    return all;
}

// Texts written with '.' as they would be typed in the locale.
QString local(QString text, const QLocale &locale)
{
    return text.replace(u'.', locale.decimalPoint());
}

bool isBlack(const QLineEdit *box)
{
    return box->palette().color(QPalette::Base) == QColor(Qt::black);
}

// The pass score panel on its own, in a window of its own, with the settings in a language.
struct Panel
{
    explicit Panel(const QString &language)
    {
        settings.setLanguage(language);
        panel = new PassScorePanel(context, &window);
    }

    QLineEdit *box(const char *name) { return control<QLineEdit>(&window, name); }
    QLineEdit *mark(int position) { return control<QLineEdit>(&window, "txt", position); }
    void type(const QStringList &marks)
    {
        for (int i = 0; i < marks.size(); ++i)
            mark(i)->setText(marks[i]);
    }

    TestPlatform platform;
    ProgramPaths paths;
    SettingsRecord settings;
    WindowContext context{platform, paths, settings};
    QWidget window;
    PassScorePanel *panel = nullptr;
};

} // namespace

class TestPassScore : public QObject
{
    Q_OBJECT

private:
    void startWith(ProgramFolder &folder, const QString &language, const QString &questions)
    {
        folder.writeSettings({u"bilet=3"_s, u"vopros="_s + questions, u"ball=4"_s, u"re="_s + language,
                              u"pass="_s});
        folder.start();
        window = folder.app().settingsWindow();
    }

    SettingsWindow *window = nullptr;

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void compute_data();
    void compute();
    void isReachable_data();
    void isReachable();
    void usedBoxes_data();
    void usedBoxes();

    void panelOffersOnlyAReachableScore_data();
    void panelOffersOnlyAReachableScore();
    void emptyBoxSaysNoValues_data();
    void emptyBoxSaysNoValues();
    void changedNumberOfQuestions();

    void openingColoursTheQuestionBoxes();
    void typedMarksBecomeThePassScore_data();
    void typedMarksBecomeThePassScore();
    void warningPanelOpensTheDialog();
    void passScoreWithTheOtherSeparatorIsSet();
};

void TestPassScore::compute_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("questions");
    QTest::addColumn<bool>("noValues");
    QTest::addColumn<QString>("score");

    struct Row
    {
        const char *name;
        QStringList given;
        QString questions;
        bool noValues;
        QString score;
    };
    const QList<Row> rows = {
        {"worked example", marks({u"5"_s, u"5"_s, u"5"_s, u"2"_s, u"2"_s}), u"5"_s, false, u"3.8"_s},
        {"three right of three minus one", marks({u"5"_s, u"5"_s, u"2"_s}), u"3"_s, false, u"4"_s},
        {"one right of three", marks({u"5"_s, u"2"_s, u"2"_s}), u"3"_s, false, u"3"_s},
        {"seven questions", marks({u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"5"_s, u"2"_s}), u"7"_s, false,
         u"4.5714"_s},
        {"a box beyond the questions counts",
         marks({u"5"_s, u"5"_s, u"5"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"5"_s}), u"3"_s, false,
         u"6.6667"_s},
        {"the last box counts", [] { QStringList all = marks({}); all.last() = u"4"_s; return all; }(), u"2"_s,
         false, u"2"_s},
        {"fractional marks", marks({u"2.5"_s, u"5"_s}), u"2"_s, false, u"3.75"_s},
        {"fractional divisor", marks({u"5"_s, u"5"_s}), u"2.5"_s, false, u"4"_s},
        {"half rounds down to even", marks({u"0.0001"_s}), u"2"_s, false, u"0"_s},
        {"half rounds up to even", marks({u"0.0003"_s}), u"2"_s, false, u"0.0002"_s},
        {"blanks around numbers", marks({u" 5 "_s, u"5"_s}), u" 2"_s, false, u"5"_s},
        {"empty box", [] { QStringList all = marks({u"5"_s}); all[4] = QString(); return all; }(), u"5"_s, true,
         u"0"_s},
        {"letters in a box", marks({u"5"_s, u"x"_s}), u"5"_s, true, u"0"_s},
        {"empty number of questions", marks({u"5"_s}), QString(), true, u"0"_s},
        {"letters as number of questions", marks({u"5"_s}), u"five"_s, true, u"0"_s},
        {"zero questions", marks({u"5"_s}), u"0"_s, false, u"0"_s},
        {"zero questions with a fraction", marks({u"5"_s}), u"0.0"_s, false, u"0"_s},
        {"huge marks do not overflow", marks(QStringList(20, u"900000000000000"_s)), u"20"_s, false,
         u"900000000000000"_s},
    };
    for (const char *localeName : {"ru_RU", "en_US"}) {
        const QLocale locale{QLatin1StringView(localeName)};
        for (const Row &row : rows) {
            QStringList given;
            for (const QString &mark : row.given)
                given << local(mark, locale);
            QTest::addRow("%s %s", localeName, row.name)
                << QString::fromLatin1(localeName) << given << local(row.questions, locale) << row.noValues
                << local(row.score, locale);
        }
    }
}

void TestPassScore::compute()
{
    QFETCH(QString, localeName);
    QFETCH(QStringList, given);
    QFETCH(QString, questions);
    QFETCH(bool, noValues);
    QFETCH(QString, score);

    const QLocale locale(localeName);
    const PassScore::Result result = PassScore::compute(given, questions, locale);
    QCOMPARE(result.noValues, noValues);
    QCOMPARE(result.score.toString(locale), score);
}

void TestPassScore::usedBoxes_data()
{
    QTest::addColumn<QString>("questions");
    QTest::addColumn<int>("used");

    QTest::newRow("three") << u"3"_s << 3;
    QTest::newRow("one") << u"1"_s << 1;
    QTest::newRow("twenty") << u"20"_s << 20;
    QTest::newRow("written with a fraction") << u"4.0"_s << 4;
    QTest::newRow("twenty one") << u"21"_s << -1;
    QTest::newRow("zero") << u"0"_s << -1;
    QTest::newRow("negative") << u"-3"_s << -1;
    QTest::newRow("fraction") << u"2.5"_s << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("letters") << u"abc"_s << -1;
}

void TestPassScore::usedBoxes()
{
    QFETCH(QString, questions);
    QFETCH(int, used);

    QCOMPARE(PassScore::usedBoxes(questions, QLocale::c()).value_or(-1), used);
}

void TestPassScore::isReachable_data()
{
    QTest::addColumn<QString>("score");
    QTest::addColumn<bool>("reachable");

    QTest::newRow("highest") << u"5"_s << true;
    QTest::newRow("smallest above 0") << u"0.0001"_s << true;
    QTest::newRow("usual") << u"3.8"_s << true;
    QTest::newRow("the other separator") << u"3,8"_s << true;
    QTest::newRow("just above the highest") << u"5.0001"_s << false;
    QTest::newRow("marks beyond the count") << u"9.5"_s << false;
    QTest::newRow("zero") << u"0"_s << false;
    QTest::newRow("negative") << u"-2"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("letters") << u"abc"_s << false;
}

void TestPassScore::isReachable()
{
    QFETCH(QString, score);
    QFETCH(bool, reachable);

    QCOMPARE(PassScore::isReachable(score, QLocale::c()), reachable);
}

void TestPassScore::openingColoursTheQuestionBoxes()
{
    ProgramFolder folder;
    startWith(folder, u"rus"_s, u"3"_s);

    click(window, "Label6");

    QVERIFY(shown(window, "Frame4"));
    QVERIFY(!shown(window, "Frame3"));
    QCOMPARE(control<QLineEdit>(window, "txtV")->text(), u"3"_s);
    QCOMPARE(control<QLineEdit>(window, "txtZ")->text(), u"0"_s);
    for (int i = 0; i < PassScore::Boxes; ++i) {
        QVERIFY2(isBlack(control<QLineEdit>(window, "txt", i)) == (i >= 3), qPrintable(control<QLineEdit>(window, "txt", i)->objectName()));
        QVERIFY(control<QLineEdit>(window, "txt", i)->isEnabled());
    }
    QVERIFY(folder.platform.messages.isEmpty());

    // "ОК" with a result of "0" keeps the pass score that was set, and says why.
    click(window, "Command1");
    QVERIFY(shown(window, "Frame3"));
    QVERIFY(!shown(window, "Frame4"));
    QCOMPARE(control<QLineEdit>(window, "Text5")->text(), u"4"_s);
    QCOMPARE(folder.app().settings().passScore(), u"4"_s);
    QCOMPARE(folder.platform.messageTexts(),
             QStringList{u"Проходной балл 0 недостижим: он должен быть больше 0 и не больше 5. "
                         u"Проходной балл не изменен."_s});
}

void TestPassScore::typedMarksBecomeThePassScore_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("score");

    QTest::newRow("comma") << u"ru_RU"_s << u"3,8"_s;
    QTest::newRow("point") << u"en_US"_s << u"3.8"_s;
}

void TestPassScore::typedMarksBecomeThePassScore()
{
    QFETCH(QString, localeName);
    QFETCH(QString, score);
    QLocale::setDefault(QLocale(localeName));

    ProgramFolder folder;
    startWith(folder, u"eng"_s, u"5"_s);
    click(window, "Label6");
    const QStringList pattern = {u"5"_s, u"5"_s, u"5"_s, u"2"_s, u"2"_s};
    for (int i = 0; i < pattern.size(); ++i)
        control<QLineEdit>(window, "txt", i)->setText(pattern[i]);
    QCOMPARE(control<QLineEdit>(window, "txtZ")->text(), score);

    click(window, "Command1");
    QCOMPARE(control<QLineEdit>(window, "Text5")->text(), score);
    QVERIFY(folder.platform.messages.isEmpty());

    // The marks stay for the next opening during the run.
    click(window, "Label6");
    QCOMPARE(control<QLineEdit>(window, "txt", 3)->text(), u"2"_s);
}

void TestPassScore::panelOffersOnlyAReachableScore_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("questions");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("said");

    const QStringList pattern{u"5"_s, u"5"_s, u"5"_s, u"2"_s, u"2"_s};
    QTest::newRow("reachable") << u"rus"_s << pattern << u"5"_s << u"3.8"_s << QStringList{};
    // Marks left in the boxes beyond a number of questions that dropped still count, so the
    // result can lie above any grade.
    QTest::newRow("above 5, rus") << u"rus"_s << pattern << u"2"_s << QString()
                                  << QStringList{u"Проходной балл 9.5 недостижим: он должен быть больше 0 и не больше 5. "
                                                 u"Проходной балл не изменен."_s};
    QTest::newRow("above 5, eng") << u"eng"_s << pattern << u"2"_s << QString()
                                  << QStringList{u"The pass score 9.5 cannot be reached: it must be above 0 and at most 5. "
                                                 u"The pass score is not changed."_s};
    QTest::newRow("above 5, another language") << u"deu"_s << pattern << u"2"_s << QString() << QStringList{};
    QTest::newRow("zero") << u"rus"_s << QStringList{} << u"3"_s << QString()
                          << QStringList{u"Проходной балл 0 недостижим: он должен быть больше 0 и не больше 5. "
                                         u"Проходной балл не изменен."_s};
}

// "ОК" always leaves the panel; only a score a ticket can reach is offered as the pass score.
void TestPassScore::panelOffersOnlyAReachableScore()
{
    QFETCH(QString, language);
    QFETCH(QStringList, typed);
    QFETCH(QString, questions);
    QFETCH(QString, chosen);
    QFETCH(QStringList, said);

    Panel panel(language);
    QSignalSpy left(panel.panel, &PassScorePanel::left);
    QSignalSpy offered(panel.panel, &PassScorePanel::passScoreChosen);
    panel.panel->open(u"5"_s);
    QVERIFY(panel.panel->isVisibleTo(&panel.window));
    panel.type(typed);
    panel.box("txtV")->setText(questions);
    QVERIFY(panel.platform.messages.isEmpty());

    click(&panel.window, "Command1");
    QCOMPARE(left.size(), 1);
    QVERIFY(!panel.panel->isVisibleTo(&panel.window));
    QCOMPARE(offered.size(), chosen.isEmpty() ? 0 : 1);
    if (!chosen.isEmpty())
        QCOMPARE(offered.first().first().toString(), chosen);
    QCOMPARE(panel.platform.messageTexts(), said);
    for (const auto &message : std::as_const(panel.platform.messages)) {
        QCOMPARE(message.title, u"Тест-Тавринг"_s);
        QCOMPARE(message.icon, MessageIcon::Warning);
    }
}

void TestPassScore::emptyBoxSaysNoValues_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("said");

    QTest::newRow("rus") << u"rus"_s << QStringList{u"Нет значений"_s};
    QTest::newRow("eng") << u"eng"_s << QStringList{u"No values"_s};
    QTest::newRow("another language") << u"deu"_s << QStringList{};
}

void TestPassScore::emptyBoxSaysNoValues()
{
    QFETCH(QString, language);
    QFETCH(QStringList, said);

    Panel panel(language);
    QSignalSpy offered(panel.panel, &PassScorePanel::passScoreChosen);
    panel.panel->open(u"5"_s);
    panel.type({u"5"_s, u"5"_s});
    QCOMPARE(panel.box("txtZ")->text(), u"2"_s);

    panel.mark(7)->clear();
    QCOMPARE(panel.platform.messageTexts(), said);
    for (const auto &message : std::as_const(panel.platform.messages))
        QCOMPARE(message.title, QString());
    QCOMPARE(panel.box("txtZ")->text(), u"0"_s);

    click(&panel.window, "Command1");
    QVERIFY(offered.isEmpty());
}

void TestPassScore::changedNumberOfQuestions()
{
    QLocale::setDefault(QLocale(u"ru_RU"_s));
    Panel panel(u"rus"_s);
    panel.panel->open(u"3"_s);
    panel.type({u"5"_s, u"5"_s, u"2"_s});
    QCOMPARE(panel.box("txtZ")->text(), u"4"_s);

    panel.box("txtV")->setText(u"0"_s);
    QCOMPARE(panel.box("txtZ")->text(), u"4"_s);
    QVERIFY(!isBlack(panel.mark(2)));
    QVERIFY(isBlack(panel.mark(3)));

    // A mark changed while the number of questions is 0: a result of 0 and no message.
    panel.mark(2)->setText(u"5"_s);
    QCOMPARE(panel.box("txtZ")->text(), u"0"_s);
    QVERIFY(panel.platform.messages.isEmpty());

    panel.box("txtV")->setText(u"6"_s);
    QCOMPARE(panel.box("txtZ")->text(), u"2,5"_s);
    for (int i = 0; i < PassScore::Boxes; ++i)
        QCOMPARE(isBlack(panel.mark(i)), i >= 6);

    // A number of questions that is not a number is no value: message, 0, colours kept.
    panel.box("txtV")->setText(u"x"_s);
    QCOMPARE(panel.platform.messageTexts(), QStringList{u"Нет значений"_s});
    QCOMPARE(panel.box("txtZ")->text(), u"0"_s);
    QVERIFY(!isBlack(panel.mark(5)));
}

void TestPassScore::warningPanelOpensTheDialog()
{
    ProgramFolder folder;
    folder.writeSettings({u"vopros=2"_s, u"ball=0"_s, u"re=rus"_s});
    folder.start();
    window = folder.app().settingsWindow();
    folder.app().showSettings();

    click(window, "Command6");
    QVERIFY(shown(window, "Frame12"));
    click(window, "Command7");
    QVERIFY(!shown(window, "Frame12"));
    QVERIFY(shown(window, "Frame4"));
    QCOMPARE(control<QLineEdit>(window, "txtV")->text(), u"2"_s);

    control<QLineEdit>(window, "txt", 0)->setText(u"5"_s);
    control<QLineEdit>(window, "txt", 1)->setText(u"2"_s);
    click(window, "Command1");
    QCOMPARE(control<QLineEdit>(window, "Text5")->text(), QLocale().toString(3.5));
    QVERIFY(shown(window, "Frame3"));
}

// A pass score saved in a point locale is still a pass score in a comma locale, as it is for
// the ticket's verdict: closing the settings does not ask for one.
void TestPassScore::passScoreWithTheOtherSeparatorIsSet()
{
    QLocale::setDefault(QLocale(u"ru_RU"_s));
    ProgramFolder folder;
    folder.writeSettings({u"vopros=5"_s, u"ball=4.5"_s, u"re=rus"_s});
    Application &app = folder.start();
    window = app.settingsWindow();
    app.showSettings();

    click(window, "Command6");
    QVERIFY(!shown(window, "Frame12"));
    QVERIFY(!window->isVisible());
    QVERIFY(app.startWindow()->isVisible());
}

QTEST_MAIN(TestPassScore)
#include "tst_pass_score.moc"
