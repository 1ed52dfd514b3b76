// Rectangle transfer between surfaces. Every picture the game makes is built from these
// four operations; a transfer is clipped to both surfaces, so no coordinates, however wild,
// can read or write outside a surface.
#pragma once

#include <cstdint>

#include "picture/surface.h"

namespace mole {

// The codes are the GDI ones (SRCCOPY, SRCAND, SRCPAINT, NOTSRCCOPY). They are not spelt
// like the platform's macros because windows.h defines those names in the Win32 build.
enum class RasterOp : uint32_t {
    SrcCopy = 0x00CC0020,     // D = S
    SrcAnd = 0x008800C6,      // D = D AND S
    SrcPaint = 0x00EE0086,    // D = D OR S
    NotSrcCopy = 0x00330008,  // D = NOT S
};

// The part of a that lies inside b (width or height 0 when they do not meet). Computed in
// 64 bits, so rectangles at the ends of the 32-bit range do not overflow.
Rect intersection(const Rect& a, const Rect& b);

// Transfers the w x h rectangle at (sx, sy) of src to (dx, dy) of dst. A rectangle that
// sticks out of either surface is cut to the part inside both; w or h of 0 or less moves
// nothing. src and dst may be the same surface, also with overlapping rectangles.
void bitBlt(Surface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const Surface& src,
            int32_t sx, int32_t sy, RasterOp op);
// Monochrome onto colour: a 1 bit counts as white, a 0 bit as black.
void bitBlt(Surface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const MonoSurface& src,
            int32_t sx, int32_t sy, RasterOp op);
// Colour onto monochrome: a white pixel counts as 1, every other colour as 0.
void bitBlt(MonoSurface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const Surface& src,
            int32_t sx, int32_t sy, RasterOp op);
void bitBlt(MonoSurface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const MonoSurface& src,
            int32_t sx, int32_t sy, RasterOp op);

}  // namespace mole
