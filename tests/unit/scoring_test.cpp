#include <gtest/gtest.h>

#include <cmath>

#include "common/codepage.h"
#include "game/scoring.h"

using namespace vk;

TEST(PlayerRecordLine, Fields)
{
    const std::string name = Utf8ToCp1251("Иван").value();
    const std::string code = "123456789012345";
    struct Case { std::int32_t score; int deal; std::string middle; };
    const Case cases[] = {
        {985, 7, "#     985#  7 ######"},
        {1000, 20, "#    1000# 20 ######"},
        {-15, 3, "#     -15#  3 ######"},
        {-123456789, 1, "#-9999999#  1 ######"},   // clamped to what the field holds
        {999999999, 1, "#99999999#  1 ######"},
    };
    for (const Case& c : cases) {
        const std::string line = PlayerRecordLine(name, c.score, c.deal, code);
        ASSERT_EQ(line.size(), 55u);
        EXPECT_EQ(line.substr(0, 20), name + std::string(16, ' '));
        EXPECT_EQ(line.substr(20, 20), c.middle) << c.score;
        EXPECT_EQ(line.substr(40), code);
    }
    const std::string full(20, '\xC6');
    EXPECT_EQ(PlayerRecordLine(full + "tail", 1, 1, "1").substr(0, 20), full);
    EXPECT_EQ(PlayerRecordLine(full, 1, 1, "1").substr(40), "1" + std::string(14, ' '));
}

TEST(DealCount, ResumedCountsAndTheLastDeal)
{
    struct Case { int stored, resumed; };
    for (const Case c : {Case{-3, 0}, {0, 0}, {7, 7}, {19, 19}, {20, 19}, {999, 19}})
        EXPECT_EQ(ResumedDealNumber(c.stored), c.resumed) << c.stored;
    // Whatever a line held, the next deal after a resume is at most the 20th,
    // and that one completes the game.
    EXPECT_TRUE(GameCompleteAfter(ResumedDealNumber(999) + 1));
    EXPECT_FALSE(GameCompleteAfter(19));
    EXPECT_TRUE(GameCompleteAfter(21));
    EXPECT_TRUE(NextDealOffered(19));
    EXPECT_FALSE(NextDealOffered(20));
}

TEST(ClubRating, StartAndEndUpdates)
{
    TTevGame g;
    RatingAtStart(g);
    EXPECT_EQ(g.Kon, 1);
    EXPECT_DOUBLE_EQ(g.Rating, 1.0);
    RatingAtEnd(g, 950);
    EXPECT_EQ(g.Kon, 1);
    EXPECT_DOUBLE_EQ(g.Rating, 951.0);

    // Over several games the updates keep Rating = S / n + n, an abandoned
    // game counting 0.
    const std::int32_t finals[] = {900, -1, 1000, 930};
    double sum = 0;
    g = {};
    for (std::int32_t s : finals) {
        RatingAtStart(g);
        if (s >= 0) {
            RatingAtEnd(g, s);
            sum += s;
        }
        EXPECT_NEAR(g.Rating, sum / g.Kon + g.Kon, 1e-9) << g.Kon;
    }

    // A record that never counted its start gets a finite rating.
    g = {};
    RatingAtEnd(g, 950);
    EXPECT_EQ(g.Kon, 1);
    EXPECT_DOUBLE_EQ(g.Rating, 951.0);
}

TEST(ClubRating, RegisteredStartsAndEnds)
{
    // A new rating game is counted at once; the server holds no unfinished
    // game while it runs.
    TTevGame g;
    g.Kon = 3;
    g.Rating = 3 + 2700.0 / 3;
    RegisterRatingGameStart(g);
    EXPECT_EQ(g.Kon, 4);
    EXPECT_NEAR(g.Rating, 2700.0 / 4 + 4, 1e-9);
    EXPECT_EQ(g.KonL, 0);

    // Resuming an unfinished one (KonL 12, score 990) changes neither Kon nor
    // the rating.
    TTevGame resumed;
    resumed.Kon = 4;
    resumed.Rating = 679;
    resumed.KonL = 12;
    resumed.Score = 990;
    RegisterRatingGameStart(resumed);
    EXPECT_EQ(resumed.Kon, 4);
    EXPECT_DOUBLE_EQ(resumed.Rating, 679);
    EXPECT_EQ(resumed.KonL, 0);

    // Interrupted after deal 15: kept for later.  Finished: counted.
    RegisterRatingGameEnd(g, 15, 985);
    EXPECT_EQ(g.KonL, 15);
    EXPECT_EQ(g.Score, 985);
    EXPECT_EQ(g.Sessions, 0);
    g.Best = 940;
    RegisterRatingGameEnd(g, 20, 960);
    EXPECT_EQ(g.KonL, 0);
    EXPECT_EQ(g.Score, 0);
    EXPECT_EQ(g.Sessions, 1);
    EXPECT_EQ(g.Best, 960);
    EXPECT_NEAR(g.Rating, (2700.0 + 960) / 4 + 4, 1e-9);
    RegisterRatingGameEnd(g, 20, 900);
    EXPECT_EQ(g.Best, 960);
}

TEST(ClubRating, Bonus)
{
    struct Case { int place; bool credited; int bonus; };
    const Case cases[] = {
        {1, true, 25}, {2, true, 10}, {10, true, 10}, {11, true, 0}, {37, true, 0}, {0, true, 0}, {-1, true, 0},
        {1, false, -1}, {10, false, -1}, {11, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultBonus(c.place, c.credited), c.bonus) << c.place << " " << c.credited;
}
