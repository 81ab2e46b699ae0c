#include "logic/club/user_file.h"

#include <filesystem>

#include "common/atomic_file.h"
#include "common/text_lines.h"

namespace vk {
namespace fs = std::filesystem;

std::string UserFilePath(const std::string& programDir)
{
    std::string dir = programDir;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    const std::size_t parentEnd = dir.size() >= 2 ? dir.rfind('/', dir.size() - 2) : std::string::npos;
    return (parentEnd == std::string::npos ? dir : dir.substr(0, parentEnd + 1)) + UserFileName;
}

bool ReadUserFile(const std::string& path, std::string& nick, std::string& storedPw, std::string* deviceToken)
{
    nick.clear();
    storedPw.clear();
    if (deviceToken)
        deviceToken->clear();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return false;
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        bytes = ReadWholeFile(path); // a second try, as after a passing lock
    if (!bytes)
        return false;
    const auto lines = SplitLines(*bytes);
    if (lines.empty() || lines[0] != UserFileMarker)
        return false;
    if (lines.size() > 1)
        nick = lines[1];
    if (lines.size() > 2)
        storedPw = lines[2];
    if (lines.size() > 3 && deviceToken)
        *deviceToken = lines[3];
    return true;
}

bool WriteUserFile(const std::string& path, ClubStateData& club)
{
    // The stored password is only enciphered, so nobody else may read it: an
    // older file that others could read is closed first, and the new one
    // keeps its bits.
    std::error_code ec;
    if (fs::exists(path, ec))
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
    std::vector<std::string> lines = {UserFileMarker, club.ClubUser.Nick, club.ClubUser.PwC};
    if (!club.DeviceToken.empty())
        lines.push_back(club.DeviceToken);
    if (!WriteFileAtomically(path, JoinLines(lines), 0600))
        return false;
    club.UserFileSaved = true;
    return true;
}

void DeleteUserFile(const std::string& path, ClubStateData& club)
{
    std::error_code ec;
    fs::remove(path, ec);
    if (!fs::exists(path, ec) && !ec) {
        club.UserFileSaved = false;
        club.DeviceToken.clear();
    }
}

} // namespace vk
