#pragma once
// Area-averaging resampler for pictures with alpha (a box filter): each
// target pixel is the average of the source area that lies under it, every
// source pixel weighted by how much of it is covered.  Colours are averaged
// in proportion to their alpha, so a transparent pixel lends the result none
// of its colour; a target pixel that ends up fully transparent is (0,0,0,0).
#include <cstddef>
#include <cstdint>

namespace vk {

// A picture of 8-bit R, G, B, A bytes per pixel; Stride is the distance in
// bytes from one row to the next.
struct RgbaPixels {
    std::uint8_t* Data = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0;
};

struct ConstRgbaPixels {
    const std::uint8_t* Data = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0;
};

// Fills Target (its own size decides the scale) from Source.  False, with
// Target untouched, when either picture is empty.
bool AreaAverageRgba(const ConstRgbaPixels& source, const RgbaPixels& target);

} // namespace vk
