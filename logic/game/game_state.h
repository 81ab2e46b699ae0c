#pragma once
// The shared state of the game screen.  One instance lives for the whole run,
// owned by the main window; logic takes it by reference so tests build their
// own.
#include <cstdint>
#include <string>
#include <vector>

#include "common/product.h"
#include "logic/game/board.h"
#include "logic/game/puzzle_base.h"
#include "logic/localdata/club_file.h"

namespace vk {

// ClubState values.
enum : int { ClubLoggedOut = 1, ClubLoggedIn = 2, ClubRatingGame = 3 };

struct GameState {
    // Screen modes: exactly one of intro, menu and game is on.
    bool IntroActive = false;
    bool MenuActive = false;
    bool DealActive = false;
    bool Closing = false;
    int StartupPhase = 0;      // 0..5, driven by paints and the intro animation
    bool IntroWaiting = false; // phase four has finished; a click or a key ends the intro

    // Who plays and how the game was started.
    int ClubState = 0;
    int MemberSlot = 0; // 1..5 resumed member line, 6 new player, 7 club account game
    // The player's name and password, the club file's protection and the
    // result of the last filing (CurrentName, PasswordAccepted,
    // GameComplete, ResultScore, ResultPlace, ...).
    LocalClubState Local;

    // Progress of the game.
    int DealNumber = 0;
    int DealsThisRun = 0;
    std::int32_t Score = 0;
    std::int32_t InitialScore = 0;
    bool DealSolved = false;
    bool RatingGameActive = false;
    bool RatingGameRegistered = false;

    // The puzzle of the current deal and both bases, one line per puzzle.
    PuzzleState Puzzle;
    DealBoard Deal; // the board of the current deal and the letters picked
    std::vector<std::string> Memo1;
    std::vector<std::string> Memo2;

    // Folders, each ending with a separator.
    std::string ProgramDir;
    std::string TempDir;

    // Addresses from the news page; empty when it did not give them.
    std::string StoreLink;
    std::string PackageLink;
};

} // namespace vk
