#include "club/club_startup.h"

#include <algorithm>

#include "club/account_replies.h"
#include "club/account_requests.h"
#include "club/form_encoding.h"
#include "club/user_file.h"
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

std::string FetchPath(const std::string& configAddress, const char* key)
{
    const auto text = FetchPage(configAddress);
    return text ? KeyValue(*text, key).value_or("") : std::string();
}

} // namespace

std::string FetchWttPath(const std::string& configAddress, int selector, bool& chatAvailable)
{
    const auto text = FetchPage(configAddress);
    if (!text) {
        chatAvailable = true;
        return "old";
    }
    return ReadWttPath(*text, selector, chatAvailable);
}

std::string FetchStatPath(const std::string& configAddress)
{
    return FetchPath(configAddress, StatPathKey);
}

std::string FetchAccPath(const std::string& configAddress)
{
    return FetchPath(configAddress, AccPathKey);
}

RemoteConfigAnswers FetchRemoteConfig(const std::string& configAddress)
{
    RemoteConfigAnswers answers;
    answers.WttPath = FetchWttPath(configAddress, 2, answers.ChatAvailable);
    answers.StatPath = FetchStatPath(configAddress);
    answers.AccPath = FetchAccPath(configAddress);
    return answers;
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
    if (!ReadUserFile(userFilePath, nick, storedPw))
        return false;
    club.UserFileSaved = true;
    std::string pw = DecodeText(storedPw, ClubStartKey);
    std::replace_if(pw.begin(), pw.end(), [](char c) { return c == ' ' || c == '#' || c == '$'; }, '-');
    const bool loggedIn = ClubLogin(http, accPath, nick, pw, club.ClubUser);
    club.ClubUser.PwC = EncodeText(pw, ClubStartKey);
    if (loggedIn)
        ClubLoginDate(http, accPath, nick, pw, LoginOrigin);
    return loggedIn;
}

} // namespace vk
