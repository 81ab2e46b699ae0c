#pragma once
// The operations of SqlStorage, included by each dialect's source file
// and instantiated there once.
#include <sodium.h>

#include "common/club_rules.h"
#include "server/storage/board_statements.h"
#include "server/storage/sql_storage.h"
#include "server/storage/storage_rows.h"

namespace vks {

namespace sql {

inline constexpr std::int64_t kMaxBalance = 2147483647;

inline const char* BoardKindText(BoardKind kind)
{
    switch (kind) {
    case BoardKind::Open: return "open";
    case BoardKind::ReadOnly: return "readonly";
    case BoardKind::Club: return "club";
    case BoardKind::Chat: break;
    }
    return "chat";
}

// The statement that adds a deal report to the twelve counters, each capped
// at the largest 32-bit number.
inline const char* CountDealSql()
{
    static const std::string sql = [] {
        std::string s = "UPDATE stat_counter SET ";
        for (int i = 1; i <= 12; ++i) {
            const std::string x = "x" + std::to_string(i), p = "$" + std::to_string(i);
            s += x + " = CASE WHEN " + x + " + " + p + " > 2147483647 THEN 2147483647 ELSE " + x + " + " + p + " END"
                 + (i < 12 ? ", " : " ");
        }
        return s + "WHERE gid = $13";
    }();
    return sql.c_str();
}

// The member's row must be locked by the caller: balance_after is read from it.
template <class Query, class Conn>
void AddLedger(Conn& c, MemberId id, std::int64_t delta, const char* kind, std::optional<std::int64_t> transfer,
               std::optional<std::int64_t> cycle, Seconds now)
{
    Query(c, "INSERT INTO ledger (member_id, delta, balance_after, kind, transfer_id, cycle_id, created_at) "
             "SELECT id, CAST($1 AS BIGINT), balance, $2, CAST($3 AS BIGINT), CAST($4 AS BIGINT), CAST($5 AS BIGINT) "
             "FROM member WHERE id = $6")
        .Bind(1, delta)
        .Bind(2, kind)
        .Bind(3, transfer)
        .Bind(4, cycle)
        .Bind(5, now)
        .Bind(6, id)
        .Run();
}

// Counts the entry and locks the board's row until the transaction ends, so
// entries of one board (and the chat's numbering) follow one another.
template <class Query, class Conn>
void LockBoard(Conn& c, int gid)
{
    Query(c, "UPDATE wtt_board SET accepted_total = accepted_total + 1 WHERE gid = $1").Bind(1, gid).Run();
}

template <class Query, class Conn>
std::int64_t InsertRow(Conn& c, int gid, const BoardEntry& e, std::optional<MemberId> member, Seconds now)
{
    Query q(c, "INSERT INTO wtt_row (gid, score, nick, country, city, r07, r08, r09, r10, member_id, created_at, src) "
               "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) RETURNING id");
    q.Bind(1, gid)
        .Bind(2, e.score)
        .Bind(3, ToDb(e.nick))
        .Bind(4, ToDb(e.country))
        .Bind(5, ToDb(e.city))
        .Bind(6, ToDb(e.r07))
        .Bind(7, ToDb(e.r08))
        .Bind(8, ToDb(e.r09))
        .Bind(9, ToDb(e.r10))
        .Bind(10, member)
        .Bind(11, now)
        .Bind(12, e.source);
    q.Step();
    return q.Int(0);
}

// The first column of the row the key finds, or 0 when there is none.
template <class Query, class Conn, class Key>
std::int64_t NumberOrZero(Conn& c, const char* sql, const Key& key)
{
    Query q(c, sql);
    q.Bind(1, key);
    return q.Step() ? q.Int(0) : 0;
}

// Keeps of a member's tokens in table (session or device) the newest keep.
// The oldest are those made first (seq), whatever the clocks of the
// processes that made them said.
template <class Query, class Conn>
void KeepNewestTokens(Conn& c, const std::string& table, MemberId id, int keep)
{
    const std::string text = "DELETE FROM " + table
                             + " WHERE member_id = $1 AND token_hash NOT IN (SELECT token_hash FROM " + table
                             + " WHERE member_id = $1 ORDER BY seq DESC LIMIT $2)";
    Query(c, text.c_str()).Bind(1, id).Bind(2, keep).Run();
}

inline constexpr const char* kGameRecordSelect =
    "SELECT kon, sum_scores, rating, sessions, best, konl, score, r1, r2, open_cycle_id, open_cap, "
    "open_floor, open_since FROM game_record WHERE member_id = $1 AND game_key = $2";

} // namespace sql

// ---------------------------------------------------------------- schema

// One rule for both databases: an empty database gets the dialect's schema
// file whole; one made before gives its schema_version, which must be the
// version this program's file records (after the dialect's Upgrade, which
// only adds tables), else the server refuses it rather than change it in
// place.  A database with club tables but no version is
// the dialect's to judge (AdoptUnversioned).
template <class D>
void SqlStorage<D>::PrepareSchema()
{
    d_.InTransaction([&](Conn& c, Transaction& t) {
        d_.LockSchema(c);
        if (!d_.HasTable(c, "schema_version")) {
            if (d_.HasTable(c, "member"))
                d_.AdoptUnversioned(c);
            else
                c.Exec(D::SchemaText());
        }
        auto readVersion = [&] {
            Query q(c, "SELECT MAX(version) FROM schema_version");
            q.Step();
            return q.Int(0);
        };
        auto version = readVersion();
        if (version < SchemaVersion()) {
            // Versions that only add tables are brought up to date in place.
            d_.Upgrade(c, static_cast<int>(version));
            version = readVersion();
        }
        if (version != SchemaVersion())
            throw StorageError("the database has schema version " + std::to_string(version)
                               + ", this server reads version " + std::to_string(SchemaVersion()));
        t.Commit();
        return true;
    });
}

// ---------------------------------------------------------------- members

template <class D>
bool SqlStorage<D>::RegisterMember(const NewMember& m, const std::vector<std::string>& gameKeys, Seconds now)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        MemberId id = 0;
        {
            // The unique fold decides, also between two registrations at
            // once: the later one finds the nick taken instead of failing.
            Query q(c, "INSERT INTO member (nick, nick_fold, pw_hash, city, country_key, country_code, sex, email, "
                       "date_reg, balance, created_at) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) "
                       "ON CONFLICT (nick_fold) DO NOTHING RETURNING id");
            q.Bind(1, ToDb(m.nick))
                .Bind(2, Fold(m.nick))
                .Bind(3, m.pwHash)
                .Bind(4, ToDb(m.city))
                .Bind(5, ToDb(m.countryKey))
                .Bind(6, ToDb(m.countryCode))
                .Bind(7, m.sex)
                .Bind(8, ToDb(m.email))
                .Bind(9, m.dateReg)
                .Bind(10, m.balance)
                .Bind(11, now);
            if (!q.Step())
                return false;
            id = q.Int(0);
        }
        Query(c, "INSERT INTO info_card (member_id) VALUES ($1)").Bind(1, id).Run();
        for (const auto& key : gameKeys)
            Query(c, "INSERT INTO game_record (member_id, game_key) VALUES ($1, $2)").Bind(1, id).Bind(2, key).Run();
        if (m.balance != 0)
            sql::AddLedger<Query>(c, id, m.balance, "admin", std::nullopt, std::nullopt, now);
        t.Commit();
        return true;
    });
}

template <class D>
std::optional<Member> SqlStorage<D>::FindMember(std::string_view nick)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT id, nick, pw_hash, city, country_key, country_code, sex, email, date_reg, balance, "
                    "disabled FROM member WHERE nick = $1");
    q.Bind(1, ToDb(nick));
    if (!q.Step())
        return std::nullopt;
    return MemberFrom(q);
}

template <class D>
bool SqlStorage<D>::NickTaken(std::string_view nick)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT 1 FROM member WHERE nick_fold = $1");
    q.Bind(1, Fold(nick));
    return q.Step();
}

template <class D>
void SqlStorage<D>::UpdatePasswordHash(MemberId id, const std::string& hash)
{
    auto lease = d_.Acquire();
    Query(*lease, "UPDATE member SET pw_hash = $1 WHERE id = $2").Bind(1, hash).Bind(2, id).Run();
}

template <class D>
void SqlStorage<D>::RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from)
{
    auto lease = d_.Acquire();
    Query(*lease, "UPDATE member SET last_login_at = $1, last_login_client = $2, last_login_from = $3 WHERE id = $4")
        .Bind(1, now)
        .Bind(2, clientStamp)
        .Bind(3, ToDb(from))
        .Bind(4, id)
        .Run();
}

template <class D>
std::int64_t SqlStorage<D>::CountMembers()
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM member WHERE disabled = 0");
    q.Step();
    return q.Int(0);
}

// ---------------------------------------------------------------- sessions

template <class D>
void SqlStorage<D>::CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                                  const std::string& passwordCheck)
{
    d_.InTransaction([&](Conn& c, Transaction& t) {
        // Logins of one member on several processes at once follow one
        // another here, so each sees the others' sessions when it counts.
        Query(c, "SELECT id FROM member WHERE id = $1 FOR NO KEY UPDATE").Bind(1, id).Run();
        Query(c, "INSERT INTO session (token_hash, member_id, created_at, last_seen_at, expires_at, pw_check) "
                 "VALUES ($1, $2, $3, $3, $4, $5)")
            .BindBytes(1, tokenHash)
            .Bind(2, id)
            .Bind(3, now)
            .Bind(4, expiresAt)
            .BindBytes(5, passwordCheck)
            .Run();
        sql::KeepNewestTokens<Query>(c, "session", id, vk::SessionsPerMember);
        t.Commit();
        return true;
    });
}

template <class D>
void SqlStorage<D>::SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck)
{
    auto lease = d_.Acquire();
    Query(*lease, "UPDATE session SET pw_check = $1 WHERE token_hash = $2")
        .BindBytes(1, passwordCheck)
        .BindBytes(2, tokenHash)
        .Run();
}

template <class D>
std::optional<SessionInfo> SqlStorage<D>::UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit)
{
    auto lease = d_.Acquire();
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
            .Bind(1, now)
            .BindBytes(2, tokenHash)
            .Bind(3, now - IdleClockStep(idleLimit))
            .Run();
    } catch (const StorageError&) {
    }
    return info;
}

template <class D>
void SqlStorage<D>::DeleteSession(const std::string& tokenHash)
{
    auto lease = d_.Acquire();
    Query(*lease, "DELETE FROM session WHERE token_hash = $1").BindBytes(1, tokenHash).Run();
}

template <class D>
void SqlStorage<D>::PurgeSessions(Seconds now, Seconds idleLimit)
{
    auto lease = d_.Acquire();
    Query(*lease, "DELETE FROM session WHERE expires_at <= $1 OR last_seen_at < $2")
        .Bind(1, now)
        .Bind(2, now - idleLimit)
        .Run();
}

// ---------------------------------------------------------------- devices

template <class D>
void SqlStorage<D>::CreateDevice(const std::string& tokenHash, MemberId id, Seconds now)
{
    d_.InTransaction([&](Conn& c, Transaction& t) {
        Query(c, "SELECT id FROM member WHERE id = $1 FOR NO KEY UPDATE").Bind(1, id).Run();
        Query(c, "INSERT INTO device (token_hash, member_id, created_at, last_used_at) VALUES ($1, $2, $3, $3)")
            .BindBytes(1, tokenHash)
            .Bind(2, id)
            .Bind(3, now)
            .Run();
        sql::KeepNewestTokens<Query>(c, "device", id, vk::DevicesPerMember);
        t.Commit();
        return true;
    });
}

template <class D>
bool SqlStorage<D>::UseDevice(const std::string& tokenHash, MemberId id, Seconds now, Seconds usedAfter)
{
    auto lease = d_.Acquire();
    return Query(*lease, "UPDATE device SET last_used_at = $1 WHERE token_hash = $2 AND member_id = $3 "
                         "AND last_used_at >= $4")
               .Bind(1, now)
               .BindBytes(2, tokenHash)
               .Bind(3, id)
               .Bind(4, usedAfter)
               .Run()
           == 1;
}

template <class D>
void SqlStorage<D>::PurgeDevices(Seconds usedBefore)
{
    auto lease = d_.Acquire();
    Query(*lease, "DELETE FROM device WHERE last_used_at < $1").Bind(1, usedBefore).Run();
}

// ---------------------------------------------------------------- cards

template <class D>
Card SqlStorage<D>::ReadCard(MemberId id)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT name1, name2, about, telephone, emailo, website, skype, ok, vk, telegram, facebook, "
                    "twitter, instagramm, youtube FROM info_card WHERE member_id = $1");
    q.Bind(1, id);
    if (!q.Step())
        return Card();
    return CardFrom(q);
}

template <class D>
void SqlStorage<D>::SaveCard(MemberId id, const Card& card, Seconds now)
{
    auto lease = d_.Acquire();
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

// ---------------------------------------------------------------- currency

template <class D>
std::int64_t SqlStorage<D>::Balance(MemberId id)
{
    auto lease = d_.Acquire();
    return sql::NumberOrZero<Query>(*lease, "SELECT balance FROM member WHERE id = $1", id);
}

template <class D>
TransferResult SqlStorage<D>::Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                                       Seconds now, Seconds owedUntil)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        // Both members' rows, in the order of their numbers: two transfers
        // between the same two members in opposite directions then wait for
        // each other instead of deadlocking.
        Query(c, "SELECT id FROM member WHERE id IN ($1, $2) ORDER BY id FOR UPDATE").Bind(1, from).Bind(2, to).Run();
        if (Query(c, "UPDATE member SET balance = balance - $1 WHERE id = $2 AND balance >= $1")
                .Bind(1, amount)
                .Bind(2, from)
                .Run()
            != 1)
            return TransferResult::Insufficient;
        if (Query(c, "UPDATE member SET balance = balance + $1 WHERE id = $2 AND balance <= $3")
                .Bind(1, amount)
                .Bind(2, to)
                .Bind(3, sql::kMaxBalance - amount)
                .Run()
            != 1)
            return TransferResult::Overflow;
        std::int64_t transferId = 0;
        {
            Query q(c, "INSERT INTO transfer (from_member, to_member, amount, created_at) VALUES ($1, $2, $3, $4) "
                       "RETURNING id");
            q.Bind(1, from).Bind(2, to).Bind(3, amount).Bind(4, now);
            q.Step();
            transferId = q.Int(0);
        }
        sql::AddLedger<Query>(c, from, -amount, "transfer_out", transferId, std::nullopt, now);
        sql::AddLedger<Query>(c, to, amount, "transfer_in", transferId, std::nullopt, now);
        Query(c,
              "UPDATE session SET owed_debit = $1, owed_debit_until = $2, owed_transfer_id = $3 WHERE token_hash = $4")
            .Bind(1, amount)
            .Bind(2, owedUntil)
            .Bind(3, transferId)
            .BindBytes(4, tokenHash)
            .Run();
        t.Commit();
        return TransferResult::Done;
    });
}

template <class D>
bool SqlStorage<D>::AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
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
                 "WHERE token_hash = $1")
            .BindBytes(1, tokenHash)
            .Run();
        Query(c, "UPDATE transfer SET debit_acknowledged_at = $1 WHERE id = $2").Bind(1, now).Bind(2, transferId).Run();
        t.Commit();
        return true;
    });
}

template <class D>
bool SqlStorage<D>::AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        std::int64_t cycle = 0;
        {
            Query q(
                c, "SELECT id, reward, reward_ack_at FROM rating_cycle WHERE member_id = $1 AND wtt_row_id IS NOT NULL "
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

template <class D>
GameRecord SqlStorage<D>::ReadGame(MemberId id, const std::string& key)
{
    auto lease = d_.Acquire();
    Query q(*lease, sql::kGameRecordSelect);
    q.Bind(1, id).Bind(2, key);
    return q.Step() ? GameRecordFrom(q) : GameRecord{};
}

template <class D>
GameDecision SqlStorage<D>::SaveGame(MemberId id, const std::string& key, Seconds now,
                                     const std::function<GameDecision(const GameSnapshot&)>& decide)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        Query(c, "INSERT INTO game_record (member_id, game_key) VALUES ($1, $2) "
                 "ON CONFLICT (member_id, game_key) DO NOTHING")
            .Bind(1, id)
            .Bind(2, key)
            .Run();
        GameSnapshot snap;
        {
            // Saves of one member's record follow one another.
            static const std::string locked = std::string(sql::kGameRecordSelect) + " FOR UPDATE";
            Query q(c, locked.c_str());
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
            Query q(c, "SELECT COUNT(CASE WHEN started_at > $1 THEN 1 END), COUNT(*) FROM rating_cycle "
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
        case Transition::Refused: return d;
        case Transition::StartNew: {
            Query q(
                c,
                "INSERT INTO rating_cycle (member_id, game_key, kon, started_at) VALUES ($1, $2, $3, $4) RETURNING id");
            q.Bind(1, id).Bind(2, key).Bind(3, u.kon).Bind(4, now);
            q.Step();
            u.openCycle = q.Int(0);
            break;
        }
        case Transition::Resume: break;
        case Transition::Suspend:
            Query(c,
                  "UPDATE rating_cycle SET suspended_at = $1, suspended_deal = $2, suspended_score = $3 WHERE id = $4")
                .Bind(1, now)
                .Bind(2, u.konl)
                .Bind(3, u.score)
                .Bind(4, snap.record.openCycle)
                .Run();
            u.openCycle.reset();
            break;
        case Transition::Complete:
            Query(c, "UPDATE rating_cycle SET completed_at = $1, final_score = $2 WHERE id = $3")
                .Bind(1, now)
                .Bind(2, d.finalScore)
                .Bind(3, snap.record.openCycle)
                .Run();
            u.openCycle.reset();
            break;
        }
        Query(c, "UPDATE game_record SET kon = $1, sum_scores = $2, rating = $3, sessions = $4, best = $5, konl = $6, "
                 "score = $7, open_cycle_id = $8, open_cap = $9, open_floor = $10, open_since = $11 "
                 "WHERE member_id = $12 AND game_key = $13")
            .Bind(1, u.kon)
            .Bind(2, u.sumScores)
            .Bind(3, u.rating)
            .Bind(4, u.sessions)
            .Bind(5, u.best)
            .Bind(6, u.konl)
            .Bind(7, u.score)
            .Bind(8, u.openCycle)
            .Bind(9, u.openCap)
            .Bind(10, u.openFloor)
            .Bind(11, u.openSince)
            .Bind(12, id)
            .Bind(13, key)
            .Run();
        t.Commit();
        d.updated = u;
        return d;
    });
}

template <class D>
std::vector<TopTenRow> SqlStorage<D>::ClubTopTen(const std::string& key)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT m.nick, m.city, m.country_key, m.country_code, m.sex, g.rating FROM game_record g "
                    "JOIN member m ON m.id = g.member_id WHERE g.game_key = $1 AND g.kon >= 1 AND m.disabled = 0 "
                    "ORDER BY g.rating DESC, g.sessions DESC, g.member_id LIMIT 10");
    q.Bind(1, key);
    std::vector<TopTenRow> rows;
    while (q.Step())
        rows.push_back(
            {FromDb(q.Text(0)), FromDb(q.Text(1)), FromDb(q.Text(2)), FromDb(q.Text(3)), q.Text(4), q.Real(5)});
    return rows;
}

template <class D>
std::int64_t SqlStorage<D>::ClubPlace(const std::string& key, double rating)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT COUNT(*) FROM game_record g JOIN member m ON m.id = g.member_id "
                    "WHERE g.game_key = $1 AND g.kon >= 1 AND m.disabled = 0 AND g.rating > $2");
    q.Bind(1, key).Bind(2, rating);
    q.Step();
    return q.Int(0) + 1;
}

template <class D>
bool SqlStorage<D>::InAnyClubTopTen(MemberId id)
{
    auto lease = d_.Acquire();
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

template <class D>
void SqlStorage<D>::EnsureBoard(int gid, BoardKind kind)
{
    auto lease = d_.Acquire();
    Query(*lease,
          "INSERT INTO wtt_board (gid, kind) VALUES ($1, $2) ON CONFLICT (gid) DO UPDATE SET kind = excluded.kind")
        .Bind(1, gid)
        .Bind(2, sql::BoardKindText(kind))
        .Run();
}

template <class D>
std::int64_t SqlStorage<D>::SubmitResult(int gid, const BoardEntry& entry, Seconds now)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        sql::LockBoard<Query>(c, gid);
        const auto rowId = sql::InsertRow<Query>(c, gid, entry, std::nullopt, now);
        PruneSenderRows<Query>(c, gid, entry, std::nullopt, now);
        const auto place = RowPlace<Query>(c, gid, entry.score, rowId, std::nullopt);
        t.Commit();
        return place;
    });
}

template <class D>
std::int64_t SqlStorage<D>::SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        // The board's row is locked first, so the next number is read only
        // after the previous message is committed.
        sql::LockBoard<Query>(c, gid);
        BoardEntry e = entry;
        {
            Query q(c, "SELECT COALESCE(MAX(score), 0) FROM wtt_row WHERE gid = $1");
            q.Bind(1, gid);
            q.Step();
            e.score = q.Int(0) + 1;
        }
        const auto rowId = sql::InsertRow<Query>(c, gid, e, std::nullopt, now);
        Query(c, "DELETE FROM wtt_row WHERE gid = $1 AND score <= $2").Bind(1, gid).Bind(2, e.score - keep).Run();
        const auto place = RowPlace<Query>(c, gid, e.score, rowId, std::nullopt);
        t.Commit();
        return place;
    });
}

template <class D>
std::optional<std::int64_t> SqlStorage<D>::SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                            const BoardEntry& entry, Seconds now, Seconds window,
                                                            Seconds seasonS)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) -> std::optional<std::int64_t> {
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
            Query q(c, "SELECT score, created_at FROM wtt_row WHERE id = $1");
            q.Bind(1, *existingRow);
            if (!q.Step())
                return std::nullopt;
            const auto score = q.Int(0);
            return SeasonPlace<Query>(c, gid, score, *existingRow, id, vk::SeasonStart(q.Int(1), seasonS));
        }
        sql::LockBoard<Query>(c, gid);
        const auto rowId = sql::InsertRow<Query>(c, gid, entry, id, now);
        const auto place = SeasonPlace<Query>(c, gid, entry.score, rowId, id, vk::SeasonStart(now, seasonS));
        std::optional<std::int64_t> reward;
        if (const std::int64_t amount = vk::PlaceReward(place); amount > 0) {
            // A balance at its ceiling takes no reward; the entry stands.
            if (Query(c, "UPDATE member SET balance = balance + $1 WHERE id = $2 AND balance <= $3")
                    .Bind(1, amount)
                    .Bind(2, id)
                    .Bind(3, sql::kMaxBalance - amount)
                    .Run()
                == 1) {
                sql::AddLedger<Query>(c, id, amount, "reward", std::nullopt, cycle, now);
                reward = amount;
            }
        }
        Query(c, "UPDATE rating_cycle SET wtt_row_id = $1, reward = $2 WHERE id = $3")
            .Bind(1, rowId)
            .Bind(2, reward)
            .Bind(3, cycle)
            .Run();
        PruneSenderRows<Query>(c, gid, entry, id, now - window);
        t.Commit();
        return place;
    });
}

template <class D>
std::vector<BoardRow> SqlStorage<D>::Board(int gid, int limit)
{
    auto lease = d_.Acquire();
    return TopRows<Query>(*lease, gid, limit);
}

template <class D>
std::vector<BoardRow> SqlStorage<D>::OwnRows(int gid, const std::string& nick, const std::string& city, int limit)
{
    auto lease = d_.Acquire();
    return SenderRows<Query>(*lease, gid, nick, city, limit);
}

template <class D>
std::int64_t SqlStorage<D>::AcceptedCount(int gid)
{
    auto lease = d_.Acquire();
    return sql::NumberOrZero<Query>(*lease, "SELECT accepted_total FROM wtt_board WHERE gid = $1", gid);
}

// ---------------------------------------------------------------- statistics

template <class D>
void SqlStorage<D>::EnsureStatCounter(int gid)
{
    auto lease = d_.Acquire();
    Query(*lease, "INSERT INTO stat_counter (gid) VALUES ($1) ON CONFLICT (gid) DO NOTHING").Bind(1, gid).Run();
}

template <class D>
void SqlStorage<D>::CountLaunch(int gid, bool unique)
{
    auto lease = d_.Acquire();
    Query(*lease,
          "UPDATE stat_counter SET "
          "starts = CASE WHEN starts < 2147483647 THEN starts + 1 ELSE starts END, "
          "unique_starts = CASE WHEN unique_starts + $1 > 2147483647 THEN 2147483647 ELSE unique_starts + $1 END "
          "WHERE gid = $2")
        .Bind(1, unique ? 1 : 0)
        .Bind(2, gid)
        .Run();
}

template <class D>
void SqlStorage<D>::CountDeal(int gid, const std::array<std::int64_t, 12>& r)
{
    auto lease = d_.Acquire();
    Query q(*lease, sql::CountDealSql());
    for (int i = 0; i < 12; ++i)
        q.Bind(i + 1, r[static_cast<std::size_t>(i)]);
    q.Bind(13, gid).Run();
}

template <class D>
bool SqlStorage<D>::CountLike(int gid, const std::string& source, const std::string& day, Seconds now)
{
    return d_.InTransaction([&](Conn& c, Transaction& t) {
        // Only today's likes decide anything; earlier days are let go.
        Query(c, "DELETE FROM like_seen WHERE gid = $1 AND day <> $2").Bind(1, gid).Bind(2, day).Run();
        if (Query(c, "INSERT INTO like_seen (gid, src, day) VALUES ($1, $2, $3) ON CONFLICT (gid, src, day) DO NOTHING")
                .Bind(1, gid)
                .Bind(2, source)
                .Bind(3, day)
                .Run()
            != 1) {
            t.Commit();
            return false;
        }
        Query(c, "UPDATE stat_counter SET likes = CASE WHEN likes < 2147483647 THEN likes + 1 ELSE likes END, "
                 "last_like_at = $1 WHERE gid = $2")
            .Bind(1, now)
            .Bind(2, gid)
            .Run();
        t.Commit();
        return true;
    });
}

template <class D>
StatCounters SqlStorage<D>::ReadStats(int gid)
{
    auto lease = d_.Acquire();
    Query q(*lease, "SELECT starts, unique_starts, likes, last_like_at, x1, x2, x3, x4, x5, x6, x7, x8, x9, x10, x11, "
                    "x12 FROM stat_counter WHERE gid = $1");
    q.Bind(1, gid);
    return q.Step() ? StatCountersFrom(q) : StatCounters{};
}

template <class D>
std::string SqlStorage<D>::ServerSecret()
{
    {
        std::lock_guard lock(secretMutex_);
        if (!secret_.empty())
            return secret_;
    }
    auto lease = d_.Acquire();
    auto& c = *lease;
    std::string fresh(32, '\0');
    randombytes_buf(fresh.data(), fresh.size());
    Query(c, "INSERT INTO server_secret (id, secret) VALUES (1, $1) ON CONFLICT (id) DO NOTHING")
        .BindBytes(1, fresh)
        .Run();
    Query q(c, "SELECT secret FROM server_secret WHERE id = 1");
    if (!q.Step())
        throw StorageError("no server secret");
    std::lock_guard lock(secretMutex_);
    secret_ = q.Bytes(0);
    return secret_;
}

} // namespace vks
