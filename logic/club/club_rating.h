#pragma once
// The club rating of a member's record and the currency a club board place
// earns: the arithmetic of a rating game's start and end.
#include <cstdint>

#include "logic/club/records.h"

namespace vk {

// The member's club rating: with n = Kon rating games started and S the sum
// of their final scores (an abandoned game counting 0), Rating = S / n + n.

// A new rating game is registered: it counts with a score of 0 until it ends.
void RatingAtStart(TTevGame& game);
// The game ended after its last deal with final score s.  A record that never
// counted a start (Kon 0) counts this game as its first.
void RatingAtEnd(TTevGame& game, std::int32_t finalScore);

// The record a rating game's start saves: a new game (KonL 0) is counted,
// and the server then holds no unfinished game until this one ends.
void RegisterRatingGameStart(TTevGame& game);
// The record a rating game's end saves: an interrupted game keeps its deal
// and score to be resumed; a finished one is counted into Best, Sessions and
// the rating.
void RegisterRatingGameEnd(TTevGame& game, int dealNumber, std::int32_t score);

// The currency bonus of a club board place (the club's PlaceReward).
int PlaceBonus(int place);
// The bonus reported at the end of a rating game: the place's bonus, or -1
// when it was due and crediting it failed.
int ResultBonus(int place, bool credited);

} // namespace vk
