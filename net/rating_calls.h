#pragma once
// The club rating game's requests (logic/club/rating_flows.h) sent to the club
// server: one synchronous call for a worker thread.
#include <string>

#include "net/http_client.h"
#include "logic/club/rating_flows.h"
#include "logic/club/records.h"

namespace vk {

// Where the requests go and who sends them.
struct RatingClub {
    std::string AccPath;    // the stored account address
    std::string WttAddress; // the working address of the world top ten
    TTevUser Member;        // nick, password, city, first country, sex
    std::string GameKey;
};

ClubReply SendClubCall(HttpClient& http, const RatingClub& club, const ClubCall& call);

} // namespace vk
