#include "server/jpeg_photo.h"

namespace vks {
namespace {

unsigned Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }

bool IsFrameMarker(unsigned m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

} // namespace

std::optional<std::string> CleanPhoto(std::string_view b, int width, int height)
{
    if (b.size() < 4 || Byte(b, 0) != 0xFF || Byte(b, 1) != 0xD8)
        return std::nullopt;
    std::string out = "\xFF\xD8";
    std::size_t pos = 2;
    bool frame = false, scan = false;
    for (;;) {
        if (pos >= b.size() || Byte(b, pos) != 0xFF)
            return std::nullopt;
        while (pos < b.size() && Byte(b, pos) == 0xFF)
            ++pos;
        if (pos >= b.size())
            return std::nullopt;
        const unsigned marker = Byte(b, pos++);
        if (marker == 0xD9) {
            if (!frame || !scan)
                return std::nullopt;
            out += "\xFF\xD9";
            return out;
        }
        if (marker == 0x00 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            return std::nullopt;   // not a segment outside entropy-coded data
        if (pos + 2 > b.size())
            return std::nullopt;
        const std::size_t length = Byte(b, pos) << 8 | Byte(b, pos + 1);
        if (length < 2 || pos + length > b.size())
            return std::nullopt;
        if (IsFrameMarker(marker)) {
            if (frame || length < 8)
                return std::nullopt;
            const int h = static_cast<int>(Byte(b, pos + 3) << 8 | Byte(b, pos + 4));
            const int w = static_cast<int>(Byte(b, pos + 5) << 8 | Byte(b, pos + 6));
            if (w != width || h != height)
                return std::nullopt;
            frame = true;
        }
        const bool metadata = (marker >= 0xE1 && marker <= 0xEF) || marker == 0xFE;
        if (!metadata) {
            out += '\xFF';
            out += static_cast<char>(marker);
            out.append(b.substr(pos, length));
        }
        pos += length;
        if (marker != 0xDA)
            continue;
        if (!frame)
            return std::nullopt;
        scan = true;
        // Entropy-coded data runs to the next marker that is neither a
        // stuffed 0xFF00 nor a restart marker.
        const std::size_t start = pos;
        for (;;) {
            if (pos + 1 >= b.size())
                return std::nullopt;
            if (Byte(b, pos) == 0xFF) {
                const unsigned next = Byte(b, pos + 1);
                if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                    pos += 2;
                    continue;
                }
                if (next != 0xFF)
                    break;
            }
            ++pos;
        }
        out.append(b.substr(start, pos - start));
    }
}

} // namespace vks
