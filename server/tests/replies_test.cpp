#include <gtest/gtest.h>

#include "logic/club/account_replies.h"
#include "common/readers.h"
#include "server/rating_rules.h"
#include "server/replies.h"

using namespace vks;

namespace {

Member Nomad()
{
    Member m;
    m.nick = "Nomad";
    m.city = "Tula";
    m.countryKey = "Russia";
    m.countryCode = "1-001";
    m.sex = "M";
    m.email = "nomad@example.org";
    m.dateReg = "10.12.2024";
    m.balance = 25;
    return m;
}

} // namespace

TEST(Replies, ExactBytes)
{
    GameRecord game;
    game.kon = 1;
    game.best = 950;
    game.rating = 951;
    game.sessions = 1;
    Card card;
    card[0] = "\xC8\xE2\xE0\xED"; // Иван
    card[1] = "\xCF\xE5\xF2\xF0\xEE\xE2";
    card[2] = "I know nothing";
    card[5] = "https://example.org/x?a=1&b=2";
    StatCounters stats;
    stats.starts = 10;
    stats.uniqueStarts = 7;
    stats.likes = 2;
    stats.x[0] = 55;
    stats.x[1] = 3;

    const std::vector<std::pair<std::string, std::string>> cases = {
        {LoginReply(Nomad()), "$Tula Russia 1-001 M nomad@example.org 10.12.2024 xxx xxx xxx 25 0 0$"},
        {GameReply(game), "$1 950 951 1 0 0 0 #$"},
        {GameReply(GameRecord{}), "$0 0 0 0 0 0 0 #$"},
        {TopTenReply({{"Nomad", "Tula", "Russia", "1-001", "M", 951}, {"Lynx", "Omsk", "", "6-012", "W", 921.5}}),
         "$1 Nomad Tula Russia 1-001 M 951*$2 Lynx Omsk  6-012 W 921.5*"},
        {TopTenReply({}), ""},
        {NumberReply(1), "$1 "},
        {NumberReply(1234), "$1234 "},
        {BalanceReply(25), "$25$"},
        {CardReply(card),
         "$\xC8\xE2\xE0\xED~\xCF\xE5\xF2\xF0\xEE\xE2~I know nothing~~~https://example.org/x?a=1&b=2~~~~~~~~$"},
        {BoardReply(50, {{1, 950, "Nomad", "1-007", "Tula", "M", "4.3", "#", "#"}}),
         "$1 50 950 Nomad 1-007 Tula M 4.3 # #*"},
        {BoardReply(100, {{1, 2, "Nomad", "1-007", "Tula", "M", "4.3", "14:05_10.12.2024_Vokabron",
                           "\xCF\xF0\xE8\xE2\xE5\xF2_\xE2\xF1\xE5\xEC"}}),
         "$1 100 2 Nomad 1-007 Tula M 4.3 14:05_10.12.2024_Vokabron \xCF\xF0\xE8\xE2\xE5\xF2_\xE2\xF1\xE5\xEC*"},
        {StatsReply(stats, "2024-05-01"), "$10 7 2 2024-05-01 55 3 0 0 0 0 0 0 0 0 0 0 0 #*"},
        {ReplyStatOk, "$ ok#"},
    };
    for (const auto& [built, expected] : cases)
        EXPECT_EQ(built, expected);
}

// Every reply as the client's own readers take it: a reply the client would
// misread cannot pass.
TEST(Replies, ReadByTheClient)
{
    // Login: data holding "no" (Unknown, Krasnodar, nora@) and an empty
    // country key must not read as a refusal.
    for (const auto& [key, code] : {std::pair{"Unknown", "1-000"}, {"", "6-012"}, {"San_Marino", "1-039"}}) {
        Member m = Nomad();
        m.city = "Krasnodar";
        m.countryKey = key;
        m.countryCode = code;
        m.email = "nora@example.org";
        m.sex = "W";
        m.balance = 2147483647;
        vk::TTevUser user = vk::LoginPlaceholders("Nomad", "secret12");
        ASSERT_TRUE(vk::ReadLoginReply(LoginReply(m), user)) << key;
        EXPECT_EQ(user.City, m.city);
        EXPECT_EQ(user.Country1, m.countryKey);
        EXPECT_EQ(user.Country2, m.countryCode);
        EXPECT_EQ(user.Sex, 'W');
        EXPECT_EQ(user.EMail, m.email);
        EXPECT_EQ(user.DateR, m.dateReg);
        EXPECT_EQ(user.R04, 2147483647);
        EXPECT_EQ(user.R05, 0);
        EXPECT_EQ(user.R06, 0);
    }

    GameRecord record;
    record.kon = 3;
    record.best = 990;
    record.rating = CanonicalRating(950.0 / 3 + 3);
    record.sessions = 1;
    record.konl = 7;
    record.score = 990;
    vk::TTevGame game;
    vk::PrepareGameRecord(game);
    ASSERT_TRUE(vk::ReadGameReply(GameReply(record), game));
    EXPECT_EQ(game.Kon, 3);
    EXPECT_EQ(game.Best, 990);
    EXPECT_EQ(game.Rating, record.rating);
    EXPECT_EQ(game.Sessions, 1);
    EXPECT_EQ(game.KonL, 7);
    EXPECT_EQ(game.Score, 990);
    EXPECT_EQ(game.R2, "#");

    auto rows = vk::EmptyTopTen();
    ASSERT_TRUE(vk::ReadTopTenReply(TopTenReply({{"Nomad", "Tula", "Russia", "1-001", "M", 951},
                                                 {"Lynx", "\xCE\xEC\xF1\xEA", "", "6-012", "W", 921.5}}),
                                    rows));
    EXPECT_EQ(rows[0], (vk::TTevTop10{"Nomad", "Tula", "1-001", 'M', 951}));
    EXPECT_EQ(rows[1], (vk::TTevTop10{"Lynx", "\xCE\xEC\xF1\xEA", "6-012", 'W', 921.5}));
    EXPECT_EQ(rows[2], vk::TTevTop10{});
    rows = vk::EmptyTopTen();
    EXPECT_TRUE(vk::ReadTopTenReply(TopTenReply({}), rows));

    for (const std::int64_t n : {0LL, 1LL, 17LL, 1234LL, 2147483647LL})
        EXPECT_EQ(vk::TrailingNumber(NumberReply(n)), n);
    EXPECT_EQ(vk::ReadBalanceReply(BalanceReply(25)), 25);
    EXPECT_EQ(vk::ReadBalanceReply(BalanceReply(0)), 0);
    EXPECT_FALSE(vk::ReadBalanceReply(ReplyNo));

    Card card;
    const char* texts[14] = {"\xC8\xE2\xE0\xED",
                             "",
                             "I know nothing",
                             "+7 900",
                             "nomad@example.org",
                             "https://example.org/x?a=1&b=2",
                             "nomad.skype",
                             "ok.ru/nomad",
                             "vk.com/no",
                             "@nomad",
                             "fb.com/"
                             "ffffffffffffffffffffffffffffffffffffffffffffffffffff",
                             "",
                             "",
                             "youtube.com/c/x"};
    for (int i = 0; i < 14; ++i)
        card[static_cast<std::size_t>(i)] = texts[i];
    vk::TInfo14 info;
    vk::ReadInfoReply(CardReply(card), info);
    EXPECT_EQ(info, (vk::TInfo14{texts[0], texts[1], texts[2], texts[3], texts[4], texts[6], texts[5], texts[7],
                                 texts[8], texts[9], texts[10], texts[11], texts[12], texts[13]}));

    EXPECT_EQ(vk::ReadRegisterReply(ReplyOk), 0);
    EXPECT_EQ(vk::ReadRegisterReply(ReplyTaken), 1);
    EXPECT_EQ(vk::ReadRegisterReply(ReplyNo), 2);
    EXPECT_TRUE(vk::StatConfirmed(ReplyStatOk));
    EXPECT_FALSE(vk::StatConfirmed(ReplyStatNo));

    // Board and chat rows: star records of ten words, numbers where numbers are read.
    const auto board = vk::StarRecords(
        BoardReply(100, {{1, 2, "Nomad", "1-007", "Tula", "M", "4.3", "14:05_10.12.2024_Vokabron", "Hi_all"},
                         {2, 1, "Lynx", "6-012", "\xCE\xEC\xF1\xEA", "W", "4.3", "2:05_PM_12/10/2024_Vokabron", "x"}}),
        10);
    ASSERT_EQ(board.size(), 2u);
    for (std::size_t i = 0; i < board.size(); ++i) {
        const auto words = vk::SplitWords(board[i], ' ');
        ASSERT_EQ(words.size(), 10u) << board[i];
        EXPECT_EQ(vk::IntegerWord(words[0]), static_cast<int>(i + 1));
        EXPECT_EQ(vk::IntegerWord(words[2]), static_cast<int>(2 - i));
    }
    EXPECT_EQ(vk::SplitWords(board[0], ' ')[9], "Hi_all");

    // Statistics: the record up to "*", blanks added at both ends, pieces 1..18.
    StatCounters stats;
    stats.starts = 10;
    stats.x[0] = 55;
    const auto statRecord = vk::StarRecords(StatsReply(stats, "-"), 1);
    ASSERT_EQ(statRecord.size(), 1u);
    const auto pieces = vk::SplitWords(" " + statRecord[0] + " ", ' ');
    ASSERT_EQ(pieces.size(), 20u);
    EXPECT_EQ(vk::IntegerWord(pieces[1]), 10);
    EXPECT_EQ(pieces[4], "-");
    EXPECT_EQ(vk::IntegerWord(pieces[5]), 55);
    for (int i = 6; i <= 17; ++i)
        EXPECT_EQ(vk::IntegerWord(pieces[static_cast<std::size_t>(i)]), 0) << i;
    EXPECT_EQ(pieces[18], "#");
}
