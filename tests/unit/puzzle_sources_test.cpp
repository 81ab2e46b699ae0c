// Checks the plain sources of both puzzle bases: the layout the loader
// relies on, the answer rules the board relies on, and that every line comes
// back unchanged through the cipher and the puzzle reader.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "common/codepage.h"
#include "game/puzzle_base.h"
#include "common/text_cipher.h"

using namespace vk;

namespace {

std::vector<std::string> ReadSource(int base)
{
    std::ifstream in(std::string(VOKABRON_SOURCE_DIR) + "/resources/puzzles/base" + std::to_string(base) + ".txt",
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return SplitLines(text.str());
}

bool IsAnswerLetter(unsigned char c) { return c >= 0xC0; } // А..Я and а..я in Windows-1251; caps checked below

// One to three words of 1 to 10 capitals А..Я (no Ё), single blanks between.
bool AnswerIsValid(const std::string& answer)
{
    int words = 0, length = 0;
    for (std::size_t i = 0; i <= answer.size(); ++i) {
        if (i == answer.size() || answer[i] == ' ') {
            if (length < 1 || length > 10)
                return false;
            ++words;
            length = 0;
            continue;
        }
        const auto c = static_cast<unsigned char>(answer[i]);
        if (!IsAnswerLetter(c) || c > 0xDF)
            return false;
        ++length;
    }
    return words >= 1 && words <= 3;
}

std::size_t CharacterCount(const std::string& cp1251) { return cp1251.size(); }

} // namespace

TEST(PuzzleSources, AnswerRule)
{
    struct Case { const char* utf8; bool valid; };
    const Case cases[] = {
        {"ДОМ", true}, {"ЛЕВ ТОЛСТОЙ", true}, {"СЕЛЕДКА ПОД ШУБОЙ", true}, {"Я", true},
        {"ДЕСЯТЬБУКВ", true}, {"ОДИННАДЦАТЬ", false}, {"А Б В Г", false}, {"", false},
        {"ДВА  ПРОБЕЛА", false}, {" ДОМ", false}, {"ДОМ ", false}, {"ЁЖ", false}, {"дом", false},
        {"DOM", false}, {"САНКТ-ПЕТЕРБУРГ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnswerIsValid(Utf8ToCp1251(c.utf8).value()), c.valid) << c.utf8;
}

TEST(PuzzleSources, BothBasesFollowTheLayoutAndTheRules)
{
    std::map<std::string, std::string> seen; // answer -> where it first stands
    for (int base : {1, 2}) {
        const auto lines = ReadSource(base);
        ASSERT_EQ(lines.size(), 521u) << "base " << base;
        EXPECT_EQ(lines.back(), "$XX$");
        for (int section = 1; section <= 20; ++section) {
            const std::string& header = lines[static_cast<std::size_t>((section - 1) * 26)];
            char expected[8];
            std::snprintf(expected, sizeof expected, "$%02d", section);
            EXPECT_EQ(header.substr(0, 3), expected) << "base " << base << " section " << section;
            EXPECT_EQ(header.back(), '$') << header;
            for (int k = 1; k <= 25; ++k) {
                const std::size_t index = static_cast<std::size_t>((section - 1) * 26 + k);
                const std::string where = "base " + std::to_string(base) + " line " + std::to_string(index + 1);
                const auto plain = Utf8ToCp1251(lines[index]);
                ASSERT_TRUE(plain.has_value()) << where << ": not Windows-1251 text";
                ASSERT_NE((*plain)[0], '$') << where;

                PuzzleState p;
                p.PuzzleLine = EncodeText(*plain, PuzzleStartKey);
                ReadPuzzle(p);
                EXPECT_TRUE(AnswerIsValid(p.PuzzleAnswer)) << where << ": " << lines[index];
                EXPECT_FALSE(p.PuzzleTheme.empty()) << where;
                EXPECT_LE(CharacterCount(p.PuzzleTheme), 30u) << where << ": theme too long for its line";
                EXPECT_EQ(std::count(plain->begin(), plain->end(), '#'), 3) << where;
                EXPECT_EQ(plain->back(), '#') << where;
                const auto [it, fresh] = seen.emplace(p.PuzzleAnswer, where);
                EXPECT_TRUE(fresh) << where << ": answer already at " << it->second;
            }
        }
    }
    EXPECT_EQ(seen.size(), 1000u);
}
