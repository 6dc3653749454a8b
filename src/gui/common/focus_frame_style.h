#pragma once

#include <QColor>
#include <QProxyStyle>

// The style of the program's windows: the system's style with a thick two-tone frame around
// the control that has the keyboard focus, so that a student who works with the keyboard sees
// at a glance where the next key goes, on plain controls as on coloured ones (the question
// buttons in their colours of answered, missing and current).
class FocusFrameStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // The two colours of the frame: a dark line outside and a light line inside, one of which
    // stands out on any background.
    static QColor outerColour() { return QColor(0, 0, 0); }
    static QColor innerColour() { return QColor(255, 210, 0); }
    static constexpr int LineWidth = 2;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
};

// Gives the application the style with the focus frame; the program and the utility call it
// once their application object exists.
void ShowFocusClearly();
