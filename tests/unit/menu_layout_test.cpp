#include <gtest/gtest.h>

#include "logic/game/menu_layout.h"
#include "logic/game/menu_links.h"
#include "logic/localdata/club_file.h"
#include "logic/localdata/window_size.h"

using namespace vk;

namespace {

Layout SizeLayout(int windowSize, int measuredW = 0, int measuredH = 0)
{
    Layout lay;
    SetWindowSize(windowSize, measuredW, measuredH, lay);
    return lay;
}

using R = ControlRect;

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

} // namespace

TEST(MainMenuLayout, SmallWindowFollowsTheDesign)
{
    const MainMenuLayout m = LayOutMainMenu(SizeLayout(1));
    EXPECT_EQ(m.ExtraHeight, 0);
    const int tops[5] = {180, 216, 252, 288, 324};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(m.MemberButtons[r], (R{175, tops[r], 410, 30})) << "Button" << r + 1;
    EXPECT_EQ(m.Panels[0], (R{175, 140, 220, 30}));
    EXPECT_EQ(m.Panels[1], (R{395, 140, 70, 30}));
    EXPECT_EQ(m.Panels[2], (R{465, 140, 120, 30})); // from 465 to the member lines' edge at 585
    EXPECT_EQ(m.Button6, (R{275, 380, 210, 30}));
    EXPECT_EQ(m.Button9, (R{25, 200, 124, 30}));
    EXPECT_EQ(m.Button10, (R{610, 200, 124, 30}));
    EXPECT_EQ(m.Button11, (R{318, 435, 124, 30}));
    EXPECT_EQ(m.ImageCa, (R{180, 22, 400, 100})); // 12 lower at scale 1 exactly
    EXPECT_EQ(m.Animations[0], (R{18, 65, 139, 108}));
    EXPECT_EQ(m.Animations[1], (R{603, 65, 139, 108}));
    EXPECT_EQ(m.Animations[2], (R{10, 285, 160, 160}));
    EXPECT_EQ(m.Animations[3], (R{595, 285, 160, 160}));
    const R icons[MenuIconCount] = {{5, 5, 48, 48},   {58, 5, 48, 48},  {111, 5, 48, 48}, {164, 5, 48, 48},
                                    {548, 5, 48, 48}, {601, 8, 48, 48}, {654, 8, 48, 48}, {707, 5, 48, 48}};
    for (int i = 0; i < MenuIconCount; ++i)
        EXPECT_EQ(m.Icons[i], icons[i]) << "icon " << i;
}

TEST(MainMenuLayout, MediumWindowRoundsHalvesToEvenAndMakesWidthsEven)
{
    const MainMenuLayout m = LayOutMainMenu(SizeLayout(3)); // 990 x 650, 1.3
    EXPECT_EQ(m.ExtraHeight, 15);
    // 175 x 1.3 = 227.5 -> 228; 410 x 1.3 = 533 -> 534.
    const int tops[5] = {234, 281, 328, 374, 421};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(m.MemberButtons[r], (R{228, tops[r], 534, 45})) << "Button" << r + 1;
    EXPECT_EQ(m.Panels[1], (R{514, 182, 92, 45}));  // 513.5 -> 514; 91 -> 92
    EXPECT_EQ(m.Panels[2], (R{604, 182, 158, 45})); // 604.5 -> 604, ends at 762 with the lines
    EXPECT_EQ(m.Button6, (R{358, 494, 274, 45}));
    EXPECT_EQ(m.Button9, (R{32, 260, 162, 45})); // 32.5 -> 32; 161 -> 162
    EXPECT_EQ(m.Button11, (R{413, 566, 162, 45}));
    EXPECT_EQ(m.ImageCa, (R{234, 13, 520, 130}));
    EXPECT_EQ(m.Animations[0], (R{44, 100, 139, 108}));
    EXPECT_EQ(m.Animations[3], (R{798, 394, 160, 160}));
    EXPECT_EQ(m.Icons[IconHelp], (R{778, 5, 48, 48}));
    EXPECT_EQ(m.Icons[IconWorldTopTen], (R{937, 5, 48, 48}));
}

TEST(MainMenuLayout, LargerWindowsTakeTheTallButtons)
{
    for (int size : {4, 5}) {
        const MainMenuLayout m = LayOutMainMenu(SizeLayout(size));
        EXPECT_EQ(m.ExtraHeight, 30) << "size " << size;
        EXPECT_EQ(m.MemberButtons[4].Height, 60);
        EXPECT_EQ(m.Panels[2].Right(), m.MemberButtons[0].Right());
    }
    const MainMenuLayout m = LayOutMainMenu(SizeLayout(5));
    EXPECT_EQ(m.MemberButtons[0], (R{350, 360, 820, 60}));
    EXPECT_EQ(m.Panels[2], (R{930, 280, 240, 60}));
    EXPECT_EQ(m.ImageCa, (R{360, 20, 800, 200}));
    EXPECT_EQ(m.Animations[1], (R{1276, 184, 139, 108})); // 1206 + 70, 130 + 54
    EXPECT_EQ(m.Icons[IconStatistics], (R{1361, 8, 48, 48}));
}

TEST(MainMenuLayout, FullScreenStretchesPlacesAndScalesByTheSmallerFactor)
{
    // A client part of 1366 x 700: ScaleX 1.797..., ScaleY = Scale = 1.4.
    const MainMenuLayout m = LayOutMainMenu(SizeLayout(2, 1366, 700));
    EXPECT_EQ(m.ExtraHeight, 15);
    EXPECT_EQ(m.MemberButtons[0], (R{315, 252, 738, 45})); // 314.55 -> 315; 736.9 -> 737 -> 738
    // 1053 - 836 = 217, made even: the heading may pass the lines by a pixel.
    EXPECT_EQ(m.Panels[2], (R{836, 196, 218, 45}));
    // The title is 1.4 times its size, centred where the stretched design
    // puts it: 323.5 + round(0.397 x 200) = 324 + 79.
    EXPECT_EQ(m.ImageCa, (R{403, 14, 560, 140}));
    EXPECT_EQ(m.Icons[IconWorldTopTen].Left, 1313);
}

TEST(MainMenuLayout, ExtraButtonHeightSteps)
{
    const std::pair<double, int> cases[] = {{1.0, 0},   {1.28, 0},  {1.29, 15},  {1.4, 15},
                                            {1.68, 15}, {1.69, 30}, {1.797, 30}, {2.0, 30}};
    for (const auto& [scale, extra] : cases)
        EXPECT_EQ(MenuExtraHeight(scale), extra) << scale;
}

TEST(MemberCaption, TakesNameDealsAndScoreWithFourBlanksBetween)
{
    const std::string line = MakeMemberLine("Vasya", 987, 7, EncodePassword("ab"));
    EXPECT_EQ(MemberCaption(line), "Vasya" + Blanks(19) + "  7" + Blanks(4) + "     987");
    EXPECT_EQ(MemberCaption(EmptyMemberLine), "####################    ###    ########");
    // A short line reads as blanks past its end.
    EXPECT_EQ(MemberCaption("Kolya"), "Kolya" + Blanks(34));
}

TEST(MemberCaption, FittingCutsTheNameFromPositionTwentyDown)
{
    // Ten pixels a character: 39 characters are 390 wide, three must go.
    const auto tenEach = [](std::string_view s) { return static_cast<int>(s.size()) * 10; };
    struct Case {
        std::string name;
        int maxWidth;
        std::string expectedName; // the caption's part before the deals
    };
    const Case cases[] = {
        // Real letters cut: the three characters before the last cut become dots.
        {"ABCDEFGHIJKLMNOPQRST", 360, "ABCDEFGHIJKLMN..." + Blanks(4)},
        // Only trailing blanks went: no dots.
        {"Ivan", 360, "Ivan" + Blanks(13 + 4)},
        // One letter among the blanks went: dots.
        {"ABCDEFGHIJKLMNOPQR", 360, "ABCDEFGHIJKLMN..." + Blanks(4)},
        // The empty slot's "#" is no real character either.
        {"####################", 360, std::string(17, '#') + Blanks(4)},
        // Wide enough already: unchanged.
        {"ABCDEFGHIJKLMNOPQRST", 390, "ABCDEFGHIJKLMNOPQRST" + Blanks(4)},
        // Never below position 5: the rest stays too wide.
        {"ABCDEFGHIJKLMNOPQRST", 100, "A..." + Blanks(4)},
    };
    for (const Case& c : cases) {
        const std::string caption = MemberCaption(MakeMemberLine(c.name, 12, 3, EncodePassword("x")));
        const std::string tail = "  3" + Blanks(4) + "      12";
        const std::string fitted = FitMemberCaption(caption, tenEach, c.maxWidth);
        EXPECT_EQ(fitted, c.expectedName + tail) << c.name << " in " << c.maxWidth;
    }
}

TEST(MemberCaption, ClubMemberLineShowsNickDealAndScore)
{
    EXPECT_EQ(ClubMemberCaption("Tevmaster", 0, 0), "Tevmaster" + Blanks(11 + 4) + "  0" + Blanks(4) + "       0");
    EXPECT_EQ(ClubMemberCaption("N", 12, -35), "N" + Blanks(19 + 4) + " 12" + Blanks(4) + "     -35");
    // A number longer than its field is shown whole.
    EXPECT_EQ(ClubMemberCaption("N", 1000, 123456789).substr(24), "1000    123456789");
}

TEST(AccountLamp, OtherStatesShowTheLoggedOutLamp)
{
    EXPECT_STREQ(AccountLampFor(2).Picture, "LampY24");
    EXPECT_EQ(AccountLampFor(2).Hint, Msg::LoggedIn);
    EXPECT_STREQ(AccountLampFor(3).Picture, "LampG24");
    EXPECT_EQ(AccountLampFor(3).Hint, Msg::RatingGameOn);
    for (int state : {1, 0, 4, -1}) {
        EXPECT_STREQ(AccountLampFor(state).Picture, "LampR24") << state;
        EXPECT_EQ(AccountLampFor(state).Hint, Msg::NotLoggedIn);
    }
}

TEST(PackageDownload, ProposedNameCannotLeaveTheChosenFolder)
{
    const std::pair<std::string, std::string> cases[] = {
        {"https://example.org/files/Vokabron-4.3.apk", "Vokabron-4.3.apk"},
        {"https://example.org/get?file=../../x.apk#top", "get"},
        {"https://example.org/files/Vokabron.apk?token=1/2", "Vokabron.apk"},
        {"https://example.org/dl/..", "Vokabron.apk"},
        {"https://example.org/dl/", "Vokabron.apk"},
        {"", "Vokabron.apk"},
        {"https://example.org/a\\..\\..\\evil.apk", "evil.apk"},
        {"https://example.org/.hidden.apk", "hidden.apk"},
        {"https://example.org/na:me*\"<>|.apk", "name.apk"},
        {"https://example.org/tab\there\x01.apk", "tabhere.apk"},
        {"https://example.org/a....apk", "a.apk"},
        {"https://example.org/trailing. . ", "trailing"},
    };
    for (const auto& [link, name] : cases)
        EXPECT_EQ(PackageFileName(link, "Vokabron"), name) << link;

    EXPECT_EQ(PackageExtension("Vokabron-4.3.apk"), "apk");
    EXPECT_EQ(PackageExtension("game.xapk"), "xapk");
    EXPECT_EQ(PackageExtension("noextension"), "apk");
    EXPECT_EQ(PackageExtension("odd.a p;k"), "apk");
}

TEST(HelpPages, EachContextOpensItsPage)
{
    EXPECT_EQ(HelpPageForContext(HelpContextMenu), "menu.html");
    EXPECT_EQ(HelpPageForContext(HelpContextGame), "rules.html");
    EXPECT_EQ(HelpPageForContext(0), "index.html");
}
