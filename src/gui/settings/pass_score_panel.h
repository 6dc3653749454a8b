#pragma once

#include "gui/common/captions.h"

#include <QGroupBox>

#include <array>

class ActiveLabel;
class QFrame;
class QLineEdit;
class QPushButton;
class WindowContext;

// Frame4 of the settings window: the teacher types the marks of the weakest ticket that still
// passes, one box per question position (txt[0] is txt1), and the panel shows their average
// over the number of questions (txtV) in txtZ. It takes the place of the settings window's main
// panel while it is open; "ОК" leaves it and offers the result as the pass score when a ticket
// can reach it. The marks stay for the next opening during the run.
class PassScorePanel final : public QGroupBox
{
    Q_OBJECT

public:
    PassScorePanel(const WindowContext &context, QWidget *window);

    // Shows the panel over the window's main panel for this number of questions, the boxes of
    // the questions light and the others black, and the first mark ready to be typed over.
    void open(const QString &questions);

    // The panel's captions in both languages, for the window's table.
    CaptionTable captionTable();
    // The names screen readers give the panel's boxes and its button, in both languages: each
    // mark box says which question's mark it holds, as the row of boxes has one heading.
    CaptionTable spokenNames();
    CaptionTable toolTips();

signals:
    // "ОК" has closed the panel: the window's main panel comes back.
    void left();
    // The result of "ОК", a pass score that a ticket can reach.
    void passScoreChosen(const QString &score);

private:
    void buildControls();
    void questionsChanged(const QString &questions);
    bool recalculate();
    void colourBoxes(const QString &questions);
    void accept();

    ActiveLabel *Label4;
    std::array<QLineEdit *, 20> txt;
    ActiveLabel *Label1;
    ActiveLabel *Label7;
    ActiveLabel *Label3;
    QLineEdit *txtV;
    ActiveLabel *Label5;
    QLineEdit *txtZ;
    QPushButton *Command1;
    QFrame *Line1;
    QFrame *Line2;
    QFrame *Line3;
    QFrame *Line4;
    QFrame *Line5;

    const WindowContext &m_context;
};
