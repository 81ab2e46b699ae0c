#pragma once
// The program's text cipher: a 16-bit running-key XOR whose output is written
// in a base64-style alphabet without padding.  Puzzle lines, the addresses the
// program keeps and the stored club password each use their own start key.
#include <cstdint>
#include <string>
#include <string_view>

namespace vk {

inline constexpr std::uint16_t CipherMultiplier = 40503;
inline constexpr std::uint16_t CipherIncrement = 11351;

inline constexpr std::uint16_t PuzzleStartKey = 28917;
inline constexpr std::uint16_t AddressStartKey = 47111;
inline constexpr std::uint16_t ClubStartKey = 19661;

// Both take and return single-byte strings.
std::string DecodeText(std::string_view text, std::uint16_t startKey);
std::string EncodeText(std::string_view bytes, std::uint16_t startKey);

} // namespace vk
