#include "gui/help/document_windows.h"

#include "gui/help/help_window.h"
#include "gui/help/text_viewer_window.h"

DocumentWindows::DocumentWindows(QObject *parent) : QObject(parent) {}

DocumentWindows::~DocumentWindows()
{
    delete m_help;
    delete m_text;
}

void DocumentWindows::showGuide(const QString &path, const QString &language)
{
    if (!m_help)
        m_help = new HelpWindow;
    m_help->showPage(path, language);
    // Shown and raised, never activated: the keyboard stays with the window the user types in.
    if (m_help->isMinimized())
        m_help->showNormal();
    m_help->show();
    m_help->raise();
}

QString DocumentWindows::showText(const QString &path, const QString &language)
{
    if (!m_text) {
        m_text = new TextViewerWindow;
        connect(m_text, &TextViewerWindow::closed, this, &DocumentWindows::textClosed);
    }
    const QString failure = m_text->showFile(path, language);
    if (!failure.isEmpty())
        return failure;
    if (m_text->isMinimized())
        m_text->showNormal();
    m_text->show();
    m_text->raise();
    m_text->activateWindow();
    return QString();
}

HelpWindow *DocumentWindows::helpWindow() const
{
    return m_help;
}

TextViewerWindow *DocumentWindows::textViewer() const
{
    return m_text;
}
