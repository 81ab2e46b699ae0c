// PNG pictures: decoded with their header's colour type and depth, then
// resized the way the game resizes them.
#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>

#include "ui/kit/picture_scaling.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QImage picture = vk::DecodePng(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
    // Keep the work per input small: the decoder itself bounds nothing.
    if (picture.isNull() || static_cast<long long>(picture.width()) * picture.height() > 256 * 256)
        return 0;
    (void)vk::ResizePngSmooth(picture, picture.width() / 2 + 2, picture.height() * 2 / 3 + 2);
    return 0;
}
