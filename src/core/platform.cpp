#include "core/platform.h"

#include <filesystem>
#include <system_error>

namespace {

QStringList entries(const QString &folder, bool wantFolders)
{
    namespace fs = std::filesystem;
    QStringList result;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder.toStdString()), error), end; !error && it != end;
         it.increment(error)) {
        const QString name = QString::fromStdString(it->path().filename().string());
        if (name.startsWith(u'.'))
            continue;
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        if (typeError)
            continue;
        if (isFolder == wantFolders)
            result << QString::fromStdString(it->path().string());
    }
    result.sort();
    return result;
}

} // namespace

QStringList FilesystemWalker::subFolders(const QString &folder) const
{
    return entries(folder, true);
}

QStringList FilesystemWalker::files(const QString &folder) const
{
    return entries(folder, false);
}
