#pragma once
// The club's rules that the game and its server must read alike: which
// scores a board takes, what a place on the club board earns, how many
// sessions a member may hold.  Standard library only.
#include <cstddef>
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

// Rewarded places are counted over a season: the club board's rows of the
// season that holds `now` (seasons of seasonS seconds, counted from the Unix
// epoch); older rows stay on the board but no longer stand above a new one.
// Within a season, of two equal scores the newer ranks first.
constexpr std::int64_t SeasonStart(std::int64_t now, std::int64_t seasonS)
{
    if (seasonS <= 0)
        return 0;
    const std::int64_t into = now % seasonS;
    return now - (into < 0 ? into + seasonS : into);
}

// Device tokens a member may hold (one for each computer the member keeps a
// login on); a new one ends the oldest beyond this.
inline constexpr int DevicesPerMember = 8;

// Live sessions a member may hold; a new one ends the oldest beyond this.
inline constexpr int SessionsPerMember = 8;

// A member's photo: one JPEG picture of exactly PhotoWidth x PhotoHeight
// pixels; the club takes files of up to PhotoFileCap bytes (the server's
// default max_photo), and the game never sends a larger one.
inline constexpr int PhotoWidth = 200;
inline constexpr int PhotoHeight = 250;
inline constexpr std::size_t PhotoFileCap = 256 * 1024;

} // namespace vk
