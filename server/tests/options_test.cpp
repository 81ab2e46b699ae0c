// Settings that would undo a limit are refused before the server starts,
// and what reaches the log cannot forge log lines.
#include <gtest/gtest.h>

#include "server/http_front.h"
#include "server/options.h"

using namespace vks;

TEST(Options, LimitsThatCannotHoldAreRefused)
{
    ServerConfig config;
    EXPECT_TRUE(ApplySetting(config, "max_form_body", "9000").has_value()) << "the HTTP library stops at 8 KiB";
    EXPECT_FALSE(ApplySetting(config, "max_form_body", "8192").has_value());

    struct Case {
        std::vector<std::pair<std::string, std::string>> settings;
        bool valid;
    };
    const Case cases[] = {
        {{}, true},
        {{{"threads", "64"}, {"argon2_concurrency", "8"}, {"argon2_queue", "8"}}, true},
        {{{"threads", "64"}, {"argon2_concurrency", "8"}, {"argon2_queue", "9"}}, false},
        {{{"threads", "8"}, {"argon2_concurrency", "4"}}, false},
        {{{"trusted_proxies", "127.0.0.1 ::1"}}, true},
        {{{"trusted_proxies", "127.0.0.1 proxy.local"}}, false},
    };
    for (const auto& c : cases) {
        ServerConfig fresh;
        for (const auto& [key, value] : c.settings)
            ASSERT_FALSE(ApplySetting(fresh, key, value).has_value()) << key;
        EXPECT_EQ(!ValidateConfig(fresh).has_value(), c.valid)
            << (c.settings.empty() ? "defaults" : c.settings.back().second);
    }
    // The defaults leave most threads to everything but password checks.
    const ServerConfig defaults;
    EXPECT_LE(Argon2Concurrency(defaults.limits) + Argon2Queue(defaults.limits), defaults.limits.threads / 4);
}

TEST(Options, LoggedTextsKeepControlBytesOut)
{
    EXPECT_EQ(LogSafe("/club/photos/a\r\nGET /forged 200\x1b[2J.jpg"),
              "/club/photos/a\\x0D\\x0AGET /forged 200\\x1B[2J.jpg");
    EXPECT_EQ(LogSafe("plain \\ text"), "plain \\x5C text");
}
