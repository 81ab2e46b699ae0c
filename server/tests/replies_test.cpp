#include <gtest/gtest.h>

#include "server/number_text.h"
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
    card[0] = "\xC8\xE2\xE0\xED";   // Иван
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
        {CardReply(card), "$\xC8\xE2\xE0\xED~\xCF\xE5\xF2\xF0\xEE\xE2~I know nothing~~~https://example.org/x?a=1&b=2~~~~~~~~$"},
        {BoardReply(50, {{1, 950, "Nomad", "1-007", "Tula", "M", "4.3", "#", "#"}}), "$1 50 950 Nomad 1-007 Tula M 4.3 # #*"},
        {BoardReply(100, {{1, 2, "Nomad", "1-007", "Tula", "M", "4.3", "14:05_10.12.2024_Vokabron", "\xCF\xF0\xE8\xE2\xE5\xF2_\xE2\xF1\xE5\xEC"}}),
         "$1 100 2 Nomad 1-007 Tula M 4.3 14:05_10.12.2024_Vokabron \xCF\xF0\xE8\xE2\xE5\xF2_\xE2\xF1\xE5\xEC*"},
        {StatsReply(stats, "2024-05-01"), "$10 7 2 2024-05-01 55 3 0 0 0 0 0 0 0 0 0 0 0 #*"},
        {ReplyStatOk, "$ ok#"},
    };
    for (const auto& [built, expected] : cases)
        EXPECT_EQ(built, expected);
}

TEST(Replies, RealNumbersAsTheClientWritesThem)
{
    const std::vector<std::pair<double, std::string>> cases = {
        {0, "0"},          {0.000005, "0"},    {-0.000005, "0"},  {0.00001, "0.00001"}, {1234.5, "1234.5"},
        {100, "100"},      {-2.5, "-2.5"},     {951, "951"},      {921.5, "921.5"},     {1.0 / 3, "0.333333333333333"},
        {950.0 / 3 + 3, "319.666666666667"},   {999999999999999.0, "999999999999999"},  {1e15, "1E15"},
        {123456.7890123456, "123456.789012346"},
    };
    for (const auto& [x, text] : cases)
        EXPECT_EQ(FloatToText(x), text) << x;
    EXPECT_EQ(CanonicalRating(950.0 / 3 + 3), 319.666666666667);
}
