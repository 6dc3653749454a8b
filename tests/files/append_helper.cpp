// Appends records to the exam report of a program folder, as one workstation would:
//   append_helper <program folder> <process> <count> [<index that fails half way>]
// The exit code is the number of appends that failed; each failure is said on a line of the
// output as "<reason>: <file>" in English.
//
//   append_helper --ticket <program folder> <process> <count>
// does what a workstation does for each ticket: takes the lock of its journal, writes the
// journal, appends the record and removes the journal; the exit code counts the failures.
//
//   append_helper --check <program folder> <processes> <count>
// checks that every record of the processes is in the report once and whole, and nothing else,
// and that no lock or journal was left; the exit code is the number of problems found (at most
// 100), each said on a line.
#include "append_record.h"
#include "core/exam/ticket_journal.h"
#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/program/program_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void say(const FileError &error)
{
    std::printf("%s: %s\n", qPrintable(error.reason(LanguagePolicy(u"eng"_s)).toLower()), qPrintable(error.path()));
    std::fflush(stdout);
}

bool takeTicket(const ProgramPaths &paths, int process, int index)
{
    const QString journal = paths.ticketJournal();
    const std::unique_ptr<SharedLock> lock = TicketJournal::journalLock(journal);
    FileError error;
    if (!lock->tryLock(&error)) {
        if (!error.isError())
            error = FileError(FileError::Kind::LockedElsewhere, journal);
        say(error);
        return false;
    }
    TicketJournal::Record record;
    record.student.name = appendedRecord(process, index).student;
    record.ticketNumber = u"3"_s;
    if (!TicketJournal::write(journal, record, &error) || !ExamReport::append(paths.folder(), appendedRecord(process, index), &error)) {
        say(error);
        return false;
    }
    if (!AnsiText::remove(journal)) {
        say(FileError(FileError::Kind::Other, journal, u"not removed"_s));
        return false;
    }
    return true;
}

int check(const ProgramPaths &paths, int processes, int count)
{
    QStringList problems;
    const std::optional<QByteArray> report = AnsiText::readBytes(paths.examReport());
    if (!report) {
        problems << u"no report"_s;
    } else {
        qsizetype expected = 0;
        for (int process = 0; process < processes; ++process) {
            for (int index = 0; index < count; ++index) {
                const QByteArray record = AnsiText::encode(ExamReport::recordText(appendedRecord(process, index)));
                expected += record.size();
                if (const qsizetype found = report->count(record); found != 1)
                    problems << u"record %1 of process %2 found %3 times"_s.arg(index).arg(process).arg(found);
            }
        }
        if (report->size() != expected)
            problems << u"the report holds %1 bytes, the records %2"_s.arg(report->size()).arg(expected);
    }
    const QStringList left = QDir(paths.reportsFolder()).entryList({u"*.lock"_s, u"*.journal"_s}, QDir::Files | QDir::Hidden);
    if (!left.isEmpty())
        problems << u"left behind: "_s + left.join(u", "_s);
    for (const QString &problem : problems)
        std::printf("%s\n", qPrintable(problem));
    return int(std::min<qsizetype>(problems.size(), 100));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString mode;
    if (!arguments.isEmpty() && arguments.first().startsWith(u"--"_s))
        mode = arguments.takeFirst();
    if (arguments.size() < 3)
        return 100;
    const ProgramPaths paths(arguments.at(0));
    const int process = arguments.at(1).toInt();
    const int count = arguments.at(2).toInt();
    if (mode == u"--check"_s)
        return check(paths, process, count);
    const int failing = arguments.size() > 3 ? arguments.at(3).toInt() : -1;
    int failures = 0;
    for (int index = 0; index < count; ++index) {
        if (mode == u"--ticket"_s) {
            failures += takeTicket(paths, process, index) ? 0 : 1;
            continue;
        }
        if (index == failing)
            AnsiText::Faults::failWriteAfter(9);
        FileError error;
        if (!ExamReport::append(paths.folder(), appendedRecord(process, index), &error)) {
            ++failures;
            say(error);
        }
    }
    return std::min(failures, 99);
}
