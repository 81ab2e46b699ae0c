#include "net/club_startup.h"

#include <algorithm>

#include "logic/club/account_replies.h"
#include "net/account_requests.h"
#include "logic/club/form_encoding.h"
#include "logic/club/user_file.h"
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

RemoteConfigAnswers ReadRemoteConfig(const std::optional<std::string>& text)
{
    RemoteConfigAnswers answers;
    if (!text)
        return answers;
    answers.WttPath = ReadWttPath(*text, 2, answers.ChatAvailable);
    answers.StatPath = KeyValue(*text, StatPathKey).value_or("");
    answers.AccPath = KeyValue(*text, AccPathKey).value_or("");
    return answers;
}

RemoteConfigAnswers FetchRemoteConfig(const std::string& configAddress)
{
    return ReadRemoteConfig(FetchPage(configAddress));
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
