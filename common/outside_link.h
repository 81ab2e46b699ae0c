#pragma once
// Which outside addresses the program may hand to the desktop.  Texts that
// reach a link come from the club's pages and from other players' cards:
// only a web address with a host is opened, never a file, a custom scheme
// or script text.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

// The address to open for a text naming a web page: an http or https
// address with a host (the scheme in any case), or a bare host with an
// optional port and path, which gets "https://".  Nothing for anything
// else (other schemes, blanks or control characters, empty or overlong
// text).
std::optional<std::string> WebAddressToOpen(std::string_view text);

// The stricter rule for what the club's news page publishes (the store,
// the package and the news link): https only, or plain http on the club's
// own origin (a local club without TLS).  `clubBase` is any address of the
// club; its scheme, host and port make the origin.
bool SecureOrClubAddress(std::string_view address, std::string_view clubBase);

// "scheme://host[:port]" of an http or https address; empty for anything else.
std::string OriginOf(std::string_view address);

} // namespace vk
