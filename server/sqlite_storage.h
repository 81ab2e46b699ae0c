#pragma once
// The storage on one SQLite file: WAL mode, prepared statements only, one
// connection per concurrent request taken from a small pool, money moves and
// rating transitions inside BEGIN IMMEDIATE transactions.  Photos are files
// <photoDir>/<member id>.jpg beside it, recorded in the database.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/storage.h"

struct sqlite3;

namespace vks {

class SqliteStorage final : public Storage {
public:
    // Creates the file and its tables when missing; throws StorageError.
    // An empty photoDir means the folder "photos" beside the file.
    SqliteStorage(std::string path, int busyTimeoutMs, std::string photoDir = {});
    ~SqliteStorage() override;

    bool RegisterMember(const NewMember& member, const std::vector<std::string>& gameKeys, Seconds now) override;
    std::optional<Member> FindMember(std::string_view nick) override;
    bool NickTaken(std::string_view nick) override;
    void UpdatePasswordHash(MemberId id, const std::string& hash) override;
    void RecordLogin(MemberId id, Seconds now, const std::string& clientStamp, const std::string& from) override;
    std::int64_t CountMembers() override;

    void CreateSession(const std::string& tokenHash, MemberId id, Seconds now, Seconds expiresAt,
                       const std::string& passwordCheck) override;
    void SetPasswordCheck(const std::string& tokenHash, const std::string& passwordCheck) override;
    std::optional<SessionInfo> UseSession(const std::string& tokenHash, Seconds now, Seconds idleLimit) override;
    void DeleteSession(const std::string& tokenHash) override;
    void PurgeSessions(Seconds now, Seconds idleLimit) override;

    Card ReadCard(MemberId id) override;
    void SaveCard(MemberId id, const Card& card, Seconds now) override;
    void SavePhoto(MemberId id, const std::string& jpeg, const std::string& sha256, Seconds now) override;
    std::optional<std::string> ReadPhoto(MemberId id) override;

    std::int64_t Balance(MemberId id) override;
    TransferResult Transfer(const std::string& tokenHash, MemberId from, MemberId to, std::int64_t amount,
                            Seconds now, Seconds owedUntil) override;
    bool AcknowledgeDebit(const std::string& tokenHash, std::int64_t amount, Seconds now) override;
    bool AcknowledgeReward(MemberId id, std::int64_t amount, Seconds now) override;

    GameRecord ReadGame(MemberId id, const std::string& key) override;
    GameDecision SaveGame(MemberId id, const std::string& key, Seconds now,
                          const std::function<GameDecision(const GameSnapshot&)>& decide) override;
    std::vector<TopTenRow> ClubTopTen(const std::string& key) override;
    std::int64_t ClubPlace(const std::string& key, double rating) override;
    bool InAnyClubTopTen(MemberId id) override;

    void EnsureBoard(int gid, BoardKind kind) override;
    std::int64_t SubmitResult(int gid, const BoardEntry& entry, Seconds now) override;
    std::int64_t SubmitChat(int gid, const BoardEntry& entry, Seconds now, int keep) override;
    std::optional<std::int64_t> SubmitClubResult(MemberId id, const std::string& key, int gid,
                                                 const BoardEntry& entry, Seconds now, Seconds window) override;
    std::vector<BoardRow> Board(int gid, int limit) override;
    std::vector<BoardRow> OwnRows(int gid, const std::string& nick, const std::string& city, int limit) override;
    std::int64_t AcceptedCount(int gid) override;

    void EnsureStatCounter(int gid) override;
    void CountLaunch(int gid, bool unique) override;
    void CountDeal(int gid, const std::array<std::int64_t, 12>& r) override;
    bool CountLike(int gid, const std::string& source, const std::string& day, Seconds now) override;
    StatCounters ReadStats(int gid) override;

    std::string ServerSecret() override;

    struct Connection;

private:
    class Lease;
    std::unique_ptr<Connection> Open();
    Lease Acquire();
    void Release(std::unique_ptr<Connection> c);
    std::string PhotoPath(MemberId id) const;

    std::string path_;
    std::string photoDir_;
    int busyTimeoutMs_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
    std::string secret_;
};

} // namespace vks
