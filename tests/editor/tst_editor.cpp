#include "app/application.h"
#include "core/exam/exam_editor_state.h"
#include "core/files/ansi_text.h"
#include "core/files/path_names.h"
#include "gui/chooser/exam_chooser_window.h"
#include "gui/common/active_label.h"
#include "gui/editor/exam_editor_window.h"
#include "gui/exam/picture_size_window.h"
#include "gui/exam/ticket_window.h"
#include "gui/settings/settings_window.h"
#include "support/controls.h"
#include "support/panels.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

} // namespace

class EditorTest : public QObject
{
    Q_OBJECT

private slots:

    void opensFromSettingsWithStartLayout();
    void panelsHideWhatTheyCover();
    void createsExamNamedWithOneWord();
    void refusesExamName_data();
    void refusesExamName();
    void choosesExamByMarker_data();
    void choosesExamByMarker();
    void closingKeepsOrRestoresExamFolder_data();
    void closingKeepsOrRestoresExamFolder();
    void choiceReturnsToStartPanel();

    void savesAndReloadsQuestion();
    void missingCorrectAnswerEmptiesBoxes();
    void refusesIncompleteOrUnsafeSave_data();
    void refusesIncompleteOrUnsafeSave();
    void unreadableFileIsNamed();
    void ticketStatus_data();
    void ticketStatus();

    void pictureIsSavedAsBitmap();
    void failedPictureSaveKeepsTheOldPicture();
    void pictureIsTakenAwayOrDeleted();
    void deletingFollowsTheQuestionShown_data();
    void deletingFollowsTheQuestionShown();
    void rejectedPictureChangesNothing();
    void pictureTriggerStaysArmedWithoutQuestionNumber();
    void pictureSizeWindowInEditorMode_data();
    void pictureSizeWindowInEditorMode();

    void examRunsInTheTicketWindow();

private:
    // Starts the program with the exam library, opens the settings and from them the editor.
    ExamEditorWindow *openEditor(ProgramFolder &folder, const QString &language = u"rus"_s,
                                 const QString &configured = QString());
    // Creates a new exam from the start panel.
    void createExam(ExamEditorWindow *editor, const QString &name);
    // Chooses an existing exam from the start panel, picking its folder in the tree.
    void chooseExam(ExamEditorWindow *editor, const QString &exam);
    void chooseQuestion(ExamEditorWindow *editor, int number);
    void openQuestion(ExamEditorWindow *editor, const QString &ticket, int number);
    void fillQuestion(ExamEditorWindow *editor, const QString &ticket, int number, const QString &question,
                      const QString &answers, const QString &correct);
    QString writePng(const QTemporaryDir &dir, int width, int height);
};

ExamEditorWindow *EditorTest::openEditor(ProgramFolder &folder, const QString &language, const QString &configured)
{
    folder.writeSettings({u"bilet=2"_s, u"vopros=3"_s, u"ball=4"_s, u"re="_s + language, u"z="_s + configured});
    Application &app = folder.start();
    app.showSettings();
    SettingsWindow *settings = app.settingsWindow();
    click(settings, "Label8");
    if (settings->isVisible() || !app.examEditor())
        return nullptr;
    return app.examEditor();
}

void EditorTest::createExam(ExamEditorWindow *editor, const QString &name)
{
    click(editor, "Command9");
    control<QLineEdit>(editor, "Text9")->setText(name);
    click(editor, "Command5");
}

void EditorTest::chooseExam(ExamEditorWindow *editor, const QString &exam)
{
    click(editor, "Command8");
    auto *tree = control<QTreeView>(editor, "Dir1");
    tree->setCurrentIndex(qobject_cast<QFileSystemModel *>(tree->model())->index(exam));
    click(editor, "Command6");
}

void EditorTest::chooseQuestion(ExamEditorWindow *editor, int number)
{
    control<QComboBox>(editor, "Combo1")->setCurrentIndex(number - 1);
    emit control<QComboBox>(editor, "Combo1")->activated(number - 1);
}

void EditorTest::openQuestion(ExamEditorWindow *editor, const QString &ticket, int number)
{
    control<QLineEdit>(editor, "Text6")->setText(ticket);
    chooseQuestion(editor, number);
}

void EditorTest::fillQuestion(ExamEditorWindow *editor, const QString &ticket, int number, const QString &question,
                              const QString &answers, const QString &correct)
{
    control<QLineEdit>(editor, "Text6")->setText(ticket);
    chooseQuestion(editor, number);
    control<QPlainTextEdit>(editor, "Text1")->setPlainText(question);
    control<QPlainTextEdit>(editor, "Text2")->setPlainText(answers);
    control<QLineEdit>(editor, "Text3")->setText(correct);
}

QString EditorTest::writePng(const QTemporaryDir &dir, int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(20, 120, 200));
    image.setPixelColor(0, 0, QColor(255, 0, 0));
    const QString path = dir.path() + u"/рисунок.png"_s;
    image.save(path, "PNG");
    return path;
}

void EditorTest::opensFromSettingsWithStartLayout()
{
    ProgramFolder folder;
    QDir(folder.path(u"b"_s)).removeRecursively();
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->objectName(), u"Form7"_s);
    QVERIFY(shown(editor, "Frame9"));
    QVERIFY(shown(editor, "Frame10"));
    QVERIFY(!shown(editor, "Frame1"));
    QVERIFY(!shown(editor, "Frame5"));
    QVERIFY(!shown(editor, "Frame7"));
    QCOMPARE(editor->size(), QSize(305, 305));
    // The exam library is made when it is missing, and the tree starts there.
    QVERIFY(QFileInfo(folder.path(u"b"_s)).isDir());
    QCOMPARE(control<QLineEdit>(editor, "Text10")->text(), folder.path(u"b"_s));

    click(editor, "Command12");
    QVERIFY(!folder.app().examEditor());
    QVERIFY(folder.app().settingsWindow()->isVisible());
}

// Every panel of the editor, in the orders a teacher opens them: no control of another panel
// shows inside a panel.
void EditorTest::panelsHideWhatTheyCover()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    QStringList faults;
    const auto look = [&](const QString &step) {
        for (const QString &peeking : peekingControls(editor))
            faults << step + u": "_s + peeking;
    };
    look(u"the start panel"_s);
    click(editor, "Command9");
    look(u"a new exam's name"_s);
    click(editor, "Command13");
    look(u"back from the name"_s);
    click(editor, "Command8");
    look(u"the folder tree"_s);
    click(editor, "Command14");
    look(u"back from the tree"_s);
    click(editor, "Command8");
    click(editor, "Command14");
    click(editor, "Command9");
    look(u"the name after the tree"_s);
    control<QLineEdit>(editor, "Text9")->setText(u"Картинки"_s);
    click(editor, "Command5");
    look(u"a new exam"_s);
    fillQuestion(editor, u"1"_s, 1, u"Что на картинке?"_s, u"Море\nНебо"_s, u"Море"_s);
    look(u"a question"_s);
    folder.platform.fileAnswers.enqueue(writePng(pictures, 40, 30));
    click(editor, "Label5");
    look(u"a picture chosen"_s);
    click(editor, "Command2");
    click(editor, "Command1");
    openQuestion(editor, u"1"_s, 1);
    look(u"a question with its picture"_s);
    click(editor, "Command7");
    look(u"back to the start panel"_s);
    chooseExam(editor, folder.path(u"b/Картинки"_s));
    look(u"an exam chosen"_s);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
}

void EditorTest::createsExamNamedWithOneWord()
{
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Физика"_s);

    const QString exam = folder.path(u"b/Физика"_s);
    QVERIFY(QFileInfo(exam).isDir());
    QCOMPARE(folder.readBytes(u"b/Физика/lzm.lzm"_s), QByteArray("\xd4\xe8\xe7\xe8\xea\xe0\r\n"));
    QCOMPARE(control<ActiveLabel>(editor, "Label22")->text(), u"Новый: "_s + exam);
    QCOMPARE(control<QLineEdit>(folder.app().settingsWindow(), "Text6")->text(), exam);
    QVERIFY(shown(editor, "Frame1"));
    QVERIFY(!shown(editor, "Frame6"));
    QCOMPARE(editor->size(), QSize(697, 545));
    QVERIFY(folder.platform.messages.isEmpty());

    // Creating it again reuses the folder and rewrites the title.
    folder.writeText(u"b/Физика/b1/q1.txt"_s, u"Вопрос\r\n"_s);
    folder.writeText(u"b/Физика/lzm.lzm"_s, u"Другое\r\n"_s);
    click(editor, "Command7");
    createExam(editor, u"Физика"_s);
    QCOMPARE(folder.readBytes(u"b/Физика/lzm.lzm"_s), QByteArray("\xd4\xe8\xe7\xe8\xea\xe0\r\n"));
    QVERIFY(QFileInfo::exists(folder.path(u"b/Физика/b1/q1.txt"_s)));
}

void EditorTest::refusesExamName_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    const auto refusal = [](const QString &name, bool russian) {
        const PathNames::Refusal why = PathNames::refusal(name, PathNames::problem(name));
        return russian ? why.russian : why.english;
    };
    // Which names are refused and why is the name rules' test, and that a refused name creates
    // nothing is the exam folder's; here the editor says the refusal in the window's language.
    QTest::newRow("empty") << u"rus"_s << QString() << u"Не введено имя папки экзамена"_s;
    QTest::newRow("empty, another language is English")
        << u"deu"_s << QString() << u"Not incorporated a name of file of exam"_s;
    QTest::newRow("slash") << u"rus"_s << u"../evil"_s << refusal(u"../evil"_s, true);
    QTest::newRow("device name, another language is English") << u"deu"_s << u"con"_s << refusal(u"con"_s, false);
}

void EditorTest::refusesExamName()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(QString, message);
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder, language);
    QVERIFY(editor);
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    createExam(editor, name);
    QCOMPARE(folder.platform.messageTexts(), QStringList{message});
    QCOMPARE(folder.platform.messages.first().title, u"Тест-Тавринг"_s);
    QVERIFY(shown(editor, "Frame5"));
    QVERIFY(!shown(editor, "Frame1"));
    QCOMPARE(QDir(folder.path(u"b"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void EditorTest::choosesExamByMarker_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("accepted");
    // Which title file makes a folder an exam is the editor state's rule, tested with it; here
    // the window takes one exam and refuses one folder.
    QTest::newRow("marker") << u"lzm.lzm"_s << true;
    QTest::newRow("no marker") << QString() << false;
}

void EditorTest::choosesExamByMarker()
{
    QFETCH(QString, marker);
    QFETCH(bool, accepted);
    ProgramFolder folder;
    QDir().mkpath(folder.path(u"b/История"_s));
    if (!marker.isEmpty())
        folder.writeText(u"b/История/"_s + marker, u"История\r\n"_s);
    ExamEditorWindow *editor = openEditor(folder, u"rus"_s, u"C:/configured"_s);
    QVERIFY(editor);
    click(editor, "Command8");
    QVERIFY(shown(editor, "Frame7"));
    QVERIFY(!shown(editor, "Frame10"));

    // The teacher picks the folder in the tree.
    const QString exam = folder.path(u"b/История"_s);
    auto *model = qobject_cast<QFileSystemModel *>(control<QTreeView>(editor, "Dir1")->model());
    QVERIFY(model);
    control<QTreeView>(editor, "Dir1")->setCurrentIndex(model->index(exam));
    QCOMPARE(control<QLineEdit>(editor, "Text10")->text(), exam);
    click(editor, "Command6");

    QCOMPARE(control<QLineEdit>(folder.app().settingsWindow(), "Text6")->text(), exam);
    if (accepted) {
        QVERIFY(folder.platform.messages.isEmpty());
        QVERIFY(shown(editor, "Frame1"));
        QCOMPARE(control<ActiveLabel>(editor, "Label22")->text(), u"Редактировать: "_s + exam);
    } else {
        QCOMPARE(folder.platform.messageTexts(), QStringList{u"Не выбрана папка с экзаменом"_s});
        QCOMPARE(folder.platform.messages.first().title, u"Текст-Тавринг"_s);
        QVERIFY(shown(editor, "Frame7"));
        QCOMPARE(control<QLineEdit>(editor, "Text10")->text(), folder.path(u"b"_s));
        // The refused folder stays in the settings until the editing panel's "Закрыть".
        click(editor, "Command14");
        click(editor, "Command12");
        QCOMPARE(control<QLineEdit>(folder.app().settingsWindow(), "Text6")->text(), exam);
    }
}

void EditorTest::closingKeepsOrRestoresExamFolder_data()
{
    QTest::addColumn<QByteArray>("closeButton");
    QTest::addColumn<bool>("keepsNew");
    QTest::newRow("start panel keeps the new exam") << QByteArray("Command12") << true;
    QTest::newRow("editing panel restores the configured one") << QByteArray("Command4") << false;
}

void EditorTest::closingKeepsOrRestoresExamFolder()
{
    QFETCH(QByteArray, closeButton);
    QFETCH(bool, keepsNew);
    ProgramFolder folder;
    const QString configured = makeExam(folder, u"Экзамен"_s, 1, 1);
    ExamEditorWindow *editor = openEditor(folder, u"rus"_s, configured);
    QVERIFY(editor);
    createExam(editor, u"Новый"_s);
    if (keepsNew)
        click(editor, "Command7");
    click(editor, closeButton.constData());
    QVERIFY(!folder.app().examEditor());
    SettingsWindow *settings = folder.app().settingsWindow();
    QVERIFY(settings->isVisible());
    QCOMPARE(control<QLineEdit>(settings, "Text6")->text(), keepsNew ? folder.path(u"b/Новый"_s) : configured);
}

void EditorTest::choiceReturnsToStartPanel()
{
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Химия"_s);
    fillQuestion(editor, u"1"_s, 2, u"Вопрос"_s, u"А\nБ"_s, u"А"_s);
    click(editor, "Command7");
    QVERIFY(shown(editor, "Frame6"));
    QVERIFY(shown(editor, "Frame9"));
    QVERIFY(shown(editor, "Frame10"));
    QVERIFY(!shown(editor, "Frame1"));
    QCOMPARE(editor->size(), QSize(305, 305));
    QCOMPARE(control<QLineEdit>(editor, "Text6")->text(), QString());
    QCOMPARE(control<QComboBox>(editor, "Combo1")->currentText(), QString());
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(editor, "Text3")->text(), QString());

    click(editor, "Command8");
    QVERIFY(shown(editor, "Frame7"));
    click(editor, "Command14");
    QVERIFY(shown(editor, "Frame10"));
}

void EditorTest::savesAndReloadsQuestion()
{
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"География"_s);
    fillQuestion(editor, u"2"_s, 3, u"Как называется дом у лисы\nи почему"_s, u"1.нора\n2.шалаш\n3.убежище"_s,
                 u"1.нора"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label10")->text(), u"Создать вопрос № 3"_s);
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Сохранено!"_s});

    const QByteArray question("\xca\xe0\xea \xed\xe0\xe7\xfb\xe2\xe0\xe5\xf2\xf1\xff \xe4\xee\xec \xf3 \xeb\xe8\xf1\xfb\r\n"
                              "\xe8 \xef\xee\xf7\xe5\xec\xf3\r\n");
    const QByteArray answers("1.\xed\xee\xf0\xe0\r\n2.\xf8\xe0\xeb\xe0\xf8\r\n3.\xf3\xe1\xe5\xe6\xe8\xf9\xe5\r\n");
    const QByteArray correct("1.\xed\xee\xf0\xe0\r\n");
    QCOMPARE(QDir(folder.path(u"b/География/b2"_s)).entryList(QDir::Files),
             (QStringList{u"o3.txt"_s, u"q3.txt"_s, u"v3.txt"_s}));
    QCOMPARE(folder.readBytes(u"b/География/b2/q3.txt"_s), question);
    QCOMPARE(folder.readBytes(u"b/География/b2/v3.txt"_s), answers);
    QCOMPARE(folder.readBytes(u"b/География/b2/o3.txt"_s), correct);
    // The ticket window reads the answers as three entries and the correct answer as one of them.
    QCOMPARE(AnsiText::readLines(folder.path(u"b/География/b2/v3.txt"_s))->size(), 3);

    // Choose the ticket and the question again: the boxes load, the statuses say created.
    click(editor, "Command1");
    control<QLineEdit>(editor, "Text6")->setText(u"2"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label9")->text(), u"Билет № b2 уже создан"_s);
    QCOMPARE(textColour(control<ActiveLabel>(editor, "Label9")), QColor(255, 0, 0));
    chooseQuestion(editor, 3);
    QCOMPARE(control<ActiveLabel>(editor, "Label10")->text(), u"Вопрос № 3 уже создан"_s);
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), u"Как называется дом у лисы\nи почему\n"_s);
    QCOMPARE(control<QPlainTextEdit>(editor, "Text2")->toPlainText(), u"1.нора\n2.шалаш\n3.убежище\n"_s);
    QCOMPARE(control<QLineEdit>(editor, "Text3")->text(), u"1.нора"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label8")->text(), u"True"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label17")->text(), u"False"_s);

    // What is typed reaches the editor's state; a reload is no change.
    auto *state = editor->findChild<ExamEditorState *>();
    QVERIFY(state);
    QCOMPARE(state->questionNumber(), u"3"_s);
    QVERIFY(!state->hasUnsavedChanges());
    control<QLineEdit>(editor, "Text3")->setText(u"2.шалаш"_s);
    QVERIFY(state->hasUnsavedChanges());
    control<QLineEdit>(editor, "Text3")->setText(u"1.нора"_s);
    QVERIFY(!state->hasUnsavedChanges());

    // Saving without a change leaves the files as they were.
    folder.platform.clear();
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Сохранено!"_s});
    QCOMPARE(folder.readBytes(u"b/География/b2/q3.txt"_s), question);
    QCOMPARE(folder.readBytes(u"b/География/b2/v3.txt"_s), answers);
    QCOMPARE(folder.readBytes(u"b/География/b2/o3.txt"_s), correct);

    // A question that does not exist yet empties the boxes and invites creating it.
    chooseQuestion(editor, 4);
    QCOMPARE(control<ActiveLabel>(editor, "Label10")->text(), u"Создать вопрос № 4"_s);
    QCOMPARE(textColour(control<ActiveLabel>(editor, "Label10")), QColor(0, 128, 0));
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), QString());
}

void EditorTest::missingCorrectAnswerEmptiesBoxes()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 3);
    QFile::remove(exam + u"/b1/o3.txt"_s);
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    chooseExam(editor, exam);
    QVERIFY(shown(editor, "Frame1"));

    openQuestion(editor, u"1"_s, 2);
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), u"Вопрос 2 билета 1\n"_s);
    control<QPlainTextEdit>(editor, "Text1")->setPlainText(u"Старый текст"_s);
    chooseQuestion(editor, 3);
    QCOMPARE(control<ActiveLabel>(editor, "Label10")->text(), u"Вопрос № 3 уже создан"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label16")->text(), u"False"_s);
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), QString());
    QCOMPARE(control<QPlainTextEdit>(editor, "Text2")->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(editor, "Text3")->text(), QString());
}

void EditorTest::refusesIncompleteOrUnsafeSave_data()
{
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("message");
    // Which boxes a save needs and which ticket numbers it refuses is the editor state's test;
    // here the window says each kind of refusal and writes nothing.
    QTest::newRow("empty correct answer") << u"1"_s << QString() << u"Отсутствует текст в одном из полей"_s;
    QTest::newRow("correct answer not offered")
        << u"1"_s << u"В"_s
        << u"Правильный ответ должен в точности совпадать с одной из строк ответов. Вопрос не сохранен."_s;
    const QString outside = u"1/../../x"_s;
    QTest::newRow("ticket number leads out")
        << outside << u"А"_s << PathNames::refusal(outside, PathNames::problem(outside)).russian;
}

void EditorTest::refusesIncompleteOrUnsafeSave()
{
    QFETCH(QString, ticket);
    QFETCH(QString, correct);
    QFETCH(QString, message);
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Пустой"_s);
    fillQuestion(editor, ticket, 1, u"Вопрос"_s, u"А\nБ"_s, correct);
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts(), QStringList{message});
    QCOMPARE(QDir(folder.path(u"b/Пустой"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{u"lzm.lzm"_s});
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{u"b"_s, u"help"_s, u"s"_s, u"t"_s, u"test.ini"_s}));
}

void EditorTest::unreadableFileIsNamed()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 1);
    // A folder in place of the question file: it exists but cannot be read.
    QFile::remove(exam + u"/b1/q1.txt"_s);
    QDir().mkpath(exam + u"/b1/q1.txt"_s);
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    chooseExam(editor, exam);
    openQuestion(editor, u"1"_s, 1);
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Не удалось прочитать файл "_s + exam + u"/b1/q1.txt"_s});
    QCOMPARE(control<QPlainTextEdit>(editor, "Text1")->toPlainText(), QString());
    QCOMPARE(control<QPlainTextEdit>(editor, "Text2")->toPlainText(), u"Да\nНет\nНе знаю\n"_s);
}

void EditorTest::ticketStatus_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QString>("ticketStatus");
    QTest::addColumn<QString>("questionStatus");
    QTest::newRow("rus existing") << u"rus"_s << u"1"_s << u"Билет № b1 уже создан"_s << u"Вопрос № 2 уже создан"_s;
    QTest::newRow("rus missing") << u"rus"_s << u"5"_s << u"Создать билет № "_s << u"Создать вопрос № 2"_s;
    QTest::newRow("eng existing, question status Russian")
        << u"eng"_s << u"1"_s << u"Ticket № b1 already created"_s << u"Вопрос № 2 уже создан"_s;
    QTest::newRow("eng missing") << u"eng"_s << u"5"_s << u"To Create ticket № "_s << u"Создать вопрос № 2"_s;
    QTest::newRow("another language has no ticket status")
        << u"fra"_s << u"1"_s << QString() << u"Вопрос № 2 уже создан"_s;
}

void EditorTest::ticketStatus()
{
    QFETCH(QString, language);
    QFETCH(QString, ticket);
    QFETCH(QString, ticketStatus);
    QFETCH(QString, questionStatus);
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 2);
    ExamEditorWindow *editor = openEditor(folder, language);
    QVERIFY(editor);
    chooseExam(editor, exam);
    control<QLineEdit>(editor, "Text6")->setText(ticket);
    QCOMPARE(control<ActiveLabel>(editor, "Label9")->text(), ticketStatus);
    QCOMPARE(control<QLineEdit>(editor, "Text7")->text(), ticket == "1"_L1 ? u"b1"_s : QString());
    chooseQuestion(editor, 2);
    QCOMPARE(control<ActiveLabel>(editor, "Label10")->text(), questionStatus);
    QVERIFY(folder.platform.messages.isEmpty());
}

void EditorTest::pictureIsSavedAsBitmap()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Картинки"_s);
    fillQuestion(editor, u"1"_s, 2, u"Что на картинке?"_s, u"Море\nНебо"_s, u"Море"_s);
    const QString png = writePng(pictures, 40, 30);
    folder.platform.fileAnswers.enqueue(png);
    click(editor, "Label5");
    QCOMPARE(control<QLineEdit>(editor, "Text4")->text(), png);
    QCOMPARE(control<QLineEdit>(editor, "Text5")->text(), u"рисунок.png"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label12")->text(), u"Длина: 40"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label13")->text(), u"Высота: 30"_s);
    QVERIFY(shown(editor, "Label14"));
    QVERIFY(!shown(editor, "Label19"));

    click(editor, "Command2");
    QCOMPARE(control<QLineEdit>(editor, "Text8")->text(), u"0"_s);
    const QByteArray bitmap = folder.readBytes(u"b/Картинки/b1/k2.bmp"_s);
    QVERIFY(bitmap.startsWith("BM"));
    const QImage saved = QImage::fromData(bitmap, "BMP");
    QCOMPARE(saved.size(), QSize(40, 30));
    QCOMPARE(saved.pixelColor(0, 0), QColor(255, 0, 0));
    QCOMPARE(saved.pixelColor(10, 10), QColor(20, 120, 200));

    // Chosen again, the question shows its saved picture, which may be deleted.
    click(editor, "Command1");
    control<QLineEdit>(editor, "Text6")->setText(u"1"_s);
    chooseQuestion(editor, 2);
    QCOMPARE(control<ActiveLabel>(editor, "Label17")->text(), u"True"_s);
    QCOMPARE(control<ActiveLabel>(editor, "Label20")->text(), u"1"_s);
    QVERIFY(shown(editor, "Label19"));
    QCOMPARE(editor->picture().size(), QSize(40, 30));
    chooseQuestion(editor, 1);
    QCOMPARE(control<ActiveLabel>(editor, "Label20")->text(), u"0"_s);
    QVERIFY(!shown(editor, "Label19"));
    QVERIFY(!shown(editor, "Label11"));
    QCOMPARE(control<ActiveLabel>(editor, "Label12")->text(), QString());
}

void EditorTest::failedPictureSaveKeepsTheOldPicture()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Картинки"_s);
    folder.writeBytes(u"b/Картинки/b1/k2.bmp"_s, "old picture"_ba);
    fillQuestion(editor, u"1"_s, 2, u"Что на картинке?"_s, u"Море\nНебо"_s, u"Море"_s);
    folder.platform.fileAnswers.enqueue(writePng(pictures, 40, 30));
    click(editor, "Label5");
    folder.platform.messages.clear();

    // The three text files are written; the disk is full half way through the picture.
    AnsiText::Faults::failWriteAfter(100, 3);
    click(editor, "Command2");
    AnsiText::Faults::clear();
    QCOMPARE(folder.readBytes(u"b/Картинки/b1/k2.bmp"_s), "old picture"_ba);
    // The message names the file and the reason, in the window's language.
    QCOMPARE(folder.platform.messages.last().text,
             u"Не удалось записать файл "_s + folder.path(u"b/Картинки/b1/k2.bmp"_s) + u": на диске нет места"_s);
}

void EditorTest::pictureIsTakenAwayOrDeleted()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 1, 1);
    QImage(12, 8, QImage::Format_RGB32).save(exam + u"/b1/k1.bmp"_s, "BMP");
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    chooseExam(editor, exam);
    openQuestion(editor, u"1"_s, 1);
    QVERIFY(shown(editor, "Label19"));

    click(editor, "Label18");
    QVERIFY(editor->picture().isNull());
    QVERIFY(!shown(editor, "Label19"));
    QVERIFY(!shown(editor, "Label14"));
    QVERIFY(QFileInfo::exists(exam + u"/b1/k1.bmp"_s));

    chooseQuestion(editor, 1);
    QVERIFY(!editor->picture().isNull());
    click(editor, "Label19");
    QVERIFY(!QFileInfo::exists(exam + u"/b1/k1.bmp"_s));
    QVERIFY(editor->picture().isNull());
    QCOMPARE(control<ActiveLabel>(editor, "Label20")->text(), u"0"_s);
    QVERIFY(!shown(editor, "Label19"));
    QVERIFY(folder.platform.messages.isEmpty());
}

void EditorTest::deletingFollowsTheQuestionShown_data()
{
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QString>("number");
    QTest::newRow("another question number typed") << u"1"_s << u"2"_s;
    QTest::newRow("another ticket number typed") << u"2"_s << u"1"_s;
}

void EditorTest::deletingFollowsTheQuestionShown()
{
    QFETCH(QString, ticket);
    QFETCH(QString, number);
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"Экзамен"_s, 2, 2);
    const QStringList pictures{u"/b1/k1.bmp"_s, u"/b1/k2.bmp"_s, u"/b2/k1.bmp"_s};
    for (const QString &picture : pictures)
        QImage(12, 8, QImage::Format_RGB32).save(exam + picture, "BMP");
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    chooseExam(editor, exam);
    openQuestion(editor, u"1"_s, 1);
    QVERIFY(shown(editor, "Label19"));

    // The picture on screen is question 1's of ticket 1; the numbers now name another file.
    control<QLineEdit>(editor, "Text6")->setText(ticket);
    control<QComboBox>(editor, "Combo1")->setEditText(number);
    QCOMPARE(control<ActiveLabel>(editor, "Label20")->text(), u"0"_s);
    QVERIFY(!shown(editor, "Label19"));
    click(editor, "Label19");
    for (const QString &picture : pictures)
        QVERIFY2(QFileInfo::exists(exam + picture), qPrintable(picture));

    // Chosen from the list, the question shows its own picture, which may be deleted.
    chooseQuestion(editor, number.toInt());
    QVERIFY(shown(editor, "Label19"));
    click(editor, "Label19");
    QVERIFY(!QFileInfo::exists(exam + u"/b"_s + ticket + u"/k"_s + number + u".bmp"_s));
    QVERIFY(QFileInfo::exists(exam + u"/b1/k1.bmp"_s));
}

void EditorTest::rejectedPictureChangesNothing()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder, u"eng"_s);
    QVERIFY(editor);
    createExam(editor, u"Exam"_s);
    const QString png = writePng(pictures, 20, 10);
    folder.platform.fileAnswers.enqueue(png);
    click(editor, "Label5");
    const QString broken = pictures.path() + u"/broken.png"_s;
    AnsiText::writeBytes(broken, "not a picture");
    folder.platform.fileAnswers.enqueue(broken);
    click(editor, "Label5");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Could not load a picture from the file "_s + broken});
    QCOMPARE(control<QLineEdit>(editor, "Text4")->text(), png);
    QCOMPARE(editor->picture().size(), QSize(20, 10));
    QCOMPARE(control<ActiveLabel>(editor, "Label12")->text(), u"Длина: 20"_s);

    // A cancelled dialog changes nothing either.
    click(editor, "Label5");
    QCOMPARE(control<QLineEdit>(editor, "Text4")->text(), png);
    QCOMPARE(editor->picture().size(), QSize(20, 10));
}

void EditorTest::pictureTriggerStaysArmedWithoutQuestionNumber()
{
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Триггер"_s);
    control<QLineEdit>(editor, "Text6")->setText(u"1"_s);
    folder.platform.fileAnswers.enqueue(writePng(pictures, 16, 16));
    click(editor, "Label5");

    // Saved without a question number: the trigger is armed but cannot fire.
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts(), QStringList{u"Отсутствует текст в одном из полей"_s});
    QCOMPARE(control<QLineEdit>(editor, "Text8")->text(), u"1"_s);
    QVERIFY(!QFileInfo::exists(folder.path(u"b/Триггер/b1"_s)));

    // That an armed trigger never fires again is the editor state's test. "Новый билет" resets
    // it; the next save with a picture writes it.
    click(editor, "Command1");
    QCOMPARE(control<QLineEdit>(editor, "Text8")->text(), u"0"_s);
    fillQuestion(editor, u"1"_s, 1, u"Вопрос"_s, u"Да\nНет"_s, u"Да"_s);
    folder.platform.fileAnswers.enqueue(writePng(pictures, 16, 16));
    click(editor, "Label5");
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts().last(), u"Сохранено!"_s);
    QVERIFY(QFileInfo::exists(folder.path(u"b/Триггер/b1/k1.bmp"_s)));
}

void EditorTest::pictureSizeWindowInEditorMode_data()
{
    QTest::addColumn<bool>("enter");
    QTest::newRow("Ввести hands the size over") << true;
    QTest::newRow("unticked changes nothing") << false;
}

void EditorTest::pictureSizeWindowInEditorMode()
{
    QFETCH(bool, enter);
    QTemporaryDir pictures;
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Размер"_s);
    folder.platform.fileAnswers.enqueue(writePng(pictures, 40, 30));
    click(editor, "Label5");
    click(editor, "Label14");

    PictureSizeWindow *sizing = folder.app().pictureSizeWindow();
    QVERIFY(sizing);
    QCOMPARE(control<ActiveLabel>(sizing, "Label1")->text(), u"1"_s);
    QCOMPARE(control<ActiveLabel>(sizing, "Label2")->text(), u"Длина: 40 "_s);
    QCOMPARE(control<ActiveLabel>(sizing, "Label3")->text(), u"Высота: 30  пик"_s);
    sizing->onTimer1();
    QVERIFY(shown(sizing, "Frame8"));
    QCOMPARE(control<QLabel>(sizing, "Image1")->size(), QSize(40, 30));

    // A fixed size is tried only once both boxes hold one.
    control<QLineEdit>(sizing, "Text4")->setText(u"200"_s);
    control<QLineEdit>(sizing, "Text1")->setText(QString());
    control<QRadioButton>(sizing, "Option1")->click();
    QCOMPARE(control<QLabel>(sizing, "Image1")->size(), QSize(40, 30));
    control<QLineEdit>(sizing, "Text1")->setText(u"100"_s);
    QCOMPARE(control<QLabel>(sizing, "Image1")->size(), QSize(200, 100));
    control<QRadioButton>(sizing, "Option2")->click();
    QCOMPARE(control<QLabel>(sizing, "Image1")->size(), QSize(40, 30));
    control<QRadioButton>(sizing, "Option1")->click();

    SettingsWindow *settings = folder.app().settingsWindow();
    const QString width = control<QLineEdit>(settings, "Text4")->text();
    const QString height = control<QLineEdit>(settings, "Text1")->text();
    control<QCheckBox>(sizing, "Check1")->setChecked(enter);
    click(sizing, "Command2");
    QVERIFY(!folder.app().pictureSizeWindow());
    QVERIFY(folder.app().examEditor());
    QCOMPARE(control<QLineEdit>(settings, "Text4")->text(), enter ? u"200"_s : width);
    QCOMPARE(control<QLineEdit>(settings, "Text1")->text(), enter ? u"100"_s : height);
    QCOMPARE(control<ActiveLabel>(settings, "Label16")->text(), enter ? u"1"_s : u"2"_s);
}

void EditorTest::examRunsInTheTicketWindow()
{
    ProgramFolder folder;
    ExamEditorWindow *editor = openEditor(folder);
    QVERIFY(editor);
    createExam(editor, u"Раунд"_s);
    const QStringList correct{u"Париж"_s, u"Берлин"_s, u"Рим"_s};
    for (const QString &ticket : {u"1"_s, u"2"_s}) {
        for (int n = 1; n <= 3; ++n) {
            fillQuestion(editor, ticket, n, u"Столица, вопрос %1\nбилета %2"_s.arg(n).arg(ticket),
                         u"Париж\nБерлин\nРим"_s, correct[n - 1]);
            click(editor, "Command2");
        }
    }
    // A question loaded and saved again keeps its answers to three entries.
    openQuestion(editor, u"2"_s, 2);
    click(editor, "Command2");
    QCOMPARE(folder.platform.messageTexts(), QStringList(7, u"Сохранено!"_s));
    click(editor, "Command7");
    click(editor, "Command12");
    const QString exam = folder.path(u"b/Раунд"_s);
    QCOMPARE(control<QLineEdit>(folder.app().settingsWindow(), "Text6")->text(), exam);

    // The exam chooser recognises it and counts two tickets of three questions.
    click(folder.app().settingsWindow(), "Label18");
    ExamChooserWindow *chooser = folder.app().examChooser();
    QVERIFY(chooser);
    control<QLineEdit>(chooser, "Text1")->setText(exam);
    QVERIFY(control<QPushButton>(chooser, "Command1")->isEnabled());
    click(chooser, "Command1");
    QCOMPARE(control<QLineEdit>(chooser, "Text2")->text(), u"2"_s);
    QCOMPARE(control<QLineEdit>(chooser, "Text8")->text(), u"3"_s);
    QVERIFY(!shown(chooser, "Frame1"));
    QCOMPARE(folder.platform.messages.size(), 7);

    TicketWindow *ticket = openTicketByNumber(folder.app(), u"2"_s);
    QVERIFY(ticket);
    const QStringList chosen{u"Париж"_s, u"Рим"_s, u"Рим"_s};
    for (int n = 1; n <= 3; ++n) {
        QCOMPARE(ticket->currentQuestion(), n);
        auto *list = control<QListView>(ticket, "List1");
        QCOMPARE(rowCount(list), 3);
        QCOMPARE(rowTexts(list).count(chosen[n - 1]), 1);
        QVERIFY(answer(ticket, chosen[n - 1]));
        if (n < 3)
            control<QRadioButton>(ticket, "Option", n)->click();
    }
    QCOMPARE(control<QLineEdit>(ticket, "txt", 0)->text(), u"5"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 1)->text(), u"2"_s);
    QCOMPARE(control<QLineEdit>(ticket, "txt", 2)->text(), u"5"_s);
    QCOMPARE(control<ActiveLabel>(ticket, "q", 1)->text(), u"Столица, вопрос 2\nбилета 2\n"_s);
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
