// The world top ten against the real server: the viewer's three boards with
// their flags, faces, own rows and game count, "No Connect" when the server
// is gone, and the result window that a good offline game opens.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include "tests/ui/main_window_parts.h"
#include "net/account_requests.h"
#include "ui/club/passport_window.h"
#include "ui/kit/request_runner.h"
#include "ui/club/country_flags.h"
#include "ui/club/wtt_read_window.h"
#include "net/wtt_requests.h"
#include "ui/club/wtt_write_window.h"
#include "club_window_support.h"
#include "common/codepage.h"
#include "logic/game/board.h"
#include "ui/game/screen_scaling.h"
#include "picture_checks.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"
#include "window_test_support.h"
#include "window_input.h"

using vk::TForm1;
using vk::TFormServerRead;
using vk::TFormServerWrite;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

// A main window on the menu against a server of its own, once the club's
// addresses have come.
struct ClubMenu {
    ClubMenu() : server({"second_board_open=yes"})
    {
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY(!form.ClubStartupRunning());
        QVERIFY(form.Preferences().WttAvailable);
        QCOMPARE(form.Preferences().WttAddress, server.Base() + "/wtt");
        form.Preferences().ServerNick = "Tester";
        form.Preferences().ServerCity = "Kazan";
        form.Preferences().ServerCountry = "1-007";
        form.Preferences().ServerSex = "M";
    }
    ~ClubMenu() { QTRY_COMPARE(vk::RequestsInFlight(), 0); }

    std::int32_t Submit(const char* nick, const char* city, const char* country, const char* sex, int score, int gid)
    {
        vk::HttpClient http;
        return vk::WttSubmit(http, form.Preferences().WttAddress, nick, city, country, sex, score, gid, "#", "#")
            .value_or(-1);
    }

    vk::test::TestServer server;
    clubtest::ProgramFolder folder;
    TForm1 form;
};

// A member whose finished rating game of 960 points stands on the club's
// board; the window's client holds the member's session.
void ClubMemberOnTheBoard(ClubMenu& m)
{
    vk::HttpClient& http = m.form.ClubHttp();
    const std::string& acc = m.form.Preferences().AccPath;
    vk::TTevUser member = clubtest::Member("Clubber");
    member.Sex = 'W';
    QCOMPARE(vk::ClubRegister(http, acc, member), 0);
    QVERIFY(vk::ClubLogin(http, acc, "Clubber", "secret12", m.form.ClubData().ClubUser));
    vk::TTevGame game;
    game.Kon = 1;
    game.Rating = 1;
    QVERIFY(vk::ClubSaveGame(http, acc, "Clubber", "secret12", "zarvo", game));
    game.Best = 960;
    game.Rating = 961;
    game.Sessions = 1;
    QVERIFY(vk::ClubSaveGame(http, acc, "Clubber", "secret12", "zarvo", game));
    QCOMPARE(vk::WttSubmit(http, m.form.Preferences().WttAddress, "Clubber", "Tula", "Russia", "W", 960,
                           vk::WttAccountBoard, "#", "#"),
             std::optional<std::int32_t>(1));
}

QImage BoardCanvas(TFormServerRead& w) { return testsupport::Find<vk::PictureBox>(w, "ImageBoard")->Canvas(); }

// Pixels of exactly `colour` in the band of a row drawn at `y`.
int InRow(TFormServerRead& w, int y, const QColor& colour)
{
    return testsupport::CountColour(BoardCanvas(w), QRect(60, y, 540, 20), colour);
}

// The viewer painted after `action`.
bool PaintedAfter(TFormServerRead& w, const std::function<void()>& action)
{
    QSignalSpy painted(&w, &TFormServerRead::boardPainted);
    action();
    return painted.count() > 0 || painted.wait(15000);
}

} // namespace

class ClubWorldTopTenTest : public QObject {
    Q_OBJECT
private slots:
    void viewerShowsTheThreeBoards()
    {
        ClubMenu m;
        QCOMPARE(m.Submit("Nomad", "Tula", "1-007", "M", 950, 50), 1);
        QCOMPARE(m.Submit("Lynx", "Omsk", "2-010", "W", 900, 50), 2);
        QCOMPARE(m.Submit("Tester", "Kazan", "1-007", "M", 920, 50), 2);
        QCOMPARE(m.Submit("Mobi", "Perm", "1-001", "M", 930, 150), 1);
        QCOMPARE(m.Submit("Tester", "Moscow", "1-001", "M", 910, 150), 2);
        ClubMemberOnTheBoard(m);

        TFormServerRead w(m.form.Preferences(), m.form.Background(), m.form.ClubHttp(), m.form.ClubData(), &m.form);
        w.setModal(false);
        QVERIFY(PaintedAfter(w, [&] { w.show(); }));
        QCOMPARE(w.size(), QSize(675, 670));
        QCOMPARE(w.Board(), 1);

        // Board 1: places, flags, faces; the own row in blue; the count.
        const vk::WttRows& rows = *w.BoardRows();
        QCOMPARE(rows[0].Nick, std::string("Nomad"));
        QCOMPARE(rows[1].Nick, std::string("Tester"));
        QCOMPARE(rows[2].Nick, std::string("Lynx"));
        QVERIFY(rows[3].Empty());
        const QImage canvas = BoardCanvas(w);
        QVERIFY(testsupport::PictureStandsAt(canvas, vk::CountryFlagPicture("1-007"), {100, 72}));
        QVERIFY(testsupport::PictureStandsAt(canvas, vk::CountryFlagPicture("2-010"), {100, 112}));
        QVERIFY(testsupport::PictureStandsAt(canvas, testsupport::ResourcePicture("FaceMan16"), {130, 70}));
        QVERIFY(testsupport::PictureStandsAt(canvas, testsupport::ResourcePicture("FaceWoman16"), {130, 110}));
        QVERIFY(InRow(w, 70, QColor(255, 0, 0)) > 0);
        QVERIFY(InRow(w, 130, QColor(255, 0, 0)) == 0); // no fourth row
        QCOMPARE(w.GameCount(), std::optional<std::int32_t>(3));
        QVERIFY(InRow(w, 290, QColor(128, 0, 128)) > 0);
        QCOMPARE((*w.OwnRows())[0].Place, 2);
        QCOMPARE((*w.OwnRows())[0].Score, 920);
        QVERIFY((*w.OwnRows())[1].Empty());
        QVERIFY(InRow(w, 340, QColor(0, 0, 255)) > 0);
        QVERIFY(InRow(w, 360, QColor(0, 0, 255)) == 0);
        testsupport::SaveGrab(w, QStringLiteral("world_top_ten_board1"));

        // Board 2 by its tab: nicks only, the own rows asked for Moscow.
        QVERIFY(PaintedAfter(w, [&] {
            QTest::mouseClick(testsupport::Find<vk::PictureBox>(w, "ImageBoard"), Qt::LeftButton, {},
                              TFormServerRead::TabRect(2).center());
        }));
        QCOMPARE(w.Board(), 2);
        QCOMPARE((*w.BoardRows())[0].Nick, std::string("Mobi"));
        QVERIFY(!testsupport::PictureStandsAt(BoardCanvas(w), vk::CountryFlagPicture("1-001"), {100, 72}));
        QCOMPARE((*w.OwnRows())[0].Score, 910);
        QCOMPARE(w.GameCount(), std::optional<std::int32_t>(2));

        // Board 3: the club's results with the member's country key; the
        // caption is the first own row's nick.
        QVERIFY(PaintedAfter(w, [&] { w.SelectBoard(3); }));
        QCOMPARE((*w.BoardRows())[0].Nick, std::string("Clubber"));
        QCOMPARE((*w.BoardRows())[0].Country, std::string("Russia"));
        QVERIFY(testsupport::PictureStandsAt(BoardCanvas(w), testsupport::ResourcePicture("FaceWoman16"), {130, 70}));
        QCOMPARE((*w.OwnRows())[0].Score, 960);
        QCOMPARE(w.windowTitle(), QStringLiteral("Clubber"));
        testsupport::SaveGrab(w, QStringLiteral("world_top_ten_board3"));
        // The board chosen is the one the next opening shows.
        QCOMPARE(m.form.ClubData().WorldTopTenTable, 3);

        // The server gone: "No Connect" once, in the board, and why below
        // it; no count, and nothing asked after the first failure.  The
        // refresh button comes back at once to try again.
        m.server.Stop();
        QVERIFY(PaintedAfter(w, [&] { input::Click(testsupport::Find<vk::TTevQuizButton>(w, "ButtonRefresh")); }));
        QVERIFY(!w.BoardRows() && !w.OwnRows() && !w.GameCount());
        QVERIFY(InRow(w, 200, QColor(255, 0, 0)) > 0);
        QVERIFY(InRow(w, 380, QColor(0, 0, 255)) == 0);
        QVERIFY(InRow(w, 290, QColor(128, 0, 128)) == 0);
        QCOMPARE(testsupport::Find<QLabel>(w, "LabelProblem")->text(),
                 QStringLiteral("Не удалось установить связь с сервером!"));
        QVERIFY(testsupport::Find<QLabel>(w, "LabelProblem")->isVisible());
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(w, "ButtonRefresh")->isVisible());
        testsupport::SaveGrab(w, QStringLiteral("world_top_ten_no_connect"));
    }

    void aSilentServerEndsTheReadsAtTheFirst()
    {
        ClubMenu m;
        vk::test::SilentListener silent;
        m.form.Preferences().WttAddress = silent.Base() + "/wtt";
        TFormServerRead w(m.form.Preferences(), m.form.Background(), m.form.ClubHttp(), m.form.ClubData(), &m.form);
        w.setModal(false);
        QVERIFY(PaintedAfter(w, [&] { w.show(); }));
        QVERIFY(!w.BoardRows() && !w.OwnRows());
        QCOMPARE(silent.Accepted(), 1);
    }

    void closingTheViewerDuringItsReadsTouchesNothing()
    {
        ClubMenu m;
        vk::test::SilentListener silent;
        m.form.Preferences().WttAddress = silent.Base() + "/wtt";
        {
            TFormServerRead w(m.form.Preferences(), m.form.Background(), m.form.ClubHttp(), m.form.ClubData(), &m.form);
            w.setModal(false);
            QSignalSpy painted(&w, &TFormServerRead::boardPainted);
            w.show();
            QTRY_COMPARE(silent.Accepted(), 1);
            QVERIFY(w.Reading());
            testsupport::Find<vk::TTevQuizButton>(w, "Button1")->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(painted.count(), 0);
        }
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
        QCOMPARE(silent.Accepted(), 1);
    }

    void worldIconOpensTheViewerAndItsPassport()
    {
        ClubMenu m;
        QString opened;
        bool passportShown = false;
        testsupport::AnswerModal<TFormServerRead>([&](TFormServerRead* w) {
            QSignalSpy painted(w, &TFormServerRead::boardPainted);
            painted.wait(15000);
            opened = w->objectName();
            testsupport::AnswerModal<vk::TFormServerInfo>([&](vk::TFormServerInfo* passport) {
                passportShown = true;
                testsupport::Find<vk::TTevQuizButton>(*passport, "Button1")->click();
            });
            testsupport::Find<vk::TTevQuizButton>(*w, "ButtonPassport")->click();
            painted.wait(15000);
            testsupport::Find<vk::TTevQuizButton>(*w, "Button1")->click();
        });
        QTest::mouseClick(parts::Picture(m.form, "ImWT"), Qt::LeftButton);
        QCOMPARE(opened, QStringLiteral("FormServerRead"));
        QVERIFY(passportShown);
    }

    void aGoodGameGoesToTheBoard()
    {
        ClubMenu m;
        // The twentieth deal of a new player, one letter to guess.
        m.form.State().Memo1[0] = vk::EncodeText(Cp("Я#Тема#x#"), vk::PuzzleStartKey);
        m.form.PuzzleSource() = [](int) { return 0; };
        m.form.State().Local.CurrentName = Cp("Тестер");
        m.form.State().Local.CurrentPasswordCode = vk::EncodePassword("");
        m.form.StartNewPlayerGame();
        m.form.State().DealNumber = 19;
        m.form.BeginDeal(true);
        m.form.State().Score = 950;
        const auto key = parts::LetterKeys(m.form)[static_cast<std::size_t>(vk::KeyOfLetter(Cp("Я")[0]) - 1)];
        QTest::mouseClick(key, Qt::LeftButton);
        QCOMPARE(m.form.State().DealNumber, 20);

        // The first send fails (the server cannot be reached): the result
        // stays for another try, which takes place 1; a third is impossible.
        std::int32_t offered = 0, place = -2;
        QString failure, sentTip;
        bool sendAgain = true, secondSendStarted = true;
        testsupport::AnswerModal<QDialog>([&](QDialog* end) {
            end->accept();
            testsupport::AnswerModal<TFormServerWrite>([&](TFormServerWrite* w) {
                offered = w->Score();
                QSignalSpy sent(w, &TFormServerWrite::sendFinished);
                const std::string address = w->Prefs().WttAddress;
                w->Prefs().WttAddress = vk::test::StoppedBase() + "/wtt";
                testsupport::AnswerModal<QMessageBox>([&](QMessageBox* box) {
                    failure = box->text();
                    box->accept();
                });
                testsupport::Find<vk::TTevQuizButton>(*w, "ButtonSend")->click();
                sent.wait(15000);
                QTRY_VERIFY(!failure.isEmpty());
                w->Prefs().WttAddress = address;
                testsupport::Find<vk::TTevQuizButton>(*w, "ButtonSend")->click();
                sent.wait(15000);
                place = w->Place();
                sendAgain = testsupport::Find<vk::TTevQuizButton>(*w, "ButtonSend")->isEnabled();
                sentTip = testsupport::Find<vk::TTevQuizButton>(*w, "ButtonSend")->toolTip();
                testsupport::Find<vk::TTevQuizButton>(*w, "ButtonSend")->click();
                secondSendStarted = w->Sending();
                testsupport::SaveGrab(*w, QStringLiteral("world_top_ten_result"));
                testsupport::Find<vk::TTevQuizButton>(*w, "ButtonClose")->click();
            });
        });
        QTest::mouseClick(parts::Button(m.form, "Button8"), Qt::LeftButton);
        QCOMPARE(offered, 950);
        QCOMPARE(failure, QStringLiteral("Не удалось записать результат игры!"));
        QCOMPARE(place, 1);
        QVERIFY(!sendAgain);
        QCOMPARE(sentTip, QStringLiteral("Результат уже отправлен"));
        QVERIFY(!secondSendStarted);
        QVERIFY(m.form.State().MenuActive);

        vk::WttRows rows;
        vk::HttpClient http;
        QVERIFY(vk::WttReadBoard(http, m.form.Preferences().WttAddress, vk::WttDesktopBoard, rows));
        QCOMPARE(rows[0].Nick, std::string("Tester"));
        QCOMPARE(rows[0].Score, 950);
        QCOMPARE(rows[0].City, std::string("Kazan"));
        QVERIFY(rows[1].Empty());
    }

    void anIncognitoIsAskedForAPassportFirst()
    {
        vk::Settings prefs;
        const QImage background = testsupport::Background();
        TFormServerWrite w(prefs, background, vk::HttpClient(), 930);
        bool asked = false;
        testsupport::AnswerModal<vk::TFormServerInfo>([&asked](vk::TFormServerInfo* passport) {
            asked = true;
            testsupport::Find<QLineEdit>(*passport, "EditNick")->selectAll();
            testsupport::TypeText(testsupport::Find<QLineEdit>(*passport, "EditNick"), QStringLiteral("Nomad"));
            testsupport::Find<vk::TTevQuizButton>(*passport, "Button1")->click();
        });
        w.setModal(false);
        w.show();
        QTRY_VERIFY(asked);
        QCOMPARE(prefs.ServerNick, std::string("Nomad"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(w, "ButtonSend")->isEnabled());
        // Only the first showing asks.
        asked = false;
        w.hide();
        w.show();
        QTest::qWait(50);
        QVERIFY(!asked);
    }

    void aCyrillicNickCannotBeSent()
    {
        vk::Settings prefs;
        prefs.ServerNick = "Nomad";
        const QImage background = testsupport::Background();
        TFormServerWrite w(prefs, background, vk::HttpClient(), 930);
        w.setModal(false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(500, 620));
        auto* send = testsupport::Find<vk::TTevQuizButton>(w, "ButtonSend");
        QVERIFY(send->isEnabled());
        QCOMPARE(send->toolTip(), QString());

        // The passport takes a nick in Russian letters with a yellow lamp
        // and says the rule while it is typed; the result window then
        // greys «Отправить» and says why.
        const QString latinOnly = QStringLiteral("Ник для результатов — только латиница");
        QString ruleSaid;
        testsupport::AnswerModal<vk::TFormServerInfo>([&](vk::TFormServerInfo* passport) {
            auto* nick = testsupport::Find<QLineEdit>(*passport, "EditNick");
            input::Focus(nick);
            input::Key(nick, Qt::Key_A, Qt::ControlModifier);
            input::Type(nick, QStringLiteral("Номад"));
            auto* rule = testsupport::Find<QLabel>(*passport, "RuleLine");
            ruleSaid = rule->isVisible() ? rule->text() : QString();
            QCOMPARE(passport->NickClass(), 2);
            testsupport::SaveGrab(*passport, QStringLiteral("passport_cyrillic_nick"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*passport, "Button1"));
        });
        input::Click(testsupport::Find<vk::TTevQuizButton>(w, "ButtonPassport"));
        QCOMPARE(ruleSaid, latinOnly);
        QCOMPARE(prefs.ServerNick, Cp("Номад"));
        QVERIFY(!send->isEnabled());
        QCOMPARE(send->toolTip(), latinOnly);
        // The mouse over the grey button shows it.
        w.activateWindow();
        QTRY_VERIFY(w.isActiveWindow());
        input::Move(send);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), latinOnly);
        testsupport::SaveGrab(w, QStringLiteral("world_top_ten_send_tooltip"));
        // Escape keeps the window and its result.
        input::Key(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
    }

    void aGreySendSaysWhy_data()
    {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<QString>("city");
        QTest::addColumn<QString>("why"); // empty: «Отправить» may be pressed
        QTest::newRow("Russian nick") << QStringLiteral("Номад") << QStringLiteral("Tula")
                                      << QStringLiteral("Ник для результатов — только латиница");
        QTest::newRow("one-letter nick") << QStringLiteral("N") << QStringLiteral("Tula")
                                         << QStringLiteral(
                                                "Ник: от 2 до 12 латинских букв, цифр или знаков ! ( ) , - . ? _ @");
        QTest::newRow("one-letter city") << QStringLiteral("Nomad") << QStringLiteral("T")
                                         << QStringLiteral("Город: от 2 до 15 букв, цифр или знаков");
        QTest::newRow("the nick first") << QStringLiteral("Номад") << QStringLiteral("T")
                                        << QStringLiteral("Ник для результатов — только латиница");
        QTest::newRow("Russian city") << QStringLiteral("Nomad") << QStringLiteral("Тула") << QString();
    }
    void aGreySendSaysWhy()
    {
        QFETCH(QString, nick);
        QFETCH(QString, city);
        QFETCH(QString, why);
        vk::Settings prefs;
        prefs.ServerNick = Cp(nick.toUtf8().constData());
        prefs.ServerCity = Cp(city.toUtf8().constData());
        const QImage background = testsupport::Background();
        TFormServerWrite w(prefs, background, vk::HttpClient(), 930);
        w.setModal(false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* send = testsupport::Find<vk::TTevQuizButton>(w, "ButtonSend");
        QCOMPARE(send->isEnabled(), why.isEmpty());
        QCOMPARE(send->toolTip(), why);
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubWorldTopTenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_world_top_ten_test.moc"
