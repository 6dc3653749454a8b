#pragma once

#include "core/questionnaire/questionnaire_editor.h"
#include "core/questionnaire/questionnaire_file.h"
#include "core/questionnaire/questionnaire_run.h"
#include "gui/common/captions.h"

#include <QWidget>

#include <array>

class ActiveLabel;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class WindowContext;

// Form6: runs a questionnaire and, in its editor states, creates and edits questionnaires.
// The run (QuestionnaireRun) counts the questions, collects the points and chooses the
// conclusion; the editor's states (QuestionnaireEditor) say where the question boxes take
// their content from. The window shows both, turns clicks and typing into calls on them, and
// writes the run to the questionnaire report while its switch is ticked.
class QuestionnaireWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit QuestionnaireWindow(const WindowContext &context, QWidget *parent = nullptr);

signals:
    // "Выход": the program ends.
    void exitRequested();
    // "Вернутся к выбору": the start window's mode choice takes over.
    void closed();

private:
    // Hidden mirrors of the editor's states: Label1 "0" at load, "1" in the editor before a
    // file is opened, "3" once a file is open; Label10 "1" in the editor; Label12 "1" while
    // creating.
    ActiveLabel *Label1;
    ActiveLabel *Label10;
    ActiveLabel *Label12;

    // The toolbar.
    QPushButton *Command5;
    QPushButton *Command6;
    QPushButton *Command3;
    QPushButton *Command18;
    QPushButton *Command10;
    QPushButton *Command2;
    QCheckBox *Check1;
    ActiveLabel *Label13;
    ActiveLabel *Label16;

    // The question frame: number, count, question text and the answers.
    QGroupBox *Frame1;
    ActiveLabel *Label2;
    QLineEdit *Text1;
    ActiveLabel *Label14;
    QPushButton *Command1;
    ActiveLabel *Label17;
    QPlainTextEdit *txtV;
    QGroupBox *Frame2;
    QGroupBox *Frame7;
    // Option1 ... Option6; Option6 lies outside the visible part of Frame7 and clears the
    // visible choice when selected.
    std::array<QRadioButton *, 6> Option;
    // txtq1 ... txtq5: the answers.
    std::array<QLineEdit *, 5> txtq;
    QGroupBox *Frame5;
    // txtb1 ... txtb5: the points of the answers.
    std::array<QLineEdit *, 5> txtb;

    // Hidden carriers: the count (mirror of the run), the name mirror that drives the report
    // header, the picked file, and the run's points collected through each slot (txtn1 ...
    // txtn5) and total (mirrors).
    QLineEdit *Text4;
    QLineEdit *Text12;
    QLineEdit *Text3;
    std::array<QLineEdit *, 5> txtnSlot;
    QLineEdit *txtn;
    QListWidget *List1;

    // The conclusion of a finished run.
    QGroupBox *Frame6;
    ActiveLabel *Label11;
    QPushButton *Command15;

    // The editor's start panel.
    QGroupBox *Frame3;
    ActiveLabel *Label15;
    ActiveLabel *Label9;
    QLineEdit *Text2;
    QPushButton *Command11;
    QPushButton *Command13;
    QPushButton *Command12;

    // The conclusions panel: conclusion texts 1, 2, 3 are Text5, Text7, Text6, their
    // bounds Text8, Text9, Text10.
    QGroupBox *Frame4;
    ActiveLabel *Label3;
    ActiveLabel *Label4;
    ActiveLabel *Label5;
    ActiveLabel *Label6;
    ActiveLabel *Label7;
    ActiveLabel *Label8;
    QPlainTextEdit *Text5;
    QPlainTextEdit *Text7;
    QPlainTextEdit *Text6;
    QLineEdit *Text8;
    QLineEdit *Text9;
    QLineEdit *Text10;
    QPushButton *Command4;
    QPushButton *Command9;
    QPushButton *Command8;
    QPushButton *Command17;

    // The prompt for the number of the next question.
    QGroupBox *Frame8;
    QLineEdit *Text11;
    QPushButton *Command14;
    QPushButton *Command16;

    void buildControls();
    void buildQuestionFrame();
    void buildEditorPanels();
    void connectHandlers();
    void load();
    CaptionTable spokenNames();
    CaptionTable captionTable() const;

    // The language this window speaks: "rus" for Russian settings, "eng" for any other.
    QString language() const;
    QString text(const QString &russian, const QString &english) const;
    void message(const QString &russian, const QString &english);
    void writeFailed(const FileError &error);
    QString pathLine() const;
    QString questionnaireFolder() const;
    // The questionnaire file of the name in Text2.
    QString questionnaireFile() const;
    enum class NameUse { New, Existing };
    bool acceptName(NameUse use = NameUse::Existing);
    QString questionText(const QString &number) const;

    void setEditable(bool editable);
    void setNumberBoxRaised(bool raised);
    void showPointsColumn(bool shown);
    void clearQuestion();
    void readQuestionFromFile(const IniFile &file);
    void showBounds(const QuestionnaireFile::Header &header);
    void readConclusions();
    void enableAnswerOptions();
    void countQuestions();

    // Run mode.
    void chooseQuestionnaire();
    void numberChanged();
    void filePicked(const QString &path);
    void answer(int slot);
    void nextQuestion();
    void showConclusion(std::optional<int> conclusion);
    void reset();
    void writeHeader();
    void appendReport(const QString &text);

    // Editor.
    void openEditor();
    void createQuestionnaire();
    void editQuestionnaire();
    void saveQuestion();
    void confirmNextNumber();
    void saveConclusions();
    void browse();
    void closeStartPanel();
    void closeEditor();
    void closePrompt();
    void promptIfCreating();
    void checkNumberBox(QLineEdit *box);

    std::array<QString, QuestionnaireRun::Conclusions> conclusionTexts() const;
    std::array<QString, QuestionnaireRun::Conclusions> boundTexts() const;

    const WindowContext &m_context;
    QuestionnaireRun m_run;
    QuestionnaireEditor m_editor{m_run};
};
