#pragma once
// The one rounding rule of the program: to the nearest integer, halves to
// even (12.5 -> 12, 13.5 -> 14).  Every rounded value goes through here.
#include <cmath>

namespace vk {

inline long long RoundEven(double value)
{
    // nearbyint follows the current rounding mode, which the program never
    // changes from the default round-to-nearest-even.
    return static_cast<long long>(std::nearbyint(value));
}

inline int RoundInt(double value) { return static_cast<int>(RoundEven(value)); }

} // namespace vk
