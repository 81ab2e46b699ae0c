#include "net/statistics.h"

#include "logic/club/account_replies.h"
#include "net/account_requests.h"
#include "common/readers.h"
#include "common/product.h"
#include "common/text_cipher.h"

namespace vk {
namespace {

std::string StatAddress(const std::string& statPath) { return DecodeText(statPath, AddressStartKey); }

bool Confirmed(const std::optional<std::string>& reply) { return reply && StatConfirmed(*reply); }

} // namespace

bool ReportDeal(HttpClient& http, const std::string& statPath, int deals, int games)
{
    FormFields fields = {
        {"gid", std::to_string(ProductNumber)}, {"R1", std::to_string(deals)}, {"R2", std::to_string(games)}};
    for (int k = 3; k <= 12; ++k)
        fields.push_back({"R" + std::to_string(k), "0"});
    return Confirmed(RawFormRequest(http, StatAddress(statPath), RawFormBody(fields)));
}

bool SendLike(HttpClient& http, const std::string& statPath, const std::string& nick, ClubOutcome* outcome)
{
    const auto reply =
        RawFormRequest(http, StatAddress(statPath),
                       RawFormBody({{"gid", std::to_string(ProductNumber)}, {"stat3", "1"}, {"stat4", nick}}));
    const bool sent = Confirmed(reply);
    if (outcome)
        *outcome = RequestOutcome(reply, sent);
    return sent;
}

std::optional<TTevStat> ReadStats(HttpClient& http, const std::string& statPath, ClubOutcome* outcome)
{
    http.SetReadTimeout(3000);
    const auto reply = EncodedFormRequest(http, StatAddress(statPath), {{"gid", std::to_string(ProductNumber)}});
    std::optional<TTevStat> figures = reply ? ReadStatsReply(*reply) : std::nullopt;
    if (outcome)
        *outcome = RequestOutcome(reply, figures.has_value());
    return figures;
}

} // namespace vk
