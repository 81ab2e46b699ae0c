// The game's check of a photo's JPEG frame before it shows or sends one.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logic/club/jpeg_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vk::ReadJpegFrame(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
