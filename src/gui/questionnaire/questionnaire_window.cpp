#include "gui/questionnaire/questionnaire_window.h"

#include "core/files/clock.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/files/path_names.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/questionnaire/questionnaire_report.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/screen_reader.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

using namespace Qt::StringLiterals;

namespace {

// The open-file dialog offers questionnaire files only.
const QString FileFilter = u"Файлы tst (*.tst)"_s;

// Window heights: the run, the editor's start panel, editing questions and conclusions.
constexpr int RunHeight = 6945;
constexpr int PanelHeight = 6960;
constexpr int EditHeight = 9700;

const QRect Panel(tw(120), tw(1200), tw(9615), tw(5300));
const QRect ConclusionsPanel(tw(120), tw(4920), tw(9615), tw(4335));
constexpr int WindowWidth = tw(9855);

ActiveLabel *label(QWidget *parent, const QString &name, const QRect &geometry,
                   const QString &caption = QString())
{
    auto *made = makeControl<ActiveLabel>(parent, name, geometry, caption);
    made->setTextFormat(Qt::PlainText);
    return made;
}

// A hidden carrier of a value.
QLineEdit *carrier(QWidget *parent, const QString &name, const QString &value = QString())
{
    auto *box = makeControl<QLineEdit>(parent, name, QRect(0, 0, 40, 20));
    box->setText(value);
    box->hide();
    return box;
}

// A question number is its question's file name and INI section, so the number boxes take
// nothing but a whole number 1 ... 32767 as the user types or pastes.
class QuestionNumberValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Intermediate;
        return PathNames::isQuestionNumber(input) ? Acceptable : Invalid;
    }
};

QString numbered(const char *stem, int number)
{
    return QLatin1StringView(stem) + QString::number(number);
}

} // namespace

QuestionnaireWindow::QuestionnaireWindow(const WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    setObjectName(u"Form6"_s);
    setWindowTitle(u"Тест-тавринг"_s);
    buildControls();
    connectHandlers();
    load();
}

void QuestionnaireWindow::buildControls()
{
    Label1 = label(this, u"Label1"_s, QRect(0, 0, 20, 16), u"0"_s);
    Label1->hide();
    Label10 = label(this, u"Label10"_s, QRect(0, 0, 20, 16), u"0"_s);
    Label12 = label(this, u"Label12"_s, QRect(0, 0, 20, 16), u"0"_s);
    Text4 = carrier(this, u"Text4"_s);
    Text12 = carrier(this, u"Text12"_s);
    Text3 = carrier(this, u"Text3"_s);
    for (int slot = 0; slot < 5; ++slot)
        txtnSlot[slot] = carrier(this, numbered("txtn", slot + 1), u"0"_s);
    txtn = carrier(this, u"txtn"_s);
    List1 = makeControl<QListWidget>(this, u"List1"_s, QRect(-200, -200, 40, 40));
    List1->hide();

    Command5 = makeControl<QPushButton>(this, u"Command5"_s, QRect(8, 8, 124, 28), u"Выбрать тест"_s);
    Command6 = makeControl<QPushButton>(this, u"Command6"_s, QRect(138, 8, 116, 28), u"Редактор-тест"_s);
    Command3 = makeControl<QPushButton>(this, u"Command3"_s, QRect(260, 8, 76, 28), u"Сброс"_s);
    Command18 = makeControl<QPushButton>(this, u"Command18"_s, QRect(342, 8, 76, 28), u"Отчет"_s);
    Command10 = makeControl<QPushButton>(this, u"Command10"_s, QRect(WindowWidth - 170, 8, 78, 28), u"Помощь"_s);
    Command2 = makeControl<QPushButton>(this, u"Command2"_s, QRect(WindowWidth - 86, 8, 78, 28), u"Выход"_s);
    Check1 = makeControl<QCheckBox>(this, u"Check1"_s, QRect(10, 40, 220, 20), u"формировать отчет"_s);
    Label13 = label(this, u"Label13"_s, QRect(WindowWidth - 228, 40, 220, 20), u"Вернутся к выбору"_s);
    Label13->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label13->setClickable(true);
    Label16 = label(this, u"Label16"_s, QRect(10, 60, WindowWidth - 20, 18));

    buildQuestionFrame();
    buildEditorPanels();
}

void QuestionnaireWindow::buildQuestionFrame()
{
    const int width = Panel.width();
    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, QRect(Panel.left(), Panel.top(), width, 246), u"Вопрос"_s);
    Label2 = label(Frame1, u"Label2"_s, QRect(10, 22, 56, 20), u"вопрос"_s);
    Text1 = makeControl<QLineEdit>(Frame1, u"Text1"_s, QRect(68, 20, 44, 22));
    Text1->setValidator(new QuestionNumberValidator(Text1));
    Label14 = label(Frame1, u"Label14"_s, QRect(118, 22, 64, 20));
    Command1 = makeControl<QPushButton>(Frame1, u"Command1"_s, QRect(186, 19, 40, 24), u">>"_s);
    Label17 = label(Frame1, u"Label17"_s, QRect(234, 22, width - 244, 20));
    txtV = makeControl<QPlainTextEdit>(Frame1, u"txtV"_s, QRect(10, 46, width - 20, 60));

    Frame2 = makeControl<QGroupBox>(Frame1, u"Frame2"_s, QRect(10, 108, width - 20, 132), u"Выбрать ответ"_s);
    const int answersWidth = Frame2->width();
    // The options stand in a narrow column left of the answers; Option6 lies below the
    // column's visible part.
    Frame7 = makeControl<QGroupBox>(Frame2, u"Frame7"_s, QRect(4, 16, 28, 112));
    Frame7->setFlat(true);
    Frame7->setStyleSheet(u"QGroupBox#Frame7 { border: none; margin: 0; padding: 0; }"_s);
    for (int slot = 0; slot < 5; ++slot)
        Option[slot] = makeControl<QRadioButton>(Frame7, numbered("Option", slot + 1), QRect(6, 2 + slot * 22, 20, 20));
    // Option6 only clears the choice; nobody sees it, and no assistive tool offers it.
    Option[5] = new QRadioButton();
    concealFromScreenReaders(Option[5]);
    Option[5]->setParent(Frame7);
    Option[5]->setObjectName(u"Option6"_s);
    Option[5]->setGeometry(6, 200, 20, 20);
    Frame5 = makeControl<QGroupBox>(Frame2, u"Frame5"_s, QRect(answersWidth - 106, 8, 100, 120));
    Frame5->setFlat(true);
    Frame5->setStyleSheet(u"QGroupBox#Frame5 { border: none; margin: 0; padding: 0; }"_s);
    for (int slot = 0; slot < 5; ++slot) {
        txtq[slot] = makeControl<QLineEdit>(Frame2, numbered("txtq", slot + 1),
                                     QRect(36, 18 + slot * 22, answersWidth - 146, 21));
        txtb[slot] = makeControl<QLineEdit>(Frame5, numbered("txtb", slot + 1), QRect(4, 10 + slot * 22, 92, 21));
        txtb[slot]->setText(u"0"_s);
    }

    // The conclusion of a finished run, below the question.
    Frame6 = makeControl<QGroupBox>(this, u"Frame6"_s,
                             QRect(Panel.left(), Panel.top() + 250, width, tw(RunHeight) - Panel.top() - 256),
                             u"Вывод"_s);
    Label11 = label(Frame6, u"Label11"_s, QRect(10, 20, width - 52, Frame6->height() - 26));
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label11->setWordWrap(true);
    Command15 = makeControl<QPushButton>(Frame6, u"Command15"_s, QRect(width - 36, 22, 28, 22), u"X"_s);
}

void QuestionnaireWindow::buildEditorPanels()
{
    Frame3 = makeControl<QGroupBox>(this, u"Frame3"_s, Panel, u"Имя теста"_s);
    Frame3->setAutoFillBackground(true);
    Label15 = label(Frame3, u"Label15"_s, QRect(12, 26, Panel.width() - 24, 20));
    Label9 = label(Frame3, u"Label9"_s, QRect(12, 62, 300, 20), u"Ввод имени теста"_s);
    Text2 = makeControl<QLineEdit>(Frame3, u"Text2"_s, QRect(12, 84, 320, 24));
    Command11 = makeControl<QPushButton>(Frame3, u"Command11"_s, QRect(12, 132, 170, 30), u"Создать тест"_s);
    Command13 = makeControl<QPushButton>(Frame3, u"Command13"_s, QRect(190, 132, 170, 30), u"Редактировать тест"_s);
    Command12 = makeControl<QPushButton>(Frame3, u"Command12"_s, QRect(368, 132, 120, 30), u"Закрыть"_s);

    Frame4 = makeControl<QGroupBox>(this, u"Frame4"_s, ConclusionsPanel, u"Редактор-тест"_s);
    Frame4->setAutoFillBackground(true);
    const std::array<ActiveLabel **, 3> conclusionCaptions{&Label3, &Label4, &Label5};
    const std::array<ActiveLabel **, 3> boundCaptions{&Label6, &Label7, &Label8};
    const std::array<QPlainTextEdit **, 3> conclusionBoxes{&Text5, &Text7, &Text6};
    const std::array<QLineEdit **, 3> boundBoxes{&Text8, &Text9, &Text10};
    const std::array<const char *, 3> conclusionNames{"Text5", "Text7", "Text6"};
    const int textWidth = ConclusionsPanel.width() - 200;
    for (int row = 0; row < 3; ++row) {
        const int top = 22 + row * 64;
        *conclusionCaptions[row] = label(Frame4, numbered("Label", 3 + row), QRect(10, top, 200, 18),
                                         numbered("Вывод ", row + 1));
        *conclusionBoxes[row] = makeControl<QPlainTextEdit>(Frame4, QLatin1StringView(conclusionNames[row]).toString(),
                                                     QRect(10, top + 18, textWidth, 42));
        *boundCaptions[row] = label(Frame4, numbered("Label", 6 + row), QRect(textWidth + 20, top, 170, 18),
                                    numbered("Общий балл ", row + 1));
        *boundBoxes[row] = makeControl<QLineEdit>(Frame4, numbered("Text", 8 + row),
                                           QRect(textWidth + 20, top + 18, 100, 24));
        (*boundBoxes[row])->setText(u"0"_s);
    }
    Command4 = makeControl<QPushButton>(Frame4, u"Command4"_s, QRect(10, 240, 160, 30), u"Сохранить вопрос"_s);
    Command9 = makeControl<QPushButton>(Frame4, u"Command9"_s, QRect(178, 240, 160, 30), u"Сохранить выводы"_s);
    Command8 = makeControl<QPushButton>(Frame4, u"Command8"_s, QRect(346, 240, 110, 30), u"Закрыть"_s);
    Command17 = makeControl<QPushButton>(Frame4, u"Command17"_s, QRect(464, 240, 110, 30), u"Помощь"_s);

    // The prompt covers the whole question frame, which saving a question has just emptied:
    // nothing of the question sticks out from under it.
    Frame8 = makeControl<QGroupBox>(this, u"Frame8"_s, Frame1->geometry(), u"Введите номер следующего вопроса"_s);
    Frame8->setAutoFillBackground(true);
    Text11 = makeControl<QLineEdit>(Frame8, u"Text11"_s, QRect(10, 28, 80, 26));
    Text11->setValidator(new QuestionNumberValidator(Text11));
    Command14 = makeControl<QPushButton>(Frame8, u"Command14"_s, QRect(100, 26, 70, 30), u"ОК"_s);
    Command16 = makeControl<QPushButton>(Frame8, u"Command16"_s, QRect(178, 26, 110, 30), u"Закрыть"_s);
}

void QuestionnaireWindow::connectHandlers()
{
    connect(Command5, &QPushButton::clicked, this, &QuestionnaireWindow::chooseQuestionnaire);
    connect(Command6, &QPushButton::clicked, this, &QuestionnaireWindow::openEditor);
    connect(Command3, &QPushButton::clicked, this, &QuestionnaireWindow::reset);
    connect(Command15, &QPushButton::clicked, Frame6, &QWidget::hide);
    connect(Command18, &QPushButton::clicked, this, [this] {
        m_context.openText(m_context.paths().questionnaireReport(), language());
    });
    connect(Command10, &QPushButton::clicked, this, [this] { m_context.openHelp(language()); });
    connect(Command17, &QPushButton::clicked, this, [this] { m_context.openHelp(language()); });
    connect(Command2, &QPushButton::clicked, this, &QuestionnaireWindow::exitRequested);
    connect(Label13, &ActiveLabel::clicked, this, &QuestionnaireWindow::closed);
    connect(Command1, &QPushButton::clicked, this, &QuestionnaireWindow::nextQuestion);
    for (int slot = 0; slot < 5; ++slot) {
        connect(Option[slot], &QRadioButton::toggled, this, [this, slot](bool selected) {
            if (selected)
                answer(slot);
        });
        connect(txtq[slot], &QLineEdit::textChanged, this, [this, slot](const QString &text) {
            Option[slot]->setEnabled(!text.isEmpty());
            promptIfCreating();
        });
        connect(txtb[slot], &QLineEdit::textChanged, this, [this, slot] { checkNumberBox(txtb[slot]); });
    }
    for (QLineEdit *bound : {Text8, Text9, Text10})
        connect(bound, &QLineEdit::textChanged, this, [this, bound] { checkNumberBox(bound); });
    connect(txtV, &QPlainTextEdit::textChanged, this, &QuestionnaireWindow::promptIfCreating);
    // The number box is typed into as well: the run follows it, and every change loads.
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        m_run.setQuestionNumber(Text1->text());
        numberChanged();
    });
    connect(Text3, &QLineEdit::textChanged, this, &QuestionnaireWindow::filePicked);
    connect(Text2, &QLineEdit::textChanged, Text12, &QLineEdit::setText);
    connect(Text12, &QLineEdit::textChanged, this, &QuestionnaireWindow::writeHeader);
    connect(Check1, &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            writeHeader();
    });
    connect(Text4, &QLineEdit::textChanged, this, [this](const QString &count) {
        Label14->setText(text(u"из "_s, u"from "_s) + count);
    });
    connect(Label15, &ActiveLabel::captionChanged, Label17, &ActiveLabel::setText);
    connect(Text11, &QLineEdit::textChanged, this, [this](const QString &number) {
        if (!number.isEmpty())
            Command14->setEnabled(PathNames::isQuestionNumber(number));
    });

    connect(Command11, &QPushButton::clicked, this, &QuestionnaireWindow::createQuestionnaire);
    connect(Command13, &QPushButton::clicked, this, &QuestionnaireWindow::editQuestionnaire);
    connect(Command4, &QPushButton::clicked, this, &QuestionnaireWindow::saveQuestion);
    connect(Command14, &QPushButton::clicked, this, &QuestionnaireWindow::confirmNextNumber);
    connect(Command9, &QPushButton::clicked, this, &QuestionnaireWindow::saveConclusions);
    connect(Command12, &QPushButton::clicked, this, &QuestionnaireWindow::closeStartPanel);
    connect(Command8, &QPushButton::clicked, this, &QuestionnaireWindow::closeEditor);
    connect(Command16, &QPushButton::clicked, this, &QuestionnaireWindow::closePrompt);

    // The mirrors of the run and of the editor's states.
    connect(&m_run, &QuestionnaireRun::questionNumberChanged, Text1, &QLineEdit::setText);
    connect(&m_run, &QuestionnaireRun::questionCountChanged, this, [this](int count) {
        Text4->setText(QString::number(count));
    });
    connect(&m_run, &QuestionnaireRun::collectedChanged, this, [this](int slot, QuestionnaireRun::Points points) {
        txtnSlot[slot]->setText(QuestionnaireRun::pointsText(points));
    });
    connect(&m_run, &QuestionnaireRun::totalChanged, this, [this](QuestionnaireRun::Points total) {
        txtn->setText(QuestionnaireRun::pointsText(total));
    });
    connect(&m_run, &QuestionnaireRun::concluded, this, &QuestionnaireWindow::showConclusion);
    connect(&m_editor, &QuestionnaireEditor::sourceChanged, this, [this](QuestionnaireEditor::Source source) {
        Label1->setText(QuestionnaireEditor::markerText(source));
    });
    connect(&m_editor, &QuestionnaireEditor::openChanged, this, [this](bool open) {
        Label10->setText(QuestionnaireEditor::markerText(open));
    });
    connect(&m_editor, &QuestionnaireEditor::creatingChanged, this, [this](bool creating) {
        Label12->setText(QuestionnaireEditor::markerText(creating));
    });
}

void QuestionnaireWindow::load()
{
    DisableXbutton(this);
    setFixedSize(WindowWidth, tw(RunHeight));
    for (QWidget *hidden : std::initializer_list<QWidget *>{Command1, Frame3, Frame4, Frame8, Frame6,
                                                           Text2, Label9, Text3, Label10, Label12})
        hidden->hide();
    showPointsColumn(false);
    Command14->setEnabled(false);
    Option[5]->setChecked(true);
    setEditable(false);
    Label16->setText(QString());
    setNumberBoxRaised(false);
    applyCaptions(captionTable(), language());
    applySpokenNames(spokenNames(), language());
}

// The window, and the boxes and options that have no caption of their own.
CaptionTable QuestionnaireWindow::spokenNames()
{
    CaptionTable names{{this, u"Тест"_s, u"Test"_s},
                       {Text1, u"Номер вопроса"_s, u"Question number"_s},
                       {txtV, u"Текст вопроса"_s, u"Question text"_s}};
    for (int slot = 0; slot < 5; ++slot) {
        const QString number = QString::number(slot + 1);
        names.push_back({Option[slot], u"Выбрать ответ "_s + number, u"Choose answer "_s + number});
        names.push_back({txtq[slot], u"Ответ "_s + number, u"Answer "_s + number});
        names.push_back({txtb[slot], u"Баллы ответа "_s + number, u"Points of answer "_s + number});
    }
    return names;
}

CaptionTable QuestionnaireWindow::captionTable() const
{
    return {
        {Frame1, u"Вопрос"_s, u"Question"_s},
        {Frame2, u"Выбрать ответ"_s, u"To Choose an answer"_s},
        {Label2, u"вопрос"_s, u"question"_s},
        {Label13, u"Вернутся к выбору"_s, u"Returned to the choice"_s},
        {Command5, u"Выбрать тест"_s, u"To Choose a test"_s},
        {Command6, u"Редактор-тест"_s, u"Editor"_s},
        {Command3, u"Сброс"_s, u"Unset"_s},
        {Command10, u"Помощь"_s, u"Help"_s},
        {Command2, u"Выход"_s, u"Output"_s},
        {Frame6, u"Вывод"_s, u"Conclusion"_s},
        {Frame3, u"Имя теста"_s, u"Name of test"_s},
        {Label9, u"Ввод имени теста"_s, u"Entering a name of test"_s},
        {Command11, u"Создать тест"_s, u"To Create a test"_s},
        {Command13, u"Редактировать тест"_s, u"To Edit a test"_s},
        {Command12, u"Закрыть"_s, u"To Close"_s},
        {Frame4, u"Редактор-тест"_s, u"Editor"_s},
        {Label3, u"Вывод 1"_s, u"Conclusion 1"_s},
        {Label4, u"Вывод 2"_s, u"Conclusion 2"_s},
        {Label5, u"Вывод 3"_s, u"Conclusion 3"_s},
        {Label6, u"Общий балл 1"_s, u"General ballet 1"_s},
        {Label7, u"Общий балл 2"_s, u"General ballet 2"_s},
        {Label8, u"Общий балл 3"_s, u"General ballet 3"_s},
        {Command4, u"Сохранить вопрос"_s, u"To Save a question"_s},
        {Command9, u"Сохранить выводы"_s, u"To Save findings"_s},
        {Command8, u"Закрыть"_s, u"To Close"_s},
        {Frame8, u"Введите номер следующего вопроса"_s, u"Enter following question number"_s},
        {Command16, u"Закрыть"_s, u"To Close"_s},
        {Command17, u"Помощь"_s, u"Help"_s},
        {Check1, u"формировать отчет"_s, u"to form report"_s},
        {Command18, u"Отчет"_s, u"Report"_s},
    };
}

// This window speaks Russian only when the language of the settings is "rus"; any other
// language gets the English captions and messages.
QString QuestionnaireWindow::language() const
{
    return text(u"rus"_s, u"eng"_s);
}

QString QuestionnaireWindow::text(const QString &russian, const QString &english) const
{
    return m_context.language().englishUnlessRussian(russian, english);
}

void QuestionnaireWindow::message(const QString &russian, const QString &english)
{
    m_context.message(ProgramTitle, text(russian, english));
}

void QuestionnaireWindow::writeFailed(const FileError &error)
{
    message(u"Не удалось записать файл "_s + error.path() + u":\n"_s + error.reason(LanguagePolicy(u"rus"_s)),
            u"Could not write the file "_s + error.path() + u":\n"_s + error.reason(LanguagePolicy(u"eng"_s)));
}

QString QuestionnaireWindow::pathLine() const
{
    return text(u"Путь к папки с тестами: "_s, u"Way to files with tests: "_s) + u' ' + m_context.paths().questionnaires()
           + u'/';
}

QString QuestionnaireWindow::questionnaireFolder() const
{
    return QuestionnaireFile::questionnaireFolder(m_context.paths().folder(), Text2->text());
}

QString QuestionnaireWindow::questionnaireFile() const
{
    return QuestionnaireFile::filePath(m_context.paths().folder(), Text2->text());
}

QString QuestionnaireWindow::questionText(const QString &number) const
{
    const QString folder = questionnaireFolder();
    const QString file = QuestionnaireFile::questionFileName(number);
    if (folder.isEmpty() || !isPathComponent(file))
        return QString();
    return QuestionnaireFile::readText(folder + u'/' + file);
}

// The questionnaire name becomes a folder and a file name. A new name must be one that every
// workstation can hold; the name of a questionnaire made before need only stay one level of
// a path, so that it is still opened and saved as it is.
bool QuestionnaireWindow::acceptName(NameUse use)
{
    const QString name = Text2->text();
    if (name.isEmpty()) {
        message(u"Не введено имя теста"_s, u"Not incorporated a name of test"_s);
        return false;
    }
    if (use == NameUse::New) {
        if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None) {
            const PathNames::Refusal why = PathNames::refusal(name, problem);
            message(why.russian, why.english);
            return false;
        }
    } else if (!isPathComponent(name)) {
        message(u"Имя теста не может содержать \"/\" или \"\\\" и не может быть \".\" или \"..\": "_s + name,
                u"A name of test cannot hold \"/\" or \"\\\" and cannot be \".\" or \"..\": "_s + name);
        return false;
    }
    return true;
}

void QuestionnaireWindow::setEditable(bool editable)
{
    txtV->setReadOnly(!editable);
    for (QLineEdit *answerBox : txtq)
        answerBox->setReadOnly(!editable);
}

// The number box looks like a plain caption while running and like an input box while
// a new questionnaire is written.
void QuestionnaireWindow::setNumberBoxRaised(bool raised)
{
    Text1->setFrame(raised);
    Text1->setAutoFillBackground(raised);
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, raised ? QPalette().color(QPalette::Base)
                                            : QPalette().color(QPalette::Window));
    Text1->setPalette(palette);
}

// The answers take the room of the points column while it is hidden.
void QuestionnaireWindow::showPointsColumn(bool shown)
{
    Frame5->setVisible(shown);
    const int width = (shown ? Frame5->x() : Frame2->width()) - 6 - txtq[0]->x();
    for (QLineEdit *answerBox : txtq)
        answerBox->resize(width, answerBox->height());
}

void QuestionnaireWindow::clearQuestion()
{
    txtV->clear();
    for (QLineEdit *answerBox : txtq)
        answerBox->clear();
    for (QLineEdit *points : txtb)
        points->setText(u"0"_s);
    m_run.clearCollected();
}

// Reads the questionnaire name and the answers and points of the current question from the
// picked file, and the question text from the questionnaire's folder.
void QuestionnaireWindow::readQuestionFromFile(const IniFile &file)
{
    Text2->setText(QuestionnaireFile::readHeader(file).name);
    const QuestionnaireFile::Answers answers = QuestionnaireFile::readAnswers(file, m_run.questionNumber());
    for (int slot = 0; slot < 5; ++slot) {
        txtq[slot]->setText(answers.texts[slot]);
        txtb[slot]->setText(answers.points[slot]);
    }
}

void QuestionnaireWindow::showBounds(const QuestionnaireFile::Header &header)
{
    Text8->setText(header.bounds[0]);
    Text9->setText(header.bounds[1]);
    Text10->setText(header.bounds[2]);
}

void QuestionnaireWindow::readConclusions()
{
    const QString folder = questionnaireFolder();
    QPlainTextEdit *const boxes[] = {Text5, Text7, Text6};
    for (int conclusion = 1; conclusion <= 3; ++conclusion) {
        boxes[conclusion - 1]->setPlainText(
            folder.isEmpty() ? QString()
                             : QuestionnaireFile::readText(folder + u'/' + QuestionnaireFile::conclusionFileName(conclusion)));
    }
}

// The entries of the questionnaire folder go to the hidden list; the count of questions to
// the run, which Text4 mirrors.
void QuestionnaireWindow::countQuestions()
{
    QStringList entries;
    const int count = QuestionnaireFile::questionCount(questionnaireFolder(), &entries);
    List1->clear();
    List1->addItems(entries);
    m_run.setQuestionCount(count);
}

void QuestionnaireWindow::enableAnswerOptions()
{
    for (int slot = 0; slot < 5; ++slot)
        Option[slot]->setEnabled(!txtq[slot]->text().isEmpty());
}

void QuestionnaireWindow::chooseQuestionnaire()
{
    Label16->setText(pathLine());
    // The question frame named the folder for the editor; the run names it once, above.
    Label17->clear();
    Option[5]->setChecked(true);
    // The old file is let go before the number goes back to 1, so that going back does
    // not load the old questionnaire's first question (and write its name to the report).
    Text3->clear();
    clearQuestion();
    Text2->clear();
    m_run.rewind();
    setEditable(false);
    m_editor.setSource(QuestionnaireEditor::Source::File);

    Text3->setText(m_context.platform().openFileName(text(u"Выбрать тест"_s, u"To Choose a test"_s),
                                                     m_context.paths().questionnaires(), FileFilter));
    if (!Text2->text().isEmpty())
        countQuestions();
    if (!Text3->text().isEmpty()) {
        const QuestionnaireFile::Header header = QuestionnaireFile::readHeader(Text3->text());
        Text12->setText(header.name);
        showBounds(header);
    }
    if (!Text2->text().isEmpty()) {
        readConclusions();
        enableAnswerOptions();
    }
}

void QuestionnaireWindow::filePicked(const QString &path)
{
    if (path.isEmpty())
        return;
    readQuestionFromFile(IniFile(path));
    if (m_editor.readsFile())
        txtV->setPlainText(questionText(m_run.questionNumber()));
}

// Every change of the number loads that question. The conclusion boxes are not written
// back here: they reach their files only through "Сохранить выводы".
void QuestionnaireWindow::numberChanged()
{
    if (!m_editor.readsFile()) {
        clearQuestion();
        m_run.clearTotal();
        return;
    }
    if (!Text3->text().isEmpty()) {
        // The name, the answers and the bounds come from one read of the file.
        const IniFile file(Text3->text());
        readQuestionFromFile(file);
        showBounds(QuestionnaireFile::readHeader(file));
    }
    if (!m_run.questionNumber().isEmpty())
        txtV->setPlainText(questionText(m_run.questionNumber()));
}

void QuestionnaireWindow::answer(int slot)
{
    m_run.collect(slot, txtb[slot]->text());
    if (Check1->isChecked() && !txtV->toPlainText().isEmpty())
        appendReport(QuestionnaireReport::answerLine(txtV->toPlainText(), txtq[slot]->text(), txtb[slot]->text()));
    nextQuestion();
    if (slot < 4)
        Label16->clear();
}

// The ">>" logic: the answers press it in the run; in the editor the button browses.
void QuestionnaireWindow::nextQuestion()
{
    if (m_editor.isOpen()) {
        browse();
        return;
    }
    switch (m_run.next()) {
    case QuestionnaireRun::Step::NoQuestionnaire:
        message(u"Не выбран тест!"_s, u"Not choose test!"_s);
        Option[5]->setChecked(true);
        return;
    case QuestionnaireRun::Step::Ended:
        message(u"Тест окончен"_s, u"End of test"_s);
        Option[5]->setChecked(true);
        if (!m_run.finish(boundTexts()))
            message(u"Сумма баллов вышла за пределы допустимого, общий балл не подсчитан"_s,
                    u"The sum of points is out of range, no total"_s);
        return;
    case QuestionnaireRun::Step::NextQuestion:
        Option[5]->setChecked(true);
        return;
    }
}

// A total that no range holds leaves the conclusion of an earlier end in place.
void QuestionnaireWindow::showConclusion(std::optional<int> conclusion)
{
    const std::array<QString, QuestionnaireRun::Conclusions> conclusions = conclusionTexts();
    if (conclusion)
        Label11->setText(conclusions[*conclusion - 1]);
    Frame6->show();
    Frame6->raise();
    if (Check1->isChecked() && m_run.total())
        appendReport(QuestionnaireReport::conclusionBlock(QuestionnaireRun::pointsText(m_run.total()), Label11->text(),
                                                          conclusions, boundTexts()));
}

std::array<QString, QuestionnaireRun::Conclusions> QuestionnaireWindow::conclusionTexts() const
{
    return {Text5->toPlainText(), Text7->toPlainText(), Text6->toPlainText()};
}

std::array<QString, QuestionnaireRun::Conclusions> QuestionnaireWindow::boundTexts() const
{
    return {Text8->text(), Text9->text(), Text10->text()};
}

void QuestionnaireWindow::reset()
{
    m_run.restart();
    Option[5]->setChecked(true);
    Frame6->hide();
    if (Check1->isChecked()) {
        // The name goes out and comes back, so that the report gets a new header.
        m_context.platform().setClipboardText(Text12->text());
        Text12->clear();
        Text12->setText(m_context.platform().clipboardText());
    }
}

void QuestionnaireWindow::writeHeader()
{
    if (!Check1->isChecked() || Text12->text().isEmpty())
        return;
    const QDateTime now = m_context.platform().currentDateTime();
    appendReport(QuestionnaireReport::header(Text12->text(), Clock::shortTime(now.time()), Clock::shortDate(now.date())));
}

void QuestionnaireWindow::appendReport(const QString &text)
{
    FileError error;
    if (QuestionnaireReport::append(m_context.paths().folder(), text, &error))
        return;
    message(u"Не удалось дописать отчет в файл "_s + error.path() + u":\n"_s + error.reason(LanguagePolicy(u"rus"_s)),
            u"Could not add to the report file "_s + error.path() + u":\n"_s + error.reason(LanguagePolicy(u"eng"_s)));
}

void QuestionnaireWindow::openEditor()
{
    Frame1->hide();
    Frame6->hide();
    // The run's line naming the tests folder goes: the editor's panels name it themselves.
    Label16->clear();
    m_editor.setSource(QuestionnaireEditor::Source::Typed);
    m_editor.setOpen(true);
    Text3->clear();
    clearQuestion();
    Text2->clear();
    m_run.rewind();
    setEditable(true);
    Frame3->show();
    Frame3->raise();
    move(x(), tw(10));
    setFixedHeight(tw(PanelHeight));
    Label15->setText(pathLine());
}

void QuestionnaireWindow::createQuestionnaire()
{
    // The first press shows the name box; the name is asked for only once it could be typed.
    const bool nameBoxNew = Text2->isHidden() && Text2->text().isEmpty();
    Text2->show();
    Label9->show();
    if (nameBoxNew) {
        Text2->setFocus();
        return;
    }
    const QString name = Text2->text();
    if (!acceptName(NameUse::New))
        return;
    FileError failed;
    if (!QuestionnaireFile::create(m_context.paths().folder(), name, &failed)) {
        writeFailed(failed);
        return;
    }

    setFixedHeight(tw(EditHeight));
    m_editor.setCreating(true);
    // A new questionnaire has no file open yet: changing the number clears the question.
    m_editor.setSource(QuestionnaireEditor::Source::Typed);
    setNumberBoxRaised(true);
    Command1->hide();
    Frame7->hide();

    Text2->hide();
    Label9->hide();
    Frame1->show();
    Text3->clear();
    clearQuestion();
    m_run.setQuestionNumber(u"1"_s);
    for (QPlainTextEdit *conclusion : {Text5, Text6, Text7})
        conclusion->clear();
    for (QLineEdit *bound : {Text8, Text9, Text10})
        bound->clear();
    setEditable(true);
    m_run.clearTotal();

    Frame4->show();
    Frame3->hide();
    showPointsColumn(true);
    txtV->setPlainText(u"1."_s);
}

void QuestionnaireWindow::editQuestionnaire()
{
    setFixedHeight(tw(EditHeight));
    Frame7->hide();
    Command1->show();
    Text2->hide();
    Label9->hide();
    Frame1->show();
    Text3->clear();
    clearQuestion();
    m_run.rewind();
    setEditable(true);
    m_run.clearTotal();
    m_editor.rewindBrowse();
    m_editor.setSource(QuestionnaireEditor::Source::File);

    Text3->setText(m_context.platform().openFileName(text(u"Редактировать тест"_s, u"To Edit a test"_s),
                                                     m_context.paths().questionnaires(), FileFilter));
    if (!Text3->text().isEmpty() && !Text2->text().isEmpty()) {
        countQuestions();
        Frame4->show();
        Frame3->hide();
        showPointsColumn(true);
    }
    if (!Text3->text().isEmpty()) {
        const QuestionnaireFile::Header header = QuestionnaireFile::readHeader(Text3->text());
        Text12->setText(header.name);
        showBounds(header);
    }
    if (!Text2->text().isEmpty())
        readConclusions();
}

void QuestionnaireWindow::saveQuestion()
{
    const QString number = m_run.questionNumber();
    const QString questionFile = QuestionnaireFile::questionFileName(number);
    // A number that is no question number (one that could not be read back as its section, or
    // would lead out of the questionnaire's folder) is as unfinished as an empty one.
    if (txtV->toPlainText().isEmpty() || !PathNames::isQuestionNumber(number)) {
        message(u"Ввод вопроса и номера теста не закончен"_s,
                u"Entering a question and number of test not legal"_s);
        return;
    }
    if (!acceptName())
        return;
    const QString folder = questionnaireFolder();
    QuestionnaireFile::Answers answers;
    for (int slot = 0; slot < 5; ++slot) {
        answers.texts[slot] = txtq[slot]->text();
        answers.points[slot] = txtb[slot]->text();
    }
    FileError failed;
    if (!QuestionnaireFile::writeText(folder + u'/' + questionFile, txtV->toPlainText(), &failed)
        || !QuestionnaireFile::writeAnswers(questionnaireFile(), number, answers, &failed)) {
        writeFailed(failed);
        return;
    }

    if (!m_editor.isCreating())
        return;
    Text11->setText(QuestionnaireEditor::followingNumber(number));
    m_run.setQuestionNumber(QString());
    for (QLineEdit *answerBox : txtq)
        answerBox->clear();
    for (QLineEdit *points : txtb)
        points->setText(u"0"_s);
}

void QuestionnaireWindow::confirmNextNumber()
{
    Frame8->hide();
    Frame1->setEnabled(true);
    const QString number = Text11->text();
    m_run.setQuestionNumber(number);
    txtV->setPlainText(number + u'.');
    Command14->setEnabled(false);
    Text11->clear();
}

void QuestionnaireWindow::saveConclusions()
{
    if (Text5->toPlainText().isEmpty() || Text6->toPlainText().isEmpty() || Text7->toPlainText().isEmpty()) {
        message(u"Ввод выводов не закончен"_s, u"Entering the conclusions not legal"_s);
        return;
    }
    if (!acceptName())
        return;
    const QString folder = questionnaireFolder();
    const QPlainTextEdit *const boxes[] = {Text5, Text7, Text6};
    FileError failed;
    for (int conclusion = 1; conclusion <= 3; ++conclusion) {
        if (!QuestionnaireFile::writeText(folder + u'/' + QuestionnaireFile::conclusionFileName(conclusion),
                                          boxes[conclusion - 1]->toPlainText(), &failed)) {
            writeFailed(failed);
            return;
        }
    }
    if (!QuestionnaireFile::writeBounds(questionnaireFile(), boundTexts(), &failed)) {
        writeFailed(failed);
        return;
    }
    message(u"Сохранено"_s, u"Preserved"_s);
}

void QuestionnaireWindow::browse()
{
    if (m_editor.browse() == QuestionnaireEditor::Browse::Ended) {
        message(u"Конец теста"_s, u"End of test"_s);
        m_editor.backToFirstQuestion();
    }
}

void QuestionnaireWindow::closeStartPanel()
{
    Frame3->hide();
    m_editor.setOpen(false);
    setFixedHeight(tw(PanelHeight));
    Text2->hide();
    Label9->hide();
    Frame1->show();
    Text2->clear();
    Frame7->show();
    Command1->hide();
}

void QuestionnaireWindow::closeEditor()
{
    Frame4->hide();
    showPointsColumn(false);
    closePrompt();
    m_editor.setOpen(false);
    setNumberBoxRaised(false);
    m_editor.setCreating(false);
    setFixedHeight(tw(PanelHeight));
    Command1->hide();
    Frame7->show();
}

void QuestionnaireWindow::closePrompt()
{
    Frame8->hide();
    Frame1->setEnabled(true);
    Command14->setEnabled(false);
    Text11->clear();
}

void QuestionnaireWindow::promptIfCreating()
{
    if (m_editor.isCreating() && m_run.questionNumber().isEmpty()) {
        Frame8->show();
        Frame8->raise();
        // The keys stay out of the question under the prompt.
        Frame1->setEnabled(false);
    }
}

// A box that does not hold an accepted number (letters, nothing, or beyond the 16-bit
// range) is set to "0"; a number stays as typed.
void QuestionnaireWindow::checkNumberBox(QLineEdit *box)
{
    if (!QuestionnaireFile::isAcceptedNumber(box->text()))
        box->setText(u"0"_s);
}
