#include "logic/looks/area_average.h"

#include <algorithm>
#include <vector>

#include "common/rounding.h"

namespace vk {
namespace {

// One source pixel's share in a target pixel, along one axis.
struct Tap {
    int Index;
    long long Weight;
};

// Along an axis of S source and D target pixels, target pixel t covers the
// source span [t*S/D, (t+1)*S/D).  Measured in units of 1/D of a source
// pixel the ends are the integers t*S and (t+1)*S and source pixel i spans
// [i*D, (i+1)*D), so every overlap is an exact integer and a target pixel's
// weights add up to S.
std::vector<std::vector<Tap>> AxisTaps(int s, int d)
{
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(d));
    for (int t = 0; t < d; ++t) {
        const long long from = static_cast<long long>(t) * s;
        const long long to = from + s;
        for (long long i = from / d; i * d < to; ++i) {
            const long long overlap = std::min(to, (i + 1) * d) - std::max(from, i * d);
            if (overlap > 0)
                taps[static_cast<std::size_t>(t)].push_back({static_cast<int>(i), overlap});
        }
    }
    return taps;
}

} // namespace

bool AreaAverageRgba(const ConstRgbaPixels& source, const RgbaPixels& target)
{
    if (!source.Data || !target.Data || source.Width <= 0 || source.Height <= 0 || target.Width <= 0
        || target.Height <= 0)
        return false;

    const auto columns = AxisTaps(source.Width, target.Width);
    const auto rows = AxisTaps(source.Height, target.Height);

    const std::size_t tw = static_cast<std::size_t>(target.Width);
    const double area = static_cast<double>(source.Width) * source.Height;

    // Per target column, the sums over one source row of alpha-weighted
    // colour (R*A, G*A, B*A) and of alpha, all exact integers.  Neighbouring
    // target rows share at most their border source row, so only the last
    // row summed is kept.
    std::vector<long long> across(tw * 4);
    int acrossRow = -1;
    auto sumAcross = [&](int y) {
        if (y == acrossRow)
            return;
        std::fill(across.begin(), across.end(), 0);
        const std::uint8_t* row = source.Data + y * source.Stride;
        long long* out = across.data();
        for (std::size_t x = 0; x < tw; ++x, out += 4) {
            for (const Tap& tap : columns[x]) {
                const std::uint8_t* px = row + static_cast<std::ptrdiff_t>(tap.Index) * 4;
                const long long a = px[3] * tap.Weight;
                out[0] += px[0] * a;
                out[1] += px[1] * a;
                out[2] += px[2] * a;
                out[3] += a;
            }
        }
        acrossRow = y;
    };

    std::vector<long long> sum(tw * 4);
    for (int y = 0; y < target.Height; ++y) {
        std::fill(sum.begin(), sum.end(), 0);
        for (const Tap& tap : rows[static_cast<std::size_t>(y)]) {
            sumAcross(tap.Index);
            for (std::size_t i = 0; i < tw * 4; ++i)
                sum[i] += across[i] * tap.Weight;
        }
        // The total weight of a target pixel is source width x height.
        std::uint8_t* out = target.Data + y * target.Stride;
        for (std::size_t x = 0; x < tw; ++x, out += 4) {
            const long long* s = sum.data() + x * 4;
            if (s[3] == 0) {
                std::fill(out, out + 4, std::uint8_t{0});
                continue;
            }
            const double alphaSum = static_cast<double>(s[3]);
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<std::uint8_t>(RoundInt(static_cast<double>(s[c]) / alphaSum));
            out[3] = static_cast<std::uint8_t>(RoundInt(alphaSum / area));
        }
    }
    return true;
}

} // namespace vk
