#include "server/jpeg_photo.h"

#include "common/jpeg_segments.h"

namespace vks {

std::optional<std::string> CleanPhoto(std::string_view bytes, int width, int height)
{
    std::string out = "\xFF\xD8";
    const bool whole = vk::WalkJpegSegments(bytes, [&](const vk::JpegSegment& s) {
        if (const auto size = vk::JpegFrameSize(s); size && (size->width != width || size->height != height))
            return false;
        const bool metadata = (s.marker >= 0xE1 && s.marker <= 0xEF) || s.marker == 0xFE;
        if (!metadata) {
            out += '\xFF';
            out += static_cast<char>(s.marker);
            out.append(s.data);
            out.append(s.entropy);
        }
        return true;
    });
    if (!whole)
        return std::nullopt;
    out += "\xFF\xD9";
    return out;
}

} // namespace vks
