#pragma once
// The player's preferences, kept in the settings file beside the program.
#include <string>

namespace vk {

inline constexpr const char* DefaultDisplayFontName = "OldCyr Bold";
inline constexpr const char* DefaultMenuListFontName = "Times New Roman";

struct Settings {
    bool SoundOn = true;
    bool MusicOn = false;
    bool NoOwnFont = false;
    bool NoFontWindow = false;
    int WindowSize = 1; // 1..5
    bool StartCounted = false;
    bool WttAvailable = true;
    bool ChatAvailable = true;
    std::string DisplayFontName = DefaultDisplayFontName;
    std::string MenuListFontName = DefaultMenuListFontName;
};

// Reads sound, music and window size when the file exists and is readable;
// otherwise leaves the values as they are and returns false.
bool ReadEarlySettings(const std::string& programDir, Settings& settings);
// Reads the whole file (false: missing or unreadable, values unchanged).
bool ReadSettings(const std::string& programDir, Settings& settings);
// Rewrites the file; false when it could not be written (the old file stays).
bool WriteSettings(const std::string& programDir, const Settings& settings);

} // namespace vk
