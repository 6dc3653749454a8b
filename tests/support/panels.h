#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The visible controls of a window that lie, even in part, in the rectangle of a visible
// panel (a group box) they do not belong to: controls of another panel peeking out from
// under it or showing through it. Each as "control in panel".
QStringList peekingControls(const QWidget *window);

// How many visible labels of the window show the text within their caption.
int shownCaptionsWith(const QWidget *window, const QString &text);
