#pragma once
// The storage on a PostgreSQL database, for a club whose server runs as
// several processes, on one machine or several: everything lives in the
// database, photos included, so any process can answer any request.
//
// Connections come from a small pool of this process; each request's
// statements run on one of them.  Every operation that reads and then
// writes runs in one READ COMMITTED transaction that first locks the rows it
// is about to change (SELECT ... FOR UPDATE, or a conditional UPDATE that
// PostgreSQL re-checks on the newest row version after waiting for a
// concurrent writer), always in the same order, so concurrent requests
// queue on the row instead of failing; a deadlock or serialisation failure
// that still happens is retried whole.  A connection the database dropped
// (restart, network) is replaced on its next use; while the database is
// unreachable every operation throws StorageError, answered as 503.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/rate_limit.h"
#include "server/storage.h"

namespace vks {

class PgStorage final : public Storage, public LimitEvents {
public:
    // conninfo: a libpq connection string or postgresql:// address.  Creates
    // the tables on an empty database, checks the schema version of one
    // made before; throws StorageError.
    // At most maxConnections connections are open at once.
    PgStorage(std::string conninfo, int lockTimeoutMs, int maxConnections);
    ~PgStorage() override;

    // The schema version this program creates and reads.
    static int SchemaVersion();

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

    Card ReadCard(MemberId id) override;
    void SaveCard(MemberId id, const Card& card, Seconds now) override;
    void SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now) override;
    std::optional<std::string> ReadPhoto(MemberId id) override;

    std::int64_t Balance(MemberId id) override;
    TransferResult Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                            Seconds now, Seconds owedUntil) override;
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
    std::optional<std::int64_t> SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                 const BoardEntry& entry, Seconds now, Seconds window) override;
    std::vector<BoardRow> Board(int gid, int limit) override;
    std::vector<BoardRow> OwnRows(int gid, const std::string& nick, const std::string& city, int limit) override;
    std::int64_t AcceptedCount(int gid) override;

    void EnsureStatCounter(int gid) override;
    void CountLaunch(int gid, bool unique) override;
    void CountDeal(int gid, const std::array<std::int64_t, 12>& r) override;
    bool CountLike(int gid, const std::string& source, const std::string& day, Seconds now) override;
    StatCounters ReadStats(int gid) override;

    std::string ServerSecret() override;

    // The limits (per address, and per nick for password guesses) count on
    // the database's clock, under keyed hashes of their keys (no client
    // address or nick is stored in plain).
    LimitEvents* SharedLimitEvents() override { return this; }
    bool TakeLimits(const std::vector<RateLimiter::Rule>& rules) override;
    RateLimiter::Seen SeeLimit(const std::string& key, double windowS) override;
    void AddLimit(const std::string& key, double windowS) override;
    void ClearLimit(const std::string& key) override;
    void SweepLimits(std::size_t maxKeys) override;

    struct Connection;
    class Lease;

private:
    std::unique_ptr<Connection> Open();
    Lease Acquire();
    void Release(std::unique_ptr<Connection> c);
    void Dropped();   // a connection was closed or never opened
    // Runs body in one transaction, again from the start when PostgreSQL
    // broke it off to resolve a conflict with another transaction.
    template <class Body>
    auto InTransaction(Body&& body);

    std::string conninfo_;
    int lockTimeoutMs_;
    int maxConnections_;
    std::mutex mutex_;
    std::condition_variable available_;
    std::vector<std::unique_ptr<Connection>> idle_;
    int open_ = 0;
    std::string secret_;
    std::string LimitKey(const std::string& key);
};

} // namespace vks
