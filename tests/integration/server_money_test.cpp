// Money under concurrency and crashes: two transfers racing for one balance,
// and a server killed in the middle of a burst of writes.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <random>
#include <thread>

#include "server_probe_util.h"

using namespace vk::test;

TEST(ServerMoney, TwoTransfersRacingForOneBalanceExactlyOneWins)
{
    TestServer server({"initial_balance=25"});
    const int port = server.Port();
    int members = 0;
    for (int round = 0; round < 8; ++round) {
        const std::string a = "Payer" + std::to_string(round), b = "Payee" + std::to_string(round);
        const std::string first = Member(port, a);
        const std::string second = Post(port, "/club/account", LoginBody(a)).SessionCookie().value_or("");
        Member(port, b);
        members += 2;
        ASSERT_FALSE(first.empty());
        ASSERT_FALSE(second.empty());
        std::latch go(2);
        std::string replies[2];
        std::thread t1([&] {
            go.arrive_and_wait();
            replies[0] = Post(port, "/club/account", AddBalanceBody(b, 20), first).body;
        });
        std::thread t2([&] {
            go.arrive_and_wait();
            replies[1] = Post(port, "/club/account", AddBalanceBody(b, 20), second).body;
        });
        t1.join();
        t2.join();
        EXPECT_EQ((replies[0] == "ok") + (replies[1] == "ok"), 1) << replies[0] << " / " << replies[1];
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT balance FROM member WHERE nick = '" + a + "'"), 5);
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT balance FROM member WHERE nick = '" + b + "'"), 45);
    }
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT SUM(balance) FROM member"), 25 * members);
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
}

TEST(ServerMoney, KilledDuringABurstOfWritesRestartsWhole)
{
    TestServer server({"initial_balance=100"});
    constexpr int kMembers = 8;
    std::vector<std::string> nicks;
    for (int i = 0; i < kMembers; ++i)
        nicks.push_back("Crash" + std::to_string(i));

    for (int cycle = 0; cycle < 3; ++cycle) {
        const int port = server.Port();
        std::vector<std::string> cookies;
        for (const auto& nick : nicks)
            cookies.push_back(Member(port, nick));
        std::atomic<bool> stop = false;
        std::atomic<int> writes = 0;
        std::vector<std::thread> workers;
        for (int w = 0; w < 4; ++w) {
            workers.emplace_back([&, w] {
                std::mt19937 rng(static_cast<unsigned>(cycle * 10 + w));
                for (int n = 0; !stop; ++n) {
                    const int from = static_cast<int>(rng() % kMembers), to = static_cast<int>(rng() % kMembers);
                    const int amount = 1 + static_cast<int>(rng() % 30);
                    if (Post(port, "/club/account", AddBalanceBody(nicks[to], amount), cookies[from]).body == "ok") {
                        ++writes;
                        Post(port, "/club/account", AddBalanceBody(nicks[from], -amount), cookies[from]);
                    }
                    const std::string nick =
                        "New" + std::to_string(cycle) + "x" + std::to_string(w) + "x" + std::to_string(n);
                    Post(port, "/club/account", RegisterBody(nick));
                    Post(port, "/stat", "gid=50&stat1=1&stat2=1");
                }
            });
        }
        // Kill once writes are flowing.
        while (writes < 20 * (cycle + 1))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        server.Kill();
        stop = true;
        for (auto& t : workers)
            t.join();

        EXPECT_EQ(DbIntegrity(server.DbPath()), "ok");
        EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT SUM(balance) FROM member"),
                  100 * DbNumber(server.DbPath(), "SELECT COUNT(*) FROM member"));
        server.Start();
        EXPECT_EQ(Post(server.Port(), "/club/account", "label1=0").status, 200);
        EXPECT_EQ(DbIntegrity(server.DbPath()), "ok");
    }
}
