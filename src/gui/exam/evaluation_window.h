#pragma once

#include "core/exam/ticket_outcome.h"
#include "core/program/student.h"
#include "core/reports/attempt.h"
#include "core/reports/exam_report.h"

#include <QWidget>

#include <array>

class ActiveLabel;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class WindowContext;

// Form5: the result sheet of a finished ticket. It shows the student line and the ticket's
// outcome (the ticket line, the marks, the question texts and the verdict), shows a question's
// text beside the sheet while the mouse is over its line, and on "Закрыть" appends the sheet
// to the exam report when asked and says it is closed, for the next student. A sheet that is
// not to be saved closes only when the question is answered "Yes"; a sheet whose save failed
// stays open for another try. Where the teacher allows it, the sheet prints itself or saves
// itself as PDF, with the question texts and the answers chosen of the ticket's attempt.
class EvaluationWindow final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int NarrowWidth = 4920; // twips: the result panel only
    static constexpr int WideWidth = 9510;   // twips: with the question panel

    // The height of the row of the print buttons, in twips.
    static constexpr int PrintRowHeight = 480;

    EvaluationWindow(const WindowContext &context, const TicketOutcome &outcome, const Student &student,
                     const Attempt &attempt);

    // The sheet as the report keeps it, with the student's data lines.
    ExamRecord record() const;
    // Whether the record went to the exam report (not to another file, not left out).
    bool savedToReport() const { return m_savedToReport; }

signals:
    // "Закрыть", after the record was saved, or leaving it out was confirmed: the sheet is done.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Hidden holders: language, date and time of loading.
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;

    QGroupBox *Frame1;
    QLabel *Label1;
    QLabel *Label2;
    ActiveLabel *Label3;
    // The evaluation lines l1 .. l20 and the hidden question texts q1 .. q20.
    std::array<QLabel *, ExamReport::Questions> l{};
    std::array<QLabel *, ExamReport::Questions> q{};
    QCheckBox *Check2;
    QCheckBox *Check1;
    QPushButton *Command2;
    // Made only where printing the sheet is allowed.
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdPdf = nullptr;

    QGroupBox *Frame2;
    QLabel *Label4;

    void buildControls();
    void connectHandlers();
    void load();
    QString language() const;

    void showQuestionsToggled(bool ticked);
    void hoverLine(int index);
    void hideQuestion();
    void closeSheet();
    // The sheet on paper in the sheet's language.
    QString printedSheet() const;
    void printSheet();
    void saveSheetPdf();
    // Appends the record to the report; on failure says why and offers another file. True when
    // the result is kept in one or the other.
    bool saveRecord();
    bool saveElsewhere();

    const WindowContext &m_context;
    TicketOutcome m_outcome;
    Student m_student;
    Attempt m_attempt;
    bool m_savedToReport = false;
    // The date and time of loading, as the record keeps them.
    QString m_date;
    QString m_time;
};
