#pragma once

#include <QMargins>
#include <QRect>

class Platform;
class QAbstractButton;
class QAbstractItemView;
class QLineEdit;
class QObject;
class QWidget;

// Removes the window's close box and ignores every close that does not come from the
// program itself, so the window can be left only through its own buttons.
void DisableXbutton(QWidget *window);

// Keeps the window above the other windows of the program without taking the focus
// (on = true), or puts it back in the normal band (on = false).
void SetTopmost(QWidget *window, bool on);

// Keeps every window of the program inside the available area of its screen, its frame and
// title bar included: a window is shown where it was when it was last hidden (a window
// discarded and created again counts as the same window, by its form name), else where the
// program put it, moved as little as needed to lie inside the area. A window whose designed
// size does not fit the area shows its controls in a scroll area of the size that fits.
// Installed by the application object, which owns it; the platform tells the area of the screen.
void KeepWindowsOnScreen(Platform &platform, QObject *owner);

// Keeps the window right of the screen position `left` (the left edge of its frame): where
// the screen is too narrow for its designed width there, it becomes narrower and its controls
// scroll, down to a least width.
void KeepRightOf(QWidget *window, int left);

// The area of the screen that windows may cover (without panels and docks), as the platform
// given to KeepWindowsOnScreen tells it.
QRect AvailableArea();

// The window manager's frame around the window (title bar and borders); before the window
// is framed, the frame last seen around another window of the program.
QMargins WindowFrame(const QWidget *window);

// Enter in the field presses the button when the button can be pressed, as Enter presses
// the default button of a dialog.
void PressOnEnter(QLineEdit *field, QAbstractButton *button);

// Space on the highlighted item of the view activates it as Enter does (a list of answers
// chosen from the keyboard).
void ActivateOnSpace(QAbstractItemView *view);
