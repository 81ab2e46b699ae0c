#include "logic/looks/bilinear.h"

#include <utility>

#include "common/rounding.h"

namespace vk {
namespace {

// Where target coordinate i samples the source: a whole index and the share
// of the next one.  The index stops one short of the last source pixel; only
// single-precision rounding at sizes in the tens of millions could otherwise
// step onto it, and there the share becomes 1 so the same pixel is taken.
struct Sample {
    int Index;
    float Share;
};

Sample SampleAt(int i, float scale, int sourceSize)
{
    const float f = static_cast<float>(i) / scale;
    Sample s{static_cast<int>(f), 0.0f};
    s.Share = f - static_cast<float>(s.Index);
    if (s.Index > sourceSize - 2) {
        s.Index = sourceSize - 2;
        s.Share = 1.0f;
    }
    return s;
}

} // namespace

void ResizeBilinear(PixelBuffer& picture, int newWidth, int newHeight)
{
    const int w = picture.Width;
    const int h = picture.Height;
    if (w <= 1 || h <= 1 || newWidth <= 1 || newHeight <= 1)
        return;

    const float sx = static_cast<float>(newWidth) / static_cast<float>(w - 1);
    const float sy = static_cast<float>(newHeight) / static_cast<float>(h - 1);
    const int channels = picture.Channels;

    PixelBuffer target;
    target.Width = newWidth;
    target.Height = newHeight;
    target.Channels = channels;
    target.Bits.resize(static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight)
                       * static_cast<std::size_t>(channels));

    for (int y = 0; y < newHeight; ++y) {
        const Sample sy0 = SampleAt(y, sy, h);
        const float wy[2] = {1.0f - sy0.Share, sy0.Share};
        for (int x = 0; x < newWidth; ++x) {
            const Sample sx0 = SampleAt(x, sx, w);
            const float wx[2] = {1.0f - sx0.Share, sx0.Share};
            const std::uint8_t* p[2][2] = {
                {picture.Pixel(sx0.Index, sy0.Index), picture.Pixel(sx0.Index + 1, sy0.Index)},
                {picture.Pixel(sx0.Index, sy0.Index + 1), picture.Pixel(sx0.Index + 1, sy0.Index + 1)},
            };
            std::uint8_t* out = target.Pixel(x, y);
            for (int ch = 0; ch < channels; ++ch) {
                double sum = 0.0;
                for (int j = 0; j < 2; ++j)
                    for (int i = 0; i < 2; ++i)
                        sum += static_cast<double>(wx[i]) * wy[j] * p[j][i][ch];
                out[ch] = static_cast<std::uint8_t>(RoundInt(sum));
            }
        }
    }
    picture = std::move(target);
}

} // namespace vk
