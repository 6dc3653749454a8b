#pragma once

class QWidget;

// Removes the window's close box and ignores every close that does not come from the
// program itself, so the window can be left only through its own buttons.
void DisableXbutton(QWidget *window);

// Keeps the window above the other windows of the program without taking the focus
// (on = true), or puts it back in the normal band (on = false).
void SetTopmost(QWidget *window, bool on);
