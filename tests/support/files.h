#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

struct ExamRecord;

// The files of the tests: golden files under tests/data, and files written and read as bytes.

// The path of a file or folder under tests/data.
QString goldenPath(const QString &relative);
// The bytes of a file under tests/data; the test fails when it cannot be read.
QByteArray golden(const QString &relative);
// Writes the bytes as they are, creating the folders on the way; the test fails when it cannot.
bool writeFile(const QString &path, const QByteArray &bytes);
// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString &path);
// Every file under the folder, hidden ones and those of subfolders too, by its path inside
// it, with its bytes: two folders are alike when these are equal.
QMap<QString, QByteArray> filesUnder(const QString &folder);
// Copies every file under a folder into another, creating the folders on the way.
void copyFolder(const QString &from, const QString &to);
// The bytes a record adds to the exam report.
QByteArray recordBytes(const ExamRecord &record);
