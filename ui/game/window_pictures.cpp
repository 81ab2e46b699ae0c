#include "ui/game/window_pictures.h"

#include <QBuffer>
#include <QPainter>
#include <map>
#include <mutex>

#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_cache.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/resource_store.h"

namespace vk {
namespace {

std::optional<QByteArray> BackgroundBytes() { return ResourceBytes(ResourceKind::Jpeg, QStringLiteral("BG")); }
std::optional<QByteArray> MenuBytes() { return ResourceBytes(ResourceKind::Raw, QStringLiteral("G_BGMenu")); }

QImage BuildBackground(QSize size);
QImage BuildMenu(QSize size);

// A picture of the window's size: the name it is kept under, its source's
// bytes and how it is made from them.
struct Source {
    const char* name;
    std::optional<QByteArray> (*bytes)();
    QImage (*build)(QSize);
};
constexpr Source kBackground{"BG", BackgroundBytes, BuildBackground};
constexpr Source kMenu{"G_BGMenu", MenuBytes, BuildMenu};

// The source's bytes are hashed once a run.
quint64 HashOf(const Source& source)
{
    static std::mutex guard;
    static std::map<const char*, quint64> hashes;
    const std::lock_guard lock(guard);
    if (const auto it = hashes.find(source.name); it != hashes.end())
        return it->second;
    const auto bytes = source.bytes();
    return hashes[source.name] = bytes ? SourceHash(*bytes) : 0;
}

QImage Plain(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(ToQColor(MenuColour));
    return picture;
}

QImage BuildBackground(QSize size)
{
    const auto bytes = BackgroundBytes();
    QImage bg = bytes ? QImage::fromData(*bytes, "JPG") : QImage();
    if (bg.isNull())
        return Plain(size);
    if (bg.size() == size)
        return bg.convertToFormat(QImage::Format_RGB32);
    SmoothScaleSource source;
    source.Load(bg);
    bg = QImage();
    QImage scaled = source.ScaledTo(size.width(), size.height());
    // The background stays a JPEG picture: the resampled pixels are stored
    // encoded again, as every window then shows them.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!scaled.save(&buffer, "JPG", 90))
        return scaled.convertToFormat(QImage::Format_RGB32);
    scaled = QImage();
    QImage decoded = QImage::fromData(jpeg, "JPG");
    return decoded.isNull() ? source.ScaledTo(size.width(), size.height()).convertToFormat(QImage::Format_RGB32)
                            : decoded.convertToFormat(QImage::Format_RGB32);
}

QImage BuildMenu(QSize size)
{
    // "G_BGMenu" stretched to the window, area-averaged as every scaled
    // picture.  The conversions work in place, so that no third picture of
    // the window's size is held on the way.
    const auto bytes = MenuBytes();
    QImage picture;
    if (bytes) {
        QImage source = QImage::fromData(*bytes);
        source.convertTo(QImage::Format_RGBA8888);
        picture = source.size() == size ? std::move(source) : AreaAveragedPicture(source, size.width(), size.height());
    }
    if (picture.isNull())
        return Plain(size);
    // The menu colour shows where the picture is transparent.
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&picture);
        p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        p.fillRect(picture.rect(), ToQColor(MenuColour));
    }
    picture.convertTo(QImage::Format_RGB32);
    return picture;
}

QImage Cached(const Source& source, QSize size)
{
    if (size.isEmpty())
        return {};
    const quint64 hash = HashOf(source);
    QImage picture = ReadCachedPicture(QLatin1String(source.name), hash, size);
    if (!picture.isNull())
        return picture;
    picture = source.build(size);
    WriteCachedPicture(QLatin1String(source.name), hash, picture);
    return picture;
}

} // namespace

QImage WindowBackground(QSize size) { return Cached(kBackground, size); }

QImage MenuBackground(QSize size) { return Cached(kMenu, size); }

void PrepareWindowPictures(const std::vector<QSize>& sizes)
{
    for (const QSize size : sizes)
        for (const Source& source : {kBackground, kMenu}) {
            const quint64 hash = HashOf(source);
            const QString name = QLatin1String(source.name);
            if (!HasCachedPicture(name, hash, size))
                WriteCachedPicture(name, hash, source.build(size));
        }
}

} // namespace vk
