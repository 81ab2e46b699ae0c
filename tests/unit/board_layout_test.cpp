#include <gtest/gtest.h>

#include "logic/game/board_layout.h"
#include "logic/localdata/window_size.h"

using namespace vk;

namespace {

Layout ForSize(int size, int fullW = 0, int fullH = 0)
{
    Layout lay;
    SetWindowSize(size, fullW, fullH, lay);
    return lay;
}

} // namespace

TEST(GameScreenLayout, SmallWindow)
{
    const GameScreenLayout g = LayOutGameScreen(ForSize(1));
    EXPECT_EQ(g.ImageRamka, (ControlRect{161, 48, 438, 316}));
    EXPECT_EQ(g.LabelType, (ControlRect{130, 5, 500, 30}));
    EXPECT_EQ(g.ImageBase, (ControlRect{695, 10, 50, 50}));
    // Centred in the margins: 161 / 2 - 75 = 5.5 and (760 + 599) / 2 - 45 =
    // 634.5 both round to the even neighbour.
    EXPECT_EQ(g.ImGeld, (ControlRect{6, 100, 150, 50}));
    EXPECT_EQ(g.ImTick, (ControlRect{604, 100, 150, 50}));
    EXPECT_EQ(g.Button8, (ControlRect{36, 250, 90, 60}));
    EXPECT_EQ(g.ButtonN, (ControlRect{634, 250, 90, 60}));
    EXPECT_EQ(g.Keys[0], (ControlRect{64, 400, 32, 30}));
    EXPECT_EQ(g.Keys[15], (ControlRect{664, 400, 32, 30}));
    EXPECT_EQ(g.Keys[16], (ControlRect{64, 450, 32, 30}));
    EXPECT_EQ(g.Keys[31].Right(), 696);
    EXPECT_EQ(g.Face, KeyFace::Caption);
    EXPECT_EQ(g.KeyCaptionHeight, 20);
}

TEST(GameScreenLayout, LargeWindow)
{
    const GameScreenLayout g = LayOutGameScreen(ForSize(5));
    EXPECT_EQ(g.ImageRamka, (ControlRect{322, 96, 876, 632}));
    EXPECT_EQ(g.Button8, (ControlRect{71, 500, 180, 60}));
    EXPECT_EQ(g.Keys[0], (ControlRect{128, 800, 64, 60}));
    EXPECT_EQ(g.Keys[16], (ControlRect{128, 900, 64, 60}));
    EXPECT_EQ(g.Face, KeyFace::Picture40);
}

TEST(GameScreenLayout, KeyFacesAndButtonsAtEverySize)
{
    struct Case {
        int size, fullW, fullH;
        int keyW, keyH;
        KeyFace face;
    };
    const Case cases[] = {
        {1, 0, 0, 32, 30, KeyFace::Caption},         {3, 0, 0, 48, 45, KeyFace::Picture28}, // a scale of exactly 1.3
        {4, 0, 0, 64, 60, KeyFace::Picture40},       {5, 0, 0, 64, 60, KeyFace::Picture40},
        {2, 1366, 700, 48, 45, KeyFace::Picture28}, // scale 1.4
        {2, 1280, 799, 48, 45, KeyFace::Picture28}, // scale 1.598
        {2, 1000, 640, 32, 30, KeyFace::Caption},   // scale 1.28
        {2, 1920, 1001, 64, 60, KeyFace::Picture40},
    };
    for (const Case& c : cases) {
        const Layout lay = ForSize(c.size, c.fullW, c.fullH);
        const GameScreenLayout g = LayOutGameScreen(lay);
        EXPECT_EQ(g.Keys[0].Width, c.keyW) << c.size << " " << c.fullW;
        EXPECT_EQ(g.Keys[0].Height, c.keyH) << c.size << " " << c.fullW;
        EXPECT_EQ(g.Face, c.face) << c.size << " " << c.fullW;
        for (const ControlRect& b : {g.Button8, g.ButtonN}) {
            EXPECT_EQ(b.Height, 60);
            EXPECT_EQ(b.Width % 2, 0);
            EXPECT_GE(b.Width, lay.ScaleSize(90));
        }
        // Both rows centred within a pixel or two, the lower row under the
        // upper one, everything inside the window.
        const int left = g.Keys[0].Left;
        const int right = g.Keys[15].Right();
        EXPECT_LE(std::abs((left + right) - lay.ClientW), 2 + 2 * lay.ScaleSize(4));
        EXPECT_EQ(g.Keys[16].Left, left);
        EXPECT_GT(g.Keys[16].Top, g.Keys[0].Bottom());
        EXPECT_LE(g.Keys[31].Bottom(), lay.ClientH);
        EXPECT_GE(g.ImGeld.Left, 0);
        EXPECT_LE(g.ImTick.Right(), lay.ClientW);
        EXPECT_LE(g.ImageRamka.Bottom(), g.Keys[0].Top);
    }
}

TEST(CellGrid, CellsLieInsideTheFrameAndGrowFromTheirCentre)
{
    const CellGrid small = CellGridFor(438, 316);
    EXPECT_EQ(CellRect(small, 1, 1), (ControlRect{30, 29, 38, 52}));
    EXPECT_EQ(CellRect(small, 5, 10), (ControlRect{372, 237, 38, 52}));

    for (const auto& [w, h] : {std::pair{438, 316}, std::pair{569, 411}, std::pair{876, 632}}) {
        const CellGrid grid = CellGridFor(w, h);
        for (int r = 1; r <= BoardRows; ++r)
            for (int c = 1; c <= BoardColumns; ++c) {
                const ControlRect cell = CellRect(grid, r, c);
                EXPECT_GE(cell.Left, 0);
                EXPECT_LE(cell.Right(), w);
                EXPECT_LE(cell.Bottom(), h);
                ControlRect previous{};
                for (int s = 1; s <= OpeningSteps; ++s) {
                    const ControlRect letter = GrowingLetterRect(grid, r, c, s);
                    EXPECT_GE(letter.Left, cell.Left - 1);
                    EXPECT_LE(letter.Right(), cell.Right() + 1);
                    EXPECT_GE(letter.Top, cell.Top - 1);
                    EXPECT_LE(letter.Bottom(), cell.Bottom() + 1);
                    EXPECT_GE(letter.Width, previous.Width);
                    EXPECT_GE(letter.Height, previous.Height);
                    previous = letter;
                }
            }
    }
    // The last step: 0.6 and 0.84 of the cell's width (38 at size 1).
    const ControlRect last = GrowingLetterRect(small, 1, 1, OpeningSteps);
    EXPECT_NEAR(last.Width, 0.6 * 38, 1);
    EXPECT_NEAR(last.Height, 0.84 * 38, 1);
}
