#include "core/lab/lab_monitor.h"

#include "core/exam/grade.h"
#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "core/reports/attempts_journal.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString JournalPrefix = u"ticket"_s;
const QString JournalSuffix = u".journal"_s;

} // namespace

LabMonitor::LabMonitor(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder), m_clock([] { return QDateTime::currentDateTime(); })
{
}

QString LabMonitor::workstationOf(const QString &journalName)
{
    QString name = journalName;
    name.chop(JournalSuffix.size());
    return name.startsWith(JournalPrefix + u'-') ? name.mid(JournalPrefix.size() + 1) : QString();
}

LabMonitor::Row LabMonitor::rowOf(const TicketJournal::Record &record, const QDateTime &written,
                                  const QDateTime &now, int idleMinutes)
{
    const TicketRun::Setup &setup = record.setup;
    const TicketRun::State &state = record.state;
    Row row;
    row.student = record.student.name.isEmpty() ? record.student.line : record.student.name;
    row.exam = record.examTitle.trimmed();
    row.ticket = record.ticketFolderName.isEmpty() ? record.ticketNumber : record.ticketFolderName;
    row.reached = state.current;
    const auto count = Grade::readScore(setup.questionCount);
    const auto whole = count ? count->toInt16() : std::nullopt;
    row.questions = whole ? std::clamp(int(*whole), 0, int(TicketRun::Questions)) : 0;
    row.right = int(std::count(state.marks.begin(), state.marks.end(), u"5"_s));
    row.wrong = int(std::count(state.marks.begin(), state.marks.end(), u"2"_s));
    row.unanswered = std::max(0, row.questions - row.right - row.wrong);
    row.grade = state.grade;
    row.lastActivity = written;

    const qint64 silent = std::max<qint64>(0, written.secsTo(now));
    const bool running = state.ticketTimerRunning || state.questionTimerRunning;
    if (setup.ticketTimer || setup.questionTimer)
        row.secondsLeft = running ? int(std::max<qint64>(0, state.countdown - silent)) : state.countdown;

    if (state.verdict != Verdict::None || !state.grade.isEmpty())
        row.state = State::Graded;
    else if (running && silent > SilentTimedSeconds)
        row.state = State::Abandoned;
    else if (silent > qint64(idleMinutes) * 60)
        row.state = State::Idle;
    else
        row.state = State::Answering;
    return row;
}

LabMonitor::Row LabMonitor::rowOf(const Attempt &attempt)
{
    Row row;
    row.workstation = attempt.workstation;
    row.journal = QFileInfo(ProgramPaths::ticketJournalName(attempt.workstation)).fileName();
    row.student = attempt.student.name.isEmpty() ? attempt.student.line : attempt.student.name;
    row.exam = attempt.examTitle.trimmed();
    row.ticket = attempt.ticketFolder.isEmpty() ? attempt.ticket : attempt.ticketFolder;
    row.questions = int(attempt.questions.size());
    for (const Attempt::Question &question : attempt.questions) {
        if (question.mark == u"5"_s)
            ++row.right;
        else if (question.mark == u"2"_s)
            ++row.wrong;
        if (!question.offered.isEmpty())
            row.reached = question.number;
    }
    row.unanswered = std::max(0, row.questions - row.right - row.wrong);
    row.grade = attempt.grade;
    row.lastActivity = attempt.end;
    const bool graded = attempt.verdict != Verdict::None || !attempt.grade.isEmpty();
    if (attempt.savedToReport)
        row.state = State::Saved;
    else if (graded && attempt.ending != Attempt::Ending::Abandoned && attempt.ending != Attempt::Ending::Discarded)
        row.state = State::Graded;
    else
        row.state = State::Abandoned;
    return row;
}

bool LabMonitor::readAttempts(const QDateTime &now)
{
    const QFileInfo file(QDir(m_folder).filePath(QFileInfo(ProgramPaths::attemptsJournalName()).fileName()));
    const qint64 size = file.exists() ? file.size() : -1;
    const QDateTime modified = file.exists() ? file.lastModified() : QDateTime();
    if (size == m_attemptsSize && modified == m_attemptsModified && now.date() == m_attemptsDay)
        return false;
    m_attemptsSize = size;
    m_attemptsModified = modified;
    m_attemptsDay = now.date();
    m_attempted.clear();
    const std::optional<AttemptsJournal::Reading> reading = size >= 0 ? AttemptsJournal::readFile(file.filePath())
                                                                      : std::nullopt;
    if (!reading)
        return size >= 0;
    for (const Attempt &attempt : reading->attempts) {
        if (attempt.workstation.isEmpty() || !attempt.end.isValid() || attempt.end.toLocalTime().date() != now.date())
            continue;
        const Row row = rowOf(attempt);
        const auto known = m_attempted.constFind(row.journal);
        if (known == m_attempted.cend() || known->lastActivity <= row.lastActivity)
            m_attempted.insert(row.journal, row);
    }
    return true;
}

int LabMonitor::refresh()
{
    const QDateTime now = m_clock();
    const QFileInfoList journals = QDir(m_folder).entryInfoList({JournalPrefix + u'*' + JournalSuffix}, QDir::Files,
                                                               QDir::Name);
    int reads = 0;
    QMap<QString, Row> rows;
    for (const QFileInfo &journal : journals) {
        const QString name = journal.fileName();
        Seen &seen = m_seen[name];
        const QDateTime modified = journal.lastModified();
        const QDateTime changed = journal.metadataChangeTime();
        if (seen.size != journal.size() || seen.modified != modified || seen.changed != changed) {
            const std::optional<QByteArray> bytes = AnsiText::readBytes(journal.filePath());
            ++reads;
            if (!bytes) {
                // Removed between the listing and the read: the next refresh finds it gone.
                m_seen.remove(name);
                continue;
            }
            seen = {journal.size(), modified, changed, TicketJournal::decode(*bytes)};
        }
        Row row;
        if (seen.record) {
            row = rowOf(*seen.record, modified, now, m_idleMinutes);
        } else {
            row.lastActivity = modified;
            row.state = State::Damaged;
        }
        row.workstation = workstationOf(name);
        row.journal = name;
        m_ended.remove(name);
        rows.insert(name, row);
    }

    // A journal is removed when its ticket ends: after its record was written, or after the
    // ticket was abandoned or discarded.
    for (auto it = m_seen.begin(); it != m_seen.end();) {
        if (rows.contains(it.key())) {
            ++it;
            continue;
        }
        if (it->record) {
            Row ended = rowOf(*it->record, it->modified, now, m_idleMinutes);
            ended.workstation = workstationOf(it.key());
            ended.journal = it.key();
            ended.state = ended.state == State::Graded ? State::Saved : State::Abandoned;
            ended.secondsLeft = -1;
            ended.lastActivity = now;
            m_ended.insert(it.key(), ended);
        }
        it = m_seen.erase(it);
    }
    for (auto it = m_ended.begin(); it != m_ended.end();) {
        if (it->lastActivity.date() != now.date()) {
            it = m_ended.erase(it);
            continue;
        }
        rows.insert(it.key(), *it);
        ++it;
    }
    // A ticket that ended is told best by its attempt, which says whether its record reached
    // the report, and also for the tickets that ended before the monitor looked. A journal
    // found removed is the ticket the attempt tells of when the attempt ended shortly before.
    if (readAttempts(now))
        ++reads;
    for (auto it = m_attempted.cbegin(); it != m_attempted.cend(); ++it) {
        const auto shown = rows.constFind(it.key());
        const bool running = shown != rows.cend() && !m_ended.contains(it.key());
        if (running || (shown != rows.cend() && it->lastActivity.addSecs(EndedWithinSeconds) < shown->lastActivity))
            continue;
        rows.insert(it.key(), *it);
    }

    const QList<Row> updated = rows.values();
    if (updated != m_rows) {
        m_rows = updated;
        emit rowsChanged();
    }
    return reads;
}

void LabMonitor::watch(int pollMilliseconds)
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &LabMonitor::refresh);
        m_poll = new QTimer(this);
        connect(m_poll, &QTimer::timeout, this, [this] {
            watchFolder();
            refresh();
        });
    }
    watchFolder();
    m_poll->start(pollMilliseconds);
    refresh();
}

void LabMonitor::watchFolder()
{
    // A folder that is not there yet is looked for again at every poll.
    if (m_watcher->directories().isEmpty() && QFileInfo(m_folder).isDir())
        m_watcher->addPath(m_folder);
}
