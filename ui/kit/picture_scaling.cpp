#include "ui/kit/picture_scaling.h"

#include <QPainter>
#include <cstring>

#include "logic/looks/bilinear.h"
#include "logic/looks/resample.h"

namespace vk {
namespace {

// The PNG header keeps what the decoder hides: Qt hands grey with alpha over
// as ARGB32 and 16-bit pictures as 64-bit formats.
const QString kColourTypeKey = QStringLiteral("PngColourType");
const QString kBitDepthKey = QStringLiteral("PngBitDepth");
constexpr int kPngRgb = 2;
constexpr int kPngRgbAlpha = 6;

// Pictures made in memory (not decoded from a PNG) qualify by their format:
// eight bits for each of red, green and blue.
bool HasEightBitColourChannels(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied: return true;
    default: return false;
    }
}

bool IsRgbOrRgbAlpha(const QImage& picture)
{
    const QString colourType = picture.text(kColourTypeKey);
    if (colourType.isEmpty())
        return HasEightBitColourChannels(picture.format());
    const int type = colourType.toInt();
    return (type == kPngRgb || type == kPngRgbAlpha) && picture.text(kBitDepthKey).toInt() == 8;
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

void SmoothScaleSource::Load(const QImage& source)
{
    QImage bitmap(source.size(), QImage::Format_RGB32);
    if (!bitmap.isNull()) {
        bitmap.fill(Qt::black);
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, source);
    }
    LoadDIB(dib_, bitmap);
}

QImage SmoothScaleSource::ScaledTo(int W, int H) const
{
    if (W <= 0 || H <= 0)
        return {};
    QImage bitmap(W, H, QImage::Format_RGB32);
    QPainter painter(&bitmap);
    if (Size() == QSize(W, H)) {
        // Already of that size: the pixels as they are.
        DrawDIB(dib_, painter, 0, 0);
        return bitmap;
    }
    TFastDIB b;
    b.SetSize(W, H, TFastDIB::kBitsPerPixel);
    ResampleDIB(dib_, b, kSpline36Filter);
    DrawDIB(b, painter, 0, 0);
    return bitmap;
}

void ScalePictureSmooth(const QImage& source, QImage& destination, int W, int H)
{
    if (source.size() == QSize(W, H)) {
        destination = source;
        return;
    }
    SmoothScaleSource prepared;
    prepared.Load(source);
    destination = prepared.ScaledTo(W, H);
}

QImage DecodePng(const QByteArray& bytes)
{
    QImage picture = QImage::fromData(bytes, "PNG");
    // The header: signature (8), chunk length and type (8), width, height,
    // then bit depth at 24 and colour type at 25.
    if (!picture.isNull() && bytes.size() > 25 && bytes.mid(12, 4) == "IHDR") {
        picture.setText(kBitDepthKey, QString::number(static_cast<unsigned char>(bytes[24])));
        picture.setText(kColourTypeKey, QString::number(static_cast<unsigned char>(bytes[25])));
    }
    return picture;
}

std::optional<QString> ResizePngSmooth(QImage& picture, int newWidth, int newHeight)
{
    if (picture.width() <= 1 || picture.height() <= 1 || newWidth <= 1 || newHeight <= 1)
        return std::nullopt;
    if (!IsRgbOrRgbAlpha(picture))
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
    const QString colourType = picture.text(kColourTypeKey);
    const QString bitDepth = picture.text(kBitDepthKey);
    picture = resized.convertToFormat(original);
    if (!colourType.isEmpty()) {
        // Still a PNG picture of the same colour type.
        picture.setText(kColourTypeKey, colourType);
        picture.setText(kBitDepthKey, bitDepth);
    }
    return std::nullopt;
}

} // namespace vk
