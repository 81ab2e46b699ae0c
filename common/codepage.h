#pragma once
// Windows-1251, the code page of every text the program keeps: the puzzle
// bases, the local files and what the servers send.  Domain text stays in
// these single bytes; conversion happens only at the edges.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

char32_t Cp1251ToUnicode(unsigned char byte);
std::string Cp1251ToUtf8(std::string_view text);

std::optional<unsigned char> UnicodeToCp1251(char32_t codePoint);
// Fails (nullopt) on malformed UTF-8 or on a character the code page lacks.
std::optional<std::string> Utf8ToCp1251(std::string_view text);

} // namespace vk
