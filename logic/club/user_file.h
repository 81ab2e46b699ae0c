#pragma once
// The local club user file "TevUser.tev": the member's nick and stored
// password, and on a fourth line the device token of the member's last
// login (a file without it still reads), kept in the folder above the
// program's folder so that it outlives a reinstall.
#include <string>

#include "logic/club/club_state.h"

namespace vk {

inline constexpr const char* UserFileName = "TevUser.tev";
inline constexpr const char* UserFileMarker = "Tev User File";

// ProgramDir ends with "/"; the file lies in its parent folder (in "/" for a
// program in the root folder).
std::string UserFilePath(const std::string& programDir);

// True with the nick and stored password (and the device token, when asked
// for) when the file exists and starts with the marker line; otherwise false
// with all of them empty.
bool ReadUserFile(const std::string& path, std::string& nick, std::string& storedPw,
                  std::string* deviceToken = nullptr);

// Writes ClubUser's nick and stored password and the device token, readable by the owner only,
// through a temporary file in the same folder: a failed write leaves the old
// file.  Sets UserFileSaved on success.
bool WriteUserFile(const std::string& path, ClubStateData& club);

// Clears UserFileSaved once the file is gone; the device token goes with it.
void DeleteUserFile(const std::string& path, ClubStateData& club);

} // namespace vk
