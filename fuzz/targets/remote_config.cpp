// The remote configuration text and the news page, as the game reads them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "logic/club/remote_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = vk::PageText(std::string_view(reinterpret_cast<const char*>(data), size));
    bool chat = true;
    vk::ReadWttPath(text, 1, chat);
    vk::ReadWttPath(text, 2, chat);
    vk::KeyValue(text, vk::StatPathKey);
    vk::KeyValue(text, vk::AccPathKey);
    vk::KeyValue(text, "");
    vk::ReadNewsPage(text);
    return 0;
}
