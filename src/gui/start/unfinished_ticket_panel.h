#pragma once

#include <QGroupBox>

class LanguagePolicy;
class QLabel;
class QLineEdit;
class QPushButton;

// The start window's offer of a ticket that a crash cut off: it names the student and the
// ticket and lets the student continue it, or the teacher discard it with the settings
// password. The choice lives in the start window rather than in a message box because the
// discard needs a password box beside the buttons.
class UnfinishedTicketPanel final : public QGroupBox
{
    Q_OBJECT

public:
    UnfinishedTicketPanel(QWidget *parent, const LanguagePolicy &language, const QString &studentName,
                          const QString &ticketFolderName);

signals:
    void continueChosen();
    // The password typed; the box is emptied at once, whatever comes of it.
    void discardChosen(const QString &password);

private:
    QLabel *UnfinishedText;
    QLabel *UnfinishedPasswordLabel;
    QLineEdit *UnfinishedPassword;
    QPushButton *ContinueTicket;
    QPushButton *DiscardTicket;
};
