#pragma once
// Sliding-window counters: login failures, password checks, registrations,
// board and chat posts, statistics reports per client address.  They live in
// this process's memory, or, when the storage is shared by several server
// processes, in the storage (KeepIn), so that a client spreading its
// requests over the processes meets the same limits as against one.
//
// Keys can be made up by clients (every unknown nick tried, every address of
// a large IPv6 network), so the table is bounded: each key is dropped once
// its own window has passed, a few stale keys are let go at every use, and
// past the size limit the least recently used key goes.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace vks {

class LimitEvents;

class RateLimiter {
public:
    explicit RateLimiter(std::size_t maxKeys = 100000) : maxKeys_(maxKeys) {}

    struct Rule {
        std::string key;
        int count;      // at most this many events ...
        double windowS; // ... within this many seconds; 0 = no limit
    };

    // What a key holds within a window: its events and how long ago the
    // newest was.
    struct Seen {
        int events = 0;
        double newestAgoS = 0;
    };

    // From now on the events are kept in shared instead of in memory; the
    // key bound and the clean-up then work there.
    void KeepIn(LimitEvents* shared) { shared_ = shared; }

    // Records one event under every rule when all of them still allow it.
    bool Take(std::initializer_list<Rule> rules);
    // Events recorded under key within the window.
    int Count(const std::string& key, double windowS);
    // Records one event, kept for windowS.
    void Add(const std::string& key, double windowS);
    void Clear(const std::string& key);
    // True while a key that holds budget or more events in the window must
    // still wait: 2, 4, 8 ... seconds after its newest event for each event
    // beyond the budget, never longer than the window.
    bool BackingOff(const std::string& key, int budget, double windowS);

    // Keys held in memory (none while the events are kept in shared).
    std::size_t Keys();

private:
    using Clock = std::chrono::steady_clock;
    struct Entry {
        std::deque<Clock::time_point> events;
        double windowS = 0;                   // the longest window the key is used with
        std::list<std::string>::iterator use; // its place in the recency list
    };
    Entry& Touch(const std::string& key, double windowS, Clock::time_point now);
    static void Prune(Entry& entry, double windowS, Clock::time_point now);
    void Sweep(Clock::time_point now);
    void SweepShared();
    // The back-off rule itself, whichever place holds the events.
    static bool MustWait(const Seen& seen, int budget, double windowS);

    std::size_t maxKeys_;
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> recency_; // most recently used first
    LimitEvents* shared_ = nullptr;
    std::atomic<std::uint64_t> sharedUses_ = 0;
};

// Limit events kept where every server process sees them.  Each event is
// kept for the window it was recorded with.
class LimitEvents {
public:
    virtual ~LimitEvents() = default;
    virtual bool TakeLimits(const std::vector<RateLimiter::Rule>& rules) = 0;
    virtual RateLimiter::Seen SeeLimit(const std::string& key, double windowS) = 0;
    virtual void AddLimit(const std::string& key, double windowS) = 0;
    virtual void ClearLimit(const std::string& key) = 0;
    // Lets go of the events whose window has passed and, beyond maxKeys
    // keys, of the least recently used keys.
    virtual void SweepLimits(std::size_t maxKeys) = 0;
};

} // namespace vks
