// What one hostile client can do to everyone else: bodies and heads the
// client never sends, slow and idle connections, password guessing spread
// over addresses (and the device token that keeps its owner in), addresses
// passed on by a proxy, the operator's pause, the club board's economy
// under a scripted member and over seasons, and the chat's limits.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/device_token.h"
#include "common/readers.h"
#include "server_probe_util.h"

using namespace vk::test;
using Clock = std::chrono::steady_clock;

namespace {

std::string PostRequest(const std::string& path, const std::string& body, const std::string& extraHeaders = {})
{
    return "POST " + path
           + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
           + std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

HttpReply PostFrom(const std::string& source, int port, const std::string& body, const std::string& extraHeaders = {})
{
    return Exchange(port, PostRequest("/club/account", body, extraHeaders), std::chrono::seconds(10), source);
}

// The server's peak resident memory so far, in KiB.
long PeakKiB(int pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    return -1;
}

std::string Source(int i) { return "127.0.0." + std::to_string(2 + i); }

} // namespace

// Each is refused before its body is read, and the server's memory stays
// where it was.
TEST(ServerLimits, BodiesAndHeadsTheClientNeverSendsAreRefusedUpFront)
{
    TestServer server;
    const int port = server.Port();
    ASSERT_EQ(Post(port, "/club/account", "label1=0").body, "$0 ");
    const long before = PeakKiB(server.Pid());

    const std::string head = "POST /club/account HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                             "Content-Type: application/x-www-form-urlencoded\r\n";
    const std::string mib(1 << 20, 'a');
    std::string manyHeaders;
    for (int i = 0; i < 101; ++i)
        manyHeaders += "X-H" + std::to_string(i) + ": 1\r\n";
    struct Case {
        const char* what;
        std::string request;
        int status;
    };
    const Case cases[] = {
        {"chunked body of 1 MiB", head + "Transfer-Encoding: chunked\r\n\r\n100000\r\n" + mib + "\r\n0\r\n\r\n", 411},
        {"chunked body with a length",
         head + "Content-Length: 8\r\nTransfer-Encoding: chunked\r\n\r\n8\r\nlabel1=0\r\n0\r\n\r\n", 411},
        {"gzip body", head + "Content-Encoding: gzip\r\nContent-Length: 10240\r\n\r\n" + std::string(10240, '\x1f'),
         415},
        {"br body", head + "Content-Encoding: br\r\nContent-Length: 10240\r\n\r\n" + std::string(10240, 'b'), 415},
        {"64 KiB header line ended by LF",
         head + "X-Long: " + std::string(64 * 1024, 'a') + "\nContent-Length: 8\r\n\r\nlabel1=0", 431},
        {"short line ended by LF", head + "X-Short: a\nContent-Length: 8\r\n\r\nlabel1=0", 400},
        {"101 headers", head + manyHeaders + "Content-Length: 8\r\n\r\nlabel1=0", 431},
        {"POST without Content-Length", head + "\r\n" + mib, 411},
        {"Content-Length over the upload limit", head + "Content-Length: 1000000000\r\n\r\n" + mib, 413},
        {"form body over its limit", head + "Content-Length: 9000\r\n\r\n" + std::string(9000, '0'), 413},
        {"other content type, big body",
         "POST /wtt HTTP/1.1\r\nContent-Type: text/plain\r\nContent-Length: 300000\r\n\r\n" + std::string(300000, 'x'),
         415},
    };
    for (const auto& c : cases) {
        const auto reply = Exchange(port, c.request);
        EXPECT_EQ(reply.status, c.status) << c.what;
        EXPECT_EQ(reply.body, "no") << c.what;
    }
    EXPECT_EQ(Post(port, "/club/account", "label1=0").body, "$0 ") << "still answering";
    EXPECT_LT(PeakKiB(server.Pid()) - before, 20 * 1024) << "peak memory grew";
}

// More slow or idle connections than threads: a normal request from another
// client is still answered within the client's 3 s.
// Five requests sent at once on one connection: a client's connection
// answers keep_alive_requests of them and closes; a trusted proxy's carries
// many players' requests and answers them all.
TEST(ServerLimits, AProxysConnectionCarriesMoreRequestsThanAClients)
{
    TestServer server({"keep_alive_requests=3", "trusted_proxies=127.0.0.2"});
    std::string five;
    for (int i = 0; i < 5; ++i)
        five += "GET /config.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    for (const auto& [source, answered] : {std::pair{"127.0.0.3", 3}, std::pair{"127.0.0.2", 5}}) {
        const int fd = Connect(server.Port(), source);
        ASSERT_GE(fd, 0) << source;
        ASSERT_EQ(::send(fd, five.data(), five.size(), MSG_NOSIGNAL), static_cast<ssize_t>(five.size()));
        // Read until the server closes, or the replies stop for half a second.
        std::string got;
        char buf[4096];
        pollfd p{fd, POLLIN, 0};
        while (::poll(&p, 1, 500) > 0) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            got.append(buf, static_cast<std::size_t>(n));
        }
        ::close(fd);
        int replies = 0;
        for (auto at = got.find("HTTP/1.1 200"); at != std::string::npos; at = got.find("HTTP/1.1 200", at + 1))
            ++replies;
        EXPECT_EQ(replies, answered) << source;
    }
}

TEST(ServerLimits, SlowAndIdleConnectionsDoNotStarveOthers)
{
    constexpr int kThreads = 8;
    struct Case {
        const char* what;
        int addresses; // the slow connections come from this many addresses
        bool idleAfterRequest;
    };
    const Case cases[] = {
        {"slow heads from one address", 1, false},
        {"slow heads from as many addresses", kThreads + 5, false},
        {"idle kept-alive connections", kThreads + 5, true},
    };
    for (const auto& c : cases) {
        TestServer server(
            {"threads=" + std::to_string(kThreads), "connections_per_address=4", "head_timeout_s=1", "keep_alive_s=1"});
        const int port = server.Port();
        std::atomic<bool> stop{false};
        std::vector<std::thread> slow;
        for (int i = 0; i < kThreads + 5; ++i) {
            slow.emplace_back([&, i] {
                const int fd = Connect(port, Source(i % c.addresses));
                if (fd < 0)
                    return;
                if (c.idleAfterRequest) {
                    const std::string r = "POST /club/account HTTP/1.1\r\nHost: x\r\nContent-Type: "
                                          "application/x-www-form-urlencoded\r\nContent-Length: 8\r\n\r\nlabel1=0";
                    send(fd, r.data(), r.size(), MSG_NOSIGNAL);
                } else {
                    const std::string line = "POST /club/account HTTP/1.1\r\n";
                    send(fd, line.data(), line.size(), MSG_NOSIGNAL);
                }
                // One header byte every 2 s (or nothing more), until the
                // server lets go of the connection.
                const auto until = Clock::now() + std::chrono::seconds(6);
                char buf[4096];
                while (!stop && Clock::now() < until) {
                    pollfd p{fd, POLLIN, 0};
                    if (poll(&p, 1, 2000) > 0) {
                        if (recv(fd, buf, sizeof buf, 0) <= 0)
                            break;
                        continue;
                    }
                    if (!c.idleAfterRequest && send(fd, "X", 1, MSG_NOSIGNAL) != 1)
                        break;
                }
                close(fd);
            });
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const auto start = Clock::now();
        const auto reply =
            Exchange(port, PostRequest("/club/account", "label1=0"), std::chrono::seconds(3), "127.0.0.1");
        const auto took = Clock::now() - start;
        EXPECT_EQ(reply.body, "$0 ") << c.what;
        EXPECT_LT(took, std::chrono::seconds(3)) << c.what;
        stop = true;
        for (auto& t : slow)
            t.join();
    }
}

// Guesses spread over many addresses meet the nick's own budget; the
// member's own client, holding its session, still gets in.
TEST(ServerLimits, PasswordGuessesFromManyAddressesMeetTheNicksBudget)
{
    TestServer server({"nick_failures=5", "login_failures=100"});
    const int port = server.Port();
    const std::string session = Member(port, "Alice");
    for (int i = 0; i < 5; ++i) {
        const auto reply = PostFrom(Source(i), port, LoginBody("Alice", "wrong" + std::to_string(i)));
        EXPECT_EQ(reply.status, 200) << i;
        EXPECT_EQ(reply.body, "no") << i;
    }
    EXPECT_EQ(PostFrom(Source(6), port, LoginBody("Alice", "wrong6")).status, 429);
    EXPECT_EQ(PostFrom(Source(7), port, LoginBody("alice")).status, 429) << "in any letter case";
    EXPECT_EQ(PostFrom(Source(7), port, LoginBody("Alice")).status, 429) << "even the right password waits";
    EXPECT_EQ(Post(port, "/club/account", "nick=Alice&pw=secret12&zarvobest=0", session).status, 200)
        << "the member's own session";
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_TRUE(PostFrom(Source(7), port, LoginBody("Alice")).body.starts_with("$")) << "the back-off ends";
}

// Behind a proxy that adds its own header line, the client's address is
// still the proxy's element, not what the client wrote.
TEST(ServerLimits, ForwardedAddressesCountWhereTheProxyPutThem)
{
    TestServer server({"trusted_proxies=127.0.0.1", "login_failures=3"});
    const int port = server.Port();
    Member(port, "Alice");
    for (int i = 0; i < 4; ++i) {
        const std::string lines =
            "X-Forwarded-For: 10.8." + std::to_string(i) + ".1\r\nX-Forwarded-For: 203.0.113.6\r\n";
        EXPECT_EQ(PostFrom("127.0.0.1", port, LoginBody("Alice", "wrong1"), lines).status, i < 3 ? 200 : 429) << i;
    }
    EXPECT_EQ(PostFrom("127.0.0.1", port, LoginBody("Alice", "wrong1"), "X-Forwarded-For: 198.51.100.7\r\n").status,
              200)
        << "another client behind the same proxy";
    // A client that is not the proxy cannot choose its address.
    EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Alice", "wrong1"), "X-Forwarded-For: 198.51.100.8\r\n").status, 200);
    EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Alice", "wrong1"), "X-Forwarded-For: 198.51.100.9\r\n").status, 200);
    EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Alice", "wrong1"), "X-Forwarded-For: 198.51.100.10\r\n").status,
              200);
    EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Alice", "wrong1"), "X-Forwarded-For: 198.51.100.11\r\n").status,
              429);
}

// Real Argon2 costs: a burst of password checks never keeps a board read
// waiting, and an unknown nick costs as much as a known one.
TEST(ServerLimits, PasswordWorkStaysBelowTheThreadsAndHidesWhichNicksExist)
{
    TestServer server({"argon2_ops=3", "argon2_mem_kib=65536", "argon2_concurrency=1", "argon2_queue=1",
                       "nick_failures=1000", "login_failures=1000"});
    const int port = server.Port();
    Member(port, "Alice");

    std::vector<std::thread> burst;
    std::atomic<int> busy{0};
    for (int i = 0; i < 6; ++i)
        burst.emplace_back([&, i] {
            busy += PostFrom(Source(i), port, LoginBody("Alice", "wrong" + std::to_string(i))).status == 503;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = Clock::now();
    const auto board = Exchange(port, PostRequest("/wtt", "gid=50"));
    EXPECT_EQ(board.status, 200);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    for (auto& t : burst)
        t.join();
    EXPECT_GT(busy.load(), 0) << "checks beyond the slots and the queue are turned away at once";

    auto fastest = [&](const std::string& nick) {
        auto best = std::chrono::hours(1) + Clock::duration{};
        for (int i = 0; i < 3; ++i) {
            const auto t0 = Clock::now();
            EXPECT_EQ(Post(port, "/club/account", LoginBody(nick, "wrong1")).body, "no");
            best = std::min(best, Clock::now() - t0);
        }
        return best;
    };
    const auto known = fastest("Alice"), unknown = fastest("Nobody");
    EXPECT_GT(unknown * 2, known) << "an unknown nick is refused as slowly as a wrong password";
}

TEST(ServerLimits, RegistrationsCountBeforeTheNickIsLookedUp)
{
    TestServer server({"registrations_per_hour=2"});
    const int port = server.Port();
    EXPECT_EQ(Post(port, "/club/account", RegisterBody("Nomad")).body, "ok");
    EXPECT_EQ(Post(port, "/club/account", RegisterBody("NOMAD")).body, "is");
    EXPECT_EQ(Post(port, "/club/account", RegisterBody("nomad")).status, 429) << "no more answers about nicks";
    EXPECT_EQ(Post(port, "/club/account", RegisterBody("Other")).status, 429);
}

// The pause flags that SIGHUP re-reads close the door, not only the
// client's view of it.
TEST(ServerLimits, PauseAfterSighupRefusesPosts)
{
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("vokabron-pause-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(dir);
    const std::string file = dir + "/server.conf";
    auto write = [&](const char* flag) {
        std::ofstream(file) << "chat_paused = " << flag << "\nwtt_paused = " << flag << "\n";
    };
    write("no");
    {
        TestServer server({}, {}, file);
        const int port = server.Port();
        const std::string chat = "gid=100&nick=Nomad&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=x&R10=hi*";
        const std::string board = "gid=50&nick=Nomad&city=Tula&country=1-001&score=950&R7=M&R8=4.3&R9=#&R10=#*";
        EXPECT_EQ(Post(port, "/wtt", chat).body, "$1 ");
        auto reload = [&](const char* flag, bool paused) {
            write(flag);
            kill(server.Pid(), SIGHUP);
            for (int i = 0; i < 100; ++i) {
                if ((Get(port, "/config.txt").body.find("CTGamesPause") != std::string::npos) == paused)
                    return true;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            return false;
        };
        ASSERT_TRUE(reload("yes", true));
        EXPECT_EQ(Post(port, "/wtt", chat).body, "no");
        EXPECT_EQ(Post(port, "/wtt", board).body, "no");
        ASSERT_TRUE(reload("no", false));
        EXPECT_EQ(Post(port, "/wtt", chat).body, "$1 ");
        EXPECT_EQ(Post(port, "/wtt", board).body, "$1 ");
    }
    std::filesystem::remove_all(dir);
}

// One scripted member completing ten perfect cycles holds one place on the
// club board; the next member's perfect result is shown second on the
// all-time board but, being the newer of equal results in the season,
// earns the first place's reward; the day's cap stops the script's
// eleventh start.
TEST(ServerLimits, OneMemberHoldsOnePlaceOnTheClubBoard)
{
    TestServer server({"rating_starts_per_day=10"});
    const int port = server.Port();
    const std::string bob = Member(port, "Bob");
    const std::string carol = Member(port, "Carol");
    // Saves carry the member's cookie, as the game's shared client does.
    auto save = [&](const std::string& nick, long kon, long best, double rating, long ses) {
        return Post(port, "/club/account",
                    "nick=" + nick + "&pw=secret12&zarvokon=" + std::to_string(kon)
                        + "&zarvobest=" + std::to_string(best) + "&zarvorating=" + vk::FloatToText(rating)
                        + "&zarvoses=" + std::to_string(ses) + "&zarvokonl=0&zarvoscore=0&zarvoR1=0&zarvoR2=#",
                    nick == "Bob" ? bob : carol)
            .body;
    };
    const std::string perfect = "&city=x&country=1-001&score=1000&R7=M&R8=4.3&R9=#&R10=#*";
    for (long k = 1; k <= 10; ++k) {
        ASSERT_EQ(save("Bob", k, k > 1 ? 1000 : 0,
                       1000.0 * static_cast<double>(k - 1) / static_cast<double>(k) + static_cast<double>(k), k - 1),
                  "ok")
            << k;
        ASSERT_EQ(save("Bob", k, 1000, 1000.0 + static_cast<double>(k), k), "ok") << k;
        EXPECT_EQ(Post(port, "/wtt", "gid=350&nick=Bob" + perfect, bob).body, "$1 ") << k;
    }
    EXPECT_EQ(save("Bob", 11, 1000, 10000.0 / 11.0 + 11.0, 10), "no") << "the day's cap of rating games";

    ASSERT_EQ(save("Carol", 1, 0, 1, 0), "ok");
    ASSERT_EQ(save("Carol", 1, 1000, 1001, 1), "ok");
    EXPECT_EQ(Post(port, "/wtt", "gid=350&nick=Carol" + perfect, carol).body, "$1 ");
    EXPECT_EQ(Post(port, "/club/account", "nick=Carol&labeltevread=0", carol).body, "$25$")
        << "the newer 1000 is rewarded first";
    EXPECT_EQ(Post(port, "/wtt", "gid=350").body,
              "$1 350 1000 Bob Russia Tula M 4.3 # #*$2 350 1000 Carol Russia Tula M 4.3 # #*");
    EXPECT_EQ(Post(port, "/wtt", "rgid=350").body, "$11 ") << "every result still counts as a game";
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
}

// What the server keeps grows with what it shows, not with what it is sent.
TEST(ServerLimits, StoredStateStaysBounded)
{
    std::string dir = (std::filesystem::temp_directory_path() / "vokabron-modes-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    std::filesystem::permissions(dir, std::filesystem::perms(0755));
    {
        TestServer server({}, dir);
        const int port = server.Port();
        // The database file and the photo folder are the server's alone,
        // whoever made the data folder (on PostgreSQL both live in the
        // database).
        if (TestPostgresFolder().empty()) {
            struct stat st {};
            ASSERT_EQ(stat(server.DbPath().c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 077, 0u) << "club.db";
            ASSERT_EQ(stat((dir + "/photos").c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 077, 0u) << "photos";
        }

        // Password requests without a cookie each make a session; the oldest
        // go.
        const std::string first = Member(port, "Alpha");
        for (int i = 0; i < 12; ++i)
            Post(port, "/club/account", LoginBody("Alpha"));
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM session"), 8);
        EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labeltevread=0", first).body, "no")
            << "the oldest session ended";

        // A read does not write the session's clock at every request.
        const std::string token = Post(port, "/club/account", LoginBody("Alpha")).SessionCookie().value_or("");
        const auto seen = DbNumber(server.DbPath(), "SELECT MAX(last_seen_at) FROM session");
        std::this_thread::sleep_for(std::chrono::milliseconds(1100));
        EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labeltevread=0", token).body, "$0$");
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT MAX(last_seen_at) FROM session"), seen);

        // One sender's rows beyond what its own-rows read shows are let go.
        for (int score = 900; score < 912; ++score)
            Post(port, "/wtt",
                 "gid=50&nick=Nomad&city=Tula&country=1-001&score=" + std::to_string(score)
                     + "&R7=M&R8=4.3&R9=#&R10=#*");
        EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM wtt_row WHERE gid = 50"), 10);
        EXPECT_EQ(Post(port, "/wtt", "rgid=50").body, "$12 ");
        const auto own = vk::StarRecords(Post(port, "/wtt", "gid=50&nick=Nomad&city=Tula").body, 20);
        ASSERT_EQ(own.size(), 10u);
        EXPECT_TRUE(own.front().starts_with("1 50 911 Nomad")) << own.front();
    }
    std::filesystem::remove_all(dir);
}

namespace {

std::string DeviceLogin(const std::string& nick, const std::string& pw, const std::string& token)
{
    return LoginBody(nick, pw) + "&device=" + token;
}

// A rating game of one cycle, started and completed with `score`, saved
// with the member's cookie as the game's shared client sends it.
void CompleteCycle(int port, const std::string& nick, const std::string& cookie, int score)
{
    auto save = [&](long best, double rating, long ses) {
        return Post(port, "/club/account",
                    "nick=" + nick + "&pw=secret12&zarvokon=1&zarvobest=" + std::to_string(best)
                        + "&zarvorating=" + vk::FloatToText(rating) + "&zarvoses=" + std::to_string(ses)
                        + "&zarvokonl=0&zarvoscore=0&zarvoR1=0&zarvoR2=#",
                    cookie)
            .body;
    };
    ASSERT_EQ(save(0, 1, 0), "ok") << nick;
    ASSERT_EQ(save(score, score + 1.0, 1), "ok") << nick;
}

} // namespace

// Guesses from many addresses lock a nick out, but not the computer its
// owner logged in from: the device token of that login skips the nick's
// back-off, and nothing else does.
TEST(ServerLimits, ALockedOutNickStillAdmitsTheOwnersDeviceToken)
{
    TestServer server({"nick_failures=5", "login_failures=100"});
    const int port = server.Port();
    Post(port, "/club/account", RegisterBody("Alice"));
    Post(port, "/club/account", RegisterBody("Bob"));
    const auto plain = PostFrom(Source(9), port, LoginBody("Alice"));
    EXPECT_EQ(plain.body.find("device"), std::string::npos) << "the older game's login stays as it was";
    const auto first = PostFrom(Source(9), port, DeviceLogin("Alice", "secret12", ""));
    const auto token = vk::DeviceTokenOf(first.body);
    ASSERT_TRUE(token) << first.body;
    EXPECT_TRUE(first.body.starts_with(plain.body)) << "the record comes first, the token after it";
    const auto bobs = vk::DeviceTokenOf(PostFrom(Source(10), port, DeviceLogin("Bob", "secret12", "")).body);
    ASSERT_TRUE(bobs);
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM device"), 2);

    for (int i = 0; i < 8; ++i)
        PostFrom(Source(i % 6), port, LoginBody("Alice", "wrong" + std::to_string(i)));
    struct Case {
        const char* what;
        std::string body;
        int status;
        bool in;
    };
    const Case cases[] = {
        {"without a token the back-off holds", LoginBody("Alice"), 429, false},
        {"asking for a token is no way round it", DeviceLogin("Alice", "secret12", ""), 429, false},
        {"a made-up token counts as none", DeviceLogin("Alice", "secret12", std::string(43, 'A')), 429, false},
        {"another member's token counts as none", DeviceLogin("Alice", "secret12", *bobs), 429, false},
        {"a token of the wrong form is refused", DeviceLogin("Alice", "secret12", "short"), 200, false},
        {"the owner's token with a wrong password", DeviceLogin("Alice", "wrong99", *token), 200, false},
        {"the owner's token and password", DeviceLogin("Alice", "secret12", *token), 200, true},
    };
    for (const Case& c : cases) {
        const auto reply = PostFrom(Source(9), port, c.body);
        EXPECT_EQ(reply.status, c.status) << c.what;
        EXPECT_EQ(reply.body.starts_with("$"), c.in) << c.what << ": " << reply.body;
        if (c.in) {
            EXPECT_EQ(vk::DeviceTokenOf(reply.body), token) << "the token stays the computer's";
            EXPECT_TRUE(reply.SessionCookie());
        }
    }
}

// A throttled try is not free: it spends the address's password budget,
// so keeping a nick's back-off alive costs the guesser his own logins.
TEST(ServerLimits, ThrottledTriesSpendTheAddressesBudget)
{
    TestServer server({"password_checks_per_min=4", "login_failures=2"});
    const int port = server.Port();
    Post(port, "/club/account", RegisterBody("Alice"));
    Post(port, "/club/account", RegisterBody("Bob"));
    const int expected[] = {200, 200, 429, 429};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Alice", "wrong1")).status, expected[i]) << i;
    EXPECT_EQ(PostFrom(Source(0), port, LoginBody("Bob")).status, 429) << "the address's budget is spent";
    EXPECT_TRUE(PostFrom(Source(1), port, LoginBody("Bob")).body.starts_with("$")) << "other addresses are not";
}

// Wrong logins for unknown nicks from twelve addresses, each a full Argon2
// check, two at a time from each: every address gets one check at a time,
// and the owner's login with its device token is taken before them all.
TEST(ServerLimits, WrongLoginsFromTwelveAddressesLeaveTheOwnersLoginIn)
{
    TestServer server({"argon2_ops=2", "argon2_mem_kib=32768", "argon2_concurrency=2", "argon2_queue=2",
                       "nick_failures=100000", "login_failures=100000"});
    const int port = server.Port();
    Post(port, "/club/account", RegisterBody("Alice"));
    const auto token = vk::DeviceTokenOf(PostFrom(Source(13), port, DeviceLogin("Alice", "secret12", "")).body);
    ASSERT_TRUE(token);

    std::atomic<bool> stop{false};
    std::atomic<int> secondOfAddress{0}, checked{0};
    std::vector<std::thread> flood;
    for (int i = 0; i < 24; ++i)
        flood.emplace_back([&, i] {
            for (int k = 0; !stop; ++k) {
                const auto reply =
                    PostFrom(Source(i % 12), port, LoginBody("Nobody" + std::to_string(i * 1000 + k), "wrong1"));
                secondOfAddress += reply.status == 429;
                checked += reply.status == 200;
            }
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (int k = 0; k < 3; ++k) {
        const auto reply = PostFrom(Source(13), port, DeviceLogin("Alice", "secret12", *token));
        EXPECT_EQ(reply.status, 200) << k;
        EXPECT_TRUE(reply.body.starts_with("$")) << k;
    }
    stop = true;
    for (auto& t : flood)
        t.join();
    EXPECT_GT(checked.load(), 0) << "the flood was really checked";
    EXPECT_GT(secondOfAddress.load(), 0) << "a second check of one address is turned away at once";
}

// Rewarded places count the season's rows: after a roll-over the board's
// old 1000s stand above nobody; within a season a tie goes to the newer
// row.  The all-time board still shows every row.
TEST(ServerLimits, ClubBoardRewardsCountTheSeasonAndTiesGoToTheNewer)
{
    static constexpr int kSeasonS = 4;
    TestServer server({"board_season_s=" + std::to_string(kSeasonS)});
    const int port = server.Port();
    const std::string alice = Member(port, "Alice"), bob = Member(port, "Bob"), carol = Member(port, "Carol");
    auto nextSeason = [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const auto season = std::chrono::seconds(kSeasonS);
        std::this_thread::sleep_for(season - now % season + std::chrono::milliseconds(100));
    };
    auto enter = [&](const std::string& nick, const std::string& cookie, int score) {
        return Post(port, "/wtt",
                    "gid=350&nick=" + nick + "&city=x&country=1-001&score=" + std::to_string(score)
                        + "&R7=M&R8=4.3&R9=#&R10=#*",
                    cookie)
            .body;
    };
    auto balance = [&](const std::string& nick, const std::string& cookie) {
        return Post(port, "/club/account", "nick=" + nick + "&labeltevread=0", cookie).body;
    };
    nextSeason();
    CompleteCycle(port, "Alice", alice, 1000);
    EXPECT_EQ(enter("Alice", alice, 1000), "$1 ");
    CompleteCycle(port, "Bob", bob, 1000);
    EXPECT_EQ(enter("Bob", bob, 1000), "$1 ") << "the newer of two equal results";
    EXPECT_EQ(enter("Bob", bob, 1000), "$1 ") << "a repeat after a lost reply";
    nextSeason();
    CompleteCycle(port, "Carol", carol, 950);
    EXPECT_EQ(enter("Carol", carol, 950), "$1 ") << "last season's rows earn nothing above her";
    EXPECT_EQ(balance("Alice", alice), "$25$");
    EXPECT_EQ(balance("Bob", bob), "$25$");
    EXPECT_EQ(balance("Carol", carol), "$25$");
    EXPECT_EQ(Post(port, "/wtt", "gid=350").body,
              "$1 350 1000 Alice Russia Tula M 4.3 # #*$2 350 1000 Bob Russia Tula M 4.3 # #*"
              "$3 350 950 Carol Russia Tula M 4.3 # #*");
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
}

// Chat limits count a logged-in member's posts as the member's: two players
// behind one address do not silence each other, anonymous posts still count
// by address.
TEST(ServerLimits, ChatLimitsCountEachMemberNotTheSharedAddress)
{
    TestServer server({"chat_interval_s=10"});
    const int port = server.Port();
    const std::string alice = Member(port, "Alice"), bob = Member(port, "Bob");
    auto chat = [&](const std::string& nick, const std::string& cookie) {
        return Post(port, "/wtt", "gid=100&nick=" + nick + "&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=x&R10=hi*",
                    cookie)
            .status;
    };
    EXPECT_EQ(chat("Alice", alice), 200);
    EXPECT_EQ(chat("Bob", bob), 200) << "another member behind the same address";
    EXPECT_EQ(chat("Alice", alice), 429) << "each member's own interval";
    EXPECT_EQ(chat("Guest", ""), 200) << "an anonymous post";
    EXPECT_EQ(chat("Other", ""), 429) << "anonymous posts share their address's interval";
}

// The server listens beyond loopback only when told how it is reached: behind
// a proxy it names, or exposed on purpose.  --help says so.
TEST(ServerLimits, ListeningBeyondLoopbackMustBeAskedFor)
{
    struct Case {
        const char* options;
        int status;
    };
    const Case cases[] = {
        {"--host 0.0.0.0", 2},
        {"--host 192.0.2.10", 2},
        {"--host ::", 2},
        {"--host 0.0.0.0 --behind-proxy", 2},
        {"--host 0.0.0.0 --behind-proxy --set trusted_proxies=192.0.2.1", 0},
        {"--host 0.0.0.0 --exposed", 0},
        {"--host 127.0.0.5", 0},
        {"--host ::1", 0},
        {"--host localhost", 0},
    };
    for (const Case& c : cases) {
        const std::string command =
            std::string(VOKABRON_SERVER_BIN) + " " + c.options + " --print-texts >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << c.options;
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.options;
    }
    const std::string help = std::string(VOKABRON_SERVER_BIN) + " --help | grep -q -- --behind-proxy";
    EXPECT_EQ(std::system(help.c_str()), 0);
}
