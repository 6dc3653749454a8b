#include "core/exam/ticket_session.h"

#include "core/exam/ticket_journal_keeper.h"
#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/program/settings_record.h"
#include "core/reports/attempts_journal.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/exam_report.h"

#include <QFileInfo>
#include <QSysInfo>

using namespace Qt::StringLiterals;

QString TicketSession::SetAside::text(const QString &language) const
{
    const LanguagePolicy policy(language);
    QString said;
    switch (problem) {
    case Problem::Damaged:
        said = policy.text(u"Незаконченный билет, сохраненный при сбое, не удалось прочитать: его файл поврежден."_s,
                           u"The unfinished ticket saved at a crash could not be read: its file is damaged."_s);
        break;
    case Problem::ExamMissing:
        said = policy.text(u"Незаконченный билет, сохраненный при сбое, нельзя продолжить: папки его экзамена или билета больше нет."_s,
                           u"The unfinished ticket saved at a crash cannot be continued: the folder of its exam or ticket is gone."_s);
        break;
    case Problem::QuestionUnreadable:
        said = policy.text(u"Незаконченный билет, сохраненный при сбое, нельзя продолжить: файлы его билета изменились или не читаются."_s,
                           u"The unfinished ticket saved at a crash cannot be continued: the files of its ticket have changed or cannot be read."_s);
        break;
    }
    if (aside.isEmpty())
        return said + policy.text(u"\nФайл "_s + journal + u" не удалось переименовать."_s,
                                  u"\nThe file "_s + journal + u" could not be renamed."_s);
    return said + policy.text(u"\nФайл сохранен как "_s + aside + u'.', u"\nThe file is kept as "_s + aside + u'.');
}

TicketSession::Search TicketSession::findUnfinished(const ProgramPaths &paths, const QDateTime &now)
{
    const QString journal = paths.ticketJournal();
    Search search;
    if (!QFileInfo::exists(journal) || !TicketJournal::journalLock(journal)->tryLock())
        return search;
    const std::optional<QByteArray> bytes = AnsiText::readBytes(journal);
    std::optional<TicketJournal::Record> record = bytes ? TicketJournal::decode(*bytes) : std::nullopt;
    if (!record)
        search.setAside = setAside(paths, Problem::Damaged, now);
    else if (!TicketJournal::examExists(*record))
        search.setAside = setAside(paths, Problem::ExamMissing, now);
    else
        search.unfinished = std::move(record);
    return search;
}

TicketSession::SetAside TicketSession::setAside(const ProgramPaths &paths, Problem problem, const QDateTime &now)
{
    const QString journal = paths.ticketJournal();
    return SetAside{problem, journal, TicketJournal::setAside(journal, now)};
}

std::optional<QString> TicketSession::discardUnfinished(const ProgramPaths &paths, const TicketJournal::Record &journal,
                                                        const QString &language, const QDateTime &now)
{
    const LanguagePolicy policy(language);
    TicketRun run(journal.setup);
    Attempt discarded = attemptOf(journal, journal.state, run, language);
    discarded.ending = Attempt::Ending::Discarded;
    discarded.end = now;
    FileError error;
    // The attempt first: a failure leaves nothing written, and the journal stays for another try.
    if (!AttemptsJournal::append(paths.attemptsJournal(), discarded, &error)) {
        return policy.text(u"Незаконченный билет не отменен: не удалось записать в журнал попыток "_s,
                           u"The unfinished ticket was not discarded: the attempts journal "_s)
               + paths.attemptsJournal() + u":\n"_s + error.reason(policy);
    }

    ExamRecord note;
    note.language = language;
    note.date = ExamReport::dateText(now.date());
    note.time = ExamReport::timeText(now.time());
    note.student = journal.student.line;
    note.ticket = ExamRecordTexts(language).ticketLine(journal.ticketFolderName);
    if (!ExamReport::appendDiscardNote(paths.folder(), note, &error)) {
        return policy.text(u"Незаконченный билет не отменен: не удалось записать в отчет "_s,
                           u"The unfinished ticket was not discarded: the report "_s)
               + paths.examReport() + u":\n"_s + error.reason(policy);
    }
    // The note is on the disk once the append returned: only then may the journal go.
    AnsiText::remove(paths.ticketJournal());
    return std::nullopt;
}

TicketJournal::Record TicketSession::drawn(const SettingsRecord &settings, const Student &student,
                                           const QString &ticketNumber, const QString &ticketFolderName,
                                           const QString &examTitle)
{
    TicketJournal::Record ticket;
    ticket.student = student;
    ticket.ticketNumber = ticketNumber;
    ticket.ticketFolderName = ticketFolderName;
    ticket.examTitle = examTitle;
    TicketRun::Setup &setup = ticket.setup;
    setup.examFolder = settings.examFolder();
    setup.ticketNumber = ticketNumber;
    setup.questionCount = settings.questions();
    setup.passScore = settings.passScore();
    setup.ticketTimer = settings.ticketTimer();
    setup.questionTimer = settings.questionTimer();
    setup.countdownSeconds = settings.countdownSeconds();
    setup.shuffleAnswers = settings.shuffleAnswers();
    return ticket;
}

TicketSession::TicketSession(const ProgramPaths &paths, const QString &language, const TicketJournal::Record &ticket,
                             Origin origin, QObject *parent)
    : QObject(parent), m_paths(paths), m_language(language), m_ticket(ticket), m_origin(origin),
      m_run(std::make_unique<TicketRun>(ticket.setup)), m_clock([] { return QDateTime::currentDateTime(); })
{
    connect(m_run.get(), &TicketRun::questionOpened, this, &TicketSession::noteOpened);
    connect(m_run.get(), &TicketRun::answered, this, &TicketSession::noteAnswered);
}

void TicketSession::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void TicketSession::noteOpened(int question)
{
    Seen &seen = m_seen[question - 1];
    seen.text = m_run->questionText();
    seen.offered = m_run->answers().toStringList();
    seen.correct = m_run->correctAnswerLines().value(0);
    seen.opened = m_clock();
}

void TicketSession::noteAnswered(int question, const QString &answer)
{
    Seen &seen = m_seen[question - 1];
    seen.chosen = answer;
    if (seen.opened.isValid())
        seen.seconds = int(seen.opened.secsTo(m_clock()));
}

TicketSession::~TicketSession() = default;

QString TicketSession::ticketLine() const
{
    return ExamRecordTexts(m_language).ticketLine(m_ticket.ticketFolderName);
}

bool TicketSession::begin()
{
    // A drawn ticket whose first question cannot be read has begun and is abandoned; a
    // resumed one that no longer fits its files is set aside, not ended.
    m_began = !isResumed();
    if (!isResumed())
        m_start = m_clock();
    if (isResumed() ? !m_run->resume(m_ticket.state) : !m_run->start())
        return false;
    m_began = true;
    keepJournal();
    return true;
}

void TicketSession::keepJournal()
{
    m_keeper = std::make_unique<TicketJournalKeeper>(m_paths.ticketJournal(), m_ticket, *m_run);
    const LanguagePolicy language(m_language);
    connect(m_keeper.get(), &TicketJournalKeeper::writeFailed, this, [this, language](const FileError &error) {
        emit journalFailed(language.text(u"Ход билета не сохраняется на случай сбоя в "_s, u"The ticket cannot be kept against a crash in "_s)
                           + error.path() + u":\n"_s + error.reason(language));
    });
    connect(m_keeper.get(), &TicketJournalKeeper::heldElsewhere, this, [this, language](const QString &file) {
        emit journalFailed(language.text(u"Ход билета не сохраняется на случай сбоя: файл "_s + file
                                             + u" ведет другая запущенная копия программы."_s,
                                         u"The ticket cannot be kept against a crash: another running copy of the program keeps "_s
                                             + file));
    });
    m_keeper->keep();
}

TicketOutcome TicketSession::outcome() const
{
    TicketOutcome outcome;
    outcome.ticketLine = ticketLine();
    outcome.marks = m_run->marks();
    for (int n = 1; n <= TicketRun::Questions; ++n)
        outcome.questionTexts << m_run->questionEntry(n);
    outcome.grade = m_run->grade();
    outcome.verdict = m_run->verdict();
    return outcome;
}

void TicketSession::sheetClosed(bool savedToReport, const ExamRecord &sheet)
{
    m_savedToReport = savedToReport;
    m_sheet = sheet;
}

Attempt TicketSession::attemptOf(const TicketJournal::Record &ticket, const TicketRun::State &state,
                                 const TicketRun &run, const QString &language)
{
    Attempt attempt;
    const TicketRun::Setup &setup = ticket.setup;
    attempt.examFolder = setup.examFolder;
    attempt.examTitle = ticket.examTitle.trimmed();
    attempt.ticket = ticket.ticketNumber;
    attempt.ticketFolder = ticket.ticketFolderName;
    attempt.ticketLine = ExamRecordTexts(language).ticketLine(ticket.ticketFolderName);
    attempt.language = language;
    attempt.student = ticket.student;
    attempt.workstation = QSysInfo::machineHostName();
    attempt.grade = state.grade;
    attempt.verdict = state.verdict;
    attempt.passScore = setup.passScore;
    attempt.questionCount = setup.questionCount;
    attempt.ticketTimer = setup.ticketTimer;
    attempt.questionTimer = setup.questionTimer;
    attempt.countdownSeconds = setup.countdownSeconds;

    const std::optional<Fixed> count = Grade::readScore(setup.questionCount);
    for (int n = 1; n <= TicketRun::Questions; ++n) {
        const QString &mark = state.marks[n - 1];
        const bool marked = mark != u"0"_s;
        // The questions the ticket asks, and any other that was reached.
        const bool asked = count && *count >= Fixed::fromInt(n) && !run.isMissing(n);
        if (!marked && !asked && state.current != n)
            continue;
        Attempt::Question question;
        question.number = n;
        question.mark = mark;
        question.text = marked ? state.answeredTexts[n - 1]
                               : AnsiText::toWindowLineEnds(run.ticket().questionText(n).value_or(QString()));
        question.correct = run.ticket().correctAnswerLines(n).value(0);
        attempt.questions << question;
    }
    return attempt;
}

Attempt TicketSession::attempt() const
{
    Attempt attempt = attemptOf(m_ticket, m_run->state(), *m_run, m_language);
    attempt.start = m_start;
    attempt.end = m_clock();
    for (Attempt::Question &question : attempt.questions) {
        const Seen &seen = m_seen[question.number - 1];
        if (!seen.opened.isValid())
            continue;
        question.text = seen.text;
        question.offered = seen.offered;
        question.correct = seen.correct;
        if (question.mark != u"0"_s) {
            question.chosen = seen.chosen;
            question.seconds = seen.seconds;
        }
    }
    if (!m_savedToReport)
        attempt.ending = Attempt::Ending::Abandoned;
    else if (attempt.verdict == Verdict::FailedOnTime)
        attempt.ending = Attempt::Ending::FailedOnTime;
    else if (!attempt.grade.isEmpty())
        attempt.ending = Attempt::Ending::Graded;
    else
        attempt.ending = Attempt::Ending::Closed;
    // The sheet's student, whose data lines may have been typed while the ticket ran.
    if (m_savedToReport.has_value()) {
        attempt.student.line = m_sheet.student;
        attempt.student.data1 = m_sheet.data1;
        attempt.student.data2 = m_sheet.data2;
        attempt.student.data3 = m_sheet.data3;
    }
    attempt.savedToReport = m_savedToReport.value_or(false);
    if (attempt.savedToReport) {
        attempt.reportDate = m_sheet.date;
        attempt.reportTime = m_sheet.time;
    }
    return attempt;
}

void TicketSession::end()
{
    if (m_began && !m_ended) {
        m_ended = true;
        FileError error;
        if (!AttemptsJournal::append(m_paths.attemptsJournal(), attempt(), &error)) {
            const LanguagePolicy language(m_language);
            emit attemptNotWritten(language.text(u"Попытка не записана в журнал попыток "_s,
                                                 u"The attempt was not saved in the attempts journal "_s)
                                   + m_paths.attemptsJournal() + u":\n"_s + error.reason(language));
        }
    }
    if (!m_keeper)
        return;
    // The ticket's record, when it was saved, is on the disk by now: an append returns only
    // after syncing it. Removed while the lock is still held, so that no other copy of the
    // program starting now takes the ended ticket for an unfinished one; a journal another
    // running copy keeps is its own.
    if (m_keeper->holdsLock())
        AnsiText::remove(m_paths.ticketJournal());
    m_keeper.reset();
}
