#pragma once
// The storage written once over the SQL both databases read: parameters
// $1, $2 ... (SQLite's dialect numbers them as ?1, ?2 ...), RETURNING for a
// new row's number, casts as CAST(... AS ...), clamps as CASE.  Row locks are
// written as PostgreSQL reads them (FOR UPDATE); SQLite's dialect drops them,
// as its one writer at a time already holds the whole database.
//
// A dialect D provides:
//   Conn, Query, Transaction   a connection (with Exec, and Begin, Commit,
//                              Rollback for SqlTransaction); one run of a
//                              prepared statement (Bind, BindBytes, Step, Run
//                              giving the rows changed, Int, Real, Text,
//                              Bytes, OptInt, Null); SqlTransaction<Conn>
//   Acquire()                  a connection of the pool, for the caller's scope
//   InTransaction(body)        body(Conn&, Transaction&) in one write
//                              transaction, run again where the database broke
//                              it off to resolve a conflict
//   LockSchema(c), HasTable(c, name), SchemaText(), AdoptUnversioned(c),
//   Upgrade(c, version)        what the schema rule (PrepareSchema) asks: one
//                              process at a time, which tables exist, the
//                              built-in schema file, what becomes of a
//                              database with club tables but no version, and
//                              the tables an older version lacks
// Photos, and whatever else one database keeps in its own way, belong to the
// storage class of the dialect.
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "server/storage/storage.h"

namespace vks {

// The version a schema file records in its schema_version row.
int SchemaVersionOf(const char* schemaText);

// A write transaction that rolls back unless committed; the connection
// says how it begins, commits and rolls back.
template <class Conn>
class SqlTransaction {
public:
    explicit SqlTransaction(Conn& c) : c_(c) { c_.Begin(); }
    ~SqlTransaction()
    {
        if (!done_)
            c_.Rollback();
    }
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    void Commit()
    {
        c_.Commit();
        done_ = true;
    }

private:
    Conn& c_;
    bool done_ = false;
};

// A connection taken from its pool for the holder's scope, and given back
// (or dropped, as the pool judges) when it ends.
template <class Pool, class Conn>
class PoolLease {
public:
    PoolLease(Pool& owner, std::unique_ptr<Conn> c) : owner_(owner), c_(std::move(c)) {}
    ~PoolLease()
    {
        if (c_)
            owner_.Release(std::move(c_));
    }
    PoolLease(PoolLease&& other) noexcept : owner_(other.owner_), c_(std::move(other.c_)) {}
    Conn& operator*() { return *c_; }

private:
    Pool& owner_;
    std::unique_ptr<Conn> c_;
};

template <class D>
class SqlStorage : public Storage {
public:
    bool RegisterMember(const NewMember& member, const std::vector<std::string>& gameKeys, Seconds now) override;
    std::optional<Member> FindMember(std::string_view nick) override;
    bool NickTaken(std::string_view nick) override;
    void UpdatePasswordHash(MemberId id, const std::string& hash) override;
    void RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from) override;
    std::int64_t CountMembers() override;

    void CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                       const std::string& passwordCheck) override;
    void SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck) override;
    std::optional<SessionInfo> UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit) override;
    void DeleteSession(const std::string& tokenHash) override;
    void PurgeSessions(Seconds now, Seconds idleLimit) override;
    void CreateDevice(const std::string& tokenHash, MemberId id, Seconds now) override;
    bool UseDevice(const std::string& tokenHash, MemberId id, Seconds now, Seconds usedAfter) override;
    void PurgeDevices(Seconds usedBefore) override;

    Card ReadCard(MemberId id) override;
    void SaveCard(MemberId id, const Card& card, Seconds now) override;

    std::int64_t Balance(MemberId id) override;
    TransferResult Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount, Seconds now,
                            Seconds owedUntil) override;
    bool AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now) override;
    bool AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now) override;

    GameRecord ReadGame(MemberId id, const std::string& key) override;
    GameDecision SaveGame(MemberId id, const std::string& key, Seconds now,
                          const std::function<GameDecision(const GameSnapshot&)>& decide) override;
    std::vector<TopTenRow> ClubTopTen(const std::string& key) override;
    std::int64_t ClubPlace(const std::string& key, double rating) override;
    bool InAnyClubTopTen(MemberId id) override;

    void EnsureBoard(int gid, BoardKind kind) override;
    std::int64_t SubmitResult(int gid, const BoardEntry& entry, Seconds now) override;
    std::int64_t SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep) override;
    std::optional<std::int64_t> SubmitClubResult(MemberId id, const std::string& key, int gid, const BoardEntry& entry,
                                                 Seconds now, Seconds window, Seconds seasonS) override;
    std::vector<BoardRow> Board(int gid, int limit) override;
    std::vector<BoardRow> OwnRows(int gid, const std::string& nick, const std::string& city, int limit) override;
    std::int64_t AcceptedCount(int gid) override;

    void EnsureStatCounter(int gid) override;
    void CountLaunch(int gid, bool unique) override;
    void CountDeal(int gid, const std::array<std::int64_t, 12>& r) override;
    bool CountLike(int gid, const std::string& source, const std::string& day, Seconds now) override;
    StatCounters ReadStats(int gid) override;

    std::string ServerSecret() override;

    // The schema version this program creates and reads.
    static int SchemaVersion() { return SchemaVersionOf(D::SchemaText()); }

protected:
    using Conn = typename D::Conn;
    using Query = typename D::Query;
    using Transaction = typename D::Transaction;

    // Opens the dialect and brings the database to the schema this program
    // reads; throws StorageError.
    template <class... Args>
    explicit SqlStorage(Args&&... args) : d_(std::forward<Args>(args)...)
    {
        PrepareSchema();
    }

    D d_;

private:
    void PrepareSchema();

    std::mutex secretMutex_;
    std::string secret_;
};

} // namespace vks
