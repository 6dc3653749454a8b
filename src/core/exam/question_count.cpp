#include "core/exam/question_count.h"

#include "core/files/fixed_point.h"
#include "core/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace QuestionCount {

namespace {

void collect(const FolderWalker &walker, const QString &folder, QSet<QString> &visited, QStringList &found)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QString key = canonical.isEmpty() ? folder : canonical;
    if (visited.contains(key))
        return;
    visited.insert(key);

    for (const QString &subFolder : walker.subFolders(folder))
        collect(walker, subFolder, visited, found);
    for (const QString &file : walker.files(folder)) {
        if (file.endsWith(u".txt"_s, Qt::CaseInsensitive))
            found << file;
    }
}

// Every spelling of the name that equals it ignoring letter case, the name itself first; none
// when they are too many to try or a character has further case forms (such as 'k' and the
// Kelvin sign) or lies outside ASCII.
QStringList caseSpellings(const QString &name)
{
    constexpr int MaxLetters = 6;
    QStringList spellings{name};
    int letters = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.unicode() >= 0x80 || c.toLower() == u'k' || c.toLower() == u's')
            return {};
        if (c.toLower() == c.toUpper())
            continue;
        if (++letters > MaxLetters)
            return {};
        const QChar other = c.isLower() ? c.toUpper() : c.toLower();
        const qsizetype count = spellings.size();
        for (qsizetype j = 0; j < count; ++j) {
            QString spelling = spellings.at(j);
            spelling[i] = other;
            spellings << spelling;
        }
    }
    return spellings;
}

// Whether the folder holds an entry of this path: a file, a folder, a broken link or any other.
bool hasEntry(const QString &path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(QFile::encodeName(path).toStdString(), error));
}

} // namespace

QString entryName(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return QString();
    // The folder box asks on every keystroke, and an exam folder may hold thousands of
    // tickets: the spellings of the name are looked up one by one rather than listing the
    // folder. Exactly one spelling found is the entry; none found means there is none. Several
    // found (two entries, or a file system that ignores letter case) and names whose spellings
    // cannot all be tried are settled by the listing, as are hidden names, which it leaves out.
    const QStringList spellings = caseSpellings(name);
    if (!spellings.isEmpty() && !name.startsWith(u'.')) {
        QStringList found;
        for (const QString &spelling : spellings) {
            if (hasEntry(folder + u'/' + spelling))
                found << spelling;
        }
        if (found.size() <= 1)
            return found.isEmpty() ? QString() : found.first();
    }
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot
                                                     | QDir::System, QDir::Name);
    if (names.contains(name))
        return name;
    for (const QString &entry : names) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

QStringList textFiles(const FolderWalker &walker, const QString &folder)
{
    QSet<QString> visited;
    QStringList found;
    collect(walker, folder, visited, found);
    return found;
}

QString questionsText(qsizetype textFileCount, const QLocale &locale)
{
    return Fixed::fromInt(textFileCount).dividedBy(3).toString(locale);
}

} // namespace QuestionCount
