#include "core/exam/exam_editor_state.h"
#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A program folder with the settings file, its exam library and the state of an editor on it.
struct Editing
{
    QTemporaryDir dir;
    ProgramPaths paths{dir.path()};
    SettingsRecord settings;
    ExamEditorState state{settings, paths};

    Editing()
    {
        QDir().mkpath(paths.examLibrary());
        AnsiText::writeWhole(paths.settingsFile(), u"[test]\r\nz=C:/configured\r\n"_s);
        settings.load(paths.settingsFile());
    }

    QString write(const QString &relative, const QString &text) const
    {
        const QString path = paths.examLibrary() + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        AnsiText::writeWhole(path, text);
        return path;
    }

    // An exam with ticket 1 whose question 1 has its three files and question 2 has them
    // all but the correct answer, chosen for editing.
    QString chooseExam()
    {
        write(u"Экзамен/lzm.lzm"_s, u"Экзамен\r\n"_s);
        write(u"Экзамен/b1/q1.txt"_s, u"Вопрос\r\nвторая строка\r\n"_s);
        write(u"Экзамен/b1/v1.txt"_s, u"Да\r\nНет\r\n"_s);
        write(u"Экзамен/b1/o1.txt"_s, u"Да\r\n"_s);
        write(u"Экзамен/b1/q2.txt"_s, u"Второй\r\n"_s);
        write(u"Экзамен/b1/v2.txt"_s, u"А\r\n"_s);
        const QString exam = paths.examLibrary() + u"/Экзамен"_s;
        return state.chooseExam(exam) ? exam : QString();
    }
};

} // namespace

class EditorStateTest : public QObject
{
    Q_OBJECT

private slots:
    void startPanelSteps();
    void createdExamIsEdited();
    void choosingAnExam_data();
    void choosingAnExam();
    void ticketNumber_data();
    void ticketNumber();
    void choosingAQuestion_data();
    void choosingAQuestion();
    void save_data();
    void save();
    void unsavedChanges();
    void pictureTrigger_data();
    void pictureTrigger();
    void savedPictureShown();
    void newTicketForgetsTheQuestion();
};

void EditorStateTest::startPanelSteps()
{
    Editing editing;
    ExamEditorState &state = editing.state;
    QSignalSpy steps(&state, &ExamEditorState::stepChanged);
    QCOMPARE(state.step(), ExamEditorState::Step::Start);
    state.beginCreating();
    QCOMPARE(state.step(), ExamEditorState::Step::CreatingExam);
    state.beginChoosing();
    QCOMPARE(state.step(), ExamEditorState::Step::ChoosingExam);
    state.backToStart();
    state.backToStart();
    QCOMPARE(state.step(), ExamEditorState::Step::Start);
    QCOMPARE(steps.size(), 3);
}

void EditorStateTest::createdExamIsEdited()
{
    Editing editing;
    ExamEditorState &state = editing.state;
    state.beginCreating();
    QVERIFY(!state.createExam(u"Физика"_s).isError());
    const QString exam = editing.paths.examLibrary() + u"/Физика"_s;
    QCOMPARE(state.step(), ExamEditorState::Step::Editing);
    QCOMPARE(editing.settings.examFolder(), exam);
    QCOMPARE(state.examFolder(), exam);
    QCOMPARE(AnsiText::readBytes(exam + u"/lzm.lzm"_s), QByteArray("\xd4\xe8\xe7\xe8\xea\xe0\r\n"));

    // Leaving from the editing panel takes back the exam of the settings file.
    state.restoreConfiguredExam();
    QCOMPARE(editing.settings.examFolder(), u"C:/configured"_s);

    // A refused name changes neither the step nor the settings.
    state.beginCreating();
    QVERIFY(state.createExam(u"a/b"_s).isError());
    QCOMPARE(state.step(), ExamEditorState::Step::CreatingExam);
    QCOMPARE(editing.settings.examFolder(), u"C:/configured"_s);
}

void EditorStateTest::choosingAnExam_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("titleMatch");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("title file") << QStringList{u"lzm.lzm"_s} << u"lzm.lzm"_s << true;
    QTest::newRow("title in capitals") << QStringList{u"LZM.LZM"_s} << u"LZM.LZM"_s << false;
    QTest::newRow("another title first") << QStringList{u"a.lzm"_s, u"lzm.lzm"_s} << u"a.lzm"_s << false;
    QTest::newRow("no title") << QStringList{u"b1/q1.txt"_s} << QString() << false;
}

void EditorStateTest::choosingAnExam()
{
    QFETCH(QStringList, files);
    QFETCH(QString, titleMatch);
    QFETCH(bool, accepted);
    Editing editing;
    for (const QString &file : files)
        editing.write(u"История/"_s + file, u"x\r\n"_s);
    const QString exam = editing.paths.examLibrary() + u"/История"_s;
    editing.state.beginChoosing();
    QCOMPARE(editing.state.chooseExam(exam), accepted);
    QCOMPARE(editing.state.titleMatch(), titleMatch);
    QCOMPARE(editing.state.step(),
             accepted ? ExamEditorState::Step::Editing : ExamEditorState::Step::ChoosingExam);
    // A refused folder is in the settings all the same, until the editor is left from editing.
    QCOMPARE(editing.settings.examFolder(), exam);
}

void EditorStateTest::ticketNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("found");
    QTest::newRow("existing ticket") << u"2"_s << u"b2"_s;
    QTest::newRow("the same number again changes nothing") << u"1"_s << u"b1"_s;
    QTest::newRow("new ticket") << u"5"_s << QString();
    QTest::newRow("b01 is not ticket 1") << u"01"_s << QString();
    QTest::newRow("leading out of the exam") << u"1/../../b1"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void EditorStateTest::ticketNumber()
{
    QFETCH(QString, number);
    QFETCH(QString, found);
    Editing editing;
    QVERIFY(!editing.chooseExam().isEmpty());
    editing.write(u"Экзамен/b2/q1.txt"_s, u"Вопрос\r\n"_s);
    ExamEditorState &state = editing.state;
    state.setTicketNumber(u"1"_s);
    state.chooseQuestion(u"1"_s);
    QVERIFY(!state.questionText().isEmpty());
    state.setSavedPictureShown(true);

    QSignalSpy changes(&state, &ExamEditorState::ticketChanged);
    state.setTicketNumber(number);
    QCOMPARE(state.foundTicketFolder(), found);
    if (number == "1"_L1) {
        QCOMPARE(changes.size(), 0);
        QVERIFY(!state.questionText().isEmpty());
        QVERIFY(state.savedPictureShown());
        return;
    }
    QCOMPARE(changes.size(), 1);
    // Another ticket: no question, no texts, no saved picture on screen.
    QCOMPARE(state.questionNumber(), QString());
    QCOMPARE(state.questionText(), QString());
    QCOMPARE(state.correctText(), QString());
    QVERIFY(!state.savedPictureShown());
}

void EditorStateTest::choosingAQuestion_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<ExamTicket::Presence>("presence");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("correct");
    QTest::newRow("complete: loaded whole, the one-line answer without its line end")
        << u"1"_s << ExamTicket::Presence{true, true, true, false} << u"Вопрос\r\nвторая строка\r\n"_s
        << u"Да\r\nНет\r\n"_s << u"Да"_s;
    QTest::newRow("correct answer missing: nothing loaded")
        << u"2"_s << ExamTicket::Presence{true, true, false, false} << QString() << QString() << QString();
    QTest::newRow("new question") << u"3"_s << ExamTicket::Presence() << QString() << QString() << QString();
}

void EditorStateTest::choosingAQuestion()
{
    QFETCH(QString, number);
    QFETCH(ExamTicket::Presence, presence);
    QFETCH(QString, question);
    QFETCH(QString, answers);
    QFETCH(QString, correct);
    Editing editing;
    QVERIFY(!editing.chooseExam().isEmpty());
    ExamEditorState &state = editing.state;
    state.setTicketNumber(u"1"_s);
    state.setQuestionText(u"typed before"_s);
    QSignalSpy replaced(&state, &ExamEditorState::textsReplaced);
    QCOMPARE(state.chooseQuestion(number), QStringList());
    QCOMPARE(replaced.size(), 1);
    QCOMPARE(state.questionNumber(), number);
    QCOMPARE(state.presence(), presence);
    QCOMPARE(state.questionText(), question);
    QCOMPARE(state.answersText(), answers);
    QCOMPARE(state.correctText(), correct);
    QVERIFY(!state.hasUnsavedChanges());
}

void EditorStateTest::save_data()
{
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("correct");
    QTest::addColumn<ExamEditorState::SaveOutcome>("outcome");
    using Outcome = ExamEditorState::SaveOutcome;
    QTest::newRow("all there") << u"2"_s << u"3"_s << u"Да"_s << Outcome::Saved;
    QTest::newRow("second answer") << u"2"_s << u"3"_s << u"Нет"_s << Outcome::Saved;
    // The ticket reads the first line of the correct answer only.
    QTest::newRow("first line is an answer") << u"2"_s << u"3"_s << u"Да\nпояснение"_s << Outcome::Saved;
    QTest::newRow("no answer offered") << u"2"_s << u"3"_s << u"Может быть"_s << Outcome::Unanswerable;
    QTest::newRow("answer with a blank") << u"2"_s << u"3"_s << u"Да "_s << Outcome::Unanswerable;
    QTest::newRow("answer in other case") << u"2"_s << u"3"_s << u"да"_s << Outcome::Unanswerable;
    QTest::newRow("only a second line is an answer") << u"2"_s << u"3"_s << u"пояснение\nДа"_s
                                                     << Outcome::Unanswerable;
    QTest::newRow("no correct answer") << u"2"_s << u"3"_s << QString() << Outcome::Incomplete;
    QTest::newRow("no question number") << u"2"_s << QString() << u"Да"_s << Outcome::Incomplete;
    QTest::newRow("no ticket number") << QString() << u"3"_s << u"Да"_s << Outcome::Incomplete;
    QTest::newRow("ticket number leads out") << u"1/../../x"_s << u"3"_s << u"Да"_s << Outcome::TicketRefused;
    QTest::newRow("ticket number ends in a blank") << u"2 "_s << u"3"_s << QString() << Outcome::TicketRefused;
    QTest::newRow("ticket folder is a file") << u"9"_s << u"3"_s << u"Да"_s << Outcome::Failed;
}

void EditorStateTest::save()
{
    QFETCH(QString, ticket);
    QFETCH(QString, number);
    QFETCH(QString, correct);
    QFETCH(ExamEditorState::SaveOutcome, outcome);
    Editing editing;
    const QString exam = editing.chooseExam();
    QVERIFY(!exam.isEmpty());
    editing.write(u"Экзамен/b9"_s, u"not a folder"_s);
    const auto before = QDir(exam).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ExamEditorState &state = editing.state;
    state.setTicketNumber(ticket);
    state.setQuestionNumber(number);
    state.setQuestionText(u"Вопрос"_s);
    state.setAnswersText(u"Да\nНет"_s);
    state.setCorrectText(correct);

    QCOMPARE(state.save(), outcome);
    if (outcome == ExamEditorState::SaveOutcome::TicketRefused)
        QVERIFY(state.ticketProblem() != PathNames::Problem::None);
    if (outcome == ExamEditorState::SaveOutcome::Failed) {
        QCOMPARE(state.lastFailure().path(), exam + u"/b9/q3.txt"_s);
        QVERIFY(state.lastFailure().isError());
    }
    if (outcome != ExamEditorState::SaveOutcome::Saved) {
        QCOMPARE(QDir(exam).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        return;
    }
    QCOMPARE(AnsiText::readBytes(exam + u"/b2/q3.txt"_s), QByteArray("\xc2\xee\xef\xf0\xee\xf1\r\n"));
    QCOMPARE(AnsiText::readBytes(exam + u"/b2/v3.txt"_s), QByteArray("\xc4\xe0\r\n\xcd\xe5\xf2\r\n"));
    QCOMPARE(AnsiText::readBytes(exam + u"/b2/o3.txt"_s), AnsiText::encode(AnsiText::asFileText(correct)));
}

void EditorStateTest::unsavedChanges()
{
    Editing editing;
    QVERIFY(!editing.chooseExam().isEmpty());
    ExamEditorState &state = editing.state;
    state.setTicketNumber(u"1"_s);
    state.chooseQuestion(u"1"_s);
    // The boxes show CR LF as a plain line break: that is no change.
    state.setQuestionText(u"Вопрос\nвторая строка\n"_s);
    state.setAnswersText(u"Да\nНет"_s);
    QVERIFY(!state.hasUnsavedChanges());
    state.setCorrectText(u"Нет"_s);
    QVERIFY(state.hasUnsavedChanges());
    QCOMPARE(state.save(), ExamEditorState::SaveOutcome::Saved);
    QVERIFY(!state.hasUnsavedChanges());
    state.setAnswersText(u"Да\nНет\nНе знаю"_s);
    QVERIFY(state.hasUnsavedChanges());
}

void EditorStateTest::pictureTrigger_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<bool>("fires");
    QTest::newRow("all there") << u"/p/sea.png"_s << u"1"_s << u"2"_s << true << true;
    QTest::newRow("no question number: armed, not fired") << u"/p/sea.png"_s << u"1"_s << QString() << true << false;
    QTest::newRow("no ticket number") << u"/p/sea.png"_s << QString() << u"2"_s << false << false;
    QTest::newRow("no picture chosen") << QString() << u"1"_s << u"2"_s << false << false;
}

void EditorStateTest::pictureTrigger()
{
    QFETCH(QString, picture);
    QFETCH(QString, ticket);
    QFETCH(QString, number);
    QFETCH(bool, armed);
    QFETCH(bool, fires);
    Editing editing;
    QVERIFY(!editing.chooseExam().isEmpty());
    ExamEditorState &state = editing.state;
    if (!picture.isEmpty())
        state.setChosenPicture(picture);
    state.setTicketNumber(ticket);
    state.setQuestionNumber(number);
    QSignalSpy trigger(&state, &ExamEditorState::pictureTriggerChanged);
    QCOMPARE(state.armPictureTrigger(), fires);
    QCOMPARE(state.pictureTrigger(), armed);
    // An armed trigger is not armed again, so it never fires on a later save.
    QVERIFY(!state.armPictureTrigger());
    QCOMPARE(trigger.size(), armed ? 1 : 0);
    if (fires) {
        QVERIFY(state.savePicture("BM"_ba));
        QCOMPARE(AnsiText::readBytes(editing.paths.examLibrary() + u"/Экзамен/b1/k2.bmp"_s), "BM"_ba);
    }
    state.newTicket();
    QVERIFY(!state.pictureTrigger());
}

void EditorStateTest::savedPictureShown()
{
    Editing editing;
    const QString exam = editing.chooseExam();
    QVERIFY(!exam.isEmpty());
    const QString picture = editing.write(u"Экзамен/b1/k1.bmp"_s, u"BM"_s);
    ExamEditorState &state = editing.state;
    QSignalSpy shown(&state, &ExamEditorState::savedPictureShownChanged);

    // Nothing is deleted while the picture shown is not the question's saved one.
    state.setTicketNumber(u"1"_s);
    state.chooseQuestion(u"1"_s);
    QVERIFY(state.presence().picture);
    QCOMPARE(state.picturePath(), picture);
    QVERIFY(state.deleteSavedPicture());
    QVERIFY(QFile::exists(picture));

    // A typed number no longer names the picture shown.
    state.setSavedPictureShown(true);
    state.setQuestionNumber(u"2"_s);
    QVERIFY(!state.savedPictureShown());
    state.chooseQuestion(u"1"_s);
    state.setSavedPictureShown(true);
    state.setChosenPicture(u"/p/other.png"_s);
    QVERIFY(!state.savedPictureShown());
    QCOMPARE(state.chosenPictureName(), u"other.png"_s);

    state.setSavedPictureShown(true);
    QVERIFY(state.deleteSavedPicture());
    QVERIFY(!QFile::exists(picture));
    QVERIFY(!state.savedPictureShown());
    QCOMPARE(shown.size(), 6);
}

void EditorStateTest::newTicketForgetsTheQuestion()
{
    Editing editing;
    QVERIFY(!editing.chooseExam().isEmpty());
    ExamEditorState &state = editing.state;
    state.setTicketNumber(u"1"_s);
    state.chooseQuestion(u"1"_s);
    state.setChosenPicture(u"/p/sea.png"_s);
    QSignalSpy tickets(&state, &ExamEditorState::ticketChanged);
    state.newTicket();
    QCOMPARE(tickets.size(), 1);
    QCOMPARE(state.ticketNumber(), QString());
    QCOMPARE(state.foundTicketFolder(), QString());
    QCOMPARE(state.questionNumber(), QString());
    QCOMPARE(state.questionText(), QString());
    // The picture chosen stays for the next ticket.
    QCOMPARE(state.chosenPicture(), u"/p/sea.png"_s);
    QCOMPARE(state.step(), ExamEditorState::Step::Editing);
}

QTEST_GUILESS_MAIN(EditorStateTest)
#include "tst_editor_state.moc"
