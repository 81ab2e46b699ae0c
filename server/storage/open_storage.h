#pragma once
// Picks the storage the settings name: PostgreSQL when --db is a
// postgresql:// (or postgres://) address, else the SQLite file.
#include <memory>
#include <string>

#include "server/options.h"
#include "server/storage/storage.h"

namespace vks {

bool IsPostgresAddress(const std::string& db);

// The database named for people: a PostgreSQL address without its password.
std::string DatabaseLabel(const std::string& db);

// Opens (and on first use creates) the database; throws StorageError.
std::unique_ptr<Storage> OpenStorage(const ServerConfig& config);

} // namespace vks
