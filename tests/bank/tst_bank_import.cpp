#include "core/bank/bank_import.h"
#include "core/bank/bank_text.h"
#include "core/files/ansi_text.h"
#include "gui/editor/question_bitmap.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(BankRefusal)

namespace {

BankImport::Options options(const QString &language = u"rus"_s)
{
    BankImport::Options read;
    read.language = LanguagePolicy(language);
    read.readPicture = questionBitmapOf;
    return read;
}

QByteArray png(int width = 6, int height = 4)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString pngBase64()
{
    return QString::fromLatin1(png().toBase64());
}

QString moodle(const QString &questions)
{
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"_s + questions + u"\n</quiz>\n"_s;
}

QString multichoice(const QString &text, const QString &answers, const QString &format = u"html"_s,
                    const QString &single = u"true"_s, const QString &files = QString())
{
    return u"<question type=\"multichoice\">\n<name><text>Q</text></name>\n<questiontext format=\""_s + format
           + u"\"><text>"_s + text + u"</text>"_s + files + u"</questiontext>\n<single>"_s + single
           + u"</single>\n"_s + answers + u"</question>"_s;
}

QString answer(int fraction, const QString &text, const QString &format = u"html"_s)
{
    return u"<answer fraction=\""_s + QString::number(fraction) + u"\" format=\""_s + format + u"\"><text>"_s + text
           + u"</text><feedback format=\"html\"><text>Ф</text></feedback></answer>\n"_s;
}

} // namespace

class BankImportTest : public QObject
{
    Q_OBJECT

private slots:
    void readsQuestion_data();
    void readsQuestion();
    void readsSeveralWithCategories_data();
    void readsSeveralWithCategories();
    void refusesFile_data();
    void refusesFile();
    void readsHugeBank();
    void htmlBecomesPlainText_data();
    void htmlBecomesPlainText();
};

void BankImportTest::readsQuestion_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("right");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<BankRefusal>("refusal");

    const QString rus = u"rus"_s;
    const auto none = BankRefusal::None;

    // Aiken.
    QTest::newRow("aiken") << u"Столица Франции?\nA) Лион\nB) Париж\nC) Ницца\nANSWER: B\n"_s << rus
                           << u"Столица Франции?"_s << QStringList{u"Лион"_s, u"Париж"_s, u"Ницца"_s} << 1 << false
                           << none;
    QTest::newRow("aiken dots, two lines") << u"Сколько будет\n2 + 2?\nA. 3\nB. 4\nANSWER: b"_s << rus
                                           << u"Сколько будет\n2 + 2?"_s << QStringList{u"3"_s, u"4"_s} << 1
                                           << false << none;
    QTest::newRow("aiken answer no option") << u"Q?\nA) x\nB) y\nANSWER: D\n"_s << rus << u"Q?"_s
                                            << QStringList{u"x"_s, u"y"_s} << -1 << false
                                            << BankRefusal::NoRightAnswer;
    QTest::newRow("aiken no answer line") << u"Q?\nA) x\nB) y\n"_s << rus << u"Q?"_s
                                          << QStringList{u"x"_s, u"y"_s} << -1 << false << BankRefusal::NoRightAnswer;
    QTest::newRow("aiken several letters") << u"Q?\nA) x\nB) y\nANSWER: A, B\n"_s << rus << u"Q?"_s
                                           << QStringList{u"x"_s, u"y"_s} << -1 << false
                                           << BankRefusal::NotSingleChoice;
    QTest::newRow("aiken answer over a line") << u"Q?\nA) x\nmore of x\nB) y\nANSWER: B\n"_s << rus << u"Q?"_s
                                              << QStringList{u"x\nmore of x"_s, u"y"_s} << 1 << false
                                              << BankRefusal::AnswerOverLine;
    QTest::newRow("aiken same answers") << u"Q?\nA) да\nB) да\nANSWER: A\n"_s << rus << u"Q?"_s
                                        << QStringList{u"да"_s, u"да"_s} << 0 << false
                                        << BankRefusal::SameAnswerText;
    QTest::newRow("aiken not windows-1251") << u"Сумма ∑?\nA) 1\nB) 2\nANSWER: A\n"_s << rus << u"Сумма ∑?"_s
                                            << QStringList{u"1"_s, u"2"_s} << 0 << false
                                            << BankRefusal::NotWindows1251;
    QTest::newRow("aiken question without options") << u"Q?\nANSWER: A\n"_s << rus << u"Q?\nANSWER: A"_s
                                                    << QStringList{} << -1 << false << BankRefusal::Damaged;

    // GIFT.
    QTest::newRow("gift") << u"// комментарий\n::Столица::Столица Франции? {\n=Париж\n~Лион # нет\n~Ницца\n}\n"_s
                          << rus << u"Столица Франции?"_s << QStringList{u"Париж"_s, u"Лион"_s, u"Ницца"_s} << 0
                          << false << none;
    QTest::newRow("gift one line") << u"Q? {~x =y ~z}"_s << rus << u"Q?"_s
                                   << QStringList{u"x"_s, u"y"_s, u"z"_s} << 1 << false << none;
    QTest::newRow("gift escapes") << u"a\\=b \\{c\\} d\\: e\\~f \\#g \\\\h? {=1\\=1 ~x\\{y\\} ~p\\#q #отзыв}"_s << rus
                                  << u"a=b {c} d: e~f #g \\h?"_s
                                  << QStringList{u"1=1"_s, u"x{y}"_s, u"p#q"_s} << 0 << false << none;
    QTest::newRow("gift line break escape") << u"Первая\\nвторая {=a ~b}"_s << rus << u"Первая\nвторая"_s
                                            << QStringList{u"a"_s, u"b"_s} << 0 << false << none;
    QTest::newRow("gift full weight") << u"Q {~%100%x ~%0%y ~z}"_s << rus << u"Q"_s
                                      << QStringList{u"x"_s, u"y"_s, u"z"_s} << 0 << false << none;
    QTest::newRow("gift negative weight") << u"Q {=x ~%-50%y}"_s << rus << u"Q"_s << QStringList{u"x"_s, u"y"_s}
                                          << 0 << false << none;
    QTest::newRow("gift weights on several") << u"Q {~%50%x ~%50%y ~z}"_s << rus << u"Q"_s
                                             << QStringList{u"x"_s, u"y"_s, u"z"_s} << -1 << false
                                             << BankRefusal::NotSingleChoice;
    QTest::newRow("gift partial only") << u"Q {~%50%x ~y}"_s << rus << u"Q"_s << QStringList{u"x"_s, u"y"_s} << -1
                                       << false << BankRefusal::NoRightAnswer;
    QTest::newRow("gift no right") << u"Q {~x ~y}"_s << rus << u"Q"_s << QStringList{u"x"_s, u"y"_s} << -1 << false
                                   << BankRefusal::NoRightAnswer;
    QTest::newRow("gift T") << u"Земля круглая {T}"_s << rus << u"Земля круглая"_s
                            << QStringList{u"Верно"_s, u"Неверно"_s} << 0 << false << none;
    QTest::newRow("gift FALSE with feedback") << u"Луна квадратная {FALSE#нет}"_s << rus << u"Луна квадратная"_s
                                              << QStringList{u"Верно"_s, u"Неверно"_s} << 1 << false << none;
    QTest::newRow("gift true in English") << u"The Earth is round {TRUE}"_s << u"eng"_s << u"The Earth is round"_s
                                          << QStringList{u"True"_s, u"False"_s} << 0 << false << none;
    QTest::newRow("gift short answer") << u"Q {=x =y}"_s << rus << u"Q"_s << QStringList{u"x"_s, u"y"_s} << -1
                                       << false << BankRefusal::NotSingleChoice;
    QTest::newRow("gift numeric") << u"Q {#3:0.5}"_s << rus << u"Q"_s << QStringList{} << -1 << false
                                  << BankRefusal::NotSingleChoice;
    QTest::newRow("gift matching") << u"Q {=a -> 1 =b -> 2 =c -> 3}"_s << rus << u"Q"_s << QStringList{} << -1
                                   << false << BankRefusal::NotSingleChoice;
    QTest::newRow("gift essay") << u"Q {}"_s << rus << u"Q"_s << QStringList{} << -1 << false
                                << BankRefusal::NotSingleChoice;
    QTest::newRow("gift description") << u"Только текст"_s << rus << u"Только текст"_s << QStringList{} << -1
                                      << false << BankRefusal::NotSingleChoice;
    QTest::newRow("gift unclosed brace") << u"Q {=x ~y"_s << rus << u"Q {=x ~y"_s << QStringList{} << -1 << false
                                         << BankRefusal::Damaged;
    QTest::newRow("gift missing word") << u"Москва {=столица ~деревня} России."_s << rus
                                       << u"Москва _____ России."_s << QStringList{u"столица"_s, u"деревня"_s} << 0
                                       << false << none;
    QTest::newRow("gift answer over lines") << u"Q {=first\nsecond ~y}"_s << rus << u"Q"_s
                                            << QStringList{u"first\nsecond"_s, u"y"_s} << 0 << false
                                            << BankRefusal::AnswerOverLine;
    QTest::newRow("gift html") << u"[html]<p>Строка&nbsp;одна<br>Две &amp; три</p> {=<b>a</b> ~b&lt;c ~d<br>e}"_s
                               << rus << u"Строка одна\nДве & три"_s << QStringList{u"a"_s, u"b<c"_s, u"d e"_s} << 0
                               << false << none;
    QTest::newRow("gift plain keeps tags") << u"[plain]<b>x</b> {=<i> ~y}"_s << rus << u"<b>x</b>"_s
                                           << QStringList{u"<i>"_s, u"y"_s} << 0 << false << none;
    QTest::newRow("gift markdown") << u"[markdown]**x** {=a ~b}"_s << rus << u"**x**"_s
                                   << QStringList{u"a"_s, u"b"_s} << 0 << false << none;
    QTest::newRow("gift moodle marker") << u"[moodle]x\ny {=a ~b}"_s << rus << u"x\ny"_s
                                        << QStringList{u"a"_s, u"b"_s} << 0 << false << none;
    QTest::newRow("gift picture") << u"[html]Что это?<img src=\"data\\:image/png;base64,"_s + pngBase64()
                                         + u"\"> {=a ~b}"_s
                                  << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << true << none;
    QTest::newRow("gift broken picture") << u"[html]Что это?<img src=\"data\\:image/png;base64,AAAA\"> {=a ~b}"_s
                                         << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << false
                                         << BankRefusal::UnreadablePicture;
    QTest::newRow("gift picture elsewhere") << u"[html]Что это?<img src=\"@@PLUGINFILE@@/a.png\"> {=a ~b}"_s
                                            << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << false
                                            << BankRefusal::UnreadablePicture;

    // Moodle XML.
    QTest::newRow("moodle") << moodle(multichoice(u"<![CDATA[<p>Столица <b>Франции</b>?</p>]]>"_s,
                                                  answer(0, u"Лион"_s) + answer(100, u"<![CDATA[<p>Париж</p>]]>"_s)
                                                      + answer(0, u"Ницца"_s)))
                            << rus << u"Столица Франции?"_s << QStringList{u"Лион"_s, u"Париж"_s, u"Ницца"_s} << 1
                            << false << none;
    QTest::newRow("moodle escaped html") << moodle(multichoice(u"&lt;p&gt;A &amp;amp; B&lt;br/&gt;C&lt;/p&gt;"_s,
                                                               answer(100, u"x &amp;lt; y"_s) + answer(0, u"z"_s)))
                                         << rus << u"A & B\nC"_s << QStringList{u"x < y"_s, u"z"_s} << 0 << false
                                         << none;
    QTest::newRow("moodle answer breaks are blanks")
        << moodle(multichoice(u"Q"_s, answer(100, u"<![CDATA[<p>a</p><p>b<br>c</p>]]>"_s) + answer(0, u"d"_s)))
        << rus << u"Q"_s << QStringList{u"a b c"_s, u"d"_s} << 0 << false << none;
    QTest::newRow("moodle plain answer of two lines")
        << moodle(multichoice(u"Q"_s, answer(100, u"a\nb"_s, u"plain_text"_s) + answer(0, u"d"_s), u"plain_text"_s))
        << rus << u"Q"_s << QStringList{u"a\nb"_s, u"d"_s} << 0 << false << BankRefusal::AnswerOverLine;
    QTest::newRow("moodle negative fractions") << moodle(multichoice(u"Q"_s, answer(-50, u"a"_s) + answer(100, u"b"_s)))
                                               << rus << u"Q"_s << QStringList{u"a"_s, u"b"_s} << 1 << false << none;
    QTest::newRow("moodle several right") << moodle(multichoice(u"Q"_s, answer(100, u"a"_s) + answer(100, u"b"_s)))
                                          << rus << u"Q"_s << QStringList{u"a"_s, u"b"_s} << -1 << false
                                          << BankRefusal::NotSingleChoice;
    QTest::newRow("moodle multiple answers") << moodle(multichoice(u"Q"_s, answer(100, u"a"_s) + answer(0, u"b"_s),
                                                                   u"html"_s, u"false"_s))
                                             << rus << u"Q"_s << QStringList{u"a"_s, u"b"_s} << -1 << false
                                             << BankRefusal::NotSingleChoice;
    QTest::newRow("moodle no right") << moodle(multichoice(u"Q"_s, answer(0, u"a"_s) + answer(0, u"b"_s))) << rus
                                     << u"Q"_s << QStringList{u"a"_s, u"b"_s} << -1 << false
                                     << BankRefusal::NoRightAnswer;
    QTest::newRow("moodle same answers") << moodle(multichoice(u"Q"_s, answer(100, u"<![CDATA[<b>a</b>]]>"_s) + answer(0, u"a"_s)))
                                         << rus << u"Q"_s << QStringList{u"a"_s, u"a"_s} << 0 << false
                                         << BankRefusal::SameAnswerText;
    QTest::newRow("moodle true false")
        << moodle(u"<question type=\"truefalse\"><name><text>T</text></name><questiontext format=\"moodle_auto_format\">"
                  u"<text>Вода мокрая</text></questiontext><answer fraction=\"0\"><text>true</text></answer>"
                  u"<answer fraction=\"100\"><text>false</text></answer></question>"_s)
        << rus << u"Вода мокрая"_s << QStringList{u"Верно"_s, u"Неверно"_s} << 1 << false << none;
    QTest::newRow("moodle short answer") << moodle(u"<question type=\"shortanswer\"><questiontext format=\"html\">"
                                                   u"<text>Q</text></questiontext><answer fraction=\"100\"><text>a"
                                                   u"</text></answer></question>"_s)
                                         << rus << u"Q"_s << QStringList{} << -1 << false
                                         << BankRefusal::NotSingleChoice;
    QTest::newRow("moodle picture")
        << moodle(multichoice(u"<![CDATA[<p>Что это?</p><img src=\"@@PLUGINFILE@@/my%20pic.png\">]]>"_s,
                              answer(100, u"a"_s) + answer(0, u"b"_s), u"html"_s, u"true"_s,
                              u"<file name=\"my pic.png\" path=\"/\" encoding=\"base64\">"_s + pngBase64()
                                  + u"</file>"_s))
        << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << true << none;
    QTest::newRow("moodle picture missing")
        << moodle(multichoice(u"<![CDATA[Что это?<img src=\"@@PLUGINFILE@@/x.png\">]]>"_s,
                              answer(100, u"a"_s) + answer(0, u"b"_s)))
        << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << false << BankRefusal::UnreadablePicture;
    QTest::newRow("moodle picture not a picture")
        << moodle(multichoice(u"<![CDATA[Что это?<img src=\"@@PLUGINFILE@@/x.png\">]]>"_s,
                              answer(100, u"a"_s) + answer(0, u"b"_s), u"html"_s, u"true"_s,
                              u"<file name=\"x.png\" path=\"/\" encoding=\"base64\">"_s
                                  + QString::fromLatin1(QByteArray("plain words").toBase64()) + u"</file>"_s))
        << rus << u"Что это?"_s << QStringList{u"a"_s, u"b"_s} << 0 << false << BankRefusal::UnreadablePicture;
}

// Every question is read alike with LF and CR LF line ends, as UTF-8 with and without a byte
// order mark, and (where it fits) as Windows-1251.
void BankImportTest::readsQuestion()
{
    QFETCH(QString, bank);
    QFETCH(QString, language);
    QFETCH(QString, text);
    QFETCH(QStringList, answers);
    QFETCH(int, right);
    QFETCH(bool, picture);
    QFETCH(BankRefusal, refusal);

    QList<std::pair<const char *, QByteArray>> forms;
    for (const QString &lines : {bank, QString(bank).replace(u"\n"_s, u"\r\n"_s)}) {
        forms.append({"utf-8", lines.toUtf8()});
        forms.append({"bom", "\xEF\xBB\xBF" + lines.toUtf8()});
        if (AnsiText::decode(AnsiText::encode(lines)) == lines && lines.toUtf8() != AnsiText::encode(lines))
            forms.append({"windows-1251", AnsiText::encode(lines)});
    }
    // A lone record that shows no format by itself is read in the format of its file's name.
    const QByteArray tag = QTest::currentDataTag();
    const BankFormat named = tag.startsWith("aiken") ? BankFormat::Aiken
                             : tag.startsWith("gift") ? BankFormat::Gift
                                                      : BankFormat::MoodleXml;
    for (const auto &[form, bytes] : std::as_const(forms)) {
        const BankImport::Result result = BankImport::readBytes(bytes, options(language), named);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        QCOMPARE(result.questions.size(), 1);
        const BankQuestion &question = result.questions.first();
        QCOMPARE(question.refusal, refusal);
        QCOMPARE(question.text, text);
        if (refusal != BankRefusal::NotSingleChoice && refusal != BankRefusal::Damaged)
            QCOMPARE(question.answers, answers);
        QCOMPARE(question.right, right);
        QCOMPARE(!question.picture.isEmpty(), picture);
        if (picture) {
            // The picture is kept as the ticket keeps it: a Windows bitmap.
            QVERIFY(question.picture.startsWith("BM"));
            QCOMPARE(QImage::fromData(question.picture).size(), QSize(6, 4));
        }
        Q_UNUSED(form);
    }
}

void BankImportTest::readsSeveralWithCategories_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<int>("format");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("categories");

    QTest::newRow("aiken") << u"Q1\nA) a\nB) b\nANSWER: A\n\n\nQ2\nA) c\nB) d\nANSWER: B\nQ3\nA) e\nB) f\nANSWER: A"_s
                           << int(BankFormat::Aiken) << QStringList{u"Q1"_s, u"Q2"_s, u"Q3"_s}
                           << QStringList{QString(), QString(), QString()};
    QTest::newRow("gift") << u"$CATEGORY: $course$/top/Физика\n\nQ1 {=a ~b}\n\n// c\n$CATEGORY: Химия/Органика\n"
                             u"Q2 {=a ~b}\n\nQ3 {T}\n"_s
                          << int(BankFormat::Gift) << QStringList{u"Q1"_s, u"Q2"_s, u"Q3"_s}
                          << QStringList{u"Физика"_s, u"Химия/Органика"_s, u"Химия/Органика"_s};
    QTest::newRow("moodle") << moodle(u"<question type=\"category\"><category><text>$course$/top/Физика/Механика"
                                      u"</text></category></question>"_s
                                      + multichoice(u"Q1"_s, answer(100, u"a"_s) + answer(0, u"b"_s))
                                      + u"<question type=\"category\"><category><text>$cat1$/top/Химия</text>"
                                        u"</category></question>"_s
                                      + multichoice(u"Q2"_s, answer(100, u"a"_s) + answer(0, u"b"_s)))
                            << int(BankFormat::MoodleXml) << QStringList{u"Q1"_s, u"Q2"_s}
                            << QStringList{u"Физика/Механика"_s, u"Химия"_s};
}

void BankImportTest::readsSeveralWithCategories()
{
    QFETCH(QString, bank);
    QFETCH(int, format);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, categories);

    const BankImport::Result result = BankImport::readBytes(bank.toUtf8(), options());
    QCOMPARE(int(result.format), format);
    QStringList foundTexts;
    QStringList foundCategories;
    for (const BankQuestion &question : result.questions) {
        QVERIFY(question.isTaken());
        foundTexts << question.text;
        foundCategories << question.category;
    }
    QCOMPARE(foundTexts, texts);
    QCOMPARE(foundCategories, categories);
}

void BankImportTest::refusesFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("picture") << png() << u"это не текстовый файл"_s;
    QTest::newRow("web page") << QByteArray("<html><body><p>Hello</p></body></html>")
                              << u"в файле нет вопросов в формате Moodle XML, GIFT или Aiken"_s;
    QTest::newRow("letter") << QByteArray("Dear colleagues,\nsee you tomorrow.\n")
                            << u"в файле нет вопросов в формате Moodle XML, GIFT или Aiken"_s;
    QTest::newRow("empty") << QByteArray() << u"в файле нет вопросов в формате Moodle XML, GIFT или Aiken"_s;
    QTest::newRow("truncated xml") << moodle(multichoice(u"Q"_s, answer(100, u"a"_s) + answer(0, u"b"_s)))
                                          .toUtf8()
                                          .chopped(30)
                                   << u"файл XML поврежден"_s;
    QTest::newRow("nested too deep") << "<quiz><question type=\"multichoice\">" + QByteArray("<a>").repeated(40)
                                            + QByteArray("</a>").repeated(40) + "</question></quiz>"
                                     << u"файл XML поврежден"_s;
    QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?><quiz-not><a/></quiz-not>")
                               << u"это не банк вопросов Moodle XML"_s;
    QTest::newRow("quiz without questions") << QByteArray("<quiz></quiz>") << u"в файле не найдено ни одного вопроса"_s;
}

// A file that holds no bank gives no question and says why; none of it crashes.
void BankImportTest::refusesFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    const BankImport::Result result = BankImport::readBytes(bytes, options());
    QVERIFY(result.questions.isEmpty());
    QVERIFY2(result.error.startsWith(reason), qPrintable(result.error));
}

// Ten thousand questions in a file of about 50 MB are read whole, with the progress said
// along the way; an unreadable file says why.
void BankImportTest::readsHugeBank()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bank.gift"_s);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray filler = QByteArray(5000, 'x');
        for (int i = 0; i < 10000; ++i)
            file.write("::" + QByteArray::number(i) + ":: Вопрос " + QByteArray::number(i) + " " + filler
                       + " {=да ~нет ~может быть}\n\n");
    }
    QVERIFY(QFileInfo(path).size() > 50'000'000);
    QList<int> progress;
    BankImport::Options read = options();
    read.progress = [&progress](int percent) { progress << percent; };
    const BankImport::Result result = BankImport::readFile(path, read);
    QCOMPARE(result.questions.size(), 10000);
    QVERIFY(result.questions.last().isTaken());
    QVERIFY(progress.size() > 50);
    QCOMPARE(progress.last(), 100);

    const BankImport::Result missing = BankImport::readFile(dir.filePath(u"none.xml"_s), options());
    QVERIFY(missing.questions.isEmpty());
    QVERIFY2(missing.error.contains(u"none.xml"_s), qPrintable(missing.error));
}

void BankImportTest::htmlBecomesPlainText_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<bool>("breaks");
    QTest::addColumn<QString>("plain");

    QTest::newRow("paragraphs") << u"<p>one</p>\n<p>two</p>"_s << true << u"one\ntwo"_s;
    QTest::newRow("paragraphs in an answer") << u"<p>one</p><p>two</p>"_s << false << u"one two"_s;
    QTest::newRow("entities") << u"&laquo;a&raquo; &#8212; &#x41;&lt;&gt;&quot;&amp;amp;"_s << true
                              << u"«a» — A<>\"&amp;"_s;
    QTest::newRow("unknown entity") << u"a &zzz; b & c"_s << true << u"a &zzz; b & c"_s;
    QTest::newRow("script dropped") << u"a<script>alert(1)</script>b<style>p{}</style>c"_s << true << u"abc"_s;
    QTest::newRow("not a tag") << u"1 < 2 and 3 > 2"_s << true << u"1 < 2 and 3 > 2"_s;
    QTest::newRow("blanks collapse") << u"a \n\t b<br><br><br>c"_s << true << u"a b\n\nc"_s;
    QTest::newRow("kept blanks") << u"a&nbsp;&nbsp;b"_s << true << u"a  b"_s;
}

void BankImportTest::htmlBecomesPlainText()
{
    QFETCH(QString, html);
    QFETCH(bool, breaks);
    QFETCH(QString, plain);
    QCOMPARE(BankText::toPlain(html, BankText::Markup::Html, breaks), plain);
    // Text made HTML for an export reads back the same.
    QCOMPARE(BankText::toPlain(BankText::toHtml(plain), BankText::Markup::Html, breaks), plain);
}

QTEST_MAIN(BankImportTest)
#include "tst_bank_import.moc"
