#pragma once
// The segment chain of a JPEG picture, walked without decoding it: the
// marker rules the game's photo check and the server's photo cleaner share.
// Standard library only.
#include <functional>
#include <optional>
#include <string_view>

namespace vk {

struct JpegSegment {
    int marker = 0;           // the byte after 0xFF
    std::string_view data;    // its two length bytes and what they cover
    std::string_view entropy; // after a scan header (0xDA): the coded data
};

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The picture size a start-of-frame segment gives; nothing for other segments.
std::optional<JpegSize> JpegFrameSize(const JpegSegment& segment);

// Walks from the start marker to the end marker and hands each segment in
// between to visit, which may refuse it (false).  True when the chain is
// whole: one frame of at least its fixed fields, before the first scan;
// a scan; each scan's coded data running to the next marker that is neither
// a stuffed 0xFF00 nor a restart; then the end marker (what follows it is
// not read).  Markers without a length (restarts, TEM) and a second start
// marker belong to no chain.
bool WalkJpegSegments(std::string_view bytes, const std::function<bool(const JpegSegment&)>& visit);

} // namespace vk
