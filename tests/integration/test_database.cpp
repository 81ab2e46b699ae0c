#include "test_database.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <functional>

namespace vk::test {
namespace {

bool IsPostgres(const std::string& db) { return db.starts_with("postgresql://"); }

// Calls row(values, nulls) for every row of the query's result; false when
// the query fails.
using RowFn = std::function<void(const std::vector<std::string>&, const std::vector<bool>&)>;

bool Query(const std::string& db, const std::string& sql, bool write, const RowFn& row)
{
    if (IsPostgres(db)) {
        PGconn* conn = PQconnectdb(db.c_str());
        bool ok = PQstatus(conn) == CONNECTION_OK;
        if (ok) {
            PGresult* res = PQexec(conn, sql.c_str());
            const auto status = PQresultStatus(res);
            ok = status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
            for (int r = 0; ok && r < PQntuples(res); ++r) {
                std::vector<std::string> values;
                std::vector<bool> nulls;
                for (int c = 0; c < PQnfields(res); ++c) {
                    values.emplace_back(PQgetvalue(res, r, c), static_cast<std::size_t>(PQgetlength(res, r, c)));
                    nulls.push_back(PQgetisnull(res, r, c) != 0);
                }
                row(values, nulls);
            }
            PQclear(res);
        }
        PQfinish(conn);
        return ok;
    }
    sqlite3* handle = nullptr;
    bool ok = sqlite3_open_v2(db.c_str(), &handle, write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr)
              == SQLITE_OK;
    sqlite3_busy_timeout(handle, 2000);
    sqlite3_stmt* stmt = nullptr;
    ok = ok && sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK;
    int rc = SQLITE_DONE;
    while (ok && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<std::string> values;
        std::vector<bool> nulls;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            values.emplace_back(text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c))) : "");
            nulls.push_back(sqlite3_column_type(stmt, c) == SQLITE_NULL);
        }
        row(values, nulls);
    }
    ok = ok && rc == SQLITE_DONE;
    sqlite3_finalize(stmt);
    sqlite3_close(handle);
    return ok;
}

} // namespace

DbCell DbFirst(const std::string& db, const std::string& sql)
{
    DbCell cell;
    Query(db, sql, false, [&](const std::vector<std::string>& values, const std::vector<bool>& nulls) {
        if (cell.found || values.empty())
            return;
        cell = {true, nulls[0], values[0]};
    });
    return cell;
}

bool DbExec(const std::string& db, const std::string& sql)
{
    return Query(db, sql, true, [](const auto&, const auto&) {});
}

std::string DbRows(const std::string& db, const std::string& sql)
{
    std::string out;
    const bool ok = Query(db, sql, false, [&](const std::vector<std::string>& values, const std::vector<bool>& nulls) {
        for (std::size_t i = 0; i < values.size(); ++i)
            out += (nulls[i] ? "NULL" : values[i]) + "|";
        out += '\n';
    });
    return ok ? out : "<failed: " + sql + ">";
}

std::string DbIntegrity(const std::string& db)
{
    if (!IsPostgres(db)) {
        const auto cell = DbFirst(db, "PRAGMA integrity_check");
        return cell.found ? cell.text : "<no answer>";
    }
    // Every B-tree index checked against its table's rows.
    if (!DbExec(db, "CREATE EXTENSION IF NOT EXISTS amcheck"))
        return "amcheck is missing";
    const auto checked =
        DbFirst(db, "SELECT COUNT(bt_index_check(c.oid, true)) FROM pg_index i "
                    "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
                    "JOIN pg_am a ON a.oid = c.relam WHERE n.nspname = 'public' AND a.amname = 'btree'");
    return checked.found && checked.text != "0" ? "ok" : "index check failed";
}

} // namespace vk::test
