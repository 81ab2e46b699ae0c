#include "presentation/picture_scaling.h"

#include <QPainter>
#include <cstring>

#include "presentation/bilinear.h"
#include "presentation/resample.h"

namespace vk {
namespace {

// The PNG colour types the bilinear resize works on are RGB and RGB with
// alpha; Qt decodes the others (palette, grey) into these formats.
bool HasColourChannels(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
    case QImage::Format_Alpha8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return false;
    default:
        return true;
    }
}

std::size_t RowLength(const QImage& image)
{
    return static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.depth() / 8);
}

} // namespace

void LoadDIB(TFastDIB& dib, const QImage& image)
{
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    dib.SetSize(bgr.width(), -bgr.height(), TFastDIB::kBitsPerPixel);
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(dib.Scanline(y), bgr.constScanLine(y), RowLength(bgr));
}

void DrawDIB(const TFastDIB& dib, QPainter& painter, int x, int y)
{
    QImage bgr(dib.Width(), dib.AbsHeight(), QImage::Format_BGR888);
    for (int row = 0; row < bgr.height(); ++row)
        std::memcpy(bgr.scanLine(row), dib.Scanline(row), RowLength(bgr));
    painter.drawImage(x, y, bgr);
}

void ScalePictureSmooth(const QImage& source, QImage& destination, int W, int H)
{
    if (source.size() == QSize(W, H)) {
        destination = source;
        return;
    }
    if (W <= 0 || H <= 0) {
        destination = QImage();
        return;
    }
    QImage bitmap(source.size(), QImage::Format_RGB32);
    TFastDIB a;
    if (!bitmap.isNull()) {
        bitmap.fill(Qt::black);
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, source);
    }
    LoadDIB(a, bitmap);
    TFastDIB b;
    b.SetSize(W, H, TFastDIB::kBitsPerPixel);
    ResampleDIB(a, b, kSpline36Filter);

    bitmap = QImage(W, H, QImage::Format_RGB32);
    {
        QPainter painter(&bitmap);
        DrawDIB(b, painter, 0, 0);
    }
    destination = bitmap;
}

std::optional<QString> ResizePngSmooth(QImage& picture, int newWidth, int newHeight)
{
    if (picture.width() <= 1 || picture.height() <= 1 || newWidth <= 1 || newHeight <= 1)
        return std::nullopt;
    if (!HasColourChannels(picture.format()))
        return QStringLiteral("Only COLOR_RGBALPHA and COLOR_RGB formats are supported");

    const QImage::Format original = picture.format();
    const bool alpha = picture.hasAlphaChannel();
    const QImage packed = picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);

    PixelBuffer buffer;
    buffer.Width = packed.width();
    buffer.Height = packed.height();
    buffer.Channels = alpha ? 4 : 3;
    const std::size_t rowLength = RowLength(packed);
    buffer.Bits.resize(rowLength * static_cast<std::size_t>(buffer.Height));
    for (int y = 0; y < buffer.Height; ++y)
        std::memcpy(buffer.Pixel(0, y), packed.constScanLine(y), rowLength);

    QImage resized(newWidth, newHeight, packed.format());
    if (resized.isNull())
        return QStringLiteral("Out of memory for a %1 x %2 picture").arg(newWidth).arg(newHeight);
    ResizeBilinear(buffer, newWidth, newHeight);
    for (int y = 0; y < buffer.Height; ++y)
        std::memcpy(resized.scanLine(y), buffer.Pixel(0, y), RowLength(resized));
    picture = resized.convertToFormat(original);
    return std::nullopt;
}

} // namespace vk
