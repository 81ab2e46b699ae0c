#pragma once
// The world top ten's requests to the game server (the chat uses the same
// ones with its own board number).  Each is one synchronous call for a
// worker thread (ui/kit/request_runner.h); none shows anything.  `address` is
// the working address of the game server.  `answered` (when given) is false
// when the server could not be reached at all: a window's sequence of
// requests stops there instead of waiting out the same failure again.
#include <cstdint>
#include <optional>
#include <string>

#include "net/club_outcome.h"
#include "net/http_client.h"
#include "logic/club/wtt_replies.h"

namespace vk {

// The ten rows of board `gid`, preset first.  Waits at most three seconds
// for data (and leaves that limit on the shared client).  `outcome` (when
// given) tells an unreachable club from an error and a refusal.
bool WttReadBoard(HttpClient& http, const std::string& address, int gid, WttRows& rows, bool* answered = nullptr,
                  ClubOutcome* outcome = nullptr);

// How many results board `gid` has ever taken.
std::optional<std::int32_t> WttReadGameCount(HttpClient& http, const std::string& address, int gid,
                                             bool* answered = nullptr);

// The rows of board `gid` sent under this nick and city, best first, each
// with its place on the whole board.
bool WttReadOwn(HttpClient& http, const std::string& address, int gid, const std::string& nick, const std::string& city,
                WttRows& rows, bool* answered = nullptr, ClubOutcome* outcome = nullptr);

// Sends a result (or a chat message: gid 100, the number proposed as the
// score, the stamp as R9, the cleaned text as R10).  The place it took.
std::optional<std::int32_t> WttSubmit(HttpClient& http, const std::string& address, const std::string& nick,
                                      const std::string& city, const std::string& country, const std::string& r7,
                                      std::int32_t score, int gid, const std::string& r9, const std::string& r10,
                                      ClubOutcome* outcome = nullptr);

} // namespace vk
