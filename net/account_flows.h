#pragma once
// The account window's runs of requests.  Each runs whole on a worker
// thread (ui/kit/request_runner.h) on a copy of the club state and hands the
// copy back; the window takes it over when it comes.  A run stops at the
// first request that reaches no server: one dead server costs one time
// limit, and the reads that were not sent leave their flags false and their
// data as they were.
#include <cstdint>
#include <optional>
#include <string>

#include "logic/club/club_state.h"
#include "net/account_requests.h"
#include "net/http_client.h"

namespace vk {

// The stored (enciphered) addresses the account window uses.
struct AccountAddresses {
    std::string AccPath;
    std::string PhotoFolder;
    std::string PhotoUpload;
};

struct ClubReads {
    ClubStateData Club;
    bool Connected = true; // every request sent found its server
    // Unreachable when a request found no server, ServerFault when one got
    // an error status back; Taken otherwise (a read refused is no trouble).
    ClubAnswer Trouble = ClubAnswer::Taken;
    bool OwnCardKnown = false; // the member's own card came from the server
};

// What the window reads when it opens: the top ten, the member's game
// record, place, member count, own photo and card (logged in only), the
// chairman's card and photo.
ClubReads ReadAtOpening(HttpClient http, const AccountAddresses& at, ClubStateData club, bool loggedIn);

// The member's game record and place: both must be read for the record to
// count, and the place is asked only after a game read.
void ReadGameAndPlace(HttpClient& http, const std::string& accPath, ClubStateData& club);

struct LoginOutcome {
    bool LoggedIn = false;
    ClubAnswer Login = ClubAnswer::Taken; // how the login itself ended
    ClubReads Reads;
};
// Logs in with the nick and password of club.ClubUser and, when that
// succeeds, reads what a logged-in member sees and reports the login.
// ClubUser is replaced only by a successful login.
LoginOutcome LogIn(HttpClient http, const AccountAddresses& at, ClubStateData club, std::uint16_t pwKey);

// Sign-out on the server: `leaving` holds the session's cookies (taken from
// the shared client, which starts clean at once) and tells the server to
// end it, so a copied cookie is worth nothing after.  A short wait: the
// player is not kept for it.
void SignOutOnServer(HttpClient leaving, const std::string& accPath, const std::string& nick);

// Registration: 0 created, 1 nick taken, 2 failed.
int Register(HttpClient http, const std::string& accPath, TTevUser user);

// The chairman's card and photo, from the top ten's first row.
ClubReads ReadChairman(HttpClient http, const AccountAddresses& at, ClubStateData club);

// A transfer of Tevs from the member to `receiver`, and its report.  A
// refused credit (the server answered without "ok") means there is no such
// member; a credit that reached no server is a lost connection.
enum class TransferReport { Done, NoSuchMember, NotEnough, NoConnect };
struct TransferOutcome {
    TransferReport Report = TransferReport::NoConnect;
    // With NoConnect: whether the club was out of reach or failed on its
    // side, and whether the receiver has already been credited.
    ClubAnswer Fault = ClubAnswer::Unreachable;
    bool Credited = false;
    std::optional<std::int32_t> Balance; // the balance as read after the attempt
};
TransferOutcome TransferTevs(HttpClient http, const std::string& accPath, const std::string& ownNick,
                             const std::string& receiver, std::int32_t amount);

} // namespace vk
