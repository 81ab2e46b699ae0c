#include <gtest/gtest.h>

#include <charconv>
#include <random>

#include "common/readers.h"
#include "server/rating_rules.h"
#include "test_db.h"

using namespace vks;

namespace {

double ReadBack(double x)
{
    const std::string text = vk::FloatToText(x);
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// The client's side of a rating game: it reads the record, applies the
// start or end update to its own copy and sends the whole record back.
struct Client {
    SentGame g;

    void Read(const GameRecord& r) { g = {r.kon, r.best, ReadBack(r.rating), r.sessions, r.konl, r.score, r.r1, r.r2}; }
    SentGame Start()
    {
        if (g.konl == 0) {
            const double n1 = static_cast<double>(g.kon + 1);
            g.rating = ((n1 - 1) * (g.rating - (n1 - 1))) / n1 + n1;
            g.kon += 1;
        }
        SentGame sent = g;
        sent.konl = sent.score = 0;
        sent.rating = ReadBack(sent.rating);
        return sent;
    }
    SentGame End(int deal, int score)
    {
        if (deal < LastDeal) {
            g.konl = deal;
            g.score = score;
        } else {
            g.best = std::max<std::int64_t>(g.best, score);
            g.ses += 1;
            const double n = static_cast<double>(g.kon);
            g.rating = (n * (g.rating - n) + score) / n + n;
            g.konl = g.score = 0;
        }
        SentGame sent = g;
        sent.rating = ReadBack(sent.rating);
        return sent;
    }
};

class RatingFlow : public ::testing::Test {
protected:
    RatingFlow() { id = test::AddMember(*db, "Nomad"); }

    Transition Save(const SentGame& sent, Seconds now = 100000)
    {
        return db
            ->SaveGame(id, "zarvo", now, [&](const GameSnapshot& s) { return DecideGameSave(s, sent, now, limits); })
            .transition;
    }
    GameRecord Record() { return db->ReadGame(id, "zarvo"); }
    // What the client does at a rating game's start: read, update, save.
    Transition StartGame(Seconds now = 100000)
    {
        client.Read(Record());
        return Save(client.Start(), now);
    }
    Transition EndGame(int deal, int score, Seconds now = 100000)
    {
        client.Read(Record());
        return Save(client.End(deal, score), now);
    }

    test::TempDb db;
    MemberId id = 0;
    Client client;
    RatingLimits limits{0, 30, 900};
};

} // namespace

TEST_F(RatingFlow, NewMemberCompletesACycle)
{
    EXPECT_EQ(StartGame(), Transition::StartNew);
    EXPECT_EQ(Record().kon, 1);
    EXPECT_EQ(Record().rating, 1.0);
    EXPECT_EQ(EndGame(20, 950), Transition::Complete);
    const auto r = Record();
    EXPECT_EQ(r.kon, 1);
    EXPECT_EQ(r.rating, 951.0);
    EXPECT_EQ(r.sessions, 1);
    EXPECT_EQ(r.best, 950);
    EXPECT_EQ(db->ClubPlace("zarvo", ReadBack(r.rating)), 1);
    ASSERT_EQ(db->ClubTopTen("zarvo").size(), 1u);
}

TEST_F(RatingFlow, SuspendedCycleResumesUnderItsScore)
{
    StartGame();
    EXPECT_EQ(EndGame(7, 990), Transition::Suspend);
    EXPECT_EQ(Record().konl, 7);
    EXPECT_EQ(Record().score, 990);
    // Resuming changes neither the cycle number nor the rating.
    EXPECT_EQ(StartGame(), Transition::Resume);
    EXPECT_EQ(Record().kon, 1);
    EXPECT_EQ(Record().rating, 1.0);
    EXPECT_EQ(Record().konl, 0);

    // A completion above the suspended score is refused; the honest one passes.
    client.Read(Record());
    Client cheat = client;
    EXPECT_EQ(Save(cheat.End(20, 995)), Transition::Refused);
    EXPECT_EQ(EndGame(20, 980), Transition::Complete);
    EXPECT_EQ(Record().rating, 981.0);
}

TEST_F(RatingFlow, SuspendsMustAdvanceAndResumesKeepTheirFloor)
{
    StartGame();
    EXPECT_EQ(EndGame(5, 995), Transition::Suspend);
    StartGame();
    EXPECT_EQ(EndGame(12, 980), Transition::Suspend);
    StartGame();
    client.Read(Record());
    Client back = client;
    EXPECT_EQ(Save(back.End(10, 970)), Transition::Refused) << "deal before the resumed one";
    EXPECT_EQ(EndGame(20, 970), Transition::Complete);
    EXPECT_EQ(Record().best, 970);
}

TEST_F(RatingFlow, AbandonedCycleCountsZero)
{
    StartGame();
    EndGame(20, 950); // S = 950, n = 1
    StartGame();      // quit to the menu: nothing more is sent
    EXPECT_EQ(StartGame(), Transition::StartNew);
    EXPECT_EQ(Record().kon, 3);
    EXPECT_NEAR(Record().rating, 950.0 / 3 + 3, 1e-9);
}

TEST_F(RatingFlow, RepeatsAfterLostRepliesChangeNothing)
{
    StartGame();
    EndGame(7, 990);
    // The suspend's reply was lost: the client re-reads and sends the same.
    EXPECT_EQ(EndGame(7, 990), Transition::Repeat);
    StartGame();
    EXPECT_EQ(EndGame(20, 980), Transition::Complete);
    const auto before = Record();
    // The completion's reply was lost: the client re-reads and applies the
    // end update once more.
    EXPECT_EQ(EndGame(20, 980), Transition::RepeatComplete);
    const auto after = Record();
    EXPECT_EQ(after.sessions, 1);
    EXPECT_EQ(after.rating, before.rating);
    EXPECT_EQ(after.sumScores, before.sumScores);
    // Not once the window has passed.
    EXPECT_EQ(EndGame(20, 980, 100000 + limits.resultWindowS + 1), Transition::Refused);
}

TEST_F(RatingFlow, MadeUpRecordsAreRefused)
{
    client.Read(Record());
    SentGame completed = client.g;
    completed.ses = 1;
    completed.rating = 951;
    completed.kon = 1;
    EXPECT_EQ(Save(completed), Transition::Refused) << "completion without a start";

    client.Read(Record());
    SentGame jump = client.Start();
    jump.kon += 5;
    EXPECT_EQ(Save(jump), Transition::Refused) << "cycle number jump";

    StartGame();
    client.Read(Record());
    SentGame rich = client.End(20, 950);
    rich.rating = 1e9;
    EXPECT_EQ(Save(rich), Transition::Refused) << "rating far off";
    SentGame other = client.End(20, 950);
    other.r1 = 7;
    EXPECT_EQ(Save(other), Transition::Refused) << "reserved field changed";
    EXPECT_EQ(Record().sessions, 0);
}

TEST_F(RatingFlow, CyclesCannotBeFasterThanTheirDeals)
{
    limits.minDealS = 3;
    StartGame(100000);
    EXPECT_EQ(EndGame(20, 950, 100000 + 20 * 3 - 1), Transition::Refused);
    EXPECT_EQ(EndGame(20, 950, 100000 + 20 * 3), Transition::Complete);
}

TEST_F(RatingFlow, StartsPerHourAreBounded)
{
    limits.startsPerHour = 2;
    EXPECT_EQ(StartGame(), Transition::StartNew);
    EXPECT_EQ(StartGame(), Transition::StartNew);
    EXPECT_EQ(StartGame(), Transition::Refused);
}

TEST(RatingRules, StoredRatingsAreWhatTheirTextReadsBack)
{
    EXPECT_EQ(CanonicalRating(950.0 / 3 + 3), 319.666666666667);
    EXPECT_EQ(CanonicalRating(951), 951.0);
    EXPECT_EQ(CanonicalRating(0.000001), 0.0);
}

// The score implied by an honest client's completion is read back exactly
// for every score, however many cycles the member has begun.
TEST(RatingRules, ImpliedScoreSurvivesTheTextRoundTrip)
{
    std::mt19937 rng(7);
    for (const std::int64_t n : {1LL, 2LL, 7LL, 999LL, 123457LL, 1000000LL}) {
        for (int trial = 0; trial < 200; ++trial) {
            const std::int64_t S = std::uniform_int_distribution<std::int64_t>(0, 1000 * (n - 1))(rng);
            const int s = std::uniform_int_distribution<int>(0, 1000)(rng);
            GameSnapshot snap;
            snap.record.kon = n;
            snap.record.sumScores = S;
            snap.record.rating = CanonicalRating(static_cast<double>(S) / n + n);
            snap.record.openCycle = 1;
            snap.record.openCap = 1000;
            Client c;
            c.Read(snap.record);
            const auto d = DecideGameSave(snap, c.End(LastDeal, s), 0, RatingLimits{0, 30, 900});
            ASSERT_EQ(d.transition, Transition::Complete) << "n=" << n << " S=" << S << " s=" << s;
            ASSERT_EQ(d.finalScore, s);
        }
    }
}
