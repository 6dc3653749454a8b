#include "core/exam/exam_folder.h"

#include "core/files/ansi_text.h"
#include "core/files/folders.h"

using namespace Qt::StringLiterals;

namespace ExamFolder {

std::optional<QString> readTitle(const QString &examFolder)
{
    return AnsiText::readWhole(examFolder + u"/lzm.lzm"_s);
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

std::optional<QString> ExamTicket::questionText(int question) const
{
    if (!isValid())
        return std::nullopt;
    return AnsiText::readWhole(path(ExamFolder::questionFile(question)));
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
