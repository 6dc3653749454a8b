#pragma once

#include "gui/common/captions.h"

#include <QWidget>

class ActiveLabel;
class PassScorePanel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class SettingsRecord;
class WindowContext;

// Form4: the teacher's settings. It shows the settings record of the run in its controls and
// writes back what the teacher types; the hidden Label15, Label16 and Label17 mirror the
// timer length, the picture size mode and the language. Created hidden on first reference
// and never destroyed; the windows it leads to are asked for with its signals.
class SettingsWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(const WindowContext &context, QWidget *parent = nullptr);

    // Presses the hidden language button for "rus" or "eng".
    void pressLanguageButton(const QString &language);

    // Timer1's tick: the clock.
    void onTimer1();

    // Says that typed minutes are not minutes the timer can take.
    static void sayMinutesRefused(const WindowContext &context);

signals:
    // "Создать билет": the exam editor; the settings window has hidden itself.
    void examEditorRequested();
    // "Выбрать папку с экзаменом или тестом": the exam chooser, on the exam folder of the
    // settings; the settings window has hidden itself.
    void examChooserRequested(const QString &folder);
    // "Результаты": the results window; the settings window has hidden itself.
    void resultsRequested();
    // "Класс": the lab window; the settings window has hidden itself.
    void labRequested();
    // The teacher has left the settings: the start window takes over.
    void closed();

private:
    // The main panel.
    QGroupBox *Frame3;

    QGroupBox *Frame1;
    ActiveLabel *Label10;
    ActiveLabel *Label35;
    ActiveLabel *Label36;
    ActiveLabel *Label11;
    QLineEdit *Text2;
    ActiveLabel *Label15;
    QCheckBox *Check1;
    QCheckBox *Check2;
    ActiveLabel *Label13;

    QGroupBox *Frame2;
    QLineEdit *Text3;
    QGroupBox *Frame5;
    QComboBox *Combo1;
    QGroupBox *Frame6;
    ActiveLabel *Label2;
    QLineEdit *Text5;
    ActiveLabel *Label6;
    QPushButton *Command5;

    QGroupBox *Frame8;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLineEdit *Text4;
    ActiveLabel *Label14;
    QLineEdit *Text1;
    ActiveLabel *Label12;
    ActiveLabel *Label16;

    QGroupBox *Frame10;
    ActiveLabel *Label32;
    QLineEdit *Text12;

    QGroupBox *Frame7;
    ActiveLabel *Label8;

    QGroupBox *Frame11;
    ActiveLabel *Label18;
    ActiveLabel *Label19;
    QLineEdit *Text6;

    QCheckBox *Check3;
    // Every finished ticket graded and recorded.
    QCheckBox *chkSaveAll;
    // Each ticket's answers in an order of its own.
    QCheckBox *chkShuffle;
    QCheckBox *chkPrintSheet;
    // The lab: every workstation sharing the program folder.
    QPushButton *cmdLab;
    QPushButton *Command6;
    QPushButton *Command3;
    QPushButton *Command10;
    QPushButton *cmdResults;

    // The hidden language panel.
    QGroupBox *Frame9;
    QPushButton *Command2;
    QPushButton *Command4;
    ActiveLabel *Label17;

    // The warning panel for closing without a pass score.
    QGroupBox *Frame12;
    ActiveLabel *Label20;
    QPushButton *Command7;
    QPushButton *Command8;

    // The pass score panel, over the main panel while it is open.
    PassScorePanel *Frame4;

    QTimer *Timer1;

    void buildControls();
    void connectHandlers();
    void connectRecord();
    void showPictureSize();
    void load();
    CaptionTable spokenNames();
    CaptionTable toolTips();
    CaptionTable captionTable() const;

    void minutesChanged(const QString &typed);
    void timerSwitched(QCheckBox *changed, QCheckBox *other, bool ticked);
    void setLanguage(const QString &language);
    void openPassScoreDialog();
    void closeWindow();
    void closeAnyway();

    const WindowContext &m_context;
    SettingsRecord &m_settings;
};
