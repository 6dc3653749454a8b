#pragma once

#include "core/bank/bank_question.h"
#include "core/files/file_error.h"

#include <QList>
#include <QString>

#include <optional>

class LanguagePolicy;

// Tickets made from the questions of a bank, and their writing as an exam.
namespace BankTickets {

struct Plan
{
    int tickets = 1;
    // 1 .. ExamFolder::MaxQuestions.
    int questionsPerTicket = 1;
    // Questions taken in their order in the bank, or drawn.
    bool random = false;
    // Each ticket takes an equal share of each category (as equal as the count allows).
    bool equalCategories = false;
    // The seed of the draw, so that a draw can be repeated.
    quint32 seed = 0;
};

// The questions of each ticket, as indexes into the questions given.
using Layout = QList<QList<int>>;

// Why a plan cannot be made of the questions taken from a bank; empty when it can.
QString problem(const BankQuestions &taken, const Plan &plan, const LanguagePolicy &language);

// Spreads the questions over the tickets: no question twice in one ticket, every question
// used as often as every other one give or take one (within its category, with equal
// shares), in bank order or drawn. Every question given must be taken; the plan must have no
// problem.
Layout distribute(const BankQuestions &taken, const Plan &plan);

// Writes the exam `name` in the exam library: its title file and one ticket folder per
// ticket, with the question, answers, correct-answer and picture files as the exam editor
// writes them. All or nothing: the exam is written into a hidden folder beside it and put in
// place only when every file was written; an exam of that name is replaced whole, and kept
// as it was when anything fails.
FileError writeExam(const QString &library, const QString &name, const QString &title,
                    const BankQuestions &taken, const Layout &layout);

} // namespace BankTickets
