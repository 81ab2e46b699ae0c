// Registration and login with the client's own requests against the real
// server.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "client_fixture.h"
#include "logic/club/account_replies.h"

using namespace vk;
using namespace vk::test;

TEST(ClientAccounts, NickIsTakenWhateverItsLetterCase)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    EXPECT_EQ(ClubReadMemberCount(http, club.accPath), 0);
    EXPECT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 0);
    EXPECT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 1);
    EXPECT_EQ(ClubRegister(http, club.accPath, Member("nomad")), 1);
    EXPECT_EQ(ClubReadMemberCount(http, club.accPath), 1);
}

TEST(ClientAccounts, RegistrationCannotBringMoney)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    TTevUser rich = Member("Rich");
    rich.R04 = 1000000;
    ASSERT_EQ(ClubRegister(http, club.accPath, rich), 0);
    TTevUser user;
    ASSERT_TRUE(ClubLogin(http, club.accPath, "Rich", "secret12", user));
    EXPECT_EQ(user.R04, 0);
    EXPECT_EQ(ClubReadBalance(http, club.accPath, "Rich"), 0);
}

TEST(ClientAccounts, MembersWhoseDataHoldsNoLogIn)
{
    // Country key "Unknown" (row 0 of every continent), a Latin city and an
    // e-mail holding "no": the login reply carries them all.
    struct Case {
        const char* nick;
        const char* city;
        const char* country1;
        const char* country2;
        const char* email;
    };
    const Case cases[] = {
        {"Nora", "Krasnodar", "Unknown", "1-000", "nora@example.org"},
        {"Lynx", "Beirut", "Lebanon", "2-026", "lynx@example.org"},
        {"Hana", "Omsk", "", "6-012", "anon@example.org"}, // the one empty country key
    };
    TestServer server;
    ClubSide club(server);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nick);
        HttpClient http;
        TTevUser registered = Member(c.nick, c.city, c.country1, c.country2, c.email);
        registered.Sex = 'W';
        ASSERT_EQ(ClubRegister(http, club.accPath, registered), 0);
        TTevUser user;
        ASSERT_TRUE(ClubLogin(http, club.accPath, c.nick, "secret12", user));
        EXPECT_EQ(user.City, c.city);
        EXPECT_EQ(user.Country1, c.country1);
        EXPECT_EQ(user.Country2, c.country2);
        EXPECT_EQ(user.Sex, 'W');
        EXPECT_EQ(user.EMail, c.email);
        EXPECT_EQ(user.R01, "xxx");
        EXPECT_EQ(user.R04, 0);
        // The server keeps its own registration date, in the fixed form.
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::tm yesterday = local;
        yesterday.tm_mday -= 1;
        std::mktime(&yesterday);
        EXPECT_TRUE(user.DateR == WireDateText(local) || user.DateR == WireDateText(yesterday)) << user.DateR;
    }
}

TEST(ClientAccounts, WrongPasswordAndUnknownNickAreRefusedAlike)
{
    TestServer server;
    ClubSide club(server);
    HttpClient setup;
    ASSERT_EQ(ClubRegister(setup, club.accPath, Member("Nomad")), 0);

    for (const auto& [nick, pw] : {std::pair{"Nomad", "wrong123"}, std::pair{"Nobody", "secret12"}}) {
        HttpClient http;
        TTevUser user;
        user.PwC = "kept";
        EXPECT_FALSE(ClubLogin(http, club.accPath, nick, pw, user));
        EXPECT_EQ(user.City, "#"); // the placeholders stay
        EXPECT_EQ(user.PwC, "kept");
        // No session came with the refusal.
        EXPECT_FALSE(ClubReadBalance(http, club.accPath, "Nomad"));
    }
}

TEST(ClientAccounts, LoginThrottleRefusesUntilItsWindowEnds)
{
    TestServer server({"login_failures=3", "login_failure_window_s=2"});
    ClubSide club(server);
    HttpClient http;
    ASSERT_EQ(ClubRegister(http, club.accPath, Member("Nomad")), 0);
    TTevUser user;
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(ClubLogin(http, club.accPath, "Nomad", "wrong123", user)) << k;
    const auto throttled = std::chrono::steady_clock::now();
    EXPECT_FALSE(ClubLogin(http, club.accPath, "Nomad", "secret12", user));

    // The right password is accepted again once the window has passed.
    bool accepted = false;
    while (!accepted && std::chrono::steady_clock::now() - throttled < std::chrono::seconds(6)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250)); // the window is what is tested
        accepted = ClubLogin(http, club.accPath, "Nomad", "secret12", user);
    }
    EXPECT_TRUE(accepted);
    EXPECT_EQ(user.City, "Tula");
}

TEST(ClientAccounts, RefusedRegistrations)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    for (const char* nick : {"who?", "a", "toolongnick123", "sp ace", "dol$lar"})
        EXPECT_EQ(ClubRegister(http, club.accPath, Member(nick)), 2) << nick;
    TTevUser wrongCountry = Member("Nomad", "Tula", "Russia", "1-002");
    EXPECT_EQ(ClubRegister(http, club.accPath, wrongCountry), 2);
    EXPECT_EQ(ClubReadMemberCount(http, club.accPath), 0);
}
