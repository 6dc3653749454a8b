#include "gui/settings/pass_score_panel.h"

#include "core/program/pass_score.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"

#include <QFrame>
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

const QRect PanelGeometry(tw(1800), tw(120), tw(5055), tw(4095));

constexpr int BoxesPerRow = 10;
constexpr int BoxLeft = 8;
constexpr int BoxStep = 32;
constexpr int BoxWidth = 30;
constexpr int BoxHeight = 24;

} // namespace

PassScorePanel::PassScorePanel(const WindowContext &context, QWidget *window)
    : QGroupBox(u"Настройка проходного балла"_s, window), m_context(context)
{
    setObjectName(u"Frame4"_s);
    setGeometry(PanelGeometry);
    setAutoFillBackground(true);
    buildControls();
    for (QLineEdit *box : txt)
        connect(box, &QLineEdit::textChanged, this, &PassScorePanel::recalculate);
    connect(txtV, &QLineEdit::textChanged, this, &PassScorePanel::questionsChanged);
    connect(Command1, &QPushButton::clicked, this, &PassScorePanel::accept);
}

void PassScorePanel::buildControls()
{
    const int width = PanelGeometry.width();
    Label4 = makeControl<ActiveLabel>(this, u"Label4"_s, QRect(BoxLeft, 20, width - 16, 18), u"Оценка билета"_s);
    Line1 = rule(this, u"Line1"_s, QRect(BoxLeft, 38, width - 16, 4));
    for (int i = 0; i < PassScore::Boxes; ++i) {
        const int row = i / BoxesPerRow;
        const int column = i % BoxesPerRow;
        txt[i] = makeControl<QLineEdit>(this, u"txt%1"_s.arg(i + 1),
                                        QRect(BoxLeft + column * BoxStep, row == 0 ? 44 : 102, BoxWidth, BoxHeight),
                                        u"0"_s);
        txt[i]->setAlignment(Qt::AlignCenter);
    }
    Line2 = rule(this, u"Line2"_s, QRect(BoxLeft, 70, width - 16, 4));
    Label1 = makeControl<ActiveLabel>(this, u"Label1"_s, QRect(BoxLeft, 76, 130, 18), u"2 - неуд "_s);
    Label7 = makeControl<ActiveLabel>(this, u"Label7"_s, QRect(BoxLeft + 5 * BoxStep, 76, 130, 18), u"5 - зачет"_s);
    Line3 = rule(this, u"Line3"_s, QRect(BoxLeft, 96, width - 16, 4));
    Line4 = rule(this, u"Line4"_s, QRect(BoxLeft, 130, width - 16, 4));

    Label3 = makeControl<ActiveLabel>(this, u"Label3"_s, QRect(BoxLeft, 145, 200, 18), u"Количество вопросов"_s);
    txtV = makeControl<QLineEdit>(this, u"txtV"_s, QRect(214, 142, 60, BoxHeight), u"5"_s);
    Label3->setBuddy(txtV);
    Label5 = makeControl<ActiveLabel>(this, u"Label5"_s, QRect(BoxLeft, 179, 200, 18), u"Выбран проходной балл"_s);
    txtZ = makeControl<QLineEdit>(this, u"txtZ"_s, QRect(214, 176, 90, BoxHeight), u"0"_s);
    Label5->setBuddy(txtZ);
    Line5 = rule(this, u"Line5"_s, QRect(BoxLeft, 208, width - 16, 4));

    Command1 = makeControl<QPushButton>(this, u"Command1"_s, QRect(width / 2 - 50, 222, 100, 32), u"ОК"_s);
    Command1->setToolTip(u"Открыть окно Выбора билета"_s);
}

CaptionTable PassScorePanel::captionTable()
{
    return {
        {this, u"Настройка проходного балла"_s, u"Adjustment communicating ballet"_s},
        {Label4, u"Оценка билета"_s, u"Evaluation of ticket"_s},
        {Label1, u"2 - неуд"_s, u"2 - bad"_s},
        {Label7, u"5 - зачет"_s, u"5 - well"_s},
        {Label3, u"Количество вопросов"_s, u"Amount of questions"_s},
        {Label5, u"Выбран проходной балл"_s, u"Choose communicating ballet"_s},
    };
}

CaptionTable PassScorePanel::spokenNames()
{
    CaptionTable names;
    for (int i = 0; i < PassScore::Boxes; ++i)
        names.push_back({txt[i], u"Оценка вопроса %1"_s.arg(i + 1), u"Mark of question %1"_s.arg(i + 1)});
    names.push_back({txtV, u"Количество вопросов"_s, u"Number of questions"_s});
    names.push_back({txtZ, u"Выбранный проходной балл"_s, u"Chosen pass score"_s});
    // The button's caption is the Cyrillic "ОК" in both languages.
    names.push_back({Command1, u"ОК"_s, u"OK"_s});
    return names;
}

CaptionTable PassScorePanel::toolTips()
{
    return {{Command1, u"Открыть окно Выбора билета"_s, u"Open the ticket choice"_s}};
}

void PassScorePanel::open(const QString &questions)
{
    setGeometry(PanelGeometry);
    raise();
    show();
    txtV->setText(questions);
    colourBoxes(questions);
    // The first mark is typed over, as Tab selects each next one.
    txt[0]->setFocus();
    txt[0]->selectAll();
}

void PassScorePanel::questionsChanged(const QString &questions)
{
    if (questions == "0"_L1)
        return;
    if (recalculate())
        colourBoxes(questions);
}

// Shows the average of the marks in txtZ; false (after saying so) when a box holds no number.
bool PassScorePanel::recalculate()
{
    QStringList marks;
    for (const QLineEdit *box : txt)
        marks << box->text();
    const PassScore::Result result = PassScore::compute(marks, txtV->text());
    if (result.noValues)
        m_context.message(QString(), m_context.language().message(u"Нет значений"_s, u"No values"_s));
    txtZ->setText(result.score.toString());
    return !result.noValues;
}

// The boxes of the questions get the usual background, the boxes beyond them black; they
// all stay enabled and all take part in the sum.
void PassScorePanel::colourBoxes(const QString &questions)
{
    const auto used = PassScore::usedBoxes(questions);
    if (!used)
        return;
    const QColor light = QPalette().color(QPalette::Base);
    // A mark typed into a black box must still be seen.
    for (int i = 0; i < PassScore::Boxes; ++i)
        setBackground(txt[i], i < *used ? light : QColor(Qt::black));
}

// A result no ticket can reach is refused; the panel still closes, as it has no other way
// out, and the pass score stays as it was.
void PassScorePanel::accept()
{
    emit left();
    hide();
    const QString result = txtZ->text();
    if (PassScore::isReachable(result)) {
        emit passScoreChosen(result);
        return;
    }
    m_context.message(ProgramTitle,
                      m_context.language().message(
                          u"Проходной балл %1 недостижим: он должен быть больше 0 и не больше 5. "
                          u"Проходной балл не изменен."_s.arg(result),
                          u"The pass score %1 cannot be reached: it must be above 0 and at most 5. "
                          u"The pass score is not changed."_s.arg(result)),
                      MessageIcon::Warning);
}
