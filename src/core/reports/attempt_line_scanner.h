#pragma once

#include "core/reports/attempt.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Reads attempts journal lines in the form the journal writes them, straight from their bytes.
// It takes only what it is sure of: an unknown field, a field of another type, a field twice,
// a number that is no plain integer, a key or a string it cannot read end the scan, and the
// line goes to the general JSON reader, which decides what it is. So the scanner is only ever
// faster, never different.
// Texts that recur from line to line (answers, marks, titles, question texts) are decoded once
// and shared by the attempts, which saves the time and the memory of a copy per attempt; the
// bytes of every line read must therefore outlive the scanner.
class AttemptLineScanner final
{
public:
    // A text, or a list of offered answers, as a line before had it at the same place.
    struct Recent
    {
        QByteArrayView bytes;
        QString text;
        QStringList texts;
    };

    // What the scanner remembers of the lines it read.
    struct Memory
    {
        QHash<QByteArrayView, QString> texts;
        // By the place of the string, or of the list of offered answers, in its line, the
        // last two there: the lines of one journal are alike, so most of them hold the bytes
        // of one of the lines before at the same place (a mark, a chosen answer), which a
        // comparison settles without hashing.
        std::vector<Recent> strings;
        std::vector<Recent> lists;
        // The questions of the line before.
        qsizetype questions = 0;
    };

    std::optional<Attempt> scan(QByteArrayView line);
    // Reads the line into a new attempt; when it answers false, the attempt holds part of the
    // line and is the caller's to drop.
    bool scan(QByteArrayView line, Attempt *attempt);

private:
    Memory m_memory;
};
