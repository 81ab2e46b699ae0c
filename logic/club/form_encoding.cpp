#include "logic/club/form_encoding.h"

#include "common/codepage.h"

namespace vk {
namespace {

bool IsAlnum(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

std::string PercentEncode(std::string_view cp1251, std::string_view keptSigns, bool blankAsPlus)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : Cp1251ToUtf8(cp1251)) {
        if (IsAlnum(c) || keptSigns.find(c) != std::string_view::npos) {
            out += c;
        } else if (c == ' ' && blankAsPlus) {
            out += '+';
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

template <typename Encode>
std::string JoinFields(const FormFields& fields, Encode encode)
{
    std::string body;
    for (const auto& [name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += encode(name);
        body += '=';
        body += encode(value);
    }
    return body;
}

} // namespace

std::string RawFormBody(const FormFields& fields)
{
    return JoinFields(fields, [](const std::string& text) -> const std::string& { return text; });
}

std::string FormEncode(std::string_view text) { return PercentEncode(text, "*-._", true); }

std::string EncodedFormBody(const FormFields& fields)
{
    return JoinFields(fields, [](const std::string& text) { return FormEncode(text); });
}

std::string PathSegmentEncode(std::string_view text) { return PercentEncode(text, "-._~", false); }

} // namespace vk
