#include "ui/kit/picture_cache.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QStandardPaths>
#include <cstring>

#include "common/atomic_file.h"

namespace vk {
namespace {

constexpr char kMagic[8] = {'V', 'K', 'P', 'I', 'C', '0', '1', '\n'};

// What precedes the pixels of a cached picture.
struct Header {
    char magic[8];
    quint32 width;
    quint32 height;
    quint32 format;
    quint32 bytesPerLine;
    quint64 checksum;
};

// FNV-1a over 64-bit words: fast enough to check eight megabytes in a
// couple of milliseconds, and any cut or changed byte shows.
quint64 Checksum(const uchar* data, qsizetype size)
{
    quint64 h = 1469598103934665603ULL;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        h = (h ^ word) * 1099511628211ULL;
    }
    for (; i < size; ++i)
        h = (h ^ data[i]) * 1099511628211ULL;
    return h;
}

QString FileStem(const QString& name, QSize size)
{
    return QStringLiteral("%1-%2x%3-").arg(name).arg(size.width()).arg(size.height());
}

QString FilePath(const QString& name, quint64 sourceHash, QSize size)
{
    return PictureCacheFolder() + QLatin1Char('/') + FileStem(name, size) + QString::number(sourceHash, 16)
           + QStringLiteral(".pic");
}

} // namespace

QString PictureCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/vokabron/pictures");
}

quint64 SourceHash(const QByteArray& bytes)
{
    return Checksum(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
}

QImage ReadCachedPicture(const QString& name, quint64 sourceHash, QSize size)
{
    QFile file(FilePath(name, sourceHash, size));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Header h{};
    if (file.read(reinterpret_cast<char*>(&h), sizeof h) != sizeof h || std::memcmp(h.magic, kMagic, 8) != 0
        || h.width != static_cast<quint32>(size.width()) || h.height != static_cast<quint32>(size.height())
        || (h.format != QImage::Format_RGB32 && h.format != QImage::Format_ARGB32_Premultiplied))
        return {};
    QImage picture(size, static_cast<QImage::Format>(h.format));
    if (picture.isNull() || static_cast<quint32>(picture.bytesPerLine()) != h.bytesPerLine
        || file.size() != static_cast<qint64>(sizeof h) + picture.sizeInBytes())
        return {};
    if (file.read(reinterpret_cast<char*>(picture.bits()), picture.sizeInBytes()) != picture.sizeInBytes()
        || Checksum(picture.constBits(), picture.sizeInBytes()) != h.checksum)
        return {};
    return picture;
}

bool HasCachedPicture(const QString& name, quint64 sourceHash, QSize size)
{
    return QFile::exists(FilePath(name, sourceHash, size));
}

void WriteCachedPicture(const QString& name, quint64 sourceHash, const QImage& picture)
{
    if (picture.isNull())
        return;
    const QImage pixels =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    QDir folder(PictureCacheFolder());
    if (!folder.mkpath(QStringLiteral(".")))
        return;
    // Copies of an older source at this size are of no use any more.
    const QString stem = FileStem(name, pixels.size());
    const QString path = FilePath(name, sourceHash, pixels.size());
    for (const QString& old : folder.entryList({stem + QStringLiteral("*.pic")}, QDir::Files))
        if (folder.filePath(old) != path)
            folder.remove(old);

    Header h{};
    std::memcpy(h.magic, kMagic, 8);
    h.width = static_cast<quint32>(pixels.width());
    h.height = static_cast<quint32>(pixels.height());
    h.format = static_cast<quint32>(pixels.format());
    h.bytesPerLine = static_cast<quint32>(pixels.bytesPerLine());
    h.checksum = Checksum(pixels.constBits(), pixels.sizeInBytes());
    std::string bytes(sizeof h + static_cast<std::size_t>(pixels.sizeInBytes()), '\0');
    std::memcpy(bytes.data(), &h, sizeof h);
    std::memcpy(bytes.data() + sizeof h, pixels.constBits(), static_cast<std::size_t>(pixels.sizeInBytes()));
    WriteFileAtomically(path.toStdString(), bytes);
}

} // namespace vk
