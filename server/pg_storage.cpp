#include "server/pg_storage.h"

#include <libpq-fe.h>
#include <poll.h>
#include <sodium.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "common/club_rules.h"
#include "server/board_statements.h"
#include "server/storage_rows.h"

namespace vks {

extern const char* const PgSchemaText;   // pg_schema.sql, built in

namespace {

constexpr std::int64_t kMaxBalance = 2147483647;
constexpr int kAttempts = 4;

// A failed statement with PostgreSQL's error class.
struct PgError : StorageError {
    PgError(const std::string& what, std::string code) : StorageError(what), sqlstate(std::move(code)) {}
    // A deadlock or a serialisation failure: the transaction may simply run again.
    bool Retryable() const { return sqlstate == "40P01" || sqlstate == "40001"; }
    std::string sqlstate;
};

} // namespace

struct PgStorage::Connection {
    PGconn* conn = nullptr;
    std::unordered_map<const char*, std::string> prepared;   // statement text -> its name here

    ~Connection()
    {
        if (conn)
            PQfinish(conn);
    }

    [[noreturn]] void Fail(const char* what, PGresult* res) const
    {
        std::string code = res && PQresultErrorField(res, PG_DIAG_SQLSTATE) ? PQresultErrorField(res, PG_DIAG_SQLSTATE) : "";
        std::string message = res ? PQresultErrorMessage(res) : PQerrorMessage(conn);
        if (res)
            PQclear(res);
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        throw PgError(std::string("postgresql ") + what + ": " + message, std::move(code));
    }

    // Statements without parameters or results (transaction control, set-up).
    void Exec(const char* sql)
    {
        PGresult* res = PQexec(conn, sql);
        const auto status = PQresultStatus(res);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            Fail("exec", res);
        PQclear(res);
    }

    const std::string& Prepare(const char* sql)
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
};

namespace {

using Conn = PgStorage::Connection;

// One run of a prepared statement: parameters numbered from 1 as in the SQL
// ($1, $2, ...), rows read one at a time.  Numbers travel as text, byte
// strings in binary.
class Query {
public:
    Query(Conn& c, const char* sql) : c_(c), sql_(sql) {}
    ~Query()
    {
        if (res_)
            PQclear(res_);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int i, std::int64_t v) { return Set(i, std::to_string(v), false); }
    Query& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
    Query& Bind(int i, double v)
    {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        return Set(i, buf, false);
    }
    Query& Bind(int i, std::string_view v) { return Set(i, std::string(v), false); }
    Query& Bind(int i, const std::string& v) { return Set(i, v, false); }
    Query& Bind(int i, const char* v) { return Set(i, v, false); }
    Query& BindBytes(int i, std::string_view v) { return Set(i, std::string(v), true); }
    Query& BindNull(int i) { return Set(i, std::nullopt, false); }
    Query& Bind(int i, const std::optional<std::int64_t>& v) { return v ? Bind(i, *v) : BindNull(i); }

    bool Step()
    {
        if (!res_)
            Execute();
        return ++row_ < PQntuples(res_);
    }
    // Runs the statement; the number of rows it changed.
    std::int64_t Run()
    {
        Execute();
        const char* n = PQcmdTuples(res_);
        return n && *n ? std::strtoll(n, nullptr, 10) : 0;
    }

    bool Null(int col) const { return PQgetisnull(res_, row_, col) != 0; }
    std::int64_t Int(int col) const { return Null(col) ? 0 : std::strtoll(PQgetvalue(res_, row_, col), nullptr, 10); }
    double Real(int col) const { return Null(col) ? 0 : std::strtod(PQgetvalue(res_, row_, col), nullptr); }
    std::optional<std::int64_t> OptInt(int col) const
    {
        return Null(col) ? std::nullopt : std::optional<std::int64_t>(Int(col));
    }
    std::string Text(int col) const
    {
        return std::string(PQgetvalue(res_, row_, col), static_cast<std::size_t>(PQgetlength(res_, row_, col)));
    }
    std::string Bytes(int col) const
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

private:
    Query& Set(int i, std::optional<std::string> v, bool binary)
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

    void Execute()
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

    Conn& c_;
    const char* sql_;
    std::vector<std::optional<std::string>> values_;
    std::vector<int> binary_;
    PGresult* res_ = nullptr;
    int row_ = -1;
};

// A READ COMMITTED transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Conn& c) : c_(c) { c_.Exec("BEGIN ISOLATION LEVEL READ COMMITTED"); }
    ~Transaction()
    {
        if (!done_ && PQstatus(c_.conn) == CONNECTION_OK) {
            try {
                c_.Exec("ROLLBACK");
            } catch (...) {
            }
        }
    }
    void Commit()
    {
        c_.Exec("COMMIT");
        done_ = true;
    }

private:
    Conn& c_;
    bool done_ = false;
};

const char* BoardKindText(BoardKind kind)
{
    switch (kind) {
    case BoardKind::Open: return "open";
    case BoardKind::ReadOnly: return "readonly";
    case BoardKind::Club: return "club";
    case BoardKind::Chat: break;
    }
    return "chat";
}

// The member's row must be locked by the caller: balance_after is read from it.
void AddLedger(Conn& c, MemberId id, std::int64_t delta, const char* kind, std::optional<std::int64_t> transfer,
               std::optional<std::int64_t> cycle, Seconds now)
{
    Query(c, "INSERT INTO ledger (member_id, delta, balance_after, kind, transfer_id, cycle_id, created_at) "
             "SELECT id, $1::bigint, balance, $2, $3::bigint, $4::bigint, $5::bigint FROM member WHERE id = $6")
        .Bind(1, delta).Bind(2, kind).Bind(3, transfer).Bind(4, cycle).Bind(5, now).Bind(6, id).Run();
}

// Counts the entry and locks the board's row until the transaction ends, so
// entries of one board (and the chat's numbering) follow one another.
void LockBoard(Conn& c, int gid)
{
    Query(c, "UPDATE wtt_board SET accepted_total = accepted_total + 1 WHERE gid = $1").Bind(1, gid).Run();
}

std::int64_t InsertRow(Conn& c, int gid, const BoardEntry& e, std::optional<MemberId> member, Seconds now)
{
    Query q(c, "INSERT INTO wtt_row (gid, score, nick, country, city, r07, r08, r09, r10, member_id, created_at, src) "
               "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) RETURNING id");
    q.Bind(1, gid).Bind(2, e.score).Bind(3, ToDb(e.nick)).Bind(4, ToDb(e.country)).Bind(5, ToDb(e.city))
        .Bind(6, ToDb(e.r07)).Bind(7, ToDb(e.r08)).Bind(8, ToDb(e.r09)).Bind(9, ToDb(e.r10))
        .Bind(10, member).Bind(11, now).Bind(12, e.source);
    q.Step();
    return q.Int(0);
}

// The statement that adds a deal report to the twelve counters, each capped
// at the largest 32-bit number.
const char* CountDealSql()
{
    static const std::string sql = [] {
        std::string s = "UPDATE stat_counter SET ";
        for (int i = 1; i <= 12; ++i) {
            const std::string x = "x" + std::to_string(i), p = "$" + std::to_string(i);
            s += x + " = LEAST(" + x + " + " + p + "::bigint, 2147483647)" + (i < 12 ? ", " : " ");
        }
        return s + "WHERE gid = $13";
    }();
    return sql.c_str();
}

int SchemaVersionOf(const char* schema)
{
    const char* marker = std::strstr(schema, "INSERT INTO schema_version (version) VALUES (");
    return marker ? std::atoi(marker + std::strlen("INSERT INTO schema_version (version) VALUES (")) : 0;
}

} // namespace

class PgStorage::Lease {
public:
    Lease(PgStorage& owner, std::unique_ptr<Connection> c) : owner_(owner), c_(std::move(c)) {}
    ~Lease()
    {
        if (c_)
            owner_.Release(std::move(c_));
    }
    Lease(Lease&& other) noexcept : owner_(other.owner_), c_(std::move(other.c_)) {}
    Connection& operator*() { return *c_; }

private:
    PgStorage& owner_;
    std::unique_ptr<Connection> c_;
};

int PgStorage::SchemaVersion() { return SchemaVersionOf(PgSchemaText); }

PgStorage::PgStorage(std::string conninfo, int lockTimeoutMs, int maxConnections)
    : conninfo_(std::move(conninfo)), lockTimeoutMs_(lockTimeoutMs), maxConnections_(maxConnections)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c);
    // Processes starting together: one creates the tables, the others wait
    // here and then find them.
    c.Exec("SELECT pg_advisory_xact_lock(7283562410)");
    bool hasVersion = false, hasTables = false;
    {
        Query q(c, "SELECT to_regclass('schema_version') IS NOT NULL, to_regclass('member') IS NOT NULL");
        q.Step();
        hasVersion = q.Text(0) == "t";
        hasTables = q.Text(1) == "t";
    }
    if (!hasVersion) {
        if (hasTables)
            throw StorageError("the database holds club tables without a schema version; give the server a new database");
        c.Exec(PgSchemaText);
    } else {
        Query q(c, "SELECT MAX(version) FROM schema_version");
        q.Step();
        const auto version = q.Int(0);
        if (version != SchemaVersion())
            throw StorageError("the database has schema version " + std::to_string(version) + ", this server reads version " +
                               std::to_string(SchemaVersion()));
    }
    t.Commit();
}

PgStorage::~PgStorage() = default;

std::unique_ptr<PgStorage::Connection> PgStorage::Open()
{
    auto c = std::make_unique<Connection>();
    // The address's own settings come last and win over these defaults.  A
    // database machine that vanishes without a word (no reset from its
    // network) fails the request after ten seconds instead of holding its
    // thread until TCP gives up.
    const char* keys[] = {"connect_timeout", "tcp_user_timeout", "application_name", "dbname", nullptr};
    const char* values[] = {"3", "10000", "vokabron-server", conninfo_.c_str(), nullptr};
    c->conn = PQconnectdbParams(keys, values, 1);
    if (!c->conn || PQstatus(c->conn) != CONNECTION_OK) {
        std::string message = c->conn ? PQerrorMessage(c->conn) : "out of memory";
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        throw StorageError("cannot connect to the database: " + message);
    }
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

PgStorage::Lease PgStorage::Acquire()
{
    for (;;) {
        std::unique_ptr<Connection> c;
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

void PgStorage::Release(std::unique_ptr<Connection> c)
{
    if (PQstatus(c->conn) != CONNECTION_OK || PQtransactionStatus(c->conn) != PQTRANS_IDLE) {
        c.reset();   // a broken connection or one left inside a transaction is dropped
        Dropped();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(c));
    }
    available_.notify_one();
}

void PgStorage::Dropped()
{
    {
        std::lock_guard lock(mutex_);
        --open_;
    }
    available_.notify_one();
}

template <class Body>
auto PgStorage::InTransaction(Body&& body)
{
    for (int attempt = 1;; ++attempt) {
        auto lease = Acquire();
        try {
            Transaction t(*lease);
            return body(*lease, t);
        } catch (const PgError& e) {
            if (!e.Retryable() || attempt == kAttempts)
                throw;
        }
    }
}

// ---------------------------------------------------------------- members

bool PgStorage::RegisterMember(const NewMember& m, const std::vector<std::string>& gameKeys, Seconds now)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        MemberId id = 0;
        {
            Query q(c, "INSERT INTO member (nick, nick_fold, pw_hash, city, country_key, country_code, sex, email, "
                       "date_reg, balance, created_at) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
                       "ON CONFLICT (nick_fold) DO NOTHING RETURNING id");
            q.Bind(1, ToDb(m.nick)).Bind(2, Fold(m.nick)).Bind(3, m.pwHash).Bind(4, ToDb(m.city))
                .Bind(5, ToDb(m.countryKey)).Bind(6, ToDb(m.countryCode)).Bind(7, m.sex).Bind(8, ToDb(m.email))
                .Bind(9, m.dateReg).Bind(10, m.balance).Bind(11, now);
            if (!q.Step())
                return false;
            id = q.Int(0);
        }
        Query(c, "INSERT INTO info_card (member_id) VALUES ($1)").Bind(1, id).Run();
        for (const auto& key : gameKeys)
            Query(c, "INSERT INTO game_record (member_id, game_key) VALUES ($1, $2)").Bind(1, id).Bind(2, key).Run();
        if (m.balance != 0)
            AddLedger(c, id, m.balance, "admin", std::nullopt, std::nullopt, now);
        t.Commit();
        return true;
    });
}

std::optional<Member> PgStorage::FindMember(std::string_view nick)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT id, nick, pw_hash, city, country_key, country_code, sex, email, date_reg, balance, "
                    "disabled FROM member WHERE nick = $1");
    q.Bind(1, ToDb(nick));
    if (!q.Step())
        return std::nullopt;
    return MemberFrom(q);
}

bool PgStorage::NickTaken(std::string_view nick)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT 1 FROM member WHERE nick_fold = $1");
    q.Bind(1, Fold(nick));
    return q.Step();
}

void PgStorage::UpdatePasswordHash(MemberId id, const std::string& hash)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE member SET pw_hash = $1 WHERE id = $2").Bind(1, hash).Bind(2, id).Run();
}

void PgStorage::RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE member SET last_login_at = $1, last_login_client = $2, last_login_from = $3 WHERE id = $4")
        .Bind(1, now).Bind(2, clientStamp).Bind(3, ToDb(from)).Bind(4, id).Run();
}

std::int64_t PgStorage::CountMembers()
{
    auto lease = Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM member WHERE disabled = 0");
    q.Step();
    return q.Int(0);
}

// ---------------------------------------------------------------- sessions

void PgStorage::CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                              const std::string& passwordCheck)
{
    InTransaction([&](Conn& c, Transaction& t) {
        // Logins of one member on several processes at once follow one
        // another here, so each sees the others' sessions when it counts.
        Query(c, "SELECT id FROM member WHERE id = $1 FOR NO KEY UPDATE").Bind(1, id).Run();
        Query(c, "INSERT INTO session (token_hash, member_id, created_at, last_seen_at, expires_at, pw_check) "
                 "VALUES ($1, $2, $3, $3, $4, $5)")
            .BindBytes(1, tokenHash).Bind(2, id).Bind(3, now).Bind(4, expiresAt).BindBytes(5, passwordCheck).Run();
        Query(c, "DELETE FROM session WHERE member_id = $1 AND token_hash NOT IN (SELECT token_hash FROM session "
                 "WHERE member_id = $1 ORDER BY created_at DESC, seq DESC LIMIT $2)")
            .Bind(1, id).Bind(2, vk::SessionsPerMember).Run();
        t.Commit();
        return true;
    });
}

void PgStorage::SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE session SET pw_check = $1 WHERE token_hash = $2")
        .BindBytes(1, passwordCheck).BindBytes(2, tokenHash).Run();
}

std::optional<SessionInfo> PgStorage::UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit)
{
    auto lease = Acquire();
    auto& c = *lease;
    SessionInfo info;
    {
        Query q(c, "SELECT s.member_id, m.nick, s.last_seen_at, s.expires_at, s.pw_check FROM session s "
                   "JOIN member m ON m.id = s.member_id WHERE s.token_hash = $1 AND m.disabled = 0");
        q.BindBytes(1, tokenHash);
        if (!q.Step())
            return std::nullopt;
        if (q.Int(3) <= now || now - q.Int(2) > idleLimit)
            return std::nullopt;
        info.memberId = q.Int(0);
        info.nick = FromDb(q.Text(1));
        info.passwordCheck = q.Bytes(4);
    }
    // A database that cannot take the write in time does not fail the
    // request that only wanted to read.
    try {
        Query(c, "UPDATE session SET last_seen_at = $1 WHERE token_hash = $2 AND last_seen_at <= $3")
            .Bind(1, now).BindBytes(2, tokenHash).Bind(3, now - IdleClockStep(idleLimit)).Run();
    } catch (const StorageError&) {
    }
    return info;
}

void PgStorage::DeleteSession(const std::string& tokenHash)
{
    auto lease = Acquire();
    Query(*lease, "DELETE FROM session WHERE token_hash = $1").BindBytes(1, tokenHash).Run();
}

void PgStorage::PurgeSessions(Seconds now, Seconds idleLimit)
{
    auto lease = Acquire();
    Query(*lease, "DELETE FROM session WHERE expires_at <= $1 OR last_seen_at < $2")
        .Bind(1, now).Bind(2, now - idleLimit).Run();
}

// ---------------------------------------------------------------- cards, photos

Card PgStorage::ReadCard(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT name1, name2, about, telephone, emailo, website, skype, ok, vk, telegram, facebook, "
                    "twitter, instagramm, youtube FROM info_card WHERE member_id = $1");
    q.Bind(1, id);
    return q.Step() ? CardFrom(q) : Card{};
}

void PgStorage::SaveCard(MemberId id, const Card& card, Seconds now)
{
    auto lease = Acquire();
    Query q(*lease, "INSERT INTO info_card (member_id, name1, name2, about, telephone, emailo, website, skype, ok, vk, "
                    "telegram, facebook, twitter, instagramm, youtube, updated_at) "
                    "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, $15, $16) "
                    "ON CONFLICT (member_id) DO UPDATE SET "
                    "name1 = excluded.name1, name2 = excluded.name2, about = excluded.about, "
                    "telephone = excluded.telephone, emailo = excluded.emailo, website = excluded.website, "
                    "skype = excluded.skype, ok = excluded.ok, vk = excluded.vk, telegram = excluded.telegram, "
                    "facebook = excluded.facebook, twitter = excluded.twitter, instagramm = excluded.instagramm, "
                    "youtube = excluded.youtube, updated_at = excluded.updated_at");
    q.Bind(1, id);
    for (int i = 0; i < 14; ++i)
        q.Bind(i + 2, ToDb(card[static_cast<std::size_t>(i)]));
    q.Bind(16, now).Run();
}

void PgStorage::SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now)
{
    auto lease = Acquire();
    Query(*lease, "INSERT INTO photo (member_id, size, sha256, uploaded_at, bytes) VALUES ($1, $2, $3, $4, $5) "
                  "ON CONFLICT (member_id) DO UPDATE SET size = excluded.size, sha256 = excluded.sha256, "
                  "uploaded_at = excluded.uploaded_at, bytes = excluded.bytes")
        .Bind(1, id).Bind(2, static_cast<std::int64_t>(jpeg.size())).BindBytes(3, sha256).Bind(4, now)
        .BindBytes(5, jpeg).Run();
}

std::optional<std::string> PgStorage::ReadPhoto(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT bytes FROM photo WHERE member_id = $1");
    q.Bind(1, id);
    if (!q.Step())
        return std::nullopt;
    return q.Bytes(0);
}

// ---------------------------------------------------------------- currency

std::int64_t PgStorage::Balance(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT balance FROM member WHERE id = $1");
    q.Bind(1, id);
    return q.Step() ? q.Int(0) : 0;
}

TransferResult PgStorage::Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                                   Seconds now, Seconds owedUntil)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        // Both members' rows, in the order of their numbers: two transfers
        // between the same two members in opposite directions then wait for
        // each other instead of deadlocking.
        Query(c, "SELECT id FROM member WHERE id IN ($1, $2) ORDER BY id FOR UPDATE").Bind(1, from).Bind(2, to).Run();
        if (Query(c, "UPDATE member SET balance = balance - $1 WHERE id = $2 AND balance >= $1")
                .Bind(1, amount).Bind(2, from).Run() != 1)
            return TransferResult::Insufficient;
        if (Query(c, "UPDATE member SET balance = balance + $1 WHERE id = $2 AND balance <= $3")
                .Bind(1, amount).Bind(2, to).Bind(3, kMaxBalance - amount).Run() != 1)
            return TransferResult::Overflow;
        std::int64_t transferId = 0;
        {
            Query q(c, "INSERT INTO transfer (from_member, to_member, amount, created_at) VALUES ($1, $2, $3, $4) "
                       "RETURNING id");
            q.Bind(1, from).Bind(2, to).Bind(3, amount).Bind(4, now);
            q.Step();
            transferId = q.Int(0);
        }
        AddLedger(c, from, -amount, "transfer_out", transferId, std::nullopt, now);
        AddLedger(c, to, amount, "transfer_in", transferId, std::nullopt, now);
        Query(c, "UPDATE session SET owed_debit = $1, owed_debit_until = $2, owed_transfer_id = $3 WHERE token_hash = $4")
            .Bind(1, amount).Bind(2, owedUntil).Bind(3, transferId).BindBytes(4, tokenHash).Run();
        t.Commit();
        return TransferResult::Done;
    });
}

bool PgStorage::AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        std::optional<std::int64_t> transferId;
        {
            Query q(c, "SELECT owed_debit, owed_debit_until, owed_transfer_id FROM session WHERE token_hash = $1 "
                       "FOR UPDATE");
            q.BindBytes(1, tokenHash);
            if (!q.Step() || q.OptInt(0) != amount || q.OptInt(1).value_or(0) < now)
                return false;
            transferId = q.OptInt(2);
        }
        Query(c, "UPDATE session SET owed_debit = NULL, owed_debit_until = NULL, owed_transfer_id = NULL "
                 "WHERE token_hash = $1").BindBytes(1, tokenHash).Run();
        Query(c, "UPDATE transfer SET debit_acknowledged_at = $1 WHERE id = $2").Bind(1, now).Bind(2, transferId).Run();
        t.Commit();
        return true;
    });
}

bool PgStorage::AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        std::int64_t cycle = 0;
        {
            Query q(c, "SELECT id, reward, reward_ack_at FROM rating_cycle WHERE member_id = $1 AND wtt_row_id IS NOT NULL "
                       "ORDER BY completed_at DESC, id DESC LIMIT 1 FOR UPDATE");
            q.Bind(1, id);
            if (!q.Step() || q.OptInt(1) != amount || !q.Null(2))
                return false;
            cycle = q.Int(0);
        }
        Query(c, "UPDATE rating_cycle SET reward_ack_at = $1 WHERE id = $2").Bind(1, now).Bind(2, cycle).Run();
        t.Commit();
        return true;
    });
}

// ---------------------------------------------------------------- rating games

GameRecord PgStorage::ReadGame(MemberId id, const std::string& key)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT kon, sum_scores, rating, sessions, best, konl, score, r1, r2, open_cycle_id, open_cap, "
                    "open_floor, open_since FROM game_record WHERE member_id = $1 AND game_key = $2");
    q.Bind(1, id).Bind(2, key);
    return q.Step() ? GameRecordFrom(q) : GameRecord{};
}

GameDecision PgStorage::SaveGame(MemberId id, const std::string& key, Seconds now,
                                 const std::function<GameDecision(const GameSnapshot&)>& decide)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        Query(c, "INSERT INTO game_record (member_id, game_key) VALUES ($1, $2) "
                 "ON CONFLICT (member_id, game_key) DO NOTHING").Bind(1, id).Bind(2, key).Run();
        GameSnapshot snap;
        {
            // Saves of one member's record follow one another.
            Query q(c, "SELECT kon, sum_scores, rating, sessions, best, konl, score, r1, r2, open_cycle_id, open_cap, "
                       "open_floor, open_since FROM game_record WHERE member_id = $1 AND game_key = $2 FOR UPDATE");
            q.Bind(1, id).Bind(2, key);
            if (q.Step())
                snap.record = GameRecordFrom(q);
        }
        {
            Query q(c, "SELECT id, kon, started_at, completed_at, final_score FROM rating_cycle "
                       "WHERE member_id = $1 AND game_key = $2 ORDER BY kon DESC LIMIT 1");
            q.Bind(1, id).Bind(2, key);
            if (q.Step())
                snap.lastCycle = CycleInfo{q.Int(0), q.Int(1), q.Int(2), q.OptInt(3), q.OptInt(4)};
        }
        {
            Query q(c, "SELECT COUNT(*) FILTER (WHERE started_at > $1), COUNT(*) FROM rating_cycle "
                       "WHERE member_id = $2 AND game_key = $3 AND started_at > $4");
            q.Bind(1, now - 3600).Bind(2, id).Bind(3, key).Bind(4, now - 24 * 3600);
            q.Step();
            snap.startsInLastHour = q.Int(0);
            snap.startsInLastDay = q.Int(1);
        }
        GameDecision d = decide(snap);
        GameRecord u = d.updated;
        switch (d.transition) {
        case Transition::Repeat:
        case Transition::RepeatComplete:
        case Transition::Refused:
            return d;
        case Transition::StartNew: {
            Query q(c, "INSERT INTO rating_cycle (member_id, game_key, kon, started_at) VALUES ($1, $2, $3, $4) RETURNING id");
            q.Bind(1, id).Bind(2, key).Bind(3, u.kon).Bind(4, now);
            q.Step();
            u.openCycle = q.Int(0);
            break;
        }
        case Transition::Resume:
            break;
        case Transition::Suspend:
            Query(c, "UPDATE rating_cycle SET suspended_at = $1, suspended_deal = $2, suspended_score = $3 WHERE id = $4")
                .Bind(1, now).Bind(2, u.konl).Bind(3, u.score).Bind(4, snap.record.openCycle).Run();
            u.openCycle.reset();
            break;
        case Transition::Complete:
            Query(c, "UPDATE rating_cycle SET completed_at = $1, final_score = $2 WHERE id = $3")
                .Bind(1, now).Bind(2, d.finalScore).Bind(3, snap.record.openCycle).Run();
            u.openCycle.reset();
            break;
        }
        Query(c, "UPDATE game_record SET kon = $1, sum_scores = $2, rating = $3, sessions = $4, best = $5, konl = $6, "
                 "score = $7, open_cycle_id = $8, open_cap = $9, open_floor = $10, open_since = $11 "
                 "WHERE member_id = $12 AND game_key = $13")
            .Bind(1, u.kon).Bind(2, u.sumScores).Bind(3, u.rating).Bind(4, u.sessions).Bind(5, u.best).Bind(6, u.konl)
            .Bind(7, u.score).Bind(8, u.openCycle).Bind(9, u.openCap).Bind(10, u.openFloor).Bind(11, u.openSince)
            .Bind(12, id).Bind(13, key).Run();
        t.Commit();
        d.updated = u;
        return d;
    });
}

std::vector<TopTenRow> PgStorage::ClubTopTen(const std::string& key)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT m.nick, m.city, m.country_key, m.country_code, m.sex, g.rating FROM game_record g "
                    "JOIN member m ON m.id = g.member_id WHERE g.game_key = $1 AND g.kon >= 1 AND m.disabled = 0 "
                    "ORDER BY g.rating DESC, g.sessions DESC, g.member_id LIMIT 10");
    q.Bind(1, key);
    std::vector<TopTenRow> rows;
    while (q.Step())
        rows.push_back({FromDb(q.Text(0)), FromDb(q.Text(1)), FromDb(q.Text(2)), FromDb(q.Text(3)), q.Text(4), q.Real(5)});
    return rows;
}

std::int64_t PgStorage::ClubPlace(const std::string& key, double rating)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM game_record g JOIN member m ON m.id = g.member_id "
                    "WHERE g.game_key = $1 AND g.kon >= 1 AND m.disabled = 0 AND g.rating > $2");
    q.Bind(1, key).Bind(2, rating);
    q.Step();
    return q.Int(0) + 1;
}

bool PgStorage::InAnyClubTopTen(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease,
            "SELECT 1 FROM game_record g JOIN member gm ON gm.id = g.member_id "
            "WHERE g.member_id = $1 AND g.kon >= 1 AND gm.disabled = 0 AND (SELECT COUNT(*) FROM game_record h "
            "JOIN member m ON m.id = h.member_id WHERE h.game_key = g.game_key AND h.kon >= 1 AND m.disabled = 0 "
            "AND (h.rating > g.rating OR (h.rating = g.rating AND (h.sessions > g.sessions OR "
            "(h.sessions = g.sessions AND h.member_id < g.member_id))))) < 10");
    q.Bind(1, id);
    return q.Step();
}

// ---------------------------------------------------------------- world top ten

void PgStorage::EnsureBoard(int gid, BoardKind kind)
{
    auto lease = Acquire();
    Query(*lease, "INSERT INTO wtt_board (gid, kind) VALUES ($1, $2) ON CONFLICT (gid) DO UPDATE SET kind = excluded.kind")
        .Bind(1, gid).Bind(2, BoardKindText(kind)).Run();
}

std::int64_t PgStorage::SubmitResult(int gid, const BoardEntry& entry, Seconds now)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        LockBoard(c, gid);
        const auto rowId = InsertRow(c, gid, entry, std::nullopt, now);
        PruneSenderRows<Query>(c, gid, entry, std::nullopt, now);
        const auto place = RowPlace<Query>(c, gid, entry.score, rowId, std::nullopt);
        t.Commit();
        return place;
    });
}

std::int64_t PgStorage::SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        // The board's row is locked first, so the next number is read only
        // after the previous message is committed.
        LockBoard(c, gid);
        BoardEntry e = entry;
        {
            Query q(c, "SELECT COALESCE(MAX(score), 0) FROM wtt_row WHERE gid = $1");
            q.Bind(1, gid);
            q.Step();
            e.score = q.Int(0) + 1;
        }
        const auto rowId = InsertRow(c, gid, e, std::nullopt, now);
        Query(c, "DELETE FROM wtt_row WHERE gid = $1 AND score <= $2").Bind(1, gid).Bind(2, e.score - keep).Run();
        const auto place = RowPlace<Query>(c, gid, e.score, rowId, std::nullopt);
        t.Commit();
        return place;
    });
}

std::optional<std::int64_t> PgStorage::SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                        const BoardEntry& entry, Seconds now, Seconds window)
{
    return InTransaction([&](Conn& c, Transaction& t) -> std::optional<std::int64_t> {
        std::int64_t cycle = 0;
        std::optional<std::int64_t> existingRow;
        {
            // A repeat of the same entry waits here for the first and then
            // finds its row: one entry and one reward per cycle.
            Query q(c, "SELECT id, wtt_row_id FROM rating_cycle WHERE member_id = $1 AND game_key = $2 "
                       "AND completed_at IS NOT NULL AND final_score = $3 AND completed_at >= $4 "
                       "ORDER BY completed_at DESC, id DESC LIMIT 1 FOR UPDATE");
            q.Bind(1, id).Bind(2, key).Bind(3, entry.score).Bind(4, now - window);
            if (!q.Step())
                return std::nullopt;
            cycle = q.Int(0);
            existingRow = q.OptInt(1);
        }
        if (existingRow) {
            Query q(c, "SELECT score FROM wtt_row WHERE id = $1");
            q.Bind(1, *existingRow);
            if (!q.Step())
                return std::nullopt;
            const auto score = q.Int(0);
            return RowPlace<Query>(c, gid, score, *existingRow, id);
        }
        LockBoard(c, gid);
        const auto rowId = InsertRow(c, gid, entry, id, now);
        const auto place = RowPlace<Query>(c, gid, entry.score, rowId, id);
        std::optional<std::int64_t> reward;
        if (const std::int64_t amount = vk::PlaceReward(place); amount > 0) {
                if (Query(c, "UPDATE member SET balance = balance + $1 WHERE id = $2 AND balance <= $3")
                    .Bind(1, amount).Bind(2, id).Bind(3, kMaxBalance - amount).Run() == 1) {
                AddLedger(c, id, amount, "reward", std::nullopt, cycle, now);
                reward = amount;
            }
        }
        Query(c, "UPDATE rating_cycle SET wtt_row_id = $1, reward = $2 WHERE id = $3")
            .Bind(1, rowId).Bind(2, reward).Bind(3, cycle).Run();
        PruneSenderRows<Query>(c, gid, entry, id, now - window);
        t.Commit();
        return place;
    });
}

std::vector<BoardRow> PgStorage::Board(int gid, int limit)
{
    auto lease = Acquire();
    return TopRows<Query>(*lease, gid, limit);
}

std::vector<BoardRow> PgStorage::OwnRows(int gid, const std::string& nick, const std::string& city, int limit)
{
    auto lease = Acquire();
    return SenderRows<Query>(*lease, gid, nick, city, limit);
}

std::int64_t PgStorage::AcceptedCount(int gid)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT accepted_total FROM wtt_board WHERE gid = $1");
    q.Bind(1, gid);
    return q.Step() ? q.Int(0) : 0;
}

// ---------------------------------------------------------------- statistics

void PgStorage::EnsureStatCounter(int gid)
{
    auto lease = Acquire();
    Query(*lease, "INSERT INTO stat_counter (gid) VALUES ($1) ON CONFLICT (gid) DO NOTHING").Bind(1, gid).Run();
}

void PgStorage::CountLaunch(int gid, bool unique)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE stat_counter SET starts = LEAST(starts + 1, 2147483647), "
                  "unique_starts = LEAST(unique_starts + $1, 2147483647) WHERE gid = $2")
        .Bind(1, unique ? 1 : 0).Bind(2, gid).Run();
}

void PgStorage::CountDeal(int gid, const std::array<std::int64_t, 12>& r)
{
    auto lease = Acquire();
    Query q(*lease, CountDealSql());
    for (int i = 0; i < 12; ++i)
        q.Bind(i + 1, r[static_cast<std::size_t>(i)]);
    q.Bind(13, gid).Run();
}

bool PgStorage::CountLike(int gid, const std::string& source, const std::string& day, Seconds now)
{
    return InTransaction([&](Conn& c, Transaction& t) {
        // Only today's likes decide anything; earlier days are let go.
        Query(c, "DELETE FROM like_seen WHERE gid = $1 AND day <> $2").Bind(1, gid).Bind(2, day).Run();
        if (Query(c, "INSERT INTO like_seen (gid, src, day) VALUES ($1, $2, $3) ON CONFLICT (gid, src, day) DO NOTHING")
                .Bind(1, gid).Bind(2, source).Bind(3, day).Run() != 1) {
            t.Commit();
            return false;
        }
        Query(c, "UPDATE stat_counter SET likes = LEAST(likes + 1, 2147483647), last_like_at = $1 WHERE gid = $2")
            .Bind(1, now).Bind(2, gid).Run();
        t.Commit();
        return true;
    });
}

StatCounters PgStorage::ReadStats(int gid)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT starts, unique_starts, likes, last_like_at, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11, "
                    "x12 FROM stat_counter WHERE gid = $1");
    q.Bind(1, gid);
    return q.Step() ? StatCountersFrom(q) : StatCounters{};
}

std::string PgStorage::ServerSecret()
{
    {
        std::lock_guard lock(mutex_);
        if (!secret_.empty())
            return secret_;
    }
    auto lease = Acquire();
    auto& c = *lease;
    std::string fresh(32, '\0');
    randombytes_buf(fresh.data(), fresh.size());
    Query(c, "INSERT INTO server_secret (id, secret) VALUES (1, $1) ON CONFLICT (id) DO NOTHING").BindBytes(1, fresh).Run();
    Query q(c, "SELECT secret FROM server_secret WHERE id = 1");
    if (!q.Step())
        throw StorageError("no server secret");
    std::lock_guard lock(mutex_);
    secret_ = q.Bytes(0);
    return secret_;
}

// ---------------------------------------------------------------- limits

namespace {
// One event of the (hashed) key, kept for its window; times are seconds on
// the database's clock, the one every process shares.
void AddLimitEvent(Conn& c, const std::string& hashedKey, double windowS)
{
    Query(c, "INSERT INTO limit_event (key, at, until) SELECT $1, t, t + $2 "
             "FROM (SELECT EXTRACT(EPOCH FROM clock_timestamp())::float8 AS t) now")
        .Bind(1, hashedKey).Bind(2, windowS).Run();
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
    return InTransaction([&](Conn& c, Transaction& t) {
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
    auto lease = Acquire();
    Query q(*lease, "SELECT COUNT(*), COALESCE(EXTRACT(EPOCH FROM clock_timestamp())::float8 - MAX(at), 0) "
                    "FROM limit_event WHERE key = $1 AND at > EXTRACT(EPOCH FROM clock_timestamp())::float8 - $2");
    q.Bind(1, hashed).Bind(2, windowS);
    q.Step();
    return {static_cast<int>(q.Int(0)), q.Real(1)};
}

void PgStorage::AddLimit(const std::string& key, double windowS)
{
    const std::string hashed = LimitKey(key);
    auto lease = Acquire();
    AddLimitEvent(*lease, hashed, windowS);
}

void PgStorage::ClearLimit(const std::string& key)
{
    const std::string hashed = LimitKey(key);
    auto lease = Acquire();
    Query(*lease, "DELETE FROM limit_event WHERE key = $1").Bind(1, hashed).Run();
}

// One process cleans at a time (the others skip it: the next clean-up comes
// soon enough), and a clean-up that fails never fails the request it rides
// on.
void PgStorage::SweepLimits(std::size_t maxKeys)
{
    try {
        auto lease = Acquire();
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
                .Bind(1, static_cast<std::int64_t>(maxKeys)).Run();
        t.Commit();
    } catch (const StorageError&) {
    }
}

} // namespace vks
