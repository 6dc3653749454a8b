#pragma once

#include "core/files/file_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Text files of the program are single-byte Windows-1251 with CR LF line ends,
// so that content made on a Windows workstation opens unchanged.
namespace AnsiText {

inline constexpr char LineEnd[] = "\r\n";

// A character Windows-1251 cannot hold becomes '?'.
QByteArray encode(const QString &text);
QString decode(QByteArrayView bytes);
// The same into a text kept by the caller, whose room is used again: a reader that decodes a
// large file piece by piece then allocates nothing per piece.
void decode(QByteArrayView bytes, QString &into);
// The same into room the caller has, one character per byte: a reader that keeps one text for
// a whole piece can decode the parts of it that it will read and leave the others alone.
void decode(QByteArrayView bytes, QChar *into);

// Splits text into lines: CR LF or a lone CR ends a line, a lone LF stays part of
// the line, and a final line end adds no empty line.
QStringList splitLines(const QString &text);

// The lines of a file's bytes, decoded one at a time when asked for: the bytes are kept with
// the place of each line, found by the rule of splitLines. A file of many lines is indexed at
// about the cost of reading it, and only the lines looked at are ever decoded.
class Lines
{
public:
    Lines() = default;
    explicit Lines(QByteArray bytes);

    qsizetype size() const { return m_ends.size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    // The bytes of line i without its line end, and the line decoded.
    QByteArrayView bytesAt(qsizetype i) const;
    QString at(qsizetype i) const { return decode(bytesAt(i)); }
    // Every line decoded, as splitLines gives them.
    QStringList toStringList() const;

    friend bool operator==(const Lines &a, const Lines &b)
    {
        return a.m_bytes == b.m_bytes;
    }

private:
    QByteArray m_bytes;
    // Where each line's text ends: its CR, or the end of the bytes for a last line without a
    // line end. A line starts after the line end of the one before it.
    QList<qsizetype> m_ends;

    qsizetype startOf(qsizetype i) const;
};

// Line breaks as the windows show them: CR LF and a lone CR become "\n".
QString toWindowLineEnds(const QString &text);
// Line breaks as the files hold them: every break becomes CR LF.
QString toFileLineEnds(const QString &text);
// A text box's text in the form of a question or answers file: CR LF line ends and one
// final CR LF. A text that already ends in a line break gets no further one, so loading
// a text and saving it again leaves the file as it was.
QString asFileText(const QString &text);

// Reads every byte of a file; nothing when the file cannot be read.
std::optional<QByteArray> readBytes(const QString &path);
std::optional<QString> readWhole(const QString &path);
std::optional<QStringList> readLines(const QString &path);
std::optional<Lines> readLineIndex(const QString &path);

// Replaces the file whole through a temporary file that is put in place only when every
// byte was written: a full disk, a refused rename or a kill at any moment leaves the old
// file whole. False, with the reason, when the file was not replaced.
bool writeBytes(const QString &path, const QByteArray &bytes, FileError *error = nullptr);
// The same for a file made piece by piece, so that a large one is never held whole: `make`
// hands each piece in order to the function it is given, which says false once a piece could
// not be written (then nothing more need be made), and returns whether every piece was made
// and handed over. Faults count the whole file as one write.
using PieceWriter = std::function<bool(QByteArrayView piece)>;
bool writePieces(const QString &path, const std::function<bool(const PieceWriter &write)> &make,
                 FileError *error = nullptr);
bool writeWhole(const QString &path, const QString &text, FileError *error = nullptr);

// Appends the text whole or not at all, also when several programs (on one machine or on
// several workstations sharing the folder) append to the same file: the append holds the
// lock file "<path>.lock" beside the file, writes the text in one write at the end it finds
// under the lock (not in append mode, which some network file systems refuse) and syncs it
// to the disk before the lock is released, so what is said saved survives a power cut. When
// the file does not end with `recordEnd` (a program died in the middle of its append), a line
// end goes first, so the part left stays apart from this text. When any of it failed, the file
// is cut back to the size it had when the lock was taken, so no other program's text is
// touched. False, with the reason, when the text was not appended and synced.
bool append(const QString &path, const QString &text, FileError *error = nullptr,
            QByteArrayView recordEnd = LineEnd);
// The same append for bytes already encoded (the UTF-8 attempts journal).
bool appendBytes(const QString &path, const QByteArray &bytes, FileError *error = nullptr,
                 QByteArrayView recordEnd = LineEnd);

// Removes a file, as the end of what it stood for; through here, so that the tests see when.
bool remove(const QString &path);

// Whether a file name is that of a replacing save's temporary file ("<name>.XXXXXX"): a save
// cut off by a crash may leave one, which is no content of its folder.
bool isSaveTemporary(const QString &fileName);
// A save's temporary files older than this are left from a crash and removed by the next
// save of the same file; younger ones may be another workstation's save at work.
inline constexpr int StaleTemporaryMilliseconds = 60000;

inline constexpr int StaleLockMilliseconds = 10000;
inline constexpr int LockWaitMilliseconds = 15000;

// Faults the tests inject into the file layer, to prove that every save and append survives
// a full disk or a refused rename. The program itself never sets one. Each fires once, on the
// replace or append of this process it is set for, and is then gone.
namespace Faults {
// The write that follows `writesBefore` good writes stores only its first `bytes` bytes and
// then fails as on a full disk.
void failWriteAfter(qint64 bytes, int writesBefore = 0);
// The next replace writes its temporary file whole and then cannot put it in place.
void failRename();
// The next sync of an append fails as on a disk that reports an error.
void failSync();
// From now on notes what the file layer does, as the events below, and which appended bytes
// were synced to the disk.
void watch();
// What the file layer did since watch(), in order: "write <path>", "sync <path>",
// "unlock <path>" for the lock of an append, "remove <path>".
QStringList events();
// A power cut: every file appended to since watch() loses the bytes not synced to the disk.
void cutPower();
void clear();
} // namespace Faults

} // namespace AnsiText
