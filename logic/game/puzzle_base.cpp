#include "logic/game/puzzle_base.h"

#include <chrono>
#include <random>

#include "common/text_cipher.h"
#include "common/text_lines.h"

namespace vk {
namespace {

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

bool IsSectionMarker(const std::string& line)
{
    if (line.size() < 3 || line[0] != '$')
        return false;
    return (IsDigit(line[1]) && IsDigit(line[2])) || (line[1] == 'X' && line[2] == 'X');
}

} // namespace

void LoadPuzzleBase(std::string_view resourceText, std::vector<std::string>& memo)
{
    memo = SplitLines(resourceText);
    std::erase_if(memo, IsSectionMarker);
}

int ClockSeededRandom(int bound)
{
    std::mt19937 generator(
        static_cast<std::mt19937::result_type>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    return std::uniform_int_distribution<int>(0, bound - 1)(generator);
}

bool PickPuzzle(const std::vector<std::string>& memo1, const std::vector<std::string>& memo2, PuzzleState& puzzle,
                const RandomSource& random)
{
    const int total = BaseSizes[0] + BaseSizes[1];
    const int entry = random(total) + 1;
    const bool firstBase = entry <= BaseSizes[0];
    const auto& memo = firstBase ? memo1 : memo2;
    const int index = firstBase ? entry - 1 : entry - BaseSizes[0] - 1;
    // A damaged base must not take the program down with it.
    if (index < 0 || static_cast<std::size_t>(index) >= memo.size())
        return false;
    puzzle.PuzzleLine = memo[static_cast<std::size_t>(index)];
    puzzle.PuzzleBase = firstBase ? 1 : 2;
    return true;
}

void ReadPuzzle(PuzzleState& puzzle)
{
    if (puzzle.PuzzleLine.empty() || puzzle.PuzzleLine[0] != '$')
        puzzle.PuzzleLine = DecodeText(puzzle.PuzzleLine, PuzzleStartKey);

    const std::string& line = puzzle.PuzzleLine;
    std::string* fields[] = {&puzzle.PuzzleAnswer, &puzzle.PuzzleTheme, &puzzle.PuzzleExtra};
    std::size_t start = 0;
    int field = 0;
    for (std::size_t p = 0; p < line.size() && field < 3; ++p) {
        if (line[p] != '#')
            continue;
        *fields[field] = line.substr(start, p - start);
        ++field;
        start = p + 1;
    }
}

} // namespace vk
