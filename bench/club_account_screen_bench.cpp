// The account window against a local server, offscreen:
//
//   account icon -> painted tab    a click on the menu's account icon until
//                                  the window's eight reads (top ten, game
//                                  record, place, member count, own card and
//                                  photo, the chairman's card and photo) are
//                                  in and its first tab is drawn again with
//                                  them (the member is logged in, has a
//                                  photo and leads the club, so both photos
//                                  come);
//   account icon -> window up      the same click until the window is first
//                                  shown, its tabs drawn from what was known;
//   server stopped, server silent  the click until the window has given up
//                                  its reads and shows "No Connect", and the
//                                  connections one opening cost.
//
// Run: build/bench/bench_club_account_screen_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <vector>

#include "tests/ui/main_window_parts.h"
#include "common/club_paths.h"
#include "net/account_requests.h"
#include "ui/club/account_window.h"
#include "club_member.h"
#include "club_menu_bench.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"

namespace {

constexpr int kRuns = 15;

struct Opening {
    double WindowUpMs = -1;
    double PaintedMs = -1;
};

// A click on the account icon until the window is up, and until its reads
// are in and the first tab is drawn again; the window is closed again.
Opening AccountIconToPaintedTab(vk::TForm1& form)
{
    QElapsedTimer clock;
    Opening opening;
    QTimer::singleShot(0, [&] {
        auto* window = qobject_cast<vk::TFAcc1*>(QApplication::activeModalWidget());
        opening.WindowUpMs = clock.nsecsElapsed() / 1e6;
        while (window->Reading())
            QTest::qWait(1);
        window->findChild<vk::PictureBox*>(QStringLiteral("ImageN1"))->repaint();
        opening.PaintedMs = clock.nsecsElapsed() / 1e6;
        window->findChild<vk::TTevQuizButton*>(QStringLiteral("ButtonOk"))->click();
    });
    clock.start();
    QTest::mouseClick(parts::Picture(form, "ImAc"), Qt::LeftButton);
    return opening;
}

// The member of the benchmark: logged in on the form's client, with a
// photo, and first in the club after one completed rating cycle.
void JoinAndLead(vk::TForm1& form, const QTemporaryDir& root)
{
    const std::string accPath = form.Preferences().AccPath;
    vk::HttpClient& http = form.ClubHttp();
    vk::ClubRegister(http, accPath, vk::test::Member("Nomad"));
    vk::ClubLogin(http, accPath, "Nomad", "secret12", form.ClubData().ClubUser);
    vk::TTevGame game;
    vk::ClubReadGame(http, accPath, "Nomad", "secret12", form.ClubData().ClubGameKey, game);
    game.Kon += 1;
    game.Rating = game.Kon;
    vk::ClubSaveGame(http, accPath, "Nomad", "secret12", form.ClubData().ClubGameKey, game);
    game.Sessions += 1;
    game.Best = 950;
    game.Rating = 950.0 / game.Kon + game.Kon;
    vk::ClubSaveGame(http, accPath, "Nomad", "secret12", form.ClubData().ClubGameKey, game);
    QImage photo(200, 250, QImage::Format_RGB32);
    photo.fill(QColor(30, 120, 200));
    const QString file = root.filePath(QStringLiteral("Nomad.jpg"));
    photo.save(file, "JPG");
    vk::ClubUploadPhoto(http, form.Addresses().PhotoUploadPath, file.toStdString());
    vk::TInfo14 card;
    card.Name1 = "Nomad";
    card.About = "Plays every evening";
    vk::ClubSaveInfo(http, accPath, "Nomad", card);
    form.State().ClubState = vk::ClubLoggedIn;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::UseOffscreenWindows();
    QApplication app(argc, argv);

    vk::test::TestServer server;
    QTemporaryDir root;
    auto form = bench::MenuAgainst(server.Base(), root);
    form->Addresses().PhotoFolderPath = vk::StoredClubAddress(server.Base(), vk::ClubPhotoFolder);
    form->Addresses().PhotoUploadPath = vk::StoredClubAddress(server.Base(), vk::ClubPhotoUpload);
    JoinAndLead(*form, root);

    bench::ReportHeading();
    std::vector<double> up, painted;
    for (int i = 0; i < kRuns; ++i) {
        const Opening opening = AccountIconToPaintedTab(*form);
        up.push_back(opening.WindowUpMs);
        painted.push_back(opening.PaintedMs);
    }
    std::printf("photos loaded: own %s, chairman %s\n", form->ClubData().OwnPhotoLoaded ? "yes" : "no",
                form->ClubData().ChairmanPhotoLoaded ? "yes" : "no");
    bench::Report("account icon -> window up", up);
    bench::Report("account icon -> painted tab", painted);

    vk::test::SilentListener silent;
    const std::pair<const char*, std::string> away[] = {
        {"server stopped -> No Connect", vk::test::StoppedBase()},
        {"server silent -> No Connect", silent.Base()},
    };
    for (const auto& [name, base] : away) {
        form->Preferences().AccPath = vk::StoredClubAddress(base, vk::ClubAccount);
        form->Addresses().PhotoFolderPath = vk::StoredClubAddress(base, vk::ClubPhotoFolder);
        std::vector<double> ms;
        const int acceptedBefore = silent.Accepted();
        for (int i = 0; i < 3; ++i)
            ms.push_back(AccountIconToPaintedTab(*form).PaintedMs);
        bench::Report(name, ms);
        if (base == silent.Base())
            std::printf("%-34s %9.1f per opening\n", "  connections", (silent.Accepted() - acceptedBefore) / 3.0);
    }
    std::printf("limits: connect %ld ms, whole request %ld ms\n", vk::TransportLimits{}.ConnectMs,
                vk::TransportLimits{}.RequestMs);
    form->close();
    return 0;
}
