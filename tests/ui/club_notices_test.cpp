// The club's small windows against the real server: the more-games window,
// the statistics window with its like, and the deal reports of a game.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QPushButton>
#include <QScopeGuard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QtTest>

#include <fstream>

#include "ui/club/adv_window.h"
#include "ui/club/attention_window.h"
#include "ui/kit/link_opener.h"
#include "ui/kit/request_runner.h"
#include "ui/club/stat_window.h"
#include "net/statistics.h"
#include "club_window_support.h"
#include "common/codepage.h"
#include "common/text_cipher.h"
#include "ui/game/screen_scaling.h"
#include "logic/localdata/settings.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

std::string PngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// A data folder with the advertisements' pictures in adv/, and the settings
// that publish `count` advertisements; the third one's picture is missing.
struct AdvertisingClub {
    explicit AdvertisingClub(int count)
    {
        QDir(folder.path()).mkpath(QStringLiteral("adv"));
        for (int k = 1; k <= count; ++k) {
            if (k != 3)
                std::ofstream(folder.filePath(QStringLiteral("adv/%1.png").arg(k)).toStdString(), std::ios::binary)
                    << PngBytes(40 + k, 30);
            settings.push_back("ad = http://127.0.0.1:PORT/adv/" + std::to_string(k) + ".png | Игра "
                               + std::to_string(k) + " | https://games.example/" + std::to_string(k));
        }
    }
    QTemporaryDir folder;
    std::vector<std::string> settings;
};

// The server's own port is known only once it runs: the advertisements
// name it through a relay on a port chosen first.
struct RelayedServer {
    explicit RelayedServer(AdvertisingClub& club)
    {
        for (auto& s : club.settings)
            s.replace(s.find("PORT"), 4, std::to_string(relay.Port()));
        server = std::make_unique<vk::test::TestServer>(club.settings, club.folder.path().toStdString());
        relay.ForwardTo(server->Port());
    }
    vk::test::SilentListener relay;
    std::unique_ptr<vk::test::TestServer> server;
    std::string Base() const { return relay.Base(); }
};

QStringList Captions(const vk::TFormAdv& adv)
{
    QStringList captions;
    for (const vk::TTevQuizButton* b :
         adv.findChildren<vk::TTevQuizButton*>(QRegularExpression(QStringLiteral("^ButtonAdv\\d$"))))
        captions << b->text();
    return captions;
}

int EnabledButtons(const vk::TFormAdv& adv)
{
    int n = 0;
    for (const vk::TTevQuizButton* b :
         adv.findChildren<vk::TTevQuizButton*>(QRegularExpression(QStringLiteral("^ButtonAdv\\d$"))))
        n += b->isEnabled() ? 1 : 0;
    return n;
}

} // namespace

class ClubNoticesTest : public QObject {
    Q_OBJECT
private slots:
    void moreGamesShowsFourAdvertisementsAndOpensTheirLinks()
    {
        AdvertisingClub club(5);
        RelayedServer server(club);
        clubtest::ProgramFolder folder;
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QStringList opened;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return true;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });

        vk::TFormAdv& adv = *form.findChild<vk::TFormAdv*>();
        adv.SetConfigAddress(form.Addresses().ConfigAddress);
        int next = 0;
        adv.Draw = [&next](int) { return next++ % 5; }; // 1, 2, 3, 4
        adv.show();
        QTRY_VERIFY(!adv.Loading());
        QCOMPARE(Captions(adv), (QStringList{"Игра 1", "Игра 2", "Игра 3", "Игра 4"}));
        QCOMPARE(EnabledButtons(adv), 4);
        // Each picture over "BGAdv" (50 x 50): the third could not be
        // downloaded and shows the plain one; the others load all the same.
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv1")->Glyph().size(), QSize(50, 50));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv1")->Glyph().toImage().pixelColor(5, 5),
                 QColor(200, 30, 30));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv3")->Glyph().toImage().pixelColor(5, 5)
                != QColor(200, 30, 30));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv4")->Glyph().toImage().pixelColor(5, 5),
                 QColor(200, 30, 30));
        testsupport::SaveGrab(adv, QStringLiteral("more_games"));

        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv2"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{QStringLiteral("https://games.example/2")});

        // A reload draws again.
        next = 4;
        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(adv, "ButtonReload"), Qt::LeftButton);
        QTRY_VERIFY(!adv.Loading());
        QCOMPARE(Captions(adv).first(), QStringLiteral("Игра 5"));
        adv.reject();

        // The server gone: "No Connect", all four disabled.
        server.server->Stop();
        adv.show();
        QTRY_VERIFY(!adv.Loading());
        QCOMPARE(Captions(adv), QStringList(4, QStringLiteral("No Connect")));
        QCOMPARE(EnabledButtons(adv), 0);
        // Off, but written in the buttons' black on yellow, not grey.
        const QImage face = testsupport::Find<vk::TTevQuizButton>(adv, "ButtonAdv1")->grab().toImage();
        QVERIFY(testsupport::CountColour(face, face.rect(), QColor(0, 0, 0)) > 20);
        QCOMPARE(testsupport::CountColour(face, face.rect(), QColor(0xC0, 0xC0, 0xC0)), 0);
        adv.reject();
    }

    void aPageWithoutAValidListSaysSo()
    {
        AdvertisingClub club(3);
        RelayedServer server(club);
        clubtest::ProgramFolder folder;
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        vk::TFormAdv& adv = *form.findChild<vk::TFormAdv*>();
        adv.SetConfigAddress(form.Addresses().ConfigAddress);
        adv.show();
        QTRY_VERIFY(!adv.Loading());
        QCOMPARE(Captions(adv), QStringList(4, QStringLiteral("Нет объявлений")));
        QCOMPARE(EnabledButtons(adv), 0);
        adv.reject();
    }

    void advertisementPicturesAreCheckedBeforeTheyAreDecoded()
    {
        QVERIFY(!vk::DecodeAdvertisementPicture(PngBytes(40, 30)).isNull());
        QVERIFY(vk::DecodeAdvertisementPicture(PngBytes(4097, 2)).isNull());
        QVERIFY(vk::DecodeAdvertisementPicture("GIF89a......").isNull());
        QVERIFY(vk::DecodeAdvertisementPicture(PngBytes(40, 30).substr(0, 30)).isNull());
    }

    void theSafeOpenerOpensWebAddressesAndCopiesTheRest()
    {
        QStringList opened;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return true;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });
        QStringList notices;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&notices] {
            if (auto* notice = qobject_cast<vk::TFormLink*>(QApplication::activeModalWidget())) {
                notices << testsupport::Find<QLabel>(*notice, "Label1")->text();
                notice->accept();
            }
        });
        answer.start(0);

        struct Case {
            QString text;
            vk::LinkOutcome outcome;
            QString opened;
        };
        const QString longText(10000, QLatin1Char('x'));
        const Case cases[] = {
            {QStringLiteral("https://x.org/a"), vk::LinkOutcome::Opened, QStringLiteral("https://x.org/a")},
            {QStringLiteral("x.org"), vk::LinkOutcome::Opened, QStringLiteral("https://x.org")},
            {QStringLiteral("HTTP://X.ORG"), vk::LinkOutcome::Opened, QStringLiteral("http://x.org")},
            {QStringLiteral("file:///etc/passwd"), vk::LinkOutcome::Copied, {}},
            {QStringLiteral("javascript:alert(1)"), vk::LinkOutcome::Copied, {}},
            {QStringLiteral("ftp://x"), vk::LinkOutcome::Copied, {}},
            {QStringLiteral(" https://x.org"), vk::LinkOutcome::Copied, {}},
            {QString(), vk::LinkOutcome::Nothing, {}},
            {longText, vk::LinkOutcome::Copied, {}},
        };
        for (const Case& c : cases) {
            opened.clear();
            notices.clear();
            QApplication::clipboard()->clear();
            QCOMPARE(vk::OpenOutsideLink(nullptr, c.text), c.outcome);
            if (c.outcome == vk::LinkOutcome::Opened)
                QCOMPARE(opened, QStringList{c.opened});
            else
                QVERIFY(opened.isEmpty());
            if (c.outcome == vk::LinkOutcome::Copied) {
                QCOMPARE(QApplication::clipboard()->text(), c.text);
                QCOMPARE(notices, QStringList{QStringLiteral("Скопировано в буфер обмена!")});
            }
        }

        // No browser at all: a help page of the club goes to whoever shows
        // the program's own help; any other address is copied, with the
        // notice, instead of nothing happening.
        vk::SetDesktopOpener([](const QUrl&) { return false; });
        QStringList helped;
        const vk::HelpPageShower shower = vk::SetHelpPageShower([&helped](const QString& address) {
            if (!address.endsWith(QStringLiteral("/help.html")))
                return false;
            helped << address;
            return true;
        });
        const auto restoreShower = qScopeGuard([&shower] { vk::SetHelpPageShower(shower); });
        notices.clear();
        QCOMPARE(vk::OpenOutsideLink(nullptr, QStringLiteral("https://club.example.org/help.html")),
                 vk::LinkOutcome::ShownInHelp);
        QCOMPARE(helped, QStringList{QStringLiteral("https://club.example.org/help.html")});
        QVERIFY(notices.isEmpty());
        QApplication::clipboard()->clear();
        QCOMPARE(vk::OpenOutsideLink(nullptr, QStringLiteral("https://club.example.org/news")),
                 vk::LinkOutcome::Failed);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("https://club.example.org/news"));
        QCOMPARE(notices, QStringList{QStringLiteral("Скопировано в буфер обмена!")});
    }

    void noticesShowTheirTextsAsPlainText()
    {
        vk::TFormLink notice(QStringLiteral("<img src=\"file:///etc/passwd\">"), QStringLiteral("<b>bold</b>"),
                             QStringLiteral("<a href=\"file:///x\">x</a>"));
        for (QLabel* label : {testsupport::Find<QLabel>(notice, "Label1"), testsupport::Find<QLabel>(notice, "Label2"),
                              testsupport::Find<QLabel>(notice, "Label3")})
            QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(testsupport::Find<QLabel>(notice, "Label1")->text(),
                 QStringLiteral("<img src=\"file:///etc/passwd\">"));

        // The width follows the widest text: 400 up to 291 pixels of text.
        QCOMPARE(vk::TFormLink::ClientWidthFor(291), 400);
        QCOMPARE(vk::TFormLink::ClientWidthFor(400), 509);
        vk::TFormLink shortOne(QStringLiteral("Чат временно недоступен!"), {}, {});
        QCOMPARE(shortOne.width(), 400);
        QVERIFY(!testsupport::Find<QLabel>(shortOne, "Label2")->isVisibleTo(&shortOne));
        QVERIFY(!testsupport::Find<QLabel>(shortOne, "Label3")->isVisibleTo(&shortOne));
        shortOne.show();
        testsupport::SaveGrab(shortOne, QStringLiteral("attention_short"));
        vk::TFormLink longOne(QStringLiteral("Новые загадки"),
                              QStringLiteral("Сто новых загадок в обеих базах, и ещё пятьдесят в разделе мультфильмов"),
                              QStringLiteral("https://club.example.org/news"));
        QVERIFY(longOne.width() > 400);
        QCOMPARE(testsupport::Find<QPushButton>(longOne, "Button1")->width(), longOne.width() - 10);
        // Every line whole above the button, the link's underline too.
        const QRect ok = testsupport::Find<QPushButton>(longOne, "Button1")->geometry();
        for (const char* name : {"Label1", "Label2", "Label3"}) {
            const QLabel* label = testsupport::Find<QLabel>(longOne, name);
            QVERIFY2(label->geometry().bottom() < ok.top(), name);
            QCOMPARE(label->height(), label->fontMetrics().height());
        }
        QVERIFY(longOne.height() >= ok.bottom() + 1);
        longOne.show();
        testsupport::SaveGrab(longOne, QStringLiteral("attention_long"));

        // A title of thousands of letters: the notice stays within the
        // screen, the title cut and whole in its tooltip, the link whole.
        QStringList opened;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return true;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });
        const QString huge(6000, QChar(0x0416));
        const QString link = QStringLiteral("https://club.example.org/") + QString(200, QLatin1Char('a'));
        vk::TFormLink hugeOne(huge, QStringLiteral("Текст"), link);
        QVERIFY(hugeOne.width() <= QGuiApplication::primaryScreen()->availableGeometry().width());
        QCOMPARE(testsupport::Find<QLabel>(hugeOne, "Label1")->toolTip(), huge);
        hugeOne.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hugeOne));
        input::Click(testsupport::Find<QLabel>(hugeOne, "Label3"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{link});
    }

    void statisticsShowTheServersFiguresAndTakeOneLike()
    {
        vk::test::TestServer server;
        clubtest::ProgramFolder folder;
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY_WITH_TIMEOUT(!form.ClubStartupRunning(), 10000);
        form.Preferences().LikeSent = false;
        form.Preferences().ServerNick = "Incognito";

        vk::TFStat window(form.Preferences(), form.Background(), form.ClubHttp(), folder.ProgramDir());
        QStringList asked;
        QList<std::optional<QString>> answers = {QStringLiteral("N"), QStringLiteral("Nomad")};
        window.AskNick = [&](const QString& current) {
            asked << current;
            return answers.takeFirst();
        };
        window.show();
        QTRY_VERIFY(window.Figures().has_value());
        // The start-up's launch report is the one start so far.
        QCOMPARE(window.Figures()->Stat1, 1);
        QCOMPARE(window.Figures()->Stat3, 0);
        QCOMPARE(window.Figures()->Stat4, std::string("-"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike")->isEnabled());

        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike"), Qt::LeftButton);
        QCOMPARE(asked, (QStringList{"Incognito", "Incognito"})); // "N" was refused
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike")->isEnabled());
        QTRY_VERIFY(!window.Reading() && window.Figures() && window.Figures()->Stat3 == 1);
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike")->isEnabled());
        QCOMPARE(form.Preferences().ServerNick, std::string("Nomad"));
        QVERIFY(form.Preferences().LikeSent);
        vk::Settings written;
        vk::ReadSettings(folder.ProgramDir(), written);
        QVERIFY(written.LikeSent);
        testsupport::SaveGrab(window, QStringLiteral("statistics"));
    }

    void aCancelledOrFailedLikeSendsNothingAndStaysOffered()
    {
        vk::test::TestServer server;
        clubtest::ProgramFolder folder;
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY_WITH_TIMEOUT(!form.ClubStartupRunning(), 10000);
        form.Preferences().LikeSent = false;
        form.Preferences().ServerNick = "Incognito";

        {
            vk::TFStat window(form.Preferences(), form.Background(), form.ClubHttp(), folder.ProgramDir());
            int asked = 0;
            window.AskNick = [&asked](const QString&) {
                ++asked;
                return std::optional<QString>();
            };
            window.show();
            QTRY_VERIFY(window.Figures().has_value());
            QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike"), Qt::LeftButton);
            QCOMPARE(asked, 1);
            QVERIFY(!window.Reading());
            QVERIFY(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike")->isEnabled());
        }

        // A nick is known; the server goes away before the like.
        form.Preferences().ServerNick = "Nomad";
        vk::TFStat window(form.Preferences(), form.Background(), form.ClubHttp(), folder.ProgramDir());
        window.show();
        QTRY_VERIFY(window.Figures().has_value());
        QCOMPARE(window.Figures()->Stat3, 0);
        server.Stop();
        QTest::mouseClick(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike"), Qt::LeftButton);
        QTRY_VERIFY(!window.Reading());
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(window, "ButtonLike")->isEnabled());
        QVERIFY(!form.Preferences().LikeSent);

        // Reading with the server gone: "No Connect" and the like offered
        // only while it is not sent.
        vk::TFStat offline(form.Preferences(), form.Background(), form.ClubHttp(), folder.ProgramDir());
        offline.show();
        QTRY_VERIFY(!offline.Reading());
        QVERIFY(!offline.Figures().has_value());
        testsupport::SaveGrab(offline, QStringLiteral("statistics_no_connect"));
    }

    void dealsAreReportedAtTheEndOfARunAndTheExemptCopyReportsNoStart()
    {
        vk::test::TestServer server;
        clubtest::ProgramFolder folder;
        TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY_WITH_TIMEOUT(!form.ClubStartupRunning(), 10000);

        // Two deals of a known puzzle, then "Выход".
        form.State().Memo1[0] = vk::EncodeText(*vk::Utf8ToCp1251("КОТ#Тема#x#"), vk::PuzzleStartKey);
        form.PuzzleSource() = [](int) { return 0; };
        form.State().Local.CurrentName = *vk::Utf8ToCp1251("Тестер");
        form.StartNewPlayerGame();
        for (int deal = 0; deal < 2; ++deal) {
            for (const QString& letter : {QStringLiteral("К"), QStringLiteral("О"), QStringLiteral("Т")})
                form.FormKeyPress(letter);
            QTRY_VERIFY(form.State().DealSolved);
            if (deal == 0)
                form.ButtonNClick();
        }
        testsupport::AnswerModal<QDialog>([](QDialog* d) { d->reject(); });
        form.Button8Click();
        QTRY_VERIFY(form.State().MenuActive);

        vk::HttpClient http;
        std::optional<vk::TTevStat> figures;
        QTRY_VERIFY_WITH_TIMEOUT((figures = vk::ReadStats(http, form.Preferences().StatPath)) && figures->StatX[0] == 2,
                                 5000);
        QCOMPARE(figures->StatX[1], 0);
        QCOMPARE(figures->Stat1, 1);

        // A copy with the exempt label: no launch report at its start.
        {
            TForm1 exempt;
            clubtest::ProgramFolder other(vk::ExemptDistributionLabel);
            clubtest::OpenMenu(exempt, server.Base(), other);
            QTRY_VERIFY_WITH_TIMEOUT(!exempt.ClubStartupRunning(), 10000);
            QCOMPARE(exempt.State().Local.DistributionLabel, std::string(vk::ExemptDistributionLabel));
        }
        figures = vk::ReadStats(http, form.Preferences().StatPath);
        QVERIFY(figures);
        QCOMPARE(figures->Stat1, 1); // only the first copy's start
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubNoticesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_notices_test.moc"
