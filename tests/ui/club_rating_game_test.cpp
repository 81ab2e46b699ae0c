// A club rating game as a logged-in member plays it, against the real
// server: the fifth member line, the account window with the rating choice,
// a game left after its first deal and resumed from the fifth line, its end
// on the club board with the place and the bonus; and the failures: no
// server at the start, no server at the end with the player's repeats.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include "tests/ui/main_window_parts.h"
#include "common/club_paths.h"
#include "ui/club/account_window.h"
#include "ui/club/attention_window.h"
#include "ui/kit/request_runner.h"
#include "club_window_support.h"
#include "common/codepage.h"
#include "logic/game/board.h"
#include "ui/game/screen_scaling.h"
#include "ui/localdata/end_game_window.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"
#include "server_harness.h"
#include "window_test_support.h"
#include "ui/kit/message_box.h"
#include "window_input.h"

using vk::TForm1;

namespace {

const QString kGap(4, QLatin1Char(' '));

// A member registered on the server, whose user file logs him in at the
// start; the window on the menu once he is in.
struct MemberAtMenu {
    explicit MemberAtMenu(const vk::test::TestServer& server, const std::string& nick) : nick(nick)
    {
        vk::HttpClient http;
        QCOMPARE(vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount), clubtest::Member(nick)),
                 0);
        QVERIFY(folder.SaveMember(nick, "secret12"));
        clubtest::OpenMenu(form, server.Base(), folder);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE_WITH_TIMEOUT(form.State().ClubState, vk::ClubLoggedIn, 15000);
        // Every deal deals the one-letter puzzle "Я".
        form.State().Memo1[0] = vk::EncodeText(vk::Utf8ToCp1251("Я#Тема#x#").value(), vk::PuzzleStartKey);
        form.PuzzleSource() = [](int) { return 0; };
    }

    QString FifthLine(int deal, int score) const
    {
        return QString::fromStdString(nick).leftJustified(20) + kGap + QString::number(deal).rightJustified(3) + kGap
               + QString::number(score).rightJustified(8);
    }

    // The fifth line clicked, the rating choice ticked in the account
    // window (grabbed as `shot` when given), the window closed.
    void StartFromFifthLine(const QString& shot = {})
    {
        bool ticked = false;
        testsupport::AnswerModal<vk::TFAcc1>([&ticked, shot](vk::TFAcc1* w) {
            w->Notice = [](const QString&) {};
            QTRY_VERIFY_WITH_TIMEOUT(!w->Reading(), 15000);
            input::Click(testsupport::Find<QCheckBox>(*w, "CheckBox2"), Qt::LeftButton, {}, QPoint(8, 8));
            ticked = testsupport::Find<QCheckBox>(*w, "CheckBox2")->isChecked();
            if (!shot.isEmpty())
                testsupport::SaveGrab(*w, shot);
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonOk"));
        });
        input::Click(parts::MemberLines(form)[4], Qt::LeftButton);
        QVERIFY(ticked);
    }

    // A rating game started from the fifth line, on the board.
    void StartGame()
    {
        StartFromFifthLine();
        QTRY_VERIFY_WITH_TIMEOUT(form.State().DealActive, 15000);
    }

    // A test hook puts the game at its 19th deal; that one and the 20th
    // are solved without a wrong letter.
    void SolveToTheLastDeal()
    {
        form.State().DealNumber = 19;
        Letter("Я");
        input::Click(parts::Button(form, "ButtonN"), Qt::LeftButton);
        Letter("Я");
        QCOMPARE(form.State().DealNumber, 20);
    }

    void Letter(const char* utf8)
    {
        const int k = vk::KeyOfLetter(vk::Utf8ToCp1251(utf8).value()[0]);
        input::Click(parts::LetterKeys(form)[static_cast<std::size_t>(k - 1)], Qt::LeftButton);
    }

    std::string nick;
    clubtest::ProgramFolder folder;
    TForm1 form;
};

// Answers a box of the program with its button "Да" or "Нет".
void Answer(QMessageBox* box, bool yes)
{
    const QString text = yes ? QStringLiteral("Да") : QStringLiteral("Нет");
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) {
            input::Click(b);
            return;
        }
    QFAIL("no such button");
}

QByteArray FileBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ClubRatingGameTest : public QObject {
    Q_OBJECT
private slots:
    void aRatingGameLeftResumedAndFinishedOnTheClubBoard()
    {
        vk::test::TestServer server;
        MemberAtMenu m(server, "Rater");
        TForm1& form = m.form;
        vk::TTevQuizButton* fifth = parts::MemberLines(form)[4];
        QTRY_COMPARE(fifth->text(), m.FifthLine(0, 0));
        const QByteArray clubFile = FileBytes(form.ClubFilePath());

        // Started from the fifth line with the rating choice ticked.
        m.StartFromFifthLine(QStringLiteral("rating_account_choice"));
        QTRY_VERIFY_WITH_TIMEOUT(form.State().DealActive, 15000);
        QVERIFY(form.State().RatingGameActive);
        QVERIFY(form.State().RatingGameRegistered);
        QCOMPARE(form.State().ClubState, vk::ClubRatingGame);
        QCOMPARE(form.State().MemberSlot, 7);
        QCOMPARE(form.State().Local.CurrentName, std::string("Rater").append(15, ' '));
        QCOMPARE(form.State().DealNumber, 1);
        QVERIFY(!parts::Item(form, "ChangeName")->isEnabled());

        // One wrong letter, the deal solved, "Выход": the club keeps deal 1
        // with 999, the menu's fifth line shows it, the club file is as it
        // was.
        m.Letter("А");
        m.Letter("Я");
        testsupport::SaveGrab(form, QStringLiteral("rating_game_deal"));
        input::Click(parts::Button(form, "Button8"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(form.State().MenuActive, 15000);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedIn);
        QVERIFY(!form.State().RatingGameActive);
        QTRY_COMPARE(fifth->text(), m.FifthLine(1, 999));
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(), QStringLiteral("Вы вошли в свой аккаунт!"));
        QCOMPARE(FileBytes(form.ClubFilePath()), clubFile);

        // Resumed from the fifth line: deal 2 with 999.
        m.StartGame();
        QCOMPARE(form.State().DealNumber, 2);
        QCOMPARE(form.State().Score, 999);
        m.SolveToTheLastDeal();

        // The end: first on the club board, 25 Tevs.
        QStringList written;
        bool busyWhileShown = true;
        testsupport::AnswerModal<vk::TFormEndGame>([&](vk::TFormEndGame* w) {
            for (const auto& line : w->Written())
                written << line.Text;
            busyWhileShown = form.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy();
            testsupport::SaveGrab(*w, QStringLiteral("rating_end_window"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button1"));
        });
        input::Click(parts::Button(form, "Button8"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(form.State().MenuActive, 15000);
        QCOMPARE(written, (QStringList{QStringLiteral("ПОЗДРАВЛЯЕМ!!!"), QStringLiteral("Ваш результат лучший!"),
                                       QStringLiteral("Результат: 999 ;  Место: 1"),
                                       QStringLiteral("Вы становитесь председателем клуба!"),
                                       QStringLiteral("Вы заработали 25 Тевов!!!")}));
        QVERIFY(!busyWhileShown);
        QCOMPARE(form.State().Local.ResultBonus, 25);
        QCOMPARE(form.ClubData().ClubUser.R04, 25);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedIn);
        QTRY_COMPARE(fifth->text(), m.FifthLine(0, 0));
        QCOMPARE(FileBytes(form.ClubFilePath()), clubFile);
        testsupport::SaveGrab(form, QStringLiteral("rating_menu_after"));

        // The server counted one finished game of 999: Rating 1000.
        vk::TTevGame record;
        QVERIFY(vk::ClubReadGame(form.ClubHttp(), form.Preferences().AccPath, "Rater", "secret12", "zarvo", record));
        QCOMPARE(record.Sessions, 1);
        QCOMPARE(record.Best, 999);
        QCOMPARE(record.Rating, 1000.0);
        QCOMPARE(vk::ClubReadBalance(form.ClubHttp(), form.Preferences().AccPath, "Rater"),
                 std::optional<std::int32_t>(25));
    }

    // The deal screen marks the rating game; the keyboard plays it through
    // (Enter is "Дальше", then "Выход"; no other key costs a point), and a
    // finished game under the board's minimum ends with its score and the
    // new rating.
    void aRatingGameIsMarkedAndItsEndUnder900IsSummed()
    {
        vk::test::TestServer server;
        MemberAtMenu m(server, "Keys");
        TForm1& form = m.form;
        m.StartGame();
        QLabel* mark = testsupport::Find<QLabel>(form, "LabelRating");
        QVERIFY(mark->isVisible());
        QCOMPARE(mark->text(), QStringLiteral("Идет игра на рейтинг!"));
        QVERIFY(form.rect().contains(mark->geometry()));
        testsupport::SaveGrab(form, QStringLiteral("rating_game_mark"));

        form.State().DealNumber = 19;
        form.State().Score = 850;
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_5, Qt::Key_Backspace})
            input::Key(&form, key);
        input::Type(&form, QStringLiteral("1"));
        QCOMPARE(form.State().Score, 850);
        QCOMPARE(form.State().DealNumber, 19);
        QVERIFY(!form.State().DealSolved);
        input::Type(&form, QStringLiteral("Я"));
        QVERIFY(form.State().DealSolved);
        input::Key(&form, Qt::Key_Return);
        QCOMPARE(form.State().DealNumber, 20);
        QVERIFY(mark->isVisible());
        input::Type(&form, QStringLiteral("я"));
        QCOMPARE(form.State().Score, 850);

        QString title, text;
        testsupport::AnswerModal<vk::TFormLink>([&](vk::TFormLink* w) {
            title = testsupport::Find<QLabel>(*w, "Label1")->text();
            text = testsupport::Find<QLabel>(*w, "Label2")->text();
            testsupport::SaveGrab(*w, QStringLiteral("rating_game_summary"));
            input::Click(testsupport::Find<QPushButton>(*w, "Button1"));
        });
        input::Key(&form, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(form.State().MenuActive, 15000);
        QCOMPARE(title, QStringLiteral("Игра на рейтинг окончена!"));
        // One finished game of 850: 850 / 1 + 1.
        QCOMPARE(text, QStringLiteral("Ваш счёт: 850 ;  Ваш рейтинг: 851"));
        QVERIFY(!mark->isVisible());
    }

    void leavingToTheMenuAbandonsTheGame()
    {
        vk::test::TestServer server;
        MemberAtMenu m(server, "Quitter");
        TForm1& form = m.form;
        m.StartGame();
        m.Letter("Я");
        testsupport::AnswerModal<QMessageBox>([](QMessageBox* box) { Answer(box, true); });
        QVERIFY(input::ChooseFromPopup(&form, parts::Item(form, "Quit")));
        QVERIFY(form.State().MenuActive);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedIn);
        QVERIFY(!form.State().RatingGameActive);
        QVERIFY(!form.State().RatingGameRegistered);
        // The club holds the game as started, with nothing to resume.
        QTRY_COMPARE(parts::MemberLines(form)[4]->text(), m.FifthLine(0, 0));
        vk::TTevGame record;
        QVERIFY(vk::ClubReadGame(form.ClubHttp(), form.Preferences().AccPath, "Quitter", "secret12", "zarvo", record));
        QCOMPARE(record.Kon, 1);
        QCOMPARE(record.Sessions, 0);
    }

    void noServerAtTheStartLogsOutAndStartsNothing()
    {
        vk::test::TestServer server;
        MemberAtMenu m(server, "Lonely");
        TForm1& form = m.form;
        QTRY_COMPARE(parts::MemberLines(form)[4]->text(), m.FifthLine(0, 0));
        server.Stop();
        QString notice;
        // The account window first, then the notice.
        testsupport::AnswerModal<vk::TFormLink>([&notice](vk::TFormLink* w) {
            notice = testsupport::Find<QLabel>(*w, "Label1")->text();
            input::Click(testsupport::Find<QPushButton>(*w, "Button1"));
        });
        m.StartFromFifthLine();
        // The notice says the club was not reached and that the player is
        // logged out now.
        QTRY_COMPARE_WITH_TIMEOUT(notice,
                                  vk::TwoLines(QStringLiteral("Не удалось установить связь с сервером!"),
                                               QStringLiteral("Игра на рейтинг не началась: Вы вышли из аккаунта.")),
                                  20000);
        QTRY_COMPARE(form.State().ClubState, vk::ClubLoggedOut);
        QVERIFY(form.State().MenuActive);
        QVERIFY(!form.State().DealActive);
        QVERIFY(!form.State().RatingGameRegistered);
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(), QStringLiteral("Вы не вошли в свой аккаунт!"));
        QCOMPARE(parts::MemberLines(form)[4]->ColorSB(), vk::DBlue);
    }

    void noServerAtTheEndAsksWhileThePlayerSaysYes()
    {
        vk::test::TestServer server;
        MemberAtMenu m(server, "Stubborn");
        TForm1& form = m.form;
        m.StartGame();
        m.SolveToTheLastDeal();
        server.Stop();

        // Yes, then No: two questions, each asked with no request running,
        // and no board entry asked about after the end was not saved.
        QStringList questions;
        bool busyWhileAsked = false;
        std::function<void(QMessageBox*)> answer = [&](QMessageBox* box) {
            questions << box->text();
            busyWhileAsked = busyWhileAsked || form.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy();
            const bool again = questions.size() == 1;
            Answer(box, again);
            if (again)
                testsupport::AnswerModal<QMessageBox>(answer);
        };
        testsupport::AnswerModal<QMessageBox>(answer);
        input::Click(parts::Button(form, "Button8"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(form.State().MenuActive, 30000);
        const QString question = QStringLiteral("Не удалось установить связь с сервером!\n\rПовторить?");
        QCOMPARE(questions, (QStringList{question, question}));
        QVERIFY(!busyWhileAsked);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedIn);
        QVERIFY(!form.State().RatingGameActive);
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubRatingGameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_rating_game_test.moc"
