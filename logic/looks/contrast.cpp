#include "logic/looks/contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vk {
namespace {

double Linear(std::uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Rgb PixelAt(const ConstRgbaPixels& p, int x, int y)
{
    const std::uint8_t* at = p.Data + y * p.Stride + 4 * x;
    return {at[0], at[1], at[2]};
}

int Distance(Rgb a, Rgb b) { return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}); }

} // namespace

double RelativeLuminance(Rgb colour)
{
    return 0.2126 * Linear(colour.r) + 0.7152 * Linear(colour.g) + 0.0722 * Linear(colour.b);
}

double ContrastRatio(Rgb a, Rgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb HaloFor(Rgb text)
{
    constexpr Rgb kBlack{0, 0, 0};
    constexpr Rgb kWhite{255, 255, 255};
    const bool dark = ContrastRatio(text, kBlack) >= ContrastRatio(text, kWhite);
    const auto shade = [dark](std::uint8_t c) {
        return static_cast<std::uint8_t>(dark ? (c + 2) / 4 : c + ((255 - c) * 4 + 2) / 5);
    };
    const Rgb halo{shade(text.r), shade(text.g), shade(text.b)};
    if (ContrastRatio(text, halo) >= kEnhancedContrast)
        return halo;
    return dark ? kBlack : kWhite;
}

CaptionContrast MeasureCaptionContrast(const ConstRgbaPixels& picture, const ConstRgbaPixels& face, Rgb text,
                                       std::optional<Rgb> outline)
{
    const int w = picture.Width;
    const int h = picture.Height;
    if (!picture.Data || w <= 0 || h <= 0 || (face.Data && (face.Width != w || face.Height != h)))
        return {};
    // A letter's pixel is nearer the text's colour than whatever else it
    // could be a mix of: the face under it, the outline round the letters.
    // With no face known, it must also lie within a quarter of the scale of
    // the text's colour, which antialiasing leaves the core and most of the
    // rim of a letter.
    constexpr int kTolerance = 64;
    std::vector<bool> ink(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb drawn = PixelAt(picture, x, y);
            const int toText = Distance(drawn, text);
            bool letter = face.Data || toText <= kTolerance;
            if (face.Data) {
                const Rgb under = PixelAt(face, x, y);
                letter = letter && !(under == drawn) && toText < Distance(drawn, under);
            }
            if (outline)
                letter = letter && toText < Distance(drawn, *outline);
            ink[static_cast<std::size_t>(y) * w + x] = letter;
        }
    const auto isInk = [&](int x, int y) { return ink[static_cast<std::size_t>(y) * w + x]; };

    constexpr int kReach = 3;
    constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    std::vector<double> edges;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!isInk(x, y))
                continue;
            for (const auto& step : kSteps) {
                double best = 0;
                for (int k = 1; k <= kReach; ++k) {
                    const int nx = x + k * step[0];
                    const int ny = y + k * step[1];
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || isInk(nx, ny))
                        break;
                    best = std::max(best, ContrastRatio(text, PixelAt(picture, nx, ny)));
                }
                if (best > 0)
                    edges.push_back(best);
            }
        }
    if (edges.empty())
        return {};
    const auto tenth = edges.begin() + static_cast<std::ptrdiff_t>(edges.size() / 10);
    std::nth_element(edges.begin(), tenth, edges.end());
    return {*tenth, static_cast<int>(edges.size())};
}

} // namespace vk
