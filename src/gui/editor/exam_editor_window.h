#pragma once

#include "core/files/file_error.h"
#include "core/program/language_policy.h"
#include "gui/common/captions.h"

#include <QImage>
#include <QWidget>

class ActiveLabel;
class ExamEditorState;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class WindowContext;

// Form7: the exam editor. The start panel creates an exam folder or chooses one; the
// editing panel writes its tickets: questions, offered answers, correct answers and
// pictures. The window shows the editor's state and turns clicks and typing into calls on
// it; the exam folder is read and written by the state through the exam folder module.
class ExamEditorWindow final : public QWidget
{
    Q_OBJECT

public:
    ExamEditorWindow(const WindowContext &context, ExamEditorState &state, QWidget *parent = nullptr);

    // The picture as shown in the editing panel, at its real size; the picture size
    // window shows it.
    QImage picture() const;
    // Its real size as the editing panel captions it ("Длина: 640", "Высота: 480").
    QString pictureWidthCaption() const;
    QString pictureHeightCaption() const;

signals:
    // One of the "Закрыть" buttons: the editor is done.
    void closed();
    // "Посмотреть картинку": the picture size window is to show picture().
    void pictureSizeRequested();
    // "Импорт вопросов": the question banks window, offering the exam edited (empty when none).
    void importRequested(const QString &examFolder);

private:
    // Start panel.
    QGroupBox *Frame6;
    QGroupBox *Frame9;
    QLabel *Label24;
    QLabel *Image2;
    QGroupBox *Frame10;
    QPushButton *Command8;
    QPushButton *Command9;
    QPushButton *Command12;
    QGroupBox *Frame5;
    QLabel *Label23;
    QLineEdit *Text9;
    QPushButton *Command5;
    QPushButton *Command13;
    QGroupBox *Frame7;
    QTreeView *Dir1;
    QPushButton *Command6;
    QPushButton *Command14;
    QGroupBox *Frame8;
    QLineEdit *Text10;
    QLineEdit *Text11;
    QLineEdit *Text12;
    ActiveLabel *Label21;

    // Editing panel.
    QGroupBox *Frame1;
    ActiveLabel *Label22;
    ActiveLabel *Label6;
    QLineEdit *Text6;
    ActiveLabel *Label9;
    ActiveLabel *Label7;
    QComboBox *Combo1;
    ActiveLabel *Label10;
    QGroupBox *Frame2;
    QPlainTextEdit *Text1;
    QGroupBox *Frame3;
    QPlainTextEdit *Text2;
    QGroupBox *Frame4;
    QLineEdit *Text3;
    ActiveLabel *Label4;
    ActiveLabel *Label1;
    ActiveLabel *Label2;
    ActiveLabel *Label3;
    QLabel *Image1;
    ActiveLabel *Label5;
    ActiveLabel *Label11;
    ActiveLabel *Label12;
    ActiveLabel *Label13;
    ActiveLabel *Label14;
    ActiveLabel *Label18;
    ActiveLabel *Label19;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command7;
    QPushButton *Command4;
    QPushButton *Command10;
    QPushButton *cmdImport;

    // Never shown: mirrors of the editor's state (the ticket folder found, the files of the
    // question found, whether the saved picture is shown, the picture chosen, the picture-save
    // trigger) and the picture at its real size.
    QLineEdit *Text7;
    ActiveLabel *Label8;
    ActiveLabel *Label15;
    ActiveLabel *Label16;
    ActiveLabel *Label17;
    ActiveLabel *Label20;
    QLineEdit *Text4;
    QLineEdit *Text5;
    QLineEdit *Text8;
    QLabel *Picture1;

    void buildStartPanel();
    void buildEditingPanel();
    void connectHandlers();
    void load();
    CaptionTable captionTable() const;

    void startPanelMessage(const QString &title, const QString &russian, const QString &english);
    void message(const QString &russian, const QString &english);
    // A failed write, named with its file and reason; said in any language.
    void sayNotWritten(const QString &russian, const QString &english, const FileError &error);

    void showStep();
    void showStartLayout();
    void showEditingLayout();
    void showSubPanel(QGroupBox *panel);
    void closeSubPanels();
    bool pointTreeAt(const QString &folder);
    void treeMoved();

    void createExam();
    void chooseExam();
    void leaveEditing();
    void closeFromStart();
    void closeFromEditing();

    void ticketChanged();
    void ticketStatus();
    void questionChosen();
    void questionStatus();
    void showTexts();
    void showSavedPictureShown(bool shown);
    void save();
    void savePicture();
    void choosePicture();
    void takeAwayPicture();
    void deletePicture();
    void newTicket();

    void showPicture(const QImage &image);
    void clearPicture();
    void setPictureLabelsVisible(bool visible);

    const WindowContext &m_context;
    ExamEditorState &m_state;
    // The language of the settings when the window was made; Label21 shows it.
    LanguagePolicy m_language;
    QFileSystemModel *m_folders;
};
