#include "net/wtt_requests.h"

#include "net/account_requests.h"
#include "common/readers.h"

namespace vk {
namespace {

constexpr long kRowReadMs = 3000;

// The rows of a reply, with what the read came to.
bool TakeRows(const std::optional<std::string>& reply, WttRows& rows, ClubOutcome* outcome)
{
    const bool read = reply && ReadWttRows(*reply, rows);
    if (outcome)
        *outcome = RequestOutcome(reply, read);
    return read;
}

} // namespace

bool WttReadBoard(HttpClient& http, const std::string& address, int gid, WttRows& rows, bool* answered,
                  ClubOutcome* outcome)
{
    rows = PresetWttRows(gid);
    http.SetReadTimeout(kRowReadMs);
    const auto reply = EncodedFormRequest(http, address, {{"gid", std::to_string(gid)}}, answered);
    return TakeRows(reply, rows, outcome);
}

std::optional<std::int32_t> WttReadGameCount(HttpClient& http, const std::string& address, int gid, bool* answered)
{
    const auto reply = EncodedFormRequest(http, address, {{"rgid", std::to_string(gid)}}, answered);
    if (!reply)
        return std::nullopt;
    return TrailingNumber(*reply);
}

bool WttReadOwn(HttpClient& http, const std::string& address, int gid, const std::string& nick, const std::string& city,
                WttRows& rows, bool* answered, ClubOutcome* outcome)
{
    rows = PresetWttRows(gid);
    http.SetReadTimeout(kRowReadMs);
    const auto reply = RawFormRequest(
        http, address, RawFormBody({{"gid", std::to_string(gid)}, {"nick", nick}, {"city", city}}), answered);
    return TakeRows(reply, rows, outcome);
}

std::optional<std::int32_t> WttSubmit(HttpClient& http, const std::string& address, const std::string& nick,
                                      const std::string& city, const std::string& country, const std::string& r7,
                                      std::int32_t score, int gid, const std::string& r9, const std::string& r10,
                                      ClubOutcome* outcome)
{
    const auto reply = RawFormRequest(http, address,
                                      RawFormBody({{"gid", std::to_string(gid)},
                                                   {"nick", nick},
                                                   {"city", city},
                                                   {"country", country},
                                                   {"score", std::to_string(score)},
                                                   {"R7", r7},
                                                   {"R8", WttVersion},
                                                   {"R9", r9},
                                                   {"R10", r10 + "*"}}));
    const std::optional<std::int32_t> place = reply ? TrailingNumber(*reply) : std::nullopt;
    if (outcome)
        *outcome = RequestOutcome(reply, place.has_value());
    return place;
}

} // namespace vk
