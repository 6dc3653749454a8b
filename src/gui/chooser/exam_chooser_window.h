#pragma once

#include "gui/common/captions.h"

#include <QWidget>

class ActiveLabel;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLineEdit;
class QListView;
class QListWidget;
class QModelIndex;
class QPushButton;
class QTimer;
class QTreeView;
class WindowContext;

// Form9: the teacher picks the folder of an exam with a drive list and a folder tree. The
// window checks that the folder looks like an exam, counts its tickets and the questions
// of its first ticket, makes it the current exam in the settings and, when the counts
// differ from the settings, offers to take them over.
class ExamChooserWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit ExamChooserWindow(const WindowContext &context, QWidget *parent = nullptr);

    // Moves the folder tree to the folder (or, when it does not exist, to the nearest folder
    // above it that does); the folder box follows.
    void setFolder(const QString &folder);
    // The folder the tree stands on.
    QString folder() const { return m_folder; }

signals:
    // "Принять" made the folder the current exam: a ticket drawn before belongs to another.
    void examAccepted();
    // "Закрыть", or the mismatch panel answered: the chooser is done.
    void closed();

private:
    // The main panel.
    QGroupBox *Frame11;
    QComboBox *Drive1;
    QTreeView *Dir1;
    QLineEdit *Text1;
    QLineEdit *Text4;
    QPushButton *Command1;
    QListView *List1;
    ActiveLabel *Label8;
    QPushButton *Command2;

    // The mismatch panel: the counts in the settings and the counts found.
    QGroupBox *Frame1;
    ActiveLabel *Label1;
    ActiveLabel *Label5;
    ActiveLabel *Label6;
    ActiveLabel *Label2;
    ActiveLabel *Label3;
    QLineEdit *Text6;
    QLineEdit *Text7;
    QLineEdit *Text2;
    QLineEdit *Text8;
    QPushButton *Command4;
    QPushButton *Command5;

    // Never shown: the question files found (a mirror of the walk; the count is taken from the
    // walk itself), the two names found by the folder test and the language.
    QListWidget *List2;
    QLineEdit *Text3;
    QLineEdit *Text5;
    ActiveLabel *Label4;

    void buildControls();
    void fillDrives();
    void connectHandlers();
    void load();
    CaptionTable captionTable() const;
    QString library() const;

    void driveChanged(int index);
    void treeMoved(const QModelIndex &current);
    void revealFolder();
    void followFolder(const QString &folder);
    void testFolder(const QString &folder);
    void say(const QString &russian, const QString &english);
    void accept();
    // Lists the exam folder into List1; the number of its tickets.
    int countTickets();
    void askForRegistration();
    void takeCounts();
    void keepCounts();

    const WindowContext &m_context;
    QFileSystemModel *m_folders = nullptr;
    QTimer *m_reveal = nullptr;
    bool m_revealPending = false;
    bool m_revealing = false;
    QString m_folder;
};
