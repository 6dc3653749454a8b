#pragma once

#include "core/reports/exam_report.h"

// The record that process `process` appends as its `index`-th one in the tests of appends
// from several processes; the student's line tells the records apart.
inline ExamRecord appendedRecord(int process, int index)
{
    ExamRecord record;
    record.language = QStringLiteral("rus");
    record.date = QStringLiteral("08.12.2026");
    record.time = QStringLiteral("10:00:00");
    record.student = QStringLiteral("Ученик %1, запись %2").arg(process).arg(index);
    record.ticket = QStringLiteral("3");
    record.marks = QStringList{QStringLiteral("5")};
    record.verdict = Verdict::Passed;
    return record;
}
