#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/game/intro_flow.h"

using namespace vk;

namespace {

// One event the window reports, and what the flow must answer.
enum class Event { Paint, Frame, PhaseFourRuns, PhaseFourDone, Input };

struct Step {
    Event event;
    int frame = 0;      // Frame: the index shown
    int frameCount = 0; // Frame: frames of the animation (0: not loaded)
    std::string expect; // what the flow decides
    int phaseAfter = 0;
};

std::string Decide(GameState& g, const Step& s)
{
    switch (s.event) {
    case Event::Paint:
        switch (OnPaint(g)) {
        case PaintStep::StartStep1: return "step1";
        case PaintStep::StartStep2: return "step2";
        case PaintStep::RunPhaseFour: return "queue phase four";
        case PaintStep::DrawScreen: return "draw";
        }
        return "?";
    case Event::Frame: return OnIntroFrame(g, s.frame, s.frameCount) ? "advance" : "-";
    case Event::PhaseFourRuns: return MayRunPhaseFour(g) ? "run" : "skip";
    case Event::PhaseFourDone: OnPhaseFourDone(g); return "-";
    case Event::Input:
        if (!MayEndIntro(g))
            return "ignore";
        g.IntroActive = false; // what the window's EndIntro does
        g.MenuActive = true;
        return "end intro";
    }
    return "?";
}

void Play(const std::vector<Step>& steps)
{
    GameState g;
    g.IntroActive = true;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(Decide(g, steps[i]), steps[i].expect) << "step " << i;
        EXPECT_EQ(g.StartupPhase, steps[i].phaseAfter) << "step " << i;
    }
}

} // namespace

TEST(IntroFlow, RunsItsPhasesInOrderAndWaitsForThePlayer)
{
    Play({
        {Event::Input, 0, 0, "ignore", 0},
        {Event::Paint, 0, 0, "step1", 1},
        {Event::Paint, 0, 0, "draw", 1},
        {Event::Frame, 99, 101, "-", 1},
        {Event::Input, 0, 0, "ignore", 1},
        {Event::Frame, 100, 101, "advance", 2},
        {Event::Frame, 100, 101, "-", 2}, // a late report of the old animation
        {Event::Paint, 0, 0, "step2", 3},
        {Event::Frame, 45, 47, "-", 3},
        {Event::Frame, 46, 47, "advance", 4},
        {Event::Paint, 0, 0, "queue phase four", 5},
        // A key released between the phase-four paint and its queued work
        // must not end the intro.
        {Event::Input, 0, 0, "ignore", 5},
        {Event::Paint, 0, 0, "draw", 5},
        {Event::PhaseFourRuns, 0, 0, "run", 5},
        {Event::PhaseFourDone, 0, 0, "-", 5},
        {Event::PhaseFourRuns, 0, 0, "skip", 5}, // never twice
        {Event::Input, 0, 0, "end intro", 5},
        {Event::Input, 0, 0, "ignore", 5},
        {Event::PhaseFourRuns, 0, 0, "skip", 5}, // never after the intro
        {Event::Paint, 0, 0, "draw", 5},
    });
}

TEST(IntroFlow, ShortOrMissingAnimationsEndTheirStep)
{
    Play({
        {Event::Paint, 0, 0, "step1", 1},
        {Event::Frame, 29, 30, "advance", 2}, // its own last frame
        {Event::Paint, 0, 0, "step2", 3},
        {Event::Frame, 0, 0, "advance", 4}, // could not be loaded
    });
}

TEST(IntroFlow, CloseAsksOnlyDuringAGameAndKeepsSettingsAfterTheIntro)
{
    struct Case {
        bool intro, menu, deal;
        bool ask, write;
    };
    const Case cases[] = {
        {true, false, false, false, false},
        {false, true, false, false, true},
        {false, false, true, true, true},
    };
    for (const Case& c : cases) {
        GameState g;
        g.IntroActive = c.intro;
        g.MenuActive = c.menu;
        g.DealActive = c.deal;
        const CloseDecision d = OnCloseRequest(g);
        EXPECT_EQ(d.AskToLeaveGame, c.ask) << c.intro << c.menu << c.deal;
        EXPECT_EQ(d.WriteSettings, c.write) << c.intro << c.menu << c.deal;
    }
}
