#include <gtest/gtest.h>

#include "common/countries.h"
#include "server/fields.h"

using namespace vks;

TEST(Fields, Numbers)
{
    const std::vector<std::pair<const char*, std::optional<std::int64_t>>> cases = {
        {"0", 0},
        {"25", 25},
        {"-3", -3},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483648LL},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"5 ", std::nullopt},
        {"1e3", std::nullopt},
        {"0x10", std::nullopt},
        {"NaN", std::nullopt},
        {"inf", std::nullopt},
        {"-0", std::nullopt},
        {"007", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1234567890123456789012345678901234567890", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseInteger(text, -2147483648LL, 2147483647), value) << text;

    EXPECT_EQ(ParseReal("951"), 951.0);
    EXPECT_EQ(ParseReal("319.666666666667"), 319.666666666667);
    for (const char* bad : {"1e9", "1,5", ".5", "5.", "inf", "nan", "+1", "12345678901234567"})
        EXPECT_FALSE(ParseReal(bad)) << bad;
}

TEST(Fields, AccountTexts)
{
    EXPECT_TRUE(ValidMemberNick("No?mad"));
    EXPECT_FALSE(ValidNewMemberNick("No?mad"));
    EXPECT_TRUE(ValidNewMemberNick("Nomad_(1)"));
    EXPECT_FALSE(ValidMemberNick("N"));
    EXPECT_FALSE(ValidMemberNick("Nomadnomad123")); // 13
    EXPECT_FALSE(ValidMemberNick("No$mad"));
    EXPECT_FALSE(ValidMemberNick("No mad"));
    EXPECT_FALSE(ValidMemberNick("\xCD\xEE\xEC\xE0\xE4")); // Номад
    EXPECT_TRUE(ValidCity("\xD2\xF3\xEB\xE0"));            // Тула
    EXPECT_FALSE(ValidCity("New York"));
    EXPECT_TRUE(ValidEmail("nora@example.org"));
    for (const char* bad : {"@example.org", "nora@", "nora.example.org", "no ra@x.org"})
        EXPECT_FALSE(ValidEmail(bad)) << bad;
    EXPECT_TRUE(ValidLoginStamp("202402291405"));
    EXPECT_FALSE(ValidLoginStamp("202302291405"));
    EXPECT_FALSE(ValidLoginStamp("202412102460"));
    EXPECT_EQ(PassportClass("Nomad", 1), 3);
    EXPECT_EQ(PassportClass("\xCD\xEE\xEC\xE0\xE4", 1), 2);
    EXPECT_EQ(PassportClass("N", 1), 1);
    EXPECT_EQ(PassportClass("Nomad Two", 1), 1);
    EXPECT_EQ(PassportClass("123456789012345", 2), 3);
    EXPECT_EQ(PassportClass("1234567890123456", 2), 1);
}

TEST(Fields, CardFields)
{
    EXPECT_TRUE(ValidCardField(2, "Tom & Jerry = 1+1 %41 \xC8"));
    EXPECT_FALSE(ValidCardField(2, "a$b"));
    EXPECT_FALSE(ValidCardField(2, "a~b"));
    EXPECT_FALSE(ValidCardField(2, "a\x98"
                                   "b"));
    EXPECT_TRUE(ValidCardField(10, std::string(60, 'f')));
    EXPECT_FALSE(ValidCardField(10, std::string(61, 'f')));
}

// Link rows are handed to the desktop's "open" action on other members'
// machines; contact rows are text that must not pass for an address.
TEST(Fields, LinkAndContactRows)
{
    const int website = 5, telephone = 3, emailo = 4, skype = 6, telegram = 9, about = 2;
    struct Case {
        int field;
        const char* value;
        bool accepted;
    };
    const Case cases[] = {
        {website, "vk.com/nomad", true},
        {website, "https://example.org/x?a=1&b=2", true},
        {website, "HTTPS://x", true},
        {website, "HTTP://x.org", true},
        {website, "x.org:8080/p", true},
        {website, "https://host:8080", true},
        {website, "host:8080", false},
        {website, "localhost:8080/x", false},
        {website, "example.org?q=1", true},
        {website, "", true},
        {website, "file:///etc/passwd", false},
        {website, "javascript:alert(1)", false},
        {website, "javascript:1/alert(1)", false},
        {website, "ms-msdt:0/x", false},
        {website, "file:0/etc/passwd", false},
        {website, "smb:1/x", false},
        {website, "\\\\h\\s\\x.exe", false},
        {website, "/etc/passwd", false},
        {website, "tg://resolve", false},
        {website, "mailto:a@b.c", false},
        {website, "a b.org", false},
        {website, "https://", false},
        {website, "https://x.org/a\\b", false},
        {website, "host:123456/x", false},
        {website, "host:/x", false},
        {telegram, "@nomad", true},
        {telegram, "t.me/nomad", true},
        {telegram, "tg:nomad", false},
        {telegram, "file:///etc/passwd", false},
        {skype, "nomad.1", true},
        {skype, "skype:nomad?call", false},
        {emailo, "nomad@example.org", true},
        {emailo, "mailto:nomad@example.org", false},
        {telephone, "+7 (900) 123-45-67", true},
        {telephone, "tel:+79001234567", false},
        {about, "Note: free text keeps its colons", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidCardField(c.field, c.value), c.accepted) << c.field << " " << c.value;
}

TEST(Countries, CodesAndKeys)
{
    EXPECT_EQ(vk::CountryOfCode("1-001")->Key, "Russia");
    EXPECT_EQ(vk::CountryOfCode("4-007")->Key, "Falkland_Isl.");
    EXPECT_EQ(vk::CountryOfCode("6-012")->Key, "");
    EXPECT_EQ(vk::CountryOfCode("6-012")->English, "Congo Republic");
    EXPECT_EQ(vk::CountryOfCode("1-039")->Key, "San_Marino");
    EXPECT_EQ(vk::CountryOfCode("2-000")->Key, "Unknown");
    for (const char* bad : {"1-049", "7-001", "1x001", "1-01", "4-015", "0-000", "1-0a1"})
        EXPECT_FALSE(vk::CountryOfCode(bad)) << bad;
    EXPECT_EQ(vk::CountryRow(4, 15).English, "Unknown");
    const int highest[] = {48, 51, 35, 14, 23, 54};
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(vk::ContinentHighestRow(c), highest[c - 1]);
        for (int r = 0; r <= highest[c - 1]; ++r) {
            const auto key = vk::CountryRow(c, r).Key;
            EXPECT_LE(key.size(), 15u);
            EXPECT_EQ(key.find(' '), std::string_view::npos);
        }
    }
}
