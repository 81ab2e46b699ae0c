// Times ResampleDIB with the Spline36 filter fitting the 1680 x 1050 window
// background to the client sizes of the window size settings.
//
//   bench_resample_bench [--input=picture.ppm] [--write-input=picture.ppm] [benchmark flags]
//
// --input reads the source picture from a binary PPM (so that another
// resampler can be timed on the very same pixels); without it a synthetic
// picture is made.  --write-input saves the picture in use and exits.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "logic/looks/resample.h"

namespace {

constexpr int kSourceWidth = 1680;
constexpr int kSourceHeight = 1050;

vk::TFastDIB& Source()
{
    static vk::TFastDIB source;
    return source;
}

// Smooth gradients crossed by hard-edged stripes and a little noise: both the
// gentle and the overshooting cases of the filter get exercised.
void MakeSynthetic(vk::TFastDIB& dib)
{
    dib.SetSize(kSourceWidth, kSourceHeight, vk::TFastDIB::kBitsPerPixel);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kSourceHeight; ++y) {
        std::uint8_t* p = dib.Scanline(y);
        for (int x = 0; x < kSourceWidth; ++x, p += 3) {
            noise = noise * 1664525u + 1013904223u;
            const int n = static_cast<int>(noise >> 28);
            const bool stripe = ((x / 37) + (y / 29)) % 5 == 0;
            p[0] = static_cast<std::uint8_t>(stripe ? 255 - n : (x * 255 / kSourceWidth + n) % 256);
            p[1] = static_cast<std::uint8_t>(stripe ? n : (y * 255 / kSourceHeight + n) % 256);
            p[2] = static_cast<std::uint8_t>(((x + y) * 255 / (kSourceWidth + kSourceHeight) + n) % 256);
        }
    }
}

bool ReadPpm(const std::string& path, vk::TFastDIB& dib)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    if (!(file >> magic >> width >> height >> maximum) || magic != "P6" || maximum != 255 || width <= 0 || height <= 0)
        return false;
    file.get(); // the one whitespace byte before the pixels
    dib.SetSize(width, height, vk::TFastDIB::kBitsPerPixel);
    std::vector<char> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        if (!file.read(row.data(), static_cast<std::streamsize>(row.size())))
            return false;
        std::uint8_t* p = dib.Scanline(y);
        for (int x = 0; x < width; ++x) { // RGB in the file, BGR in the buffer
            p[3 * x + 0] = static_cast<std::uint8_t>(row[3 * x + 2]);
            p[3 * x + 1] = static_cast<std::uint8_t>(row[3 * x + 1]);
            p[3 * x + 2] = static_cast<std::uint8_t>(row[3 * x + 0]);
        }
    }
    return true;
}

bool WritePpm(const std::string& path, const vk::TFastDIB& dib)
{
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << dib.Width() << ' ' << dib.AbsHeight() << "\n255\n";
    std::vector<char> row(static_cast<std::size_t>(dib.Width()) * 3);
    for (int y = 0; y < dib.AbsHeight(); ++y) {
        const std::uint8_t* p = dib.Scanline(y);
        for (int x = 0; x < dib.Width(); ++x) {
            row[3 * x + 0] = static_cast<char>(p[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(p[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(p[3 * x + 0]);
        }
        file.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(file);
}

void BM_ResampleDIB(benchmark::State& state)
{
    vk::TFastDIB destination;
    destination.SetSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                        vk::TFastDIB::kBitsPerPixel);
    for (auto _ : state) {
        vk::ResampleDIB(Source(), destination, vk::kSpline36Filter);
        benchmark::DoNotOptimize(destination.Scanline(0));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_ResampleDIB)
    ->Args({760, 500})
    ->Args({990, 650})
    ->Args({1290, 850})
    ->Args({1520, 1000})
    ->Unit(benchmark::kMillisecond);

std::string FlagValue(const char* argument, const char* flag)
{
    const std::size_t length = std::strlen(flag);
    return std::strncmp(argument, flag, length) == 0 ? std::string(argument + length) : std::string();
}

} // namespace

int main(int argc, char** argv)
{
    std::string input, output;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::string v = FlagValue(argv[i], "--input="); !v.empty())
            input = v;
        else if (std::string w = FlagValue(argv[i], "--write-input="); !w.empty())
            output = w;
        else
            rest.push_back(argv[i]);
    }
    if (input.empty())
        MakeSynthetic(Source());
    else if (!ReadPpm(input, Source())) {
        std::cerr << "cannot read the binary PPM " << input << '\n';
        return 1;
    }
    if (!output.empty())
        return WritePpm(output, Source()) ? 0 : 1;

    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
