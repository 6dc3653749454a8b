#pragma once

#include "core/exam/exam_folder.h"
#include "core/files/path_names.h"

#include <QObject>
#include <QString>

class ProgramPaths;
class SettingsRecord;

// What the exam editor works on: the step of its start panel (creating or choosing an exam)
// or the editing of an exam; the ticket and question typed; which files of that question
// exist; the texts of the question being edited, as loaded and as typed; the picture chosen,
// whether the picture shown is the question's saved one, and the trigger that saves a chosen
// picture with the question. The exam being edited is the exam folder of the settings: creating
// or choosing an exam sets it there, and the settings window shows it.
class ExamEditorState final : public QObject
{
    Q_OBJECT

public:
    enum class Step { Start, CreatingExam, ChoosingExam, Editing };

    // The result of "Сохранить" for the texts of the question.
    enum class SaveOutcome {
        Saved,
        // A text, the ticket number or the question number is empty: nothing is written.
        Incomplete,
        // The ticket number cannot be a folder name: nothing is written.
        TicketRefused,
        // The first line of the correct answer is none of the answer lines, so no choice in
        // the ticket could be right: nothing is written.
        Unanswerable,
        // A file could not be written; see lastFailure().
        Failed,
    };

    ExamEditorState(SettingsRecord &settings, const ProgramPaths &paths, QObject *parent = nullptr);

    Step step() const { return m_step; }
    // The exam library, where exams are created and looked for.
    QString library() const;
    // The exam being edited: the exam folder of the settings.
    QString examFolder() const;

    // The start panel: "Создать", "Редактировать", and the sub-panels' "Закрыть".
    void beginCreating();
    void beginChoosing();
    void backToStart();
    // Creates the exam of that name in the library, makes it the settings' exam folder and
    // starts editing it with no ticket and no question.
    FileError createExam(const QString &name);
    // Makes the folder the settings' exam folder (also when it is refused) and starts editing
    // it when its first "*.lzm" file is the title file. False when refused.
    bool chooseExam(const QString &folder);
    // The name of the first "*.lzm" file found by the last choice.
    QString titleMatch() const { return m_titleMatch; }
    // Leaving the editor from the editing panel: the exam created or chosen does not replace
    // the one configured in the settings file.
    void restoreConfiguredExam();

    // The ticket number as typed, and the ticket folder's name ("b" + number) when it exists.
    QString ticketNumber() const { return m_ticketNumber; }
    QString foundTicketFolder() const { return m_foundTicketFolder; }
    // The ticket folder of the typed number.
    ExamTicket ticket() const;
    // Another ticket number typed: the texts and the question number are emptied, and the
    // ticket folder looked up.
    void setTicketNumber(const QString &number);

    // The question number as shown; empty when none is chosen.
    QString questionNumber() const { return m_questionNumber; }
    // A typed or emptied question number no longer names the question whose saved picture is
    // shown.
    void setQuestionNumber(const QString &number);
    // A question number chosen from the list: which of its files exist, and its texts loaded
    // when its three text files do. Gives the files that exist but could not be read.
    QStringList chooseQuestion(const QString &number);
    ExamTicket::Presence presence() const { return m_presence; }

    // The texts of the question being edited, as the boxes show them.
    QString questionText() const { return m_texts.question; }
    QString answersText() const { return m_texts.answers; }
    QString correctText() const { return m_texts.correct; }
    void setQuestionText(const QString &text);
    void setAnswersText(const QString &text);
    void setCorrectText(const QString &text);
    // Whether saving now would write other texts than those loaded or last saved.
    bool hasUnsavedChanges() const;

    // Writes the three texts of the question into its ticket folder.
    SaveOutcome save();
    // Why the last save, picture save or picture deletion failed.
    FileError lastFailure() const { return m_lastFailure; }
    // Why the ticket number of the last save was refused.
    PathNames::Problem ticketProblem() const;

    // The picture file of the ticket and question typed.
    QString picturePath() const;
    // The picture last chosen in the file dialog: its full path and its file name.
    QString chosenPicture() const { return m_chosenPicture; }
    QString chosenPictureName() const;
    void setChosenPicture(const QString &path);
    // Whether the picture shown is the saved picture of the question chosen.
    bool savedPictureShown() const { return m_savedPictureShown; }
    void setSavedPictureShown(bool shown);
    // Deletes the saved picture shown. False, with lastFailure(), when it could not be deleted.
    bool deleteSavedPicture();

    // The picture-save trigger. After "Сохранить", a chosen picture and a typed ticket number
    // arm it; true when this armed it and the chosen picture, the question number and the
    // ticket number are all there, so the picture is to be saved now. An armed trigger is not
    // armed again: a save without a question number leaves it armed until "Новый билет".
    bool pictureTrigger() const { return m_pictureTrigger; }
    bool armPictureTrigger();
    void resetPictureTrigger();
    // Writes the picture, in bitmap form, as the picture of the question. False, with
    // lastFailure(), when it could not be written.
    bool savePicture(const QByteArray &bitmap);

    // "Новый билет": no ticket, no question, no texts, the trigger reset, no saved picture shown.
    void newTicket();

signals:
    void stepChanged(ExamEditorState::Step step);
    // The ticket number changed and its folder was looked up.
    void ticketChanged();
    // The texts changed by a load, a new ticket number or "Новый билет".
    void textsReplaced();
    void savedPictureShownChanged(bool shown);
    void pictureTriggerChanged(bool armed);
    void chosenPictureChanged(const QString &path);

private:
    struct Texts
    {
        QString question;
        QString answers;
        QString correct;

        friend bool operator==(const Texts &, const Texts &) = default;
    };

    void setStep(Step step);
    void replaceTexts(const Texts &texts);
    // The question number as a number of the list, 0 for none.
    int question() const;

    SettingsRecord &m_settings;
    const ProgramPaths &m_paths;
    Step m_step = Step::Start;
    QString m_titleMatch;
    QString m_ticketNumber;
    QString m_foundTicketFolder;
    QString m_questionNumber;
    ExamTicket::Presence m_presence;
    Texts m_texts;
    // The texts as loaded or last saved, in the form a save writes them.
    Texts m_saved;
    QString m_chosenPicture;
    bool m_savedPictureShown = false;
    bool m_pictureTrigger = false;
    FileError m_lastFailure;
};
