#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class LanguagePolicy;

// Why a question of a bank cannot become a ticket question.
enum class BankRefusal {
    None,
    // Another kind than one right answer among several: several right answers, matching,
    // short answer, numeric, essay, a description.
    NotSingleChoice,
    NoRightAnswer,
    // The ticket grades the chosen answer by its text, so two equal texts cannot be told apart.
    SameAnswerText,
    // The ticket files are Windows-1251: such a character would read back as '?'.
    NotWindows1251,
    // The answers file holds one answer per line.
    AnswerOverLine,
    UnreadablePicture,
    // The question's record breaks the rules of its format (an unclosed brace, options
    // without a question).
    Damaged,
};

// The reason in the window's language: English for "eng", Russian otherwise.
QString refusalText(BankRefusal refusal, const LanguagePolicy &language);

// One question of a bank as the program can hold it: the question text (line breaks as
// "\n"), the offered answers (one line each), which of them is right, an optional picture,
// and the category it was filed under. A question that cannot become a ticket question
// carries the reason.
struct BankQuestion
{
    QString title;
    QString text;
    QStringList answers;
    // The index of the right answer; -1 when there is none.
    int right = -1;
    // The picture as the ticket keeps it (a Windows bitmap, once read) and its name in the bank.
    QByteArray picture;
    QString pictureName;
    QString category;
    BankRefusal refusal = BankRefusal::None;

    bool isTaken() const { return refusal == BankRefusal::None; }
    QString rightAnswer() const { return right >= 0 && right < answers.size() ? answers.at(right) : QString(); }

    // Checks what a parser could not see by itself: an answer of several lines, two equal
    // answers, a character Windows-1251 cannot hold. A refusal found earlier stays.
    void check();
};

using BankQuestions = QList<BankQuestion>;
