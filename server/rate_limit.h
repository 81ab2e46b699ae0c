#pragma once
// Sliding-window counters in memory: login failures, password checks,
// registrations, board and chat posts, statistics reports per client
// address.  They are deliberately not shared between server processes: each
// process bounds what it does itself.
#include <chrono>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <mutex>
#include <string>
#include <unordered_map>

namespace vks {

class RateLimiter {
public:
    struct Rule {
        std::string key;
        int count;          // at most this many events ...
        double windowS;     // ... within this many seconds; 0 = no limit
    };

    // Records one event under every rule when all of them still allow it.
    bool Take(std::initializer_list<Rule> rules);
    // Events recorded under key within the window.
    int Count(const std::string& key, double windowS);
    void Add(const std::string& key);
    void Clear(const std::string& key);

private:
    using Clock = std::chrono::steady_clock;
    void Prune(std::deque<Clock::time_point>& events, double windowS, Clock::time_point now);
    void Sweep(Clock::time_point now);

    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<Clock::time_point>> events_;
    std::uint64_t operations_ = 0;
};

} // namespace vks
