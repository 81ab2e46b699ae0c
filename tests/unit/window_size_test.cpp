#include <gtest/gtest.h>

#include "common/layout.h"
#include "localdata/window_size.h"

using namespace vk;

TEST(WindowSize, FixedSizes)
{
    struct Case { int size; int w, h; double scale; };
    const Case cases[] = {{1, 760, 500, 1.0}, {3, 990, 650, 1.3}, {4, 1290, 850, 1.7}, {5, 1520, 1000, 2.0},
                          {0, 760, 500, 1.0}, {9, 760, 500, 1.0}};
    for (const Case& c : cases) {
        Layout l;
        ApplyWindowSize(c.size, 1920, 1040, l);
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
    ApplyWindowSize(2, 1920, 1040, l);
    EXPECT_EQ(l.ClientW, 1920);
    EXPECT_DOUBLE_EQ(l.ScaleX, 1920.0 / 760);
    EXPECT_DOUBLE_EQ(l.ScaleY, 1040.0 / 500);
    EXPECT_DOUBLE_EQ(l.Scale, l.ScaleY);
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
    EXPECT_EQ(l.ScaleSize(5), 6);    // 6.5 -> 6
    EXPECT_EQ(l.ScaleSize(15), 20);  // 19.5 -> 20
    EXPECT_EQ(l.ScaleSize(700), 910);
}
