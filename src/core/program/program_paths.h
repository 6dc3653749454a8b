#pragma once

#include <QString>

// Every path of the program folder: the folder of the running executable, which holds the
// programs, the settings, the exam library, the questionnaires, the reports and the help.
// Paths are joined with '/'. This is the one place that spells the folder's layout.
class ProgramPaths final
{
public:
    explicit ProgramPaths(QString folder = {});

    QString folder() const { return m_folder; }
    // folder + "/" + relative.
    QString path(const QString &relative) const;

    // The settings: sections [test] and [reg].
    QString settingsFile() const;
    // The exam library: one folder per exam.
    QString examLibrary() const;
    // The questionnaires ("tests"): one folder per questionnaire.
    QString questionnaires() const;
    // The reports' folder and the two reports in it.
    QString reportsFolder() const;
    QString examReport() const;
    QString questionnaireReport() const;
    // Every ticket that ended, one UTF-8 JSON line each, beside the exam report.
    QString attemptsJournal() const;
    // The journal of the ticket running on this workstation: one per host name, so that
    // workstations sharing the folder keep theirs apart.
    QString ticketJournal() const;
    // The note opened when the program ends.
    QString farewellNote() const;
    // The registration utility beside the program, and the library it registers.
    QString registrationUtility() const;
    QString registeredLibrary() const;
    // The document the help buttons open: help/help.chm when a teacher has put one there,
    // otherwise the user guide in the window's language (English for "eng", Russian for any
    // other value, as the captions are Russian then); help/help.chm when neither is there, as
    // opening a missing document shows nothing.
    QString helpDocument(const QString &language) const;

    // The same paths relative to the program folder, as reports and messages name them.
    static QString examReportName();
    static QString questionnaireReportName();
    static QString attemptsJournalName();
    static QString ticketJournalName();
    // The journal name of the workstation of that host name.
    static QString ticketJournalName(const QString &hostName);

private:
    QString m_folder;
};
