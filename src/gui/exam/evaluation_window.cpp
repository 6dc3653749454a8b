#include "gui/exam/evaluation_window.h"

#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/result_sheet.h"
#include "gui/common/active_label.h"
#include "gui/common/captions.h"
#include "gui/common/control_factory.h"
#include "gui/common/paged_document.h"
#include "gui/common/window_context.h"
#include "gui/common/window_ops.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QColor PassColour(0, 128, 0);
const QColor FailColour(255, 0, 0);
const QColor ShownLineColour(0, 0, 255);

} // namespace

EvaluationWindow::EvaluationWindow(const WindowContext &context, const TicketOutcome &outcome, const Student &student,
                                   const Attempt &attempt)
    : QWidget(nullptr), m_context(context), m_outcome(outcome), m_student(student), m_attempt(attempt)
{
    setObjectName(u"Form5"_s);
    setWindowTitle(ProgramTitle);
    buildControls();
    connectHandlers();
    load();
}

void EvaluationWindow::buildControls()
{
    // The sheet is laid out for a small dialog font, as the twips positions expect.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    QFont bold(u"MS Sans Serif"_s, 8);
    bold.setBold(true);

    // Holders below the client area, never shown.
    Label5 = makeControl<QLabel>(this, u"Label5"_s, twips(120, 8520, 1000, 255));
    Label6 = makeControl<QLabel>(this, u"Label6"_s, twips(1200, 8520, 1500, 255));
    Label7 = makeControl<QLabel>(this, u"Label7"_s, twips(2800, 8520, 1500, 255));

    // The side panel lies to the right of the result panel and is uncovered by widening.
    Frame2 = makeControl<QGroupBox>(this, u"Frame2"_s, twips(5040, 120, 4455, 7455));
    Label4 = makeControl<QLabel>(Frame2, u"Label4"_s, twips(120, 240, 4215, 7095));
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setWordWrap(true);
    Label4->setTextFormat(Qt::PlainText);
    for (int i = 0; i < ExamReport::Questions; ++i) {
        q[i] = makeControl<QLabel>(Frame2, u"q"_s + QString::number(i + 1), twips(120, 240, 4215, 255));
        q[i]->setTextFormat(Qt::PlainText);
        q[i]->hide();
    }
    Label4->raise();

    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, twips(120, 120, 4815, 7455));
    Label1 = makeControl<QLabel>(Frame1, u"Label1"_s, twips(120, 240, 4575, 615));
    Label1->setFont(bold);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);
    Label2 = makeControl<QLabel>(Frame1, u"Label2"_s, twips(120, 1080, 1455, 255));
    Label2->setFont(bold);
    Label2->setTextFormat(Qt::PlainText);
    Label3 = makeControl<ActiveLabel>(Frame1, u"Label3"_s, twips(2400, 1080, 2175, 255));
    Label3->setFont(bold);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setTextFormat(Qt::PlainText);
    setBackground(Label3, palette().color(QPalette::Button));
    for (int i = 0; i < ExamReport::Questions; ++i) {
        l[i] = makeControl<QLabel>(Frame1, u"l"_s + QString::number(i + 1),
                            twips(120, 1560 + 240 * i, 4335, 255));
        l[i]->setTextFormat(Qt::PlainText);
    }
    // The check boxes stand one above the other so that both captions fit whole in
    // either language; the button closes the sheet at the bottom right.
    Check2 = makeControl<QCheckBox>(Frame1, u"Check2"_s, twips(120, 6480, 2880, 375),
                             u"Показывать вопросы"_s);
    Check1 = makeControl<QCheckBox>(Frame1, u"Check1"_s, twips(120, 6960, 2880, 375),
                             u"Сохранить в отчет"_s);
    Command2 = makeControl<QPushButton>(Frame1, u"Command2"_s, twips(3120, 6960, 1455, 375), u"Закрыть"_s);
    Command2->setToolTip(u"Закрыть окно"_s);
    // Where the teacher allows it, a row below the designed panel prints the sheet or saves it
    // as PDF; otherwise the buttons are not made and the sheet keeps its designed size.
    if (m_context.settings().printSheet()) {
        for (QGroupBox *frame : {Frame1, Frame2})
            frame->resize(frame->width(), tw(7455 + PrintRowHeight));
        cmdPrint = makeControl<QPushButton>(Frame1, u"cmdPrint"_s, twips(120, 7440, 2160, 375), u"Печать"_s);
        cmdPdf = makeControl<QPushButton>(Frame1, u"cmdPdf"_s, twips(2400, 7440, 2175, 375), u"Сохранить PDF"_s);
    }

    for (QWidget *holder : {static_cast<QWidget *>(Label5), static_cast<QWidget *>(Label6),
                            static_cast<QWidget *>(Label7)})
        holder->hide();

    // Moving over the result panel, the ticket line or a question line is watched.
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    Label2->setMouseTracking(true);
    Label2->installEventFilter(this);
    for (QLabel *line : l) {
        line->setMouseTracking(true);
        line->installEventFilter(this);
    }
}

void EvaluationWindow::connectHandlers()
{
    connect(Check2, &QCheckBox::toggled, this, &EvaluationWindow::showQuestionsToggled);
    connect(Command2, &QPushButton::clicked, this, &EvaluationWindow::closeSheet);
    if (cmdPrint) {
        connect(cmdPrint, &QPushButton::clicked, this, &EvaluationWindow::printSheet);
        connect(cmdPdf, &QPushButton::clicked, this, &EvaluationWindow::saveSheetPdf);
    }
}

void EvaluationWindow::load()
{
    Label5->setText(m_context.settings().language());
    setFixedSize(tw(NarrowWidth), tw(7635 + (cmdPrint ? PrintRowHeight : 0)));
    DisableXbutton(this);

    const QDateTime now = m_context.platform().currentDateTime();
    m_date = ExamReport::dateText(now.date());
    m_time = ExamReport::timeText(now.time());
    Label6->setText(m_date);
    Label7->setText(m_time);

    const ExamRecordTexts texts(language());
    Label1->setText(m_student.line);
    Label2->setText(m_outcome.ticketLine);
    const QStringList lines = texts.evaluationLines(m_outcome.marks);
    for (int i = 0; i < ExamReport::Questions; ++i) {
        l[i]->setText(lines[i]);
        // The question text comes over for a marked question only, whatever the language.
        if (ExamRecordTexts::isMarked(m_outcome.marks.value(i)))
            q[i]->setText(m_outcome.questionTexts.value(i));
    }
    // Another language shows no verdict and leaves its colour as it is.
    const QString verdict = texts.verdict(m_outcome.verdict);
    if (!verdict.isEmpty()) {
        Label3->setText(verdict);
        setBackground(Label3, m_outcome.verdict == Verdict::Passed ? PassColour : FailColour);
    }

    applyToolTips({{Command2, u"Закрыть окно"_s, u"Close the window"_s}}, language());
    applyCaptions({{Check2, u"Показывать вопросы"_s, u"To Show questions"_s},
                   {Check1, u"Сохранить в отчет"_s, u"To Save in the report"_s},
                   {Command2, u"Закрыть"_s, u"To Close"_s},
                   {cmdPrint, u"Печать"_s, u"Print"_s},
                   {cmdPdf, u"Сохранить PDF"_s, u"Save PDF"_s}},
                  language());
    // Where every result is to be saved the student cannot leave the report out.
    if (m_context.settings().saveAll()) {
        Check1->setChecked(true);
        Check1->setEnabled(false);
    }
    // The sheet is named by its verdict and described by its lines, which a screen reader says
    // as it opens.
    applySpokenNames({{this, u"Результат"_s, u"Result"_s}}, language());
    if (!verdict.isEmpty())
        setAccessibleName(accessibleName() + u": "_s + verdict);
    QStringList description{m_student.line, m_outcome.ticketLine};
    for (const QString &line : lines) {
        if (!line.isEmpty())
            description << line;
    }
    setAccessibleDescription(description.join(u"; "_s));
    // The focus starts on "Сохранить в отчет" while the record is left out, so that nobody
    // closes the sheet without meeting it; with the record kept Enter closes the sheet.
    if (Check1->isChecked())
        Command2->setFocus();
    else
        Check1->setFocus();
}

QString EvaluationWindow::language() const
{
    return Label5->text();
}

void EvaluationWindow::showQuestionsToggled(bool ticked)
{
    for (QLabel *line : l) {
        if (ticked) {
            setTextColour(line, ShownLineColour);
            line->setCursor(Qt::WhatsThisCursor);
        } else {
            setTextColour(line, palette().color(QPalette::ButtonText));
            line->unsetCursor();
        }
    }
    if (!ticked)
        hideQuestion();
}

void EvaluationWindow::hoverLine(int index)
{
    if (!Check2->isChecked() || l[index]->text().isEmpty())
        return;
    Label4->setText(q[index]->text());
    setFixedWidth(tw(WideWidth));
}

void EvaluationWindow::hideQuestion()
{
    Label4->clear();
    setFixedWidth(tw(NarrowWidth));
}

bool EvaluationWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return QWidget::eventFilter(watched, event);
    if (watched == Frame1 || watched == Label2) {
        hideQuestion();
        return true;
    }
    for (int i = 0; i < ExamReport::Questions; ++i) {
        if (watched == l[i]) {
            hoverLine(i);
            // Consumed, so that the result panel under the line does not hide it again.
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

ExamRecord EvaluationWindow::record() const
{
    ExamRecord sheet;
    sheet.language = language();
    sheet.date = m_date;
    sheet.time = m_time;
    sheet.student = m_student.line;
    sheet.ticket = m_outcome.ticketLine;
    sheet.marks = m_outcome.marks;
    sheet.verdict = m_outcome.verdict;
    sheet.data1 = m_student.data1;
    sheet.data2 = m_student.data2;
    sheet.data3 = m_student.data3;
    return sheet;
}

bool EvaluationWindow::saveRecord()
{
    FileError error;
    if (ExamReport::append(m_context.paths().folder(), record(), &error)) {
        m_savedToReport = true;
        return true;
    }
    // Whatever the language, a record that was not saved is never passed over in silence.
    const LanguagePolicy policy(language());
    const QString text = policy.text(u"Результат не записан в отчет "_s, u"The result was not saved in the report "_s)
                         + m_context.paths().examReport() + u":\n"_s + error.reason(policy);
    m_context.message(ProgramTitle, text, MessageIcon::Warning);
    return saveElsewhere();
}

bool EvaluationWindow::saveElsewhere()
{
    const LanguagePolicy policy(language());
    if (!m_context.platform().question(ProgramTitle, policy.text(u"Сохранить результат в другой файл?"_s,
                                                                 u"Save the result in another file?"_s)))
        return false;
    const QString path = m_context.platform().saveFileName(
        policy.text(u"Сохранить результат"_s, u"Save the result"_s),
        QDir::home().filePath(u"result.txt"_s), policy.text(u"Текст (*.txt)"_s, u"Text (*.txt)"_s));
    if (path.isEmpty())
        return false;
    FileError error;
    if (!AnsiText::writeWhole(path, ExamReport::recordText(record()), &error)) {
        m_context.message(ProgramTitle,
                          policy.text(u"Результат не записан в файл "_s, u"The result was not saved in the file "_s)
                              + path + u":\n"_s + error.reason(policy),
                          MessageIcon::Warning);
        return false;
    }
    m_context.message(ProgramTitle, policy.text(u"Результат сохранен в файл "_s, u"The result was saved in the file "_s) + path,
                      MessageIcon::Information);
    return true;
}

QString EvaluationWindow::printedSheet() const
{
    Attempt sheet = m_attempt;
    sheet.language = language();
    sheet.student = m_student;
    sheet.grade = m_outcome.grade;
    sheet.verdict = m_outcome.verdict;
    return ResultSheet::html(ProgramTitle, sheet, m_date, m_time);
}

void EvaluationWindow::printSheet()
{
    const LanguagePolicy policy(language());
    const PagedDocument::Printed printed = PagedDocument::print(
        m_context.platform(), policy.text(u"Печать"_s, u"Print"_s), printedSheet(), QPageLayout::Portrait);
    if (printed == PagedDocument::Printed::Failed)
        m_context.message(ProgramTitle,
                          policy.text(u"Не удалось напечатать лист результата."_s,
                                      u"The result sheet could not be printed."_s),
                          MessageIcon::Warning);
}

void EvaluationWindow::saveSheetPdf()
{
    const LanguagePolicy policy(language());
    const QString path = m_context.platform().saveFileName(
        policy.text(u"Сохранить PDF"_s, u"Save PDF"_s),
        QDir(m_context.platform().documentsFolder()).filePath(u"result.pdf"_s),
        policy.text(u"Файлы PDF (*.pdf)"_s, u"PDF files (*.pdf)"_s));
    if (path.isEmpty())
        return;
    FileError error;
    if (PagedDocument::writePdf(path, printedSheet(), QPageLayout::Portrait, &error))
        m_context.message(ProgramTitle, policy.text(u"Файл сохранен: "_s, u"The file was saved: "_s) + path,
                          MessageIcon::Information);
    else
        m_context.message(ProgramTitle,
                          policy.text(u"Файл не сохранен "_s, u"The file was not saved "_s) + path + u":\n"_s
                              + error.reason(policy),
                          MessageIcon::Warning);
}

void EvaluationWindow::closeSheet()
{
    const LanguagePolicy policy(language());
    if (!Check1->isChecked()) {
        // A finished ticket never leaves the report without a word.
        if (m_context.platform().question(ProgramTitle,
                                          policy.text(u"Результат не сохранен в отчет. Закрыть без сохранения?"_s,
                                                      u"The result is not saved in the report. Close without saving?"_s)))
            emit closed();
        return;
    }
    if (saveRecord()) {
        emit closed();
        return;
    }
    // The sheet keeps the result for another try. Where every result is to be saved the box
    // is freed all the same, so that a report that cannot be written does not hold the sheet
    // for ever: clearing it leads to the question above.
    Check1->setEnabled(true);
}
