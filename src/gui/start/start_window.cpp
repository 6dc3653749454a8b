#include "gui/start/start_window.h"

#include "core/exam/student_step.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/screen_reader.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"
#include "gui/start/unfinished_ticket_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A box that mirrors a value takes it only when it differs, so that the cursor of a student
// typing in it stays where it is.
void mirror(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

} // namespace

StartWindow::StartWindow(const WindowContext &context, StudentStep &step, QWidget *parent)
    : QWidget(parent), m_context(context), m_step(step), m_language(context.language())
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Тест-Тавринг v 3.3"_s);
    setFixedSize(tw(7740), tw(5250));
    buildControls();
    connectHandlers();
    connectStep();
    load();
}

void StartWindow::buildControls()
{
    Label4 = makeControl<ActiveLabel>(this, u"Label4"_s, QRect(0, 0, 40, 16));
    Text12 = makeControl<QLineEdit>(this, u"Text12"_s, QRect(0, 0, 40, 20));
    Text3 = makeControl<QLineEdit>(this, u"Text3"_s, QRect(0, 0, 40, 20));
    Text4 = makeControl<QLineEdit>(this, u"Text4"_s, QRect(0, 0, 40, 20));

    Label13 = makeLink(this, u"Label13"_s, u"rus"_s, QRect(tw(6600), tw(60), 30, 18));
    Label7 = makeLink(this, u"Label7"_s, u"eng"_s, QRect(tw(7080), tw(60), 30, 18));

    // Frames one above the other, bottom to top: ticket choice, settings route,
    // student data, mode choice; at start the mode choice covers the student data.
    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, twips(120, 360, 7455, 1815),
                             u"Выбор билета"_s);
    Command1 = makeControl<QPushButton>(Frame1, u"Command1"_s, QRect(16, 22, 160, 28), u"Выбрать билет"_s);
    Command1->setToolTip(u"Выбрать билет"_s);
    Command3 = makeControl<QPushButton>(Frame1, u"Command3"_s, QRect(186, 22, 160, 28), u"Открыть билет"_s);
    Command3->setToolTip(u"Открыть выбранный билет"_s);
    Check1 = makeControl<QCheckBox>(Frame1, u"Check1"_s, QRect(16, 56, 470, 24),
                             u"Ввод в ручную № билета.  Вводятся только цифры"_s);
    Text1 = makeControl<QLineEdit>(Frame1, u"Text1"_s, QRect(16, 86, 80, 24));
    Label1 = makeControl<ActiveLabel>(Frame1, u"Label1"_s, QRect(106, 88, 80, 20));
    Label2 = makeLink(Frame1, u"Label2"_s, u"Сброс "_s, QRect(200, 90, 70, 20));
    Label9 = makeLink(Frame1, u"Label9"_s, u"Вернуться к выбору"_s, QRect(280, 90, 205, 20));
    v1 = makeControl<ActiveLabel>(Frame1, u"v1"_s, QRect(380, 56, 30, 16));
    o1 = makeControl<ActiveLabel>(Frame1, u"o1"_s, QRect(410, 56, 30, 16));
    q1 = makeControl<ActiveLabel>(Frame1, u"q1"_s, QRect(440, 56, 30, 16));
    for (QWidget *carrier : {static_cast<QWidget *>(v1), static_cast<QWidget *>(o1),
                             static_cast<QWidget *>(q1)})
        carrier->hide();

    Frame2 = makeControl<QGroupBox>(this, u"Frame2"_s, twips(120, 2280, 7455, 1215),
                             u"Перейти к настройке"_s);
    Label3 = makeControl<ActiveLabel>(Frame2, u"Label3"_s, QRect(16, 32, 150, 20), u"Ввод пароля"_s);
    Text2 = makeControl<QLineEdit>(Frame2, u"Text2"_s, QRect(170, 30, 150, 24));
    Text2->setEchoMode(QLineEdit::Password);
    Text2->setToolTip(u"Введите пароль для входа в окно Настройка"_s);
    Command15 = makeControl<QPushButton>(Frame2, u"Command15"_s, QRect(336, 27, 140, 30), u"Настройка"_s);
    Command15->setToolTip(u"Открыть окно Настройка"_s);

    Frame9 = makeControl<QGroupBox>(this, u"Frame9"_s, twips(120, 360, 7455, 3135),
                             u"Ф.И.О ,  Данные"_s);
    Frame9->setAutoFillBackground(true);
    Text9 = makeControl<QLineEdit>(Frame9, u"Text9"_s, QRect(16, 26, 280, 24));
    Text9->setToolTip(u"Введите Ф.И.О"_s);
    Label31 = makeControl<ActiveLabel>(Frame9, u"Label31"_s, QRect(304, 28, 188, 20),
                                u"Обязательно к заполнению"_s);
    Text10 = makeControl<QLineEdit>(Frame9, u"Text10"_s, QRect(16, 58, 280, 24));
    Text10->setToolTip(u"Введите данные1"_s);
    Text11 = makeControl<QLineEdit>(Frame9, u"Text11"_s, QRect(16, 90, 280, 24));
    Text11->setToolTip(u"Введите данные2"_s);
    Text13 = makeControl<QLineEdit>(Frame9, u"Text13"_s, QRect(16, 122, 280, 24));
    Text13->setToolTip(u"Введите данные3"_s);
    Command14 = makeControl<QPushButton>(Frame9, u"Command14"_s, QRect(16, 162, 100, 30), u"OK"_s);
    Command14->setToolTip(u"Открыть окно Выбора билета"_s);
    Label6 = makeLink(Frame9, u"Label6"_s, u"Вернуться к выбору"_s, QRect(136, 168, 220, 20));

    Frame3 = makeControl<QGroupBox>(this, u"Frame3"_s, twips(120, 360, 7455, 3135),
                             u"Выбор"_s);
    Frame3->setAutoFillBackground(true);
    Option1 = makeControl<QRadioButton>(Frame3, u"Option1"_s, QRect(24, 36, 300, 26), u"Тавринг\\Тест"_s);
    Option1->setToolTip(u"Переключится на экзамен"_s);
    Option2 = makeControl<QRadioButton>(Frame3, u"Option2"_s, QRect(24, 72, 300, 26), u"Тест"_s);
    Option2->setToolTip(u"Переключится на тест"_s);
    Option3 = makeControl<QRadioButton>(Frame3, u"Option3"_s, QRect(24, 108, 300, 26));
    // The mode choice covers the student data at start; Tab must not reach the name boxes
    // under it.
    keepCoveredOutOfReach(Frame3, Frame9);
    Command4 = makeControl<QPushButton>(Frame3, u"Command4"_s, QRect(24, 160, 110, 30), u"Выход"_s);
    Command4->setToolTip(u"Закрыть программу"_s);

    Label8 = makeControl<ActiveLabel>(this, u"Label8"_s, twips(120, 3555, 7455, 600));
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label8->setWordWrap(true);
    QFont titleFont = Label8->font();
    titleFont.setBold(true);
    Label8->setFont(titleFont);

    Command10 = makeControl<QPushButton>(this, u"Command10"_s, QRect(tw(120), tw(4200), 110, 30), u"Помощь"_s);
    Command10->setToolTip(u"Помощь к программе"_s);
    Command2 = makeControl<QPushButton>(this, u"Command2"_s, QRect(tw(7575) - 110, tw(4200), 110, 30), u"Выход"_s);
    Command2->setToolTip(u"Выйти из программы"_s);
    Label5 = makeControl<ActiveLabel>(this, u"Label5"_s, QRect(tw(120), tw(4740), tw(7455), 18),
                               u"Тест-Тавринг: экзамены и тесты для одного рабочего места"_s);
    Label5->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(500);
    Timer1->setSingleShot(true);
}

void StartWindow::connectHandlers()
{
    connect(Text4, &QLineEdit::textChanged, this, [this](const QString &title) { Label8->setText(title); });
    connect(Label13, &ActiveLabel::clicked, this, [this] { emit languageSwitched(u"rus"_s); });
    connect(Label7, &ActiveLabel::clicked, this, [this] { emit languageSwitched(u"eng"_s); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) selectExamMode(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) selectTestMode(); });
    connect(Label6, &ActiveLabel::clicked, this, [this] {
        Frame3->show();
        Option3->setChecked(true);
    });
    connect(Text9, &QLineEdit::textChanged, &m_step, &StudentStep::setName);
    connect(Text10, &QLineEdit::textChanged, &m_step, &StudentStep::setData1);
    connect(Text11, &QLineEdit::textChanged, &m_step, &StudentStep::setData2);
    connect(Text13, &QLineEdit::textChanged, &m_step, &StudentStep::setData3);
    connect(Text2, &QLineEdit::textChanged, &m_step, &StudentStep::setTypedPassword);
    connect(Text1, &QLineEdit::textChanged, &m_step, &StudentStep::setTicketNumber);
    connect(Command14, &QPushButton::clicked, this, &StartWindow::confirmStudent);
    connect(Command1, &QPushButton::clicked, this, &StartWindow::drawTicket);
    connect(Check1, &QCheckBox::toggled, this, &StartWindow::manualEntryToggled);
    connect(Label2, &ActiveLabel::clicked, &m_step, &StudentStep::resetTicketFolder);
    connect(Command3, &QPushButton::clicked, this, &StartWindow::openTicket);
    connect(Command10, &QPushButton::clicked, this, [this] { m_context.openHelp(m_language.value()); });
    connect(Command15, &QPushButton::clicked, this, &StartWindow::openSettings);
    connect(Label9, &ActiveLabel::clicked, this, &StartWindow::backToModeChoice);
    connect(Command2, &QPushButton::clicked, this, &StartWindow::exitRequested);
    connect(Command4, &QPushButton::clicked, this, &StartWindow::exitRequested);
    connect(Timer1, &QTimer::timeout, this, &StartWindow::onTimer1);
    // Enter presses the button of the step: the name's "OK", the password's settings button,
    // and "Открыть билет" after a ticket number typed by hand.
    PressOnEnter(Text9, Command14);
    PressOnEnter(Text2, Command15);
    PressOnEnter(Text1, Command3);
}

// The controls that held the step's values follow it: whatever changes the step, a click here
// or a call of the program, shows here at once.
void StartWindow::connectStep()
{
    connect(&m_step, &StudentStep::studentChanged, this, &StartWindow::showStudent);
    connect(&m_step, &StudentStep::ticketCountChanged, this,
            [this](const QString &tickets) { mirror(Text3, tickets); });
    connect(&m_step, &StudentStep::storedPasswordChanged, this,
            [this](const QString &password) { mirror(Text12, password); });
    connect(&m_step, &StudentStep::examTitleChanged, this,
            [this](const QString &title) { mirror(Text4, title); });
    connect(&m_step, &StudentStep::typedPasswordChanged, this,
            [this](const QString &password) { mirror(Text2, password); });
    connect(&m_step, &StudentStep::ticketNumberChanged, this,
            [this](const QString &number) { mirror(Text1, number); });
    connect(&m_step, &StudentStep::ticketFolderNameChanged, this, &StartWindow::showTicketFolderName);
    connect(&m_step, &StudentStep::firstQuestionFilesChanged, this, &StartWindow::showFirstQuestionFiles);
    connect(&m_step, &StudentStep::canOpenChanged, Command3, &QPushButton::setEnabled);
    connect(&m_step, &StudentStep::manualEntryTickedChanged, this, [this](bool ticked) {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(ticked);
    });
    connect(&m_step, &StudentStep::manualEntryChanged, this, &StartWindow::showManualEntry);
}

void StartWindow::load()
{
    DisableXbutton(this);
    m_context.platform().seedRandom();
    Option3->hide();
    m_step.begin();
    showStep();
    Label4->setText(m_language.value());
    Timer1->stop();

    for (QWidget *hidden : {static_cast<QWidget *>(Text4), static_cast<QWidget *>(Label8),
                            static_cast<QWidget *>(Text1), static_cast<QWidget *>(Frame1),
                            static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Text3),
                            static_cast<QWidget *>(Text12), static_cast<QWidget *>(Label4)})
        hidden->hide();
    Frame9->show();
    Frame3->show();
    // The keys start on the mode choice, not in the name box it covers.
    Option1->setFocus();
    applyCaptionsOf(captionTable(), m_language.value());
}

// Every mirror at once, for a window made while the step already holds values.
void StartWindow::showStep()
{
    mirror(Text3, m_step.ticketCount());
    mirror(Text12, m_step.storedPassword());
    mirror(Text4, m_step.examTitle());
    showStudent();
    mirror(Text2, m_step.typedPassword());
    mirror(Text1, m_step.ticketNumber());
    showTicketFolderName(m_step.ticketFolderName());
    showFirstQuestionFiles();
    Command3->setEnabled(m_step.canOpen());
    {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(m_step.manualEntryTicked());
    }
    showManualEntry(m_step.manualEntry());
}

void StartWindow::showStudent()
{
    mirror(Text9, m_step.name());
    mirror(Text10, m_step.data1());
    mirror(Text11, m_step.data2());
    mirror(Text13, m_step.data3());
}

// The drawn ticket is named for screen readers and also describes "Открыть билет", which
// takes the focus once the draw settles: a screen reader says the ticket with the button, and
// says a new ticket at once while the button keeps the focus.
void StartWindow::showTicketFolderName(const QString &folderName)
{
    Label1->setText(folderName);
    const QString spoken =
        folderName.isEmpty() ? QString() : m_language.text(u"Билет № %1"_s, u"Ticket № %1"_s).arg(folderName);
    Label1->setAccessibleName(spoken);
    Command3->setAccessibleDescription(spoken);
}

void StartWindow::showFirstQuestionFiles()
{
    v1->setText(m_step.firstAnswersFile());
    o1->setText(m_step.firstCorrectAnswerFile());
    q1->setText(m_step.firstQuestionFile());
}

// The number field is open, and the draw and the reset closed, while manual entry is on.
void StartWindow::showManualEntry(bool open)
{
    Text1->setVisible(open);
    Command1->setEnabled(!open);
    Label2->setEnabled(!open);
}

// The data frame's caption begins the student's line of the result sheet.
void StartWindow::applyCaptionsOf(const CaptionTable &table, const QString &language)
{
    applyToolTips({{Command1, u"Выбрать билет"_s, u"Draw a ticket"_s},
                   {Command3, u"Открыть выбранный билет"_s, u"Open the chosen ticket"_s},
                   {Text2, u"Введите пароль для входа в окно Настройка"_s, u"Enter the password of the adjustment window"_s},
                   {Command15, u"Открыть окно Настройка"_s, u"Open the adjustment window"_s},
                   {Text9, u"Введите Ф.И.О"_s, u"Enter the surname and the name"_s},
                   {Text10, u"Введите данные1"_s, u"Enter data 1"_s},
                   {Text11, u"Введите данные2"_s, u"Enter data 2"_s},
                   {Text13, u"Введите данные3"_s, u"Enter data 3"_s},
                   {Command14, u"Открыть окно Выбора билета"_s, u"Open the ticket choice"_s},
                   {Option1, u"Переключится на экзамен"_s, u"Switch to the exam"_s},
                   {Option2, u"Переключится на тест"_s, u"Switch to the test"_s},
                   {Command4, u"Закрыть программу"_s, u"Close the program"_s},
                   {Command10, u"Помощь к программе"_s, u"Help on the program"_s},
                   {Command2, u"Выйти из программы"_s, u"Quit the program"_s}},
                  language);
    applyCaptions(table, language);
    // The window and the two exits, whose captions are alike, are told apart by their names.
    applySpokenNames({{this, u"Вход в программу"_s, u"Start"_s},
                      {Command4, u"Выход из выбора режима"_s, u"Exit at the choice of mode"_s},
                      {Command2, u"Выход из программы"_s, u"Exit the program"_s},
                      {Text1, u"Номер билета"_s, u"Ticket number"_s}},
                     language);
    m_step.setDataCaption(Frame9->title());
}

CaptionTable StartWindow::captionTable() const
{
    return {
        {Frame1, u"Выбор билета"_s, u"Choice of ticket"_s},
        {Label2, u"Сброс"_s, u"Unset"_s},
        {Command1, u"Выбрать билет"_s, u"To Choose a ticket"_s},
        {Command3, u"Открыть билет"_s, u"To Open a ticket"_s},
        {Check1, u"Ввод в ручную № билета.  Вводятся только цифры"_s,
         u"Entering in manual № ticket. Only numerals"_s},
        {Frame2, u"Перейти к настройке"_s, u"To Go Over To adjustment"_s},
        {Label3, u"Ввод пароля"_s, u"Entering a password"_s},
        {Command15, u"Настройка"_s, u"Adjustment"_s},
        {Command2, u"Выход"_s, u"Output"_s},
        {Command4, u"Выход"_s, u"Output"_s},
        {Command10, u"Помощь"_s, u"Help"_s},
        {Frame9, u"Ф.И.О ,  Данные"_s, u"Surname a Name, additional data"_s},
        {Label31, u"Обязательно к заполнению"_s, u"To filling Without fall"_s},
        {Frame3, u"Выбор"_s, u"Choice"_s},
        {Option1, u"Тавринг\\Тест"_s, u"Exam"_s},
        {Option2, u"Тест"_s, u"Test"_s},
        {Label6, u"Вернуться к выбору"_s, u"Returned to the choice"_s},
        {Label9, u"Вернуться к выбору"_s, u"Returned to the choice"_s},
        {Label5, u"Тест-Тавринг: экзамены и тесты для одного рабочего места"_s,
         u"Тест-Тавринг: exams and tests for one workstation"_s},
    };
}

void StartWindow::takeSettings()
{
    // The ticket choice, the settings route, the buttons and the student data frame take
    // the language of the settings; the mode choice keeps its captions.
    CaptionTable table = captionTable();
    std::erase_if(table, [this](const Caption &caption) {
        return caption.control == Frame3 || caption.control == Option1 || caption.control == Option2
               || caption.control == Label6 || caption.control == Label9;
    });
    applyCaptionsOf(table, m_context.settings().language());
    m_step.takeSettings();
}

void StartWindow::messageByLanguage(const QString &russian, const QString &english)
{
    m_context.message(ProgramTitle, m_language.message(russian, english));
}

void StartWindow::selectExamMode()
{
    Frame3->hide();
    Frame9->show();
    Frame1->hide();
    m_step.chooseExamMode();
    emit aboutRequested();
    m_context.openHelp(m_language.value(), WindowContext::HelpOpening::ByItself);
    Text9->setFocus();
}

void StartWindow::selectTestMode()
{
    // The guide first: the test window shown after it stands above it, so the guide never
    // covers the test window's buttons.
    m_context.openHelp(m_language.value(), WindowContext::HelpOpening::ByItself);
    emit testModeChosen();
    hide();
    Frame3->hide();
    emit aboutRequested();
}

void StartWindow::confirmStudent()
{
    if (!m_step.confirmStudent()) {
        messageByLanguage(u"Введите имя! (обязательно к заполению *)"_s,
                          u"Enter a name! (will without fall enter *)"_s);
        Text9->setFocus();
        return;
    }
    Frame9->hide();
    Frame1->show();
    Frame2->show();
    Label8->show();
    Command1->setFocus();
}

void StartWindow::drawTicket()
{
    if (!m_step.hasExamFolder()) {
        m_context.message(m_language.message(u"Внимание!"_s, u"Attention!"_s),
                          m_language.message(u"У вас не выбрана папка с билетами экзамена!"_s,
                                             u"Beside you not choose file with tickets of exam!"_s));
        emit examChooserRequested();
        hide();
        return;
    }
    m_step.draw(m_context.platform().random());
    Timer1->start();
}

void StartWindow::onTimer1()
{
    if (m_step.drawSettled())
        Command3->setFocus();
    Timer1->stop();
}

void StartWindow::manualEntryToggled(bool ticked)
{
    const bool allowed = m_step.tickManualEntry(ticked);
    // A refused tick leaves the box unticked, although the step was not ticked before either.
    {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(m_step.manualEntryTicked());
    }
    if (!allowed) {
        messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
        return;
    }
    if (m_step.manualEntry())
        Text1->setFocus();
}

void StartWindow::openTicket()
{
    if (m_step.chosenTicketOpens()) {
        emit ticketRequested();
    } else {
        const QString tried = m_step.ticketFolderName();
        messageByLanguage(u"Нет вопроса в билете № "_s + tried, u"No question in the ticket № "_s + tried);
        m_step.refuseChosenTicket();
    }
    m_step.forgetFirstQuestionFiles();
    Label8->hide();
}

void StartWindow::openSettings()
{
    if (m_step.checkTypedPassword())
        emit settingsRequested();
    else
        messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
}

void StartWindow::backToModeChoice()
{
    Frame3->show();
    Frame9->show();
    Frame1->hide();
    m_step.backToModeChoice();
    Option3->setChecked(true);
    Label8->hide();
    Option1->setFocus();
}

void StartWindow::nextStudent()
{
    Frame9->show();
    Frame1->hide();
    Frame2->hide();
    m_step.nextStudent();
    Text9->setFocus();
}

void StartWindow::offerUnfinishedTicket(const QString &studentName, const QString &ticketFolderName)
{
    withdrawUnfinishedTicketOffer();
    m_unfinishedPanel = new UnfinishedTicketPanel(this, m_language, studentName, ticketFolderName);
    m_unfinishedPanel->setGeometry(Frame3->geometry());
    m_unfinishedPanel->show();
    connect(m_unfinishedPanel, &UnfinishedTicketPanel::continueChosen, this,
            &StartWindow::unfinishedContinueRequested);
    connect(m_unfinishedPanel, &UnfinishedTicketPanel::discardChosen, this, [this](const QString &password) {
        // The student must not throw a ticket away to draw a better one.
        if (m_step.isStoredPassword(password))
            emit unfinishedDiscardRequested();
        else
            messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
    });
}

void StartWindow::withdrawUnfinishedTicketOffer()
{
    if (m_unfinishedPanel) {
        m_unfinishedPanel->hide();
        m_unfinishedPanel->deleteLater();
        m_unfinishedPanel = nullptr;
    }
}

void StartWindow::showModeChoice()
{
    Frame3->show();
    Option3->setChecked(true);
    Option1->setFocus();
}
