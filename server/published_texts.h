#pragma once
// The two texts the game reads without an account: the remote configuration
// (the enciphered paths of the world top ten, statistics and account roles,
// the pause flags, the advertisement list) and the news page.  Both are
// generated from the settings, never written by hand, so that no value can
// hold a key the client searches for or run on without its "#".
#include <string>

#include "server/options.h"

namespace vks {

// base is the public base address without a trailing "/".
std::string RenderConfigText(const ServerConfig& config, const std::string& base);
std::string RenderNewsText(const ServerConfig& config);

} // namespace vks
