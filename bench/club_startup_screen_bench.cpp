// Start to menu with the club away, hung or at hand, and how long the
// window thread is ever held meanwhile.  Runs the real intro offscreen (a
// key ends it as soon as it waits), three times for each club:
//
//   build/bench/bench_club_startup_screen_bench
//
// "Longest hold" is the longest gap between the ticks of a 1 ms timer on
// the window thread: the time the window could not paint or take input.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "common/club_paths.h"
#include "net/account_requests.h"
#include "ui/kit/request_runner.h"
#include "logic/club/user_file.h"
#include "common/atomic_file.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "logic/localdata/club_file.h"
#include "logic/localdata/settings.h"
#include "club_member.h"
#include "server_harness.h"
#include "club_menu_bench.h"

namespace {

// The longest gap between the ticks of a fast timer while it runs.
class HoldMeter {
public:
    HoldMeter()
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 gap = clock_.restart();
            if (gap > 30 && qEnvironmentVariableIsSet("VOKABRON_BENCH_GAPS"))
                std::fprintf(stderr, "gap %lld ms at %lld ms\n", static_cast<long long>(gap),
                             static_cast<long long>(total_.elapsed()));
            longest_ = std::max(longest_, gap);
        });
    }
    void Start()
    {
        longest_ = 0;
        clock_.start();
        total_.start();
        timer_.start();
    }
    qint64 Stop()
    {
        timer_.stop();
        return std::max(longest_, clock_.elapsed());
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    QElapsedTimer total_;
    qint64 longest_ = 0;
};

struct Run {
    double secondsToMenu = 0;
    qint64 longestHoldMs = 0; // from the start to the menu
    qint64 clubHoldMs = 0;    // on the menu, until every club step has come back
};

// A program folder of its own: a fresh club file, the font window turned
// off, and the user file of a member of the club.
void PrepareFolder(const QTemporaryDir& root)
{
    QDir(root.path()).mkpath(QStringLiteral("Vokabron"));
    const std::string dir = QDir(root.path()).absolutePath().toStdString() + "/Vokabron/";
    vk::ClubLines lines = vk::EmptyClubFile();
    vk::SealClubFile(lines);
    vk::WriteFileAtomically(dir + vk::ClubFileName, vk::ClubFileBytes(lines));
    vk::Settings s;
    s.NoFontWindow = true;
    vk::WriteSettings(dir, s);
    vk::ClubStateData state;
    state.ClubUser.Nick = "Nomad";
    state.ClubUser.PwC = vk::EncodeText("secret12", vk::ClubStartKey);
    vk::WriteUserFile(vk::UserFilePath(dir), state);
}

// The real intro against the club at `base`, ended by a key; the hold is
// measured from the start until the club's start-up steps have all come
// back (the login against a silent server included).
Run StartToMenu(const std::string& base)
{
    QTemporaryDir root;
    PrepareFolder(root);
    vk::TForm1 form;
    form.State().ProgramDir = QDir(root.path()).absolutePath().toStdString() + "/Vokabron/";
    form.Addresses().ConfigAddress = vk::StoredClubAddress(base, vk::ClubConfig);
    form.Addresses().NewsPageAddress = vk::StoredClubAddress(base, vk::ClubNews);
    form.Preferences().SoundOn = false;
    QSignalSpy waiting(&form, &vk::TForm1::introWaiting);
    HoldMeter meter;
    QElapsedTimer clock;
    meter.Start();
    clock.start();
    form.show();
    Run run;
    if (!waiting.wait(60000))
        return {1e9, 0};
    QTest::keyRelease(&form, Qt::Key_Space);
    run.secondsToMenu = clock.elapsed() / 1000.0;
    run.longestHoldMs = meter.Stop();
    // The login and the fifth line's read may still be on their way (a
    // silent server holds them for their whole limit).
    meter.Start();
    QElapsedTimer settle;
    settle.start();
    while ((form.ClubStartupRunning() || vk::RequestsInFlight() > 0) && settle.elapsed() < 30000)
        QTest::qWait(20);
    run.clubHoldMs = meter.Stop();
    form.close();
    return run;
}

template <typename T>
T Median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    bench::UseOffscreenWindows();
    QApplication app(argc, argv);

    vk::test::TestServer server;
    {
        vk::HttpClient http;
        vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount), vk::test::Member("Nomad"));
    }
    vk::test::SilentListener silent;
    const std::pair<const char*, std::string> clubs[] = {
        {"no server", vk::test::StoppedBase()},
        {"silent server", silent.Base()},
        {"local server", server.Base()},
    };
    std::printf("%-14s %16s %26s %30s\n", "club", "start to menu", "longest hold to the menu",
                "longest hold on the menu");
    std::vector<double> medians;
    for (const auto& [name, base] : clubs) {
        std::vector<double> seconds;
        std::vector<qint64> holds, clubHolds;
        for (int i = 0; i < 3; ++i) {
            const Run run = StartToMenu(base);
            seconds.push_back(run.secondsToMenu);
            holds.push_back(run.longestHoldMs);
            clubHolds.push_back(run.clubHoldMs);
        }
        medians.push_back(Median(seconds));
        std::printf("%-14s %14.2f s %23lld ms %27lld ms\n", name, Median(seconds),
                    static_cast<long long>(*std::max_element(holds.begin(), holds.end())),
                    static_cast<long long>(*std::max_element(clubHolds.begin(), clubHolds.end())));
    }
    const auto [lo, hi] = std::minmax_element(medians.begin(), medians.end());
    std::printf("spread of the medians: %.1f%% (target: within 10%%)\n", (*hi - *lo) / *lo * 100.0);
    return 0;
}
