// The settings window's pass score panel (Frame4): it takes the place of the main panel
// while the teacher builds the pass score from a pattern of marks.

#include "app/application.h"
#include "core/program/language_policy.h"
#include "core/program/pass_score.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/settings/settings_window.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QFrame *rule(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *line = makeControl<QFrame>(parent, name, geometry);
    line->setFrameShape(geometry.width() > geometry.height() ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

const QRect PassScorePanel(tw(1800), tw(120), tw(5055), tw(4095));

constexpr int BoxesPerRow = 10;
constexpr int BoxLeft = 8;
constexpr int BoxStep = 32;
constexpr int BoxWidth = 30;
constexpr int BoxHeight = 24;

} // namespace

void SettingsWindow::buildPassScorePanel()
{
    Frame4 = makeControl<QGroupBox>(this, u"Frame4"_s, PassScorePanel, u"Настройка проходного балла"_s);
    Frame4->setAutoFillBackground(true);
    const int width = PassScorePanel.width();

    Label4 = makeControl<ActiveLabel>(Frame4, u"Label4"_s, QRect(BoxLeft, 20, width - 16, 18), u"Оценка билета"_s);
    Line1 = rule(Frame4, u"Line1"_s, QRect(BoxLeft, 38, width - 16, 4));
    for (int i = 0; i < PassScore::Boxes; ++i) {
        const int row = i / BoxesPerRow;
        const int column = i % BoxesPerRow;
        txt[i] = makeControl<QLineEdit>(Frame4, u"txt%1"_s.arg(i + 1),
                                  QRect(BoxLeft + column * BoxStep, row == 0 ? 44 : 102, BoxWidth, BoxHeight),
                                  u"0"_s);
        txt[i]->setAlignment(Qt::AlignCenter);
    }
    Line2 = rule(Frame4, u"Line2"_s, QRect(BoxLeft, 70, width - 16, 4));
    Label1 = makeControl<ActiveLabel>(Frame4, u"Label1"_s, QRect(BoxLeft, 76, 130, 18), u"2 - неуд "_s);
    Label7 = makeControl<ActiveLabel>(Frame4, u"Label7"_s, QRect(BoxLeft + 5 * BoxStep, 76, 130, 18), u"5 - зачет"_s);
    Line3 = rule(Frame4, u"Line3"_s, QRect(BoxLeft, 96, width - 16, 4));
    Line4 = rule(Frame4, u"Line4"_s, QRect(BoxLeft, 130, width - 16, 4));

    Label3 = makeControl<ActiveLabel>(Frame4, u"Label3"_s, QRect(BoxLeft, 145, 200, 18), u"Количество вопросов"_s);
    txtV = makeControl<QLineEdit>(Frame4, u"txtV"_s, QRect(214, 142, 60, BoxHeight), u"5"_s);
    Label5 = makeControl<ActiveLabel>(Frame4, u"Label5"_s, QRect(BoxLeft, 179, 200, 18), u"Выбран проходной балл"_s);
    txtZ = makeControl<QLineEdit>(Frame4, u"txtZ"_s, QRect(214, 176, 90, BoxHeight), u"0"_s);
    Line5 = rule(Frame4, u"Line5"_s, QRect(BoxLeft, 208, width - 16, 4));

    Command1 = makeControl<QPushButton>(Frame4, u"Command1"_s, QRect(width / 2 - 50, 222, 100, 32), u"ОК"_s);
    Command1->setToolTip(u"Открыть окно Выбора билета"_s);
}

void SettingsWindow::connectPassScorePanel()
{
    for (QLineEdit *box : txt)
        connect(box, &QLineEdit::textChanged, this, &SettingsWindow::markChanged);
    connect(txtV, &QLineEdit::textChanged, this, &SettingsWindow::questionsChanged);
    connect(Command1, &QPushButton::clicked, this, &SettingsWindow::acceptPassScore);
}

void SettingsWindow::openPassScoreDialog()
{
    Frame3->hide();
    Frame4->setGeometry(PassScorePanel);
    Frame4->raise();
    Frame4->show();
    const QString questions = Combo1->currentText();
    txtV->setText(questions);
    colourBoxes(questions);
    // The first mark is typed over, as Tab selects each next one.
    txt[0]->setFocus();
    txt[0]->selectAll();
}

void SettingsWindow::markChanged()
{
    recalculate();
}

void SettingsWindow::questionsChanged(const QString &questions)
{
    if (questions == "0"_L1)
        return;
    if (recalculate())
        colourBoxes(questions);
}

// Shows the average of the marks in txtZ; false (after saying so) when a box holds no number.
bool SettingsWindow::recalculate()
{
    QStringList marks;
    for (const QLineEdit *box : txt)
        marks << box->text();
    const PassScore::Result result = PassScore::compute(marks, txtV->text());
    if (result.noValues)
        m_app.message(QString(), LanguagePolicy(Label17->text()).message(u"Нет значений"_s, u"No values"_s));
    txtZ->setText(result.score.toString());
    return !result.noValues;
}

// The boxes of the questions get the usual background, the boxes beyond them black; they
// all stay enabled and all take part in the sum.
void SettingsWindow::colourBoxes(const QString &questions)
{
    const auto used = PassScore::usedBoxes(questions);
    if (!used)
        return;
    const QColor light = QGuiApplication::palette().color(QPalette::Base);
    // A mark typed into a black box must still be seen.
    for (int i = 0; i < PassScore::Boxes; ++i)
        setBackground(txt[i], i < *used ? light : QColor(Qt::black));
}

// A result no ticket can reach is refused; the panel still returns to the main panel, as it
// has no other way out, and the pass score stays as it was.
void SettingsWindow::acceptPassScore()
{
    Frame3->show();
    Frame4->hide();
    const QString result = txtZ->text();
    if (PassScore::isReachable(result)) {
        Text5->setText(result);
        return;
    }
    m_app.message(ProgramTitle,
                  LanguagePolicy(Label17->text()).message(u"Проходной балл %1 недостижим: он должен быть больше 0 и не больше 5. "
                                 u"Проходной балл не изменен."_s.arg(result),
                                 u"The pass score %1 cannot be reached: it must be above 0 and at most 5. "
                                 u"The pass score is not changed."_s.arg(result)),
                  MessageIcon::Warning);
}
