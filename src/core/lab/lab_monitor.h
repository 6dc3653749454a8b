#pragma once

#include "core/exam/ticket_journal.h"
#include "core/exam/ticket_journal_keeper.h"
#include "core/reports/attempt.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QFileSystemWatcher;
class QTimer;

// The teacher's view of a computer lab whose workstations share one program folder: one row
// per workstation with a ticket running or ended today, read from the ticket journals in the
// reports' folder ("ticket-<host>.journal", one per workstation) and, for the tickets that
// ended, from the attempts journal beside them, which names the workstation and says whether
// the record reached the report. A journal is replaced whole
// by its program, so a read sees one step or the next, never half of one; the monitor only
// reads: it never takes a journal's lock and never writes a file.
//
// A refresh lists the folder and reads only the journals whose size or times changed since the
// last one, so a lab of forty workstations costs forty looks at a file and the few reads of
// those that moved. Refreshes come from a file watcher where the file system reports changes
// and from a timer every few seconds where it does not, as on network shares.
class LabMonitor final : public QObject
{
    Q_OBJECT

public:
    enum class State {
        Answering, // a question is open or the next one is waiting
        Idle,      // no answer and no step for more than the idle minutes
        Graded,    // the ticket is evaluated; its sheet is still open
        Saved,     // the ticket ended after its evaluation: its journal was removed
        Abandoned, // the ticket ended without an evaluation, or a timed ticket's program stopped
                   // keeping its journal
        Damaged,   // the journal cannot be read
    };

    struct Row
    {
        QString workstation;
        QString journal; // its file name in the folder
        QString student;
        QString exam;
        QString ticket;
        int reached = 0;   // the question reached, 0 before the first
        int questions = 0; // the questions of the ticket
        int right = 0;
        int wrong = 0;
        int unanswered = 0;
        QString grade;
        // The seconds left on the ticket or question timer; -1 for a ticket without one.
        int secondsLeft = -1;
        // When the journal was last written, or when it was found removed.
        QDateTime lastActivity;
        State state = State::Answering;

        bool operator==(const Row &) const = default;
    };

    // A running timer has its journal rewritten every ten seconds: three missed writes mean
    // its program no longer runs.
    static constexpr int SilentTimedSeconds = 3 * TicketJournalKeeper::SecondsBetweenWrites;
    static constexpr int DefaultIdleMinutes = 5;
    static constexpr int DefaultPollMilliseconds = 3000;
    // How long before a journal was found removed its ticket's attempt may have ended.
    static constexpr int EndedWithinSeconds = 60;

    explicit LabMonitor(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return m_folder; }
    void setIdleMinutes(int minutes) { m_idleMinutes = minutes; }
    int idleMinutes() const { return m_idleMinutes; }
    // The time the states are judged against; the system clock unless set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Looks at the folder now and brings the rows up to date. The number of journals read.
    int refresh();
    // Refreshes at once, then on every change the file system reports and every interval.
    void watch(int pollMilliseconds = DefaultPollMilliseconds);

    // The workstations by journal file name.
    const QList<Row> &rows() const { return m_rows; }

    // The row a journal's record comes to at the time given, its file written at `written`.
    static Row rowOf(const TicketJournal::Record &record, const QDateTime &written, const QDateTime &now,
                     int idleMinutes);
    // The row of an ended ticket as its attempt tells it.
    static Row rowOf(const Attempt &attempt);
    // "ticket-pc7.journal" gives "pc7"; the journal of a workstation without a host name, "".
    static QString workstationOf(const QString &journalName);

signals:
    // After a refresh that changed any row.
    void rowsChanged();

private:
    void watchFolder();
    // Reads the attempts journal again when it changed; whether it was read.
    bool readAttempts(const QDateTime &now);

    // What a journal was when last read: its size and times, and what it held.
    struct Seen
    {
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        std::optional<TicketJournal::Record> record;
    };

    QString m_folder;
    int m_idleMinutes = DefaultIdleMinutes;
    std::function<QDateTime()> m_clock;
    QHash<QString, Seen> m_seen;
    // The rows of tickets whose journal was removed today, by journal name.
    QMap<QString, Row> m_ended;
    // The attempts journal as last read, and the last attempt of each workstation that ended
    // today, by the name its ticket journal has.
    qint64 m_attemptsSize = -1;
    QDateTime m_attemptsModified;
    QDate m_attemptsDay;
    QMap<QString, Row> m_attempted;
    QList<Row> m_rows;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_poll = nullptr;
};
