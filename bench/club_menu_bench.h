// The club benchmarks' common start: a main window on the menu of a program
// folder of its own, its club addresses read from the server at `base`.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/club_paths.h"
#include "ui/kit/request_runner.h"
#include "common/atomic_file.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "ui/game/screen_scaling.h"
#include "logic/localdata/club_file.h"

namespace bench {

// Club benchmarks run the real windows offscreen and silent; called before
// the application is made.
inline void UseOffscreenWindows()
{
    vk::DisableAutomaticScaling();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The table the club benchmarks print: a heading, then a row of figures
// in milliseconds for each measurement.
inline void ReportHeading() { std::printf("%-34s %12s %12s %12s\n", "", "median", "fastest", "slowest"); }
inline void Report(const char* name, const std::vector<double>& ms)
{
    const auto [lo, hi] = std::minmax_element(ms.begin(), ms.end());
    std::printf("%-34s %9.1f ms %9.1f ms %9.1f ms\n", name, Median(ms), *lo, *hi);
}

// Waits until the club's start-up steps and every request have come back.
inline void SettleClub(vk::TForm1& form)
{
    QElapsedTimer settle;
    settle.start();
    while ((form.ClubStartupRunning() || vk::RequestsInFlight() > 0) && settle.elapsed() < 30000)
        QTest::qWait(10);
}

inline std::unique_ptr<vk::TForm1> MenuAgainst(const std::string& base, const QTemporaryDir& root)
{
    const std::string dir = QDir(root.path()).absolutePath().toStdString() + "/";
    vk::ClubLines lines = vk::EmptyClubFile();
    vk::SealClubFile(lines);
    vk::WriteFileAtomically(dir + vk::ClubFileName, vk::ClubFileBytes(lines));
    auto form = std::make_unique<vk::TForm1>();
    form->State().ProgramDir = dir;
    form->Addresses().ConfigAddress = vk::StoredClubAddress(base, vk::ClubConfig);
    form->Addresses().NewsPageAddress = vk::StoredClubAddress(base, vk::ClubNews);
    form->ShowMenuWithoutIntro();
    form->Preferences().SoundOn = false;
    form->Preferences().MusicOn = false;
    form->show();
    SettleClub(*form);
    return form;
}

} // namespace bench
