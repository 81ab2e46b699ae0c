#include "ui/kit/picture_cache.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QStandardPaths>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/atomic_file.h"

namespace vk {
namespace {

constexpr char kMagic[8] = {'V', 'K', 'P', 'I', 'C', '0', '2', '\n'};

// What precedes the pixels of a cached picture.
struct Header {
    char magic[8];
    quint32 width;
    quint32 height;
    quint32 format;
    quint32 bytesPerLine;
    quint64 checksum;
};

// FNV-1a over 64-bit words in four interleaved lanes (one multiply chain
// alone would wait on itself at every word): a few milliseconds for a
// full-screen picture, and any cut or changed byte shows.
quint64 Checksum(const uchar* data, qsizetype size)
{
    constexpr quint64 kPrime = 1099511628211ULL;
    quint64 lane[4] = {1469598103934665603ULL, 0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL};
    qsizetype i = 0;
    for (; i + 32 <= size; i += 32) {
        for (int k = 0; k < 4; ++k) {
            quint64 word;
            std::memcpy(&word, data + i + 8 * k, 8);
            lane[k] = (lane[k] ^ word) * kPrime;
        }
    }
    quint64 h = lane[0];
    for (int k = 1; k < 4; ++k)
        h = (h ^ lane[k]) * kPrime;
    for (; i < size; ++i)
        h = (h ^ data[i]) * kPrime;
    return (h ^ static_cast<quint64>(size)) * kPrime;
}

// A cache file mapped into memory, unmapped with the last picture on it.
struct Mapping {
    void* base;
    std::size_t length;
};

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
    // The file is mapped, not read: the picture's pixels are the file's
    // pages themselves (private, so a painter writing on the picture writes
    // on its own copy of a page), with no copy and no fresh memory to clear.
    const QByteArray path = QFile::encodeName(FilePath(name, sourceHash, size));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st {};
    const bool sized = ::fstat(fd, &st) == 0 && st.st_size > static_cast<off_t>(sizeof(Header));
    void* mapped = sized ? ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_POPULATE, fd, 0)
                         : MAP_FAILED;
    ::close(fd);
    if (mapped == MAP_FAILED)
        return {};
    const auto length = static_cast<std::size_t>(st.st_size);
    auto unmap = [](void* info) {
        auto* m = static_cast<Mapping*>(info);
        ::munmap(m->base, m->length);
        delete m;
    };
    auto* mapping = new Mapping{mapped, length};
    Header h{};
    std::memcpy(&h, mapped, sizeof h);
    const auto format = static_cast<QImage::Format>(h.format);
    const qsizetype expected = static_cast<qsizetype>(h.bytesPerLine) * size.height();
    uchar* pixels = static_cast<uchar*>(mapped) + sizeof h;
    if (std::memcmp(h.magic, kMagic, 8) != 0 || h.width != static_cast<quint32>(size.width())
        || h.height != static_cast<quint32>(size.height())
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || h.bytesPerLine != static_cast<quint32>(size.width()) * 4
        || static_cast<qsizetype>(length) != static_cast<qsizetype>(sizeof h) + expected
        || Checksum(pixels, expected) != h.checksum) {
        unmap(mapping);
        return {};
    }
    return QImage(pixels, size.width(), size.height(), static_cast<qsizetype>(h.bytesPerLine), format, unmap, mapping);
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
