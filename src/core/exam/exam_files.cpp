#include "core/exam/exam_files.h"

#include "core/exam/exam_folder.h"
#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/path_names.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace ExamFiles {

QString markerName()
{
    return u"lzm.lzm"_s;
}

QString ticketFolder(const QString &exam, const QString &ticket)
{
    return exam + u'/' + ExamFolder::ticketFolderName(ticket);
}

QString questionFile(const QString &exam, const QString &ticket, const QString &number, Kind kind)
{
    QString name;
    switch (kind) {
    case Kind::Question:
        name = u"/q"_s + number + u".txt"_s;
        break;
    case Kind::Answers:
        name = u"/v"_s + number + u".txt"_s;
        break;
    case Kind::Correct:
        name = u"/o"_s + number + u".txt"_s;
        break;
    case Kind::Picture:
        name = u"/k"_s + number + u".bmp"_s;
        break;
    }
    return ticketFolder(exam, ticket) + name;
}

Presence presence(const QString &exam, const QString &ticket, const QString &number)
{
    Presence found;
    if (!isPathComponent(ticket) || !isPathComponent(number))
        return found;
    found.question = DoesFileExist(questionFile(exam, ticket, number, Kind::Question));
    found.answers = DoesFileExist(questionFile(exam, ticket, number, Kind::Answers));
    found.correct = DoesFileExist(questionFile(exam, ticket, number, Kind::Correct));
    found.picture = DoesFileExist(questionFile(exam, ticket, number, Kind::Picture));
    return found;
}

std::optional<QString> createExam(const QString &library, const QString &name, FileError *error)
{
    if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None) {
        if (error)
            *error = FileError(FileError::Kind::Other, library + u'/' + name, PathNames::refusal(name, problem).english);
        return std::nullopt;
    }
    const QString folder = library + u'/' + name;
    MakeDirPath(folder);
    if (!AnsiText::writeWhole(folder + u'/' + markerName(), name + u"\r\n"_s, error))
        return std::nullopt;
    return folder;
}

QString firstMarker(const QString &folder)
{
    // The match ignores case, as the file system the exams come from does, so a marker
    // written in capitals is found and then refused for its name.
    QDir dir(folder);
    dir.setNameFilters({u"*.lzm"_s});
    const QStringList names =
        dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    return names.isEmpty() ? QString() : names.first();
}

bool saveQuestion(const QString &exam, const QString &ticket, const QString &number,
                  const QString &question, const QString &answers, const QString &correct,
                  QString *failedPath)
{
    MakeDirPath(ticketFolder(exam, ticket));
    const struct
    {
        Kind kind;
        const QString &text;
    } files[] = {{Kind::Question, question}, {Kind::Answers, answers}, {Kind::Correct, correct}};
    for (const auto &file : files) {
        const QString path = questionFile(exam, ticket, number, file.kind);
        if (!AnsiText::writeWhole(path, AnsiText::asFileText(file.text))) {
            if (failedPath)
                *failedPath = path;
            return false;
        }
    }
    return true;
}

bool armsPictureTrigger(const QString &chosenPath, const QString &chosenName, const QString &ticket)
{
    return !chosenPath.isEmpty() && !chosenName.isEmpty() && !ticket.isEmpty();
}

bool firesPictureSave(const QString &chosenName, const QString &number, const QString &ticket)
{
    return !chosenName.isEmpty() && !number.isEmpty() && !ticket.isEmpty();
}

} // namespace ExamFiles
