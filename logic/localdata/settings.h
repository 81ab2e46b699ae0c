#pragma once
// The player's preferences and world-top-ten identity, kept in the settings
// file "Vokabron.ini" beside the program: 16 lines in Windows-1251, comment
// lines on the odd lines, values on the even ones.
#include <functional>
#include <string>

#include "common/builtin_addresses.h"

namespace vk {

inline constexpr const char* OwnFontName = "OldCyr Bold";
inline constexpr const char* SubstituteFontName = "Times New Roman";
// A bitmap font of the classic system; fontconfig stands a fixed-pitch face
// in for it (see MakeFont).
inline constexpr const char* MenuListFont = "FixedSys";
// Kept for callers that name the defaults.
inline constexpr const char* DefaultDisplayFontName = OwnFontName;
inline constexpr const char* DefaultMenuListFontName = MenuListFont;

// Every text is Windows-1251 bytes.
struct Settings {
    bool SoundOn = true;
    bool MusicOn = true;
    bool NoOwnFont = false;
    bool NoFontWindow = false;
    int WindowSize = 1; // 1..5
    bool StartCounted = true;
    bool LikeSent = true;

    std::string ServerPath;               // stored (enciphered) form; WttAddress is its decoded form
    std::string ServerNick = "Incognito"; // at most 12 characters
    std::string ServerCountry = "1-001";  // continent digit, "-", three digits
    std::string ServerCity = "Moscow";    // at most 15 characters
    std::string ServerSex = "M";          // "M" or "W"
    std::string PlayerName = "\xC8\xED\xEA\xEE\xE3\xED\xE8\xF2\xEE"; // "Инкогнито"
    std::string StatPath;                                            // stored form; StatAddress is its decoded form
    std::string AccPath; // stored form: the built-in one until the remote refresh
    bool WttAvailable = false;
    bool ChatAvailable = false;

    // Working addresses, decoded from the stored ones.
    std::string WttAddress;
    std::string StatAddress;

    // Derived from NoOwnFont by UpdateFontNames.
    std::string DisplayFontName = OwnFontName;
    std::string MenuListFontName = MenuListFont;
};

inline constexpr std::size_t ServerNickCapacity = 12;
inline constexpr std::size_t ServerCityCapacity = 15;

// What the remote configuration answered when the reading refreshes the
// server addresses.  The club's transport fills it.
struct RemoteAddressAnswers {
    std::string WttPath = "old"; // "pause", "old", or a new stored address (empty: as "old")
    bool ChatAvailable = true;   // false when the configuration pauses the chat
    std::string StatPath;        // empty: keep the stored one
    std::string AccPath;         // empty: keep the built-in one
};

// Where the reading gets what is not in the file: the addresses built into
// the program (stored form) and the remote refresh.  Without a refresh the
// reading ends with the file, as when the file is missing.
struct SettingsSources {
    std::string BuiltInServerPath = BuiltinServerPath;
    std::string BuiltInStatPath = BuiltinStatPath;
    std::string BuiltInAccPath = BuiltinAccPath;
    std::function<RemoteAddressAnswers()> FetchRemoteAddresses;
};

// Takes the answers of the remote refresh: the world top ten and chat
// availability, and the addresses that replace the stored ones.
void ApplyRemoteAddresses(Settings& settings, const RemoteAddressAnswers& answers, const std::string& builtInAccPath);

// Sound, music and window size from the flags line; everything else keeps
// its value.  False when the file is missing or unreadable.
bool ReadEarlySettings(const std::string& programDir, Settings& settings);

// What the main window starts with before it has read the whole file: sound
// on, music off, the small size, then ReadEarlySettings over them.  The
// music stays off unless the file turns it on; the whole reading later sets
// every value again.
bool ReadStartSettings(const std::string& programDir, Settings& settings);

// Every default, then the whole file, then the remote refresh.  A short or
// malformed file keeps what was taken before the faulty line; the refresh
// runs also then, and without a file.  True when all 16 lines were taken.
bool ReadSettings(const std::string& programDir, Settings& settings, const SettingsSources& sources = {});

// The 16 lines, CR LF ended, exactly as the file holds them.
std::string SettingsFileText(const Settings& settings);

// Replaces the file in one step; false when it could not be written (the old
// file stays as it was).
bool WriteSettings(const std::string& programDir, const Settings& settings);

// DisplayFontName and MenuListFontName from NoOwnFont.
void UpdateFontNames(Settings& settings);

} // namespace vk
