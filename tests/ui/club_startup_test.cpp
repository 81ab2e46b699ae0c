// The network never holds the window: the club's start-up steps run in the
// background while the intro and the menu go on, a window closed during its
// request hears nothing of it, and a repeated click sends nothing twice.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <memory>

#include "tests/ui/main_window_parts.h"
#include "common/club_paths.h"
#include "ui/club/attention_window.h"
#include "net/http_client.h"
#include "ui/kit/request_runner.h"
#include "club_window_support.h"
#include "ui/game/screen_scaling.h"
#include "logic/localdata/settings.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/window_busy.h"
#include "server_harness.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

// The settings of a player who has turned the font window off, so the
// intro runs without a modal window in it.
void NoFontWindow(const clubtest::ProgramFolder& folder)
{
    vk::Settings s;
    s.NoFontWindow = true;
    QVERIFY(vk::WriteSettings(folder.ProgramDir(), s));
}

// Runs the real intro against the club at `base`, ends it with a key as
// soon as it waits, and answers the seconds from the start to the menu.
double SecondsToMenu(const std::string& base, bool withUserFile)
{
    clubtest::ProgramFolder folder;
    NoFontWindow(folder);
    if (withUserFile)
        folder.SaveMember("Nomad", "secret12");
    TForm1 form;
    form.State().ProgramDir = folder.ProgramDir();
    form.Addresses().ConfigAddress = clubtest::ConfigAddress(base);
    form.Addresses().NewsPageAddress = clubtest::NewsAddress(base);
    form.Preferences().SoundOn = false;
    QSignalSpy waiting(&form, &TForm1::introWaiting);
    QElapsedTimer clock;
    clock.start();
    form.show();
    if (!waiting.wait(30000))
        return 1e9;
    QTest::keyRelease(&form, Qt::Key_Space);
    if (!form.State().MenuActive)
        return 1e9;
    const double seconds = clock.elapsed() / 1000.0;
    if (form.State().ClubState != vk::ClubLoggedOut)
        return 1e9;
    return seconds;
}

// Nicks of the lamp's hint as the menu shows them.
QString LampHint(TForm1& form) { return parts::Picture(form, "ImAc")->toolTip(); }

} // namespace

class ClubStartupTest : public QObject {
    Q_OBJECT
private slots:
    void abandonedRequestStopsAndIsNeverDelivered()
    {
        vk::test::SilentListener silent;
        auto owner = std::make_unique<QObject>();
        bool delivered = false;
        vk::RunRequest(
            owner.get(), [address = silent.Base() + "/config.txt"] { return vk::HttpGet(address); },
            [&delivered](std::optional<std::string>) { delivered = true; });
        QTRY_COMPARE(silent.Accepted(), 1);
        QElapsedTimer clock;
        clock.start();
        owner.reset();
        // Given up at once, not after the eight seconds of its limit.
        QTRY_COMPARE_WITH_TIMEOUT(vk::RequestsInFlight(), 0, 3000);
        QVERIFY(clock.elapsed() < 3000);
        QTest::qWait(50);
        QVERIFY(!delivered);
    }

    void menuComesAsFastWithASilentServer()
    {
        const double stopped = SecondsToMenu(vk::test::StoppedBase(), true);
        vk::test::SilentListener silent;
        const double hung = SecondsToMenu(silent.Base(), true);
        qInfo("start to menu: %.2f s with no server, %.2f s with a silent one", stopped, hung);
        QVERIFY(stopped < 60);
        QVERIFY2(hung < stopped + 1.0, "the silent server held the intro");
        QVERIFY(silent.Accepted() >= 1);
    }

    void silentServerThenAnsweringOneWorks()
    {
        vk::test::TestServer server;
        vk::test::SilentListener silent;
        clubtest::ProgramFolder folder;
        TForm1 form;
        QElapsedTimer clock;
        clock.start();
        clubtest::OpenMenu(form, silent.Base(), folder);
        QVERIFY(form.State().MenuActive);
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedOut);
        QCOMPARE(LampHint(form), QStringLiteral("Вы не вошли в свой аккаунт!"));

        // The listener comes to life as the real server: the window's own
        // client reaches it.
        silent.ForwardTo(server.Port());
        std::optional<std::int32_t> members;
        const auto accPath = vk::StoredClubAddress(silent.Base(), vk::ClubAccount);
        vk::RunRequest(
            &form, [http = form.ClubHttp(), accPath]() mutable { return vk::ClubReadMemberCount(http, accPath); },
            [&members](std::int32_t n) { members = n; });
        QTRY_VERIFY_WITH_TIMEOUT(members.has_value(), 5000);
        QCOMPARE(*members, 0);
    }

    void slowServerLogsInWhileTheMenuIsUpAndShowsTheNews()
    {
        vk::test::TestServer server(
            {"reply_delay_ms=2000", "news=Y", "news_title=Новые загадки", "news_text=Сто новых загадок"});
        {
            vk::HttpClient http;
            const auto accPath = vk::StoredClubAddress(server.Base(), vk::ClubAccount);
            QCOMPARE(vk::ClubRegister(http, accPath, clubtest::Member("Nomad")), 0);
        }
        clubtest::ProgramFolder folder;
        QVERIFY(folder.SaveMember("Nomad", "secret12"));

        QString newsTitle, newsText;
        bool newsOverADeal = false;
        TForm1 form;
        testsupportAnswerNews(form, &newsTitle, &newsText, &newsOverADeal);
        QElapsedTimer clock;
        clock.start();
        clubtest::OpenMenu(form, server.Base(), folder);
        QVERIFY(clock.elapsed() < 1500);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedOut);

        QTRY_COMPARE_WITH_TIMEOUT(form.State().ClubState, vk::ClubLoggedIn, 20000);
        QVERIFY(form.State().MenuActive);
        QCOMPARE(LampHint(form), QStringLiteral("Вы вошли в свой аккаунт!"));
        QTRY_COMPARE_WITH_TIMEOUT(newsTitle, QStringLiteral("Новые загадки"), 10000);
        QCOMPARE(newsText, QStringLiteral("Сто новых загадок"));
        QVERIFY(!newsOverADeal);
        // The fifth line follows with the member's record of this game.
        QTRY_VERIFY_WITH_TIMEOUT(parts::MemberLines(form)[4]->text().startsWith(QStringLiteral("Nomad")), 10000);
        QCOMPARE(parts::MemberLines(form)[4]->ColorSB(), vk::DRed);
    }

    void newsThatComesDuringADealIsDropped()
    {
        vk::test::TestServer server({"reply_delay_ms=1500", "news=Y", "news_title=Новые загадки"});
        clubtest::ProgramFolder folder;
        QString newsTitle, newsText;
        bool newsOverADeal = false;
        TForm1 form;
        testsupportAnswerNews(form, &newsTitle, &newsText, &newsOverADeal);
        clubtest::OpenMenu(form, server.Base(), folder);
        form.StartNewPlayerGame();
        QVERIFY(form.State().DealActive);
        QTRY_VERIFY_WITH_TIMEOUT(!form.ClubStartupRunning(), 15000);
        QTest::qWait(600);
        QVERIFY(newsTitle.isEmpty());
        QVERIFY(!newsOverADeal);
    }

    // A stored login the club turns down says so on the account lamp's
    // tooltip, with no box at the start.
    void aRefusedAutomaticLoginIsToldOnTheLamp()
    {
        vk::test::TestServer server;
        vk::HttpClient http;
        QCOMPARE(
            vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount), clubtest::Member("Nomad")),
            0);
        clubtest::ProgramFolder folder;
        folder.SaveMember("Nomad", "another1");
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY_WITH_TIMEOUT(!form.ClubStartupRunning(), 15000);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedOut);
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(),
                 QStringLiteral("Вы не вошли в свой аккаунт!\nАвтоматический вход в аккаунт не удался: клуб не принял "
                                "сохранённый ник или пароль."));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void closingTheWindowDuringItsRequestsTouchesNothing()
    {
        vk::test::SilentListener silent;
        clubtest::ProgramFolder folder;
        folder.SaveMember("Nomad", "secret12");
        {
            auto form = std::make_unique<TForm1>();
            clubtest::OpenMenu(*form, silent.Base(), folder);
            QTRY_VERIFY(silent.Accepted() >= 2); // the configuration and the news
            QVERIFY(form->close());
        }
        QTRY_COMPARE_WITH_TIMEOUT(vk::RequestsInFlight(), 0, 3000);
        QTest::qWait(100);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void aPackageDownloadRunsOnceAndKeepsTheMenuBusy()
    {
        vk::test::SilentListener silent;
        clubtest::ProgramFolder folder;
        const QString target = QString::fromStdString(folder.ProgramDir()) + QStringLiteral("Vokabron.apk");
        TForm1 form;
        clubtest::OpenMenu(form, vk::test::StoppedBase(), folder);
        QTRY_VERIFY(!form.ClubStartupRunning());
        form.State().PackageLink = silent.Base() + "/Vokabron.apk";
        form.DownloadPackage(target);
        form.DownloadPackage(target);
        QVERIFY(form.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy());
        QTRY_COMPARE(silent.Accepted(), 1);
        QTest::qWait(300);
        QCOMPARE(silent.Accepted(), 1);

        // The menu takes no click meanwhile: no password window comes up.
        QTest::mouseClick(parts::Button(form, "Button6"), Qt::LeftButton);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!form.State().DealActive);

        // Closing the window gives the download up and leaves no file.
        QVERIFY(form.close());
        QTRY_COMPARE_WITH_TIMEOUT(vk::RequestsInFlight(), 0, 3000);
        const QStringList left =
            QDir(QString::fromStdString(folder.ProgramDir())).entryList({QStringLiteral("Vokabron.apk*")}, QDir::Files);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(',')));
    }

private:
    // Records the news notice when it comes up and closes it; notes whether
    // a deal was on the board under it.
    void testsupportAnswerNews(TForm1& form, QString* title, QString* text, bool* overADeal)
    {
        auto* poll = new QTimer(&form);
        poll->setInterval(20);
        connect(poll, &QTimer::timeout, &form, [&form, title, text, overADeal] {
            auto* notice = qobject_cast<vk::TFormLink*>(QApplication::activeModalWidget());
            if (!notice)
                return;
            *title = testsupport::Find<QLabel>(*notice, "Label1")->text();
            *text = testsupport::Find<QLabel>(*notice, "Label2")->text();
            *overADeal = *overADeal || form.State().DealActive;
            notice->accept();
        });
        poll->start();
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubStartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_startup_test.moc"
