#pragma once
// The fonts of the main window's buttons and of the dialogs, chosen from the
// window size and the own-font setting.
#include <QFont>
#include <functional>
#include <string>
#include <vector>

#include "common/layout.h"
#include "logic/localdata/font_plan.h"
#include "logic/localdata/settings.h"

class QWidget;

namespace vk {

class TFormTopTen;
class TFormCount;
class TFormEndGame;
class TFormOptions;
class TFormPassword;

// A font by name and pixel height.  "FixedSys" asks fontconfig for a
// fixed-pitch face.
QFont MakeFont(const std::string& name, int pixelHeight, bool bold);
QFont MakeFont(const FontChoice& choice);

// Whatever exists of these gets its fonts; null pointers are skipped.
struct FontTargets {
    std::vector<QWidget*> MainButtons; // Button6, Button8..Button11, Panel1..Panel3
    QWidget* ButtonN = nullptr;
    std::vector<QWidget*> MemberButtons; // Button1..Button5
    TFormTopTen* TopTen = nullptr;
    TFormOptions* Options = nullptr;
    TFormPassword* Password = nullptr;
    TFormEndGame* EndGame = nullptr;
    TFormCount* Count = nullptr;
    // The club's more-games window takes the plan itself.
    std::function<void(const FontPlan&)> MoreGames;
};

void ApplyFonts(const Settings& settings, const Layout& layout, const FontTargets& targets);

} // namespace vk
