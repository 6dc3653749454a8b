#include "gui/common/desktop_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include <chrono>

void DesktopPlatform::messageBox(const QString &title, const QString &text, MessageIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        boxIcon = QMessageBox::Information;
        break;
    case MessageIcon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // The windows that keep on top must not hide a message from the student.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

bool DesktopPlatform::question(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box.exec() == QMessageBox::Yes;
}

void DesktopPlatform::openDocument(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QString DesktopPlatform::openFileName(const QString &title, const QString &folder,
                                      const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
}

QString DesktopPlatform::saveFileName(const QString &title, const QString &suggested,
                                      const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filter);
}

QString DesktopPlatform::clipboardText()
{
    return QApplication::clipboard()->text();
}

void DesktopPlatform::setClipboardText(const QString &text)
{
    QApplication::clipboard()->setText(text);
}

QDateTime DesktopPlatform::currentDateTime()
{
    return QDateTime::currentDateTime();
}

void DesktopPlatform::seedRandom()
{
    m_generator.seed(quint64(std::chrono::steady_clock::now().time_since_epoch().count()));
}

double DesktopPlatform::random()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_generator);
}

QSize DesktopPlatform::screenSize()
{
    const QScreen *screen = QApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

QRect DesktopPlatform::screenArea()
{
    const QScreen *screen = QApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QString DesktopPlatform::modulesFolder()
{
    return QCoreApplication::applicationDirPath();
}

std::unique_ptr<FolderWalker> DesktopPlatform::folderWalker()
{
    return std::make_unique<FilesystemWalker>();
}
