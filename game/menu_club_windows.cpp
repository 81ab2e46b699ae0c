// The club's windows as the main menu opens them.  The club's own windows
// (more games, account, statistics, chat, world top ten) and the rating
// game take these steps over; until they are part of the program, each
// step tells the player that this part of the club is not there yet.
#include "club/adv_window.h"
#include "club/attention_window.h"
#include "club/stat_window.h"
#include "game/main_window.h"
#include "presentation/text_codec.h"

namespace vk {

void TForm1::OpenMoreGamesWindow()
{
    FormAdv->ConfigAddress = ConfigAddress;
    FormAdv->ShowModal();
}

// Opens the account window (login, card, the choice of a rating game);
// the menu then shows the club state and nick it left behind.
void TForm1::OpenAccountWindow() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

void TForm1::OpenStatisticsWindow() { ShowStatistics(Prefs, BackgroundPicture, IdHTTP1, Game.ProgramDir, this); }

// Called only while the chat is available.
void TForm1::OpenChatWindow() { ShowAttention(this, UiText(Msg::ChatUnavailable)); }

// Called only while the world top ten is available.
void TForm1::OpenWorldTopTenWindow() { ShowAttention(this, UiText(Msg::WorldTopTenUnavailable)); }

// The fifth line of a logged-in member starts a game for the club rating.
void TForm1::StartRatingGame() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

} // namespace vk
