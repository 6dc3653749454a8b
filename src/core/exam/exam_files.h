#pragma once

#include "core/files/file_error.h"

#include <QString>

#include <optional>

// The files of an exam folder as the exam editor writes them: the title file "lzm.lzm",
// ticket folders "b" + T and in them the question, answers, correct-answer and picture
// files "q", "v", "o" + N + ".txt" and "k" + N + ".bmp".
namespace ExamFiles {

// The name of the title file, which also marks a folder as an exam folder.
QString markerName();

enum class Kind { Question, Answers, Correct, Picture };

// exam + "/b" + ticket, the ticket number taken as typed.
QString ticketFolder(const QString &exam, const QString &ticket);
// The file of one kind of question number in the ticket folder.
QString questionFile(const QString &exam, const QString &ticket, const QString &number, Kind kind);

// Which files of a question exist. A ticket number or question number that is not one
// path component names no files.
struct Presence
{
    bool question = false;
    bool answers = false;
    bool correct = false;
    bool picture = false;

    bool texts() const { return question && answers && correct; }
};
Presence presence(const QString &exam, const QString &ticket, const QString &number);

// Creates the exam folder library + "/" + name (reusing one that exists) and writes its
// title file with the name and CR LF. A name that not every workstation can hold
// (PathNames::problem) is refused before anything is created. Gives the folder, or nothing
// with the reason in error.
std::optional<QString> createExam(const QString &library, const QString &name, FileError *error);

// The name of the first file matching "*.lzm" (ignoring case, in name order) in the
// folder; the empty text when there is none.
QString firstMarker(const QString &folder);

// Creates the ticket folder and writes the question, answers and correct-answer files
// in this order. On a failure gives false and the path of the file that could not be
// written in failedPath; the files before it stay written.
bool saveQuestion(const QString &exam, const QString &ticket, const QString &number,
                  const QString &question, const QString &answers, const QString &correct,
                  QString *failedPath);

// The picture-save trigger. "Сохранить" arms it when a picture has been chosen and a
// ticket number is typed; an armed trigger fires the save when the chosen picture,
// the question number and the ticket number are all there.
bool armsPictureTrigger(const QString &chosenPath, const QString &chosenName, const QString &ticket);
bool firesPictureSave(const QString &chosenName, const QString &number, const QString &ticket);

} // namespace ExamFiles
