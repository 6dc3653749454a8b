#include "gui/editor/exam_editor_window.h"

#include "core/exam/exam_editor_state.h"
#include "core/exam/exam_folder.h"
#include "core/files/folders.h"
#include "core/files/path_names.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"
#include "gui/editor/question_bitmap.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

// The two layouts. The window sizes of the design include the title bar and the border;
// the client area is the size of the panel it shows.
const QSize StartClient(tw(4575), tw(4575));
const QSize EditingClient(tw(10455), tw(8175));
const QPoint EditingPosition(tw(240), tw(240));

const QColor Red(255, 0, 0);
const QColor Green(0, 128, 0);
const QColor Blue(0, 0, 255);

ActiveLabel *link(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                  const QColor &colour)
{
    auto *label = makeLink(parent, name, caption, geometry);
    setTextColour(label, colour);
    return label;
}

QString flag(bool value)
{
    return value ? u"True"_s : u"False"_s;
}

QString digit(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

// The logo of the start panel: a ticket card with its questions and a pencil.
QPixmap logo(const QSize &size)
{
    QPixmap picture(size);
    picture.fill(QColor(236, 242, 250));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();

    const QRectF card(w * 0.14, h * 0.12, w * 0.56, h * 0.76);
    painter.setPen(QPen(QColor(60, 70, 100), 2));
    painter.setBrush(QColor(255, 252, 238));
    painter.drawRoundedRect(card, 6, 6);
    painter.setPen(QPen(QColor(200, 40, 40), 2));
    painter.drawLine(QPointF(card.left() + 10, card.top() + h * 0.14),
                     QPointF(card.right() - 10, card.top() + h * 0.14));
    painter.setPen(QPen(QColor(140, 150, 175), 1.5));
    for (int line = 0; line < 5; ++line) {
        const qreal y = card.top() + h * (0.26 + line * 0.1);
        painter.drawEllipse(QPointF(card.left() + 14, y), 2.5, 2.5);
        painter.drawLine(QPointF(card.left() + 24, y), QPointF(card.right() - 12, y));
    }

    painter.translate(w * 0.78, h * 0.5);
    painter.rotate(35);
    const qreal length = h * 0.62;
    const qreal thick = w * 0.05;
    painter.setPen(QPen(QColor(80, 60, 20), 1.5));
    painter.setBrush(QColor(240, 190, 50));
    painter.drawRect(QRectF(-thick / 2, -length / 2, thick, length * 0.8));
    QPainterPath tip;
    tip.moveTo(-thick / 2, length * 0.3);
    tip.lineTo(thick / 2, length * 0.3);
    tip.lineTo(0, length * 0.48);
    tip.closeSubpath();
    painter.setBrush(QColor(235, 210, 170));
    painter.drawPath(tip);
    return picture;
}

} // namespace

ExamEditorWindow::ExamEditorWindow(const WindowContext &context, ExamEditorState &state, QWidget *parent)
    : QWidget(parent), m_context(context), m_state(state), m_language(context.language())
{
    setObjectName(u"Form7"_s);
    setWindowTitle(ProgramTitle);
    // The panels are laid out in twips for a small dialog font; captions fit at this size.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    buildStartPanel();
    buildEditingPanel();
    connectHandlers();
    load();
}

void ExamEditorWindow::buildStartPanel()
{
    Frame6 = makeControl<QGroupBox>(this, u"Frame6"_s, twips(0, 0, 4575, 4575), u"Редактор"_s);

    Frame9 = makeControl<QGroupBox>(Frame6, u"Frame9"_s, twips(480, 240, 3855, 2655));
    Label24 = makeControl<QLabel>(Frame9, u"Label24"_s, QRect(8, 14, Frame9->width() - 16, 26), u"Тест - Тавринг"_s);
    Label24->setAlignment(Qt::AlignCenter);
    QFont titleFont = Label24->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(18);
    Label24->setFont(titleFont);
    setTextColour(Label24, QColor(0, 0, 128));
    Image2 = makeControl<QLabel>(Frame9, u"Image2"_s, QRect(40, 44, Frame9->width() - 80, Frame9->height() - 52));
    Image2->setPixmap(logo(Image2->size()));

    Frame10 = makeControl<QGroupBox>(Frame6, u"Frame10"_s, twips(1320, 3000, 1815, 1455));
    const int buttonWidth = Frame10->width() - 16;
    Command8 = makeControl<QPushButton>(Frame10, u"Command8"_s, QRect(8, 14, buttonWidth, 25), u"Редактировать "_s);
    Command9 = makeControl<QPushButton>(Frame10, u"Command9"_s, QRect(8, 42, buttonWidth, 25), u"Создать"_s);
    Command12 = makeControl<QPushButton>(Frame10, u"Command12"_s, QRect(8, 70, buttonWidth, 25), u"Закрыть"_s);
    Command12->setToolTip(u"Закрыть окно"_s);

    Frame5 = makeControl<QGroupBox>(Frame6, u"Frame5"_s, Frame9->geometry(),
                             u"Создать папку для экзамена или теста"_s);
    Label23 = makeControl<QLabel>(Frame5, u"Label23"_s, QRect(12, 40, 230, 18), u"Имя папки экзамена"_s);
    Text9 = makeControl<QLineEdit>(Frame5, u"Text9"_s, QRect(12, 62, Frame5->width() - 24, 24));
    Command5 = makeControl<QPushButton>(Frame5, u"Command5"_s, QRect(12, 110, 100, 28), u"OK"_s);
    Command13 = makeControl<QPushButton>(Frame5, u"Command13"_s, QRect(Frame5->width() - 112, 110, 100, 28),
                                  u"Закрыть"_s);
    Command13->setToolTip(u"Закрыть окно"_s);

    // The folder tree needs more room than the title panel: while it is shown the buttons
    // of Frame10 are hidden, so it reaches down over them.
    Frame7 = makeControl<QGroupBox>(Frame6, u"Frame7"_s, QRect(8, 16, Frame6->width() - 16, Frame6->height() - 24),
                             u"Выбор папки с экзаменом"_s);
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setRootPath(QDir::rootPath());
    Dir1 = makeControl<QTreeView>(Frame7, u"Dir1"_s, QRect(8, 20, Frame7->width() - 16, Frame7->height() - 62));
    Dir1->setModel(m_folders);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        Dir1->hideColumn(column);
    Command6 = makeControl<QPushButton>(Frame7, u"Command6"_s, QRect(8, Frame7->height() - 36, 100, 28), u"OK"_s);
    Command14 = makeControl<QPushButton>(Frame7, u"Command14"_s,
                                  QRect(Frame7->width() - 108, Frame7->height() - 36, 100, 28), u"Закрыть"_s);
    Command14->setToolTip(u"Закрыть окно"_s);

    Frame8 = makeControl<QGroupBox>(Frame6, u"Frame8"_s, QRect(0, 0, 200, 120));
    Text10 = makeControl<QLineEdit>(Frame8, u"Text10"_s, QRect(4, 4, 190, 22));
    Text11 = makeControl<QLineEdit>(Frame8, u"Text11"_s, QRect(4, 30, 190, 22));
    Text12 = makeControl<QLineEdit>(Frame8, u"Text12"_s, QRect(4, 56, 190, 22),
                                   ExamFolder::titleFileName());
    Label21 = makeControl<ActiveLabel>(Frame8, u"Label21"_s, QRect(4, 82, 60, 18));
}

void ExamEditorWindow::buildEditingPanel()
{
    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, twips(0, 0, 10455, 8175),
                             u"Создать билет, вопрос, ответ, картинку"_s);

    Label9 = makeControl<ActiveLabel>(Frame1, u"Label9"_s, twips(3120, 240, 2295, 255));
    Label10 = makeControl<ActiveLabel>(Frame1, u"Label10"_s, twips(5640, 240, 2415, 255));
    Label6 = makeControl<ActiveLabel>(Frame1, u"Label6"_s, twips(3000, 510, 960, 255), u"Билет №b"_s);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text6 = makeControl<QLineEdit>(Frame1, u"Text6"_s, twips(3960, 480, 1455, 315));
    Label7 = makeControl<ActiveLabel>(Frame1, u"Label7"_s, twips(5480, 510, 1000, 255), u"Вопрос №"_s);
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Combo1 = makeControl<QComboBox>(Frame1, u"Combo1"_s, twips(6480, 480, 1575, 315));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    for (int number = 1; number <= 20; ++number)
        Combo1->addItem(QString::number(number));
    // A typed question number names a file: only the numbers of the list can be typed.
    Combo1->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[1-9]|1[0-9]|20"_s), Combo1));
    Combo1->setCurrentIndex(-1);

    // The ticket's state line ends where the question's frame begins, not over its caption.
    Label22 = makeControl<ActiveLabel>(Frame1, u"Label22"_s, twips(120, 840, 10095, 1080 - 840));
    QFont bold = Label22->font();
    bold.setBold(true);
    Label22->setFont(bold);
    setTextColour(Label22, Red);

    Frame2 = makeControl<QGroupBox>(Frame1, u"Frame2"_s, twips(240, 1080, 10095, 1935), u"Вопрос"_s);
    Text1 = makeControl<QPlainTextEdit>(Frame2, u"Text1"_s, twips(120, 240, 6135, 1575));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label4 = makeControl<ActiveLabel>(Frame2, u"Label4"_s, twips(6480, 240, 3495, 255), u"Пример заполнения"_s);
    QFont underlined = Label4->font();
    underlined.setUnderline(true);
    Label4->setFont(underlined);
    Label1 = makeControl<ActiveLabel>(Frame2, u"Label1"_s, twips(6480, 540, 3495, 255), u"Как называется дом у лисы"_s);

    Frame3 = makeControl<QGroupBox>(Frame1, u"Frame3"_s, twips(240, 3240, 7695, 2535), u"Предложить ответы"_s);
    Text2 = makeControl<QPlainTextEdit>(Frame3, u"Text2"_s, twips(120, 240, 6135, 2175));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label2 = makeControl<ActiveLabel>(Frame3, u"Label2"_s, twips(6600, 240, 1000, 1095),
                               u"1.нора\n2.шалаш\n3.убежище\n4.конура"_s);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame4 = makeControl<QGroupBox>(Frame1, u"Frame4"_s, twips(240, 5880, 7695, 735), u"Правильный ответ"_s);
    Text3 = makeControl<QLineEdit>(Frame4, u"Text3"_s, twips(120, 240, 6135, 375));
    Label3 = makeControl<ActiveLabel>(Frame4, u"Label3"_s, twips(6600, 300, 1000, 255), u"1.нора"_s);

    Image1 = makeControl<QLabel>(Frame1, u"Image1"_s, twips(8040, 3240, 2295, 2175));
    Image1->setScaledContents(true);
    Image1->setFrameShape(QFrame::Box);
    Label19 = link(Frame1, u"Label19"_s, u"Удалить картинку из билета"_s, QRect(tw(6900), tw(3030), tw(10455 - 6900) - 8, 14), Red);
    Label19->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label18 = link(Frame1, u"Label18"_s, u"Убрать картинку"_s, twips(8280, 5460, 2100, 255), Blue);
    Label5 = link(Frame1, u"Label5"_s, u"Выбрать картинку"_s, twips(8280, 5730, 2100, 255), Blue);
    Label11 = makeControl<ActiveLabel>(Frame1, u"Label11"_s, twips(8280, 6000, 2160, 255), u"Размер картинки в пик"_s);
    Label12 = makeControl<ActiveLabel>(Frame1, u"Label12"_s, twips(8280, 6240, 2100, 255));
    Label13 = makeControl<ActiveLabel>(Frame1, u"Label13"_s, twips(8280, 6480, 2100, 255));
    Label14 = link(Frame1, u"Label14"_s, u"Посмотреть картинку"_s, twips(8280, 6840, 2100, 255), Blue);

    Command2 = makeControl<QPushButton>(Frame1, u"Command2"_s, twips(4800, 6720, 1215, 375), u"Сохранить"_s);
    Command2->setToolTip(u"Сохранить настройки"_s);
    Command1 = makeControl<QPushButton>(Frame1, u"Command1"_s, twips(4800, 7200, 1215, 375), u"Новый билет"_s);
    Command1->setToolTip(u"Создать новый билет"_s);
    Command7 = makeControl<QPushButton>(Frame1, u"Command7"_s, twips(6720, 6720, 1215, 375), u"Выбор "_s);
    Command10 = makeControl<QPushButton>(Frame1, u"Command10"_s, twips(6720, 7200, 1215, 375), u"Помощь"_s);
    Command4 = makeControl<QPushButton>(Frame1, u"Command4"_s, twips(6720, 7680, 1215, 375), u"Закрыть"_s);
    Command4->setToolTip(u"Закрыть окно"_s);
    cmdImport = makeControl<QPushButton>(Frame1, u"cmdImport"_s, twips(8280, 7680, 1935, 375), u"Импорт вопросов"_s);

    // Never shown: the state of the question being edited.
    Text7 = makeControl<QLineEdit>(Frame1, u"Text7"_s, QRect(0, 0, 80, 22));
    Label8 = makeControl<ActiveLabel>(Frame1, u"Label8"_s, QRect(0, 0, 40, 18));
    Label15 = makeControl<ActiveLabel>(Frame1, u"Label15"_s, QRect(0, 0, 40, 18));
    Label16 = makeControl<ActiveLabel>(Frame1, u"Label16"_s, QRect(0, 0, 40, 18));
    Label17 = makeControl<ActiveLabel>(Frame1, u"Label17"_s, QRect(0, 0, 40, 18));
    Label20 = makeControl<ActiveLabel>(Frame1, u"Label20"_s, QRect(0, 0, 40, 18), u"0"_s);
    Text4 = makeControl<QLineEdit>(Frame1, u"Text4"_s, QRect(0, 0, 80, 22));
    Text5 = makeControl<QLineEdit>(Frame1, u"Text5"_s, QRect(0, 0, 80, 22));
    Text8 = makeControl<QLineEdit>(Frame1, u"Text8"_s, QRect(0, 0, 80, 22), u"0"_s);
    Picture1 = makeControl<QLabel>(Frame1, u"Picture1"_s, QRect(0, 0, 80, 80));
}

void ExamEditorWindow::connectHandlers()
{
    connect(Command9, &QPushButton::clicked, &m_state, &ExamEditorState::beginCreating);
    connect(Command8, &QPushButton::clicked, this, [this] {
        m_state.beginChoosing();
        pointTreeAt(m_state.library());
    });
    connect(Command13, &QPushButton::clicked, &m_state, &ExamEditorState::backToStart);
    connect(Command14, &QPushButton::clicked, &m_state, &ExamEditorState::backToStart);
    connect(Command12, &QPushButton::clicked, this, &ExamEditorWindow::closeFromStart);
    connect(Command5, &QPushButton::clicked, this, &ExamEditorWindow::createExam);
    connect(Text9, &QLineEdit::returnPressed, Command5, &QPushButton::click);
    connect(Command6, &QPushButton::clicked, this, &ExamEditorWindow::chooseExam);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, &ExamEditorWindow::treeMoved);
    connect(Dir1, &QTreeView::doubleClicked, Command6, &QPushButton::click);

    // Typing goes to the state; the state's changes come back to the controls.
    connect(Text6, &QLineEdit::textChanged, &m_state, &ExamEditorState::setTicketNumber);
    connect(Combo1, &QComboBox::editTextChanged, &m_state, &ExamEditorState::setQuestionNumber);
    connect(Combo1, &QComboBox::activated, this, &ExamEditorWindow::questionChosen);
    connect(Text1, &QPlainTextEdit::textChanged, this, [this] { m_state.setQuestionText(Text1->toPlainText()); });
    connect(Text2, &QPlainTextEdit::textChanged, this, [this] { m_state.setAnswersText(Text2->toPlainText()); });
    connect(Text3, &QLineEdit::textChanged, &m_state, &ExamEditorState::setCorrectText);
    connect(&m_state, &ExamEditorState::stepChanged, this, &ExamEditorWindow::showStep);
    connect(&m_state, &ExamEditorState::ticketChanged, this, &ExamEditorWindow::ticketChanged);
    connect(&m_state, &ExamEditorState::textsReplaced, this, &ExamEditorWindow::showTexts);
    connect(&m_state, &ExamEditorState::savedPictureShownChanged, this, &ExamEditorWindow::showSavedPictureShown);
    connect(&m_state, &ExamEditorState::pictureTriggerChanged, this,
            [this](bool armed) { Text8->setText(digit(armed)); });
    connect(&m_state, &ExamEditorState::chosenPictureChanged, this, [this] {
        Text4->setText(m_state.chosenPicture());
        Text5->setText(m_state.chosenPictureName());
    });

    connect(Command2, &QPushButton::clicked, this, &ExamEditorWindow::save);
    connect(Label5, &ActiveLabel::clicked, this, &ExamEditorWindow::choosePicture);
    connect(Label18, &ActiveLabel::clicked, this, &ExamEditorWindow::takeAwayPicture);
    connect(Label19, &ActiveLabel::clicked, this, &ExamEditorWindow::deletePicture);
    connect(Label14, &ActiveLabel::clicked, this, &ExamEditorWindow::pictureSizeRequested);
    connect(Command1, &QPushButton::clicked, this, &ExamEditorWindow::newTicket);
    connect(Command7, &QPushButton::clicked, this, &ExamEditorWindow::leaveEditing);
    connect(Command4, &QPushButton::clicked, this, &ExamEditorWindow::closeFromEditing);
    connect(Command10, &QPushButton::clicked, this, [this] { m_context.openHelp(m_language.value()); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { emit importRequested(m_state.examFolder()); });
}

void ExamEditorWindow::load()
{
    DisableXbutton(this);
    showStartLayout();
    Label21->setText(m_language.value());
    Frame1->hide();
    Frame7->hide();
    Frame5->hide();
    Frame8->hide();
    for (QWidget *hidden : std::initializer_list<QWidget *>{Text7, Label8, Label15, Label16, Label17, Label20,
                                                            Text4, Text5, Text8, Picture1})
        hidden->hide();
    setPictureLabelsVisible(false);
    Label19->hide();
    // The exam library holds the exams; a program folder without one gets it here.
    MakeDirPath(m_state.library());
    pointTreeAt(m_state.library());
    applyToolTips({{Command12, u"Закрыть окно"_s, u"Close the window"_s},
                   {Command13, u"Закрыть окно"_s, u"Close the window"_s},
                   {Command14, u"Закрыть окно"_s, u"Close the window"_s},
                   {Command4, u"Закрыть окно"_s, u"Close the window"_s},
                   {Command2, u"Сохранить настройки"_s, u"Save the settings"_s},
                   {Command1, u"Создать новый билет"_s, u"Create a new ticket"_s}},
                  m_language.value());
    applyCaptions(captionTable(), m_language.value());
    applySpokenNames({{this, u"Редактор экзаменов"_s, u"Exam editor"_s}}, m_language.value());
}

CaptionTable ExamEditorWindow::captionTable() const
{
    return {
        {Frame6, u"Редактор"_s, u"Editor"_s},
        {Frame1, u"Создать билет, вопрос, ответ, картинку"_s, u"To Create a ticket, question, answer, picture"_s},
        {Label6, u"Билет №b"_s, u"Ticket №b"_s},
        {Label7, u"Вопрос №"_s, u"Question №"_s},
        {Frame2, u"Вопрос"_s, u"Question"_s},
        {Label4, u"Пример заполнения"_s, u"Example of filling"_s},
        {Frame3, u"Предложить ответы"_s, u"To Offer answers"_s},
        {Frame4, u"Правильный ответ"_s, u"Correct answer"_s},
        {Label19, u"Удалить картинку из билета"_s, u"To Delete a picture from the ticket"_s},
        {Label18, u"Убрать картинку"_s, u"To Take Away a picture"_s},
        {Label5, u"Выбрать картинку"_s, u"To Choose a picture"_s},
        {Label11, u"Размер картинки в пик"_s, u"Size of picture in pixels"_s},
        {Label14, u"Посмотреть картинку"_s, u"To Look a picture"_s},
        {Command1, u"Новый билет"_s, u"New ticket"_s},
        {Command2, u"Сохранить"_s, u"To Save"_s},
        {Command4, u"Закрыть"_s, u"To Close"_s},
        {Command12, u"Закрыть"_s, u"To Close"_s},
        {Command13, u"Закрыть"_s, u"To Close"_s},
        {Command14, u"Закрыть"_s, u"To Close"_s},
        {Frame5, u"Создать папку для экзамена или теста"_s, u"To Create a file for the exam or test"_s},
        {Label23, u"Имя папки экзамена"_s, u"Name of file of exam"_s},
        {Frame7, u"Выбрать папку с экзаменом"_s, u"To Choose a file with the exam"_s},
        {Command8, u"Редактировать"_s, u"To Edit"_s},
        {Command9, u"Создать"_s, u"To Create"_s},
        {Command7, u"Выбор"_s, u"Choice"_s},
        {Command10, u"Помощь"_s, u"Help"_s},
        {cmdImport, u"Импорт вопросов"_s, u"Import questions"_s},
    };
}

QImage ExamEditorWindow::picture() const
{
    return Picture1->pixmap().toImage();
}

QString ExamEditorWindow::pictureWidthCaption() const
{
    return Label12->text();
}

QString ExamEditorWindow::pictureHeightCaption() const
{
    return Label13->text();
}

void ExamEditorWindow::startPanelMessage(const QString &title, const QString &russian, const QString &english)
{
    // The messages of the start panel are English in every language but Russian.
    m_context.message(title, m_language.englishUnlessRussian(russian, english), MessageIcon::Warning);
}

void ExamEditorWindow::message(const QString &russian, const QString &english)
{
    m_context.message(ProgramTitle, m_language.message(russian, english), MessageIcon::Warning);
}

void ExamEditorWindow::sayNotWritten(const QString &russian, const QString &english, const FileError &error)
{
    // A failed write is never silent: a language without messages of its own reads the
    // Russian one, as it keeps the Russian captions.
    m_context.message(ProgramTitle, m_language.text(russian, english) + error.path() + u": "_s + error.reason(m_language),
                      MessageIcon::Warning);
}

// Layouts and the start panel.

void ExamEditorWindow::showStep()
{
    switch (m_state.step()) {
    case ExamEditorState::Step::Start:
        showStartLayout();
        closeSubPanels();
        break;
    case ExamEditorState::Step::CreatingExam:
        showSubPanel(Frame5);
        break;
    case ExamEditorState::Step::ChoosingExam:
        showSubPanel(Frame7);
        break;
    case ExamEditorState::Step::Editing:
        showEditingLayout();
        break;
    }
}

void ExamEditorWindow::showStartLayout()
{
    Frame6->show();
    Frame9->show();
    Frame10->show();
    Frame1->hide();
    setFixedSize(StartClient);
}

void ExamEditorWindow::showEditingLayout()
{
    Frame6->hide();
    Frame5->hide();
    Frame7->hide();
    setFixedSize(EditingClient);
    move(EditingPosition);
    Frame1->show();
}

void ExamEditorWindow::showSubPanel(QGroupBox *panel)
{
    Frame5->setVisible(panel == Frame5);
    Frame7->setVisible(panel == Frame7);
    Frame9->hide();
    Frame10->hide();
    if (panel == Frame5)
        Text9->setFocus();
}

void ExamEditorWindow::closeSubPanels()
{
    Frame5->hide();
    Frame7->hide();
    Frame9->show();
    Frame10->show();
}

bool ExamEditorWindow::pointTreeAt(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    const QModelIndex index = m_folders->index(QDir::cleanPath(folder));
    if (!index.isValid())
        return false;
    Dir1->setCurrentIndex(index);
    // The folder opens at the top of the tree, so that its sub-folders (the exams of the
    // library, the tickets of an exam) can be picked at once.
    Dir1->expand(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtTop);
    Text10->setText(m_folders->filePath(index));
    return true;
}

void ExamEditorWindow::treeMoved()
{
    const QModelIndex current = Dir1->currentIndex();
    if (current.isValid())
        Text10->setText(m_folders->filePath(current));
}

void ExamEditorWindow::createExam()
{
    const QString name = Text9->text();
    if (name.isEmpty()) {
        startPanelMessage(ProgramTitle, u"Не введено имя папки экзамена"_s, u"Not incorporated a name of file of exam"_s);
        return;
    }
    // The exam folder is opened from Windows workstations too, and its name is stored in
    // Windows-1251 files: a name they cannot hold would not be found again.
    if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None) {
        const PathNames::Refusal why = PathNames::refusal(name, problem);
        startPanelMessage(ProgramTitle, why.russian, why.english);
        return;
    }
    const FileError created = m_state.createExam(name);
    if (created.isError()) {
        const QString folder = ExamFolder::examIn(m_state.library(), name);
        startPanelMessage(ProgramTitle,
                          u"Не удалось создать папку экзамена "_s + folder + u"\n"_s
                              + created.describe(LanguagePolicy(u"rus"_s)),
                          u"Could not create the exam folder "_s + folder + u"\n"_s
                              + created.describe(LanguagePolicy(u"eng"_s)));
        return;
    }
    const QString folder = m_state.examFolder();
    pointTreeAt(folder);
    Text6->clear();
    Combo1->setCurrentIndex(-1);
    Label22->setText(m_language.englishUnlessRussian(u"Новый:"_s, u"New:"_s) + u" "_s + folder);
}

void ExamEditorWindow::chooseExam()
{
    const QString folder = Text10->text();
    const bool accepted = m_state.chooseExam(folder);
    Text11->setText(m_state.titleMatch());
    if (!accepted) {
        startPanelMessage(u"Текст-Тавринг"_s, u"Не выбрана папка с экзаменом"_s, u"Not choose file with exam"_s);
        pointTreeAt(m_state.library());
        return;
    }
    Combo1->setCurrentIndex(-1);
    Label22->setText(m_language.englishUnlessRussian(u"Редактировать:"_s, u"To Edit:"_s) + u" "_s + folder);
}

void ExamEditorWindow::leaveEditing()
{
    m_state.backToStart();
    newTicket();
}

void ExamEditorWindow::closeFromStart()
{
    emit closed();
}

void ExamEditorWindow::closeFromEditing()
{
    m_state.restoreConfiguredExam();
    emit closed();
}

// The editing panel.

void ExamEditorWindow::ticketChanged()
{
    if (Text6->text() != m_state.ticketNumber())
        Text6->setText(m_state.ticketNumber());
    Combo1->setCurrentIndex(-1);
    Label10->setText(QString());
    // The status follows every new number, also when the folder found is the same.
    Text7->setText(m_state.foundTicketFolder());
    ticketStatus();
    if (!m_state.foundTicketFolder().isEmpty())
        pointTreeAt(m_state.ticket().folder());
}

void ExamEditorWindow::ticketStatus()
{
    const QString name = m_state.foundTicketFolder();
    if (!name.isEmpty()) {
        setTextColour(Label9, Red);
        const QString status = m_language.message(u"Билет № "_s + name + u" уже создан"_s,
                                                  u"Ticket № "_s + name + u" already created"_s);
        if (!status.isEmpty())
            Label9->setText(status);
        return;
    }
    setTextColour(Label9, Green);
    const QString status = m_language.message(u"Создать билет № "_s + name, u"To Create ticket № "_s + name);
    if (!status.isEmpty())
        Label9->setText(status);
    Combo1->setCurrentIndex(-1);
    pointTreeAt(m_state.examFolder());
}

void ExamEditorWindow::questionChosen()
{
    const QStringList unreadable = m_state.chooseQuestion(Combo1->currentText());
    const ExamTicket::Presence found = m_state.presence();
    Label15->setText(flag(found.answers));
    Label16->setText(flag(found.correct));
    Label17->setText(flag(found.picture));
    Label8->setText(flag(found.question));
    // The status names the chosen number even when the flag keeps its value.
    questionStatus();
    for (const QString &path : unreadable)
        message(u"Не удалось прочитать файл "_s + path, u"Could not read the file "_s + path);

    if (found.picture) {
        const QString path = m_state.picturePath();
        const QImage image(path);
        if (!image.isNull()) {
            showPicture(image);
            m_state.setSavedPictureShown(true);
            return;
        }
        message(u"Не удалось прочитать картинку "_s + path, u"Could not read the picture "_s + path);
    }
    m_state.setSavedPictureShown(false);
    clearPicture();
    Label12->setText(QString());
    Label13->setText(QString());
}

void ExamEditorWindow::questionStatus()
{
    const QString number = m_state.questionNumber();
    if (m_state.presence().question) {
        setTextColour(Label10, Red);
        Label10->setText(u"Вопрос № "_s + number + u" уже создан"_s);
    } else {
        setTextColour(Label10, Green);
        Label10->setText(u"Создать вопрос № "_s + number);
    }
}

void ExamEditorWindow::showTexts()
{
    Text1->setPlainText(m_state.questionText());
    Text2->setPlainText(m_state.answersText());
    Text3->setText(m_state.correctText());
}

// Label19 offers to delete the picture shown only while it is the saved picture of the
// question chosen: a typed or emptied number would name another file.
void ExamEditorWindow::showSavedPictureShown(bool shown)
{
    Label20->setText(digit(shown));
    Label19->setVisible(shown);
}

void ExamEditorWindow::save()
{
    switch (m_state.save()) {
    case ExamEditorState::SaveOutcome::TicketRefused: {
        const PathNames::Refusal why = PathNames::refusal(m_state.ticketNumber(), m_state.ticketProblem());
        message(why.russian, why.english);
        return;
    }
    case ExamEditorState::SaveOutcome::Unanswerable:
        // Nothing is written, the picture neither: the question is not saved.
        m_context.message(ProgramTitle,
                          m_language.message(u"Правильный ответ должен в точности совпадать с одной из строк ответов. "
                                             u"Вопрос не сохранен."_s,
                                             u"The correct answer must be exactly one of the answer lines. "
                                             u"The question is not saved."_s),
                          MessageIcon::Warning);
        return;
    case ExamEditorState::SaveOutcome::Saved:
        pointTreeAt(m_state.ticket().folder());
        m_context.message(ProgramTitle, m_language.message(u"Сохранено!"_s, u"Preserved!"_s),
                          MessageIcon::Information);
        break;
    case ExamEditorState::SaveOutcome::Failed:
        sayNotWritten(u"Не удалось записать файл "_s, u"Could not write the file "_s, m_state.lastFailure());
        break;
    case ExamEditorState::SaveOutcome::Incomplete:
        m_context.message(ProgramTitle,
                          m_language.message(u"Отсутствует текст в одном из полей"_s,
                                             u"Is Absent text in one of the floors"_s),
                          MessageIcon::Warning);
        break;
    }
    if (m_state.armPictureTrigger()) {
        savePicture();
        m_state.resetPictureTrigger();
    }
}

void ExamEditorWindow::savePicture()
{
    // With no picture shown (taken away, or a question without one) there is nothing to save.
    const QImage image = picture();
    if (image.isNull())
        return;
    const QByteArray bitmap = questionBitmap(image);
    if (bitmap.isEmpty()) {
        const QString path = m_state.picturePath();
        m_context.message(ProgramTitle,
                          m_language.text(u"Не удалось записать файл "_s + path
                                              + u": картинку не удалось преобразовать в точечный рисунок"_s,
                                          u"Could not write the file "_s + path
                                              + u": the picture could not be converted to a bitmap"_s),
                          MessageIcon::Warning);
        return;
    }
    if (!m_state.savePicture(bitmap))
        sayNotWritten(u"Не удалось записать файл "_s, u"Could not write the file "_s, m_state.lastFailure());
}

void ExamEditorWindow::choosePicture()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << u"*."_s + QString::fromLatin1(format);
    const QString filter = u"Файлы bmp (*.bmp);;"_s
                           + m_language.message(u"Картинки"_s, u"Pictures"_s).append(u" ("_s)
                           + patterns.join(u' ') + u")"_s;
    const QString chosen = m_state.chosenPicture();
    const QString folder = chosen.isEmpty() ? m_context.paths().folder() : QFileInfo(chosen).path();
    const QString path = m_context.platform().openFileName(Label5->text(), folder, filter);
    if (path.isEmpty())
        return;
    const QImage image(path);
    if (image.isNull()) {
        message(u"Не удалось загрузить картинку из файла "_s + path, u"Could not load a picture from the file "_s + path);
        return;
    }
    m_state.setChosenPicture(path);
    showPicture(image);
}

void ExamEditorWindow::takeAwayPicture()
{
    clearPicture();
    m_state.setSavedPictureShown(false);
}

void ExamEditorWindow::deletePicture()
{
    if (!m_state.savedPictureShown())
        return;
    clearPicture();
    if (!m_state.deleteSavedPicture())
        sayNotWritten(u"Не удалось удалить файл "_s, u"Could not delete the file "_s, m_state.lastFailure());
}

void ExamEditorWindow::newTicket()
{
    m_state.newTicket();
    Combo1->setCurrentIndex(-1);
    Label9->setText(QString());
    Label10->setText(QString());
    pointTreeAt(m_state.examFolder());
    clearPicture();
}

void ExamEditorWindow::showPicture(const QImage &image)
{
    const QPixmap pixmap = QPixmap::fromImage(image);
    Image1->setPixmap(pixmap);
    Picture1->setPixmap(pixmap);
    Picture1->resize(pixmap.size());
    setPictureLabelsVisible(true);
    Label12->setText(u"Длина: "_s + QString::number(image.width()));
    Label13->setText(u"Высота: "_s + QString::number(image.height()));
}

void ExamEditorWindow::clearPicture()
{
    Image1->clear();
    Picture1->clear();
    setPictureLabelsVisible(false);
}

void ExamEditorWindow::setPictureLabelsVisible(bool visible)
{
    for (QWidget *label : {Label11, Label12, Label13, Label14})
        label->setVisible(visible);
}
