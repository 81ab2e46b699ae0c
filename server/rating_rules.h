#pragma once
// Which saves of a member's game record the server accepts.  The client
// computes the whole record itself and sends it back; the server accepts
// exactly the transitions its flows produce (start, resume, suspend,
// complete, and the unchanged repeats after a lost reply) and keeps the
// rating from its own sum of scores, so a repeated save never counts twice
// and a made-up record is refused.
#include <cstdint>
#include <string>

#include "server/storage/storage.h"

namespace vks {

struct SentGame {
    std::int64_t kon = 0, best = 0;
    double rating = 0;
    std::int64_t ses = 0, konl = 0, score = 0, r1 = 0;
    std::string r2;
};

struct RatingLimits {
    Seconds minDealS = 3;
    int startsPerHour = 30;
    Seconds resultWindowS = 15 * 60;
    int startsPerDay = 20;
};

inline constexpr int LastDeal = 20;

// What a rating becomes once written and read back; ratings are stored this
// way so that the text the client was given compares equal to the stored
// value when it is sent back (a raw double would place a member below
// himself).
double CanonicalRating(double x);

GameDecision DecideGameSave(const GameSnapshot& snapshot, const SentGame& sent, Seconds now,
                            const RatingLimits& limits);

} // namespace vks
