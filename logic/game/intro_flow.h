#pragma once
// The intro's phase machine and the gates around it, kept apart from the
// window so that every decision can be checked without one.  The window
// reports what happened (a paint, an animation frame, the player's input, a
// close request) and carries out what it is told.
#include "logic/game/game_state.h"

namespace vk {

// What a paint of the main window has to do.
enum class PaintStep {
    StartStep1,   // first animation with its sound
    StartStep2,   // second animation with its sound
    RunPhaseFour, // title, settings, font window, start-up sequence, final animations
    DrawScreen,   // nothing of the intro: draw the menu or the game background
};

// Called at every paint; moves StartupPhase 0 -> 1, 2 -> 3 and 4 -> 5.
PaintStep OnPaint(GameState& game);

// An animation of steps 1 and 2 showed frame `frame` of `frameCount` (0
// when it could not be loaded).  True when its step is over: StartupPhase
// has moved on (1 -> 2 or 3 -> 4) and the window hides the animation and
// paints at once.  A shorter animation than planned ends its step on its
// own last frame, a missing one at once, so the intro never waits for a
// frame that cannot come.
bool OnIntroFrame(GameState& game, int frame, int frameCount);

// Phase four's work is queued behind its paint; it runs only while the
// intro is still on.
bool MayRunPhaseFour(const GameState& game);
// Phase four has finished: the final animations run and the intro waits.
void OnPhaseFourDone(GameState& game);

// A click on the intro picture or a key release ends the intro only once
// phase four has finished; before that it does nothing.
bool MayEndIntro(const GameState& game);

struct CloseDecision {
    bool AskToLeaveGame = false; // a game is on the board: ask first
    bool WriteSettings = false;  // the intro is over: the settings are kept
};
CloseDecision OnCloseRequest(const GameState& game);

} // namespace vk
