// The world top ten and the chat against a local server, offscreen:
//
//   world icon -> painted viewer   a click on the menu's world icon until the
//                                  viewer has its board, count and own rows
//                                  read and drawn (the modal window is
//                                  closed again after each run);
//   send -> repainted chat         a click on the chat's send button until
//                                  the list has been read again and drawn;
//   viewer, server stopped         the world icon until "No Connect" is
//   viewer, server silent          drawn, and the connections it cost.
//
// Run: build/bench/bench_club_wtt_screen_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/ui/main_window_parts.h"
#include "ui/club/chat_window.h"
#include "ui/kit/request_runner.h"
#include "ui/club/wtt_read_window.h"
#include "net/wtt_requests.h"
#include "common/atomic_file.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"
#include "club_menu_bench.h"

namespace {

constexpr int kRuns = 15;

// Milliseconds from a click on the world icon to the viewer drawn with all
// it could read; the viewer is closed again.
double WorldIconToPaintedViewer(vk::TForm1& form)
{
    QElapsedTimer clock;
    double ms = -1;
    QTimer::singleShot(0, [&] {
        auto* viewer = qobject_cast<vk::TFormServerRead*>(QApplication::activeModalWidget());
        auto finish = [&ms, &clock, viewer] {
            viewer->findChild<vk::PictureBox*>(QStringLiteral("ImageBoard"))->repaint();
            ms = clock.nsecsElapsed() / 1e6;
            viewer->findChild<vk::TTevQuizButton*>(QStringLiteral("Button1"))->click();
        };
        if (!viewer->Reading()) {
            finish();
            return;
        }
        QObject::connect(viewer, &vk::TFormServerRead::boardPainted, viewer, finish);
    });
    clock.start();
    QTest::mouseClick(parts::Picture(form, "ImWT"), Qt::LeftButton);
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::UseOffscreenWindows();
    QApplication app(argc, argv);

    vk::test::TestServer server;
    QTemporaryDir root;
    auto form = bench::MenuAgainst(server.Base(), root);
    form->Preferences().ServerNick = "Tester";
    form->Preferences().ServerCity = "Kazan";
    {
        vk::HttpClient http;
        const char* nicks[] = {"Nomad", "Lynx", "Tester", "Fox", "Wolf", "Bear", "Owl", "Hawk", "Elk", "Yak", "Ant"};
        int score = 1000;
        for (const char* nick : nicks)
            vk::WttSubmit(http, form->Preferences().WttAddress, nick, nick == std::string("Tester") ? "Kazan" : "Tula",
                          "1-007", "M", score -= 7, vk::WttDesktopBoard, "#", "#");
    }

    bench::ReportHeading();
    const auto report = bench::Report;

    std::vector<double> viewer;
    for (int i = 0; i < kRuns; ++i)
        viewer.push_back(WorldIconToPaintedViewer(*form));
    report("world icon -> painted viewer", viewer);

    {
        vk::TFormChat chat(form->Preferences(), form->Background(), form->ClubHttp(), form.get());
        chat.setModal(false);
        QSignalSpy drawn(&chat, &vk::TFormChat::messagesDrawn);
        chat.show();
        drawn.wait(15000);
        std::vector<double> send;
        for (int i = 0; i < kRuns; ++i) {
            chat.findChild<QLineEdit*>(QStringLiteral("EditMessage"))->setEnabled(true);
            chat.findChild<QLineEdit*>(QStringLiteral("EditMessage"))->setText(QStringLiteral("Message %1").arg(i));
            QSignalSpy again(&chat, &vk::TFormChat::messagesDrawn);
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(chat.findChild<vk::TTevQuizButton*>(QStringLiteral("ButtonSend")), Qt::LeftButton);
            again.wait(15000);
            chat.findChild<vk::PictureBox*>(QStringLiteral("ImageMessages"))->repaint();
            send.push_back(clock.nsecsElapsed() / 1e6);
        }
        report("send -> repainted chat", send);
    }

    vk::test::SilentListener silent;
    const std::pair<const char*, std::string> away[] = {
        {"viewer, server stopped", vk::test::StoppedBase() + "/wtt"},
        {"viewer, server silent", silent.Base() + "/wtt"},
    };
    for (const auto& [name, address] : away) {
        form->Preferences().WttAddress = address;
        std::vector<double> ms;
        const int acceptedBefore = silent.Accepted();
        for (int i = 0; i < 3; ++i)
            ms.push_back(WorldIconToPaintedViewer(*form));
        report(name, ms);
        if (address.starts_with(silent.Base()))
            std::printf("%-34s %9.1f per opening\n", "  connections", (silent.Accepted() - acceptedBefore) / 3.0);
    }
    std::printf("limits: connect %ld ms, reads of rows %d ms, whole request %ld ms\n", vk::TransportLimits{}.ConnectMs,
                3000, vk::TransportLimits{}.RequestMs);
    form->close();
    return 0;
}
