#pragma once
// How well a text stands out from what lies round it, in the WCAG 2 figures:
// the relative luminance of a colour, the contrast ratio of two colours, and
// the ratio a drawn caption reaches against its surroundings.
#include <cstdint>
#include <optional>

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
// The ratio of the enhanced level (WCAG AAA).
inline constexpr double kEnhancedContrast = 7.0;

// 0 for black to 1 for white, from sRGB channels.
double RelativeLuminance(Rgb colour);

// (L1 + 0.05) / (L2 + 0.05), the lighter colour over the darker: 1 to 21.
double ContrastRatio(Rgb a, Rgb b);

// The colour of a thin outline that keeps a text of colour `text` apart from
// any picture under it: a deep shade of the text's own colour for a light
// text, a pale tint for a dark one, so that the outline reads as the
// letters' edge rather than as a new colour; plain black or white where the
// shade or tint would not reach the enhanced ratio against the text.
Rgb HaloFor(Rgb text);

struct CaptionContrast {
    double ratio = 0; // 0 when no letter was found
    int edges = 0;    // the letter edges measured
};

// The contrast of a caption drawn in `text` against what surrounds its
// letters.  `picture` is the control as drawn; `face`, of the same size, the
// control drawn without the caption (null Data: not known); `outline` the
// colour the letters are ringed with, if they are.  The letters are the
// pixels the caption changed that are nearer the text's colour than the
// face under them and the outline, their antialiased rim included.  From
// every letter edge the pixels up to three steps outward are compared with
// the text's colour, and the strongest contrast of them counts for that
// edge: behind an outline it is the outline, on a bare face the face beyond
// the letter's rim.  The caption's figure is the edge figure that a tenth
// of its edges fall below, so that a caption partly lost on a light gloss
// fails even if most of it reads well.
CaptionContrast MeasureCaptionContrast(const ConstRgbaPixels& picture, const ConstRgbaPixels& face, Rgb text,
                                       std::optional<Rgb> outline = std::nullopt);

} // namespace vk
