#include "gui/start/start_window.h"

#include "app/application.h"
#include "core/exam/exam_folder.h"
#include "core/files/fixed_point.h"
#include "core/files/folders.h"
#include "core/files/ini.h"
#include "core/program/language_policy.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_ops.h"
#include "gui/start/unfinished_ticket_panel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;

StartWindow::StartWindow(Application &app) : QWidget(nullptr), m_app(app)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Тест-Тавринг v 3.3"_s);
    setFixedSize(tw(7740), tw(5250));
    buildControls();
    connectHandlers();
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
    connect(Label13, &ActiveLabel::clicked, this, [this] { m_app.switchLanguage(u"rus"_s); });
    connect(Label7, &ActiveLabel::clicked, this, [this] { m_app.switchLanguage(u"eng"_s); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) selectExamMode(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) selectTestMode(); });
    connect(Label6, &ActiveLabel::clicked, this, [this] {
        Frame3->show();
        Option3->setChecked(true);
    });
    connect(Command14, &QPushButton::clicked, this, &StartWindow::confirmStudent);
    connect(Command1, &QPushButton::clicked, this, &StartWindow::drawTicket);
    connect(Check1, &QCheckBox::toggled, this, &StartWindow::manualEntryToggled);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString &number) {
        Label1->setText(ExamFolder::ticketFolderName(number));
    });
    connect(Label1, &ActiveLabel::captionChanged, this, &StartWindow::ticketFolderChanged);
    connect(Label2, &ActiveLabel::clicked, this, [this] { Label1->setText(QString()); });
    connect(Command3, &QPushButton::clicked, this, &StartWindow::openTicket);
    connect(Command10, &QPushButton::clicked, this, [this] { m_app.openHelp(language()); });
    connect(Command15, &QPushButton::clicked, this, &StartWindow::openSettings);
    connect(Label9, &ActiveLabel::clicked, this, &StartWindow::backToModeChoice);
    connect(Command2, &QPushButton::clicked, this, [this] { m_app.exitProgram(); });
    connect(Command4, &QPushButton::clicked, this, [this] { m_app.exitProgram(); });
    connect(Timer1, &QTimer::timeout, this, &StartWindow::onTimer1);
    // Enter presses the button of the step: the name's "OK", the password's settings button,
    // and "Открыть билет" after a ticket number typed by hand.
    PressOnEnter(Text9, Command14);
    PressOnEnter(Text2, Command15);
    PressOnEnter(Text1, Command3);
}

void StartWindow::load()
{
    DisableXbutton(this);
    m_app.platform().seedRandom();
    Option3->hide();
    const SettingsRecord &settings = m_app.settings();
    Text3->setText(settings.tickets());
    Text12->setText(settings.password());
    Label4->setText(settings.language());
    Timer1->stop();
    showExamTitle();

    for (QWidget *hidden : {static_cast<QWidget *>(Text4), static_cast<QWidget *>(Label8),
                            static_cast<QWidget *>(Text1), static_cast<QWidget *>(Frame1),
                            static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Text3),
                            static_cast<QWidget *>(Text12), static_cast<QWidget *>(Label4)})
        hidden->hide();
    Command3->setEnabled(false);
    Frame9->show();
    Frame3->show();
    // The keys start on the mode choice, not in the name box it covers.
    Option1->setFocus();
    applyCaptions(captionTable(), language());
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
    applyCaptions(table, m_app.settings().language());
    showExamTitle();
    Text3->setText(m_app.settings().tickets());
}

void StartWindow::showExamTitle()
{
    // An exam folder without a title file simply has no title.
    const QString folder = examFolder();
    Text4->setText(folder.isEmpty() ? QString() : ExamFolder::readTitle(folder).value_or(QString()));
}

QString StartWindow::examFolder() const
{
    return m_app.settings().examFolder();
}

QString StartWindow::language() const
{
    return Label4->text();
}

void StartWindow::messageByLanguage(const QString &russian, const QString &english)
{
    m_app.message(ProgramTitle, LanguagePolicy(language()).message(russian, english));
}

void StartWindow::selectExamMode()
{
    Frame3->hide();
    Frame9->show();
    Frame1->hide();
    Text9->clear();
    m_app.showAbout();
    m_app.openHelp(language());
    Text9->setFocus();
}

void StartWindow::selectTestMode()
{
    m_app.openTestWindow();
    hide();
    Frame3->hide();
    m_app.showAbout();
    m_app.openHelp(language());
}

void StartWindow::confirmStudent()
{
    if (Text9->text().isEmpty()) {
        messageByLanguage(u"Введите имя! (обязательно к заполению *)"_s,
                          u"Enter a name! (will without fall enter *)"_s);
        Text9->setFocus();
        return;
    }
    Frame9->hide();
    Frame1->show();
    Frame2->show();
    Text1->clear();
    Label1->setText(QString());
    endManualEntry();
    Label8->show();
    Command1->setFocus();
}

void StartWindow::drawTicket()
{
    const QString folder = examFolder();
    if (folder.isEmpty()) {
        m_app.message(LanguagePolicy(language()).message(u"Внимание!"_s, u"Attention!"_s),
                      LanguagePolicy(language()).message(u"У вас не выбрана папка с билетами экзамена!"_s,
                                     u"Beside you not choose file with tickets of exam!"_s));
        m_app.openExamChooser(m_app.path(u"b"_s), Application::ChooserOpener::StartWindow);
        hide();
        return;
    }
    // A number of tickets that is not a number counts as none: the draw then gives 1.
    const double tickets = Fixed::parse(Text3->text()).value_or(Fixed()).toDouble();
    const qint64 number = qint64(std::floor(m_app.platform().random() * tickets)) + 1;
    Text1->setText(QString::number(number));
    const QString name = ExamFolder::ticketFolderName(QString::number(number));
    Label1->setText(QFileInfo::exists(folder + u'/' + name) ? name : QString());
    Timer1->start();
}

void StartWindow::onTimer1()
{
    if (!Label1->text().isEmpty()) {
        Command3->setEnabled(true);
        Command3->setFocus();
    } else
        Label1->setText(QString());
    Timer1->stop();
}

void StartWindow::manualEntryToggled(bool ticked)
{
    const bool allowed = Text2->text() == Text12->text();
    // The next student never inherits a password typed for the teacher's manual entry.
    Text2->clear();
    if (!allowed) {
        if (ticked) {
            const QSignalBlocker quiet(Check1);
            Check1->setChecked(false);
        }
        messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
        return;
    }
    showManualEntry(ticked);
}

// The program's own end of manual entry, for the next student or after a ticket that could not
// open, needs no password: the box was emptied after the check that began it.
void StartWindow::endManualEntry()
{
    if (!Check1->isChecked())
        return;
    {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(false);
    }
    showManualEntry(false);
}

void StartWindow::showManualEntry(bool ticked)
{
    if (ticked) {
        Text1->show();
        Text1->setFocus();
        Command1->setEnabled(false);
        Label2->setEnabled(false);
    } else {
        Text1->hide();
        Command1->setEnabled(true);
        Label2->setEnabled(true);
        Text1->clear();
    }
}

void StartWindow::ticketFolderChanged(const QString &folderName)
{
    if (folderName.isEmpty()) {
        Command3->setEnabled(false);
        return;
    }
    const ExamTicket ticket = ExamTicket::named(examFolder(), folderName);
    v1->setText(ticket.presentName(ExamFolder::answersFile(1)));
    o1->setText(ticket.presentName(ExamFolder::correctAnswerFile(1)));
    q1->setText(ticket.presentName(ExamFolder::questionFile(1)));
    Command3->setEnabled(true);
}

void StartWindow::openTicket()
{
    if (ExamTicket::named(examFolder(), Label1->text()).isComplete(1)) {
        if (m_app.openTicket())
            hide();
    } else {
        const QString tried = Label1->text();
        messageByLanguage(u"Нет вопроса в билете № "_s + tried, u"No question in the ticket № "_s + tried);
        Text1->clear();
        Label1->setText(QString());
        endManualEntry();
    }
    v1->setText(QString());
    o1->setText(QString());
    q1->setText(QString());
    Label8->hide();
}

void StartWindow::openSettings()
{
    if (Text2->text() == Text12->text())
        m_app.showSettings();
    else
        messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
    Text2->clear();
}

void StartWindow::backToModeChoice()
{
    Frame3->show();
    Frame9->show();
    Frame1->hide();
    Text9->clear();
    Option3->setChecked(true);
    Label8->hide();
    Option1->setFocus();
}

Student StartWindow::student() const
{
    return {Frame9->title() + u"  "_s + Text9->text(), Text10->text(), Text11->text(), Text13->text(),
            Text9->text()};
}

QString StartWindow::ticketNumber() const
{
    return Text1->text();
}

QString StartWindow::ticketFolderName() const
{
    return Label1->text();
}

QString StartWindow::examTitle() const
{
    return Label8->text();
}

void StartWindow::nextStudent()
{
    Frame9->show();
    Frame1->hide();
    Frame2->hide();
    Text9->clear();
    Text10->clear();
    Text11->clear();
    Text13->clear();
    Text9->setFocus();
}

void StartWindow::clearTicketChoice()
{
    Label1->setText(QString());
    Command3->setEnabled(false);
}

void StartWindow::offerUnfinishedTicket(const QString &studentName, const QString &ticketFolderName)
{
    auto *panel = new UnfinishedTicketPanel(this, language(), studentName, ticketFolderName);
    panel->setGeometry(Frame3->geometry());
    panel->show();
    const auto withdraw = [panel] {
        panel->hide();
        panel->deleteLater();
    };
    connect(panel, &UnfinishedTicketPanel::continueChosen, this, [this, withdraw] {
        const bool opened = m_app.continueUnfinishedTicket();
        // A journal that could not be taken up has been set aside: nothing is left to offer.
        if (!m_app.hasUnfinishedTicket())
            withdraw();
        if (opened)
            hide();
    });
    connect(panel, &UnfinishedTicketPanel::discardChosen, this, [this, withdraw](const QString &password) {
        // The student must not throw a ticket away to draw a better one.
        if (password != Text12->text())
            messageByLanguage(u"Не правильный пароль!"_s, u"Not correct password!"_s);
        else if (m_app.discardUnfinishedTicket())
            withdraw();
    });
}

void StartWindow::showModeChoice()
{
    Frame3->show();
    Option3->setChecked(true);
    Option1->setFocus();
}
