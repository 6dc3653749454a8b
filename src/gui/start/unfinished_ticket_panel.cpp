#include "gui/start/unfinished_ticket_panel.h"

#include "core/program/language_policy.h"
#include "gui/common/control_factory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

UnfinishedTicketPanel::UnfinishedTicketPanel(QWidget *parent, const LanguagePolicy &language,
                                             const QString &studentName, const QString &ticketFolderName)
    : QGroupBox(parent)
{
    setObjectName(u"UnfinishedTicket"_s);
    setAutoFillBackground(true);
    // The offer is made whatever the language: Russian unless the language is English.
    setTitle(language.text(u"Незаконченный билет"_s, u"Unfinished ticket"_s));

    UnfinishedText = makeControl<QLabel>(
        this, u"UnfinishedText"_s, QRect(16, 24, 465, 78),
        language.text(u"Работа программы прервалась во время билета.\nСтудент: %1\nБилет № %2\n"
                      u"Продолжить билет с того места, где он остановился? Отменить его может "
                      u"преподаватель с паролем настройки."_s,
                      u"The program stopped during a ticket.\nStudent: %1\nTicket № %2\n"
                      u"Continue the ticket where it stopped? A teacher can discard it with the "
                      u"settings password."_s)
            .arg(studentName, ticketFolderName));
    UnfinishedText->setTextFormat(Qt::PlainText);
    UnfinishedText->setWordWrap(true);
    UnfinishedText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ContinueTicket = makeControl<QPushButton>(this, u"ContinueTicket"_s, QRect(16, 110, 200, 30),
                                              language.text(u"Продолжить билет"_s, u"Continue the ticket"_s));
    UnfinishedPasswordLabel = makeControl<QLabel>(this, u"UnfinishedPasswordLabel"_s, QRect(16, 156, 150, 20),
                                                  language.text(u"Пароль настройки"_s, u"Settings password"_s));
    UnfinishedPassword = makeControl<QLineEdit>(this, u"UnfinishedPassword"_s, QRect(170, 154, 150, 24));
    UnfinishedPassword->setEchoMode(QLineEdit::Password);
    UnfinishedPassword->setAccessibleName(UnfinishedPasswordLabel->text());
    UnfinishedPasswordLabel->setBuddy(UnfinishedPassword);
    DiscardTicket = makeControl<QPushButton>(this, u"DiscardTicket"_s, QRect(330, 151, 150, 30),
                                             language.text(u"Отменить билет"_s, u"Discard the ticket"_s));

    connect(ContinueTicket, &QPushButton::clicked, this, &UnfinishedTicketPanel::continueChosen);
    connect(DiscardTicket, &QPushButton::clicked, this, [this] {
        const QString password = UnfinishedPassword->text();
        UnfinishedPassword->clear();
        emit discardChosen(password);
    });
    ContinueTicket->setDefault(true);
    ContinueTicket->setFocus();
}
