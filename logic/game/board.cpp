#include "logic/game/board.h"

#include <limits>

namespace vk {
namespace {

constexpr unsigned char kFirstCapital = 0xC0; // "А" in Windows-1251
constexpr unsigned char kFirstSmall = 0xE0;   // "а"
constexpr char32_t kFirstCapitalCode = 0x0410;
constexpr char32_t kFirstSmallCode = 0x0430;

const std::string kEmptyRow(BoardColumns, NoCell);

constexpr const char* kLetterPictures[LetterKeys] = {
    "Bu01a", "Bu02b", "Bu03v", "Bu04g", "Bu05d", "Bu06e", "Bu07g", "Bu08z", "Bu09i", "Bu10i", "Bu11k",
    "Bu12l", "Bu13m", "Bu14n", "Bu15o", "Bu16p", "Bu17r", "Bu18s", "Bu19t", "Bu20u", "Bu21f", "Bu22h",
    "Bu23c", "Bu24c", "Bu25s", "Bu26s", "Bu27t", "Bu28i", "Bu29m", "Bu30e", "Bu31u", "Bu32y",
};

} // namespace

void ResetBoard(Board& board)
{
    for (int r = 0; r < BoardRows; ++r) {
        board.BoardLetters[static_cast<std::size_t>(r)] = kEmptyRow;
        board.BoardMask[static_cast<std::size_t>(r)] = kEmptyRow;
    }
}

void PlaceWord(Board& board, int row, std::string_view word)
{
    const int n = static_cast<int>(word.size());
    if (row < 1 || row > BoardRows || n < 1 || n > BoardColumns)
        return;
    const auto start = static_cast<std::size_t>(6 - n / 2 - 1);
    std::string& letters = board.BoardLetters[Board::Index(row)];
    std::string& mask = board.BoardMask[Board::Index(row)];
    letters = kEmptyRow;
    mask = kEmptyRow;
    letters.replace(start, word.size(), word);
    mask.replace(start, word.size(), word.size(), HiddenCell);
}

void PlaceAnswer(Board& board, std::string_view answer)
{
    const auto b1 = answer.find(' ');
    if (b1 == std::string_view::npos) {
        PlaceWord(board, 3, answer);
        return;
    }
    const auto b2 = answer.find(' ', b1 + 1);
    if (b2 == std::string_view::npos) {
        PlaceWord(board, 2, answer.substr(0, b1));
        PlaceWord(board, 4, answer.substr(b1 + 1));
        return;
    }
    PlaceWord(board, 1, answer.substr(0, b1));
    PlaceWord(board, 3, answer.substr(b1 + 1, b2 - b1 - 1));
    PlaceWord(board, 5, answer.substr(b2 + 1));
}

int CellCount(const Board& board)
{
    int count = 0;
    for (const auto& row : board.BoardMask)
        for (char c : row)
            count += c != NoCell;
    return count;
}

int HiddenCellCount(const Board& board)
{
    int count = 0;
    for (const auto& row : board.BoardMask)
        for (char c : row)
            count += c == HiddenCell;
    return count;
}

char KeyLetter(int k) { return static_cast<char>(kFirstCapital + k - 1); }

int KeyOfLetter(char letter)
{
    const auto byte = static_cast<unsigned char>(letter);
    if (byte >= kFirstSmall)
        return byte - kFirstSmall + 1;
    if (byte >= kFirstCapital)
        return byte - kFirstCapital + 1;
    return 0;
}

int KeyOfTypedChar(char32_t typed)
{
    if (typed >= kFirstCapitalCode && typed < kFirstCapitalCode + LetterKeys)
        return static_cast<int>(typed - kFirstCapitalCode) + 1;
    if (typed >= kFirstSmallCode && typed < kFirstSmallCode + LetterKeys)
        return static_cast<int>(typed - kFirstSmallCode) + 1;
    return 0;
}

const char* LetterPictureName(int k) { return k >= 1 && k <= LetterKeys ? kLetterPictures[k - 1] : ""; }

int OpenUnpickableCells(Board& board)
{
    int opened = 0;
    for (int r = 1; r <= BoardRows; ++r)
        for (int c = 1; c <= BoardColumns; ++c) {
            const char letter = board.Letter(r, c);
            char& mask = board.BoardMask[Board::Index(r)][Board::Index(c)];
            // Only capitals can be picked; a small letter has a key too, but
            // the key opens its capital.
            const bool pickable =
                static_cast<unsigned char>(letter) >= kFirstCapital && static_cast<unsigned char>(letter) < kFirstSmall;
            if (mask == HiddenCell && !pickable) {
                mask = letter;
                ++opened;
            }
        }
    return opened;
}

void SetUpDeal(DealBoard& deal, std::string_view answer)
{
    ResetBoard(deal.Cells);
    PlaceAnswer(deal.Cells, answer);
    OpenUnpickableCells(deal.Cells);
    deal.Picked.fill(false);
}

GuessOutcome PickLetter(DealBoard& deal, int k, std::int32_t& score)
{
    GuessOutcome outcome;
    if (k < 1 || k > LetterKeys || deal.IsPicked(k))
        return outcome;
    deal.Picked[static_cast<std::size_t>(k - 1)] = true;
    outcome.Accepted = true;

    const bool anythingHidden = HiddenCellCount(deal.Cells) > 0;
    const char letter = KeyLetter(k);
    for (int c = 1; c <= BoardColumns; ++c)
        for (int r = 1; r <= BoardRows; ++r)
            if (deal.Cells.Letter(r, c) == letter && deal.Cells.Mask(r, c) == HiddenCell) {
                deal.Cells.BoardMask[Board::Index(r)][Board::Index(c)] = letter;
                outcome.Opened.push_back({r, c});
            }
    if (outcome.Opened.empty() && anythingHidden) {
        outcome.Missed = true;
        if (score > std::numeric_limits<std::int32_t>::min())
            score -= 1;
    }
    outcome.Solved = HiddenCellCount(deal.Cells) == 0;
    return outcome;
}

} // namespace vk
