#include "server/fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vks {

bool IsNickChar(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '!':
    case '(':
    case ')':
    case ',':
    case '-':
    case '.':
    case '?':
    case '_':
    case '@': return true;
    default: return false;
    }
}

bool IsCyrillic(unsigned char c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; }

bool IsNickText(std::string_view text, std::size_t minLen, std::size_t maxLen, bool cyrillic)
{
    if (text.size() < minLen || text.size() > maxLen)
        return false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!IsNickChar(c) && !(cyrillic && IsCyrillic(c)))
            return false;
    }
    return true;
}

bool ValidMemberNick(std::string_view nick) { return IsNickText(nick, 2, 12); }

// A "?" would end the path of the photo address the client builds from the
// nick, so new members may not take one.
bool ValidNewMemberNick(std::string_view nick)
{
    return ValidMemberNick(nick) && nick.find('?') == std::string_view::npos;
}

bool ValidPassword(std::string_view pw) { return IsNickText(pw, 4, 12); }
bool ValidCity(std::string_view city) { return IsNickText(city, 2, 15, true); }

bool ValidEmail(std::string_view email)
{
    if (!IsNickText(email, 3, 30))
        return false;
    const auto at = email.find('@');
    return at != std::string_view::npos && at >= 1 && at + 1 < email.size();
}

bool ValidReserved(std::string_view text)
{
    if (text.size() > 15)
        return false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ' || c == '$' || c == '*' || c == '~' || u < 0x20 || u == 0x7F || u == 0x98)
            return false;
    }
    return true;
}

bool ValidClientTag(std::string_view text)
{
    if (text.empty() || text.size() > 32)
        return false;
    for (const char c : text) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.'
              || c == '-'))
            return false;
    }
    return true;
}

bool ValidVersion(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == '.'))
            return false;
    return true;
}

bool ValidLoginStamp(std::string_view text)
{
    if (text.size() != 12)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    auto num = [&](std::size_t pos, std::size_t len) {
        int v = 0;
        for (std::size_t i = pos; i < pos + len; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const int year = num(0, 4), month = num(4, 2), day = num(6, 2), hour = num(8, 2), minute = num(10, 2);
    if (year < 1990 || month < 1 || month > 12 || hour > 23 || minute > 59 || day < 1)
        return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= days;
}

bool ValidSex(std::string_view text) { return text == "M" || text == "W"; }

int PassportClass(std::string_view text, int mode)
{
    const std::size_t maxLen = mode == 1 ? 12 : 15;
    if (text.size() < 2 || text.size() > maxLen)
        return 1;
    bool cyrillic = false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsCyrillic(c))
            cyrillic = true;
        else if (!IsNickChar(c))
            return 1;
    }
    return cyrillic ? 2 : 3;
}

namespace {

constexpr std::size_t kCardLimits[14] = {20, 20, 50, 20, 50, 50, 50, 50, 50, 50, 60, 50, 50, 50};
// website, ok, vk, facebook, twitter, instagramm, youtube
constexpr bool kCardLinks[14] = {false, false, false, false, false, true, false,
                                 true,  true,  false, true,  true,  true, true};
// telephone, emailo, skype, telegram
constexpr bool kCardContacts[14] = {false, false, false, true,  true,  false, true,
                                    false, false, true,  false, false, false, false};

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// "word:" at the start of a value: what a desktop's "open" action would take
// for the scheme of an address.
bool StartsWithScheme(std::string_view value)
{
    if (value.empty() || !IsAsciiLetter(value[0]))
        return false;
    for (const char c : value) {
        if (c == ':')
            return true;
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return false;
}

bool StartsWithNoCase(std::string_view value, std::string_view prefix)
{
    if (value.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = value[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// The card's link rows are opened by the desktop's "open" action on other
// members' machines, so a link is an http or https address, or a host
// without a scheme (the client adds https://): host[:port] followed by a
// path, query or fragment.  Nothing else: no other scheme, no "host:1/"
// that is really a scheme, no local path, no share name.
bool SafeLink(std::string_view value)
{
    if (value.empty())
        return true;
    bool hadScheme = false;
    for (const std::string_view prefix : {"http://", "https://"}) {
        if (StartsWithNoCase(value, prefix)) {
            value.remove_prefix(prefix.size());
            hadScheme = true;
            break;
        }
    }
    std::size_t i = 0;
    if (value.empty() || !(IsAsciiLetter(value[0]) || IsAsciiDigit(value[0])))
        return false;
    while (i < value.size()
           && (IsAsciiLetter(value[i]) || IsAsciiDigit(value[i]) || value[i] == '.' || value[i] == '-'))
        ++i;
    // "name:digits" without a dot in the name reads as a scheme to any
    // address parser ("javascript:1/x", "file:0/x"): a port is taken only
    // after a dotted host name whose last part is letters ("x.org:8080").
    const std::string_view host = value.substr(0, i);
    const auto dot = host.rfind('.');
    const bool dottedName =
        dot != std::string_view::npos && dot + 1 < host.size()
        && std::all_of(host.begin() + static_cast<std::ptrdiff_t>(dot) + 1, host.end(), IsAsciiLetter);
    if (i < value.size() && value[i] == ':' && !dottedName && !hadScheme)
        return false;
    if (i < value.size() && value[i] == ':') {
        const std::size_t digits = ++i;
        while (i < value.size() && IsAsciiDigit(value[i]))
            ++i;
        if (i == digits || i - digits > 5)
            return false;
    }
    if (i == value.size())
        return true;
    if (value[i] != '/' && value[i] != '?' && value[i] != '#')
        return false;
    for (; i < value.size(); ++i)
        if (value[i] == ' ' || value[i] == '\\')
            return false;
    return true;
}

} // namespace

std::size_t CardFieldLimit(int index) { return kCardLimits[index]; }
bool IsCardLinkField(int index) { return kCardLinks[index]; }

bool ValidCardField(int index, std::string_view value)
{
    if (value.size() > kCardLimits[index])
        return false;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == 0x98 || c == '$' || c == '~')
            return false;
    }
    if (kCardLinks[index])
        return SafeLink(value);
    // Contact fields are shown as text; none of them may pass for an address
    // that some program would open.
    return !kCardContacts[index] || !StartsWithScheme(value);
}

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t lo, std::int64_t hi)
{
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '-')
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 18)
        return std::nullopt;
    for (const char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    if (digits.size() > 1 && digits[0] == '0')
        return std::nullopt;
    if (text[0] == '-' && digits == "0")
        return std::nullopt; // "-0" is not a form the client writes
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text)
{
    std::string_view rest = text;
    if (!rest.empty() && rest[0] == '-')
        rest.remove_prefix(1);
    const auto dot = rest.find('.');
    const std::string_view whole = rest.substr(0, dot);
    const std::string_view frac = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
    auto allDigits = [](std::string_view s) {
        for (const char c : s)
            if (c < '0' || c > '9')
                return false;
        return true;
    };
    if (whole.empty() || whole.size() > 16 || !allDigits(whole))
        return std::nullopt;
    if (dot != std::string_view::npos && (frac.empty() || frac.size() > 16 || !allDigits(frac)))
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace vks
