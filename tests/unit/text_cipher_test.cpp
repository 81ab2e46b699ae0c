#include <gtest/gtest.h>

#include <random>

#include "common/text_cipher.h"

using namespace vk;

namespace {

std::string RandomBytes(std::size_t n, std::mt19937& rng)
{
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(rng() & 0xFF);
    return s;
}

} // namespace

TEST(TextCipher, RoundTripForEveryLengthAndKey)
{
    std::mt19937 rng(1234);
    for (const std::uint16_t key :
         {PuzzleStartKey, AddressStartKey, ClubStartKey, std::uint16_t(0), std::uint16_t(0xFFFF)}) {
        for (std::size_t n = 0; n <= 3000; n += (n < 64 ? 1 : 97)) {
            const std::string plain = RandomBytes(n, rng);
            const std::string coded = EncodeText(plain, key);
            ASSERT_EQ(coded.size(), (4 * n + 2) / 3) << "n=" << n;
            ASSERT_NE(coded.size() % 4, 1u) << "n=" << n;
            ASSERT_EQ(DecodeText(coded, key), plain) << "n=" << n << " key=" << key;
        }
    }
}

TEST(TextCipher, LongestTextRoundTrips)
{
    std::mt19937 rng(99);
    const std::string plain = RandomBytes(65535, rng);
    EXPECT_EQ(DecodeText(EncodeText(plain, PuzzleStartKey), PuzzleStartKey), plain);
}

TEST(TextCipher, OutputUsesOnlyTheAlphabet)
{
    const std::string coded = EncodeText(std::string("\x00\xFF\x80 Привет#", 12), AddressStartKey);
    for (char c : coded)
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/') << c;
}

TEST(TextCipher, KeysAreNotInterchangeable)
{
    const std::string plain = "ЛАСТОЧКА#Птица#";
    EXPECT_NE(DecodeText(EncodeText(plain, PuzzleStartKey), AddressStartKey), plain);
    EXPECT_NE(EncodeText(plain, PuzzleStartKey), EncodeText(plain, ClubStartKey));
}

TEST(TextCipher, DecodeEdgeCases)
{
    EXPECT_EQ(DecodeText("", PuzzleStartKey), "");
    // A final group of one character carries no byte.
    const std::string coded = EncodeText("abc", PuzzleStartKey);
    EXPECT_EQ(DecodeText(coded + "Q", PuzzleStartKey), "abc");
    EXPECT_EQ(DecodeText("Q", PuzzleStartKey), "");
    // Characters outside the alphabet count as 0, like "A".
    EXPECT_EQ(DecodeText("=Bc", 77), DecodeText("ABc", 77));
    EXPECT_EQ(DecodeText("x!y=", 5), DecodeText("xAyA", 5));
}

TEST(TextCipher, KnownVector)
{
    // Pins the running key and the bit order: the first character holds the
    // least significant six bits of a group.
    std::string expected;
    std::uint16_t key = 1000;
    std::string cipher;
    for (unsigned char b : std::string("AB")) {
        const auto c = static_cast<std::uint8_t>(b ^ (key >> 8));
        cipher += static_cast<char>(c);
        key = static_cast<std::uint16_t>((c + key) * 40503u + 11351u);
    }
    const unsigned v = static_cast<std::uint8_t>(cipher[0]) + 256u * static_cast<std::uint8_t>(cipher[1]);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    expected += alphabet[v % 64];
    expected += alphabet[(v / 64) % 64];
    expected += alphabet[(v / 4096) % 64];
    EXPECT_EQ(EncodeText("AB", 1000), expected);
}
