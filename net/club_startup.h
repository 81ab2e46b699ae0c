#pragma once
// The club's part of start-up: the remote configuration and news reads, the
// launch report and the automatic login from the user file.  Addresses are
// passed in stored (enciphered) form; the built-in ones are in
// common/builtin_addresses.h.
#include <optional>
#include <string>

#include "logic/club/club_state.h"
#include "net/http_client.h"
#include "logic/club/remote_config.h"

namespace vk {

// The three answers of the remote refresh, all read from one fetch of the
// configuration: the world top ten path ("pause", "old" or a stored
// address) with the chat flag, then the statistics and account paths
// (empty: keep what is stored).  The settings reading applies them.
struct RemoteConfigAnswers {
    std::string WttPath = "old";
    bool ChatAvailable = true;
    std::string StatPath;
    std::string AccPath;
};
// The answers on a configuration text read from configAddress (stored
// form); no text (a failed read) answers "old" with the chat available and
// empty paths.  An address that is neither https nor on the origin of
// configAddress is answered as the club's own address for its role there.
RemoteConfigAnswers ReadRemoteConfig(const std::optional<std::string>& text, const std::string& configAddress);
RemoteConfigAnswers FetchRemoteConfig(const std::string& configAddress);

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
