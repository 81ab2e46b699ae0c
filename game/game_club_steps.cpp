// The club's part in a game's flow: the statistics report of played deals,
// the world top ten, the club rating game's start and end.  They talk to the
// club servers; until the rating game is built in, every game is an offline
// game and the rating game's steps have nothing to do.
#include "club/statistics.h"
#include "club/wtt_write_window.h"
#include "game/main_window.h"
#include "game/scoring.h"

namespace vk {

void TForm1::SendClubResult(std::int32_t)
{
    // Registers the end (or the interruption) of a club rating game; acts
    // only when ClubState is 3.
}

void TForm1::ReportPlayedDeals(int dealsThisRun, bool lastDealPlayed)
{
    // Tells the statistics service how many deals this run played and
    // whether the game reached its last deal; nobody waits for the answer.
    RunRequest(
        this,
        [http = IdHTTP1, statPath = Prefs.StatPath, dealsThisRun, lastDealPlayed]() mutable {
            return ReportDeal(http, statPath, dealsThisRun, lastDealPlayed ? 1 : 0);
        },
        [](bool) {});
}

void TForm1::OfferWorldTopTen(std::int32_t score)
{
    // The result window holds the score until it is sent or the window
    // closes.
    TFormServerWrite window(Prefs, BackgroundPicture, IdHTTP1, score, this);
    window.exec();
}

void TForm1::EnterClubRatingResult()
{
    // A finished club rating game of 900 points or more goes to the club's
    // board of the world top ten, with the currency bonus of its place.
}

void TForm1::ClubGameStart()
{
    // A club account game takes the member's nick and, for an unfinished
    // rating game, its deal count and score from the club's record.
    Game.DealNumber = 0;
    Game.InitialScore = NewGameScore;
}

} // namespace vk
