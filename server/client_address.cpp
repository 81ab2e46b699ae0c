#include "server/client_address.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "common/text_lines.h"

namespace vks {
namespace {

bool Trusted(const std::string& address, const std::vector<std::string>& trusted)
{
    return !address.empty() && std::any_of(trusted.begin(), trusted.end(), [&](const std::string& t) {
        return CanonicalAddress(t) == address;
    });
}

} // namespace

std::string CanonicalAddress(std::string_view text)
{
    const std::string s(text.size() > 2 && text.front() == '[' && text.back() == ']' ? text.substr(1, text.size() - 2)
                                                                                     : text);
    in_addr v4{};
    if (inet_pton(AF_INET, s.c_str(), &v4) == 1) {
        char out[INET_ADDRSTRLEN];
        return inet_ntop(AF_INET, &v4, out, sizeof out);
    }
    in6_addr v6{};
    if (inet_pton(AF_INET6, s.c_str(), &v6) != 1)
        return {};
    static const unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    if (std::memcmp(v6.s6_addr, kMapped, sizeof kMapped) == 0) {
        std::memcpy(&v4, v6.s6_addr + 12, 4);
        char out[INET_ADDRSTRLEN];
        return inet_ntop(AF_INET, &v4, out, sizeof out);
    }
    char out[INET6_ADDRSTRLEN];
    return inet_ntop(AF_INET6, &v6, out, sizeof out);
}

std::string ClientAddress(std::string_view peer, const std::vector<std::string>& forwardedLines,
                          const std::vector<std::string>& trustedProxies)
{
    std::string address = CanonicalAddress(peer);
    if (address.empty())
        address = std::string(peer);
    if (!Trusted(address, trustedProxies))
        return address;
    std::vector<std::string_view> hops;
    for (const auto& line : forwardedLines) {
        std::string_view rest = line;
        for (;;) {
            const auto comma = rest.find(',');
            hops.push_back(vk::TrimBlanks(rest.substr(0, comma)));
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    }
    // From the nearest hop outwards, past every proxy of ours.
    for (auto it = hops.rbegin(); it != hops.rend(); ++it) {
        const std::string hop = CanonicalAddress(*it);
        if (hop.empty())
            return address; // not an address: nothing further out can be believed
        if (!Trusted(hop, trustedProxies))
            return hop;
        address = hop;
    }
    return address;
}

std::string LimitKey(std::string_view address)
{
    in6_addr v6{};
    const std::string s(address);
    if (s.find(':') == std::string::npos || inet_pton(AF_INET6, s.c_str(), &v6) != 1)
        return s;
    std::memset(v6.s6_addr + 8, 0, 8);
    char out[INET6_ADDRSTRLEN];
    return std::string(inet_ntop(AF_INET6, &v6, out, sizeof out)) + "/64";
}

} // namespace vks
