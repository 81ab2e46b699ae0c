#include "net/rating_calls.h"

#include "net/account_requests.h"
#include "logic/club/wtt_replies.h"
#include "net/wtt_requests.h"

namespace vk {

ClubReply SendClubCall(HttpClient& http, const RatingClub& club, const ClubCall& call)
{
    const TTevUser& m = club.Member;
    ClubReply reply;
    switch (call.What) {
    case ClubCall::ReadGame: reply.Ok = ClubReadGame(http, club.AccPath, m.Nick, m.Pw, club.GameKey, reply.Game); break;
    case ClubCall::SaveGame: reply.Ok = ClubSaveGame(http, club.AccPath, m.Nick, m.Pw, club.GameKey, call.Game); break;
    case ClubCall::EnterBoard: {
        const auto place = WttSubmit(http, club.WttAddress, m.Nick, m.City, m.Country1, std::string(1, m.Sex),
                                     call.Number, WttAccountBoard, "#", "#");
        reply.Ok = place.has_value();
        reply.Number = place.value_or(0);
        break;
    }
    case ClubCall::ClaimBonus: reply.Ok = ClubAddBalance(http, club.AccPath, m.Nick, call.Number); break;
    case ClubCall::ReadBalance: {
        const auto balance = ClubReadBalance(http, club.AccPath, m.Nick);
        reply.Ok = balance.has_value();
        reply.Number = balance.value_or(0);
        break;
    }
    }
    return reply;
}

} // namespace vk
