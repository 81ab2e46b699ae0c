#include <gtest/gtest.h>

#include "common/countries.h"

using namespace vk;

TEST(Countries, RowsKeysAndTheRowsBeyondTheTables)
{
    const struct {
        int continent, row;
        const char* english;
        const char* key;
    } cases[] = {
        {1, 1, "Russia", "Russia"},
        {1, 48, "United Kingdom", "United_Kingdom"},
        {1, 49, "Unknown", "Unknown"},
        {2, 7, "British Indian Ocean Territory", "B.I.O.T."},
        {2, 51, "Yemen", "Yemen"},
        {3, 34, "USA", "USA"},
        {3, 35, "Virgin Islands", "Virgin_Islands"},
        {4, 7, "Falkland Islands", "Falkland_Isl."},
        {4, 14, "Venezuela", "Venezuela"},
        {4, 15, "Unknown", "Unknown"},
        {5, 23, "Wallis and Futuna", "Wallis-Futuna"},
        {6, 12, "Congo Republic", ""},
        {6, 24, "Ivory Coast (Cote Divoire)", "Cote_Divoire"},
        {6, 54, "Zimbabwe", "Zimbabwe"},
        {6, 55, "Unknown", "Unknown"},
        {1, -1, "Unknown", "Unknown"},
        {0, 1, "Unknown", "Unknown"},
        {7, 1, "Unknown", "Unknown"},
    };
    for (const auto& c : cases) {
        const CountryTexts row = CountryRow(c.continent, c.row);
        EXPECT_EQ(row.English, c.english) << c.continent << "/" << c.row;
        EXPECT_EQ(row.Key, c.key) << c.continent << "/" << c.row;
    }
}

TEST(Countries, CodesAsTheListsShowThemAndTheirFlags)
{
    const struct {
        const char* code;
        bool parses;
        CountryPlace shown;
        const char* flag; // "" when none is drawn
    } cases[] = {
        {"1-001", true, {1, 1}, "ILEuro_001"},
        {"6-012", true, {6, 12}, "ILAfri_012"},
        {"4-014", true, {4, 14}, "ILSAme_014"},
        {"3-000", true, {3, 0}, "ILNAme_000"},
        {"5-023", true, {5, 23}, "ILOcea_023"},
        {"2-051", true, {2, 51}, "ILAsia_051"},
        // Beyond the table, a malformed number, a foreign continent, the
        // text an empty list once wrote: row 0, and no flag.
        {"4-015", false, {4, 0}, ""},
        {"6-0a1", false, {6, 0}, ""},
        {"6-01", false, {6, 0}, ""},
        {"7-001", false, {1, 0}, ""},
        {"0-000", false, {1, 0}, ""},
        {"-01", false, {1, 0}, ""},
        {"", false, {1, 0}, ""},
        {"1-0010", false, {1, 0}, ""},
        {"1_001", false, {1, 0}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCountryCode(c.code).has_value(), c.parses) << c.code;
        EXPECT_EQ(ShownCountry(c.code), c.shown) << c.code;
        EXPECT_EQ(CountryFlagName(c.code).value_or(""), c.flag) << c.code;
    }
}

TEST(Countries, ChoicesWriteTheCode)
{
    // The sixth continent chosen: its row 0; then the country of index 7.
    EXPECT_EQ(CountryCodeOf({6, 0}), "6-000");
    EXPECT_EQ(CountryCodeOf({6, 7}), "6-007");
    EXPECT_EQ(CountryCodeOf({2, 51}), "2-051");
    // Every row of every table makes a code that names it again.
    for (int c = 1; c <= ContinentCount; ++c)
        for (int r = 0; r <= ContinentHighestRow(c); ++r)
            EXPECT_EQ(ParseCountryCode(CountryCodeOf({c, r})), (CountryPlace{c, r}));
}
