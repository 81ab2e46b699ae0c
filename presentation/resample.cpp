#include "presentation/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "common/rounding.h"

namespace vk {

// --- TFastDIB ---------------------------------------------------------------

namespace {

// Slack after the last row, so that a vector load that starts on the last
// pixel never reads outside the allocation.
constexpr std::size_t kTailSlack = 32;

} // namespace

TFastDIB::TFastDIB(const TFastDIB& other)
    : width_(other.width_), height_(other.height_), rowBytes_(other.rowBytes_), bits_(other.bits_)
{
    BuildRowTable();
}

TFastDIB& TFastDIB::operator=(const TFastDIB& other)
{
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        rowBytes_ = other.rowBytes_;
        bits_ = other.bits_;
        BuildRowTable();
    }
    return *this;
}

TFastDIB::TFastDIB(TFastDIB&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      rowBytes_(std::exchange(other.rowBytes_, 0)), bits_(std::move(other.bits_)),
      rows_(std::move(other.rows_))
{
    other.bits_.clear();
    other.rows_.clear();
}

TFastDIB& TFastDIB::operator=(TFastDIB&& other) noexcept
{
    if (this != &other) {
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        rowBytes_ = std::exchange(other.rowBytes_, 0);
        bits_ = std::move(other.bits_);
        rows_ = std::move(other.rows_);
        other.bits_.clear();
        other.rows_.clear();
    }
    return *this;
}

bool TFastDIB::SetSize(int width, int height, int bitsPerPixel)
{
    if (bitsPerPixel != kBitsPerPixel || width < 0)
        return false;
    width_ = width;
    height_ = height;
    rowBytes_ = (width * 3 + 3) & ~3;
    bits_.assign(static_cast<std::size_t>(rowBytes_) * static_cast<std::size_t>(AbsHeight()) + kTailSlack,
                 0);
    BuildRowTable();
    return true;
}

void TFastDIB::BuildRowTable()
{
    const int h = AbsHeight();
    rows_.resize(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const int stored = height_ < 0 ? y : h - 1 - y;
        rows_[static_cast<std::size_t>(y)] =
            bits_.data() + static_cast<std::size_t>(stored) * static_cast<std::size_t>(rowBytes_);
    }
}

// --- The filter and its contribution lists --------------------------------

double Spline36(double x)
{
    const double t = std::fabs(x);
    if (t < 1.0)
        return ((13.0 / 11.0 * t - 453.0 / 209.0) * t - 3.0 / 209.0) * t + 1.0;
    if (t < 2.0) {
        const double u = t - 1.0;
        return ((-6.0 / 11.0 * u + 270.0 / 209.0) * u - 156.0 / 209.0) * u;
    }
    if (t < 3.0) {
        const double u = t - 2.0;
        return ((1.0 / 11.0 * u - 45.0 / 209.0) * u + 26.0 / 209.0) * u;
    }
    return 0.0;
}

std::vector<ContributionList> BuildContributions(int sourceSize, int destSize,
                                                 const ResampleFilter& filter)
{
    std::vector<ContributionList> lists;
    if (sourceSize <= 0 || destSize <= 0)
        return lists;
    const double c = static_cast<double>(destSize) / static_cast<double>(sourceSize);
    const bool upscaling = c >= 1.0;
    const double d = upscaling ? filter.Radius : filter.Radius / c;
    const int n = 2 * static_cast<int>(std::trunc(d)) + 1;

    lists.resize(static_cast<std::size_t>(destSize));
    for (int x = 0; x < destSize; ++x) {
        ContributionList& list = lists[static_cast<std::size_t>(x)];
        const double g = x / c - (1.0 - 1.0 / c) * 0.5;
        const int first = n == 1 ? RoundInt(g) : static_cast<int>(std::ceil(g - d));
        list.Centre = g;
        list.Taps.resize(static_cast<std::size_t>(n));
        long long total = 0;
        for (int k = 0; k < n; ++k) {
            const int i = first + k;
            int weight = 0;
            if (i >= 0 && i < sourceSize) {
                weight = upscaling ? RoundInt(filter.Kernel(g - i) * 65536.0)
                                   : RoundInt(c * filter.Kernel(c * (g - i)) * 65536.0);
            }
            list.Taps[static_cast<std::size_t>(k)] = {i, weight};
            total += weight;
        }
        list.Total = total > 0 ? static_cast<int>(total) : 1;
    }
    return lists;
}

// --- The passes -------------------------------------------------------------

namespace detail {

FixedDivisor::FixedDivisor(std::int32_t total) : total_(total), half_(total >> 1)
{
    if (total > kMaxTotal) {
        divide_ = true;
        return;
    }
    // With 2^shift >= 256 * total^2 the rounded-up reciprocal's excess times
    // any numerator below 256 * total stays under 2^shift, which keeps every
    // floor exact; the product stays below 2^63.
    const std::uint64_t t = static_cast<std::uint64_t>(total);
    const std::uint64_t bound = 256 * t * t;
    while ((std::uint64_t{1} << shift_) < bound)
        ++shift_;
    multiplier_ = ((std::uint64_t{1} << shift_) + t - 1) / t;
    limit_ = 256 * total - 1;
}

} // namespace detail

namespace {

using detail::FixedDivisor;

// A contribution list as the inner loops want it: the taps that weigh
// something, as one run of consecutive source pixels (the zero taps at either
// end dropped; a zero inside the run adds nothing), and the final division.
struct TapRun {
    int Start = 0;
    int Count = 0;
    std::size_t Offset = 0; // into the pass's weight table
    FixedDivisor Divide{1};
};

struct PassPlan {
    std::vector<TapRun> Runs;
    std::vector<std::int32_t> Weights;
};

PassPlan PlanPass(int sourceSize, int destSize, const ResampleFilter& filter)
{
    PassPlan plan;
    const auto lists = BuildContributions(sourceSize, destSize, filter);
    plan.Runs.reserve(lists.size());
    for (const ContributionList& list : lists) {
        const auto nonZero = [](const Contribution& tap) { return tap.Weight != 0; };
        const auto begin = std::find_if(list.Taps.begin(), list.Taps.end(), nonZero);
        const auto end = std::find_if(list.Taps.rbegin(), list.Taps.rend(), nonZero).base();
        TapRun run;
        run.Offset = plan.Weights.size();
        run.Divide = FixedDivisor(list.Total);
        if (begin < end) {
            run.Start = begin->Pixel;
            run.Count = static_cast<int>(end - begin);
            for (auto tap = begin; tap != end; ++tap)
                plan.Weights.push_back(tap->Weight);
        }
        plan.Runs.push_back(run);
    }
    return plan;
}

// Source row to destination row, along the row.
void FilterRow(const std::uint8_t* source, std::uint8_t* destination, const PassPlan& plan)
{
    const std::int32_t* weights = plan.Weights.data();
    for (const TapRun& run : plan.Runs) {
        const std::uint8_t* p = source + static_cast<std::ptrdiff_t>(run.Start) * 3;
        const std::int32_t* w = weights + run.Offset;
        std::int32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < run.Count; ++k, p += 3) {
            b += w[k] * p[0];
            g += w[k] * p[1];
            r += w[k] * p[2];
        }
        destination[0] = run.Divide(b);
        destination[1] = run.Divide(g);
        destination[2] = run.Divide(r);
        destination += 3;
    }
}

// One destination row from a run of source rows, across the whole row at once.
void FilterColumns(const TFastDIB& source, const TapRun& run, const std::int32_t* weights,
                   std::vector<std::int32_t>& sums, std::uint8_t* destination)
{
    const std::size_t count = sums.size();
    std::int32_t* acc = sums.data();
    std::fill(sums.begin(), sums.end(), 0);
    for (int k = 0; k < run.Count; ++k) {
        const std::uint8_t* row = source.Scanline(run.Start + k);
        const std::int32_t w = weights[run.Offset + static_cast<std::size_t>(k)];
        for (std::size_t j = 0; j < count; ++j)
            acc[j] += w * row[j];
    }
    for (std::size_t j = 0; j < count; ++j)
        destination[j] = run.Divide(acc[j]);
}

} // namespace

void ResampleDIB(const TFastDIB& source, TFastDIB& destination, const ResampleFilter& filter)
{
    const int sw = source.Width();
    const int sh = source.AbsHeight();
    const int dw = destination.Width();
    const int dh = destination.AbsHeight();
    if (dw == 0 || dh == 0)
        return;
    if (sw == 0 || sh == 0) {
        for (int y = 0; y < dh; ++y)
            std::memset(destination.Scanline(y), 0, static_cast<std::size_t>(dw) * 3);
        return;
    }

    TFastDIB between;
    between.SetSize(dw, -sh, TFastDIB::kBitsPerPixel);
    {
        const PassPlan plan = PlanPass(sw, dw, filter);
        for (int y = 0; y < sh; ++y)
            FilterRow(source.Scanline(y), between.Scanline(y), plan);
    }
    {
        const PassPlan plan = PlanPass(sh, dh, filter);
        std::vector<std::int32_t> sums(static_cast<std::size_t>(dw) * 3);
        for (int y = 0; y < dh; ++y)
            FilterColumns(between, plan.Runs[static_cast<std::size_t>(y)], plan.Weights.data(), sums,
                          destination.Scanline(y));
    }
}

} // namespace vk
