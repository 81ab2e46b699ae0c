#include "logic/club/rating_flows.h"

#include "logic/club/club_rating.h"
#include "logic/game/scoring.h"

namespace vk {
namespace {

RatingStep CallStep(ClubCall::Kind what, const TTevGame& game = {}, std::int32_t number = 0)
{
    RatingStep step;
    step.What = RatingStep::Call;
    step.Request.What = what;
    step.Request.Game = game;
    step.Request.Number = number;
    return step;
}

RatingStep AskStep(RatingQuestion question)
{
    RatingStep step;
    step.What = RatingStep::Ask;
    step.Question = question;
    return step;
}

} // namespace

// ---- The start ----------------------------------------------------------------

RatingStep RatingStartFlow::Next() const
{
    switch (stage_) {
    case Stage::Reading: return CallStep(ClubCall::ReadGame);
    case Stage::Saving: return CallStep(ClubCall::SaveGame, toSave_);
    case Stage::Finished: break;
    }
    return {};
}

void RatingStartFlow::Take(const ClubReply& reply)
{
    if (stage_ == Stage::Reading) {
        if (!reply.Ok) {
            stage_ = Stage::Finished;
            return;
        }
        read_ = reply.Game;
        toSave_ = read_;
        RegisterRatingGameStart(toSave_);
        stage_ = Stage::Saving;
        return;
    }
    if (stage_ != Stage::Saving)
        return;
    registered_ = reply.Ok;
    // A start the club did not take counts nothing: Kon and the rating
    // stay as the club holds them.
    record_ = registered_ ? toSave_ : read_;
    record_.KonL = read_.KonL;
    record_.Score = read_.Score;
    stage_ = Stage::Finished;
}

// ---- The end ------------------------------------------------------------------

RatingEndFlow::RatingEndFlow(int dealNumber, std::int32_t score, const TTevGame& held, std::int32_t boardMinScore)
    : dealNumber_(dealNumber), score_(score), boardMinScore_(boardMinScore), record_(held)
{
}

RatingStep RatingEndFlow::Next() const
{
    switch (stage_) {
    case Stage::Reading: return CallStep(ClubCall::ReadGame);
    case Stage::Saving: return CallStep(ClubCall::SaveGame, toSave_);
    case Stage::AskSave: return AskStep(RatingQuestion::RepeatSave);
    case Stage::Entering: return CallStep(ClubCall::EnterBoard, {}, score_);
    case Stage::AskEntry: return AskStep(RatingQuestion::RepeatBoardEntry);
    case Stage::Claiming: return CallStep(ClubCall::ClaimBonus, {}, PlaceBonus(*place_));
    case Stage::ReadingBalance: return CallStep(ClubCall::ReadBalance);
    case Stage::Finished: break;
    }
    return {};
}

void RatingEndFlow::Take(const ClubReply& reply)
{
    switch (stage_) {
    case Stage::Reading:
        if (!reply.Ok) {
            stage_ = Stage::AskSave;
            return;
        }
        record_ = reply.Game;
        if (!firstRead_)
            firstRead_ = reply.Game;
        // The end is applied to what was read, as the club expects even of
        // a repeat; the club acknowledges the repeat of an end it has
        // already counted without counting it again, and the program then
        // keeps the record as read.
        alreadyCounted_ =
            GameCompleteAfter(dealNumber_) && reply.Game.KonL == 0 && reply.Game.Sessions == firstRead_->Sessions + 1;
        toSave_ = record_;
        RegisterRatingGameEnd(toSave_, dealNumber_, score_);
        stage_ = Stage::Saving;
        return;
    case Stage::Saving:
        // A failed save leaves the record as it was read.
        if (!reply.Ok) {
            stage_ = Stage::AskSave;
            return;
        }
        saved_ = true;
        if (!alreadyCounted_)
            record_ = toSave_;
        AfterSave();
        return;
    case Stage::Entering:
        if (!reply.Ok) {
            stage_ = Stage::AskEntry;
            return;
        }
        place_ = reply.Number;
        bonus_ = PlaceBonus(reply.Number);
        stage_ = bonus_ > 0 ? Stage::Claiming : Stage::Finished;
        return;
    case Stage::Claiming:
        // The club pays the bonus with the board entry and confirms the
        // claim once: it is claimed once, and never added here.
        bonus_ = ResultBonus(*place_, reply.Ok);
        stage_ = reply.Ok ? Stage::ReadingBalance : Stage::Finished;
        return;
    case Stage::ReadingBalance:
        if (reply.Ok)
            balance_ = reply.Number;
        stage_ = Stage::Finished;
        return;
    case Stage::AskSave:
    case Stage::AskEntry:
    case Stage::Finished: return;
    }
}

void RatingEndFlow::AfterSave()
{
    // Only a game whose end the club has registered can enter its board:
    // the club takes no result of a game it does not know as finished.
    const bool boardEntry = GameCompleteAfter(dealNumber_) && score_ >= boardMinScore_;
    stage_ = boardEntry ? Stage::Entering : Stage::Finished;
}

void RatingEndFlow::Decide(bool repeat)
{
    if (stage_ == Stage::AskSave)
        stage_ = repeat ? Stage::Reading : Stage::Finished;
    else if (stage_ == Stage::AskEntry)
        stage_ = repeat ? Stage::Entering : Stage::Finished;
}

} // namespace vk
