#include "logic/looks/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/rounding.h"

namespace vk {

// --- TFastDIB ---------------------------------------------------------------

namespace {

// Slack after the last row, so that a vector load that starts on the last
// pixel never reads outside the allocation.
constexpr std::size_t kTailSlack = 32;

} // namespace

TFastDIB::TFastDIB(const TFastDIB& other)
    : width_(other.width_), height_(other.height_), rowBytes_(other.rowBytes_), bits_(other.bits_)
{
    BuildRowTable();
}

TFastDIB& TFastDIB::operator=(const TFastDIB& other)
{
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        rowBytes_ = other.rowBytes_;
        bits_ = other.bits_;
        BuildRowTable();
    }
    return *this;
}

TFastDIB::TFastDIB(TFastDIB&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      rowBytes_(std::exchange(other.rowBytes_, 0)), bits_(std::move(other.bits_)), rows_(std::move(other.rows_))
{
    other.bits_.clear();
    other.rows_.clear();
}

TFastDIB& TFastDIB::operator=(TFastDIB&& other) noexcept
{
    if (this != &other) {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        rowBytes_ = std::exchange(other.rowBytes_, 0);
        bits_ = std::move(other.bits_);
        rows_ = std::move(other.rows_);
        other.bits_.clear();
        other.rows_.clear();
    }
    return *this;
}

bool TFastDIB::SetSize(int width, int height, int bitsPerPixel)
{
    if (bitsPerPixel != kBitsPerPixel || width < 0)
        return false;
    width_ = width;
    height_ = height;
    rowBytes_ = (width * 3 + 3) & ~3;
    bits_.assign(static_cast<std::size_t>(rowBytes_) * static_cast<std::size_t>(AbsHeight()) + kTailSlack, 0);
    BuildRowTable();
    return true;
}

void TFastDIB::BuildRowTable()
{
    const int h = AbsHeight();
    rows_.resize(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const int stored = height_ < 0 ? y : h - 1 - y;
        rows_[static_cast<std::size_t>(y)] =
            bits_.data() + static_cast<std::size_t>(stored) * static_cast<std::size_t>(rowBytes_);
    }
}

// --- The filter and its contribution lists --------------------------------

double Spline36(double x)
{
    const double t = std::fabs(x);
    if (t < 1.0)
        return ((13.0 / 11.0 * t - 453.0 / 209.0) * t - 3.0 / 209.0) * t + 1.0;
    if (t < 2.0) {
        const double u = t - 1.0;
        return ((-6.0 / 11.0 * u + 270.0 / 209.0) * u - 156.0 / 209.0) * u;
    }
    if (t < 3.0) {
        const double u = t - 2.0;
        return ((1.0 / 11.0 * u - 45.0 / 209.0) * u + 26.0 / 209.0) * u;
    }
    return 0.0;
}

std::vector<ContributionList> BuildContributions(int sourceSize, int destSize, const ResampleFilter& filter)
{
    std::vector<ContributionList> lists;
    if (sourceSize <= 0 || destSize <= 0)
        return lists;
    const double c = static_cast<double>(destSize) / static_cast<double>(sourceSize);
    const bool upscaling = c >= 1.0;
    const double d = upscaling ? filter.Radius : filter.Radius / c;
    const int n = 2 * static_cast<int>(std::trunc(d)) + 1;

    lists.resize(static_cast<std::size_t>(destSize));
    for (int x = 0; x < destSize; ++x) {
        ContributionList& list = lists[static_cast<std::size_t>(x)];
        const double g = x / c - (1.0 - 1.0 / c) * 0.5;
        const int first = n == 1 ? RoundInt(g) : static_cast<int>(std::ceil(g - d));
        list.Centre = g;
        list.Taps.resize(static_cast<std::size_t>(n));
        long long total = 0;
        for (int k = 0; k < n; ++k) {
            const int i = first + k;
            int weight = 0;
            if (i >= 0 && i < sourceSize) {
                weight = upscaling ? RoundInt(filter.Kernel(g - i) * 65536.0)
                                   : RoundInt(c * filter.Kernel(c * (g - i)) * 65536.0);
            }
            list.Taps[static_cast<std::size_t>(k)] = {i, weight};
            total += weight;
        }
        list.Total = total > 0 ? static_cast<int>(total) : 1;
    }
    return lists;
}

// --- The passes -------------------------------------------------------------

namespace detail {

FixedDivisor::FixedDivisor(std::int32_t total) : total_(total), half_(total >> 1)
{
    if (total > kMaxTotal) {
        divide_ = true;
        return;
    }
    // With 2^shift >= 256 * total^2 the rounded-up reciprocal's excess times
    // any numerator below 256 * total stays under 2^shift, which keeps every
    // floor exact; the product stays below 2^63.
    const std::uint64_t t = static_cast<std::uint64_t>(total);
    const std::uint64_t bound = 256 * t * t;
    while ((std::uint64_t{1} << shift_) < bound)
        ++shift_;
    multiplier_ = static_cast<std::uint32_t>(((std::uint64_t{1} << shift_) + t - 1) / t);
    limit_ = 256 * total - 1;
}

} // namespace detail

namespace {

using detail::FixedDivisor;

// A contribution list as the inner loops want it: the taps that weigh
// something, as one run of consecutive source lines (the zero taps at either
// end dropped; a zero inside the run adds nothing), and the final division.
struct TapRun {
    int Start = 0;
    int Count = 0;
    std::size_t Offset = 0; // into the pass's weight tables
    FixedDivisor Divide{1};
};

// The vector code multiplies 16-bit pixel pairs by 16-bit weight pairs, so
// each weight is split as 256 * High + Low with Low in 0 .. 255; the two
// partial sums recombine exactly.  Each table entry holds the halves of two
// consecutive taps (the first in the low 16 bits); an odd run ends on a
// zero-weight partner.
struct PassPlan {
    std::vector<TapRun> Runs;
    std::vector<std::int32_t> Weights;
    std::vector<std::uint32_t> HighPairs;
    std::vector<std::uint32_t> LowPairs;
    bool Split = true; // every weight and total fits the vector code
};

constexpr std::int32_t kSplitLimit = 1 << 23; // High stays a signed 16-bit value

std::uint32_t PairOf(std::int32_t first, std::int32_t second)
{
    return static_cast<std::uint16_t>(first) | (static_cast<std::uint32_t>(static_cast<std::uint16_t>(second)) << 16);
}

PassPlan PlanPass(int sourceSize, int destSize, const ResampleFilter& filter)
{
    PassPlan plan;
    const auto lists = BuildContributions(sourceSize, destSize, filter);
    plan.Runs.reserve(lists.size());
    for (const ContributionList& list : lists) {
        const auto nonZero = [](const Contribution& tap) { return tap.Weight != 0; };
        const auto begin = std::find_if(list.Taps.begin(), list.Taps.end(), nonZero);
        const auto end = std::find_if(list.Taps.rbegin(), list.Taps.rend(), nonZero).base();
        TapRun run;
        run.Offset = plan.Weights.size();
        run.Divide = FixedDivisor(list.Total);
        plan.Split = plan.Split && !run.Divide.Divides();
        if (begin < end) {
            run.Start = begin->Pixel;
            run.Count = static_cast<int>(end - begin);
            for (auto tap = begin; tap != end; ++tap) {
                plan.Weights.push_back(tap->Weight);
                plan.Split = plan.Split && tap->Weight > -kSplitLimit && tap->Weight < kSplitLimit;
            }
            // Pad to a whole number of pairs; the pair tables share Offset.
            if (run.Count % 2 != 0)
                plan.Weights.push_back(0);
        }
        plan.Runs.push_back(run);
    }
    for (std::size_t k = 0; k + 1 < plan.Weights.size(); k += 2) {
        const std::int32_t a = plan.Weights[k];
        const std::int32_t b = plan.Weights[k + 1];
        plan.HighPairs.push_back(PairOf(a >> 8, b >> 8));
        plan.LowPairs.push_back(PairOf(a & 0xFF, b & 0xFF));
    }
    return plan;
}

// out[j] = the division of the sum over the run's taps k of
// weight(k) x first[k x stride + j], for j below count: one destination row
// from source rows, or one destination column of a block of rows from the
// block's transposed columns.
void FilterLinesPlain(const std::uint8_t* first, std::ptrdiff_t stride, const TapRun& run, const PassPlan& plan,
                      std::size_t count, std::uint8_t* out)
{
    const std::int32_t* weights = plan.Weights.data() + run.Offset;
    for (std::size_t j = 0; j < count; ++j) {
        std::int32_t sum = 0;
        const std::uint8_t* p = first + j;
        for (int k = 0; k < run.Count; ++k, p += stride)
            sum += weights[k] * *p;
        out[j] = run.Divide(sum);
    }
}

#if defined(__SSE2__)

// Four sums to four quotients, as FixedDivisor does it.
inline __m128i DivideLanes(__m128i sum, __m128i half, __m128i limit, __m128i multiplier, __m128i shift)
{
    __m128i a = _mm_add_epi32(sum, half);
    a = _mm_and_si128(a, _mm_cmpgt_epi32(a, _mm_setzero_si128()));
    const __m128i over = _mm_cmpgt_epi32(a, limit);
    a = _mm_or_si128(_mm_andnot_si128(over, a), _mm_and_si128(over, limit));
    const __m128i even = _mm_srl_epi64(_mm_mul_epu32(a, multiplier), shift);
    const __m128i odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(a, 32), multiplier), shift);
    return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
}

// FilterLinesPlain sixteen bytes at a time.  Loads may run up to 15 bytes
// past count (the buffers carry slack for it); stores never do.
void FilterLinesVector(const std::uint8_t* first, std::ptrdiff_t stride, const TapRun& run, const PassPlan& plan,
                       std::size_t count, std::uint8_t* out)
{
    const std::uint32_t* high = plan.HighPairs.data() + run.Offset / 2;
    const std::uint32_t* low = plan.LowPairs.data() + run.Offset / 2;
    const int pairs = (run.Count + 1) / 2;
    const FixedDivisor& divide = run.Divide;
    const __m128i half = _mm_set1_epi32(divide.Half());
    const __m128i limit = _mm_set1_epi32(divide.Limit());
    const __m128i multiplier = _mm_set1_epi32(static_cast<int>(divide.Multiplier()));
    const __m128i shift = _mm_cvtsi32_si128(divide.Shift());
    const __m128i zero = _mm_setzero_si128();

    for (std::size_t j = 0; j < count; j += 16) {
        __m128i h0 = zero, h1 = zero, h2 = zero, h3 = zero;
        __m128i l0 = zero, l1 = zero, l2 = zero, l3 = zero;
        const std::uint8_t* line = first + j;
        for (int p = 0; p < pairs; ++p, line += 2 * stride) {
            // The partner of an odd run's last tap weighs nothing; reading
            // the same line again keeps the load inside the source.
            const std::uint8_t* second = 2 * p + 1 < run.Count ? line + stride : line;
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second));
            const __m128i aLow = _mm_unpacklo_epi8(a, zero);
            const __m128i aHigh = _mm_unpackhi_epi8(a, zero);
            const __m128i bLow = _mm_unpacklo_epi8(b, zero);
            const __m128i bHigh = _mm_unpackhi_epi8(b, zero);
            const __m128i p0 = _mm_unpacklo_epi16(aLow, bLow);
            const __m128i p1 = _mm_unpackhi_epi16(aLow, bLow);
            const __m128i p2 = _mm_unpacklo_epi16(aHigh, bHigh);
            const __m128i p3 = _mm_unpackhi_epi16(aHigh, bHigh);
            const __m128i wh = _mm_set1_epi32(static_cast<int>(high[p]));
            const __m128i wl = _mm_set1_epi32(static_cast<int>(low[p]));
            h0 = _mm_add_epi32(h0, _mm_madd_epi16(p0, wh));
            h1 = _mm_add_epi32(h1, _mm_madd_epi16(p1, wh));
            h2 = _mm_add_epi32(h2, _mm_madd_epi16(p2, wh));
            h3 = _mm_add_epi32(h3, _mm_madd_epi16(p3, wh));
            l0 = _mm_add_epi32(l0, _mm_madd_epi16(p0, wl));
            l1 = _mm_add_epi32(l1, _mm_madd_epi16(p1, wl));
            l2 = _mm_add_epi32(l2, _mm_madd_epi16(p2, wl));
            l3 = _mm_add_epi32(l3, _mm_madd_epi16(p3, wl));
        }
        const auto quotient = [&](__m128i h, __m128i l) {
            return DivideLanes(_mm_add_epi32(_mm_slli_epi32(h, 8), l), half, limit, multiplier, shift);
        };
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(quotient(h0, l0), quotient(h1, l1)),
                                               _mm_packs_epi32(quotient(h2, l2), quotient(h3, l3)));
        if (j + 16 <= count) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), bytes);
        } else {
            alignas(16) std::uint8_t tail[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(tail), bytes);
            std::memcpy(out + j, tail, count - j);
        }
    }
}

void FilterLines(const std::uint8_t* first, std::ptrdiff_t stride, const TapRun& run, const PassPlan& plan,
                 std::size_t count, std::uint8_t* out)
{
    if (plan.Split)
        FilterLinesVector(first, stride, run, plan, count, out);
    else
        FilterLinesPlain(first, stride, run, plan, count, out);
}

#else

void FilterLines(const std::uint8_t* first, std::ptrdiff_t stride, const TapRun& run, const PassPlan& plan,
                 std::size_t count, std::uint8_t* out)
{
    FilterLinesPlain(first, stride, run, plan, count, out);
}

#endif

// Rows are filtered along the row a block at a time: the block's columns are
// first laid out one after the other (each column the block's pixels top to
// bottom), so that every tap becomes one contiguous load for all its rows.
constexpr int kBlockRows = 16;
constexpr std::ptrdiff_t kColumnBytes = kBlockRows * 3;

// Pixels move between rows and columns as 4-byte words, the fourth byte
// landing where the next pixel is written afterwards: the next row's pixel
// in a column, the next column's pixel in a row (the buffers' slack takes the
// very last one).
inline void CopyPixelWord(std::uint8_t* to, const std::uint8_t* from) { std::memcpy(to, from, 4); }

void HorizontalPass(const TFastDIB& source, TFastDIB& between, const PassPlan& plan)
{
    const int sw = source.Width();
    const int sh = source.AbsHeight();
    const int dw = between.Width();
    std::vector<std::uint8_t> columns(static_cast<std::size_t>(sw) * kColumnBytes + kTailSlack);
    alignas(16) std::uint8_t result[kColumnBytes + 1];
    const std::uint8_t* in[kBlockRows];
    std::uint8_t* out[kBlockRows];
    for (int y0 = 0; y0 < sh; y0 += kBlockRows) {
        const int rows = std::min(kBlockRows, sh - y0);
        for (int r = 0; r < rows; ++r) {
            in[r] = source.Scanline(y0 + r);
            out[r] = between.Scanline(y0 + r);
        }
        std::uint8_t* q = columns.data();
        for (int i = 0; i < sw; ++i, q += kColumnBytes)
            for (int r = 0; r < rows; ++r)
                CopyPixelWord(q + 3 * r, in[r] + 3 * i);
        for (int x = 0; x < dw; ++x) {
            const TapRun& run = plan.Runs[static_cast<std::size_t>(x)];
            FilterLines(columns.data() + run.Start * kColumnBytes, kColumnBytes, run, plan, kColumnBytes, result);
            // Each row's next pixel overwrites the spare byte; after the
            // last pixel it would fall on the next row's first one.
            if (x + 1 < dw) {
                for (int r = 0; r < rows; ++r)
                    CopyPixelWord(out[r] + 3 * x, result + 3 * r);
            } else {
                for (int r = 0; r < rows; ++r)
                    std::memcpy(out[r] + 3 * x, result + 3 * r, 3);
            }
        }
    }
}

void VerticalPass(const TFastDIB& between, TFastDIB& destination, const PassPlan& plan)
{
    // between is stored top-down, so its rows are evenly spaced.
    const std::ptrdiff_t stride = between.RowBytes();
    const std::size_t count = static_cast<std::size_t>(destination.Width()) * 3;
    for (std::size_t y = 0; y < plan.Runs.size(); ++y) {
        const TapRun& run = plan.Runs[y];
        FilterLines(between.Scanline(0) + run.Start * stride, stride, run, plan, count,
                    destination.Scanline(static_cast<int>(y)));
    }
}

} // namespace

void ResampleDIB(const TFastDIB& source, TFastDIB& destination, const ResampleFilter& filter)
{
    const int sw = source.Width();
    const int sh = source.AbsHeight();
    const int dw = destination.Width();
    const int dh = destination.AbsHeight();
    if (dw == 0 || dh == 0)
        return;
    if (sw == 0 || sh == 0) {
        for (int y = 0; y < dh; ++y)
            std::memset(destination.Scanline(y), 0, static_cast<std::size_t>(dw) * 3);
        return;
    }

    TFastDIB between;
    between.SetSize(dw, -sh, TFastDIB::kBitsPerPixel);
    HorizontalPass(source, between, PlanPass(sw, dw, filter));
    VerticalPass(between, destination, PlanPass(sh, dh, filter));
}

} // namespace vk
