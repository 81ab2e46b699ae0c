// Times a change of the window size on the main menu, offscreen:
//   SizeChange    sizes 1 -> 5 -> 1 as the Options window applies them
//                 (ApplyWindowSize: the background resampled and encoded as
//                 JPEG again, fonts, the menu rebuilt), each followed by one
//                 render of the whole window;
//   BareResample  the Spline36 resample alone of the window background to
//                 the same two sizes (the baseline).
// Run: build/bench/bench_window_size_screen_bench (the ratio is printed at
// the end).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/bench_window.h"
#include "ui/game/main_window.h"
#include "ui/kit/audio.h"
#include "ui/kit/dressing.h"
#include "ui/kit/picture_scaling.h"
#include "logic/looks/resample.h"

namespace {

std::unique_ptr<vk::TForm1>& Form()
{
    static std::unique_ptr<vk::TForm1> form;
    if (!form) {
        form = bench::MenuWindowAtSize(1);
        form->show();
        QApplication::processEvents();
    }
    return form;
}

void RenderWhole(vk::TForm1& form)
{
    static QImage image;
    if (image.size() != form.size())
        image = QImage(form.size(), QImage::Format_ARGB32_Premultiplied);
    form.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

void SizeChange(benchmark::State& state)
{
    vk::TForm1& form = *Form();
    for (auto _ : state) {
        for (int size : {5, 1}) {
            form.Preferences().WindowSize = size;
            form.ApplyWindowSize();
            RenderWhole(form);
        }
    }
}

void BareResample(benchmark::State& state)
{
    QImage background;
    vk::LoadJpegRes(QStringLiteral("BG"), background);
    vk::TFastDIB source;
    vk::LoadDIB(source, background);
    vk::TFastDIB target;
    for (auto _ : state) {
        for (const auto& [w, h] : {std::pair{1520, 1000}, std::pair{760, 500}}) {
            target.SetSize(w, -h, vk::TFastDIB::kBitsPerPixel);
            vk::ResampleDIB(source, target, vk::kSpline36Filter);
            benchmark::DoNotOptimize(target.Scanline(0));
        }
    }
}

BENCHMARK(BareResample)->Unit(benchmark::kMillisecond);
BENCHMARK(SizeChange)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWindowBenchmarks(
        argc, argv,
        [](const bench::TimeKeeper& times) {
            if (times.Time("BareResample") > 0 && times.Time("SizeChange") > 0)
                std::printf("size change 1 -> 5 -> 1 / bare resample of the same sizes = %.2f (target <= 3)\n",
                            times.Time("SizeChange") / times.Time("BareResample"));
        },
        [] { Form().reset(); });
}
