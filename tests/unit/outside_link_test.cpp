// Which texts the program opens as web pages and which it only copies.
#include <gtest/gtest.h>

#include "common/outside_link.h"

using namespace vk;

TEST(OutsideLink, OnlyWebAddressesWithAHostAreOpened)
{
    struct Case {
        std::string text;
        std::optional<std::string> opened;
    };
    const Case cases[] = {
        {"https://x.org/a", "https://x.org/a"},
        {"x.org", "https://x.org"},
        {"x.org/page?q=1", "https://x.org/page?q=1"},
        {"HTTP://X.ORG", "HTTP://X.ORG"},
        {"http://127.0.0.1:8350/help/", "http://127.0.0.1:8350/help/"},
        {"club.example:8350/news", "https://club.example:8350/news"},
        {"file:///etc/passwd", std::nullopt},
        {"javascript:alert(1)", std::nullopt},
        {"javascript:1/x.org", std::nullopt},
        {"ftp://x", std::nullopt},
        {"mailto:a@x.org", std::nullopt},
        {"ms-msdt:0/x.org", std::nullopt},
        {"\\\\host\\share\\x.exe", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {" https://x.org", std::nullopt},
        {"https://x.org/a b", std::nullopt},
        {"https://x.org\n", std::nullopt},
        {"https://user@x.org", std::nullopt},
        {"https://", std::nullopt},
        {"https://x.org:99999999", std::nullopt},
        {"localhost", std::nullopt},
        {"", std::nullopt},
        {std::string(10 * 1024, 'a') + ".org", std::nullopt},
        {"https://\xD0\xBA.\xD1\x80\xD1\x84", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WebAddressToOpen(c.text), c.opened) << c.text.substr(0, 40);
}

TEST(OutsideLink, NewsLinksNeedHttpsOrTheClubsOwnOrigin)
{
    const std::string localClub = "http://127.0.0.1:8350/club/account";
    EXPECT_TRUE(SecureOrClubAddress("https://store.example/vokabron", localClub));
    EXPECT_TRUE(SecureOrClubAddress("http://127.0.0.1:8350/files/Vokabron.apk", localClub));
    EXPECT_FALSE(SecureOrClubAddress("http://127.0.0.1:8351/files/Vokabron.apk", localClub));
    EXPECT_FALSE(SecureOrClubAddress("http://evil.example/Vokabron.apk", localClub));
    EXPECT_FALSE(SecureOrClubAddress("http://store.example/x", "https://store.example/club/account"));
    EXPECT_FALSE(SecureOrClubAddress("file:///tmp/x.apk", localClub));
    EXPECT_FALSE(SecureOrClubAddress("store.example/x", localClub));
}
