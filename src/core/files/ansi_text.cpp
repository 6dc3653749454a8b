#include "core/files/ansi_text.h"

#include "core/files/shared_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace AnsiText {

namespace {

// Windows-1251 holds one character per byte. The converter is asked once for the character
// of every byte; both directions then go through these tables, so a long text costs one look-up
// per character, also when it holds characters the code page cannot.
struct Codec
{
    std::array<char16_t, 256> chars;
    // The byte of each UTF-16 unit; -1 for a unit the code page cannot hold.
    std::array<qint16, 0x10000> bytes;
};

const Codec &windows1251()
{
    static const Codec codec = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int byte = 0; byte < 256; ++byte)
            all[byte] = char(byte);
        QStringDecoder decoder("windows-1251");
        const QString chars = decoder.decode(all);
        Codec table;
        table.bytes.fill(-1);
        for (int byte = 0; byte < 256; ++byte) {
            // Only a converter without the code page gives no character per byte.
            const char16_t c = chars.size() == 256 ? chars.at(byte).unicode() : char16_t(byte);
            table.chars[byte] = c;
            table.bytes[c] = qint16(byte);
        }
        return table;
    }();
    return codec;
}

// Windows-1251 to UTF-16, one character per byte.
void decodeTo(QByteArrayView bytes, char16_t *out)
{
    const Codec &codec = windows1251();
    for (const char byte : bytes)
        *out++ = codec.chars[uchar(byte)];
}

// The faults a test has asked for; -1: no write fault.
qint64 g_failWriteAfter = -1;
int g_writesBeforeFault = 0;
bool g_failRename = false;
bool g_failSync = false;
bool g_watching = false;
QStringList g_events;
// The size of each file appended to, as far as it was synced, since watch().
QHash<QString, qint64> g_syncedSizes;

void note(const QString &event)
{
    if (g_watching)
        g_events << event;
}

// The failure of a call on the file. Qt keeps the system's reason for most failures, but a
// short write leaves it at Qt's "Unknown error"; the system's error number then says what
// happened. Qt also gives reasons of its own ("Filename refers to a directory") while errno
// still holds an earlier call's number: the number counts only when Qt's text is its text.
FileError failure(const QFileDevice &file, int systemError)
{
    const QString text = file.errorString();
    if (QFileInfo(file.fileName()).isDir())
        return FileError(FileError::Kind::FolderInPlace, file.fileName(), text);
    if (systemError != 0 && (text.isEmpty() || text == QFile().errorString()))
        return FileError::fromSystem(systemError, file.fileName());
    if (systemError != 0 && text == qt_error_string(systemError))
        return FileError::fromSystem(systemError, file.fileName(), text);
    return FileError(FileError::Kind::Other, file.fileName(), text);
}

void setFailure(FileError *error, const FileError &failure)
{
    if (error)
        *error = failure;
}

// The bytes a write may store before an injected full disk; -1: all of them.
qint64 bytesBeforeFault()
{
    if (g_failWriteAfter >= 0 && g_writesBeforeFault-- <= 0) {
        const qint64 limit = g_failWriteAfter;
        g_failWriteAfter = -1;
        return limit;
    }
    return -1;
}

// Writes every byte, going on after a short write until the system refuses the rest, so the
// failure carries the system's reason. False, with the reason, when any byte was not written.
// An injected fault lets only `limit` bytes through (-1: all), then fails as a full disk.
bool writeAll(QFileDevice &file, QByteArrayView bytes, qint64 limit, FileError *error)
{
    const qint64 size = limit < 0 ? bytes.size() : std::min<qint64>(bytes.size(), limit);
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 written = file.write(bytes.data() + done, size - done);
        if (written <= 0) {
            setFailure(error, failure(file, errno));
            return false;
        }
        done += written;
    }
    if (done < bytes.size()) {
        setFailure(error, FileError::fromSystem(ENOSPC, file.fileName()));
        return false;
    }
    return true;
}

bool writeAll(QFileDevice &file, const QByteArray &bytes, FileError *error)
{
    return writeAll(file, bytes, bytesBeforeFault(), error);
}

// Syncs what was written to the file to the disk. False, with the reason, when the system
// could not, as then the bytes may not outlive a power cut.
bool syncToDisk(QFileDevice &file, FileError *error)
{
    errno = 0;
    int systemError = 0;
    if (g_failSync) {
        g_failSync = false;
        systemError = EIO;
    } else if (::fsync(file.handle()) != 0) {
        systemError = errno != 0 ? errno : EIO;
    }
    if (systemError != 0) {
        setFailure(error, FileError::fromSystem(systemError, file.fileName()));
        return false;
    }
    note(u"sync "_s + file.fileName());
    if (g_watching)
        g_syncedSizes[file.fileName()] = file.size();
    return true;
}

// Syncs a folder's list of names, so that a file just created in it is found after a power
// cut. Some file systems (network ones among them) cannot sync a folder and keep their names
// durable by themselves; that is no failure.
void syncFolder(const QString &folderPath)
{
    const int folder = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

// Writes the bytes at the end of the file, the lock being held, and syncs them. A file that
// does not end with `recordEnd` gets a line end first. On any failure the file is cut back
// to where it ended.
bool appendLocked(const QString &path, const QByteArray &bytes, QByteArrayView recordEnd, FileError *error)
{
    QFile file(path);
    const bool existed = file.exists();
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        setFailure(error, failure(file, errno));
        return false;
    }
    // Taken under the lock: every byte past it is this append's own.
    const qint64 start = file.size();
    if (g_watching && !g_syncedSizes.contains(path))
        g_syncedSizes.insert(path, existed ? start : -1);
    QByteArray text;
    bool written = true;
    if (start > 0 && !recordEnd.isEmpty()) {
        const qint64 tail = std::min<qint64>(start, recordEnd.size());
        errno = 0;
        const QByteArray last = file.seek(start - tail) ? file.read(tail) : QByteArray();
        if (last.size() != tail) {
            setFailure(error, failure(file, errno));
            written = false;
        } else if (last != recordEnd) {
            text = LineEnd;
        }
    }
    text += bytes;
    errno = 0;
    if (written && !file.seek(start)) {
        setFailure(error, failure(file, errno));
        written = false;
    }
    if (written) {
        note(u"write "_s + path);
        if (writeAll(file, text, error) && syncToDisk(file, error)) {
            if (!existed)
                syncFolder(QFileInfo(path).absolutePath());
            return true;
        }
    }
    // A write that stopped half way leaves no broken text behind.
    bool cutBack = false;
    if (!existed) {
        file.close();
        cutBack = QFile::remove(path);
    } else {
        cutBack = file.resize(start) && syncToDisk(file, nullptr);
    }
    if (!cutBack && error)
        error->setPartLeft();
    return false;
}

// Removes the temporary files that replacing saves of the file left behind when they were cut
// off, as long as they are old enough to be no save at work.
void removeStaleTemporaries(const QString &path)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + u'.';
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList found = QDir(target.absolutePath()).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : found) {
        const QString name = entry.fileName();
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) && isSaveTemporary(name)
            && entry.lastModified().toUTC().msecsTo(now) > StaleTemporaryMilliseconds)
            QFile::remove(entry.absoluteFilePath());
    }
}

// The line rule of Lines, for a text already decoded.
QStringList splitLinesOf(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype cr = text.indexOf(u'\r', start);
        if (cr < 0)
            break;
        lines << text.sliced(start, cr - start).toString();
        start = cr + 1;
        if (start < text.size() && text[start] == u'\n')
            ++start;
    }
    if (start < text.size())
        lines << text.sliced(start).toString();
    return lines;
}

} // namespace

namespace Faults {

void failWriteAfter(qint64 bytes, int writesBefore)
{
    g_failWriteAfter = std::max<qint64>(bytes, 0);
    g_writesBeforeFault = writesBefore;
}

void failRename()
{
    g_failRename = true;
}

void failSync()
{
    g_failSync = true;
}

void watch()
{
    g_watching = true;
    g_events.clear();
    g_syncedSizes.clear();
}

QStringList events()
{
    return g_events;
}

void cutPower()
{
    for (auto it = g_syncedSizes.cbegin(); it != g_syncedSizes.cend(); ++it) {
        if (it.value() < 0)
            QFile::remove(it.key());
        else
            QFile::resize(it.key(), it.value());
    }
    g_syncedSizes.clear();
}

void clear()
{
    g_failWriteAfter = -1;
    g_writesBeforeFault = 0;
    g_failRename = false;
    g_failSync = false;
    g_watching = false;
    g_events.clear();
    g_syncedSizes.clear();
}

} // namespace Faults

QByteArray encode(const QString &text)
{
    const Codec &codec = windows1251();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const qint16 byte = codec.bytes[c];
        if (byte >= 0) {
            *out++ = char(byte);
            continue;
        }
        // A character outside the code page is one '?', a surrogate pair included.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size())
            ++i;
        *out++ = '?';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeTo(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

void decode(QByteArrayView bytes, QString &into)
{
    into.resize(bytes.size());
    decodeTo(bytes, reinterpret_cast<char16_t *>(into.data()));
}

void decode(QByteArrayView bytes, QChar *into)
{
    decodeTo(bytes, reinterpret_cast<char16_t *>(into));
}

QStringList splitLines(const QString &text)
{
    return splitLinesOf(text);
}

Lines::Lines(QByteArray bytes) : m_bytes(std::move(bytes))
{
    // Every CR ends a line; the LF of a CR LF is skipped when a line is read. The CRs are found
    // 32 bytes at a time where the processor can, as lines are short and a call per line
    // would cost more than the search. A first pass counts them, so the second writes the
    // places straight into a list of the final size.
    const char *const data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    const auto forEachCr = [data, size](auto &&take) {
        qsizetype at = 0;
#ifdef __SSE2__
        const __m128i cr = _mm_set1_epi8('\r');
        const auto crs = [&](qsizetype from) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + from));
            return quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, cr)));
        };
        for (; at + 32 <= size; at += 32)
            take(at, crs(at) | crs(at + 16) << 16);
#endif
        for (; at < size; ++at) {
            if (data[at] == '\r')
                take(at, 1u);
        }
    };
    qsizetype count = 0;
    // Lines are longer than 32 bytes as a rule, so clearing the lowest bit in a loop is faster
    // than a population count the baseline processor does not have.
    forEachCr([&count](qsizetype, quint32 mask) {
        for (; mask; mask &= mask - 1)
            ++count;
    });
    // A last line without a line end.
    const bool unended =
        size > 0 && data[size - 1] != '\r' && !(size > 1 && data[size - 1] == '\n' && data[size - 2] == '\r');
    m_ends.resize(count + (unended ? 1 : 0));
    qsizetype *out = m_ends.data();
    forEachCr([&out](qsizetype at, quint32 mask) {
        for (; mask; mask &= mask - 1)
            *out++ = at + std::countr_zero(mask);
    });
    if (unended)
        *out = size;
}

qsizetype Lines::startOf(qsizetype i) const
{
    if (i == 0)
        return 0;
    const qsizetype previous = m_ends.at(i - 1);
    return previous + 1 < m_bytes.size() && m_bytes.at(previous + 1) == '\n' ? previous + 2 : previous + 1;
}

QByteArrayView Lines::bytesAt(qsizetype i) const
{
    const qsizetype start = startOf(i);
    return QByteArrayView(m_bytes.constData() + start, m_ends.at(i) - start);
}

QStringList Lines::toStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines << at(i);
    return lines;
}

QString toWindowLineEnds(const QString &text)
{
    QString content = text;
    content.replace(u"\r\n"_s, u"\n"_s);
    content.replace(u'\r', u'\n');
    return content;
}

QString toFileLineEnds(const QString &text)
{
    return toWindowLineEnds(text).replace(u'\n', u"\r\n"_s);
}

QString asFileText(const QString &text)
{
    QString content = toFileLineEnds(text);
    if (!content.endsWith(u"\r\n"_s))
        content += u"\r\n"_s;
    return content;
}

std::optional<QByteArray> readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QString> readWhole(const QString &path)
{
    const auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes);
}

std::optional<QStringList> readLines(const QString &path)
{
    const auto lines = readLineIndex(path);
    if (!lines)
        return std::nullopt;
    return lines->toStringList();
}

std::optional<Lines> readLineIndex(const QString &path)
{
    auto bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return Lines(std::move(*bytes));
}

bool writeBytes(const QString &path, const QByteArray &bytes, FileError *error)
{
    return writePieces(path, [&bytes](const PieceWriter &write) { return write(bytes); }, error);
}

bool writePieces(const QString &path, const std::function<bool(const PieceWriter &write)> &make, FileError *error)
{
    removeStaleTemporaries(path);
    QSaveFile file(path);
    // Unbuffered, so that each write reaches the system at once and a full disk fails that
    // write here, rather than a flush inside commit() whose failure would go unseen.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        setFailure(error, failure(file, errno));
        return false;
    }
    // An injected full disk stops the file where it would stop the same bytes written whole.
    qint64 limit = bytesBeforeFault();
    bool written = true;
    const PieceWriter write = [&](QByteArrayView piece) {
        if (!written)
            return false;
        written = writeAll(file, piece, limit, error);
        if (limit >= 0)
            limit = std::max<qint64>(0, limit - piece.size());
        return written;
    };
    if (!make(write) || !written) {
        file.cancelWriting();
        return false;
    }
    if (g_failRename) {
        g_failRename = false;
        file.cancelWriting();
        setFailure(error, FileError::fromSystem(EACCES, path));
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        setFailure(error, failure(file, errno));
        return false;
    }
    return true;
}

bool writeWhole(const QString &path, const QString &text, FileError *error)
{
    return writeBytes(path, encode(text), error);
}

bool append(const QString &path, const QString &text, FileError *error, QByteArrayView recordEnd)
{
    return appendBytes(path, encode(text), error, recordEnd);
}

bool appendBytes(const QString &path, const QByteArray &bytes, FileError *error, QByteArrayView recordEnd)
{
    // A lock file created beside the report works on a network share too, where several
    // workstations append to the same report and appending alone is not atomic.
    SharedLock lock(path + u".lock"_s, StaleLockMilliseconds);
    if (!lock.lock(LockWaitMilliseconds, error))
        return false;
    const bool appended = appendLocked(path, bytes, recordEnd, error);
    lock.unlock();
    note(u"unlock "_s + path);
    return appended;
}

bool remove(const QString &path)
{
    note(u"remove "_s + path);
    return QFile::remove(path);
}

bool isSaveTemporary(const QString &fileName)
{
    static const QRegularExpression temporary(u"^.+\\.[^.]+\\.[A-Za-z0-9]{6}$"_s);
    return temporary.match(fileName).hasMatch();
}

} // namespace AnsiText
