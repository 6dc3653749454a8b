#include "core/reports/name_part.h"

NamePart::NamePart(const QString &part) : m_part(part)
{
    if (m_part.isEmpty())
        return;
    const QChar first = m_part.front();
    if (first.isSurrogate()) {
        m_general = true;
        return;
    }
    // Besides the upper and lower case letter, a few more fold alike (the Kelvin sign to
    // "k", the long s to "s"): every character of the plane is asked once.
    const char32_t folded = first.toCaseFolded().unicode();
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (!QChar::isSurrogate(c) && QChar::toCaseFolded(c) == folded)
            m_first.append(QChar(c));
    }
}

bool NamePart::in(QStringView name) const
{
    if (m_part.isEmpty())
        return true;
    if (m_general)
        return name.contains(m_part, Qt::CaseInsensitive);
    for (const QChar c : m_first) {
        for (qsizetype at = name.indexOf(c); at >= 0 && name.size() - at >= m_part.size(); at = name.indexOf(c, at + 1)) {
            if (name.sliced(at).startsWith(m_part, Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}
