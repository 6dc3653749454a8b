#include "core/files/folders.h"

#include "core/files/ansi_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

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
    // The files and folders by name, as QDir::entryList sorts them, leaving out hidden names
    // and entries that are neither (broken links, pipes, devices) as it does. The listing
    // takes the entry's type from the directory itself and asks the file system only for
    // links: an exam folder may hold thousands of tickets.
    QStringList names;
    // An empty path is the current folder, as for QDir.
    const QByteArray where = folderPath.isEmpty() ? QByteArray(".") : QFile::encodeName(folderPath);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(where.toStdString(), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path fileName = entry->path().filename();
        const std::string &name = fileName.native();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code typeError;
        const QString decoded = QFile::decodeName(QByteArray::fromStdString(name));
        // The temporary file of a save cut off by a crash is no content of the folder.
        if (entry->is_directory(typeError)
            || (entry->is_regular_file(typeError) && !AnsiText::isSaveTemporary(decoded)))
            names << decoded;
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
