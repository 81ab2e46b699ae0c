#pragma once
// The storage on one SQLite file: WAL mode, prepared statements only, one
// connection per concurrent request taken from a small pool, every
// read-then-write inside a BEGIN IMMEDIATE transaction.  Photos are files
// <photoDir>/<member id>.jpg beside it, recorded in the database.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/storage/sql_storage.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vks {

// What SqlStorage needs of SQLite: the pool of connections, statements
// prepared once per connection from the shared SQL, transactions that take
// the write lock at BEGIN.  There is one writer at a time, so row locks are
// moot and nothing is retried: a writer waits up to the busy timeout.
class SqliteDialect {
public:
    struct Conn {
        sqlite3* db = nullptr;
        std::unordered_map<const char*, sqlite3_stmt*> statements; // by the shared SQL's text
        ~Conn();
        [[noreturn]] void Fail(const char* what) const;
        void Exec(const char* sql);
        sqlite3_stmt* Prepare(const char* sql);
        // Writers take the write lock at BEGIN IMMEDIATE, so a
        // read-then-write never fails half way on a lock held by another
        // process.
        void Begin();
        void Commit();
        void Rollback() noexcept;
    };

    // One use of a cached prepared statement; reset when it goes out of scope.
    class Query {
    public:
        Query(Conn& c, const char* sql);
        ~Query();
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;

        Query& Bind(int i, std::int64_t v);
        Query& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
        Query& Bind(int i, double v);
        Query& Bind(int i, std::string_view v);
        Query& Bind(int i, const std::string& v) { return Bind(i, std::string_view(v)); }
        Query& Bind(int i, const char* v) { return Bind(i, std::string_view(v)); }
        Query& BindBytes(int i, std::string_view v);
        Query& BindNull(int i);
        Query& Bind(int i, const std::optional<std::int64_t>& v) { return v ? Bind(i, *v) : BindNull(i); }

        bool Step();
        // Runs the statement to its end; the number of rows it changed.
        std::int64_t Run();

        std::int64_t Int(int col) const;
        double Real(int col) const;
        bool Null(int col) const;
        std::optional<std::int64_t> OptInt(int col) const
        {
            return Null(col) ? std::nullopt : std::optional<std::int64_t>(Int(col));
        }
        std::string Text(int col) const;
        std::string Bytes(int col) const;

    private:
        void Check(int rc);
        Conn& c_;
        sqlite3_stmt* s_;
    };

    using Transaction = SqlTransaction<Conn>;
    using Lease = PoolLease<SqliteDialect, Conn>;

    SqliteDialect(std::string path, int busyTimeoutMs);

    Lease Acquire();

    template <class Body>
    auto InTransaction(Body&& body)
    {
        auto lease = Acquire();
        Transaction t(*lease);
        return body(*lease, t);
    }

    // A connection left inside a transaction is dropped, not reused.
    void Release(std::unique_ptr<Conn> c);

    static const char* SchemaText();
    void LockSchema(Conn&) {} // BEGIN IMMEDIATE already holds the file
    bool HasTable(Conn& c, const char* name);
    void AdoptUnversioned(Conn& c);
    void Upgrade(Conn& c, int version);

private:
    std::unique_ptr<Conn> Open();

    std::string path_;
    int busyTimeoutMs_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Conn>> idle_;
};

class SqliteStorage final : public SqlStorage<SqliteDialect> {
public:
    // Creates the file and its tables when missing; throws StorageError.
    // An empty photoDir means the folder "photos" beside the file.
    SqliteStorage(std::string path, int busyTimeoutMs, std::string photoDir = {});

    void SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now) override;
    std::optional<std::string> ReadPhoto(MemberId id) override;

private:
    std::string PhotoPath(MemberId id) const;
    std::string photoDir_;
};

extern template class SqlStorage<SqliteDialect>;

} // namespace vks
