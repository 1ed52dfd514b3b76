// What one tick of play costs with real drawing, on full-HD and 4K screens, beside a plain
// memcpy of as many bytes as the tick writes. The tick must stay a small multiple of that
// copy: it moves 64 x 64 rectangles only, never a whole screen.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "game/mole_field.h"
#include "picture/field_painter.h"
#include "picture/surfaces.h"

namespace mole {
namespace {

// The picture a worst-case tick writes, each pixel counted once: twenty cells of the view,
// a new hole in field and in scars, and one healing shape.
constexpr std::size_t kCellBytes = 64 * 64 * sizeof(Pixel);
constexpr std::size_t kWorstTickBytes = 20 * kCellBytes + 2 * kCellBytes + 4044 * sizeof(Pixel);

Surface busyPicture(int32_t w, int32_t h) {
    Surface s(w, h);
    uint32_t state = 12345;
    for (Pixel& p : s.pixels) {
        state = state * 1664525u + 1013904223u;
        p = (state >> 8) & kColourBits;
    }
    return s;
}

// First row of artwork in frame f of the game's sheet; every frame's artwork ends at row 55.
int32_t artworkTop(int32_t f) {
    if (f <= 1) {
        return 38;
    }
    if (f <= 13) {
        return 36 - 2 * (f - 2);
    }
    return f == 14 ? 14 : 1;
}

enum class SheetKind { LikeTheGame = 0, AllOpaque = 1 };

// A 24-bit BMP sheet. LikeTheGame has the game sheet's rows of artwork, with a third of
// their pixels pure black; AllOpaque has no transparent pixel at all (the dearest case).
std::vector<unsigned char> sheetBmp(SheetKind kind) {
    const int32_t w = 1024, h = 64, row = w * 3;
    std::vector<unsigned char> b(54 + static_cast<std::size_t>(row) * h, 0);
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b[at + i] = static_cast<unsigned char>(v >> (8 * i));
        }
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    b[26] = 1;
    b[28] = 24;
    for (int32_t y = 0; y < h; ++y) {
        const int32_t top = 63 - y;  // BMP rows run bottom-up
        for (int32_t x = 0; x < w; ++x) {
            const int32_t f = x / 64;
            const bool opaque =
                kind == SheetKind::AllOpaque || (top >= artworkTop(f) && top <= 55 && x % 3 != 0);
            unsigned char* p = &b[54 + static_cast<std::size_t>(y) * row + x * 3];
            p[0] = opaque ? static_cast<unsigned char>(x * 7 + 1) : 0;
            p[1] = opaque ? static_cast<unsigned char>(y * 5 + 3) : 0;
            p[2] = opaque ? 0x40 : 0;
        }
    }
    return b;
}

struct Stage {
    Surfaces surfaces;
    MoleField moles;
    MissionTally tally;

    Stage(const benchmark::State& state, SheetKind kind) {
        const auto w = static_cast<int32_t>(state.range(0));
        const auto h = static_cast<int32_t>(state.range(1));
        const std::vector<unsigned char> bmp = sheetBmp(kind);
        createSurfaces(surfaces, busyPicture(w, h), bmp.data(), bmp.size());
        moles.screenWidth = w;
        moles.screenHeight = h;
        // Twenty cells spread over the screen, five by four.
        for (int k = 0; k < kMoleCount; ++k) {
            moles.moleTable[k] = MoleSlot{(k % 5) * (w - 64) / 4, (k / 5) * (h - 64) / 3, 0, 0};
        }
    }

    // A seed under which every mole that leaves this tick finds a free cell and digs.
    void seedSoThatEveryLeaverDigs() {
        for (uint32_t seed = 1;; ++seed) {
            MoleField trial = moles;
            trial.random.seed(seed);
            MissionTally tally;
            NullFieldPainter none;
            tickField(trial, tally, none);
            bool allDug = true;
            for (int k = 0; k < kMoleCount; ++k) {
                allDug &=
                    !(moles.moleTable[k].direction == 1 &&
                      moles.moleTable[k].phase == kEscapePhase + 1 && trial.moleTable[k].phase < 0);
            }
            if (allDug || seed == 1000) {
                moles.random.seed(seed);
                return;
            }
        }
    }
};

void setCounters(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["bytes"] = static_cast<double>(bytes);
}

// The heaviest drawing of one tick: twenty moles above ground (the last one knocked out,
// so frame 15 and a healing), and a new hole dug into field and scars.
void BM_WorstTick(benchmark::State& state) {
    Stage stage(state, static_cast<SheetKind>(state.range(2)));
    SurfacePainter painter(stage.surfaces);
    auto& table = stage.moles.moleTable;
    for (int k = 0; k < kMoleCount; ++k) {
        // Frames 14, 13, 12, ...: the tallest ones first, the knocked-out one last.
        table[k].phase = k == kMoleCount - 1 ? kHealPhase : 24 - k % 14;
    }
    const MoleSlot newHole{64 * 3 + 7, 64 * 2 + 5, 0, 0};
    for (auto _ : state) {
        for (const MoleSlot& slot : table) {
            painter.composeCell(slot);
        }
        painter.healHole(table[kMoleCount - 1]);
        painter.stampHole(newHole, true);
        benchmark::ClobberMemory();
    }
    setCounters(state, kWorstTickBytes);
}

// The same kind of tick through the real life cycle: eighteen moles rising, one knocked out
// and healed, one sinking away and re-placed with a new hole. Only the table is reset each
// time round (twenty slots and the random state).
void BM_WorstTickThroughTickField(benchmark::State& state) {
    Stage stage(state, SheetKind::LikeTheGame);
    SurfacePainter painter(stage.surfaces);
    auto& table = stage.moles.moleTable;
    for (int k = 0; k < kMoleCount; ++k) {
        table[k].phase = 23 - k % 13;
    }
    table[18].phase = kHealPhase;
    table[19] = MoleSlot{table[19].x, table[19].y, kEscapePhase + 1, 1};
    stage.seedSoThatEveryLeaverDigs();
    const MoleField start = stage.moles;
    for (auto _ : state) {
        stage.moles.moleTable = start.moleTable;
        stage.moles.random = start.random;
        tickField(stage.moles, stage.tally, painter);
        benchmark::ClobberMemory();
    }
    if (stage.moles.moleTable[19].phase < 0) {
        state.SkipWithError("the escaping mole found no free cell, so no hole was stamped");
    }
    setCounters(state, kWorstTickBytes);
}

// The most digging one tick can do: every mole sinks away at once and digs a new hole
// (a cell copy and a hole in two surfaces each).
void BM_AllTwentyEscape(benchmark::State& state) {
    Stage stage(state, SheetKind::LikeTheGame);
    SurfacePainter painter(stage.surfaces);
    for (MoleSlot& slot : stage.moles.moleTable) {
        slot.phase = kEscapePhase + 1;
        slot.direction = 1;
    }
    stage.seedSoThatEveryLeaverDigs();
    const MoleField start = stage.moles;
    for (auto _ : state) {
        stage.moles.moleTable = start.moleTable;
        stage.moles.random = start.random;
        tickField(stage.moles, stage.tally, painter);
        benchmark::ClobberMemory();
    }
    int dug = 0;
    for (const MoleSlot& slot : stage.moles.moleTable) {
        dug += slot.phase >= 0;
    }
    state.counters["holes"] = dug;
    setCounters(state, 20 * 3 * kCellBytes);
}

// The yardstick: one contiguous memcpy of as many bytes as the worst tick writes.
void BM_MemcpyReference(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0));
    std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, bytes);
}

// Medians over a few repetitions: the machine is shared, and a median shrugs off a neighbour.
void repeated(benchmark::internal::Benchmark* b) {
    b->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_WorstTick)
    ->ArgNames({"w", "h", "opaque"})
    ->Args({1920, 1080, 0})
    ->Args({3840, 2160, 0})
    ->Args({1920, 1080, 1})
    ->Args({3840, 2160, 1})
    ->Apply(repeated);
BENCHMARK(BM_WorstTickThroughTickField)
    ->ArgNames({"w", "h"})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Apply(repeated);
BENCHMARK(BM_AllTwentyEscape)
    ->ArgNames({"w", "h"})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Apply(repeated);
BENCHMARK(BM_MemcpyReference)->Arg(static_cast<int64_t>(kWorstTickBytes))->Apply(repeated);

}  // namespace
}  // namespace mole
