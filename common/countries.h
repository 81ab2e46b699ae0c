#pragma once
// The country tables: six continents, each a list of rows numbered from 0
// (row 0 is "Unknown" everywhere).  A member's country travels as a code,
// the continent digit, "-" and the row as three digits ("1-001" is Russia),
// and as the row's key, a one-word form of the English name.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

struct CountryTexts {
    std::string_view English;
    std::string_view Key; // never holds a blank; empty for Africa's row 12
};

inline constexpr int ContinentCount = 6;

// Highest row number of continent 1..6; -1 for any other number.
int ContinentHighestRow(int continent);

// A row beyond the continent's table gives row 0 ("Unknown").
CountryTexts CountryRow(int continent, int row);

// A continent and a row of its table.
struct CountryPlace {
    int Continent = 1;
    int Row = 0;
    bool operator==(const CountryPlace&) const = default;
};

// The place a five-character code names, when the code is exactly a
// continent digit, "-" and three digits within that continent's table.
std::optional<CountryPlace> ParseCountryCode(std::string_view code);

// The row a code names (see ParseCountryCode).
std::optional<CountryTexts> CountryOfCode(std::string_view code);

// The code of a place: "4-007" for continent 4, row 7.
std::string CountryCodeOf(CountryPlace place);

// Where the country lists stand for a stored code.  A code that does not
// parse shows row 0 of its continent (of continent 1 when its first
// character is no continent digit); the code itself stays as it is until
// the player chooses.
CountryPlace ShownCountry(std::string_view code);

// The name of the flag picture of a code: the continent's flag list, "_" and
// the row's three digits ("ILSAme_007").  Nothing when the code does not
// parse.
std::optional<std::string> CountryFlagName(std::string_view code);

} // namespace vk
