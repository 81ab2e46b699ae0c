#pragma once
// What both storages do alike with the rows they read: texts kept as UTF-8
// and handed out as Windows-1251, nicks folded for uniqueness, the columns
// of each record in the order of the storages' SELECT lists, and how often a
// session's idle clock is written.  Row is a storage's own statement type
// with Int, Real, Text and OptInt by column.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "server/storage/storage.h"

namespace vks {

inline std::string ToDb(std::string_view cp1251) { return vk::Cp1251ToUtf8(cp1251); }
inline std::string FromDb(std::string_view utf8) { return vk::Utf8ToCp1251(utf8).value_or(std::string{}); }

// ASCII lower case: nicks differ only in letter case are one nick.
inline std::string Fold(std::string_view nick)
{
    std::string out(nick);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A session's idle clock is written only once it is this old: about once a
// minute, sooner only for very short idle limits.
inline Seconds IdleClockStep(Seconds idleLimit) { return std::max<Seconds>(std::min<Seconds>(60, idleLimit / 2), 1); }

// id, nick, pw_hash, city, country_key, country_code, sex, email, date_reg,
// balance, disabled
template <class Row>
Member MemberFrom(const Row& q)
{
    Member m;
    m.id = q.Int(0);
    m.nick = FromDb(q.Text(1));
    m.pwHash = q.Text(2);
    m.city = FromDb(q.Text(3));
    m.countryKey = FromDb(q.Text(4));
    m.countryCode = FromDb(q.Text(5));
    m.sex = q.Text(6);
    m.email = FromDb(q.Text(7));
    m.dateReg = q.Text(8);
    m.balance = q.Int(9);
    m.disabled = q.Int(10) != 0;
    return m;
}

// kon, sum_scores, rating, sessions, best, konl, score, r1, r2,
// open_cycle_id, open_cap, open_floor, open_since
template <class Row>
GameRecord GameRecordFrom(const Row& q)
{
    GameRecord r;
    r.kon = q.Int(0);
    r.sumScores = q.Int(1);
    r.rating = q.Real(2);
    r.sessions = q.Int(3);
    r.best = q.Int(4);
    r.konl = q.Int(5);
    r.score = q.Int(6);
    r.r1 = q.Int(7);
    r.r2 = FromDb(q.Text(8));
    r.openCycle = q.OptInt(9);
    r.openCap = q.OptInt(10).value_or(0);
    r.openFloor = q.OptInt(11).value_or(0);
    r.openSince = q.OptInt(12).value_or(0);
    return r;
}

// The fourteen card fields in wire order.
template <class Row>
Card CardFrom(const Row& q)
{
    Card card;
    for (int i = 0; i < 14; ++i)
        card[static_cast<std::size_t>(i)] = FromDb(q.Text(i));
    return card;
}

// score, nick, country, city, r07, r08, r09, r10 from column first on.
template <class Row>
BoardRow BoardRowFrom(const Row& q, std::int64_t place, int first = 0)
{
    return {place,
            q.Int(first),
            FromDb(q.Text(first + 1)),
            FromDb(q.Text(first + 2)),
            FromDb(q.Text(first + 3)),
            FromDb(q.Text(first + 4)),
            FromDb(q.Text(first + 5)),
            FromDb(q.Text(first + 6)),
            FromDb(q.Text(first + 7))};
}

// starts, unique_starts, likes, last_like_at, x1 .. x12
template <class Row>
StatCounters StatCountersFrom(const Row& q)
{
    StatCounters s;
    s.starts = q.Int(0);
    s.uniqueStarts = q.Int(1);
    s.likes = q.Int(2);
    s.lastLikeAt = q.OptInt(3);
    for (int i = 0; i < 12; ++i)
        s.x[static_cast<std::size_t>(i)] = q.Int(4 + i);
    return s;
}

} // namespace vks
