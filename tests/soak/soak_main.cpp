// mole_soak: plays game after game through the headless front end with seeded random input
// (ticks, clicks anywhere, right clicks mostly answered No, close requests, screens from 1 x 1
// to 4096 x 2304) and checks the game's invariants after every event. The seed is printed
// first, so any failure replays with --seed.
//
//   mole_soak [--ticks N] [--seed S]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "game/constants.h"
#include "shell/default_desktop.h"
#include "shell/headless/headless.h"
#include "soak/invariants.h"

namespace {

using namespace mole;

constexpr int32_t kMaxWidth = 4096;
constexpr int32_t kMaxHeight = 2304;

// How the dialogs of one event are answered, in thousandths.
struct AnswerOdds {
    int yes;    // of Yes/No boxes; the rest answer No
    int close;  // of any box: the window is destroyed while it is open
};
constexpr AnswerOdds kIntroOdds{960, 15};
constexpr AnswerOdds kNukeOdds{15, 10};      // right clicks are answered No
constexpr AnswerOdds kClosingOdds{500, 10};  // the analysis question: either way

struct Totals {
    uint64_t games = 0, ticks = 0, clicks = 0, aimedClicks = 0, wildClicks = 0, rightClicks = 0,
             closes = 0, dialogs = 0, missions = 0, nukes = 0, declines = 0, closedInDialog = 0,
             abandoned = 0, fullChecks = 0;
};

class Soak {
  public:
    explicit Soak(uint64_t seed) : rng_(seed) {}

    // Plays until `ticks` timer ticks have fired; returns false on the first violation.
    bool run(uint64_t ticks) {
        while (totals.ticks < ticks) {
            if (!playGame(ticks)) {
                return false;
            }
        }
        return true;
    }

    Totals totals;

  private:
    uint32_t below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
    bool chance(int thousandths) { return static_cast<int>(below(1000)) < thousandths; }

    int32_t pickSide(int32_t max) {
        static constexpr int32_t kEdges[] = {1, 2, 63, 64, 65, 66, 127, 128, 129, 200};
        if (chance(100)) {
            return kEdges[below(std::size(kEdges))];
        }
        const uint32_t r = below(1000);
        // Mostly small screens: every game start does whole-screen work.
        if (r < 550)
            return 1 + static_cast<int32_t>(below(256));
        if (r < 850)
            return 256 + static_cast<int32_t>(below(768));
        if (r < 975)
            return 1024 + static_cast<int32_t>(below(1024));
        return 2048 + static_cast<int32_t>(below(static_cast<uint32_t>(max - 2048 + 1)));
    }

    // A picture of a few colours in blocks, so that the window's colours can be checked
    // against the snapshot's exactly.
    Surface blockSnapshot(int32_t w, int32_t h) {
        Pixel palette[8];
        const uint32_t n = 1 + below(8);
        for (uint32_t i = 0; i < n; ++i) {
            palette[i] = below(1u << 24);
        }
        const int32_t bw = 1 + static_cast<int32_t>(below(97));
        const int32_t bh = 1 + static_cast<int32_t>(below(97));
        Surface s(w, h);
        for (int32_t y = 0; y < s.height; ++y) {
            Pixel* row = s.row(y);
            const int32_t band = y / bh;
            for (int32_t x = 0; x < s.width; ++x) {
                row[x] = palette[static_cast<uint32_t>(x / bw + band) % n];
            }
        }
        return s;
    }

    Surface snapshotFor(int32_t w, int32_t h) {
        const uint32_t r = below(100);
        if (r < 8) {
            return defaultDesktopPicture(w, h);
        }
        if (r < 16) {  // a capture of another size than the screen
            return blockSnapshot(pickSide(kMaxWidth), pickSide(kMaxHeight));
        }
        return blockSnapshot(w, h);
    }

    DialogAnswer answer(HeadlessGame& game, const DialogRecord& record) {
        ++totals.dialogs;
        if (chance(odds_.close)) {
            ++totals.closedInDialog;
            game.close();
            return DialogAnswer::No;
        }
        if (record.buttons == DialogButtons::Ok) {
            return DialogAnswer::Ok;
        }
        return chance(odds_.yes) ? DialogAnswer::Yes : DialogAnswer::No;
    }

    void fail(const std::string& what) const {
        std::fprintf(stderr, "VIOLATION in game %llu (%d x %d), event %llu: %s\n",
                     static_cast<unsigned long long>(totals.games), width_, height_,
                     static_cast<unsigned long long>(event_), what.c_str());
    }

    bool report(const std::string& failure) const {
        if (failure.empty()) {
            return true;
        }
        fail(failure);
        return false;
    }

    // A point anywhere: inside the screen, just outside it, or at the ends of the range.
    void wildPoint(int32_t& x, int32_t& y) {
        static constexpr int32_t kFar[] = {std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max(), -1, -64, -65};
        auto axis = [&](int32_t extent) -> int32_t {
            const uint32_t r = below(10);
            if (r < 5)
                return static_cast<int32_t>(below(static_cast<uint32_t>(extent)));
            if (r < 7)
                return kFar[below(std::size(kFar))];
            if (r < 8)
                return extent + static_cast<int32_t>(below(128));
            return static_cast<int32_t>(static_cast<uint32_t>(rng_()));
        };
        x = axis(width_);
        y = axis(height_);
    }

    bool playGame(uint64_t tickBudget) {
        ++totals.games;
        width_ = pickSide(kMaxWidth);
        height_ = pickSide(kMaxHeight);
        const Surface snapshot = snapshotFor(width_, height_);
        auto game = std::make_unique<HeadlessGame>(width_, height_);
        game->frontEnd.answerer = [this, g = game.get()](const DialogRecord& r) {
            return answer(*g, r);
        };
        event_ = 0;
        game->start(snapshot, static_cast<uint32_t>(rng_()));
        // Some games start with counters close to their caps.
        if (chance(150)) {
            MissionTally& t = game->state.tally;
            t.escapeCount = kEscapeCap - static_cast<int32_t>(below(5));
            t.swingCount = kSwingCap - static_cast<int32_t>(below(5));
            t.hitCount = static_cast<int32_t>(below(100));
        }
        watch_.begin(*game, snapshot);
        ++totals.fullChecks;
        if (!report(watch_.checkState(*game)) || !report(watch_.checkWholeWindow(*game))) {
            return false;
        }

        const uint64_t gameTicks = 200 + below(40000);
        const uint64_t firstTick = totals.ticks;
        while (game->running()) {
            if (totals.ticks >= tickBudget || totals.ticks - firstTick >= gameTicks) {
                ++totals.closes;
                ++totals.abandoned;
                game->close();
                ++event_;
                return report(watch_.checkState(*game));
            }
            if (!step(*game)) {
                return false;
            }
        }
        // How the game ended, as the last dialog tells.
        const auto& dialogs = game->frontEnd.dialogs;
        if (!dialogs.empty()) {
            const std::string& caption = dialogs.back().caption;
            if (caption == dialogSpec(DialogName::FinalDialog).caption)
                ++totals.missions;
            if (caption == dialogSpec(DialogName::NukeEnding).caption)
                ++totals.nukes;
            if (caption == dialogSpec(DialogName::DeclineDialog).caption)
                ++totals.declines;
        }
        return true;
    }

    // One event and the checks after it.
    bool step(HeadlessGame& game) {
        ++event_;
        const size_t dialogsBefore = game.frontEnd.dialogs.size();
        const uint32_t r = below(1000);
        enum { Tick, Click, Other } kind = Tick;
        if (r < 900) {
            odds_ = game.state.mode == GameMode::AwaitingIntro ? kIntroOdds : kClosingOdds;
            if (!game.tick()) {
                return report("the timer did not fire in a running game");
            }
            ++totals.ticks;
        } else if (r < 996) {
            kind = Click;
            odds_ = kClosingOdds;
            ++totals.clicks;
            if (!aimedClick(game)) {
                return false;
            }
        } else if (r < 999) {
            kind = Other;
            odds_ = kNukeOdds;
            ++totals.rightClicks;
            game.rightClick();
        } else {
            kind = Other;
            ++totals.closes;
            game.close();
        }

        if (!report(watch_.checkState(game))) {
            return false;
        }
        if (game.frontEnd.dialogs.size() != dialogsBefore || kind == Other) {
            // A dialog came and went: the whole window may have been repainted.
            ++totals.fullChecks;
            return report(watch_.checkWholeWindow(game));
        }
        if (kind == Tick) {
            const uint32_t scan = (1u << (event_ % kMoleCount)) | (1u << below(kMoleCount));
            return report(watch_.checkCells(game, scan, true));
        }
        return report(watch_.checkSample(game, rng_(), 16));
    }

    // Most clicks go where a mole is above ground, so that missions reach their end; a
    // click inside a hit box must score exactly one hit.
    bool aimedClick(HeadlessGame& game) {
        const auto& table = game.state.moles.moleTable;
        int up[kMoleCount];
        int n = 0;
        for (int k = 0; k < kMoleCount; ++k) {
            if (isAboveGround(table[k]))
                up[n++] = k;
        }
        if (n == 0 || chance(300)) {
            ++totals.wildClicks;
            int32_t x, y;
            wildPoint(x, y);
            game.leftClick(x, y);
            return true;
        }
        ++totals.aimedClicks;
        const MoleSlot& m = table[up[below(static_cast<uint32_t>(n))]];
        const int32_t x = m.x + 9 + static_cast<int32_t>(below(61));
        const int32_t y = m.y - 31 + static_cast<int32_t>(below(63));
        const int32_t hitsBefore = game.state.tally.hitCount;
        game.leftClick(x, y);
        if (game.state.tally.hitCount != hitsBefore + 1) {
            fail("a click at (" + std::to_string(x) + ", " + std::to_string(y) +
                 ") inside a hit box made " +
                 std::to_string(game.state.tally.hitCount - hitsBefore) + " hits");
            return false;
        }
        return true;
    }

    std::mt19937_64 rng_;
    InvariantWatch watch_;
    AnswerOdds odds_ = kIntroOdds;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint64_t event_ = 0;
};

bool parseNumber(const char* s, uint64_t& out) {
    char* end = nullptr;
    out = std::strtoull(s, &end, 0);
    return end != s && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t ticks = 1'000'000;
    uint64_t seed =
        static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--ticks") == 0 && hasValue && parseNumber(argv[i + 1], ticks)) {
            ++i;
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue &&
                   parseNumber(argv[i + 1], seed)) {
            ++i;
        } else {
            std::fprintf(stderr, "usage: mole_soak [--ticks N] [--seed S]\n");
            return 2;
        }
    }
    std::printf("mole_soak --ticks %llu --seed %llu\n", static_cast<unsigned long long>(ticks),
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);

    const auto started = std::chrono::steady_clock::now();
    Soak soak(seed);
    const bool ok = soak.run(ticks);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const Totals& t = soak.totals;
    std::printf(
        "%s after %.1f s: %llu ticks (%.0f per second), %llu games, %llu missions completed, "
        "%llu nukes, %llu declined, %llu closed in a dialog, %llu closed by request\n"
        "  clicks %llu (aimed %llu, anywhere %llu), right clicks %llu, dialogs %llu, "
        "whole-window checks %llu\n",
        ok ? "passed" : "FAILED", seconds, static_cast<unsigned long long>(t.ticks),
        seconds > 0 ? static_cast<double>(t.ticks) / seconds : 0.0,
        static_cast<unsigned long long>(t.games), static_cast<unsigned long long>(t.missions),
        static_cast<unsigned long long>(t.nukes), static_cast<unsigned long long>(t.declines),
        static_cast<unsigned long long>(t.closedInDialog),
        static_cast<unsigned long long>(t.closes), static_cast<unsigned long long>(t.clicks),
        static_cast<unsigned long long>(t.aimedClicks),
        static_cast<unsigned long long>(t.wildClicks),
        static_cast<unsigned long long>(t.rightClicks), static_cast<unsigned long long>(t.dialogs),
        static_cast<unsigned long long>(t.fullChecks));
    if (!ok) {
        std::printf("replay: mole_soak --ticks %llu --seed %llu\n",
                    static_cast<unsigned long long>(ticks), static_cast<unsigned long long>(seed));
    }
    return ok ? 0 : 1;
}
