#pragma once
// The world top ten's rows as the game server sends them, and the chat's
// messages, which travel as rows of a board of their own.
#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "common/product.h"

namespace vk {

// The board numbers: this game, its mobile edition, the club accounts'
// results, and the chat.
inline constexpr int WttDesktopBoard = ProductNumber;
inline constexpr int WttMobileBoard = ProductNumber + 100;
inline constexpr int WttAccountBoard = ProductNumber + 300;
inline constexpr int ChatGameNumber = 100;
// The version every result and message is sent with.
inline constexpr const char* WttVersion = "4.3";

// One row of a board.  Texts are Windows-1251.
struct TTevRecord {
    std::int32_t RID = 0;
    std::int32_t GID = 0;
    std::int32_t Score = 0;
    std::string Nick = "#"; // "#": an empty row
    std::string Country = "#";
    std::string City = "#";
    std::string R07 = "#"; // sex, "M" or "W"
    std::string R08 = "#"; // version of the program that sent it
    std::string R09 = "#";
    std::string R10 = "#*";
    std::int32_t Place = 0;

    bool Empty() const { return Nick == "#"; }
    bool operator==(const TTevRecord&) const = default;
};

using WttRows = std::array<TTevRecord, 10>;

// Ten empty rows of board `gid`.
WttRows PresetWttRows(int gid);

// Fills the rows from a reply, in order: each "$" that is not the last byte
// opens a row up to the next "*" (or the byte before the last), its words
// Place, (ignored), Score, Nick, Country, City, R07, R08, R09, R10.  A reply
// without rows leaves them preset.  False when a number word does not read;
// the rows read until then stay.
bool ReadWttRows(std::string_view reply, WttRows& rows);

// ---- The chat ----------------------------------------------------------------

// The text of a message as it is sent: every character outside the
// passport's set (Latin and Cyrillic letters, digits, ! ( ) , - . ? @ _),
// the blank included, becomes "_"; so does anything the code page lacks.
// At most 80 characters are taken.
inline constexpr std::size_t ChatMessageCapacity = 80;
std::string CleanChatText(std::u32string_view text);

// A sent text as readers see it: "_" shown as a blank.
std::string ChatShown(std::string_view text);

// The time stamp of a message: "HH:mm_dd.MM.yyyy_Vokabron", the same
// fixed formats whatever the player's locale, so that it never holds a
// blank that would split the row.
std::string ChatStamp(const std::tm& localTime);

// The header line of a message: city, " : ", the stamp shown with blanks,
// " ", the version, " : ", the nick.
std::string ChatHeader(const TTevRecord& message);

} // namespace vk
