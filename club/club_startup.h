#pragma once
// The club's part of start-up: the remote configuration and news reads, the
// launch report and the automatic login from the user file.  Addresses are
// passed in stored (enciphered) form; the built-in ones are in
// common/builtin_addresses.h.
#include <string>

#include "club/club_state.h"
#include "club/http_client.h"
#include "club/remote_config.h"

namespace vk {

// Each reads the configuration with a client of its own.  A failed read
// answers "old" with the chat available, resp. an empty text.
std::string FetchWttPath(const std::string& configAddress, int selector, bool& chatAvailable);
std::string FetchStatPath(const std::string& configAddress);
std::string FetchAccPath(const std::string& configAddress);

// The server addresses the settings keep (stored forms) and the two
// availability flags that the remote refresh sets.
struct ServerAddresses {
    std::string ServerPath;
    std::string StatPath;
    std::string AccPath;
    bool WttAvailable = false;
    bool ChatAvailable = false;
};

// The remote refresh: three reads of the configuration, in the order the
// server expects.  Runs at every start, with or without a settings file, so
// that a first start reaches the club.
void RefreshServerAddresses(const std::string& configAddress, ServerAddresses& addresses);

// The news page; links empty and no news when it cannot be read.
NewsPage FetchNews(const std::string& newsAddress);

// The launch report to the statistics server (stored address): true when
// the server confirms it.
bool ReportLaunch(HttpClient& http, const std::string& statPath, bool firstStart);

// A first start is reported until the server confirms it once; later starts
// are reported as repeated ones and their result is not kept.
void ReportStartup(HttpClient& http, const std::string& statPath, bool& startCounted);

// Logs in with the nick and password of the user file, when there is one.
// Fills ClubUser and UserFileSaved; true when logged in (the login is then
// reported to the server).
bool AutoLogin(HttpClient& http, const std::string& accPath, const std::string& userFilePath, ClubStateData& club);

} // namespace vk
