#include "logic/club/passport_text.h"

#include <string>

#include "common/codepage.h"

namespace vk {
namespace {

bool Cyrillic(unsigned char c) { return c >= 0xC0 || c == 0xA8 || c == 0xB8; } // А..я, Ё, ё

bool Allowed(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || Cyrillic(c))
        return true;
    return std::string_view("!(),-.?_@").find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

int CheckPassportText(std::string_view text, int mode)
{
    if (text.empty())
        return 1;
    if ((mode == PassportNick && text.size() > 12) || (mode == PassportCity && text.size() > 15))
        return 1;
    if ((mode == PassportNick || mode == PassportCity) && text.size() == 1)
        return 1;
    int result = 3;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!Allowed(c))
            return 1;
        if (Cyrillic(c))
            result = 2;
    }
    return result;
}

int CheckPassportTextUnicode(std::u32string_view text, int mode)
{
    std::string cp1251;
    for (const char32_t cp : text) {
        const auto byte = UnicodeToCp1251(cp);
        if (!byte)
            return 1;
        cp1251 += static_cast<char>(*byte);
    }
    return CheckPassportText(cp1251, mode);
}

std::optional<Msg> PassportRule(int textClass, int mode)
{
    if (mode == PassportNick)
        return textClass == 1   ? std::optional(Msg::RuleNick)
               : textClass == 2 ? std::optional(Msg::RuleNickLatin)
                                : std::nullopt;
    return textClass == 1 ? std::optional(Msg::RuleCity) : std::nullopt;
}

std::optional<Msg> PassportSendBlocked(std::string_view cp1251Nick, std::string_view cp1251City)
{
    if (const auto nick = PassportRule(CheckPassportText(cp1251Nick, PassportNick), PassportNick))
        return nick;
    return PassportRule(CheckPassportText(cp1251City, PassportCity), PassportCity);
}

} // namespace vk
