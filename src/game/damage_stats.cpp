#include "game/damage_stats.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace mole {

PercentParts splitPercent(PercentHundredths v) {
    // 64-bit so that the magnitude of the most negative value exists.
    const int64_t magnitude = v < 0 ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    PercentParts parts;
    parts.negative = v < 0;
    parts.whole = static_cast<int32_t>(magnitude / 100);
    parts.fraction = static_cast<int32_t>(magnitude % 100);
    return parts;
}

PercentHundredths hitRate(int32_t swingCount) {
    if (swingCount <= 0) {
        return 0;
    }
    return 1'000'000 / swingCount;
}

namespace {

struct Counts {
    int64_t intact = 0;
    int64_t scarred = 0;
};

// Counts over n pixels of three parallel runs. The fixed-size inner block has a trip count
// the compiler knows, so it turns into vector compares even at -O2; the 32-bit block
// counters cannot overflow within a block.
void countRun(const Pixel* pristine, const Pixel* field, const Pixel* scars, std::size_t n,
              Counts& counts) {
    constexpr std::size_t kBlock = 1024;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        uint32_t intact = 0;
        uint32_t scarred = 0;
        for (std::size_t k = 0; k < kBlock; ++k) {
            const Pixel p = pristine[i + k];
            intact += p == field[i + k] ? 1u : 0u;
            scarred += p != scars[i + k] ? 1u : 0u;
        }
        counts.intact += intact;
        counts.scarred += scarred;
    }
    for (; i < n; ++i) {
        const Pixel p = pristine[i];
        counts.intact += p == field[i] ? 1 : 0;
        counts.scarred += p != scars[i] ? 1 : 0;
    }
}

// share = count / area in hundredths of a percent. The tenth of the area is the divisor the
// report has always used; below ten pixels that tenth is 0, so the exact share is taken.
PercentHundredths shareOf(int64_t count, int64_t area) {
    const int64_t tenth = area / 10;
    const int64_t share = tenth > 0 ? count * 1000 / tenth : count * 10000 / area;
    return static_cast<PercentHundredths>(share);
}

}  // namespace

DamageStats computeDamageStats(const Surface& pristine, const Surface& field, const Surface& scars,
                               int32_t width, int32_t height) {
    const int64_t area = static_cast<int64_t>(std::max(width, 0)) * std::max(height, 0);
    if (area == 0) {
        // Nothing to defend and nothing dug: the same figures as an untouched screen.
        return DamageStats{10000, 0, 0};
    }

    // Only the part of the screen that all three pictures hold is compared.
    const int32_t w = std::min({width, pristine.width, field.width, scars.width});
    const int32_t h = std::min({height, pristine.height, field.height, scars.height});
    Counts counts;
    if (w > 0 && h > 0) {
        const bool contiguous = pristine.width == w && field.width == w && scars.width == w;
        if (contiguous) {
            const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
            countRun(pristine.pixels.data(), field.pixels.data(), scars.pixels.data(), n, counts);
        } else {
            for (int32_t y = 0; y < h; ++y) {
                countRun(pristine.row(y), field.row(y), scars.row(y), static_cast<std::size_t>(w),
                         counts);
            }
        }
    }

    DamageStats stats;
    stats.defence = shareOf(counts.intact, area);
    stats.devastation = shareOf(counts.scarred, area);
    stats.recovery = stats.devastation + stats.defence - 10000;
    return stats;
}

std::optional<int32_t> computeScore(int32_t escapeCount, int32_t hitWhole, int32_t defenceWhole,
                                    int32_t recoveryWhole) {
    // A negative count is no tally at all; more than 1000 escapes leaves nothing to score.
    if (escapeCount > 1000 || escapeCount < 0) {
        return std::nullopt;
    }
    // The rates the game produces lie within a few hundred percent; bounding them here keeps
    // every product below within 64 bits whatever a caller passes.
    constexpr int64_t kRateBound = 1'000'000;
    const int64_t hit = std::clamp<int64_t>(hitWhole, -kRateBound, kRateBound);
    const int64_t defence = std::clamp<int64_t>(defenceWhole, -kRateBound, kRateBound);
    const int64_t recovery = std::clamp<int64_t>(recoveryWhole, -kRateBound, kRateBound);

    const int64_t t0 = (1000 - static_cast<int64_t>(escapeCount)) * 100;
    const int64_t t1 = t0 - (100 - hit) * (t0 / 100);
    const int64_t t2 = t1 - (100 - defence) * (t1 / 100);
    const int64_t t3 = t2 + (t2 / 100) * recovery;
    if (t3 < 0) {
        return std::nullopt;
    }
    const int64_t points = t3 / 100;
    if (points > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(points);
}

}  // namespace mole
