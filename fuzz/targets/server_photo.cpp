// Uploaded photos: the JPEG check and the copy without metadata that is
// stored, which the game's own frame check must read at the same size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "logic/club/jpeg_frame.h"
#include "server/jpeg_photo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vks::CleanPhoto(bytes);
    // Whatever passes must pass again as it is stored.
    if (const auto cleaned = vks::CleanPhoto(bytes, 1, 1)) {
        if (!vks::CleanPhoto(*cleaned, 1, 1))
            __builtin_trap();
        const auto frame = vk::ReadJpegFrame(*cleaned);
        if (!frame || frame->Width != 1 || frame->Height != 1)
            __builtin_trap();
    }
    return 0;
}
