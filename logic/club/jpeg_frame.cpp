#include "logic/club/jpeg_frame.h"

namespace vk {
namespace {

int Byte(std::string_view bytes, std::size_t pos) { return static_cast<unsigned char>(bytes[pos]); }
int Word16(std::string_view bytes, std::size_t pos) { return Byte(bytes, pos) << 8 | Byte(bytes, pos + 1); }

// Start-of-frame markers: C0..CF without DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

} // namespace

std::optional<JpegFrame> ReadJpegFrame(std::string_view bytes)
{
    if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8)
        return std::nullopt;
    std::optional<JpegFrame> frame;
    std::size_t pos = 2;
    while (pos + 1 < bytes.size()) {
        if (Byte(bytes, pos) != 0xFF)
            return std::nullopt;
        while (pos + 1 < bytes.size() && Byte(bytes, pos + 1) == 0xFF)
            ++pos; // fill bytes
        if (pos + 1 >= bytes.size())
            return std::nullopt;
        const int marker = Byte(bytes, pos + 1);
        pos += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length
        if (marker == 0xD8 || marker == 0xD9 || pos + 2 > bytes.size())
            return std::nullopt;
        const int length = Word16(bytes, pos);
        if (length < 2 || pos + static_cast<std::size_t>(length) > bytes.size())
            return std::nullopt;
        if (IsFrameMarker(marker)) {
            if (length < 8)
                return std::nullopt;
            frame = JpegFrame{Word16(bytes, pos + 5), Word16(bytes, pos + 3)};
            if (frame->Width == 0 || frame->Height == 0)
                return std::nullopt;
        }
        if (marker == 0xDA) {
            // The entropy-coded data runs to the end marker.
            const std::size_t end = bytes.find("\xFF\xD9", pos + static_cast<std::size_t>(length));
            return frame && end != std::string_view::npos ? frame : std::nullopt;
        }
        pos += static_cast<std::size_t>(length);
    }
    return std::nullopt;
}

} // namespace vk
