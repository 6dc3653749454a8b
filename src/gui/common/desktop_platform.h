#pragma once

#include "core/platform.h"

#include <random>

// The platform of the running program: message boxes, the desktop, the clipboard,
// the clock and the screen.
class DesktopPlatform final : public Platform
{
public:
    void messageBox(const QString &title, const QString &text, MessageIcon icon) override;
    bool openDocument(const QString &path) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    bool question(const QString &title, const QString &text) override;
    QString saveFileName(const QString &title, const QString &suggested, const QString &filter) override;
    bool choosePrinter(QPrinter *printer, const QString &title) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    QDateTime currentDateTime() override;
    void seedRandom() override;
    double random() override;
    QSize screenSize() override;
    QRect screenArea() override;
    std::unique_ptr<FolderWalker> folderWalker() override;
    QString documentsFolder() override;
    QString modulesFolder() override;

private:
    std::mt19937_64 m_generator{std::random_device{}()};
};
