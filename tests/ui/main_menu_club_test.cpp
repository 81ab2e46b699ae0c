// The main menu of a logged-in club member, against the real server: the
// fifth line shows the member's rating game, the account icon its lamp.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/ui/main_window_parts.h"
#include "common/club_paths.h"
#include "net/account_requests.h"
#include "net/club_startup.h"
#include "ui/kit/request_runner.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "ui/game/screen_scaling.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"

using vk::TForm1;

class MainMenuClubTest : public QObject {
    Q_OBJECT
private slots:
    void fifthLineShowsTheMembersRatingGame()
    {
        vk::test::TestServer server;
        const vk::RemoteConfigAnswers answers =
            vk::FetchRemoteConfig(vk::StoredClubAddress(server.Base(), vk::ClubConfig));
        QVERIFY(!answers.AccPath.empty());

        QTemporaryDir folder;
        TForm1 form;
        form.ShowMenuWithoutIntro();
        form.Preferences().SoundOn = false;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.State().ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
        {
            vk::ClubLines lines = vk::EmptyClubFile();
            vk::SealClubFile(lines);
            QFile f(folder.filePath(QStringLiteral("Vokabron.clb")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray::fromStdString(vk::ClubFileBytes(lines)));
        }

        // A member logged in on the window's own client.
        form.Preferences().AccPath = answers.AccPath;
        vk::TTevUser member;
        member.Nick = "Tevmaster";
        member.Pw = "secret12";
        member.City = "Tula";
        member.Country1 = "Russia";
        member.Country2 = "1-001";
        member.EMail = "tev@example.org";
        member.DateR = "10.12.2024";
        member.R01 = member.R02 = member.R03 = "xxx";
        QCOMPARE(vk::ClubRegister(form.ClubHttp(), answers.AccPath, member), 0);
        QVERIFY(vk::ClubLogin(form.ClubHttp(), answers.AccPath, "Tevmaster", "secret12", form.ClubData().ClubUser));
        form.ClubData().ClubUser.Pw = "secret12";
        form.State().ClubState = vk::ClubLoggedIn;

        // No rating game yet: 0 and 0, in red.
        form.ShowMainMenu();
        vk::TTevQuizButton* fifth = parts::MemberLines(form)[4];
        const QString gap(4, ' ');
        // The record comes in the background; the club file's line stands
        // until then.
        QTRY_COMPARE(fifth->text(), QStringLiteral("Tevmaster") + QString(11, ' ') + gap + "  0" + gap + "       0");
        QCOMPARE(fifth->ColorSB(), vk::DRed);
        QCOMPARE(fifth->FontColor(), 0xFFFF00u);
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(), QStringLiteral("Вы вошли в свой аккаунт!"));

        // A rating game started and left after deal 7 shows its deal and
        // score.
        vk::TTevGame game;
        QVERIFY(vk::ClubReadGame(form.ClubHttp(), answers.AccPath, "Tevmaster", "secret12", "zarvo", game));
        game.Kon += 1;
        game.Rating = game.Kon;
        QVERIFY(vk::ClubSaveGame(form.ClubHttp(), answers.AccPath, "Tevmaster", "secret12", "zarvo", game));
        game.KonL = 7;
        game.Score = 985;
        QVERIFY(vk::ClubSaveGame(form.ClubHttp(), answers.AccPath, "Tevmaster", "secret12", "zarvo", game));
        form.State().ClubState = vk::ClubRatingGame;
        form.ShowMainMenu();
        QTRY_COMPARE(fifth->text(), QStringLiteral("Tevmaster") + QString(11, ' ') + gap + "  7" + gap + "     985");
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(), QStringLiteral("Идет игра на рейтинг!"));

        // The server gone: the fifth member line of the club file, in blue.
        server.Stop();
        form.ShowMainMenu();
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
        QCOMPARE(fifth->text(), QStringLiteral("####################    ###    ########"));
        QCOMPARE(fifth->ColorSB(), vk::DBlue);
        QCOMPARE(fifth->FontColor(), 0x800000u);
        form.State().ClubState = vk::ClubLoggedOut;
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    MainMenuClubTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_menu_club_test.moc"
