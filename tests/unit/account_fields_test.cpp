// The account window's field checks, key filters and transfer rules, and
// which photos the club takes.
#include <gtest/gtest.h>

#include <string>

#include "logic/club/account_fields.h"
#include "logic/club/jpeg_frame.h"
#include "common/codepage.h"

namespace vk {
namespace {

std::string Cp(const char* utf8) { return *Utf8ToCp1251(utf8); }

TEST(AccountFields, ClassesByKind)
{
    struct Case {
        const char* text; // UTF-8
        int kind;
        int cls;
    } const cases[] = {
        {"", NickField, FieldRefused},
        {"A", NickField, FieldRefused}, // one character
        {"Al", NickField, FieldAccepted},
        {"Abcdefghijkl", NickField, FieldAccepted}, // 12
        {"Abcdefghijklm", NickField, FieldRefused}, // 13
        {"Боб", NickField, FieldRefused},           // Russian letters only in a city
        {"a b", NickField, FieldRefused},           // a blank is no known character
        {"M(a)!,-.?_@x", NickField, FieldAccepted},
        {"Тула", CityField, FieldReserved},
        {"Ёлки-Палки", CityField, FieldReserved},
        {"Tula", CityField, FieldAccepted},
        {"Abcdefghijklmno", CityField, FieldAccepted}, // 15
        {"Abcdefghijklmnop", CityField, FieldRefused}, // 16
        {"Нижний Новгород", CityField, FieldRefused},  // the blank
        {"abc", PasswordField, FieldRefused},          // fewer than 4
        {"abcd", PasswordField, FieldAccepted},
        {"abcdefghijklm", PasswordField, FieldRefused},
        {"пароль12", PasswordField, FieldRefused},
        {"a@b", EMailField, FieldAccepted},
        {"@ab", EMailField, FieldRefused},   // at sign first
        {"ab@", EMailField, FieldRefused},   // at sign last
        {"abc", EMailField, FieldRefused},   // none
        {"a@b@", EMailField, FieldAccepted}, // only the first at sign counts
        {"аб@b", EMailField, FieldRefused},
        {"abcdefghij@abcdefghij.abcdefgh", EMailField, FieldAccepted}, // 30
        {"abcdefghij@abcdefghij.abcdefghi", EMailField, FieldRefused}, // 31
        {"я", TypedCharacter, FieldReserved},
        {"x", TypedCharacter, FieldAccepted},
        {"&", TypedCharacter, FieldRefused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAccountField(Cp(c.text), c.kind), c.cls) << c.text << " kind " << c.kind;
}

TEST(AccountFields, KeyFilters)
{
    const unsigned char ya = static_cast<unsigned char>(Cp("я")[0]);
    EXPECT_TRUE(AccountKeyAccepted(ya, NickField)); // typed, and the lamp turns red
    EXPECT_TRUE(AccountKeyAccepted(ya, CityField));
    EXPECT_FALSE(AccountKeyAccepted(ya, PasswordField));
    EXPECT_FALSE(AccountKeyAccepted(ya, EMailField));
    for (const int kind : {NickField, CityField, PasswordField, EMailField}) {
        EXPECT_FALSE(AccountKeyAccepted(' ', kind));
        EXPECT_FALSE(AccountKeyAccepted('&', kind));
        EXPECT_TRUE(AccountKeyAccepted('@', kind));
    }
    // The receiver of a transfer: what a nick may hold, and nothing that
    // would split the request's fields.
    for (const char c : std::string("aZ09!(),-.?_@"))
        EXPECT_TRUE(NickCharacter(static_cast<unsigned char>(c))) << c;
    for (const char c : std::string("&=+% $~*"))
        EXPECT_FALSE(NickCharacter(static_cast<unsigned char>(c))) << c;
    EXPECT_FALSE(NickCharacter(ya));
}

TEST(AccountFields, TransferRules)
{
    EXPECT_TRUE(TransferAllowed(2, 10, 10, "Bob", "Ann"));
    EXPECT_TRUE(TransferAllowed(3, 10, 1, "bob", "Bob")); // exact comparison; the server refuses it
    EXPECT_FALSE(TransferAllowed(1, 10, 1, "Bob", "Ann"));
    EXPECT_FALSE(TransferAllowed(2, 0, 1, "Bob", "Ann"));
    EXPECT_FALSE(TransferAllowed(2, 10, 0, "Bob", "Ann"));
    EXPECT_FALSE(TransferAllowed(2, 10, 1, "", "Ann"));
    EXPECT_FALSE(TransferAllowed(2, 10, 1, "Ann", "Ann"));

    EXPECT_EQ(TransferRefusal(10, 0), Msg::EmptyTransfer);
    EXPECT_EQ(TransferRefusal(10, 11), Msg::NotEnoughTevs);
    EXPECT_EQ(TransferRefusal(10, 10), std::nullopt);
}

TEST(AccountFields, BalanceFontBySize)
{
    const struct {
        std::int64_t b;
        int height, drop;
    } cases[] = {{-5, 48, 0},    {9, 48, 0},       {10, 44, 2},       {999, 40, 4},        {1000, 36, 6},
                 {99999, 32, 8}, {100000, 28, 10}, {1000000, 24, 12}, {2147483647, 24, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(BalanceFontFor(c.b).Height, c.height) << c.b;
        EXPECT_EQ(BalanceFontFor(c.b).Drop, c.drop) << c.b;
    }
}

TEST(AccountFields, CardsAndRows)
{
    TInfo14 card;
    card.About = "I know nothing & 50% + $~";
    card.YouTube = "a~b$c";
    const TInfo14 sent = SanitisedCard(card);
    EXPECT_EQ(sent.About, "I know nothing & 50% +   ");
    EXPECT_EQ(sent.YouTube, "a b c");

    // Addresses are opened, the other rows copied, an empty row does nothing.
    EXPECT_EQ(CardRowAction(CardField(5), "example.org"), RowAction::Open); // web site
    EXPECT_EQ(CardRowAction(CardField(3), "+7 900"), RowAction::Copy);      // telephone
    EXPECT_EQ(CardRowAction(CardField(5), ""), RowAction::Nothing);
    EXPECT_EQ(CardRowAction(CardField(2), "   "), RowAction::Nothing);
    EXPECT_EQ(CardField(10).MaxLength, 60); // Facebook
}

TEST(AccountFields, ClubPhotos)
{
    // A minimal JPEG: start, a baseline frame of W x H, a scan, the end.
    const auto jpeg = [](int w, int h) {
        std::string b = "\xFF\xD8\xFF\xC0";
        b += std::string("\x00\x0B\x08", 3);
        b += static_cast<char>(h >> 8);
        b += static_cast<char>(h & 0xFF);
        b += static_cast<char>(w >> 8);
        b += static_cast<char>(w & 0xFF);
        b += std::string("\x01\x01\x11\x00", 4);
        b += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
        b += "\x12\x34\xFF\xD9";
        return b;
    };
    EXPECT_TRUE(ClubPhotoAcceptable(jpeg(200, 250)));
    EXPECT_FALSE(ClubPhotoAcceptable(jpeg(250, 200)));
    EXPECT_FALSE(ClubPhotoAcceptable("\x89PNG\r\n\x1A\n"));
    std::string big = jpeg(200, 250);
    for (int i = 0; i < 5; ++i) // comment segments, a well-formed JPEG of more than 256 KiB
        big.insert(2, std::string("\xFF\xFE\xFF\xF0", 4) + std::string(0xFFEE, 'c'));
    ASSERT_TRUE(ReadJpegFrame(big));
    ASSERT_GT(big.size(), PhotoFileCap);
    EXPECT_FALSE(ClubPhotoAcceptable(big));

    EXPECT_EQ(PhotoFileName("Ann"), "Ava/Ann.jpg");
    EXPECT_EQ(PhotoFileName("a/../b?"), "Ava/a%2F..%2Fb%3F.jpg");
}

} // namespace
} // namespace vk
