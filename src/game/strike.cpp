#include "game/strike.h"

namespace mole {

bool strikeAt(MoleField& field, MissionTally& tally, int32_t px, int32_t py,
              StrikeFeedback& feedback) {
    if (tally.swingCount < kSwingCap) {
        ++tally.swingCount;
    }
    feedback.swing();
    // The whole table is scanned; hit boxes of moles above ground never overlap, so at
    // most one mole is struck.
    for (MoleSlot& slot : field.moleTable) {
        if (isAboveGround(slot) && inHitBox(slot, px, py)) {
            feedback.hit();
            slot.phase = kKnockedOutPhase;
            slot.direction = 0;
            ++tally.hitCount;
        }
    }
    return tally.hitCount == kHitsToEndMission;
}

}  // namespace mole
