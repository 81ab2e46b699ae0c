#include "server/form_template.h"

#include "common/codepage.h"

namespace vks {
namespace {

std::string FieldName(std::string_view pattern, std::string_view gameKey)
{
    if (pattern.starts_with("{K}"))
        return std::string(gameKey) + std::string(pattern.substr(3));
    return std::string(pattern);
}

bool IsKeyed(const RequestTemplate& t)
{
    for (const auto& f : t.fields)
        if (f.name.starts_with("{K}"))
            return true;
    return false;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool RawValueOk(std::string_view value)
{
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == 0x98)
            return false;
    }
    return true;
}

// A game key as it can appear in front of a field name.
bool KeyLike(std::string_view key)
{
    if (key.empty() || key.size() > 32)
        return false;
    for (const char c : key)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

// The key a body would carry in front of the template's first keyed field.
std::optional<std::string> KeyInBody(std::string_view body, const RequestTemplate& t)
{
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
        const std::string_view pattern = t.fields[i].name;
        if (!pattern.starts_with("{K}"))
            continue;
        const std::string_view suffix = pattern.substr(3);
        std::size_t nameStart = 0;
        if (i > 0) {
            const std::string anchor = "&" + std::string(t.fields[i - 1].name) + "=";
            const auto p = body.find(anchor);
            if (p == std::string_view::npos)
                return std::nullopt;
            const auto amp = body.find('&', p + anchor.size());
            if (amp == std::string_view::npos)
                return std::nullopt;
            nameStart = amp + 1;
        }
        const auto eq = body.find('=', nameStart);
        if (eq == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = body.substr(nameStart, eq - nameStart);
        if (!name.ends_with(suffix))
            return std::nullopt;
        const std::string_view key = name.substr(0, name.size() - suffix.size());
        if (!KeyLike(key))
            return std::nullopt;
        return std::string(key);
    }
    return std::nullopt;
}

std::vector<RequestTemplate> AccountTemplates()
{
    using K = RequestKind;
    const BodyForm raw = BodyForm::Raw, enc = BodyForm::Encoded;
    // clang-format off
    return {
        {K::SaveInfo, raw, {{"nick"}, {"labelinfosave", true}, {"namei"}, {"name2"}, {"about"}, {"telephone"},
                            {"emailo"}, {"website"}, {"skype"}, {"ok"}, {"vk"}, {"telegram"}, {"facebook"},
                            {"twitter"}, {"instagramm"}, {"youtube"}}},
        {K::Register, raw, {{"nick"}, {"pw"}, {"city"}, {"country1"}, {"country2"}, {"sex"}, {"email"}, {"dater"},
                            {"R01"}, {"R02"}, {"R03"}, {"R04"}, {"R05"}, {"R06"}}},
        {K::SaveGame, raw, {{"nick"}, {"pw"}, {"{K}kon"}, {"{K}best"}, {"{K}rating"}, {"{K}ses"}, {"{K}konl"},
                            {"{K}score"}, {"{K}R1"}, {"{K}R2"}}},
        {K::LoginDate, raw, {{"nick"}, {"pw"}, {"ldate"}, {"lfrom"}}},
        {K::AddBalance, raw, {{"nick"}, {"labeltevsave", true}, {"R04"}}},
        {K::ReadGame, enc, {{"nick"}, {"pw"}, {"{K}best", true}}},
        // A game that keeps a device token asks for one (an empty value) or
        // shows the one it holds; older games send the plain login below.
        {K::LoginDevice, enc, {{"nick"}, {"pw"}, {"label0", true}, {"device"}}},
        {K::Login, enc, {{"nick"}, {"pw"}, {"label0", true}}},
        {K::ReadBalance, enc, {{"nick"}, {"labeltevread", true}}},
        {K::ReadInfo, enc, {{"nick"}, {"labelinforead", true}}},
        {K::SignOut, enc, {{"nick"}, {"labelsignout", true}}},
        {K::ReadTopTen, enc, {{"{K}kon", true}}},
        {K::ReadPlace, raw, {{"{K}rating"}}},
        {K::MemberCount, raw, {{"label1", true}}},
    };
    // clang-format on
}

std::vector<RequestTemplate> WttTemplates()
{
    using K = RequestKind;
    return {
        {K::WttSubmit,
         BodyForm::Raw,
         {{"gid"}, {"nick"}, {"city"}, {"country"}, {"score"}, {"R7"}, {"R8"}, {"R9"}, {"R10"}}},
        {K::WttOwn, BodyForm::Raw, {{"gid"}, {"nick"}, {"city"}}},
        {K::WttBoard, BodyForm::Encoded, {{"gid"}}},
        {K::WttCount, BodyForm::Encoded, {{"rgid"}}},
    };
}

std::vector<RequestTemplate> StatTemplates()
{
    using K = RequestKind;
    return {
        {K::StatDeal,
         BodyForm::Raw,
         {{"gid"}, {"R1"}, {"R2"}, {"R3"}, {"R4"}, {"R5"}, {"R6"}, {"R7"}, {"R8"}, {"R9"}, {"R10"}, {"R11"}, {"R12"}}},
        {K::StatLaunch, BodyForm::Raw, {{"gid"}, {"stat1"}, {"stat2"}}},
        {K::StatLike, BodyForm::Raw, {{"gid"}, {"stat3"}, {"stat4"}}},
        {K::StatRead, BodyForm::Encoded, {{"gid"}}},
    };
}

} // namespace

const std::vector<RequestTemplate>& TemplatesOf(Endpoint endpoint)
{
    static const auto account = AccountTemplates();
    static const auto wtt = WttTemplates();
    static const auto stat = StatTemplates();
    switch (endpoint) {
    case Endpoint::Account: return account;
    case Endpoint::Wtt: return wtt;
    case Endpoint::Stat: break;
    }
    return stat;
}

std::optional<std::string> DecodeEncodedValue(std::string_view value)
{
    std::string utf8;
    utf8.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '+') {
            utf8 += ' ';
        } else if (c == '%') {
            if (i + 2 >= value.size())
                return std::nullopt;
            const int hi = HexDigit(value[i + 1]);
            const int lo = HexDigit(value[i + 2]);
            if (hi < 0 || lo < 0)
                return std::nullopt;
            utf8 += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (c == '&') {
            return std::nullopt;
        } else {
            utf8 += c;
        }
    }
    auto bytes = vk::Utf8ToCp1251(utf8);
    if (!bytes || !RawValueOk(*bytes))
        return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::string>> MatchTemplate(std::string_view body, BodyForm form,
                                                      std::span<const FormField> fields, std::string_view gameKey)
{
    if (fields.empty())
        return std::nullopt;
    const std::string first = FieldName(fields[0].name, gameKey);
    if (!body.starts_with(first + "=") || body.find("&" + first + "=") != std::string_view::npos)
        return std::nullopt;

    std::vector<std::string_view> raw;
    std::size_t pos = first.size() + 1;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        const std::string anchor = "&" + FieldName(fields[i].name, gameKey) + "=";
        const auto at = body.find(anchor);
        if (at == std::string_view::npos || at < pos || body.find(anchor, at + 1) != std::string_view::npos)
            return std::nullopt;
        raw.push_back(body.substr(pos, at - pos));
        pos = at + anchor.size();
    }
    raw.push_back(body.substr(pos));

    std::vector<std::string> values;
    values.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::optional<std::string> value;
        if (form == BodyForm::Encoded)
            value = DecodeEncodedValue(raw[i]);
        else if (RawValueOk(raw[i]))
            value = std::string(raw[i]);
        if (!value || (fields[i].marker && *value != "0"))
            return std::nullopt;
        values.push_back(std::move(*value));
    }
    return values;
}

ParseOutcome ParseRequestBody(Endpoint endpoint, std::string_view body, std::span<const std::string> gameKeys)
{
    const auto& templates = TemplatesOf(endpoint);
    for (const auto& t : templates) {
        if (!IsKeyed(t)) {
            if (auto values = MatchTemplate(body, t.form, t.fields, {}))
                return {ParsedRequest{t.kind, {}, std::move(*values)}, ParseFailure::NoTemplate};
            continue;
        }
        for (const auto& key : gameKeys) {
            if (auto values = MatchTemplate(body, t.form, t.fields, key))
                return {ParsedRequest{t.kind, key, std::move(*values)}, ParseFailure::NoTemplate};
        }
    }
    for (const auto& t : templates) {
        if (!IsKeyed(t))
            continue;
        const auto key = KeyInBody(body, t);
        if (key && MatchTemplate(body, t.form, t.fields, *key))
            return {std::nullopt, ParseFailure::UnknownGameKey};
    }
    return {};
}

} // namespace vks
