#include "core/program/program_paths.h"

#include "core/program/language_policy.h"

#include <QFileInfo>
#include <QSysInfo>

using namespace Qt::StringLiterals;

ProgramPaths::ProgramPaths(QString folder) : m_folder(std::move(folder)) {}

QString ProgramPaths::path(const QString &relative) const
{
    return m_folder + u'/' + relative;
}

QString ProgramPaths::settingsFile() const
{
    return path(u"test.ini"_s);
}

QString ProgramPaths::examLibrary() const
{
    return path(u"b"_s);
}

QString ProgramPaths::questionnaires() const
{
    return path(u"t"_s);
}

QString ProgramPaths::reportsFolder() const
{
    return path(u"s"_s);
}

QString ProgramPaths::examReport() const
{
    return path(examReportName());
}

QString ProgramPaths::attemptsJournal() const
{
    return path(attemptsJournalName());
}

QString ProgramPaths::questionnaireReport() const
{
    return path(questionnaireReportName());
}

QString ProgramPaths::ticketJournal() const
{
    return path(ticketJournalName());
}

QString ProgramPaths::farewellNote() const
{
    return path(u"plt.txt"_s);
}

QString ProgramPaths::registrationUtility() const
{
    return path(u"ventaro"_s);
}

QString ProgramPaths::registeredLibrary() const
{
    return path(u"scrrun.dll"_s);
}

QString ProgramPaths::helpDocument(const QString &language) const
{
    const QString helpFile = path(u"help/help.chm"_s);
    if (QFileInfo::exists(helpFile))
        return helpFile;
    const QString guide =
        path(LanguagePolicy(language).text(u"help/guide-ru/index.html"_s, u"help/guide-en/index.html"_s));
    return QFileInfo::exists(guide) ? guide : helpFile;
}

QString ProgramPaths::examReportName()
{
    return u"s/oth.txt"_s;
}

QString ProgramPaths::questionnaireReportName()
{
    return u"s/lzm.txt"_s;
}

QString ProgramPaths::attemptsJournalName()
{
    return u"s/attempts.jsonl"_s;
}

QString ProgramPaths::ticketJournalName()
{
    return ticketJournalName(QSysInfo::machineHostName());
}

QString ProgramPaths::ticketJournalName(const QString &hostName)
{
    // Only letters, digits and the dash of the host name, so the name is one safe file name.
    QString host;
    for (const QChar c : hostName) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-')
            host += c;
    }
    return host.isEmpty() ? u"s/ticket.journal"_s : u"s/ticket-"_s + host + u".journal"_s;
}
