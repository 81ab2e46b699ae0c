#include "logic/localdata/window_size.h"

#include <algorithm>

namespace vk {
namespace {

struct FixedSize {
    int w, h;
    double scale;
    int screenW, screenH; // the least screen that offers the size
};

constexpr FixedSize kSizes[] = {
    {760, 500, 1.0, 0, 0},     {0, 0, 0.0, 0, 0}, // full screen: measured
    {990, 650, 1.3, 990, 670}, {1290, 850, 1.7, 1290, 870}, {1520, 1000, 2.0, 1520, 1020},
};

} // namespace

void SetWindowSize(int windowSize, int measuredClientW, int measuredClientH, Layout& layout)
{
    if (windowSize == SizeFullScreen && measuredClientW > 0 && measuredClientH > 0) {
        layout.ClientW = measuredClientW;
        layout.ClientH = measuredClientH;
        layout.ScaleX = static_cast<double>(measuredClientW) / DesignWidth;
        layout.ScaleY = static_cast<double>(measuredClientH) / DesignHeight;
        layout.Scale = std::min(layout.ScaleX, layout.ScaleY);
        return;
    }
    // An unknown size (or a full screen not measured yet) falls back to the
    // small window rather than to a zero-sized one.
    const bool fixed = windowSize >= SizeSmall && windowSize <= SizeLarge && windowSize != SizeFullScreen;
    const FixedSize& f = kSizes[fixed ? windowSize - 1 : 0];
    layout.ClientW = f.w;
    layout.ClientH = f.h;
    layout.ScaleX = layout.ScaleY = layout.Scale = f.scale;
}

bool ScreenLimits::Refuses(int windowSize) const
{
    switch (windowSize) {
    case SizeMedium1: return SizeTooSmall3;
    case SizeMedium2: return SizeTooSmall4;
    case SizeLarge: return SizeTooSmall5;
    default: return false;
    }
}

ScreenLimits ComputeScreenLimits(int screenW, int screenH)
{
    const auto tooSmall = [&](int size) {
        const FixedSize& f = kSizes[size - 1];
        return screenW < f.screenW || screenH < f.screenH;
    };
    return {tooSmall(SizeMedium1), tooSmall(SizeMedium2), tooSmall(SizeLarge)};
}

} // namespace vk
