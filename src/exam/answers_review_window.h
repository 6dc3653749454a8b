#pragma once

#include "config/captions.h"

#include <QWidget>

class ActiveLabel;
class Application;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// Form8: the whole text of the answer last clicked in the ticket window's review mode,
// wrapped over several lines. "Выбрать" records that answer in the ticket window.
class AnswersReviewWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AnswersReviewWindow(Application &app);

    ActiveLabel *Label1;
    QGroupBox *Frame1;
    QPlainTextEdit *Text1;
    QPushButton *Command1;

private:
    void choose();

    Application &m_app;
};
