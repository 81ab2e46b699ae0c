#include "server/rate_limit.h"

#include <vector>

namespace vks {
namespace {
// Nothing is kept longer than this, whatever a rule's window.
constexpr double kLongestWindowS = 2 * 24 * 3600;
}

void RateLimiter::Prune(std::deque<Clock::time_point>& events, double windowS, Clock::time_point now)
{
    const auto horizon = now - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(windowS));
    while (!events.empty() && events.front() <= horizon)
        events.pop_front();
}

void RateLimiter::Sweep(Clock::time_point now)
{
    if (++operations_ % 4096 != 0)
        return;
    for (auto it = events_.begin(); it != events_.end();) {
        Prune(it->second, kLongestWindowS, now);
        it = it->second.empty() ? events_.erase(it) : std::next(it);
    }
}

bool RateLimiter::Take(std::initializer_list<Rule> rules)
{
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    Sweep(now);
    for (const auto& rule : rules) {
        if (rule.windowS <= 0)
            continue;
        auto& events = events_[rule.key];
        Prune(events, rule.windowS, now);
        if (static_cast<int>(events.size()) >= rule.count)
            return false;
    }
    for (const auto& rule : rules)
        if (rule.windowS > 0)
            events_[rule.key].push_back(now);
    return true;
}

int RateLimiter::Count(const std::string& key, double windowS)
{
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    const auto it = events_.find(key);
    if (it == events_.end())
        return 0;
    Prune(it->second, windowS, now);
    return static_cast<int>(it->second.size());
}

void RateLimiter::Add(const std::string& key)
{
    const auto now = Clock::now();
    std::lock_guard lock(mutex_);
    Sweep(now);
    events_[key].push_back(now);
}

void RateLimiter::Clear(const std::string& key)
{
    std::lock_guard lock(mutex_);
    events_.erase(key);
}

} // namespace vks
