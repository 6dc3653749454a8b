#include "gui/settings/settings_window.h"

#include "core/exam/grade.h"
#include "core/files/clock.h"
#include "core/files/fixed_point.h"
#include "core/program/language_policy.h"
#include "core/program/settings_record.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"
#include "gui/settings/pass_score_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The designed panel, 6375 twips high, a row below it for the settings of a computer lab and
// one for printing the result sheet.
constexpr int LabRowTop = tw(6375) - 4;
constexpr int PrintRowTop = LabRowTop + 30;
const QRect MainPanel = twips(120, 120, 8055, 6375 + 540 + 450);

} // namespace

SettingsWindow::SettingsWindow(const WindowContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_settings(context.settings())
{
    setObjectName(u"Form4"_s);
    setWindowTitle(ProgramTitle);
    setFixedSize(MainPanel.width() + 2 * MainPanel.left(), MainPanel.height() + 2 * MainPanel.top());
    buildControls();
    connectHandlers();
    load();
}

void SettingsWindow::buildControls()
{
    Frame3 = makeControl<QGroupBox>(this, u"Frame3"_s, MainPanel, u"Настройка "_s);

    Frame1 = makeControl<QGroupBox>(Frame3, u"Frame1"_s, QRect(8, 20, 262, 152), u"Установка таймера"_s);
    Label10 = makeControl<ActiveLabel>(Frame1, u"Label10"_s, QRect(8, 20, 246, 16), u"Время            Дата "_s);
    Label35 = makeControl<ActiveLabel>(Frame1, u"Label35"_s, QRect(8, 38, 90, 18));
    Label35->setToolTip(u"Текущее время"_s);
    Label36 = makeControl<ActiveLabel>(Frame1, u"Label36"_s, QRect(110, 38, 140, 18));
    Label36->setToolTip(u"Текущая дата"_s);
    Label11 = makeControl<ActiveLabel>(Frame1, u"Label11"_s, QRect(8, 64, 140, 18), u"Установить минуты "_s);
    Text2 = makeControl<QLineEdit>(Frame1, u"Text2"_s, QRect(150, 61, 60, 24));
    Text2->setToolTip(u"Введите целые числа, обозначающие минуты таймера"_s);
    Label15 = makeControl<ActiveLabel>(Frame1, u"Label15"_s, QRect(216, 64, 30, 18), u"1"_s);
    Check1 = makeControl<QCheckBox>(Frame1, u"Check1"_s, QRect(8, 90, 250, 22), u"Активировать таймер  билета"_s);
    Check1->setToolTip(u"Установить таймер на весь билет"_s);
    Check2 = makeControl<QCheckBox>(Frame1, u"Check2"_s, QRect(8, 112, 250, 22), u"Активировать таймер вопросов"_s);
    Check2->setToolTip(u"Установить таймер на каждый вопрос"_s);
    Label13 = makeControl<ActiveLabel>(Frame1, u"Label13"_s, QRect(8, 132, 246, 18));
    Label13->setStyleSheet(u"color: #b00000;"_s);

    Frame2 = makeControl<QGroupBox>(Frame3, u"Frame2"_s, QRect(278, 20, 110, 56), u"Число билетов"_s);
    Text3 = makeControl<QLineEdit>(Frame2, u"Text3"_s, QRect(8, 24, 94, 24));
    Frame5 = makeControl<QGroupBox>(Frame3, u"Frame5"_s, QRect(394, 20, 135, 56), u"Число вопросов"_s);
    Combo1 = makeControl<QComboBox>(Frame5, u"Combo1"_s, QRect(8, 24, 104, 24));
    Combo1->setEditable(true);
    for (int count = 1; count <= 20; ++count)
        Combo1->addItem(QString::number(count));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());

    Frame6 = makeControl<QGroupBox>(Frame3, u"Frame6"_s, QRect(278, 80, 251, 92), u"Оценка билета"_s);
    Label2 = makeControl<ActiveLabel>(Frame6, u"Label2"_s, QRect(8, 26, 138, 18), u"Проходной балл"_s);
    Text5 = makeControl<QLineEdit>(Frame6, u"Text5"_s, QRect(148, 23, 92, 24));
    Label6 = makeLink(Frame6, u"Label6"_s, u"Настроить проходной балл"_s, QRect(8, 58, 236, 18));
    Command5 = makeControl<QPushButton>(Frame6, u"Command5"_s, QRect(200, 58, 40, 24));

    Frame8 = makeControl<QGroupBox>(Frame3, u"Frame8"_s, QRect(8, 176, 521, 100), u"Размер картинки"_s);
    Option1 = makeControl<QRadioButton>(Frame8, u"Option1"_s, QRect(8, 20, 505, 22),
                                 u"Реальный размер картинки изменен на постоянный размер"_s);
    Option2 = makeControl<QRadioButton>(Frame8, u"Option2"_s, QRect(8, 44, 505, 22),
                                 u"Размер соответствует реальному размеру  картинки"_s);
    Text4 = makeControl<QLineEdit>(Frame8, u"Text4"_s, QRect(8, 70, 60, 24));
    Label14 = makeControl<ActiveLabel>(Frame8, u"Label14"_s, QRect(74, 73, 12, 18), u"х"_s);
    Text1 = makeControl<QLineEdit>(Frame8, u"Text1"_s, QRect(88, 70, 60, 24));
    Label12 = makeControl<ActiveLabel>(Frame8, u"Label12"_s, QRect(154, 73, 40, 18), u"пик"_s);
    Label16 = makeControl<ActiveLabel>(Frame8, u"Label16"_s, QRect(200, 73, 20, 18));
    // The free end of the picture size row has room for the one setting the panel lacked.
    chkSaveAll = makeControl<QCheckBox>(Frame8, u"chkSaveAll"_s, QRect(232, 71, 281, 22),
                                        u"Сохранять каждый результат"_s);

    Frame10 = makeControl<QGroupBox>(Frame3, u"Frame10"_s, QRect(8, 280, 180, 52), u"Пароль"_s);
    Label32 = makeControl<ActiveLabel>(Frame10, u"Label32"_s, QRect(8, 25, 58, 18), u"Ввод: "_s);
    Text12 = makeControl<QLineEdit>(Frame10, u"Text12"_s, QRect(68, 22, 104, 24));
    Text12->setToolTip(u"Ввод пароля для входа в окно Настройка"_s);

    Frame7 = makeControl<QGroupBox>(Frame3, u"Frame7"_s, QRect(194, 280, 150, 52));
    Label8 = makeLink(Frame7, u"Label8"_s, u"Создать билет"_s, QRect(8, 24, 136, 18));

    Frame11 = makeControl<QGroupBox>(Frame3, u"Frame11"_s, QRect(8, 336, 336, 82), u"Выбор"_s);
    Label18 = makeLink(Frame11, u"Label18"_s, u"Выбрать папку с экзаменом или тестом"_s, QRect(8, 22, 320, 18));
    Label19 = makeControl<ActiveLabel>(Frame11, u"Label19"_s, QRect(8, 50, 120, 18), u"Выбранная папка "_s);
    Text6 = makeControl<QLineEdit>(Frame11, u"Text6"_s, QRect(130, 47, 198, 24));

    Check3 = makeControl<QCheckBox>(Frame3, u"Check3"_s, QRect(352, 284, 180, 22), u"Сохранить настройки"_s);
    Command3 = makeControl<QPushButton>(Frame3, u"Command3"_s, QRect(352, 312, 86, 28), u"Отчет"_s);
    Command3->setToolTip(u"Открыть отчет"_s);
    Command10 = makeControl<QPushButton>(Frame3, u"Command10"_s, QRect(443, 312, 86, 28), u"Помощь"_s);
    Command10->setToolTip(u"Помощь к программе"_s);
    cmdResults = makeControl<QPushButton>(Frame3, u"cmdResults"_s, QRect(352, 346, 177, 28), u"Результаты"_s);
    cmdResults->setToolTip(u"Результаты: таблица, статистика, экспорт"_s);
    Command6 = makeControl<QPushButton>(Frame3, u"Command6"_s, QRect(352, 380, 177, 34), u"Закрыть"_s);
    Command6->setToolTip(u"Закрыть окно"_s);
    // The two settings of a computer lab take a row of their own below the designed panel.
    chkShuffle = makeControl<QCheckBox>(Frame3, u"chkShuffle"_s, QRect(16, LabRowTop + 3, 328, 22),
                                        u"Перемешивать ответы"_s);
    chkShuffle->setToolTip(u"Каждый билет показывает ответы в своем порядке"_s);
    cmdLab = makeControl<QPushButton>(Frame3, u"cmdLab"_s, QRect(352, LabRowTop, 177, 28), u"Класс"_s);
    chkPrintSheet = makeControl<QCheckBox>(Frame3, u"chkPrintSheet"_s, QRect(16, PrintRowTop + 3, 513, 22),
                                           u"Разрешить печать листа результата"_s);
    cmdLab->setToolTip(u"Все компьютеры класса, работающие с этой папкой программы"_s);

    Frame9 = makeControl<QGroupBox>(this, u"Frame9"_s, QRect(tw(120), tw(120), 200, 60), u"Язык"_s);
    Command2 = makeControl<QPushButton>(Frame9, u"Command2"_s, QRect(8, 22, 50, 28), u"rus"_s);
    Command4 = makeControl<QPushButton>(Frame9, u"Command4"_s, QRect(64, 22, 50, 28), u"eng"_s);
    Label17 = makeControl<ActiveLabel>(Frame9, u"Label17"_s, QRect(120, 26, 40, 18));

    Frame12 = makeControl<QGroupBox>(this, u"Frame12"_s, MainPanel, u"Внимание!"_s);
    Frame12->setAutoFillBackground(true);
    Label20 = makeControl<ActiveLabel>(Frame12, u"Label20"_s, QRect(40, 120, MainPanel.width() - 80, 60),
                                u"Не установлена оценка за билет. Хотите установить?"_s);
    Label20->setWordWrap(true);
    Label20->setAlignment(Qt::AlignCenter);
    Command7 = makeControl<QPushButton>(Frame12, u"Command7"_s, QRect(MainPanel.width() / 2 - 110, 220, 100, 32), u"Да"_s);
    Command8 = makeControl<QPushButton>(Frame12, u"Command8"_s, QRect(MainPanel.width() / 2 + 10, 220, 100, 32), u"Нет"_s);

    Frame4 = new PassScorePanel(m_context, this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(u"Timer1"_s);
    Timer1->setInterval(500);
}

void SettingsWindow::connectHandlers()
{
    connect(Text2, &QLineEdit::textChanged, this, &SettingsWindow::minutesChanged);
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { timerSwitched(Check1, Check2, on); });
    connect(Check2, &QCheckBox::toggled, this, [this](bool on) { timerSwitched(Check2, Check1, on); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_settings.setPictureSize(SettingsRecord::PictureSize::Fixed);
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_settings.setPictureSize(SettingsRecord::PictureSize::Real);
    });
    connect(Command2, &QPushButton::clicked, this, [this] { setLanguage(u"rus"_s); });
    connect(Command4, &QPushButton::clicked, this, [this] { setLanguage(u"eng"_s); });
    connect(Label6, &ActiveLabel::clicked, this, [this] { Command5->click(); });
    connect(Command5, &QPushButton::clicked, this, &SettingsWindow::openPassScoreDialog);
    connect(Command7, &QPushButton::clicked, this, [this] {
        Frame12->hide();
        Command5->click();
    });
    connect(Command8, &QPushButton::clicked, this, [this] {
        Frame12->hide();
        closeAnyway();
    });
    connect(Label8, &ActiveLabel::clicked, this, [this] {
        emit examEditorRequested();
        hide();
    });
    connect(Label18, &ActiveLabel::clicked, this, [this] {
        emit examChooserRequested(m_settings.examFolder());
        hide();
    });
    connect(Command3, &QPushButton::clicked, this,
            [this] { m_context.openText(m_context.paths().examReport(), m_settings.language()); });
    connect(Command10, &QPushButton::clicked, this, [this] { m_context.openHelp(m_settings.language()); });
    connect(cmdResults, &QPushButton::clicked, this, [this] {
        emit resultsRequested();
        hide();
    });
    connect(cmdLab, &QPushButton::clicked, this, [this] {
        emit labRequested();
        hide();
    });
    connect(Command6, &QPushButton::clicked, this, &SettingsWindow::closeWindow);
    connect(Timer1, &QTimer::timeout, this, &SettingsWindow::onTimer1);
    connect(Frame4, &PassScorePanel::left, Frame3, &QWidget::show);
    connect(Frame4, &PassScorePanel::passScoreChosen, &m_settings, &SettingsRecord::setPassScore);
    connectRecord();
}

// What the teacher types goes into the settings record, and every change of the record,
// whoever makes it, shows in the controls. Both directions stop at an unchanged value.
void SettingsWindow::connectRecord()
{
    const auto mirror = [this](QLineEdit *box, void (SettingsRecord::*changed)(const QString &),
                               void (SettingsRecord::*set)(const QString &)) {
        connect(&m_settings, changed, box, &QLineEdit::setText);
        connect(box, &QLineEdit::textChanged, &m_settings, set);
    };
    mirror(Text3, &SettingsRecord::ticketsChanged, &SettingsRecord::setTickets);
    mirror(Text5, &SettingsRecord::passScoreChanged, &SettingsRecord::setPassScore);
    mirror(Text12, &SettingsRecord::passwordChanged, &SettingsRecord::setPassword);
    mirror(Text4, &SettingsRecord::pictureWidthChanged, &SettingsRecord::setPictureWidth);
    mirror(Text1, &SettingsRecord::pictureHeightChanged, &SettingsRecord::setPictureHeight);
    mirror(Text6, &SettingsRecord::examFolderChanged, &SettingsRecord::setExamFolder);
    connect(&m_settings, &SettingsRecord::questionsChanged, Combo1, &QComboBox::setEditText);
    connect(Combo1, &QComboBox::editTextChanged, &m_settings, &SettingsRecord::setQuestions);
    connect(&m_settings, &SettingsRecord::minutesChanged, Text2, &QLineEdit::setText);
    connect(&m_settings, &SettingsRecord::ticketTimerChanged, Check1, &QCheckBox::setChecked);
    connect(&m_settings, &SettingsRecord::questionTimerChanged, Check2, &QCheckBox::setChecked);
    connect(&m_settings, &SettingsRecord::pictureSizeChanged, this, &SettingsWindow::showPictureSize);
    connect(&m_settings, &SettingsRecord::languageChanged, Label17, &ActiveLabel::setText);
    connect(&m_settings, &SettingsRecord::saveAllChanged, chkSaveAll, &QCheckBox::setChecked);
    connect(chkSaveAll, &QCheckBox::toggled, &m_settings, &SettingsRecord::setSaveAll);
    connect(&m_settings, &SettingsRecord::shuffleAnswersChanged, chkShuffle, &QCheckBox::setChecked);
    connect(chkShuffle, &QCheckBox::toggled, &m_settings, &SettingsRecord::setShuffleAnswers);
    connect(&m_settings, &SettingsRecord::printSheetChanged, chkPrintSheet, &QCheckBox::setChecked);
    connect(chkPrintSheet, &QCheckBox::toggled, &m_settings, &SettingsRecord::setPrintSheet);
}

void SettingsWindow::showPictureSize()
{
    Label16->setText(m_settings.pictureSizeKey());
    if (m_settings.pictureSize() == SettingsRecord::PictureSize::Fixed)
        Option1->setChecked(true);
    else
        Option2->setChecked(true);
}

void SettingsWindow::load()
{
    DisableXbutton(this);
    Text3->setText(m_settings.tickets());
    Combo1->setEditText(m_settings.questions());
    Text5->setText(m_settings.passScore());
    Text2->setText(m_settings.minutes());
    Text12->setText(m_settings.password());
    Text4->setText(m_settings.pictureWidth());
    Text1->setText(m_settings.pictureHeight());
    Label17->setText(m_settings.language());
    Text6->setText(m_settings.examFolder());
    chkSaveAll->setChecked(m_settings.saveAll());
    chkShuffle->setChecked(m_settings.shuffleAnswers());
    chkPrintSheet->setChecked(m_settings.printSheet());

    Label15->hide();
    Label16->hide();
    Label17->hide();
    Frame3->show();
    Frame4->hide();
    Frame9->hide();
    Frame12->hide();
    Command5->hide();

    showPictureSize();
    applyToolTips(toolTips(), m_settings.language());
    applyCaptions(captionTable(), m_settings.language());
    applySpokenNames(spokenNames(), m_settings.language());
    onTimer1();
    Timer1->start();
}

CaptionTable SettingsWindow::captionTable() const
{
    CaptionTable table{
        {Frame3, u"Настройка"_s, u"Adjustment"_s},
        {Frame1, u"Установка таймера"_s, u"Installing a timer"_s},
        {Label10, u"Время            Дата"_s, u"Time            Date"_s},
        {Check1, u"Активировать таймер билета"_s, u"To Actuate a timer of ticket"_s},
        {Check2, u"Активировать таймер вопросов"_s, u"To Actuate a timer of questions"_s},
        {Frame2, u"Число билетов"_s, u"Number of tickets"_s},
        {Frame5, u"Число вопросов"_s, u"Number of questions"_s},
        {Frame6, u"Оценка билета"_s, u"Evaluation of ticket"_s},
        {Label6, u"Настроить проходной балл"_s, u"To Adjust a communicating ballet"_s},
        {Frame10, u"Пароль"_s, u"Password"_s},
        {Label32, u"Ввод"_s, u"Entering"_s},
        {Frame8, u"Размер картинки"_s, u"Size of picture"_s},
        {Option1, u"Реальный размер картинки изменен на постоянный размер"_s,
         u"Real size of picture is changed on the constant size"_s},
        {Option2, u"Размер соответствует реальному размеру  картинки"_s,
         u"Size corresponds a real the size pictures"_s},
        {Label12, u"пик"_s, u"pik"_s},
        {Frame9, u"Язык"_s, u"Language"_s},
        {Check3, u"Сохранить настройки"_s, u"To Save adjustment"_s},
        {chkSaveAll, u"Сохранять каждый результат"_s, u"Save every result"_s},
        {chkShuffle, u"Перемешивать ответы"_s, u"Shuffle answers"_s},
        {cmdLab, u"Класс"_s, u"Lab"_s},
        {chkPrintSheet, u"Разрешить печать листа результата"_s, u"Allow printing the result sheet"_s},
        {Label11, u"Установить минуты"_s, u"To Install a minute"_s},
        {Label2, u"Проходной балл"_s, u"Communicating ballet"_s},
        {Label8, u"Создать билет"_s, u"To Create ticket"_s},
        {Command6, u"Закрыть"_s, u"To Close"_s},
        {Command3, u"Отчет"_s, u"Report"_s},
        {Command10, u"Помощь"_s, u"Help"_s},
        {cmdResults, u"Результаты"_s, u"Results"_s},
        {Frame11, u"Выбор"_s, u"To Choose test-exam"_s},
        {Label18, u"Выбрать папку с экзаменом или тестом"_s, u"To Choose a file with the exam or test"_s},
        {Label19, u"Выбранная папка"_s, u"Chosen file"_s},
        {Frame12, u"Внимание!"_s, u"Attention!"_s},
        {Label20, u"Не установлена оценка за билет. Хотите установить?"_s,
         u"Not installed evaluation for the ticket. Want to install?"_s},
        {Command7, u"Да"_s, u"Yes"_s},
        {Command8, u"Нет"_s, u"No"_s},
    };
    const CaptionTable panel = Frame4->captionTable();
    table.insert(table.end(), panel.begin(), panel.end());
    return table;
}

void SettingsWindow::pressLanguageButton(const QString &language)
{
    if (LanguagePolicy(language).isRussian())
        Command2->click();
    else if (LanguagePolicy(language).isEnglish())
        Command4->click();
}

void SettingsWindow::setLanguage(const QString &language)
{
    m_settings.setLanguage(language);
    m_context.sayIfNotSaved(m_settings.saveLanguage(m_context.paths().settingsFile()), language);
    applyToolTips(toolTips(), language);
    applyCaptions(captionTable(), language);
    applySpokenNames(spokenNames(), language);
}

// The window, the two boxes of the picture size, which share their frame's title, and the
// sign between them, which would be read as a letter.
CaptionTable SettingsWindow::spokenNames()
{
    CaptionTable names{
        {this, u"Настройка программы"_s, u"Adjustment of the program"_s},
        {Text4, u"Ширина картинки"_s, u"Picture width"_s},
        {Label14, u"на"_s, u"by"_s},
        {Text1, u"Высота картинки"_s, u"Picture height"_s},
    };
    const CaptionTable panel = Frame4->spokenNames();
    names.insert(names.end(), panel.begin(), panel.end());
    return names;
}

CaptionTable SettingsWindow::toolTips()
{
    CaptionTable tips{
        {Label35, u"Текущее время"_s, u"Current time"_s},
        {Label36, u"Текущая дата"_s, u"Current date"_s},
        {Text2, u"Введите целые числа, обозначающие минуты таймера"_s, u"Enter whole numbers: the timer's minutes"_s},
        {Check1, u"Установить таймер на весь билет"_s, u"Set a timer for the whole ticket"_s},
        {Check2, u"Установить таймер на каждый вопрос"_s, u"Set a timer for each question"_s},
        {Text12, u"Ввод пароля для входа в окно Настройка"_s, u"The password of the adjustment window"_s},
        {Command3, u"Открыть отчет"_s, u"Open the report"_s},
        {Command10, u"Помощь к программе"_s, u"Help on the program"_s},
        {cmdResults, u"Результаты: таблица, статистика, экспорт"_s, u"Results: table, statistics, export"_s},
        {Command6, u"Закрыть окно"_s, u"Close the window"_s},
        {chkShuffle, u"Каждый билет показывает ответы в своем порядке"_s,
         u"Each ticket shows the answers in an order of its own"_s},
        {cmdLab, u"Все компьютеры класса, работающие с этой папкой программы"_s,
         u"All the lab's computers that work with this program folder"_s},
    };
    const CaptionTable panel = Frame4->toolTips();
    tips.insert(tips.end(), panel.begin(), panel.end());
    return tips;
}

void SettingsWindow::onTimer1()
{
    const QDateTime now = m_context.platform().currentDateTime();
    Label35->setText(Clock::shortTime(now.time()));
    Label36->setText(Clock::shortDate(now.date()));
}

void SettingsWindow::minutesChanged(const QString &typed)
{
    m_settings.setMinutes(typed);
    Label15->setText(QString::number(m_settings.wholeMinutes()));
    if (SettingsRecord::acceptedMinutes(typed))
        return;
    sayMinutesRefused(m_context);
    Text2->setText(u"1"_s);
}

void SettingsWindow::sayMinutesRefused(const WindowContext &context)
{
    context.message(u"Внимание!"_s, u"В минутах установите целые числа 1, 2 , .....30..... "_s,
                    MessageIcon::Information);
}

void SettingsWindow::timerSwitched(QCheckBox *changed, QCheckBox *other, bool ticked)
{
    if (changed == Check1)
        m_settings.setTicketTimer(ticked);
    else
        m_settings.setQuestionTimer(ticked);
    if (ticked) {
        other->setEnabled(false);
        changed->setEnabled(true);
        Label13->setText(u"Таймер включен"_s);
    } else {
        Check1->setEnabled(true);
        Check2->setEnabled(true);
        Label13->setText(QString());
    }
}

void SettingsWindow::openPassScoreDialog()
{
    Frame3->hide();
    Frame4->open(m_settings.questions());
}

void SettingsWindow::closeWindow()
{
    // An empty box or text that is not a number is no pass score either; one written with
    // the other decimal separator is read as the ticket's verdict reads it.
    const auto passScore = Grade::readScore(m_settings.passScore());
    if (!passScore || passScore->isZero()) {
        Frame12->raise();
        Frame12->show();
        return;
    }
    closeAnyway();
}

void SettingsWindow::closeAnyway()
{
    const QString language = m_settings.language();
    // The settings close even when they could not be saved: the teacher has been told.
    if (Check3->isChecked())
        m_context.sayIfNotSaved(m_settings.save(m_context.paths().settingsFile()), language);
    applyCaptions({{Frame12, u"Внимание!"_s, u"Attention!"_s},
                   {Label20, u"Не установлена оценка за билет. Хотите установить?"_s,
                    u"Not installed evaluation for the ticket. Want to install?"_s},
                   {Command7, u"Да"_s, u"Yes"_s},
                   {Command8, u"Нет"_s, u"No"_s}},
                  language);
    emit closed();
    hide();
    Check3->setChecked(false);
}
