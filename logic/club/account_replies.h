#pragma once
// What the club server's replies mean to each account request.  Pure
// functions on the reply text, shared with the server's own checks of the
// replies it builds.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "logic/club/records.h"

namespace vk {

// Registration: 0 created, 1 nick taken ("is" wins over "ok"), 2 failed.
int ReadRegisterReply(std::string_view reply);

// The record a login starts from: placeholders that stay where the reply
// gives nothing.
TTevUser LoginPlaceholders(const std::string& nick, const std::string& pw);
// Fills City .. R06 from the reply; false on a refusal, an empty sex word or
// a balance word that is not a number (words taken before stay).
bool ReadLoginReply(std::string_view reply, TTevUser& user);

// Ten empty rows, as every top ten read starts.
ClubTopTenRows EmptyTopTen();
// Fills rows from the reply's star records; false on an unreadable rating.
bool ReadTopTenReply(std::string_view reply, ClubTopTenRows& rows);

std::optional<std::int32_t> ReadBalanceReply(std::string_view reply);

// Leaves the card as it is on a refusal or a reply without a record; true
// when the reply held a card.
bool ReadInfoReply(std::string_view reply, TInfo14& card);

// The record a game read starts from.
void PrepareGameRecord(TTevGame& game);
// False when a number word is unreadable (words taken before stay).
bool ReadGameReply(std::string_view reply, TTevGame& game);

// The statistics server's confirmation: after the last usable "$", up to the
// first "#", bytes 2 and 3 are "ok".
bool StatConfirmed(std::string_view reply);

// Dates and times on the wire have fixed forms whatever the locale: a locale
// form with blanks ("2:05 PM") would shift every later word of a record.
// The login report's time: twelve digits, year, month, day, hour, minute.
std::string LoginDateText(const std::tm& localTime);
// "dd.MM.yyyy", the registration date.
std::string WireDateText(const std::tm& localTime);
// "HH:mm", 24-hour.
std::string WireTimeText(const std::tm& localTime);

} // namespace vk
