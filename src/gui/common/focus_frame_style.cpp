#include "gui/common/focus_frame_style.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOption>

namespace {

bool focused(const QStyleOption *option, const QWidget *widget)
{
    return widget && (option->state & QStyle::State_HasFocus) && widget->hasFocus();
}

void drawFrame(QPainter *painter, const QRect &rect)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    const int width = FocusFrameStyle::LineWidth;
    QRect outer = rect.adjusted(width / 2, width / 2, -(width + 1) / 2, -(width + 1) / 2);
    painter->setPen(QPen(FocusFrameStyle::outerColour(), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(outer);
    painter->setPen(QPen(FocusFrameStyle::innerColour(), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter->drawRect(outer.adjusted(width, width, -width, -width));
    painter->restore();
}

} // namespace

void FocusFrameStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    switch (element) {
    case CE_PushButton:
    case CE_CheckBox:
    case CE_RadioButton:
        if (focused(option, widget))
            drawFrame(painter, widget->rect());
        break;
    default:
        break;
    }
}

void FocusFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                         QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if ((control == CC_ComboBox || control == CC_SpinBox) && focused(option, widget))
        drawFrame(painter, widget->rect());
}

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A line edit of its own (not the one inside a combo or spin box, which draw their frame).
    if (element == PE_PanelLineEdit && qobject_cast<const QLineEdit *>(widget)
        && !qobject_cast<const QComboBox *>(widget->parentWidget())
        && !qobject_cast<const QAbstractSpinBox *>(widget->parentWidget()) && focused(option, widget))
        drawFrame(painter, widget->rect());
}

void ShowFocusClearly()
{
    if (qApp && !qobject_cast<FocusFrameStyle *>(QApplication::style()))
        QApplication::setStyle(new FocusFrameStyle);
}
