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
#include <libpq-fe.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/rate_limit.h"
#include "server/storage/sql_storage.h"

namespace vks {

// What SqlStorage needs of PostgreSQL: a bounded pool of connections, each
// preparing the shared SQL once, transactions retried on a conflict.
class PgDialect {
public:
    struct Conn {
        PGconn* conn = nullptr;
        std::unordered_map<const char*, std::string> prepared; // statement text -> its name here
        ~Conn();
        [[noreturn]] void Fail(const char* what, PGresult* res) const;
        // Statements without parameters or results (transaction control, set-up).
        void Exec(const char* sql);
        const std::string& Prepare(const char* sql);
        void Begin() { Exec("BEGIN ISOLATION LEVEL READ COMMITTED"); }
        void Commit() { Exec("COMMIT"); }
        void Rollback() noexcept;
    };

    // One run of a prepared statement: parameters numbered from 1 as in the
    // SQL ($1, $2, ...), rows read one at a time.  Numbers travel as text,
    // byte strings in binary.
    class Query {
    public:
        Query(Conn& c, const char* sql) : c_(c), sql_(sql) {}
        ~Query();
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;

        Query& Bind(int i, std::int64_t v) { return Set(i, std::to_string(v), false); }
        Query& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
        Query& Bind(int i, double v);
        Query& Bind(int i, std::string_view v) { return Set(i, std::string(v), false); }
        Query& Bind(int i, const std::string& v) { return Set(i, v, false); }
        Query& Bind(int i, const char* v) { return Set(i, v, false); }
        Query& BindBytes(int i, std::string_view v) { return Set(i, std::string(v), true); }
        Query& BindNull(int i) { return Set(i, std::nullopt, false); }
        Query& Bind(int i, const std::optional<std::int64_t>& v) { return v ? Bind(i, *v) : BindNull(i); }

        bool Step();
        // Runs the statement; the number of rows it changed.
        std::int64_t Run();

        bool Null(int col) const;
        std::int64_t Int(int col) const;
        double Real(int col) const;
        std::optional<std::int64_t> OptInt(int col) const
        {
            return Null(col) ? std::nullopt : std::optional<std::int64_t>(Int(col));
        }
        std::string Text(int col) const;
        std::string Bytes(int col) const;

    private:
        Query& Set(int i, std::optional<std::string> v, bool binary);
        void Execute();

        Conn& c_;
        const char* sql_;
        std::vector<std::optional<std::string>> values_;
        std::vector<int> binary_;
        PGresult* res_ = nullptr;
        int row_ = -1;
    };

    using Transaction = SqlTransaction<Conn>;
    using Lease = PoolLease<PgDialect, Conn>;

    // At most maxConnections connections are open at once.
    PgDialect(std::string conninfo, int lockTimeoutMs, int maxConnections);

    Lease Acquire();
    // A broken connection, or one left inside a transaction, is dropped.
    void Release(std::unique_ptr<Conn> c);

    // Runs body in one transaction, again from the start when PostgreSQL
    // broke it off to resolve a conflict with another transaction.
    template <class Body>
    auto InTransaction(Body&& body)
    {
        for (int attempt = 1;; ++attempt) {
            auto lease = Acquire();
            try {
                Transaction t(*lease);
                return body(*lease, t);
            } catch (const StorageError& e) {
                if (!Retryable(e) || attempt == kAttempts)
                    throw;
            }
        }
    }

    static const char* SchemaText();
    // Processes starting together: one creates the tables, the others wait
    // and then find them.
    void LockSchema(Conn& c);
    bool HasTable(Conn& c, const char* name);
    [[noreturn]] void AdoptUnversioned(Conn& c);
    void Upgrade(Conn& c, int version);

private:
    static constexpr int kAttempts = 4;
    static bool Retryable(const StorageError& e);
    std::unique_ptr<Conn> Open();
    void Dropped(); // a connection was closed or never opened

    std::string conninfo_;
    int lockTimeoutMs_;
    int maxConnections_;
    std::mutex mutex_;
    std::condition_variable available_;
    std::vector<std::unique_ptr<Conn>> idle_;
    int open_ = 0;
};

class PgStorage final : public SqlStorage<PgDialect>, public LimitEvents {
public:
    // conninfo: a libpq connection string or postgresql:// address.  Creates
    // the tables on an empty database, checks the schema version of one
    // made before; throws StorageError.
    PgStorage(std::string conninfo, int lockTimeoutMs, int maxConnections);

    void SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now) override;
    std::optional<std::string> ReadPhoto(MemberId id) override;

    // The limits (per address, and per nick for password guesses) count on
    // the database's clock, under keyed hashes of their keys (no client
    // address or nick is stored in plain).
    LimitEvents* SharedLimitEvents() override { return this; }
    bool TakeLimits(const std::vector<RateLimiter::Rule>& rules) override;
    RateLimiter::Seen SeeLimit(const std::string& key, double windowS) override;
    void AddLimit(const std::string& key, double windowS) override;
    void ClearLimit(const std::string& key) override;
    void SweepLimits(std::size_t maxKeys) override;

private:
    std::string LimitKey(const std::string& key);
};

extern template class SqlStorage<PgDialect>;

} // namespace vks
