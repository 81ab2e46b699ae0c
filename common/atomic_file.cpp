#include "common/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vk {
namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(out).str();
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned int mode)
{
    struct stat old {};
    const bool hadOld = ::stat(path.c_str(), &old) == 0;
    const mode_t wanted = hadOld ? (old.st_mode & 07777) : static_cast<mode_t>(mode);

    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes);
    if (ok) {
        // mkstemp makes the file private; give it the old file's bits, or
        // the default ones the umask allows.
        mode_t applied = wanted;
        if (!hadOld) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            applied &= ~mask;
        }
        ok = ::fchmod(fd, applied) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace vk
