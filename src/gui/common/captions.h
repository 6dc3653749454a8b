#pragma once

#include <QRect>
#include <QString>

#include <initializer_list>
#include <vector>

class QColor;
class QWidget;

// The program's name: the title of its messages and of its plain windows.
inline const QString ProgramTitle = QStringLiteral("Тест-Тавринг");

// One caption of a window in both languages.
struct Caption
{
    QWidget *control;
    QString russian;
    QString english;
};

using CaptionTable = std::vector<Caption>;

// Sets the caption of a control whatever its kind: a button's or label's text, a
// frame's title, a window's title.
void setCaption(QWidget *control, const QString &caption);

// Colours a control's text through its palette, so it keeps the window's font and style.
void setTextColour(QWidget *control, const QColor &colour);

// The colour of text that reads on the background: white on dark colours (red, dark green,
// black, blue), black on light ones.
QColor readableTextOn(const QColor &background);

// Fills a control with the colour, as a window, a button or an input box fills it, and draws
// its text in the colour that reads on it.
void setBackground(QWidget *control, const QColor &colour);

// Applies the table in the language; a language other than "rus" or "eng" changes nothing.
// Every control of the window of the table is then announced by a screen reader: by its
// caption, or by its tooltip (set as its accessible name) where it has no caption.
void applyCaptions(const CaptionTable &table, const QString &language);

// Names the controls of the window for screen readers as applyCaptions does; for windows
// whose captions change outside their table.
void nameControlsForScreenReaders(QWidget *window);

// Sets each control's tooltip, which screen readers give as its description, in the language
// (English for "eng", Russian for any other value). Applied before the captions, which name
// a control without a caption by its tooltip.
void applyToolTips(const CaptionTable &table, const QString &language);

// Gives each control of the table its name for screen readers in the language (English for
// "eng", Russian for any other value): the window itself, which its title does not tell
// apart, and controls whose caption does not say what they are for.
void applySpokenNames(const CaptionTable &table, const QString &language);

// Converts twips (1/1440 inch) to pixels at 15 twips per pixel.
constexpr int tw(int twips)
{
    return twips / 15;
}

// A rectangle given in twips, in pixels.
inline QRect twips(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}
