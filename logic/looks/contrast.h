#pragma once
// How well a text stands out from what lies round it, in the WCAG 2 figures:
// the relative luminance of a colour, the contrast ratio of two colours, and
// the ratio a drawn caption reaches against its surroundings.
#include <cstdint>

#include "logic/looks/area_average.h"

namespace vk {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The ratio a text of ordinary size needs to be read easily (WCAG AA).
inline constexpr double kReadableContrast = 4.5;

// 0 for black to 1 for white, from sRGB channels.
double RelativeLuminance(Rgb colour);

// (L1 + 0.05) / (L2 + 0.05), the lighter colour over the darker: 1 to 21.
double ContrastRatio(Rgb a, Rgb b);

struct CaptionContrast {
    double ratio = 0; // 0 when no letter was found
    int edges = 0;    // the letter edges measured
};

// The contrast of a caption drawn in `text` against what surrounds its
// letters.  `picture` is the control as drawn; `face`, of the same size, the
// control drawn without the caption (null Data: every pixel of the text's
// colour is a letter's).  The letters are the picture's pixels of the text's
// colour that the caption changed.  From every letter edge the pixels up to
// three steps outward are looked at and the strongest contrast of them
// counts for that edge: behind an outline it is the outline, on a bare face
// the face beyond the soft rim of the letter.  The caption's figure is the
// edge figure that a tenth of its edges fall below, so that a caption
// partly lost on a light gloss fails even if most of it reads well.
CaptionContrast MeasureCaptionContrast(const ConstRgbaPixels& picture, const ConstRgbaPixels& face, Rgb text);

} // namespace vk
