#include "support/program_folder.h"

#include "core/files/ansi_text.h"
#include "support/files.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

ProgramFolder::ProgramFolder()
{
    QDir(m_dir.path()).mkpath(u"b"_s);
    QDir(m_dir.path()).mkpath(u"s"_s);
    QDir(m_dir.path()).mkpath(u"t"_s);
}

ProgramFolder::~ProgramFolder()
{
    m_app.reset();
}

QString ProgramFolder::path(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.path() + u'/' + relative;
}

void ProgramFolder::writeBytes(const QString &relative, const QByteArray &bytes) const
{
    writeFile(path(relative), bytes);
}

void ProgramFolder::writeText(const QString &relative, const QString &text) const
{
    writeBytes(relative, AnsiText::encode(text));
}

QByteArray ProgramFolder::readBytes(const QString &relative) const
{
    return AnsiText::readBytes(path(relative)).value_or(QByteArray());
}

void ProgramFolder::writeSettings(const QStringList &lines) const
{
    writeText(u"test.ini"_s, u"[test]\r\n"_s + lines.join(u"\r\n"_s) + u"\r\n"_s);
}

Application &ProgramFolder::start()
{
    platform.documentsPath = m_dir.path() + u"/Documents"_s;
    // The guide the build lays into every program folder, unless the test laid out help/ itself.
    if (!QFileInfo::exists(path(u"help"_s))) {
        writeBytes(u"help/guide-ru/index.html"_s, "<html><body>Руководство</body></html>");
        writeBytes(u"help/guide-en/index.html"_s, "<html><body>Guide</body></html>");
    }
    m_app = std::make_unique<Application>(platform, m_dir.path());
    m_app->start();
    return *m_app;
}

QString makeExam(const ProgramFolder &folder, const QString &title, int tickets, int questions)
{
    folder.writeText(u"b/exam/lzm.lzm"_s, title + u"\r\n"_s);
    for (int t = 1; t <= tickets; ++t) {
        for (int n = 1; n <= questions; ++n) {
            const QString base = u"b/exam/b%1/"_s.arg(t);
            const QString number = QString::number(n);
            folder.writeText(base + u"q"_s + number + u".txt"_s, u"Вопрос %1 билета %2\r\n"_s.arg(n).arg(t));
            folder.writeText(base + u"v"_s + number + u".txt"_s, u"Да\r\nНет\r\nНе знаю\r\n"_s);
            folder.writeText(base + u"o"_s + number + u".txt"_s, u"Да\r\n"_s);
        }
    }
    return folder.path(u"b/exam"_s);
}
