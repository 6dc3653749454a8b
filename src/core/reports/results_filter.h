#pragma once

#include "core/reports/name_part.h"
#include "core/reports/results.h"

#include <QDate>
#include <QString>

#include <memory>
#include <optional>

// What the teacher asks to see: a date range, a part of the student's (or questionnaire's)
// name, a ticket, a verdict and an exam. An empty criterion lets everything through; a record whose
// date could not be read passes only while no date bound is set.
struct ResultsFilter
{
    QDate from;
    QDate to;
    QString namePart;
    // The ticket number as typed ("7" or "b7"); empty for every ticket.
    QString ticket;
    std::optional<RecordedVerdict> verdict;
    // The exam's title; the empty text for the records that name no exam; none for every exam.
    std::optional<QString> exam;

    bool accepts(const TicketResult &ticket) const;
    // Runs are chosen by their date and by a part of the questionnaire's name.
    bool accepts(const QuestionnaireRunResult &run) const;

private:
    bool acceptsDate(const QDate &date) const;
    bool acceptsName(const QString &name) const;

    // The name part made ready for searching, made anew when the part changes.
    mutable std::shared_ptr<const NamePart> m_namePart;
};
