#pragma once
// The statistics server: the launch report (club_startup.h), the deal
// report when a game is left with "Выход", the like and the reading of the
// figures.  All go to the stored statistics address and name the program by
// its number.
#include <optional>
#include <string>

#include "net/http_client.h"
#include "logic/club/stat_reply.h"

namespace vk {

// Deals played in this run and whether that deal ended the game.
bool ReportDeal(HttpClient& http, const std::string& statPath, int deals, int games);
bool SendLike(HttpClient& http, const std::string& statPath, const std::string& nick);
// Nothing on a transport failure or an unreadable reply.  Waits at most
// three seconds for data (and leaves that limit on the shared client).
std::optional<TTevStat> ReadStats(HttpClient& http, const std::string& statPath);

} // namespace vk
