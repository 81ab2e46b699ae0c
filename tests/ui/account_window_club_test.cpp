// The account window and the member card as a player uses them, against the
// real club server: registration, the user file and the next start's
// login, sign-out and login, the rating choice, the card and the photo,
// transfers, a server that goes away, and the chairman's rows.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

#include "tests/ui/main_window_parts.h"
#include "net/account_requests.h"
#include "common/club_paths.h"
#include "logic/club/account_fields.h"
#include "logic/club/jpeg_frame.h"
#include "ui/club/account_window.h"
#include "ui/club/attention_window.h"
#include "ui/club/card_window.h"
#include "ui/club/photo_crop_window.h"
#include "ui/kit/link_opener.h"
#include "ui/kit/request_runner.h"
#include "club_window_support.h"
#include "ui/game/screen_scaling.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "server_harness.h"
#include "window_test_support.h"
#include "window_input.h"

using vk::TFAcc1;
using vk::TFAcc2;

namespace {

// A program of its own against a server: the club state the windows work
// on, the shared client and the addresses of the server.
struct Club {
    explicit Club(const std::string& base)
    {
        Point(base);
        context.Http = http;
        context.ProgramDir = folder.ProgramDir();
        context.Club = &state;
        context.ClubState = &clubState;
    }
    void Point(const std::string& base)
    {
        context.Addresses = {vk::StoredClubAddress(base, vk::ClubAccount),
                             vk::StoredClubAddress(base, vk::ClubPhotoFolder),
                             vk::StoredClubAddress(base, vk::ClubPhotoUpload)};
    }
    std::unique_ptr<TFAcc1> Open(bool ratingChoice = false)
    {
        auto window = std::make_unique<TFAcc1>(prefs, background, context, ratingChoice);
        window->Notice = [this](const QString& text) { notices << text; };
        window->Inform = [this](const QString& text) {
            notices << text;
            goodNews << text;
        };
        window->Confirm = [this](const QString& question) {
            questions << question;
            return true;
        };
        window->show();
        return window;
    }
    // A member registered and logged in through the requests themselves.
    void Join(const std::string& nick)
    {
        vk::TTevUser user = clubtest::Member(nick);
        QCOMPARE(vk::ClubRegister(http, context.Addresses.AccPath, user), 0);
        QVERIFY(vk::ClubLogin(http, context.Addresses.AccPath, user.Nick, user.Pw, state.ClubUser));
        clubState = vk::ClubLoggedIn;
    }

    clubtest::ProgramFolder folder;
    vk::Settings prefs;
    QImage background = testsupport::Background();
    vk::HttpClient http;
    vk::AccountContext context;
    vk::ClubStateData state;
    int clubState = vk::ClubLoggedOut;
    QStringList notices;  // every notice, good news included
    QStringList goodNews; // those shown with the information icon
    QStringList questions;
};

void Settle(TFAcc1& window) { QTRY_VERIFY_WITH_TIMEOUT(!window.Reading(), 15000); }

// The club's photo of W x H in a file of the test's folder.
QString PhotoFile(const Club& club, const QString& name, int width, int height, const char* format = "JPG")
{
    const QString path = QString::fromStdString(club.folder.ProgramDir()) + name;
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 200));
    picture.save(path, format);
    return path;
}

// Whether Widget was disabled at some moment since the watch began (a
// request may start and end within one click through the window).
class EnabledWatch : public QObject {
public:
    explicit EnabledWatch(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    bool WasDisabled() const { return wasDisabled_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange && !widget_->isEnabled())
            wasDisabled_ = true;
        return false;
    }

private:
    QWidget* widget_;
    bool wasDisabled_ = false;
};

// Shows tab Index as the player does: a click on its tab.
void ShowTab(vk::TFAcc1& w, int index)
{
    QTabBar* bar = testsupport::Find<QTabWidget>(w, "PageControl1")->tabBar();
    input::Click(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    QCOMPARE(testsupport::Find<QTabWidget>(w, "PageControl1")->currentIndex(), index);
}

void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    testsupport::TypeText(edit, text);
}

// Pixels of the tab's red text (and its antialiased edges) inside Rect.
int RedTextPixels(vk::TFAcc1& w, const char* canvas, const QRect& rect)
{
    const QImage& image = testsupport::Find<vk::PictureBox>(w, canvas)->Canvas();
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c(image.pixel(x, y));
            n += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return n;
}

// Answers every notice window that comes up with its title and icon kind.
class NoticeAnswerer : public QObject {
public:
    NoticeAnswerer() { startTimer(20); }
    QList<QPair<QString, vk::NoticeKind>> Seen;

protected:
    void timerEvent(QTimerEvent*) override
    {
        if (auto* notice = qobject_cast<vk::TFormLink*>(QApplication::activeModalWidget())) {
            Seen << qMakePair(testsupport::Find<QLabel>(*notice, "Label1")->text(), notice->Kind());
            notice->accept();
        }
    }
};

void FillRegistration(vk::TFAcc1& w, const QString& nick)
{
    TypeInto(testsupport::Find<QLineEdit>(w, "Edit1"), nick);
    TypeInto(testsupport::Find<QLineEdit>(w, "Edit2"), QStringLiteral("secret12"));
    TypeInto(testsupport::Find<QLineEdit>(w, "Edit4"), QStringLiteral("Omsk"));
    TypeInto(testsupport::Find<QLineEdit>(w, "Edit5"), nick.toLower() + QStringLiteral("@example.org"));
}

} // namespace

class AccountWindowTest : public QObject {
    Q_OBJECT
private slots:
    void keyFiltersAndLampsGateTheButtons()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        auto w = club.Open();
        Settle(*w);
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("paп"));
        // The refused key says why, under the fields.
        QCOMPARE(testsupport::Find<QLabel>(*w, "RuleLine")->text(),
                 QStringLiteral("Русские буквы здесь не принимаются"));
        QVERIFY(testsupport::Find<QLabel>(*w, "RuleLine")->isVisible());
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("a"));
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit2")->text(),
                 QStringLiteral("paa")); // no Russian letters in a password
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit2")->displayText(), QStringLiteral("###"));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->isEnabled()); // three characters
        QCOMPARE(testsupport::Find<QLabel>(*w, "RuleLine")->text(),
                 QStringLiteral("Пароль: от 4 до 12 символов, без русских букв"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Ян"));
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit1")->text(), QStringLiteral("Ян")); // typed, but red
        QCOMPARE(testsupport::Find<QLabel>(*w, "RuleLine")->text(),
                 QStringLiteral("Ник для результатов — только латиница"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("b"));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->isEnabled());
        // The grey button names the rule that keeps it grey.
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->toolTip(),
                 QStringLiteral("Ник для результатов — только латиница"));
        QVERIFY(!testsupport::Find<QLabel>(*w, "RuleLine")->isVisible()); // the password keeps its rule
        testsupport::Find<QLineEdit>(*w, "Edit1")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Jan&"));
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit1")->text(), QStringLiteral("Jan"));
        testsupport::Find<QLineEdit>(*w, "Edit1")->insert(QStringLiteral("中")); // pasted, not of the code page
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit1")->text(), QStringLiteral("Jan"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->isEnabled());
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->toolTip().isEmpty());
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "Button1")->isEnabled()); // no city, no e-mail yet
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(*w, "Button1")->toolTip(),
                 QStringLiteral("Город: от 2 до 15 букв, цифр или знаков"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit4"), QStringLiteral("Тула"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit5"), QStringLiteral("jan@example.org"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "Button1")->isEnabled());
        QCOMPARE(club.state.ClubUser.City, vk::ToCp1251(QStringLiteral("Тула")));
    }

    void registerSaveTheFileAndLogInAtTheNextStart()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        auto w = club.Open();
        Settle(*w);
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Anna"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("secret12"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit4"), QStringLiteral("Тула"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit5"), QStringLiteral("anna@example.org"));
        // Another continent, its country left at "Unknown": the key holds
        // "no", and the login must still work.
        testsupport::Find<QComboBox>(*w, "ComboBox1")->activated(3);
        QCOMPARE(club.state.ClubUser.Country2, std::string("4-000"));
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit3")->text(), QStringLiteral("Unknown"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button1"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(club.notices, QStringList{QStringLiteral("Ваш аккаунт успешно создан!")});
        QCOMPARE(club.goodNews, club.notices);
        QCOMPARE(club.clubState, vk::ClubLoggedIn);
        QCOMPARE(club.state.ClubUser.Country1, std::string("Unknown"));
        QCOMPARE(testsupport::Find<vk::TTevQuizButton>(*w, "Button2")->text(), QStringLiteral("Выйти из аккаунта"));
        QVERIFY(!testsupport::Find<QLineEdit>(*w, "Edit1")->isEnabled());
        QVERIFY(club.state.MemberCountOk);
        QVERIFY(club.state.GameRecordOk);
        QVERIFY(w->OwnCardKnown());

        // "Сохранить" writes the user file, for the owner's eyes only.
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "Button3")->isEnabled());
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button3"), Qt::LeftButton);
        QCOMPARE(club.goodNews.last(),
                 QStringLiteral("Вход сохранён: при следующем запуске программа войдёт как \"Anna\"."));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "Button3")->isEnabled());
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "Button4")->isEnabled());
        struct stat st {};
        QCOMPARE(::stat(club.folder.UserFile().c_str(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        w->close();

        // The next start logs in by itself.
        TForm1Check(server, club.folder, "Anna");

        // "Удалить" forgets it.
        auto again = club.Open();
        Settle(*again);
        input::Click(testsupport::Find<vk::TTevQuizButton>(*again, "Button4"), Qt::LeftButton);
        QVERIFY(!QFile::exists(QString::fromStdString(club.folder.UserFile())));
        QCOMPARE(club.goodNews.last(), QStringLiteral("Сохранённый вход удалён с этого компьютера."));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*again, "Button3")->isEnabled());
    }

    void signOutForgetsTheSessionAndLoginComesBack()
    {
        vk::test::TestServer server({"initial_balance=40"});
        Club club(server.Base());
        club.Join("Boris");
        auto w = club.Open();
        Settle(*w);
        QCOMPARE(club.state.ClubUser.R04, 40);
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
        QCOMPARE(club.clubState, vk::ClubLoggedOut);
        QCOMPARE(club.state.ClubUser.R04, 0);
        QVERIFY(testsupport::Find<QLineEdit>(*w, "Edit1")->isEnabled());
        // The session cookie is gone: the balance is not the client's to read.
        QVERIFY(!vk::ClubReadBalance(club.http, club.context.Addresses.AccPath, "Boris"));

        // A wrong password: refused, still logged out.
        testsupport::Find<QLineEdit>(*w, "Edit2")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("wrong123"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(club.notices.last(), QStringLiteral("Не удалось войти в аккаунт: неверный ник или пароль!"));
        QVERIFY(club.questions.isEmpty()); // a refusal offers no retry
        QCOMPARE(club.clubState, vk::ClubLoggedOut);

        testsupport::Find<QLineEdit>(*w, "Edit2")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("secret12"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(club.clubState, vk::ClubLoggedIn);
        QCOMPARE(club.state.ClubUser.R04, 40);
        QVERIFY(vk::ClubReadBalance(club.http, club.context.Addresses.AccPath, "Boris"));
    }

    void fillingTheWindowFromTheRecordRewritesNothing()
    {
        vk::test::TestServer server({"initial_balance=50"});
        Club club(server.Base());
        const vk::TTevUser member =
            clubtest::Member("Lena", vk::ToCp1251(QStringLiteral("Бейрут")), "Lebanon", "2-026");
        QCOMPARE(vk::ClubRegister(club.http, club.context.Addresses.AccPath, member), 0);
        QVERIFY(vk::ClubLogin(club.http, club.context.Addresses.AccPath, "Lena", "secret12", club.state.ClubUser));
        club.state.ClubUser.Sex = 'W';
        club.clubState = vk::ClubLoggedIn;
        // The last transfer chosen shows again.
        club.state.TransferAmount = 30;
        club.state.TransferNick = "Bob";
        const vk::TTevUser before = club.state.ClubUser;
        auto w = club.Open();
        Settle(*w);
        for (int tab : {1, 2, 3, 4, 5, 0})
            ShowTab(*w, tab);
        QCOMPARE(testsupport::Find<QComboBox>(*w, "ComboBox1")->currentIndex(), 1);
        QCOMPARE(testsupport::Find<QComboBox>(*w, "ComboBox2")->currentIndex(), 26);
        QCOMPARE(testsupport::Find<QComboBox>(*w, "ComboBox3")->currentIndex(), 1);
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "Edit3")->text(), QStringLiteral("Lebanon"));
        const vk::TTevUser& after = club.state.ClubUser;
        QCOMPARE(after.Country2, before.Country2);
        QCOMPARE(after.Country1, before.Country1);
        QCOMPARE(after.City, before.City);
        QCOMPARE(after.Sex, 'W');
        QCOMPARE(testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->value(), 30);
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->text(), QStringLiteral("Bob"));

        // The Tevs tab sets its spin box and edit without a word, and a
        // smaller balance leaves the amount the player chose as it is.
        int reported = 0;
        QObject::connect(testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs"), &QSpinBox::valueChanged, w.get(),
                         [&reported] { ++reported; });
        QObject::connect(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), &QLineEdit::textChanged, w.get(),
                         [&reported] { ++reported; });
        club.state.ClubUser.R04 = 12;
        w->PaintTevsTab();
        QCOMPARE(testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->value(), 30);
        QCOMPARE(club.state.TransferAmount, 30);
        QCOMPARE(reported, 0);
        // The player's own change is taken.
        testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->stepDown();
        QCOMPARE(club.state.TransferAmount, 29);
        QCOMPARE(reported, 1);
    }

    void registrationWhoseLoginFailsStaysLoggedOut()
    {
        // The server takes the registration, then is gone before the login.
        vk::test::TestServer server;
        Club club(server.Base());
        auto w = club.Open();
        Settle(*w);
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Vera"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("secret12"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit4"), QStringLiteral("Omsk"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit5"), QStringLiteral("vera@example.org"));
        w->Inform = [&](const QString& text) {
            club.notices << text;
            server.Stop();
        };
        // The club is gone: the player is offered to try again, and says no.
        w->Confirm = [&](const QString& question) {
            club.questions << question;
            return false;
        };
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button1"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(club.notices, QStringList{QStringLiteral("Ваш аккаунт успешно создан!")});
        QCOMPARE(club.questions, QStringList{QStringLiteral("Нет связи с клубом. Повторить вход?")});
        QCOMPARE(club.clubState, vk::ClubLoggedOut);
        QCOMPARE(club.state.ClubUser.City, std::string("Omsk")); // no "#" placeholders
    }

    void ratingChoiceOnlyWhenOpenedForARatingGame()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Gleb");
        {
            auto w = club.Open(false);
            Settle(*w);
            QVERIFY(!testsupport::Find<QCheckBox>(*w, "CheckBox2")->isEnabled());
            QCOMPARE(testsupport::Find<QCheckBox>(*w, "CheckBox2")->toolTip(),
                     QStringLiteral("Игра на рейтинг начинается из меню: щёлкните его пятую строку — с Вашим ником."));
            input::Click(testsupport::Find<QCheckBox>(*w, "CheckBox2"), Qt::LeftButton);
            QCOMPARE(club.clubState, vk::ClubLoggedIn);
        }
        auto w = club.Open(true);
        Settle(*w);
        QVERIFY(testsupport::Find<QCheckBox>(*w, "CheckBox2")->isEnabled());
        QVERIFY(testsupport::Find<QCheckBox>(*w, "CheckBox2")->toolTip().isEmpty());
        input::Click(testsupport::Find<QCheckBox>(*w, "CheckBox2"), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(club.clubState, vk::ClubRatingGame);
        input::Click(testsupport::Find<QCheckBox>(*w, "CheckBox2"), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(club.clubState, vk::ClubLoggedIn);

        // While a rating game is on its way nothing of the account changes.
        club.context.RatingGameLocked = true;
        auto locked = club.Open(true);
        Settle(*locked);
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 testsupport::Find<QLineEdit>(*locked, "Edit1"), testsupport::Find<QCheckBox>(*locked, "CheckBox2"),
                 testsupport::Find<vk::TTevQuizButton>(*locked, "Button1"),
                 testsupport::Find<vk::TTevQuizButton>(*locked, "Button2"),
                 testsupport::Find<vk::TTevQuizButton>(*locked, "Button3"),
                 testsupport::Find<vk::TTevQuizButton>(*locked, "Button4")})
            QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    }

    void theCardIsEditedReadBackAndNeverWiped()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Dina");
        auto w = club.Open();
        Settle(*w);
        QVERIFY(w->OwnCardKnown());
        {
            TFAcc2 editor(club.prefs, club.background, club.context, true);
            QStringList good;
            editor.Inform = [&good](const QString& text) { good << text; };
            editor.show();
            QVERIFY(!testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOkI")->isEnabled());
            TypeInto(testsupport::Find<QLineEdit>(editor, vk::CardField(0).ObjectName), QStringLiteral("Дина"));
            TypeInto(testsupport::Find<QLineEdit>(editor, vk::CardField(2).ObjectName),
                     QStringLiteral("I know nothing & 50% + $~"));
            QVERIFY(testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOkI")->isEnabled());
            input::Click(testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOkI"), Qt::LeftButton);
            QTRY_VERIFY(!editor.Reading());
            QCOMPARE(good, QStringList{QStringLiteral("Информация сохранена!")});
            QVERIFY(!testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOkI")->isEnabled());
            QCOMPARE(testsupport::Find<QLineEdit>(editor, vk::CardField(2).ObjectName)->text(),
                     QStringLiteral("I know nothing & 50% +   "));
        }
        vk::TInfo14 read;
        QVERIFY(vk::ClubReadInfo(club.http, club.context.Addresses.AccPath, "Dina", read));
        QCOMPARE(read.About, std::string("I know nothing & 50% +   "));
        QCOMPARE(read.Name1, vk::ToCp1251(QStringLiteral("Дина")));
        QCOMPARE(club.state.ClubUser.Info, read);

        // An editor opened without a known card reads it first; until then
        // nothing can be typed or saved.
        club.state.ClubUser.Info = {};
        {
            TFAcc2 editor(club.prefs, club.background, club.context, false);
            editor.show();
            QVERIFY(testsupport::Find<QLineEdit>(editor, vk::CardField(2).ObjectName)->isReadOnly());
            QTRY_VERIFY(editor.CardKnown());
            QCOMPARE(testsupport::Find<QLineEdit>(editor, vk::CardField(2).ObjectName)->text(),
                     QStringLiteral("I know nothing & 50% +   "));
        }
        // With the server gone the card stays unknown and cannot be sent.
        server.Stop();
        club.state.ClubUser.Info = {};
        TFAcc2 editor(club.prefs, club.background, club.context, false);
        editor.show();
        QTRY_VERIFY(!editor.Reading());
        QVERIFY(!editor.CardKnown());
        TypeInto(testsupport::Find<QLineEdit>(editor, vk::CardField(1).ObjectName), QStringLiteral("X"));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOkI")->isEnabled());
    }

    void anyJpegOrPngIsCutToTheClubsPhoto()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Egor");
        TFAcc2 editor(club.prefs, club.background, club.context, true);
        QStringList notices, goodNews;
        editor.Notice = [&](const QString& text) { notices << text; };
        editor.Inform = [&](const QString& text) { goodNews << text; };
        editor.show();
        auto* photoArea = testsupport::Find<vk::PictureBox>(editor, "Image1");
        auto* send = testsupport::Find<vk::TTevQuizButton>(editor, "ButtonOKF");
        const QString folder = QString::fromStdString(club.folder.ProgramDir());
        const auto pick = [&](const QString& path, std::function<void(vk::TFPhotoCrop*)> crop) {
            editor.ChoosePhotoFile = [path] { return path; };
            if (crop)
                testsupport::AnswerModal<vk::TFPhotoCrop>(crop);
            input::Click(photoArea, Qt::LeftButton);
        };
        const auto key = [](Qt::Key k, int times = 1) {
            return [k, times](vk::TFPhotoCrop* crop) {
                QWidget* view = testsupport::Find<QWidget>(*crop, "ImageCrop");
                input::Focus(view);
                for (int n = 0; n < times; ++n)
                    input::Key(view, k);
                if (k != Qt::Key_Escape)
                    input::Key(view, Qt::Key_Return);
            };
        };
        // What the club keeps now, as any member reads it.
        const auto served = [&] {
            std::string bytes;
            if (!vk::ClubLoadPhoto(club.context.Addresses.PhotoFolder, "Egor", bytes))
                return QImage();
            const auto frame = vk::ReadJpegFrame(bytes);
            if (!frame || frame->Width != 200 || frame->Height != 250)
                return QImage();
            return QImage::fromData(QByteArray::fromStdString(bytes), "JPG");
        };
        const auto sendPhoto = [&] {
            input::Click(send, Qt::LeftButton);
            QTRY_VERIFY(!editor.Reading());
            QVERIFY(!send->isEnabled());
        };

        // Files that give no photo say why, and nothing changes.
        QFile text(folder + QStringLiteral("notes.jpg"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a picture") > 0);
        text.close();
        pick(text.fileName(), nullptr);
        QCOMPARE(notices, QStringList{QStringLiteral("Этот файл — не картинка JPEG или PNG!")});
        QVERIFY(!send->isEnabled());
        QVERIFY(!QDir(folder + QStringLiteral("Ava")).exists());

        // A tall PNG with a transparent top: the largest centred frame, the
        // transparency white.
        QImage tall(1200, 1600, QImage::Format_ARGB32);
        tall.fill(Qt::transparent);
        QPainter(&tall).fillRect(0, 800, 1200, 800, QColor(0, 160, 0));
        const QString png = folder + QStringLiteral("tall.png");
        QVERIFY(tall.save(png, "PNG"));
        pick(png, key(Qt::Key_Return, 0));
        QVERIFY(send->isEnabled());
        QCOMPARE(editor.ChosenPhoto(), png);
        // The photo area already shows what will go.
        testsupport::SaveGrab(editor, QStringLiteral("card_photo_cut"));
        QVERIFY(QColor(photoArea->Canvas().pixel(120, 40)).lightness() > 240);
        QVERIFY(QColor(photoArea->Canvas().pixel(120, 240)).green() > 120);
        sendPhoto();
        QCOMPARE(goodNews, QStringList{QStringLiteral("Фото загружено на сервер!")});
        QImage photo = served();
        QCOMPARE(photo.size(), QSize(200, 250));
        QVERIFY(QColor(photo.pixel(100, 20)).lightness() > 240);
        QVERIFY(QColor(photo.pixel(100, 230)).green() > 120 && QColor(photo.pixel(100, 230)).red() < 60);
        QVERIFY(club.state.OwnPhotoLoaded);

        // A wide camera JPEG, left half red and right half blue, its frame
        // moved to the right edge with the keyboard alone.
        QImage wide(4000, 3000, QImage::Format_RGB32);
        wide.fill(QColor(0, 0, 220));
        QPainter(&wide).fillRect(0, 0, 2000, 3000, QColor(220, 0, 0));
        const QString jpeg = folder + QStringLiteral("camera.jpg");
        QVERIFY(wide.save(jpeg, "JPG"));
        pick(jpeg, key(Qt::Key_Right, 40));
        sendPhoto();
        photo = served();
        QCOMPARE(photo.size(), QSize(200, 250));
        // The frame runs from 1600 to 4000: a sixth of it red.
        QVERIFY(QColor(photo.pixel(15, 125)).red() > 150);
        QVERIFY(QColor(photo.pixel(50, 125)).blue() > 150);
        QVERIFY(QColor(photo.pixel(190, 125)).blue() > 150);

        // Cancelled crops change nothing: the photo waiting to go stays.
        pick(png, key(Qt::Key_Return, 0));
        QVERIFY(send->isEnabled());
        const QImage shown = photoArea->Canvas();
        const int before = notices.size();
        pick(jpeg, key(Qt::Key_Escape));
        QCOMPARE(photoArea->Canvas(), shown);
        QVERIFY(send->isEnabled());
        QCOMPARE(editor.ChosenPhoto(), png);
        QCOMPARE(notices.size(), before);
        sendPhoto();
        QVERIFY(QColor(served().pixel(100, 20)).lightness() > 240); // the PNG's, not the JPEG's

        // A club photo taken whole goes byte for byte, without a second
        // compression.
        const QString ready = PhotoFile(club, QStringLiteral("ready.jpg"), 200, 250);
        pick(ready, key(Qt::Key_Return, 0));
        sendPhoto();
        QFile original(ready), kept(folder + QStringLiteral("Ava/Egor.jpg"));
        QVERIFY(original.open(QIODevice::ReadOnly) && kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), original.readAll());
        // The photo area shows the photo as the server gave it back.
        QVERIFY(QColor(photoArea->Canvas().pixel(120, 140)).blue() > 150);
    }

    void transfersBetweenTwoMembers()
    {
        vk::test::TestServer server({"initial_balance=50"});
        Club ann(server.Base());
        ann.Join("Ann");
        Club bob(server.Base());
        bob.Join("Bob");
        auto w = ann.Open();
        Settle(*w);
        ShowTab(*w, 3);
        QCOMPARE(ann.state.ClubUser.R04, 50);
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs")->isEnabled()); // amount 0, no receiver
        testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->setValue(10);
        TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("Ann"));
        QVERIFY(!testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs")->isEnabled()); // one's own nick
        testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("B&o b"));
        QCOMPARE(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->text(), QStringLiteral("Bob"));
        QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs")->isEnabled());
        EnabledWatch sendButton(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"), Qt::LeftButton);
        Settle(*w);
        QVERIFY(sendButton.WasDisabled()); // while it ran
        QCOMPARE(ann.notices.last(), QStringLiteral("Перевод успешен!"));
        QVERIFY(ann.questions.last().contains(QStringLiteral("\"Bob\" 10 Тевов?")));
        QCOMPARE(ann.state.ClubUser.R04, 40);
        QCOMPARE(vk::ClubReadBalance(bob.http, bob.context.Addresses.AccPath, "Bob"), std::optional<std::int32_t>(60));

        QCOMPARE(ann.goodNews.last(), QStringLiteral("Перевод успешен!"));

        // An amount typed over the balance stays as typed, and pressing the
        // button says why nothing goes.
        {
            QSpinBox* amount = testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs");
            input::Focus(amount);
            input::Key(amount, Qt::Key_A, Qt::ControlModifier);
            input::Type(amount, QStringLiteral("99"));
            QCOMPARE(amount->value(), 99);
            QVERIFY(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs")->isEnabled());
            const int asked = ann.questions.size();
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"), Qt::LeftButton);
            Settle(*w);
            QCOMPARE(ann.notices.last(), QStringLiteral("У Вас недостаточно Тевов для перевода!"));
            QCOMPARE(ann.questions.size(), asked);
            QCOMPARE(vk::ClubReadBalance(bob.http, bob.context.Addresses.AccPath, "Bob"),
                     std::optional<std::int32_t>(60));
            QCOMPARE(amount->value(), 99);
        }
        // A grey button says why: nothing to send, or to oneself.
        {
            QSpinBox* amount = testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs");
            auto* send = testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs");
            input::Focus(amount);
            input::Key(amount, Qt::Key_A, Qt::ControlModifier);
            input::Type(amount, QStringLiteral("0"));
            QVERIFY(!send->isEnabled());
            QCOMPARE(send->toolTip(), QStringLiteral("Не могу совершить пустой перевод!"));
            QCOMPARE(testsupport::Find<QLabel>(*w, "TransferWhy")->text(), send->toolTip());
            input::Type(amount, QStringLiteral("5"));
            testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->clear();
            TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("Ann"));
            QVERIFY(!send->isEnabled());
            QCOMPARE(send->toolTip(), QStringLiteral("Нельзя перевести Тевы самому себе!"));
            testsupport::SaveGrab(*w, QStringLiteral("account_tevs_why"));
        }

        // A receiver who is not there.
        testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("Nobody"));
        testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->setValue(5);
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(ann.notices.last(), QStringLiteral("Не существует члена клуба с таким ником!"));
        QCOMPARE(ann.state.ClubUser.R04, 40);

        // More than the server says there is: the balance is read first.
        ann.state.ClubUser.R04 = 100;
        w->PaintTevsTab();
        testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->setValue(90);
        testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("Bob"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(ann.notices.last(), QStringLiteral("У Вас недостаточно Тевов для перевода!"));
        QCOMPARE(ann.state.ClubUser.R04, 40);

        // Nothing to send.
        ann.state.TransferAmount = 0;
        w->PaintTevsTab();
        const int asked = ann.questions.size();
        w->ButtonTevsAddUsClick();
        QCOMPARE(ann.notices.last(), QStringLiteral("Не могу совершить пустой перевод!"));
        QCOMPARE(ann.questions.size(), asked);

        // The server gone in the middle: the credit is a lost connection,
        // not a missing member.
        testsupport::Find<QSpinBox>(*w, "SpinTevsAddUs")->setValue(5);
        testsupport::Find<QLineEdit>(*w, "EditTevsAddUs")->clear();
        TypeInto(testsupport::Find<QLineEdit>(*w, "EditTevsAddUs"), QStringLiteral("Bob"));
        server.Stop();
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonTevsAddUs"), Qt::LeftButton);
        Settle(*w);
        QCOMPARE(ann.notices.last(),
                 QStringLiteral("Не удалось установить связь с сервером! Проверьте подключение к Интернету."));
        QCOMPARE(ann.state.ClubUser.R04, 40);
    }

    void aStoppedServerShowsNoConnectAndWipesNothing()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Fedor");
        vk::TInfo14 card;
        card.Name1 = "Fedor";
        card.About = "Chess";
        QVERIFY(vk::ClubSaveInfo(club.http, club.context.Addresses.AccPath, "Fedor", card));
        auto w = club.Open();
        Settle(*w);
        QCOMPARE(club.state.ClubUser.Info, card);
        QVERIFY(club.state.TopTenOk);
        server.Stop();

        ShowTab(*w, 1);
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonRef2"), Qt::LeftButton);
        Settle(*w);
        QVERIFY(!club.state.GameRecordOk);
        ShowTab(*w, 2);
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonRef3"), Qt::LeftButton);
        Settle(*w);
        QVERIFY(!club.state.TopTenOk);
        QCOMPARE(club.state.ClubUser.Info, card);
        testsupport::SaveGrab(*w, QStringLiteral("account_no_connect"));

        // A window opened now: one failed request, the card still there.
        auto again = club.Open();
        Settle(*again);
        QVERIFY(!club.state.TopTenOk && !club.state.MemberCountOk && !club.state.GameRecordOk);
        QCOMPARE(club.state.ClubUser.Info, card);
        QVERIFY(!again->OwnCardKnown());
    }

    void aSilentServerCostsOneTimeLimit()
    {
        vk::test::SilentListener silent;
        Club club(silent.Base());
        club.state.ClubUser.Nick = "Nomad";
        club.state.ClubUser.Pw = "secret12";
        club.clubState = vk::ClubLoggedIn;
        QElapsedTimer clock;
        clock.start();
        auto w = club.Open();
        QVERIFY(clock.elapsed() < 2000); // the window is up at once
        Settle(*w);
        QCOMPARE(silent.Accepted(), 1);
    }

    void closingTheWindowDuringItsReadsTouchesNothing()
    {
        vk::test::SilentListener silent;
        Club club(silent.Base());
        club.state.ClubUser.Nick = "Nomad";
        club.state.ClubUser.Pw = "secret12";
        club.state.ClubUser.Info.About = "Chess";
        club.clubState = vk::ClubLoggedIn;
        const vk::ClubStateData before = club.state;
        {
            auto w = club.Open();
            QTRY_COMPARE(silent.Accepted(), 1);
            QVERIFY(w->Reading());
            // Clicks wait for the reads; Escape gives the wait up.
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonOk"));
            QVERIFY(w->isVisible());
            input::Key(w.get(), Qt::Key_Escape);
            QVERIFY(!w->isVisible());
        }
        QTRY_COMPARE(vk::RequestsInFlight(), 0);
        QCOMPARE(silent.Accepted(), 1);
        QCOMPARE(club.state.ClubUser.Info, before.ClubUser.Info);
        QCOMPARE(club.clubState, vk::ClubLoggedIn);
    }

    void chairmanRowsCopyOrOpenSafely()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Hanna");
        auto w = club.Open();
        Settle(*w);
        // A card as a hostile chairman might have it (the server refuses
        // such links; the window must not trust that).
        club.state.ChairmanInfo.VK = "file:///etc/passwd";
        club.state.ChairmanInfo.WebSite = "example.org/club";
        club.state.ChairmanInfo.Telephone = "+7 900 000";
        ShowTab(*w, 5);
        QList<QUrl> opened;
        const vk::DesktopOpener previous = vk::SetDesktopOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        const auto rowY = [](int k) { return 40 + 31 * (k - 1) + 15; };
        QStringList linkNotices;
        testsupport::AnswerModal<vk::TFormLink>([&linkNotices](vk::TFormLink* notice) {
            linkNotices << testsupport::Find<QLabel>(*notice, "Label1")->text()
                               + testsupport::Find<QLabel>(*notice, "Label2")->text();
            notice->accept();
        });
        input::Click(testsupport::Find<vk::PictureBox>(*w, "ImageN6"), Qt::LeftButton, {}, QPoint(400, rowY(7))); // VK
        QVERIFY(opened.isEmpty());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("file:///etc/passwd"));
        QCOMPARE(linkNotices.size(), 1);

        input::Click(testsupport::Find<vk::PictureBox>(*w, "ImageN6"), Qt::LeftButton, {},
                     QPoint(400, rowY(4))); // web site
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/club"))});

        input::Click(testsupport::Find<vk::PictureBox>(*w, "ImageN6"), Qt::LeftButton, {},
                     QPoint(400, rowY(2))); // telephone
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("+7 900 000"));
        QCOMPARE(club.notices.last(), QStringLiteral("Скопировано в буфер обмена!"));

        const int noticesBefore = club.notices.size();
        input::Click(testsupport::Find<vk::PictureBox>(*w, "ImageN6"), Qt::LeftButton, {},
                     QPoint(400, rowY(5))); // empty Skype
        QCOMPARE(club.notices.size(), noticesBefore);
        QCOMPARE(opened.size(), 1);
        vk::SetDesktopOpener(previous);
    }

    // What the player is told when the club fails a login, by the way it
    // fails: out of reach (with a retry offered), refused, or failing on
    // the server's side; and the line beside the tabs after the opening.
    void clubFailuresAreToldApart()
    {
        vk::test::TestServer server;
        {
            vk::HttpClient http;
            QCOMPARE(
                vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount), clubtest::Member("Olga")),
                0);
        }
        vk::test::SilentListener silent;
        const QString unreachable =
            QStringLiteral("Не удалось установить связь с сервером! Проверьте подключение к Интернету.");
        const QString retry = QStringLiteral("Нет связи с клубом. Повторить вход?");
        const struct {
            const char* Name;
            std::string Base;
            const char* AccountPath; // empty: the club's own
            const char* Password;
            QString Told;   // the notice after the login, if any
            QString Asked;  // the question, if any
            QString Status; // the line beside the tabs
        } cases[] = {
            {"stopped", vk::test::StoppedBase(), "", "secret12", {}, retry, QStringLiteral("Нет связи с клубом")},
            {"silent", silent.Base(), "", "secret12", {}, retry, QStringLiteral("Нет связи с клубом")},
            {"refused",
             server.Base(),
             "",
             "wrong123",
             QStringLiteral("Не удалось войти в аккаунт: неверный ник или пароль!"),
             {},
             {}},
            {"error status",
             server.Base(),
             "/club/none",
             "secret12",
             QStringLiteral("Сервер клуба не смог выполнить запрос. Попробуйте позже."),
             {},
             QStringLiteral("Сервер клуба даёт сбой")},
        };
        for (const auto& c : cases) {
            Club club(c.Base);
            if (*c.AccountPath)
                club.context.Addresses.AccPath = vk::EncodeText(server.Base() + c.AccountPath, vk::ClubStartKey);
            auto w = club.Open();
            w->Confirm = [&club](const QString& question) {
                club.questions << question;
                return false;
            };
            Settle(*w);
            QLabel* status = testsupport::Find<QLabel>(*w, "ClubStatus");
            if (c.Base != server.Base() || *c.AccountPath) {
                QVERIFY2(status->isVisible(), c.Name);
                // The top ten says "No Connect" once, not in every row.
                QVERIFY2(RedTextPixels(*w, "ImageN3", QRect(50, 95, 200, 25)) > 0, c.Name);
                QCOMPARE(RedTextPixels(*w, "ImageN3", QRect(50, 125, 200, 270)), 0);
            }
            TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Olga"));
            TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QString::fromLatin1(c.Password));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
            Settle(*w);
            QCOMPARE(club.clubState, vk::ClubLoggedOut);
            QCOMPARE(club.notices, c.Told.isEmpty() ? QStringList{} : QStringList{c.Told});
            QCOMPARE(club.questions, c.Asked.isEmpty() ? QStringList{} : QStringList{c.Asked});
            QCOMPARE(status->isVisible() ? status->text() : QString(), c.Status);
            if (!c.Status.isEmpty())
                QVERIFY(!status->toolTip().isEmpty());
            if (QByteArray(c.Name) == "stopped")
                testsupport::SaveGrab(*w, QStringLiteral("account_club_unreachable"));
        }
    }

    // A retry offered for a club out of reach logs in once the club is back.
    void aRetriedLoginGoesThroughWhenTheClubIsBack()
    {
        vk::test::TestServer server;
        vk::test::SilentListener relay;
        {
            vk::HttpClient http;
            QCOMPARE(
                vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount), clubtest::Member("Petr")),
                0);
        }
        Club club(relay.Base());
        auto w = club.Open();
        w->Confirm = [&](const QString& question) {
            club.questions << question;
            relay.ForwardTo(server.Port()); // the club is back
            return true;
        };
        Settle(*w);
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Petr"));
        TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("secret12"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(club.clubState, vk::ClubLoggedIn, 30000);
        Settle(*w);
        QCOMPARE(club.questions, QStringList{QStringLiteral("Нет связи с клубом. Повторить вход?")});
        QVERIFY(club.notices.isEmpty());
        QVERIFY(!testsupport::Find<QLabel>(*w, "ClubStatus")->isVisible());
    }

    // While the club's top ten is empty there is no chairman to ask for.
    void anEmptyTopTenAsksForNoChairman()
    {
        vk::test::TestServer server;
        vk::test::SilentListener relay;
        relay.ForwardTo(server.Port());
        relay.DropReplyTo("labelinforead");
        relay.DropReplyTo("/photos/.jpg");
        Club club(relay.Base());
        auto w = club.Open();
        Settle(*w);
        QVERIFY(club.state.TopTenOk);
        QCOMPARE(relay.DroppedReplies(), 0);
        QVERIFY(!testsupport::Find<QLabel>(*w, "ClubStatus")->isVisible());
        // The markers do catch a card read: a member's own card is asked for.
        club.Join("Rita");
        auto member = club.Open();
        Settle(*member);
        QCOMPARE(relay.DroppedReplies(), 1);
    }

    // A member without a rating has no place yet; the rating row shows 0.
    void noPlaceBeforeTheFirstRating()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        club.Join("Sara");
        auto w = club.Open();
        Settle(*w);
        QVERIFY(club.state.GameRecordOk);
        ShowTab(*w, 1);
        const int rowY = [](int r) { return 60 + 35 * r + 3; }(0);
        QVERIFY(RedTextPixels(*w, "ImageN2", QRect(600, rowY + 70, 85, 30)) > 0);   // the rating
        QCOMPARE(RedTextPixels(*w, "ImageN2", QRect(360, rowY + 105, 325, 30)), 0); // the place
        club.state.ClubGame.Rating = 12.5;
        w->PaintResultsTab();
        QVERIFY(RedTextPixels(*w, "ImageN2", QRect(360, rowY + 105, 325, 30)) > 0);
    }

    // A second member registering on a computer that keeps another's login
    // is told whose login the next start uses; good news has its own icon.
    void aSecondMemberHearsWhoseLoginIsKept()
    {
        vk::test::TestServer server;
        Club club(server.Base());
        QVERIFY(club.folder.SaveMember("Anna", "secret12"));
        club.state.UserFileSaved = true;
        auto w = club.Open();
        w->Inform = [&w](const QString& text) { vk::ShowGoodNews(w.get(), text); };
        Settle(*w);
        FillRegistration(*w, QStringLiteral("Boris"));
        NoticeAnswerer answer;
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button1"), Qt::LeftButton);
        Settle(*w);
        QTRY_COMPARE(answer.Seen.size(), 2);
        QCOMPARE(answer.Seen[0].first, QStringLiteral("Ваш аккаунт успешно создан!"));
        QVERIFY(answer.Seen[0].second == vk::NoticeKind::Information);
        QCOMPARE(answer.Seen[1].first,
                 QStringLiteral("При следующем запуске программа по-прежнему войдёт как \"Anna\"; "
                                "чтобы входить под новым ником, нажмите «Сохранить»."));
        QVERIFY(answer.Seen[1].second == vk::NoticeKind::Information);
        QCOMPARE(club.clubState, vk::ClubLoggedIn);
    }

    void theMenuOpensTheWindowAndFollowsItsLogin()
    {
        vk::test::TestServer server;
        {
            vk::HttpClient http;
            QCOMPARE(vk::ClubRegister(http, vk::StoredClubAddress(server.Base(), vk::ClubAccount),
                                      clubtest::Member("Irina")),
                     0);
        }
        clubtest::ProgramFolder folder;
        vk::TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_VERIFY(!form.ClubStartupRunning());
        bool looked = false;
        testsupport::AnswerModal<TFAcc1>([&looked](TFAcc1* w) {
            looked = true;
            w->Notice = [](const QString&) {};
            QVERIFY(!testsupport::Find<QCheckBox>(*w, "CheckBox2")->isEnabled());
            QTRY_VERIFY(!w->Reading());
            TypeInto(testsupport::Find<QLineEdit>(*w, "Edit1"), QStringLiteral("Irina"));
            TypeInto(testsupport::Find<QLineEdit>(*w, "Edit2"), QStringLiteral("secret12"));
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "Button2"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!w->Reading(), 15000);
            input::Click(testsupport::Find<vk::TTevQuizButton>(*w, "ButtonOk"));
        });
        input::Click(parts::Picture(form, "ImAc"));
        QVERIFY(looked);
        QCOMPARE(form.State().ClubState, vk::ClubLoggedIn);
        QCOMPARE(parts::Picture(form, "ImAc")->toolTip(), QStringLiteral("Вы вошли в свой аккаунт!"));
        QCOMPARE(form.ClubData().ClubUser.Nick, std::string("Irina"));
    }

private:
    void TForm1Check(const vk::test::TestServer& server, const clubtest::ProgramFolder& folder, const char* nick)
    {
        vk::TForm1 form;
        clubtest::OpenMenu(form, server.Base(), folder);
        QTRY_COMPARE_WITH_TIMEOUT(form.State().ClubState, vk::ClubLoggedIn, 15000);
        QCOMPARE(form.ClubData().ClubUser.Nick, std::string(nick));
    }
};

int main(int argc, char* argv[])
{
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    AccountWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "account_window_club_test.moc"
