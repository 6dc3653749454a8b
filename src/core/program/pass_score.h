#pragma once

#include "core/files/fixed_point.h"

#include <QLocale>
#include <QStringList>

#include <optional>

// The arithmetic of the pass score panel: the teacher types the marks of the weakest
// ticket that still passes, one box per question position, and the pass score is their
// average over the number of questions.
namespace PassScore {

inline constexpr int Boxes = 20;
inline constexpr int HighestMark = 5;

struct Result
{
    // A mark box (or the number of questions) is empty or not a number: the panel says
    // "no values" and the result is 0.
    bool noValues = false;
    Fixed score;
};

// The exact sum of the marks, in box order, divided by the number of questions and
// brought to four fraction digits with halves to the even neighbour. A number of
// questions of 0 gives 0 without complaint; nothing is divided by zero.
Result compute(const QStringList &marks, const QString &questions, const QLocale &locale = QLocale());

// Whether a ticket can reach the pass score: a grade is an average of marks of at most 5 and
// a pass score of 0 or less means none is set, so only a number above 0 and not above 5 is one.
bool isReachable(const QString &score, const QLocale &locale = QLocale());

// How many boxes, from the first on, stand for real questions: the value of the text when
// it is a whole number from 1 to 20, nothing otherwise (the colours then stay as they are).
std::optional<int> usedBoxes(const QString &questions, const QLocale &locale = QLocale());

} // namespace PassScore
