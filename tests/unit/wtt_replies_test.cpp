#include <gtest/gtest.h>

#include "logic/club/passport_text.h"
#include "common/readers.h"
#include "logic/club/wtt_replies.h"
#include "common/codepage.h"

using namespace vk;

namespace {

std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8).value(); }

} // namespace

TEST(WttReplies, RowsFillInOrderAndTheRestStayPreset)
{
    WttRows rows = PresetWttRows(50);
    ASSERT_TRUE(ReadWttRows("$1 x 950 Nomad 1-007 Tula M 4.3 # #*$2 x 900 Lynx 2-010 Omsk W 4.3 # #*", rows));
    EXPECT_EQ(rows[0].Place, 1);
    EXPECT_EQ(rows[0].Score, 950);
    EXPECT_EQ(rows[0].Nick, "Nomad");
    EXPECT_EQ(rows[0].Country, "1-007");
    EXPECT_EQ(rows[0].City, "Tula");
    EXPECT_EQ(rows[0].R07, "M");
    EXPECT_EQ(rows[0].R08, "4.3");
    EXPECT_EQ(rows[0].R10, "#");
    EXPECT_EQ(rows[1].Place, 2);
    EXPECT_EQ(rows[1].Score, 900);
    EXPECT_EQ(rows[1].R07, "W");
    for (std::size_t k = 2; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k], TTevRecord{.GID = 50}) << k;
        EXPECT_TRUE(rows[k].Empty());
        EXPECT_EQ(rows[k].R10, "#*");
    }
}

TEST(WttReplies, EdgesOfTheRowReader)
{
    const struct {
        const char* reply;
        bool ok;
        int rowsTaken; // rows whose nick is no longer "#"
        std::int32_t firstScore;
    } cases[] = {
        // The last row without "*" loses the answer's last byte.
        {"$1 x 950", true, 0, 95},
        {"$1 x 950 Nomad*", true, 1, 950},
        // No rows at all: ten preset rows, and success.
        {"", true, 0, 0},
        {"no", true, 0, 0},
        // A place or score that is no number fails the read; what was read
        // before stays.
        {"$x x 950 Nomad*", false, 0, 0},
        {"$1 x 950 Nomad*$2 x 9x0 Lynx*", false, 1, 950},
        // A "$" inside a nick opens a row whose place is "mad".
        {"$1 50 950 No$mad 1-007 Tula M 4.3 # #*", false, 1, 950},
        // Two blanks shift the words: the score word is empty.
        {"$1 x  950 Nomad*", false, 0, 0},
    };
    for (const auto& c : cases) {
        WttRows rows = PresetWttRows(50);
        EXPECT_EQ(ReadWttRows(c.reply, rows), c.ok) << c.reply;
        int taken = 0;
        for (const auto& r : rows)
            taken += r.Empty() ? 0 : 1;
        EXPECT_EQ(taken, c.rowsTaken) << c.reply;
        EXPECT_EQ(rows[0].Score, c.firstScore) << c.reply;
    }
    // More than ten rows: the scan stops after the tenth.
    std::string eleven;
    for (int k = 1; k <= 11; ++k)
        eleven += "$" + std::to_string(k) + " 50 " + std::to_string(1000 - k) + " P" + std::to_string(k) + "*";
    WttRows rows = PresetWttRows(50);
    ASSERT_TRUE(ReadWttRows(eleven, rows));
    EXPECT_EQ(rows[9].Nick, "P10");
}

TEST(WttReplies, CountAndPlaceNumbers)
{
    EXPECT_EQ(TrailingNumber("$1234 "), 1234);
    EXPECT_EQ(TrailingNumber("$1234"), 123); // the last byte is never read
    EXPECT_EQ(TrailingNumber("$1 "), 1);
    EXPECT_FALSE(TrailingNumber("$"));
    EXPECT_FALSE(TrailingNumber("no"));
}

TEST(WttReplies, ChatRowsAndTheirHeader)
{
    WttRows rows = PresetWttRows(ChatGameNumber);
    ASSERT_TRUE(ReadWttRows(Cp("$1 100 2 Nomad 1-007 Tula M 4.3 14:05_10.12.2024_Vokabron Привет_всем*"), rows));
    EXPECT_EQ(rows[0].Score, 2);
    EXPECT_EQ(rows[0].R10, Cp("Привет_всем"));
    EXPECT_EQ(ChatShown(rows[0].R10), Cp("Привет всем"));
    EXPECT_EQ(ChatHeader(rows[0]), "Tula : 14:05 10.12.2024 Vokabron 4.3 : Nomad");
}

TEST(WttReplies, ChatStampUsesFixedFormats)
{
    std::tm t{};
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_mday = 10;
    t.tm_mon = 11;
    t.tm_year = 124;
    EXPECT_EQ(ChatStamp(t), "14:05_10.12.2024_Vokabron");
    t.tm_hour = 2;
    t.tm_mday = 1;
    t.tm_mon = 0;
    const std::string early = ChatStamp(t);
    EXPECT_EQ(early, "02:05_01.01.2024_Vokabron");
    EXPECT_EQ(early.find(' '), std::string::npos);
}

TEST(WttReplies, ChatTextIsCleanedAsUnicode)
{
    const struct {
        const char32_t* typed;
        const char* sent; // UTF-8 of the Windows-1251 text sent
    } cases[] = {
        {U"Привет всем", "Привет_всем"},
        {U"say \"hi\"; ok: yes", "say__hi___ok__yes"},
        {U"a_b", "a_b"},
        {U"Ёлка, ёж! (да?) @-.", "Ёлка,_ёж!_(да?)_@-."},
        // Characters the code page lacks are refused, never a "?".
        {U"a\U0001F600b", "a_b"},
        {U"中文", "__"},
        // Characters the code page holds but the chat does not.
        {U"5€ №1 «x»", "5___1__x_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanChatText(c.typed), Cp(c.sent)) << Cp1251ToUtf8(CleanChatText(c.typed));
    const std::u32string longText(90, U'a');
    EXPECT_EQ(CleanChatText(longText), std::string(80, 'a'));
}

TEST(PassportText, NickCityAndCharacterClasses)
{
    const struct {
        const char* text;
        int mode;
        int result;
    } cases[] = {
        {"Nomad", PassportNick, 3},
        {"Номад", PassportNick, 2},
        {"N", PassportNick, 1},
        {"Nomad Two", PassportNick, 1},
        {"Nomad_Two", PassportNick, 3},
        {"ABCDEFGHIJKL", PassportNick, 3},
        {"ABCDEFGHIJKLM", PassportNick, 1},
        {"", PassportNick, 1},
        {"Nomad\"", PassportNick, 1},
        {"a@b.c(1)!?,-", PassportNick, 3},
        {"Petropavlovsk-K", PassportCity, 3},
        {"Petropavlovsk-Ka", PassportCity, 1},
        {"Тула", PassportCity, 2},
        {"T", PassportCity, 1},
        {"a", PassportCharacter, 3},
        {"ж", PassportCharacter, 2},
        {" ", PassportCharacter, 1},
        {";", PassportCharacter, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckPassportText(Cp(c.text), c.mode), c.result) << c.text << " / " << c.mode;
    // Unicode first: what the code page lacks is refused, never a "?".
    EXPECT_EQ(CheckPassportTextUnicode(U"Nomad\U0001F600", PassportNick), 1);
    EXPECT_EQ(CheckPassportTextUnicode(U"中国", PassportCity), 1);
    EXPECT_EQ(CheckPassportTextUnicode(U"Номад", PassportNick), 2);
}
