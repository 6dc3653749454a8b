#pragma once

#include "core/platform.h"

#include <QList>
#include <QQueue>

// The platform of the tests: records what the program shows and starts, answers
// dialogs from a queue, and has a settable clock and scripted random numbers.
class TestPlatform final : public Platform
{
public:
    struct Message
    {
        QString title;
        QString text;
        MessageIcon icon;
    };

    void messageBox(const QString &title, const QString &text, MessageIcon icon) override;
    bool question(const QString &title, const QString &text) override;
    bool openDocument(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &suggested, const QString &filter) override;
    bool choosePrinter(QPrinter *printer, const QString &title) override;
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString &text) override { clipboard = text; }
    QDateTime currentDateTime() override { return now; }
    void seedRandom() override { ++seeds; }
    double random() override;
    QSize screenSize() override { return screen; }
    std::unique_ptr<FolderWalker> folderWalker() override;
    QString modulesFolder() override { return modules; }
    QString documentsFolder() override { return documentsPath; }

    // The texts of the messages shown, in order.
    QStringList messageTexts() const;
    void clear();

    QList<Message> messages;
    // The questions asked, as messages without an icon, and their answers, taken one per
    // question; "No" once they run out.
    QList<Message> questions;
    QQueue<bool> questionAnswers;
    QStringList documents;
    // The user's documents folder.
    QString documentsPath;
    // Whether the desktop has a program for the documents it is asked to open.
    bool documentsOpen = true;
    QStringList programs;
    // Answers of the open-file dialog, taken one per call; the empty text is a cancel.
    QQueue<QString> fileAnswers;
    QStringList fileDialogFilters;
    // Answers of the save-file dialog, taken one per call; the empty text is a cancel. The
    // suggested paths are recorded.
    QQueue<QString> saveAnswers;
    QStringList saveSuggestions;
    // Answers of the print dialog, taken one per call: the printer prints to this PDF file; the
    // empty text is a cancel. The dialogs' titles are recorded.
    QQueue<QString> printAnswers;
    QStringList printTitles;
    QString clipboard;
    QDateTime now = QDateTime(QDate(2026, 12, 8), QTime(10, 30, 15));
    // Scripted values of the uniform generator; 0 once they run out.
    QQueue<double> randoms;
    int seeds = 0;
    QSize screen = QSize(1280, 1024);
    // Where the modules are: the build's program folder, where the results module is built.
    QString modules = QStringLiteral(TAVRING_MODULES);
    bool walkerFails = false;
};
