// A left click is a swing of the hammer; this turns a click position into hits.
#pragma once

#include <cstdint>

#include "game/mission_tally.h"
#include "game/mole_field.h"

namespace mole {

// The sounds of a strike, started asynchronously by the caller's sound service.
class StrikeFeedback {
  public:
    virtual ~StrikeFeedback() = default;
    virtual void swing() = 0;
    virtual void hit() = 0;
};

class NullStrikeFeedback final : public StrikeFeedback {
  public:
    void swing() override {}
    void hit() override {}
};

// The hit box reaches from 9 to 69 pixels right of the cell's left edge and from 31 above
// to 31 below its top edge: it is measured from the hammer's hotspot, not the mole's body.
inline bool inHitBox(const MoleSlot& slot, int32_t px, int32_t py) {
    // 64-bit so that clicks at extreme coordinates cannot overflow the comparison.
    const int64_t x = slot.x;
    const int64_t y = slot.y;
    return x + 8 < px && px < x + 70 && y - 32 < py && py < y + 32;
}

// One swing at screen point (px, py). Returns true when this swing made the hundredth hit.
bool strikeAt(MoleField& field, MissionTally& tally, int32_t px, int32_t py,
              StrikeFeedback& feedback);

}  // namespace mole
