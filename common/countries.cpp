#include "common/countries.h"

#include <array>
#include <cstdio>
#include <span>

namespace vk {
namespace {

// Key "" below means: the key is the English name itself.  Every name with a
// blank has its own shortened key, so the rule never produces a blank.
struct Row {
    std::string_view english;
    std::string_view key;
};

// clang-format off
constexpr Row kEurope[] = {
    {"Unknown", ""}, {"Russia", ""}, {"Albania", ""}, {"Andorra", ""}, {"Austria", ""},
    {"Belarus", ""}, {"Belgium", ""}, {"Bosnia & Herzegovina", "Bosnia_Herz."}, {"Bulgaria", ""},
    {"Croatia", ""}, {"Czech Republic", "Czech_Republic"}, {"Denmark", ""}, {"Estonia", ""},
    {"Faroe Islands", "Faroe_Islands"}, {"Finland", ""}, {"France", ""}, {"Germany", ""},
    {"Gibraltar", ""}, {"Greece", ""}, {"Guernsey", ""}, {"Hungary", ""}, {"Iceland", ""},
    {"Ireland", ""}, {"Isle of Man", "Isle_of_Man"}, {"Italy", ""}, {"Jersey", ""}, {"Latvia", ""},
    {"Liechtenstein", ""}, {"Lithuania", ""}, {"Luxembourg", ""}, {"Macedonia", ""}, {"Malta", ""},
    {"Moldova", ""}, {"Monaco", ""}, {"Netherlands", ""}, {"Norway", ""}, {"Poland", ""},
    {"Portugal", ""}, {"Romania", ""}, {"San Marino", "San_Marino"}, {"Serbia-Montenegro", "Serbia-Mont."},
    {"Slovakia", ""}, {"Slovenia", ""}, {"Spain", ""}, {"Sweden", ""}, {"Switzerland", ""},
    {"Ukraine", ""}, {"Vatican City", "Vatican_City"}, {"United Kingdom", "United_Kingdom"},
};

constexpr Row kAsia[] = {
    {"Unknown", ""}, {"Afghanistan", ""}, {"Armenia", ""}, {"Azerbaijan", ""}, {"Bahrain", ""},
    {"Bangladesh", ""}, {"Bhutan", ""}, {"British Indian Ocean Territory", "B.I.O.T."}, {"Brunei", ""},
    {"Cambodia", ""}, {"China", ""}, {"Cyprus", ""}, {"East Timor", "East_Timor"}, {"Georgia", ""},
    {"Hong Kong", "Hong_Kong"}, {"India", ""}, {"Indonesia", ""}, {"Iran", ""}, {"Iraq", ""},
    {"Israel", ""}, {"Japan", ""}, {"Jordan", ""}, {"Kazakhstan", ""}, {"Kuwait", ""},
    {"Kyrgyzstan", ""}, {"Laos", ""}, {"Lebanon", ""}, {"Macau", ""}, {"Malaysia", ""},
    {"Maledives", ""}, {"Mongolia", ""}, {"Myanmar", ""}, {"Nepal", ""}, {"North Korea", "North_Korea"},
    {"Oman", ""}, {"Pakistan", ""}, {"Philippines", ""}, {"Qatar", ""}, {"Saudi Arabia", "Saudi_Arabia"},
    {"Singapore", ""}, {"South Korea", "South_Korea"}, {"Sri-Lanka", ""}, {"Syria", ""}, {"Taiwan", ""},
    {"Tajikistan", ""}, {"Thailand", ""}, {"Turkey", ""}, {"Turkmenistan", ""},
    {"United Arab Emirates", "UAE"}, {"Uzbekistan", ""}, {"Vietnam", ""}, {"Yemen", ""},
};

constexpr Row kNorthAmerica[] = {
    {"Unknown", ""}, {"Anguilla", ""}, {"Antigua and Barbuda", "Antigua-Barbuda"}, {"Aruba", ""},
    {"Bahamas", ""}, {"Barbados", ""}, {"Belize", ""}, {"Bermuda", ""}, {"British Virgin Islands", "BVI"},
    {"Canada", ""}, {"Cayman Islands", "Cayman_Islands"}, {"Costa Rica", "Costa_Rica"}, {"Cuba", ""},
    {"Dominica", ""}, {"Dominican Republic", "Dominican_Rep."}, {"El Salvador", "El_Salvador"},
    {"Greenland", ""}, {"Grenada", ""}, {"Guatemala", ""}, {"Haiti", ""}, {"Honduras", ""},
    {"Jamaica", ""}, {"Martinique", ""}, {"Mexico", ""}, {"Montserrat", ""}, {"Nicaragua", ""},
    {"Panama", ""}, {"Puerto Rico", "Puerto_Rico"}, {"Saint Kitts and Nevis", "Saint_Kitts_N."},
    {"Saint Lucia", "Saint_Lucia"}, {"Saint Pierre and Miquelon", "Saint_Pierre_M."},
    {"Saint Vincent and the Grenadines", "S.V._Grenadines"}, {"Trinidad and Tobago", "Trinidad_Tobago"},
    {"Turks and Caicos Islands", "Turks_Caicos_I."}, {"USA", ""}, {"Virgin Islands", "Virgin_Islands"},
};

constexpr Row kSouthAmerica[] = {
    {"Unknown", ""}, {"Argentina", ""}, {"Bolivia", ""}, {"Brazil", ""}, {"Chile", ""},
    {"Colombia", ""}, {"Equador", ""}, {"Falkland Islands", "Falkland_Isl."}, {"Guyana", ""},
    {"Paraquay", ""}, {"Peru", ""}, {"South Georgia", "South_Georgia"}, {"Suriname", ""},
    {"Uruquay", ""}, {"Venezuela", ""},
};

constexpr Row kOceania[] = {
    {"Unknown", ""}, {"American Samoa", "American_Samoa"}, {"Australia", ""},
    {"Cook Islands", "Cook_Islands"}, {"Fiji", ""}, {"French Polynesia", "Fr._Polynesia"}, {"Guam", ""},
    {"Kiribati", ""}, {"Marshall Islands", "Marshall_Isl."}, {"Micronesia", ""}, {"Nauru", ""},
    {"New Zealand", "New_Zealand"}, {"Niue", ""}, {"Norfolk Island", "Norfolk_Island"},
    {"Northern Mariana Islands", "N._Mariana_Isl."}, {"Palau", ""}, {"Papua New Guinea", "Papua_New_G."},
    {"Pitcairn Islands", "Pitcairn_Isl."}, {"Samoa", ""}, {"Solomon Islands", "Solomon_Islands"},
    {"Tonga", ""}, {"Tuvalu", ""}, {"Vanuatu", ""}, {"Wallis and Futuna", "Wallis-Futuna"},
};

// Row 12 ("Congo Republic") has an empty key; the marker "-" keeps it apart
// from the rows whose key is their name.
constexpr Row kAfrica[] = {
    {"Unknown", ""}, {"Algeria", ""}, {"Angola", ""}, {"Benin", ""}, {"Botswana", ""},
    {"Burkina Faso", "Burkina_Faso"}, {"Burundi", ""}, {"Cameroon", ""}, {"Cape Verde", "Cape_Verde"},
    {"Central African Republic", "CAR"}, {"Chad", ""}, {"Comoros", ""}, {"Congo Republic", "-"},
    {"Congo Democratic Republic", "Congo_DR"}, {"Djibouti", ""}, {"Egypt", ""},
    {"Equatorial Guinea", "Eq._Guinea"}, {"Eritrea", ""}, {"Ethiopia", ""}, {"Gabon", ""},
    {"Gambia", ""}, {"Ghana", ""}, {"Guinea", ""}, {"Guinea-Bissau", ""},
    {"Ivory Coast (Cote Divoire)", "Cote_Divoire"}, {"Kenya", ""}, {"Lesotho", ""}, {"Liberia", ""},
    {"Libya", ""}, {"Madagascar", ""}, {"Malawi", ""}, {"Mali", ""}, {"Mauretania", ""},
    {"Mauritius", ""}, {"Morocco", ""}, {"Mozambique", ""}, {"Namibia", ""}, {"Niger", ""},
    {"Nigeria", ""}, {"Rwanda", ""}, {"Saint Helena", "Saint_Helena"},
    {"Sao Tome and Principe", "Sao_Tome_Pr."}, {"Senegal", ""}, {"Seychelles", ""},
    {"Sierra Leone", "Sierra_Leone"}, {"Somalia", ""}, {"South Africa", "South_Africa"}, {"Sudan", ""},
    {"Swaziland", ""}, {"Tanzania", ""}, {"Togo", ""}, {"Tunisia", ""}, {"Uganda", ""},
    {"Zambia", ""}, {"Zimbabwe", ""},
};
// clang-format on

constexpr std::array<std::span<const Row>, ContinentCount> kContinents = {
    kEurope, kAsia, kNorthAmerica, kSouthAmerica, kOceania, kAfrica,
};

// The flag picture lists, by continent: picture k of a list is the flag of
// row k of that continent's table.
constexpr std::array<std::string_view, ContinentCount> kFlagLists = {
    "ILEuro", "ILAsia", "ILNAme", "ILSAme", "ILOcea", "ILAfri",
};

CountryTexts Texts(const Row& row)
{
    if (row.key == "-")
        return {row.english, ""};
    return {row.english, row.key.empty() ? row.english : row.key};
}

} // namespace

int ContinentHighestRow(int continent)
{
    if (continent < 1 || continent > ContinentCount)
        return -1;
    return static_cast<int>(kContinents[continent - 1].size()) - 1;
}

CountryTexts CountryRow(int continent, int row)
{
    const int highest = ContinentHighestRow(continent);
    if (highest < 0)
        return Texts(kEurope[0]);
    const auto table = kContinents[continent - 1];
    return Texts(table[(row < 0 || row > highest) ? 0 : row]);
}

std::optional<CountryPlace> ParseCountryCode(std::string_view code)
{
    if (code.size() != 5 || code[1] != '-')
        return std::nullopt;
    const int continent = code[0] - '0';
    if (ContinentHighestRow(continent) < 0)
        return std::nullopt;
    int row = 0;
    for (const char c : code.substr(2)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        row = row * 10 + (c - '0');
    }
    if (row > ContinentHighestRow(continent))
        return std::nullopt;
    return CountryPlace{continent, row};
}

std::optional<CountryTexts> CountryOfCode(std::string_view code)
{
    const auto place = ParseCountryCode(code);
    if (!place)
        return std::nullopt;
    return CountryRow(place->Continent, place->Row);
}

std::string CountryCodeOf(CountryPlace place)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d-%03d", place.Continent, place.Row);
    return text;
}

CountryPlace ShownCountry(std::string_view code)
{
    if (const auto place = ParseCountryCode(code))
        return *place;
    const int digit = code.empty() ? 0 : code[0] - '0';
    return {ContinentHighestRow(digit) < 0 ? 1 : digit, 0};
}

std::optional<std::string> CountryFlagName(std::string_view code)
{
    const auto place = ParseCountryCode(code);
    if (!place)
        return std::nullopt;
    std::string name(kFlagLists[static_cast<std::size_t>(place->Continent - 1)]);
    return name + "_" + CountryCodeOf(*place).substr(2);
}

} // namespace vk
