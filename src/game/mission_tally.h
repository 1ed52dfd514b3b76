// The three counters of a mission. Capped so that they stay far from overflow however
// long someone clicks or lets moles go.
#pragma once

#include <cstdint>

namespace mole {

struct MissionTally {
    int32_t hitCount = 0;
    int32_t swingCount = 0;   // capped at kSwingCap
    int32_t escapeCount = 0;  // capped at kEscapeCap; raised only by the field tick

    int32_t whiffs() const { return swingCount - hitCount; }
};

}  // namespace mole
