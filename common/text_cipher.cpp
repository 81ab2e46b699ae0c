#include "common/text_cipher.h"

#include <array>

namespace vk {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::uint8_t, 256> MakeIndex()
{
    std::array<std::uint8_t, 256> index{}; // characters outside the alphabet count as 0
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        index[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    return index;
}
constexpr auto kIndex = MakeIndex();

// The cipher byte feeds the key in both directions.
inline std::uint16_t NextKey(std::uint16_t key, std::uint8_t cipherByte)
{
    return static_cast<std::uint16_t>((cipherByte + key) * static_cast<std::uint32_t>(CipherMultiplier)
                                      + CipherIncrement);
}

} // namespace

std::string DecodeText(std::string_view text, std::uint16_t startKey)
{
    std::string cipher;
    cipher.reserve(text.size() * 3 / 4 + 3);
    for (std::size_t pos = 0; pos < text.size(); pos += 4) {
        const std::size_t count = std::min<std::size_t>(4, text.size() - pos);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < count; ++k)
            v |= static_cast<std::uint32_t>(kIndex[static_cast<unsigned char>(text[pos + k])]) << (6 * k);
        // 4 characters carry 3 bytes, 3 carry 2, 2 carry 1, 1 carries none.
        for (std::size_t b = 0; b + 1 < count; ++b)
            cipher += static_cast<char>((v >> (8 * b)) & 0xFF);
    }

    std::uint16_t key = startKey;
    for (char& ch : cipher) {
        const auto c = static_cast<std::uint8_t>(ch);
        ch = static_cast<char>(c ^ (key >> 8));
        key = NextKey(key, c);
    }
    return cipher;
}

std::string EncodeText(std::string_view bytes, std::uint16_t startKey)
{
    std::string cipher(bytes);
    std::uint16_t key = startKey;
    for (char& ch : cipher) {
        const auto c = static_cast<std::uint8_t>(static_cast<std::uint8_t>(ch) ^ (key >> 8));
        ch = static_cast<char>(c);
        key = NextKey(key, c);
    }

    std::string out;
    out.reserve((4 * cipher.size() + 2) / 3);
    for (std::size_t pos = 0; pos < cipher.size(); pos += 3) {
        const std::size_t count = std::min<std::size_t>(3, cipher.size() - pos);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < count; ++k)
            v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(cipher[pos + k])) << (8 * k);
        for (std::size_t k = 0; k < count + 1; ++k)
            out += kAlphabet[(v >> (6 * k)) & 0x3F];
    }
    return out;
}

} // namespace vk
