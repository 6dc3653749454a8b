#pragma once

#include <QWidget>

class Application;
class QGroupBox;
class QLabel;
class QPushButton;

// Form10: the program's name and version with a picture; not modal, kept on top.
class AboutWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(Application &app);

private:
    QGroupBox *Frame1;
    QLabel *Image1;
    QPushButton *Command1;

    Application &m_app;
};
