// Request heads as they arrive in pieces, and the client address taken from
// X-Forwarded-For lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "server/client_address.h"
#include "server/request_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The first byte sets the size of the pieces the head arrives in.
    const std::size_t step = data[0] % 32 + 1;
    vks::HeadLimits limits;
    limits.maxHead = 2048;
    limits.maxLine = 512;
    limits.maxHeaders = 16;
    vks::HeadScanner scanner(limits);
    auto state = vks::HeadScanner::State::More;
    for (std::size_t n = 0; n < bytes.size() && state == vks::HeadScanner::State::More;) {
        n = std::min(bytes.size(), n + step);
        state = scanner.Scan(bytes.substr(0, n));
    }
    if (state == vks::HeadScanner::State::Complete) {
        if (scanner.HeadLength() > bytes.size() || scanner.HeadLength() > limits.maxHead + 1)
            __builtin_trap();
        vks::CheckRequestHead(bytes.substr(0, scanner.HeadLength()), limits);
    }
    vks::CheckRequestHead(bytes, limits);

    // The same bytes as forwarded header lines behind a trusted proxy.
    std::vector<std::string> lines;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const auto nl = rest.find('\n');
        lines.emplace_back(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    }
    const std::string address = vks::ClientAddress("127.0.0.1", lines, {"127.0.0.1", "10.0.0.1"});
    vks::LimitKey(address);
    return 0;
}
