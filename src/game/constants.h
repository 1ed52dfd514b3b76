// Numbers shared by every subsystem of the game.
#pragma once

#include <cstdint>

namespace mole {

inline constexpr int kMoleCount = 20;
inline constexpr int kCellSize = 64;  // side of a mole's cell and of a sprite frame
inline constexpr unsigned kTickTimerId = 123;
inline constexpr unsigned kTickMs = 50;
inline constexpr int32_t kHitsToEndMission = 100;
inline constexpr int32_t kEscapeCap = 1'000'000;
// 100 above the escape cap, so that at the end of the mission (100 hits) whiffs top out
// at the same million as escapes.
inline constexpr int32_t kSwingCap = 1'000'100;

}  // namespace mole
