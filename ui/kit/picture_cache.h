#pragma once
// Pictures already scaled to a window's size, kept between runs in the
// player's cache folder (XDG cache: ~/.cache/<program>/pictures), so that a
// start or a change of the window size reads a picture of the window's size
// instead of decoding and resampling the full one.
//
// A cached picture is named by its source picture, the hash of the source's
// bytes and its size: a changed source is simply not found.  A file that is
// cut short or damaged fails its checksum and counts as missing; the caller
// builds the picture again and writes it over.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vk {

// The folder the pictures are kept in.
QString PictureCacheFolder();

// A hash of a source picture's bytes, naming its scaled copies.
quint64 SourceHash(const QByteArray& bytes);

// The picture `name` made from the source of `sourceHash` at `size`, or a
// null picture when there is none that is whole.
QImage ReadCachedPicture(const QString& name, quint64 sourceHash, QSize size);

// Whether a picture is kept for these (its pixels are checked only when read).
bool HasCachedPicture(const QString& name, quint64 sourceHash, QSize size);

// Keeps `picture` (of its own size) for the next reads; copies made from an
// older source at that size go.  A cache that cannot be written is no
// fault: the picture is built again next time.
void WriteCachedPicture(const QString& name, quint64 sourceHash, const QImage& picture);

} // namespace vk
