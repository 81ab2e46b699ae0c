#pragma once
// The local club: up to five members with a game in progress and the top ten
// of finished games, kept in one checksummed file ("Vokabron.clb") of 17
// fixed-width lines in Windows-1251.
//
//   lines 1..5    MemberLine (55): name 1-20, "#", score 22-29, "#",
//                 deals 31-33, " ", "######", password code 41-55
//   lines 6..15   TopTenLine (28): name 1-20, score 21-28
//   line 16       marker: byte 150, then "u"; the rest is free
//   line 17       checksums: label 7-9, Sum1 11-16, Sum2 17-22, Sum3 23-28
//
// Every update reads the whole file again, checks it, changes it in memory,
// seals it and replaces the file in one step, so the file on disk is always
// a complete, valid one.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

inline constexpr int ClubLineCount = 17;
inline constexpr int MemberCount = 5;
inline constexpr int TopTenCount = 10;
inline constexpr std::size_t MemberLineLength = 55;
inline constexpr std::size_t TopTenLineLength = 28;
inline constexpr std::size_t NameLength = 20;
inline constexpr std::size_t PasswordLength = 5;
inline constexpr std::size_t PasswordCodeLength = 15;
inline constexpr unsigned char MarkerByte1 = 150; // ProductNumber + 100
inline constexpr unsigned char MarkerByte2 = 117; // "u"

// A free member slot: 33 "#", a blank, 21 "#".
inline constexpr std::string_view EmptyMemberLine = "################################# #####################";

// Windows-1251 bytes; MemberLine is 55 long, TopTenLine 28.
using MemberLine = std::string;
using TopTenLine = std::string;
using ClubLines = std::array<std::string, ClubLineCount>; // [0] is line 1

// The local club's part of the program's state.  One instance lives for the
// whole run; the game, the password window and the result windows share it.
struct LocalClubState {
    // The player of the game in progress, as the password window accepted it.
    std::string CurrentName;         // 20 characters, blank-padded
    std::string CurrentPassword;     // 5 characters, blank-padded
    std::string CurrentPasswordCode; // 15 digits, EncodePassword(CurrentPassword)
    bool PasswordAccepted = false;   // cleared by the caller before the window opens

    // From the start-up check of the club file.
    bool ClubWriteProtected = false; // nothing is written to the club file
    std::string DistributionLabel;   // 3 characters from the checksum line

    // The end of a game.
    bool GameComplete = false; // the deal just finished was the last of the game
    int ResultScore = 0;
    int ResultPlace = 0; // 1..10 a place in the top ten, 0 none (a club game may report more)
    int ResultBonus = 0; // currency credited for a club rating game; negative: the credit failed
};

// ---- Fields of the records -------------------------------------------------

// A score or deal-count field: blanks around an optional "-" and ASCII
// digits; anything else reads as 0.
long long ParseNumberField(std::string_view field);

// A slot is free when its position 33 is "#"; a line too short to hold a
// member counts as free too.
bool IsEmptyMemberLine(std::string_view line);
std::string MemberName(std::string_view line);         // positions 1-20, blanks kept
int MemberScore(std::string_view line);                // positions 22-29
int MemberDeals(std::string_view line);                // positions 31-33, held to 0..DealsPerGame-1
std::string MemberPasswordCode(std::string_view line); // positions 41-55

// The line the end of a deal files: Name cut or padded to 20, the score held
// to what 8 characters can show, the deal count to 0..999.  Bytes that would
// break the file become "?".
MemberLine MakeMemberLine(std::string_view name, long long score, int deals, std::string_view passwordCode);

std::string TopTenName(std::string_view line);       // positions 1-20
std::string TopTenScoreField(std::string_view line); // positions 21-28, as written
int TopTenScore(std::string_view line);
TopTenLine MakeTopTenLine(std::string_view name, long long score);
// An empty top ten place: 20 blanks and a score field of blanks and "0".
TopTenLine EmptyTopTenLine();

// ---- The file as a whole ---------------------------------------------------

struct ClubSums {
    long Sum1 = 0; // every byte of lines 1..16 laid end to end
    long Sum2 = 0; // bytes at even positions
    long Sum3 = 0; // bytes at positions divisible by 3
};
ClubSums ComputeClubSums(const ClubLines& lines);

// Rewrites line 17 as its first 10 characters and the three sums, 6 digits
// each.
void SealClubFile(ClubLines& lines);

// The rules of the start-up check on lines already split: lengths, marker,
// six-digit sums that match.
bool ClubLinesValid(const ClubLines& lines);

// The file's bytes split into its 17 lines and checked; nullopt for anything
// else.
std::optional<ClubLines> ParseClubFile(std::string_view bytes);
std::string ClubFileBytes(const ClubLines& lines);

// The file shipped with the program: five free slots, an empty top ten, the
// marker and valid sums.
ClubLines EmptyClubFile();

enum class ClubCheck { Good, Missing, Bad };
struct ClubCheckResult {
    ClubCheck Verdict = ClubCheck::Missing;
    bool WriteProtected = false; // only meaningful for a good file
    std::string DistributionLabel;
};
// The start-up check without its messages.  A file the user may not write
// (or whose write bits are all off) is write-protected.
ClubCheckResult InspectClubFile(const std::string& path);

// The validated lines of the file on disk.
std::optional<ClubLines> ReadClubFile(const std::string& path);

enum class ClubWrite {
    Written,
    Protected, // ClubWriteProtected, or the file turned read-only: nothing written
    BadFile,   // the file on disk no longer passes the check: left alone
    Failed     // could not write; the old file stays
};

// Takes member line Slot (1..5) out and closes the gap; line 5 becomes free.
ClubWrite TakeMemberOut(int slot, const std::string& path, const LocalClubState& state);

// Files a member line (GameComplete false) or enters the top ten (true,
// setting ResultScore and ResultPlace).  Record is a MemberLine.
ClubWrite StoreDealResult(std::string_view record, const std::string& path, LocalClubState& state);

// The same two changes on lines in memory (no file, no seal).
void TakeMemberOutOfLines(int slot, ClubLines& lines);
void StoreDealResultInLines(std::string_view record, bool gameComplete, ClubLines& lines, int& resultScore,
                            int& resultPlace);

// ---- Passwords -------------------------------------------------------------

inline constexpr int PasswordCodeOffset = 317;

// Password padded (or cut) to 5 characters, each written as its byte value
// plus the offset in 3 digits.
std::string EncodePassword(std::string_view password);
// The 5 characters back; nullopt for a code that no password gives (wrong
// length, non-digits, a value outside the offset's range).
std::optional<std::string> DecodePasswordCode(std::string_view code);
// The password of member line Slot (1..5) of the club file.
std::optional<std::string> DecodePassword(int slot, const std::string& path);

} // namespace vk
