#pragma once
// A fresh SQLite storage in a temporary folder, removed afterwards.
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include <stdlib.h>

#include "server/storage/sqlite_storage.h"

namespace vks::test {

class TempDb {
public:
    TempDb()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vks-unit-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp");
        dir_ = pattern;
        storage_ = std::make_unique<SqliteStorage>(dir_ + "/club.db", 2000);
    }
    ~TempDb()
    {
        storage_.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    SqliteStorage& operator*() { return *storage_; }
    SqliteStorage* operator->() { return storage_.get(); }
    const std::string& Dir() const { return dir_; }

private:
    std::string dir_;
    std::unique_ptr<SqliteStorage> storage_;
};

inline MemberId AddMember(Storage& s, const std::string& nick, std::int64_t balance = 0)
{
    NewMember m;
    m.nick = nick;
    m.pwHash = "x";
    m.city = "Tula";
    m.countryKey = "Russia";
    m.countryCode = "1-001";
    m.sex = "M";
    m.email = "a@b.c";
    m.dateReg = "10.12.2024";
    m.balance = balance;
    if (!s.RegisterMember(m, {"zarvo"}, 1000))
        throw std::runtime_error("nick taken");
    return s.FindMember(nick)->id;
}

} // namespace vks::test
