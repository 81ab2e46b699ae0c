#pragma once
// The frame a player lays over a picture to cut a photo out of it: always
// of the photo's proportions, always inside the picture.  Picture pixels
// throughout; standard library only.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace vk {

// The proportions of the frame, reduced (200 x 250 gives 4 x 5).
struct FrameAspect {
    int Width = 1;
    int Height = 1;
};
FrameAspect ReducedAspect(int width, int height);

// A frame of Units x the aspect's sides, its top-left corner at (X, Y): its
// proportions are exact however large it is.
struct CropFrame {
    int X = 0;
    int Y = 0;
    int Units = 0;
    bool operator==(const CropFrame&) const = default;
};
inline int FrameWidth(const CropFrame& f, FrameAspect a) { return f.Units * a.Width; }
inline int FrameHeight(const CropFrame& f, FrameAspect a) { return f.Units * a.Height; }

// The most units a frame can have inside a picture of W x H (0 when not even
// one fits).
int MostFrameUnits(int pictureW, int pictureH, FrameAspect a);
// The least a resized frame keeps: a tenth of the most, at least one unit.
int LeastFrameUnits(int pictureW, int pictureH, FrameAspect a);

// The largest frame, centred (halves of a pixel to the left and top).
CropFrame LargestCentredFrame(int pictureW, int pictureH, FrameAspect a);

// The frame made to fit: its units between the least and the most, then
// moved the least distance that puts it wholly inside the picture.
CropFrame ClampedFrame(CropFrame frame, int pictureW, int pictureH, FrameAspect a);

// Moved by (dx, dy), stopping at the picture's edges.
CropFrame MovedFrame(const CropFrame& frame, int dx, int dy, int pictureW, int pictureH, FrameAspect a);

// Grown (steps > 0) or shrunk by steps of a tenth of its size (at least a
// unit each), about its centre, kept inside the picture.
CropFrame ResizedFrame(const CropFrame& frame, int steps, int pictureW, int pictureH, FrameAspect a);

// A picture of W x H shown as large as it fits in a box of BoxW x BoxH, its
// proportions kept: the scale from picture to box.
double FitScale(int pictureW, int pictureH, int boxW, int boxH);

// Encodes at falling qualities, from `highest` down by `step` to no less
// than `lowest`, until the bytes fit in `cap`; nothing when none fits.
std::optional<std::string> FirstFitting(const std::function<std::string(int quality)>& encode, std::size_t cap,
                                        int highest, int step, int lowest);

} // namespace vk
