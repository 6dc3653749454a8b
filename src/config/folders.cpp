#include "config/folders.h"

#include <QDir>
#include <QFileInfo>

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
    const QStringList names = QDir(folderPath).entryList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    int count = 0;
    for (const QString &name : names) {
        if (name.startsWith(u'.'))
            continue;
        if (list)
            *list << prefix + name;
        ++count;
    }
    return count;
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
