#pragma once
// The device token: what a login gives a game that keeps its login on this
// computer, and what that game shows at its next login so that guesses
// against its nick from elsewhere cannot keep it out.  It travels as a
// fourth field of the login request and comes back after the login record,
// where the record's reader never looks:
//
//   nick=…&pw=…&label0=0&device=TOKEN     (TOKEN empty: give me one)
//   $City … 0$device=TOKEN\r\n
//
// Standard library only: the game and the server read it alike.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace vk {

inline constexpr const char* DeviceField = "device";
inline constexpr std::string_view DeviceMark = "$device=";
inline constexpr std::size_t DeviceTokenLength = 43; // 32 bytes in base64url

inline bool IsDeviceToken(std::string_view token)
{
    return token.size() == DeviceTokenLength && std::all_of(token.begin(), token.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'
                      || c == '_';
           });
}

// What the server appends to the login record, which ends with its "$".
inline std::string DeviceTokenLine(const std::string& token)
{
    return std::string(DeviceMark.substr(1)) + token + "\r\n";
}

// The token a login reply carries after its record, if a well-formed one.
inline std::optional<std::string> DeviceTokenOf(std::string_view reply)
{
    const std::size_t at = reply.rfind(DeviceMark);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view token = reply.substr(at + DeviceMark.size());
    token = token.substr(0, token.find("\r\n"));
    if (!IsDeviceToken(token))
        return std::nullopt;
    return std::string(token);
}

} // namespace vk
