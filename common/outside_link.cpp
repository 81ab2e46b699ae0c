#include "common/outside_link.h"

#include <algorithm>
#include <cctype>

namespace vk {
namespace {

constexpr std::size_t kLongestAddress = 2048;

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool HostCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.'; }

// Scheme (lower case), host and port of an http(s) address; the part after
// the authority may hold any printable ASCII.
struct Origin {
    std::string Scheme;
    std::string Host;
    std::string Port;
};

std::optional<Origin> ReadOrigin(std::string_view address)
{
    const auto colon = address.find("://");
    if (colon == std::string_view::npos)
        return std::nullopt;
    Origin origin;
    origin.Scheme = Lower(address.substr(0, colon));
    if (origin.Scheme != "http" && origin.Scheme != "https")
        return std::nullopt;
    const std::string_view rest = address.substr(colon + 3);
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (authority.find('@') != std::string_view::npos)
        return std::nullopt; // user names in links only serve to deceive
    const auto portAt = authority.rfind(':');
    const std::string_view host = authority.substr(0, portAt);
    if (host.empty() || host.front() == '.' || host.front() == '-'
        || !std::all_of(host.begin(), host.end(), HostCharacter))
        return std::nullopt;
    if (host.find_first_not_of("0123456789") == std::string_view::npos)
        return std::nullopt;
    origin.Host = Lower(host);
    if (portAt != std::string_view::npos) {
        origin.Port = std::string(authority.substr(portAt + 1));
        if (origin.Port.empty() || origin.Port.size() > 5
            || origin.Port.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
    }
    return origin;
}

} // namespace

std::optional<std::string> WebAddressToOpen(std::string_view text)
{
    if (text.empty() || text.size() > kLongestAddress)
        return std::nullopt;
    // Blanks, control bytes and anything beyond ASCII make it text, not an
    // address.
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\')
            return std::nullopt;
    }
    std::string address(text);
    if (address.find("://") == std::string::npos) {
        // A bare host: "x.org", "x.org/page", "club.example:8350".  A colon
        // before any dot is a scheme ("javascript:", "mailto:") and no host.
        const auto firstDot = address.find('.');
        const auto firstColon = address.find(':');
        if (firstDot == std::string::npos || (firstColon != std::string::npos && firstColon < firstDot))
            return std::nullopt;
        address = "https://" + address;
    }
    if (!ReadOrigin(address))
        return std::nullopt;
    return address;
}

bool SecureOrClubAddress(std::string_view address, std::string_view clubBase)
{
    const auto origin = ReadOrigin(address);
    if (!origin || !WebAddressToOpen(address))
        return false;
    if (origin->Scheme == "https")
        return true;
    const auto club = ReadOrigin(clubBase);
    return club && club->Scheme == "http" && club->Host == origin->Host && club->Port == origin->Port;
}

std::string OriginOf(std::string_view address)
{
    if (!ReadOrigin(address))
        return {};
    const std::size_t hostAt = address.find("://") + 3;
    return std::string(address.substr(0, address.find_first_of("/?#", hostAt)));
}

} // namespace vk
