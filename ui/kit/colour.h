#pragma once
// Colours are kept as 0x00BBGGRR values and turned into QColor only here.
#include <QColor>

namespace vk {

inline QColor ToQColor(unsigned int bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline unsigned int FromQColor(const QColor& colour)
{
    return static_cast<unsigned int>(colour.red()) | (static_cast<unsigned int>(colour.green()) << 8)
           | (static_cast<unsigned int>(colour.blue()) << 16);
}

} // namespace vk
