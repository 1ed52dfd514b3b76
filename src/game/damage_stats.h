// The arithmetic of the final report: hit rate, the three damage rates and the score.
// Integers only; every division truncates toward zero.
#pragma once

#include <cstdint>
#include <optional>

#include "picture/surface.h"

namespace mole {

// A rate counted in hundredths of a percent: 10000 is 100 %.
using PercentHundredths = int32_t;

// A rate split for display. Whole and fraction are magnitudes and the sign is kept apart,
// so that -50 reads "-0.50" and -125 reads "-1.25" rather than "0.-50" and "-1.-25".
struct PercentParts {
    bool negative = false;
    int32_t whole = 0;     // |v| / 100
    int32_t fraction = 0;  // |v| % 100, shown with two digits
};

PercentParts splitPercent(PercentHundredths v);

// The whole percent that the score works with: truncated toward zero, so -150 gives -1.
inline int32_t wholePercent(PercentHundredths v) {
    return v / 100;
}

// Hits per swing when the mission ends with its hundred hits: 1,000,000 / swingCount.
// No swings (which the mission never reaches) gives 0 rather than a division by zero.
PercentHundredths hitRate(int32_t swingCount);

struct DamageStats {
    PercentHundredths defence = 0;      // field still equals pristine: undamaged now
    PercentHundredths devastation = 0;  // scars differ from pristine: ever dug in play
    PercentHundredths recovery = 0;     // devastation + defence - 10000
};

// Compares the three screen pictures pixel by pixel over a W x H screen. Pixels that a
// surface lacks (one smaller than W x H) count neither as intact nor as scarred.
DamageStats computeDamageStats(const Surface& pristine, const Surface& field, const Surface& scars,
                               int32_t width, int32_t height);

// 1000 points less one per escape, scaled by the whole hit and defence percentages and raised
// by the whole recovery percentage. No score past 1000 escapes or below zero.
std::optional<int32_t> computeScore(int32_t escapeCount, int32_t hitWhole, int32_t defenceWhole,
                                    int32_t recoveryWhole);

}  // namespace mole
