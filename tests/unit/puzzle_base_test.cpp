#include <gtest/gtest.h>

#include "logic/game/puzzle_base.h"
#include "common/text_cipher.h"

using namespace vk;

namespace {

// A base of the real layout: 20 sections of 25 lines, header lines with and
// without comments, the end line, CR LF line ends.
std::string MakeBase(const std::string& tag)
{
    std::string text;
    for (int s = 1; s <= 20; ++s) {
        char header[64];
        std::snprintf(header, sizeof header,
                      s == 5 ? "$%02d Физики и изобретатели, химиков нет? 100%% чётных $" : "$%02d$", s);
        text += header;
        text += "\r\n";
        for (int k = 0; k < 25; ++k)
            text += EncodeText(tag + std::to_string(s) + "-" + std::to_string(k) + "#Тема#x#", PuzzleStartKey) + "\r\n";
    }
    return text + "$XX$\r\n";
}

} // namespace

TEST(PuzzleBase, LoadRemovesHeadersAndEndLine)
{
    std::vector<std::string> memo{"stale"};
    LoadPuzzleBase(MakeBase("A"), memo);
    ASSERT_EQ(memo.size(), 500u);
    for (const auto& line : memo)
        EXPECT_NE(line[0], '$');
    PuzzleState p;
    p.PuzzleLine = memo.front();
    ReadPuzzle(p);
    EXPECT_EQ(p.PuzzleAnswer, "A1-0");
    p.PuzzleLine = memo.back();
    ReadPuzzle(p);
    EXPECT_EQ(p.PuzzleAnswer, "A20-24");
}

TEST(PuzzleBase, HeaderRuleTable)
{
    struct Case {
        const char* line;
        bool removed;
    };
    const Case cases[] = {
        {"$01$", true},  {"$05 Физики и изобретатели, химиков нет? 100% чётных $", true},
        {"$XX$", true},  {"$20", true},
        {"$AB$", false},                // letters other than XX: a puzzle line
        {"$X1$", false}, {"$1", false}, // fewer than three characters
        {"$", false},    {"", false},
        {"01$", false},  {"$xx$", false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> memo;
        LoadPuzzleBase(std::string("first\r\n") + c.line + "\r\nlast\r\n", memo);
        EXPECT_EQ(memo.size(), c.removed ? 2u : 3u) << '"' << c.line << '"';
    }
}

TEST(PuzzleBase, ConsecutiveHeadersAreAllRemoved)
{
    std::vector<std::string> memo;
    LoadPuzzleBase("$01$\n$02$\r\n$03 x $\rline\n$XX$", memo);
    EXPECT_EQ(memo, std::vector<std::string>{"line"});
}

TEST(PuzzleBase, PickBoundaries)
{
    std::vector<std::string> memo1, memo2;
    LoadPuzzleBase(MakeBase("A"), memo1);
    LoadPuzzleBase(MakeBase("B"), memo2);
    struct Case {
        int r;
        int base;
        const char* answer;
    };
    const Case cases[] = {{0, 1, "A1-0"}, {499, 1, "A20-24"}, {500, 2, "B1-0"}, {999, 2, "B20-24"}};
    for (const Case& c : cases) {
        PuzzleState p;
        int asked = 0;
        ASSERT_TRUE(PickPuzzle(memo1, memo2, p, [&](int bound) {
            asked = bound;
            return c.r;
        }));
        EXPECT_EQ(asked, 1000);
        EXPECT_EQ(p.PuzzleBase, c.base) << c.r;
        ReadPuzzle(p);
        EXPECT_EQ(p.PuzzleAnswer, c.answer) << c.r;
        EXPECT_EQ(p.PuzzleTheme, "Тема");
    }
}

TEST(PuzzleBase, PickFromShortBaseFailsSafely)
{
    std::vector<std::string> memo1(10, "x"), memo2;
    PuzzleState p;
    p.PuzzleBase = 7;
    EXPECT_FALSE(PickPuzzle(memo1, memo2, p, [](int) { return 600; }));
    EXPECT_EQ(p.PuzzleBase, 7);
}

TEST(PuzzleBase, ClockSeededRandomStaysInRange)
{
    for (int i = 0; i < 200; ++i) {
        const int r = ClockSeededRandom(1000);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 1000);
    }
}

TEST(PuzzleBase, ReadPuzzleFields)
{
    struct Case {
        std::string line;
        std::string answer, theme, extra;
    };
    const Case cases[] = {
        {"$ДОМ#Жилище#заметка#", "$ДОМ", "Жилище", "заметка"}, // plain text kept as it is
        {EncodeText("КОТ#Животное##лишнее#хвост", PuzzleStartKey), "КОТ", "Животное", ""},
        {EncodeText("ЛЕВ ТОЛСТОЙ#Писатель", PuzzleStartKey), "ЛЕВ ТОЛСТОЙ", "old theme", "old extra"},
    };
    for (const Case& c : cases) {
        PuzzleState p;
        p.PuzzleTheme = "old theme";
        p.PuzzleExtra = "old extra";
        p.PuzzleLine = c.line;
        ReadPuzzle(p);
        EXPECT_EQ(p.PuzzleAnswer, c.answer);
        EXPECT_EQ(p.PuzzleTheme, c.theme);
        EXPECT_EQ(p.PuzzleExtra, c.extra);
    }
}
