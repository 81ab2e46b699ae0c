#include "logic/club/account_replies.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "common/readers.h"

namespace vk {
namespace {

bool TakeRating(const std::vector<std::string>& words, std::size_t number, double& field)
{
    const std::string* word = Word(words, number);
    if (!word)
        return true;
    const auto value = TextToFloat(*word, 0);
    if (!value)
        return false;
    field = *value;
    return true;
}

} // namespace

int ReadRegisterReply(std::string_view reply)
{
    if (ResultCode(reply, "is"))
        return 1;
    return ResultCode(reply, "ok") ? 0 : 2;
}

TTevUser LoginPlaceholders(const std::string& nick, const std::string& pw)
{
    TTevUser user;
    user.Nick = nick;
    user.Pw = pw;
    user.City = user.Country1 = user.Country2 = user.EMail = "#";
    user.R01 = user.R02 = user.R03 = "#";
    user.Sex = '#';
    user.DateR = "00.00.0000";
    return user;
}

bool ReadLoginReply(std::string_view reply, TTevUser& user)
{
    if (ResultCode(reply, "no"))
        return false;
    const auto record = DollarRecord(reply);
    if (!record)
        return true;
    const auto words = SplitWords(*record, ' ');
    TakeText(words, 1, user.City);
    TakeText(words, 2, user.Country1);
    TakeText(words, 3, user.Country2);
    if (const std::string* sex = Word(words, 4)) {
        if (sex->empty())
            return false;
        user.Sex = (*sex)[0];
    }
    TakeText(words, 5, user.EMail);
    TakeText(words, 6, user.DateR);
    TakeText(words, 7, user.R01);
    TakeText(words, 8, user.R02);
    TakeText(words, 9, user.R03);
    std::int32_t r05 = static_cast<std::int32_t>(user.R05);
    const bool numbers = TakeInteger(words, 10, user.R04) && TakeInteger(words, 11, r05);
    user.R05 = r05;
    return numbers && TakeInteger(words, 12, user.R06);
}

ClubTopTenRows EmptyTopTen() { return ClubTopTenRows{}; }

bool ReadTopTenReply(std::string_view reply, ClubTopTenRows& rows)
{
    const auto records = StarRecords(reply, rows.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        TTevTop10& row = rows[k];
        const auto words = SplitWords(records[k], ' ');
        TakeText(words, 2, row.Nick);
        TakeText(words, 3, row.City);
        TakeText(words, 4, row.Country); // the country key, unless a code follows
        TakeText(words, 5, row.Country);
        if (const std::string* sex = Word(words, 6); sex && !sex->empty())
            row.Sex = (*sex)[0];
        if (!TakeRating(words, 7, row.Rating))
            return false;
    }
    return true;
}

std::optional<std::int32_t> ReadBalanceReply(std::string_view reply)
{
    if (ResultCode(reply, "no"))
        return std::nullopt;
    const auto record = DollarRecord(reply);
    if (!record)
        return std::nullopt;
    std::string_view text = *record;
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    if (text.starts_with('+'))
        text.remove_prefix(1);
    return IntegerWord(text);
}

bool ReadInfoReply(std::string_view reply, TInfo14& card)
{
    if (ResultCode(reply, "no"))
        return false;
    const auto record = DollarRecord(reply);
    if (!record)
        return false;
    const auto words = SplitWords(*record, '~');
    std::string* fields[] = {&card.Name1,    &card.Name2,   &card.About,      &card.Telephone, &card.EMailO,
                             &card.WebSite,  &card.Skype,   &card.OK,         &card.VK,        &card.Telegram,
                             &card.FaceBook, &card.Twitter, &card.Instagramm, &card.YouTube};
    for (std::size_t k = 0; k < std::size(fields); ++k)
        TakeText(words, k + 1, *fields[k]);
    return true;
}

void PrepareGameRecord(TTevGame& game)
{
    game.Kon = game.Score = game.Sessions = 0;
    game.Rating = 0;
    game.PlayNow = 'N';
    game.R1 = 0;
    game.R2 = "#";
}

bool ReadGameReply(std::string_view reply, TTevGame& game)
{
    const auto record = DollarRecord(reply);
    if (!record)
        return true;
    const auto words = SplitWords(*record, ' ');
    if (!TakeInteger(words, 1, game.Kon) || !TakeInteger(words, 2, game.Best) || !TakeRating(words, 3, game.Rating)
        || !TakeInteger(words, 4, game.Sessions) || !TakeInteger(words, 5, game.KonL)
        || !TakeInteger(words, 6, game.Score) || !TakeInteger(words, 7, game.R1))
        return false;
    TakeText(words, 8, game.R2);
    return true;
}

bool StatConfirmed(std::string_view reply)
{
    if (reply.size() < 2)
        return false;
    const std::size_t pos = reply.substr(0, reply.size() - 1).rfind('$');
    if (pos == std::string_view::npos)
        return false;
    std::string_view text = reply.substr(pos + 1);
    text = text.substr(0, text.find('#'));
    return text.size() >= 3 && text.substr(1, 2) == "ok";
}

std::string LoginDateText(const std::tm& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                  t.tm_min);
    return buf;
}

std::string WireDateText(const std::tm& t)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
    return buf;
}

std::string WireTimeText(const std::tm& t)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", t.tm_hour, t.tm_min);
    return buf;
}

} // namespace vk
