// Which address a request is counted under, for every way a proxy in front
// may pass the client's address on.
#include <gtest/gtest.h>

#include "server/client_address.h"

using namespace vks;

TEST(ClientAddress, ForwardedLayouts)
{
    const std::vector<std::string> proxy = {"127.0.0.1"};
    const std::vector<std::string> twoProxies = {"127.0.0.1", "10.0.0.5"};
    const std::vector<std::string> none;
    struct Case {
        const char* what;
        const char* peer;
        std::vector<std::string> forwarded;
        std::vector<std::string> trusted;
        const char* expected;
    };
    const Case cases[] = {
        {"no proxy, no header", "203.0.113.6", {}, none, "203.0.113.6"},
        {"untrusted peer's header is ignored", "203.0.113.6", {"10.8.0.1"}, none, "203.0.113.6"},
        {"untrusted peer, proxies configured", "203.0.113.6", {"10.8.0.1"}, proxy, "203.0.113.6"},
        {"proxy appended to the client's line", "127.0.0.1", {"10.8.0.1, 203.0.113.6"}, proxy, "203.0.113.6"},
        {"proxy added a line of its own", "127.0.0.1", {"10.8.0.1", "203.0.113.6"}, proxy, "203.0.113.6"},
        {"client sent two lines of its own", "127.0.0.1", {"10.8.0.1", "10.8.0.2, 203.0.113.6"}, proxy, "203.0.113.6"},
        {"two proxies in a row", "127.0.0.1", {"10.8.0.1, 203.0.113.6, 10.0.0.5"}, twoProxies, "203.0.113.6"},
        {"trusted proxy without a header", "127.0.0.1", {}, proxy, "127.0.0.1"},
        {"only proxies in the header", "127.0.0.1", {"10.0.0.5"}, twoProxies, "10.0.0.5"},
        {"garbage where the proxy wrote", "127.0.0.1", {"203.0.113.6, x'; DROP"}, proxy, "127.0.0.1"},
        {"empty elements", "127.0.0.1", {"203.0.113.6,, "}, proxy, "127.0.0.1"},
        {"IPv6 client", "127.0.0.1", {"2001:db8::7"}, proxy, "2001:db8::7"},
        {"IPv4-mapped peer", "::ffff:203.0.113.6", {}, none, "203.0.113.6"},
        {"mapped trusted peer", "::ffff:127.0.0.1", {"203.0.113.6"}, proxy, "203.0.113.6"},
        {"IPv6 in brackets", "127.0.0.1", {"[2001:db8::7]"}, proxy, "2001:db8::7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClientAddress(c.peer, c.forwarded, c.trusted), c.expected) << c.what;
}

TEST(ClientAddress, LimitsCountIpv6ByItsNetwork)
{
    EXPECT_EQ(LimitKey("203.0.113.6"), "203.0.113.6");
    EXPECT_EQ(LimitKey("2001:db8:1:2:aaaa::1"), "2001:db8:1:2::/64");
    EXPECT_EQ(LimitKey("2001:db8:1:2:bbbb:cccc:dddd:eeee"), "2001:db8:1:2::/64");
    EXPECT_NE(LimitKey("2001:db8:1:3::1"), LimitKey("2001:db8:1:2::1"));
}
