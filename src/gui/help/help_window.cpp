#include "gui/help/help_window.h"

#include "core/program/language_policy.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_ops.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(u"frmHelp"_s);
    // The student goes on typing in the window that had the keyboard.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // At the right edge of the screen, in the room the start window leaves beside it in the
    // middle, so that the name box and the buttons stay in sight (the window is kept inside
    // the screen, so the move puts it at the edge).
    const QRect area = AvailableArea();
    resize(std::min(area.width() / 2, std::max(LeastWidth, (area.width() - RoomOfStartWindow) / 2)), area.height());
    move(area.right(), area.top());

    helpBrowser = namedControl<QTextBrowser>(this, u"helpBrowser"_s);
    helpBrowser->setOpenExternalLinks(true);
    cmdBack = namedControl<QPushButton>(this, u"cmdBack"_s);
    cmdForward = namedControl<QPushButton>(this, u"cmdForward"_s);
    cmdClose = namedControl<QPushButton>(this, u"cmdClose"_s);
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(cmdBack, &QPushButton::clicked, helpBrowser, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, helpBrowser, &QTextBrowser::forward);
    connect(helpBrowser, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(helpBrowser, &QTextBrowser::forwardAvailable, cmdForward, &QPushButton::setEnabled);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(helpBrowser);
    applyLanguage(u"rus"_s);
}

void HelpWindow::showPage(const QString &path, const QString &language)
{
    const QUrl url = QUrl::fromLocalFile(path);
    if (helpBrowser->source() != url || language != m_language) {
        helpBrowser->setSource(url);
        helpBrowser->clearHistory();
    }
    applyLanguage(language);
}

QString HelpWindow::page() const
{
    return helpBrowser->source().toLocalFile();
}

void HelpWindow::applyLanguage(const QString &language)
{
    m_language = language;
    const LanguagePolicy policy(language);
    setWindowTitle(policy.text(u"Тест-Тавринг: руководство"_s, u"Тест-Тавринг: user guide"_s));
    cmdBack->setText(policy.text(u"< Назад"_s, u"< Back"_s));
    cmdForward->setText(policy.text(u"Вперёд >"_s, u"Forward >"_s));
    cmdClose->setText(policy.text(u"Закрыть"_s, u"Close"_s));
}
