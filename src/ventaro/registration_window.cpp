#include "ventaro/registration_window.h"

#include "core/files/ini.h"
#include "core/platform.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_ops.h"
#include "ventaro/registration.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RegistrationWindow::RegistrationWindow(Platform &platform, const QString &programFolder)
    : QWidget(nullptr), m_platform(platform), m_programFolder(programFolder),
      m_language(u"rus"_s)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Регистрация"_s);

    boxReg = namedControl<QGroupBox>(this, u"boxReg"_s);
    Label3 = namedControl<ActiveLabel>(boxReg, u"Label3"_s, u"rus"_s);
    Label4 = namedControl<ActiveLabel>(boxReg, u"Label4"_s, u"eng"_s);
    Label3->setClickable(true);
    Label4->setClickable(true);
    Label1 = namedControl<QLabel>(boxReg, u"Label1"_s);
    Label1->setWordWrap(true);
    Label2 = namedControl<QLabel>(boxReg, u"Label2"_s);
    Label2->setWordWrap(true);
    for (int index = 0; index < int(optAction.size()); ++index)
        optAction[index] = namedControl<QRadioButton>(boxReg, u"optAction"_s + QString::number(index));
    optAction[0]->setChecked(true);
    cmdExecute = namedControl<QPushButton>(boxReg, u"cmdExecute"_s);
    Command1 = namedControl<QPushButton>(boxReg, u"Command1"_s);
    cmdExit = namedControl<QPushButton>(boxReg, u"cmdExit"_s);

    auto *languages = new QHBoxLayout;
    languages->addStretch();
    languages->addWidget(Label3);
    languages->addSpacing(12);
    languages->addWidget(Label4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdExecute);
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(boxReg);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(12);
    layout->addLayout(languages);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(optAction[0]);
    layout->addWidget(optAction[1]);
    layout->addStretch();
    layout->addLayout(buttons);

    applyCaptions(captionTable(), m_language);

    connect(Label3, &ActiveLabel::clicked, this, [this] { switchLanguage(u"rus"_s); });
    connect(Label4, &ActiveLabel::clicked, this, [this] { switchLanguage(u"eng"_s); });
    connect(cmdExecute, &QPushButton::clicked, this, [this] {
        // A read-only library file could not be registered in place.
        Registration::clearReadOnly(libraryPath());
        execute(optAction[0]->isChecked(), u"1"_s);
    });
    connect(Command1, &QPushButton::clicked, this,
            [this] { execute(optAction[1]->isChecked(), u"0"_s); });
    connect(cmdExit, &QPushButton::clicked, this, &QWidget::close);

    setIniErrorReporter([this](const QString &title, const QString &text) {
        m_platform.messageBox(title, text, MessageIcon::Critical);
    });

    SetTopmost(this, true);
    const QSize screen = m_platform.screenSize();
    // The frame's top left corner at the screen's, the window as large as the screen.
    move(0, 0);
    resize(screen);
    // Half the screen wide and as high as its wrapped texts need, so nothing is cut off
    // in either language.
    const int frameWidth = qMax(screen.width() / 2, boxReg->minimumSizeHint().width());
    const int frameHeight = qMax(boxReg->heightForWidth(frameWidth), boxReg->sizeHint().height());
    boxReg->setGeometry(screen.width() / 4, screen.height() / 4, frameWidth, frameHeight + 24);
}

RegistrationWindow::~RegistrationWindow()
{
    setIniErrorReporter({});
}

QString RegistrationWindow::libraryPath() const
{
    return ProgramPaths(m_programFolder).registeredLibrary();
}

QString RegistrationWindow::settingsFile() const
{
    return ProgramPaths(m_programFolder).settingsFile();
}

CaptionTable RegistrationWindow::captionTable() const
{
    return {
        {boxReg, u"Регистрация библиотеки scrrun.dll"_s, u"Registration of library scrrun.dll"_s},
        {Label1,
         u"Файл scrrun.dll регистрируется единожды. Для деригистрации откройте утилиту "
         u"ventaro.exe, находящуюся в дериктории программы Тест-Тавринг."_s,
         u"File scrrun.dll is registerred once. For deregisterred open an utility ventaro.exe, "
         u"basing in the file of program Тест-Тавринг."_s},
        {Label2, u"Для регистрации нажмите кнопку Регистрировать"_s,
         u"For registrations press the button Register"_s},
        {optAction[0], u"Регистрировать"_s, u"To Register"_s},
        {optAction[1], u"Дерегистрировать"_s, u"To DeRegister"_s},
        {cmdExecute, u"Регистрировать"_s, u"Register"_s},
        {Command1, u"Дерегистрировать"_s, u"DeRegister"_s},
        {cmdExit, u"Выход"_s, u"Exit"_s},
        {Label3, u"rus"_s, u"rus"_s},
        {Label4, u"eng"_s, u"eng"_s},
    };
}

void RegistrationWindow::switchLanguage(const QString &language)
{
    m_language = language;
    applyCaptions(captionTable(), m_language);
    // The window's title stays as designed; screen readers name the window in its language.
    applySpokenNames({{this, u"Регистрация"_s, u"Registration"_s}}, m_language);
}

void RegistrationWindow::execute(bool registering, const QString &regValue)
{
    const Registration::Result result = Registration::run(libraryPath(), registering);
    if (!result.succeeded()) {
        m_platform.messageBox(ProgramTitle, Registration::failureText(result, libraryPath(), m_language),
                              MessageIcon::Critical);
        return;
    }
    const SettingsRecord::SaveResult saved = SettingsRecord::saveRegistrationFlag(settingsFile(), regValue);
    if (!saved) {
        const QString file = QDir::toNativeSeparators(settingsFile());
        const LanguagePolicy language(m_language);
        const QString reason = saved.error.reason(language);
        m_platform.messageBox(ProgramTitle,
                              language.message(u"%1 выполнена, но флаг reg не записан в файл %2: %3"_s
                                                   .arg(result.entryPoint, file, reason),
                                               u"%1 succeeded, but the flag reg could not be written to the file %2: %3"_s
                                                   .arg(result.entryPoint, file, reason)),
                              MessageIcon::Critical);
        return;
    }
    m_platform.messageBox(QString(), u"Выполнено"_s, MessageIcon::Information);
    close();
}
