#include <gtest/gtest.h>

#include "logic/club/account_replies.h"
#include "logic/club/form_encoding.h"
#include "logic/club/jpeg_frame.h"

#include <fstream>
#include <iterator>

using namespace vk;

TEST(ClubReplies, Register)
{
    EXPECT_EQ(ReadRegisterReply("ok"), 0);
    EXPECT_EQ(ReadRegisterReply("is"), 1);
    EXPECT_EQ(ReadRegisterReply("okis"), 1); // taken wins
    EXPECT_EQ(ReadRegisterReply("no"), 2);
    EXPECT_EQ(ReadRegisterReply(""), 2);
}

TEST(ClubReplies, LoginRecordsFillTheAccount)
{
    struct Case {
        const char* name;
        std::string reply;
        bool ok;
        std::string city, country1, country2;
        char sex;
        std::string email, dateR;
        std::int32_t r04;
        std::int32_t r06;
    };
    const Case cases[] = {
        {"worked example", "$Tula Russia 1-001 M nomad@example.org 10.12.2024 xxx xxx xxx 25 0 0$", true, "Tula",
         "Russia", "1-001", 'M', "nomad@example.org", "10.12.2024", 25, 0},
        // "no" inside the member's own data must not refuse the login.
        {"country key Unknown, city Krasnodar, e-mail nora@",
         "$Krasnodar Unknown 1-000 W nora@example.org 01.02.2025 xxx xxx xxx 0 0 0$", true, "Krasnodar", "Unknown",
         "1-000", 'W', "nora@example.org", "01.02.2025", 0, 0},
        {"Lebanon", "$Beirut Lebanon 2-026 M a@b.c 01.02.2025 xxx xxx xxx 7 0 3$\r\n", true, "Beirut", "Lebanon",
         "2-026", 'M', "a@b.c", "01.02.2025", 7, 3},
        {"empty country key of 6-012", "$Omsk  6-012 W a@b.c 01.02.2025 xxx xxx xxx 0 0 0$", true, "Omsk", "", "6-012",
         'W', "a@b.c", "01.02.2025", 0, 0},
        {"refusal", "no", false, "#", "#", "#", '#', "#", "00.00.0000", 0, 0},
        {"no record: placeholders stay", "hello", true, "#", "#", "#", '#', "#", "00.00.0000", 0, 0},
        {"eleven words leave R06", "$Tula Russia 1-001 M e@x.y 10.12.2024 xxx xxx xxx 25 0$", true, "Tula", "Russia",
         "1-001", 'M', "e@x.y", "10.12.2024", 25, 0},
        {"no closing dollar: word 12 empty", "$Tula Russia 1-001 M e@x.y 10.12.2024 xxx xxx xxx 25 0 0", false, "Tula",
         "Russia", "1-001", 'M', "e@x.y", "10.12.2024", 25, 0},
        {"CR LF instead of dollar", "$Tula Russia 1-001 M e@x.y 10.12.2024 xxx xxx xxx 25 0 0\r\n", false, "Tula",
         "Russia", "1-001", 'M', "e@x.y", "10.12.2024", 25, 0},
        {"empty sex word", "$Tula Russia 1-001  e@x.y 10.12.2024 xxx xxx xxx 25 0 0$", false, "Tula", "Russia", "1-001",
         '#', "#", "00.00.0000", 0, 0},
        {"a blank in the date shifts the balance", "$Tula Russia 1-001 M e@x.y 10 12 2024 xxx xxx 25 0 0$", false,
         "Tula", "Russia", "1-001", 'M', "e@x.y", "10", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTevUser user = LoginPlaceholders("Nomad", "secret12");
        EXPECT_EQ(ReadLoginReply(c.reply, user), c.ok);
        EXPECT_EQ(user.Nick, "Nomad");
        EXPECT_EQ(user.Pw, "secret12");
        EXPECT_EQ(user.City, c.city);
        EXPECT_EQ(user.Country1, c.country1);
        EXPECT_EQ(user.Country2, c.country2);
        EXPECT_EQ(user.Sex, c.sex);
        EXPECT_EQ(user.EMail, c.email);
        EXPECT_EQ(user.DateR, c.dateR);
        EXPECT_EQ(user.R04, c.r04);
        EXPECT_EQ(user.R06, c.r06);
    }
}

TEST(ClubReplies, TopTenRows)
{
    ClubTopTenRows rows = EmptyTopTen();
    ASSERT_TRUE(
        ReadTopTenReply("$1 Nomad Tula Russia 1-001 M 951*$2 Lynx Omsk  6-012 W 921.5*$3 Ann Kazan Unknown*", rows));
    EXPECT_EQ(rows[0], (TTevTop10{"Nomad", "Tula", "1-001", 'M', 951}));
    EXPECT_EQ(rows[1], (TTevTop10{"Lynx", "Omsk", "6-012", 'W', 921.5}));
    // Only four words: the country key stays, sex keeps "M".
    EXPECT_EQ(rows[2], (TTevTop10{"Ann", "Kazan", "Unknown", 'M', 0}));
    for (std::size_t k = 3; k < rows.size(); ++k)
        EXPECT_EQ(rows[k], TTevTop10{});

    rows = EmptyTopTen();
    EXPECT_TRUE(ReadTopTenReply("", rows));
    EXPECT_EQ(rows, EmptyTopTen());

    rows = EmptyTopTen();
    EXPECT_FALSE(ReadTopTenReply("$1 A Tula Russia 1-001 M 951*$2 B Omsk Russia 1-001 M n/a*", rows));
    EXPECT_EQ(rows[0].Nick, "A"); // rows read before stay
}

TEST(ClubReplies, Balance)
{
    struct Case {
        const char* reply;
        std::optional<std::int32_t> balance;
    };
    const Case cases[] = {
        {"$25$", 25},
        {"$-3$", -3},
        {"$ 15$", 15},
        {"$+4$", 4},
        {"$15 $", std::nullopt},
        {"$25", 2},
        {"no", std::nullopt},
        {"", std::nullopt},
        {"$$", std::nullopt},
        {"$abc$", std::nullopt},
        {"$2147483648$", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBalanceReply(c.reply), c.balance) << c.reply;
}

TEST(ClubReplies, CardHoldingNoIsReadWhole)
{
    TInfo14 card;
    ReadInfoReply("$\xC8\xE2\xE0\xED~\xCF\xE5\xF2\xF0\xEE\xE2~I know nothing~~~https://example.org/x?a=1&b=2~~~~~~~~$",
                  card);
    EXPECT_EQ(card.Name1, "\xC8\xE2\xE0\xED"); // "Иван" in the club's code page
    EXPECT_EQ(card.Name2, "\xCF\xE5\xF2\xF0\xEE\xE2");
    EXPECT_EQ(card.About, "I know nothing");
    EXPECT_EQ(card.WebSite, "https://example.org/x?a=1&b=2"); // word 6: web site before Skype
    EXPECT_EQ(card.Skype, "");

    TInfo14 all;
    ReadInfoReply("$1~2~3~4~5~6~7~8~9~10~11~12~13~14$", all);
    EXPECT_EQ(all, (TInfo14{"1", "2", "3", "4", "5", "7", "6", "8", "9", "10", "11", "12", "13", "14"}));

    TInfo14 kept;
    kept.Name1 = "keep";
    const TInfo14 before = kept;
    ReadInfoReply("no", kept);
    ReadInfoReply("nothing here", kept);
    EXPECT_EQ(kept, before);
}

TEST(ClubReplies, GameRecord)
{
    TTevGame game;
    game.Best = 77;
    PrepareGameRecord(game);
    ASSERT_TRUE(ReadGameReply("$1 950 951 1 0 0 0 #$", game));
    EXPECT_EQ(game.Kon, 1);
    EXPECT_EQ(game.Best, 950);
    EXPECT_EQ(game.Rating, 951);
    EXPECT_EQ(game.Sessions, 1);
    EXPECT_EQ(game.KonL, 0);
    EXPECT_EQ(game.R2, "#");

    TTevGame fresh;
    PrepareGameRecord(fresh);
    EXPECT_TRUE(ReadGameReply("", fresh)); // no record: the prepared zeros count as read
    EXPECT_EQ(fresh, TTevGame{});

    TTevGame bad;
    EXPECT_FALSE(ReadGameReply("$2 980 x 1 0 0 0 #$", bad));
    EXPECT_EQ(bad.Kon, 2);
    EXPECT_FALSE(ReadGameReply("$2 980 981.5 1 7 990 0\r\n", bad));
}

TEST(ClubReplies, StatisticsConfirmation)
{
    EXPECT_TRUE(StatConfirmed("$ ok#"));
    EXPECT_TRUE(StatConfirmed("junk$x$ ok#"));
    EXPECT_FALSE(StatConfirmed("$ok#")); // byte 1 is a filler
    EXPECT_FALSE(StatConfirmed("$ no#"));
    EXPECT_FALSE(StatConfirmed("ok"));
    EXPECT_FALSE(StatConfirmed("$"));
}

TEST(ClubReplies, WireDatesHaveFixedForms)
{
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 5;
    EXPECT_EQ(LoginDateText(t), "202412031405");
    EXPECT_EQ(WireDateText(t), "03.12.2024");
    EXPECT_EQ(WireTimeText(t), "14:05");
    t.tm_hour = 2;
    EXPECT_EQ(WireTimeText(t), "02:05");
}

TEST(ClubForms, RawAndEncodedBodies)
{
    const FormFields fields = {{"nick", "Tom & Jerry"}, {"about", "a=b+c 100%"}, {"city", "\xD2\xF3\xEB\xE0"}};
    // Raw: values unaltered, Cyrillic as its single code page byte.
    EXPECT_EQ(RawFormBody(fields), "nick=Tom & Jerry&about=a=b+c 100%&city=\xD2\xF3\xEB\xE0");
    // Encoded: UTF-8 escapes, blank as "+".
    EXPECT_EQ(EncodedFormBody(fields), "nick=Tom+%26+Jerry&about=a%3Db%2Bc+100%25&city=%D0%A2%D1%83%D0%BB%D0%B0");
    EXPECT_EQ(FormEncode("AZaz09*-._(!"), "AZaz09*-._%28%21");
    EXPECT_EQ(FormEncode("\xA8"), "%D0%81"); // Ё
    EXPECT_EQ(RawFormBody({}), "");
}

TEST(ClubForms, PathSegmentKeepsTheNickInOneSegment)
{
    EXPECT_EQ(PathSegmentEncode("Nomad"), "Nomad");
    EXPECT_EQ(PathSegmentEncode("who?"), "who%3F");
    EXPECT_EQ(PathSegmentEncode("a/b#c d"), "a%2Fb%23c%20d");
    EXPECT_EQ(PathSegmentEncode("(x)!,@"), "%28x%29%21%2C%40");
    EXPECT_EQ(PathSegmentEncode("-._~"), "-._~");
}

TEST(ClubPhotos, JpegFrameOfRealAndBrokenFiles)
{
    std::ifstream in(std::string(VOKABRON_SOURCE_DIR) + "/resources/jpeg/BG.jpg", std::ios::binary);
    const std::string real{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(real.size(), 1000u);
    const auto frame = ReadJpegFrame(real);
    ASSERT_TRUE(frame);
    EXPECT_GT(frame->Width, 0);
    EXPECT_GT(frame->Height, 0);

    // A minimal picture: start, frame 200 x 250, scan, data, end.
    const std::string soi = "\xFF\xD8";
    const std::string sof = std::string("\xFF\xC0\x00\x0B\x08\x00\xFA\x00\xC8\x01\x01\x11\x00", 13);
    const std::string sos = std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    const std::string eoi = "\xFF\xD9";
    const auto small = ReadJpegFrame(soi + sof + sos + "\x12\x34" + eoi);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->Width, 200);
    EXPECT_EQ(small->Height, 250);

    EXPECT_FALSE(ReadJpegFrame(soi + sof + sos + "\x12\x34"));    // no end marker
    EXPECT_FALSE(ReadJpegFrame(soi + sos + "\x12\x34" + eoi));    // no frame
    EXPECT_FALSE(ReadJpegFrame(real.substr(0, real.size() / 2))); // cut short
    EXPECT_FALSE(ReadJpegFrame("\x89PNG\r\n\x1A\n0000000000000000"));
    EXPECT_FALSE(ReadJpegFrame(""));
    EXPECT_FALSE(ReadJpegFrame("Not Found"));
}
