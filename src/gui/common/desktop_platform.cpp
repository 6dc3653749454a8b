#include "gui/common/desktop_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>

#include <chrono>

namespace {

// A message box is as wide as its text, which leaves a short text's title bar too narrow for
// the title ("Т… нг"): the box is made wide enough for the title and the title bar's buttons.
void makeRoomForTitle(QMessageBox &box)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int buttons = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + buttons;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

} // namespace

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
    makeRoomForTitle(box);
    box.exec();
}

bool DesktopPlatform::question(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    makeRoomForTitle(box);
    return box.exec() == QMessageBox::Yes;
}

bool DesktopPlatform::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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

bool DesktopPlatform::choosePrinter(QPrinter *printer, const QString &title)
{
    QPrintDialog dialog(printer, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
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

QString DesktopPlatform::documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

QString DesktopPlatform::modulesFolder()
{
    return QCoreApplication::applicationDirPath();
}

std::unique_ptr<FolderWalker> DesktopPlatform::folderWalker()
{
    return std::make_unique<FilesystemWalker>();
}
