#include "server/rating_rules.h"

#include <algorithm>
#include <cmath>

#include <charconv>

#include "common/club_rules.h"
#include "common/readers.h"

namespace vks {
namespace {

// The client sends back a value it computed in double precision from the
// 15-digit text it was given.
bool Close(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

// The final score implied by the completion update Rating' = Rating + s / n.
std::optional<std::int64_t> ImpliedScore(double sentRating, double storedRating, std::int64_t n)
{
    if (n < 1)
        return std::nullopt;
    const double x = static_cast<double>(n) * (sentRating - storedRating);
    const double s = std::nearbyint(x);
    if (std::fabs(x - s) > 0.1 || s < 0 || s > vk::MaxGameScore)
        return std::nullopt;
    return static_cast<std::int64_t>(s);
}

GameDecision Make(Transition t, const GameRecord& updated = {}, std::int64_t finalScore = 0)
{
    return {t, updated, finalScore};
}

} // namespace

double CanonicalRating(double x)
{
    const std::string text = vk::FloatToText(x);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

GameDecision DecideGameSave(const GameSnapshot& snapshot, const SentGame& g, Seconds now, const RatingLimits& limits)
{
    const GameRecord& r = snapshot.record;
    const std::int64_t n = r.kon, S = r.sumScores, m = r.sessions, b = r.best, k = r.konl, c = r.score;
    const double R = r.rating;
    const bool open = r.openCycle.has_value();

    if (g.r1 != r.r1 || g.r2 != r.r2)
        return Make(Transition::Refused);

    // T0: the stored state sent again (a retry after a lost reply).
    if (g.kon == n && g.best == b && g.ses == m && g.konl == k && g.score == c && Close(g.rating, R))
        return Make(Transition::Repeat);

    const bool keepsTotals = g.ses == m && g.best == b;

    // T1: a new cycle.  A cycle still open is abandoned and counts 0.
    if (k == 0 && g.kon == n + 1 && g.konl == 0 && g.score == 0 && keepsTotals) {
        const double next = static_cast<double>(S) / static_cast<double>(n + 1) + static_cast<double>(n + 1);
        if (!Close(g.rating, next) || snapshot.startsInLastHour >= limits.startsPerHour
            || snapshot.startsInLastDay >= limits.startsPerDay)
            return Make(Transition::Refused);
        GameRecord u = r;
        u.kon = n + 1;
        u.rating = CanonicalRating(next);
        u.konl = u.score = 0;
        u.openCap = vk::MaxGameScore;
        u.openFloor = 0;
        u.openSince = now;
        return Make(Transition::StartNew, u);
    }

    // T2: resuming the suspended cycle; its score caps the rest of the cycle.
    if (k > 0 && g.kon == n && g.konl == 0 && g.score == 0 && keepsTotals && Close(g.rating, R)) {
        if (!snapshot.lastCycle || snapshot.lastCycle->kon != n)
            return Make(Transition::Refused);
        GameRecord u = r;
        u.konl = u.score = 0;
        u.openCycle = snapshot.lastCycle->id;
        u.openCap = c;
        u.openFloor = k;
        u.openSince = now;
        return Make(Transition::Resume, u);
    }

    // T3: suspending the open cycle after a later deal, with no more points
    // than it had, no faster than the deals can be played.
    if (open && g.kon == n && g.konl > r.openFloor && g.konl < LastDeal && g.score >= 0 && g.score <= r.openCap
        && keepsTotals && Close(g.rating, R)) {
        if (now - r.openSince < (g.konl - r.openFloor) * limits.minDealS)
            return Make(Transition::Refused);
        GameRecord u = r;
        u.konl = g.konl;
        u.score = g.score;
        return Make(Transition::Suspend, u);
    }

    // T4: completing the open cycle.
    if (open && g.kon == n && g.konl == 0 && g.score == 0 && g.ses == m + 1) {
        const auto s = ImpliedScore(g.rating, R, n);
        if (!s || *s > r.openCap || g.best != std::max(b, *s)
            || now - r.openSince < (LastDeal - r.openFloor) * limits.minDealS)
            return Make(Transition::Refused);
        GameRecord u = r;
        u.sumScores = S + *s;
        u.sessions = m + 1;
        u.best = std::max(b, *s);
        u.rating = CanonicalRating(static_cast<double>(u.sumScores) / static_cast<double>(n) + static_cast<double>(n));
        u.konl = u.score = 0;
        return Make(Transition::Complete, u, *s);
    }

    // T5: the completion applied once more by a client whose reply was lost.
    if (!open && snapshot.lastCycle && snapshot.lastCycle->kon == n && snapshot.lastCycle->completedAt
        && now - *snapshot.lastCycle->completedAt <= limits.resultWindowS && g.kon == n && g.konl == 0 && g.score == 0
        && g.ses == m + 1) {
        const auto s = ImpliedScore(g.rating, R, n);
        if (s && s == snapshot.lastCycle->finalScore)
            return Make(Transition::RepeatComplete);
    }

    return Make(Transition::Refused);
}

} // namespace vks
