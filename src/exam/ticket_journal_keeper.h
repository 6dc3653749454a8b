#pragma once

#include "exam/ticket_journal.h"

#include <QObject>
#include <QString>

// Keeps the journal of a running ticket: writes it at once and again after every step of the
// run that changed it, but for the countdown alone only every ten seconds, so a crash costs at
// most that much of the timer and the disk is not written every second.
class TicketJournalKeeper final : public QObject
{
    Q_OBJECT

public:
    static constexpr int SecondsBetweenWrites = 10;

    // The record gives the student and the ticket; its setup and state are taken from the run.
    TicketJournalKeeper(const QString &path, const TicketJournal::Record &record, const TicketRun &run,
                        QObject *parent = nullptr);

    // Writes the run's state now unless only the countdown moved, and by less than ten seconds.
    void keep();

signals:
    // The first write that failed, with the reason; later failures are not repeated.
    void writeFailed(const QString &path, const QString &reason);

private:
    QString m_path;
    TicketJournal::Record m_record;
    const TicketRun &m_run;
    bool m_written = false;
    bool m_failureSaid = false;
};
