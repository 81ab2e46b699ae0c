// The club's part in a game's flow: the statistics report of played deals,
// the world top ten, the club rating game's start and end.  The rating
// game's flows (club/rating_flows.h) run here step by step: each request
// off the window thread with the window busy, each question in a box while
// no request runs.
#include <functional>
#include <memory>

#include "ui/club/attention_window.h"
#include "net/rating_calls.h"
#include "logic/club/rating_flows.h"
#include "net/statistics.h"
#include "ui/club/wtt_write_window.h"
#include "common/messages.h"
#include "common/text_lines.h"
#include "ui/game/main_window.h"
#include "logic/game/scoring.h"
#include "common/rounding.h"
#include "ui/kit/message_box.h"
#include "ui/kit/text_codec.h"
#include "ui/kit/window_busy.h"

namespace vk {
namespace {

QString RepeatQuestionText(RatingQuestion question)
{
    if (question == RatingQuestion::RepeatSave)
        return UiText(Msg::ServerUnreachable) + QStringLiteral("\n\r") + UiText(Msg::RepeatQuestion);
    return UiText(Msg::CantWriteResult) + QLatin1Char(' ') + UiText(Msg::RepeatQuestion);
}

// Drives Flow to its end: each request through the runner with the window
// busy, each question once the request before it has answered.  Every
// repeat is the player's Yes.
// `reached` (when given) learns whether the last request found the club.
template <typename Flow>
void DriveRatingFlow(TForm1* form, WindowBusy* busy, std::shared_ptr<Flow> flow, HttpClient http, RatingClub club,
                     std::function<void()> finished, std::shared_ptr<bool> reached = nullptr)
{
    for (;;) {
        const RatingStep step = flow->Next();
        if (step.What == RatingStep::Done) {
            finished();
            return;
        }
        if (step.What == RatingStep::Ask) {
            if constexpr (requires { flow->Decide(true); })
                flow->Decide(AskYesNo(form, RepeatQuestionText(step.Question)));
            else
                return;
            continue;
        }
        busy->Begin();
        RunRequest(
            form,
            [http, club, call = step.Request]() mutable {
                const ClubReply reply = SendClubCall(http, club, call);
                return std::make_pair(reply, LastRequestAnswered());
            },
            [form, busy, flow, http, club, finished, reached](std::pair<ClubReply, bool> answer) {
                busy->End();
                if (reached)
                    *reached = answer.second;
                flow->Take(answer.first);
                DriveRatingFlow(form, busy, flow, http, club, finished, reached);
            });
        return;
    }
}

} // namespace

RatingClub TForm1::RatingClubOfMember() const
{
    return RatingClub{Prefs.AccPath, Prefs.WttAddress, Club.ClubUser, Club.ClubGameKey};
}

// The fifth line of a logged-in member: the account window, where the
// player chooses to play for the club rating, then the start registered
// with the club.
void TForm1::StartRatingGame()
{
    Game.RatingGameRegistered = false;
    Game.RatingGameActive = false;
    const int stateBefore = Game.ClubState;
    const std::string nickBefore = ClubNick();
    OpenAccountWindow(true);
    if (Game.ClubState != ClubRatingGame) {
        if (Game.ClubState != stateBefore || ClubNick() != nickBefore) {
            ShowAccountLamp(Game.ClubState);
            ShowMainMenu();
        }
        return;
    }
    auto flow = std::make_shared<RatingStartFlow>(Club.ClubGame);
    auto reached = std::make_shared<bool>(false);
    DriveRatingFlow(
        this, MenuBusy, flow, IdHTTP1, RatingClubOfMember(),
        [this, flow, reached] {
            Club.ClubGame = flow->Record();
            Game.RatingGameRegistered = flow->Registered();
            if (!Game.RatingGameRegistered) {
                // The player is logged out here: said along with the reason.
                ShowAttention(this, TwoLines(UiText(*reached ? Msg::RatingStartRefused : Msg::ServerUnreachable),
                                             UiText(Msg::RatingNotStarted)));
                Game.ClubState = ClubLoggedOut;
                ShowAccountLamp(Game.ClubState);
                ShowMainMenu();
                return;
            }
            Game.RatingGameActive = true;
            Game.MemberSlot = 7;
            StartGame();
        },
        reached);
}

void TForm1::ClubGameStart()
{
    // A club account game plays under the member's nick; an unfinished
    // rating game goes on at its deal with its score.
    Game.Local.CurrentName = PadRight(Club.ClubUser.Nick, NameLength);
    const bool resumed = Club.ClubGame.KonL > 0;
    Game.DealNumber = resumed ? Club.ClubGame.KonL : 0;
    Game.InitialScore = resumed ? Club.ClubGame.Score : NewGameScore;
}

// "Выход" in a rating game: the state registered with the club and, for a
// finished game of 900 points or more, its entry on the club's board; then
// the menu.
void TForm1::SendClubResult(std::int32_t score)
{
    // The game is over for the player: nothing of it may be asked for
    // while the club answers.
    for (QAction* item : {leaveItem, scoreItem, changeNameItem})
        item->setEnabled(false);
    auto flow = std::make_shared<RatingEndFlow>(Game.DealNumber, score, Club.ClubGame, WorldTopTenMinScore);
    DriveRatingFlow(this, MenuBusy, flow, IdHTTP1, RatingClubOfMember(), [this, flow] {
        Club.ClubGame = flow->Record();
        if (flow->Placed())
            ShowRatingResult(*flow);
        else if (flow->Saved() && GameCompleteAfter(Game.DealNumber))
            // A finished game off the board still hears how it went.
            ShowAttention(this, UiText(Msg::RatingGameOver),
                          UiText(Msg::YourScore) + QLatin1Char(' ') + QString::number(flow->Score())
                              + QStringLiteral(" ;  ") + UiText(Msg::YourRating) + QLatin1Char(' ')
                              + QString::number(RoundEven(Club.ClubGame.Rating)));
        Game.RatingGameRegistered = false;
        Game.RatingGameActive = false;
        if (Game.ClubState == ClubRatingGame)
            Game.ClubState = ClubLoggedIn;
        ReturnToMenu();
    });
}

void TForm1::ShowRatingResult(const RatingEndFlow& flow)
{
    Game.Local.ResultPlace = flow.Place();
    Game.Local.ResultScore = flow.Score();
    Game.Local.ResultBonus = flow.Bonus();
    if (flow.Balance())
        Club.ClubUser.R04 = *flow.Balance();
    ShowEndOfGame();
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

} // namespace vk
