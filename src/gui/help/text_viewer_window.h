#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// A text file of the program (a report, plt.txt), read-only: Windows-1251 decoded, whatever
// the desktop would make of it.
class TextViewerWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit TextViewerWindow(QWidget *parent = nullptr);

    // Shows the file's text; returns the reason in the language when it cannot be read, the
    // empty text when it is shown.
    QString showFile(const QString &path, const QString &language);
    QString file() const { return m_path; }
    QString text() const;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPlainTextEdit *txtText;
    QPushButton *cmdClose;
    QString m_path;
};
