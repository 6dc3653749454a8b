#include "exam/question_count.h"

#include "config/fixed_point.h"
#include "config/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

} // namespace

QString entryName(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return QString();
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
