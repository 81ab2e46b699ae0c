#pragma once
// Scores and deal counts: the arithmetic of a game's end.  The record line a
// game is filed with is the club file's MakeMemberLine; a rating game's
// arithmetic is the club's (logic/club/club_rating.h).
#include <cstdint>

namespace vk {

inline constexpr std::int32_t NewGameScore = 1000;

// The deal just finished was the last one.
bool GameCompleteAfter(int dealNumber);
// "Дальше" is offered after a solved deal.
bool NextDealOffered(int dealNumber);

} // namespace vk
