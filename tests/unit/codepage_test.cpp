#include <gtest/gtest.h>

#include "common/codepage.h"

using namespace vk;

TEST(Codepage, EveryByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue; // the one byte without a character
        const std::string single(1, static_cast<char>(b));
        const auto back = Utf8ToCp1251(Cp1251ToUtf8(single));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, single) << b;
    }
}

TEST(Codepage, KnownLetters)
{
    struct Case {
        const char* utf8;
        std::string cp1251;
    };
    const Case cases[] = {
        {"А", "\xC0"}, {"Я", "\xDF"},      {"а", "\xE0"},
        {"я", "\xFF"}, {"Ё", "\xA8"},      {"ё", "\xB8"},
        {"№", "\xB9"}, {"«»", "\xAB\xBB"}, {"Vokabron 4.3", "Vokabron 4.3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1251(c.utf8).value_or("<none>"), c.cp1251) << c.utf8;
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    }
}

TEST(Codepage, RefusesWhatItCannotCarry)
{
    // Overlong forms (an "i" in two bytes, "/" in three) and surrogates are
    // not UTF-8 even where the character itself has a code page byte.
    for (const char* bad :
         {"\xE2\x82", "日本", "\xFF", "\xC0\x41", "😀", "\xC1\xA9", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(Utf8ToCp1251(bad).has_value()) << bad;
}
