// What the player is told when the club fails, window by window: a club
// that cannot be reached (stopped, or silent) is told apart from one that
// answered with an error and from one that refused, in the world top ten,
// statistics and the chat; a lost connection offers to read again.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

#include "common/text_cipher.h"
#include "logic/localdata/settings.h"
#include "ui/club/chat_window.h"
#include "ui/club/stat_window.h"
#include "ui/club/wtt_read_window.h"
#include "ui/game/screen_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/request_runner.h"
#include "server_harness.h"
#include "test_database.h"
#include "window_input.h"
#include "window_test_support.h"

namespace {

const QString kUnreachable = QStringLiteral("Не удалось установить связь с сервером!");
const QString kServerError = QStringLiteral("Сервер клуба не смог выполнить запрос. Попробуйте позже.");

enum class Failure { Stopped, Silent, ServerError };

// A club that fails one way; the failing server has lost the tables the
// requests read.
struct FailingClub {
    explicit FailingClub(Failure how) : how(how)
    {
        if (how == Failure::Stopped)
            base = vk::test::StoppedBase();
        else if (how == Failure::Silent)
            base = silent.Base();
        else
            server = std::make_unique<vk::test::TestServer>();
        if (how == Failure::ServerError) {
            QVERIFY(vk::test::DbExec(server->DbPath(), "DROP TABLE wtt_row"));
            QVERIFY(vk::test::DbExec(server->DbPath(), "DROP TABLE stat_counter"));
        }
    }
    std::string WttAddress() const
    {
        if (server)
            return server->Base() + "/wtt";
        return base + "/wtt";
    }
    std::string StatPath() const
    {
        const std::string address = server ? server->Base() + "/stat" : base + "/stat";
        return vk::EncodeText(address, vk::AddressStartKey);
    }

    Failure how;
    vk::test::SilentListener silent;
    std::unique_ptr<vk::test::TestServer> server;
    std::string base;
};

vk::Settings PrefsFor(const FailingClub& club)
{
    vk::Settings s;
    s.SoundOn = false;
    s.WttAddress = club.WttAddress();
    s.StatPath = club.StatPath();
    s.ServerNick = "Alpha";
    s.ServerCity = "Tula";
    s.ServerCountry = "1-007";
    s.ServerSex = "M";
    return s;
}

// The line's text when it is shown, empty when hidden.
QString Told(QWidget& window)
{
    QLabel* line = testsupport::Find<QLabel>(window, "LabelProblem");
    return line->isVisible() ? line->text() : QString();
}

} // namespace

class ClubFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void eachWindowTellsWhatWentWrong_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("toldOnSend");
        QTest::addColumn<bool>("retry");
        QTest::newRow("stopped") << int(Failure::Stopped) << kUnreachable << kUnreachable << true;
        QTest::newRow("silent") << int(Failure::Silent) << kUnreachable << kUnreachable << true;
        QTest::newRow("server error") << int(Failure::ServerError) << kServerError << kServerError << false;
    }
    void eachWindowTellsWhatWentWrong()
    {
        QFETCH(int, how);
        QFETCH(QString, told);
        QFETCH(QString, toldOnSend);
        QFETCH(bool, retry);
        const FailingClub club(static_cast<Failure>(how));
        vk::Settings prefs = PrefsFor(club);
        const QImage background = testsupport::Background();
        const QString row = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));

        {
            vk::ClubStateData state;
            vk::TFormServerRead top(prefs, background, vk::HttpClient(), state);
            top.setModal(false);
            QSignalSpy painted(&top, &vk::TFormServerRead::boardPainted);
            top.show();
            QVERIFY(painted.wait(20000));
            QVERIFY(!top.BoardRows());
            QCOMPARE(Told(top), told);
            // The viewer's own refresh button stands ready whatever failed.
            QVERIFY(testsupport::Find<vk::TTevQuizButton>(top, "ButtonRefresh")->isVisible());
            testsupport::SaveGrab(top, QStringLiteral("failure_world_top_ten_") + row);
        }
        {
            vk::TFStat stat(prefs, background, vk::HttpClient(), std::string());
            stat.setModal(false);
            stat.show();
            QTRY_VERIFY_WITH_TIMEOUT(!stat.Reading(), 20000);
            QVERIFY(!stat.Figures());
            QCOMPARE(Told(stat), told);
            QCOMPARE(testsupport::Find<vk::TTevQuizButton>(stat, "ButtonRetry")->isVisible(), retry);
            testsupport::SaveGrab(stat, QStringLiteral("failure_statistics_") + row);
        }
        {
            vk::TFormChat chat(prefs, background, vk::HttpClient());
            chat.setModal(false);
            QSignalSpy drawn(&chat, &vk::TFormChat::messagesDrawn);
            chat.show();
            QVERIFY(drawn.wait(20000));
            QCOMPARE(Told(chat), told);
            QCOMPARE(testsupport::Find<vk::TTevQuizButton>(chat, "ButtonRetry")->isVisible(), retry);
            testsupport::SaveGrab(chat, QStringLiteral("failure_chat_") + row);

            QString box;
            testsupport::AnswerModal<QMessageBox>([&box](QMessageBox* b) {
                box = b->text();
                b->accept();
            });
            QSignalSpy sent(&chat, &vk::TFormChat::sendFinished);
            QLineEdit* edit = testsupport::Find<QLineEdit>(chat, "EditMessage");
            input::Focus(edit);
            input::Type(edit, QStringLiteral("hello"));
            input::Key(edit, Qt::Key_Return);
            QVERIFY(!sent.isEmpty() || sent.wait(20000));
            QVERIFY(!sent.last().at(0).toBool());
            QTRY_COMPARE(box, QStringLiteral("Не удалось отправить сообщение!\n") + toldOnSend);
            QCOMPARE(edit->text(), QStringLiteral("hello"));
        }
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }

    // A club that comes back is read again by the retry, no reopening.
    void aRetryReadsTheClubThatCameBack()
    {
        vk::test::SilentListener relay;
        vk::Settings prefs;
        prefs.SoundOn = false;
        prefs.StatPath = vk::EncodeText(relay.Base() + "/stat", vk::AddressStartKey);
        const QImage background = testsupport::Background();
        vk::TFStat stat(prefs, background, vk::HttpClient(), std::string());
        stat.setModal(false);
        stat.show();
        QTRY_VERIFY_WITH_TIMEOUT(!stat.Reading(), 20000);
        QCOMPARE(Told(stat), kUnreachable);

        vk::test::TestServer server;
        relay.ForwardTo(server.Port());
        input::Click(testsupport::Find<vk::TTevQuizButton>(stat, "ButtonRetry"));
        QTRY_VERIFY_WITH_TIMEOUT(!stat.Reading() && stat.Figures(), 20000);
        QCOMPARE(Told(stat), QString());
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(stat, "ButtonRetry")->isVisible());
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubFailuresTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_failures_test.moc"
