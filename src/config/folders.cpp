#include "config/folders.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

void MakeDirPath(const QString &folderPath)
{
    const QString path = folderPath + u'/';
    qsizetype from = 0;
    while (true) {
        const qsizetype hit = path.indexOf(u'/', from);
        if (hit < 0)
            break;
        const QString level = path.left(hit);
        if (!level.isEmpty() && !level.endsWith(u':') && !QFileInfo::exists(level))
            QDir().mkdir(level);
        if (hit >= folderPath.size())
            break;
        from = hit + 1;
    }
}

int GetFolders(const QString &folderPath, QStringList *list)
{
    const QString prefix = folderPath.endsWith(u'/') ? folderPath : folderPath + u'/';
    if (list)
        list->clear();
    // The entries by name, as QDir::entryList sorts them, without the file information it
    // keeps for each entry while sorting: an exam folder may hold thousands of tickets.
    QStringList names;
    QDirIterator entries(folderPath, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (!name.startsWith(u'.'))
            names << name;
    }
    std::sort(names.begin(), names.end());
    if (list) {
        list->reserve(names.size());
        for (const QString &name : std::as_const(names))
            *list << prefix + name;
    }
    return int(names.size());
}

bool DoesFileExist(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool isPathComponent(const QString &name)
{
    return !name.isEmpty() && name != "."_L1 && name != ".."_L1 && !name.contains(u'/')
           && !name.contains(u'\\');
}
