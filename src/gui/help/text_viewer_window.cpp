#include "gui/help/text_viewer_window.h"

#include "core/files/ansi_text.h"
#include "core/files/file_error.h"
#include "core/program/language_policy.h"
#include "gui/common/control_factory.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <cerrno>

using namespace Qt::StringLiterals;

TextViewerWindow::TextViewerWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(u"frmText"_s);
    resize(720, 520);

    txtText = namedControl<QPlainTextEdit>(this, u"txtText"_s);
    txtText->setReadOnly(true);
    txtText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtText->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdClose = namedControl<QPushButton>(this, u"cmdClose"_s);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes it, as it closes a message.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtText);
    layout->addLayout(buttons);
}

QString TextViewerWindow::showFile(const QString &path, const QString &language)
{
    const LanguagePolicy policy(language);
    const QFileInfo info(path);
    if (!info.exists())
        return FileError(FileError::Kind::NotFound, path).describe(policy);
    if (info.isDir())
        return FileError(FileError::Kind::FolderInPlace, path).describe(policy);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return FileError::fromSystem(errno, path, file.errorString()).describe(policy);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileError::fromSystem(errno, path, file.errorString()).describe(policy);
    m_path = path;
    txtText->setPlainText(AnsiText::decode(bytes));
    setWindowTitle(QFileInfo(path).fileName() + u" - Тест-Тавринг"_s);
    cmdClose->setText(policy.text(u"Закрыть"_s, u"Close"_s));
    return QString();
}

QString TextViewerWindow::text() const
{
    return txtText->toPlainText();
}

void TextViewerWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}
