#pragma once
// Small helpers shared by the server's own probe tests: request bodies as
// the client writes them, a read-only look into the database.
#include <cstdint>
#include <string>

#include "server_harness.h"
#include "test_database.h"

namespace vk::test {

inline std::string RegisterBody(const std::string& nick, const std::string& pw = "secret12",
                                const std::string& city = "Tula", const std::string& country1 = "Russia",
                                const std::string& country2 = "1-001", const std::string& email = "nomad@example.org",
                                const std::string& r04 = "0")
{
    return "nick=" + nick + "&pw=" + pw + "&city=" + city + "&country1=" + country1 + "&country2=" + country2
           + "&sex=M&email=" + email + "&dater=10.12.2024&R01=xxx&R02=xxx&R03=xxx&R04=" + r04 + "&R05=0&R06=0";
}

inline std::string LoginBody(const std::string& nick, const std::string& pw = "secret12")
{
    return "nick=" + nick + "&pw=" + pw + "&label0=0";
}

// Registers and logs in; the session token.
inline std::string Member(int port, const std::string& nick, const std::string& pw = "secret12")
{
    Post(port, "/club/account", RegisterBody(nick, pw));
    return Post(port, "/club/account", LoginBody(nick, pw)).SessionCookie().value_or("");
}

inline std::string AddBalanceBody(const std::string& nick, long long amount)
{
    return "nick=" + nick + "&labeltevsave=0&R04=" + std::to_string(amount);
}

// A save of the game record as the client sends it (password "secret12").
inline std::string SaveGameBody(const std::string& nick, long kon, long best, const std::string& rating, long ses,
                                long konl, long score)
{
    return "nick=" + nick + "&pw=secret12&zarvokon=" + std::to_string(kon) + "&zarvobest=" + std::to_string(best)
           + "&zarvorating=" + rating + "&zarvoses=" + std::to_string(ses) + "&zarvokonl=" + std::to_string(konl)
           + "&zarvoscore=" + std::to_string(score) + "&zarvoR1=0&zarvoR2=#";
}

// A world top ten or chat entry as the client sends it.
inline std::string SubmitBody(int gid, const std::string& nick, const std::string& city, int score,
                              const std::string& r9 = "#", const std::string& r10 = "#")
{
    return "gid=" + std::to_string(gid) + "&nick=" + nick + "&city=" + city
           + "&country=1-007&score=" + std::to_string(score) + "&R7=M&R8=4.3&R9=" + r9 + "&R10=" + r10 + "*";
}

// One number from the database (-1 without a row, 0 for NULL).
inline std::int64_t DbNumber(const std::string& db, const std::string& sql)
{
    const auto cell = DbFirst(db, sql);
    return !cell.found ? -1 : cell.null ? 0 : std::stoll(cell.text);
}

inline std::string DbText(const std::string& db, const std::string& sql)
{
    const auto cell = DbFirst(db, sql);
    return cell.found ? cell.text : "<no answer>";
}

// Every row of every table but the sessions (whose idle clocks move with
// every request), as text: two snapshots are equal when nothing changed.
inline std::string DbSnapshot(const std::string& db)
{
    std::string out;
    for (const char* table : {"member", "info_card", "photo", "ledger", "transfer", "game_record", "rating_cycle",
                              "wtt_board", "wtt_row", "stat_counter", "like_seen"})
        out += std::string("[") + table + "]\n" + DbRows(db, std::string("SELECT * FROM ") + table + " ORDER BY 1");
    return out;
}

// The money invariants: every balance is the sum of its ledger, transfers
// sum to zero, nothing is negative.  Empty when they hold.
inline std::string MoneyInvariants(const std::string& db)
{
    std::string broken;
    if (DbNumber(db, "SELECT COUNT(*) FROM member m WHERE m.balance <> "
                     "(SELECT COALESCE(SUM(delta), 0) FROM ledger l WHERE l.member_id = m.id)")
        != 0)
        broken += "a balance differs from its ledger; ";
    if (DbNumber(db, "SELECT COALESCE(SUM(delta), 0) FROM ledger WHERE kind IN ('transfer_in','transfer_out')") != 0)
        broken += "transfers do not sum to zero; ";
    if (DbNumber(db, "SELECT COUNT(*) FROM member WHERE balance < 0") != 0)
        broken += "a negative balance; ";
    if (DbNumber(db, "SELECT COUNT(*) FROM transfer t WHERE 2 <> "
                     "(SELECT COUNT(*) FROM ledger l WHERE l.transfer_id = t.id)")
        != 0)
        broken += "a transfer without its two ledger rows; ";
    return broken;
}

} // namespace vk::test
