#pragma once

#include "core/exam/ticket_journal.h"
#include "core/exam/ticket_outcome.h"
#include "core/exam/ticket_run.h"
#include "core/program/program_paths.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class SettingsRecord;
class TicketJournalKeeper;

// One ticket of one student from the draw to its record: it loads the ticket, owns its
// TicketRun, keeps the journal that lets a crash cost nothing, and gives the outcome that the
// result sheet and the report are made of. The journal is removed only when the ticket ends,
// after its record (or the note that it was discarded) has been written.
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
    // Notes in the exam report, in the language, that the unfinished ticket was discarded,
    // then removes its journal. The message that says why when the note could not be written:
    // the journal then stays.
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

    // The ticket has ended (its sheet closed, or abandoned): its journal is removed and no
    // step is kept any more. A journal this session never wrote is left alone.
    void end();

signals:
    // The journal could not be written (said once), or another running copy of the program
    // keeps it: the message that says so in the session's language.
    void journalFailed(const QString &message);

private:
    void keepJournal();

    ProgramPaths m_paths;
    QString m_language;
    TicketJournal::Record m_ticket;
    Origin m_origin;
    std::unique_ptr<TicketRun> m_run;
    std::unique_ptr<TicketJournalKeeper> m_keeper;
};
