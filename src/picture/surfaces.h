// The pictures the game is played on: four copies of the screen as it was at start-up, each
// with its own role, and the sprite sheet with its transparency mask.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "picture/surface.h"

namespace mole {

struct Surfaces {
    Surface field;           // the ground: the desktop with every hole not yet healed
    Surface view;            // what the window shows: field cells with the moles drawn on them
    Surface pristine;        // the untouched desktop: source of healing, reference for the damage
    Surface scars;           // the desktop with every hole dug during play; never healed
    Surface spriteSheet;     // 1024 x 64, sixteen frames; pure black is transparent
    MonoSurface spriteMask;  // 1 where the sheet is pure black, 0 elsewhere
    // Bit r of entry f is set when row r of frame f has an opaque pixel. The other rows
    // leave a target as it is, so the masked draw skips them.
    std::array<uint64_t, 16> frameRowsDrawn{};
    bool created = false;
};

// Builds everything from the snapshot (captured by the front end) and the embedded sprite
// sheet. A sheet that does not decode to 1024 x 64 is replaced by an all-black one, so the
// game runs on with invisible moles rather than failing. Returns whether the sheet decoded.
bool createSurfaces(Surfaces& surfaces, const Surface& snapshot, const unsigned char* spriteBmp,
                    std::size_t spriteBmpSize);

// Frees every picture. Safe to call again, and on surfaces never created.
void releaseSurfaces(Surfaces& surfaces);

// Draws sprite frame f (0..15; any other f draws nothing) at (x, y) of target, leaving the
// target unchanged under pure-black sprite pixels. Gives the same pixels as the masked draw
// in two passes, the mask's frame with SrcAnd and then the sheet's frame with SrcPaint, in
// one pass that keeps the target exactly where the sheet is pure black, which is where the
// mask is white.
void drawFrame(const Surfaces& surfaces, Surface& target, int32_t x, int32_t y, int32_t f);

// The 64 x 64 cell at (x, y) of target becomes that cell of ground with frame f drawn over
// it: the same pixels as copying the cell (SrcCopy) and then drawFrame, in one pass.
void drawFrameOver(const Surfaces& surfaces, Surface& target, const Surface& ground, int32_t x,
                   int32_t y, int32_t f);

}  // namespace mole
