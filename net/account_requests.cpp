#include "net/account_requests.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "logic/club/account_replies.h"
#include "logic/club/jpeg_frame.h"
#include "common/device_token.h"
#include "common/readers.h"
#include "common/text_cipher.h"

namespace vk {
namespace {

// The last form request on this thread reached its server and got an error
// status back.
thread_local bool tServerFault = false;

std::optional<std::string> Posted(std::optional<std::string> reply, bool answered, bool* answeredOut)
{
    tServerFault = answered && !reply;
    if (answeredOut)
        *answeredOut = answered;
    return reply;
}

std::string AccountAddress(const std::string& accPath) { return DecodeText(accPath, ClubStartKey); }

std::optional<std::string> PostRaw(HttpClient& http, const std::string& accPath, const FormFields& fields)
{
    return RawFormRequest(http, AccountAddress(accPath), RawFormBody(fields));
}

std::optional<std::string> PostEncoded(HttpClient& http, const std::string& accPath, const FormFields& fields)
{
    return EncodedFormRequest(http, AccountAddress(accPath), fields);
}

bool RepliedOk(const std::optional<std::string>& reply) { return reply && ResultCode(*reply, "ok"); }

std::string Decimal(std::int64_t value) { return std::to_string(value); }

} // namespace

std::optional<std::string> RawFormRequest(HttpClient& http, const std::string& address, const std::string& body,
                                          bool* answered)
{
    http.SetUserAgent(ClubUserAgent);
    bool reached = false;
    auto reply = http.PostForm(address, body, &reached);
    return Posted(std::move(reply), reached, answered);
}

std::optional<std::string> EncodedFormRequest(HttpClient& http, const std::string& address, const FormFields& fields,
                                              bool* answered)
{
    http.SetUserAgent(ClubUserAgent);
    bool reached = false;
    auto reply = http.PostForm(address, EncodedFormBody(fields), &reached);
    return Posted(std::move(reply), reached, answered);
}

ClubAnswer LastClubAnswer(bool taken)
{
    if (taken)
        return ClubAnswer::Taken;
    if (!LastRequestAnswered())
        return ClubAnswer::Unreachable;
    return tServerFault ? ClubAnswer::ServerFault : ClubAnswer::Refused;
}

int ClubRegister(HttpClient& http, const std::string& accPath, const TTevUser& user)
{
    const auto reply = PostRaw(http, accPath,
                               {{"nick", user.Nick},
                                {"pw", user.Pw},
                                {"city", user.City},
                                {"country1", user.Country1},
                                {"country2", user.Country2},
                                {"sex", std::string(1, user.Sex)},
                                {"email", user.EMail},
                                {"dater", user.DateR},
                                {"R01", user.R01},
                                {"R02", user.R02},
                                {"R03", user.R03},
                                {"R04", Decimal(user.R04)},
                                {"R05", Decimal(user.R05)},
                                {"R06", Decimal(user.R06)}});
    return reply ? ReadRegisterReply(*reply) : 2;
}

bool ClubLogin(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
               TTevUser& user, std::string* deviceToken)
{
    TTevUser result = LoginPlaceholders(nick, pw);
    result.PwC = user.PwC;
    result.Info = user.Info;
    FormFields fields = {{"nick", nick}, {"pw", pw}, {"label0", "0"}};
    if (deviceToken)
        fields.push_back({DeviceField, IsDeviceToken(*deviceToken) ? *deviceToken : std::string()});
    const auto reply = PostEncoded(http, accPath, fields);
    const bool ok = reply && ReadLoginReply(*reply, result);
    user = std::move(result);
    if (ok && deviceToken) {
        if (auto token = DeviceTokenOf(*reply))
            *deviceToken = std::move(*token);
    }
    return ok;
}

bool ClubSignOut(HttpClient& http, const std::string& accPath, const std::string& nick)
{
    const auto reply = PostEncoded(http, accPath, {{"nick", nick}, {"labelsignout", "0"}});
    return reply && ResultCode(*reply, "ok");
}

bool ClubLoginDate(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                   const std::string& origin)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto reply =
        PostRaw(http, accPath, {{"nick", nick}, {"pw", pw}, {"ldate", LoginDateText(local)}, {"lfrom", origin}});
    return reply && (ResultCode(*reply, "ok") || ResultCode(*reply, "is"));
}

bool ClubReadTopTen(HttpClient& http, const std::string& accPath, const std::string& key, ClubTopTenRows& rows)
{
    rows = EmptyTopTen();
    const auto reply = PostEncoded(http, accPath, {{key + "kon", "0"}});
    return reply && ReadTopTenReply(*reply, rows);
}

std::int32_t ClubReadPlace(HttpClient& http, const std::string& accPath, const std::string& key, double rating)
{
    const auto reply = PostRaw(http, accPath, {{key + "rating", FloatToText(rating)}});
    const auto place = reply ? TrailingNumber(*reply) : std::nullopt;
    return place.value_or(-1);
}

std::int32_t ClubReadMemberCount(HttpClient& http, const std::string& accPath)
{
    const auto reply = PostRaw(http, accPath, {{"label1", "0"}});
    const auto count = reply ? TrailingNumber(*reply) : std::nullopt;
    return count.value_or(-1);
}

std::optional<std::int32_t> ClubReadBalance(HttpClient& http, const std::string& accPath, const std::string& nick)
{
    const auto reply = PostEncoded(http, accPath, {{"nick", nick}, {"labeltevread", "0"}});
    return reply ? ReadBalanceReply(*reply) : std::nullopt;
}

bool ClubAddBalance(HttpClient& http, const std::string& accPath, const std::string& nick, std::int32_t amount)
{
    return RepliedOk(PostRaw(http, accPath, {{"nick", nick}, {"labeltevsave", "0"}, {"R04", Decimal(amount)}}));
}

bool ClubReadInfo(HttpClient& http, const std::string& accPath, const std::string& nick, TInfo14& card)
{
    const auto reply = PostEncoded(http, accPath, {{"nick", nick}, {"labelinforead", "0"}});
    return reply && ReadInfoReply(*reply, card);
}

bool ClubSaveInfo(HttpClient& http, const std::string& accPath, const std::string& nick, const TInfo14& card)
{
    return RepliedOk(PostRaw(http, accPath,
                             {{"nick", nick},
                              {"labelinfosave", "0"},
                              {"namei", card.Name1},
                              {"name2", card.Name2},
                              {"about", card.About},
                              {"telephone", card.Telephone},
                              {"emailo", card.EMailO},
                              {"website", card.WebSite},
                              {"skype", card.Skype},
                              {"ok", card.OK},
                              {"vk", card.VK},
                              {"telegram", card.Telegram},
                              {"facebook", card.FaceBook},
                              {"twitter", card.Twitter},
                              {"instagramm", card.Instagramm},
                              {"youtube", card.YouTube}}));
}

bool ClubReadGame(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                  const std::string& key, TTevGame& game)
{
    PrepareGameRecord(game);
    const auto reply = PostEncoded(http, accPath, {{"nick", nick}, {"pw", pw}, {key + "best", "0"}});
    return reply && ReadGameReply(*reply, game);
}

bool ClubSaveGame(HttpClient& http, const std::string& accPath, const std::string& nick, const std::string& pw,
                  const std::string& key, const TTevGame& game)
{
    return RepliedOk(PostRaw(http, accPath,
                             {{"nick", nick},
                              {"pw", pw},
                              {key + "kon", Decimal(game.Kon)},
                              {key + "best", Decimal(game.Best)},
                              {key + "rating", FloatToText(game.Rating)},
                              {key + "ses", Decimal(game.Sessions)},
                              {key + "konl", Decimal(game.KonL)},
                              {key + "score", Decimal(game.Score)},
                              {key + "R1", Decimal(game.R1)},
                              {key + "R2", game.R2}}));
}

bool ClubLoadPhoto(const std::string& photoFolderPath, const std::string& nick, std::string& picture)
{
    const std::string address = DecodeText(photoFolderPath, ClubStartKey) + PathSegmentEncode(nick) + ".jpg";
    TransportLimits limits;
    limits.MaxReplyBytes = PhotoReplyCap;
    auto reply = HttpGet(address, limits);
    tServerFault = false; // a member without a photo is no fault
    if (!reply || !ReadJpegFrame(*reply))
        return false;
    picture = std::move(*reply);
    return true;
}

bool ClubUploadPhoto(HttpClient& http, const std::string& photoUploadPath, const std::string& filePath)
{
    std::ifstream in(filePath, std::ios::binary);
    tServerFault = false;
    if (!in)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string fileName = std::filesystem::path(filePath).filename().string();
    const auto reply = http.PostFile(DecodeText(photoUploadPath, ClubStartKey), "file", fileName, "image/jpeg", bytes);
    tServerFault = LastRequestAnswered() && !reply;
    return reply && ResultCode(*reply, "Ok");
}

} // namespace vk
