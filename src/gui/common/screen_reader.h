#pragma once

class QWidget;

// What screen readers and other assistive tools may perceive of the windows. Only what the
// user sees is offered: a control that is hidden is no part of what its window offers, and
// a hidden holder (a control that only mirrors a model, such as a ticket's marks) is never
// offered at all, nor does it report a change, even while a tool watches every event.
// A caption that acts as a link is offered as a link that can be pressed.
// A text box reached by Tab is reported as focused before its caret, so that it is said; a list
// or a table that takes the focus reports its current item after itself, so that the item is said.

// Installs the rules for the whole run; calling it again changes nothing.
void installScreenReaderRules();

// Makes the control a hidden holder for assistive tools. Called right after the control is
// made, before its first caption or value, as a tool may look at it from then on.
void concealFromScreenReaders(QWidget *holder);

// Whether the control is a hidden holder.
bool isConcealedFromScreenReaders(const QWidget *control);

// While `cover` is shown it lies over `covered`, a panel of the same place: the covered
// panel's controls leave the Tab order (they are disabled, which nobody sees under the cover)
// and come back as the cover is hidden.
void keepCoveredOutOfReach(QWidget *cover, QWidget *covered);
