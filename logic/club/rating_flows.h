#pragma once
// The club rating game's flows, as steps: its start (the game record read
// and the start saved), and its end (the state saved, then for a finished
// game of 900 points or more the entry on the club's board of the world top
// ten with the bonus of its place).  A flow never talks to the club itself:
// each step names the one request to send next, or the question to put to
// the player, and the flow goes on with the answer it is given.  The window
// sends the requests off its own thread and asks its questions only while
// no request runs; tests answer from a club of their own.
#include <cstdint>
#include <optional>

#include "logic/club/records.h"

namespace vk {

// One request to the club.
struct ClubCall {
    enum Kind { ReadGame, SaveGame, EnterBoard, ClaimBonus, ReadBalance };
    Kind What = ReadGame;
    TTevGame Game;           // SaveGame: the record to save
    std::int32_t Number = 0; // EnterBoard: the score; ClaimBonus: the bonus
};

// The club's answer to a ClubCall; Ok false when it failed in any way.
struct ClubReply {
    bool Ok = false;
    TTevGame Game;           // ReadGame: the record read
    std::int32_t Number = 0; // EnterBoard: the place; ReadBalance: the balance
};

// A question to the player, answered Yes (try again) or No (give up).
enum class RatingQuestion {
    RepeatSave, // "Не удалось установить связь с сервером!" "Повторить?"
    RepeatBoardEntry, // "Не удалось записать результат игры!" "Повторить?"
};

struct RatingStep {
    enum Kind { Call, Ask, Done };
    Kind What = Done;
    ClubCall Request;                                     // Call
    RatingQuestion Question = RatingQuestion::RepeatSave; // Ask
};

// The start of a rating game: the member's record read, the start
// registered.  `held` is the record the program holds now.
class RatingStartFlow {
public:
    explicit RatingStartFlow(const TTevGame& held) : record_(held) {}

    RatingStep Next() const;
    void Take(const ClubReply& reply);

    // The start is registered with the club: the game may begin.
    bool Registered() const { return registered_; }
    // The record the program holds afterwards: as the club holds it (the
    // start counted only when it was saved), with the unfinished game's deal
    // and score kept so that the game resumes there although the club now
    // holds none.  The held record when nothing could be read.
    const TTevGame& Record() const { return record_; }

private:
    enum class Stage { Reading, Saving, Finished };
    Stage stage_ = Stage::Reading;
    TTevGame record_;
    TTevGame read_;
    TTevGame toSave_;
    bool registered_ = false;
};

// The end of a rating game after "Выход": `dealNumber` deals played with
// `score` points.  Saves the state (again while the player says Yes); once
// a finished game's end is saved and its score reaches `boardMinScore`,
// enters it on the club's board (again while the player says Yes), claims
// the bonus of its place once and reads the balance back.
class RatingEndFlow {
public:
    RatingEndFlow(int dealNumber, std::int32_t score, const TTevGame& held, std::int32_t boardMinScore);

    RatingStep Next() const;
    void Take(const ClubReply& reply);
    void Decide(bool repeat);

    // The end (or the interruption) is registered with the club.
    bool Saved() const { return saved_; }
    // The record the program holds afterwards: the one saved, or the one
    // read before the failed save, or the held one when no read succeeded.
    const TTevGame& Record() const { return record_; }
    // The board took the result: the end-of-game window is shown with the
    // place and the bonus.
    bool Placed() const { return place_.has_value(); }
    std::int32_t Place() const { return place_.value_or(0); }
    std::int32_t Score() const { return score_; }
    // The bonus the club confirmed for the place: 25, 10 or 0; -1 when one
    // was due and claiming it failed.
    int Bonus() const { return bonus_; }
    // The balance as read back after a confirmed bonus.
    std::optional<std::int32_t> Balance() const { return balance_; }

private:
    enum class Stage { Reading, Saving, AskSave, Entering, AskEntry, Claiming, ReadingBalance, Finished };
    void AfterSave();

    Stage stage_ = Stage::Reading;
    int dealNumber_;
    std::int32_t score_;
    std::int32_t boardMinScore_;
    TTevGame record_;
    TTevGame toSave_;
    // The record as first read, and whether a later read shows this end
    // already counted (the answer to a save was lost on its way back).
    std::optional<TTevGame> firstRead_;
    bool alreadyCounted_ = false;
    bool saved_ = false;
    std::optional<std::int32_t> place_;
    int bonus_ = 0;
    std::optional<std::int32_t> balance_;
};

// Runs a flow to its end at once: `club(call)` answers every request and
// `decide(question)` every question.  For a caller that may wait in place
// (tests, tools); the window drives the same flows step by step.
template <typename Flow, typename Club, typename Decide>
void RunRatingFlow(Flow& flow, Club&& club, Decide&& decide)
{
    for (RatingStep step = flow.Next(); step.What != RatingStep::Done; step = flow.Next()) {
        if (step.What == RatingStep::Call) {
            flow.Take(club(step.Request));
            continue;
        }
        if constexpr (requires { flow.Decide(true); })
            flow.Decide(decide(step.Question));
        else
            return;
    }
}

} // namespace vk
