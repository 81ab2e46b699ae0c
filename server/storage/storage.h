#pragma once
// Everything the server remembers lives behind this interface, sessions
// included, so that several server processes can share one database.  Texts
// cross it as Windows-1251 bytes, like every other text of the program; how
// they are kept is the implementation's affair.  Operations that move money
// or change a rating run whole or not at all.  A database fault is thrown as
// StorageError and answered as a server fault.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vks {

class LimitEvents;

struct StorageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using MemberId = std::int64_t;
using Seconds = std::int64_t; // Unix time

struct Member {
    MemberId id = 0;
    std::string nick, pwHash, city, countryKey, countryCode, sex, email, dateReg;
    std::int64_t balance = 0;
    bool disabled = false;
};

struct NewMember {
    std::string nick, pwHash, city, countryKey, countryCode, sex, email, dateReg;
    std::int64_t balance = 0;
};

// Card fields in wire order: namei name2 about telephone emailo website skype
// ok vk telegram facebook twitter instagramm youtube.
using Card = std::array<std::string, 14>;

struct SessionInfo {
    MemberId memberId = 0;
    std::string nick;
    std::string passwordCheck; // keyed with the token; empty until a password passed
};

enum class BoardKind { Open, ReadOnly, Club, Chat };

// Rows a board read and an own-rows read show.
inline constexpr int BoardRowsShown = 10;

struct BoardEntry {
    std::string nick, country, city, r07, r08, r09, r10; // r10 without its "*"
    std::int64_t score = 0;
    std::string source; // keyed hash of the sender's address
};

struct BoardRow {
    std::int64_t place = 0;
    std::int64_t score = 0;
    std::string nick, country, city, r07, r08, r09, r10;
};

struct TopTenRow {
    std::string nick, city, countryKey, countryCode, sex;
    double rating = 0;
};

struct GameRecord {
    std::int64_t kon = 0;
    std::int64_t sumScores = 0;
    double rating = 0;
    std::int64_t sessions = 0;
    std::int64_t best = 0;
    std::int64_t konl = 0;
    std::int64_t score = 0;
    std::int64_t r1 = 0;
    std::string r2 = "#";
    // A registered, running cycle and the bounds of its next save.
    std::optional<std::int64_t> openCycle;
    std::int64_t openCap = 0;
    std::int64_t openFloor = 0;
    Seconds openSince = 0;
};

struct CycleInfo {
    std::int64_t id = 0;
    std::int64_t kon = 0;
    Seconds startedAt = 0;
    std::optional<Seconds> completedAt;
    std::optional<std::int64_t> finalScore;
};

// What a save of the game record sees, read inside its transaction.
struct GameSnapshot {
    GameRecord record;
    std::optional<CycleInfo> lastCycle; // the newest cycle row
    std::int64_t startsInLastHour = 0;
    std::int64_t startsInLastDay = 0; // cycles begun within the last 24 hours
};

enum class Transition { Repeat, StartNew, Resume, Suspend, Complete, RepeatComplete, Refused };

struct GameDecision {
    Transition transition = Transition::Refused;
    GameRecord updated;          // the record after the save (changing transitions)
    std::int64_t finalScore = 0; // Complete
};

enum class TransferResult { Done, Insufficient, Overflow };

struct StatCounters {
    std::int64_t starts = 0, uniqueStarts = 0, likes = 0;
    std::optional<Seconds> lastLikeAt;
    std::array<std::int64_t, 12> x{};
};

class Storage {
public:
    virtual ~Storage() = default;

    // --- members
    // False when the nick is taken in any letter case.
    virtual bool RegisterMember(const NewMember& member, const std::vector<std::string>& gameKeys, Seconds now) = 0;
    virtual std::optional<Member> FindMember(std::string_view nick) = 0; // exact nick
    virtual bool NickTaken(std::string_view nick) = 0;                   // in any letter case
    virtual void UpdatePasswordHash(MemberId id, const std::string& hash) = 0;
    virtual void RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from) = 0;
    virtual std::int64_t CountMembers() = 0;

    // --- sessions (only a hash of the token is ever stored)
    // Keeps the member's newest vk::SessionsPerMember sessions.
    virtual void CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                               const std::string& passwordCheck) = 0;
    virtual void SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck) = 0;
    // The member of a live session, its idle time renewed (at most about once
    // a minute, and only where the database is not busy: a read never fails
    // for it); nothing when the session is unknown, expired or its member
    // disabled.
    virtual std::optional<SessionInfo> UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit) = 0;
    virtual void DeleteSession(const std::string& tokenHash) = 0;
    virtual void PurgeSessions(Seconds now, Seconds idleLimit) = 0;

    // --- device tokens: the long-lived mark of a computer the member logged
    // in from (only a hash of the token is ever stored).  Keeps the member's
    // newest vk::DevicesPerMember.
    virtual void CreateDevice(const std::string& tokenHash, MemberId id, Seconds now) = 0;
    // True when the token is the member's and was used after usedAfter; its
    // use is then recorded.
    virtual bool UseDevice(const std::string& tokenHash, MemberId id, Seconds now, Seconds usedAfter) = 0;
    virtual void PurgeDevices(Seconds usedBefore) = 0;

    // --- cards and photos
    virtual Card ReadCard(MemberId id) = 0;
    virtual void SaveCard(MemberId id, const Card& card, Seconds now) = 0;
    // The member's photo (JPEG bytes) replaces the previous one whole.
    virtual void SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now) = 0;
    virtual std::optional<std::string> ReadPhoto(MemberId id) = 0;

    // --- currency
    virtual std::int64_t Balance(MemberId id) = 0;
    // Debits the sender, credits the receiver, writes the ledger and the
    // transfer, and leaves the debit request still owed on the sender's session.
    virtual TransferResult Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                                    Seconds now, Seconds owedUntil) = 0;
    // The client's own "-amount" after a transfer: true once, when it matches.
    virtual bool AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now) = 0;
    // The client's own "+reward" after a club board entry: true once, when the
    // member's newest entered cycle earned exactly that reward.
    virtual bool AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now) = 0;

    // --- rating games
    virtual GameRecord ReadGame(MemberId id, const std::string& key) = 0;
    virtual GameDecision SaveGame(MemberId id, const std::string& key, Seconds now,
                                  const std::function<GameDecision(const GameSnapshot&)>& decide) = 0;
    virtual std::vector<TopTenRow> ClubTopTen(const std::string& key) = 0;
    virtual std::int64_t ClubPlace(const std::string& key, double rating) = 0;
    virtual bool InAnyClubTopTen(MemberId id) = 0;

    // --- world top ten and chat
    virtual void EnsureBoard(int gid, BoardKind kind) = 0;
    // Boards keep of each sender (nick and city; a member on the club board)
    // only the best BoardRowsShown rows.  Rows that belong to members are
    // ranked at each member's best: Board shows one row per member, and a
    // row's place is one more than the rows shown above it, never counting
    // its own member.
    virtual std::int64_t SubmitResult(int gid, const BoardEntry& entry, Seconds now) = 0;         // the place
    virtual std::int64_t SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep) = 0; // the place
    // A completed cycle of the member with this final score, completed within
    // the window, enters the club board once; the reward for places 1..10 is
    // credited in the same transaction.  The place counts the rows of the
    // season (vk::SeasonStart) only, the newer first among equal scores.  The
    // place, or nothing.
    virtual std::optional<std::int64_t> SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                         const BoardEntry& entry, Seconds now, Seconds window,
                                                         Seconds seasonS) = 0;
    virtual std::vector<BoardRow> Board(int gid, int limit) = 0;
    virtual std::vector<BoardRow> OwnRows(int gid, const std::string& nick, const std::string& city, int limit) = 0;
    virtual std::int64_t AcceptedCount(int gid) = 0;

    // --- statistics
    virtual void EnsureStatCounter(int gid) = 0;
    virtual void CountLaunch(int gid, bool unique) = 0;
    virtual void CountDeal(int gid, const std::array<std::int64_t, 12>& r) = 0;
    // False (nothing counted) when this source already liked today; the
    // sources of earlier days are forgotten.
    virtual bool CountLike(int gid, const std::string& source, const std::string& day, Seconds now) = 0;
    virtual StatCounters ReadStats(int gid) = 0;

    // A random secret shared by every process on this database, for keyed
    // hashes of client addresses.
    virtual std::string ServerSecret() = 0;

    // Where the per-address limits keep their events when several
    // processes share this storage; nothing when each process keeps its own
    // in memory.
    virtual LimitEvents* SharedLimitEvents() { return nullptr; }
};

} // namespace vks
