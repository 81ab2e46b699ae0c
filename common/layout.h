#pragma once
// The main window is designed for a 760 x 500 client area; these values and
// operations turn design coordinates into window coordinates.
#include "common/rounding.h"

namespace vk {

inline constexpr int DesignWidth = 760;
inline constexpr int DesignHeight = 500;

struct Layout {
    int ClientW = DesignWidth;
    int ClientH = DesignHeight;
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    double Scale = 1.0; // the smaller of the two

    // Left edge of an element of design width w at design x, drawn Scale
    // times its size with its centre where the stretched design puts it.
    int ScaleLeft(double x, double w) const { return RoundInt(x * ScaleX) + RoundInt((ScaleX - Scale) * w / 2); }
    int ScaleTop(double y, double h) const { return RoundInt(y * ScaleY) + RoundInt((ScaleY - Scale) * h / 2); }
    int ScaleSize(double n) const { return RoundInt(n * Scale); }
};

} // namespace vk
