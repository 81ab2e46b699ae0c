#pragma once
// The club's shared state: one instance lives for the whole run, owned by
// the main window.  Logic takes it by reference, so tests build their own.
#include <cstdint>
#include <string>

#include "logic/club/records.h"

namespace vk {

struct ClubStateData {
    TTevUser ClubUser;
    TTevGame ClubGame;
    ClubTopTenRows ClubTopTen;
    TInfo14 ChairmanInfo; // card of the member in the top ten's first row
    bool TopTenOk = false;
    bool GameRecordOk = false;
    std::int32_t MemberCount = 0;
    bool MemberCountOk = false;

    // Photo slots 1 (own) and 2 (chairman): the JPEG bytes as loaded.
    std::string OwnPhoto;
    std::string ChairmanPhoto;
    bool OwnPhotoLoaded = false;
    bool ChairmanPhotoLoaded = false;

    bool UserFileSaved = false;
    // The device token the club gave this computer at the member's last
    // login: shown at the next one, kept in the user file with the login.
    std::string DeviceToken;

    // Prefix of this game's field names in the club requests.
    std::string ClubGameKey = "zarvo";
    // The last transfer the account window was given, shown again at its
    // next opening.
    std::int32_t TransferAmount = 0;
    std::string TransferNick;

    // Which world top ten table the viewer shows first.
    int WorldTopTenTable = 1;
};

} // namespace vk
