// Three server processes on one PostgreSQL database behind nginx with the
// club's own site file, as a club that outgrew one machine runs them: the
// races that only one database can settle, sent through nginx so that they
// land on different processes; a process killed in a burst of transfers;
// the database stopped under load; and the schema made once by processes
// starting together and checked at every later start.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <latch>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "common/club_paths.h"
#include "net/account_requests.h"
#include "net/http_client.h"
#include "common/text_cipher.h"
#include "nginx_front.h"
#include "server_probe_util.h"

using namespace vk;
using namespace vk::test;

namespace {

using Clock = std::chrono::steady_clock;

// The processes share the first one's data folder and so its database.
struct Cluster {
    explicit Cluster(std::vector<std::string> settings)
    {
        settings.push_back(std::string("trusted_proxies=") + NginxSourceAddress);
        servers.push_back(std::make_unique<TestServer>(settings));
        for (int i = 1; i < 3; ++i)
            servers.push_back(std::make_unique<TestServer>(settings, servers[0]->DataDir()));
        std::vector<int> ports;
        for (const auto& s : servers)
            ports.push_back(s->Port());
        nginx = std::make_unique<NginxFront>(ports);
    }
    ~Cluster()
    {
        nginx.reset();
        while (!servers.empty()) // the first, which owns the database, last
            servers.pop_back();
    }

    int Port() const { return nginx->Port(); }
    std::string Db() const { return servers[0]->DbPath(); }

    std::vector<std::unique_ptr<TestServer>> servers;
    std::unique_ptr<NginxFront> nginx;
};

// Runs body(i) on n threads that start together.
template <class Body>
void AtOnce(int n, Body body)
{
    std::latch go(n);
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            go.arrive_and_wait();
            body(i);
        });
    for (auto& t : threads)
        t.join();
}

std::string ChatBody(const std::string& nick, const std::string& text)
{
    return SubmitBody(100, nick, "Tula", 1, "14:05_10.12.2024_Vokabron", text);
}

} // namespace

TEST(ClusterBehindNginx, RacesAreSettledByTheDatabaseWhicheverProcessAnswers)
{
    Cluster cluster({"initial_balance=25"});
    const int port = cluster.Port();

    // Requests are spread over all three processes.
    std::set<std::string> upstreams;
    for (int i = 0; i < 6; ++i)
        upstreams.insert(Get(port, "/config.txt").Header("x-upstream"));
    EXPECT_EQ(upstreams.size(), 3u);

    // Two transfers of 20 from a balance of 25, from two sessions at once.
    for (int round = 0; round < 6; ++round) {
        const std::string a = "Payer" + std::to_string(round), b = "Payee" + std::to_string(round);
        const std::string sessions[2] = {Member(port, a),
                                         Post(port, "/club/account", LoginBody(a)).SessionCookie().value_or("")};
        Member(port, b);
        ASSERT_FALSE(sessions[1].empty());
        std::string replies[2];
        AtOnce(2, [&](int i) { replies[i] = Post(port, "/club/account", AddBalanceBody(b, 20), sessions[i]).body; });
        EXPECT_EQ((replies[0] == "ok") + (replies[1] == "ok"), 1) << replies[0] << " / " << replies[1];
        EXPECT_EQ(DbNumber(cluster.Db(), "SELECT balance FROM member WHERE nick = '" + a + "'"), 5);
    }
    EXPECT_EQ(MoneyInvariants(cluster.Db()), "");

    // The chat numbers twelve messages sent at once 1 to 12.
    AtOnce(12, [&](int i) { Post(port, "/wtt", ChatBody("Talker" + std::to_string(i), "n" + std::to_string(i))); });
    EXPECT_EQ(DbText(cluster.Db(), "SELECT COUNT(DISTINCT score) || ' ' || MIN(score) || ' ' || MAX(score) "
                                   "FROM wtt_row WHERE gid = 100"),
              "12 1 12");

    // A completed game entered on the club board six times at once: one
    // row, one reward.
    const std::string winner = Member(port, "Winner");
    ASSERT_EQ(Post(port, "/club/account", SaveGameBody("Winner", 1, 0, "1", 0, 0, 0)).body, "ok");
    ASSERT_EQ(Post(port, "/club/account", SaveGameBody("Winner", 1, 1000, "1001", 1, 0, 0)).body, "ok");
    std::string places[6];
    AtOnce(6, [&](int i) { places[i] = Post(port, "/wtt", SubmitBody(350, "Winner", "Tula", 1000), winner).body; });
    for (const auto& place : places)
        EXPECT_EQ(place, "$1 ");
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT COUNT(*) FROM wtt_row WHERE gid = 350"), 1);
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT COUNT(*) FROM ledger WHERE kind = 'reward'"), 1);
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT balance FROM member WHERE nick = 'Winner'"), 25 + 25);
    EXPECT_EQ(MoneyInvariants(cluster.Db()), "");
}

TEST(ClusterBehindNginx, PerAddressLimitsHoldAcrossProcessesAndTrustOnlyTheProxy)
{
    Cluster cluster({"chat_interval_s=60"});
    const auto direct = [&](int server, const std::string& forwardedFor) {
        const std::string body = ChatBody("Nomad", "hi");
        return Exchange(cluster.servers[static_cast<std::size_t>(server)]->Port(),
                        "POST /wtt HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                        "Content-Type: application/x-www-form-urlencoded\r\nX-Forwarded-For: "
                            + forwardedFor + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)
            .status;
    };
    // Straight to the first process from 127.0.0.1, which is no proxy: the
    // header is not believed, the post counts for 127.0.0.1.
    EXPECT_EQ(direct(0, "203.0.113.9"), 200);
    // Through nginx the same client is 127.0.0.1 by the proxy's word, on
    // whichever process: already posted.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Post(cluster.Port(), "/wtt", ChatBody("Nomad", "again")).status, 429);
    EXPECT_EQ(direct(2, "198.51.100.7"), 429);
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT COUNT(*) FROM wtt_row WHERE gid = 100"), 1);
}

// The limits a client meets are the club's, not one process's: password
// guesses at one nick, spread over the processes, meet the nick's one
// budget; logins on every process at once leave the member eight sessions;
// and the keys the limits remember stay bounded however many addresses
// and nicks clients make up.
TEST(ClusterBehindNginx, PasswordGuessesSessionsAndLimitKeysAreCountedOnceForAllProcesses)
{
    Cluster cluster({"nick_failures=5", "login_failures=100", "rate_limit_keys=100"});
    const auto port = [&](int i) { return cluster.servers[static_cast<std::size_t>(i % 3)]->Port(); };
    const std::string own = Member(port(0), "Alice");
    ASSERT_FALSE(own.empty());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Post(port(i), "/club/account", LoginBody("Alice", "wrong" + std::to_string(i))).body, "no") << i;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Post(port(i), "/club/account", LoginBody("alice")).status, 429) << "process " << i;
    EXPECT_EQ(Post(port(2), "/club/account", "nick=Alice&pw=secret12&zarvobest=0", own).status, 200)
        << "the member's own session";
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));

    // From twelve addresses: each address gets one password check at a time.
    std::string tokens[12];
    AtOnce(12, [&](int i) {
        const std::string body = LoginBody("Alice");
        tokens[i] = Exchange(port(i),
                             "POST /club/account HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                                 + std::to_string(body.size()) + "\r\n\r\n" + body,
                             std::chrono::seconds(10), "127.0.0." + std::to_string(2 + i))
                        .SessionCookie()
                        .value_or("");
    });
    for (const auto& token : tokens)
        EXPECT_FALSE(token.empty()) << "the back-off ended on every process";
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT COUNT(*) FROM session"), 8);
    EXPECT_EQ(Post(port(1), "/club/account", "nick=Alice&labeltevread=0", own).body, "no")
        << "the oldest session ended";

    // Three keys a guess (the address's checks, the address and nick's
    // failures, the nick's), each from another address behind the proxy:
    // every thousand or so uses a process lets the oldest keys go.
    const auto guess = [&](int i) {
        const std::string body = LoginBody("Ghost" + std::to_string(i), "wrong");
        return Exchange(port(0),
                        "POST /club/account HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                        "Content-Type: application/x-www-form-urlencoded\r\nX-Forwarded-For: 10.1."
                            + std::to_string(i / 250) + "." + std::to_string(i % 250)
                            + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body,
                        std::chrono::seconds(10), NginxSourceAddress)
            .body;
    };
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(guess(i), "no") << i;
    // The bound applies at a clean-up, not at every use: the newest guesses'
    // keys are above it, but far fewer than the 1200 they made.
    EXPECT_LT(DbNumber(cluster.Db(), "SELECT COUNT(DISTINCT key) FROM limit_event"), 400);
}

TEST(ClusterBehindNginx, AProcessKilledInABurstOfTransfersLosesNothingAcknowledged)
{
    Cluster cluster({"initial_balance=100"});
    const int port = cluster.Port();
    // Each member pays from its own worker to the others, so the money
    // keeps going round.
    constexpr int kMembers = 4, kWorkers = kMembers;
    std::vector<std::string> nicks, cookies;
    for (int i = 0; i < kMembers; ++i) {
        nicks.push_back("Member" + std::to_string(i));
        cookies.push_back(Member(port, nicks.back()));
        ASSERT_FALSE(cookies.back().empty());
    }

    // Worker w pays from member w: what it saw acknowledged, by amount.
    std::vector<std::vector<std::int64_t>> acknowledged(kWorkers);
    std::atomic<int> oks = 0, failedAfterKill = 0, servedAfterKill = 0;
    std::atomic<bool> killed = false, stop = false;
    std::vector<std::thread> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.emplace_back([&, w] {
            std::mt19937 rng(static_cast<unsigned>(w));
            while (!stop) {
                const int to = (w + 1 + static_cast<int>(rng() % (kMembers - 1))) % kMembers;
                const int amount = 1 + static_cast<int>(rng() % 9);
                const bool afterKill = killed;
                const auto reply =
                    Post(port, "/club/account", AddBalanceBody(nicks[static_cast<std::size_t>(to)], amount),
                         cookies[static_cast<std::size_t>(w)]);
                if (reply.body == "ok") {
                    acknowledged[static_cast<std::size_t>(w)].push_back(amount);
                    ++oks;
                }
                if (afterKill)
                    ++(reply.status == 200 ? servedAfterKill : failedAfterKill);
            }
        });
    }
    // Bounded in time: a burst that stalls fails the counts below.
    const auto waitFor = [&](int count) {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (oks < count && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    waitFor(60);
    cluster.servers[1]->Kill();
    killed = true;
    waitFor(oks + 100);
    stop = true;
    for (auto& t : workers)
        t.join();

    // nginx left the dead process out: at most the requests it held failed.
    EXPECT_LE(failedAfterKill, kWorkers);
    EXPECT_GE(servedAfterKill, 100);
    for (int w = 0; w < kWorkers; ++w) {
        auto seen = acknowledged[static_cast<std::size_t>(w)];
        std::vector<std::int64_t> stored;
        std::istringstream rows(
            DbRows(cluster.Db(), "SELECT t.amount FROM transfer t JOIN member m ON m.id = t.from_member "
                                 "WHERE m.nick = '"
                                     + nicks[static_cast<std::size_t>(w)] + "'"));
        for (std::string row; std::getline(rows, row);)
            stored.push_back(std::stoll(row));
        std::sort(seen.begin(), seen.end());
        std::sort(stored.begin(), stored.end());
        EXPECT_TRUE(std::includes(stored.begin(), stored.end(), seen.begin(), seen.end()))
            << nicks[static_cast<std::size_t>(w)] << ": an acknowledged transfer is missing";
    }
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT SUM(balance) FROM member"), 100 * kMembers);
    EXPECT_EQ(DbNumber(cluster.Db(), "SELECT COUNT(*) FROM member WHERE balance < 0"), 0);
    EXPECT_EQ(MoneyInvariants(cluster.Db()), "");
}

TEST(ClusterBehindNginx, DatabaseStoppedForFiveSecondsFailsCleanlyAndEveryProcessRecovers)
{
    // A cluster of this test's own, as stopping the shared one would fail
    // every other test running beside it.
    struct OwnCluster {
        std::string folder = (std::filesystem::temp_directory_path() / "vokabron-pg-XXXXXX").string();
        const std::string script = VOKABRON_PG_CLUSTER;
        int Run(const std::string& action, const std::string& extra = {}) const
        {
            return std::system((script + " " + action + " " + folder + extra).c_str());
        }
        ~OwnCluster() { Run("remove"); } // also when an assertion ends the test early
    } own;
    ASSERT_TRUE(mkdtemp(own.folder.data()));
    ASSERT_EQ(own.Run("start", " fsync=off"), 0);
    setenv("VOKABRON_TEST_POSTGRES", own.folder.c_str(), 1); // this test's process only
    {
        Cluster cluster({"initial_balance=100"});
        const int port = cluster.Port();
        const std::string payer = Member(port, "Payer");
        Member(port, "Payee");
        HttpClient http;
        const std::string acc = StoredClubAddress("http://127.0.0.1:" + std::to_string(port), ClubAccount);
        ClubTopTenRows rows;
        ASSERT_TRUE(ClubReadTopTen(http, acc, "zarvo", rows));

        // Load through nginx all the while: transfers and member counts.
        std::mutex mutex;
        std::vector<std::pair<int, double>> duringOutage; // status, seconds
        std::atomic<bool> down = false, stop = false;
        std::vector<std::thread> load;
        for (int w = 0; w < 2; ++w) {
            load.emplace_back([&, w] {
                while (!stop) {
                    const auto start = Clock::now();
                    const auto reply = w == 0 ? Post(port, "/club/account", AddBalanceBody("Payee", 1), payer)
                                              : Post(port, "/club/account", "label1=0");
                    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
                    if (down) {
                        std::lock_guard lock(mutex);
                        duringOutage.emplace_back(reply.status, seconds);
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_EQ(own.Run("stop"), 0);
        down = true;
        const auto outageEnd = Clock::now() + std::chrono::seconds(5);
        // What a player sees meanwhile: the read fails, the window shows
        // "No Connect".
        EXPECT_FALSE(ClubReadTopTen(http, acc, "zarvo", rows));
        std::this_thread::sleep_until(outageEnd);
        down = false;
        ASSERT_EQ(own.Run("resume"), 0);
        stop = true;
        for (auto& t : load)
            t.join();

        ASSERT_FALSE(duringOutage.empty());
        for (const auto& [status, seconds] : duringOutage) {
            EXPECT_EQ(status, 503) << "a clean failure, not nginx's 502 or a hang";
            EXPECT_LT(seconds, 3.0) << "within the client's read limit";
        }
        // Every process answers from the database again by itself.
        for (const auto& server : cluster.servers) {
            int status = 0;
            for (int i = 0; i < 50 && status != 200; ++i) {
                status = Post(server->Port(), "/club/account", "label1=0").status;
                if (status != 200)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            EXPECT_EQ(status, 200) << "process on port " << server->Port();
        }
        EXPECT_TRUE(ClubReadTopTen(http, acc, "zarvo", rows));
        EXPECT_EQ(Post(port, "/club/account", AddBalanceBody("Payee", 1), payer).body, "ok");
        EXPECT_EQ(MoneyInvariants(cluster.Db()), "");
    }
}

TEST(PostgresSchema, TheServerCreatesItsTablesOnceAndRefusesAnotherVersion)
{
    // Three processes starting together on an empty database: one makes the
    // tables, the others wait for it and find them.
    std::string folder = (std::filesystem::temp_directory_path() / "vokabron-server-XXXXXX").string();
    ASSERT_TRUE(mkdtemp(folder.data()));
    std::vector<std::unique_ptr<TestServer>> servers(3);
    AtOnce(3, [&](int i) {
        servers[static_cast<std::size_t>(i)] = std::make_unique<TestServer>(std::vector<std::string>{}, folder);
    });
    EXPECT_EQ(Post(servers[0]->Port(), "/club/account", RegisterBody("Nomad")).body, "ok");
    for (const auto& s : servers) {
        EXPECT_EQ(Post(s->Port(), "/club/account", "label1=0").body, "$1 ");
        s->Stop();
    }
    const std::string db = servers[0]->DbPath();
    EXPECT_EQ(DbNumber(db, "SELECT COUNT(*) FROM schema_version"), 1);

    servers[0]->Start();
    EXPECT_EQ(Post(servers[0]->Port(), "/club/account", "label1=0").body, "$1 ") << "the same version is taken";
    servers[0]->Stop();
    ASSERT_TRUE(DbExec(db, "UPDATE schema_version SET version = version + 1"));
    EXPECT_THROW(servers[0]->Start(), std::runtime_error) << "a database of another schema version";
    ASSERT_TRUE(DbExec(db, "DROP TABLE schema_version"));
    EXPECT_THROW(servers[0]->Start(), std::runtime_error) << "club tables without a version";
    EXPECT_EQ(DbNumber(db, "SELECT COUNT(*) FROM member"), 1) << "nothing changed";
    servers.clear();
    std::filesystem::remove_all(folder);
}
