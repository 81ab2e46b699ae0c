#include "common/jpeg_segments.h"

#include <cstddef>

namespace vk {
namespace {

int Byte(std::string_view b, std::size_t i) { return static_cast<unsigned char>(b[i]); }
int Word16(std::string_view b, std::size_t i) { return Byte(b, i) << 8 | Byte(b, i + 1); }

// Start-of-frame markers: C0..CF without DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsRestart(int marker) { return marker >= 0xD0 && marker <= 0xD7; }

// Where a scan's coded data that begins at pos ends: at the 0xFF of the
// next marker, or nothing when the bytes end first.
std::optional<std::size_t> EntropyEnd(std::string_view b, std::size_t pos)
{
    for (;;) {
        if (pos + 1 >= b.size())
            return std::nullopt;
        if (Byte(b, pos) == 0xFF) {
            const int next = Byte(b, pos + 1);
            if (next == 0x00 || IsRestart(next)) {
                pos += 2;
                continue;
            }
            if (next != 0xFF)
                return pos;
        }
        ++pos;
    }
}

} // namespace

std::optional<JpegSize> JpegFrameSize(const JpegSegment& s)
{
    if (!IsFrameMarker(s.marker) || s.data.size() < 8)
        return std::nullopt;
    return JpegSize{Word16(s.data, 5), Word16(s.data, 3)};
}

bool WalkJpegSegments(std::string_view b, const std::function<bool(const JpegSegment&)>& visit)
{
    if (b.size() < 4 || Byte(b, 0) != 0xFF || Byte(b, 1) != 0xD8)
        return false;
    std::size_t pos = 2;
    bool frame = false, scan = false;
    for (;;) {
        if (pos >= b.size() || Byte(b, pos) != 0xFF)
            return false;
        while (pos < b.size() && Byte(b, pos) == 0xFF)
            ++pos; // fill bytes
        if (pos >= b.size())
            return false;
        const int marker = Byte(b, pos++);
        if (marker == 0xD9)
            return scan;
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || IsRestart(marker))
            return false;
        if (pos + 2 > b.size())
            return false;
        const std::size_t length = static_cast<std::size_t>(Word16(b, pos));
        if (length < 2 || pos + length > b.size())
            return false;
        JpegSegment segment{marker, b.substr(pos, length), {}};
        pos += length;
        if (IsFrameMarker(marker)) {
            if (frame || length < 8)
                return false;
            frame = true;
        }
        if (marker == 0xDA) {
            if (!frame)
                return false;
            scan = true;
            const auto end = EntropyEnd(b, pos);
            if (!end)
                return false;
            segment.entropy = b.substr(pos, *end - pos);
            pos = *end;
        }
        if (!visit(segment))
            return false;
    }
}

} // namespace vk
