#include "core/exam/exam_folder.h"
#include "core/exam/question_count.h"
#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "support/files.h"
#include "support/program_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString LinesExam = goldenPath(u"exam_lines"_s);
// The exam "География" with question 3 of ticket 2 and its picture, as the editor writes it.
const QString WrittenExam = goldenPath(u"exam_written"_s);

const QByteArray Bitmap("BM\x00\x01\x02\r\n\x1a", 8);

} // namespace

class ExamFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { AnsiText::Faults::clear(); }

    void titleIsTheWholeFile();
    void answersByLines_data();
    void answersByLines();
    void ticketFolders();
    void titleMatch_data();
    void titleMatch();

    void boxTextToFileBytes_data();
    void boxTextToFileBytes();
    void writtenExamMatchesTheGoldenFolder();
    void writtenTicketReadsBack();
    void failedWriteGivesFileAndReason_data();
    void failedWriteGivesFileAndReason();
    void refusedExamNameCreatesNothing();
    void removingAPicture();
    void entriesCountTickets_data();
    void entriesCountTickets();
    void textFilesWalkDepthFirst();
    void entryNames_data();
    void entryNames();
};

void ExamFolderTest::titleIsTheWholeFile()
{
    QCOMPARE(ExamFolder::readTitle(LinesExam), u"География\r\n"_s);
    QVERIFY(!ExamFolder::readTitle(LinesExam + u"/b1"_s));
}

void ExamFolderTest::answersByLines_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("correct");
    QTest::newRow("CR LF after each line") << 1 << QStringList{u"A"_s, u"B"_s, u"C"_s}
                                           << QStringList{u"B"_s, u"later line"_s};
    QTest::newRow("no final line end") << 2 << QStringList{u"A"_s, u"B"_s, u"C"_s}
                                       << QStringList{u"B "_s};
    QTest::newRow("lone LF stays, lone CR ends, empty line kept")
        << 4 << QStringList{u"one\ntwo"_s, QString(), u"three"_s, u"four"_s} << QStringList{u"four"_s};
    QTest::newRow("missing files give nothing") << 3 << QStringList() << QStringList();
}

void ExamFolderTest::answersByLines()
{
    QFETCH(int, question);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, correct);
    const ExamTicket ticket(LinesExam, u"1"_s);
    QCOMPARE(ticket.answers(question).toStringList(), answers);
    QCOMPARE(ticket.correctAnswerLines(question), correct);
}

void ExamFolderTest::ticketFolders()
{
    const ExamTicket first(LinesExam, u"1"_s);
    QCOMPARE(first.questionText(1), u"Столица Франции?\r\nВторая строка\r\n"_s);
    QVERIFY(first.isComplete(1));
    QVERIFY(first.isComplete(2));
    QVERIFY(!first.isComplete(3));
    QVERIFY(first.isComplete(4));
    QVERIFY(!first.questionText(3));
    QCOMPARE(first.presentName(u"v4.txt"_s), u"v4.txt"_s);
    QCOMPARE(first.presentName(u"k1.bmp"_s), QString());

    // The draw writes 7, never 07: the folder b07 is not ticket 7.
    QVERIFY(!ExamTicket(LinesExam, u"7"_s).has(u"q1.txt"_s));
    QVERIFY(ExamTicket(LinesExam, u"07"_s).has(u"q1.txt"_s));

    // A typed number never leads out of the exam folder, and nothing is written for it.
    for (const QString &number : {u"/../b1"_s, u"1/../../b1"_s, QString(), u"1\\x"_s}) {
        const ExamTicket outside(LinesExam, number);
        QVERIFY2(!outside.isValid(), qPrintable(number));
        QVERIFY(!outside.exists());
        QVERIFY(!outside.has(u"q1.txt"_s));
        QVERIFY(outside.saveQuestion(1, u"Q"_s, u"A"_s, u"A"_s).isError());
        QVERIFY(outside.savePicture(1, Bitmap).isError());
    }
}

void ExamFolderTest::titleMatch_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("exam");
    QTest::newRow("title file") << QStringList{u"lzm.lzm"_s} << u"lzm.lzm"_s << true;
    QTest::newRow("capitals") << QStringList{u"LZM.LZM"_s} << u"LZM.LZM"_s << false;
    QTest::newRow("another name first") << QStringList{u"alpha.lzm"_s, u"lzm.lzm"_s} << u"alpha.lzm"_s << false;
    QTest::newRow("none") << QStringList{u"lzm.txt"_s} << QString() << false;
}

void ExamFolderTest::titleMatch()
{
    QFETCH(QStringList, files);
    QFETCH(QString, first);
    QFETCH(bool, exam);
    QTemporaryDir dir;
    for (const QString &name : files)
        writeFile(dir.path() + u'/' + name, "x"_ba);
    QCOMPARE(ExamFolder::firstTitleMatch(dir.path()), first);
    QCOMPARE(ExamFolder::firstTitleMatch(dir.path()) == ExamFolder::titleFileName(), exam);
}

void ExamFolderTest::boxTextToFileBytes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("one line gets its line end") << u"Москва"_s << QByteArray("\xcc\xee\xf1\xea\xe2\xe0\r\n");
    QTest::newRow("lines of a box") << u"1.нора\n2.шалаш"_s << QByteArray("1.\xed\xee\xf0\xe0\r\n2.\xf8\xe0\xeb\xe0\xf8\r\n");
    QTest::newRow("loaded text keeps its one line end") << u"A\nB\n"_s << QByteArray("A\r\nB\r\n");
    QTest::newRow("CR LF of a one-line box stays single") << u"B\r\n"_s << QByteArray("B\r\n");
    QTest::newRow("empty line inside stays") << u"A\n\nB"_s << QByteArray("A\r\n\r\nB\r\n");
}

// Each of the three files holds its box's text with CR LF line ends and one final line end.
void ExamFolderTest::boxTextToFileBytes()
{
    QFETCH(QString, box);
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    const ExamTicket ticket(dir.path(), u"4"_s);
    QVERIFY(!ticket.saveQuestion(12, box, box, box).isError());
    for (const QString &name : {u"q12.txt"_s, u"v12.txt"_s, u"o12.txt"_s})
        QCOMPARE(AnsiText::readBytes(dir.filePath(u"b4/"_s + name)), file);
}

void ExamFolderTest::writtenExamMatchesTheGoldenFolder()
{
    QTemporaryDir library;
    QVERIFY(!ExamFolder::createExam(library.path(), u"География"_s).isError());
    const QString exam = ExamFolder::examIn(library.path(), u"География"_s);
    const ExamTicket ticket(exam, u"2"_s);
    QVERIFY(!ticket.exists());
    // The boxes give plain line breaks; the files hold CR LF and one final line end.
    QVERIFY(!ticket.saveQuestion(3, u"Как называется дом у лисы\nи почему"_s, u"1.нора\n2.шалаш\n3.убежище\n"_s,
                                 u"1.нора"_s)
                 .isError());
    QVERIFY(!ticket.savePicture(3, Bitmap).isError());
    QVERIFY(ticket.exists());
    QCOMPARE(filesUnder(exam), filesUnder(WrittenExam));

    // Written again over itself, nothing changes, and no temporary file is left.
    QVERIFY(!ExamFolder::createExam(library.path(), u"География"_s).isError());
    QVERIFY(!ticket.saveQuestion(3, *ticket.questionText(3), *ticket.wholeText(u"v3.txt"_s), u"1.нора\r\n"_s).isError());
    QCOMPARE(filesUnder(exam), filesUnder(WrittenExam));
}

void ExamFolderTest::writtenTicketReadsBack()
{
    const ExamTicket ticket(WrittenExam, u"2"_s);
    QCOMPARE(ExamFolder::readTitle(WrittenExam), u"География\r\n"_s);
    QCOMPARE(ticket.questionText(3), u"Как называется дом у лисы\r\nи почему\r\n"_s);
    QCOMPARE(ticket.answers(3).toStringList(), (QStringList{u"1.нора"_s, u"2.шалаш"_s, u"3.убежище"_s}));
    QCOMPARE(ticket.correctAnswerLines(3), QStringList{u"1.нора"_s});
    QVERIFY(ticket.isComplete(3));
    QCOMPARE(ticket.presence(3), (ExamTicket::Presence{true, true, true, true}));
    QCOMPARE(ticket.presence(2), ExamTicket::Presence());
    QCOMPARE(ticket.path(ExamFolder::pictureFile(3)), WrittenExam + u"/b2/k3.bmp"_s);
}

void ExamFolderTest::failedWriteGivesFileAndReason_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("failedFile");
    QTest::addColumn<FileError::Kind>("kind");
    // fault: 0 none, 1 a full disk after 3 bytes of the second file, 2 a refused rename.
    QTest::newRow("ticket folder is a file") << u"exam/b1"_s << 0 << u"question"_s << u"exam/b1/q1.txt"_s
                                             << FileError::Kind::NotFound;
    QTest::newRow("disk full in the answers file") << QString() << 1 << u"question"_s << u"exam/b1/v1.txt"_s
                                                   << FileError::Kind::NoSpace;
    QTest::newRow("rename refused") << QString() << 2 << u"question"_s << u"exam/b1/q1.txt"_s
                                    << FileError::Kind::AccessDenied;
    QTest::newRow("picture over a folder") << u"exam/b1/k1.bmp/x"_s << 0 << u"picture"_s << u"exam/b1/k1.bmp"_s
                                           << FileError::Kind::FolderInPlace;
    QTest::newRow("library is a file") << u"library"_s << 0 << u"exam"_s << u"library/exam/lzm.lzm"_s
                                       << FileError::Kind::NotFound;
    QTest::newRow("title file, disk full") << QString() << 1 << u"exam"_s << u"library/exam/lzm.lzm"_s
                                           << FileError::Kind::NoSpace;
}

void ExamFolderTest::failedWriteGivesFileAndReason()
{
    QFETCH(QString, blocker);
    QFETCH(int, fault);
    QFETCH(QString, what);
    QFETCH(QString, failedFile);
    QFETCH(FileError::Kind, kind);
    QTemporaryDir dir;
    if (!blocker.isEmpty())
        writeFile(dir.filePath(blocker), "x"_ba);
    if (fault == 1)
        AnsiText::Faults::failWriteAfter(3, what == "question"_L1 ? 1 : 0);
    else if (fault == 2)
        AnsiText::Faults::failRename();

    const ExamTicket ticket(dir.filePath(u"exam"_s), u"1"_s);
    FileError result;
    if (what == "question"_L1)
        result = ticket.saveQuestion(1, u"Вопрос"_s, u"Да\nНет"_s, u"Да"_s);
    else if (what == "picture"_L1)
        result = ticket.savePicture(1, Bitmap);
    else
        result = ExamFolder::createExam(dir.filePath(u"library"_s), u"exam"_s);
    QVERIFY(result.isError());
    QCOMPARE(result.path(), dir.filePath(failedFile));
    QCOMPARE(result.kind(), kind);
    QVERIFY(!result.reason(LanguagePolicy(u"rus"_s)).isEmpty());
    QVERIFY(!QFileInfo(dir.filePath(failedFile)).isFile());
}

void ExamFolderTest::refusedExamNameCreatesNothing()
{
    QTemporaryDir library;
    for (const QString &name : {u"../evil"_s, u"a\\b"_s, u".."_s, u"con"_s, u"Физика "_s, QString()}) {
        const FileError refused = ExamFolder::createExam(library.path(), name);
        QVERIFY2(refused.isError(), qPrintable(name));
        QVERIFY(!refused.systemText().isEmpty());
    }
    QCOMPARE(QDir(library.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void ExamFolderTest::removingAPicture()
{
    QTemporaryDir dir;
    const ExamTicket ticket(dir.path(), u"1"_s);
    // A picture that is not there is no failure.
    QVERIFY(!ticket.removePicture(1).isError());
    writeFile(ticket.path(u"k1.bmp"_s), "x"_ba);
    writeFile(ticket.path(u"k2.bmp"_s), "x"_ba);
    QVERIFY(!ticket.removePicture(1).isError());
    QVERIFY(!ticket.has(u"k1.bmp"_s));
    QVERIFY(ticket.has(u"k2.bmp"_s));

    // A folder in the picture's place cannot be removed as a file: the path and the reason.
    writeFile(ticket.path(u"k3.bmp/inside"_s), "x"_ba);
    const FileError failed = ticket.removePicture(3);
    QVERIFY(failed.isError());
    QCOMPARE(failed.path(), ticket.path(u"k3.bmp"_s));
    QVERIFY(!failed.reason(LanguagePolicy(u"eng"_s)).isEmpty());
}

void ExamFolderTest::entriesCountTickets_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("tickets");
    QTest::newRow("title and two tickets") << QStringList{u"lzm.lzm"_s, u"b1/q1.txt"_s, u"b2/q1.txt"_s} << 2;
    QTest::newRow("an extra file counts as a ticket")
        << QStringList{u"lzm.lzm"_s, u"b1/q1.txt"_s, u"readme.doc"_s} << 2;
    QTest::newRow("hidden entries do not count") << QStringList{u"lzm.lzm"_s, u"b1/q1.txt"_s, u".cache"_s} << 1;
}

void ExamFolderTest::entriesCountTickets()
{
    QFETCH(QStringList, files);
    QFETCH(int, tickets);
    QTemporaryDir dir;
    for (const QString &file : files)
        writeFile(dir.filePath(file), "x"_ba);
    const ExamFolder::Entries found = ExamFolder::entries(dir.path());
    QCOMPARE(found.tickets, tickets);
    QCOMPARE(found.paths.size(), tickets + 1);
    QVERIFY(found.paths.contains(dir.filePath(ExamFolder::titleFileName())));
}

void ExamFolderTest::textFilesWalkDepthFirst()
{
    ProgramFolder folder;
    for (const char *file : {"b1/q1.txt", "b1/a/x.TXT", "b1/a/b/y.txt", "b1/c/z.Txt", "b1/k1.bmp", "b1/a/notes.txt.bak",
                             "b1/.hidden/h.txt"})
        folder.writeText(QLatin1StringView(file), u"x\r\n"_s);

    const QString b1 = folder.path(u"b1"_s);
    const QStringList found = QuestionCount::textFiles(FilesystemWalker(), b1);
    QCOMPARE(found, (QStringList{b1 + u"/a/b/y.txt"_s, b1 + u"/a/x.TXT"_s, b1 + u"/c/z.Txt"_s, b1 + u"/q1.txt"_s}));

    // A link back to a folder above is not followed round and round.
    QVERIFY(QFile::link(b1, b1 + u"/a/loop"_s));
    QCOMPARE(QuestionCount::textFiles(FilesystemWalker(), b1).size(), 4);

    QCOMPARE(QuestionCount::textFiles(FilesystemWalker(), folder.path(u"missing"_s)), QStringList());
}

// The entry of a name is looked up by its spellings; what it finds is what the folder's
// listing finds.
void ExamFolderTest::entryNames_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact") << QStringList{u"b1/"_s, u"b2/"_s} << u"b1"_s << u"b1"_s;
    QTest::newRow("other case") << QStringList{u"B1/"_s} << u"b1"_s << u"B1"_s;
    QTest::newRow("exact before other case") << QStringList{u"B1/"_s, u"b1/"_s} << u"b1"_s << u"b1"_s;
    QTest::newRow("two other cases: the first by name") << QStringList{u"v1.TXT"_s, u"V1.txt"_s} << u"v1.txt"_s
                                                         << u"V1.txt"_s;
    QTest::newRow("a file counts too") << QStringList{u"V1.TXT"_s} << u"v1.txt"_s << u"V1.TXT"_s;
    QTest::newRow("a broken link counts too") << QStringList{u"b1@"_s} << u"b1"_s << u"b1"_s;
    QTest::newRow("none") << QStringList{u"b11/"_s, u"lzm.lzm"_s} << u"b1"_s << QString();
    QTest::newRow("hidden names are not listed") << QStringList{u".b1/"_s} << u".b1"_s << QString();
    QTest::newRow("a name with k is listed") << QStringList{u"K1/"_s} << u"k1"_s << u"K1"_s;
    QTest::newRow("a Cyrillic name is listed") << QStringList{u"Билет/"_s} << u"билет"_s << u"Билет"_s;
}

void ExamFolderTest::entryNames()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, name);
    QFETCH(QString, found);

    QTemporaryDir dir;
    for (const QString &entry : entries) {
        const QString path = dir.filePath(entry.chopped(entry.endsWith(u'/') || entry.endsWith(u'@') ? 1 : 0));
        if (entry.endsWith(u'/'))
            QVERIFY(QDir().mkpath(path));
        else if (entry.endsWith(u'@'))
            QVERIFY(QFile::link(dir.filePath(u"missing"_s), path));
        else
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    }
    QCOMPARE(QuestionCount::entryName(dir.path(), name), found);
    QCOMPARE(QuestionCount::entryName(QString(), name), QString());
}

QTEST_GUILESS_MAIN(ExamFolderTest)
#include "tst_exam_folder.moc"
