#include "logic/looks/bilinear.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using vk::PixelBuffer;

namespace {

PixelBuffer MakeBuffer(int width, int height, int channels, std::vector<std::uint8_t> bits)
{
    PixelBuffer buffer{width, height, channels, std::move(bits)};
    EXPECT_EQ(buffer.Bits.size(), static_cast<std::size_t>(width * height * channels));
    return buffer;
}

std::vector<int> PixelValues(const PixelBuffer& buffer, int x, int y)
{
    const std::uint8_t* p = buffer.Pixel(x, y);
    return std::vector<int>(p, p + buffer.Channels);
}

} // namespace

TEST(ResizeBilinear, TwoByTwoToThreeByThreeSamplesAtThirds)
{
    // sx = sy = 3: target (x, y) samples the source at (x / 3, y / 3), so
    // (1, 1) takes 4/9, 2/9, 2/9 and 1/9 of the four corners.  Alpha is a
    // channel like the others.
    PixelBuffer picture = MakeBuffer(2, 2, 4,
                                     {10, 200, 0, 255, /**/ 100, 50, 255, 0, //
                                      40, 0, 255, 128, /**/ 250, 130, 90, 64});
    vk::ResizeBilinear(picture, 3, 3);
    ASSERT_EQ(picture.Width, 3);
    ASSERT_EQ(picture.Height, 3);
    ASSERT_EQ(picture.Channels, 4);
    const std::array<std::array<std::vector<int>, 3>, 3> expected{{
        {{{10, 200, 0, 255}, {40, 150, 85, 170}, {70, 100, 170, 85}}},
        {{{20, 133, 85, 213}, {63, 114, 123, 149}, {107, 96, 162, 85}}},
        {{{30, 67, 170, 170}, {87, 79, 162, 128}, {143, 91, 153, 85}}},
    }};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelValues(picture, x, y), expected[y][x]) << x << ", " << y;
}

TEST(ResizeBilinear, ScaleDividesByTheOldSizeLessOne)
{
    // 5 -> 2 gives sx = 2 / 4: target 1 lands on source 2 exactly (a scale
    // of 5 / 2 would land between 2 and 3).  3 -> 7 gives sx = 7 / 2, a ramp
    // of 0, 100, 200 read at x * 2 / 7.
    struct Case {
        std::vector<std::uint8_t> Row;
        int NewWidth;
        std::vector<int> Expected;
    };
    for (const Case& c :
         {Case{{0, 60, 90, 180, 240}, 2, {0, 90}}, Case{{0, 100, 200}, 7, {0, 29, 57, 86, 114, 143, 171}}}) {
        const int w = static_cast<int>(c.Row.size());
        std::vector<std::uint8_t> bits;
        for (int y = 0; y < 2; ++y)
            for (std::uint8_t v : c.Row)
                bits.insert(bits.end(), {v, static_cast<std::uint8_t>(255 - v), 7});
        PixelBuffer picture = MakeBuffer(w, 2, 3, bits);
        vk::ResizeBilinear(picture, c.NewWidth, 2);
        ASSERT_EQ(picture.Width, c.NewWidth);
        for (int x = 0; x < c.NewWidth; ++x)
            for (int y = 0; y < 2; ++y) {
                const int v = c.Expected[static_cast<std::size_t>(x)];
                EXPECT_EQ(PixelValues(picture, x, y), (std::vector<int>{v, 255 - v, 7})) << w << " -> " << x;
            }
    }
}

TEST(ResizeBilinear, SizesOfOneOrLessChangeNothing)
{
    struct Case {
        int Width, Height, NewWidth, NewHeight;
    };
    for (const Case c : {Case{1, 3, 5, 5}, Case{3, 1, 5, 5}, Case{3, 3, 1, 5}, Case{3, 3, 5, 1}, Case{3, 3, 0, -2},
                         Case{0, 0, 4, 4}}) {
        std::vector<std::uint8_t> bits(static_cast<std::size_t>(c.Width * c.Height * 3));
        for (std::size_t i = 0; i < bits.size(); ++i)
            bits[i] = static_cast<std::uint8_t>(i * 37);
        PixelBuffer picture = MakeBuffer(c.Width, c.Height, 3, bits);
        vk::ResizeBilinear(picture, c.NewWidth, c.NewHeight);
        EXPECT_EQ(picture.Width, c.Width);
        EXPECT_EQ(picture.Height, c.Height);
        EXPECT_EQ(picture.Bits, bits);
    }
}
