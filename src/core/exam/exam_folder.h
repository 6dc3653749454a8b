#pragma once

#include "core/files/ansi_text.h"
#include "core/files/file_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The files of an exam folder: "lzm.lzm" (the title) and the ticket folders "b" + T, each
// with q<N>.txt (question), v<N>.txt (offered answers, one per line), o<N>.txt (the correct
// answer on its first line) and the optional picture k<N>.bmp, for N = 1 .. 20. This is the
// one place that spells the layout: the editor writes through it, the chooser, the start
// window and the ticket read through it.
namespace ExamFolder {

inline constexpr int MaxQuestions = 20;

// The outcome of a write into an exam folder: on a failure, the file or folder that could not
// be written and the system's reason.
// The name of the title file, which also marks a folder as an exam folder.
QString titleFileName();
// The title: the whole of "lzm.lzm", line ends included; nothing when it cannot be read.
std::optional<QString> readTitle(const QString &examFolder);
// The name of the first file matching "*.lzm" (ignoring case, in name order) in the folder;
// the empty text when there is none. The folder is an exam folder when it is the title file.
QString firstTitleMatch(const QString &folder);

// "b" + the ticket number as it is written, such as b7.
QString ticketFolderName(const QString &ticketNumber);

QString questionFile(int question);
QString answersFile(int question);
QString correctAnswerFile(int question);
QString pictureFile(int question);

// The exam named in the exam library: library + "/" + name.
QString examIn(const QString &library, const QString &name);
// Creates the exam folder examIn(library, name), reusing one that exists, and writes its title
// file with the name and CR LF. A name that not every workstation can hold
// (PathNames::problem) is refused before anything is created.
FileError createExam(const QString &library, const QString &name);

// The entries of an exam folder (full paths, name order) and the tickets they make: every
// entry but the title file.
struct Entries
{
    QStringList paths;
    int tickets = 0;
};
Entries entries(const QString &examFolder);

} // namespace ExamFolder

// One ticket folder of an exam. A ticket number that would not make one folder level
// (such as "../x" or an empty text) names no folder: every file of it is missing and
// nothing is written.
class ExamTicket
{
public:
    ExamTicket(const QString &examFolder, const QString &ticketNumber);
    // The ticket folder of that name ("b7"); a name that is not one folder level, or whose
    // number after the "b" is not one either, names no folder.
    static ExamTicket named(const QString &examFolder, const QString &folderName);

    bool isValid() const { return !m_folder.isEmpty(); }
    // The ticket folder's full path; empty for an invalid ticket.
    QString folder() const { return m_folder; }
    // Whether the ticket folder exists.
    bool exists() const;
    // The full path of a file of the ticket folder; empty for an invalid ticket.
    QString path(const QString &fileName) const;

    // The file name when that file exists in the ticket folder, else the empty text.
    QString presentName(const QString &fileName) const;
    bool has(const QString &fileName) const { return !presentName(fileName).isEmpty(); }

    // Question N can be opened: its question, answers and correct-answer files exist.
    bool isComplete(int question) const;

    // Which files of question N exist.
    struct Presence
    {
        bool question = false;
        bool answers = false;
        bool correct = false;
        bool picture = false;

        bool texts() const { return question && answers && correct; }
        friend bool operator==(const Presence &, const Presence &) = default;
    };
    Presence presence(int question) const;

    // The question text, read whole; nothing when it cannot be read.
    std::optional<QString> questionText(int question) const;
    // A file of the ticket read whole, line ends included; nothing when it cannot be read.
    std::optional<QString> wholeText(const QString &fileName) const;
    // The offered answers, one per line, decoded as each is asked for; an unreadable file
    // gives no answers.
    AnsiText::Lines answers(int question) const;
    // The lines of the correct-answer file; only the first is the correct answer.
    QStringList correctAnswerLines(int question) const;

    // Creates the ticket folder and writes the question, answers and correct-answer files of
    // question N in this order, each as its box's text in the form of asFileText. On a failure
    // the files before it stay written.
    FileError saveQuestion(int question, const QString &questionText, const QString &answers,
                                         const QString &correct) const;
    // Replaces the picture of question N with the bitmap's bytes.
    FileError savePicture(int question, const QByteArray &bitmap) const;
    // Deletes the picture of question N; a picture that is not there is no failure.
    FileError removePicture(int question) const;

private:
    ExamTicket() = default;

    QString m_folder;
};
