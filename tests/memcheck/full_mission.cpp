// One whole mission through the headless front end, small enough to run under Valgrind:
// the intro accepted, a pause answered No, moles struck until the hundredth hit, some let
// go, a few swings into the void, and the detailed analysis asked for. Exits 0 only if the mission
// ran to its final dialog.
#include <cstdio>

#include "game/constants.h"
#include "shell/headless/headless.h"

int main() {
    using namespace mole;
    constexpr int32_t kWidth = 640;
    constexpr int32_t kHeight = 480;
    constexpr int kMaxTicks = 20000;

    HeadlessGame game(kWidth, kHeight);
    // Intro Yes, briefing OK, the pause No; then the defaults: Yes to the analysis.
    game.frontEnd.answers = {ScriptedAnswer::Yes, ScriptedAnswer::Ok, ScriptedAnswer::No};
    game.start(20240601u);

    int ticks = 0;
    while (game.running() && ticks < kMaxTicks) {
        game.tick();
        ++ticks;
        if (ticks == 40) {
            game.rightClick();
        }
        if (ticks % 7 == 0) {
            game.leftClick(-5, kHeight + 100);  // a whiff, outside the screen
        }
        // The first four moles are let go, so that escapes are counted too.
        for (int k = 4; k < kMoleCount; ++k) {
            const MoleSlot& m = game.state.moles.moleTable[k];
            if (game.running() && isAboveGround(m) && m.phase > 16) {
                game.leftClick(m.x + 40, m.y);
            }
        }
    }

    const auto& dialogs = game.frontEnd.dialogs;
    const bool finished = !game.running() && game.state.tally.hitCount == kHitsToEndMission &&
                          !dialogs.empty() &&
                          dialogs.back().caption == dialogSpec(DialogName::FinalDialog).caption;
    std::printf("%s after %d ticks: %d hits, %d swings, %d escapes, %zu dialogs\n",
                finished ? "mission complete" : "MISSION NOT COMPLETE", ticks,
                game.state.tally.hitCount, game.state.tally.swingCount,
                game.state.tally.escapeCount, dialogs.size());
    return finished ? 0 : 1;
}
