// The local club file: its lines, their fields and the stored passwords.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logic/localdata/club_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vk::DecodePasswordCode(bytes);
    vk::ParseNumberField(bytes);
    const auto lines = vk::ParseClubFile(bytes);
    if (!lines)
        return 0;
    vk::ClubLinesValid(*lines);
    vk::ComputeClubSums(*lines);
    for (const auto& line : *lines) {
        vk::IsEmptyMemberLine(line);
        vk::MemberName(line);
        vk::MemberScore(line);
        vk::MemberDeals(line);
        vk::DecodePasswordCode(vk::MemberPasswordCode(line));
        vk::TopTenName(line);
        vk::TopTenScoreField(line);
        vk::TopTenScore(line);
    }
    // What was read writes back and reads again.
    if (!vk::ParseClubFile(vk::ClubFileBytes(*lines)))
        __builtin_trap();
    return 0;
}
