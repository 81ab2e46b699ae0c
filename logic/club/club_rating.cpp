#include "logic/club/club_rating.h"

#include <algorithm>

#include "common/club_rules.h"
#include "common/product.h"

namespace vk {

void RatingAtStart(TTevGame& game)
{
    const int n = game.Kon + 1;
    game.Rating = ((n - 1) * (game.Rating - (n - 1))) / n + n;
    game.Kon = n;
}

void RatingAtEnd(TTevGame& game, std::int32_t finalScore)
{
    // Dividing by a Kon of 0 would make the rating infinite or NaN and the
    // server would keep it; such a record has simply not counted its start.
    if (game.Kon < 1)
        RatingAtStart(game);
    const double n = game.Kon;
    game.Rating = (n * (game.Rating - n) + finalScore) / n + n;
}

void RegisterRatingGameStart(TTevGame& game)
{
    if (game.KonL == 0)
        RatingAtStart(game);
    game.KonL = 0;
    game.Score = 0;
}

void RegisterRatingGameEnd(TTevGame& game, int dealNumber, std::int32_t score)
{
    if (dealNumber < DealsPerGame) {
        game.KonL = dealNumber;
        game.Score = score;
        return;
    }
    game.Best = std::max(game.Best, score);
    game.Sessions += 1;
    RatingAtEnd(game, score);
    game.KonL = 0;
    game.Score = 0;
}

int PlaceBonus(int place) { return PlaceReward(place); }

int ResultBonus(int place, bool credited)
{
    const int bonus = PlaceBonus(place);
    return bonus > 0 && !credited ? -1 : bonus;
}

} // namespace vk
