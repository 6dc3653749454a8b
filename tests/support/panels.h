#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The controls of a window that a panel (a group box) shown over them fails to hide: shown
// above it or through it (a panel that does not paint its background), sticking out from
// under it, or hidden under it but still reached by the keyboard. A panel that holds the
// whole overlay is its ground, not covered by it. Each as "control in panel".
QStringList peekingControls(const QWidget *window);

// How many visible labels of the window show the text within their caption.
int shownCaptionsWith(const QWidget *window, const QString &text);
