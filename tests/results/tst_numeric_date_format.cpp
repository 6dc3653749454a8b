#include "core/reports/numeric_date_format.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The direct reading of numeric date and time forms must decide exactly as QLocale does: the
// texts each form writes are read to the same date, and a text the direct reading decides on
// is never one QLocale reads otherwise.
class NumericDateFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void datesAsQLocaleReadsThem_data();
    void datesAsQLocaleReadsThem();
    void timesAsQLocaleReadsThem_data();
    void timesAsQLocaleReadsThem();
    void formsWithOtherFields_data();
    void formsWithOtherFields();
};

namespace {

// What the report reader takes for the date of a text in a form: QLocale's reading, where the
// form writes the text back.
QDate qtDate(const QLocale &locale, const QString &format, const QString &text)
{
    const QDate date = locale.toDate(text, format);
    return date.isValid() && locale.toString(date, format) == text ? date : QDate();
}

const QStringList OddDates = {
    u"05.12.2026"_s, u"5.12.2026"_s, u"05.12.26"_s, u"12/5/2026"_s, u"12/05/2026"_s, u"2026-12-05"_s,
    u"31.02.2026"_s, u"29.02.2024"_s, u"29.02.00"_s, u"29.02.2000"_s, u"01.01.0999"_s, u"1.1.999"_s,
    u"005.12.2026"_s, u"05.12.20266"_s, u"05.12.2026 "_s, u" 05.12.2026"_s, u"05..12.2026"_s, u"0.12.2026"_s,
    u"-0001-01-01"_s, u"05-12-2026"_s, u"5 Dec 2026"_s, u""_s, u"."_s, u"05.12."_s, u"13/13/2026"_s,
};

const QStringList OddTimes = {
    u"10:30:15"_s, u"9:05:07"_s, u"09:05:07"_s, u"24:00:00"_s, u"23:59:59"_s, u"10:60:00"_s, u"10:30"_s,
    u"10:30:15 AM"_s, u"10.30.15"_s, u"100:30:15"_s, u"10:3:15"_s, u"0:00:00"_s, u"00:00"_s, u""_s, u"1:2"_s,
};

} // namespace

void NumericDateFormatTest::datesAsQLocaleReadsThem_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("format");
    for (const QString &format : {u"dd.MM.yyyy"_s, u"d.M.yyyy"_s, u"dd.MM.yy"_s, u"d.M.yy"_s, u"M/d/yyyy"_s,
                                  u"M/d/yy"_s, u"dd/MM/yyyy"_s, u"yyyy-MM-dd"_s, u"dd-MM-yyyy"_s, u"yyyy/MM/dd"_s})
        QTest::newRow(qPrintable(format)) << QLocale::c() << format;
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("Russian short") << russian << russian.dateFormat(QLocale::ShortFormat);
}

void NumericDateFormatTest::datesAsQLocaleReadsThem()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, format);
    const std::optional<NumericDateFormat> numeric = NumericDateFormat::of(locale, format);
    QVERIFY(numeric);
    QStringList texts = OddDates;
    for (QDate date(1998, 12, 25); date <= QDate(2001, 3, 5); date = date.addDays(1))
        texts << locale.toString(date, format);
    for (QDate date(2024, 1, 1); date <= QDate(2026, 12, 31); date = date.addDays(3))
        texts << locale.toString(date, format);
    int decided = 0;
    for (const QString &text : std::as_const(texts)) {
        const std::optional<QDate> read = numeric->date(text);
        if (!read)
            continue;
        ++decided;
        QCOMPARE(*read, qtDate(locale, format, text));
    }
    // The texts the form writes are read directly, or the direct reading would be no gain.
    QVERIFY2(decided >= texts.size() - OddDates.size(), qPrintable(QString::number(decided)));
}

void NumericDateFormatTest::timesAsQLocaleReadsThem_data()
{
    QTest::addColumn<QString>("format");
    for (const QString &format : {u"HH:mm:ss"_s, u"H:mm:ss"_s, u"H:mm"_s, u"HH:mm"_s, u"H.mm.ss"_s, u"H.mm"_s})
        QTest::newRow(qPrintable(format)) << format;
}

void NumericDateFormatTest::timesAsQLocaleReadsThem()
{
    QFETCH(QString, format);
    const QLocale locale = QLocale::c();
    const std::optional<NumericDateFormat> numeric = NumericDateFormat::of(locale, format);
    QVERIFY(numeric);
    QStringList texts = OddTimes;
    for (int second = 0; second < 24 * 3600; second += 97)
        texts << locale.toString(QTime(0, 0).addSecs(second), format);
    int decided = 0;
    for (const QString &text : std::as_const(texts)) {
        const std::optional<QTime> read = numeric->time(text);
        if (!read)
            continue;
        ++decided;
        QCOMPARE(*read, locale.toTime(text, format));
    }
    QVERIFY2(decided >= texts.size() - OddTimes.size(), qPrintable(QString::number(decided)));
}

void NumericDateFormatTest::formsWithOtherFields_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("month name") << u"d MMM yyyy"_s;
    QTest::newRow("AM and PM") << u"h:mm:ss AP"_s;
    QTest::newRow("12-hour hour") << u"h:mm"_s;
    QTest::newRow("quoted text") << u"dd.MM.yyyy 'г.'"_s;
    QTest::newRow("three-digit year") << u"dd.MM.yyy"_s;
    QTest::newRow("day twice") << u"dd.dd.yyyy"_s;
    QTest::newRow("no year") << u"dd.MM"_s;
    QTest::newRow("date and time") << u"dd.MM.yyyy HH:mm"_s;
    QTest::newRow("milliseconds") << u"HH:mm:ss.zzz"_s;
}

void NumericDateFormatTest::formsWithOtherFields()
{
    QFETCH(QString, format);
    QVERIFY(!NumericDateFormat::of(QLocale::c(), format));
}

QTEST_GUILESS_MAIN(NumericDateFormatTest)
#include "tst_numeric_date_format.moc"
