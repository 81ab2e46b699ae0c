#pragma once
// Where the main menu's controls go at a window size, and the captions of
// its five member lines.  Plain numbers and Windows-1251 texts: the window
// places its widgets and measures the texts.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "common/layout.h"
#include "common/messages.h"
#include "logic/game/board_layout.h"

namespace vk {

// The icons along the top edge, in the order they stand.
enum MenuIcon : int {
    IconMoreGames,
    IconPackage,
    IconAccount,
    IconStore,
    IconHelp,
    IconStatistics,
    IconChat,
    IconWorldTopTen,
    MenuIconCount
};

inline constexpr int MenuIconSize = 48;

struct MainMenuLayout {
    int ExtraHeight = 0;                      // added to every button's 30 pixels on larger windows
    std::array<ControlRect, 3> Panels;        // Panel1 .. Panel3
    std::array<ControlRect, 5> MemberButtons; // Button1 .. Button5
    ControlRect Button6;                      // "Новый Игрок"
    ControlRect Button9;                      // "Чемпионы"
    ControlRect Button10;                     // "Опции"
    ControlRect Button11;                     // "Выход"
    ControlRect ImageCa;                      // the title
    // RxGIFAnSvLeft, RxGIFAnSvRight, RxGIFAnMan, RxGIFAnClock
    std::array<ControlRect, 4> Animations;
    std::array<ControlRect, MenuIconCount> Icons; // unscaled, 48 x 48
};

// 0 on small windows, 15 from a scale of 1.29, 30 from 1.69.
int MenuExtraHeight(double scale);
// Button widths are even: an odd one grows by a pixel.
int MakeEven(int width);

MainMenuLayout LayOutMainMenu(const Layout& layout);

// ---- Member line captions --------------------------------------------------

// The widest a member caption may be, measured in the list font at height 11.
inline constexpr int MemberCaptionMaxWidth = 360;

// The caption of a member line before fitting: name (1-20), four blanks,
// deals (31-33), four blanks, score (22-29).  A short line reads as blanks
// past its end.
std::string MemberCaption(std::string_view line);

// Shortens a caption that is too wide by deleting name characters from
// position 20 down to position 5 at most.  When a real character of the name
// went (not a blank nor the empty slot's "#"), the three characters before
// the last deleted position become "...".  Width measures a Windows-1251
// text in pixels.
std::string FitMemberCaption(std::string caption, const std::function<int(std::string_view)>& width,
                             int maxWidth = MemberCaptionMaxWidth);

// The fifth line of a logged-in club member: the nick in 20 characters, the
// deal reached and the score of the unfinished rating game.
std::string ClubMemberCaption(std::string_view nick, int dealReached, int score);

// ---- The account icon ------------------------------------------------------

struct AccountLamp {
    const char* Picture; // 24 x 24, drawn at (24, 0) of the icon
    Msg Hint;
};
// For club states 1 to 3; anything else is shown as state 1.
AccountLamp AccountLampFor(int clubState);

} // namespace vk
