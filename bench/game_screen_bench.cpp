// Times the game screen offscreen at window sizes 1 and 5:
//   DealSetUp      a deal set up (puzzle, board, frames, key faces) and the
//                  whole window rendered into a picture;
//   BackgroundOnly the same window with only its background, rendered the
//                  same way (the baseline);
//   OpeningStep    one step of a cell's opening, shown with its synchronous
//                  repaint of the cell;
//   FullRender     the game window rendered whole, for comparison with one
//                  step.
// Run: build/bench/bench_game_screen_bench (the ratios are printed at the
// end).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>

#include "tests/ui/main_window_parts.h"
#include "common/codepage.h"
#include "common/text_cipher.h"
#include "bench/bench_window.h"
#include "ui/game/deal_view.h"
#include "ui/game/main_window.h"
#include "ui/kit/audio.h"
#include "ui/kit/picture_box.h"

namespace {

std::map<int, std::unique_ptr<vk::TForm1>>& Forms()
{
    static std::map<int, std::unique_ptr<vk::TForm1>> forms;
    return forms;
}

// One window per size, on the menu, with a fixed two-word puzzle.
vk::TForm1& FormAtSize(int size)
{
    auto& form = Forms()[size];
    if (!form) {
        form = bench::MenuWindowAtSize(size);
        const std::string line = vk::Utf8ToCp1251("ЛЕВ ТОЛСТОЙ#Писатель#x#").value();
        form->State().Memo1.assign(500, vk::EncodeText(line, vk::PuzzleStartKey));
        form->PuzzleSource() = [](int) { return 0; };
        form->State().Local.CurrentName = "Bench";
        form->StartNewPlayerGame();
        // Shown, so that the opening's repaints really paint.
        form->show();
        QApplication::processEvents();
    }
    return *form;
}

QImage& Target(const vk::TForm1& form)
{
    static QImage image;
    if (image.size() != form.size())
        image = QImage(form.size(), QImage::Format_ARGB32_Premultiplied);
    return image;
}

void DealSetUp(benchmark::State& state)
{
    vk::TForm1& form = FormAtSize(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        form.State().DealNumber = 1;
        form.BeginDeal(true);
        form.render(&Target(form));
        benchmark::DoNotOptimize(Target(form).constBits());
    }
}

void BackgroundOnly(benchmark::State& state)
{
    vk::TForm1& form = FormAtSize(static_cast<int>(state.range(0)));
    form.HideGameScreen();
    for (auto _ : state) {
        form.render(&Target(form));
        benchmark::DoNotOptimize(Target(form).constBits());
    }
    form.State().DealNumber = 0;
    form.StartNewPlayerGame();
}

void FullRender(benchmark::State& state)
{
    vk::TForm1& form = FormAtSize(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        form.render(&Target(form));
        benchmark::DoNotOptimize(Target(form).constBits());
    }
}

void OpeningStep(benchmark::State& state)
{
    vk::TForm1& form = FormAtSize(static_cast<int>(state.range(0)));
    const vk::CellGrid grid =
        vk::CellGridFor(parts::Picture(form, "ImageRamka")->width(), parts::Picture(form, "ImageRamka")->height());
    int step = 0;
    for (auto _ : state) {
        form.DealScreen().DrawOpeningStep(grid, {4, 5}, 0x0422 /* Т */, step % vk::OpeningSteps + 1);
        ++step;
    }
}

BENCHMARK(BackgroundOnly)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(DealSetUp)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullRender)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpeningStep)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunWindowBenchmarks(
        argc, argv,
        [](const bench::TimeKeeper& times) {
            for (const std::string& size : {std::string("1"), std::string("5")}) {
                const auto t = [&](const char* name) { return times.Time(name + ("/" + size)); };
                if (t("BackgroundOnly") > 0 && t("FullRender") > 0)
                    std::printf("size %s: deal set-up + render / background render = %.2f (target <= 2); "
                                "opening step / full render = %.3f (target <= 0.1)\n",
                                size.c_str(), t("DealSetUp") / t("BackgroundOnly"), t("OpeningStep") / t("FullRender"));
            }
        },
        [] { Forms().clear(); });
}
