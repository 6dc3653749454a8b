#include "core/files/ansi_text.h"
#include "core/questionnaire/questionnaire_file.h"
#include "support/files.h"
#include "support/program_folder.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytes(const QString &text)
{
    return AnsiText::encode(text);
}

} // namespace

class QuestionnaireFileTest : public QObject
{
    Q_OBJECT

private slots:
    void writtenTextEndsWithOneLineBreak_data();
    void writtenTextEndsWithOneLineBreak();
    void readingTheGoldenTest();
    void longAnswerReadsAs255Characters();
};

void QuestionnaireFileTest::writtenTextEndsWithOneLineBreak_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("new text") << u"1. Вопрос"_s << bytes(u"1. Вопрос\r\n"_s);
    QTest::newRow("two lines") << u"Да\nнет"_s << bytes(u"Да\r\nнет\r\n"_s);
    QTest::newRow("loaded text") << u"Вопрос\n"_s << bytes(u"Вопрос\r\n"_s);
    QTest::newRow("blank line kept") << u"Вопрос\n\n"_s << bytes(u"Вопрос\r\n\r\n"_s);
}

void QuestionnaireFileTest::writtenTextEndsWithOneLineBreak()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, file);
    ProgramFolder folder;
    const QString path = folder.path(u"t/x.txt"_s);
    QVERIFY(QuestionnaireFile::writeText(path, text));
    QCOMPARE(folder.readBytes(u"t/x.txt"_s), file);
    // Read back and written again, the file stays as it is.
    QVERIFY(QuestionnaireFile::writeText(path, QuestionnaireFile::readText(path)));
    QCOMPARE(folder.readBytes(u"t/x.txt"_s), file);
}

void QuestionnaireFileTest::readingTheGoldenTest()
{
    ProgramFolder folder;
    copyFolder(goldenPath(u"testmode/quiz"_s), folder.path(u"t/quiz"_s));
    const QString questionnaireFolder = QuestionnaireFile::questionnaireFolder(folder.path(), u"quiz"_s);
    const QString file = QuestionnaireFile::filePath(folder.path(), u"quiz"_s);
    QCOMPARE(questionnaireFolder, folder.path(u"t/quiz"_s));
    QCOMPARE(QuestionnaireFile::questionCount(questionnaireFolder), 3);
    const QuestionnaireFile::Header header = QuestionnaireFile::readHeader(file);
    QCOMPARE(header.name, u"quiz"_s);
    QCOMPARE(header.bounds, (std::array<QString, 3>{u"2"_s, u"4"_s, u"7"_s}));
    const QuestionnaireFile::Answers answers = QuestionnaireFile::readAnswers(file, u"2"_s);
    QCOMPARE(answers.texts[1], u"От трёх до десяти"_s);
    QCOMPARE(answers.texts[4], QString());
    QCOMPARE(answers.points[0], u"2"_s);
    QCOMPARE(QuestionnaireFile::readText(questionnaireFolder + u"/vt3.txt"_s), u"3. Где вы читаете чаще всего?\nВыберите одно.\n"_s);
    // The conclusions are crossed: conclusion 2 lives in v3.txt.
    QCOMPARE(QuestionnaireFile::readText(questionnaireFolder + u'/' + QuestionnaireFile::conclusionFileName(2)),
             u"Вы читаете от случая к случаю.\n"_s);
    QCOMPARE(QuestionnaireFile::conclusionFileName(3), u"v2.txt"_s);
    // A name that is not one folder level leads nowhere.
    QVERIFY(QuestionnaireFile::questionnaireFolder(folder.path(), u".."_s).isEmpty());
    QVERIFY(QuestionnaireFile::filePath(folder.path(), u"a/b"_s).isEmpty());
}

void QuestionnaireFileTest::longAnswerReadsAs255Characters()
{
    ProgramFolder folder;
    const QString file = folder.path(u"t/long/long.tst"_s);
    QVERIFY(QuestionnaireFile::create(folder.path(), u"long"_s));
    QuestionnaireFile::Answers answers;
    answers.texts[0] = QString(300, u'ж');
    answers.texts[1] = u"две\nстроки"_s;
    answers.texts[2] = u"после"_s;
    QVERIFY(QuestionnaireFile::writeAnswers(file, u"1"_s, answers));
    const QuestionnaireFile::Answers read = QuestionnaireFile::readAnswers(file, u"1"_s);
    QCOMPARE(read.texts[0], QString(255, u'ж'));
    // A line break cannot live in the file: it is stored as a space.
    QCOMPARE(read.texts[1], u"две строки"_s);
    QCOMPARE(read.texts[2], u"после"_s);
    // Points never written read as nothing.
    QCOMPARE(QuestionnaireFile::readAnswers(file, u"2"_s).points[0], QString());
}

QTEST_GUILESS_MAIN(QuestionnaireFileTest)
#include "tst_questionnaire_file.moc"
