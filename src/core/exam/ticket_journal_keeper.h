#pragma once

#include "core/exam/ticket_journal.h"

#include <QObject>
#include <QString>

#include <memory>

class SharedLock;

// Keeps the journal of a running ticket, holding its lock while the ticket runs: writes it at once and again after every step of the
// run that changed it, but for the countdown alone only every ten seconds, so a crash costs at
// most that much of the timer and the disk is not written every second.
class TicketJournalKeeper final : public QObject
{
    Q_OBJECT

public:
    static constexpr int SecondsBetweenWrites = 10;

    // The record gives the student and the ticket; its setup and state are taken from the run.
    // The first keep() writes the journal; it follows every step of the run from then on.
    TicketJournalKeeper(const QString &path, const TicketJournal::Record &record, const TicketRun &run,
                        QObject *parent = nullptr);
    ~TicketJournalKeeper() override;

    // Writes the run's state now unless only the countdown moved, and by less than ten seconds.
    void keep();
    // Whether this keeper holds the journal's lock: without it the journal is another running
    // copy's and must not be touched.
    bool holdsLock() const { return m_locked; }

signals:
    // The first write that failed, or the lock the folder refused, with the reason; later
    // failures are not repeated.
    void writeFailed(const FileError &error);
    // Another running copy of the program keeps the journal: this ticket writes none.
    void heldElsewhere(const QString &path);

private:
    QString m_path;
    TicketJournal::Record m_record;
    const TicketRun &m_run;
    std::unique_ptr<SharedLock> m_lock;
    bool m_locked = false;
    // Why the lock could not be taken when it was not for another program holding it.
    FileError m_lockError;
    bool m_written = false;
    bool m_failureSaid = false;
};
