#pragma once

#include "gui/common/document_viewer.h"

#include <QObject>
#include <QPointer>

class HelpWindow;
class TextViewerWindow;

// The program's document windows: one help window and one text viewer, made when first
// needed and shown again (brought forward, not made anew) when asked for once more.
class DocumentWindows final : public QObject, public DocumentViewer
{
    Q_OBJECT

public:
    explicit DocumentWindows(QObject *parent = nullptr);
    ~DocumentWindows() override;

    void showGuide(const QString &path, const QString &language) override;
    QString showText(const QString &path, const QString &language) override;

    HelpWindow *helpWindow() const;
    TextViewerWindow *textViewer() const;

signals:
    // The text viewer was closed.
    void textClosed();

private:
    QPointer<HelpWindow> m_help;
    QPointer<TextViewerWindow> m_text;
};
