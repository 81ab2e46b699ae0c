#pragma once
// The club's records as the club server knows them.  Texts are
// Windows-1251 bytes, exactly as they travel.
#include <array>
#include <cstdint>
#include <string>

namespace vk {

// A member's profile card.  The limits are the card editor's.
struct TInfo14 {
    std::string Name1;      // 20
    std::string Name2;      // 20
    std::string About;      // 50
    std::string Telephone;  // 20
    std::string EMailO;     // 50
    std::string Skype;      // 50
    std::string WebSite;    // 50
    std::string OK;         // 50
    std::string VK;         // 50
    std::string Telegram;   // 50
    std::string FaceBook;   // 60
    std::string Twitter;    // 50
    std::string Instagramm; // 50
    std::string YouTube;    // 50

    bool operator==(const TInfo14&) const = default;
};

// The member's account.
struct TTevUser {
    std::string Nick;     // 2..12
    std::string Pw;       // plain, 4..12; never written to disk
    std::string City;     // up to 15
    std::string Country1; // country key, e.g. "Russia"
    std::string Country2; // country code, e.g. "1-001"
    char Sex = 'M';       // 'M' or 'W'
    std::string EMail;    // up to 30
    std::string DateR = "00.00.0000";
    std::string R01;
    std::string R02;
    std::string R03;
    std::int32_t R04 = 0; // balance in Tevs
    std::int64_t R05 = 0;
    std::int32_t R06 = 0;
    std::string PwC; // the password as the user file keeps it
    TInfo14 Info;
};

// The member's record for this game at the club server (the fields this
// program reads and writes).
struct TTevGame {
    std::int32_t Kon = 0;      // cycles begun
    std::int32_t Score = 0;    // score of the unfinished cycle
    std::int32_t Sessions = 0; // cycles completed
    double Rating = 0;
    char PlayNow = 'N';
    std::int32_t R1 = 0;
    std::string R2 = "#";
    std::int32_t Place = 0; // filled by the place request, never sent
    std::int32_t Best = 0;
    std::int32_t KonL = 0; // deal reached in the unfinished cycle

    bool operator==(const TTevGame&) const = default;
};

// One row of the club rating's top ten.
struct TTevTop10 {
    std::string Nick; // empty for an unfilled row
    std::string City;
    std::string Country;
    char Sex = 'M';
    double Rating = 0;

    bool operator==(const TTevTop10&) const = default;
};

using ClubTopTenRows = std::array<TTevTop10, 10>;

} // namespace vk
