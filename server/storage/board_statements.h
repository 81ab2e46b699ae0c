#pragma once
// The boards' ranking and clean-up, in the SQL both dialects read (see
// sql_storage.h).  Query is a dialect's statement type, Conn its connection.
#include <cstdint>
#include <optional>
#include <vector>

#include "server/storage/storage.h"
#include "server/storage/storage_rows.h"

namespace vks {

// A row's place: one more than the rows shown above it.  Rows of members
// (the club board) are shown only at each member's best, so a member counts
// once above, and never above himself.
template <class Query, class Conn>
std::int64_t RowPlace(Conn& c, int gid, std::int64_t score, std::int64_t rowId, std::optional<MemberId> member)
{
    Query q(c, "SELECT (SELECT COUNT(*) FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id IS NULL "
               "AND (score > $2 OR (score = $2 AND id < $3))) + "
               "(SELECT COUNT(DISTINCT member_id) FROM wtt_row WHERE gid = $1 AND hidden = 0 "
               "AND member_id IS NOT NULL AND member_id IS DISTINCT FROM CAST($4 AS BIGINT) "
               "AND (score > $2 OR (score = $2 AND id < $3)))");
    q.Bind(1, gid).Bind(2, score).Bind(3, rowId).Bind(4, member);
    q.Step();
    return q.Int(0) + 1;
}

// A club row's place within its season, as the rewards count it: one more
// than the other members with a row of the season above it, where of equal
// scores the newer stands above.  Rows of earlier seasons stay on the board
// but stand above no one.
template <class Query, class Conn>
std::int64_t SeasonPlace(Conn& c, int gid, std::int64_t score, std::int64_t rowId, MemberId member, Seconds seasonStart)
{
    Query q(c, "SELECT COUNT(DISTINCT member_id) FROM wtt_row WHERE gid = $1 AND hidden = 0 "
               "AND member_id IS NOT NULL AND member_id <> $4 AND created_at >= $5 "
               "AND (score > $2 OR (score = $2 AND id > $3))");
    q.Bind(1, gid).Bind(2, score).Bind(3, rowId).Bind(4, member).Bind(5, seasonStart);
    q.Step();
    return q.Int(0) + 1;
}

// Keeps of one sender's rows on a board only those that can still be shown:
// the sender's best BoardRowsShown (what the own-rows read shows; the
// board's top rows are among them).  A club row younger than protectAfter
// stays, as its cycle may still be posted again after a lost reply.  Runs
// inside the caller's transaction, after the new row is in.
template <class Query, class Conn>
void PruneSenderRows(Conn& c, int gid, const BoardEntry& e, std::optional<MemberId> member, Seconds protectAfter)
{
    if (member) {
        Query(c, "UPDATE rating_cycle SET wtt_row_id = NULL WHERE wtt_row_id IN ("
                 "SELECT id FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id = $2 AND created_at < $3 "
                 "AND id NOT IN (SELECT id FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id = $2 "
                 "ORDER BY score DESC, id LIMIT $4))")
            .Bind(1, gid)
            .Bind(2, *member)
            .Bind(3, protectAfter)
            .Bind(4, BoardRowsShown)
            .Run();
        Query(c, "DELETE FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id = $2 AND created_at < $3 "
                 "AND id NOT IN (SELECT id FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id = $2 "
                 "ORDER BY score DESC, id LIMIT $4)")
            .Bind(1, gid)
            .Bind(2, *member)
            .Bind(3, protectAfter)
            .Bind(4, BoardRowsShown)
            .Run();
        return;
    }
    Query(c, "DELETE FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id IS NULL AND nick = $2 AND city = $3 "
             "AND id NOT IN (SELECT id FROM wtt_row WHERE gid = $1 AND hidden = 0 AND member_id IS NULL "
             "AND nick = $2 AND city = $3 ORDER BY score DESC, id LIMIT $4)")
        .Bind(1, gid)
        .Bind(2, ToDb(e.nick))
        .Bind(3, ToDb(e.city))
        .Bind(4, BoardRowsShown)
        .Run();
}

// The board's top rows.  A member's rows are shown at the member's best
// only: one member cannot fill the board with his own results.
template <class Query, class Conn>
std::vector<BoardRow> TopRows(Conn& c, int gid, int limit)
{
    Query q(c, "SELECT score, nick, country, city, r07, r08, r09, r10 FROM wtt_row r WHERE gid = $1 AND hidden = 0 "
               "AND (member_id IS NULL OR NOT EXISTS (SELECT 1 FROM wtt_row b WHERE b.gid = r.gid AND b.hidden = 0 "
               "AND b.member_id = r.member_id AND (b.score > r.score OR (b.score = r.score AND b.id < r.id)))) "
               "ORDER BY score DESC, id LIMIT $2");
    q.Bind(1, gid).Bind(2, limit);
    std::vector<BoardRow> rows;
    while (q.Step())
        rows.push_back(BoardRowFrom(q, static_cast<std::int64_t>(rows.size()) + 1));
    return rows;
}

// One sender's best rows, each at its place as RowPlace counts it.
template <class Query, class Conn>
std::vector<BoardRow> SenderRows(Conn& c, int gid, const std::string& nick, const std::string& city, int limit)
{
    Query q(c, "SELECT r.score, r.nick, r.country, r.city, r.r07, r.r08, r.r09, r.r10, 1 + "
               "(SELECT COUNT(*) FROM wtt_row o WHERE o.gid = r.gid AND o.hidden = 0 AND o.member_id IS NULL "
               " AND (o.score > r.score OR (o.score = r.score AND o.id < r.id))) + "
               "(SELECT COUNT(DISTINCT o.member_id) FROM wtt_row o WHERE o.gid = r.gid AND o.hidden = 0 "
               " AND o.member_id IS NOT NULL AND o.member_id IS DISTINCT FROM r.member_id "
               " AND (o.score > r.score OR (o.score = r.score AND o.id < r.id))) "
               "FROM wtt_row r WHERE r.gid = $1 AND r.hidden = 0 AND r.nick = $2 AND r.city = $3 "
               "ORDER BY r.score DESC, r.id LIMIT $4");
    q.Bind(1, gid).Bind(2, ToDb(nick)).Bind(3, ToDb(city)).Bind(4, limit);
    std::vector<BoardRow> rows;
    while (q.Step())
        rows.push_back(BoardRowFrom(q, q.Int(8)));
    return rows;
}

} // namespace vks
