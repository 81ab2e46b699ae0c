// What the client never sends: raw HTTP probes of every kind of hostile
// input.  Each is refused in the form the contract names, nothing changes in
// the database, nothing is written outside the data folder, and the server
// keeps answering.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "server_probe_util.h"

using namespace vk::test;

namespace {

std::string Request(const std::string& method, const std::string& path, const std::string& body,
                    const std::string& cookie = {}, const std::string& type = "application/x-www-form-urlencoded")
{
    std::string r = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (!type.empty())
        r += "Content-Type: " + type + "\r\n";
    if (!cookie.empty())
        r += "Cookie: vks=" + cookie + "\r\n";
    if (method != "GET")
        r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

std::string Card(const std::string& about, const std::string& facebook = "")
{
    return "nick=Alpha&labelinfosave=0&namei=&name2=&about=" + about
           + "&telephone=&emailo=&website=&skype=&ok=&vk=&telegram=&facebook=" + facebook
           + "&twitter=&instagramm=&youtube=";
}

std::string Multipart(const std::vector<std::pair<std::string, std::string>>& parts, const std::string& fileName)
{
    std::string body;
    for (const auto& [name, bytes] : parts)
        body += "--XyZ\r\nContent-Disposition: form-data; name=\"" + name + "\"; filename=\"" + fileName
                + "\"\r\nContent-Type: image/jpeg\r\n\r\n" + bytes + "\r\n";
    return body + "--XyZ--\r\n";
}

// A JPEG skeleton: start, a frame header of the given size, a scan, an end.
std::string JpegSkeleton(int w, int h, bool complete = true)
{
    std::string s = "\xFF\xD8";
    s += std::string("\xFF\xC0\x00\x0B\x08", 5) + char(h >> 8) + char(h & 0xFF) + char(w >> 8) + char(w & 0xFF)
         + std::string("\x01\x01\x11\x00", 4);
    s += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10) + "\x12\x34";
    if (complete)
        s += "\xFF\xD9";
    return s;
}

struct Probe {
    const char* what;
    std::string request;
    int status;
    const char* body; // nullptr: any
};

} // namespace

class ServerHostile : public ::testing::Test {
protected:
    ServerHostile() : server({"initial_balance=25", "login_failures=1000"})
    {
        alpha = Member(server.Port(), "Alpha");
        beta = Member(server.Port(), "Beta");
    }

    void CheckTable(const std::vector<Probe>& probes)
    {
        const std::string before = DbSnapshot(server.DbPath());
        for (const auto& p : probes) {
            const auto reply = Exchange(server.Port(), p.request);
            EXPECT_EQ(reply.status, p.status) << p.what << ": " << reply.body;
            if (p.body) {
                EXPECT_EQ(reply.body, p.body) << p.what;
            }
        }
        EXPECT_EQ(DbSnapshot(server.DbPath()), before);
        EXPECT_EQ(Get(server.Port(), "/config.txt").status, 200) << "still answering";
        // Nothing but the database and the photo folder in the data folder.
        for (const auto& e : std::filesystem::recursive_directory_iterator(server.DataDir())) {
            const std::string name = e.path().filename().string();
            EXPECT_TRUE(name.starts_with("club.db") || name == "photos") << e.path();
        }
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(server.DataDir()).parent_path() / "club.db"));
    }

    TestServer server;
    std::string alpha, beta;
};

TEST_F(ServerHostile, FieldsEscapesBytesAndNumbers)
{
    const std::string acc = "/club/account";
    std::vector<Probe> probes = {
        {"injected amount", Request("POST", acc, "nick=Beta&R04=9&labeltevsave=0&R04=5", alpha), 400, "no"},
        {"extra field", Request("POST", acc, "nick=Alpha&labeltevread=0&R04=5", alpha), 400, "no"},
        {"missing field", Request("POST", acc, "nick=Alpha", alpha), 400, "no"},
        {"field twice", Request("POST", acc, "label1=0&label1=0"), 400, "no"},
        {"anchor inside a card", Request("POST", acc, Card("x&nick=Beta"), alpha), 400, "no"},
        {"bad escape", Request("POST", acc, "nick=%zz&pw=secret12&label0=0"), 400, "no"},
        {"lone percent", Request("POST", acc, "nick=Alpha&pw=secret12%&label0=0"), 400, "no"},
        {"bad UTF-8", Request("POST", acc, "nick=%C3%28&pw=secret12&label0=0"), 400, "no"},
        {"no code page form", Request("POST", acc, "nick=Alpha&pw=secret%E2%82%BD&label0=0"), 400, "no"},
        {"raw plus is no blank", Request("POST", acc, "nick=Al+pha&labeltevsave=0&R04=5", alpha), 200, "no"},
        {"unassigned byte",
         Request("POST", acc,
                 Card("a\x98"
                      "b"),
                 alpha),
         400, "no"},
        {"control byte",
         Request("POST", acc,
                 Card("a\x01"
                      "b"),
                 alpha),
         400, "no"},
        {"NUL byte", Request("POST", acc, Card(std::string("a\0b", 3)), alpha), 400, "no"},
        {"dollar in a card", Request("POST", acc, Card("a$b"), alpha), 200, "no"},
        {"tilde in a card", Request("POST", acc, Card("a~b"), alpha), 200, "no"},
        {"61-character facebook", Request("POST", acc, Card("", std::string(61, 'f')), alpha), 200, "no"},
        {"13-character nick", Request("POST", acc, RegisterBody("Abcdefghijklm")), 200, "no"},
        {"dollar in a nick", Request("POST", acc, RegisterBody("No$mad")), 200, "no"},
        {"star in a city", Request("POST", acc, RegisterBody("Nomad", "secret12", "Tu*la")), 200, "no"},
        {"blank in a city", Request("POST", acc, RegisterBody("Nomad", "secret12", "Tu la")), 200, "no"},
        {"tilde in a country", Request("POST", acc, RegisterBody("Nomad", "secret12", "Tula", "Rus~sia")), 200, "no"},
        {"exponent amount",
         Request("POST", acc, RegisterBody("Nomad", "secret12", "Tula", "Russia", "1-001", "n@x.org", "1e3")), 200,
         "no"},
        {"rating not a number", Request("POST", acc, "zarvorating=1e9"), 200, "no"},
        {"rating far too big", Request("POST", acc, "zarvorating=99999999999"), 200, "no"},
        {"dollar on the board",
         Request("POST", "/wtt", "gid=50&nick=No$mad&city=Tula&country=1-001&score=950&R7=M&R8=4.3&R9=#&R10=#*"), 200,
         "no"},
        {"blank in R2",
         Request("POST", acc,
                 "nick=Alpha&pw=secret12&zarvokon=1&zarvobest=0&zarvorating=1&zarvoses=0&zarvokonl=0&zarvoscore=0&"
                 "zarvoR1=0&zarvoR2=# #"),
         200, "no"},
        {"star in chat text",
         Request(
             "POST", "/wtt",
             "gid=100&nick=Nomad&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=14:05_10.12.2024_Vokabron&R10=a*b*"),
         200, "no"},
        {"R10 without its star",
         Request("POST", "/wtt", "gid=100&nick=Nomad&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=x&R10=ab"), 200,
         "no"},
        {"dollar in a like", Request("POST", "/stat", "gid=50&stat3=1&stat4=No$mad"), 200, "$ no#"},
        {"unknown game key", Request("POST", acc, "quizkon=0"), 404, "no"},
        {"unknown board", Request("POST", "/wtt", "gid=51"), 404, "no"},
    };
    for (const char* amount : {"2147483648", "-2147483649", "+5", " 5", "1e3", "0x10", "NaN", "inf", "-0", "0",
                               "1234567890123456789012345678901234567890"}) {
        probes.push_back(
            {"amount", Request("POST", acc, std::string("nick=Beta&labeltevsave=0&R04=") + amount, alpha), 200, "no"});
    }
    CheckTable(probes);
}

TEST_F(ServerHostile, SizesMultipartPathsSessionsAndMethods)
{
    const std::string acc = "/club/account";
    const std::string good = JpegSkeleton(200, 250);
    const std::vector<Probe> probes = {
        {"form body of 8 KiB + 1", Request("POST", acc, "label1=" + std::string(8192 - 6, '0'), alpha), 413, "no"},
        {"upload of 300 KiB + 1",
         Request("POST", "/club/photo-upload", std::string(300 * 1024 + 1, 'x'), alpha,
                 "multipart/form-data; boundary=XyZ"),
         413, nullptr},
        {"file name outside",
         Request("POST", "/club/photo-upload", Multipart({{"file", "not a picture"}}, "../../club.db"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"two file parts",
         Request("POST", "/club/photo-upload", Multipart({{"file", good}, {"file", good}}, "Alpha.jpg"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"no file part",
         Request("POST", "/club/photo-upload", Multipart({{"photo", good}}, "Alpha.jpg"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"truncated JPEG",
         Request("POST", "/club/photo-upload", Multipart({{"file", JpegSkeleton(200, 250, false)}}, "Alpha.jpg"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"PNG named .jpg",
         Request("POST", "/club/photo-upload", Multipart({{"file", "\x89PNG\r\n\x1A\n...."}}, "Alpha.jpg"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"65535 x 65535 frame",
         Request("POST", "/club/photo-upload", Multipart({{"file", JpegSkeleton(65535, 65535)}}, "Alpha.jpg"), alpha,
                 "multipart/form-data; boundary=XyZ"),
         200, "no"},
        {"photo path out", Request("GET", "/club/photos/..%2F..%2Fclub.db.jpg", "", {}, ""), 404, nullptr},
        {"photo NUL", Request("GET", "/club/photos/Alpha%00.jpg", "", {}, ""), 404, nullptr},
        {"photo of a member without one", Request("GET", "/club/photos/Alpha.jpg", "", {}, ""), 404, nullptr},
        {"forged token",
         Request("POST", acc, "nick=Alpha&labeltevread=0", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"), 200, "no"},
        {"GET on a POST path", Request("GET", acc, "", {}, ""), 405, "no"},
        {"PUT on a POST path", Request("PUT", "/wtt", "gid=50"), 405, "no"},
        {"POST on a GET path", Request("POST", "/config.txt", "x=1"), 405, "no"},
        {"unknown content type", Request("POST", acc, "label1=0", {}, "text/plain"), 415, "no"},
        {"form to the upload", Request("POST", "/club/photo-upload", "file=x", alpha), 415, "no"},
        {"unknown path", Request("GET", "/club/secret", "", {}, ""), 404, "no"},
    };
    CheckTable(probes);
    // A nick too long for any URL the server reads.
    const auto longNick =
        Exchange(server.Port(), Request("GET", "/club/photos/" + std::string(10 * 1024, 'a') + ".jpg", "", {}, ""));
    EXPECT_TRUE(longNick.status == 404 || longNick.status == 414) << longNick.status;
}

TEST_F(ServerHostile, DisabledMembersSessionsAreNone)
{
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&labeltevread=0", alpha).body, "$25$");
    ASSERT_TRUE(DbExec(server.DbPath(), "UPDATE member SET disabled = 1 WHERE nick = 'Alpha'"));
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&labeltevread=0", alpha).body, "no");
    EXPECT_EQ(Post(server.Port(), "/club/account", LoginBody("Alpha")).body, "no");
}

TEST_F(ServerHostile, FloodsAreTurnedAwayAndTheServerStaysResponsive)
{
    TestServer limited(
        {"password_checks_per_min=20", "chat_interval_s=10", "board_interval_s=60", "launch_reports_per_hour=20"});
    const int port = limited.Port();
    int throttled = 0;
    for (int i = 0; i < 40; ++i)
        throttled += Post(port, "/club/account", LoginBody("Nobody" + std::to_string(i))).status == 429;
    EXPECT_EQ(throttled, 20);

    const std::string chat = "gid=100&nick=Nomad&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=x&R10=hi*";
    EXPECT_EQ(Post(port, "/wtt", chat).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", chat).status, 429);
    const std::string board = "gid=50&nick=Nomad&city=Tula&country=1-001&score=950&R7=M&R8=4.3&R9=#&R10=#*";
    EXPECT_EQ(Post(port, "/wtt", board).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", board).status, 429);

    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(Post(port, "/stat", "gid=50&stat1=1&stat2=1").body, "$ ok#");
    EXPECT_EQ(Post(port, "/stat", "gid=50").body.substr(0, 7), "$20 20 ");
}

TEST_F(ServerHostile, IdleAndSlowConnectionsDoNotStarveOthers)
{
    std::vector<int> idle;
    for (int i = 0; i < 50; ++i) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(server.Port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        idle.push_back(fd);
    }
    // One more that sends its body a byte at a time.
    std::thread slow([&] {
        const std::string request = Request("POST", "/club/account", "label1=0");
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(server.Port()));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            for (char c : request) {
                if (send(fd, &c, 1, MSG_NOSIGNAL) != 1)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    const auto reply = Exchange(server.Port(), Request("POST", "/club/account", "label1=0"), std::chrono::seconds(3));
    EXPECT_EQ(reply.body, "$2 ");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    slow.join();
    for (int fd : idle)
        close(fd);
}

// A registered member's nick in the chat is the member's: posting under it
// needs that member's session, in any letter case.  Other nicks stay open.
TEST_F(ServerHostile, ChatUnderAMembersNickNeedsThatMembersSession)
{
    struct Case {
        const char* what;
        const char* nick;
        std::string cookie;
        const char* body;
    };
    const Case cases[] = {
        {"no session", "Alpha", "", "no"},
        {"another member's session", "Alpha", beta, "no"},
        {"another letter case", "ALPHA", "", "no"},
        {"a forged session", "Alpha", std::string(43, 'x'), "no"},
        {"the member's own session", "Alpha", alpha, "$1 "},
        {"the own session in another letter case", "alpha", alpha, "$1 "},
        {"an unregistered nick without a session", "Guest", "", "$1 "},
        {"a member under an unregistered nick", "Wanderer", beta, "$1 "},
    };
    for (const Case& c : cases) {
        const auto reply =
            Post(server.Port(), "/wtt",
                 std::string("gid=100&nick=") + c.nick + "&city=Tula&country=1-001&score=1&R7=M&R8=4.3&R9=x&R10=hi*",
                 c.cookie);
        EXPECT_EQ(reply.status, 200) << c.what;
        EXPECT_EQ(reply.body, c.body) << c.what;
    }
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM wtt_row WHERE gid = 100"), 4);
}

// Sign-out ends the session on the server: a copy of the cookie is worth
// nothing after.  Only the session's own member signs it out.
TEST_F(ServerHostile, SignOutEndsTheSessionOnTheServer)
{
    const int port = server.Port();
    auto balance = [&](const std::string& cookie) {
        return Post(port, "/club/account", "nick=Alpha&labeltevread=0", cookie).body;
    };
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labelsignout=0", beta).body, "no") << "another member's session";
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labelsignout=0").body, "no") << "no session";
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labelsignout=1", alpha).status, 400) << "the marker is 0";
    EXPECT_EQ(balance(alpha), "$25$") << "still signed in";
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labelsignout=0", alpha).body, "ok");
    EXPECT_EQ(balance(alpha), "no") << "the old cookie";
    EXPECT_EQ(Post(port, "/club/account", AddBalanceBody("Beta", 5), alpha).body, "no");
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&labelsignout=0", alpha).body, "no") << "once";
    EXPECT_EQ(Post(port, "/club/account", "nick=Beta&labeltevread=0", beta).body, "$25$") << "other sessions stand";
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
}
