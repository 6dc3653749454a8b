#include "core/exam/exam_editor_state.h"

#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "core/program/settings_record.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// A one-line box would show the final line end of the correct-answer file as blanks, and a
// teacher typing after them would put the new text on a second line that the ticket never
// reads. Saving gives the line end back.
QString withoutFinalLineEnd(QString text)
{
    if (text.endsWith(u"\r\n"_s))
        text.chop(2);
    else if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

// Whether a ticket could mark a choice right: the ticket compares the chosen answer line with
// the first line of the correct-answer file, both as read back from the files, so the texts are
// compared as they would be written and read.
bool isAnswerable(const QString &answers, const QString &correct)
{
    const AnsiText::Lines offered(AnsiText::encode(AnsiText::asFileText(answers)));
    const AnsiText::Lines right(AnsiText::encode(AnsiText::asFileText(correct)));
    if (right.isEmpty())
        return false;
    for (qsizetype i = 0; i < offered.size(); ++i) {
        if (offered.bytesAt(i) == right.bytesAt(0))
            return true;
    }
    return false;
}

} // namespace

ExamEditorState::ExamEditorState(SettingsRecord &settings, const ProgramPaths &paths, QObject *parent)
    : QObject(parent), m_settings(settings), m_paths(paths)
{
}

QString ExamEditorState::library() const
{
    return m_paths.examLibrary();
}

QString ExamEditorState::examFolder() const
{
    return m_settings.examFolder();
}

void ExamEditorState::setStep(Step step)
{
    if (m_step == step)
        return;
    m_step = step;
    emit stepChanged(step);
}

void ExamEditorState::beginCreating()
{
    setStep(Step::CreatingExam);
}

void ExamEditorState::beginChoosing()
{
    setStep(Step::ChoosingExam);
}

void ExamEditorState::backToStart()
{
    setStep(Step::Start);
}

FileError ExamEditorState::createExam(const QString &name)
{
    const FileError created = ExamFolder::createExam(library(), name);
    if (created.isError())
        return created;
    m_settings.setExamFolder(ExamFolder::examIn(library(), name));
    setTicketNumber(QString());
    setQuestionNumber(QString());
    setStep(Step::Editing);
    return created;
}

bool ExamEditorState::chooseExam(const QString &folder)
{
    m_titleMatch = ExamFolder::firstTitleMatch(folder);
    m_settings.setExamFolder(folder);
    if (m_titleMatch != ExamFolder::titleFileName())
        return false;
    setStep(Step::Editing);
    setQuestionNumber(QString());
    return true;
}

void ExamEditorState::restoreConfiguredExam()
{
    m_settings.restoreExamFolder(m_paths.settingsFile());
}

ExamTicket ExamEditorState::ticket() const
{
    return ExamTicket(examFolder(), m_ticketNumber);
}

void ExamEditorState::setTicketNumber(const QString &number)
{
    if (number == m_ticketNumber)
        return;
    m_ticketNumber = number;
    m_questionNumber.clear();
    setSavedPictureShown(false);
    replaceTexts({});
    m_foundTicketFolder = ticket().exists() ? ExamFolder::ticketFolderName(number) : QString();
    emit ticketChanged();
}

void ExamEditorState::setQuestionNumber(const QString &number)
{
    m_questionNumber = number;
    setSavedPictureShown(false);
}

int ExamEditorState::question() const
{
    bool ok = false;
    const int number = m_questionNumber.toInt(&ok);
    return ok && number >= 1 && number <= ExamFolder::MaxQuestions && QString::number(number) == m_questionNumber
               ? number
               : 0;
}

QStringList ExamEditorState::chooseQuestion(const QString &number)
{
    m_questionNumber = number;
    const ExamTicket current = ticket();
    const int n = question();
    m_presence = n > 0 ? current.presence(n) : ExamTicket::Presence();

    Texts loaded;
    QStringList unreadable;
    if (m_presence.texts()) {
        const auto read = [&](const QString &fileName) {
            const std::optional<QString> text = current.wholeText(fileName);
            if (!text)
                unreadable << current.path(fileName);
            return text.value_or(QString());
        };
        loaded.answers = read(ExamFolder::answersFile(n));
        loaded.question = read(ExamFolder::questionFile(n));
        loaded.correct = withoutFinalLineEnd(read(ExamFolder::correctAnswerFile(n)));
    }
    replaceTexts(loaded);
    return unreadable;
}

void ExamEditorState::replaceTexts(const Texts &texts)
{
    m_texts = texts;
    m_saved = texts;
    emit textsReplaced();
}

void ExamEditorState::setQuestionText(const QString &text)
{
    m_texts.question = text;
}

void ExamEditorState::setAnswersText(const QString &text)
{
    m_texts.answers = text;
}

void ExamEditorState::setCorrectText(const QString &text)
{
    m_texts.correct = text;
}

bool ExamEditorState::hasUnsavedChanges() const
{
    // Compared as they would be written: a box shows CR LF as a plain line break.
    const auto written = [](const Texts &texts) {
        return Texts{AnsiText::asFileText(texts.question), AnsiText::asFileText(texts.answers),
                     AnsiText::asFileText(texts.correct)};
    };
    return written(m_texts) != written(m_saved);
}

PathNames::Problem ExamEditorState::ticketProblem() const
{
    return m_ticketNumber.isEmpty() ? PathNames::Problem::None : PathNames::problem(m_ticketNumber);
}

ExamEditorState::SaveOutcome ExamEditorState::save()
{
    // The ticket number becomes the folder "b" + number.
    if (ticketProblem() != PathNames::Problem::None)
        return SaveOutcome::TicketRefused;
    if (m_texts.question.isEmpty() || m_texts.answers.isEmpty() || m_texts.correct.isEmpty()
        || m_ticketNumber.isEmpty() || question() == 0)
        return SaveOutcome::Incomplete;
    if (!isAnswerable(m_texts.answers, m_texts.correct))
        return SaveOutcome::Unanswerable;
    m_lastFailure = ticket().saveQuestion(question(), m_texts.question, m_texts.answers, m_texts.correct);
    if (m_lastFailure.isError())
        return SaveOutcome::Failed;
    m_saved = m_texts;
    return SaveOutcome::Saved;
}

QString ExamEditorState::picturePath() const
{
    const int n = question();
    return n > 0 ? ticket().path(ExamFolder::pictureFile(n)) : QString();
}

QString ExamEditorState::chosenPictureName() const
{
    return QFileInfo(m_chosenPicture).fileName();
}

void ExamEditorState::setChosenPicture(const QString &path)
{
    m_chosenPicture = path;
    emit chosenPictureChanged(path);
    setSavedPictureShown(false);
}

void ExamEditorState::setSavedPictureShown(bool shown)
{
    if (m_savedPictureShown == shown)
        return;
    m_savedPictureShown = shown;
    emit savedPictureShownChanged(shown);
}

bool ExamEditorState::deleteSavedPicture()
{
    // Only the saved picture of the question shown is deleted.
    if (!m_savedPictureShown)
        return true;
    setSavedPictureShown(false);
    m_lastFailure = ticket().removePicture(question());
    return !m_lastFailure.isError();
}

bool ExamEditorState::armPictureTrigger()
{
    if (m_chosenPicture.isEmpty() || chosenPictureName().isEmpty() || m_ticketNumber.isEmpty() || m_pictureTrigger)
        return false;
    m_pictureTrigger = true;
    emit pictureTriggerChanged(true);
    return question() > 0;
}

void ExamEditorState::resetPictureTrigger()
{
    if (!m_pictureTrigger)
        return;
    m_pictureTrigger = false;
    emit pictureTriggerChanged(false);
}

bool ExamEditorState::savePicture(const QByteArray &bitmap)
{
    m_lastFailure = ticket().savePicture(question(), bitmap);
    return !m_lastFailure.isError();
}

void ExamEditorState::newTicket()
{
    setTicketNumber(QString());
    m_questionNumber.clear();
    replaceTexts({});
    resetPictureTrigger();
    setSavedPictureShown(false);
}
