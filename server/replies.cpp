#include "server/replies.h"

#include "common/readers.h"

namespace vks {

std::string LoginReply(const Member& m)
{
    return "$" + m.city + " " + m.countryKey + " " + m.countryCode + " " + m.sex + " " + m.email + " " + m.dateReg
           + " xxx xxx xxx " + std::to_string(m.balance) + " 0 0$";
}

std::string GameReply(const GameRecord& r)
{
    return "$" + std::to_string(r.kon) + " " + std::to_string(r.best) + " " + vk::FloatToText(r.rating) + " "
           + std::to_string(r.sessions) + " " + std::to_string(r.konl) + " " + std::to_string(r.score) + " "
           + std::to_string(r.r1) + " " + r.r2 + "$";
}

std::string TopTenReply(const std::vector<TopTenRow>& rows)
{
    std::string out;
    int place = 0;
    for (const auto& r : rows) {
        out += "$" + std::to_string(++place) + " " + r.nick + " " + r.city + " " + r.countryKey + " " + r.countryCode
               + " " + r.sex + " " + vk::FloatToText(r.rating) + "*";
    }
    return out;
}

std::string NumberReply(std::int64_t n) { return "$" + std::to_string(n) + " "; }

std::string BalanceReply(std::int64_t balance) { return "$" + std::to_string(balance) + "$"; }

std::string CardReply(const Card& card)
{
    std::string out = "$";
    for (std::size_t i = 0; i < card.size(); ++i) {
        if (i > 0)
            out += "~";
        out += card[i];
    }
    return out + "$";
}

std::string BoardReply(int gid, const std::vector<BoardRow>& rows)
{
    std::string out;
    for (const auto& r : rows) {
        out += "$" + std::to_string(r.place) + " " + std::to_string(gid) + " " + std::to_string(r.score) + " " + r.nick
               + " " + r.country + " " + r.city + " " + r.r07 + " " + r.r08 + " " + r.r09 + " " + r.r10 + "*";
    }
    return out;
}

std::string StatsReply(const StatCounters& s, const std::string& lastLikeDay)
{
    std::string out = "$" + std::to_string(s.starts) + " " + std::to_string(s.uniqueStarts) + " "
                      + std::to_string(s.likes) + " " + lastLikeDay;
    for (const auto x : s.x)
        out += " " + std::to_string(x);
    return out + " 0 #*";
}

} // namespace vks
