// The club's windows as the main menu opens them.
#include "ui/club/account_window.h"
#include "ui/club/adv_window.h"
#include "ui/club/chat_window.h"
#include "ui/club/stat_window.h"
#include "ui/club/wtt_read_window.h"
#include "ui/game/main_window.h"

namespace vk {

void TForm1::OpenMoreGamesWindow()
{
    FormAdv->SetConfigAddress(Addresses_.ConfigAddress);
    FormAdv->ShowModal();
}

// Opens the account window (login, card, the choice of a rating game);
// the menu then shows the club state and nick it left behind.
bool TForm1::OpenAccountWindow(bool forRatingGame)
{
    AccountContext context;
    context.Http = IdHTTP1;
    context.Addresses = {Prefs.AccPath, Addresses_.PhotoFolderPath, Addresses_.PhotoUploadPath};
    context.ProgramDir = Game.ProgramDir;
    context.Club = &Club;
    context.ClubState = &Game.ClubState;
    context.RatingGameLocked = Game.RatingGameRegistered || Game.RatingGameActive;
    if (Game.ClubState < ClubLoggedOut)
        Game.ClubState = ClubLoggedOut;
    ShowAccountWindow(Prefs, BackgroundPicture, context, forRatingGame, this);
    if (!forRatingGame && Game.ClubState == ClubRatingGame)
        Game.ClubState = ClubLoggedIn;
    return Game.ClubState == ClubRatingGame;
}

void TForm1::OpenStatisticsWindow() { ShowStatistics(Prefs, BackgroundPicture, IdHTTP1, Game.ProgramDir, this); }

// Called only while the chat is available.
void TForm1::OpenChatWindow()
{
    TFormChat window(Prefs, BackgroundPicture, IdHTTP1, this);
    window.exec();
}

// Called only while the world top ten is available.
void TForm1::OpenWorldTopTenWindow() { ShowWorldTopTen(Prefs, BackgroundPicture, IdHTTP1, Club, this); }

} // namespace vk
