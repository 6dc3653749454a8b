#include "gui/start/about_window.h"

#include "gui/common/captions.h"
#include "gui/common/control_factory.h"
#include "gui/common/window_ops.h"

#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// The emblem of the program: its name over an open exam book with a tick on it.
QPixmap emblem(const QSize &size)
{
    QPixmap picture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0.0, QColor(32, 72, 140));
    sky.setColorAt(1.0, QColor(120, 170, 220));
    painter.fillRect(picture.rect(), sky);

    const qreal w = size.width();
    const qreal h = size.height();
    painter.setPen(QPen(QColor(40, 40, 60), 2));
    painter.setBrush(QColor(250, 246, 232));
    QPainterPath left;
    left.moveTo(w * 0.5, h * 0.35);
    left.cubicTo(w * 0.38, h * 0.28, w * 0.22, h * 0.28, w * 0.12, h * 0.33);
    left.lineTo(w * 0.12, h * 0.85);
    left.cubicTo(w * 0.22, h * 0.80, w * 0.38, h * 0.80, w * 0.5, h * 0.87);
    left.closeSubpath();
    painter.drawPath(left);
    QPainterPath right;
    right.moveTo(w * 0.5, h * 0.35);
    right.cubicTo(w * 0.62, h * 0.28, w * 0.78, h * 0.28, w * 0.88, h * 0.33);
    right.lineTo(w * 0.88, h * 0.85);
    right.cubicTo(w * 0.78, h * 0.80, w * 0.62, h * 0.80, w * 0.5, h * 0.87);
    right.closeSubpath();
    painter.drawPath(right);

    painter.setPen(QPen(QColor(150, 150, 170), 1.5));
    for (int line = 0; line < 6; ++line) {
        const qreal y = h * (0.42 + line * 0.065);
        painter.drawLine(QPointF(w * 0.18, y), QPointF(w * 0.44, y));
        painter.drawLine(QPointF(w * 0.56, y), QPointF(w * 0.82, y));
    }

    painter.setPen(QPen(QColor(20, 140, 60), qMax(4.0, w / 30)));
    painter.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(w * 0.60, h * 0.56);
    tick.lineTo(w * 0.68, h * 0.66);
    tick.lineTo(w * 0.86, h * 0.42);
    painter.drawPath(tick);

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(int(h / 10));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, h * 0.04, w, h * 0.2), Qt::AlignCenter, u"Тест-Тавринг"_s);
    return picture;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"Form10"_s);
    setWindowTitle(u"Тест-Тавринг v 3.2"_s);
    setFixedSize(340, 330);

    Frame1 = makeControl<QGroupBox>(this, u"Frame1"_s, QRect(10, 6, 320, 266));
    Image1 = makeControl<QLabel>(Frame1, u"Image1"_s, QRect(10, 16, 300, 240));
    Image1->setPixmap(emblem(Image1->size()));

    Command1 = makeControl<QPushButton>(this, u"Command1"_s, QRect(120, 284, 100, 32), u"OK"_s);
    connect(Command1, &QPushButton::clicked, this, &AboutWindow::closed);

    DisableXbutton(this);
    SetTopmost(this, true);
    // Out of the way of the windows the student works in: the bottom right corner of the
    // screen (the window is kept inside the screen, so this puts it in the corner).
    move(AvailableArea().bottomRight());
    nameControlsForScreenReaders(this);
    applyLanguage(QString());
}

void AboutWindow::applyLanguage(const QString &language)
{
    applySpokenNames({{this, u"О программе"_s, u"About the program"_s},
                      {Image1, u"Эмблема программы"_s, u"The program's emblem"_s}},
                     language);
}
