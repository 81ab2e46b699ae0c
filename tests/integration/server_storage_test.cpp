// The storage itself, on whichever database this run names (SQLite, or
// PostgreSQL under postgres/...): where the two databases' ways most easily
// part (the session cap's order, the nick check of a registration, the
// counters' ceiling, a new row's number, the schema version), and money
// under concurrent calls.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <latch>
#include <memory>
#include <thread>

#include "common/club_rules.h"
#include "server/storage/pg_storage.h"
#include "server/storage/sqlite_storage.h"
#include "server_probe_util.h"

using namespace vks;
using vk::test::DbExec;
using vk::test::DbNumber;

namespace {

constexpr int kGid = 351;
const std::string kKey = "zarvo";

// A fresh database of this run's kind, and the storage on it.
class StorageTest : public ::testing::Test {
protected:
    StorageTest()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vks-storage-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        dir_ = pattern;
        const std::string cluster = vk::test::TestPostgresFolder();
        db_ = cluster.empty() ? dir_ + "/club.db" : vk::test::CreateTestDatabase(cluster);
    }
    ~StorageTest() override
    {
        storage_.reset();
        if (Postgres())
            vk::test::DropTestDatabase(db_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    bool Postgres() const { return db_.starts_with("postgresql://"); }

    std::unique_ptr<Storage> Open() const
    {
        if (Postgres())
            return std::make_unique<PgStorage>(db_, 5000, 16);
        return std::make_unique<SqliteStorage>(db_, 5000);
    }
    Storage& S()
    {
        if (!storage_)
            storage_ = Open();
        return *storage_;
    }

    MemberId Add(const std::string& nick, std::int64_t balance = 0)
    {
        NewMember m{nick, "hash", "Tula", "Russia", "1-001", "M", "a@b.c", "10.12.2024", balance};
        if (!S().RegisterMember(m, {kKey}, 1000))
            throw std::runtime_error("nick taken");
        return S().FindMember(nick)->id;
    }

    // A rating cycle of the member completed at `now` with this final score.
    void CompleteCycle(MemberId id, std::int64_t score, Seconds now)
    {
        S().SaveGame(id, kKey, now - 100, [](const GameSnapshot& s) {
            GameDecision d{Transition::StartNew, s.record, 0};
            d.updated.kon = s.record.kon + 1;
            return d;
        });
        S().SaveGame(id, kKey, now, [score](const GameSnapshot& s) {
            return GameDecision{Transition::Complete, s.record, score};
        });
    }

    std::string dir_, db_;
    std::unique_ptr<Storage> storage_;
};

BoardEntry ClubEntry(const Member& m, std::int64_t score)
{
    return {m.nick, m.countryKey, m.city, m.sex, "4.3", "#", "#", score, "src"};
}

} // namespace

// The cap keeps the sessions made last, in the order they were made: the
// session just handed out always works, also when several share a second or
// the clock of the process that made it stepped back.
TEST_F(StorageTest, SessionCapEndsTheSessionsMadeFirst)
{
    struct Case {
        const char* name;
        std::vector<Seconds> made; // the clock at each login, in order
    };
    const Case cases[] = {
        {"one login a second", {100, 101, 102, 103, 104, 105, 106, 107, 108, 109}},
        {"all in one second", {100, 100, 100, 100, 100, 100, 100, 100, 100, 100}},
        {"the clock stepped back", {100, 101, 102, 103, 104, 105, 106, 107, 108, 50}},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MemberId id = Add("Capped" + std::to_string(++round));
        const std::string prefix = "r" + std::to_string(round) + "-";
        for (std::size_t i = 0; i < c.made.size(); ++i)
            S().CreateSession(prefix + std::to_string(i), id, c.made[i], 100000, "");
        const auto ended = c.made.size() - vk::SessionsPerMember;
        for (std::size_t i = 0; i < c.made.size(); ++i)
            EXPECT_EQ(S().UseSession(prefix + std::to_string(i), 110, 100000).has_value(), i >= ended)
                << "session " << i;
    }
}

// Nicks are one nick in any letter case; two registrations of one nick at
// once give one member and one "taken", never a fault.
TEST_F(StorageTest, RegistrationFindsANickTakenInAnyLetterCase)
{
    Add("Alice");
    struct Case {
        const char* nick;
        bool registers;
    };
    const Case cases[] = {{"Alice", false}, {"alice", false}, {"ALICE", false}, {"Alicia", true}, {"Alice1", true}};
    for (const auto& c : cases) {
        NewMember m{c.nick, "hash", "Tula", "Russia", "1-001", "W", "a@b.c", "10.12.2024", 0};
        EXPECT_EQ(S().RegisterMember(m, {kKey}, 1000), c.registers) << c.nick;
        EXPECT_TRUE(S().NickTaken(c.nick)) << c.nick;
    }

    constexpr int kRacers = 8;
    std::latch go(kRacers);
    std::atomic<int> registered = 0, faults = 0;
    std::vector<std::thread> racers;
    for (int i = 0; i < kRacers; ++i) {
        racers.emplace_back([&, i] {
            NewMember m{i % 2 ? "Racer" : "rACER", "hash", "Tula", "Russia", "1-001", "M", "a@b.c", "10.12.2024", 10};
            go.arrive_and_wait();
            try {
                registered += S().RegisterMember(m, {kKey}, 1000) ? 1 : 0;
            } catch (const StorageError&) {
                ++faults;
            }
        });
    }
    for (auto& t : racers)
        t.join();
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(faults, 0);
    EXPECT_EQ(DbNumber(db_, "SELECT COUNT(*) FROM member WHERE nick_fold = 'racer'"), 1);
    EXPECT_EQ(DbNumber(db_, "SELECT COUNT(*) FROM game_record g JOIN member m ON m.id = g.member_id "
                            "WHERE m.nick_fold = 'racer'"),
              1)
        << "the loser left nothing behind";
    EXPECT_EQ(vk::test::MoneyInvariants(db_), "");
}

// Every counter stops at the largest 32-bit number instead of passing it.
TEST_F(StorageTest, CountersStopAtTheirCeiling)
{
    S().EnsureStatCounter(kGid);
    ASSERT_TRUE(DbExec(db_, "UPDATE stat_counter SET starts = 2147483646, unique_starts = 2147483647, "
                            "likes = 2147483646, x1 = 2147483640, x2 = 5"));
    S().CountLaunch(kGid, true);
    S().CountLaunch(kGid, true);
    std::array<std::int64_t, 12> deal{};
    deal[0] = 10;
    deal[1] = 7;
    S().CountDeal(kGid, deal);
    EXPECT_TRUE(S().CountLike(kGid, "a", "2024-12-10", 500));
    EXPECT_FALSE(S().CountLike(kGid, "a", "2024-12-10", 501)) << "one like a source a day";
    EXPECT_TRUE(S().CountLike(kGid, "b", "2024-12-10", 502));
    const auto s = S().ReadStats(kGid);
    EXPECT_EQ(s.starts, 2147483647);
    EXPECT_EQ(s.uniqueStarts, 2147483647);
    EXPECT_EQ(s.likes, 2147483647);
    EXPECT_EQ(s.lastLikeAt, 502);
    EXPECT_EQ(s.x[0], 2147483647);
    EXPECT_EQ(s.x[1], 12);
}

// Transfers both ways between two members at once, and each member paying
// a third: every one that is answered Done moved its money, none made a
// balance negative, and the ledger agrees with the balances.
TEST_F(StorageTest, TransfersRacingBothWaysKeepTheLedger)
{
    const MemberId a = Add("Ann", 300), b = Add("Ben", 300), c = Add("Cid", 0);
    for (const auto& [nick, token] : {std::pair{"Ann", "ta"}, std::pair{"Ben", "tb"}})
        S().CreateSession(token, S().FindMember(nick)->id, 1000, 100000, "");
    constexpr int kRounds = 40;
    std::latch go(4);
    std::atomic<int> done = 0;
    auto payer = [&](const char* token, MemberId from, MemberId to, std::int64_t amount) {
        return std::thread([&, token, from, to, amount] {
            go.arrive_and_wait();
            for (int i = 0; i < kRounds; ++i)
                done += S().Transfer(token, from, to, amount, 1000 + i, 2000) == TransferResult::Done;
        });
    };
    std::thread workers[] = {payer("ta", a, b, 7), payer("tb", b, a, 5), payer("ta", a, c, 3), payer("tb", b, c, 4)};
    for (auto& t : workers)
        t.join();
    EXPECT_GT(done, 0);
    EXPECT_EQ(S().Balance(a) + S().Balance(b) + S().Balance(c), 600);
    EXPECT_EQ(DbNumber(db_, "SELECT COUNT(*) FROM transfer"), done.load());
    EXPECT_EQ(vk::test::MoneyInvariants(db_), "");
    // The sender's own "-amount" is taken once, for the last transfer only.
    const auto last = DbNumber(db_, "SELECT amount FROM transfer WHERE from_member = " + std::to_string(b)
                                        + " ORDER BY id DESC LIMIT 1");
    EXPECT_TRUE(S().AcknowledgeDebit("tb", last, 1500));
    EXPECT_FALSE(S().AcknowledgeDebit("tb", last, 1500));
}

// One completed cycle entered several times at once enters the board once
// and is rewarded once, whatever the place; every entry tells the same place.
TEST_F(StorageTest, ARewardEnteredSeveralTimesAtOnceIsPaidOnce)
{
    S().EnsureBoard(kGid, BoardKind::Club);
    struct Case {
        std::int64_t score;
        std::int64_t place;
        std::int64_t reward;
    };
    // The second member beats the first; the rest trail everyone before
    // them, down to the first place without a reward.
    std::vector<Case> cases = {{990, 1, vk::FirstPlaceReward}, {995, 1, vk::FirstPlaceReward}};
    for (std::int64_t p = 3; p <= vk::RewardedPlaces + 1; ++p)
        cases.push_back({990 - p, p, p <= vk::RewardedPlaces ? vk::TopTenPlaceReward : 0});
    int round = 0;
    for (const auto& c : cases) {
        const std::string nick = "Winner" + std::to_string(++round);
        SCOPED_TRACE(nick);
        const MemberId id = Add(nick, 0);
        const Seconds now = 5000 + round * 1000;
        CompleteCycle(id, c.score, now);
        const auto member = *S().FindMember(nick);
        constexpr int kEntries = 4;
        std::latch go(kEntries);
        std::optional<std::int64_t> places[kEntries];
        std::vector<std::thread> entries;
        for (int i = 0; i < kEntries; ++i)
            entries.emplace_back([&, i] {
                go.arrive_and_wait();
                places[i] =
                    S().SubmitClubResult(id, kKey, kGid, ClubEntry(member, c.score), now + 1, 900, 7 * 24 * 3600);
            });
        for (auto& t : entries)
            t.join();
        for (const auto& place : places)
            EXPECT_EQ(place, c.place);
        EXPECT_EQ(S().Balance(id), c.reward);
        EXPECT_EQ(
            DbNumber(db_, "SELECT COUNT(*) FROM ledger WHERE kind = 'reward' AND member_id = " + std::to_string(id)),
            c.reward ? 1 : 0);
        if (c.reward) {
            EXPECT_FALSE(S().AcknowledgeReward(id, c.reward + 1, now + 2));
            EXPECT_TRUE(S().AcknowledgeReward(id, c.reward, now + 2));
            EXPECT_FALSE(S().AcknowledgeReward(id, c.reward, now + 3)) << "once";
        }
    }
    EXPECT_EQ(DbNumber(db_, "SELECT COUNT(*) FROM wtt_row"), static_cast<std::int64_t>(cases.size()));
    EXPECT_EQ(vk::test::MoneyInvariants(db_), "");
}

// A database of another schema version is refused, never changed; one with
// club tables but no version is refused on PostgreSQL, and on SQLite (a club
// file of a build from before versions) taken over with its sessions, in
// the order they were made.
TEST_F(StorageTest, SchemaVersionDecidesWhetherADatabaseIsRead)
{
    const MemberId id = Add("Keeper", 40);
    storage_.reset();
    ASSERT_TRUE(DbExec(db_, "UPDATE schema_version SET version = version + 1"));
    EXPECT_THROW(Open(), StorageError);
    ASSERT_TRUE(DbExec(db_, "UPDATE schema_version SET version = version - 1"));
    EXPECT_EQ(Open()->Balance(id), 40);

    ASSERT_TRUE(DbExec(db_, "DROP TABLE schema_version"));
    if (Postgres()) {
        EXPECT_THROW(Open(), StorageError);
        return;
    }
    // The session table as those builds made it: no order of its own, and
    // (before password checks) no check column.
    ASSERT_TRUE(DbExec(db_, "DROP TABLE session"));
    ASSERT_TRUE(DbExec(db_, "CREATE TABLE session (token_hash BLOB PRIMARY KEY, member_id INTEGER NOT NULL "
                            "REFERENCES member(id), created_at INTEGER NOT NULL, last_seen_at INTEGER NOT NULL, "
                            "expires_at INTEGER NOT NULL, owed_debit INTEGER, owed_debit_until INTEGER, "
                            "owed_transfer_id INTEGER)"));
    ASSERT_TRUE(DbExec(db_, "CREATE INDEX session_member ON session(member_id)"));
    for (int i = 0; i < vk::SessionsPerMember; ++i)
        ASSERT_TRUE(DbExec(db_, "INSERT INTO session (token_hash, member_id, created_at, last_seen_at, expires_at) "
                                "VALUES (X'0"
                                    + std::to_string(i) + "', " + std::to_string(id) + ", 100, 100, 100000)"));
    auto& s = S();
    EXPECT_EQ(s.Balance(id), 40);
    EXPECT_EQ(DbNumber(db_, "SELECT MAX(version) FROM schema_version"), SqliteStorage::SchemaVersion());
    EXPECT_EQ(DbNumber(db_, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'session_member'"), 1);
    s.CreateSession("new", id, 100, 100000, "check");
    EXPECT_FALSE(s.UseSession(std::string(1, '\x00'), 110, 100000)) << "the first made is the one ended";
    for (int i = 1; i < vk::SessionsPerMember; ++i)
        EXPECT_TRUE(s.UseSession(std::string(1, static_cast<char>(i)), 110, 100000)) << i;
    EXPECT_EQ(s.UseSession("new", 110, 100000)->passwordCheck, "check");
}
