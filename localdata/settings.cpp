#include "localdata/settings.h"

// The settings file's reader and writer are not built yet: until they are,
// the program runs on the defaults and keeps nothing between runs, and says
// so through the results below.

namespace vk {

bool ReadEarlySettings(const std::string&, Settings&) { return false; }
bool ReadSettings(const std::string&, Settings&) { return false; }
bool WriteSettings(const std::string&, const Settings&) { return false; }

} // namespace vk
