#include "support/test_platform.h"

#include <QPrinter>

void TestPlatform::messageBox(const QString &title, const QString &text, MessageIcon icon)
{
    messages.append({title, text, icon});
}

bool TestPlatform::question(const QString &title, const QString &text)
{
    questions.append({title, text, MessageIcon::None});
    return !questionAnswers.isEmpty() && questionAnswers.dequeue();
}

bool TestPlatform::openDocument(const QString &path)
{
    documents << path;
    return documentsOpen;
}

bool TestPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    programs << (arguments.isEmpty() ? program : program + u' ' + arguments.join(u' '));
    return true;
}

QString TestPlatform::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    Q_UNUSED(title);
    Q_UNUSED(folder);
    fileDialogFilters << filter;
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString TestPlatform::saveFileName(const QString &title, const QString &suggested, const QString &filter)
{
    Q_UNUSED(title);
    saveSuggestions << suggested;
    fileDialogFilters << filter;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
}

bool TestPlatform::choosePrinter(QPrinter *printer, const QString &title)
{
    printTitles << title;
    const QString path = printAnswers.isEmpty() ? QString() : printAnswers.dequeue();
    if (path.isEmpty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return true;
}

double TestPlatform::random()
{
    return randoms.isEmpty() ? 0.0 : randoms.dequeue();
}

std::unique_ptr<FolderWalker> TestPlatform::folderWalker()
{
    if (walkerFails)
        return nullptr;
    return std::make_unique<FilesystemWalker>();
}

QStringList TestPlatform::messageTexts() const
{
    QStringList texts;
    for (const Message &message : messages)
        texts << message.text;
    return texts;
}

void TestPlatform::clear()
{
    messages.clear();
    questions.clear();
    documents.clear();
    programs.clear();
}
