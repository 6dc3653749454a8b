#pragma once

#include "core/files/file_error.h"
#include "core/reports/attempt.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The attempts journal "s/attempts.jsonl": one UTF-8 JSON object per line and per ended
// ticket, with a version field, appended under the same lock and with the same sync as the
// exam report, so that workstations sharing the folder append to it at once.
namespace AttemptsJournal {

inline constexpr int Version = 1;

// One line that is no attempt: cut short by a power cut, edited by hand, or written by
// something else. It is kept with its number (counted from 1) and bytes, never dropped.
struct Damaged
{
    qsizetype line = 0;
    QByteArray bytes;
};

struct Reading
{
    QList<Attempt> attempts;
    // The line number of each attempt, in the same order.
    QList<qsizetype> lines;
    QList<Damaged> damaged;
};

// The attempt as one line of JSON, without its line end.
QByteArray encode(const Attempt &attempt);
// The attempt of one line; none when the line is no attempt of a version this program reads.
std::optional<Attempt> decode(QByteArrayView line);
// The attempt of a line in the form encode() writes, read straight from its bytes; none for
// any other line (a field unknown to this version, a value of another type, damage), which
// only the general JSON reader can judge. Where it answers, it answers as decodeDocument().
std::optional<Attempt> scan(QByteArrayView line);
// The attempt of one line read through the general JSON reader.
std::optional<Attempt> decodeDocument(QByteArrayView line);

// The journal's bytes read line by line; empty lines are skipped.
Reading read(const QByteArray &bytes);
// The journal of the file; an empty reading when it does not exist yet, none when it exists
// but cannot be read.
std::optional<Reading> readFile(const QString &path);

// Appends the attempt whole or not at all and syncs it, creating the folder when missing.
bool append(const QString &path, const Attempt &attempt, FileError *error = nullptr);

// The ending and the verdict as the journal writes them ("graded", "failed_on_time").
QString endingName(Attempt::Ending ending);
QString verdictName(Verdict verdict);
// The ending and the verdict of such a name; none for any other.
std::optional<Attempt::Ending> endingNamed(const QString &name);
std::optional<Verdict> verdictNamed(const QString &name);

} // namespace AttemptsJournal
