#pragma once
// The board of a deal: five rows of ten cells holding the answer's words, and
// the bookkeeping of the letters picked so far.  Texts are Windows-1251.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

inline constexpr int BoardRows = 5;
inline constexpr int BoardColumns = 10;
inline constexpr int LetterKeys = 32;

inline constexpr char NoCell = '*';
inline constexpr char HiddenCell = '#';

// Rows and columns count from 1, as the board's description does.
struct Board {
    // The word of each row padded with "*" to ten characters.
    std::array<std::string, BoardRows> BoardLetters;
    // Per cell "*" no cell, "#" hidden, or the letter once it is open.
    std::array<std::string, BoardRows> BoardMask;

    char Letter(int row, int column) const { return BoardLetters[Index(row)][Index(column)]; }
    char Mask(int row, int column) const { return BoardMask[Index(row)][Index(column)]; }
    bool HasCell(int row, int column) const { return Mask(row, column) != NoCell; }

    static std::size_t Index(int fromOne) { return static_cast<std::size_t>(fromOne - 1); }
};

// Every row "**********".
void ResetBoard(Board& board);

// Puts word into its row starting at column 6 - (n div 2); a word of 0 or
// more than 10 characters leaves the row without cells.
void PlaceWord(Board& board, int row, std::string_view word);

// Lays the answer out: one word in row 3; two in rows 2 and 4; three in rows
// 1, 3 and 5, the third part being everything after the second blank.
void PlaceAnswer(Board& board, std::string_view answer);

int CellCount(const Board& board);
int HiddenCellCount(const Board& board);

// Letter key k (1..32) stands for the capital letter "А".."Я" without "Ё".
char KeyLetter(int k);
// The key of a Windows-1251 byte, capital or small; 0 for anything else
// ("Ё", Latin letters, digits).
int KeyOfLetter(char letter);
// The key of a typed character, capital or small; 0 for anything else.
int KeyOfTypedChar(char32_t typed);
// The letter tile picture of key k ("Bu01a" .. "Bu32y").
const char* LetterPictureName(int k);

// A cell holding anything but "А".."Я" could never be picked: it opens when
// the deal is set up.  Returns how many cells were opened.
int OpenUnpickableCells(Board& board);

struct CellPosition {
    int Row = 0;
    int Column = 0;
    bool operator==(const CellPosition&) const = default;
};

// What one pick did.
struct GuessOutcome {
    bool Accepted = false;            // false: the letter was picked before in this deal
    std::vector<CellPosition> Opened; // in opening order: column by column, each top to bottom
    bool Missed = false;              // the letter is not on the board: it costs a point
    bool Solved = false;              // no hidden cell is left
};

// The letters of one deal and which of them have been picked.
struct DealBoard {
    Board Cells;
    std::array<bool, LetterKeys> Picked{};

    bool IsPicked(int k) const { return Picked[static_cast<std::size_t>(k - 1)]; }
};

// Starts a deal on answer: lays it out, opens the cells nobody could pick and
// forgets the picked letters.
void SetUpDeal(DealBoard& deal, std::string_view answer);

// Picks key k: opens every hidden cell of its letter and charges a miss to
// score.  A letter is taken once per deal; a second pick changes nothing.
// A board with nothing left to open (empty, or all opened at set-up) takes
// the first pick as the end of the deal without charging for it.
GuessOutcome PickLetter(DealBoard& deal, int k, std::int32_t& score);

} // namespace vk
