// The damage analysis reads three screen-sized pictures once. It should run at the speed of
// memory: within 1.5x of a loop that only reads the same three buffers, and far ahead of
// fetching every pixel through a call, as a pixel-query service would.
// bench/damage_stats_report.sh runs these and prints the two ratios.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "game/damage_stats.h"

namespace mole {
namespace {

struct Screens {
    Surface pristine;
    Surface field;
    Surface scars;
};

// A textured snapshot with some holes: the counts do not change the work, but the pictures
// should not be trivially alike.
const Screens& screens(int32_t w, int32_t h) {
    static Screens fullHd;
    static Screens uhd;
    Screens& s = w == 1920 ? fullHd : uhd;
    if (s.pristine.width != w || s.pristine.height != h) {
        s.pristine = Surface(w, h);
        uint32_t state = 12345;
        for (Pixel& p : s.pristine.pixels) {
            state = state * 1664525u + 1013904223u;
            p = (state >> 8) & kColourBits;
        }
        s.field = s.pristine;
        s.scars = s.pristine;
        for (int32_t hole = 0; hole < 200; ++hole) {
            const int32_t x0 = (hole * 613) % (w - 64);
            const int32_t y0 = (hole * 379) % (h - 64);
            for (int32_t y = y0; y < y0 + 64; ++y) {
                for (int32_t x = x0; x < x0 + 64; ++x) {
                    (hole % 3 == 0 ? s.scars : s.field).at(x, y) = kBlack;
                }
            }
        }
    }
    return s;
}

void setBytes(benchmark::State& state, const Screens& s) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 3 *
                            static_cast<int64_t>(s.pristine.pixels.size() * sizeof(Pixel)));
}

void BM_DamageStats(benchmark::State& state) {
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Screens& s = screens(w, h);
    for (auto _ : state) {
        DamageStats stats = computeDamageStats(s.pristine, s.field, s.scars, w, h);
        benchmark::DoNotOptimize(stats);
    }
    setBytes(state, s);
}

// The memory-bandwidth limit: every pixel of the three buffers read and folded into a sum,
// in the same fixed blocks so that the compiler vectorises it just as well.
void BM_PlainRead(benchmark::State& state) {
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Screens& s = screens(w, h);
    const std::size_t n = s.pristine.pixels.size();
    for (auto _ : state) {
        const Pixel* a = s.pristine.pixels.data();
        const Pixel* b = s.field.pixels.data();
        const Pixel* c = s.scars.pixels.data();
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(c);
        uint32_t sum = 0;
        constexpr std::size_t kBlock = 1024;
        std::size_t i = 0;
        for (; i + kBlock <= n; i += kBlock) {
            uint32_t block = 0;
            for (std::size_t k = 0; k < kBlock; ++k) {
                block += a[i + k] + b[i + k] + c[i + k];
            }
            sum += block;
        }
        for (; i < n; ++i) {
            sum += a[i] + b[i] + c[i];
        }
        benchmark::DoNotOptimize(sum);
    }
    setBytes(state, s);
}

// A pixel query behind a call the compiler may neither inline nor see into, with the bounds
// check such a service makes.
__attribute__((noipa)) Pixel queryPixel(const Surface& s, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) {
        return 0xFFFFFFFFu;
    }
    return s.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) +
                    static_cast<std::size_t>(x)];
}

void BM_PerPixelQuery(benchmark::State& state) {
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    const Screens& s = screens(w, h);
    for (auto _ : state) {
        int64_t intact = 0;
        int64_t scarred = 0;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                const Pixel p = queryPixel(s.pristine, x, y);
                intact += p == queryPixel(s.field, x, y) ? 1 : 0;
                scarred += p != queryPixel(s.scars, x, y) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(intact);
        benchmark::DoNotOptimize(scarred);
    }
    setBytes(state, s);
}

void screenSizes(benchmark::internal::Benchmark* b) {
    b->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_DamageStats)->Apply(screenSizes);
BENCHMARK(BM_PlainRead)->Apply(screenSizes);
BENCHMARK(BM_PerPixelQuery)->Apply(screenSizes);

}  // namespace
}  // namespace mole
