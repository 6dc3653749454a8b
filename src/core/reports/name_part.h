#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// A part of a name looked for regardless of case, finding what
// QString::contains(part, Qt::CaseInsensitive) finds, but quickly over a million names: the
// characters that can begin a match are listed once, and each name is searched for them with
// Qt's vectorised search for one character; only where one stands is the whole part compared.
class NamePart
{
public:
    explicit NamePart(const QString &part = QString());

    const QString &text() const { return m_part; }
    // Whether the name holds the part; every name holds the empty part.
    bool in(QStringView name) const;

private:
    QString m_part;
    // The characters whose case folding is that of the part's first one.
    QVarLengthArray<QChar, 4> m_first;
    // A part that begins with half of a surrogate pair is left to Qt's search.
    bool m_general = false;
};
