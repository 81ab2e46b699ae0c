// The main menu on a 1920 x 1080 screen: its controls at the window sizes,
// the member lines, the buttons, icons and popup items, the size change from
// the Options window, the help window and the package download.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QScopeGuard>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <thread>

#include "tests/ui/main_window_parts.h"
#include "ui/club/attention_window.h"
#include "common/codepage.h"
#include "ui/game/help_window.h"
#include "ui/kit/link_opener.h"
#include "ui/game/main_window.h"
#include "ui/kit/window_busy.h"
#include "ui/game/screen_scaling.h"
#include "ui/localdata/about_window.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/options_window.h"
#include "ui/localdata/password_window.h"
#include "ui/localdata/top_ten_window.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"
#include "window_input.h"
#include "window_test_support.h"

using vk::TForm1;

namespace {

std::string Cp(const char* utf8) { return vk::Utf8ToCp1251(utf8).value(); }

// Hands every modal window that comes up to Action, once per showing.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> action) : action_(std::move(action))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // Windows are marked while they are up: a window made at the
            // address of the last one is a new one all the same, and a
            // reused one is answered again at its next showing.
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->property("answered").toBool())
                return;
            modal->setProperty("answered", true);
            modal->installEventFilter(this);
            ++count_;
            action_(modal);
        });
        timer_.start(0);
    }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            watched->setProperty("answered", false);
        return false;
    }

private:
    std::function<void(QWidget*)> action_;
    QTimer timer_;
    int count_ = 0;
};

// The notice of an attention window, which is then closed.
QString TakeNotice(QWidget* modal)
{
    auto* notice = qobject_cast<vk::TFormLink*>(modal);
    if (!notice) {
        // Another window: named and closed.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            QTimer::singleShot(0, dialog, &QDialog::reject);
        return QLatin1Char('<') + modal->objectName() + QLatin1Char('>');
    }
    const QString title = testsupport::Find<QLabel>(*notice, "Label1")->text();
    QTimer::singleShot(0, testsupport::Find<QPushButton>(*notice, "Button1"), &QPushButton::click);
    return title;
}

// A window on the menu at a window size, in a folder of its own.
struct MenuWindow {
    explicit MenuWindow(int size = 1)
    {
        form.Preferences().WindowSize = size;
        form.SetWindowSize();
        form.ShowMenuWithoutIntro();
        form.Preferences().SoundOn = false;
        form.Preferences().WindowSize = size; // whatever the shared settings file says
        form.ApplyFonts();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.State().ProgramDir = QDir(folder.path()).absolutePath().toStdString() + "/";
        WriteClub(vk::EmptyClubFile());
        form.ShowMainMenu();
    }
    ~MenuWindow()
    {
        // The shared settings file must keep the small window for the
        // other window tests.
        form.Preferences().WindowSize = 1;
    }
    void WriteClub(vk::ClubLines lines)
    {
        vk::SealClubFile(lines);
        QFile f(QString::fromStdString(form.State().ProgramDir) + "Vokabron.clb");
        QVERIFY(f.open(QIODevice::WriteOnly));
        const std::string bytes = vk::ClubFileBytes(lines);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    QTemporaryDir folder;
    TForm1 form;
};

QRect Rect(int x, int y, int w, int h) { return QRect(x, y, w, h); }

// A socket listening on a free loopback port; the port in Port.
int ListenOnLoopback(int* port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    *port = ntohs(addr.sin_port);
    ::listen(fd, 8);
    return fd;
}

// An HTTP server on a thread of its own (the game waits for its downloads
// on the main thread): each path answers with its raw reply.
class ReplyServer {
public:
    explicit ReplyServer(std::map<std::string, std::string> replies) : replies_(std::move(replies))
    {
        fd_ = ListenOnLoopback(&port_);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ReplyServer()
    {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    std::string Address(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    void Serve()
    {
        for (;;) {
            const int client = ::accept(fd_, nullptr, nullptr);
            if (client < 0)
                return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::read(client, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            const auto start = request.find(' ') + 1;
            std::string path = request.substr(start, request.find(' ', start) - start);
            path = path.substr(0, path.find('?'));
            const auto reply = replies_.find(path);
            const std::string out =
                reply != replies_.end() ? reply->second : "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
            std::size_t sent = 0;
            while (sent < out.size()) {
                const ssize_t n = ::write(client, out.data() + sent, out.size() - sent);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(client);
        }
    }

    std::map<std::string, std::string> replies_;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};

} // namespace

class MainMenuTest : public QObject {
    Q_OBJECT
private slots:
    void controlsFollowTheTableAtEachSize()
    {
        struct Case {
            int size;
            QSize client;
            QRect button1, panel3, button6, title;
            int listFont; // the member lines' font height
        };
        const Case cases[] = {
            {1,
             {760, 500},
             Rect(175, 180, 410, 30),
             Rect(465, 140, 120, 30),
             Rect(275, 380, 210, 30),
             Rect(180, 22, 400, 100),
             11},
            {3,
             {990, 650},
             Rect(228, 234, 534, 45),
             Rect(604, 182, 158, 45),
             Rect(358, 494, 274, 45),
             Rect(234, 13, 520, 130),
             21},
            {5,
             {1520, 1000},
             Rect(350, 360, 820, 60),
             Rect(930, 280, 240, 60),
             Rect(550, 760, 420, 60),
             Rect(360, 20, 800, 200),
             32},
        };
        for (const Case& c : cases) {
            MenuWindow w(c.size);
            TForm1& f = w.form;
            QCOMPARE(f.size(), c.client);
            QCOMPARE(f.MenuPicture().size(), c.client);
            QCOMPARE(parts::InWindow(parts::MemberLines(f)[0]), c.button1);
            QCOMPARE(parts::Headings(f)[2]->geometry(), c.panel3);
            QCOMPARE(parts::Button(f, "Button6")->geometry(), c.button6);
            QCOMPARE(parts::Picture(f, "ImageCa")->geometry(), c.title);
            QCOMPARE(parts::MemberLines(f)[0]->font().pixelSize(), c.listFont);
            QCOMPARE(parts::MemberLines(f)[0]->font().bold(), c.size != 1);
            for (auto* p : parts::Headings(f))
                QVERIFY(p->isVisible() && !p->isEnabled());
            QCOMPARE(parts::Headings(f)[0]->text(), QStringLiteral("Члены клуба"));
            QCOMPARE(parts::Headings(f)[2]->text(), QStringLiteral("Счет"));
            QCOMPARE(parts::Button(f, "Button6")->text(), QStringLiteral("Новый Игрок"));
            for (auto* a : parts::MenuAnimations(f))
                QVERIFY(a->isVisible() && a->HasAnimation());
            QCOMPARE(parts::MenuAnimations(f)[3]->geometry().size(), QSize(160, 160));
            // The icons keep their size along the top edge; the right-hand
            // ones follow the window's width.
            QCOMPARE(parts::Picture(f, "ImWT")->geometry(), Rect(c.client.width() - 53, 5, 48, 48));
            QCOMPARE(parts::Picture(f, "ImSt")->geometry(), Rect(c.client.width() - 159, 8, 48, 48));
            QCOMPARE(parts::Picture(f, "ImageAn")->geometry(), Rect(58, 5, 48, 48));
            QVERIFY(parts::Picture(f, "ImageAn")->isVisible());
            QVERIFY(!parts::Picture(f, "ImOnLineR")->isVisible()); // no store link
            QCOMPARE(parts::Picture(f, "ImAc")->toolTip(), QStringLiteral("Вы не вошли в свой аккаунт!"));
            QCOMPARE(parts::Picture(f, "ImageAn")->toolTip(), QStringLiteral("Скачать Vokabron.apk"));
            QCOMPARE(parts::Picture(f, "ImCh")->toolTip(), QStringLiteral("Tev-Чат"));

            const QImage shot = f.grab().toImage();
            shot.save(QStringLiteral(VOKABRON_BUILD_DIR "/artifacts/menu_size%1.png").arg(c.size));
            // The icons are drawn over the menu picture, not over a grey box.
            const QColor corner =
                shot.pixelColor(parts::Picture(f, "ImWT")->x() + 1, parts::Picture(f, "ImWT")->y() + 1);
            QCOMPARE(corner, f.MenuPicture().pixelColor(parts::Picture(f, "ImWT")->x() + 1,
                                                        parts::Picture(f, "ImWT")->y() + 1));
        }
    }

    void memberLinesShowTheClubFile()
    {
        MenuWindow w;
        vk::ClubLines lines = vk::EmptyClubFile();
        lines[0] = vk::MakeMemberLine(Cp("Маша"), 987, 7, vk::EncodePassword("ab"));
        w.WriteClub(lines);
        w.form.ShowMainMenu();
        const QString blanks4(4, ' ');
        QCOMPARE(parts::MemberLines(w.form)[0]->text(),
                 QStringLiteral("Маша") + QString(16, ' ') + blanks4 + "  7" + blanks4 + "     987");
        // An empty slot shows the club file's empty-slot text.
        QCOMPARE(parts::MemberLines(w.form)[1]->text(), QStringLiteral("####################    ###    ########"));
        // Not logged in, the fifth line is a member line in blue.
        QCOMPARE(parts::MemberLines(w.form)[4]->ColorSB(), vk::DBlue);
        QCOMPARE(parts::MemberLines(w.form)[4]->FontColor(), 0x800000u);
        QCOMPARE(w.form.MemberCopies()[0], lines[0]);
    }

    void anEmptySlotDoesNothing()
    {
        MenuWindow w;
        ModalAnswerer answer([](QWidget* modal) { modal->close(); });
        w.form.State().MemberSlot = 0;
        input::Click(parts::MemberLines(w.form)[2]);
        QCoreApplication::processEvents();
        QCOMPARE(answer.Count(), 0);
        QCOMPARE(w.form.State().MemberSlot, 0);
        QVERIFY(w.form.State().MenuActive);
    }

    void aMemberLineAsksForItsPasswordAndStartsTheGame()
    {
        MenuWindow w;
        vk::ClubLines lines = vk::EmptyClubFile();
        lines[0] = vk::MakeMemberLine(Cp("Маша"), 987, 7, vk::EncodePassword("ab"));
        w.WriteClub(lines);
        w.form.ShowMainMenu();

        // Cancelled: the menu stays.
        QString name;
        bool nameBoxEnabled = true;
        {
            ModalAnswerer answer([&](QWidget* modal) {
                auto* pw = qobject_cast<vk::TFormPassword*>(modal);
                QVERIFY(pw);
                name = testsupport::Find<QLineEdit>(*pw, "Edit1")->text();
                nameBoxEnabled = testsupport::Find<QLineEdit>(*pw, "Edit1")->isEnabled();
                QTimer::singleShot(0, testsupport::Find<vk::TTevQuizButton>(*pw, "Button2"), &QPushButton::click);
            });
            input::Click(parts::MemberLines(w.form)[0]);
            QCOMPARE(answer.Count(), 1);
        }
        QCOMPARE(name, QStringLiteral("Маша") + QString(16, ' '));
        QVERIFY(!nameBoxEnabled);
        QCOMPARE(w.form.State().MemberSlot, 1);
        QVERIFY(w.form.State().MenuActive);
        QVERIFY(parts::Picture(w.form, "ImWT")->isVisible());

        // The right password: the menu gives way to the game.
        {
            ModalAnswerer answer([&](QWidget* modal) {
                auto* pw = qobject_cast<vk::TFormPassword*>(modal);
                QVERIFY(pw);
                testsupport::Find<QLineEdit>(*pw, "Edit2")->setText(QStringLiteral("ab"));
                QTimer::singleShot(0, testsupport::Find<vk::TTevQuizButton>(*pw, "Button1"), &QPushButton::click);
            });
            input::Click(parts::MemberLines(w.form)[0]);
        }
        QVERIFY(w.form.State().Local.PasswordAccepted);
        QVERIFY(!w.form.State().MenuActive);
        QVERIFY(w.form.State().DealActive);
        QVERIFY(w.form.MenuPicture().isNull());
        QVERIFY(!parts::Picture(w.form, "ImWT")->isVisible() && !parts::Picture(w.form, "ImAc")->isVisible());
    }

    void newPlayerOffersTheLastName()
    {
        MenuWindow w;
        w.form.Preferences().PlayerName = Cp("  Петя ");
        QString name;
        bool nameBoxEnabled = false;
        ModalAnswerer answer([&](QWidget* modal) {
            auto* pw = qobject_cast<vk::TFormPassword*>(modal);
            QVERIFY(pw);
            name = testsupport::Find<QLineEdit>(*pw, "Edit1")->text();
            nameBoxEnabled = testsupport::Find<QLineEdit>(*pw, "Edit1")->isEnabled()
                             && testsupport::Find<QLineEdit>(*pw, "Edit3")->isEnabled();
            QTimer::singleShot(0, testsupport::Find<vk::TTevQuizButton>(*pw, "Button2"), &QPushButton::click);
        });
        input::Click(parts::Button(w.form, "Button6"));
        QCOMPARE(answer.Count(), 1);
        QCOMPARE(name, QStringLiteral("Петя"));
        QVERIFY(nameBoxEnabled);
        QCOMPARE(w.form.State().MemberSlot, 6);
        QVERIFY(w.form.State().MenuActive);
    }

    void theOptionsWindowChangesTheSizeAtOnce()
    {
        MenuWindow w;
        TForm1& f = w.form;
        const auto pickSize = [&f](int size) {
            ModalAnswerer answer([size](QWidget* modal) {
                auto* options = qobject_cast<vk::TFormOptions*>(modal);
                QVERIFY(options);
                options->SetAnimationPause(0);
                options->ClickRow(4 + size);
                QTimer::singleShot(0, testsupport::Find<vk::TTevQuizButton>(*options, "Button1"), &QPushButton::click);
            });
            input::Click(parts::Button(f, "Button10"));
            QCOMPARE(answer.Count(), 1);
        };

        pickSize(5);
        QCOMPARE(f.Preferences().WindowSize, 5);
        QCOMPARE(f.size(), QSize(1520, 1000));
        QCOMPARE(f.WindowLayout().Scale, 2.0);
        QCOMPARE(f.Background().size(), QSize(1520, 1000));
        QCOMPARE(f.MenuPicture().size(), QSize(1520, 1000));
        QCOMPARE(parts::InWindow(parts::MemberLines(f)[4]), Rect(350, 648, 820, 60));
        QCOMPARE(parts::Picture(f, "ImWT")->x(), 1467);
        // Own font: rnd(18 x 2 x 0.9 + rnd(8)) = 40; the member lines in a
        // fixed-pitch face, rnd(16 x 2) bold.
        QCOMPARE(parts::Button(f, "Button9")->font().pixelSize(), 40);
        QCOMPARE(parts::MemberLines(f)[0]->font().pixelSize(), 32);
        QVERIFY(parts::MemberLines(f)[0]->font().bold());
        // Centred by its frame on the 1920 x 1080 screen.
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(198, 38));
        f.grab().save(QStringLiteral(VOKABRON_BUILD_DIR "/artifacts/menu_size5_after_change.png"));

        // The whole screen: the client size is read back from the
        // maximised window, and the menu follows it.
        pickSize(2);
        QTRY_VERIFY(f.isMaximized());
        QTRY_COMPARE(f.MenuPicture().size(), f.size());
        QCOMPARE(f.WindowLayout().ClientW, f.width());
        QCOMPARE(f.Background().size(), f.size());
        QCOMPARE(parts::Picture(f, "ImWT")->x(), f.width() - 53);
        QCOMPARE(parts::InWindow(parts::MemberLines(f)[0]).x(), qRound(175 * f.WindowLayout().ScaleX));

        pickSize(1);
        QTRY_VERIFY(!f.isMaximized());
        QCOMPARE(f.size(), QSize(760, 500));
        QCOMPARE(f.MenuPicture().size(), QSize(760, 500));
        QCOMPARE(parts::InWindow(parts::MemberLines(f)[0]), Rect(175, 180, 410, 30));
        QCOMPARE(parts::MemberLines(f)[0]->font().pixelSize(), 11);
        QCOMPARE(parts::Button(f, "Button9")->font().pixelSize(), 22);
    }

    void helpOpensAtThePageOfTheContext()
    {
        MenuWindow w;
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "Help")));
        QVERIFY(w.form.findChild<vk::THelpWindow*>() && w.form.findChild<vk::THelpWindow*>()->isVisible());
        QTextBrowser* browser = testsupport::Find<QTextBrowser>(*w.form.findChild<vk::THelpWindow*>(), "HelpBrowser");
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/menu.html")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("«Новый Игрок»")));
        // The pages' shared style sheet reaches the window: the heading's colour.
        QColor heading;
        for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() == 1 && b.begin() != b.end()) {
                heading = b.begin().fragment().charFormat().foreground().color();
                break;
            }
        QCOMPARE(heading, QColor(0x00, 0x64, 0x64));

        // During a game the rules come up; the contents and the way back.
        w.form.StartNewPlayerGame();
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "Help")));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/rules.html")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("Вокаброн — Правила игры"));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w.form.findChild<vk::THelpWindow*>(), "ButtonContents"));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("Вокаброн — помощь"));
        QVERIFY(
            testsupport::Find<vk::TTevQuizButton>(*w.form.findChild<vk::THelpWindow*>(), "ButtonBack")->isEnabled());
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w.form.findChild<vk::THelpWindow*>(), "ButtonBack"));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/rules.html")));
        input::Click(testsupport::Find<vk::TTevQuizButton>(*w.form.findChild<vk::THelpWindow*>(), "ButtonForward"));
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
        w.form.findChild<vk::THelpWindow*>()->grab().save(
            QStringLiteral(VOKABRON_BUILD_DIR "/artifacts/help_window.png"));

        // The About window's thanks close it and open the page of credits.
        ModalAnswerer answer([](QWidget* modal) {
            auto* about = qobject_cast<vk::TFormAbout*>(modal);
            QVERIFY(about);
            QTimer::singleShot(
                0, about, [about] { input::Click(testsupport::Find<QLabel>(*about, "LabelThanks"), Qt::LeftButton); });
        });
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "About")));
        QCOMPARE(answer.Count(), 1);
        QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/credits.html")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("Old Standard TT")));
    }

    void iconsOpenPagesOrSayWhatIsUnavailable()
    {
        MenuWindow w;
        TForm1& f = w.form;
        QStringList opened;
        const vk::DesktopOpener desktop = vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return true;
        });
        const auto restore = qScopeGuard([&desktop] { vk::SetDesktopOpener(desktop); });

        // The help on the web: the contents or the rules, either by chance.
        for (int i = 0; i < 40; ++i)
            input::Click(parts::Picture(f, "ImHp"));
        QSet<QString> pages;
        for (const QString& a : opened) {
            QVERIFY2(a.startsWith(QStringLiteral("http")) && a.section('/', -2, -2) == QStringLiteral("help"),
                     qPrintable(a));
            pages << a.section('/', -1);
        }
        QCOMPARE(pages, (QSet<QString>{QStringLiteral("index.html"), QStringLiteral("rules.html")}));
        QVERIFY(!f.findChild<vk::THelpWindow*>() || !f.findChild<vk::THelpWindow*>()->isVisible());

        // No browser to be started: the help window opens at the same page.
        pages.clear();
        vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return false;
        });
        for (int i = 0; i < 40; ++i) {
            input::Click(parts::Picture(f, "ImHp"));
            QVERIFY(f.findChild<vk::THelpWindow*>() && f.findChild<vk::THelpWindow*>()->isVisible());
            const QString page =
                testsupport::Find<QTextBrowser>(*f.findChild<vk::THelpWindow*>(), "HelpBrowser")->source().fileName();
            QCOMPARE(page, opened.last().section('/', -1));
            pages << page;
        }
        QCOMPARE(pages, (QSet<QString>{QStringLiteral("index.html"), QStringLiteral("rules.html")}));
        f.findChild<vk::THelpWindow*>()->close();
        vk::SetDesktopOpener([&opened](const QUrl& address) {
            opened << address.toString();
            return true;
        });

        // The store icon appears with a store link and opens it.
        f.State().StoreLink = "https://store.example/app/vokabron";
        f.ShowMainMenu();
        QVERIFY(parts::Picture(f, "ImOnLineR")->isVisible());
        opened.clear();
        input::Click(parts::Picture(f, "ImOnLineR"));
        QCOMPARE(opened, QStringList{QStringLiteral("https://store.example/app/vokabron")});

        // What is not there says so; the chat and the world top ten open
        // while the club's configuration has them.
        QStringList notices;
        ModalAnswerer answer([&notices](QWidget* modal) { notices << TakeNotice(modal); });
        f.Preferences().ChatAvailable = false;
        f.Preferences().WttAvailable = false;
        input::Click(parts::Picture(f, "ImCh"));
        QVERIFY(input::ChooseFromPopup(&f, parts::Item(f, "N3")));
        input::Click(parts::Picture(f, "ImWT"));
        f.Preferences().ChatAvailable = true;
        f.Preferences().WttAvailable = true;
        input::Click(parts::Picture(f, "ImCh"));
        QVERIFY(input::ChooseFromPopup(&f, parts::Item(f, "N3")));
        input::Click(parts::Picture(f, "ImWT"));
        input::Click(parts::Picture(f, "ImageAn"));
        input::Click(parts::Picture(f, "ImSt"));
        input::Click(parts::Picture(f, "ImOnLineL"));
        input::Click(parts::Picture(f, "ImAc"));
        QCOMPARE(notices,
                 (QStringList{QStringLiteral("Чат временно недоступен!"), QStringLiteral("Чат временно недоступен!"),
                              QStringLiteral("Турнир World Top Ten временно недоступен!"), QStringLiteral("<FormChat>"),
                              QStringLiteral("<FormChat>"), QStringLiteral("<FormServerRead>"),
                              QStringLiteral("\"Вокаброн\" в формате Apk временно недоступен!"),
                              QStringLiteral("<FStat>"), QStringLiteral("<FormAdv>"), QStringLiteral("<FAcc1>")}));
        QVERIFY(f.State().MenuActive);
    }

    void buttonsAndItemsOpenTheirWindows()
    {
        MenuWindow w;
        QStringList seen;
        ModalAnswerer answer([&seen](QWidget* modal) {
            seen << QString::fromLatin1(modal->metaObject()->className());
            QTimer::singleShot(0, modal, [modal] { static_cast<QDialog*>(modal)->reject(); });
        });
        input::Click(parts::Button(w.form, "Button9"));
        input::Click(parts::Button(w.form, "Button10"));
        QVERIFY(input::ChooseFromPopup(&w.form, parts::Item(w.form, "About")));
        QCOMPARE(seen, (QStringList{QStringLiteral("vk::TFormTopTen"), QStringLiteral("vk::TFormOptions"),
                                    QStringLiteral("vk::TFormAbout")}));
        // "Выход" closes the window; from the menu nothing is asked.
        input::Click(parts::Button(w.form, "Button11"));
        QVERIFY(!w.form.isVisible());
        QCOMPARE(answer.Count(), 3);
    }

    // While a request runs the menu drops clicks, right clicks included;
    // the popup opens before it and again as soon as the answer is in.
    void aRightClickWaitsForARunningRequest()
    {
        MenuWindow w;
        TForm1& f = w.form;
        QPointer<QMenu> menu = input::RightClick(&f);
        QVERIFY(menu);
        menu->close();

        // A listener that takes the connection and never answers, until it
        // is closed.
        int port = 0;
        const int listener = ListenOnLoopback(&port);
        QVERIFY(port > 0);
        auto closeListener = qScopeGuard([listener] { ::close(listener); });

        QTemporaryDir target;
        QStringList notices;
        ModalAnswerer answer([&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                dialog->selectFile(target.filePath(QStringLiteral("held.apk")));
                QTimer::singleShot(0, dialog, &QDialog::accept);
                return;
            }
            notices << TakeNotice(modal);
        });
        f.State().PackageLink = "http://127.0.0.1:" + std::to_string(port) + "/Vokabron.apk";
        input::Click(parts::Picture(f, "ImageAn"));
        QTRY_VERIFY(f.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy());
        QVERIFY(!input::RightClick(&f));
        QVERIFY(!input::RightClick(parts::Button(f, "Button6")));
        QVERIFY(f.State().MenuActive);

        // The connection is refused: the download ends with its notice and
        // the popup is back.
        closeListener.dismiss();
        ::shutdown(listener, SHUT_RDWR);
        ::close(listener);
        QTRY_VERIFY_WITH_TIMEOUT(!f.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy(), 15000);
        QTRY_COMPARE(notices.size(), 1);
        menu = input::RightClick(&f);
        QVERIFY(menu);
        QVERIFY(parts::Item(f, "About")->isEnabled());
        input::ChooseItem(menu, parts::Item(f, "Help"));
        QVERIFY(f.findChild<vk::THelpWindow*>()->isVisible());
        f.findChild<vk::THelpWindow*>()->close();
    }

    void thePackageIsSavedWholeOrNotAtAll()
    {
        std::string package(300000, '\0');
        for (std::size_t i = 0; i < package.size(); ++i)
            package[i] = static_cast<char>(i * 7 + i / 251);
        ReplyServer server({
            {"/files/Vokabron-4.3.apk", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(package.size())
                                            + "\r\nConnection: close\r\n\r\n" + package},
            // The line breaks off after ten bytes of a long package.
            {"/files/broken/Vokabron.apk", "HTTP/1.1 200 OK\r\nContent-Length: 900000\r\nConnection: close\r\n\r\n"
                                           "0123456789"},
        });
        MenuWindow w;
        TForm1& f = w.form;
        QTemporaryDir target;
        const QString targetFile = target.filePath(QStringLiteral("mine.apk"));

        QString proposed;
        QStringList notices;
        ModalAnswerer answer([&](QWidget* modal) {
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                proposed = dialog->selectedFiles().value(0);
                dialog->selectFile(targetFile);
                QTimer::singleShot(0, dialog, &QDialog::accept);
                return;
            }
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                // Replace the file saved before: yes.
                QTimer::singleShot(0, box->button(QMessageBox::Yes), &QPushButton::click);
                return;
            }
            notices << TakeNotice(modal);
        });

        // A link whose name would climb out of the folder offers only the
        // name; the whole package lands under the chosen name.
        f.State().PackageLink = server.Address("/files/Vokabron-4.3.apk?from=../../x");
        input::Click(parts::Picture(f, "ImageAn"));
        // The download runs in the background with the menu busy.
        QTRY_VERIFY(!f.findChild<vk::WindowBusy*>(QStringLiteral("MenuBusy"))->IsBusy());
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("Vokabron-4.3.apk"));
        QCOMPARE(QFileInfo(proposed).absolutePath(), QDir(QString::fromStdString(f.State().ProgramDir)).absolutePath());
        QFile saved(targetFile);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray::fromStdString(package));
        saved.close();
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("mine.apk")});
        QVERIFY(notices.isEmpty());

        // A broken download and a missing package leave the old file as it
        // was and nothing beside it, and say the package is unavailable.
        for (const char* path : {"/files/broken/Vokabron.apk", "/files/none.apk"}) {
            f.State().PackageLink = server.Address(path);
            const int noticesBefore = notices.size();
            input::Click(parts::Picture(f, "ImageAn"));
            QTRY_COMPARE(notices.size(), noticesBefore + 1);
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QCOMPARE(saved.readAll(), QByteArray::fromStdString(package));
            saved.close();
            QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("mine.apk")});
        }
        QCOMPARE(notices, QStringList(2, QStringLiteral("\"Вокаброн\" в формате Apk временно недоступен!")));
    }
};

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VOKABRON_FIXTURE_DIR "/screens/desktop_1920.json");
    vk::DisableAutomaticScaling();
    QApplication app(argc, argv);
    QDir().mkpath(QStringLiteral(VOKABRON_BUILD_DIR "/artifacts"));
    MainMenuTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_menu_test.moc"
