// The main menu: the screen between games, its buttons, icons and popup
// items, and the change of the window size that rebuilds it.
#include <QAction>
#include <atomic>
#include <memory>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>

#include "net/account_requests.h"
#include "ui/club/attention_window.h"
#include "net/http_client.h"
#include "ui/kit/link_opener.h"
#include "common/atomic_file.h"
#include "common/builtin_addresses.h"
#include "common/messages.h"
#include "common/text_cipher.h"
#include "common/text_lines.h"
#include "ui/game/help_window.h"
#include "ui/game/main_window.h"
#include "ui/game/menu_view.h"
#include "ui/game/window_pictures.h"
#include "logic/game/menu_links.h"
#include "ui/localdata/about_window.h"
#include "ui/localdata/apply_fonts.h"
#include "logic/localdata/club_file.h"
#include "ui/kit/dialog_base.h"
#include "ui/localdata/options_window.h"
#include "ui/localdata/password_window.h"
#include "ui/localdata/top_ten_window.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

// A package is a large file on a slow line: it may take as long as it
// keeps coming, and fails once nothing has come for half a minute.
constexpr TransportLimits kPackageLimits{5000, 0, 30000, 512LL * 1024 * 1024};

void Click(const Settings& prefs) { PlayWavRes(QStringLiteral("WClick"), prefs.SoundOn); }

} // namespace

void TForm1::ConnectMenuView()
{
    void (TForm1::*const memberClicks[5])() = {&TForm1::Button1Click, &TForm1::Button2Click, &TForm1::Button3Click,
                                               &TForm1::Button4Click, &TForm1::Button5Click};
    connect(menuView, &MenuView::memberClicked, this, [this, memberClicks](int line) {
        if (line >= 1 && line <= 5)
            (this->*memberClicks[line - 1])();
    });
    connect(menuView, &MenuView::newPlayerClicked, this, &TForm1::Button6Click);
    connect(menuView, &MenuView::topTenClicked, this, &TForm1::Button9Click);
    connect(menuView, &MenuView::optionsClicked, this, &TForm1::Button10Click);
    connect(menuView, &MenuView::exitClicked, this, &TForm1::Button11Click);
    connect(menuView, &MenuView::iconClicked, this, &TForm1::IconClicked);

    MenuBusy = new WindowBusy(this);
    MenuBusy->setObjectName(QStringLiteral("MenuBusy"));
}

void TForm1::IconClicked(MenuIcon icon)
{
    void (TForm1::*const clicks[MenuIconCount])() = {
        &TForm1::ImOnLineLClick, &TForm1::ImageAnClick, &TForm1::ImAcClick, &TForm1::ImOnLineRClick,
        &TForm1::ImHpClick,      &TForm1::ImStClick,    &TForm1::ImChClick, &TForm1::ImWTClick,
    };
    if (icon >= 0 && icon < MenuIconCount)
        (this->*clicks[icon])();
}

void TForm1::ShowMainMenu()
{
    // The full-screen window keeps the size it was given; the others take
    // theirs again and stand in the middle of the screen.
    if (Prefs.WindowSize != SizeFullScreen) {
        setFixedSize(Lay.ClientW, Lay.ClientH);
        CentreOnScreen();
    }

    for (QAction* item : {leaveItem, scoreItem, changeNameItem})
        item->setEnabled(false);
    SetWindowColour(ToQColor(MenuColour));
    HelpContext = HelpContextMenu;

    menuView->Show(Game.ClubState, !Game.StoreLink.empty());
    SetMemberCaptions();
}

void TForm1::ShowAccountLamp(int state)
{
    // A failed automatic login stops mattering once the player is in.
    if (state > ClubLoggedOut)
        menuView->SetAccountNote({});
    menuView->ShowAccountLamp(state);
}

void TForm1::SetMemberCaptions()
{
    const auto bytes = ReadWholeFile(ClubFilePath());
    const std::vector<std::string> lines = bytes ? SplitLines(*bytes) : std::vector<std::string>();
    for (std::size_t r = 0; r < MemberCopy.size(); ++r)
        MemberCopy[r] = r < lines.size() ? lines[r] : std::string(EmptyMemberLine);

    menuView->ShowMemberLines(MemberCopy);
    ReadFifthLine();
}

void TForm1::ShowClubMemberLine(const std::string& nick, int dealReached, int score)
{
    menuView->ShowClubMemberLine(nick, dealReached, score);
}

std::string TForm1::ClubNick() const { return Club.ClubUser.Nick; }

void TForm1::StartFromSlot(int n)
{
    Game.Local.PasswordAccepted = false;
    Prefs.PlayerName = std::string(TrimBlanks(Prefs.PlayerName));
    if (n >= 1 && n <= 5 && IsEmptyMemberLine(MemberCopy[static_cast<std::size_t>(n - 1)]))
        return;
    if (n < 1 || n > 6)
        return;

    Click(Prefs);
    Game.MemberSlot = n;
    FormPassword->ShowModal(n == 6 ? PasswordMode::NewPlayer : PasswordMode::Member, n, ClubFilePath(), Game.Local);
    if (!Game.Local.PasswordAccepted)
        return;

    StartGame();
}

void TForm1::Button1Click() { StartFromSlot(1); }
void TForm1::Button2Click() { StartFromSlot(2); }
void TForm1::Button3Click() { StartFromSlot(3); }
void TForm1::Button4Click() { StartFromSlot(4); }

void TForm1::Button5Click()
{
    if (Game.ClubState == ClubLoggedOut)
        StartFromSlot(5);
    else
        StartRatingGame(); // plays its own click only when the password window opens
}

void TForm1::Button6Click() { StartFromSlot(6); }

void TForm1::Button9Click()
{
    Click(Prefs);
    FormTopTen->ShowModal(ClubFilePath());
}

void TForm1::Button10Click()
{
    Click(Prefs);
    FormOptions->ShowModal();
}

void TForm1::Button11Click()
{
    Click(Prefs);
    close();
}

void TForm1::ImOnLineLClick()
{
    Click(Prefs);
    OpenMoreGamesWindow();
}

void TForm1::ImageAnClick()
{
    if (Game.PackageLink.empty()) {
        ShowAttention(this, UiText(Msg::ApkUnavailable).arg(UiProductName()));
        return;
    }
    // Heard whatever the sound setting says: the download is on its way.
    PlayWavRes(QStringLiteral("WClick"), true);
    const std::string name = PackageFileName(Game.PackageLink, ProductNames[0]);
    const QString extension = QString::fromStdString(PackageExtension(name));
    const QString path = QFileDialog::getSaveFileName(
        this, UiText(Msg::HintDownload).arg(FromUtf8(ProductNames[0])),
        QDir(QString::fromStdString(Game.ProgramDir)).filePath(QString::fromStdString(name)),
        QStringLiteral("%1 (*.%1)").arg(extension));
    if (!path.isEmpty())
        DownloadPackage(path);
}

void TForm1::DownloadPackage(const QString& path)
{
    if (packageDownload_.Running())
        return;
    // The worker writes how far it has come; the window reads it for its
    // caption while the download runs.
    struct Progress {
        std::atomic<std::int64_t> Received{0};
        std::atomic<std::int64_t> Total{0};
    };
    auto progress = std::make_shared<Progress>();
    const QString fileName = QFileInfo(path).fileName();
    auto* ticker = new QTimer(this);
    ticker->setInterval(200);
    connect(ticker, &QTimer::timeout, this, [this, ticker, progress, fileName] {
        if (!packageDownload_.Running()) {
            ticker->deleteLater();
            return;
        }
        const std::int64_t total = progress->Total;
        const int percent = total > 0 ? static_cast<int>(progress->Received * 100 / total) : 0;
        setWindowTitle(UiText(Msg::Downloading).arg(fileName).arg(percent));
    });
    ticker->start();
    MenuBusy->Begin();
    // Nothing reaches the chosen name unless the whole package came: it is
    // written beside it first and renamed over it once complete.
    packageDownload_ = RunRequest(
        this,
        [address = Game.PackageLink, target = path.toStdString(), progress] {
            return HttpDownload(address, target, kPackageLimits, [progress](std::int64_t received, std::int64_t total) {
                progress->Received = received;
                progress->Total = total;
            });
        },
        [this](bool saved) {
            setWindowTitle(UiProductName());
            MenuBusy->End();
            if (!saved)
                ShowAttention(this, UiText(Msg::ApkUnavailable).arg(UiProductName()));
        });
}

void TForm1::ImAcClick()
{
    Click(Prefs);
    const int stateBefore = Game.ClubState;
    const std::string nickBefore = ClubNick();
    OpenAccountWindow();
    ShowAccountLamp(Game.ClubState);
    if (Game.ClubState != stateBefore || ClubNick() != nickBefore)
        ShowMainMenu();
}

void TForm1::ImOnLineRClick()
{
    if (Game.StoreLink.empty()) {
        ShowAttention(this, UiText(Msg::StoreUnavailable).arg(UiProductName()));
        return;
    }
    PlayWavRes(QStringLiteral("WClick"), true);
    OpenOutsideLink(this, FromUtf8(Game.StoreLink));
}

namespace {

// Each help page on the club server is also one of the program's own help
// pages.
struct ClubHelpPage {
    const char* address; // stored form
    const char* page;
};
constexpr ClubHelpPage kClubHelpPages[2] = {{HelpIndexAddress, "index.html"}, {HelpRulesAddress, "rules.html"}};

QString ClubHelpAddress(const ClubHelpPage& page) { return FromUtf8(DecodeText(page.address, AddressStartKey)); }

} // namespace

bool TForm1::ShowClubHelpPage(const QString& address)
{
    for (const ClubHelpPage& page : kClubHelpPages)
        if (QUrl(address) == QUrl(ClubHelpAddress(page))) {
            HelpWindow()->ShowPage(QString::fromLatin1(page.page));
            return true;
        }
    return false;
}

void TForm1::ImHpClick()
{
    Click(Prefs);
    // Where no browser can be started, the help window shows the page
    // (ShowClubHelpPage) instead of nothing happening at all.
    OpenOutsideLink(this, ClubHelpAddress(kClubHelpPages[QRandomGenerator::global()->bounded(2)]));
}

void TForm1::ImStClick()
{
    Click(Prefs);
    OpenStatisticsWindow();
}

void TForm1::ImChClick()
{
    Click(Prefs);
    if (Prefs.ChatAvailable)
        OpenChatWindow();
    else
        ShowAttention(this, UiText(Msg::ChatUnavailable));
}

void TForm1::N3Click() { ImChClick(); }

void TForm1::ImWTClick()
{
    Click(Prefs);
    if (Prefs.WttAvailable)
        OpenWorldTopTenWindow();
    else
        ShowAttention(this, UiText(Msg::WorldTopTenUnavailable));
}

void TForm1::HelpClick()
{
    Click(Prefs);
    if (UiLanguage() == 0)
        ShowInformation(this, UiText(Msg::HelpNotTranslated));
    HelpWindow()->ShowContext(HelpContext);
}

THelpWindow* TForm1::HelpWindow()
{
    if (!FormHelp) {
        FormHelp = new THelpWindow(this);
        FormHelp->SetButtonFont(MakeFont(Prefs.DisplayFontName, ButtonHeight, false));
    }
    return FormHelp;
}

void TForm1::AboutClick()
{
    Click(Prefs);
    if (const QString page = TFormAbout::ShowModal(Prefs, BackgroundPicture, this); !page.isEmpty())
        HelpWindow()->ShowPage(page);
}

// ---- The window size -------------------------------------------------------

void TForm1::ApplyWindowSize()
{
    SetWindowSize();
    ScaleBackground();
    // The old menu picture stays under the controls while they are rebuilt.
    repaint();
    menuView->Repaint();
    ApplyFonts();
    ShowMainMenu();
    repaint();
}

void TForm1::RebuildMenuAfterResize()
{
    // The full-screen window learns its client size only once the maximise
    // has taken effect, after ApplyWindowSize has run: the menu is built
    // again for the size it really got, once the resizing has settled.
    if (menuRebuildQueued_ || MenuPicture().size() == QSize(Lay.ClientW, Lay.ClientH))
        return;
    menuRebuildQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        menuRebuildQueued_ = false;
        if (!Game.MenuActive || Prefs.WindowSize != SizeFullScreen
            || MenuPicture().size() == QSize(Lay.ClientW, Lay.ClientH))
            return;
        ScaleBackground();
        ShowMainMenu();
        update();
    });
}

} // namespace vk
