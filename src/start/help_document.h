#pragma once

#include <QString>

// The document the help buttons open: help/help.chm of the program folder when a teacher has
// put one there, otherwise the user guide shipped with the program in the window's language
// (help/guide-en/index.html for "eng", help/guide-ru/index.html for any other language, as
// the captions are Russian then). When neither is there, help/help.chm all the same: opening
// a missing document shows nothing.
QString helpDocument(const QString &programFolder, const QString &language);
