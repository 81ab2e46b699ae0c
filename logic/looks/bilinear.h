#pragma once
// The smooth resize of PNG pictures: a plain bilinear resample whose scale
// factors are single precision and divide by the old size minus one, so the
// last source row and column are reached exactly and never passed.
#include <cstdint>
#include <vector>

namespace vk {

// 8-bit channels, rows packed without filler.
struct PixelBuffer {
    int Width = 0;
    int Height = 0;
    int Channels = 0; // 3 for RGB, 4 for RGB with alpha
    std::vector<std::uint8_t> Bits;

    std::uint8_t* Pixel(int x, int y) { return Bits.data() + (static_cast<std::size_t>(y) * Width + x) * Channels; }
    const std::uint8_t* Pixel(int x, int y) const
    {
        return Bits.data() + (static_cast<std::size_t>(y) * Width + x) * Channels;
    }
};

// Replaces picture by its bilinear resample at newWidth x newHeight.  A
// picture of width or height 1 or less, or a new size of 1 or less, is left
// as it is.
void ResizeBilinear(PixelBuffer& picture, int newWidth, int newHeight);

} // namespace vk
