// The readers behind the statistics window, the more-games window and the
// passport texts.
#include <gtest/gtest.h>

#include <set>

#include "logic/club/passport_text.h"
#include "logic/club/remote_config.h"
#include "logic/club/stat_reply.h"

using namespace vk;

TEST(StatsReply, ReadsTheEighteenPieces)
{
    const auto stat = ReadStatsReply("$10 7 2 2024-05-01 55 3 0 0 0 0 0 0 0 0 0 0 0 x*");
    ASSERT_TRUE(stat);
    EXPECT_EQ(stat->Stat1, 10);
    EXPECT_EQ(stat->Stat2, 7);
    EXPECT_EQ(stat->Stat3, 2);
    EXPECT_EQ(stat->Stat4, "2024-05-01");
    EXPECT_EQ(stat->StatX[0], 55);
    EXPECT_EQ(stat->StatX[1], 3);
    EXPECT_EQ(stat->StatZ, "x");

    struct Case {
        const char* reply;
        bool read;
    };
    const Case cases[] = {
        {"$10 7 x 2024-05-01 55 3 0 0 0 0 0 0 0 0 0 0 0 x*", false},  // third piece not a number
        {"$10 7  2 2024-05-01 55 3 0 0 0 0 0 0 0 0 0 0 0 x*", false}, // a double blank shifts the pieces
        {"$10 7 2 1 May 55 3 0 0 0 0 0 0 0 0 0 0 0 x*", false},       // a blank in the last like
        {"no answer", true},                                          // no "$": figures at zero
        {"$", true},
        {"$10 7 2 - 55 3 0 0 0 0 0 0 0 0 0 0 0 #*", true},
        {"$10 7 2 - 55 3 0 0 0 0 0 0 0 0 0 0 0 #", true}, // no "*": up to the byte before the last
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadStatsReply(c.reply).has_value(), c.read) << c.reply;
    EXPECT_EQ(ReadStatsReply("no answer")->Stat1, 0);
}

TEST(AdvertisementList, CountsOnlyAValidListOfFourOrMore)
{
    const std::string club = "http://club.example:8350/config.txt";
    const std::string four =
        "SecAdv0000=004##SecAdv001I=https://a/1.png##SecAdv001N=Первая##SecAdv001L=https://one.example##"
        "SecAdv002I=http://club.example:8350/adv/2.png##SecAdv002N=Two##SecAdv002L=http://club.example:8350/two##"
        "SecAdv003I=##SecAdv003N=Three##SecAdv003L=https://three.example##"
        "SecAdv004I=http://a/4.png##SecAdv004N=Four##SecAdv004L=http://four.example##";
    EXPECT_EQ(AdvertisementCount(four), 4);
    const Advertisement first = ReadAdvertisement(four, 1, club);
    EXPECT_EQ(first.Picture, "https://a/1.png");
    EXPECT_EQ(first.Name, "Первая");
    EXPECT_EQ(first.Link, "https://one.example");
    EXPECT_EQ(ReadAdvertisement(four, 2, club).Picture, "http://club.example:8350/adv/2.png")
        << "the club's own origin";
    EXPECT_EQ(ReadAdvertisement(four, 2, club).Link, "http://club.example:8350/two");
    EXPECT_EQ(ReadAdvertisement(four, 3, club).Picture, "");
    EXPECT_EQ(ReadAdvertisement(four, 9, club).Name, "");

    for (const char* text : {"SecAdv0000=003##", "SecAdv0000=0x4##", "SecAdv0000=04", "", "SecAdv0000=000##"})
        EXPECT_FALSE(AdvertisementCount(text)) << text;
    EXPECT_EQ(AdvertisementCount("SecAdv0000=120##"), 120);
}

// Pictures and links follow the news page's rule: a plain-http stranger, a
// file or a bare host is neither fetched nor opened; the name still shows.
TEST(AdvertisementList, PicturesAndLinksElsewhereThanHttpsOrTheClubAreDropped)
{
    const std::string club = "http://127.0.0.1:8350/config.txt";
    const std::string entry = "SecAdv0000=004##SecAdv001N=Ad##";
    struct Case {
        const char* address;
        bool kept;
    };
    const Case cases[] = {{"https://ads.example/a.png", true}, {"http://127.0.0.1:8350/adv/a.png", true},
                          {"http://ads.example/a.png", false}, {"http://127.0.0.1:8351/adv/a.png", false},
                          {"file:///etc/passwd", false},       {"ads.example/a.png", false},
                          {"javascript:alert(1)", false},      {"https://user@ads.example/a.png", false}};
    for (const Case& c : cases) {
        const std::string text = entry + "SecAdv001I=" + c.address + "##SecAdv001L=" + c.address + "##";
        const Advertisement ad = ReadAdvertisement(text, 1, club);
        EXPECT_EQ(ad.Picture, c.kept ? c.address : "") << c.address;
        EXPECT_EQ(ad.Link, c.kept ? c.address : "") << c.address;
        EXPECT_EQ(ad.Name, "Ad");
    }
}

TEST(AdvertisementList, FourDifferentNumbersAreChosen)
{
    // A draw that keeps offering numbers already chosen is asked again.
    int calls = 0;
    const auto chosen = ChooseFourOf(5, [&calls](int) { return std::array{0, 0, 1, 1, 0, 4, 2}[calls++ % 7]; });
    EXPECT_EQ(chosen, (std::array<int, 4>{1, 2, 5, 3}));
    const auto all = ChooseFourOf(4, [n = 0](int) mutable { return n++ % 4; });
    EXPECT_EQ(std::set<int>(all.begin(), all.end()), (std::set<int>{1, 2, 3, 4}));
}

TEST(PassportText, NicksCitiesAndCharacters)
{
    struct Case {
        std::u32string text;
        int mode;
        int result;
    };
    const Case cases[] = {
        {U"Nomad", PassportNick, 3},
        {U"Номад", PassportNick, 2},
        {U"N", PassportNick, 1},
        {U"Nomad Two", PassportNick, 1},
        {U"Abcdefghijklm", PassportNick, 1},
        {U"Abcdefghijkl", PassportNick, 3},
        {U"Ёлки-Палки", PassportNick, 2},
        {U"a@b.c_(x)!?,", PassportNick, 3},
        {U"Petropavlovsk-K", PassportCity, 3},
        {U"Petropavlovsk-Ka", PassportCity, 1},
        {U"", PassportCity, 1},
        {U"x", PassportCharacter, 3},
        {U" ", PassportCharacter, 1},
        {U"#", PassportCharacter, 1},
        {U"Nomad\U0001F600", PassportNick, 1},
        {U"\u4E2D\u6587", PassportCity, 1},
        {U"?", PassportCharacter, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckPassportTextUnicode(c.text, c.mode), c.result);
}
