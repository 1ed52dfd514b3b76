// libFuzzer entry: one input is one program run through the headless front end. The input
// gives the screen size (1 to 4096 on each side), a few-colour snapshot and then events:
// ticks, clicks anywhere (near a mole, or at any 32-bit position), right clicks, scripted
// dialog answers and close requests. After every event the game's invariants are checked;
// a broken one aborts, so the fuzzer reports it like a crash.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "game/constants.h"
#include "shell/headless/headless.h"
#include "soak/invariants.h"

namespace {

using namespace mole;

// Bounds on one input's run, so that every run stays well under a second.
constexpr int kMaxEvents = 2000;
constexpr int kMaxTicks = 5000;

void check(const std::string& failure, const HeadlessGame& game) {
    if (!failure.empty()) {
        std::fprintf(stderr, "invariant broken on a %d x %d screen: %s\n", game.state.screenWidth,
                     game.state.screenHeight, failure.c_str());
        std::abort();
    }
}

// Most screens small so that runs are quick; one input in sixteen may take any size.
int32_t side(FuzzedDataProvider& in) {
    const bool any = in.ConsumeIntegral<uint8_t>() < 16;
    return in.ConsumeIntegralInRange<int32_t>(1, any ? 4096 : 300);
}

Surface snapshot(FuzzedDataProvider& in, int32_t w, int32_t h) {
    // Sometimes a capture of another size than the screen: the rest stays black.
    if (in.ConsumeIntegral<uint8_t>() < 24) {
        w = in.ConsumeIntegralInRange<int32_t>(0, 320);
        h = in.ConsumeIntegralInRange<int32_t>(0, 320);
    }
    Pixel palette[4];
    const int n = in.ConsumeIntegralInRange<int>(1, 4);
    for (int i = 0; i < n; ++i) {
        palette[i] = in.ConsumeIntegral<uint32_t>() & kColourBits;
    }
    const int32_t block = in.ConsumeIntegralInRange<int32_t>(1, 64);
    Surface s(w, h);
    for (int32_t y = 0; y < s.height; ++y) {
        for (int32_t x = 0; x < s.width; ++x) {
            s.at(x, y) = palette[(x / block + y / block) % n];
        }
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int32_t w = side(in);
    const int32_t h = side(in);
    const Surface picture = snapshot(in, w, h);
    const uint32_t seed = in.ConsumeIntegral<uint32_t>();
    const uint8_t flags = in.ConsumeIntegral<uint8_t>();

    HeadlessGame game(w, h);
    game.start(picture, seed);
    if (flags & 1) {  // counters a step away from their caps, to reach them quickly
        game.state.tally.escapeCount = kEscapeCap - 1;
        game.state.tally.swingCount = kSwingCap - 1;
        game.state.tally.hitCount = kHitsToEndMission - 3;
    }
    // Kept from one input to the next: its colour set is 2 MiB, which begin() clears cheaply.
    static InvariantWatch watch;
    watch.begin(game, picture);
    check(watch.checkState(game), game);
    check(watch.checkWholeWindow(game), game);

    for (int event = 0; event < kMaxEvents && game.timerFirings < kMaxTicks && game.running() &&
                        in.remaining_bytes() > 0;
         ++event) {
        bool playingTick = false;
        const std::size_t dialogsBefore = game.frontEnd.dialogs.size();
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
            case 0:
            case 1:
            case 2:
                for (int n = in.ConsumeIntegralInRange<int>(1, 64); n > 0; --n) {
                    const bool playing = game.state.mode == GameMode::Playing;
                    if (!game.tick()) {
                        break;
                    }
                    playingTick = playing;
                }
                break;
            case 3:
            case 4: {  // near a mole, where hits and the edges of hit boxes are
                const MoleSlot& m =
                    game.state.moles.moleTable[in.ConsumeIntegralInRange<int>(0, kMoleCount - 1)];
                game.leftClick(m.x + in.ConsumeIntegral<int8_t>(),
                               m.y + in.ConsumeIntegral<int8_t>());
                break;
            }
            case 5: {  // anywhere at all
                const int32_t x = in.ConsumeIntegral<int32_t>();
                game.leftClick(x, in.ConsumeIntegral<int32_t>());
                break;
            }
            case 6:
                game.rightClick();
                break;
            case 7:
            case 8: {
                static constexpr ScriptedAnswer kAnswers[] = {
                    ScriptedAnswer::Yes, ScriptedAnswer::No, ScriptedAnswer::Ok,
                    ScriptedAnswer::Close};
                game.frontEnd.answers.push_back(kAnswers[in.ConsumeIntegralInRange<int>(0, 3)]);
                break;
            }
            default:
                if (in.ConsumeIntegral<uint8_t>() < 32) {
                    game.close();
                }
                break;
        }
        check(watch.checkState(game), game);
        // A dialog may repaint the whole window; between dialogs only the mole cells change.
        if (game.frontEnd.dialogs.size() != dialogsBefore) {
            check(watch.checkWholeWindow(game), game);
        } else {
            check(watch.checkCells(game, ~0u, playingTick), game);
            check(watch.checkSample(game, static_cast<uint64_t>(event), 64), game);
        }
    }
    check(watch.checkWholeWindow(game), game);

    // SHELL_FUZZER_VERBOSE=1 tells what an input did, for writing and checking seeds.
    static const bool verbose = std::getenv("SHELL_FUZZER_VERBOSE") != nullptr;
    if (verbose) {
        const MissionTally& t = game.state.tally;
        const auto& dialogs = game.frontEnd.dialogs;
        std::fprintf(stderr,
                     "%d x %d: %d ticks, %d hits, %d swings, %d escapes, %zu dialogs%s%s, %s\n", w,
                     h, game.timerFirings, t.hitCount, t.swingCount, t.escapeCount, dialogs.size(),
                     dialogs.empty() ? "" : ", the last ",
                     dialogs.empty() ? "" : dialogs.back().caption.c_str(),
                     game.running() ? "still running" : "ended");
    }
    return 0;
}
