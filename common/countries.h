#pragma once
// The country tables: six continents, each a list of rows numbered from 0
// (row 0 is "Unknown" everywhere).  A member's country travels as a code,
// the continent digit, "-" and the row as three digits ("1-001" is Russia),
// and as the row's key, a one-word form of the English name.
#include <optional>
#include <string_view>

namespace vk {

struct CountryTexts {
    std::string_view English;
    std::string_view Key;   // never holds a blank; empty for Africa's row 12
};

inline constexpr int ContinentCount = 6;

// Highest row number of continent 1..6; -1 for any other number.
int ContinentHighestRow(int continent);

// A row beyond the continent's table gives row 0 ("Unknown").
CountryTexts CountryRow(int continent, int row);

// The row a five-character code names, when the code is exactly a continent
// digit, "-" and three digits within that continent's table.
std::optional<CountryTexts> CountryOfCode(std::string_view code);

} // namespace vk
