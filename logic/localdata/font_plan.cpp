#include "logic/localdata/font_plan.h"

#include "common/rounding.h"

namespace vk {

FontPlan PlanFonts(const Settings& settings, double scale)
{
    // The own font draws small for its height: it gets a few pixels more,
    // growing with the window.
    const double m = settings.WindowSize == 1 ? 1.0 : 0.9;
    const int d = settings.NoOwnFont ? 0 : RoundInt(4 * scale);

    FontPlan plan;
    plan.MainButtons = {settings.DisplayFontName, RoundInt(18 * scale * m + d), true, false};
    plan.ButtonN = {settings.DisplayFontName, RoundInt(18 * scale * m), true, false};
    if (settings.WindowSize == 1)
        plan.MemberButtons = {settings.MenuListFontName, 11, false, true};
    else
        plan.MemberButtons = {"Courier New", RoundInt(16 * scale), true, true};
    plan.DialogFontName = settings.DisplayFontName;
    return plan;
}

} // namespace vk
