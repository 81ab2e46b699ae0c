#include <gtest/gtest.h>

#include "common/layout.h"
#include "logic/localdata/window_size.h"

using namespace vk;

TEST(WindowSize, FixedSizes)
{
    struct Case {
        int size;
        int w, h;
        double scale;
    };
    const Case cases[] = {{1, 760, 500, 1.0},   {3, 990, 650, 1.3}, {4, 1290, 850, 1.7},
                          {5, 1520, 1000, 2.0}, {0, 760, 500, 1.0}, {9, 760, 500, 1.0}};
    for (const Case& c : cases) {
        Layout l;
        SetWindowSize(c.size, 1920, 1040, l);
        EXPECT_EQ(l.ClientW, c.w) << c.size;
        EXPECT_EQ(l.ClientH, c.h) << c.size;
        EXPECT_DOUBLE_EQ(l.Scale, c.scale);
        EXPECT_DOUBLE_EQ(l.ScaleX, c.scale);
        EXPECT_DOUBLE_EQ(l.ScaleY, c.scale);
    }
}

TEST(WindowSize, FullScreenKeepsProportionsByTheSmallerScale)
{
    Layout l;
    SetWindowSize(2, 1366, 700, l);
    EXPECT_EQ(l.ClientW, 1366);
    EXPECT_EQ(l.ClientH, 700);
    EXPECT_NEAR(l.ScaleX, 1.797, 0.001);
    EXPECT_DOUBLE_EQ(l.ScaleY, 1.4);
    EXPECT_DOUBLE_EQ(l.Scale, 1.4);

    // Not measured yet: the small window until the window reports its size.
    SetWindowSize(2, 0, 0, l);
    EXPECT_EQ(l.ClientW, 760);
    EXPECT_DOUBLE_EQ(l.Scale, 1.0);
}

TEST(WindowSize, ScreenLimitsComeFromTheWholeScreen)
{
    struct Case {
        int w, h;
        bool too3, too4, too5;
    };
    const Case cases[] = {
        {1280, 1024, false, true, true},                                      // 1280 < 1290
        {1920, 1000, false, false, true},                                     // 1000 < 1020
        {1920, 1080, false, false, false}, {1520, 1020, false, false, false}, // exactly enough
        {989, 800, true, true, true},      {1024, 669, true, true, true},
    };
    for (const Case& c : cases) {
        const ScreenLimits s = ComputeScreenLimits(c.w, c.h);
        EXPECT_EQ(s.SizeTooSmall3, c.too3) << c.w << "x" << c.h;
        EXPECT_EQ(s.SizeTooSmall4, c.too4) << c.w << "x" << c.h;
        EXPECT_EQ(s.SizeTooSmall5, c.too5) << c.w << "x" << c.h;
        for (int size : {1, 2})
            EXPECT_FALSE(s.Refuses(size));
        EXPECT_EQ(s.Refuses(5), c.too5);
    }
}

TEST(Layout, ScaleOperationsRoundHalvesToEven)
{
    Layout l;
    l.ScaleX = 2.5;
    l.ScaleY = 2.0;
    l.Scale = 2.0;
    // round(5 * 2.5) + round(0.5 * 10 / 2) = round(12.5) + round(2.5) = 12 + 2
    EXPECT_EQ(l.ScaleLeft(5, 10), 14);
    EXPECT_EQ(l.ScaleTop(5, 10), 10);
    l.Scale = 1.3;
    EXPECT_EQ(l.ScaleSize(5), 6);   // 6.5 -> 6
    EXPECT_EQ(l.ScaleSize(15), 20); // 19.5 -> 20
    EXPECT_EQ(l.ScaleSize(700), 910);
}
