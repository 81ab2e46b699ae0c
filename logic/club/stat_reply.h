#pragma once
// The statistics server's figures as the statistics window shows them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

struct TTevStat {
    std::int32_t GID = 0;
    std::int32_t Stat1 = 0;               // starts
    std::int32_t Stat2 = 0;               // unique starts
    std::int32_t Stat3 = 0;               // likes
    std::string Stat4;                    // the last like, as received
    std::array<std::int32_t, 12> StatX{}; // [0] played deals, [1] played games
    std::int32_t StatY = 0;
    std::string StatZ;
};

// The figures of a reply: the record from the first "$" that is not the
// last byte to the first "*" (or the byte before the last), split at
// blanks into pieces 1 to 18.  A reply without "$" leaves the figures at
// zero; a piece that should be a number and is not fails the reading.
std::optional<TTevStat> ReadStatsReply(std::string_view reply);

} // namespace vk
