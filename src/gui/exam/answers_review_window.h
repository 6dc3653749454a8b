#pragma once

#include "gui/common/captions.h"

#include <QWidget>

class ActiveLabel;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class WindowContext;

// Form8: the whole text of the answer last clicked in the ticket window's review mode,
// wrapped over several lines. "Выбрать" asks for that answer to be recorded.
class AnswersReviewWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AnswersReviewWindow(const WindowContext &context);

    // The whole text of the answer clicked.
    void showAnswer(const QString &answer);

signals:
    // "Выбрать": the answer selected in the ticket is the student's choice.
    void chosen();

private:
    ActiveLabel *Label1;
    QGroupBox *Frame1;
    QPlainTextEdit *Text1;
    QPushButton *Command1;
};
