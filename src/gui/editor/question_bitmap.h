#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// The picture of a question as the ticket keeps it: a Windows bitmap. A bitmap keeps no
// transparency, so transparent parts become white, as the picture is shown on a light
// background. Empty when the picture could not be converted.
QByteArray questionBitmap(const QImage &image);

// The bitmap of a picture's file bytes in any format the picture loader reads; nothing when
// they are no picture. Safe to call off the user-interface thread.
std::optional<QByteArray> questionBitmapOf(const QByteArray &pictureBytes);
