#pragma once

#include <QString>

// The student who takes a ticket, as the start window collected it.
struct Student
{
    // The data frame's caption, two blanks and the name: the line of the result sheet.
    QString line;
    // The three optional data lines.
    QString data1;
    QString data2;
    QString data3;
    // The name alone, as typed.
    QString name;

    bool operator==(const Student &) const = default;
};
