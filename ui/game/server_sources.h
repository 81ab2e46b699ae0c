#pragma once
// Where the settings reading finds the server addresses: the ones built into
// the program, and the remote configuration that may replace them.
#include <string>

#include "common/builtin_addresses.h"
#include "logic/localdata/settings.h"

namespace vk {

// configAddress: the stored (enciphered) address of the configuration text.
SettingsSources ServerSources(const std::string& configAddress = RemoteConfigAddress);

} // namespace vk
