// A ticket's road through a power cut: the journal that lets a cut-off ticket go on may go
// only once the record it led to is on the disk.
#include "core/files/ansi_text.h"
#include "core/program/program_paths.h"
#include "gui/exam/evaluation_window.h"
#include "gui/exam/ticket_window.h"
#include "support/controls.h"
#include "support/files.h"
#include "support/program_folder.h"
#include "support/roads.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class DurableTicketTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { AnsiText::Faults::clear(); }
    void journalGoesOnlyAfterItsRecord();
};

void DurableTicketTest::journalGoesOnlyAfterItsRecord()
{
    ProgramFolder folder;
    const QString exam = makeExam(folder, u"География"_s, 1, 5);
    folder.writeSettings({u"bilet=1"_s, u"vopros=5"_s, u"ball=4"_s, u"time=10"_s, u"pass="_s, u"re=rus"_s,
                          u"z="_s + exam});
    Application &app = folder.start();
    const ProgramPaths paths(folder.path());
    TicketWindow *ticket = openTicketByDraw(folder, u"Петров П.П."_s);
    QVERIFY(ticket);
    answerRows(ticket, {0, 1});
    QVERIFY(QFileInfo::exists(paths.ticketJournal()));
    EvaluationWindow *sheet = closeTicket(app, ticket);
    QVERIFY(sheet);
    const ExamRecord record = sheet->record();

    AnsiText::Faults::watch();
    control<QCheckBox>(sheet, "Check1")->setChecked(true);
    click(sheet, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const QStringList events = AnsiText::Faults::events();
    const qsizetype synced = events.indexOf(u"sync "_s + paths.examReport());
    const qsizetype removed = events.indexOf(u"remove "_s + paths.ticketJournal());
    QVERIFY2(synced >= 0 && removed > synced, qPrintable(events.join(u", "_s)));

    // A power cut now: the record stays, and no journal is left to record the ticket twice.
    AnsiText::Faults::cutPower();
    QCOMPARE(readFile(paths.examReport()), recordBytes(record));
    QVERIFY(!QFileInfo::exists(paths.ticketJournal()));
}

QTEST_MAIN(DurableTicketTest)
#include "tst_durable_ticket.moc"
