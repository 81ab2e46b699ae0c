#pragma once
// The statistics server: the launch report (club_startup.h), the deal
// report when a game is left with "Выход", the like and the reading of the
// figures.  All go to the stored statistics address and name the program by
// its number.
#include <optional>
#include <string>

#include "net/club_outcome.h"
#include "net/http_client.h"
#include "logic/club/stat_reply.h"

namespace vk {

// Deals played in this run and whether that deal ended the game.
bool ReportDeal(HttpClient& http, const std::string& statPath, int deals, int games);
bool SendLike(HttpClient& http, const std::string& statPath, const std::string& nick, ClubOutcome* outcome = nullptr);
// Nothing on a transport failure or an unreadable reply.  Waits at most
// three seconds for data (and leaves that limit on the shared client).
// `outcome` (when given) tells an unreachable server from an error and a
// refusal.
std::optional<TTevStat> ReadStats(HttpClient& http, const std::string& statPath, ClubOutcome* outcome = nullptr);

} // namespace vk
