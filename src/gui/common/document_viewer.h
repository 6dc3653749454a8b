#pragma once

#include <QString>

// Shows the program's own documents in windows of the program: the user guide and the plain
// text files (the reports, plt.txt). The application object gives one to the window context;
// the windows ask the context, which says why when a document cannot be shown.
class DocumentViewer
{
public:
    virtual ~DocumentViewer() = default;

    // The HTML guide at the path, in a help window that does not take the keyboard focus from
    // the window the user types in; a help window already shown is brought forward.
    virtual void showGuide(const QString &path, const QString &language) = 0;
    // A Windows-1251 text file, read-only. Returns the reason in the language when the file
    // cannot be read, the empty text when it is shown.
    virtual QString showText(const QString &path, const QString &language) = 0;
};
