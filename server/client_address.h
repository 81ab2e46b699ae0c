#pragma once
// Which address a request comes from.  Behind a reverse proxy the peer is
// the proxy, and the client's address is the last element of
// X-Forwarded-For that no trusted proxy added; proxies differ in whether
// they append to the client's header line or add a line of their own, so
// every line counts, in order.  Limits count IPv6 clients by their /64
// network: one subscriber usually holds a whole /64.
#include <string>
#include <string_view>
#include <vector>

namespace vks {

// An address in its plain textual form: an IPv4-mapped IPv6 address as
// IPv4, an IPv6 address in its canonical form; nothing for anything else.
std::string CanonicalAddress(std::string_view text);

// forwardedLines: every X-Forwarded-For line of the request, in order.
std::string ClientAddress(std::string_view peer, const std::vector<std::string>& forwardedLines,
                          const std::vector<std::string>& trustedProxies);

// The key the address's limits are counted under: IPv4 as it is, IPv6 as
// its /64 network ("2001:db8:1:2::/64").
std::string LimitKey(std::string_view address);

} // namespace vks
