#include "gui/exam/ticket_window.h"

#include "core/exam/ticket_session.h"
#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"
#include "gui/common/active_label.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Answers measured for the list's extent at once; more are measured this many at a time.
constexpr qsizetype AnswersMeasuredAtOnce = 500;

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

} // namespace

// The offered answers of the open question as List1 shows them: a row is decoded from the
// file's bytes only when the list asks for it, so a question of thousands of answers is listed
// at the cost of reading its file. Every row has the same size, the widest answer's width.
class AnswerListModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setAnswers(const AnsiText::Lines &answers)
    {
        beginResetModel();
        m_answers = answers;
        endResetModel();
    }

    QString answer(int row) const { return m_answers.at(row); }

    void setRowSize(const QSize &size)
    {
        if (size == m_rowSize)
            return;
        emit layoutAboutToBeChanged();
        m_rowSize = size;
        emit layoutChanged();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_answers.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return QVariant();
        if (role == Qt::DisplayRole)
            return m_answers.at(index.row());
        if (role == Qt::SizeHintRole && m_rowSize.isValid())
            return m_rowSize;
        return QVariant();
    }

private:
    AnsiText::Lines m_answers;
    QSize m_rowSize;
};

TicketWindow::TicketWindow(const WindowContext &context, TicketSession &session)
    : QWidget(nullptr), m_context(context), m_session(session)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Тест-тавринг"_s);
    setFixedSize(640, 480);
    buildControls();
    connectHandlers();
}

void TicketWindow::buildControls()
{
    Label15 = makeHolder<ActiveLabel>(this, u"Label15"_s);
    Text1 = makeHolder<QLineEdit>(this, u"Text1"_s);

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
    List1 = makeControl<QListView>(this, u"List1"_s, QRect(10, 266, 420, 150));
    m_answers = new AnswerListModel(List1);
    List1->setModel(m_answers);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every answer gets the same size (the widest answer's width, one line high), so the list
    // lays out thousands of answers without asking each one for its size.
    List1->setUniformItemSizes(true);
    Label12->setBuddy(Text3);
    Label13->setBuddy(List1);
    // The correct answers stay in the ticket's run: the list that held them is kept empty, so
    // that nothing a student's tools can read during the ticket holds one.
    List2 = makeHolder<QListWidget>(this, u"List2"_s);
    Text4 = makeHolder<QLineEdit>(this, u"Text4"_s);
    // The picture is shown large in the picture size window; this one only carries it.
    Image1 = makeHolder<QLabel>(this, u"Image1"_s);

    for (int n = 1; n <= Questions; ++n) {
        const QString number = QString::number(n);
        v[n - 1] = makeHolder<ActiveLabel>(this, u"v"_s + number);
        o[n - 1] = makeHolder<ActiveLabel>(this, u"o"_s + number);
        q[n - 1] = makeHolder<ActiveLabel>(this, u"q"_s + number);
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
    Command3 = makeHolder<QPushButton>(this, u"Command3"_s);
    Command3->setText(u"list1"_s);

    Frame1 = makeHolder<QGroupBox>(this, u"Frame1"_s);
    for (int n = 1; n <= Questions; ++n) {
        txt[n - 1] = makeHolder<QLineEdit>(Frame1, u"txt"_s + QString::number(n));
        txt[n - 1]->setText(u"0"_s);
    }
    txtV = makeHolder<QLineEdit>(Frame1, u"txtV"_s);
    txtV->setText(u"5"_s);
    Text5 = makeHolder<QLineEdit>(Frame1, u"Text5"_s);
    txtZ = makeHolder<QLineEdit>(Frame1, u"txtZ"_s);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(u"Timer2"_s);
    Timer2->setInterval(1000);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(u"Timer3"_s);
    Timer3->setInterval(1000);
    m_measuring = new QTimer(this);
    m_measuring->setSingleShot(true);
    m_measuring->setInterval(0);
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
        // The rectangle only shows in colour what the button's name says.
        auto *shape = new QFrame();
        concealFromScreenReaders(shape);
        shape->setParent(Frame2);
        shape->setObjectName(u"Shape"_s + QString::number(n));
        shape->setGeometry(QRect(place, QSize(ColumnStep - 8, RowStep - 4)));
        shape->setFrameShape(QFrame::Box);
        Shape[n - 1] = shape;
        QRadioButton *button = makeControl<QRadioButton>(Frame2, u"Option"_s + QString::number(n),
                                                  QRect(place + QPoint(6, 5), QSize(18, 18)));
        button->setFocusPolicy(Qt::TabFocus);
        Option[n - 1] = button;
        *numbers[n - 1] = makeControl<ActiveLabel>(Frame2, numberNames[n - 1],
                                            QRect(place + QPoint(30, 5), QSize(40, 18)),
                                            QString::number(n));
        m_numberLabels[n - 1] = *numbers[n - 1];
    }
}

void TicketWindow::connectHandlers()
{
    for (int n = 1; n <= Questions; ++n) {
        connect(Option[n - 1], &QRadioButton::toggled, this, [this, n](bool on) {
            // Selecting the button of the question the run has just opened opens nothing more.
            if (on && m_run && n != m_run->currentQuestion())
                openQuestion(n);
        });
    }
    // A click on an answer chooses it; so does Enter on the answer reached with the arrow keys.
    const auto choose = [this](const QModelIndex &index) {
        if (index.isValid())
            chooseAnswer(m_answers->answer(index.row()));
    };
    connect(List1, &QListView::clicked, this, choose);
    connect(List1, &QListView::activated, this, choose);
    // Space chooses the highlighted answer as Enter does.
    ActivateOnSpace(List1);
    connect(Command3, &QPushButton::clicked, this, [this] {
        const QModelIndexList selected = List1->selectionModel()->selectedIndexes();
        chooseAnswer(selected.isEmpty() ? QString() : m_answers->answer(selected.first().row()));
    });
    connect(Check1, &QCheckBox::toggled, this, &TicketWindow::reviewModeToggled);
    connect(Command1, &QPushButton::clicked, this, &TicketWindow::evaluate);
    connect(Command2, &QPushButton::clicked, this, &TicketWindow::closeTicket);
    connect(Timer2, &QTimer::timeout, this, &TicketWindow::onTimer2);
    connect(Timer3, &QTimer::timeout, this, &TicketWindow::onTimer3);
    connect(m_measuring, &QTimer::timeout, this, [this] { measureAnswers(AnswersMeasuredAtOnce); });
}

void TicketWindow::connectRun()
{
    TicketRun *run = m_run;
    connect(run, &TicketRun::questionOpened, this, &TicketWindow::showQuestion);
    connect(run, &TicketRun::questionEnabledChanged, this,
            [this](int question, bool enabled) { Option[question - 1]->setEnabled(enabled); });
    connect(run, &TicketRun::answerableChanged, List1, &QWidget::setEnabled);
    connect(run, &TicketRun::markChanged, this, [this](int question) {
        txt[question - 1]->setText(m_run->mark(question));
        colourQuestion(question, txt[question - 1]->text() == u"5"_s ? Right : Wrong);
        nameQuestionButton(question);
    });
    connect(run, &TicketRun::questionEntryChanged, this,
            [this](int question, const QString &entry) { q[question - 1]->setText(entry); });
    connect(run, &TicketRun::gradeChanged, this, [this] { txtZ->setText(m_run->grade()); });
    connect(run, &TicketRun::verdictChanged, this, &TicketWindow::showVerdict);
    connect(run, &TicketRun::countdownChanged, this,
            [this] { Label28->setText(TicketRun::countdownText(m_run->countdown())); });
    // A start begins a new second, also for a timer that runs already.
    connect(run, &TicketRun::ticketTimerSwitched, this, [this] {
        if (m_run->isTicketTimerRunning())
            Timer2->start();
        else
            Timer2->stop();
    });
    connect(run, &TicketRun::questionTimerSwitched, this, [this] {
        if (m_run->isQuestionTimerRunning())
            Timer3->start();
        else
            Timer3->stop();
    });
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

bool TicketWindow::load()
{
    DisableXbutton(this);
    SetTopmost(this, true);

    Label15->setText(m_context.settings().language());
    Text1->setText(m_session.ticketNumber());
    Label27->setText(m_session.examTitle());

    m_run = &m_session.run();
    connectRun();

    Label14->setVisible(m_run->isTimed());
    Label28->setVisible(m_run->isTimed());
    for (int n = 1; n <= Questions; ++n) {
        v[n - 1]->setText(m_run->answersFile(n));
        o[n - 1]->setText(m_run->correctAnswerFile(n));
        q[n - 1]->setText(m_run->questionEntry(n));
        Option[n - 1]->setEnabled(m_run->isEnabled(n));
    }
    Text5->setText(m_run->passScore());
    txtV->setText(m_run->questionCount());

    if (!m_session.begin()) {
        // A journal that no longer fits its ticket is not taken up; the session says why.
        if (!m_session.isResumed())
            abandon();
        return false;
    }
    const QColor missing = palette().color(QPalette::WindowText);
    for (int n = 1; n <= Questions; ++n) {
        if (m_run->isMissing(n))
            colourQuestion(n, missing);
    }

    for (int n = 1; n <= Questions; ++n)
        nameQuestionButton(n);
    applySpokenNames({{this, u"Билет"_s, u"Ticket"_s}}, language());
    applyToolTips({{Command1, u"Оценка Теста-Экзамена"_s, u"Evaluation of the test-exam"_s},
                   {Command2, u"Закрыть окно"_s, u"Close the window"_s}},
                  language());
    applyCaptions(captionTable(), language());
    const QString ticketLine = m_session.ticketLine();
    if (!ticketLine.isEmpty())
        Label17->setText(ticketLine);
    return true;
}

int TicketWindow::currentQuestion() const
{
    return m_run ? m_run->currentQuestion() : 0;
}

void TicketWindow::moveRightOf(int left)
{
    m_besideLeft = left;
    KeepRightOf(this, left);
    placeBeside();
}

void TicketWindow::placeBeside()
{
    const QRect area = AvailableArea();
    const QMargins frame = WindowFrame(this);
    const int lastOnScreen = area.right() + 1 - width() - frame.left() - frame.right();
    const int placed = std::max(area.left(), std::min(*m_besideLeft, lastOnScreen));
    if (placed != x())
        move(placed, y());
}

void TicketWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A width reported late (the old one first, then the narrowed one) would otherwise leave
    // the window where the old width had to go: over the picture. A window that already
    // stands beside the picture stays where it is.
    if (m_besideLeft && event->size().width() != event->oldSize().width() && x() < *m_besideLeft)
        placeBeside();
}

void TicketWindow::chooseReviewedAnswer()
{
    // Leaving review mode discards the review window; the hidden button then records the
    // answer still selected in the list.
    Check1->setChecked(false);
    Command3->click();
}

void TicketWindow::colourQuestion(int question, const QColor &colour)
{
    setBackground(Shape[question - 1], colour);
    setBackground(Option[question - 1], colour);
    // The number stands on the rectangle: its text must read on the rectangle's colour.
    setTextColour(m_numberLabels[question - 1], readableTextOn(colour));
}

void TicketWindow::openQuestion(int question)
{
    switch (m_run->open(question)) {
    case TicketRun::Opening::Opened:
        break;
    case TicketRun::Opening::Unavailable:
        // The buttons follow the run: the open question stays selected.
        if (const int current = m_run->currentQuestion())
            Option[current - 1]->setChecked(true);
        break;
    case TicketRun::Opening::NoQuestion:
        abandon();
        break;
    }
}

void TicketWindow::showQuestion(int question)
{
    Option[question - 1]->setChecked(true);
    List1->setEnabled(m_run->isAnswerable());
    emit pictureChanged(QPixmap(), QString());

    Text4->setText(m_run->pictureFile());
    m_answers->setAnswers(m_run->answers());

    // A picture that cannot be loaded is no picture.
    const QPixmap picture = Text4->text().isEmpty() ? QPixmap() : QPixmap(m_run->ticket().path(Text4->text()));
    Image1->setPixmap(picture);
    if (!picture.isNull())
        emit pictureChanged(picture, m_run->questionText().simplified());

    Text3->setPlainText(m_run->questionText());
    // A screen reader says where the student is and what is asked as the focus reaches the
    // answers, which are named by the question.
    const QString heading = questionHeading(question);
    Text3->setAccessibleName(heading);
    List1->setAccessibleName(heading + u". "_s + m_run->questionText().simplified());
    widenAnswers();
    // The arrow keys start on the first answer, which is highlighted, not chosen.
    if (m_answers->rowCount() > 0)
        List1->selectionModel()->setCurrentIndex(m_answers->index(0), QItemSelectionModel::NoUpdate);
    if (List1->isEnabled())
        List1->setFocus();
}

void TicketWindow::abandon()
{
    m_context.message(ProgramTitle, u"Нет вопроса"_s);
    emit abandoned();
}

void TicketWindow::widenAnswers()
{
    // Like a list box's horizontal extent: the widest answer of the ticket so far sets how far
    // the list scrolls, for this question and every later one. Measuring one answer takes
    // microseconds, so a question with thousands of them is shown at once and measured in
    // slices between events; the extent follows when the last slice is done.
    const AnsiText::Lines &answers = m_run->answers();
    if (!answers.isEmpty()) {
        m_unmeasuredAnswers.append({answers, 0});
        m_unmeasuredCount += answers.size();
    }
    if (m_unmeasuredCount <= AnswersMeasuredAtOnce) {
        measureAnswers(m_unmeasuredCount);
        return;
    }
    sizeAnswerRows();
    m_measuring->start();
}

void TicketWindow::measureAnswers(qsizetype count)
{
    const QFontMetrics metrics(List1->font());
    while (count > 0 && !m_unmeasuredAnswers.isEmpty()) {
        UnmeasuredAnswers &first = m_unmeasuredAnswers.first();
        const qsizetype end = std::min(first.answers.size(), first.next + count);
        count -= end - first.next;
        m_unmeasuredCount -= end - first.next;
        for (; first.next < end; ++first.next)
            m_widestAnswer = std::max(m_widestAnswer, metrics.horizontalAdvance(first.answers.at(first.next) + u' '));
        if (first.next == first.answers.size())
            m_unmeasuredAnswers.removeFirst();
    }
    if (m_unmeasuredAnswers.isEmpty())
        sizeAnswerRows();
    else
        m_measuring->start();
}

// Every answer row gets the widest answer's width and one line's height.
void TicketWindow::sizeAnswerRows()
{
    m_answers->setRowSize(QSize(m_widestAnswer, QFontMetrics(List1->font()).height() + 4));
}

void TicketWindow::chooseAnswer(const QString &chosen)
{
    // One answer per question: once the question is answered or the time ran out nothing
    // more is recorded, whichever way the choice comes.
    if (!m_run || !m_run->isAnswerable())
        return;
    if (Check1->isChecked()) {
        emit answerReviewed(chosen);
        return;
    }
    // The list is disabled once the question is answered; it lets go of the focus first, so
    // that the focus goes straight to where the student goes on rather than through the
    // controls between (each of which a screen reader would say).
    if (List1->hasFocus())
        List1->clearFocus();
    const TicketRun::Next next = m_run->choose(chosen).next;
    if (next == TicketRun::Next::TicketFinished)
        m_context.message(QString(), LanguagePolicy(language()).message(u"Тест-Экзамен закончен. Нажмите кнопку ОЦЕНКА."_s,
                                                u"TEST-Exam legal. Press The Button EVALUATION."_s));
    // The keys go on where the student goes on: the button of the question unlocked next,
    // else "Оценка".
    const int current = m_run->currentQuestion();
    if (next == TicketRun::Next::Unlocked && current < Questions && Option[current]->isEnabled())
        Option[current]->setFocus();
    else
        Command1->setFocus();
}

void TicketWindow::reviewModeToggled(bool on)
{
    emit answersReviewRequested(on);
}

void TicketWindow::evaluate()
{
    if (!m_run)
        return;
    const LanguagePolicy policy(language());
    switch (m_run->evaluate().problem) {
    case Grade::Problem::NoPassScore:
        m_context.message(ProgramTitle, policy.englishUnlessRussian(u"Не установлена оценка. Установите в Настройках оценку"_s,
                                                                    u"Not installed evaluation. Install an evaluation in Adjustment"_s));
        break;
    case Grade::Problem::PassScoreNotANumber:
        m_context.message(ProgramTitle,
                          policy.englishUnlessRussian(u"Проходной балл \"%1\" не является числом. Исправьте его в Настройках."_s,
                                                      u"The pass score \"%1\" is not a number. Correct it in Adjustment."_s)
                              .arg(Text5->text()),
                          MessageIcon::Warning);
        break;
    case Grade::Problem::BadQuestionCount:
        m_context.message(ProgramTitle,
                          policy.englishUnlessRussian(u"Число вопросов \"%1\" должно быть числом больше 0. Исправьте его в Настройках."_s,
                                                      u"The number of questions \"%1\" must be a number above 0. Correct it in Adjustment."_s)
                              .arg(txtV->text()),
                          MessageIcon::Warning);
        break;
    case Grade::Problem::None:
        break;
    }
}

void TicketWindow::closeTicket()
{
    // Where every result is saved, a ticket closed before "Оценка" is graded as it stands,
    // unanswered questions counting nothing, so that its record carries a verdict.
    if (m_context.settings().saveAll() && m_run && m_run->verdict() == Verdict::None)
        evaluate();
    emit closeRequested();
}

void TicketWindow::showVerdict()
{
    const Verdict verdict = m_run->verdict();
    if (verdict == Verdict::None)
        return;
    setTextColour(Label5, verdict == Verdict::Passed ? Right : Wrong);
    // Another language changes only the colour.
    const QString caption = ExamRecordTexts(language()).verdict(verdict);
    if (!caption.isEmpty()) {
        Label5->setText(caption);
        // The verdict takes the focus, so that a screen reader says it; it stands between
        // "Оценка" and "Закрыть" for Tab.
        Label5->setFocusPolicy(Qt::TabFocus);
        setTabOrder(Command1, Label5);
        setTabOrder(Label5, Command2);
        Label5->setFocus();
    }
}

QString TicketWindow::questionHeading(int question) const
{
    const LanguagePolicy policy(language());
    bool counted = false;
    const int count = m_run->questionCount().toInt(&counted);
    if (counted && count >= question)
        return policy.text(u"Вопрос %1 из %2"_s, u"Question %1 of %2"_s).arg(question).arg(count);
    return policy.text(u"Вопрос %1"_s, u"Question %1"_s).arg(question);
}

void TicketWindow::nameQuestionButton(int question)
{
    // The button says in words what its colour shows.
    const LanguagePolicy policy(language());
    const QString mark = m_run->mark(question);
    QString state;
    if (m_run->isMissing(question))
        state = policy.text(u"нет вопроса"_s, u"no question"_s);
    else if (mark == u"5"_s)
        state = policy.text(u"отвечен верно"_s, u"answered right"_s);
    else if (!mark.isEmpty() && mark != u"0"_s)
        state = policy.text(u"отвечен неверно"_s, u"answered wrong"_s);
    else
        state = policy.text(u"не отвечен"_s, u"not answered"_s);
    Option[question - 1]->setAccessibleName(policy.text(u"Вопрос %1, "_s, u"Question %1, "_s).arg(question) + state);
}

void TicketWindow::onTimer2()
{
    if (m_run)
        m_run->tickTicketTimer();
}

void TicketWindow::onTimer3()
{
    if (m_run)
        m_run->tickQuestionTimer();
}
