#pragma once
// The five sizes of the main window and the screen limits that restrict the
// choice among them.
#include "common/layout.h"

namespace vk {

enum : int { SizeSmall = 1, SizeFullScreen = 2, SizeMedium1 = 3, SizeMedium2 = 4, SizeLarge = 5 };

// Sets the layout for a window size.  The full-screen size takes the client
// size the window really got once it filled the work area (measured by the
// window after the maximise has taken effect); the other sizes ignore it.
void SetWindowSize(int windowSize, int measuredClientW, int measuredClientH, Layout& layout);

// Sizes 3 to 5 need a screen at least this large (the window plus its frame).
struct ScreenLimits {
    bool SizeTooSmall3 = false;
    bool SizeTooSmall4 = false;
    bool SizeTooSmall5 = false;

    // True when the Options window must refuse this size on this screen.
    bool Refuses(int windowSize) const;
};

// From the screen's full size in pixels, not its work area.
ScreenLimits ComputeScreenLimits(int screenW, int screenH);

} // namespace vk
