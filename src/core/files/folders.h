#pragma once

#include <QString>
#include <QStringList>

// Folder operations on paths joined with '/'.

// Makes sure every folder along the path exists, parent first. Existing levels are
// left alone, a level that exists as a file is not replaced, failures are not reported.
void MakeDirPath(const QString &folderPath);

// Lists the ordinary files and sub-folders of one folder (not entering sub-folders),
// skipping hidden entries (names beginning with ".") and the temporary files of saves. The list gets folder + "/" + name
// for each entry, in name order; the result is the count.
int GetFolders(const QString &folderPath, QStringList *list = nullptr);

// Whether a file or folder of that path exists.
bool DoesFileExist(const QString &path);

// A name read from stored content that becomes one level of a path: no '/' or '\', not
// "." or "..", not empty, so it never leads out of its folder. A new name typed by a user
// must also be one every workstation can hold: see PathNames::problem.
bool isPathComponent(const QString &name);
