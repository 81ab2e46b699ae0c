#include "server/sqlite_storage.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sodium.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unordered_map>

#include "common/club_rules.h"
#include "server/board_statements.h"
#include "server/storage_rows.h"

namespace vks {

namespace {

constexpr std::int64_t kMaxBalance = 2147483647;

const char* const kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS member (
  id            INTEGER PRIMARY KEY,
  nick          TEXT NOT NULL,
  nick_fold     TEXT NOT NULL UNIQUE,
  pw_hash       TEXT NOT NULL,
  city          TEXT NOT NULL,
  country_key   TEXT NOT NULL,
  country_code  TEXT NOT NULL,
  sex           TEXT NOT NULL CHECK (sex IN ('M','W')),
  email         TEXT NOT NULL,
  date_reg      TEXT NOT NULL,
  balance       INTEGER NOT NULL DEFAULT 0 CHECK (balance BETWEEN 0 AND 2147483647),
  created_at    INTEGER NOT NULL,
  last_login_at INTEGER, last_login_client TEXT, last_login_from TEXT,
  disabled      INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS session (
  token_hash    BLOB PRIMARY KEY,
  member_id     INTEGER NOT NULL REFERENCES member(id),
  created_at    INTEGER NOT NULL,
  last_seen_at  INTEGER NOT NULL,
  expires_at    INTEGER NOT NULL,
  pw_check      BLOB,
  owed_debit    INTEGER,
  owed_debit_until INTEGER,
  owed_transfer_id INTEGER
);
CREATE INDEX IF NOT EXISTS session_member ON session(member_id);
CREATE TABLE IF NOT EXISTS info_card (
  member_id INTEGER PRIMARY KEY REFERENCES member(id),
  name1 TEXT NOT NULL DEFAULT '', name2 TEXT NOT NULL DEFAULT '', about TEXT NOT NULL DEFAULT '',
  telephone TEXT NOT NULL DEFAULT '', emailo TEXT NOT NULL DEFAULT '', website TEXT NOT NULL DEFAULT '',
  skype TEXT NOT NULL DEFAULT '', ok TEXT NOT NULL DEFAULT '', vk TEXT NOT NULL DEFAULT '',
  telegram TEXT NOT NULL DEFAULT '', facebook TEXT NOT NULL DEFAULT '', twitter TEXT NOT NULL DEFAULT '',
  instagramm TEXT NOT NULL DEFAULT '', youtube TEXT NOT NULL DEFAULT '',
  updated_at INTEGER
);
CREATE TABLE IF NOT EXISTS photo (
  member_id INTEGER PRIMARY KEY REFERENCES member(id),
  size INTEGER NOT NULL, sha256 BLOB NOT NULL, uploaded_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS transfer (
  id INTEGER PRIMARY KEY,
  from_member INTEGER NOT NULL REFERENCES member(id),
  to_member INTEGER NOT NULL REFERENCES member(id) CHECK (to_member <> from_member),
  amount INTEGER NOT NULL CHECK (amount > 0),
  created_at INTEGER NOT NULL,
  debit_acknowledged_at INTEGER
);
CREATE TABLE IF NOT EXISTS game_key (key TEXT PRIMARY KEY, product_gid INTEGER NOT NULL, club_gid INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS rating_cycle (
  id INTEGER PRIMARY KEY,
  member_id INTEGER NOT NULL REFERENCES member(id),
  game_key TEXT NOT NULL,
  kon INTEGER NOT NULL,
  started_at INTEGER NOT NULL,
  suspended_at INTEGER, suspended_deal INTEGER, suspended_score INTEGER,
  completed_at INTEGER, final_score INTEGER,
  wtt_row_id INTEGER REFERENCES wtt_row(id),
  reward INTEGER, reward_ack_at INTEGER,
  UNIQUE (member_id, game_key, kon)
);
CREATE TABLE IF NOT EXISTS ledger (
  id INTEGER PRIMARY KEY,
  member_id INTEGER NOT NULL REFERENCES member(id),
  delta INTEGER NOT NULL CHECK (delta <> 0),
  balance_after INTEGER NOT NULL,
  kind TEXT NOT NULL CHECK (kind IN ('transfer_out','transfer_in','reward','admin')),
  transfer_id INTEGER REFERENCES transfer(id),
  cycle_id INTEGER REFERENCES rating_cycle(id),
  created_at INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS ledger_member ON ledger(member_id);
CREATE TABLE IF NOT EXISTS game_record (
  member_id INTEGER NOT NULL REFERENCES member(id),
  game_key TEXT NOT NULL,
  kon INTEGER NOT NULL DEFAULT 0,
  sum_scores INTEGER NOT NULL DEFAULT 0,
  rating REAL NOT NULL DEFAULT 0,
  sessions INTEGER NOT NULL DEFAULT 0,
  best INTEGER NOT NULL DEFAULT 0,
  konl INTEGER NOT NULL DEFAULT 0,
  score INTEGER NOT NULL DEFAULT 0,
  r1 INTEGER NOT NULL DEFAULT 0, r2 TEXT NOT NULL DEFAULT '#',
  open_cycle_id INTEGER REFERENCES rating_cycle(id),
  open_cap INTEGER, open_floor INTEGER, open_since INTEGER,
  PRIMARY KEY (member_id, game_key)
);
CREATE INDEX IF NOT EXISTS game_rank ON game_record(game_key, rating DESC, sessions DESC, member_id);
CREATE TABLE IF NOT EXISTS wtt_board (
  gid INTEGER PRIMARY KEY,
  kind TEXT NOT NULL CHECK (kind IN ('open','readonly','club','chat')),
  accepted_total INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS wtt_row (
  id INTEGER PRIMARY KEY,
  gid INTEGER NOT NULL REFERENCES wtt_board(gid),
  score INTEGER NOT NULL,
  nick TEXT NOT NULL, country TEXT NOT NULL, city TEXT NOT NULL,
  r07 TEXT NOT NULL, r08 TEXT NOT NULL, r09 TEXT NOT NULL, r10 TEXT NOT NULL,
  member_id INTEGER REFERENCES member(id),
  created_at INTEGER NOT NULL,
  src TEXT,
  hidden INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS wtt_rank ON wtt_row(gid, hidden, score DESC, id);
CREATE INDEX IF NOT EXISTS wtt_own ON wtt_row(gid, nick, city);
CREATE INDEX IF NOT EXISTS wtt_member ON wtt_row(gid, member_id, score DESC, id);
CREATE TABLE IF NOT EXISTS stat_counter (
  gid INTEGER PRIMARY KEY,
  starts INTEGER NOT NULL DEFAULT 0, unique_starts INTEGER NOT NULL DEFAULT 0,
  likes INTEGER NOT NULL DEFAULT 0, last_like_at INTEGER,
  x1 INTEGER NOT NULL DEFAULT 0, x2 INTEGER NOT NULL DEFAULT 0, x3 INTEGER NOT NULL DEFAULT 0,
  x4 INTEGER NOT NULL DEFAULT 0, x5 INTEGER NOT NULL DEFAULT 0, x6 INTEGER NOT NULL DEFAULT 0,
  x7 INTEGER NOT NULL DEFAULT 0, x8 INTEGER NOT NULL DEFAULT 0, x9 INTEGER NOT NULL DEFAULT 0,
  x10 INTEGER NOT NULL DEFAULT 0, x11 INTEGER NOT NULL DEFAULT 0, x12 INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS like_seen (gid INTEGER NOT NULL, src TEXT NOT NULL, day TEXT NOT NULL,
  PRIMARY KEY (gid, src, day));
CREATE TABLE IF NOT EXISTS server_secret (id INTEGER PRIMARY KEY CHECK (id = 1), secret BLOB NOT NULL);
)SQL";

// A directory's entries are durable only once the directory itself is.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

struct SqliteStorage::Connection {
    sqlite3* db = nullptr;
    std::unordered_map<const char*, sqlite3_stmt*> statements;

    ~Connection()
    {
        for (auto& [sql, stmt] : statements)
            sqlite3_finalize(stmt);
        sqlite3_close(db);
    }

    [[noreturn]] void Fail(const char* what) const
    {
        throw StorageError(std::string(what) + ": " + sqlite3_errmsg(db));
    }

    void Exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::string message = error ? error : "unknown";
            sqlite3_free(error);
            throw StorageError(std::string("sqlite: ") + message);
        }
    }

    sqlite3_stmt* Prepare(const char* sql)
    {
        auto it = statements.find(sql);
        if (it != statements.end())
            return it->second;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
            Fail("prepare");
        statements.emplace(sql, stmt);
        return stmt;
    }
};

namespace {

// One use of a cached prepared statement; reset when it goes out of scope.
class Query {
public:
    Query(SqliteStorage::Connection& c, const char* sql) : c_(c), s_(c.Prepare(sql)) {}
    ~Query()
    {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int i, std::int64_t v)
    {
        Check(sqlite3_bind_int64(s_, i, v));
        return *this;
    }
    Query& Bind(int i, int v) { return Bind(i, static_cast<std::int64_t>(v)); }
    Query& Bind(int i, double v)
    {
        Check(sqlite3_bind_double(s_, i, v));
        return *this;
    }
    Query& Bind(int i, std::string_view v)
    {
        Check(sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Query& Bind(int i, const std::string& v) { return Bind(i, std::string_view(v)); }
    Query& Bind(int i, const char* v) { return Bind(i, std::string_view(v)); }
    Query& BindBlob(int i, std::string_view v)
    {
        Check(sqlite3_bind_blob(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Query& BindNull(int i)
    {
        Check(sqlite3_bind_null(s_, i));
        return *this;
    }
    Query& Bind(int i, const std::optional<std::int64_t>& v) { return v ? Bind(i, *v) : BindNull(i); }

    bool Step()
    {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        c_.Fail("step");
    }
    void Run()
    {
        while (Step()) {
        }
    }

    std::int64_t Int(int col) const { return sqlite3_column_int64(s_, col); }
    double Real(int col) const { return sqlite3_column_double(s_, col); }
    bool Null(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }
    std::optional<std::int64_t> OptInt(int col) const
    {
        return Null(col) ? std::nullopt : std::optional<std::int64_t>(Int(col));
    }
    std::string Text(int col) const
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))) : std::string{};
    }
    std::string Blob(int col) const
    {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))) : std::string{};
    }

private:
    void Check(int rc)
    {
        if (rc != SQLITE_OK)
            c_.Fail("bind");
    }
    SqliteStorage::Connection& c_;
    sqlite3_stmt* s_;
};

// A transaction that rolls back unless committed.  Writers take the write
// lock at BEGIN IMMEDIATE, so a read-then-write never fails half way on a
// lock held by another process.
class Transaction {
public:
    Transaction(SqliteStorage::Connection& c, bool write) : c_(c)
    {
        Query(c_, write ? "BEGIN IMMEDIATE" : "BEGIN").Run();
    }
    ~Transaction()
    {
        if (!done_) {
            try {
                Query(c_, "ROLLBACK").Run();
            } catch (...) {
            }
        }
    }
    void Commit()
    {
        Query(c_, "COMMIT").Run();
        done_ = true;
    }

private:
    SqliteStorage::Connection& c_;
    bool done_ = false;
};

std::int64_t LastId(SqliteStorage::Connection& c) { return sqlite3_last_insert_rowid(c.db); }
int Changes(SqliteStorage::Connection& c) { return sqlite3_changes(c.db); }

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

void AddLedger(SqliteStorage::Connection& c, MemberId id, std::int64_t delta, const char* kind,
               std::optional<std::int64_t> transfer, std::optional<std::int64_t> cycle, Seconds now)
{
    Query(c, "INSERT INTO ledger (member_id, delta, balance_after, kind, transfer_id, cycle_id, created_at) "
             "SELECT id, ?, balance, ?, ?, ?, ? FROM member WHERE id = ?")
        .Bind(1, delta).Bind(2, kind).Bind(3, transfer).Bind(4, cycle).Bind(5, now).Bind(6, id).Run();
}

std::int64_t InsertRow(SqliteStorage::Connection& c, int gid, const BoardEntry& e, std::optional<MemberId> member,
                       Seconds now)
{
    Query(c, "INSERT INTO wtt_row (gid, score, nick, country, city, r07, r08, r09, r10, member_id, created_at, src) "
             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, gid).Bind(2, e.score).Bind(3, ToDb(e.nick)).Bind(4, ToDb(e.country)).Bind(5, ToDb(e.city))
        .Bind(6, ToDb(e.r07)).Bind(7, ToDb(e.r08)).Bind(8, ToDb(e.r09)).Bind(9, ToDb(e.r10))
        .Bind(10, member).Bind(11, now).Bind(12, e.source).Run();
    const auto id = LastId(c);
    Query(c, "UPDATE wtt_board SET accepted_total = accepted_total + 1 WHERE gid = ?").Bind(1, gid).Run();
    return id;
}

GameRecord ReadRecord(SqliteStorage::Connection& c, MemberId id, const std::string& key)
{
    Query q(c, "SELECT kon, sum_scores, rating, sessions, best, konl, score, r1, r2, open_cycle_id, open_cap, "
               "open_floor, open_since FROM game_record WHERE member_id = ? AND game_key = ?");
    q.Bind(1, id).Bind(2, key);
    return q.Step() ? GameRecordFrom(q) : GameRecord{};
}

} // namespace

class SqliteStorage::Lease {
public:
    Lease(SqliteStorage& owner, std::unique_ptr<Connection> c) : owner_(owner), c_(std::move(c)) {}
    ~Lease()
    {
        if (c_)
            owner_.Release(std::move(c_));
    }
    Lease(Lease&& other) noexcept : owner_(other.owner_), c_(std::move(other.c_)) {}
    Connection& operator*() { return *c_; }

private:
    SqliteStorage& owner_;
    std::unique_ptr<Connection> c_;
};

SqliteStorage::SqliteStorage(std::string path, int busyTimeoutMs, std::string photoDir)
    : path_(std::move(path)), photoDir_(std::move(photoDir)), busyTimeoutMs_(busyTimeoutMs)
{
    if (photoDir_.empty())
        photoDir_ = (std::filesystem::path(path_).parent_path() / "photos").string();
    std::filesystem::create_directories(photoDir_);
    auto c = Open();
    c->Exec("PRAGMA journal_mode=WAL");
    // A checkpoint leaves the write-ahead log at most this large on disk.
    c->Exec("PRAGMA journal_size_limit=67108864");
    {
        Transaction t(*c, true);
        c->Exec(kSchema);
        // Databases made before sessions kept a password check.
        sqlite3_stmt* probe = nullptr;
        if (sqlite3_prepare_v2(c->db, "SELECT pw_check FROM session LIMIT 0", -1, &probe, nullptr) != SQLITE_OK)
            c->Exec("ALTER TABLE session ADD COLUMN pw_check BLOB");
        sqlite3_finalize(probe);
        t.Commit();
    }
    Release(std::move(c));
}

SqliteStorage::~SqliteStorage() = default;

std::unique_ptr<SqliteStorage::Connection> SqliteStorage::Open()
{
    auto c = std::make_unique<Connection>();
    const int rc = sqlite3_open_v2(path_.c_str(), &c->db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw StorageError("cannot open the database " + path_ + ": " + (c->db ? sqlite3_errmsg(c->db) : "out of memory"));
    sqlite3_busy_timeout(c->db, busyTimeoutMs_);
    c->Exec("PRAGMA foreign_keys=ON");
    c->Exec("PRAGMA synchronous=FULL");
    return c;
}

SqliteStorage::Lease SqliteStorage::Acquire()
{
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto c = std::move(idle_.back());
            idle_.pop_back();
            return Lease(*this, std::move(c));
        }
    }
    return Lease(*this, Open());
}

void SqliteStorage::Release(std::unique_ptr<Connection> c)
{
    if (!sqlite3_get_autocommit(c->db))
        return;   // a connection left inside a transaction is dropped, not reused
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(c));
}

// ---------------------------------------------------------------- members

bool SqliteStorage::RegisterMember(const NewMember& m, const std::vector<std::string>& gameKeys, Seconds now)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    {
        Query q(c, "SELECT 1 FROM member WHERE nick_fold = ?");
        q.Bind(1, Fold(m.nick));
        if (q.Step())
            return false;
    }
    Query(c, "INSERT INTO member (nick, nick_fold, pw_hash, city, country_key, country_code, sex, email, date_reg, "
             "balance, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .Bind(1, ToDb(m.nick)).Bind(2, Fold(m.nick)).Bind(3, m.pwHash).Bind(4, ToDb(m.city))
        .Bind(5, ToDb(m.countryKey)).Bind(6, ToDb(m.countryCode)).Bind(7, m.sex).Bind(8, ToDb(m.email))
        .Bind(9, m.dateReg).Bind(10, m.balance).Bind(11, now).Run();
    const MemberId id = LastId(c);
    Query(c, "INSERT INTO info_card (member_id) VALUES (?)").Bind(1, id).Run();
    for (const auto& key : gameKeys)
        Query(c, "INSERT INTO game_record (member_id, game_key) VALUES (?, ?)").Bind(1, id).Bind(2, key).Run();
    if (m.balance != 0)
        AddLedger(c, id, m.balance, "admin", std::nullopt, std::nullopt, now);
    t.Commit();
    return true;
}

std::optional<Member> SqliteStorage::FindMember(std::string_view nick)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT id, nick, pw_hash, city, country_key, country_code, sex, email, date_reg, balance, "
                    "disabled FROM member WHERE nick = ?");
    q.Bind(1, ToDb(nick));
    if (!q.Step())
        return std::nullopt;
    return MemberFrom(q);
}

bool SqliteStorage::NickTaken(std::string_view nick)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT 1 FROM member WHERE nick_fold = ?");
    q.Bind(1, Fold(nick));
    return q.Step();
}

void SqliteStorage::UpdatePasswordHash(MemberId id, const std::string& hash)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE member SET pw_hash = ? WHERE id = ?").Bind(1, hash).Bind(2, id).Run();
}

void SqliteStorage::RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE member SET last_login_at = ?, last_login_client = ?, last_login_from = ? WHERE id = ?")
        .Bind(1, now).Bind(2, clientStamp).Bind(3, ToDb(from)).Bind(4, id).Run();
}

std::int64_t SqliteStorage::CountMembers()
{
    auto lease = Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM member WHERE disabled = 0");
    q.Step();
    return q.Int(0);
}

// ---------------------------------------------------------------- sessions

void SqliteStorage::CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                                  const std::string& passwordCheck)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    Query(c, "INSERT INTO session (token_hash, member_id, created_at, last_seen_at, expires_at, pw_check) "
             "VALUES (?, ?, ?, ?, ?, ?)")
        .BindBlob(1, tokenHash).Bind(2, id).Bind(3, now).Bind(4, now).Bind(5, expiresAt).BindBlob(6, passwordCheck).Run();
    Query(c, "DELETE FROM session WHERE member_id = ?1 AND token_hash NOT IN (SELECT token_hash FROM session "
             "WHERE member_id = ?1 ORDER BY created_at DESC, rowid DESC LIMIT ?2)")
        .Bind(1, id).Bind(2, vk::SessionsPerMember).Run();
    t.Commit();
}

void SqliteStorage::SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE session SET pw_check = ? WHERE token_hash = ?").BindBlob(1, passwordCheck).BindBlob(2, tokenHash).Run();
}

std::optional<SessionInfo> SqliteStorage::UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit)
{
    auto lease = Acquire();
    auto& c = *lease;
    SessionInfo info;
    {
        Query q(c, "SELECT s.member_id, m.nick, s.last_seen_at, s.expires_at, s.pw_check FROM session s "
                   "JOIN member m ON m.id = s.member_id WHERE s.token_hash = ? AND m.disabled = 0");
        q.BindBlob(1, tokenHash);
        if (!q.Step())
            return std::nullopt;
        if (q.Int(3) <= now || now - q.Int(2) > idleLimit)
            return std::nullopt;
        info.memberId = q.Int(0);
        info.nick = FromDb(q.Text(1));
        info.passwordCheck = q.Blob(4);
    }
    // A busy database does not fail the request that only wanted to read.
    try {
        Query(c, "UPDATE session SET last_seen_at = ? WHERE token_hash = ? AND last_seen_at <= ?")
            .Bind(1, now).BindBlob(2, tokenHash).Bind(3, now - IdleClockStep(idleLimit)).Run();
    } catch (const StorageError&) {
    }
    return info;
}

void SqliteStorage::DeleteSession(const std::string& tokenHash)
{
    auto lease = Acquire();
    Query(*lease, "DELETE FROM session WHERE token_hash = ?").BindBlob(1, tokenHash).Run();
}

void SqliteStorage::PurgeSessions(Seconds now, Seconds idleLimit)
{
    auto lease = Acquire();
    Query(*lease, "DELETE FROM session WHERE expires_at <= ? OR last_seen_at < ?")
        .Bind(1, now).Bind(2, now - idleLimit).Run();
}

// ---------------------------------------------------------------- cards, photos

Card SqliteStorage::ReadCard(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT name1, name2, about, telephone, emailo, website, skype, ok, vk, telegram, facebook, "
                    "twitter, instagramm, youtube FROM info_card WHERE member_id = ?");
    q.Bind(1, id);
    return q.Step() ? CardFrom(q) : Card{};
}

void SqliteStorage::SaveCard(MemberId id, const Card& card, Seconds now)
{
    auto lease = Acquire();
    Query q(*lease, "INSERT INTO info_card (member_id, name1, name2, about, telephone, emailo, website, skype, ok, vk, "
                    "telegram, facebook, twitter, instagramm, youtube, updated_at) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (member_id) DO UPDATE SET "
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

std::string SqliteStorage::PhotoPath(MemberId id) const
{
    return (std::filesystem::path(photoDir_) / (std::to_string(id) + ".jpg")).string();
}

// The bytes go to a temporary file first and replace the photo by a rename,
// so a reader sees the old photo or the new one, never half of one.
void SqliteStorage::SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now)
{
    const std::string path = PhotoPath(id);
    const std::string temp = path + ".tmp" + std::to_string(::getpid()) + "-" +
                             std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        throw StorageError("cannot write " + temp);
    const bool written = std::fwrite(jpeg.data(), 1, jpeg.size(), f) == jpeg.size() && std::fflush(f) == 0 &&
                         ::fsync(::fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (written && closed)
        std::filesystem::rename(temp, path, ec);
    if (!written || !closed || ec) {
        std::filesystem::remove(temp, ec);
        throw StorageError("cannot write " + path);
    }
    SyncFolder(photoDir_);
    auto lease = Acquire();
    Query(*lease, "INSERT INTO photo (member_id, size, sha256, uploaded_at) VALUES (?, ?, ?, ?) "
                  "ON CONFLICT (member_id) DO UPDATE SET size = excluded.size, sha256 = excluded.sha256, "
                  "uploaded_at = excluded.uploaded_at")
        .Bind(1, id).Bind(2, static_cast<std::int64_t>(jpeg.size())).BindBlob(3, sha256).Bind(4, now).Run();
}

std::optional<std::string> SqliteStorage::ReadPhoto(MemberId id)
{
    {
        auto lease = Acquire();
        Query q(*lease, "SELECT 1 FROM photo WHERE member_id = ?");
        q.Bind(1, id);
        if (!q.Step())
            return std::nullopt;
    }
    std::ifstream in(PhotoPath(id), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---------------------------------------------------------------- currency

std::int64_t SqliteStorage::Balance(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT balance FROM member WHERE id = ?");
    q.Bind(1, id);
    return q.Step() ? q.Int(0) : 0;
}

TransferResult SqliteStorage::Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                                       Seconds now, Seconds owedUntil)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    Query(c, "UPDATE member SET balance = balance - ? WHERE id = ? AND balance >= ?")
        .Bind(1, amount).Bind(2, from).Bind(3, amount).Run();
    if (Changes(c) != 1)
        return TransferResult::Insufficient;
    Query(c, "UPDATE member SET balance = balance + ? WHERE id = ? AND balance <= ?")
        .Bind(1, amount).Bind(2, to).Bind(3, kMaxBalance - amount).Run();
    if (Changes(c) != 1)
        return TransferResult::Overflow;
    Query(c, "INSERT INTO transfer (from_member, to_member, amount, created_at) VALUES (?, ?, ?, ?)")
        .Bind(1, from).Bind(2, to).Bind(3, amount).Bind(4, now).Run();
    const auto transferId = LastId(c);
    AddLedger(c, from, -amount, "transfer_out", transferId, std::nullopt, now);
    AddLedger(c, to, amount, "transfer_in", transferId, std::nullopt, now);
    Query(c, "UPDATE session SET owed_debit = ?, owed_debit_until = ?, owed_transfer_id = ? WHERE token_hash = ?")
        .Bind(1, amount).Bind(2, owedUntil).Bind(3, transferId).BindBlob(4, tokenHash).Run();
    t.Commit();
    return TransferResult::Done;
}

bool SqliteStorage::AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    std::optional<std::int64_t> transferId;
    {
        Query q(c, "SELECT owed_debit, owed_debit_until, owed_transfer_id FROM session WHERE token_hash = ?");
        q.BindBlob(1, tokenHash);
        if (!q.Step() || q.OptInt(0) != amount || q.OptInt(1).value_or(0) < now)
            return false;
        transferId = q.OptInt(2);
    }
    Query(c, "UPDATE session SET owed_debit = NULL, owed_debit_until = NULL, owed_transfer_id = NULL "
             "WHERE token_hash = ?").BindBlob(1, tokenHash).Run();
    Query(c, "UPDATE transfer SET debit_acknowledged_at = ? WHERE id = ?").Bind(1, now).Bind(2, transferId).Run();
    t.Commit();
    return true;
}

bool SqliteStorage::AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    std::int64_t cycle = 0;
    {
        Query q(c, "SELECT id, reward, reward_ack_at FROM rating_cycle WHERE member_id = ? AND wtt_row_id IS NOT NULL "
                   "ORDER BY completed_at DESC, id DESC LIMIT 1");
        q.Bind(1, id);
        if (!q.Step() || q.OptInt(1) != amount || !q.Null(2))
            return false;
        cycle = q.Int(0);
    }
    Query(c, "UPDATE rating_cycle SET reward_ack_at = ? WHERE id = ?").Bind(1, now).Bind(2, cycle).Run();
    t.Commit();
    return true;
}

// ---------------------------------------------------------------- rating games

GameRecord SqliteStorage::ReadGame(MemberId id, const std::string& key)
{
    auto lease = Acquire();
    return ReadRecord(*lease, id, key);
}

GameDecision SqliteStorage::SaveGame(MemberId id, const std::string& key, Seconds now,
                                     const std::function<GameDecision(const GameSnapshot&)>& decide)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    Query(c, "INSERT INTO game_record (member_id, game_key) VALUES (?, ?) ON CONFLICT (member_id, game_key) DO NOTHING")
        .Bind(1, id).Bind(2, key).Run();
    GameSnapshot snap;
    snap.record = ReadRecord(c, id, key);
    {
        Query q(c, "SELECT id, kon, started_at, completed_at, final_score FROM rating_cycle "
                   "WHERE member_id = ? AND game_key = ? ORDER BY kon DESC LIMIT 1");
        q.Bind(1, id).Bind(2, key);
        if (q.Step())
            snap.lastCycle = CycleInfo{q.Int(0), q.Int(1), q.Int(2), q.OptInt(3), q.OptInt(4)};
    }
    {
        Query q(c, "SELECT COUNT(CASE WHEN started_at > ? THEN 1 END), COUNT(*) FROM rating_cycle "
                   "WHERE member_id = ? AND game_key = ? AND started_at > ?");
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
    case Transition::StartNew:
        Query(c, "INSERT INTO rating_cycle (member_id, game_key, kon, started_at) VALUES (?, ?, ?, ?)")
            .Bind(1, id).Bind(2, key).Bind(3, u.kon).Bind(4, now).Run();
        u.openCycle = LastId(c);
        break;
    case Transition::Resume:
        break;
    case Transition::Suspend:
        Query(c, "UPDATE rating_cycle SET suspended_at = ?, suspended_deal = ?, suspended_score = ? WHERE id = ?")
            .Bind(1, now).Bind(2, u.konl).Bind(3, u.score).Bind(4, snap.record.openCycle).Run();
        u.openCycle.reset();
        break;
    case Transition::Complete:
        Query(c, "UPDATE rating_cycle SET completed_at = ?, final_score = ? WHERE id = ?")
            .Bind(1, now).Bind(2, d.finalScore).Bind(3, snap.record.openCycle).Run();
        u.openCycle.reset();
        break;
    }
    Query(c, "UPDATE game_record SET kon = ?, sum_scores = ?, rating = ?, sessions = ?, best = ?, konl = ?, score = ?, "
             "open_cycle_id = ?, open_cap = ?, open_floor = ?, open_since = ? WHERE member_id = ? AND game_key = ?")
        .Bind(1, u.kon).Bind(2, u.sumScores).Bind(3, u.rating).Bind(4, u.sessions).Bind(5, u.best).Bind(6, u.konl)
        .Bind(7, u.score).Bind(8, u.openCycle).Bind(9, u.openCap).Bind(10, u.openFloor).Bind(11, u.openSince)
        .Bind(12, id).Bind(13, key).Run();
    t.Commit();
    d.updated = u;
    return d;
}

std::vector<TopTenRow> SqliteStorage::ClubTopTen(const std::string& key)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT m.nick, m.city, m.country_key, m.country_code, m.sex, g.rating FROM game_record g "
                    "JOIN member m ON m.id = g.member_id WHERE g.game_key = ? AND g.kon >= 1 AND m.disabled = 0 "
                    "ORDER BY g.rating DESC, g.sessions DESC, g.member_id LIMIT 10");
    q.Bind(1, key);
    std::vector<TopTenRow> rows;
    while (q.Step())
        rows.push_back({FromDb(q.Text(0)), FromDb(q.Text(1)), FromDb(q.Text(2)), FromDb(q.Text(3)), q.Text(4), q.Real(5)});
    return rows;
}

std::int64_t SqliteStorage::ClubPlace(const std::string& key, double rating)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM game_record g JOIN member m ON m.id = g.member_id "
                    "WHERE g.game_key = ? AND g.kon >= 1 AND m.disabled = 0 AND g.rating > ?");
    q.Bind(1, key).Bind(2, rating);
    q.Step();
    return q.Int(0) + 1;
}

bool SqliteStorage::InAnyClubTopTen(MemberId id)
{
    auto lease = Acquire();
    Query q(*lease,
            "SELECT 1 FROM game_record g JOIN member gm ON gm.id = g.member_id "
            "WHERE g.member_id = ? AND g.kon >= 1 AND gm.disabled = 0 AND (SELECT COUNT(*) FROM game_record h "
            "JOIN member m ON m.id = h.member_id WHERE h.game_key = g.game_key AND h.kon >= 1 AND m.disabled = 0 "
            "AND (h.rating > g.rating OR (h.rating = g.rating AND (h.sessions > g.sessions OR "
            "(h.sessions = g.sessions AND h.member_id < g.member_id))))) < 10");
    q.Bind(1, id);
    return q.Step();
}

// ---------------------------------------------------------------- world top ten

void SqliteStorage::EnsureBoard(int gid, BoardKind kind)
{
    auto lease = Acquire();
    Query(*lease, "INSERT INTO wtt_board (gid, kind) VALUES (?, ?) ON CONFLICT (gid) DO UPDATE SET kind = excluded.kind")
        .Bind(1, gid).Bind(2, BoardKindText(kind)).Run();
}

std::int64_t SqliteStorage::SubmitResult(int gid, const BoardEntry& entry, Seconds now)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    const auto rowId = InsertRow(c, gid, entry, std::nullopt, now);
    PruneSenderRows<Query>(c, gid, entry, std::nullopt, now);
    const auto place = RowPlace<Query>(c, gid, entry.score, rowId, std::nullopt);
    t.Commit();
    return place;
}

std::int64_t SqliteStorage::SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    BoardEntry e = entry;
    {
        Query q(c, "SELECT COALESCE(MAX(score), 0) FROM wtt_row WHERE gid = ?");
        q.Bind(1, gid);
        q.Step();
        e.score = q.Int(0) + 1;
    }
    const auto rowId = InsertRow(c, gid, e, std::nullopt, now);
    Query(c, "DELETE FROM wtt_row WHERE gid = ? AND score <= ?").Bind(1, gid).Bind(2, e.score - keep).Run();
    const auto place = RowPlace<Query>(c, gid, e.score, rowId, std::nullopt);
    t.Commit();
    return place;
}

std::optional<std::int64_t> SqliteStorage::SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                            const BoardEntry& entry, Seconds now, Seconds window)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    std::int64_t cycle = 0;
    std::optional<std::int64_t> existingRow;
    {
        Query q(c, "SELECT id, wtt_row_id FROM rating_cycle WHERE member_id = ? AND game_key = ? "
                   "AND completed_at IS NOT NULL AND final_score = ? AND completed_at >= ? "
                   "ORDER BY completed_at DESC, id DESC LIMIT 1");
        q.Bind(1, id).Bind(2, key).Bind(3, entry.score).Bind(4, now - window);
        if (!q.Step())
            return std::nullopt;
        cycle = q.Int(0);
        existingRow = q.OptInt(1);
    }
    if (existingRow) {
        Query q(c, "SELECT score FROM wtt_row WHERE id = ?");
        q.Bind(1, *existingRow);
        if (!q.Step())
            return std::nullopt;
        const auto score = q.Int(0);
        return RowPlace<Query>(c, gid, score, *existingRow, id);
    }
    const auto rowId = InsertRow(c, gid, entry, id, now);
    const auto place = RowPlace<Query>(c, gid, entry.score, rowId, id);
    std::optional<std::int64_t> reward;
    if (const std::int64_t amount = vk::PlaceReward(place); amount > 0) {
        Query(c, "UPDATE member SET balance = balance + ? WHERE id = ? AND balance <= ?")
            .Bind(1, amount).Bind(2, id).Bind(3, kMaxBalance - amount).Run();
        if (Changes(c) == 1) {
            AddLedger(c, id, amount, "reward", std::nullopt, cycle, now);
            reward = amount;
        }
    }
    Query(c, "UPDATE rating_cycle SET wtt_row_id = ?, reward = ? WHERE id = ?")
        .Bind(1, rowId).Bind(2, reward).Bind(3, cycle).Run();
    PruneSenderRows<Query>(c, gid, entry, id, now - window);
    t.Commit();
    return place;
}

std::vector<BoardRow> SqliteStorage::Board(int gid, int limit)
{
    auto lease = Acquire();
    return TopRows<Query>(*lease, gid, limit);
}

std::vector<BoardRow> SqliteStorage::OwnRows(int gid, const std::string& nick, const std::string& city, int limit)
{
    auto lease = Acquire();
    return SenderRows<Query>(*lease, gid, nick, city, limit);
}

std::int64_t SqliteStorage::AcceptedCount(int gid)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT accepted_total FROM wtt_board WHERE gid = ?");
    q.Bind(1, gid);
    return q.Step() ? q.Int(0) : 0;
}

// ---------------------------------------------------------------- statistics

void SqliteStorage::EnsureStatCounter(int gid)
{
    auto lease = Acquire();
    Query(*lease, "INSERT INTO stat_counter (gid) VALUES (?) ON CONFLICT (gid) DO NOTHING").Bind(1, gid).Run();
}

void SqliteStorage::CountLaunch(int gid, bool unique)
{
    auto lease = Acquire();
    Query(*lease, "UPDATE stat_counter SET "
                  "starts = CASE WHEN starts < 2147483647 THEN starts + 1 ELSE starts END, "
                  "unique_starts = CASE WHEN unique_starts + ? > 2147483647 THEN 2147483647 ELSE unique_starts + ? END "
                  "WHERE gid = ?")
        .Bind(1, unique ? 1 : 0).Bind(2, unique ? 1 : 0).Bind(3, gid).Run();
}

void SqliteStorage::CountDeal(int gid, const std::array<std::int64_t, 12>& r)
{
    auto lease = Acquire();
    Query q(*lease,
            "UPDATE stat_counter SET "
            "x1 = CASE WHEN x1 + ? > 2147483647 THEN 2147483647 ELSE x1 + ? END, "
            "x2 = CASE WHEN x2 + ? > 2147483647 THEN 2147483647 ELSE x2 + ? END, "
            "x3 = CASE WHEN x3 + ? > 2147483647 THEN 2147483647 ELSE x3 + ? END, "
            "x4 = CASE WHEN x4 + ? > 2147483647 THEN 2147483647 ELSE x4 + ? END, "
            "x5 = CASE WHEN x5 + ? > 2147483647 THEN 2147483647 ELSE x5 + ? END, "
            "x6 = CASE WHEN x6 + ? > 2147483647 THEN 2147483647 ELSE x6 + ? END, "
            "x7 = CASE WHEN x7 + ? > 2147483647 THEN 2147483647 ELSE x7 + ? END, "
            "x8 = CASE WHEN x8 + ? > 2147483647 THEN 2147483647 ELSE x8 + ? END, "
            "x9 = CASE WHEN x9 + ? > 2147483647 THEN 2147483647 ELSE x9 + ? END, "
            "x10 = CASE WHEN x10 + ? > 2147483647 THEN 2147483647 ELSE x10 + ? END, "
            "x11 = CASE WHEN x11 + ? > 2147483647 THEN 2147483647 ELSE x11 + ? END, "
            "x12 = CASE WHEN x12 + ? > 2147483647 THEN 2147483647 ELSE x12 + ? END "
            "WHERE gid = ?");
    for (int i = 0; i < 12; ++i)
        q.Bind(2 * i + 1, r[static_cast<std::size_t>(i)]).Bind(2 * i + 2, r[static_cast<std::size_t>(i)]);
    q.Bind(25, gid).Run();
}

bool SqliteStorage::CountLike(int gid, const std::string& source, const std::string& day, Seconds now)
{
    auto lease = Acquire();
    auto& c = *lease;
    Transaction t(c, true);
    // Only today's likes decide anything; earlier days are let go.
    Query(c, "DELETE FROM like_seen WHERE gid = ? AND day <> ?").Bind(1, gid).Bind(2, day).Run();
    Query(c, "INSERT INTO like_seen (gid, src, day) VALUES (?, ?, ?) ON CONFLICT (gid, src, day) DO NOTHING")
        .Bind(1, gid).Bind(2, source).Bind(3, day).Run();
    if (Changes(c) != 1) {
        t.Commit();
        return false;
    }
    Query(c, "UPDATE stat_counter SET likes = CASE WHEN likes < 2147483647 THEN likes + 1 ELSE likes END, "
             "last_like_at = ? WHERE gid = ?").Bind(1, now).Bind(2, gid).Run();
    t.Commit();
    return true;
}

StatCounters SqliteStorage::ReadStats(int gid)
{
    auto lease = Acquire();
    Query q(*lease, "SELECT starts, unique_starts, likes, last_like_at, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11, "
                    "x12 FROM stat_counter WHERE gid = ?");
    q.Bind(1, gid);
    return q.Step() ? StatCountersFrom(q) : StatCounters{};
}

std::string SqliteStorage::ServerSecret()
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
    Query(c, "INSERT INTO server_secret (id, secret) VALUES (1, ?) ON CONFLICT (id) DO NOTHING").BindBlob(1, fresh).Run();
    Query q(c, "SELECT secret FROM server_secret WHERE id = 1");
    if (!q.Step())
        throw StorageError("no server secret");
    std::lock_guard lock(mutex_);
    secret_ = q.Blob(0);
    return secret_;
}

} // namespace vks
