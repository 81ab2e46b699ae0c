// Start-up against the real server: the remote configuration decoded into
// working addresses (and a forged one that is not followed), the news page,
// the launch report and the automatic login from the user file with its
// device token.
#include <gtest/gtest.h>

#include <filesystem>

#include "client_fixture.h"
#include "common/device_token.h"
#include "logic/club/user_file.h"
#include "ui/game/server_sources.h"

using namespace vk;
using namespace vk::test;
namespace fs = std::filesystem;

TEST(ClientStartup, ConfigurationGivesTheServersAddresses)
{
    TestServer server;
    ClubSide club(server);
    EXPECT_EQ(club.wttAddress, server.Base() + "/wtt");
    EXPECT_EQ(DecodeText(club.answers.StatPath, AddressStartKey), server.Base() + "/stat");
    EXPECT_EQ(DecodeText(club.answers.AccPath, ClubStartKey), server.Base() + "/club/account");
    EXPECT_TRUE(club.answers.ChatAvailable);
}

TEST(ClientStartup, SettingsReadingTakesTheServersAddressesWithOrWithoutAFile)
{
    TestServer server;
    ClubSide club(server);
    ScratchFolder withFile, firstStart;
    Settings stored;
    stored.ServerPath = BuiltinServerPath;
    stored.StatPath = BuiltinStatPath;
    ASSERT_TRUE(WriteSettings(withFile.Path() + "/", stored));

    for (const auto& [dir, complete] : {std::pair{withFile.Path(), true}, std::pair{firstStart.Path(), false}}) {
        SCOPED_TRACE(complete ? "settings file" : "first start without a settings file");
        Settings s;
        EXPECT_EQ(ReadSettings(dir + "/", s, ServerSources(club.configAddress)), complete);
        EXPECT_TRUE(s.WttAvailable);
        EXPECT_TRUE(s.ChatAvailable);
        EXPECT_EQ(s.WttAddress, server.Base() + "/wtt");
        EXPECT_EQ(s.StatAddress, server.Base() + "/stat");
        HttpClient http;
        EXPECT_EQ(ClubReadMemberCount(http, s.AccPath), 0); // the club is reachable
    }
}

TEST(ClientStartup, PausedServicesAreReportedAsPaused)
{
    TestServer server({"wtt_paused=yes", "chat_paused=yes"});
    ClubSide club(server);
    EXPECT_EQ(club.answers.WttPath, "pause");
    EXPECT_FALSE(club.answers.ChatAvailable);
    EXPECT_FALSE(club.answers.AccPath.empty()); // the club itself stays open
}

TEST(ClientStartup, NewsPageWithAndWithoutNews)
{
    {
        TestServer server({"news=Y", "news_title=Новая версия", "news_text=Вышла версия 4.3",
                           "news_link=https://example.org/news", "store_link=https://store.example/vokabron",
                           "package_link=https://example.org/vokabron.apk"});
        ClubSide club(server);
        const NewsPage news = FetchNews(club.newsAddress);
        EXPECT_TRUE(news.ShowNews);
        EXPECT_EQ(Cp1251ToUtf8(news.Title), "Новая версия");
        EXPECT_EQ(Cp1251ToUtf8(news.Text), "Вышла версия 4.3");
        EXPECT_EQ(news.Link, "https://example.org/news");
        EXPECT_EQ(news.StoreLink, "https://store.example/vokabron");
        EXPECT_EQ(news.PackageLink, "https://example.org/vokabron.apk");
    }
    {
        TestServer server({"news=N"});
        ClubSide club(server);
        const NewsPage news = FetchNews(club.newsAddress);
        EXPECT_FALSE(news.ShowNews);
        EXPECT_EQ(news.StoreLink, "");
        EXPECT_EQ(news.PackageLink, "");
    }
}

TEST(ClientStartup, LaunchIsCountedOnceAsFirstStart)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    bool startCounted = false;
    ReportStartup(http, club.statPath, startCounted);
    EXPECT_TRUE(startCounted);
    ReportStartup(http, club.statPath, startCounted); // the next start: a repeated one
    EXPECT_TRUE(startCounted);

    Database db(server.DbPath());
    EXPECT_EQ(db.Integer("SELECT starts FROM stat_counter WHERE gid = 50"), 2);
    EXPECT_EQ(db.Integer("SELECT unique_starts FROM stat_counter WHERE gid = 50"), 1);

    // With the server gone the first start stays unconfirmed.
    server.Stop();
    bool unconfirmed = false;
    ReportStartup(http, club.statPath, unconfirmed);
    EXPECT_FALSE(unconfirmed);
}

TEST(ClientStartup, UserFileLogsInAutomatically)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    ASSERT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 0);

    ScratchFolder home;
    const fs::path dir = home.Path();
    fs::create_directories(dir / "Vokabron");
    const std::string userFile = UserFilePath((dir / "Vokabron").string() + "/");
    ClubStateData state;
    state.ClubUser.Nick = "Nomad";
    state.ClubUser.PwC = EncodeText("secret12", ClubStartKey);
    ASSERT_TRUE(WriteUserFile(userFile, state));

    ClubStateData fresh;
    HttpClient game;
    ASSERT_TRUE(AutoLogin(game, club.accPath, userFile, fresh));
    EXPECT_TRUE(fresh.UserFileSaved);
    EXPECT_EQ(fresh.ClubUser.Nick, "Nomad");
    EXPECT_EQ(fresh.ClubUser.Pw, "secret12");
    EXPECT_EQ(fresh.ClubUser.City, "Tula");
    EXPECT_EQ(DecodeText(fresh.ClubUser.PwC, ClubStartKey), "secret12");

    Database db(server.DbPath());
    EXPECT_GT(db.Integer("SELECT last_login_at FROM member WHERE nick = 'Nomad'"), 0);
    // The login started a session: a nick-only request now works.
    EXPECT_EQ(ClubReadBalance(game, club.accPath, "Nomad"), 0);

    // A wrong stored password: not logged in, nothing shown, file still counted.
    state.ClubUser.PwC = EncodeText("wrong123", ClubStartKey);
    ASSERT_TRUE(WriteUserFile(userFile, state));
    ClubStateData refused;
    HttpClient other;
    EXPECT_FALSE(AutoLogin(other, club.accPath, userFile, refused));
    EXPECT_TRUE(refused.UserFileSaved);

    // Without a user file nothing is sent.
    fs::remove(userFile);
    ClubStateData none;
    EXPECT_FALSE(AutoLogin(other, club.accPath, userFile, none));
    EXPECT_FALSE(none.UserFileSaved);
}

// The automatic login keeps the device token the club gives it in the user
// file (owner only), and with it gets in while strangers' guesses hold the
// nick's back-off; the same file without the token is kept out.
TEST(ClientStartup, AutoLoginKeepsItsDeviceTokenAndGetsThroughALockOut)
{
    TestServer server({"nick_failures=3", "login_failures=100"});
    ClubSide club(server);
    HttpClient http;
    ASSERT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 0);
    ScratchFolder home;
    fs::create_directories(fs::path(home.Path()) / "Vokabron");
    const std::string userFile = UserFilePath(home.Path() + "/Vokabron/");
    ClubStateData saved;
    saved.ClubUser.Nick = "Nomad";
    saved.ClubUser.PwC = EncodeText("secret12", ClubStartKey);
    ASSERT_TRUE(WriteUserFile(userFile, saved)); // as an older game wrote it

    ClubStateData first;
    HttpClient game;
    ASSERT_TRUE(AutoLogin(game, club.accPath, userFile, first));
    ASSERT_TRUE(IsDeviceToken(first.DeviceToken));
    std::string nick, storedPw, token;
    ASSERT_TRUE(ReadUserFile(userFile, nick, storedPw, &token));
    EXPECT_EQ(nick, "Nomad");
    EXPECT_EQ(DecodeText(storedPw, ClubStartKey), "secret12");
    EXPECT_EQ(token, first.DeviceToken);
    EXPECT_EQ(fs::status(userFile).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    for (int i = 0; i < 6; ++i) {
        HttpClient stranger;
        TTevUser user;
        EXPECT_FALSE(ClubLogin(stranger, club.accPath, "Nomad", "wrong" + std::to_string(i), user));
    }
    ClubStateData again;
    HttpClient nextRun;
    EXPECT_TRUE(AutoLogin(nextRun, club.accPath, userFile, again)) << "the token of the last login";
    EXPECT_EQ(again.DeviceToken, first.DeviceToken);
    EXPECT_EQ(ClubReadBalance(nextRun, club.accPath, "Nomad"), 0);

    ASSERT_TRUE(WriteUserFile(userFile, saved));
    ClubStateData without;
    HttpClient elsewhere;
    EXPECT_FALSE(AutoLogin(elsewhere, club.accPath, userFile, without)) << "the nick's back-off holds";
}

// A configuration that names another host over plain http for the account,
// world top ten and statistics addresses is not followed: the club's own
// addresses stay, and nothing reaches the other host.  https addresses are
// taken as given.
TEST(ClientStartup, AConfigurationNamingAnotherHostKeepsTheClubsOwnAddresses)
{
    SilentListener elsewhere;
    const std::string stranger = "http://localhost:" + std::to_string(elsewhere.Port());
    TestServer server({"public_base=" + stranger});
    ClubSide club(server);
    EXPECT_EQ(DecodeText(club.answers.AccPath, ClubStartKey), server.Base() + "/club/account");
    EXPECT_EQ(club.wttAddress, server.Base() + "/wtt");
    EXPECT_EQ(DecodeText(club.answers.StatPath, AddressStartKey), server.Base() + "/stat");

    HttpClient http;
    ASSERT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 0);
    ScratchFolder home;
    const std::string userFile = UserFilePath(home.Path() + "/Vokabron/");
    ClubStateData saved;
    saved.ClubUser.Nick = "Nomad";
    saved.ClubUser.PwC = EncodeText("secret12", ClubStartKey);
    ASSERT_TRUE(WriteUserFile(userFile, saved));
    ClubStateData state;
    EXPECT_TRUE(AutoLogin(http, club.accPath, userFile, state)) << "at the club itself";
    EXPECT_TRUE(ReportLaunch(http, club.statPath, true));
    EXPECT_EQ(elsewhere.Accepted(), 0) << "no password went to the other host";

    TestServer secure({"public_base=https://club.example"});
    ClubSide tls(secure);
    EXPECT_EQ(DecodeText(tls.answers.AccPath, ClubStartKey), "https://club.example/club/account");
    EXPECT_EQ(tls.wttAddress, "https://club.example/wtt");
}
