#include "exam/ticket_window.h"

#include "config/control_factory.h"

#include "config/active_label.h"
#include "config/ini.h"
#include "config/language.h"
#include "config/window_ops.h"
#include "exam/answers_review_window.h"
#include "exam/grade.h"
#include "settings/picture_size_window.h"
#include "start/application.h"
#include "start/start_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Title = u"Тест-Тавринг"_s;

const QColor Wrong(255, 0, 0);
const QColor Right(0, 128, 0);

// The question buttons stand in two columns of ten rows, 480 twips apart: 1 to 10 down the
// left column, 11 to 20 up the right one, so that 20 stands beside 1.
constexpr int RowStep = 480 / 15;
constexpr int ColumnStep = 86;
constexpr int ButtonsTop = 24;

QPoint buttonPlace(int question)
{
    if (question <= 10)
        return QPoint(10, ButtonsTop + (question - 1) * RowStep);
    return QPoint(10 + ColumnStep, ButtonsTop + (20 - question) * RowStep);
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    // Buttons fill their background with the button colour.
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TicketWindow::TicketWindow(Application &app) : QWidget(nullptr), m_app(app)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Тест-тавринг"_s);
    setFixedSize(640, 480);
    buildControls();
    connectHandlers();
}

void TicketWindow::buildControls()
{
    Label15 = makeControl<ActiveLabel>(this, u"Label15"_s, QRect(0, 0, 30, 16));
    Text1 = makeControl<QLineEdit>(this, u"Text1"_s, QRect(0, 0, 30, 20));
    Text1->hide();
    Label15->hide();

    Label27 = makeControl<ActiveLabel>(this, u"Label27"_s, QRect(10, 6, 420, 36));
    Label27->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label27->setWordWrap(true);
    QFont bold = Label27->font();
    bold.setBold(true);
    Label27->setFont(bold);
    Label17 = makeControl<ActiveLabel>(this, u"Label17"_s, QRect(10, 44, 300, 18));
    Label17->setFont(bold);

    Label12 = makeControl<ActiveLabel>(this, u"Label12"_s, QRect(10, 68, 200, 18), u"Вопрос:"_s);
    Text3 = makeControl<QPlainTextEdit>(this, u"Text3"_s, QRect(10, 88, 420, 150));
    Text3->setReadOnly(true);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label13 = makeControl<ActiveLabel>(this, u"Label13"_s, QRect(10, 246, 200, 18), u"Выбрать ответ:"_s);
    List1 = makeControl<QListWidget>(this, u"List1"_s, QRect(10, 266, 420, 150));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    List2 = makeControl<QListWidget>(this, u"List2"_s, QRect(0, 0, 40, 40));
    List2->hide();
    Text4 = makeControl<QLineEdit>(this, u"Text4"_s, QRect(0, 0, 40, 20));
    Text4->hide();
    // The picture is shown large in the picture size window; this one only carries it.
    Image1 = makeControl<QLabel>(this, u"Image1"_s, QRect(0, 0, 40, 40));
    Image1->hide();

    for (int n = 1; n <= Questions; ++n) {
        const QString number = QString::number(n);
        v[n - 1] = makeControl<ActiveLabel>(this, u"v"_s + number, QRect(0, 0, 20, 16));
        o[n - 1] = makeControl<ActiveLabel>(this, u"o"_s + number, QRect(0, 0, 20, 16));
        q[n - 1] = makeControl<ActiveLabel>(this, u"q"_s + number, QRect(0, 0, 20, 16));
        v[n - 1]->hide();
        o[n - 1]->hide();
        q[n - 1]->hide();
    }

    buildQuestionButtons();

    Check1 = makeControl<QCheckBox>(this, u"Check1"_s, QRect(10, 422, 420, 22),
                             u"Просмотр ответов без горизонтальной прокрутки"_s);
    Label5 = makeControl<ActiveLabel>(this, u"Label5"_s, QRect(10, 450, 240, 22));
    QFont verdictFont = bold;
    verdictFont.setPointSizeF(bold.pointSizeF() * 1.2);
    Label5->setFont(verdictFont);
    Label14 = makeControl<ActiveLabel>(this, u"Label14"_s, QRect(260, 452, 60, 18), u"Время "_s);
    Label28 = makeControl<ActiveLabel>(this, u"Label28"_s, QRect(322, 452, 60, 18));
    Label28->setFont(bold);

    Command1 = makeControl<QPushButton>(this, u"Command1"_s, QRect(440, 436, 92, 32), u"Оценка "_s);
    Command1->setToolTip(u"Оценка Теста-Экзамена"_s);
    Command2 = makeControl<QPushButton>(this, u"Command2"_s, QRect(538, 436, 92, 32), u"Закрыть"_s);
    Command2->setToolTip(u"Закрыть окно"_s);
    Command3 = makeControl<QPushButton>(this, u"Command3"_s, QRect(0, 0, 40, 20), u"list1"_s);

    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, QRect(0, 0, 200, 100));
    for (int n = 1; n <= Questions; ++n)
        txt[n - 1] = makeControl<QLineEdit>(Frame1, u"txt"_s + QString::number(n), QRect(0, 0, 20, 20), u"0"_s);
    txtV = makeControl<QLineEdit>(Frame1, u"txtV"_s, QRect(0, 0, 20, 20), u"5"_s);
    Text5 = makeControl<QLineEdit>(Frame1, u"Text5"_s, QRect(0, 0, 20, 20));
    txtZ = makeControl<QLineEdit>(Frame1, u"txtZ"_s, QRect(0, 0, 20, 20));

    Timer2 = new QTimer(this);
    Timer2->setObjectName(u"Timer2"_s);
    Timer2->setInterval(1000);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(u"Timer3"_s);
    Timer3->setInterval(1000);
}

void TicketWindow::buildQuestionButtons()
{
    Frame2 = makeControl<QGroupBox>(this, u"Frame2"_s, QRect(440, 68, 190, ButtonsTop + 10 * RowStep + 8),
                             u"Вопросы"_s);
    ActiveLabel **numbers[Questions] = {
        &Label1,  &Label2,  &Label3,  &Label4,  &Label6,  &Label7,  &Label8,
        &Label9,  &Label10, &Label11, &Label16, &Label18, &Label19, &Label20,
        &Label21, &Label22, &Label23, &Label24, &Label25, &Label26,
    };
    const QString numberNames[Questions] = {
        u"Label1"_s,  u"Label2"_s,  u"Label3"_s,  u"Label4"_s,  u"Label6"_s,
        u"Label7"_s,  u"Label8"_s,  u"Label9"_s,  u"Label10"_s, u"Label11"_s,
        u"Label16"_s, u"Label18"_s, u"Label19"_s, u"Label20"_s, u"Label21"_s,
        u"Label22"_s, u"Label23"_s, u"Label24"_s, u"Label25"_s, u"Label26"_s,
    };
    for (int n = 1; n <= Questions; ++n) {
        const QPoint place = buttonPlace(n);
        // The rectangle first, so that the button and its number lie on top of it.
        QFrame *shape = makeControl<QFrame>(Frame2, u"Shape"_s + QString::number(n),
                                     QRect(place, QSize(ColumnStep - 8, RowStep - 4)));
        shape->setFrameShape(QFrame::Box);
        Shape[n - 1] = shape;
        QRadioButton *button = makeControl<QRadioButton>(Frame2, u"Option"_s + QString::number(n),
                                                  QRect(place + QPoint(6, 5), QSize(18, 18)));
        button->setFocusPolicy(Qt::TabFocus);
        Option[n - 1] = button;
        *numbers[n - 1] = makeControl<ActiveLabel>(Frame2, numberNames[n - 1],
                                            QRect(place + QPoint(30, 5), QSize(40, 18)),
                                            QString::number(n));
    }
}

void TicketWindow::connectHandlers()
{
    for (int n = 1; n <= Questions; ++n) {
        connect(Option[n - 1], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                openQuestion(n);
        });
    }
    // A click on an answer chooses it; so does Enter on the answer reached with the arrow keys.
    const auto choose = [this](QListWidgetItem *item) { chooseAnswer(item->text()); };
    connect(List1, &QListWidget::itemClicked, this, choose);
    connect(List1, &QListWidget::itemActivated, this, choose);
    connect(Command3, &QPushButton::clicked, this, [this] {
        const QList<QListWidgetItem *> selected = List1->selectedItems();
        chooseAnswer(selected.isEmpty() ? QString() : selected.first()->text());
    });
    connect(Check1, &QCheckBox::toggled, this, &TicketWindow::reviewModeToggled);
    connect(Command1, &QPushButton::clicked, this, &TicketWindow::evaluate);
    connect(Command2, &QPushButton::clicked, this, [this] { m_app.closeTicket(); });
    connect(txtZ, &QLineEdit::textChanged, this, &TicketWindow::gradeChanged);
    connect(Timer2, &QTimer::timeout, this, &TicketWindow::onTimer2);
    connect(Timer3, &QTimer::timeout, this, &TicketWindow::onTimer3);
}

CaptionTable TicketWindow::captionTable() const
{
    return {
        {Frame2, u"Вопросы"_s, u"Questions"_s},
        {Label14, u"Время"_s, u"Time"_s},
        {Label12, u"Вопрос"_s, u"Question"_s},
        {Label13, u"Выбрать ответ"_s, u"To Choose an answer"_s},
        {Command1, u"Оценка"_s, u"Evaluation"_s},
        {Command2, u"Закрыть"_s, u"To Close"_s},
        {Check1, u"Просмотр ответов без горизонтальной прокрутки"_s,
         u"Viewing the answers without the horizontal rolling"_s},
    };
}

QString TicketWindow::language() const
{
    return Label15->text();
}

ExamTicket TicketWindow::ticket() const
{
    return ExamTicket(m_app.settings().examFolder(), Text1->text());
}

bool TicketWindow::ticketTimerOn() const
{
    return m_app.settings().ticketTimer();
}

bool TicketWindow::questionTimerOn() const
{
    return m_app.settings().questionTimer();
}

bool TicketWindow::load()
{
    DisableXbutton(this);
    SetTopmost(this, true);

    StartWindow *start = m_app.startWindow();
    Label15->setText(m_app.settings().language());
    if (start) {
        Text1->setText(start->ticketNumber());
        Label27->setText(start->examTitle());
    }
    Frame1->hide();
    Command3->hide();
    List2->hide();

    const bool timed = ticketTimerOn() || questionTimerOn();
    Label14->setVisible(timed);
    Label28->setVisible(timed);

    const ExamTicket files = ticket();
    for (int n = 1; n <= Questions; ++n)
        v[n - 1]->setText(files.presentName(ExamFolder::answersFile(n)));
    for (int n = 1; n <= Questions; ++n)
        o[n - 1]->setText(files.presentName(ExamFolder::correctAnswerFile(n)));
    for (int n = 1; n <= Questions; ++n)
        q[n - 1]->setText(files.presentName(ExamFolder::questionFile(n)));

    Text5->setText(m_app.settings().passScore());
    txtV->setText(m_app.settings().questions());

    for (int n = 2; n <= Questions; ++n)
        Option[n - 1]->setEnabled(false);

    const QColor missing = palette().color(QPalette::WindowText);
    if (v[0]->text().isEmpty() || o[0]->text().isEmpty()) {
        // No question is selected: nothing can be answered.
        colourQuestion(1, missing);
        Option[0]->setEnabled(false);
    } else {
        Option[0]->setEnabled(true);
        Option[0]->setChecked(true);
        if (m_abandoned)
            return false;
    }
    for (int n = 2; n <= Questions; ++n) {
        if (v[n - 1]->text().isEmpty() || o[n - 1]->text().isEmpty())
            colourQuestion(n, missing);
    }

    const auto seconds = qint16(m_app.settings().countdownSeconds());
    if (ticketTimerOn()) {
        m_countdown = seconds;
        Label28->setText(QString::number(m_countdown));
        Timer2->start();
    } else {
        Timer2->stop();
    }
    if (questionTimerOn()) {
        m_countdown = seconds;
        Label28->setText(QString::number(m_countdown));
        Timer3->start();
    } else {
        Timer3->stop();
    }

    applyCaptions(captionTable(), language());
    if (Language::isRussian(language()) || Language::isEnglish(language())) {
        const QString folderName = start ? start->ticketFolderName() : QString();
        Label17->setText(Language::pick(language(), u"Билет № "_s, u"Ticket № "_s) + folderName);
    }
    return true;
}

int TicketWindow::currentQuestion() const
{
    for (int n = 1; n <= Questions; ++n) {
        if (Option[n - 1]->isChecked())
            return n;
    }
    return 0;
}

void TicketWindow::colourQuestion(int question, const QColor &colour)
{
    setBackground(Shape[question - 1], colour);
    setBackground(Option[question - 1], colour);
}

void TicketWindow::openQuestion(int question)
{
    List1->setEnabled(true);
    PictureSizeWindow *pictures = m_app.pictureSizeWindow();
    if (pictures)
        pictures->showPicture(QPixmap());

    const ExamTicket files = ticket();
    Text4->setText(files.presentName(ExamFolder::pictureFile(question)));

    List1->clear();
    List1->addItems(files.answers(question));
    List2->clear();
    List2->addItems(files.correctAnswerLines(question));
    if (List2->count() > 0)
        List2->setCurrentRow(0);

    // A picture that cannot be loaded is no picture.
    const QPixmap picture = Text4->text().isEmpty() ? QPixmap() : QPixmap(files.path(Text4->text()));
    Image1->setPixmap(picture);
    if (!picture.isNull() && pictures)
        pictures->showPicture(picture);

    // A question file that went missing or cannot be read ends the ticket.
    const std::optional<QString> text = q[question - 1]->text().isEmpty()
                                            ? std::nullopt
                                            : files.questionText(question);
    if (!text) {
        abandon();
        return;
    }
    Text3->setPlainText(*text);

    restartQuestionTimer();
    widenAnswers();
}

void TicketWindow::abandon()
{
    m_abandoned = true;
    Timer2->stop();
    Timer3->stop();
    m_app.message(Title, u"Нет вопроса"_s);
    m_app.abandonTicket();
}

void TicketWindow::restartQuestionTimer()
{
    if (questionTimerOn()) {
        m_countdown = qint16(m_app.settings().countdownSeconds());
        Label28->setText(QString::number(m_countdown));
        Timer3->start();
    } else {
        Timer3->stop();
    }
}

void TicketWindow::widenAnswers()
{
    // Like a list box's horizontal extent: the widest answer of the ticket so far sets how far
    // the list scrolls, for this question and every later one.
    const QFontMetrics metrics(List1->font());
    for (int row = 0; row < List1->count(); ++row)
        m_widestAnswer = std::max(m_widestAnswer, metrics.horizontalAdvance(List1->item(row)->text() + u' '));
    const int height = metrics.height() + 4;
    for (int row = 0; row < List1->count(); ++row)
        List1->item(row)->setSizeHint(QSize(m_widestAnswer, height));
}

void TicketWindow::chooseAnswer(const QString &chosen)
{
    // One answer per question: once the list is disabled (answered, or the time ran out)
    // nothing more is recorded, whichever way the choice comes.
    if (!List1->isEnabled())
        return;
    if (Check1->isChecked()) {
        if (AnswersReviewWindow *review = m_app.answersReviewWindow())
            review->Text1->setPlainText(chosen);
        return;
    }
    List1->setEnabled(false);

    const int n = currentQuestion();
    if (n == 0)
        return;
    const QList<QListWidgetItem *> correct = List2->selectedItems();
    const QString correctAnswer = correct.isEmpty() ? QString() : correct.first()->text();
    const bool right = chosen == correctAnswer;
    txt[n - 1]->setText(right ? u"5"_s : u"2"_s);
    colourQuestion(n, right ? Right : Wrong);

    if (n < Questions) {
        const bool nextExists = !v[n]->text().isEmpty() && !o[n]->text().isEmpty()
                                && !q[n]->text().isEmpty();
        if (nextExists) {
            const auto count = Grade::readScore(txtV->text());
            if (count && *count > Fixed::fromInt(n)) {
                Option[n - 1]->setEnabled(false);
                Option[n]->setEnabled(true);
            } else {
                m_app.message(QString(),
                              Language::pick(language(), u"Тест-Экзамен закончен. Нажмите кнопку ОЦЕНКА."_s,
                                             u"TEST-Exam legal. Press The Button EVALUATION."_s));
            }
        }
    }
    q[n - 1]->setText(Text3->toPlainText());

    if (questionTimerOn())
        Timer3->stop();
}

void TicketWindow::reviewModeToggled(bool on)
{
    if (on)
        m_app.openAnswersReview();
    else
        m_app.discardAnswersReview();
}

void TicketWindow::evaluate()
{
    QStringList marks;
    for (const QLineEdit *mark : txt)
        marks << mark->text();
    const Grade::Result result = Grade::compute(marks, txtV->text(), Text5->text());
    const bool russian = Language::isRussian(language());
    switch (result.problem) {
    case Grade::Problem::NoPassScore:
        m_app.message(Title, russian ? u"Не установлена оценка. Установите в Настройках оценку"_s
                                     : u"Not installed evaluation. Install an evaluation in Adjustment"_s);
        txtZ->setText(u"0"_s);
        return;
    case Grade::Problem::PassScoreNotANumber:
        m_app.message(Title,
                      russian ? u"Проходной балл \"%1\" не является числом. Исправьте его в Настройках."_s.arg(Text5->text())
                              : u"The pass score \"%1\" is not a number. Correct it in Adjustment."_s.arg(Text5->text()),
                      MessageIcon::Warning);
        return;
    case Grade::Problem::BadQuestionCount:
        m_app.message(Title,
                      russian ? u"Число вопросов \"%1\" должно быть числом больше 0. Исправьте его в Настройках."_s.arg(txtV->text())
                              : u"The number of questions \"%1\" must be a number above 0. Correct it in Adjustment."_s.arg(txtV->text()),
                      MessageIcon::Warning);
        return;
    case Grade::Problem::None:
        break;
    }
    const QString grade = result.grade.toString();
    // The verdict follows every evaluation, also when the grade is the same as before
    // (a timer may have overwritten the verdict in between).
    if (txtZ->text() == grade)
        gradeChanged();
    else
        txtZ->setText(grade);
}

void TicketWindow::gradeChanged()
{
    const Grade::Verdict verdict = Grade::verdict(txtZ->text(), Text5->text());
    if (verdict == Grade::Verdict::None)
        return;
    const bool pass = verdict == Grade::Verdict::Pass;
    setTextColour(Label5, pass ? Right : Wrong);
    const QString caption = pass ? Language::pick(language(), u"Зачет"_s, u"Delivered"_s)
                                 : Language::pick(language(), u"Не зачет"_s, u"Not deliver"_s);
    if (!caption.isEmpty())
        Label5->setText(caption);
}

void TicketWindow::expire()
{
    List1->setEnabled(false);
    setTextColour(Label5, Wrong);
    const QString caption = Language::pick(language(), u"Не зачет по времени"_s, u"Not deliver on time"_s);
    if (!caption.isEmpty())
        Label5->setText(caption);
}

void TicketWindow::onTimer2()
{
    --m_countdown;
    Label28->setText(QString::number(m_countdown));
    if (m_countdown <= 0) {
        Timer2->stop();
        expire();
    }
}

void TicketWindow::onTimer3()
{
    --m_countdown;
    Label28->setText(QString::number(m_countdown));
    if (m_countdown <= 0) {
        Timer3->stop();
        const bool unanswered = std::any_of(txt.begin(), txt.end(), [](const QLineEdit *mark) {
            const auto value = Grade::readScore(mark->text());
            return !value || value->isZero();
        });
        if (unanswered)
            expire();
    }
}
