#include "core/exam/exam_folder.h"

#include "core/files/ansi_text.h"
#include "core/files/folders.h"
#include "core/files/path_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace ExamFolder {

QString titleFileName()
{
    return u"lzm.lzm"_s;
}

std::optional<QString> readTitle(const QString &examFolder)
{
    return AnsiText::readWhole(examFolder + u'/' + titleFileName());
}

QString firstTitleMatch(const QString &folder)
{
    // The match ignores case, as the file system the exams come from does, so a title file
    // written in capitals is found and then refused for its name.
    QDir dir(folder);
    dir.setNameFilters({u"*.lzm"_s});
    const QStringList names = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    return names.isEmpty() ? QString() : names.first();
}

QString ticketFolderName(const QString &ticketNumber)
{
    return u'b' + ticketNumber;
}

QString questionFile(int question)
{
    return u"q%1.txt"_s.arg(question);
}

QString answersFile(int question)
{
    return u"v%1.txt"_s.arg(question);
}

QString correctAnswerFile(int question)
{
    return u"o%1.txt"_s.arg(question);
}

QString pictureFile(int question)
{
    return u"k%1.bmp"_s.arg(question);
}

QString examIn(const QString &library, const QString &name)
{
    return library + u'/' + name;
}

FileError createExam(const QString &library, const QString &name)
{
    const QString folder = examIn(library, name);
    if (const PathNames::Problem problem = PathNames::problem(name); problem != PathNames::Problem::None)
        return FileError(FileError::Kind::Other, folder, PathNames::refusal(name, problem).english);
    MakeDirPath(folder);
    FileError error;
    AnsiText::writeWhole(folder + u'/' + titleFileName(), name + u"\r\n"_s, &error);
    return error;
}

Entries entries(const QString &examFolder)
{
    Entries found;
    found.tickets = GetFolders(examFolder, &found.paths) - 1;
    return found;
}

} // namespace ExamFolder

ExamTicket::ExamTicket(const QString &examFolder, const QString &ticketNumber)
{
    // The number is typed by a user; it must not lead out of the exam folder.
    const QString name = ExamFolder::ticketFolderName(ticketNumber);
    if (!examFolder.isEmpty() && isPathComponent(ticketNumber) && isPathComponent(name))
        m_folder = examFolder + u'/' + name;
}

ExamTicket ExamTicket::named(const QString &examFolder, const QString &folderName)
{
    ExamTicket ticket;
    const QString number = folderName.mid(1);
    if (!examFolder.isEmpty() && isPathComponent(folderName) && (number.isEmpty() || isPathComponent(number)))
        ticket.m_folder = examFolder + u'/' + folderName;
    return ticket;
}

bool ExamTicket::exists() const
{
    return isValid() && DoesFileExist(m_folder);
}

QString ExamTicket::path(const QString &fileName) const
{
    return isValid() ? m_folder + u'/' + fileName : QString();
}

QString ExamTicket::presentName(const QString &fileName) const
{
    return isValid() && DoesFileExist(path(fileName)) ? fileName : QString();
}

bool ExamTicket::isComplete(int question) const
{
    return has(ExamFolder::answersFile(question)) && has(ExamFolder::correctAnswerFile(question))
           && has(ExamFolder::questionFile(question));
}

ExamTicket::Presence ExamTicket::presence(int question) const
{
    Presence found;
    found.question = has(ExamFolder::questionFile(question));
    found.answers = has(ExamFolder::answersFile(question));
    found.correct = has(ExamFolder::correctAnswerFile(question));
    found.picture = has(ExamFolder::pictureFile(question));
    return found;
}

std::optional<QString> ExamTicket::questionText(int question) const
{
    return wholeText(ExamFolder::questionFile(question));
}

std::optional<QString> ExamTicket::wholeText(const QString &fileName) const
{
    if (!isValid())
        return std::nullopt;
    return AnsiText::readWhole(path(fileName));
}

AnsiText::Lines ExamTicket::answers(int question) const
{
    if (!isValid())
        return {};
    return AnsiText::readLineIndex(path(ExamFolder::answersFile(question))).value_or(AnsiText::Lines());
}

QStringList ExamTicket::correctAnswerLines(int question) const
{
    if (!isValid())
        return {};
    return AnsiText::readLines(path(ExamFolder::correctAnswerFile(question))).value_or(QStringList());
}

namespace {

FileError noTicketFolder()
{
    return FileError(FileError::Kind::Other, QString(), u"the ticket number names no ticket folder"_s);
}

} // namespace

FileError ExamTicket::saveQuestion(int question, const QString &questionText, const QString &answers,
                                                 const QString &correct) const
{
    if (!isValid())
        return noTicketFolder();
    MakeDirPath(m_folder);
    const struct
    {
        QString name;
        const QString &text;
    } files[] = {{ExamFolder::questionFile(question), questionText},
                 {ExamFolder::answersFile(question), answers},
                 {ExamFolder::correctAnswerFile(question), correct}};
    for (const auto &file : files) {
        FileError error;
        if (!AnsiText::writeWhole(path(file.name), AnsiText::asFileText(file.text), &error))
            return error;
    }
    return {};
}

FileError ExamTicket::savePicture(int question, const QByteArray &bitmap) const
{
    if (!isValid())
        return noTicketFolder();
    FileError error;
    AnsiText::writeBytes(path(ExamFolder::pictureFile(question)), bitmap, &error);
    return error;
}

FileError ExamTicket::removePicture(int question) const
{
    if (!isValid())
        return noTicketFolder();
    const QString target = path(ExamFolder::pictureFile(question));
    if (!QFileInfo::exists(target))
        return {};
    QFile file(target);
    errno = 0;
    if (!file.remove())
        return FileError::fromSystem(errno, target, file.errorString());
    return {};
}
