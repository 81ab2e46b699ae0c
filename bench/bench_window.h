// The window benchmarks' common start: a main window on the menu, playing in
// a private folder with a fresh club file, so that no settings or club file
// of an earlier run (and no message box about one) gets in the way.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "ui/game/main_window.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/audio.h"

namespace bench {

inline std::unique_ptr<vk::TForm1> MenuWindowAtSize(int size)
{
    static QTemporaryDir folder;
    auto form = std::make_unique<vk::TForm1>();
    form->Preferences().WindowSize = size;
    form->Preferences().SoundOn = false;
    form->SetWindowSize();
    form->State().ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
    vk::ClubLines lines = vk::EmptyClubFile();
    vk::SealClubFile(lines);
    vk::WriteFileAtomically(form->State().ProgramDir + vk::ClubFileName, vk::ClubFileBytes(lines));
    form->ShowMenuWithoutIntro();
    return form;
}

// Shows the runs as usual and keeps the real time of each benchmark (the
// median when it is repeated) for the ratios printed at the end.
class TimeKeeper : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times_[run.run_name.str()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    // 0 when the benchmark did not run (a filter left it out).
    double Time(const std::string& name) const
    {
        const auto it = times_.find(name);
        return it == times_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> times_;
};

// The main of a window benchmark: offscreen and silent, the benchmarks,
// then the ratios from their times, then Cleanup before the application
// goes.
inline int RunWindowBenchmarks(int argc, char** argv, const std::function<void(const TimeKeeper&)>& printRatios,
                               const std::function<void()>& cleanup)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TimeKeeper times;
    benchmark::RunSpecifiedBenchmarks(&times);
    printRatios(times);
    cleanup();
    vk::CloseAudio();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
