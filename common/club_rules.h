#pragma once
// The club's rules that the game and its server must read alike: which
// scores a board takes, what a place on the club board earns, how many
// sessions a member may hold.  Standard library only.
#include <cstdint>

namespace vk {

// A result enters a board from WorldTopTenMinScore on; no game ends above
// MaxGameScore.
inline constexpr int WorldTopTenMinScore = 900;
inline constexpr int MaxGameScore = 1000;

// The currency a club board place earns: the first place more than the
// rest of the top ten, the places below nothing.
inline constexpr int FirstPlaceReward = 25;
inline constexpr int TopTenPlaceReward = 10;
inline constexpr int RewardedPlaces = 10;

constexpr int PlaceReward(std::int64_t place)
{
    if (place == 1)
        return FirstPlaceReward;
    return place >= 2 && place <= RewardedPlaces ? TopTenPlaceReward : 0;
}

// Live sessions a member may hold; a new one ends the oldest beyond this.
inline constexpr int SessionsPerMember = 8;

} // namespace vk
