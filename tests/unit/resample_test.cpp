#include "logic/looks/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "common/rounding.h"

using vk::TFastDIB;

namespace {

using Bgr = std::array<int, 3>;

TFastDIB MakeDIB(int width, int height)
{
    TFastDIB dib;
    EXPECT_TRUE(dib.SetSize(width, height, 24));
    return dib;
}

Bgr PixelAt(const TFastDIB& dib, int x, int y)
{
    const std::uint8_t* p = dib.Scanline(y) + x * 3;
    return {p[0], p[1], p[2]};
}

void SetPixel(TFastDIB& dib, int x, int y, Bgr bgr)
{
    std::uint8_t* p = dib.Scanline(y) + x * 3;
    for (int ch = 0; ch < 3; ++ch)
        p[ch] = static_cast<std::uint8_t>(bgr[static_cast<std::size_t>(ch)]);
}

TFastDIB RandomDIB(int width, int height, unsigned seed, int maximum = 255)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, maximum);
    TFastDIB dib = MakeDIB(width, height);
    for (int y = 0; y < dib.AbsHeight(); ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dib, x, y, {byte(random), byte(random), byte(random)});
    return dib;
}

TFastDIB Resampled(const TFastDIB& source, int width, int height,
                   const vk::ResampleFilter& filter = vk::kSpline36Filter)
{
    TFastDIB destination = MakeDIB(width, height);
    vk::ResampleDIB(source, destination, filter);
    return destination;
}

// --- The resampler written straight from its definition, to hold the fast
// one to: every tap of every list, 64-bit sums and a real division.

struct ReferenceList {
    std::vector<std::pair<int, long long>> Taps; // source index, weight
    long long Total = 0;
};

std::vector<ReferenceList> ReferenceLists(int sourceSize, int destSize, const vk::ResampleFilter& filter)
{
    const double c = static_cast<double>(destSize) / sourceSize;
    const double d = c >= 1 ? filter.Radius : filter.Radius / c;
    const int n = 2 * static_cast<int>(std::trunc(d)) + 1;
    std::vector<ReferenceList> lists(static_cast<std::size_t>(destSize));
    for (int x = 0; x < destSize; ++x) {
        ReferenceList& list = lists[static_cast<std::size_t>(x)];
        const double g = x / c - (1 - 1 / c) * 0.5;
        const int first = n == 1 ? vk::RoundInt(g) : static_cast<int>(std::ceil(g - d));
        for (int i = first; i < first + n; ++i) {
            long long w = 0;
            if (i >= 0 && i < sourceSize)
                w = c >= 1 ? vk::RoundEven(filter.Kernel(g - i) * 65536)
                           : vk::RoundEven(c * filter.Kernel(c * (g - i)) * 65536);
            list.Taps.emplace_back(i, w);
            list.Total += w;
        }
        if (list.Total <= 0)
            list.Total = 1;
    }
    return lists;
}

int ReferenceValue(long long sum, long long total)
{
    return static_cast<int>(std::clamp((sum + (total >> 1)) / total, 0LL, 255LL));
}

TFastDIB ReferenceResample(const TFastDIB& source, int dw, int dh,
                           const vk::ResampleFilter& filter = vk::kSpline36Filter)
{
    const int sw = source.Width();
    const int sh = source.AbsHeight();
    TFastDIB between = MakeDIB(dw, sh);
    const auto columns = ReferenceLists(sw, dw, filter);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < dw; ++x) {
            const ReferenceList& list = columns[static_cast<std::size_t>(x)];
            Bgr value{};
            for (int ch = 0; ch < 3; ++ch) {
                long long sum = 0;
                for (const auto& [i, w] : list.Taps)
                    if (w != 0)
                        sum += w * PixelAt(source, i, y)[static_cast<std::size_t>(ch)];
                value[static_cast<std::size_t>(ch)] = ReferenceValue(sum, list.Total);
            }
            SetPixel(between, x, y, value);
        }
    TFastDIB destination = MakeDIB(dw, dh);
    const auto rows = ReferenceLists(sh, dh, filter);
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            const ReferenceList& list = rows[static_cast<std::size_t>(y)];
            Bgr value{};
            for (int ch = 0; ch < 3; ++ch) {
                long long sum = 0;
                for (const auto& [i, w] : list.Taps)
                    if (w != 0)
                        sum += w * PixelAt(between, x, i)[static_cast<std::size_t>(ch)];
                value[static_cast<std::size_t>(ch)] = ReferenceValue(sum, list.Total);
            }
            SetPixel(destination, x, y, value);
        }
    return destination;
}

void ExpectSamePixels(const TFastDIB& actual, const TFastDIB& expected)
{
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.AbsHeight(), expected.AbsHeight());
    for (int y = 0; y < expected.AbsHeight(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(PixelAt(actual, x, y), PixelAt(expected, x, y)) << "at " << x << ", " << y;
}

} // namespace

TEST(FastDIB, RowsArePaddedToFourBytesAndTopRowComesFirst)
{
    struct Case {
        int Width, Height, RowBytes;
    };
    for (const Case c : {Case{1, 3, 4}, Case{4, 2, 12}, Case{5, -2, 16}, Case{7, 1, 24}, Case{0, 0, 0}}) {
        TFastDIB dib = MakeDIB(c.Width, c.Height);
        EXPECT_EQ(dib.RowBytes(), c.RowBytes) << c.Width;
        EXPECT_EQ(dib.RowGap(), c.RowBytes - 3 * c.Width) << c.Width;
        EXPECT_EQ(dib.AbsHeight(), std::abs(c.Height));
        EXPECT_EQ(dib.Bpp(), 24);
        for (int y = 1; y < dib.AbsHeight(); ++y) {
            // Bottom-up storage keeps the top row last in memory.
            const std::ptrdiff_t step = dib.Scanline(y) - dib.Scanline(y - 1);
            EXPECT_EQ(step, c.Height > 0 ? -c.RowBytes : c.RowBytes);
        }
    }
}

TEST(FastDIB, RefusesOtherDepthsAndCopiesOwnRows)
{
    TFastDIB dib = MakeDIB(3, 2);
    EXPECT_FALSE(dib.SetSize(3, 2, 32));
    EXPECT_FALSE(dib.SetSize(-1, 2, 24));
    EXPECT_EQ(dib.Width(), 3);

    SetPixel(dib, 2, 1, {1, 2, 3});
    TFastDIB copy = dib;
    SetPixel(dib, 2, 1, {9, 9, 9});
    EXPECT_EQ(PixelAt(copy, 2, 1), (Bgr{1, 2, 3}));
    TFastDIB moved = std::move(copy);
    EXPECT_EQ(PixelAt(moved, 2, 1), (Bgr{1, 2, 3}));
}

TEST(Spline36, MatchesTheDecimalCoefficients)
{
    const auto decimal = [](double t) {
        t = std::fabs(t);
        if (t < 1)
            return ((1.1818181818 * t - 2.1674641148) * t - 0.0143540670) * t + 1;
        if (t < 2)
            return ((-0.5454545455 * (t - 1) + 1.2918660287) * (t - 1) - 0.7464114833) * (t - 1);
        if (t < 3)
            return ((0.0909090909 * (t - 2) - 0.2153110048) * (t - 2) + 0.1244019139) * (t - 2);
        return 0.0;
    };
    for (double t : {0.0, 0.25, 0.5, 0.999, 1.0, 1.5, 2.0, 2.5, 2.999, 3.0, 4.5}) {
        EXPECT_NEAR(vk::Spline36(t), decimal(t), 1e-9) << t;
        EXPECT_EQ(vk::Spline36(-t), vk::Spline36(t)) << t;
    }
    // The integer offsets weigh exactly nothing, so centres on a pixel copy it.
    EXPECT_EQ(vk::Spline36(0.0), 1.0);
    for (double t : {1.0, 2.0, 3.0})
        EXPECT_EQ(vk::Spline36(t), 0.0) << t;
}

TEST(ResampleContributions, TapCountFollowsTheScale)
{
    struct Case {
        int Source, Dest, Taps;
    };
    for (const Case c : {Case{1680, 760, 13}, Case{1050, 500, 13}, Case{1680, 990, 11}, Case{1680, 1290, 7},
                         Case{1680, 1520, 7}, Case{1680, 1680, 7}, Case{2, 6, 7}, Case{10, 1, 61}}) {
        const auto lists = vk::BuildContributions(c.Source, c.Dest, vk::kSpline36Filter);
        ASSERT_EQ(lists.size(), static_cast<std::size_t>(c.Dest));
        for (const auto& list : lists)
            ASSERT_EQ(list.Taps.size(), static_cast<std::size_t>(c.Taps)) << c.Source << " -> " << c.Dest;
    }
}

TEST(ResampleContributions, FirstBackgroundColumnLeavesOutTheTapsLeftOfTheEdge)
{
    const auto lists = vk::BuildContributions(1680, 760, vk::kSpline36Filter);
    const vk::ContributionList& first = lists.front();
    EXPECT_NEAR(first.Centre, 0.60526, 1e-5);
    ASSERT_EQ(first.Taps.size(), 13u);
    int total = 0;
    for (int k = 0; k < 13; ++k) {
        const vk::Contribution& tap = first.Taps[static_cast<std::size_t>(k)];
        EXPECT_EQ(tap.Pixel, k - 6);
        if (tap.Pixel < 0)
            EXPECT_EQ(tap.Weight, 0) << tap.Pixel;
        else
            EXPECT_NE(tap.Weight, 0) << tap.Pixel;
        total += tap.Weight;
    }
    EXPECT_EQ(first.Total, total);
}

TEST(ResampleDIB, SameSizeCopiesEveryPixel)
{
    const TFastDIB source = RandomDIB(37, -23, 1);
    ExpectSamePixels(Resampled(source, 37, 23), source);
}

TEST(ResampleDIB, UpscalingReproducesPixelsOnWholeCentres)
{
    // An odd factor k puts the centre of destination k * i + (k - 1) / 2 on
    // source pixel i.
    for (int factor : {3, 5}) {
        const TFastDIB source = RandomDIB(6, 5, 2);
        const TFastDIB result = Resampled(source, 6 * factor, 5 * factor);
        const int offset = (factor - 1) / 2;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(PixelAt(result, factor * x + offset, factor * y + offset), PixelAt(source, x, y))
                    << "factor " << factor << " at " << x << ", " << y;
    }
}

TEST(ResampleDIB, UniformColourStaysUniform)
{
    struct Case {
        int Sw, Sh, Dw, Dh;
    };
    for (const Case c : {Case{40, 30, 13, 9}, Case{7, 5, 31, 19}, Case{168, 105, 76, 50}, Case{9, 9, 1, 1}}) {
        for (const Bgr colour : {Bgr{17, 128, 250}, Bgr{0, 255, 1}}) {
            TFastDIB source = MakeDIB(c.Sw, c.Sh);
            for (int y = 0; y < c.Sh; ++y)
                for (int x = 0; x < c.Sw; ++x)
                    SetPixel(source, x, y, colour);
            const TFastDIB result = Resampled(source, c.Dw, c.Dh);
            for (int y = 0; y < c.Dh; ++y)
                for (int x = 0; x < c.Dw; ++x)
                    ASSERT_EQ(PixelAt(result, x, y), colour) << c.Sw << " -> " << c.Dw << " at " << x << ", " << y;
        }
    }
}

TEST(ResampleDIB, OvershootAtASharpEdgeIsClamped)
{
    // Black on the left, white on the right: the negative lobes push the
    // values next to the edge past both ends of the range.
    const int sw = 40, dw = 17;
    TFastDIB source = MakeDIB(sw, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = sw / 2; x < sw; ++x)
            SetPixel(source, x, y, {255, 255, 255});
    const TFastDIB result = Resampled(source, dw, 3);

    const auto lists = vk::BuildContributions(sw, dw, vk::kSpline36Filter);
    bool under = false, over = false;
    for (int x = 0; x < dw; ++x) {
        const vk::ContributionList& list = lists[static_cast<std::size_t>(x)];
        long long sum = 0;
        for (const vk::Contribution& tap : list.Taps)
            if (tap.Pixel >= sw / 2 && tap.Pixel < sw)
                sum += 255LL * tap.Weight;
        const long long raw = (sum + list.Total / 2) / list.Total;
        const int expected = static_cast<int>(std::clamp(raw, 0LL, 255LL));
        under = under || raw < 0;
        over = over || raw > 255;
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(PixelAt(result, x, y), (Bgr{expected, expected, expected})) << x;
    }
    EXPECT_TRUE(under);
    EXPECT_TRUE(over);
}

TEST(ResampleDIB, MatchesTheDefinitionOnRandomPictures)
{
    struct Case {
        int Sw, Sh, Dw, Dh;
    };
    unsigned seed = 10;
    for (const Case c : {Case{37, 23, 17, 11}, Case{13, 7, 31, 29}, Case{1, 1, 5, 3}, Case{5, 1, 2, 7},
                         Case{101, 57, 100, 58}, Case{3, 3, 1, 1}, Case{64, 40, 29, 19}, Case{211, 9, 97, 20},
                         Case{8, 97, 3, 45}, Case{2, 2, 9, 9}, Case{20, 32, 48, 64}}) {
        for (const int sourceHeight : {c.Sh, -c.Sh}) {
            const TFastDIB source = RandomDIB(c.Sw, sourceHeight, ++seed);
            const TFastDIB expected = ReferenceResample(source, c.Dw, c.Dh);
            SCOPED_TRACE(::testing::Message() << c.Sw << " x " << sourceHeight << " -> " << c.Dw << " x " << c.Dh);
            ExpectSamePixels(Resampled(source, c.Dw, -c.Dh), expected);
        }
    }
}

TEST(ResampleDIB, FilterTooHeavyForTheVectorCodeStillMatches)
{
    // Weights of 129 x 65536 overflow the 16-bit halves and the reciprocal
    // division, and a radius of 1/2 takes the single-tap branch.  Pixels stop
    // at 250 so that the 32-bit sums stay in range.
    const vk::ResampleFilter heavy{[](double x) { return std::fabs(x) < 0.5 ? 129.0 : 0.0; }, 0.5};
    const TFastDIB source = RandomDIB(7, 5, 30, 250);
    SCOPED_TRACE("heavy filter");
    ExpectSamePixels(Resampled(source, 16, 11, heavy), ReferenceResample(source, 16, 11, heavy));
}

TEST(ResampleDIB, EmptySourceLeavesBlack)
{
    TFastDIB destination = MakeDIB(3, 2);
    SetPixel(destination, 1, 1, {5, 6, 7});
    vk::ResampleDIB(TFastDIB(), destination, vk::kSpline36Filter);
    EXPECT_EQ(PixelAt(destination, 1, 1), (Bgr{0, 0, 0}));
}

TEST(FixedDivisor, AgreesWithTruncatingDivisionAndClamping)
{
    std::vector<std::int32_t> totals;
    for (std::int32_t t = 1; t <= 3000; ++t)
        totals.push_back(t);
    for (std::int32_t t : {65535, 65536, 65537, 70001, 131071, 131072, 1 << 20, vk::detail::FixedDivisor::kMaxTotal,
                           vk::detail::FixedDivisor::kMaxTotal + 1})
        totals.push_back(t);
    for (const std::int32_t total : totals) {
        const vk::detail::FixedDivisor divide(total);
        const std::int32_t half = total >> 1;
        // Every quotient boundary from below zero to past 255, from both sides.
        for (std::int32_t q = -2; q <= 257; ++q)
            for (std::int32_t e : {-1, 0, 1}) {
                const long long sum = static_cast<long long>(q) * total - half + e;
                if (sum + half > std::numeric_limits<std::int32_t>::max()
                    || sum < std::numeric_limits<std::int32_t>::min())
                    continue;
                ASSERT_EQ(divide(static_cast<std::int32_t>(sum)), ReferenceValue(sum, total))
                    << "total " << total << " sum " << sum;
            }
    }
}
