#pragma once

#include <QObject>
#include <QString>

class QuestionnaireRun;

// The states of the questionnaire window that its editor adds to the run: where the question
// boxes take their content from, whether the editor is open, whether a new questionnaire is
// being created, and the editor's walk through the questions of an open file with ">>".
// The window shows these states in its hidden markers Label1, Label10 and Label12.
class QuestionnaireEditor final : public QObject
{
    Q_OBJECT

public:
    // Where the question boxes take their content from (Label1 "0", "1", "3").
    enum class Source {
        None,  // nothing chosen since the window opened
        Typed, // the editor before a file is open: a new number clears the question
        File,  // a questionnaire file is open: a new number loads that question
    };

    // Where ">>" in the editor led.
    enum class Browse { NextQuestion, Ended };

    explicit QuestionnaireEditor(QuestionnaireRun &run, QObject *parent = nullptr);

    // The marker texts: Label1 "0", "1" or "3"; Label10 and Label12 "0" or "1".
    static QString markerText(Source source);
    static QString markerText(bool on);

    Source source() const { return m_source; }
    void setSource(Source source);
    bool readsFile() const { return m_source == Source::File; }

    bool isOpen() const { return m_open; }
    void setOpen(bool open);

    bool isCreating() const { return m_creating; }
    void setCreating(bool creating);

    // The editor's 16-bit browse counter.
    qint16 browseCounter() const { return m_browseCounter; }
    void rewindBrowse();
    // ">>" in the editor: the counter's following question, or Ended past the last question
    // (a question beyond the counter's 16 bits counts as past the last), where the window
    // says so and goes back with backToFirstQuestion().
    Browse browse();
    void backToFirstQuestion();

    // The number proposed after a question of a new questionnaire is saved: the saved number
    // plus one as a 16-bit whole number; nothing for a number that has no 16-bit successor.
    static QString followingNumber(const QString &number);

signals:
    void sourceChanged(QuestionnaireEditor::Source source);
    void openChanged(bool open);
    void creatingChanged(bool creating);

private:
    QuestionnaireRun &m_run;
    Source m_source = Source::None;
    bool m_open = false;
    bool m_creating = false;
    qint16 m_browseCounter = 1;
};
