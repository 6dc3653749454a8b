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

// Applies the table in the language; a language other than "rus" or "eng" changes nothing.
void applyCaptions(const CaptionTable &table, const QString &language);

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
