#pragma once

#include "core/program/student.h"

#include <QObject>
#include <QString>

class SettingsRecord;

// The student step of the start window: who the student is, which ticket of the current exam
// is chosen (drawn by chance or typed by hand after the password) and the password gate that
// guards manual entry, the settings and the discard of an unfinished ticket. The start window
// shows it and turns clicks and typing into calls; the application reads the chosen ticket and
// the student from it when it opens a ticket. It outlives the start window, which a language
// switch makes anew, and begins again with each new window.
//
// The rules chain as the window's controls did: a ticket number makes the folder name "b" + the
// number, and a folder name that is not empty looks up the first question's files and lets the
// ticket be opened.
class StudentStep final : public QObject
{
    Q_OBJECT

public:
    explicit StudentStep(const SettingsRecord &settings, QObject *parent = nullptr);

    // A new start window: everything typed and chosen is forgotten, and the number of tickets,
    // the stored password and the exam title are taken from the settings.
    void begin();
    // The settings or the exam chooser closed: the number of tickets and the exam title follow
    // the settings. The stored password keeps the value it had when the step began.
    void takeSettings();

    // What the step works with, as taken from the settings. The exam folder is always the one
    // the settings name now.
    QString ticketCount() const { return m_ticketCount; }
    QString storedPassword() const { return m_storedPassword; }
    QString examFolder() const;
    bool hasExamFolder() const { return !examFolder().isEmpty(); }
    // The whole title file of the exam folder, line ends included; empty without one.
    QString examTitle() const { return m_examTitle; }

    // The student as typed; the data caption is the data frame's caption in the window's
    // language, which begins the student's line of the result sheet.
    QString name() const { return m_name; }
    QString data1() const { return m_data1; }
    QString data2() const { return m_data2; }
    QString data3() const { return m_data3; }
    void setName(const QString &name);
    void setData1(const QString &data);
    void setData2(const QString &data);
    void setData3(const QString &data);
    void setDataCaption(const QString &caption);
    Student student() const;

    // Exam mode chosen, or back to the mode choice: the name box starts empty.
    void chooseExamMode();
    void backToModeChoice();
    // "OK" under the name: refused while the name is empty. Otherwise the ticket choice starts
    // afresh: no number, no folder, no manual entry.
    bool confirmStudent();
    // The evaluation or the settings closed: the name and the three data lines are emptied for
    // the next student; the last ticket choice stays until the name is confirmed.
    void nextStudent();

    // The password typed for the teacher's steps.
    QString typedPassword() const { return m_typedPassword; }
    void setTypedPassword(const QString &password);
    // Whether the typed password is the stored one (two empty texts are equal); the typed one
    // is emptied either way, so the next student never finds it in the box.
    bool checkTypedPassword();
    // A password typed elsewhere (the unfinished ticket's discard) against the stored one.
    bool isStoredPassword(const QString &password) const { return password == m_storedPassword; }

    // The chosen ticket: the number as drawn or typed, its folder name, and the file names of
    // its first question's answers, correct answer and question where those files exist.
    QString ticketNumber() const { return m_ticketNumber; }
    QString ticketFolderName() const { return m_ticketFolderName; }
    QString firstAnswersFile() const { return m_firstAnswersFile; }
    QString firstCorrectAnswerFile() const { return m_firstCorrectAnswerFile; }
    QString firstQuestionFile() const { return m_firstQuestionFile; }
    // Whether "Открыть билет" may be pressed.
    bool canOpen() const { return m_canOpen; }

    // A chance draw with a uniform number 0 <= random < 1: number = floor(random * tickets) + 1,
    // a number of tickets that is not a number counting as none. The folder name is kept only
    // when that folder exists in the exam folder. Needs an exam folder.
    void draw(double random);
    // Half a second after a draw: a ticket whose folder was found may be opened. True then.
    bool drawSettled();
    // A number typed by hand: the folder name is "b" + the number as typed, found or not.
    void setTicketNumber(const QString &number);
    // "Сброс": the folder name is forgotten, so the ticket cannot be opened.
    void resetTicketFolder();
    // A newly chosen exam needs a new ticket choice.
    void clearTicketChoice();

    // Manual entry: whether its box is ticked, and whether the number field is open (and the
    // draw and the reset closed). Ticking the box checks the typed password first; a wrong one
    // leaves the box unticked and the field closed, and gives false. Unticking needs no
    // password: the field closes and the number is emptied.
    bool manualEntryTicked() const { return m_manualEntryTicked; }
    bool manualEntry() const { return m_manualEntry; }
    bool tickManualEntry(bool ticked);

    // "Открыть билет": whether the first question of the chosen ticket has its question,
    // answers and correct-answer files.
    bool chosenTicketOpens() const;
    // A ticket that could not open: the number and the folder name are emptied and manual
    // entry ends.
    void refuseChosenTicket();
    // After every attempt to open a ticket the first question's file names are forgotten.
    void forgetFirstQuestionFiles();

signals:
    void studentChanged();
    void ticketCountChanged(const QString &tickets);
    void storedPasswordChanged(const QString &password);
    void examTitleChanged(const QString &title);
    void typedPasswordChanged(const QString &password);
    void ticketNumberChanged(const QString &number);
    void ticketFolderNameChanged(const QString &folderName);
    void firstQuestionFilesChanged();
    void canOpenChanged(bool canOpen);
    void manualEntryTickedChanged(bool ticked);
    void manualEntryChanged(bool open);

private:
    void setField(QString &field, const QString &value);
    void setTicketCount(const QString &tickets);
    void setStoredPassword(const QString &password);
    void readExamTitle();
    void setTicketFolderName(const QString &folderName);
    void setFirstQuestionFiles(const QString &answers, const QString &correctAnswer, const QString &question);
    void setCanOpen(bool canOpen);
    void setManualEntryTicked(bool ticked);
    void setManualEntry(bool open);
    void endManualEntry();

    const SettingsRecord &m_settings;
    QString m_ticketCount;
    QString m_storedPassword;
    QString m_examTitle;
    QString m_name;
    QString m_data1;
    QString m_data2;
    QString m_data3;
    QString m_dataCaption;
    QString m_typedPassword;
    QString m_ticketNumber;
    QString m_ticketFolderName;
    QString m_firstAnswersFile;
    QString m_firstCorrectAnswerFile;
    QString m_firstQuestionFile;
    bool m_canOpen = false;
    bool m_manualEntryTicked = false;
    bool m_manualEntry = false;
};
