#pragma once
// Where the game screen's controls go at a window size, and the board's cell
// grid.  Plain numbers: the window places its widgets by them.
#include <array>

#include "common/layout.h"
#include "logic/game/board.h"

namespace vk {

struct ControlRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
    bool operator==(const ControlRect&) const = default;
};

// How a letter key shows its letter: as text on small windows, as the
// letter's picture (28 or 40 pixels square) on larger ones.
enum class KeyFace { Caption, Picture28, Picture40 };

struct GameScreenLayout {
    ControlRect LabelType;
    ControlRect ImageRamka;
    ControlRect ImageBase;
    ControlRect ImGeld;
    ControlRect ImTick;
    ControlRect Button8;
    ControlRect ButtonN;
    std::array<ControlRect, LetterKeys> Keys; // Keys[k - 1] is letter key k
    KeyFace Face = KeyFace::Caption;
    int FacePictureSize = 0; // 0 for captions
    int KeyCaptionHeight = 0;
    int ThemeFontHeight = 0;
    int ScoreFontHeight = 0;
    int ScoreTextTop = 0;
};

GameScreenLayout LayOutGameScreen(const Layout& layout);

// The cell grid inside a board frame of W x H pixels; the frame picture's
// grid was measured at 1096 x 790.
struct CellGrid {
    double X0 = 0;
    double Y0 = 0;
    double Dx = 0;
    double Dy = 0;
};

CellGrid CellGridFor(int width, int height);

// The empty-cell picture's rectangle of cell (row, column).
ControlRect CellRect(const CellGrid& grid, int row, int column);

// The letter picture's rectangle at step 1..10 of a cell's opening: it grows
// from the cell's centre to 0.6 x 0.84 of the cell's width.
ControlRect GrowingLetterRect(const CellGrid& grid, int row, int column, int step);

inline constexpr int OpeningSteps = 10;

} // namespace vk
