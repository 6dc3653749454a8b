#include "core/exam/student_step.h"

#include "core/exam/exam_folder.h"
#include "core/files/fixed_point.h"
#include "core/program/settings_record.h"

#include <QFileInfo>

#include <cmath>

using namespace Qt::StringLiterals;

StudentStep::StudentStep(const SettingsRecord &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
}

void StudentStep::begin()
{
    setName(QString());
    setData1(QString());
    setData2(QString());
    setData3(QString());
    setTypedPassword(QString());
    // A fresh window has an empty number and folder name; the empty number's folder name "b"
    // only comes of emptying a number that was there.
    if (!m_ticketNumber.isEmpty()) {
        m_ticketNumber.clear();
        emit ticketNumberChanged(m_ticketNumber);
    }
    setTicketFolderName(QString());
    setFirstQuestionFiles(QString(), QString(), QString());
    setCanOpen(false);
    setManualEntryTicked(false);
    setManualEntry(false);

    setTicketCount(m_settings.tickets());
    setStoredPassword(m_settings.password());
    readExamTitle();
}

void StudentStep::takeSettings()
{
    readExamTitle();
    setTicketCount(m_settings.tickets());
}

QString StudentStep::examFolder() const
{
    return m_settings.examFolder();
}

void StudentStep::setTicketCount(const QString &tickets)
{
    if (tickets == m_ticketCount)
        return;
    m_ticketCount = tickets;
    emit ticketCountChanged(m_ticketCount);
}

void StudentStep::setStoredPassword(const QString &password)
{
    if (password == m_storedPassword)
        return;
    m_storedPassword = password;
    emit storedPasswordChanged(m_storedPassword);
}

void StudentStep::readExamTitle()
{
    // An exam folder without a title file simply has no title.
    const QString folder = examFolder();
    const QString title = folder.isEmpty() ? QString() : ExamFolder::readTitle(folder).value_or(QString());
    if (title == m_examTitle)
        return;
    m_examTitle = title;
    emit examTitleChanged(m_examTitle);
}

void StudentStep::setField(QString &field, const QString &value)
{
    if (value == field)
        return;
    field = value;
    emit studentChanged();
}

void StudentStep::setName(const QString &name)
{
    setField(m_name, name);
}

void StudentStep::setData1(const QString &data)
{
    setField(m_data1, data);
}

void StudentStep::setData2(const QString &data)
{
    setField(m_data2, data);
}

void StudentStep::setData3(const QString &data)
{
    setField(m_data3, data);
}

void StudentStep::setDataCaption(const QString &caption)
{
    setField(m_dataCaption, caption);
}

Student StudentStep::student() const
{
    return {m_dataCaption + u"  "_s + m_name, m_data1, m_data2, m_data3, m_name};
}

void StudentStep::chooseExamMode()
{
    setName(QString());
}

void StudentStep::backToModeChoice()
{
    setName(QString());
}

bool StudentStep::confirmStudent()
{
    if (m_name.isEmpty())
        return false;
    setTicketNumber(QString());
    setTicketFolderName(QString());
    endManualEntry();
    return true;
}

void StudentStep::nextStudent()
{
    setName(QString());
    setData1(QString());
    setData2(QString());
    setData3(QString());
}

void StudentStep::setTypedPassword(const QString &password)
{
    if (password == m_typedPassword)
        return;
    m_typedPassword = password;
    emit typedPasswordChanged(m_typedPassword);
}

bool StudentStep::checkTypedPassword()
{
    const bool right = m_typedPassword == m_storedPassword;
    setTypedPassword(QString());
    return right;
}

void StudentStep::draw(double random)
{
    const double tickets = Fixed::parse(m_ticketCount).value_or(Fixed()).toDouble();
    const QString number = QString::number(qint64(std::floor(random * tickets)) + 1);
    setTicketNumber(number);
    const QString name = ExamFolder::ticketFolderName(number);
    setTicketFolderName(QFileInfo::exists(examFolder() + u'/' + name) ? name : QString());
}

bool StudentStep::drawSettled()
{
    if (m_ticketFolderName.isEmpty())
        return false;
    setCanOpen(true);
    return true;
}

void StudentStep::setTicketNumber(const QString &number)
{
    if (number == m_ticketNumber)
        return;
    m_ticketNumber = number;
    emit ticketNumberChanged(m_ticketNumber);
    setTicketFolderName(ExamFolder::ticketFolderName(number));
}

void StudentStep::setTicketFolderName(const QString &folderName)
{
    if (folderName == m_ticketFolderName)
        return;
    m_ticketFolderName = folderName;
    emit ticketFolderNameChanged(m_ticketFolderName);
    if (folderName.isEmpty()) {
        setCanOpen(false);
        return;
    }
    const ExamTicket ticket = ExamTicket::named(examFolder(), folderName);
    setFirstQuestionFiles(ticket.presentName(ExamFolder::answersFile(1)),
                          ticket.presentName(ExamFolder::correctAnswerFile(1)),
                          ticket.presentName(ExamFolder::questionFile(1)));
    setCanOpen(true);
}

void StudentStep::setFirstQuestionFiles(const QString &answers, const QString &correctAnswer,
                                        const QString &question)
{
    if (answers == m_firstAnswersFile && correctAnswer == m_firstCorrectAnswerFile
        && question == m_firstQuestionFile)
        return;
    m_firstAnswersFile = answers;
    m_firstCorrectAnswerFile = correctAnswer;
    m_firstQuestionFile = question;
    emit firstQuestionFilesChanged();
}

void StudentStep::setCanOpen(bool canOpen)
{
    if (canOpen == m_canOpen)
        return;
    m_canOpen = canOpen;
    emit canOpenChanged(m_canOpen);
}

void StudentStep::resetTicketFolder()
{
    setTicketFolderName(QString());
}

void StudentStep::clearTicketChoice()
{
    setTicketFolderName(QString());
    setCanOpen(false);
}

bool StudentStep::tickManualEntry(bool ticked)
{
    // Leaving manual entry opens nothing, so it asks for no password: the box was emptied
    // after the check that began it.
    if (!ticked) {
        endManualEntry();
        return true;
    }
    if (!checkTypedPassword()) {
        setManualEntryTicked(false);
        return false;
    }
    setManualEntryTicked(ticked);
    setManualEntry(ticked);
    return true;
}

// The end of manual entry, by the untick or for the next student or after a ticket that could
// not open: the field closes and the draw comes back.
void StudentStep::endManualEntry()
{
    if (!m_manualEntryTicked)
        return;
    setManualEntryTicked(false);
    setManualEntry(false);
}

void StudentStep::setManualEntryTicked(bool ticked)
{
    if (ticked == m_manualEntryTicked)
        return;
    m_manualEntryTicked = ticked;
    emit manualEntryTickedChanged(m_manualEntryTicked);
}

void StudentStep::setManualEntry(bool open)
{
    if (open != m_manualEntry) {
        m_manualEntry = open;
        emit manualEntryChanged(m_manualEntry);
    }
    // Closing the field empties the number, whether or not it was open.
    if (!open)
        setTicketNumber(QString());
}

bool StudentStep::chosenTicketOpens() const
{
    return ExamTicket::named(examFolder(), m_ticketFolderName).isComplete(1);
}

void StudentStep::refuseChosenTicket()
{
    setTicketNumber(QString());
    setTicketFolderName(QString());
    endManualEntry();
}

void StudentStep::forgetFirstQuestionFiles()
{
    setFirstQuestionFiles(QString(), QString(), QString());
}
