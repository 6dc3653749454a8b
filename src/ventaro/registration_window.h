#pragma once

#include "gui/common/captions.h"

#include <QWidget>

#include <array>

class ActiveLabel;
class Platform;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// Form1 of ventaro: registers or unregisters scrrun.dll of the program folder and records
// the result as `reg` in test.ini. Full screen, kept on top, captioned in Russian at start.
class RegistrationWindow final : public QWidget
{
    Q_OBJECT

public:
    RegistrationWindow(Platform &platform, const QString &programFolder);
    ~RegistrationWindow() override;

    QString libraryPath() const;
    QString settingsFile() const;
    // The language of the captions: "rus" or "eng".
    QString language() const { return m_language; }

    QGroupBox *boxReg;
    QLabel *Label1;
    QLabel *Label2;
    std::array<QRadioButton *, 2> optAction;
    QPushButton *cmdExecute;
    QPushButton *Command1;
    QPushButton *cmdExit;
    ActiveLabel *Label3;
    ActiveLabel *Label4;

private:
    CaptionTable captionTable() const;
    void switchLanguage(const QString &language);
    // Runs the registration routine; only a run to a zero result writes `reg`, shows
    // "Выполнено" and closes the window. Otherwise the window says what failed and stays.
    void execute(bool registering, const QString &regValue);

    Platform &m_platform;
    QString m_programFolder;
    QString m_language;
};
