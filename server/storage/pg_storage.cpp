#include "server/storage/pg_storage.h"

#include <poll.h>
#include <sodium.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "server/storage/sql_storage_impl.h"

namespace vks {

extern const char* const PgSchemaText; // pg_schema.sql, built in

namespace {

// A failed statement with PostgreSQL's error class.
struct PgError : StorageError {
    PgError(const std::string& what, std::string code) : StorageError(what), sqlstate(std::move(code)) {}
    std::string sqlstate;
};

std::string Trimmed(std::string message)
{
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

// ---------------------------------------------------------------- connections

PgDialect::Conn::~Conn()
{
    if (conn)
        PQfinish(conn);
}

void PgDialect::Conn::Fail(const char* what, PGresult* res) const
{
    std::string code =
        res && PQresultErrorField(res, PG_DIAG_SQLSTATE) ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : "";
    std::string message = res ? PQresultErrorMessage(res) : PQerrorMessage(conn);
    if (res)
        PQclear(res);
    throw PgError(std::string("postgresql ") + what + ": " + Trimmed(std::move(message)), std::move(code));
}

void PgDialect::Conn::Exec(const char* sql)
{
    PGresult* res = PQexec(conn, sql);
    const auto status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        Fail("exec", res);
    PQclear(res);
}

const std::string& PgDialect::Conn::Prepare(const char* sql)
{
    const auto it = prepared.find(sql);
    if (it != prepared.end())
        return it->second;
    std::string name = "s" + std::to_string(prepared.size());
    PGresult* res = PQprepare(conn, name.c_str(), sql, 0, nullptr);
    if (PQresultStatus(res) != PGRES_COMMAND_OK)
        Fail("prepare", res);
    PQclear(res);
    return prepared.emplace(sql, std::move(name)).first->second;
}

PgDialect::Query::~Query()
{
    if (res_)
        PQclear(res_);
}

PgDialect::Query& PgDialect::Query::Bind(int i, double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return Set(i, buf, false);
}

bool PgDialect::Query::Step()
{
    if (!res_)
        Execute();
    return ++row_ < PQntuples(res_);
}

std::int64_t PgDialect::Query::Run()
{
    Execute();
    const char* n = PQcmdTuples(res_);
    return n && *n ? std::strtoll(n, nullptr, 10) : 0;
}

bool PgDialect::Query::Null(int col) const { return PQgetisnull(res_, row_, col) != 0; }

std::int64_t PgDialect::Query::Int(int col) const
{
    return Null(col) ? 0 : std::strtoll(PQgetvalue(res_, row_, col), nullptr, 10);
}

double PgDialect::Query::Real(int col) const
{
    return Null(col) ? 0 : std::strtod(PQgetvalue(res_, row_, col), nullptr);
}

std::string PgDialect::Query::Text(int col) const
{
    return std::string(PQgetvalue(res_, row_, col), static_cast<std::size_t>(PQgetlength(res_, row_, col)));
}

std::string PgDialect::Query::Bytes(int col) const
{
    if (Null(col))
        return {};
    std::size_t length = 0;
    unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(res_, row_, col)), &length);
    if (!raw)
        throw StorageError("postgresql: unreadable bytes");
    std::string out(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return out;
}

PgDialect::Query& PgDialect::Query::Set(int i, std::optional<std::string> v, bool binary)
{
    const auto index = static_cast<std::size_t>(i - 1);
    if (values_.size() <= index) {
        values_.resize(index + 1);
        binary_.resize(index + 1, 0);
    }
    values_[index] = std::move(v);
    binary_[index] = binary ? 1 : 0;
    return *this;
}

void PgDialect::Query::Execute()
{
    const std::string& name = c_.Prepare(sql_);
    std::vector<const char*> values(values_.size());
    std::vector<int> lengths(values_.size());
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values[i] = values_[i] ? values_[i]->data() : nullptr;
        lengths[i] = values_[i] ? static_cast<int>(values_[i]->size()) : 0;
    }
    res_ = PQexecPrepared(c_.conn, name.c_str(), static_cast<int>(values.size()), values.data(), lengths.data(),
                          binary_.data(), 0);
    const auto status = PQresultStatus(res_);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        PGresult* failed = res_;
        res_ = nullptr;
        c_.Fail("statement", failed);
    }
}

void PgDialect::Conn::Rollback() noexcept
{
    if (PQstatus(conn) != CONNECTION_OK)
        return;
    try {
        Exec("ROLLBACK");
    } catch (...) {
    }
}

PgDialect::PgDialect(std::string conninfo, int lockTimeoutMs, int maxConnections)
    : conninfo_(std::move(conninfo)), lockTimeoutMs_(lockTimeoutMs), maxConnections_(maxConnections)
{
}

// A deadlock or a serialisation failure: the transaction may simply run again.
bool PgDialect::Retryable(const StorageError& e)
{
    const auto* pg = dynamic_cast<const PgError*>(&e);
    return pg && (pg->sqlstate == "40P01" || pg->sqlstate == "40001");
}

std::unique_ptr<PgDialect::Conn> PgDialect::Open()
{
    auto c = std::make_unique<Conn>();
    // The address's own settings come last and win over these defaults.  A
    // database machine that vanishes without a word (no reset from its
    // network) fails the request after ten seconds instead of holding its
    // thread until TCP gives up.
    const char* keys[] = {"connect_timeout", "tcp_user_timeout", "application_name", "dbname", nullptr};
    const char* values[] = {"3", "10000", "vokabron-server", conninfo_.c_str(), nullptr};
    c->conn = PQconnectdbParams(keys, values, 1);
    if (!c->conn || PQstatus(c->conn) != CONNECTION_OK)
        throw StorageError("cannot connect to the database: "
                           + Trimmed(c->conn ? PQerrorMessage(c->conn) : "out of memory"));
    if (PQsetClientEncoding(c->conn, "UTF8") != 0)
        throw StorageError("the database does not take UTF-8");
    c->Exec("SET client_min_messages = warning");
    // A request waits for a row lock no longer than the client waits for
    // its answer.
    const std::string timeout = "SET lock_timeout = " + std::to_string(lockTimeoutMs_);
    c->Exec(timeout.c_str());
    c->Exec("SET statement_timeout = 10000");
    return c;
}

PgDialect::Lease PgDialect::Acquire()
{
    for (;;) {
        std::unique_ptr<Conn> c;
        {
            std::unique_lock lock(mutex_);
            // Never more connections than configured: the database serves
            // every process of the club from one limited set.
            if (!available_.wait_for(lock, std::chrono::milliseconds(lockTimeoutMs_ + 1000),
                                     [&] { return !idle_.empty() || open_ < maxConnections_; }))
                throw StorageError("every database connection is busy");
            if (idle_.empty()) {
                ++open_;
            } else {
                c = std::move(idle_.back());
                idle_.pop_back();
            }
        }
        if (!c) {
            try {
                return Lease(*this, Open());
            } catch (...) {
                Dropped();
                throw;
            }
        }
        // An idle connection has nothing to read unless the server ended it
        // (restart, shutdown): drop such a one instead of failing a request.
        pollfd p{PQsocket(c->conn), POLLIN, 0};
        const bool ended = poll(&p, 1, 0) > 0 && PQconsumeInput(c->conn) == 0;
        if (!ended && PQstatus(c->conn) == CONNECTION_OK)
            return Lease(*this, std::move(c));
        c.reset();
        Dropped();
    }
}

void PgDialect::Release(std::unique_ptr<Conn> c)
{
    if (PQstatus(c->conn) != CONNECTION_OK || PQtransactionStatus(c->conn) != PQTRANS_IDLE) {
        c.reset();
        Dropped();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(c));
    }
    available_.notify_one();
}

void PgDialect::Dropped()
{
    {
        std::lock_guard lock(mutex_);
        --open_;
    }
    available_.notify_one();
}

// ---------------------------------------------------------------- schema

const char* PgDialect::SchemaText() { return PgSchemaText; }

void PgDialect::LockSchema(Conn& c) { c.Exec("SELECT pg_advisory_xact_lock(7283562410)"); }

bool PgDialect::HasTable(Conn& c, const char* name)
{
    Query q(c, "SELECT to_regclass($1) IS NOT NULL");
    q.Bind(1, name);
    q.Step();
    return q.Text(0) == "t";
}

// Version 2 lacks only the device tokens (as in pg_schema.sql).
void PgDialect::Upgrade(Conn& c, int version)
{
    if (version != 2)
        return;
    c.Exec("CREATE TABLE device (token_hash BYTEA PRIMARY KEY, seq BIGINT GENERATED ALWAYS AS IDENTITY, "
           "member_id BIGINT NOT NULL REFERENCES member(id), created_at BIGINT NOT NULL, "
           "last_used_at BIGINT NOT NULL); "
           "CREATE INDEX device_member ON device(member_id); "
           "INSERT INTO schema_version (version) VALUES (3)");
}

void PgDialect::AdoptUnversioned(Conn&)
{
    throw StorageError("the database holds club tables without a schema version; give the server a new database");
}

// ---------------------------------------------------------------- the storage

template class SqlStorage<PgDialect>;

PgStorage::PgStorage(std::string conninfo, int lockTimeoutMs, int maxConnections)
    : SqlStorage(std::move(conninfo), lockTimeoutMs, maxConnections)
{
}

void PgStorage::SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now)
{
    auto lease = d_.Acquire();
    Query(*lease, "INSERT INTO photo (member_id, size, sha256, uploaded_at, bytes) VALUES ($1, $2, $3, $4, $5) "
                  "ON CONFLICT (member_id) DO UPDATE SET size = excluded.size, sha256 = excluded.sha256, "
                  "uploaded_at = excluded.uploaded_at, bytes = excluded.bytes")
        .Bind(1, id)
        .Bind(2, static_cast<std::int64_t>(jpeg.size()))
        .BindBytes(3, sha256)
        .Bind(4, now)
        .BindBytes(5, jpeg)
        .Run();
}

std::optional<std::string> PgStorage::ReadPhoto(MemberId id)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT bytes FROM photo WHERE member_id = $1");
    q.Bind(1, id);
    if (!q.Step())
        return std::nullopt;
    return q.Bytes(0);
}

// ---------------------------------------------------------------- limits

namespace {
// One event of the (hashed) key, kept for its window; times are seconds on
// the database's clock, the one every process shares.
void AddLimitEvent(PgDialect::Conn& c, const std::string& hashedKey, double windowS)
{
    PgDialect::Query(c, "INSERT INTO limit_event (key, at, until) SELECT $1, t, t + $2 "
                        "FROM (SELECT EXTRACT(EPOCH FROM clock_timestamp())::float8 AS t) now")
        .Bind(1, hashedKey)
        .Bind(2, windowS)
        .Run();
}
} // namespace

std::string PgStorage::LimitKey(const std::string& key)
{
    const std::string secret = ServerSecret();
    unsigned char hash[16];
    crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(key.data()), key.size(),
                       reinterpret_cast<const unsigned char*>(secret.data()), secret.size());
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (const unsigned char b : hash) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

bool PgStorage::TakeLimits(const std::vector<RateLimiter::Rule>& rules)
{
    std::vector<std::pair<std::string, const RateLimiter::Rule*>> keyed;
    for (const auto& rule : rules)
        if (rule.windowS > 0)
            keyed.emplace_back(LimitKey(rule.key), &rule);
    if (keyed.empty())
        return true;
    // Keys locked in one order: two takes of overlapping keys queue.
    std::sort(keyed.begin(), keyed.end());
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        for (const auto& [key, rule] : keyed)
            Query(c, "SELECT pg_advisory_xact_lock(hashtextextended($1, 0))").Bind(1, key).Run();
        for (const auto& [key, rule] : keyed) {
            Query q(c, "SELECT COUNT(*) FROM limit_event WHERE key = $1 "
                       "AND at > EXTRACT(EPOCH FROM clock_timestamp())::float8 - $2");
            q.Bind(1, key).Bind(2, rule->windowS);
            q.Step();
            if (q.Int(0) >= rule->count)
                return false;
        }
        for (const auto& [key, rule] : keyed)
            AddLimitEvent(c, key, rule->windowS);
        t.Commit();
        return true;
    });
}

RateLimiter::Seen PgStorage::SeeLimit(const std::string& key, double windowS)
{
    const std::string hashed = LimitKey(key);
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT COUNT(*), COALESCE(EXTRACT(EPOCH FROM clock_timestamp())::float8 - MAX(at), 0) "
                    "FROM limit_event WHERE key = $1 AND at > EXTRACT(EPOCH FROM clock_timestamp())::float8 - $2");
    q.Bind(1, hashed).Bind(2, windowS);
    q.Step();
    return {static_cast<int>(q.Int(0)), q.Real(1)};
}

void PgStorage::AddLimit(const std::string& key, double windowS)
{
    const std::string hashed = LimitKey(key);
    auto lease = d_.Acquire();
    AddLimitEvent(*lease, hashed, windowS);
}

void PgStorage::ClearLimit(const std::string& key)
{
    const std::string hashed = LimitKey(key);
    auto lease = d_.Acquire();
    Query(*lease, "DELETE FROM limit_event WHERE key = $1").Bind(1, hashed).Run();
}

// One process cleans at a time (the others skip it: the next clean-up comes
// soon enough), and a clean-up that fails never fails the request it rides
// on.
void PgStorage::SweepLimits(std::size_t maxKeys)
{
    try {
        auto lease = d_.Acquire();
        auto& c = *lease;
        Transaction t(c);
        {
            Query q(c, "SELECT pg_try_advisory_xact_lock(7283562411)");
            q.Step();
            if (q.Text(0) != "t")
                return;
        }
        Query(c, "DELETE FROM limit_event WHERE until < EXTRACT(EPOCH FROM clock_timestamp())::float8").Run();
        // Fewer events than the bound hold fewer keys: no need to rank them.
        Query q(c, "SELECT COUNT(*) FROM limit_event");
        q.Step();
        if (static_cast<std::size_t>(q.Int(0)) > maxKeys)
            Query(c, "DELETE FROM limit_event WHERE key IN (SELECT key FROM limit_event GROUP BY key "
                     "ORDER BY MAX(at) DESC OFFSET $1)")
                .Bind(1, static_cast<std::int64_t>(maxKeys))
                .Run();
        t.Commit();
    } catch (const StorageError&) {
    }
}

} // namespace vks
