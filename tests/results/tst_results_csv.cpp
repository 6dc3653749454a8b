#include "core/files/ansi_text.h"
#include "core/files/file_error.h"
#include "core/reports/results_export.h"
#include "core/reports/results_filter.h"
#include "core/reports/results_models.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Results whose cells are awkward for a CSV file: names a spreadsheet would take for formulas,
// separators, quotes, line breaks and blanks at either end, surrogate pairs and a lone
// surrogate, dates and times that could not be read (with and without their text), a year
// outside four digits, tickets that are no "b" number, marks unreadable or missing, and a
// record of another language without counts.
QList<TicketResult> awkwardTickets()
{
    const QStringList students{u"=1+1"_s, u"+7 900"_s, u"-Петров"_s, u"@home"_s, u"\tTab"_s, u"Smith, John"_s,
                               u"Иван; Петрович"_s, u"say \"hi\""_s, u"two\nlines"_s, u" leading"_s, u"trailing "_s,
                               QString(), u"😀 Смайлов"_s, QString(QChar(0xD800)) + u"lone"_s, u"=😀\""_s, u"№ 7"_s,
                               u"Ёлкин"_s, u"'quoted'"_s};
    const QList<QDate> dates{QDate(2026, 12, 8), QDate(), QDate(999, 1, 2), QDate(2026, 1, 31)};
    const QStringList dateTexts{u"08.12.2026"_s, u"вчера"_s, QString(), u"31.01.2026"_s};
    QList<TicketResult> results;
    for (int i = 0; i < 54; ++i) {
        TicketResult result;
        result.line = 1 + 12 * i;
        result.language = i % 7 == 6 ? QString() : (i % 3 ? u"rus"_s : u"eng"_s);
        result.date = dates[i % dates.size()];
        result.dateText = i % 4 == 1 && i % 8 == 5 ? QString() : dateTexts[i % dateTexts.size()];
        result.time = i % 5 == 4 ? QTime() : QTime(i % 24, (7 * i) % 60, (13 * i) % 60);
        result.timeText = i % 10 == 4 ? u"25:99"_s : QString();
        result.student = students[i % students.size()];
        result.ticketNumber = i % 6 == 5 ? 0 : 1 + i % 30;
        result.ticket = result.ticketNumber ? u"b"_s + QString::number(result.ticketNumber) : u"x,\"y\""_s;
        for (int n = 0; n < TicketResult::Questions; ++n) {
            const int kind = (i + 3 * n) % 7;
            result.marks[n] = n >= 10 || kind == 0 ? TicketResult::NoMark
                              : kind == 1           ? TicketResult::Unreadable
                              : kind % 2            ? TicketResult::Right
                                                    : TicketResult::Wrong;
        }
        result.questionCount = 10;
        result.verdict = i % 4 == 3 ? u"=SUM(A1)"_s : (i % 2 ? u"Зачет"_s : u"Не зачет"_s);
        result.data = i % 3 ? u"10А; \"физмат\""_s : QString();
        results << result;
    }
    return results;
}

// Runs with totals and points that are numbers, fractions, texts or missing, conclusions over
// several lines, and runs of different lengths, so later columns are empty for the short ones.
QList<QuestionnaireRunResult> awkwardRuns()
{
    const QStringList numbers{u"4"_s, u"4.5"_s, u"-2"_s, QString(), u"abc"_s, u"12345678"_s, u"0.25"_s};
    QList<QuestionnaireRunResult> runs;
    for (int i = 0; i < 21; ++i) {
        QuestionnaireRunResult run;
        run.line = 1 + 9 * i;
        run.name = i % 3 ? u"Тест, \"первый\""_s : u"=Test"_s;
        run.date = i % 4 == 1 ? QDate() : QDate(2026, 12, 1 + i);
        run.dateText = i % 4 == 1 ? u"позавчера"_s : QString();
        run.time = i % 5 == 2 ? QTime() : QTime(9, i, 0);
        for (int n = 0; n < i % 4; ++n)
            run.answers << QuestionnaireAnswer{u"Вопрос"_s, n % 2 ? u"Да;\nнет"_s : u" да"_s,
                                               numbers[(i + n) % numbers.size()]};
        run.total = numbers[i % numbers.size()];
        run.conclusion = i % 2 ? u"Средне\nи выше"_s : u"+1"_s;
        runs << run;
    }
    return runs;
}

} // namespace

class ResultsCsvTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void shownTableIsWrittenAsItsValues_data();
    void shownTableIsWrittenAsItsValues();
    void writesNumbersAsTheLocale_data();
    void writesNumbersAsTheLocale();
    void writesTextsOfEveryKind_data();
    void writesTextsOfEveryKind();
    void largeTableIsWrittenAsMadeAndWhole();
};

void ResultsCsvTest::shownTableIsWrittenAsItsValues_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("namePart");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<int>("order");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (const auto &[name, locale] : {std::pair{"rus", russian}, std::pair{"eng", english}}) {
        const auto row = [&](const char *what) -> QTestData & { return QTest::addRow("%s, %s", name, what); };
        row("every row in the report's order") << locale << u"rus"_s << QString() << -1 << int(Qt::AscendingOrder);
        row("English headers, sorted by student down")
            << locale << u"eng"_s << QString() << int(TicketResultsModel::Student) << int(Qt::DescendingOrder);
        row("filtered, sorted by date") << locale << u"rus"_s << u"и"_s << int(TicketResultsModel::Date)
                                        << int(Qt::AscendingOrder);
        row("filtered, sorted by a mark") << locale << u"eng"_s << u"e"_s << int(TicketResultsModel::FirstMark + 1)
                                          << int(Qt::DescendingOrder);
        row("nothing shown") << locale << u"rus"_s << u"nobody"_s << -1 << int(Qt::AscendingOrder);
    }
}

// The table shown goes to the file with the values of its cells, whether read through the
// model's Qt::EditRole into a table or straight from the results.
void ResultsCsvTest::shownTableIsWrittenAsItsValues()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, language);
    QFETCH(QString, namePart);
    QFETCH(int, sortColumn);
    QFETCH(int, order);
    ResultsFilter filter;
    filter.namePart = namePart;

    TicketResultsModel tickets;
    tickets.setResults(awkwardTickets());
    tickets.setLanguage(language);
    ResultsFilterModel shownTickets;
    shownTickets.setSourceModel(&tickets);
    shownTickets.setFilter(filter);
    shownTickets.sort(sortColumn, Qt::SortOrder(order));
    const QByteArray ticketsCsv = ResultsExport::csv(shownTickets, locale);
    QCOMPARE(ticketsCsv, ResultsExport::csv({ResultsTable::of(shownTickets)}, locale));
    QCOMPARE(ticketsCsv.count("\r\n"), shownTickets.rowCount() + 1);

    QuestionnaireRunsModel runs;
    runs.setRuns(awkwardRuns());
    runs.setLanguage(language);
    ResultsFilterModel shownRuns;
    shownRuns.setSourceModel(&runs);
    shownRuns.setFilter(filter);
    shownRuns.sort(sortColumn < 0 ? -1 : QuestionnaireRunsModel::Total, Qt::SortOrder(order));
    QCOMPARE(ResultsExport::csv(shownRuns, locale), ResultsExport::csv({ResultsTable::of(shownRuns)}, locale));
}

void ResultsCsvTest::writesNumbersAsTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    const QList<QLocale> locales{QLocale::c(),
                                 QLocale(QLocale::English, QLocale::UnitedStates),
                                 QLocale(QLocale::Russian, QLocale::Russia),
                                 QLocale(QLocale::German, QLocale::Switzerland),
                                 QLocale(QLocale::Swedish, QLocale::Sweden),
                                 QLocale(QLocale::Arabic, QLocale::Egypt)};
    for (const QLocale &locale : locales)
        QTest::newRow(qPrintable(locale.name())) << locale;
}

// A number is written as the locale writes it with 15 digits, without group separators: whole
// numbers of every size and sign, fractions, the exponent form and what is no number at all.
void ResultsCsvTest::writesNumbersAsTheLocale()
{
    QFETCH(QLocale, locale);
    const QList<double> numbers{0.0, -0.0, 5.0, -2.0, 2.5, -0.125, 1.0 / 3, 100000.0, 12345678.0, 999999999999999.0,
                                1e15, 1e16, 1e-7, std::nan(""), std::numeric_limits<double>::infinity()};
    const QString separator = ResultsExport::listSeparator(locale);
    QVariantList row;
    QStringList expected;
    for (const double number : numbers) {
        row << number;
        QString text = locale.toString(number, 'g', 15).remove(locale.groupSeparator());
        if (text.contains(separator))
            text = u'"' + text + u'"';
        expected << text;
    }
    const ResultsTable table{QString(), {u"n"_s}, {row}};
    QCOMPARE(ResultsExport::csv({table}, locale),
             QByteArray("\xEF\xBB\xBF") + (u"n\r\n"_s + expected.join(separator) + u"\r\n"_s).toUtf8());
}

void ResultsCsvTest::writesTextsOfEveryKind_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << u"Smith"_s << QByteArray("Smith");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("separator") << u"a,b"_s << QByteArray("\"a,b\"");
    QTest::newRow("other locale's separator") << u"a;b"_s << QByteArray("a;b");
    QTest::newRow("quotes") << u"say \"hi\""_s << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line feed") << u"a\nb"_s << QByteArray("\"a\nb\"");
    QTest::newRow("carriage return") << u"a\rb"_s << QByteArray("\"a\rb\"");
    QTest::newRow("blank first") << u" a"_s << QByteArray("\" a\"");
    QTest::newRow("only a blank") << u" "_s << QByteArray("\" \"");
    QTest::newRow("formula") << u"=1+1"_s << QByteArray("'=1+1");
    QTest::newRow("formula with a blank first after it") << u"= 1"_s << QByteArray("'= 1");
    QTest::newRow("formula with a blank last") << u"=1 "_s << QByteArray("\"'=1 \"");
    QTest::newRow("formula with a separator") << u"+1,2"_s << QByteArray("\"'+1,2\"");
    QTest::newRow("minus") << u"-"_s << QByteArray("'-");
    QTest::newRow("at") << u"@x"_s << QByteArray("'@x");
    QTest::newRow("tab first") << u"\tx"_s << QByteArray("'\tx");
    QTest::newRow("carriage return first") << u"\rx"_s << QByteArray("\"'\rx\"");
    QTest::newRow("two-byte letters") << u"Ёж"_s << QByteArray("\xD0\x81\xD0\xB6");
    QTest::newRow("formula with a pair") << u"=😀"_s << QByteArray("'=\xF0\x9F\x98\x80");
    QTest::newRow("formula, pair and separator") << u"-😀,"_s << QByteArray("\"'-\xF0\x9F\x98\x80,\"");
    QTest::newRow("lone low surrogate last") << u"a"_s + QChar(0xDC00) << (u"a"_s + QChar(0xDC00)).toUtf8();
    QTest::newRow("highest character") << QString(QChar(0xFFFF)) << QByteArray("\xEF\xBF\xBF");
}

// Texts as the cells of a table, as headers and as a table's title over several tables.
void ResultsCsvTest::writesTextsOfEveryKind()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, field);
    const ResultsTable table{text, {text, u"B"_s}, {{text, 1}, {QVariant(), text}}};
    const QByteArray bom("\xEF\xBB\xBF");
    QCOMPARE(ResultsExport::csv({table}, QLocale::c()),
             bom + field + ",B\r\n" + field + ",1\r\n," + field + "\r\n");
    QCOMPARE(ResultsExport::csv({table, table}, QLocale::c()),
             bom + field + "\r\n" + field + ",B\r\n" + field + ",1\r\n," + field + "\r\n\r\n" + field + "\r\n" + field
                 + ",B\r\n" + field + ",1\r\n," + field + "\r\n\r\n");
}


// A large table goes to its file piece by piece as it is made, never held whole: the file holds
// exactly the bytes of the table made at once, and a disk that fills part way leaves the file
// as it was, with nothing of the new one beside it.
void ResultsCsvTest::largeTableIsWrittenAsMadeAndWhole()
{
    QList<TicketResult> many;
    for (int copy = 0; copy < 200; ++copy)
        many << awkwardTickets();
    TicketResultsModel tickets;
    tickets.setResults(many);
    tickets.setLanguage(u"rus"_s);
    ResultsFilterModel shownTickets;
    shownTickets.setSourceModel(&tickets);
    shownTickets.sort(TicketResultsModel::Student, Qt::DescendingOrder);
    const QByteArray whole = ResultsExport::csv(shownTickets);
    // Several pieces, and a last one that is not full.
    QVERIFY(whole.size() > 4 * 256 * 1024);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.csv"_s);
    QVERIFY(AnsiText::writeBytes(path, "old"));
    QVERIFY(ResultsExport::writeCsv(path, shownTickets));
    QCOMPARE(AnsiText::readBytes(path).value_or(QByteArray()), whole);

    QuestionnaireRunsModel runs;
    runs.setRuns(awkwardRuns());
    ResultsFilterModel shownRuns;
    shownRuns.setSourceModel(&runs);
    const QString runsPath = dir.filePath(u"runs.csv"_s);
    QVERIFY(ResultsExport::writeCsv(runsPath, shownRuns));
    QCOMPARE(AnsiText::readBytes(runsPath).value_or(QByteArray()), ResultsExport::csv(shownRuns));

    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    for (const qint64 failAfter : {qint64(0), qint64(100), qint64(whole.size() / 2), qint64(whole.size() - 1)}) {
        AnsiText::Faults::failWriteAfter(failAfter);
        FileError error;
        shownTickets.sort(TicketResultsModel::Student, Qt::AscendingOrder);
        QVERIFY(!ResultsExport::writeCsv(path, shownTickets, &error));
        QCOMPARE(error.kind(), FileError::Kind::NoSpace);
        QCOMPARE(AnsiText::readBytes(path).value_or(QByteArray()), whole);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
        shownTickets.sort(TicketResultsModel::Student, Qt::DescendingOrder);
    }
}

QTEST_GUILESS_MAIN(ResultsCsvTest)
#include "tst_results_csv.moc"
