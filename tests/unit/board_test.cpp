#include <gtest/gtest.h>

#include "common/codepage.h"
#include "logic/game/board.h"

using namespace vk;

namespace {

// The board keeps Windows-1251; the cases are written in UTF-8.
std::string Cp(const char* utf8) { return Utf8ToCp1251(utf8).value(); }

std::array<std::string, BoardRows> Rows(std::initializer_list<const char*> utf8)
{
    std::array<std::string, BoardRows> rows;
    std::size_t i = 0;
    for (const char* row : utf8)
        rows[i++] = Cp(row);
    return rows;
}

constexpr const char* E = "**********";

} // namespace

TEST(Board, PlacementByWordCount)
{
    struct Case {
        const char* answer;
        std::array<std::string, BoardRows> letters;
        std::array<std::string, BoardRows> mask;
    };
    const Case cases[] = {
        {"КОТ", Rows({E, E, "****КОТ***", E, E}), Rows({E, E, "****###***", E, E})},
        {"ЛЕВ ТОЛСТОЙ", Rows({E, "****ЛЕВ***", E, "**ТОЛСТОЙ*", E}), Rows({E, "****###***", E, "**#######*", E})},
        {"А БВ ГДЕЖ", Rows({"*****А****", E, "****БВ****", E, "***ГДЕЖ***"}),
         Rows({"*****#****", E, "****##****", E, "***####***"})},
        // Everything after the second blank is the third part, blanks too.
        {"А Б В Г", Rows({"*****А****", E, "*****Б****", E, "****В Г***"}),
         Rows({"*****#****", E, "*****#****", E, "****###***"})},
        // A part over ten characters gets no cells; the others keep theirs.
        {"СОБАКА ДОСТОПРИМЕЧАТЕЛЬНОСТЬ", Rows({E, "**СОБАКА**", E, E, E}), Rows({E, "**######**", E, E, E})},
        {"ДОСТОПРИМЕЧАТЕЛЬНОСТЬ", Rows({E, E, E, E, E}), Rows({E, E, E, E, E})},
        {"", Rows({E, E, E, E, E}), Rows({E, E, E, E, E})},
        // A leading blank leaves the first part empty.
        {" КОТ", Rows({E, E, E, "****КОТ***", E}), Rows({E, E, E, "****###***", E})},
    };
    for (const Case& c : cases) {
        Board board;
        board.BoardMask[0] = "stale-----";
        ResetBoard(board);
        PlaceAnswer(board, Cp(c.answer));
        EXPECT_EQ(board.BoardLetters, c.letters) << c.answer;
        EXPECT_EQ(board.BoardMask, c.mask) << c.answer;
    }
}

TEST(Board, WordStartsAtColumnSixLessHalfItsLength)
{
    const std::string letters = Cp("АБВГДЕЖЗИЙК");
    for (std::size_t n = 0; n <= 11; ++n) {
        Board board;
        ResetBoard(board);
        PlaceWord(board, 3, std::string_view(letters).substr(0, n));
        const std::string& mask = board.BoardMask[2];
        const auto first = mask.find('#');
        if (n == 0 || n > 10) {
            EXPECT_EQ(mask, E) << n;
            continue;
        }
        EXPECT_EQ(first + 1, 6 - n / 2) << n;
        EXPECT_EQ(mask.find_last_of('#') - first + 1, n) << n;
        EXPECT_EQ(board.BoardLetters[2].substr(first, n), letters.substr(0, n)) << n;
    }
}

TEST(Board, TypedCharacters)
{
    struct Case {
        char32_t typed;
        int key;
    };
    const Case cases[] = {
        {U'А', 1}, {U'а', 1}, {U'К', 11}, {U'к', 11}, {U'Я', 32}, {U'я', 32}, {U'Й', 10}, {U'Ё', 0},
        {U'ё', 0}, {U'k', 0}, {U'K', 0},  {U'7', 0},  {U' ', 0},  {U'Џ', 0},  {U'ѐ', 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyOfTypedChar(c.typed), c.key) << static_cast<unsigned>(c.typed);
    for (int k = 1; k <= LetterKeys; ++k)
        EXPECT_EQ(KeyOfLetter(KeyLetter(k)), k);
    EXPECT_EQ(Cp1251ToUtf8(std::string(1, KeyLetter(11))), "К");
    EXPECT_STREQ(LetterPictureName(1), "Bu01a");
    EXPECT_STREQ(LetterPictureName(32), "Bu32y");
}

TEST(Guessing, OpensEveryCellOfTheLetterColumnByColumn)
{
    DealBoard deal;
    SetUpDeal(deal, Cp("ОКНО ТОК"));
    // Row 2 holds ОКНО in columns 4..7, row 4 ТОК in columns 5..7.
    std::int32_t score = 1000;
    const GuessOutcome o = PickLetter(deal, KeyOfLetter(Cp("О")[0]), score);
    EXPECT_TRUE(o.Accepted);
    EXPECT_FALSE(o.Missed);
    EXPECT_FALSE(o.Solved);
    const std::vector<CellPosition> order = {{2, 4}, {4, 6}, {2, 7}};
    EXPECT_EQ(o.Opened, order);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ(deal.Cells.BoardMask[1], Cp("***О##О***"));
    EXPECT_EQ(HiddenCellCount(deal.Cells), 4);
}

TEST(Guessing, AMissCostsOnePointOnceAndTheLastLetterSolves)
{
    DealBoard deal;
    SetUpDeal(deal, Cp("КОТ"));
    std::int32_t score = 1000;
    const int ya = KeyOfLetter(Cp("Я")[0]);

    GuessOutcome o = PickLetter(deal, ya, score);
    EXPECT_TRUE(o.Accepted && o.Missed && o.Opened.empty());
    EXPECT_EQ(score, 999);
    // The same letter again (a double click, a typed repeat) is not charged.
    o = PickLetter(deal, ya, score);
    EXPECT_FALSE(o.Accepted);
    EXPECT_EQ(score, 999);

    for (const char* letter : {"К", "О"})
        EXPECT_FALSE(PickLetter(deal, KeyOfLetter(Cp(letter)[0]), score).Solved);
    o = PickLetter(deal, KeyOfLetter(Cp("Т")[0]), score);
    EXPECT_TRUE(o.Solved);
    EXPECT_EQ(score, 999);
    EXPECT_EQ(deal.Cells.BoardMask[2], Cp("****КОТ***"));

    // A new deal forgets the picked letters.
    SetUpDeal(deal, Cp("Я"));
    o = PickLetter(deal, ya, score);
    EXPECT_TRUE(o.Accepted && o.Solved);
    EXPECT_EQ(o.Opened.size(), 1u);
    EXPECT_FALSE(PickLetter(deal, 0, score).Accepted);
    EXPECT_FALSE(PickLetter(deal, 33, score).Accepted);
}

TEST(Guessing, CellsNoKeyCanOpenAreOpenAtTheStart)
{
    DealBoard deal;
    // A blank inside the third part, a hyphen, a digit, Ё and a small letter.
    SetUpDeal(deal, Cp("А Б-1 ЁЖ я"));
    EXPECT_EQ(deal.Cells.BoardMask[0], Cp("*****#****"));
    EXPECT_EQ(deal.Cells.BoardMask[2], Cp("****#-1***"));
    EXPECT_EQ(deal.Cells.BoardMask[4], Cp("***Ё# я***"));
    EXPECT_EQ(HiddenCellCount(deal.Cells), 3);
}

TEST(Guessing, ABoardWithNothingToOpenEndsAtTheFirstPickForFree)
{
    for (const char* answer : {"ДОСТОПРИМЕЧАТЕЛЬНОСТЬ", "", "1-2"}) {
        DealBoard deal;
        SetUpDeal(deal, Cp(answer));
        EXPECT_EQ(HiddenCellCount(deal.Cells), 0) << answer;
        std::int32_t score = 1000;
        const GuessOutcome o = PickLetter(deal, 5, score);
        EXPECT_TRUE(o.Accepted && o.Solved && !o.Missed) << answer;
        EXPECT_EQ(score, 1000) << answer;
    }
}
