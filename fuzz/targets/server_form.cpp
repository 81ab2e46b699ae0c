// The server's request bodies: the anchored template parse of every path,
// then the field checks each request kind applies to what it parsed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/countries.h"
#include "server/fields.h"
#include "server/form_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the path, the rest is the body.
    const vks::Endpoint endpoints[] = {vks::Endpoint::Account, vks::Endpoint::Wtt, vks::Endpoint::Stat};
    const auto endpoint = endpoints[data[0] % 3];
    const std::string_view body(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string keys[] = {"zarvo", "quiz"};
    const auto outcome = vks::ParseRequestBody(endpoint, body, keys);
    if (!outcome.request)
        return 0;
    for (const std::string& v : outcome.request->values) {
        vks::ValidMemberNick(v);
        vks::ValidNewMemberNick(v);
        vks::ValidPassword(v);
        vks::ValidCity(v);
        vks::ValidEmail(v);
        vks::ValidReserved(v);
        vks::ValidClientTag(v);
        vks::ValidVersion(v);
        vks::ValidLoginStamp(v);
        vks::PassportClass(v, 1);
        vks::PassportClass(v, 2);
        vks::ParseInteger(v, -2147483648LL, 2147483647LL);
        vks::ParseReal(v);
        vk::CountryOfCode(v);
        for (int field = 0; field < 14; ++field)
            vks::ValidCardField(field, v);
    }
    return 0;
}
