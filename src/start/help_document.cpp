#include "start/help_document.h"

#include "config/language.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

QString helpDocument(const QString &programFolder, const QString &language)
{
    const QString helpFile = programFolder + u"/help/help.chm"_s;
    if (QFileInfo::exists(helpFile))
        return helpFile;
    const QString guide = programFolder
        + (Language::isEnglish(language) ? u"/help/guide-en/index.html"_s : u"/help/guide-ru/index.html"_s);
    return QFileInfo::exists(guide) ? guide : helpFile;
}
