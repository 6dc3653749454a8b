#include "core/exam/ticket_session.h"

#include "core/exam/ticket_journal_keeper.h"
#include "core/files/ansi_text.h"
#include "core/program/language_policy.h"
#include "core/program/settings_record.h"
#include "core/reports/exam_record_texts.h"
#include "core/reports/exam_report.h"

#include <QFileInfo>

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
    ExamRecord note;
    note.language = language;
    note.date = ExamReport::dateText(now.date());
    note.time = ExamReport::timeText(now.time());
    note.student = journal.student.line;
    note.ticket = ExamRecordTexts(language).ticketLine(journal.ticketFolderName);
    FileError error;
    if (!ExamReport::appendDiscardNote(paths.folder(), note, &error)) {
        const LanguagePolicy policy(language);
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
      m_run(std::make_unique<TicketRun>(ticket.setup))
{
}

TicketSession::~TicketSession() = default;

QString TicketSession::ticketLine() const
{
    return ExamRecordTexts(m_language).ticketLine(m_ticket.ticketFolderName);
}

bool TicketSession::begin()
{
    if (isResumed() ? !m_run->resume(m_ticket.state) : !m_run->start())
        return false;
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

void TicketSession::end()
{
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
