#include "gui/exam/answers_review_window.h"

#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

AnswersReviewWindow::AnswersReviewWindow(const WindowContext &context) : QWidget(nullptr)
{
    setObjectName(u"Form8"_s);
    setWindowTitle(u"Тест-Тавринг = Просмотр ответов"_s);
    setFixedSize(420, 260);

    Label1 = namedControl<ActiveLabel>(this, u"Label1"_s);
    Label1->hide();
    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, QRect(8, 6, 404, 200), u"Просмотр ответов"_s);
    Text1 = makeControl<QPlainTextEdit>(Frame1, u"Text1"_s, QRect(10, 22, 384, 168));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Command1 = makeControl<QPushButton>(this, u"Command1"_s, QRect(150, 216, 120, 32), u"Выбрать "_s);
    connect(Command1, &QPushButton::clicked, this, &AnswersReviewWindow::chosen);

    DisableXbutton(this);
    SetTopmost(this, true);
    Label1->setText(context.settings().language());
    move(0, context.platform().screenSize().height() / 3);
    applyCaptions({{Frame1, u"Просмотр ответов"_s, u"Viewing the answers"_s},
                   {Command1, u"Выбрать"_s, u"To Choose"_s}},
                  Label1->text());
    applySpokenNames({{this, u"Просмотр ответа"_s, u"Viewing an answer"_s},
                      {Text1, u"Ответ целиком"_s, u"The whole answer"_s}},
                     Label1->text());
}

void AnswersReviewWindow::showAnswer(const QString &answer)
{
    Text1->setPlainText(answer);
}
