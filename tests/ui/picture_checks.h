#pragma once
// Checks of what the club's windows draw: whether a picture stands on a
// canvas, and how many pixels of a colour a part of it holds.
#include <QImage>

#include "ui/kit/picture_scaling.h"
#include "ui/kit/resource_store.h"

namespace testsupport {

inline QImage ResourcePicture(const char* name, vk::ResourceKind kind = vk::ResourceKind::Raw)
{
    const auto bytes = vk::ResourceBytes(kind, QString::fromLatin1(name));
    return bytes ? vk::DecodePng(*bytes).convertToFormat(QImage::Format_ARGB32) : QImage();
}

// Whether every opaque pixel of the picture stands unchanged on the canvas
// with the picture's top-left corner at `at` (and the picture has some).
inline bool PictureStandsAt(const QImage& canvas, const QImage& picture, QPoint at)
{
    const QImage c = canvas.convertToFormat(QImage::Format_ARGB32);
    const QImage pic = picture.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            if (qAlpha(pic.pixel(x, y)) != 255)
                continue;
            ++opaque;
            if (!c.rect().contains(at + QPoint(x, y)) || (c.pixel(at + QPoint(x, y)) | 0xFF000000) != pic.pixel(x, y))
                return false;
        }
    return opaque > 0;
}

} // namespace testsupport
