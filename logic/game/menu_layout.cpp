#include "logic/game/menu_layout.h"

#include "common/rounding.h"
#include "common/text_lines.h"

namespace vk {
namespace {

// An animation keeps its own size; its place follows the stretched design
// so that its centre stays where the design puts it.
int AnimationEdge(double designEdge, double scale, int size)
{
    return RoundInt(designEdge * scale) + RoundInt((scale - 1) * size / 2);
}

bool IsNameFiller(char c) { return c == ' ' || c == '#'; }

// Blanks in front up to Width; a longer number is shown whole, never cut.
std::string RightAligned(long long number, std::size_t width)
{
    std::string text = std::to_string(number);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

int MenuExtraHeight(double scale)
{
    if (scale >= 1.69)
        return 30;
    if (scale >= 1.29)
        return 15;
    return 0;
}

int MakeEven(int width) { return width % 2 != 0 ? width + 1 : width; }

MainMenuLayout LayOutMainMenu(const Layout& layout)
{
    const auto x = [&](double design) { return RoundInt(design * layout.ScaleX); };
    const auto y = [&](double design) { return RoundInt(design * layout.ScaleY); };
    const auto width = [&](double design) { return MakeEven(RoundInt(design * layout.ScaleX)); };

    MainMenuLayout m;
    m.ExtraHeight = MenuExtraHeight(layout.Scale);
    const int h = 30 + m.ExtraHeight;

    constexpr int memberTops[5] = {180, 216, 252, 288, 324};
    for (std::size_t r = 0; r < m.MemberButtons.size(); ++r)
        m.MemberButtons[r] = {x(175), y(memberTops[r]), width(410), h};
    // The headings end where the member lines end.
    m.Panels[0] = {x(175), y(140), width(220), h};
    m.Panels[1] = {x(395), y(140), width(70), h};
    m.Panels[2] = {x(465), y(140), MakeEven(m.MemberButtons[0].Right() - x(465)), h};

    m.Button6 = {x(275), y(380), width(210), h};
    m.Button9 = {x(25), y(200), width(124), h};
    m.Button10 = {x(610), y(200), m.Button9.Width, h};
    m.Button11 = {x(318), y(435), m.Button9.Width, h};

    m.ImageCa = {layout.ScaleLeft(180, 400), layout.ScaleTop(10, 100), layout.ScaleSize(400), layout.ScaleSize(100)};
    // The small window leaves a gap under the top edge's icons.
    if (layout.Scale == 1.0)
        m.ImageCa.Top += 12;

    const int svTop = AnimationEdge(65, layout.ScaleY, 108);
    const int manTop = AnimationEdge(285, layout.ScaleY, 160);
    m.Animations[0] = {AnimationEdge(18, layout.ScaleX, 139), svTop, 139, 108};
    m.Animations[1] = {AnimationEdge(603, layout.ScaleX, 139), svTop, 139, 108};
    m.Animations[2] = {AnimationEdge(10, layout.ScaleX, 160), manTop, 160, 160};
    m.Animations[3] = {AnimationEdge(595, layout.ScaleX, 160), manTop, 160, 160};

    const int w = layout.ClientW;
    constexpr int s = MenuIconSize;
    m.Icons[IconMoreGames] = {5, 5, s, s};
    m.Icons[IconPackage] = {58, 5, s, s};
    m.Icons[IconAccount] = {111, 5, s, s};
    m.Icons[IconStore] = {164, 5, s, s};
    m.Icons[IconHelp] = {w - 212, 5, s, s};
    m.Icons[IconStatistics] = {w - 159, 8, s, s};
    m.Icons[IconChat] = {w - 106, 8, s, s};
    m.Icons[IconWorldTopTen] = {w - 53, 5, s, s};
    return m;
}

std::string MemberCaption(std::string_view line)
{
    const std::string gap(4, ' ');
    return FieldAt(line, 1, 20) + gap + FieldAt(line, 31, 3) + gap + FieldAt(line, 22, 8);
}

std::string FitMemberCaption(std::string caption, const std::function<int(std::string_view)>& width, int maxWidth)
{
    constexpr std::size_t kFirstCut = 20; // positions count from 1
    constexpr std::size_t kLastCut = 5;
    bool realCharacterCut = false;
    std::size_t lastCut = 0;
    for (std::size_t position = kFirstCut; position >= kLastCut && position <= caption.size(); --position) {
        if (width(caption) <= maxWidth)
            break;
        realCharacterCut |= !IsNameFiller(caption[position - 1]);
        caption.erase(position - 1, 1);
        lastCut = position;
    }
    if (realCharacterCut)
        caption.replace(lastCut - 4, 3, "...");
    return caption;
}

std::string ClubMemberCaption(std::string_view nick, int dealReached, int score)
{
    const std::string gap(4, ' ');
    std::string name(nick);
    if (name.size() < 20)
        name.append(20 - name.size(), ' ');
    return name + gap + RightAligned(dealReached, 3) + gap + RightAligned(score, 8);
}

AccountLamp AccountLampFor(int clubState)
{
    switch (clubState) {
    case 2: return {"LampY24", Msg::LoggedIn};
    case 3: return {"LampG24", Msg::RatingGameOn};
    default: return {"LampR24", Msg::NotLoggedIn};
    }
}

} // namespace vk
