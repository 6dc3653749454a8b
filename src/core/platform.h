#pragma once

#include <QDateTime>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

// Walks folders for counting files; the exam chooser counts question files with it.
class FolderWalker
{
public:
    virtual ~FolderWalker() = default;
    // Full paths of the sub-folders and of the files of one folder, in name order;
    // hidden entries (names beginning with ".") are left out.
    virtual QStringList subFolders(const QString &folder) const = 0;
    virtual QStringList files(const QString &folder) const = 0;
};

// The walker on the real file system.
class FilesystemWalker final : public FolderWalker
{
public:
    QStringList subFolders(const QString &folder) const override;
    QStringList files(const QString &folder) const override;
};

enum class MessageIcon { None, Information, Warning, Critical };

// Everything that touches the desktop goes through this interface: the program runs on
// the desktop implementation, tests on a recording one.
class Platform
{
public:
    virtual ~Platform() = default;

    // A message box with one OK button; returns when it is closed.
    virtual void messageBox(const QString &title, const QString &text,
                            MessageIcon icon = MessageIcon::None) = 0;
    // A question with "Yes" and "No"; true for "Yes". Returns when it is answered.
    virtual bool question(const QString &title, const QString &text) = 0;
    // Opens a document with the desktop ("open"); false when the desktop has nothing that
    // opens it.
    virtual bool openDocument(const QString &path) = 0;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments = {}) = 0;
    // An open-file dialog; the chosen path, or the empty text when cancelled.
    virtual QString openFileName(const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    // A save-file dialog that asks before replacing a file; the chosen path, or the empty
    // text when cancelled. `suggested` is the path it opens with.
    virtual QString saveFileName(const QString &title, const QString &suggested,
                                 const QString &filter) = 0;
    // The print dialog for `printer`, which comes set to the page the program lays out; true
    // when the user chose where to print, with the printer set to it, false when cancelled.
    virtual bool choosePrinter(QPrinter *printer, const QString &title) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    virtual QDateTime currentDateTime() = 0;
    // Seeds the uniform generator from the clock.
    virtual void seedRandom() = 0;
    // The next uniform number in [0, 1).
    virtual double random() = 0;
    virtual QSize screenSize() = 0;
    // The part of the screen that windows may cover (without panels and docks); the whole
    // screen where the desktop has none.
    virtual QRect screenArea() { return QRect(QPoint(0, 0), screenSize()); }
    // The walker for counting question files; null when it cannot be obtained.
    virtual std::unique_ptr<FolderWalker> folderWalker() = 0;
    // The user's documents folder, where exports go unless the user picks another; the home
    // folder where there is none.
    virtual QString documentsFolder() = 0;
    // The folder of the modules the program loads when they are first needed: the folder of
    // the program's executable.
    virtual QString modulesFolder() = 0;
};
