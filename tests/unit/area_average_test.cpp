#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "logic/looks/area_average.h"

namespace {

using Pixel = std::array<int, 4>; // R, G, B, A

struct Picture {
    int Width;
    int Height;
    std::vector<std::uint8_t> Bytes;

    Picture(int w, int h, Pixel fill = {0, 0, 0, 0}) : Width(w), Height(h), Bytes(static_cast<std::size_t>(w * h * 4))
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, fill);
    }
    void Set(int x, int y, Pixel p)
    {
        for (int c = 0; c < 4; ++c)
            Bytes[static_cast<std::size_t>((y * Width + x) * 4 + c)] =
                static_cast<std::uint8_t>(p[static_cast<std::size_t>(c)]);
    }
    Pixel At(int x, int y) const
    {
        Pixel p{};
        for (int c = 0; c < 4; ++c)
            p[static_cast<std::size_t>(c)] = Bytes[static_cast<std::size_t>((y * Width + x) * 4 + c)];
        return p;
    }
};

Picture Scale(const Picture& source, int w, int h)
{
    Picture target(w, h, {1, 2, 3, 4});
    EXPECT_TRUE(vk::AreaAverageRgba({source.Bytes.data(), source.Width, source.Height, source.Width * 4},
                                    {target.Bytes.data(), w, h, w * 4}));
    return target;
}

TEST(AreaAverage, SameSizeCopiesEveryVisiblePixel)
{
    Picture source(5, 3);
    std::mt19937 random(7);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            source.Set(x, y, {int(random() % 256), int(random() % 256), int(random() % 256), int(1 + random() % 255)});
    EXPECT_EQ(Scale(source, 5, 3).Bytes, source.Bytes);
}

TEST(AreaAverage, HalvingAveragesEachTwoByTwoBlock)
{
    Picture source(4, 2, {0, 0, 0, 255});
    source.Set(0, 0, {100, 0, 0, 255});
    source.Set(1, 0, {200, 0, 0, 255});
    source.Set(0, 1, {101, 0, 0, 255});
    source.Set(1, 1, {0, 0, 0, 255});
    source.Set(2, 0, {0, 10, 0, 255});
    source.Set(3, 1, {0, 11, 0, 255});
    const Picture target = Scale(source, 2, 1);
    EXPECT_EQ(target.At(0, 0), (Pixel{100, 0, 0, 255})); // 401 / 4 = 100.25
    EXPECT_EQ(target.At(1, 0), (Pixel{0, 5, 0, 255}));   // 21 / 4 = 5.25
}

TEST(AreaAverage, PartlyCoveredPixelsCountByTheirShare)
{
    // Three pixels onto two: the middle one is split between both targets.
    Picture source(3, 1, {0, 0, 0, 255});
    source.Set(0, 0, {90, 0, 0, 255});
    source.Set(1, 0, {30, 0, 0, 255});
    source.Set(2, 0, {0, 0, 0, 255});
    const Picture target = Scale(source, 2, 1);
    EXPECT_EQ(target.At(0, 0), (Pixel{70, 0, 0, 255})); // (2 x 90 + 30) / 3
    EXPECT_EQ(target.At(1, 0), (Pixel{10, 0, 0, 255})); // (30 + 2 x 0) / 3
}

TEST(AreaAverage, HalvesRoundToEven)
{
    struct Case {
        int Left, Right, Expected;
    };
    for (const Case c : {Case{1, 2, 2}, Case{2, 3, 2}, Case{5, 6, 6}, Case{254, 255, 254}}) {
        Picture source(2, 1);
        source.Set(0, 0, {c.Left, 0, 0, 255});
        source.Set(1, 0, {c.Right, 0, 0, 255});
        EXPECT_EQ(Scale(source, 1, 1).At(0, 0)[0], c.Expected) << c.Left << " and " << c.Right;
    }
}

TEST(AreaAverage, TransparentPixelsLendNoColour)
{
    Picture source(2, 1);
    source.Set(0, 0, {255, 0, 0, 255});
    source.Set(1, 0, {0, 255, 0, 0});                                 // invisible green
    EXPECT_EQ(Scale(source, 1, 1).At(0, 0), (Pixel{255, 0, 0, 128})); // alpha 127.5 -> 128

    // Colour weighted by alpha: 3 parts red at alpha 192 to 1 part blue at 64.
    source.Set(0, 0, {255, 0, 0, 192});
    source.Set(1, 0, {0, 0, 255, 64});
    EXPECT_EQ(Scale(source, 1, 1).At(0, 0), (Pixel{191, 0, 64, 128}));

    Picture clear(3, 3, {255, 255, 255, 0});
    EXPECT_EQ(Scale(clear, 2, 2).At(1, 1), (Pixel{0, 0, 0, 0}));
}

TEST(AreaAverage, UniformPicturesStayUniform)
{
    const Pixel colour{37, 201, 90, 173};
    const std::pair<int, int> sizes[] = {{7, 5}, {1, 1}, {13, 2}, {3, 11}, {20, 20}};
    for (const auto& [sw, sh] : sizes) {
        const Picture source(sw, sh, colour);
        for (const auto& [tw, th] : sizes) {
            const Picture target = Scale(source, tw, th);
            for (int y = 0; y < th; ++y)
                for (int x = 0; x < tw; ++x)
                    ASSERT_EQ(target.At(x, y), colour) << sw << "x" << sh << " -> " << tw << "x" << th;
        }
    }
}

TEST(AreaAverage, EnlargingSpreadsEachPixelOverItsArea)
{
    Picture source(2, 1);
    source.Set(0, 0, {0, 0, 0, 255});
    source.Set(1, 0, {255, 255, 255, 255});
    // Five targets over two sources: the middle one straddles the edge.
    const Picture target = Scale(source, 5, 1);
    const int expected[] = {0, 0, 128, 255, 255}; // middle: 127.5 -> 128
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(target.At(x, 0)[0], expected[x]) << x;
}

TEST(AreaAverage, RowStridesAreHonoured)
{
    // Source rows padded to 12 bytes, target rows to 8: the padding is
    // neither read nor written.
    std::vector<std::uint8_t> source = {10, 20, 30, 255, 50, 60, 70, 255, 99, 99, 99, 99,
                                        10, 20, 30, 255, 50, 60, 70, 255, 99, 99, 99, 99};
    std::vector<std::uint8_t> target(16, 7);
    ASSERT_TRUE(vk::AreaAverageRgba({source.data(), 2, 2, 12}, {target.data(), 1, 2, 8}));
    const std::vector<std::uint8_t> expected = {30, 40, 50, 255, 7, 7, 7, 7, 30, 40, 50, 255, 7, 7, 7, 7};
    EXPECT_EQ(target, expected);
}

TEST(AreaAverage, EmptyPicturesAreRefused)
{
    std::uint8_t pixel[4] = {1, 2, 3, 4};
    std::uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_FALSE(vk::AreaAverageRgba({pixel, 0, 1, 4}, {out, 1, 1, 4}));
    EXPECT_FALSE(vk::AreaAverageRgba({pixel, 1, 1, 4}, {out, 1, 0, 4}));
    EXPECT_FALSE(vk::AreaAverageRgba({nullptr, 1, 1, 4}, {out, 1, 1, 4}));
    EXPECT_EQ(out[0], 9);
}

} // namespace
