#pragma once

#include "core/exam/verdict.h"
#include "core/files/fixed_point.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The grade of a ticket and its verdict against the pass score.
namespace Grade {

// Reads a grade or a pass score. Besides the locale's own form, a text without the locale's
// decimal separator whose one separator is the other of '.' and ',' is read with that as the
// decimal separator, so "4.5" and "4,5" are the same pass score in every locale.
std::optional<Fixed> readScore(const QString &text, const QLocale &locale = QLocale());

// Whether a pass score is set: a pass score of 0, an empty one and one of blanks are not.
// A text that is not a number is set but unusable (see check()).
bool isPassScoreSet(const QString &passScore, const QLocale &locale = QLocale());

enum class Problem {
    None,
    NoPassScore,          // 0, empty or blank
    PassScoreNotANumber,
    BadQuestionCount,     // not a number, 0 or negative
};

struct Result
{
    Problem problem = Problem::None;
    Fixed grade;
};

// The grade: the sum of the marks ("0", "2" or "5" each) divided by the number of questions
// of a ticket, to four fraction digits with an exact half going to the even digit. A mark that
// is not a number counts as an unanswered question.
Result compute(const QStringList &marks, const QString &questionCount, const QString &passScore,
               const QLocale &locale = QLocale());

// The verdict of a grade: none while no usable pass score is set; otherwise passed when the
// grade is a number at least the pass score, compared by value, and failed below it.
Verdict verdict(const QString &grade, const QString &passScore, const QLocale &locale = QLocale());

} // namespace Grade
