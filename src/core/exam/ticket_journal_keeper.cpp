#include "core/exam/ticket_journal_keeper.h"

#include "core/files/folders.h"
#include "core/files/shared_lock.h"

#include <QFileInfo>

#include <cstdlib>

TicketJournalKeeper::TicketJournalKeeper(const QString &path, const TicketJournal::Record &record,
                                         const TicketRun &run, QObject *parent)
    : QObject(parent), m_path(path), m_record(record), m_run(run)
{
    m_record.setup = run.setup();
    MakeDirPath(QFileInfo(path).path());
    m_lock = TicketJournal::journalLock(path);
    m_locked = m_lock->tryLock(&m_lockError);
    connect(&run, &TicketRun::stepped, this, &TicketJournalKeeper::keep);
}

TicketJournalKeeper::~TicketJournalKeeper() = default;

void TicketJournalKeeper::keep()
{
    if (!m_locked) {
        if (!m_failureSaid) {
            if (m_lockError.isError())
                emit writeFailed(m_lockError);
            else
                emit heldElsewhere(m_path);
        }
        m_failureSaid = true;
        return;
    }
    const TicketRun::State state = m_run.state();
    if (m_written) {
        TicketRun::State withoutCountdown = state;
        withoutCountdown.countdown = m_record.state.countdown;
        if (withoutCountdown == m_record.state
            && std::abs(m_record.state.countdown - state.countdown) < SecondsBetweenWrites)
            return;
    }
    TicketJournal::Record record = m_record;
    record.state = state;
    FileError error;
    if (TicketJournal::write(m_path, record, &error)) {
        m_record = record;
        m_written = true;
    } else if (!m_failureSaid) {
        m_failureSaid = true;
        emit writeFailed(error);
    }
}
