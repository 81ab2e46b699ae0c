#pragma once
// A look into a test server's database, whichever it is: the SQLite file or
// the PostgreSQL database (a postgresql:// address).  Each call opens its
// own connection, so it sees what the server committed.
#include <cstdint>
#include <optional>
#include <string>

namespace vk::test {

struct DbCell {
    bool found = false; // a row came back
    bool null = false;
    std::string text;
};

// The first column of the first row.
DbCell DbFirst(const std::string& db, const std::string& sql);
// Runs a statement that changes the database; false when it fails.
bool DbExec(const std::string& db, const std::string& sql);
// Every row, columns separated by "|", rows by "\n".
std::string DbRows(const std::string& db, const std::string& sql);
// "ok" when the database's own consistency check finds nothing.
std::string DbIntegrity(const std::string& db);

} // namespace vk::test
