#pragma once

#include "core/files/file_error.h"

#include <QObject>
#include <QString>

#include <optional>

// The settings of a run: the keys of section [test] of test.ini, the two timer switches that
// are never stored, and what follows from them. One record per run, owned by the application;
// the settings window shows it and writes back what the teacher types, every other window
// reads it. It is filled from the file once, when the program starts, and written back only
// when the teacher closes the settings with saving ticked (and the language on every switch).
//
// The values are texts as typed, so that a value the teacher left unusable is still shown and
// saved as it is; the derived values say what the program makes of them.
class SettingsRecord final : public QObject
{
    Q_OBJECT

public:
    // The countdown of a timer is a 16-bit count of seconds: 546 minutes is the most it holds.
    static constexpr int MaxMinutes = 546;

    // How pictures of a question are shown: at the fixed size l x h ("1" in the file) or at
    // their own size ("2"; any other stored value means this too).
    enum class PictureSize { Fixed, Real };

    // The outcome of writing the record to its file.
    struct SaveResult
    {
        bool ok = true;
        FileError error;  // why the file could not be written
        explicit operator bool() const { return ok; }
    };

    explicit SettingsRecord(QObject *parent = nullptr);

    // Stored keys, in the file's load order. Besides the settings window, which writes back
    // whatever the teacher types into any of them:
    // - tickets and questions: the exam chooser takes over the counts it found ("Да");
    // - pass score: the pass score panel sets it; the chooser empties it to "0" with new counts;
    // - picture width, height and size mode: the picture size window ("Ввести");
    // - language: the language switches of the start and settings windows, written at once;
    // - exam folder: the exam chooser ("Принять", "Да", "Нет"), the exam editor on creating
    //   or choosing an exam, and restoreExamFolder() when the editor is left from editing.
    // The start, ticket, chooser, editor, picture size, evaluation, answers review and
    // questionnaire windows read them.
    QString tickets() const { return m_tickets; }             // bilet
    QString questions() const { return m_questions; }         // vopros
    QString passScore() const { return m_passScore; }         // ball
    QString minutes() const { return m_minutes; }             // time, as typed
    QString password() const { return m_password; }           // pass
    QString pictureWidth() const { return m_pictureWidth; }   // l
    QString pictureHeight() const { return m_pictureHeight; } // h
    PictureSize pictureSize() const { return m_pictureSize; } // k
    QString language() const { return m_language; }          // re
    QString examFolder() const { return m_examFolder; }       // z
    // Kept in a section of its own, [tavring] saveall=1, so that [test] keeps its keys: every
    // finished ticket is graded and recorded; the result sheet cannot leave the report out.
    bool saveAll() const { return m_saveAll; }
    // [tavring] shuffle=1: every ticket shows each question's answers in an order of its own,
    // so that neighbours with the same ticket do not find the same answer in the same place.
    bool shuffleAnswers() const { return m_shuffleAnswers; }
    // [tavring] printsheet=1: the result sheet offers to print itself and to save itself as PDF.
    bool printSheet() const { return m_printSheet; }

    // Not stored: both off at start; the settings window lets at most one be on.
    bool ticketTimer() const { return m_ticketTimer; }
    bool questionTimer() const { return m_questionTimer; }

    // Derived values.
    // The picture size mode as the file holds it: "1" or "2".
    QString pictureSizeKey() const;
    // The timer length: the typed minutes when they are whole minutes the countdown can hold,
    // 0 becoming 1; 1 for anything else.
    int wholeMinutes() const;
    // Typed minutes the timer can take: the text read by the locale's rules, rounded to the
    // nearest whole number (halves to the even neighbour), from 0 to MaxMinutes. Nothing for
    // anything else, which the settings window refuses with a message.
    static std::optional<int> acceptedMinutes(const QString &typed);
    // The start of a countdown in seconds.
    int countdownSeconds() const { return wholeMinutes() * 60; }

    void setTickets(const QString &value);
    void setQuestions(const QString &value);
    void setPassScore(const QString &value);
    void setMinutes(const QString &value);
    void setPassword(const QString &value);
    void setPictureWidth(const QString &value);
    void setPictureHeight(const QString &value);
    void setPictureSize(PictureSize value);
    void setLanguage(const QString &value);
    void setExamFolder(const QString &value);
    void setSaveAll(bool on);
    void setShuffleAnswers(bool on);
    void setPrintSheet(bool on);
    void setTicketTimer(bool on);
    void setQuestionTimer(bool on);

    // Reads the ten keys from the file in one read, in the order bilet, vopros, ball, time,
    // pass, l, h, k, re, z; a missing file or key gives the empty text. The timer switches
    // are turned off. Saving every result is on only when saveall is "1", shuffling answers
    // only when shuffle is "1", printing the sheet only when printsheet is "1".
    void load(const QString &file);
    // Writes bilet, vopros, ball, time, pass, l, h, k and z into the file in one replace: the
    // bytes are those that nine single-key writes in that order would leave. Then saveall,
    // shuffle and printsheet, in their own section, each when it is on or the file holds it already, so that
    // a file of a program that never had them stays as it was.
    SaveResult save(const QString &file) const;
    // Writes the language key alone, as every language switch does.
    SaveResult saveLanguage(const QString &file) const;
    // Writes the flag of section [reg] alone: "1" or "0" after the registration utility's
    // buttons, "1" after the exam chooser started the utility.
    static SaveResult saveRegistrationFlag(const QString &file, const QString &value);
    // What a window says when a save of the file failed: the file and the reason. A failure
    // is never silent, so a language other than "eng" gets the Russian text, as it keeps the
    // designed Russian captions.
    static QString saveFailureText(const QString &file, const SaveResult &result, const QString &language);
    // Takes the exam folder back from the file, undoing a change that was not saved.
    void restoreExamFolder(const QString &file);

signals:
    void ticketsChanged(const QString &value);
    void questionsChanged(const QString &value);
    void passScoreChanged(const QString &value);
    void minutesChanged(const QString &value);
    void passwordChanged(const QString &value);
    void pictureWidthChanged(const QString &value);
    void pictureHeightChanged(const QString &value);
    void pictureSizeChanged(SettingsRecord::PictureSize value);
    void languageChanged(const QString &value);
    void examFolderChanged(const QString &value);
    void saveAllChanged(bool on);
    void shuffleAnswersChanged(bool on);
    void printSheetChanged(bool on);
    void ticketTimerChanged(bool on);
    void questionTimerChanged(bool on);

private:
    QString m_tickets;
    QString m_questions;
    QString m_passScore;
    QString m_minutes;
    QString m_password;
    QString m_pictureWidth;
    QString m_pictureHeight;
    PictureSize m_pictureSize = PictureSize::Real;
    QString m_language;
    QString m_examFolder;
    bool m_saveAll = false;
    bool m_shuffleAnswers = false;
    bool m_printSheet = false;
    bool m_ticketTimer = false;
    bool m_questionTimer = false;
};
