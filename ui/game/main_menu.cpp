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

constexpr unsigned int kMenuColour = 0x646400; // dark teal
constexpr unsigned int kNavy = 0x800000;
constexpr unsigned int kAqua = 0xFFFF00;
constexpr unsigned int kYellow = 0x00FFFF;

// A package is a large file on a slow line: it may take as long as it
// keeps coming, and fails once nothing has come for half a minute.
constexpr TransportLimits kPackageLimits{5000, 0, 30000, 512LL * 1024 * 1024};

QRect ToRect(const ControlRect& r) { return QRect(r.Left, r.Top, r.Width, r.Height); }

void Click(const Settings& prefs) { PlayWavRes(QStringLiteral("WClick"), prefs.SoundOn); }

} // namespace

void TForm1::CreateMenuControls()
{
    const std::pair<PictureBox**, const char*> icons[] = {
        {&ImOnLineL, "ImOnLineL"}, {&ImageAn, "ImageAn"}, {&ImAc, "ImAc"}, {&ImOnLineR, "ImOnLineR"},
        {&ImHp, "ImHp"},           {&ImSt, "ImSt"},       {&ImCh, "ImCh"}, {&ImWT, "ImWT"},
    };
    // The column headings are disabled buttons with silver captions.
    for (TTevQuizButton* p : Panels)
        p->SetGrayDis(true);
    for (const auto& [icon, name] : icons) {
        *icon = new PictureBox(this);
        (*icon)->setObjectName(QLatin1String(name));
        (*icon)->setCursor(Qt::PointingHandCursor);
        (*icon)->resize(MenuIconSize, MenuIconSize);
        (*icon)->hide();
    }
    connect(ImOnLineL, &PictureBox::clicked, this, &TForm1::ImOnLineLClick);
    connect(ImageAn, &PictureBox::clicked, this, &TForm1::ImageAnClick);
    connect(ImAc, &PictureBox::clicked, this, &TForm1::ImAcClick);
    connect(ImOnLineR, &PictureBox::clicked, this, &TForm1::ImOnLineRClick);
    connect(ImHp, &PictureBox::clicked, this, &TForm1::ImHpClick);
    connect(ImSt, &PictureBox::clicked, this, &TForm1::ImStClick);
    connect(ImCh, &PictureBox::clicked, this, &TForm1::ImChClick);
    connect(ImWT, &PictureBox::clicked, this, &TForm1::ImWTClick);

    void (TForm1::*const memberClicks[5])() = {&TForm1::Button1Click, &TForm1::Button2Click, &TForm1::Button3Click,
                                               &TForm1::Button4Click, &TForm1::Button5Click};
    for (std::size_t i = 0; i < MemberButtons.size(); ++i)
        connect(MemberButtons[i], &QPushButton::clicked, this, memberClicks[i]);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connect(Help, &QAction::triggered, this, &TForm1::HelpClick);
    connect(About, &QAction::triggered, this, &TForm1::AboutClick);
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);

    MenuBusy = new WindowBusy(this);
}

void TForm1::ShowMainMenu()
{
    // The full-screen window keeps the size it was given; the others take
    // theirs again and stand in the middle of the screen.
    if (Prefs.WindowSize != SizeFullScreen) {
        setFixedSize(Lay.ClientW, Lay.ClientH);
        CentreOnScreen();
    }

    for (QAction* item : {Quit, GenCount, ChangeName})
        item->setEnabled(false);
    Image1->hide();
    SetWindowColour(ToQColor(kMenuColour));
    HelpContext = HelpContextMenu;

    MenuLayout = LayOutMainMenu(Lay);
    PlaceMenuControls();

    // "G_BGMenu" stretched to the window, area-averaged as every scaled
    // picture.  It is decoded at each build and let go at once: the
    // decoded picture alone would hold ten megabytes while the menu is up.
    // The conversions below work in place, so that no third picture of
    // the window's size is held on the way.
    MenuPicture = QImage();
    if (const auto bytes = ResourceBytes(ResourceKind::Raw, QStringLiteral("G_BGMenu"))) {
        QImage source = QImage::fromData(*bytes);
        source.convertTo(QImage::Format_RGBA8888);
        MenuPicture = source.size() == QSize(Lay.ClientW, Lay.ClientH)
                          ? std::move(source)
                          : AreaAveragedPicture(source, Lay.ClientW, Lay.ClientH);
    }
    if (MenuPicture.isNull()) {
        MenuPicture = QImage(Lay.ClientW, Lay.ClientH, QImage::Format_RGB32);
        MenuPicture.fill(ToQColor(kMenuColour));
    } else {
        // The menu colour shows where the picture is transparent.
        MenuPicture.convertTo(QImage::Format_ARGB32_Premultiplied);
        {
            QPainter p(&MenuPicture);
            p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
            p.fillRect(MenuPicture.rect(), ToQColor(kMenuColour));
        }
        MenuPicture.convertTo(QImage::Format_RGB32);
    }

    // The title over its piece of the menu picture.
    ImageCa->setGeometry(ToRect(MenuLayout.ImageCa));
    ImageCa->ResizeCanvas(ImageCa->width(), ImageCa->height());
    {
        QPainter p(&ImageCa->Canvas());
        p.drawImage(0, 0, MenuPicture, ImageCa->x(), ImageCa->y(), ImageCa->width(), ImageCa->height());
        DrawSmoothPicture(QStringLiteral("Caption"), p, 0, 0, ImageCa->width(), ImageCa->height());
    }
    ImageCa->show();
    ImageCa->update();

    for (TTevQuizButton* p : Panels)
        p->show();
    const char* const animations[4] = {"GSv", "GSv", "GMenu160", "GMenu160"};
    for (std::size_t i = 0; i < MenuAnimations.size(); ++i) {
        AnimationPlayer* a = MenuAnimations[i];
        LoadGifRes(QLatin1String(animations[i]), *a);
        a->setGeometry(ToRect(MenuLayout.Animations[i]));
        a->show();
    }

    const std::pair<PictureBox*, const char*> dressed[] = {
        {ImOnLineL, "AdvR"}, {ImageAn, "Android"}, {ImOnLineR, "GRuStore"}, {ImHp, "GHelp048"},
        {ImSt, "GStat048"},  {ImCh, "GChat048"},   {ImWT, "Earth48"},
    };
    for (const auto& [icon, picture] : dressed)
        DressIcon(icon, QLatin1String(picture));
    ImOnLineL->setToolTip(UiText(Msg::HintMoreGames));
    ImageAn->setToolTip(UiText(Msg::HintDownload).arg(FromUtf8(ProductNames[0])));
    ImOnLineR->setToolTip(UiText(Msg::HintStore).arg(FromUtf8(ProductNames[0])));
    ImHp->setToolTip(UiText(Msg::Help));
    ImSt->setToolTip(UiText(Msg::HintStatistics));
    ImCh->setToolTip(UiText(Msg::HintChat));
    ImWT->setToolTip(UiText(Msg::HintWorldTopTen));
    for (PictureBox* icon : {ImOnLineL, ImageAn, ImHp, ImSt, ImCh, ImWT})
        icon->show();
    ShowAccountLamp(Game.ClubState);
    ImOnLineR->setVisible(!Game.StoreLink.empty());

    Button6->setText(UiText(Msg::NewPlayer));
    SetMemberCaptions();
}

void TForm1::PlaceMenuControls()
{
    const Msg headings[3] = {Msg::MembersOfClub, Msg::GamesColumn, Msg::ScoreColumn};
    for (std::size_t i = 0; i < Panels.size(); ++i) {
        Panels[i]->setGeometry(ToRect(MenuLayout.Panels[i]));
        Panels[i]->setText(UiText(headings[i]));
    }
    for (std::size_t i = 0; i < MemberButtons.size(); ++i)
        MemberButtons[i]->setGeometry(ToRect(MenuLayout.MemberButtons[i]));
    Button6->setGeometry(ToRect(MenuLayout.Button6));
    Button9->setGeometry(ToRect(MenuLayout.Button9));
    Button10->setGeometry(ToRect(MenuLayout.Button10));
    Button11->setGeometry(ToRect(MenuLayout.Button11));
    const std::pair<PictureBox*, MenuIcon> icons[] = {
        {ImOnLineL, IconMoreGames}, {ImageAn, IconPackage}, {ImAc, IconAccount},   {ImOnLineR, IconStore},
        {ImHp, IconHelp},           {ImSt, IconStatistics}, {ImCh, IconChat},      {ImWT, IconWorldTopTen},
    };
    for (const auto& [icon, which] : icons)
        icon->setGeometry(ToRect(MenuLayout.Icons[which]));
    for (TTevQuizButton* b : MemberButtons)
        b->show();
    for (TTevQuizButton* b : {Button6, Button9, Button10, Button11})
        b->show();
}

void TForm1::DressIcon(PictureBox* icon, const QString& picture)
{
    // The icon's transparent parts show the menu picture under it.
    icon->ResizeCanvas(MenuIconSize, MenuIconSize);
    QPainter p(&icon->Canvas());
    p.drawImage(0, 0, MenuPicture, icon->x(), icon->y(), MenuIconSize, MenuIconSize);
    DrawResPicture(picture, p, 0, 0, 0, 0, false);
    p.end();
    icon->update();
}

void TForm1::ShowAccountLamp(int state)
{
    const AccountLamp lamp = AccountLampFor(state);
    DressIcon(ImAc, QStringLiteral("Account48"));
    {
        QPainter p(&ImAc->Canvas());
        DrawResPicture(QLatin1String(lamp.Picture), p, 24, 0, 0, 0, false);
    }
    ImAc->setToolTip(UiText(lamp.Hint));
    ImAc->show();
    ImAc->update();
}

void TForm1::SetMemberCaptions()
{
    const auto bytes = ReadWholeFile(ClubFilePath());
    const std::vector<std::string> lines = bytes ? SplitLines(*bytes) : std::vector<std::string>();
    for (std::size_t r = 0; r < MemberCopy.size(); ++r)
        MemberCopy[r] = r < lines.size() ? lines[r] : std::string(EmptyMemberLine);

    // Fitted in the list font of the small window, whatever the size.
    const QFontMetrics list(MakeFont(Prefs.MenuListFontName, 11, false));
    const auto width = [&list](std::string_view text) { return list.horizontalAdvance(ToQString(text)); };
    const auto memberCaption = [&](std::size_t r) {
        return ToQString(FitMemberCaption(MemberCaption(MemberCopy[r]), width));
    };
    for (std::size_t r = 0; r < 4; ++r)
        MemberButtons[r]->setText(memberCaption(r));

    TTevQuizButton* fifth = MemberButtons[4];
    fifth->SetColorSB(DBlue);
    fifth->SetFontColor(kNavy);
    fifth->SetColorMouse(kYellow);
    fifth->setText(memberCaption(4));
    ReadFifthLine();
}

void TForm1::ShowClubMemberLine(const std::string& nick, int dealReached, int score)
{
    TTevQuizButton* fifth = MemberButtons[4];
    fifth->SetColorSB(DRed);
    fifth->SetFontColor(kAqua);
    fifth->SetColorMouse(kYellow);
    fifth->setText(ToQString(ClubMemberCaption(nick, dealReached, score)));
}

std::string TForm1::ClubNick() const { return Club.ClubUser.Nick; }

void TForm1::HideMenuIcons()
{
    for (PictureBox* icon : {ImOnLineL, ImageAn, ImAc, ImOnLineR, ImHp, ImSt, ImCh, ImWT})
        icon->hide();
}

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
    FormPassword->ShowModal(n == 6 ? PasswordMode::NewPlayer : PasswordMode::Member, n, ClubFilePath(),
                            Game.Local);
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

void TForm1::ImHpClick()
{
    Click(Prefs);
    // Each page on the club server is also one of the program's own help
    // pages: where no browser can be started, the help window shows it
    // instead of nothing happening at all.
    struct HelpPage {
        const char* address;
        const char* page;
    };
    const HelpPage pages[2] = {{HelpIndexAddress, "index.html"}, {HelpRulesAddress, "rules.html"}};
    const HelpPage& chosen = pages[QRandomGenerator::global()->bounded(2)];
    if (OpenOutsideLink(this, FromUtf8(DecodeText(chosen.address, AddressStartKey))) != LinkOutcome::Opened)
        HelpWindow()->ShowPage(QString::fromLatin1(chosen.page));
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
    RefreshMenuButtons();
    ApplyFonts();
    ShowMainMenu();
    repaint();
}

void TForm1::RebuildMenuAfterResize()
{
    // The full-screen window learns its client size only once the maximise
    // has taken effect, after ApplyWindowSize has run: the menu is built
    // again for the size it really got, once the resizing has settled.
    if (menuRebuildQueued_ || MenuPicture.size() == QSize(Lay.ClientW, Lay.ClientH))
        return;
    menuRebuildQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        menuRebuildQueued_ = false;
        if (!Game.MenuActive || Prefs.WindowSize != SizeFullScreen
            || MenuPicture.size() == QSize(Lay.ClientW, Lay.ClientH))
            return;
        ScaleBackground();
        ShowMainMenu();
        update();
    });
}

void TForm1::RefreshMenuButtons()
{
    for (TTevQuizButton* b : MemberButtons)
        b->repaint();
    for (TTevQuizButton* b : {Button6, Button9, Button10, Button11})
        b->repaint();
    for (TTevQuizButton* p : Panels)
        p->repaint();
}

} // namespace vk
