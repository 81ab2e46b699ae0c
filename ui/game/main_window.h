#pragma once
// TForm1: the main window.  The intro, the main menu and the game board all
// happen on it; every other window is opened from it.
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "net/club_startup.h"
#include "logic/club/club_state.h"
#include "net/http_client.h"
#include "net/rating_calls.h"
#include "logic/club/remote_config.h"
#include "ui/kit/request_runner.h"
#include "common/builtin_addresses.h"
#include "logic/game/board_layout.h"
#include "logic/game/game_state.h"
#include "logic/game/menu_layout.h"
#include "common/layout.h"
#include "logic/localdata/settings.h"
#include "logic/localdata/window_size.h"
#include "ui/kit/picture_scaling.h"

class QLabel;
class QMenu;
class QAction;
class QKeyEvent;
class QTimer;

namespace vk {

class DealView;
class IntroView;
class MenuView;
class TFormCount;
class TFormEndGame;
class TFormPassword;
class TFormOptions;
class TFormTopTen;
class THelpWindow;
class TFormFont;
class TFormAdv;
class WindowBusy;

// The club's addresses the window's own steps use, in their stored form;
// tests point them at a server of their own.
struct ClubAddresses {
    // Where the start-up reads the remote configuration and the news page.
    std::string ConfigAddress = RemoteConfigAddress;
    std::string NewsPageAddress = NewsAddress;
    // The club's photo folder and photo upload.
    std::string PhotoFolderPath = PhotoFolderAddress;
    std::string PhotoUploadPath = PhotoUploadAddress;
};

// The window is a thin shell: it owns the game's state, the settings and
// the club's state, runs the steps between screens and the club's steps,
// and shows its three screens through their views (IntroView, MenuView,
// DealView).
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- The state the window owns, for tests and benchmarks --------------
    GameState& State() { return Game; }
    const GameState& State() const { return Game; }
    Settings& Preferences() { return Prefs; }
    const Layout& WindowLayout() const { return Lay; }
    // The shared client of the club's requests (cookies kept for the run)
    // and the club's state.
    HttpClient& ClubHttp() { return IdHTTP1; }
    ClubStateData& ClubData() { return Club; }
    const ClubStateData& ClubData() const { return Club; }
    ClubAddresses& Addresses() { return Addresses_; }
    // Where the pick draws its numbers from; tests deal a puzzle of their
    // choosing through it.
    RandomSource& PuzzleSource() { return PuzzleRandom; }
    // The window's background at its size.
    const QImage& Background() const { return BackgroundPicture; }
    const QImage& MenuPicture() const;
    DealView& DealScreen() { return *dealView; }
    // Club file lines 1..5 as the menu last read them.
    const std::array<std::string, 5>& MemberCopies() const { return MemberCopy; }
    // The club's start-up steps still running in the background (tests).
    bool ClubStartupRunning() const;

    // ProgramDir + "Vokabron.clb".
    std::string ClubFilePath() const;
    // The fonts of the main window's buttons and of the dialogs, from the
    // window size and the own-font setting.
    void ApplyFonts();

    // ---- The main menu (main_menu.cpp) ------------------------------------
    // Downloads the package into `path` in the background, the menu busy
    // meanwhile; a second call while it runs does nothing.
    void DownloadPackage(const QString& path);

    void ShowMainMenu();
    // 1..5 a member line, 6 a new player.
    void StartFromSlot(int n);
    // The window size has changed (the Options window): the window, the
    // background, the fonts and the menu follow it at once.
    void ApplyWindowSize();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void ImOnLineLClick();
    void ImageAnClick();
    void ImAcClick();
    void ImOnLineRClick();
    void ImHpClick();
    void ImStClick();
    void ImChClick();
    void ImWTClick();
    void HelpClick();
    void AboutClick();
    void N3Click();

    // Runs the intro's phase machine; painter is null when the animation
    // calls it outside a paint.
    void FormPaint(QPainter* painter);
    void RxGIFAn1FrameChanged(int frameIndex);
    void EndIntro();
    void Timer2Timer();

    // Applies WindowSize to the window: the client size (or, at full screen,
    // a maximised window whose client size is read back once it has taken
    // effect) and the position at the centre of the screen.
    void SetWindowSize();

    // For window tests: runs the start-up without the intro's pictures and
    // animations and ends at the main menu, as a click after the intro
    // would.  The program itself calls it only when VOKABRON_STOP_AT_MENU
    // asks it to (the package test).
    void ShowMenuWithoutIntro();

    // ---- The game screen (game_screen.cpp) ----------------------------------
    // A game from the menu, once the password window has accepted the
    // player: the menu picture goes, then BeginDeal(new game).
    void StartGame();
    // A new player's game without the password window (MemberSlot 6): the
    // way in for window tests and benchmarks.
    void StartNewPlayerGame();
    void BeginDeal(bool continuing);
    void GuessLetter(int letterCode);
    // A typed character; true when it was a letter of the keyboard.
    bool FormKeyPress(const QString& typed);
    // Button001Click .. Button032Click: the click of letter key k.
    void LetterKeyClick(int k);
    void ButtonNClick();
    void Button8Click();
    void QuitClick();
    void GenCountClick();
    void ChangeNameClick();
    void HideGameScreen();

signals:
    // The intro has run the start-up sequence and waits for a click or a key.
    void introWaiting();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GameState Game;
    Settings Prefs;
    Layout Lay;
    ScreenLimits Limits; // computed once by the start-up sequence

    // The online club: the shared client of its requests (cookies kept for
    // the run), its state, and what the news page gave at start-up.
    HttpClient IdHTTP1;
    ClubStateData Club;
    NewsPage News;
    ClubAddresses Addresses_;
    RandomSource PuzzleRandom = ClockSeededRandom;

    // The three screens.
    IntroView* introView = nullptr;
    MenuView* menuView = nullptr;
    DealView* dealView = nullptr;

    // The popup and its items.
    QMenu* PopupMenu1 = nullptr;
    QAction* scoreItem = nullptr;      // GenCount, "Общий Счёт"
    QAction* leaveItem = nullptr;      // Quit, "Выход в меню"
    QAction* changeNameItem = nullptr; // ChangeName, "Изменить имя"
    QAction* helpItem = nullptr;       // Help, "Помощь"
    QAction* aboutItem = nullptr;      // About, "О программе"
    QAction* chatItem = nullptr;       // N3, "Чат"
    QTimer* musicTimer = nullptr;      // Timer2

    QImage BackgroundPicture;

    // The dialogs made with the application and reused at every showing.
    TFormPassword* FormPassword = nullptr;
    TFormOptions* FormOptions = nullptr;
    TFormTopTen* FormTopTen = nullptr;
    TFormEndGame* FormEndGame = nullptr;
    TFormCount* FormCount = nullptr;
    TFormFont* FormFont = nullptr;
    TFormAdv* FormAdv = nullptr;
    THelpWindow* FormHelp = nullptr;

    // Club file lines 1..5 as the last build read them; MemberCopy[n - 1]
    // is member line n.
    std::array<std::string, 5> MemberCopy;
    int HelpContext = 1; // 1 the menu, 5 a game
    // The menu waiting for a club answer that the player asked for.
    WindowBusy* MenuBusy = nullptr;

    void FormCreate();
    void InitMainWindow();
    void CreatePopupMenu();
    void LoadPuzzleBases();
    void RunPhaseFour();
    // The rest of phase four, once the title is whole.
    void FinishPhaseFour();
    bool StartupSequence();
    void AdvancePastAnimation();
    void CentreOnScreen();
    void ScaleBackground();
    // The window's pictures built into the picture cache on a worker: of
    // this size, or of the other sizes.
    void PrepareWindowPicturesInBackground(bool otherSizes);
    void SetWindowColour(QColor colour);
    void IconClicked(MenuIcon icon);
    // The help window, made at its first use.
    THelpWindow* HelpWindow();
    // An address of one of the club's help pages, shown in the help window
    // (no browser could be started); false for any other address.
    bool ShowClubHelpPage(const QString& address);

    void CreateDialogs();
    // The club's part of the start-up (startup_club_steps.cpp): it runs in
    // the background from the settings reading on, and its answers are
    // applied here as they come.
    void StartClubSteps();
    void OnRemoteConfig(const RemoteConfigAnswers& answers);
    void OnNewsPage(NewsPage page);
    void ContinueClubStartup();
    void ShowNewsWhenFree();
    void ReportStart();
    void AutoLogin();
    void ReadFifthLine();

    // The game screen's own steps (game_screen.cpp).
    void ConnectDealView();
    void SetPlayerAtStart();
    void LayOutBoard();
    // A key pressed anywhere in this window during a game; true when it is
    // used up here (a letter, or Space or Enter that no button may take).
    bool DealKeyPress(const QKeyEvent& event);
    void ReturnToMenu();
    void ShowEndOfGame();
    void ShowScoreWindow();
    void AskNewNameAndPassword();
    // The club's steps of a game (game_club_steps.cpp).
    // Registers the end of a rating game (and enters a finished one on the
    // club's board) in the background, then goes back to the menu.
    void SendClubResult(std::int32_t score);
    void ShowRatingResult(const RatingEndFlow& flow);
    RatingClub RatingClubOfMember() const;
    void ReportPlayedDeals(int dealsThisRun, bool lastDealPlayed);
    void OfferWorldTopTen(std::int32_t score);
    void ClubGameStart();
    // The main menu's own steps (main_menu.cpp).
    void ConnectMenuView();
    // Club states 1 to 3; any other value shows state 1.
    void ShowAccountLamp(int state);
    void SetMemberCaptions();
    void RebuildMenuAfterResize();
    // The logged-in member's nick, and the club's record of this game on
    // the fifth line, in red.
    std::string ClubNick() const;
    void ShowClubMemberLine(const std::string& nick, int dealReached, int score);
    // The club's windows as the menu opens them (menu_club_windows.cpp).
    void OpenMoreGamesWindow();
    // The account window; `forRatingGame` lets the player choose to play
    // for the club rating.  True when the window closed with that choice
    // made (ClubState 3).
    bool OpenAccountWindow(bool forRatingGame = false);
    void OpenStatisticsWindow();
    void OpenChatWindow();
    void OpenWorldTopTenWindow();
    // The fifth line of a logged-in member (game_club_steps.cpp).
    void StartRatingGame();

    bool screenCursorSet_ = false;
    // The start-up's club steps: the addresses refreshed, the club file
    // checked (the launch report and the login wait for both), a game
    // started in this run (a news notice that comes later is dropped).
    bool addressesKnown_ = false;
    bool clubFileChecked_ = false;
    bool clubStepsDone_ = false;
    bool gameStartedThisRun_ = false;
    std::optional<NewsPage> pendingNews_;
    QTimer* newsTimer_ = nullptr;
    RequestHandle configRead_, newsRead_, launchReport_, loginRead_, fifthLineRead_, packageDownload_;
    bool settingsRead_ = false;
    bool phaseFourRunning_ = false;
    bool menuRebuildQueued_ = false;
};

} // namespace vk
