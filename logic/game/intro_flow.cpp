#include "logic/game/intro_flow.h"

namespace vk {

PaintStep OnPaint(GameState& game)
{
    switch (game.StartupPhase) {
    case 0: game.StartupPhase = 1; return PaintStep::StartStep1;
    case 2: game.StartupPhase = 3; return PaintStep::StartStep2;
    case 4: game.StartupPhase = 5; return PaintStep::RunPhaseFour;
    default: return PaintStep::DrawScreen;
    }
}

bool OnIntroFrame(GameState& game, int frame, int frameCount)
{
    if (!game.IntroActive)
        return false;
    int target = 0;
    if (game.StartupPhase == 1)
        target = 100;
    else if (game.StartupPhase == 3)
        target = 46;
    else
        return false;
    const int last = frameCount - 1;
    const bool over = frameCount <= 0 || frame == target || (last < target && frame == last);
    if (over)
        game.StartupPhase += 1;
    return over;
}

bool MayRunPhaseFour(const GameState& game) { return game.IntroActive && game.StartupPhase == 5 && !game.IntroWaiting; }

void OnPhaseFourDone(GameState& game)
{
    if (game.IntroActive && game.StartupPhase == 5)
        game.IntroWaiting = true;
}

bool MayEndIntro(const GameState& game) { return game.IntroActive && game.StartupPhase == 5 && game.IntroWaiting; }

CloseDecision OnCloseRequest(const GameState& game)
{
    CloseDecision d;
    d.AskToLeaveGame = !game.IntroActive && !game.MenuActive;
    d.WriteSettings = !game.IntroActive;
    return d;
}

} // namespace vk
