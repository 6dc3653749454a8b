#pragma once

#include "core/exam/ticket_run.h"
#include "core/files/file_error.h"
#include "core/files/shared_lock.h"
#include "core/program/student.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// The journal of the ticket being answered: a private file of the program folder that holds
// everything the ticket has come to, replaced whole after every step, so that a ticket cut
// off by a crash or a power cut can go on where it stood. It is removed when the ticket ends.
//
// The file is a header line naming the format, its version and the SHA-256 of the rest, then
// the ticket as UTF-8 JSON; a file whose body does not match its checksum is damaged.
// A ticket with shuffled answers is written in the second version, which adds the setting and
// each question's order; any other ticket in the first, as it always was, so that both are
// read back and a program that knows only the first refuses a shuffled ticket rather than
// showing it in the file's order.
namespace TicketJournal {

inline constexpr int Version = 1;
inline constexpr int ShuffledVersion = 2;

struct Record
{
    Student student;
    // The ticket number as drawn or typed, its folder name ("b7") and the exam title shown.
    QString ticketNumber;
    QString ticketFolderName;
    QString examTitle;
    TicketRun::Setup setup;
    TicketRun::State state;

    bool operator==(const Record &other) const;
};

// Why a journal could not be taken up.
enum class Problem {
    Damaged,            // unreadable, cut short, altered or of an unknown version
    ExamMissing,        // its exam folder or ticket folder is gone
    QuestionUnreadable, // the ticket no longer fits it: a question it needs cannot be read
};


QByteArray encode(const Record &record);
std::optional<Record> decode(const QByteArray &bytes);

// Replaces the journal whole, or leaves the old one when it cannot (error says why).
bool write(const QString &path, const Record &record, FileError *error = nullptr);
// The lock that a running program holds on its journal, "<path>.lock", set up so that only
// the death of its owner makes it stale: the journal of a ticket that runs in another copy of
// the program on this workstation is no unfinished ticket. tryLock() takes it unless a running
// program holds it; a lock left with this very process number by an earlier run (after a
// power cut the new run may get the number of the old one) or one nobody wrote an owner into
// (a crash right after creating it) is taken over. When the lock file cannot be created
// because the folder refuses this account, its error says so, naming the folder.
std::unique_ptr<SharedLock> journalLock(const QString &path);

// Whether the ticket's exam and ticket folders are still there.
bool examExists(const Record &record);
// Moves a journal that cannot be taken up out of the way under a name of its own beside it,
// stamped with the time, and returns that path; the empty text when it could not be moved.
QString setAside(const QString &path, const QDateTime &now);

} // namespace TicketJournal
