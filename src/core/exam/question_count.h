#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class FolderWalker;

// What the exam chooser finds in a folder: the marks of an exam folder and the number of
// questions of its first ticket.
namespace QuestionCount {

// The name, as it is written in the folder, of the entry (file or folder) whose name is
// the given one ignoring letter case; an entry of exactly that name is preferred. The
// empty text when there is none or no folder is given. The caller compares the result
// with the exact name, so "B1" is found but is not "b1".
QString entryName(const QString &folder, const QString &name);

// Every file under the folder whose name ends in ".txt" in any letter case, with its full
// path: depth first, the sub-folders of a folder before its own files. A folder that cannot
// be read adds nothing, and a folder reached again through a link is not walked twice.
QStringList textFiles(const FolderWalker &walker, const QString &folder);

// The number of questions of a ticket: its question, answers and correct-answer files
// divided by three, as the shortest decimal text in the locale ("5", or "5,3333" when a
// file is missing or extra).
QString questionsText(qsizetype textFileCount, const QLocale &locale = QLocale());

} // namespace QuestionCount
