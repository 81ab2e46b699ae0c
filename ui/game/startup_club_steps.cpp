// The club's part of the start-up, in the background: the remote
// configuration (read once), the news page, the launch report and the
// automatic login.  The intro and the font window go on meanwhile; each
// answer is applied on the window thread when it comes.
#include <QApplication>
#include <QTimer>

#include "net/account_requests.h"
#include "ui/club/attention_window.h"
#include "net/club_startup.h"
#include "logic/club/user_file.h"
#include "common/outside_link.h"
#include "common/text_cipher.h"
#include "ui/game/main_window.h"
#include "ui/game/menu_view.h"
#include "logic/localdata/settings.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/text_codec.h"

namespace vk {

void TForm1::StartClubSteps()
{
    if (configRead_.Running() || addressesKnown_)
        return;
    configRead_ = RunRequest(
        this, [address = Addresses_.ConfigAddress] { return FetchRemoteConfig(address); },
        [this](RemoteConfigAnswers answers) { OnRemoteConfig(answers); });
    newsRead_ = RunRequest(
        this, [address = Addresses_.NewsPageAddress] { return FetchNews(address); },
        [this](NewsPage page) { OnNewsPage(page); });
}

bool TForm1::ClubStartupRunning() const
{
    return !clubStepsDone_ || configRead_.Running() || newsRead_.Running() || launchReport_.Running()
           || loginRead_.Running();
}

void TForm1::OnRemoteConfig(const RemoteConfigAnswers& answers)
{
    ApplyRemoteAddresses(Prefs, {answers.WttPath, answers.ChatAvailable, answers.StatPath, answers.AccPath},
                         BuiltinAccPath);
    addressesKnown_ = true;
    ContinueClubStartup();
}

// The launch report and the login need the refreshed addresses and a club
// file that passed its check; whichever comes last starts them.
void TForm1::ContinueClubStartup()
{
    if (!addressesKnown_ || !clubFileChecked_ || clubStepsDone_)
        return;
    clubStepsDone_ = true;
    if (Game.Local.DistributionLabel != ExemptDistributionLabel)
        ReportStart();
    AutoLogin();
}

void TForm1::OnNewsPage(NewsPage page)
{
    // What the page asks to open or download goes only over https, or to
    // the club itself: a forged or careless page must not send the player
    // to a file or a plain-text address of a stranger.
    const std::string club = DecodeText(Prefs.AccPath, ClubStartKey);
    for (std::string* link : {&page.StoreLink, &page.PackageLink, &page.Link})
        if (!link->empty() && !SecureOrClubAddress(*link, club))
            link->clear();
    News = page;
    Game.StoreLink = page.StoreLink;
    Game.PackageLink = page.PackageLink;
    if (Game.MenuActive)
        menuView->ShowStoreIcon(!Game.StoreLink.empty());
    if (!page.ShowNews)
        return;
    pendingNews_ = page;
    ShowNewsWhenFree();
}

// The notice waits for the menu with no window over it; once the player
// has started a game it is not wanted any more (it comes again at the next
// start).
void TForm1::ShowNewsWhenFree()
{
    if (!pendingNews_)
        return;
    if (gameStartedThisRun_ || Game.Closing) {
        pendingNews_.reset();
        return;
    }
    const bool free =
        Game.MenuActive && !Game.DealActive && !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
    if (!free) {
        if (!newsTimer_) {
            newsTimer_ = new QTimer(this);
            newsTimer_->setObjectName(QStringLiteral("NewsTimer"));
            newsTimer_->setInterval(250);
            connect(newsTimer_, &QTimer::timeout, this, &TForm1::ShowNewsWhenFree);
        }
        newsTimer_->start();
        return;
    }
    if (newsTimer_)
        newsTimer_->stop();
    const NewsPage news = *pendingNews_;
    pendingNews_.reset();
    ShowAttention(this, ToQString(news.Title), ToQString(news.Text), ToQString(news.Link));
}

void TForm1::ReportStart()
{
    const bool first = !Prefs.StartCounted;
    launchReport_ = RunRequest(
        this,
        [http = IdHTTP1, statPath = Prefs.StatPath, first]() mutable { return ReportLaunch(http, statPath, first); },
        [this, first](bool confirmed) {
            // A first start is counted once the server confirms it; later
            // starts keep what the file says.
            if (!first || !confirmed || Prefs.StartCounted)
                return;
            Prefs.StartCounted = true;
            WriteSettings(Game.ProgramDir, Prefs);
        });
}

void TForm1::AutoLogin()
{
    struct Login {
        bool LoggedIn = false;
        bool Tried = false;   // a stored login was there to try
        bool Reached = false; // and the club answered it
        ClubStateData Club;
    };
    loginRead_ = RunRequest(
        this,
        [http = IdHTTP1, accPath = Prefs.AccPath, userFile = UserFilePath(Game.ProgramDir), club = Club]() mutable {
            Login login;
            club.UserFileSaved = false;
            login.LoggedIn = vk::AutoLogin(http, accPath, userFile, club);
            login.Tried = club.UserFileSaved;
            login.Reached = login.Tried && LastRequestAnswered();
            login.Club = club;
            return login;
        },
        [this](Login login) {
            // The player may have logged in or out by hand meanwhile: that
            // stands.
            if (Game.ClubState != ClubLoggedOut || !Club.ClubUser.Nick.empty())
                return;
            Club = login.Club;
            if (!login.LoggedIn) {
                // Said on the lamp's tooltip only: nothing may stop the start.
                if (login.Tried)
                    menuView->SetAccountNote(
                        UiText(Msg::AutoLoginFailed) + QLatin1Char(' ')
                        + (login.Reached ? UiText(Msg::SavedLoginRefused) : UiText(Msg::ServerUnreachable)));
                return;
            }
            Game.ClubState = ClubLoggedIn;
            if (Game.MenuActive) {
                ShowAccountLamp(Game.ClubState);
                ReadFifthLine();
            }
        });
}

// The fifth member line of a logged-in member shows the club's record of
// this game; the line of the club file stands until the record comes.
void TForm1::ReadFifthLine()
{
    fifthLineRead_.Abandon();
    if (Game.ClubState <= ClubLoggedOut)
        return;
    struct Record {
        bool Read = false;
        TTevGame Game;
    };
    const std::string nick = Club.ClubUser.Nick;
    fifthLineRead_ = RunRequest(
        this,
        [http = IdHTTP1, accPath = Prefs.AccPath, nick, pw = Club.ClubUser.Pw, key = Club.ClubGameKey,
         game = Club.ClubGame]() mutable {
            Record record;
            record.Read = ClubReadGame(http, accPath, nick, pw, key, game);
            record.Game = game;
            return record;
        },
        [this, nick](Record record) {
            if (!record.Read || !Game.MenuActive || Game.ClubState <= ClubLoggedOut || Club.ClubUser.Nick != nick)
                return;
            Club.ClubGame = record.Game;
            ShowClubMemberLine(nick, record.Game.KonL, record.Game.Score);
        });
}

} // namespace vk
