#include "core/reports/result_sheet.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Attempt attempt(const QString &language)
{
    Attempt sheet;
    sheet.language = language;
    sheet.examTitle = u"История <древняя>"_s;
    sheet.ticket = u"3"_s;
    sheet.student.name = u"Иванов & сын"_s;
    sheet.student.data2 = u"10 класс"_s;
    sheet.questions = {{1, u"Когда?"_s, {u"Да"_s, u"Нет"_s}, u"Да"_s, u"Да"_s, u"5"_s, 12},
                       {2, u"Где?"_s, {u"Тут"_s, u"Там"_s}, QString(), u"Тут"_s, u"0"_s, std::nullopt}};
    sheet.grade = u"3,5"_s;
    sheet.verdict = Verdict::Failed;
    return sheet;
}

} // namespace

class ResultSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void sheetInTheLanguage_data();
    void sheetInTheLanguage();
};

void ResultSheetTest::sheetInTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("rus") << u"rus"_s
                         << QStringList{u"Студент:"_s, u"Данные:"_s, u"Экзамен:"_s, u"нет ответа"_s, u"Не зачет"_s};
    QTest::newRow("eng") << u"eng"_s
                         << QStringList{u"Student:"_s, u"Data:"_s, u"Exam:"_s, u"not answered"_s, u"Not deliver"_s};
    // A language the program has no texts for gets the English sheet.
    QTest::newRow("deu") << u"deu"_s << QStringList{u"Student:"_s, u"not answered"_s, u"Not deliver"_s};
}

void ResultSheetTest::sheetInTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, texts);
    const QString html = ResultSheet::html(u"Тест-Тавринг"_s, attempt(language), u"09.12.2026"_s, u"10:30:15"_s);
    for (const QString &text : texts)
        QVERIFY2(html.contains(text), qPrintable(text));
    // What the student and the teacher typed is shown as text, never as markup.
    QVERIFY(html.contains(u"История &lt;древняя&gt;"_s));
    QVERIFY(html.contains(u"Иванов &amp; сын"_s));
    QVERIFY(html.contains(u"09.12.2026"_s) && html.contains(u"10:30:15"_s));
    QVERIFY(html.contains(u"3,5"_s));
}

QTEST_MAIN(ResultSheetTest)
#include "tst_result_sheet.moc"
