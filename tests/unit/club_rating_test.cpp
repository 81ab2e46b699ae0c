#include <gtest/gtest.h>

#include <cmath>

#include "logic/club/club_rating.h"

using namespace vk;

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
    struct Case {
        int place;
        bool credited;
        int bonus;
    };
    const Case cases[] = {
        {1, true, 25}, {2, true, 10}, {10, true, 10}, {11, true, 0},   {37, true, 0},
        {0, true, 0},  {-1, true, 0}, {1, false, -1}, {10, false, -1}, {11, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultBonus(c.place, c.credited), c.bonus) << c.place << " " << c.credited;
}
