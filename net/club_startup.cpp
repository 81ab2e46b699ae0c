#include "net/club_startup.h"

#include <algorithm>

#include "logic/club/account_replies.h"
#include "net/account_requests.h"
#include "logic/club/form_encoding.h"
#include "logic/club/user_file.h"
#include "common/club_paths.h"
#include "common/outside_link.h"
#include "common/product.h"
#include "common/text_cipher.h"

namespace vk {
namespace {

std::optional<std::string> FetchPage(const std::string& storedAddress)
{
    const auto body = HttpGet(DecodeText(storedAddress, AddressStartKey));
    if (!body)
        return std::nullopt;
    return PageText(*body);
}

} // namespace

namespace {

// An address the configuration names, in stored form, when it may be taken:
// https, or the club's own origin (where the configuration itself came
// from).  A refused one is the club's own address for that role, so a
// forged configuration can neither send passwords elsewhere nor leave a
// stranger's address in the settings for later runs.
std::string TakenAddress(const std::string& stored, const std::string& clubBase, const ClubPath& role)
{
    if (stored.empty() || SecureOrClubAddress(DecodeText(stored, role.Key), clubBase))
        return stored;
    const std::string origin = OriginOf(clubBase);
    return origin.empty() ? std::string() : StoredClubAddress(origin, role);
}

} // namespace

RemoteConfigAnswers ReadRemoteConfig(const std::optional<std::string>& text, const std::string& configAddress)
{
    RemoteConfigAnswers answers;
    if (!text)
        return answers;
    const std::string club = DecodeText(configAddress, ClubConfig.Key);
    answers.WttPath = ReadWttPath(*text, 2, answers.ChatAvailable);
    if (answers.WttPath != "old" && answers.WttPath != "pause")
        answers.WttPath = TakenAddress(answers.WttPath, club, ClubWtt);
    answers.StatPath = TakenAddress(KeyValue(*text, StatPathKey).value_or(""), club, ClubStat);
    answers.AccPath = TakenAddress(KeyValue(*text, AccPathKey).value_or(""), club, ClubAccount);
    return answers;
}

RemoteConfigAnswers FetchRemoteConfig(const std::string& configAddress)
{
    return ReadRemoteConfig(FetchPage(configAddress), configAddress);
}

NewsPage FetchNews(const std::string& newsAddress)
{
    const auto text = FetchPage(newsAddress);
    return text ? ReadNewsPage(*text) : NewsPage{};
}

bool ReportLaunch(HttpClient& http, const std::string& statPath, bool firstStart)
{
    const auto reply = RawFormRequest(
        http, DecodeText(statPath, AddressStartKey),
        RawFormBody({{"gid", std::to_string(ProductNumber)}, {"stat1", "1"}, {"stat2", firstStart ? "1" : "0"}}));
    return reply && StatConfirmed(*reply);
}

void ReportStartup(HttpClient& http, const std::string& statPath, bool& startCounted)
{
    if (startCounted)
        ReportLaunch(http, statPath, false);
    else
        startCounted = ReportLaunch(http, statPath, true);
}

bool AutoLogin(HttpClient& http, const std::string& accPath, const std::string& userFilePath, ClubStateData& club)
{
    std::string nick;
    std::string storedPw;
    if (!ReadUserFile(userFilePath, nick, storedPw, &club.DeviceToken))
        return false;
    club.UserFileSaved = true;
    std::string pw = DecodeText(storedPw, ClubStartKey);
    std::replace_if(
        pw.begin(), pw.end(), [](char c) { return c == ' ' || c == '#' || c == '$'; }, '-');
    const std::string heldToken = club.DeviceToken;
    const bool loggedIn = ClubLogin(http, accPath, nick, pw, club.ClubUser, &club.DeviceToken);
    club.ClubUser.PwC = EncodeText(pw, ClubStartKey);
    if (loggedIn && club.DeviceToken != heldToken) {
        // The token of this login stays with the login on this computer
        // (a file written before tokens gets its first one here).
        club.ClubUser.Nick = nick;
        WriteUserFile(userFilePath, club);
    }
    if (loggedIn)
        ClubLoginDate(http, accPath, nick, pw, LoginOrigin);
    return loggedIn;
}

} // namespace vk
