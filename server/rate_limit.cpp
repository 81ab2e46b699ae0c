#include "server/rate_limit.h"

#include <algorithm>
#include <cmath>

namespace vks {
namespace {
// Keys looked at for expiry on each use: the clean-up is spread over the
// requests instead of walking the whole table under the lock at once.
constexpr int kSweepPerUse = 4;
// Uses of shared events between two clean-ups there: each clean-up is one
// pass over the shared table, so it runs now and then, not at every use.
constexpr std::uint64_t kSharedUsesPerSweep = 1024;

std::chrono::steady_clock::duration Span(double seconds)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}
} // namespace

void RateLimiter::Prune(Entry& entry, double windowS, Clock::time_point now)
{
    const auto horizon = now - Span(windowS);
    while (!entry.events.empty() && entry.events.front() <= horizon)
        entry.events.pop_front();
}

void RateLimiter::Sweep(Clock::time_point now)
{
    // The least recently used keys are the likeliest to have expired.
    for (int i = 0; i < kSweepPerUse && !recency_.empty(); ++i) {
        const auto it = entries_.find(recency_.back());
        Prune(it->second, it->second.windowS, now);
        if (!it->second.events.empty())
            break;
        recency_.pop_back();
        entries_.erase(it);
    }
    while (entries_.size() > maxKeys_) {
        entries_.erase(recency_.back());
        recency_.pop_back();
    }
}

RateLimiter::Entry& RateLimiter::Touch(const std::string& key, double windowS, Clock::time_point now)
{
    auto [it, fresh] = entries_.try_emplace(key);
    Entry& e = it->second;
    if (fresh) {
        recency_.push_front(key);
    } else {
        recency_.splice(recency_.begin(), recency_, e.use);
    }
    e.use = recency_.begin();
    e.windowS = std::max(e.windowS, windowS);
    Prune(e, windowS, now);
    return e;
}

void RateLimiter::SweepShared()
{
    if (++sharedUses_ % kSharedUsesPerSweep == 0)
        shared_->SweepLimits(maxKeys_);
}

bool RateLimiter::Take(std::initializer_list<Rule> rules)
{
    if (shared_) {
        SweepShared();
        return shared_->TakeLimits(std::vector<Rule>(rules));
    }
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    for (const auto& rule : rules) {
        if (rule.windowS <= 0)
            continue;
        if (static_cast<int>(Touch(rule.key, rule.windowS, now).events.size()) >= rule.count) {
            Sweep(now);
            return false;
        }
    }
    for (const auto& rule : rules)
        if (rule.windowS > 0)
            entries_[rule.key].events.push_back(now);
    Sweep(now);
    return true;
}

int RateLimiter::Count(const std::string& key, double windowS)
{
    if (shared_)
        return shared_->SeeLimit(key, windowS).events;
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end())
        return 0;
    Prune(it->second, windowS, now);
    return static_cast<int>(it->second.events.size());
}

void RateLimiter::Add(const std::string& key, double windowS)
{
    if (shared_) {
        SweepShared();
        return shared_->AddLimit(key, windowS);
    }
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    Touch(key, windowS, now).events.push_back(now);
    Sweep(now);
}

void RateLimiter::Clear(const std::string& key)
{
    if (shared_)
        return shared_->ClearLimit(key);
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end())
        return;
    recency_.erase(it->second.use);
    entries_.erase(it);
}

bool RateLimiter::MustWait(const Seen& seen, int budget, double windowS)
{
    const int over = seen.events - budget;
    if (over < 0)
        return false;
    return seen.newestAgoS < std::min(windowS, std::ldexp(2.0, std::min(over, 30)));
}

bool RateLimiter::BackingOff(const std::string& key, int budget, double windowS)
{
    if (shared_)
        return MustWait(shared_->SeeLimit(key, windowS), budget, windowS);
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(key);
    if (it == entries_.end())
        return false;
    Prune(it->second, windowS, now);
    const auto& events = it->second.events;
    if (events.empty())
        return false;
    const Seen seen{static_cast<int>(events.size()), std::chrono::duration<double>(now - events.back()).count()};
    return MustWait(seen, budget, windowS);
}

std::size_t RateLimiter::Keys()
{
    std::lock_guard lock(mutex_);
    return entries_.size();
}

} // namespace vks
