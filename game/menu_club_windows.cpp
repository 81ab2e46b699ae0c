// The club's windows and requests as the main menu reaches them.  The
// club's own windows (more games, account, statistics, chat, world top ten)
// and the rating game take these steps over; until the main window holds
// the club's state and transport, the club is not connected, the player is
// never logged in, and each step tells the player so.
#include "club/attention_window.h"
#include "game/main_window.h"
#include "presentation/text_codec.h"

namespace vk {

void TForm1::OpenMoreGamesWindow() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

// Opens the account window (login, card, the choice of a rating game);
// the menu then shows the club state and nick it left behind.
void TForm1::OpenAccountWindow() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

void TForm1::OpenStatisticsWindow() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

// Called only while the chat is available.
void TForm1::OpenChatWindow() { ShowAttention(this, UiText(Msg::ChatUnavailable)); }

// Called only while the world top ten is available.
void TForm1::OpenWorldTopTenWindow() { ShowAttention(this, UiText(Msg::WorldTopTenUnavailable)); }

// The fifth line of a logged-in member starts a game for the club rating.
void TForm1::StartRatingGame() { ShowAttention(this, UiText(Msg::ClubNotConnected)); }

// The logged-in member's nick; empty while nobody is logged in.
std::string TForm1::ClubNick() const { return {}; }

// The logged-in member's record of this game for the menu's fifth line: the
// deal reached and the score of an unfinished rating game.  False when it
// could not be read; the line then shows the fifth member line instead.
bool TForm1::ReadClubGameForMenu(std::string&, int&, int&) { return false; }

} // namespace vk
