#pragma once

#include <QString>

#include <array>

// The questionnaire report s/lzm.txt, which is written in Russian whatever the language of
// the window.
namespace QuestionnaireReport {

// The texts below take window texts ("\n" line breaks) and give file text (CR LF).

// The block that opens a run: the questionnaire name and the time and date.
QString header(const QString &questionnaireName, const QString &time, const QString &date);

// One answered question: the question text (which ends with its line break), the answer
// and its points.
QString answerLine(const QString &question, const QString &answer, const QString &points);

// The end of a run: the total, the chosen conclusion, and each conclusion with its bound.
QString conclusionBlock(const QString &total, const QString &chosen,
                        const std::array<QString, 3> &conclusions, const std::array<QString, 3> &bounds);


// Appends the text to the report whole or not at all (also while other programs append to
// it), creating the report folder when it is missing. False, with the reason in error, when
// the text was not appended.
bool append(const QString &programFolder, const QString &text, QString *error = nullptr);

} // namespace QuestionnaireReport
