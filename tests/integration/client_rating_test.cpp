// The club rating game's flows with the game's own requests against the
// real server: a game started, suspended, resumed and completed, the rating
// and place the server keeps, and the club board's entry with its bonus,
// paid once although replies get lost on the way and the player repeats.
#include "common/club_paths.h"
#include "client_fixture.h"

#include "net/rating_calls.h"
#include "logic/club/rating_flows.h"
#include "logic/club/wtt_replies.h"
#include "net/wtt_requests.h"

namespace vk::test {
namespace {

class ClientRating : public ::testing::Test {
protected:
    explicit ClientRating(std::vector<std::string> settings = {}) : server(std::move(settings)), side(server)
    {
        // Every request of the game goes through a relay that can lose the
        // server's answer.
        relay.ForwardTo(server.Port());
    }

    RatingClub Member(const std::string& nick)
    {
        const TTevUser user = vk::test::Member(nick);
        side.Join(http, user);
        RatingClub club;
        club.AccPath = StoredClubAddress(relay.Base(), ClubAccount);
        club.WttAddress = relay.Base() + "/wtt";
        club.Member = user;
        club.GameKey = "zarvo";
        return club;
    }

    // The flow run through the relay; the player says Yes to the first
    // three questions, and they are counted.
    template <typename Flow>
    void Run(Flow& flow, const RatingClub& club, std::vector<RatingQuestion>* asked = nullptr)
    {
        std::vector<RatingQuestion> questions;
        RunRatingFlow(
            flow, [&](const ClubCall& call) { return SendClubCall(http, club, call); },
            [&questions](RatingQuestion q) {
                questions.push_back(q);
                return questions.size() <= 3;
            });
        if (asked)
            *asked = questions;
    }

    // A start with the record the program holds.
    RatingStartFlow Start(const RatingClub& club, const TTevGame& held)
    {
        RatingStartFlow flow(held);
        Run(flow, club);
        return flow;
    }

    TTevGame Read(const RatingClub& club)
    {
        TTevGame game;
        EXPECT_TRUE(ClubReadGame(http, side.accPath, club.Member.Nick, "secret12", "zarvo", game));
        return game;
    }

    TestServer server;
    SilentListener relay;
    ClubSide side;
    HttpClient http;
};

TEST_F(ClientRating, StartSuspendResumeCompleteAndTheBoardPaysOnce)
{
    const RatingClub alpha = Member("Alpha");

    // Started: the club counts the game at once.
    const RatingStartFlow start = Start(alpha, TTevGame{});
    ASSERT_TRUE(start.Registered());
    EXPECT_EQ(Read(alpha).Kon, 1);

    // Left after deal 12 with 990.
    RatingEndFlow suspend(12, 990, start.Record(), WorldTopTenMinScore);
    Run(suspend, alpha);
    ASSERT_TRUE(suspend.Saved());
    EXPECT_FALSE(suspend.Placed());
    TTevGame held = Read(alpha);
    EXPECT_EQ(held.KonL, 12);
    EXPECT_EQ(held.Score, 990);

    // Resumed: the club holds no unfinished game any more, the program
    // goes on at deal 12 with 990, and the start counted nothing new.
    const RatingStartFlow resume = Start(alpha, held);
    ASSERT_TRUE(resume.Registered());
    EXPECT_EQ(resume.Record().KonL, 12);
    EXPECT_EQ(resume.Record().Score, 990);
    held = Read(alpha);
    EXPECT_EQ(held.Kon, 1);
    EXPECT_EQ(held.KonL, 0);

    // Completed with 950.  The answer to the completion is lost after the
    // server has taken it, and so is the answer to the board entry; the
    // player says Yes both times.
    relay.DropReplyTo("zarvoses=1");
    relay.DropReplyTo("gid=350");
    std::vector<RatingQuestion> asked;
    RatingEndFlow end(20, 950, resume.Record(), WorldTopTenMinScore);
    Run(end, alpha, &asked);
    EXPECT_EQ(relay.DroppedReplies(), 2);
    EXPECT_EQ(asked, (std::vector<RatingQuestion>{RatingQuestion::RepeatSave, RatingQuestion::RepeatBoardEntry}));
    ASSERT_TRUE(end.Saved());
    ASSERT_TRUE(end.Placed());
    EXPECT_EQ(end.Place(), 1);
    EXPECT_EQ(end.Bonus(), 25);
    EXPECT_EQ(end.Balance(), 25);

    // The game counted once: Rating = 950 / 1 + 1, first in the club.
    held = Read(alpha);
    EXPECT_EQ(held.Kon, 1);
    EXPECT_EQ(held.Sessions, 1);
    EXPECT_EQ(held.Best, 950);
    EXPECT_DOUBLE_EQ(held.Rating, 951.0);
    // The program holds the record as the server does, not the end applied
    // twice.
    EXPECT_EQ(end.Record(), held);
    EXPECT_EQ(ClubReadPlace(http, side.accPath, "zarvo", held.Rating), 1);

    // One row on the club board, one bonus, and a second claim is refused.
    EXPECT_EQ(WttReadGameCount(http, side.wttAddress, WttAccountBoard), 1);
    EXPECT_FALSE(ClubAddBalance(http, side.accPath, "Alpha", 25));
    EXPECT_EQ(ClubReadBalance(http, side.accPath, "Alpha"), 25);
    Database db(server.DbPath());
    EXPECT_EQ(db.Integer("SELECT SUM(delta) FROM ledger WHERE kind = 'reward'"), 25);
    db.ExpectMoneyInvariants();
}

TEST_F(ClientRating, AnAbandonedGameCountsZeroAndAnUnsavedEndNeverReachesTheBoard)
{
    const RatingClub beta = Member("Beta");

    // A game left through "Выход в меню" sends nothing: the next start
    // counts a new game, the abandoned one with 0 points.
    const RatingStartFlow first = Start(beta, TTevGame{});
    ASSERT_TRUE(first.Registered());
    const RatingStartFlow second = Start(beta, first.Record());
    ASSERT_TRUE(second.Registered());
    EXPECT_EQ(second.Record().Kon, 2);

    // The server gone when the game ends: the player gives up at the
    // first question, and no board entry is tried.
    server.Stop();
    std::vector<RatingQuestion> asked;
    RatingEndFlow lost(20, 960, second.Record(), WorldTopTenMinScore);
    RunRatingFlow(
        lost, [&](const ClubCall& call) { return SendClubCall(http, beta, call); },
        [&asked](RatingQuestion q) {
            asked.push_back(q);
            return false;
        });
    EXPECT_EQ(asked, std::vector<RatingQuestion>{RatingQuestion::RepeatSave});
    EXPECT_FALSE(lost.Saved());
    EXPECT_FALSE(lost.Placed());

    // Back again: the game is still open on the server and ends now.
    server.Start();
    side.Connect(server);
    relay.ForwardTo(server.Port());
    side.LogIn(http, "Beta");
    RatingEndFlow end(20, 960, second.Record(), WorldTopTenMinScore);
    Run(end, beta);
    ASSERT_TRUE(end.Saved());
    EXPECT_EQ(end.Place(), 1);
    const TTevGame held = Read(beta);
    EXPECT_EQ(held.Sessions, 1);
    EXPECT_DOUBLE_EQ(held.Rating, 960.0 / 2 + 2);
}

// A club that takes one new rating game an hour.
class ClientRatingThrottled : public ClientRating {
protected:
    ClientRatingThrottled() : ClientRating({"rating_starts_per_hour=1"}) {}
};

TEST_F(ClientRatingThrottled, AStartTheServerRefusesCountsNothing)
{
    const RatingClub gamma = Member("Gamma");
    const RatingStartFlow first = Start(gamma, TTevGame{});
    ASSERT_TRUE(first.Registered());

    // The second start is read but its save refused: the program holds Kon
    // and the rating as the server does, and no game starts.
    const RatingStartFlow second = Start(gamma, first.Record());
    EXPECT_FALSE(second.Registered());
    const TTevGame held = Read(gamma);
    EXPECT_EQ(held.Kon, 1);
    EXPECT_EQ(second.Record(), held);
}

} // namespace
} // namespace vk::test
