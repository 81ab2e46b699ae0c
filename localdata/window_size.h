#pragma once
// The five sizes of the main window.
#include "common/layout.h"

namespace vk {

enum : int { SizeSmall = 1, SizeFullScreen = 2, SizeMedium1 = 3, SizeMedium2 = 4, SizeLarge = 5 };

// Sets the layout for a window size.  For the full-screen size the client
// size is the one the window got when it filled the work area.
void ApplyWindowSize(int windowSize, int fullClientW, int fullClientH, Layout& layout);

} // namespace vk
