#pragma once

#include "core/exam/ticket_journal.h"
#include "core/exam/ticket_outcome.h"
#include "core/exam/ticket_run.h"
#include "core/program/program_paths.h"
#include "core/reports/attempt.h"
#include "core/reports/exam_report.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class SettingsRecord;
class TicketJournalKeeper;

// One ticket of one student from the draw to its record: it loads the ticket, owns its
// TicketRun, keeps the journal that lets a crash cost nothing, and gives the outcome that the
// result sheet and the report are made of. The journal is removed only when the ticket ends,
// after its record (or the note that it was discarded) has been written.
//
// Every ticket that ends (and every unfinished one discarded) leaves its attempt in the
// attempts journal before its ticket journal goes, whether or not its record was saved.
//
// It also takes up a ticket that a crash cut off: the journal found when the program starts
// is continued as a session of its own, discarded with a note in the report, or, when it
// cannot be taken up, set aside under a name of its own so that it is never lost in silence.
class TicketSession final : public QObject
{
    Q_OBJECT

public:
    // Why a journal found at start could not be taken up.
    using Problem = TicketJournal::Problem;

    // A journal that could not be taken up, moved out of the way.
    struct SetAside
    {
        Problem problem = Problem::Damaged;
        QString journal;
        // Where it went; empty when it could not be renamed.
        QString aside;

        // The message that says so, whatever the language: English for "eng", Russian
        // otherwise.
        QString text(const QString &language) const;
    };

    // What the program folder held at start.
    struct Search
    {
        // The journal of a ticket that a crash cut off, waiting to be continued or discarded.
        std::optional<TicketJournal::Record> unfinished;
        // A journal that was there but cannot be taken up.
        std::optional<SetAside> setAside;
    };

    // Looks for the journal of a ticket cut off by a crash. The journal of a ticket that
    // runs in another copy of the program now is no unfinished ticket; one that is damaged
    // or whose exam is gone is set aside at once.
    static Search findUnfinished(const ProgramPaths &paths, const QDateTime &now);
    // Moves the journal aside, stamped with the time.
    static SetAside setAside(const ProgramPaths &paths, Problem problem, const QDateTime &now);
    // Notes in the attempts journal and in the exam report, in the language, that the
    // unfinished ticket was discarded, then removes its journal. The message that says why
    // when either could not be written: the journal then stays.
    static std::optional<QString> discardUnfinished(const ProgramPaths &paths, const TicketJournal::Record &journal,
                                                    const QString &language, const QDateTime &now);

    // The ticket a student drew or typed, with the settings it runs with now.
    static TicketJournal::Record drawn(const SettingsRecord &settings, const Student &student,
                                       const QString &ticketNumber, const QString &ticketFolderName,
                                       const QString &examTitle);

    enum class Origin {
        Drawn,   // a new ticket: it starts at question 1
        Resumed, // a journal found at start: it goes on where the journal left it
    };

    // The session of a ticket in the language of the settings; its run is made at once, so
    // that a window can follow it before begin().
    TicketSession(const ProgramPaths &paths, const QString &language, const TicketJournal::Record &ticket,
                  Origin origin, QObject *parent = nullptr);
    ~TicketSession() override;

    // The clock the attempt's times and each question's seconds are taken from; the system's
    // until another is set.
    void setClock(std::function<QDateTime()> clock);

    TicketRun &run() { return *m_run; }
    const TicketRun &run() const { return *m_run; }
    const Student &student() const { return m_ticket.student; }
    bool isResumed() const { return m_origin == Origin::Resumed; }
    QString ticketNumber() const { return m_ticket.ticketNumber; }
    QString examTitle() const { return m_ticket.examTitle; }
    // "Билет № b7" or "Ticket № b7"; the empty text for another language.
    QString ticketLine() const;

    // Starts a drawn ticket or takes up a resumed one, then keeps its journal. False when a
    // drawn ticket's first question could not be read (the ticket is abandoned) or when a
    // journal no longer fits its ticket's files; no journal is written then.
    bool begin();

    // The marks, question texts, ticket line, grade and verdict as the ticket stands.
    TicketOutcome outcome() const;

    // The sheet of the ticket was closed, its record saved to the report or not. The attempt
    // takes the student and the date and time from the record, which tell it apart in the report.
    void sheetClosed(bool savedToReport, const ExamRecord &sheet);

    // The attempt as the ticket stands, ended as it would end now.
    Attempt attempt() const;

    // The ticket has ended (its sheet closed, or abandoned): its attempt goes to the attempts
    // journal, then its journal is removed and no step is kept any more. A journal this
    // session never wrote is left alone; a resumed ticket that could not be taken up is no
    // ended ticket.
    void end();

signals:
    // The journal could not be written (said once), or another running copy of the program
    // keeps it: the message that says so in the session's language.
    void journalFailed(const QString &message);
    // The attempt could not be written to the attempts journal: the message that says so.
    void attemptNotWritten(const QString &message);

private:
    // What the student saw of a question and when.
    struct Seen
    {
        QString text;
        QStringList offered;
        QString correct;
        QDateTime opened;
        QString chosen;
        std::optional<int> seconds;
    };

    // The attempt of a ticket as far as its journal and files tell it.
    static Attempt attemptOf(const TicketJournal::Record &ticket, const TicketRun::State &state, const TicketRun &run,
                             const QString &language);
    void keepJournal();
    void noteOpened(int question);
    void noteAnswered(int question, const QString &answer);

    ProgramPaths m_paths;
    QString m_language;
    TicketJournal::Record m_ticket;
    Origin m_origin;
    std::unique_ptr<TicketRun> m_run;
    std::unique_ptr<TicketJournalKeeper> m_keeper;
    std::function<QDateTime()> m_clock;
    std::array<Seen, TicketRun::Questions> m_seen;
    QDateTime m_start;
    // Whether the ticket ran at all: a resumed one that could not be taken up did not.
    bool m_began = false;
    bool m_ended = false;
    // Set when the sheet closed: whether its record went to the report.
    std::optional<bool> m_savedToReport;
    ExamRecord m_sheet;
};
