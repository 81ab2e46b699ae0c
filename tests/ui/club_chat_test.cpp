// The chat against the real server: two players with passports of their
// own exchange messages with blanks, quotes and "_", the numbers grow, a
// second message waits for the timer, and the passport opens the box.
#include <cstdlib>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "tests/ui/main_window_parts.h"
#include "ui/club/chat_window.h"
#include "ui/club/country_flags.h"
#include "ui/club/passport_window.h"
#include "ui/kit/request_runner.h"
#include "club_window_support.h"
#include "common/codepage.h"
#include "ui/game/screen_scaling.h"
#include "picture_checks.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "server_harness.h"
#include "window_test_support.h"
#include "window_input.h"

using vk::TFormChat;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

vk::Settings Passport(const std::string& base, const char* nick, const char* city, const char* country, const char* sex)
{
    vk::Settings s;
    s.SoundOn = false;
    s.WttAddress = base + "/wtt";
    s.ServerNick = Cp(nick);
    s.ServerCity = Cp(city);
    s.ServerCountry = country;
    s.ServerSex = sex;
    return s;
}

// The signal Spy watches came, before now or within 15 s.
bool Arrived(QSignalSpy& spy) { return !spy.isEmpty() || spy.wait(15000); }

// A chat window shown beside others, its list drawn.
struct Chat {
    Chat(vk::Settings prefs, const QImage& background) : prefs(std::move(prefs))
    {
        window = std::make_unique<TFormChat>(this->prefs, background, vk::HttpClient());
        window->setModal(false);
        QSignalSpy drawn(window.get(), &TFormChat::messagesDrawn);
        window->show();
        drawn.wait(15000);
    }
    // Types the message and presses Enter; true when it was sent and the
    // list drawn anew.
    bool Say(const QString& text)
    {
        QSignalSpy sent(window.get(), &TFormChat::sendFinished);
        QSignalSpy drawn(window.get(), &TFormChat::messagesDrawn);
        testsupport::Find<QLineEdit>(*window, "EditMessage")->setFocus();
        testsupport::TypeText(testsupport::Find<QLineEdit>(*window, "EditMessage"), text);
        input::Focus(testsupport::Find<QLineEdit>(*window, "EditMessage"));
        input::Key(testsupport::Find<QLineEdit>(*window, "EditMessage"), Qt::Key_Return);
        // Input through the window runs the events that follow it: the
        // answer may already be in when the key returns.
        return Arrived(sent) && sent.last().at(0).toBool() && Arrived(drawn);
    }
    bool Redraw()
    {
        QSignalSpy drawn(window.get(), &TFormChat::messagesDrawn);
        window->DrawMessages();
        return drawn.wait(15000);
    }
    const vk::TTevRecord& Message(int k) const { return (*window->Messages())[static_cast<std::size_t>(k - 1)]; }

    vk::Settings prefs;
    std::unique_ptr<TFormChat> window;
};

} // namespace

class ClubChatTest : public QObject {
    Q_OBJECT
private slots:
    void twoPlayersTalk()
    {
        vk::test::TestServer server;
        const QImage background = testsupport::Background();
        Chat a(Passport(server.Base(), "Alpha", "Tula", "1-007", "M"), background);
        Chat b(Passport(server.Base(), "Бета", "Омск", "6-012", "W"), background);
        QCOMPARE(a.window->size(), QSize(710, 680));
        // An empty chat: ten empty bands.
        QVERIFY(a.window->Messages());
        QVERIFY(a.Message(1).Empty());
        QVERIFY(testsupport::Find<QLineEdit>(*a.window, "EditMessage")->isEnabled());
        QVERIFY(testsupport::Find<QLineEdit>(*b.window, "EditMessage")->isEnabled());

        QVERIFY(a.Say(QStringLiteral("Привет всем")));
        QCOMPARE(a.Message(1).Score, 1);
        QCOMPARE(a.Message(1).Nick, std::string("Alpha"));
        QCOMPARE(a.Message(1).R10, Cp("Привет_всем"));
        QCOMPARE(vk::ChatShown(a.Message(1).R10), Cp("Привет всем"));
        // The stamp has fixed formats and never a blank.
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d_\\d\\d\\.\\d\\d\\.\\d{4}_Vokabron$"))
                    .match(QString::fromStdString(a.Message(1).R09))
                    .hasMatch());
        // The box is cleared; the send button counts the wait down while
        // the next message is typed.
        QLineEdit* edit = testsupport::Find<QLineEdit>(*a.window, "EditMessage");
        vk::TTevQuizButton* send = testsupport::Find<vk::TTevQuizButton>(*a.window, "ButtonSend");
        QVERIFY(edit->text().isEmpty());
        QVERIFY(edit->isEnabled());
        QVERIFY(!send->isEnabled());
        // (A loaded machine may take seconds over the send and its read-back,
        // and the button's count follows the clock on its own tick.)
        const int left = a.window->WaitLeft();
        QVERIFY2(left >= 1 && left <= 15, qPrintable(QString::number(left)));
        QVERIFY2(std::abs(send->text().toInt() - left) <= 1, qPrintable(send->text()));
        QVERIFY(send->toolTip().startsWith(QStringLiteral("Следующее сообщение можно отправить через")));
        input::Focus(edit);
        input::Type(edit, QStringLiteral("next"));
        input::Key(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), QStringLiteral("next"));
        QVERIFY(!a.window->Busy());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        edit->clear();

        QVERIFY(b.Say(QStringLiteral("Он сказал \"да\"; ok_1")));
        QCOMPARE(b.Message(1).Score, 2);
        QCOMPARE(b.Message(1).R10, Cp("Он_сказал__да___ok_1"));
        QCOMPARE(b.Message(2).Score, 1);

        // The first sees both, the newest in the bottom band with the
        // sender's flag and face.
        QVERIFY(a.Redraw());
        QCOMPARE(a.Message(1).Nick, Cp("Бета"));
        QCOMPARE(a.Message(1).City, Cp("Омск"));
        const QImage canvas = testsupport::Find<vk::PictureBox>(*a.window, "ImageMessages")->Canvas();
        QVERIFY(testsupport::PictureStandsAt(canvas, vk::CountryFlagPicture("6-012"), {60, 456}));
        QVERIFY(testsupport::PictureStandsAt(canvas, testsupport::ResourcePicture("FaceWoman16"), {80, 454}));
        QVERIFY(testsupport::PictureStandsAt(canvas, vk::CountryFlagPicture("1-007"), {60, 406}));
        // The texts' second lines, inside the navy outlines: the bottom
        // band's text, nothing in the top band.
        QVERIFY(testsupport::CountColour(canvas, QRect(5, 477, 600, 20), QColor(0, 0, 128)) > 0);
        QVERIFY(testsupport::CountColour(canvas, QRect(5, 27, 600, 20), QColor(0, 0, 128)) == 0);
        testsupport::SaveGrab(*a.window, QStringLiteral("chat_window"));

        // A second message waits for the timer's tick; then it goes.
        edit->setText(QStringLiteral("ещё"));
        a.window->Send();
        QVERIFY(!a.window->Busy());
        QCOMPARE(edit->text(), QStringLiteral("ещё"));
        testsupport::Find<QTimer>(*a.window, "Timer1")->setInterval(20);
        QTRY_VERIFY(send->isEnabled());
        QCOMPARE(a.window->WaitLeft(), 0);
        QVERIFY(send->text().isEmpty());
        edit->clear();
        QVERIFY(a.Say(QStringLiteral("ещё")));
        QCOMPARE(a.Message(1).Score, 3);
    }

    void aRefusedPassportKeepsTheBoxClosedUntilItIsPutRight()
    {
        vk::test::TestServer server;
        const QImage background = testsupport::Background();
        Chat a(Passport(server.Base(), "A", "Tula", "1-001", "M"), background);
        QVERIFY(!testsupport::Find<QLineEdit>(*a.window, "EditMessage")->isEnabled());
        testsupport::AnswerModal<vk::TFormServerInfo>([](vk::TFormServerInfo* passport) {
            testsupport::Find<QLineEdit>(*passport, "EditNick")->setFocus();
            testsupport::TypeText(testsupport::Find<QLineEdit>(*passport, "EditNick"), QStringLiteral("lpha"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*passport, "Button1"));
        });
        input::Click(testsupport::Find<vk::TTevQuizButton>(*a.window, "ButtonPassport"), Qt::LeftButton);
        QCOMPARE(a.prefs.ServerNick, std::string("Alpha"));
        QVERIFY(testsupport::Find<QLineEdit>(*a.window, "EditMessage")->isEnabled());
    }

    void noServerNoConnectAndTheTextStays()
    {
        const QImage background = testsupport::Background();
        Chat a(Passport(vk::test::StoppedBase(), "Alpha", "Tula", "1-001", "M"), background);
        QVERIFY(!a.window->Messages());
        QVERIFY(testsupport::CountColour(testsupport::Find<vk::PictureBox>(*a.window, "ImageMessages")->Canvas(),
                                         QRect(0, 0, 700, 25), QColor(255, 0, 0))
                > 0);
        QString told;
        testsupport::AnswerModal<QMessageBox>([&told](QMessageBox* box) {
            told = box->text();
            box->accept();
        });
        QSignalSpy sent(a.window.get(), &TFormChat::sendFinished);
        testsupport::TypeText(testsupport::Find<QLineEdit>(*a.window, "EditMessage"), QStringLiteral("hello"));
        input::Focus(testsupport::Find<QLineEdit>(*a.window, "EditMessage"));
        input::Key(testsupport::Find<QLineEdit>(*a.window, "EditMessage"), Qt::Key_Return);
        QVERIFY(Arrived(sent));
        QVERIFY(!sent.last().at(0).toBool());
        QTRY_COMPARE(told, QStringLiteral("Не удалось отправить сообщение!\nНе удалось установить связь с сервером!"));
        QCOMPARE(testsupport::Find<QLineEdit>(*a.window, "EditMessage")->text(), QStringLiteral("hello"));
        QVERIFY(testsupport::Find<QLineEdit>(*a.window, "EditMessage")->isEnabled());
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }

    // Qt's own menu of a text box speaks Russian once the program runs.
    void theMessageBoxMenuIsInRussian()
    {
        vk::TForm1 form;
        const QImage background = testsupport::Background();
        Chat a(Passport(vk::test::StoppedBase(), "Alpha", "Tula", "1-001", "M"), background);
        QLineEdit* edit = testsupport::Find<QLineEdit>(*a.window, "EditMessage");
        input::Focus(edit);
        input::Type(edit, QStringLiteral("hello"));
        QPointer<QMenu> menu = input::RightClick(edit);
        QVERIFY(menu);
        QStringList items;
        for (const QAction* item : menu->actions())
            if (!item->isSeparator())
                items << item->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        menu->close();
        QVERIFY2(items.contains(QStringLiteral("Копировать")) && items.contains(QStringLiteral("Вставить"))
                     && items.contains(QStringLiteral("Выделить всё")),
                 qPrintable(items.join(QLatin1Char('|'))));
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }

    void chatIconOpensTheChat()
    {
        vk::test::TestServer server;
        clubtest::ProgramFolder folder;
        vk::TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY(!form.ClubStartupRunning());
        QVERIFY(form.Preferences().ChatAvailable);
        QString opened;
        testsupport::AnswerModal<TFormChat>([&opened](TFormChat* chat) {
            QSignalSpy drawn(chat, &TFormChat::messagesDrawn);
            drawn.wait(15000);
            opened = chat->objectName();
            input::Click(testsupport::Find<vk::TTevQuizButton>(*chat, "ButtonClose"));
        });
        input::Click(parts::Picture(form, "ImCh"), Qt::LeftButton);
        QCOMPARE(opened, QStringLiteral("FormChat"));
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    ClubChatTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "club_chat_test.moc"
