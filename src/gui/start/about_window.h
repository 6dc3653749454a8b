#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

// Form10: the program's name and version with a picture; not modal, kept on top. It needs
// nothing of the program: "OK" says it is done, and the program discards it.
class AboutWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // Names the window and its emblem for screen readers in the language; the captions
    // themselves are the same in both.
    void applyLanguage(const QString &language);

signals:
    void closed();

private:
    QGroupBox *Frame1;
    QLabel *Image1;
    QPushButton *Command1;
};
