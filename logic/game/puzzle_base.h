#pragma once
// The two puzzle bases: loading the resource text, picking a puzzle at random
// and reading the picked line's fields.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_lines.h" // SplitLines

namespace vk {

// Puzzle lines per base after loading; the pick relies on them.
inline constexpr std::array<int, 2> BaseSizes = {500, 500};

struct PuzzleState {
    int PuzzleBase = 0;       // 1 or 2, shown as the base star
    std::string PuzzleLine;   // the picked line; deciphered in place by ReadPuzzle
    std::string PuzzleAnswer; // one to three words of capital letters
    std::string PuzzleTheme;  // shown above the board
    std::string PuzzleExtra;  // editors' note, never shown
};

// Clears memo, loads the resource's lines into it and removes the section
// header lines ("$01 ...$") and the end line ("$XX$").
void LoadPuzzleBase(std::string_view resourceText, std::vector<std::string>& memo);

// Uniform random integer in [0, bound).
using RandomSource = std::function<int(int bound)>;
// Reseeds from the clock at every call, as the pick wants.
int ClockSeededRandom(int bound);

// Sets PuzzleBase and PuzzleLine (still enciphered).  Returns false, leaving
// the state alone, when the drawn line is not in the loaded base.
bool PickPuzzle(const std::vector<std::string>& memo1, const std::vector<std::string>& memo2, PuzzleState& puzzle,
                const RandomSource& random = ClockSeededRandom);

// Deciphers PuzzleLine (unless it is plain text starting with "$") and sets
// answer, theme and extra from its "#"-terminated fields.  A missing field
// leaves its variable unchanged.
void ReadPuzzle(PuzzleState& puzzle);

} // namespace vk
