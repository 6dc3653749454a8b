#include "support/files.h"

#include "core/files/ansi_text.h"
#include "core/reports/exam_report.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

QString goldenPath(const QString &relative)
{
    return QStringLiteral(TAVRING_TEST_DATA) + u'/' + relative;
}

QByteArray golden(const QString &relative)
{
    const std::optional<QByteArray> bytes = AnsiText::readBytes(goldenPath(relative));
    if (!bytes)
        QTest::qFail(qPrintable(u"golden file %1 cannot be read"_s.arg(relative)), __FILE__, __LINE__);
    return bytes.value_or(QByteArray());
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    if (!written)
        QTest::qFail(qPrintable(u"%1 cannot be written"_s.arg(path)), __FILE__, __LINE__);
    return written;
}

QByteArray readFile(const QString &path)
{
    return AnsiText::readBytes(path).value_or("<missing>"_ba);
}

QMap<QString, QByteArray> filesUnder(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readFile(path));
    }
    return files;
}

void copyFolder(const QString &from, const QString &to)
{
    const QMap<QString, QByteArray> files = filesUnder(from);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeFile(to + u'/' + it.key(), it.value());
}

QByteArray recordBytes(const ExamRecord &record)
{
    return AnsiText::encode(ExamReport::recordText(record));
}
