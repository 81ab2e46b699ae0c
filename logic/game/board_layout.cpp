#include "logic/game/board_layout.h"

#include "common/rounding.h"

namespace vk {
namespace {

// The frame picture's measurements: its size, margins and cell pitch.
constexpr double kFrameW = 1096;
constexpr double kFrameH = 790;
constexpr double kMarginX = 73;
constexpr double kMarginY = 70;
constexpr double kPitchX = 95;
constexpr double kPitchY = 130;

// The two buttons are 60 high at every size; their width is kept even.
constexpr int kButtonHeight = 60;

int EvenWidth(int width) { return width % 2 != 0 ? width + 1 : width; }

} // namespace

GameScreenLayout LayOutGameScreen(const Layout& lay)
{
    GameScreenLayout g;
    const int cw = lay.ClientW;
    const int ch = lay.ClientH;

    g.LabelType = {lay.ScaleLeft(130, 500), lay.ScaleTop(5, 30), lay.ScaleSize(500), lay.ScaleSize(30)};
    const int boardW = lay.ScaleSize(438);
    g.ImageRamka = {RoundInt((cw - boardW) / 2.0), lay.ScaleTop(48, 316), boardW, lay.ScaleSize(316)};
    g.ImageBase = {lay.ScaleLeft(695, 50), lay.ScaleTop(10, 50), lay.ScaleSize(50), lay.ScaleSize(50)};

    // Score and deal frames, and the two buttons under them, centred in the
    // margins left and right of the board.
    const double leftMiddle = g.ImageRamka.Left / 2.0;
    const double rightMiddle = (cw + g.ImageRamka.Left + g.ImageRamka.Width) / 2.0;
    const int frameW = lay.ScaleSize(150);
    const int frameH = lay.ScaleSize(50);
    const int frameTop = lay.ScaleTop(100, 50);
    g.ImGeld = {RoundInt(leftMiddle - lay.ScaleSize(75)), frameTop, frameW, frameH};
    g.ImTick = {RoundInt(rightMiddle - lay.ScaleSize(75)), frameTop, frameW, frameH};
    const int buttonW = EvenWidth(lay.ScaleSize(90));
    const int buttonTop = lay.ScaleTop(250, kButtonHeight);
    g.Button8 = {RoundInt(leftMiddle - lay.ScaleSize(45)), buttonTop, buttonW, kButtonHeight};
    g.ButtonN = {RoundInt(rightMiddle - lay.ScaleSize(45)), buttonTop, buttonW, kButtonHeight};

    // Key size steps with the uniform scale; the bounds are compared as
    // doubles so that a scale of exactly 1.3 takes the middle size.
    int keyW = 32, keyH = 30;
    if (lay.Scale >= 1.6) {
        keyW = 64;
        keyH = 60;
        g.Face = KeyFace::Picture40;
        g.FacePictureSize = 40;
    } else if (lay.Scale >= 1.3) {
        keyW = 48;
        keyH = 45;
        g.Face = KeyFace::Picture28;
        g.FacePictureSize = 28;
    }
    const int gap = lay.ScaleSize(8);
    const int rowGap = lay.ScaleSize(20);
    const int nudge = lay.ScaleSize(4);
    for (int k = 1; k <= LetterKeys; ++k) {
        // Two centred rows of sixteen: the slot's distance from the row's
        // middle is counted from key 9 (upper) or 25 (lower).
        const int middleKey = k <= 16 ? 9 : 25;
        const double left = cw / 2.0 - keyW * (middleKey - k) - gap * (middleKey - 1 - k) - nudge;
        const int top = k <= 16 ? ch - 2 * keyH - 2 * rowGap : ch - keyH - rowGap;
        g.Keys[static_cast<std::size_t>(k - 1)] = {RoundInt(left), top, keyW, keyH};
    }

    g.KeyCaptionHeight = lay.ScaleSize(20);
    g.ThemeFontHeight = lay.ScaleSize(29);
    g.ScoreFontHeight = lay.ScaleSize(30);
    g.ScoreTextTop = lay.ScaleSize(10);
    return g;
}

CellGrid CellGridFor(int width, int height)
{
    return {width * kMarginX / kFrameW + 1, height * kMarginY / kFrameH + 1, width * kPitchX / kFrameW,
            height * kPitchY / kFrameH};
}

ControlRect CellRect(const CellGrid& grid, int row, int column)
{
    return {RoundInt((column - 1) * grid.Dx + grid.X0), RoundInt((row - 1) * grid.Dy + grid.Y0), RoundInt(grid.Dx),
            RoundInt(grid.Dy)};
}

ControlRect GrowingLetterRect(const CellGrid& grid, int row, int column, int step)
{
    const int x1 = RoundInt((column - 1) * grid.Dx + grid.X0);
    const int y1 = RoundInt((row - 1) * grid.Dy + grid.Y0);
    const int x2 = RoundInt(grid.X0 + grid.Dx * column);
    const int y2 = RoundInt(grid.Y0 + grid.Dy * row);
    const int w = x2 - x1;
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    const double u = 0.03 * step * w;
    const double v = 1.4 * 0.03 * step * w;
    const int left = RoundInt(cx - u);
    const int top = RoundInt(cy - v);
    return {left, top, RoundInt(cx + u) - left, RoundInt(cy + v) - top};
}

} // namespace vk
