#include "server/storage/sqlite_storage.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "server/storage/sql_storage_impl.h"

namespace vks {

extern const char* const SqliteSchemaText; // sqlite_schema.sql, built in

namespace {

// The shared SQL as SQLite reads it: $n becomes ?n (numbered by its digits,
// not by its first use), and row locks go, as the write lock held since
// BEGIN IMMEDIATE covers every row.
std::string SqliteText(const char* shared)
{
    std::string out;
    for (const char* p = shared; *p; ++p) {
        if (*p == '$' && p[1] >= '0' && p[1] <= '9') {
            out += '?';
            continue;
        }
        bool lock = false;
        for (const char* clause : {" FOR UPDATE", " FOR NO KEY UPDATE"}) {
            const auto n = std::char_traits<char>::length(clause);
            if (std::strncmp(p, clause, n) == 0) {
                p += n - 1;
                lock = true;
                break;
            }
        }
        if (!lock)
            out += *p;
    }
    return out;
}

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

// ---------------------------------------------------------------- connections

SqliteDialect::Conn::~Conn()
{
    for (auto& [sql, stmt] : statements)
        sqlite3_finalize(stmt);
    sqlite3_close(db);
}

void SqliteDialect::Conn::Fail(const char* what) const
{
    throw StorageError(std::string(what) + ": " + sqlite3_errmsg(db));
}

void SqliteDialect::Conn::Exec(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown";
        sqlite3_free(error);
        throw StorageError(std::string("sqlite: ") + message);
    }
}

sqlite3_stmt* SqliteDialect::Conn::Prepare(const char* sql)
{
    auto it = statements.find(sql);
    if (it != statements.end())
        return it->second;
    const std::string text = SqliteText(sql);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db, text.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        Fail("prepare");
    statements.emplace(sql, stmt);
    return stmt;
}

SqliteDialect::Query::Query(Conn& c, const char* sql) : c_(c), s_(c.Prepare(sql)) {}

SqliteDialect::Query::~Query()
{
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
}

SqliteDialect::Query& SqliteDialect::Query::Bind(int i, std::int64_t v)
{
    Check(sqlite3_bind_int64(s_, i, v));
    return *this;
}

SqliteDialect::Query& SqliteDialect::Query::Bind(int i, double v)
{
    Check(sqlite3_bind_double(s_, i, v));
    return *this;
}

SqliteDialect::Query& SqliteDialect::Query::Bind(int i, std::string_view v)
{
    Check(sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteDialect::Query& SqliteDialect::Query::BindBytes(int i, std::string_view v)
{
    Check(sqlite3_bind_blob(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteDialect::Query& SqliteDialect::Query::BindNull(int i)
{
    Check(sqlite3_bind_null(s_, i));
    return *this;
}

bool SqliteDialect::Query::Step()
{
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    c_.Fail("step");
}

std::int64_t SqliteDialect::Query::Run()
{
    while (Step()) {
    }
    return sqlite3_changes64(c_.db);
}

std::int64_t SqliteDialect::Query::Int(int col) const { return sqlite3_column_int64(s_, col); }
double SqliteDialect::Query::Real(int col) const { return sqlite3_column_double(s_, col); }
bool SqliteDialect::Query::Null(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }

std::string SqliteDialect::Query::Text(int col) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))) : std::string{};
}

std::string SqliteDialect::Query::Bytes(int col) const
{
    const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))) : std::string{};
}

void SqliteDialect::Query::Check(int rc)
{
    if (rc != SQLITE_OK)
        c_.Fail("bind");
}

void SqliteDialect::Conn::Begin() { Query(*this, "BEGIN IMMEDIATE").Run(); }
void SqliteDialect::Conn::Commit() { Query(*this, "COMMIT").Run(); }

void SqliteDialect::Conn::Rollback() noexcept
{
    try {
        Query(*this, "ROLLBACK").Run();
    } catch (...) {
    }
}

SqliteDialect::SqliteDialect(std::string path, int busyTimeoutMs)
    : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs)
{
    auto c = Open();
    c->Exec("PRAGMA journal_mode=WAL");
    // A checkpoint leaves the write-ahead log at most this large on disk.
    c->Exec("PRAGMA journal_size_limit=67108864");
    Release(std::move(c));
}

std::unique_ptr<SqliteDialect::Conn> SqliteDialect::Open()
{
    auto c = std::make_unique<Conn>();
    const int rc = sqlite3_open_v2(path_.c_str(), &c->db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw StorageError("cannot open the database " + path_ + ": "
                           + (c->db ? sqlite3_errmsg(c->db) : "out of memory"));
    sqlite3_busy_timeout(c->db, busyTimeoutMs_);
    c->Exec("PRAGMA foreign_keys=ON");
    c->Exec("PRAGMA synchronous=FULL");
    return c;
}

SqliteDialect::Lease SqliteDialect::Acquire()
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

void SqliteDialect::Release(std::unique_ptr<Conn> c)
{
    if (!sqlite3_get_autocommit(c->db))
        return;
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(c));
}

// ---------------------------------------------------------------- schema

const char* SqliteDialect::SchemaText() { return SqliteSchemaText; }

bool SqliteDialect::HasTable(Conn& c, const char* name)
{
    Query q(c, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = $1");
    q.Bind(1, name);
    return q.Step();
}

// A club file made before schema versions: its sessions gain a password
// check where they lack one and their order of making (seq, from the rowid
// that kept it until now); tables added since are made; then it carries the
// version.  Sessions, money and boards all stay.
void SqliteDialect::AdoptUnversioned(Conn& c)
{
    {
        sqlite3_stmt* probe = nullptr;
        const bool hasCheck =
            sqlite3_prepare_v2(c.db, "SELECT pw_check FROM session LIMIT 0", -1, &probe, nullptr) == SQLITE_OK;
        sqlite3_finalize(probe);
        if (!hasCheck)
            c.Exec("ALTER TABLE session ADD COLUMN pw_check BLOB");
    }
    c.Exec("DROP INDEX IF EXISTS session_member; ALTER TABLE session RENAME TO session_unversioned");
    c.Exec(SqliteSchemaText);
    c.Exec("INSERT INTO session (token_hash, member_id, created_at, last_seen_at, expires_at, pw_check, owed_debit, "
           "owed_debit_until, owed_transfer_id) SELECT token_hash, member_id, created_at, last_seen_at, expires_at, "
           "pw_check, owed_debit, owed_debit_until, owed_transfer_id FROM session_unversioned ORDER BY rowid; "
           "DROP TABLE session_unversioned");
}

// Version 2 lacks only the device tokens; every statement of the schema
// makes only what is missing and records version 3.
void SqliteDialect::Upgrade(Conn& c, int version)
{
    if (version == 2)
        c.Exec(SqliteSchemaText);
}

// ---------------------------------------------------------------- the storage

template class SqlStorage<SqliteDialect>;

namespace {
std::string PhotoFolder(const std::string& path, std::string photoDir)
{
    if (photoDir.empty())
        photoDir = (std::filesystem::path(path).parent_path() / "photos").string();
    std::filesystem::create_directories(photoDir);
    return photoDir;
}
} // namespace

SqliteStorage::SqliteStorage(std::string path, int busyTimeoutMs, std::string photoDir)
    : SqlStorage(path, busyTimeoutMs), photoDir_(PhotoFolder(path, std::move(photoDir)))
{
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
    const std::string temp = path + ".tmp" + std::to_string(::getpid()) + "-"
                             + std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id()));
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        throw StorageError("cannot write " + temp);
    const bool written =
        std::fwrite(jpeg.data(), 1, jpeg.size(), f) == jpeg.size() && std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (written && closed)
        std::filesystem::rename(temp, path, ec);
    if (!written || !closed || ec) {
        std::filesystem::remove(temp, ec);
        throw StorageError("cannot write " + path);
    }
    SyncFolder(photoDir_);
    auto lease = d_.Acquire();
    Query(*lease, "INSERT INTO photo (member_id, size, sha256, uploaded_at) VALUES ($1, $2, $3, $4) "
                  "ON CONFLICT (member_id) DO UPDATE SET size = excluded.size, sha256 = excluded.sha256, "
                  "uploaded_at = excluded.uploaded_at")
        .Bind(1, id)
        .Bind(2, static_cast<std::int64_t>(jpeg.size()))
        .BindBytes(3, sha256)
        .Bind(4, now)
        .Run();
}

std::optional<std::string> SqliteStorage::ReadPhoto(MemberId id)
{
    {
        auto lease = d_.Acquire();
        Query q(*lease, "SELECT 1 FROM photo WHERE member_id = $1");
        q.Bind(1, id);
        if (!q.Step())
            return std::nullopt;
    }
    std::ifstream in(PhotoPath(id), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace vks
