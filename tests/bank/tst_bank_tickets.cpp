#include "core/bank/bank_export.h"
#include "core/bank/bank_import.h"
#include "core/bank/bank_tickets.h"
#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "gui/editor/question_bitmap.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

BankQuestions bank(int count, const QStringList &categories = {})
{
    BankQuestions questions;
    for (int i = 0; i < count; ++i) {
        BankQuestion question;
        question.text = u"Вопрос %1"_s.arg(i);
        question.answers = {u"да %1"_s.arg(i), u"нет"_s};
        question.right = 0;
        if (!categories.isEmpty())
            question.category = categories.at(i % categories.size());
        questions << question;
    }
    return questions;
}

// Every file of a folder with its bytes, by path inside the folder.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        found.insert(QDir(folder).relativeFilePath(path), AnsiText::readBytes(path).value_or(QByteArray()));
    }
    return found;
}

} // namespace

class BankTicketsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { AnsiText::Faults::clear(); }

    void spreadsQuestions_data();
    void spreadsQuestions();
    void refusesPlan_data();
    void refusesPlan();
    void writesExamAsTheEditorDoes();
    void failedWriteLeavesExamAsItWas_data();
    void failedWriteLeavesExamAsItWas();
    void roundTrip_data();
    void roundTrip();
};

void BankTicketsTest::spreadsQuestions_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<int>("tickets");
    QTest::addColumn<int>("perTicket");
    QTest::addColumn<bool>("random");
    QTest::addColumn<bool>("equalCategories");

    const QStringList none;
    const QStringList three = {u"А"_s, u"Б"_s, u"В"_s};
    QTest::newRow("120 into 12 of 10, in order") << 120 << none << 12 << 10 << false << false;
    QTest::newRow("120 into 12 of 10, drawn") << 120 << none << 12 << 10 << true << false;
    QTest::newRow("fewer questions than places, in order") << 7 << none << 5 << 3 << false << false;
    QTest::newRow("fewer questions than places, drawn") << 7 << none << 5 << 3 << true << false;
    QTest::newRow("as many as a ticket, drawn") << 4 << none << 6 << 4 << true << false;
    QTest::newRow("categories, in order") << 30 << three << 8 << 6 << false << true;
    QTest::newRow("categories, drawn") << 30 << three << 8 << 6 << true << true;
    QTest::newRow("categories with a rest, drawn") << 31 << three << 9 << 5 << true << true;
    QTest::newRow("one of twenty") << 50 << none << 40 << 20 << true << false;
}

// No question twice in a ticket; every question used as often as every other give or take one
// (within its category when shares are equal); with equal shares, each ticket takes from each
// category its share; in order, the bank's order is kept.
void BankTicketsTest::spreadsQuestions()
{
    QFETCH(int, questions);
    QFETCH(QStringList, categories);
    QFETCH(int, tickets);
    QFETCH(int, perTicket);
    QFETCH(bool, random);
    QFETCH(bool, equalCategories);

    const BankQuestions taken = bank(questions, categories);
    BankTickets::Plan plan;
    plan.tickets = tickets;
    plan.questionsPerTicket = perTicket;
    plan.random = random;
    plan.equalCategories = equalCategories;
    plan.seed = 42;
    QVERIFY(BankTickets::problem(taken, plan, LanguagePolicy(u"rus"_s)).isEmpty());
    const BankTickets::Layout layout = BankTickets::distribute(taken, plan);
    QCOMPARE(layout.size(), tickets);
    QMap<QString, QList<int>> uses;
    QList<int> count(questions, 0);
    for (const QList<int> &ticket : layout) {
        QCOMPARE(ticket.size(), perTicket);
        QCOMPARE(QSet<int>(ticket.cbegin(), ticket.cend()).size(), perTicket);
        QMap<QString, int> perCategory;
        for (const int question : ticket) {
            ++count[question];
            ++perCategory[taken.at(question).category];
        }
        if (equalCategories) {
            for (const QString &category : std::as_const(categories))
                QVERIFY(qAbs(perCategory.value(category) - perTicket / int(categories.size())) <= 1);
        }
        if (!random)
            QVERIFY(std::is_sorted(ticket.cbegin(), ticket.cend()));
    }
    for (int i = 0; i < questions; ++i)
        uses[equalCategories ? taken.at(i).category : QString()] << count.at(i);
    for (const QList<int> &group : std::as_const(uses)) {
        const auto [least, most] = std::minmax_element(group.cbegin(), group.cend());
        QVERIFY2(*most - *least <= 1, qPrintable(u"%1 .. %2"_s.arg(*least).arg(*most)));
    }
    if (!random && !equalCategories)
        QCOMPARE(layout.first().first(), 0);
    // The same seed draws the same tickets.
    QCOMPARE(BankTickets::distribute(taken, plan), layout);
}

void BankTicketsTest::refusesPlan_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<int>("perTicket");
    QTest::addColumn<QString>("reason");

    QTest::newRow("too few questions") << 3 << QStringList{} << 4
                                       << u"вопросов, пригодных для билетов, 3, а в билете их 4"_s;
    QTest::newRow("more than twenty") << 50 << QStringList{} << 21 << u"в билете может быть от 1 до 20 вопросов"_s;
    QTest::newRow("more categories than places") << 30 << QStringList{u"А"_s, u"Б"_s, u"В"_s, u"Г"_s, u"Д"_s} << 4
                                                 << u"категорий 5, а вопросов в билете 4: поровну не разделить"_s;
    QTest::newRow("a category too small") << 4 << QStringList{u"А"_s, u"Б"_s, u"Б"_s, u"Б"_s} << 4
                                          << u"в категории «А» 1 вопр., а билету нужно 2"_s;
}

void BankTicketsTest::refusesPlan()
{
    QFETCH(int, questions);
    QFETCH(QStringList, categories);
    QFETCH(int, perTicket);
    QFETCH(QString, reason);

    BankTickets::Plan plan;
    plan.tickets = 3;
    plan.questionsPerTicket = perTicket;
    plan.equalCategories = !categories.isEmpty();
    QCOMPARE(BankTickets::problem(bank(questions, categories), plan, LanguagePolicy(u"rus"_s)), reason);
}

// The exam is the folder the exam editor would write for the same questions: the title file,
// and per ticket the question, answers, correct-answer and picture files.
void BankTicketsTest::writesExamAsTheEditorDoes()
{
    QTemporaryDir dir;
    const QString library = dir.filePath(u"b"_s);
    BankQuestions taken = bank(3);
    taken[1].text = u"Две\nстроки"_s;
    taken[2].picture = questionBitmap(QImage(3, 2, QImage::Format_RGB32));
    BankTickets::Layout layout = {{0, 1}, {2, 0}};
    QVERIFY(!BankTickets::writeExam(library, u"Физика"_s, u"Физика, 9 класс"_s, taken, layout).isError());

    QMap<QString, QByteArray> expected;
    expected.insert(u"lzm.lzm"_s, AnsiText::encode(u"Физика, 9 класс\r\n"_s));
    const auto add = [&](const QString &ticket, int n, const BankQuestion &question) {
        expected.insert(ticket + u"/q%1.txt"_s.arg(n), AnsiText::encode(AnsiText::asFileText(question.text)));
        expected.insert(ticket + u"/v%1.txt"_s.arg(n), AnsiText::encode(question.answers.join(u"\r\n"_s) + u"\r\n"_s));
        expected.insert(ticket + u"/o%1.txt"_s.arg(n), AnsiText::encode(question.rightAnswer() + u"\r\n"_s));
        if (!question.picture.isEmpty())
            expected.insert(ticket + u"/k%1.bmp"_s.arg(n), question.picture);
    };
    add(u"b1"_s, 1, taken[0]);
    add(u"b1"_s, 2, taken[1]);
    add(u"b2"_s, 1, taken[2]);
    add(u"b2"_s, 2, taken[0]);
    QCOMPARE(contents(library + u"/Физика"_s), expected);
    QCOMPARE(ExamFolder::entries(library + u"/Физика"_s).tickets, 2);
    // Nothing is left beside it.
    QCOMPARE(QDir(library).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{u"Физика"_s});
}

void BankTicketsTest::failedWriteLeavesExamAsItWas_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("goodWrites");
    QTest::addColumn<bool>("rename");

    QTest::newRow("new exam, title") << false << 0 << false;
    QTest::newRow("new exam, in a ticket") << false << 5 << false;
    QTest::newRow("existing exam, in a ticket") << true << 7 << false;
    QTest::newRow("existing exam, a refused rename") << true << 0 << true;
}

// A write that fails part way leaves no exam where there was none and the old exam whole
// where there was one, and says why.
void BankTicketsTest::failedWriteLeavesExamAsItWas()
{
    QFETCH(bool, existing);
    QFETCH(int, goodWrites);
    QFETCH(bool, rename);

    QTemporaryDir dir;
    const QString library = dir.filePath(u"b"_s);
    const QString exam = library + u"/Химия"_s;
    QMap<QString, QByteArray> before;
    if (existing) {
        QVERIFY(!BankTickets::writeExam(library, u"Химия"_s, u"Старая"_s, bank(2), {{0, 1}, {1, 0}, {0, 1}}).isError());
        before = contents(exam);
    }
    if (rename)
        AnsiText::Faults::failRename();
    else
        AnsiText::Faults::failWriteAfter(2, goodWrites);
    const FileError error = BankTickets::writeExam(library, u"Химия"_s, u"Новая"_s, bank(6), {{0, 1, 2}, {3, 4, 5}});
    QVERIFY(error.isError());
    QVERIFY(!error.describe(LanguagePolicy(u"rus"_s)).isEmpty());
    QCOMPARE(contents(exam), before);
    QCOMPARE(QFileInfo::exists(exam), existing);
    QCOMPARE(QDir(library).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             existing ? QStringList{u"Химия"_s} : QStringList{});

    // Without the fault the new exam replaces the old one whole.
    QVERIFY(!BankTickets::writeExam(library, u"Химия"_s, u"Новая"_s, bank(6), {{0, 1, 2}, {3, 4, 5}}).isError());
    QCOMPARE(ExamFolder::entries(exam).tickets, 2);
    QCOMPARE(ExamFolder::readTitle(exam), std::optional<QString>(u"Новая\r\n"_s));
}

void BankTicketsTest::roundTrip_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("holdsPictures");
    QTest::addColumn<bool>("holdsCategories");

    QTest::newRow("moodle xml") << int(BankFormat::MoodleXml) << true << true;
    QTest::newRow("gift") << int(BankFormat::Gift) << true << true;
    QTest::newRow("aiken") << int(BankFormat::Aiken) << false << false;
}

// An exam exported and read back gives the same questions, answers, right answers and
// pictures; a question the format cannot hold is listed, not lost silently.
void BankTicketsTest::roundTrip()
{
    QFETCH(int, format);
    QFETCH(bool, holdsPictures);
    QFETCH(bool, holdsCategories);

    QTemporaryDir dir;
    const QString library = dir.filePath(u"b"_s);
    BankQuestions questions = bank(4);
    questions[0].text = u"Сколько будет 2 + 2? {Ответ} = #4: ~ «да» & <b>не тег</b>\nВторая  строка"_s;
    questions[0].answers = {u"3 = три"_s, u"~4 # четыре {}"_s, u"a < b & c > d"_s, u"A) как вариант"_s};
    questions[0].right = 1;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(200, 10, 10));
    image.setPixelColor(0, 0, Qt::blue);
    questions[1].picture = questionBitmap(image);
    questions[2].answers = {u"Верно"_s, u"Неверно"_s};
    questions[2].right = 1;
    QVERIFY(!BankTickets::writeExam(library, u"Экзамен"_s, u"Экзамен по физике"_s, questions, {{0, 1}, {2, 3}})
                 .isError());
    // A question whose correct answer is none of its answers cannot be exported.
    AnsiText::writeWhole(library + u"/Экзамен/b2/o2.txt"_s, u"нет такого\r\n"_s);

    const LanguagePolicy russian(u"rus"_s);
    const BankExport::ExamQuestions read = BankExport::readExam(library + u"/Экзамен"_s, QString(), russian);
    QCOMPARE(read.questions.size(), 3);
    QCOMPARE(read.skipped, QStringList{u"b2, вопрос 2: правильный ответ не совпадает ни с одним из ответов"_s});
    const BankExport::Output output = BankExport::write(read.questions, BankFormat(format), russian);
    QCOMPARE(output.skipped.isEmpty(), holdsPictures);
    if (!holdsPictures)
        QCOMPARE(output.skipped, QStringList{u"b1, вопрос 2: Aiken не хранит картинки"_s});
    // UTF-8, whatever the exam's own code page.
    QVERIFY(output.bytes.contains(u"Сколько"_s.toUtf8()));

    BankImport::Options options;
    options.language = russian;
    options.readPicture = questionBitmapOf;
    const BankImport::Result back = BankImport::readBytes(output.bytes, options);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(int(back.format), format);
    QList<int> expected = {0, 1, 2};
    if (!holdsPictures)
        expected = {0, 2};
    QCOMPARE(back.questions.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const BankQuestion &original = questions.at(expected.at(i));
        const BankQuestion &again = back.questions.at(i);
        QVERIFY(again.isTaken());
        QCOMPARE(again.text, original.text);
        QCOMPARE(again.answers, original.answers);
        QCOMPARE(again.right, original.right);
        QCOMPARE(again.picture.isEmpty(), original.picture.isEmpty());
        if (!original.picture.isEmpty())
            QCOMPARE(QImage::fromData(again.picture).convertToFormat(QImage::Format_RGB32),
                     image.convertToFormat(QImage::Format_RGB32));
        if (holdsCategories)
            QCOMPARE(again.category, i < 2 ? u"Экзамен по физике/b1"_s : u"Экзамен по физике/b2"_s);
    }

    // One ticket alone.
    const BankExport::ExamQuestions one = BankExport::readExam(library + u"/Экзамен"_s, u"b2"_s, russian);
    QCOMPARE(one.questions.size(), 1);
    QCOMPARE(one.questions.first().question.text, questions.at(2).text);
}

QTEST_MAIN(BankTicketsTest)
#include "tst_bank_tickets.moc"
