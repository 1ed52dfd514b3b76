// The pictures the game is played on: four copies of the screen as it was at start-up, each
// with its own role, and the sprite sheet with its transparency mask.
#pragma once

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
// in two passes: the mask's frame with SrcAnd, then the sheet's frame with SrcPaint.
void drawFrame(const Surfaces& surfaces, Surface& target, int32_t x, int32_t y, int32_t f);

}  // namespace mole
