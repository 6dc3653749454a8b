#pragma once

#include "core/reports/attempt.h"
#include "core/reports/results.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Reads the exam report s/oth.txt and the questionnaire report s/lzm.txt into results.
// Both are read as the program writes them (Windows-1251, each line ended by CR CR LF or
// CR LF) and also with lone CR or LF line ends. A line is counted once whichever end it has.
// Whatever is not what the report should hold is returned as a problem with its lines;
// nothing is dropped silently.
namespace ReportReader {

// Called now and then with the bytes done and the bytes in all; false cancels the reading.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// The reports cut into lines: the text of each line, without its line end.
std::optional<ExamReportContents> readExamReport(const QByteArray &bytes, const Progress &progress = {});
std::optional<QuestionnaireReportContents> readQuestionnaireReport(const QByteArray &bytes,
                                                                   const Progress &progress = {});

// A date or time as the reports write them: the short forms of this machine's locale, of the
// C, Russian, American, British and German locales and common numeric forms. Two-digit
// years are years of this century.
QDate readDate(const QString &text);
QTime readTime(const QString &text);

struct Reports
{
    // The tickets of the exam report merged with the attempts journal (ResultsMerge); its
    // problems are the report's.
    ExamReportContents exams;
    // The attempts of the journal that the tickets name, and its damaged lines.
    QList<Attempt> attempts;
    QList<ReportProblem> attemptProblems;
    QuestionnaireReportContents questionnaires;
    // The reports that could not be read although they exist, with the reason.
    QStringList errors;
};

// Reads both reports and the attempts journal of the program folder; a missing file reads as
// an empty one.
// Nothing when the progress callback cancelled.
std::optional<Reports> readReports(const QString &programFolder, const Progress &progress = {});

} // namespace ReportReader
