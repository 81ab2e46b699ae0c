#pragma once
// Telling a JPEG picture from other bytes without decoding it: the segment
// chain from the start marker to the scan, its frame header, an end marker.
#include <optional>
#include <string_view>

namespace vk {

struct JpegFrame {
    int Width = 0;
    int Height = 0;
};

// The frame size of a well-formed JPEG; nothing for anything else.
std::optional<JpegFrame> ReadJpegFrame(std::string_view bytes);

} // namespace vk
