#include "logic/club/jpeg_frame.h"

#include "common/jpeg_segments.h"

namespace vk {

std::optional<JpegFrame> ReadJpegFrame(std::string_view bytes)
{
    std::optional<JpegFrame> frame;
    const bool whole = WalkJpegSegments(bytes, [&](const JpegSegment& s) {
        const auto size = JpegFrameSize(s);
        if (size)
            frame = JpegFrame{size->width, size->height};
        return !size || (size->width > 0 && size->height > 0);
    });
    return whole ? frame : std::nullopt;
}

} // namespace vk
