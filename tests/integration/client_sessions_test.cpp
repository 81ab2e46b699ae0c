// Requests that name a member only by nick act for the session's member:
// the shared client's cookie, set at login, is what identifies the caller.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "client_fixture.h"
#include "net/account_flows.h"

using namespace vk;
using namespace vk::test;

namespace {

class ClientSessions : public ::testing::Test {
protected:
    explicit ClientSessions(std::vector<std::string> settings = {"initial_balance=25"})
        : server(std::move(settings)), club(server)
    {
    }

    TInfo14 Card(const std::string& about)
    {
        TInfo14 card;
        card.About = about;
        return card;
    }
    TInfo14 OwnCard(HttpClient& http, const std::string& nick)
    {
        TInfo14 card;
        ClubReadInfo(http, club.accPath, nick, card);
        return card;
    }

    TestServer server;
    ClubSide club;
};

} // namespace

TEST_F(ClientSessions, NickOnlyRequestsNeedTheMembersOwnSession)
{
    HttpClient alice, bob, nobody;
    club.Join(alice, Member("Alice"));
    club.Join(bob, Member("Bob"));
    ASSERT_TRUE(ClubSaveInfo(alice, club.accPath, "Alice", Card("mine")));

    for (HttpClient* other : {&nobody, &bob}) {
        EXPECT_FALSE(ClubSaveInfo(*other, club.accPath, "Alice", Card("defaced")));
        EXPECT_FALSE(ClubReadBalance(*other, club.accPath, "Alice"));
        EXPECT_FALSE(ClubAddBalance(*other, club.accPath, "Alice", -5)); // a debit
    }
    // Without a session a credit is paid by nobody, and a reward claim for
    // Alice is nobody's to make.  (From Bob's session "+25 to Alice" is
    // Bob's own transfer.)
    EXPECT_FALSE(ClubAddBalance(nobody, club.accPath, "Alice", 25));
    EXPECT_FALSE(ClubAddBalance(nobody, club.accPath, "Bob", 5));
    // A photo named after Alice is the sender's own photo, or nobody's.
    ScratchFolder ava;
    const std::string photo = AvaFile(ava.Path(), "Alice", Jpeg(200, 250));
    EXPECT_FALSE(ClubUploadPhoto(nobody, club.photoUpload, photo));
    EXPECT_TRUE(ClubUploadPhoto(bob, club.photoUpload, photo));
    std::string picture;
    EXPECT_FALSE(ClubLoadPhoto(club.photoFolder, "Alice", picture));
    EXPECT_TRUE(ClubLoadPhoto(club.photoFolder, "Bob", picture));

    EXPECT_EQ(OwnCard(alice, "Alice").About, "mine");
    EXPECT_EQ(ClubReadBalance(alice, club.accPath, "Alice"), 25);
    EXPECT_EQ(ClubReadBalance(bob, club.accPath, "Bob"), 25);
}

TEST_F(ClientSessions, SessionOutlivesAServerRestart)
{
    HttpClient alice;
    club.Join(alice, Member("Alice"));
    server.Stop();
    server.Start();
    club.Connect(server); // a new port; the cookie is the host's, whatever the port
    EXPECT_TRUE(ClubSaveInfo(alice, club.accPath, "Alice", Card("after restart")));
    EXPECT_EQ(OwnCard(alice, "Alice").About, "after restart");
}

class ClientIdleSessions : public ClientSessions {
protected:
    ClientIdleSessions() : ClientSessions({"session_idle_s=1"}) {}
};

TEST_F(ClientIdleSessions, IdleSessionIsRenewedByTheGameRead)
{
    HttpClient alice;
    club.Join(alice, Member("Alice"));
    ASSERT_TRUE(ClubSaveInfo(alice, club.accPath, "Alice", Card("fresh")));
    // The idle limit is what is tested: nothing but time can pass it.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_FALSE(ClubSaveInfo(alice, club.accPath, "Alice", Card("late")));
    // The main menu's game read carries the password and renews the session.
    TTevGame game;
    ASSERT_TRUE(ClubReadGame(alice, club.accPath, "Alice", "secret12", "zarvo", game));
    EXPECT_TRUE(ClubSaveInfo(alice, club.accPath, "Alice", Card("renewed")));
    EXPECT_EQ(OwnCard(alice, "Alice").About, "renewed");
}

TEST_F(ClientSessions, NextLoginOnTheSameClientReplacesTheSession)
{
    HttpClient shared;
    club.Join(shared, Member("Alice"));
    HttpClient setup;
    ASSERT_EQ(ClubRegister(setup, club.accPath, Member("Bob")), 0);

    club.LogIn(shared, "Bob");
    EXPECT_FALSE(ClubReadBalance(shared, club.accPath, "Alice"));
    EXPECT_FALSE(ClubSaveInfo(shared, club.accPath, "Alice", Card("by Bob")));
    EXPECT_EQ(ClubReadBalance(shared, club.accPath, "Bob"), 25);
    EXPECT_TRUE(ClubSaveInfo(shared, club.accPath, "Bob", Card("Bob's")));

    // Signing out forgets the session on this desktop.
    shared.ClearCookies();
    EXPECT_FALSE(ClubReadBalance(shared, club.accPath, "Bob"));
}

// Signing out ends the session on the server, not only in the client: the
// session is gone from the database and the client's nick-only requests
// are refused.  A login right after starts clean.
TEST_F(ClientSessions, SignOutEndsTheSessionOnTheServer)
{
    HttpClient alice;
    club.Join(alice, Member("Alice"));
    ASSERT_EQ(ClubReadBalance(alice, club.accPath, "Alice"), 25);
    Database db(server.DbPath());
    ASSERT_EQ(db.Integer("SELECT COUNT(*) FROM session"), 1);

    HttpClient leaving = alice.TakeCookies();
    EXPECT_FALSE(ClubReadBalance(alice, club.accPath, "Alice")) << "the client forgot the session at once";
    SignOutOnServer(leaving, club.accPath, "Alice");
    EXPECT_EQ(db.Integer("SELECT COUNT(*) FROM session"), 0) << "the server ended it";

    club.LogIn(alice, "Alice");
    EXPECT_EQ(ClubReadBalance(alice, club.accPath, "Alice"), 25);
}
