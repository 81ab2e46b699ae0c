// The club rating game's start and end as step machines, answered by a club
// of the test's own that keeps one game record, takes a board entry at a
// chosen place and fails requests of a kind on demand.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "logic/club/rating_flows.h"

using namespace vk;

namespace {

struct FakeClub {
    TTevGame record;
    // Requests of each kind that fail before one goes through (-1: all).
    int failReads = 0, failSaves = 0, failEntries = 0, failClaims = 0, failBalance = 0;
    std::int32_t place = 1;
    std::int32_t balance = 0;
    std::vector<ClubCall> calls;

    static bool Fails(int& left)
    {
        if (left == 0)
            return false;
        if (left > 0)
            --left;
        return true;
    }

    ClubReply operator()(const ClubCall& call)
    {
        calls.push_back(call);
        ClubReply reply;
        switch (call.What) {
        case ClubCall::ReadGame:
            reply.Ok = !Fails(failReads);
            if (reply.Ok)
                reply.Game = record;
            break;
        case ClubCall::SaveGame:
            reply.Ok = !Fails(failSaves);
            if (reply.Ok)
                record = call.Game;
            break;
        case ClubCall::EnterBoard:
            reply.Ok = !Fails(failEntries);
            reply.Number = place;
            break;
        case ClubCall::ClaimBonus: reply.Ok = !Fails(failClaims); break;
        case ClubCall::ReadBalance:
            reply.Ok = !Fails(failBalance);
            reply.Number = balance;
            break;
        }
        return reply;
    }

    int Count(ClubCall::Kind kind) const
    {
        int n = 0;
        for (const ClubCall& c : calls)
            n += c.What == kind;
        return n;
    }
};

TTevGame Record(std::int32_t kon, double rating, std::int32_t konl = 0, std::int32_t score = 0)
{
    TTevGame g;
    g.Kon = kon;
    g.Rating = rating;
    g.KonL = konl;
    g.Score = score;
    return g;
}

// The player's answers in turn; once they run out every answer is No.
struct Player {
    explicit Player(std::vector<bool> yes = {}) : answers(std::move(yes)) {}
    std::vector<bool> answers;
    std::vector<RatingQuestion> asked;
    bool operator()(RatingQuestion q)
    {
        const std::size_t n = asked.size();
        asked.push_back(q);
        return n < answers.size() && answers[n];
    }
};

// A club holding a started rating game, the member's first.
FakeClub GameStarted()
{
    FakeClub club;
    club.record = Record(1, 1);
    return club;
}

// The game ended after `deal` deals with `score` points, and `player`
// answering the questions.
template <typename P>
RatingEndFlow End(FakeClub& club, int deal, std::int32_t score, P&& player)
{
    RatingEndFlow flow(deal, score, TTevGame{}, 900);
    RunRatingFlow(flow, club, player);
    return flow;
}

} // namespace

TEST(RatingStart, CountsANewGameAndResumesAnUnfinishedOne)
{
    // A member with no rating game yet: Kon 0 and Rating 0 become 1 and 1.
    {
        FakeClub club;
        RatingStartFlow flow(TTevGame{});
        RunRatingFlow(flow, club, Player{});
        ASSERT_TRUE(flow.Registered());
        EXPECT_EQ(club.record.Kon, 1);
        EXPECT_DOUBLE_EQ(club.record.Rating, 1.0);
        EXPECT_EQ(flow.Record().Kon, 1);
        EXPECT_DOUBLE_EQ(flow.Record().Rating, 1.0);
        EXPECT_EQ(flow.Record().KonL, 0);
    }
    // An unfinished game at deal 12 with 990: the start counts nothing, the
    // club holds no unfinished game while it runs, and the program keeps
    // the deal and score to go on from.
    {
        FakeClub club;
        club.record = Record(3, 3 + 1900.0 / 3, 12, 990);
        RatingStartFlow flow(TTevGame{});
        RunRatingFlow(flow, club, Player{});
        ASSERT_TRUE(flow.Registered());
        EXPECT_EQ(club.record, Record(3, 3 + 1900.0 / 3, 0, 0));
        EXPECT_EQ(flow.Record(), Record(3, 3 + 1900.0 / 3, 12, 990));
    }
}

TEST(RatingStart, AFailedSaveLeavesTheRecordAsTheClubHoldsIt)
{
    const TTevGame held = Record(9, 99);
    const TTevGame onClub = Record(2, 2 + 1800.0 / 2, 5, 996);
    struct Case {
        const char* what;
        int failReads, failSaves;
        int saves;
        TTevGame record;
    } cases[] = {
        // The save went nowhere: Kon and Rating as read, not as counted.
        {"save failed", 0, 1, 1, onClub},
        // Nothing read: nothing saved, the held record stays.
        {"read failed", 1, 0, 0, held},
    };
    for (const Case& c : cases) {
        FakeClub club;
        club.record = onClub;
        club.failReads = c.failReads;
        club.failSaves = c.failSaves;
        RatingStartFlow flow(held);
        RunRatingFlow(flow, club, Player{});
        EXPECT_FALSE(flow.Registered()) << c.what;
        EXPECT_EQ(flow.Record(), c.record) << c.what;
        EXPECT_EQ(club.Count(ClubCall::SaveGame), c.saves) << c.what;
        EXPECT_EQ(club.record, onClub) << c.what;
    }
}

TEST(RatingEnd, SuspendsOrCompletesAndEntersTheBoard)
{
    // Left after deal 7 with 985: the club keeps deal and score, no board.
    {
        FakeClub club = GameStarted();
        const RatingEndFlow flow = End(club, 7, 985, Player{});
        EXPECT_TRUE(flow.Saved());
        EXPECT_FALSE(flow.Placed());
        EXPECT_EQ(club.record, Record(1, 1, 7, 985));
        EXPECT_EQ(club.Count(ClubCall::EnterBoard), 0);
    }
    // The first rating game finished with 950: Rating 951, on the board at
    // place 1, its bonus of 25 claimed once and the balance read back.
    {
        FakeClub club = GameStarted();
        club.balance = 40;
        const RatingEndFlow flow = End(club, 20, 950, Player{});
        ASSERT_TRUE(flow.Saved());
        EXPECT_DOUBLE_EQ(club.record.Rating, 951.0);
        EXPECT_EQ(club.record.Sessions, 1);
        EXPECT_EQ(club.record.Best, 950);
        EXPECT_EQ(flow.Record(), club.record);
        ASSERT_TRUE(flow.Placed());
        EXPECT_EQ(flow.Place(), 1);
        EXPECT_EQ(flow.Score(), 950);
        EXPECT_EQ(flow.Bonus(), 25);
        EXPECT_EQ(flow.Balance(), 40);
        ASSERT_EQ(club.Count(ClubCall::EnterBoard), 1);
        EXPECT_EQ(club.calls[2].Number, 950);
        ASSERT_EQ(club.Count(ClubCall::ClaimBonus), 1);
        EXPECT_EQ(club.calls[3].Number, 25);
    }
    // Places past the tenth earn nothing and claim nothing; a score under
    // the board's least is not entered at all.
    struct Case {
        std::int32_t score, place;
        bool entered;
        int bonus;
    } cases[] = {{950, 2, true, 10}, {950, 10, true, 10}, {950, 11, true, 0}, {900, 37, true, 0}, {899, 1, false, 0}};
    for (const Case& c : cases) {
        FakeClub club = GameStarted();
        club.place = c.place;
        const RatingEndFlow flow = End(club, 20, c.score, Player{});
        EXPECT_EQ(flow.Placed(), c.entered) << c.score << " " << c.place;
        EXPECT_EQ(flow.Bonus(), c.bonus) << c.score << " " << c.place;
        EXPECT_EQ(club.Count(ClubCall::ClaimBonus), c.bonus > 0 ? 1 : 0) << c.place;
        EXPECT_EQ(club.Count(ClubCall::ReadBalance), c.bonus > 0 ? 1 : 0) << c.place;
    }
}

TEST(RatingEnd, RepeatsOnlyWhileThePlayerSaysYes)
{
    // The save fails twice; Yes, Yes: the third try registers the end.
    {
        FakeClub club = GameStarted();
        club.failSaves = 2;
        Player player{{true, true}};
        const RatingEndFlow flow = End(club, 20, 950, player);
        EXPECT_TRUE(flow.Saved());
        EXPECT_EQ(player.asked, std::vector<RatingQuestion>(2, RatingQuestion::RepeatSave));
        EXPECT_EQ(club.Count(ClubCall::ReadGame), 3);
        EXPECT_TRUE(flow.Placed());
    }
    // A club that never answers: the loop ends at the first No.
    {
        FakeClub club;
        club.failReads = -1;
        Player player{{true, true, true, true}};
        RatingEndFlow flow(12, 990, Record(4, 4), 900);
        RunRatingFlow(flow, club, player);
        EXPECT_FALSE(flow.Saved());
        EXPECT_EQ(player.asked.size(), 5u);
        EXPECT_EQ(flow.Record(), Record(4, 4)) << "the held record stays";
    }
    // The board entry fails; Yes once, then it is taken.  The bonus is
    // claimed once, after the entry that went through.
    {
        FakeClub club = GameStarted();
        club.failEntries = 1;
        Player player{{true}};
        const RatingEndFlow flow = End(club, 20, 950, player);
        EXPECT_EQ(player.asked, std::vector<RatingQuestion>{RatingQuestion::RepeatBoardEntry});
        EXPECT_TRUE(flow.Placed());
        EXPECT_EQ(club.Count(ClubCall::EnterBoard), 2);
        EXPECT_EQ(club.Count(ClubCall::ClaimBonus), 1);
    }
    // The board entry fails and the player says No: no place, no window.
    {
        FakeClub club = GameStarted();
        club.failEntries = -1;
        const RatingEndFlow flow = End(club, 20, 950, Player{});
        EXPECT_TRUE(flow.Saved());
        EXPECT_FALSE(flow.Placed());
        EXPECT_EQ(club.Count(ClubCall::ClaimBonus), 0);
    }
}

TEST(RatingEnd, AnEndNotRegisteredIsNeverOfferedToTheBoard)
{
    // The save fails and the player gives up: the club holds no finished
    // game, so there is no board entry to ask about either.
    FakeClub club = GameStarted();
    club.failSaves = -1;
    Player player;
    const RatingEndFlow flow = End(club, 20, 1000, player);
    EXPECT_FALSE(flow.Saved());
    EXPECT_FALSE(flow.Placed());
    EXPECT_EQ(player.asked, std::vector<RatingQuestion>{RatingQuestion::RepeatSave});
    EXPECT_EQ(club.Count(ClubCall::EnterBoard), 0);
    // The record as read stays, not the end the club never took.
    EXPECT_EQ(flow.Record(), Record(1, 1));
}

TEST(RatingEnd, AFailedClaimShowsNoBonusAndReadsNoBalance)
{
    FakeClub club = GameStarted();
    club.failClaims = -1;
    const RatingEndFlow flow = End(club, 20, 950, Player{});
    EXPECT_TRUE(flow.Placed());
    EXPECT_EQ(flow.Bonus(), -1);
    EXPECT_FALSE(flow.Balance());
    EXPECT_EQ(club.Count(ClubCall::ClaimBonus), 1) << "claimed once, never repeated";
    EXPECT_EQ(club.Count(ClubCall::ReadBalance), 0);
}
