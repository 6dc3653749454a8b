#pragma once

#include "core/exam/ticket_session.h"
#include "core/program/settings_record.h"
#include "support/program_folder.h"

#include <QFileInfo>
#include <QString>

// A program folder with an exam of one ticket of five questions ("Да" is right), the settings
// a ticket is drawn with and the student who draws it.
struct TicketDesk
{
    ProgramFolder folder;
    ProgramPaths paths{folder.path()};
    SettingsRecord settings;
    QString exam;

    explicit TicketDesk(const QString &language = QStringLiteral("rus"))
    {
        exam = makeExam(folder, QStringLiteral("Физика"), 1, 5);
        settings.setExamFolder(exam);
        settings.setQuestions(QStringLiteral("5"));
        settings.setPassScore(QStringLiteral("4"));
        settings.setMinutes(QStringLiteral("1"));
        settings.setLanguage(language);
    }

    // Ivanov of group 7 draws ticket 1; `data3` is his third data line.
    TicketJournal::Record drawn(const QString &data3 = QString()) const
    {
        const Student student{QStringLiteral("Ф.И.О ,  Данные  Иванов"), QStringLiteral("группа 7"), QString(),
                              data3, QStringLiteral("Иванов")};
        return TicketSession::drawn(settings, student, QStringLiteral("1"), QStringLiteral("b1"),
                                    QStringLiteral("Физика\r\n"));
    }

    bool hasJournal() const { return QFileInfo::exists(paths.ticketJournal()); }
};
