#include "club/user_file.h"

#include <filesystem>
#include <fstream>

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

bool ReadUserFile(const std::string& path, std::string& nick, std::string& storedPw)
{
    nick.clear();
    storedPw.clear();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        in.open(path, std::ios::binary); // a second try, as after a passing lock
    if (!in)
        return false;

    auto readLine = [&in](std::string& line) {
        line.clear();
        std::getline(in, line);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    };
    std::string marker;
    readLine(marker);
    if (marker != UserFileMarker)
        return false;
    readLine(nick);
    readLine(storedPw);
    return true;
}

bool WriteUserFile(const std::string& path, ClubStateData& club)
{
    const std::string temp = path + ".new";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        // The stored password is only enciphered, so nobody else may read it.
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
        out << UserFileMarker << "\r\n" << club.ClubUser.Nick << "\r\n" << club.ClubUser.PwC << "\r\n";
        out.close();
        if (ec || !out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    club.UserFileSaved = true;
    return true;
}

void DeleteUserFile(const std::string& path, ClubStateData& club)
{
    std::error_code ec;
    fs::remove(path, ec);
    if (!fs::exists(path, ec) && !ec)
        club.UserFileSaved = false;
}

} // namespace vk
