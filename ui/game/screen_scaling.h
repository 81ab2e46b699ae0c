#pragma once
// The program lays everything out in its own pixels through its five window
// sizes, so Qt must not scale it again for the screen: button faces and the
// resampled background are drawn 1:1.  A large screen is served by the
// larger window sizes instead.
#include <QtGlobal>

namespace vk {

// Call before the application object is created.
inline void DisableAutomaticScaling() { qputenv("QT_ENABLE_HIGHDPI_SCALING", "0"); }

} // namespace vk
