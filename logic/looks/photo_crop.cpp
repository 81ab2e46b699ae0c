#include "logic/looks/photo_crop.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace vk {

FrameAspect ReducedAspect(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const int d = std::gcd(width, height);
    return {width / d, height / d};
}

int MostFrameUnits(int pictureW, int pictureH, FrameAspect a)
{
    if (pictureW <= 0 || pictureH <= 0 || a.Width <= 0 || a.Height <= 0)
        return 0;
    return std::min(pictureW / a.Width, pictureH / a.Height);
}

int LeastFrameUnits(int pictureW, int pictureH, FrameAspect a)
{
    const int most = MostFrameUnits(pictureW, pictureH, a);
    return most == 0 ? 0 : std::max(1, most / 10);
}

CropFrame LargestCentredFrame(int pictureW, int pictureH, FrameAspect a)
{
    const int units = MostFrameUnits(pictureW, pictureH, a);
    return {(pictureW - units * a.Width) / 2, (pictureH - units * a.Height) / 2, units};
}

CropFrame ClampedFrame(CropFrame frame, int pictureW, int pictureH, FrameAspect a)
{
    const int most = MostFrameUnits(pictureW, pictureH, a);
    if (most == 0)
        return {};
    frame.Units = std::clamp(frame.Units, LeastFrameUnits(pictureW, pictureH, a), most);
    frame.X = std::clamp(frame.X, 0, pictureW - FrameWidth(frame, a));
    frame.Y = std::clamp(frame.Y, 0, pictureH - FrameHeight(frame, a));
    return frame;
}

CropFrame MovedFrame(const CropFrame& frame, int dx, int dy, int pictureW, int pictureH, FrameAspect a)
{
    // Wide steps (a mouse thrown far past the edge) must not overflow.
    const auto add = [](int v, int d) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(v) + d, -(1LL << 30), 1LL << 30));
    };
    return ClampedFrame({add(frame.X, dx), add(frame.Y, dy), frame.Units}, pictureW, pictureH, a);
}

CropFrame ResizedFrame(const CropFrame& frame, int steps, int pictureW, int pictureH, FrameAspect a)
{
    const int least = LeastFrameUnits(pictureW, pictureH, a);
    const int most = MostFrameUnits(pictureW, pictureH, a);
    int units = frame.Units;
    for (int k = 0; k < std::abs(steps) && units >= least && units <= most; ++k) {
        const int step = std::max(1, units / 10);
        units += steps > 0 ? step : -step;
    }
    units = std::clamp(units, least, most);
    // Twice the centre, so that odd sides keep it to the half pixel.
    const int cx2 = 2 * frame.X + FrameWidth(frame, a);
    const int cy2 = 2 * frame.Y + FrameHeight(frame, a);
    const CropFrame resized{(cx2 - units * a.Width) / 2, (cy2 - units * a.Height) / 2, units};
    return ClampedFrame(resized, pictureW, pictureH, a);
}

double FitScale(int pictureW, int pictureH, int boxW, int boxH)
{
    if (pictureW <= 0 || pictureH <= 0 || boxW <= 0 || boxH <= 0)
        return 0.0;
    return std::min(static_cast<double>(boxW) / pictureW, static_cast<double>(boxH) / pictureH);
}

std::optional<std::string> FirstFitting(const std::function<std::string(int quality)>& encode, std::size_t cap,
                                        int highest, int step, int lowest)
{
    for (int quality = highest; quality >= lowest && step > 0; quality -= step) {
        std::string bytes = encode(quality);
        if (!bytes.empty() && bytes.size() <= cap)
            return bytes;
    }
    return std::nullopt;
}

} // namespace vk
