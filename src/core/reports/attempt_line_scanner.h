#pragma once

#include "core/reports/attempt.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

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
    std::optional<Attempt> scan(QByteArrayView line);

private:
    QHash<QByteArrayView, QString> m_texts;
};
