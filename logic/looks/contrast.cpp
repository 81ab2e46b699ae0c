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

// Antialiasing may shade a letter's core by a step or two.
bool NearColour(Rgb a, Rgb b)
{
    constexpr int kTolerance = 12;
    return std::abs(a.r - b.r) <= kTolerance && std::abs(a.g - b.g) <= kTolerance && std::abs(a.b - b.b) <= kTolerance;
}

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

CaptionContrast MeasureCaptionContrast(const ConstRgbaPixels& picture, const ConstRgbaPixels& face, Rgb text)
{
    const int w = picture.Width;
    const int h = picture.Height;
    if (!picture.Data || w <= 0 || h <= 0 || (face.Data && (face.Width != w || face.Height != h)))
        return {};
    std::vector<bool> ink(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb drawn = PixelAt(picture, x, y);
            ink[static_cast<std::size_t>(y) * w + x] =
                NearColour(drawn, text) && (!face.Data || !(PixelAt(face, x, y) == drawn));
        }
    const auto isInk = [&](int x, int y) { return ink[static_cast<std::size_t>(y) * w + x]; };

    constexpr int kReach = 3;
    constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    std::vector<double> edges;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!isInk(x, y))
                continue;
            const Rgb letter = PixelAt(picture, x, y);
            for (const auto& step : kSteps) {
                double best = 0;
                for (int k = 1; k <= kReach; ++k) {
                    const int nx = x + k * step[0];
                    const int ny = y + k * step[1];
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || isInk(nx, ny))
                        break;
                    best = std::max(best, ContrastRatio(letter, PixelAt(picture, nx, ny)));
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
