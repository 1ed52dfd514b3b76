// The twenty moles: where each sits, what state it is in, and how that state moves on at
// every tick. Pure logic; everything it wants drawn it asks of a FieldPainter.
#pragma once

#include <array>
#include <cstdint>

#include "game/constants.h"
#include "game/game_random.h"
#include "game/mission_tally.h"

namespace mole {

// phase, as a tick draws the mole (direction 0 unless said):
//   -10..-3 knocked out (frame 15)      -2, -1 gone, or -1 blocked (nothing drawn)
//   0..10 waiting in the hole           11..23 rising (frame phase - 10)
//   24, direction 1: fully out (14)     23..11, direction 1: sinking; 10, 9: sunk
struct MoleSlot {
    int32_t x = 0;
    int32_t y = 0;
    int32_t phase = 0;
    int32_t direction = 0;  // 0 rising, 1 sinking
};

inline constexpr int32_t kRiseLimit = 24;
inline constexpr int32_t kEscapePhase = 8;
inline constexpr int32_t kHealPhase = -3;
inline constexpr int32_t kWaitingSpread = 10;
inline constexpr int32_t kAboveGroundPhase = 10;  // above ground, and strikable, when phase > 10
inline constexpr int32_t kKnockedOutPhase = -10;

inline bool isAboveGround(const MoleSlot& slot) {
    return slot.phase > kAboveGroundPhase;
}

// The drawing the life cycle asks for. A build that draws nothing passes NullFieldPainter.
class FieldPainter {
  public:
    virtual ~FieldPainter() = default;
    // Bring the slot's cell of the view up to date and draw its current frame.
    virtual void composeCell(const MoleSlot& slot) = 0;
    // Restore the ground of a struck mole's cell from the untouched snapshot.
    virtual void healHole(const MoleSlot& slot) = 0;
    // Dig a hole into the ground, and into the record of play damage when intoScars.
    virtual void stampHole(const MoleSlot& slot, bool intoScars) = 0;
};

class NullFieldPainter final : public FieldPainter {
  public:
    void composeCell(const MoleSlot&) override {}
    void healHole(const MoleSlot&) override {}
    void stampHole(const MoleSlot&, bool) override {}
};

// The mole table with its random source and the screen size given at placement.
struct MoleField {
    std::array<MoleSlot, kMoleCount> moleTable{};
    GameRandom random;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
};

// Moves slot k to a random cell: x drawn first, then y. On an axis of 64 pixels or less
// there is no room to move, so the mole keeps coordinate 0 there (the draw is still made,
// so the sequence of draws does not depend on the screen size).
void relocateMole(MoleField& field, int k);

// True if another slot's cell lies closer than 64 pixels on both axes, whatever its phase.
bool overlapsAnother(const MoleField& field, int k);

// Once, at window creation, after the random source has been seeded.
void placeInitialMoles(MoleField& field, int32_t screenWidth, int32_t screenHeight,
                       FieldPainter& painter);

// One 50 ms tick of play: advances all twenty moles in table order and counts escapes.
void tickField(MoleField& field, MissionTally& tally, FieldPainter& painter);

}  // namespace mole
