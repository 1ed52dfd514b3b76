#include "game/mole_field.h"

namespace mole {

namespace {

int32_t randomCoordinate(GameRandom& random, int32_t screenExtent) {
    const int32_t r = random.draw();
    const int32_t room = screenExtent - kCellSize;
    return room > 0 ? r % room : 0;
}

void takeNewCell(MoleField& field, int k, FieldPainter& painter, bool intoScars) {
    MoleSlot& slot = field.moleTable[k];
    relocateMole(field, k);
    if (overlapsAnother(field, k)) {
        slot.phase = -1;  // blocked: try again on the next tick
        return;
    }
    slot.phase = field.random.draw() % kWaitingSpread;
    painter.stampHole(slot, intoScars);
}

}  // namespace

void relocateMole(MoleField& field, int k) {
    MoleSlot& slot = field.moleTable[k];
    slot.x = randomCoordinate(field.random, field.screenWidth);
    slot.y = randomCoordinate(field.random, field.screenHeight);
}

bool overlapsAnother(const MoleField& field, int k) {
    const MoleSlot& me = field.moleTable[k];
    for (int j = 0; j < kMoleCount; ++j) {
        if (j == k) {
            continue;
        }
        const MoleSlot& other = field.moleTable[j];
        if (other.x < me.x + kCellSize && other.x > me.x - kCellSize &&
            other.y < me.y + kCellSize && other.y > me.y - kCellSize) {
            return true;
        }
    }
    return false;
}

void placeInitialMoles(MoleField& field, int32_t screenWidth, int32_t screenHeight,
                       FieldPainter& painter) {
    field.screenWidth = screenWidth;
    field.screenHeight = screenHeight;
    for (int k = 0; k < kMoleCount; ++k) {
        // The starting holes go into the ground only: they are not damage done in play.
        takeNewCell(field, k, painter, /*intoScars=*/false);
    }
}

void tickField(MoleField& field, MissionTally& tally, FieldPainter& painter) {
    for (int k = 0; k < kMoleCount; ++k) {
        MoleSlot& slot = field.moleTable[k];
        painter.composeCell(slot);
        if (slot.phase == kHealPhase) {
            painter.healHole(slot);
        }
        const int32_t d = slot.direction;
        slot.phase += d == 0 ? 1 : -1;
        if (d == 1 && slot.phase == kEscapePhase) {
            if (tally.escapeCount != kEscapeCap) {
                ++tally.escapeCount;
            }
            slot.phase = 0;
        }
        if (d == 0 && slot.phase == kRiseLimit) {
            slot.direction = 1;
        } else if (d == 1 && slot.phase == 0) {
            slot.direction = 0;
        }
        if (slot.phase == 0) {
            takeNewCell(field, k, painter, /*intoScars=*/true);
        }
    }
}

}  // namespace mole
