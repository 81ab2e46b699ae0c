#include "localdata/window_size.h"

#include <algorithm>

namespace vk {

void ApplyWindowSize(int windowSize, int fullClientW, int fullClientH, Layout& layout)
{
    struct Fixed { int w, h; double scale; };
    static constexpr Fixed kFixed[] = {{760, 500, 1.0}, {0, 0, 0}, {990, 650, 1.3}, {1290, 850, 1.7}, {1520, 1000, 2.0}};

    if (windowSize == SizeFullScreen && fullClientW > 0 && fullClientH > 0) {
        layout.ClientW = fullClientW;
        layout.ClientH = fullClientH;
        layout.ScaleX = static_cast<double>(fullClientW) / DesignWidth;
        layout.ScaleY = static_cast<double>(fullClientH) / DesignHeight;
        layout.Scale = std::min(layout.ScaleX, layout.ScaleY);
        return;
    }
    // An unknown size (or a full screen that could not be measured) falls
    // back to the small window rather than to a zero-sized one.
    const int index = (windowSize >= 1 && windowSize <= 5 && windowSize != SizeFullScreen) ? windowSize - 1 : 0;
    const Fixed& f = kFixed[index];
    layout.ClientW = f.w;
    layout.ClientH = f.h;
    layout.ScaleX = layout.ScaleY = layout.Scale = f.scale;
}

} // namespace vk
