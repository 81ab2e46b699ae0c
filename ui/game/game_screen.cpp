// The game screen of the main window: setting up deals, the board, picking
// letters, and leaving the game.
#include <QAction>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "common/messages.h"
#include "common/product.h"
#include "logic/game/keyboard_layout.h"
#include "ui/game/deal_view.h"
#include "ui/game/main_window.h"
#include "ui/game/menu_view.h"
#include "logic/game/scoring.h"
#include "logic/localdata/club_file.h"
#include "ui/localdata/club_file_messages.h"
#include "ui/localdata/count_window.h"
#include "ui/localdata/end_game_window.h"
#include "ui/localdata/password_window.h"
#include "common/text_lines.h"
#include "ui/kit/accessibility.h"
#include "ui/kit/animation_player.h"
#include "ui/kit/audio.h"
#include "ui/kit/colour.h"
#include "ui/kit/dressing.h"
#include "ui/kit/message_box.h"
#include "ui/kit/picture_box.h"
#include "ui/kit/picture_scaling.h"
#include "ui/kit/quiz_button.h"
#include "ui/kit/resource_store.h"
#include "ui/kit/text_codec.h"

namespace vk {

void TForm1::ConnectDealView()
{
    connect(dealView, &DealView::letterClicked, this, &TForm1::LetterKeyClick);
    connect(dealView, &DealView::nextClicked, this, &TForm1::ButtonNClick);
    connect(dealView, &DealView::exitClicked, this, &TForm1::Button8Click);
}

void TForm1::StartGame()
{
    gameStartedThisRun_ = true;
    menuView->DropPicture();
    Game.MenuActive = false;
    Game.DealActive = true;
    BeginDeal(false);
    update();
}

void TForm1::StartNewPlayerGame()
{
    Game.MemberSlot = 6;
    StartGame();
}

void TForm1::BeginDeal(bool continuing)
{
    if (continuing && !NextDealOffered(Game.DealNumber))
        return;
    if (!continuing) {
        if (Prefs.MusicOn)
            PlayMusic(false);
        leaveItem->setEnabled(true);
        scoreItem->setEnabled(true);
        changeNameItem->setEnabled(Game.ClubState < ClubRatingGame);
        menuView->Hide();
        dealView->Place();
        SetPlayerAtStart();
    }

    Game.DealNumber += 1;
    Game.DealsThisRun += 1;
    Game.DealSolved = false;
    Game.Local.GameComplete = false;
    Game.DealActive = true;
    HelpContext = 5;

    PickPuzzle(Game.Memo1, Game.Memo2, Game.Puzzle, PuzzleRandom);
    ReadPuzzle(Game.Puzzle);
    LayOutBoard();
    dealView->ShowScore(Game.Score, Game.DealNumber);
    dealView->DressLetterKeys();
    dealView->ShowRatingMark(Game.ClubState == ClubRatingGame);
}

void TForm1::SetPlayerAtStart()
{
    switch (Game.MemberSlot) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
        // The menu offers only lines that hold a game; one that is gone by
        // now starts over rather than resuming nothing.
        Game.DealNumber = 0;
        Game.InitialScore = NewGameScore;
        const std::string path = ClubFilePath();
        const auto lines = ReadClubFile(path);
        if (!lines)
            break;
        const std::string& line = (*lines)[static_cast<std::size_t>(Game.MemberSlot - 1)];
        if (IsEmptyMemberLine(line))
            break;
        Game.Local.CurrentName = MemberName(line);
        Game.DealNumber = MemberDeals(line);
        Game.InitialScore = MemberScore(line);
        ReportClubWrite(this, TakeMemberOut(Game.MemberSlot, path, Game.Local));
        break;
    }
    case 7: ClubGameStart(); break;
    default:
        Game.DealNumber = 0;
        Game.InitialScore = NewGameScore;
        break;
    }
    Game.Local.CurrentName = PadRight(Game.Local.CurrentName, NameLength);
    Game.DealsThisRun = 0;
    Game.Score = Game.InitialScore;
}

void TForm1::LayOutBoard()
{
    SetUpDeal(Game.Deal, Game.Puzzle.PuzzleAnswer);
    dealView->ShowDeal(Game.Deal, Game.Puzzle);
    // With no cell at all the player would face a blank board: the caption
    // then tells the whole line.
    if (CellCount(Game.Deal.Cells) == 0)
        setWindowTitle(ToQString(Game.Puzzle.PuzzleLine));
    else
        setWindowTitle(FromUtf8(ProductNames[UiLanguage()]));
}

// ---- Picking letters ---------------------------------------------------------

void TForm1::LetterKeyClick(int k)
{
    if (!Game.DealActive || !dealView->KeyEnabled(k))
        return;
    // The key is used up before anything else happens, so a second click
    // or a typed repeat can never reach the guess again.
    dealView->UseKey(k);
    GuessLetter(0x0410 + k - 1);
}

void TForm1::GuessLetter(int letterCode)
{
    const int k = KeyOfTypedChar(static_cast<char32_t>(letterCode));
    const GuessOutcome outcome = PickLetter(Game.Deal, k, Game.Score);
    if (!outcome.Accepted)
        return;

    dealView->OpenCells(outcome.Opened, letterCode);

    // These three belong to the game itself and sound whatever the sound
    // setting says.
    if (!outcome.Opened.empty())
        PlayWavRes(QStringLiteral("WGGut"), true);
    else if (outcome.Missed)
        PlayWavRes(QStringLiteral("WG_Ai"), true);
    dealView->ShowScore(Game.Score, Game.DealNumber);
    dealView->AnnounceGuess(Game.Deal, outcome, letterCode, Game.Score);

    if (outcome.Solved) {
        Game.DealSolved = true;
        PlayWavRes(QStringLiteral("WGMil"), true);
        dealView->ShowSolved(NextDealOffered(Game.DealNumber));
    }
}

bool TForm1::FormKeyPress(const QString& typed)
{
    if (!Game.DealActive || typed.size() != 1)
        return false;
    // A player who forgot to switch layouts means the Russian letter on
    // the key.
    const int k = KeyOfTypedChar(RussianOnSameKey(typed.at(0).unicode()));
    if (k == 0)
        return false;
    if (dealView->KeyEnabled(k))
        LetterKeyClick(k);
    return true;
}

bool TForm1::DealKeyPress(const QKeyEvent& event)
{
    if (FormKeyPress(event.text()))
        return true;
    // Space and Enter would press whatever button has the focus.  In a
    // deal only "Дальше" and "Выход" may take them, once the deal is solved
    // and the player has moved the focus there; a slip of the thumb must
    // never cost a point.
    const int key = event.key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Once the deal is solved Enter means what the mouse would click next:
    // "Дальше", or "Выход" after the last deal.
    if (key != Qt::Key_Space && Game.DealSolved && !event.isAutoRepeat()) {
        (NextDealOffered(Game.DealNumber) ? dealView->NextButton() : dealView->ExitButton())->click();
        return true;
    }
    QWidget* focused = QApplication::focusWidget();
    return !dealView->IsDealButton(focused);
}

// ---- Between deals and the end of a game --------------------------------------

void TForm1::ButtonNClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    BeginDeal(true);
}

void TForm1::Button8Click()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    HideGameScreen();
    ReportPlayedDeals(Game.DealsThisRun, Game.DealNumber == DealsPerGame);
    // A rating game's state is the club's: the club file is not touched,
    // and the menu comes once the club has answered.
    if (Game.ClubState == ClubRatingGame) {
        SendClubResult(Game.Score);
        return;
    }
    const MemberLine record =
        MakeMemberLine(Game.Local.CurrentName, Game.Score, Game.DealNumber, Game.Local.CurrentPasswordCode);
    Game.Local.GameComplete = GameCompleteAfter(Game.DealNumber);
    ReportClubWrite(this, StoreDealResult(record, ClubFilePath(), Game.Local));
    if (Game.Local.GameComplete) {
        ShowEndOfGame();
        if (Game.Score >= WorldTopTenMinScore)
            OfferWorldTopTen(Game.Score);
    }
    ReturnToMenu();
}

void TForm1::QuitClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (Game.IntroActive || Game.MenuActive)
        return;
    const bool leave = AskYesNo(this, TwoLines(UiText(Msg::LeaveToMenu), UiText(Msg::AllDataLost)));
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (!leave)
        return;
    if (Game.ClubState == ClubRatingGame)
        Game.ClubState = ClubLoggedIn;
    Game.RatingGameActive = false;
    Game.RatingGameRegistered = false;
    HideGameScreen();
    ReturnToMenu();
}

void TForm1::ReturnToMenu()
{
    ShowMainMenu();
    leaveItem->setEnabled(false);
    scoreItem->setEnabled(false);
    changeNameItem->setEnabled(false);
    Game.MenuActive = true;
    Game.DealActive = false;
    update();
    HelpContext = 1;
    if (Prefs.MusicOn)
        PlayMusic(true);
}

void TForm1::GenCountClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    ShowScoreWindow();
}

void TForm1::ChangeNameClick()
{
    PlayWavRes(QStringLiteral("WClick"), Prefs.SoundOn);
    if (!Game.DealActive || Game.ClubState >= ClubRatingGame)
        return;
    Game.Local.PasswordAccepted = false;
    Game.MemberSlot = 6;
    AskNewNameAndPassword();
    if (Game.Local.PasswordAccepted)
        ShowInformation(this,
                        TwoLines(UiText(Msg::NameChanged), UiText(Msg::NewName) + ToQString(Game.Local.CurrentName)));
}

void TForm1::ShowEndOfGame()
{
    AnnounceAlert(this, UiText(Msg::A11yGameOver).arg(Game.Score));
    FormEndGame->ShowModal(Game.Local, Game.ClubState);
}

void TForm1::ShowScoreWindow()
{
    GameFigures figures;
    figures.CurrentName = Game.Local.CurrentName;
    figures.DealNumber = Game.DealNumber;
    figures.InitialScore = Game.InitialScore;
    figures.Score = Game.Score;
    figures.ClubState = Game.ClubState;
    FormCount->ShowModal(figures);
}

void TForm1::AskNewNameAndPassword()
{
    FormPassword->ShowModal(PasswordMode::ChangeName, 6, ClubFilePath(), Game.Local);
}

void TForm1::HideGameScreen()
{
    dealView->Hide();
    HelpContext = 1;
}

} // namespace vk
