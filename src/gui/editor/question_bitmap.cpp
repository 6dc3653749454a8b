#include "gui/editor/question_bitmap.h"

#include <QBuffer>
#include <QPainter>

QByteArray questionBitmap(const QImage &image)
{
    if (image.isNull())
        return {};
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    if (!flat.save(&buffer, "BMP"))
        return {};
    return bitmap;
}

std::optional<QByteArray> questionBitmapOf(const QByteArray &pictureBytes)
{
    QImage image;
    if (!image.loadFromData(pictureBytes))
        return std::nullopt;
    QByteArray bitmap = questionBitmap(image);
    if (bitmap.isEmpty())
        return std::nullopt;
    return bitmap;
}
