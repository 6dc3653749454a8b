#include "config/ansi_text.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace AnsiText {

namespace {
constexpr char Codec[] = "windows-1251";
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(Codec);
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;
    // Encode character by character so that only what cannot be held turns into '?'.
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder single(Codec);
        const QByteArray one = single.encode(QStringView(text).mid(i, length));
        bytes += single.hasError() || one.isEmpty() ? QByteArray("?") : one;
        i += length;
    }
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(Codec);
    return decoder.decode(bytes);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    QString current;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            lines << current;
            current.clear();
            pending = false;
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines << current;
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
    const auto text = readWhole(path);
    if (!text)
        return std::nullopt;
    return splitLines(*text);
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeWhole(const QString &path, const QString &text, QString *error)
{
    return writeBytes(path, encode(text), error);
}

bool append(const QString &path, const QString &text, QString *error)
{
    QFile file(path);
    const QByteArray bytes = encode(text);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace AnsiText
