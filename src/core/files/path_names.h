#pragma once

#include <QString>

// Names typed by a user that become a file or folder name (an exam, a questionnaire, a
// ticket number) and the question numbers of a questionnaire. The content lives on shared
// folders that Windows workstations open, and its names are stored in Windows-1251 files,
// so a name must be one that every workstation can hold and that reads back as typed.
namespace PathNames {

inline constexpr int MaxLength = 100;
inline constexpr int MaxQuestionNumber = 32767;

// What is wrong with a name, the first fault found; None for a name that can be used.
enum class Problem {
    None,
    Empty,
    NotWindows1251,     // a character Windows-1251 cannot hold: it would read back as "?"
    ControlCharacter,   // a tab, a line break or another control character
    ForbiddenCharacter, // one of \ / : * ? " < > |
    EdgeBlank,          // begins or ends with a blank
    TrailingDot,        // Windows drops it, so the name would mean another folder
    ReservedDevice,     // CON, PRN, AUX, NUL, COM1 ... COM9, LPT1 ... LPT9, with any extension
    TooLong,            // more than MaxLength characters
};

Problem problem(const QString &name);

// The refusal of a name for a message box, saying what is wrong, in both languages.
struct Refusal
{
    QString russian;
    QString english;
};
Refusal refusal(const QString &name, Problem problem);

// Whether every character of the text survives a trip through Windows-1251.
bool fitsWindows1251(const QString &text);

// A question number of a questionnaire: a whole number 1 ... MaxQuestionNumber written with
// digits only and without leading zeros, so the number is its own file name and INI section.
bool isQuestionNumber(const QString &text);

} // namespace PathNames
