#pragma once
// The two-pass filtered resampler that fits the window background to the
// window, on 24-bit pixel buffers.  The output is defined to the bit: the
// fixed-point weights, their renormalisation, the integer rounding and the
// clamping below are all part of it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vk {

// A 24-bit pixel buffer: rows padded to a multiple of 4 bytes, pixels stored
// blue, green, red, and a row table whose entry 0 is the top row whatever the
// storage order.
class TFastDIB {
public:
    static constexpr int kBitsPerPixel = 24;

    TFastDIB() = default;
    TFastDIB(const TFastDIB& other);
    TFastDIB& operator=(const TFastDIB& other);
    TFastDIB(TFastDIB&& other) noexcept;
    TFastDIB& operator=(TFastDIB&& other) noexcept;

    // A negative height stores the rows top-down, a positive one bottom-up;
    // the pixels start black.  Only 24 bits per pixel are supported; anything
    // else, or a negative width, leaves the buffer as it was and fails.
    bool SetSize(int width, int height, int bitsPerPixel);

    int Width() const { return width_; }
    int Height() const { return height_; } // as given to SetSize, sign included
    int AbsHeight() const { return height_ < 0 ? -height_ : height_; }
    int Bpp() const { return kBitsPerPixel; }
    int RowGap() const { return rowBytes_ - width_ * 3; }
    int RowBytes() const { return rowBytes_; } // pixels and gap

    std::uint8_t* Scanline(int y) { return rows_[static_cast<std::size_t>(y)]; }
    const std::uint8_t* Scanline(int y) const { return rows_[static_cast<std::size_t>(y)]; }

private:
    void BuildRowTable();

    int width_ = 0;
    int height_ = 0;
    int rowBytes_ = 0;
    std::vector<std::uint8_t> bits_;
    std::vector<std::uint8_t*> rows_;
};

// A symmetric filter kernel and its support radius in source pixels.
struct ResampleFilter {
    double (*Kernel)(double x);
    double Radius;
};

// The Spline36 kernel, evaluated in double precision; zero from |x| = 3 on.
double Spline36(double x);
inline constexpr ResampleFilter kSpline36Filter{&Spline36, 3.0};

// One source pixel's share of a destination pixel, in 16.16 fixed point.
struct Contribution {
    int Pixel;
    int Weight;
};

// The taps of one destination column (or row): all of them, including those
// that fall outside the source and so weigh nothing.
struct ContributionList {
    double Centre;
    std::vector<Contribution> Taps;
    int Total; // sum of the weights, 1 when that is not positive
};

// The contribution lists of one pass from sourceSize to destSize pixels.
std::vector<ContributionList> BuildContributions(int sourceSize, int destSize, const ResampleFilter& filter);

// Resamples source into destination at the destination's present size:
// horizontally into an intermediate buffer, then vertically.  An empty source
// leaves the destination black.  Source and destination must be different
// buffers.
void ResampleDIB(const TFastDIB& source, TFastDIB& destination, const ResampleFilter& filter);

namespace detail {

// clamp(trunc((sum + total / 2) / total), 0, 255) without a division per
// value: a multiply by a rounded-up reciprocal, exact for every sum once the
// numerator is confined to where the quotient is 0 .. 255.  Totals above
// kMaxTotal (which no Spline36 list reaches) divide instead.
class FixedDivisor {
public:
    static constexpr std::int32_t kMaxTotal = (1 << 23) - 1;

    explicit FixedDivisor(std::int32_t total);

    std::uint8_t operator()(std::int32_t sum) const
    {
        std::int32_t a = sum + half_;
        if (divide_) {
            const std::int32_t q = a / total_;
            return static_cast<std::uint8_t>(q < 0 ? 0 : (q > 255 ? 255 : q));
        }
        a = a < 0 ? 0 : (a > limit_ ? limit_ : a);
        return static_cast<std::uint8_t>((static_cast<std::uint64_t>(a) * multiplier_) >> shift_);
    }

    // The parts, for vector code; meaningful when Divides() is false.
    bool Divides() const { return divide_; }
    std::int32_t Half() const { return half_; }
    std::int32_t Limit() const { return limit_; } // 256 * total - 1
    std::uint32_t Multiplier() const { return multiplier_; }
    int Shift() const { return shift_; }

private:
    std::int32_t total_;
    std::int32_t half_;
    std::int32_t limit_ = 0;
    std::uint32_t multiplier_ = 0; // below 512 * total, so below 2^32
    int shift_ = 0;
    bool divide_ = false;
};

} // namespace detail

} // namespace vk
