#pragma once
// Who we are: the product's numbers, names, file names and the keys it looks
// for on the news page.  Shared by every layer, with the club's rules.
#include "common/club_rules.h"

namespace vk {

inline constexpr int ProductNumber = 50; // our number in the maker's catalogue
inline constexpr int DealsPerGame = 20;

inline constexpr const char* ClubFileName = "Vokabron.clb";
inline constexpr const char* SettingsFileName = "Vokabron.ini";
inline constexpr const char* StoreLinkKey = "RuStore_Link_Vokabron";
inline constexpr const char* PackageLinkKey = "DownLoad_Link_Vokabron";
inline constexpr const char* NewsKey = "NewsVokabron4.1";
inline constexpr const char* VersionText = "V 4.3";
// A club file whose distribution label is this sends no launch reports: the
// copies the developers run every day would swell the figures.
inline constexpr const char* ExemptDistributionLabel = "DEV";

// Product names by language (0 English, 1 Russian), UTF-8.
inline constexpr const char* ProductNames[2] = {"Vokabron", "Вокаброн"};
inline constexpr const char* ProductNamesUpper[2] = {"VOKABRON", "ВОКАБРОН"};

} // namespace vk
