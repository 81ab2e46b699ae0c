// The server's requests end to end over HTTP, as raw probes: configuration
// and news, accounts, sessions, cards and photos, money, rating games with
// the club board and its reward, the world top ten, the chat, statistics.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <thread>

#include "common/text_cipher.h"
#include "server_probe_util.h"

using namespace vk::test;

namespace {

std::string ValueAfter(const std::string& text, const std::string& key)
{
    const auto at = text.find(key + "=");
    if (at == std::string::npos)
        return "<missing>";
    const auto start = at + key.size() + 1;
    return text.substr(start, text.find('#', start) - start);
}

std::string Jpeg(int width, int height, QRgb colour = qRgb(200, 40, 40), const char* format = "JPG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    for (int x = 0; x < width; ++x)
        image.setPixel(x, x % height, qRgb(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes.toStdString();
}

std::string Account(int port, const std::string& body, const std::string& cookie = {})
{
    return Post(port, "/club/account", body, cookie).body;
}

} // namespace

TEST(ServerClub, PublishesItsAddressesEncipheredAndTheNews)
{
    TestServer server({"news=Y", "news_title=Новое", "news_text=Сто загадок", "news_link=https://example.org/n",
                       "store_link=https://store.example.org/v", "chat_paused=yes"});
    const auto config = Get(server.Port(), "/config.txt");
    EXPECT_EQ(config.status, 200);
    EXPECT_EQ(config.Header("content-type"), "text/plain; charset=utf-8");
    EXPECT_EQ(config.Header("cache-control"), "no-store");
    EXPECT_EQ(vk::DecodeText(ValueAfter(config.body, "WTGamesPatt"), vk::AddressStartKey), server.Base() + "/wtt");
    EXPECT_EQ(vk::DecodeText(ValueAfter(config.body, "StatPath"), vk::AddressStartKey), server.Base() + "/stat");
    EXPECT_EQ(vk::DecodeText(ValueAfter(config.body, "AccPath"), vk::ClubStartKey), server.Base() + "/club/account");
    EXPECT_NE(config.body.find("CTGamesPause"), std::string::npos);
    EXPECT_EQ(config.body.find("WTGamesPause"), std::string::npos);

    const auto news = Get(server.Port(), "/news.txt").body;
    EXPECT_NE(news.find("RuStore_Link_Vokabron=https://store.example.org/v#"), std::string::npos);
    EXPECT_EQ(news.find("DownLoad_Link_Vokabron"), std::string::npos);
    EXPECT_NE(news.find("NewsVokabron4.1=Y#Новое#Сто загадок#https://example.org/n#-#"), std::string::npos);
}

TEST(ServerClub, RegistersOnceAndIgnoresTheSentBalance)
{
    TestServer server;
    const int port = server.Port();
    EXPECT_EQ(
        Account(port, RegisterBody("Nomad", "secret12", "Tula", "Russia", "1-001", "nomad@example.org", "1000000")),
        "ok");
    EXPECT_EQ(Account(port, RegisterBody("Nomad")), "is");
    EXPECT_EQ(Account(port, RegisterBody("nOMAD")), "is");
    EXPECT_EQ(Account(port, "label1=0"), "$1 ");
    EXPECT_EQ(Account(port, RegisterBody("No?mad")), "no");
    EXPECT_EQ(Account(port, RegisterBody("Lynx", "secret12", "Tula", "Germany", "1-001")), "no")
        << "key of another row";
    EXPECT_EQ(Account(port, RegisterBody("Lynx", "secret12", "New York")), "no");
    EXPECT_EQ(Account(port, "label1=0"), "$1 ");

    // Word 10 of the login record is the balance: the server's, not the sent one.
    const auto login = Post(port, "/club/account", LoginBody("Nomad"));
    EXPECT_EQ(login.body.substr(login.body.rfind("xxx") + 4), "0 0 0$");
}

TEST(ServerClub, LoginEchoesWordsHoldingCodesAndRefusesQuietly)
{
    TestServer server({"login_failures=3", "login_failure_window_s=2"});
    const int port = server.Port();
    ASSERT_EQ(Account(port, RegisterBody("Lynx", "secret12", "Krasnodar", "Unknown", "1-000", "nora@example.org")),
              "ok");
    const auto login = Post(port, "/club/account", LoginBody("Lynx"));
    EXPECT_EQ(login.status, 200);
    EXPECT_EQ(login.Header("content-type"), "text/plain; charset=windows-1251");
    const std::string today = login.body.substr(login.body.find("nora@example.org ") + 17, 10);
    EXPECT_EQ(login.body, "$Krasnodar Unknown 1-000 M nora@example.org " + today + " xxx xxx xxx 0 0 0$");
    EXPECT_TRUE(login.SessionCookie());
    const auto cookie = login.headers.find("set-cookie")->second;
    EXPECT_NE(cookie.find("; Path=/; HttpOnly; Max-Age=2592000"), std::string::npos) << cookie;

    for (const auto& body : {LoginBody("Lynx", "wrong123"), LoginBody("Nobody")}) {
        const auto refused = Post(port, "/club/account", body);
        EXPECT_EQ(refused.body, "no");
        EXPECT_FALSE(refused.SessionCookie());
    }
    // Throttle of 3 failures: the fourth attempt and then the right password
    // are turned away until the window has passed.
    EXPECT_EQ(Account(port, LoginBody("Lynx", "wrong456")), "no");
    EXPECT_EQ(Account(port, LoginBody("Lynx", "wrong789")), "no");
    EXPECT_EQ(Post(port, "/club/account", LoginBody("Lynx", "wrong000")).status, 429);
    EXPECT_EQ(Post(port, "/club/account", LoginBody("Lynx")).status, 429);
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_EQ(Post(port, "/club/account", LoginBody("Lynx")).status, 200);
}

TEST(ServerClub, NickOnlyRequestsActForTheSessionMemberOnly)
{
    TestServer server({"initial_balance=25"});
    const int port = server.Port();
    const std::string a = Member(port, "Alpha"), b = Member(port, "Beta");
    ASSERT_FALSE(a.empty());
    const std::string card =
        "nick=Alpha&labelinfosave=0&namei=Hacked&name2=&about=&telephone=&emailo=&website=&skype=&ok="
        "&vk=&telegram=&facebook=&twitter=&instagramm=&youtube=";
    for (const std::string& cookie : {std::string(), b, std::string("forged")}) {
        EXPECT_EQ(Account(port, card, cookie), "no");
        EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", cookie), "no");
        EXPECT_EQ(Account(port, AddBalanceBody("Beta", 5), cookie), "no");
        EXPECT_EQ(Account(port, AddBalanceBody("Alpha", -5), cookie), "no");
        EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Alpha", "Tula", 950), cookie).body, "no");
        if (cookie != b) {
            EXPECT_EQ(Upload(port, "file", "Alpha.jpg", Jpeg(200, 250), cookie).body, "no");
        }
    }
    // Beta's upload named after Alpha is Beta's photo.
    EXPECT_EQ(Upload(port, "file", "Alpha.jpg", Jpeg(200, 250), b).body, "Ok");
    EXPECT_EQ(Get(port, "/club/photos/Alpha.jpg").status, 404);
    EXPECT_EQ(Get(port, "/club/photos/Beta.jpg").status, 200);
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT balance FROM member WHERE nick = 'Alpha'"), 25);
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT SUM(balance) FROM member"), 50);
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM info_card WHERE name1 <> ''"), 0);
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT COUNT(*) FROM wtt_row"), 0);

    EXPECT_EQ(Account(port, card, a), "ok");
    EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", a), "$25$");

    // Two cookies, or the cookie twice: no session.
    const auto twice =
        Exchange(port, "POST /club/account HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                       "Content-Type: application/x-www-form-urlencoded\r\nCookie: vks="
                           + a + "\r\nCookie: vks=" + a + "\r\nContent-Length: 26\r\n\r\nnick=Alpha&labeltevread=0");
    EXPECT_EQ(twice.body, "no");
}

TEST(ServerClub, SessionsSurviveRestarts)
{
    TestServer server;
    const std::string a = Member(server.Port(), "Alpha");
    server.Stop();
    server.Start();
    EXPECT_EQ(Account(server.Port(), "nick=Alpha&labeltevread=0", a), "$0$") << "the session is in the database";
}

TEST(ServerClub, IdleSessionsExpireAndHealOnPasswordRequests)
{
    TestServer server({"session_idle_s=1"});
    const std::string a = Member(server.Port(), "Alpha");
    const std::string card =
        "nick=Alpha&labelinfosave=0&namei=Ivan&name2=&about=&telephone=&emailo=&website=&skype=&ok="
        "&vk=&telegram=&facebook=&twitter=&instagramm=&youtube=";
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_EQ(Account(server.Port(), card, a), "no") << "idle too long";
    const auto read = Post(server.Port(), "/club/account", "nick=Alpha&pw=secret12&zarvobest=0", a);
    EXPECT_EQ(read.body, "$0 0 0 0 0 0 0 #$");
    ASSERT_TRUE(read.SessionCookie());
    EXPECT_EQ(Account(server.Port(), card, *read.SessionCookie()), "ok");

    // A wrong password on the game read is an error status, never zeros,
    // also when the session already knows the right one.
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&pw=wrong123&zarvobest=0").status, 403);
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&pw=wrong123&zarvobest=0", *read.SessionCookie()).status,
              403);
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&pw=secret12&zarvobest=0", *read.SessionCookie()).status,
              200);
    EXPECT_EQ(Post(server.Port(), "/club/account", "nick=Alpha&pw=secret12&quizbest=0").status, 404);
}

TEST(ServerClub, CardsKeepTheirBytesAndRefuseUnsafeLinks)
{
    TestServer server;
    const int port = server.Port();
    const std::string a = Member(port, "Alpha");
    Member(port, "Beta");
    const std::string about = "I know nothing & = + %41";
    const std::string facebook(60, 'f');
    const std::string card =
        "nick=Alpha&labelinfosave=0&namei=\xC8\xE2\xE0\xED&name2=\xCF\xE5\xF2\xF0\xEE\xE2&about=" + about
        + "&telephone=+7 900&emailo=&website=https://example.org/x?a=1&b=2&skype=&ok=&vk=&telegram="
          "&facebook="
        + facebook + "&twitter=&instagramm=&youtube=";
    ASSERT_EQ(Account(port, card, a), "ok");
    EXPECT_EQ(Account(port, "nick=Alpha&labelinforead=0", a), "$\xC8\xE2\xE0\xED~\xCF\xE5\xF2\xF0\xEE\xE2~" + about
                                                                  + "~+7 900~~https://example.org/x?a=1&b=2~~~~~"
                                                                  + facebook + "~~~$");
    // Not in the club top ten: another member cannot harvest the card.
    EXPECT_EQ(Account(port, "nick=Alpha&labelinforead=0"), "no");

    auto replaced = card;
    replaced.replace(replaced.find("website=https"), 13, "website=file:");
    EXPECT_EQ(Account(port, replaced, a), "no");
    auto longer = card;
    longer.replace(longer.find(facebook), facebook.size(), facebook + "f");
    EXPECT_EQ(Account(port, longer, a), "no") << "61 characters";
    EXPECT_NE(Account(port, "nick=Alpha&labelinforead=0", a).find(about), std::string::npos);
}

TEST(ServerClub, PhotosAreTheSessionMembersAndExactly200By250)
{
    TestServer server;
    const int port = server.Port();
    const std::string a = Member(port, "Alpha");
    Member(port, "Beta");
    const std::string photo = Jpeg(200, 250);
    // The file name names another member and a path outside: both ignored.
    EXPECT_EQ(Upload(port, "file", "../../Beta.jpg", photo, a).body, "Ok");
    const auto back = Get(port, "/club/photos/Alpha.jpg");
    EXPECT_EQ(back.status, 200);
    EXPECT_EQ(back.Header("content-type"), "image/jpeg");
    QImage sent, read;
    sent.loadFromData(reinterpret_cast<const uchar*>(photo.data()), static_cast<int>(photo.size()), "JPG");
    read.loadFromData(reinterpret_cast<const uchar*>(back.body.data()), static_cast<int>(back.body.size()), "JPG");
    EXPECT_EQ(read.size(), QSize(200, 250));
    EXPECT_EQ(read, sent) << "the same picture";
    EXPECT_EQ(Get(port, "/club/photos/Beta.jpg").status, 404);
    EXPECT_EQ(Get(port, "/club/photos/.jpg").status, 404);

    for (const std::string& bad : {Jpeg(250, 200), Jpeg(200, 250, qRgb(1, 2, 3), "PNG")})
        EXPECT_EQ(Upload(port, "file", "Alpha.jpg", bad, a).body, "no");
    EXPECT_EQ(Upload(port, "picture", "Alpha.jpg", photo, a).body, "no");
    // One photo, the session member's: a file beside the SQLite database,
    // or in the PostgreSQL database itself.
    EXPECT_EQ(DbText(server.DbPath(), "SELECT COUNT(*) || ' ' || MIN(member_id) FROM photo"), "1 1");
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(server.DataDir()))
        if (e.is_regular_file() && !e.path().filename().string().starts_with("club.db"))
            files.push_back(e.path().filename().string());
    EXPECT_EQ(files, TestPostgresFolder().empty() ? std::vector<std::string>{"1.jpg"} : std::vector<std::string>{});
}

TEST(ServerClub, TransfersMoveWholeAtTheCreditAndAcknowledgeTheDebitOnce)
{
    TestServer server({"initial_balance=25"});
    const int port = server.Port();
    const std::string a = Member(port, "Alpha");
    Member(port, "Beta");
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 10), a), "ok");
    EXPECT_EQ(Account(port, AddBalanceBody("Alpha", -10), a), "ok");
    EXPECT_EQ(Account(port, AddBalanceBody("Alpha", -10), a), "no") << "acknowledged once";
    EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", a), "$15$");
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT balance FROM member WHERE nick = 'Beta'"), 35);

    EXPECT_EQ(Account(port, AddBalanceBody("Nobody", 5), a), "no");
    EXPECT_EQ(Account(port, AddBalanceBody("alpha", 5), a), "no") << "own nick in another case";
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", -5), a), "no");
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 16), a), "no") << "more than the balance";
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 0), a), "no");
    EXPECT_EQ(Account(port, AddBalanceBody("Alpha", 25), a), "no") << "a reward never earned";
    // Only the credit sent, the client gone before its debit: paid anyway.
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 5), a), "ok");
    EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", a), "$10$");
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
}

TEST(ServerClub, RatingGamesEnterTheClubBoardAndPayTheRewardOnce)
{
    TestServer server;
    const int port = server.Port();
    const std::string a = Member(port, "Alpha");
    const std::string b = Member(port, "Beta");
    EXPECT_EQ(Account(port, SaveGameBody("Alpha", 1, 0, "1", 0, 0, 0)), "ok");
    EXPECT_EQ(Account(port, SaveGameBody("Alpha", 1, 1000, "1001", 1, 0, 0)), "ok");
    EXPECT_EQ(Account(port, "zarvorating=1001"), "$1 ");
    EXPECT_EQ(Account(port, "zarvokon=0"), "$1 Alpha Tula Russia 1-001 M 1001*");
    EXPECT_EQ(Post(port, "/club/account", "nick=Alpha&pw=secret12&zarvobest=0").body, "$1 1000 1001 1 0 0 0 #$");

    EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Alpha", "ignored", 990), a).body, "no") << "not the cycle's score";
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Alpha", "ignored", 1000), a).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Alpha", "ignored", 1000), a).body, "$1 ") << "repeat: same place";
    EXPECT_EQ(Post(port, "/wtt", "rgid=350").body, "$1 ");
    EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", a), "$25$");
    EXPECT_EQ(Account(port, AddBalanceBody("Alpha", 25), a), "ok");
    EXPECT_EQ(Account(port, AddBalanceBody("Alpha", 25), a), "no");
    EXPECT_EQ(Account(port, "nick=Alpha&labeltevread=0", a), "$25$");
    EXPECT_EQ(Post(port, "/wtt", "gid=350").body, "$1 350 1000 Alpha Russia Tula M 4.3 # #*");

    Account(port, SaveGameBody("Beta", 1, 0, "1", 0, 0, 0));
    Account(port, SaveGameBody("Beta", 1, 920, "921", 1, 0, 0));
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Beta", "x", 920), a).body, "no") << "Alpha's session";
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(350, "Beta", "x", 920), b).body, "$2 ");
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 25), b), "no");
    EXPECT_EQ(Account(port, AddBalanceBody("Beta", 10), b), "ok");
    EXPECT_EQ(Account(port, "zarvorating=921"), "$2 ");
    EXPECT_EQ(MoneyInvariants(server.DbPath()), "");
    EXPECT_EQ(DbNumber(server.DbPath(), "SELECT SUM(delta) FROM ledger WHERE kind = 'reward'"), 35);
    // The chairman's card is readable by anyone now.
    EXPECT_EQ(Account(port, "nick=Alpha&labelinforead=0"), "$~~~~~~~~~~~~~$");
}

TEST(ServerClub, WorldTopTenBoardsAndChat)
{
    TestServer server({"chat_interval_s=1"});
    const int port = server.Port();
    EXPECT_EQ(Post(port, "/wtt", "gid=50").body, "");
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(50, "Nomad", "Tula", 950)).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(50, "Lynx", "\xCE\xEC\xF1\xEA", 960)).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", "gid=50").body,
              "$1 50 960 Lynx 1-007 \xCE\xEC\xF1\xEA M 4.3 # #*$2 50 950 Nomad 1-007 Tula M 4.3 # #*");
    EXPECT_EQ(Post(port, "/wtt", "gid=50&nick=Nomad&city=Tula").body, "$2 50 950 Nomad 1-007 Tula M 4.3 # #*");
    EXPECT_EQ(Post(port, "/wtt", "gid=50&nick=No body&city=Tula").body, "");
    EXPECT_EQ(Post(port, "/wtt", "rgid=50").body, "$2 ");
    for (const auto& bad : {SubmitBody(50, "Nomad", "Tula", 899), SubmitBody(50, "Nomad", "Tula", 1001),
                            SubmitBody(50, "Nomad", "Tu la", 950), SubmitBody(50, "\xCD\xEE\xEC\xE0\xE4", "Tula", 950),
                            SubmitBody(150, "Nomad", "Tula", 950)})
        EXPECT_EQ(Post(port, "/wtt", bad).body, "no");
    EXPECT_EQ(Post(port, "/wtt", "rgid=50").body, "$2 ");
    EXPECT_EQ(Post(port, "/wtt", "gid=77").status, 404);

    // The chat numbers messages itself; a locale time's blanks become "_".
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(100, "Nomad", "Tula", 999, "2:05 PM_12/10/2024_Vokabron", "Hi_all")).body,
              "$1 ");
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(100, "Lynx", "Omsk", 1, "14:05_10.12.2024_Vokabron", "x")).status, 429);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(Post(port, "/wtt", SubmitBody(100, "Lynx", "Omsk", 1, "14:05_10.12.2024_Vokabron", "x")).body, "$1 ");
    EXPECT_EQ(Post(port, "/wtt", "gid=100").body,
              "$1 100 2 Lynx 1-007 Omsk M 4.3 14:05_10.12.2024_Vokabron x*"
              "$2 100 1 Nomad 1-007 Tula M 4.3 2:05_PM_12/10/2024_Vokabron Hi_all*");
}

TEST(ServerClub, StatisticsCountOncePerSourceWhereTheyMust)
{
    TestServer server;
    const int port = server.Port();
    EXPECT_EQ(Post(port, "/stat", "gid=50&stat1=1&stat2=1").body, "$ ok#");
    EXPECT_EQ(Post(port, "/stat", "gid=50&stat1=1&stat2=0").body, "$ ok#");
    const std::string deal = "gid=50&R1=7&R2=0&R3=0&R4=0&R5=0&R6=0&R7=0&R8=0&R9=0&R10=0&R11=0&R12=0";
    EXPECT_EQ(Post(port, "/stat", deal).body, "$ ok#");
    EXPECT_EQ(Post(port, "/stat", "gid=50&R1=20&R2=1&R3=0&R4=0&R5=0&R6=0&R7=0&R8=0&R9=0&R10=0&R11=0&R12=0").body,
              "$ ok#");
    EXPECT_EQ(Post(port, "/stat", "gid=50&R1=21&R2=1&R3=0&R4=0&R5=0&R6=0&R7=0&R8=0&R9=0&R10=0&R11=0&R12=0").body,
              "$ no#");
    EXPECT_EQ(Post(port, "/stat", "gid=50&stat3=1&stat4=Nomad").body, "$ ok#");
    EXPECT_EQ(Post(port, "/stat", "gid=50&stat3=1&stat4=Lynx").body, "$ ok#") << "acknowledged, not counted";
    EXPECT_EQ(Post(port, "/stat", "gid=51&stat1=1&stat2=1").body, "$ no#");
    EXPECT_EQ(Post(port, "/stat", "gid=51").status, 404);
    const std::string read = Post(port, "/stat", "gid=50").body;
    const std::string day = read.substr(7, 10);
    EXPECT_EQ(read, "$2 1 1 " + day + " 27 1 0 0 0 0 0 0 0 0 0 0 0 #*");
}

TEST(ServerClub, TwoProcessesShareOneDatabase)
{
    TestServer first({"board_cache_ms=300"});
    TestServer second({"board_cache_ms=300"}, first.DataDir());
    EXPECT_EQ(Account(first.Port(), RegisterBody("Nomad")), "ok");
    EXPECT_EQ(Account(second.Port(), RegisterBody("nomad")), "is");
    const auto cookie = Post(second.Port(), "/club/account", LoginBody("Nomad")).SessionCookie();
    ASSERT_TRUE(cookie);
    EXPECT_EQ(Account(first.Port(), "nick=Nomad&labeltevread=0", *cookie), "$0$") << "a session of the other process";

    EXPECT_EQ(Post(second.Port(), "/wtt", "gid=50").body, "");
    EXPECT_EQ(Post(first.Port(), "/wtt", SubmitBody(50, "Nomad", "Tula", 950)).body, "$1 ");
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(Post(second.Port(), "/wtt", "gid=50").body, "$1 50 950 Nomad 1-007 Tula M 4.3 # #*");
    // The chat is never read late.  (A member's nick posts with the
    // member's session, here one the other process made.)
    EXPECT_EQ(Post(second.Port(), "/wtt", "gid=100").body, "");
    EXPECT_EQ(Post(first.Port(), "/wtt", SubmitBody(100, "Nomad", "Tula", 1, "x", "hi"), *cookie).body, "$1 ");
    EXPECT_EQ(Post(second.Port(), "/wtt", "gid=100").body, "$1 100 1 Nomad 1-007 Tula M 4.3 x hi*");
}

// Readers keep the board's copy busy (refreshed every 150 ms); a row this
// process enters must still show in the very next read, never a copy whose
// read began before the row was written.
TEST(ServerClub, ABusyBoardShowsThisProcessesOwnEntryAtOnce)
{
    TestServer server({"board_cache_ms=200", "board_interval_s=0"});
    const int port = server.Port();
    std::atomic<bool> stop{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
        readers.emplace_back([&] {
            while (!stop)
                Post(port, "/wtt", "gid=50");
        });
    for (int i = 0; i < 10; ++i) {
        const std::string nick = "Reader" + std::to_string(i);
        EXPECT_EQ(Post(port, "/wtt", SubmitBody(50, nick, "Tula", 900 + i)).body, "$1 ");
        EXPECT_NE(Post(port, "/wtt", "gid=50").body.find(nick), std::string::npos) << nick;
        std::this_thread::sleep_for(std::chrono::milliseconds(70));
    }
    stop = true;
    for (auto& r : readers)
        r.join();
}

TEST(ServerClub, ServesTheHelpFolderAndNothingBesideIt)
{
    const auto folder = std::filesystem::temp_directory_path() / ("vokabron-help-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream(folder / "index.html") << "<html>Помощь</html>";
        std::ofstream(folder / "help.css") << "h1 { color: #006464; }";
    }
    TestServer server({"help_dir=" + folder.string()});
    const auto page = Get(server.Port(), "/help/index.html");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, "<html>Помощь</html>");
    EXPECT_NE(page.Header("content-type").find("text/html"), std::string::npos);
    // The pages' shared style sheet, as a browser needs it.
    const auto style = Get(server.Port(), "/help/help.css");
    EXPECT_EQ(style.status, 200);
    EXPECT_NE(style.Header("content-type").find("text/css"), std::string::npos);
    EXPECT_NE(Get(server.Port(), "/help/../club.db").status, 200);
    EXPECT_NE(Get(server.Port(), "/help/%2E%2E/club.db").status, 200);
    std::filesystem::remove_all(folder);
}
