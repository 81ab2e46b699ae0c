#pragma once
// Which font and height every window uses, from the window size, the scale
// and the own-font setting.  Heights are pixel sizes.
#include <string>

#include "logic/localdata/settings.h"

namespace vk {

struct FontChoice {
    std::string Name;
    int Height = 0;
    bool Bold = false;
    bool FixedPitch = false;
};

inline constexpr int EditHeight = 16;   // text boxes
inline constexpr int LabelHeight = 18;  // window texts and labels
inline constexpr int ButtonHeight = 20; // dialog buttons
inline constexpr int PanelHeight = 24;  // picture-area texts of the score and more-games windows

struct FontPlan {
    FontChoice MainButtons; // Button6, Button8..11, Panel1..3
    FontChoice ButtonN;
    FontChoice MemberButtons;   // Button1..5
    std::string DialogFontName; // DisplayFontName, at the heights above
};

FontPlan PlanFonts(const Settings& settings, double scale);

} // namespace vk
