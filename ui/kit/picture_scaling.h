#pragma once
// Smooth picture scaling on Qt pictures: the filtered resampler for the
// window background, the bilinear resize for PNG pictures, and the moves of
// pixels between QImage and the 24-bit buffers.
#include <QImage>
#include <QString>
#include <optional>

#include "logic/looks/resample.h"

class QPainter;

namespace vk {

// Copies image's pixels into dib as 24-bit rows (alpha is dropped, not
// blended: draw onto an opaque picture first where that matters).
void LoadDIB(TFastDIB& dib, const QImage& image);

// Draws dib's pixels onto painter's device with the top-left corner at (x, y).
void DrawDIB(const TFastDIB& dib, QPainter& painter, int x, int y);

// A picture made ready once for smooth scaling to any number of sizes (the
// window background at every change of the window size): drawn onto black
// and kept as 24-bit rows.
class SmoothScaleSource {
public:
    void Load(const QImage& source);
    bool IsNull() const { return dib_.Width() == 0; }
    QSize Size() const { return QSize(dib_.Width(), dib_.AbsHeight()); }
    // The picture resampled to W x H with the Spline36 filter; at its own
    // size, unchanged.
    QImage ScaledTo(int W, int H) const;

private:
    TFastDIB dib_;
};

// Makes destination a W x H version of source through the Spline36
// resampler, the source's transparent parts showing black.  A source already
// of that size is copied as it is.  source and destination may be the same
// picture.
void ScalePictureSmooth(const QImage& source, QImage& destination, int W, int H);

// Decodes PNG bytes and remembers the file's colour type and bit depth with
// the picture, for ResizePngSmooth.
QImage DecodePng(const QByteArray& bytes);

// Replaces picture by its bilinear resample at newWidth x newHeight, in its
// own format.  Nothing changes when either size is 1 or less.  Only 8-bit RGB
// and RGB with alpha are resized: any other PNG (palette, grey, grey with
// alpha, 16-bit) is refused with the error text the caller reports; nullopt
// means done.
[[nodiscard]] std::optional<QString> ResizePngSmooth(QImage& picture, int newWidth, int newHeight);

} // namespace vk
