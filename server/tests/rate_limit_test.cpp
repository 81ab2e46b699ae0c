// The limits' memory: bounded however many keys clients make up, each key
// kept only for its own window; and the back-off after a budget.
#include <gtest/gtest.h>

#include <thread>

#include "server/rate_limit.h"

using namespace vks;

TEST(RateLimit, KeysAreBoundedAndLeaveWithTheirWindow)
{
    RateLimiter limiter(1000);
    for (int i = 0; i < 50000; ++i)
        limiter.Add("fail:10.0.0.1|nick" + std::to_string(i), 3600);
    EXPECT_LE(limiter.Keys(), 1000u);
    // The most recent keys are the ones kept.
    EXPECT_EQ(limiter.Count("fail:10.0.0.1|nick49999", 3600), 1);
    EXPECT_EQ(limiter.Count("fail:10.0.0.1|nick0", 3600), 0);

    RateLimiter shortLived;
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(shortLived.Take({{"chat:" + std::to_string(i), 1, 0.05}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (int i = 0; i < 10; ++i)
        shortLived.Take({{"board:x", 100, 60}});
    EXPECT_EQ(shortLived.Keys(), 1u) << "keys whose window passed are let go as the limiter is used";
}

TEST(RateLimit, TakeRecordsOnlyWhenEveryRuleAllows)
{
    RateLimiter limiter;
    EXPECT_TRUE(limiter.Take({{"a", 1, 60}, {"b", 2, 60}}));
    EXPECT_FALSE(limiter.Take({{"a", 1, 60}, {"b", 2, 60}}));
    EXPECT_EQ(limiter.Count("b", 60), 1);
    EXPECT_TRUE(limiter.Take({{"b", 2, 60}}));
    EXPECT_FALSE(limiter.Take({{"b", 2, 60}}));
}

TEST(RateLimit, BacksOffPastTheBudget)
{
    RateLimiter limiter;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(limiter.BackingOff("nick:alice", 3, 60)) << i;
        limiter.Add("nick:alice", 60);
    }
    EXPECT_TRUE(limiter.BackingOff("nick:alice", 3, 60));
    // Once the failures are older than the window, nothing is held back.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(limiter.BackingOff("nick:alice", 3, 0.02));
    EXPECT_FALSE(limiter.BackingOff("nick:bob", 3, 60));
}
