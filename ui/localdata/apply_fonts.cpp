#include "ui/localdata/apply_fonts.h"

#include <QWidget>

#include "ui/localdata/count_window.h"
#include "ui/localdata/end_game_window.h"
#include "ui/localdata/options_window.h"
#include "ui/localdata/password_window.h"
#include "ui/localdata/top_ten_window.h"

namespace vk {

QFont MakeFont(const std::string& name, int pixelHeight, bool bold)
{
    QFont font(QString::fromStdString(name));
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(bold);
    if (name == MenuListFont || name == "Courier New") {
        // Neither is on a Linux desktop as such; fontconfig is asked for a
        // fixed-pitch face in their place.
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

QFont MakeFont(const FontChoice& choice)
{
    QFont font = MakeFont(choice.Name, choice.Height, choice.Bold);
    if (choice.FixedPitch) {
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    return font;
}

void ApplyFonts(const Settings& settings, const Layout& layout, const FontTargets& targets)
{
    const FontPlan plan = PlanFonts(settings, layout.Scale);
    for (QWidget* w : targets.MainButtons)
        if (w)
            w->setFont(MakeFont(plan.MainButtons));
    if (targets.ButtonN)
        targets.ButtonN->setFont(MakeFont(plan.ButtonN));
    for (QWidget* w : targets.MemberButtons)
        if (w)
            w->setFont(MakeFont(plan.MemberButtons));
    if (targets.TopTen)
        targets.TopTen->SetFonts(plan.DialogFontName);
    if (targets.Options)
        targets.Options->SetFonts(plan.DialogFontName);
    if (targets.Password)
        targets.Password->SetFonts(plan.DialogFontName);
    if (targets.EndGame)
        targets.EndGame->SetFonts(plan.DialogFontName);
    if (targets.Count)
        targets.Count->SetFonts(plan.DialogFontName);
    if (targets.MoreGames)
        targets.MoreGames(plan);
}

} // namespace vk
