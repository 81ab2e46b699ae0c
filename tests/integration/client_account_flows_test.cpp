// The account window's runs of requests against the real server: what a
// game record needs to count, and what a run leaves when the server is gone.
#include <gtest/gtest.h>

#include "client_fixture.h"
#include "net/account_flows.h"

using namespace vk;
using namespace vk::test;

TEST(ClientAccountFlows, AGameRecordNeedsTheGameReadAndThePlaceRead)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    club.Join(http, Member("Olga"));
    ClubStateData state;
    state.ClubUser.Nick = "Olga";

    // The game read is refused (wrong password): the place, which the server
    // would give for any rating, is not asked and the record does not count.
    state.ClubUser.Pw = "wrong123";
    state.ClubGame.Place = 77;
    state.GameRecordOk = true;
    ReadGameAndPlace(http, club.accPath, state);
    EXPECT_FALSE(state.GameRecordOk);
    EXPECT_EQ(state.ClubGame.Place, 77);

    state.ClubUser.Pw = "secret12";
    ReadGameAndPlace(http, club.accPath, state);
    EXPECT_TRUE(state.GameRecordOk);
    EXPECT_EQ(state.ClubGame.Place, 1);
}

TEST(ClientAccountFlows, ARunStopsAtTheFirstServerThatIsNotThere)
{
    TestServer server;
    ClubSide club(server);
    HttpClient http;
    club.Join(http, Member("Pavel"));
    TInfo14 card;
    card.About = "I know nothing";
    ASSERT_TRUE(ClubSaveInfo(http, club.accPath, "Pavel", card));
    const AccountAddresses at{club.accPath, club.photoFolder, club.photoUpload};
    ClubStateData state;
    TTevUser user;
    ASSERT_TRUE(ClubLogin(http, club.accPath, "Pavel", "secret12", user));
    state.ClubUser = user;

    // Every read of a logged-in member's opening, the card with "no" in it
    // included.
    const ClubReads up = ReadAtOpening(http, at, state, true);
    EXPECT_TRUE(up.Connected);
    EXPECT_TRUE(up.OwnCardKnown);
    EXPECT_TRUE(up.Club.TopTenOk && up.Club.GameRecordOk && up.Club.MemberCountOk);
    EXPECT_EQ(up.Club.ClubUser.Info, card);

    server.Stop();
    const ClubReads down = ReadAtOpening(http, at, up.Club, true);
    EXPECT_FALSE(down.Connected);
    EXPECT_FALSE(down.OwnCardKnown);
    EXPECT_FALSE(down.Club.TopTenOk || down.Club.GameRecordOk || down.Club.MemberCountOk);
    EXPECT_EQ(down.Club.ClubUser.Info, card); // the card as known stays

    const LoginOutcome login = LogIn(http, at, up.Club, ClubStartKey);
    EXPECT_FALSE(login.LoggedIn);
    EXPECT_FALSE(login.Reads.Connected);
    EXPECT_EQ(login.Reads.Club.ClubUser.Nick, "Pavel");
    EXPECT_EQ(login.Reads.Club.ClubUser.Info, card);
}
