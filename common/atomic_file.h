#pragma once
// Rewriting a file the program keeps (settings, club file, user file) so that
// a crash, a kill or a full disk never leaves half of it: the new content goes
// to a temporary file in the same folder, reaches the disk, and only then
// replaces the old file in one rename.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

// The whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// False when anything failed; the old file (if any) is then untouched and no
// temporary file is left behind.  The new file keeps the old one's
// permission bits; a new file gets Mode (further limited by the umask).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned int mode = 0644);

} // namespace vk
