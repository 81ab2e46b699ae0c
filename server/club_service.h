#pragma once
// What the server does with each request, apart from HTTP itself: parse the
// body against its templates, check the fields, authorise, ask the storage
// and build the reply in the form the client reads correctly.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "server/form_template.h"
#include "server/options.h"
#include "server/passwords.h"
#include "server/rate_limit.h"
#include "server/storage/storage.h"

namespace vks {

inline constexpr const char* Cp1251Text = "text/plain; charset=windows-1251";
inline constexpr const char* Utf8Text = "text/plain; charset=utf-8";
inline constexpr const char* SessionCookie = "vks";

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = Cp1251Text;
    std::optional<std::string> setCookie; // whole Set-Cookie value

    Reply() = default;
    Reply(int s, std::string b, std::string type = Cp1251Text)
        : status(s), body(std::move(b)), contentType(std::move(type))
    {
    }
};

struct Caller {
    std::string address;                // the client's address as limits count it (IPv6: its /64)
    std::optional<std::string> session; // the session token it sent, if exactly one
};

class ClubService {
public:
    ClubService(ServerConfig config, Storage& storage);

    // The address the published texts name; fixed once the port is known.
    void SetPublicBase(std::string base);
    // Re-renders the configuration and news texts (after the configuration
    // file changed); the previous texts stay when the new ones are invalid.
    std::optional<std::string> ReloadPublishedTexts(const ServerConfig& fresh);

    Reply ConfigText() const;
    Reply NewsText() const;

    Reply Account(const std::string& body, const Caller& caller);
    Reply Wtt(const std::string& body, const Caller& caller);
    Reply Stat(const std::string& body, const Caller& caller);
    // parts: name of each multipart part and its bytes.
    Reply PhotoUpload(const std::vector<std::pair<std::string, std::string>>& parts, const Caller& caller);
    // name: the decoded path segment after /club/photos/
    Reply PhotoGet(const std::string& name);

    void Maintain(); // periodic clean-up: expired sessions

    const ServerConfig& Config() const { return config_; }

private:
    enum class Auth { Ok, Refused, Throttled, Busy };

    // Who a password request turned out to be, and the session it carried.
    struct Authenticated {
        Member member;
        std::optional<SessionInfo> session;
        bool knownDevice = false; // the login showed a device token of this member
    };

    std::optional<SessionInfo> SessionOf(const Caller& caller);
    // device: the device token a login shows (empty: none).
    Auth CheckPassword(const std::string& nick, const std::string& pw, const Caller& caller, Authenticated& who,
                       const std::string& device);
    // One Argon2 check, at most one running or waiting for each client
    // address at a time (Busy for a second one, which is refused).
    enum class AddressCheck { Match, Mismatch, Busy, SecondOfAddress };
    AddressCheck VerifyFor(const Caller& caller, const std::string& hash, const std::string& pw, bool& rehash,
                           bool priority);
    // The reply for a password request that did not pass (the request's own
    // refusal, or a throttled or busy status); nothing when it passed.
    std::optional<Reply> Authenticate(const std::string& nick, const std::string& pw, const Caller& caller,
                                      Authenticated& who, Reply refusal, const std::string& device = {});
    std::string IssueSession(MemberId id, const std::string& pw);
    void RenewSession(const Authenticated& who, const std::string& pw, Reply& reply);
    std::string Source(const Caller& caller);
    BoardKind KindOfBoard(int gid, bool& known) const;
    const GameConfig* GameOfClubBoard(int gid) const;
    bool IsStatGid(int gid) const;

    Reply SaveInfo(const ParsedRequest& r, const Caller& caller);
    Reply Register(const ParsedRequest& r, const Caller& caller);
    Reply SaveGame(const ParsedRequest& r, const Caller& caller);
    Reply LoginDate(const ParsedRequest& r, const Caller& caller);
    Reply AddBalance(const ParsedRequest& r, const Caller& caller);
    Reply ReadGame(const ParsedRequest& r, const Caller& caller);
    Reply Login(const ParsedRequest& r, const Caller& caller);
    Reply SignOut(const ParsedRequest& r, const Caller& caller);
    Reply ReadBalance(const ParsedRequest& r, const Caller& caller);
    Reply ReadInfo(const ParsedRequest& r, const Caller& caller);
    Reply WttSubmit(const ParsedRequest& r, const Caller& caller);

    ServerConfig config_;
    Storage& storage_;
    PasswordHasher hasher_;
    RateLimiter limiter_;
    std::vector<std::string> gameKeys_;
    std::map<int, BoardKind> boards_;
    std::string secret_;
    std::string dummyHash_;
    std::atomic<bool> wttPaused_, chatPaused_;
    std::string publicBase_;
    bool secureCookie_ = false;

    // World top ten boards are the hottest read (every repaint of the
    // viewer); a reply is kept briefly and dropped at once when this process
    // enters a row, so only another process's entries can be seen late, by
    // at most board_cache_ms.  Past three quarters of that time one reader
    // reads the board again while the others still get the kept copy, so a
    // busy board never sends every reader to the database at once.  Only
    // the club's own boards are kept (their number is fixed); the chat is
    // always read fresh.
    struct KeptBoard {
        std::string reply;
        bool held = false;
        std::chrono::steady_clock::time_point readAt; // when the kept reply's read began
        bool refreshing = false;
        std::uint64_t writes = 0; // rows this process entered; a read begun before one is not kept
    };
    std::string ClubBoardReply(int gid, bool known);
    void ForgetBoard(int gid);
    std::mutex boardMutex_;
    std::map<int, KeptBoard> boardCache_;

    std::mutex checkingMutex_;
    std::set<std::string> checking_; // addresses with a password check running or waiting

    mutable std::mutex textMutex_;
    std::string configText_, newsText_;
};

} // namespace vks
