#include "picture/surfaces.h"

#include <algorithm>
#include <cstring>

#include "game/constants.h"
#include "picture/raster.h"
#include "picture/sprite_sheet.h"

namespace mole {

namespace {

void copySnapshot(Surface& to, const Surface& snapshot) {
    to = Surface(snapshot.width, snapshot.height);
    bitBlt(to, 0, 0, to.width, to.height, snapshot, 0, 0, RasterOp::SrcCopy);
}

// One row of the fused masked draw: where the sheet is pure black the ground shows (the
// mask is white there), elsewhere the sheet pixel (the AND with a black mask leaves black,
// and the OR brings the sheet pixel in). No two rows overlap; drawing over the target's own
// pixels has a version of its own.
inline Pixel masked(Pixel ground, Pixel sprite) {
    return (ground & (sprite == kBlack ? kColourBits : 0u)) | sprite;
}

template <std::size_t kWidth>
inline void maskedRow(Pixel* __restrict d, const Pixel* __restrict g, const Pixel* __restrict s) {
    for (std::size_t i = 0; i < kWidth; ++i) {
        d[i] = masked(g[i], s[i]);
    }
}

template <std::size_t kWidth>
inline void maskedRow(Pixel* __restrict d, const Pixel* __restrict s) {
    for (std::size_t i = 0; i < kWidth; ++i) {
        d[i] = masked(d[i], s[i]);
    }
}

template <std::size_t kWidth>
inline void copyRow(Pixel* __restrict d, const Pixel* __restrict g) {
    for (std::size_t i = 0; i < kWidth; ++i) {
        d[i] = g[i];
    }
}

// Rows cut short at an edge of the target.
inline void maskedRow(Pixel* d, const Pixel* g, const Pixel* __restrict s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        d[i] = masked(g[i], s[i]);
    }
}

// The part of frame f's rectangle that lands inside the target: target rectangle at
// (dx, dy), sheet rectangle at (sx, sy), both w x h. Clipped as both raster passes would
// be, against the target and against the mask and the sheet.
struct FrameSpan {
    int64_t dx, dy, sx, sy, w, h;
};

bool clipFrame(const Surfaces& surfaces, const Surface& target, int32_t x, int32_t y, int32_t f,
               FrameSpan& out) {
    if (f < 0 || f >= kFrameCount) {
        return false;
    }
    const Surface& sheet = surfaces.spriteSheet;
    const MonoSurface& mask = surfaces.spriteMask;
    const Rect frame = intersection(
        Rect{kCellSize * f, 0, kCellSize, kCellSize},
        intersection(Rect{0, 0, sheet.width, sheet.height}, Rect{0, 0, mask.width, mask.height}));
    // Source and destination rectangles, shifted together so both stay inside.
    FrameSpan c{int64_t{x} + (frame.x - int64_t{kCellSize} * f),
                int64_t{y} + frame.y,
                frame.x,
                frame.y,
                frame.width,
                frame.height};
    if (c.dx < 0) {
        c.sx -= c.dx;
        c.w += c.dx;
        c.dx = 0;
    }
    if (c.dy < 0) {
        c.sy -= c.dy;
        c.h += c.dy;
        c.dy = 0;
    }
    c.w = std::min<int64_t>(c.w, target.width - c.dx);
    c.h = std::min<int64_t>(c.h, target.height - c.dy);
    out = c;
    return c.w > 0 && c.h > 0;
}

void maskedDraw(const Surfaces& surfaces, Surface& target, const Surface& ground, int32_t f,
                const FrameSpan& c) {
    const bool inPlace = &ground == &target;
    const std::size_t w = static_cast<std::size_t>(c.w);
    const std::size_t targetStride = static_cast<std::size_t>(target.width);
    const std::size_t sheetStride = static_cast<std::size_t>(surfaces.spriteSheet.width);
    const std::size_t at = static_cast<std::size_t>(c.dy) * targetStride + c.dx;
    Pixel* d = target.pixels.data() + at;
    const Pixel* g = ground.pixels.data() + at;
    const Pixel* s =
        surfaces.spriteSheet.pixels.data() + static_cast<std::size_t>(c.sy) * sheetStride + c.sx;
    // Rows that are transparent all along are skipped (or, over another ground, copied).
    uint64_t rowsDrawn = surfaces.frameRowsDrawn[static_cast<std::size_t>(f)] >> c.sy;
    for (int64_t row = 0; row < c.h;
         ++row, d += targetStride, g += targetStride, s += sheetStride, rowsDrawn >>= 1) {
        if ((rowsDrawn & 1u) == 0) {
            if (inPlace) {
                continue;
            }
            if (w == kCellSize) {
                copyRow<kCellSize>(d, g);  // shorter than a call to memcpy
            } else {
                std::memcpy(d, g, w * sizeof(Pixel));
            }
        } else if (w != kCellSize) {
            maskedRow(d, g, s, w);
        } else if (inPlace) {
            maskedRow<kCellSize>(d, s);  // a whole row: a fixed count vectorises fully
        } else {
            maskedRow<kCellSize>(d, g, s);
        }
    }
}

bool isSpritePicture(const Surfaces& surfaces, const Surface& p) {
    return &p == &surfaces.spriteSheet;
}

void drawFrameTwoPasses(const Surfaces& surfaces, Surface& target, int32_t x, int32_t y,
                        int32_t f) {
    if (f < 0 || f >= kFrameCount) {
        return;
    }
    bitBlt(target, x, y, kCellSize, kCellSize, surfaces.spriteMask, kCellSize * f, 0,
           RasterOp::SrcAnd);
    bitBlt(target, x, y, kCellSize, kCellSize, surfaces.spriteSheet, kCellSize * f, 0,
           RasterOp::SrcPaint);
}

}  // namespace

bool createSurfaces(Surfaces& surfaces, const Surface& snapshot, const unsigned char* spriteBmp,
                    std::size_t spriteBmpSize) {
    copySnapshot(surfaces.field, snapshot);
    copySnapshot(surfaces.view, snapshot);
    copySnapshot(surfaces.pristine, snapshot);
    copySnapshot(surfaces.scars, snapshot);

    surfaces.spriteMask = MonoSurface(kSpriteSheetWidth, kSpriteSheetHeight);
    Surface inverted(kSpriteSheetWidth, kSpriteSheetHeight);
    const bool decoded = decodeSpriteSheet(spriteBmp, spriteBmpSize, surfaces.spriteSheet);
    if (!decoded) {
        // All black is all transparent: the moles are invisible, but everything else works.
        surfaces.spriteSheet = Surface(kSpriteSheetWidth, kSpriteSheetHeight, kBlack);
    }
    // Pure black turns pure white, and only white becomes 1 in the mask.
    bitBlt(inverted, 0, 0, kSpriteSheetWidth, kSpriteSheetHeight, surfaces.spriteSheet, 0, 0,
           RasterOp::NotSrcCopy);
    bitBlt(surfaces.spriteMask, 0, 0, kSpriteSheetWidth, kSpriteSheetHeight, inverted, 0, 0,
           RasterOp::SrcCopy);
    surfaces.frameRowsDrawn.fill(0);
    for (int32_t y = 0; y < kSpriteSheetHeight; ++y) {
        const Pixel* row = surfaces.spriteSheet.row(y);
        for (int32_t x = 0; x < kSpriteSheetWidth; ++x) {
            if (row[x] != kBlack) {
                surfaces.frameRowsDrawn[static_cast<std::size_t>(x / kCellSize)] |= uint64_t{1}
                                                                                    << y;
            }
        }
    }
    surfaces.created = true;
    return decoded;
}

void releaseSurfaces(Surfaces& surfaces) {
    surfaces.field.release();
    surfaces.view.release();
    surfaces.pristine.release();
    surfaces.scars.release();
    surfaces.spriteSheet.release();
    surfaces.spriteMask.release();
    surfaces.frameRowsDrawn.fill(0);
    surfaces.created = false;
}

void drawFrame(const Surfaces& surfaces, Surface& target, int32_t x, int32_t y, int32_t f) {
    if (isSpritePicture(surfaces, target)) {
        // Drawing onto the sprite pictures themselves: the raster passes cope with a source
        // that is also the destination.
        drawFrameTwoPasses(surfaces, target, x, y, f);
        return;
    }
    FrameSpan c{};
    if (clipFrame(surfaces, target, x, y, f, c)) {
        maskedDraw(surfaces, target, target, f, c);
    }
}

void drawFrameOver(const Surfaces& surfaces, Surface& target, const Surface& ground, int32_t x,
                   int32_t y, int32_t f) {
    FrameSpan c{};
    const bool fused = ground.width == target.width && ground.height == target.height &&
                       !isSpritePicture(surfaces, target) &&
                       clipFrame(surfaces, target, x, y, f, c) && c.w == kCellSize &&
                       c.h == kCellSize;
    if (fused) {
        // The whole cell is covered by the frame, so one pass writes every pixel the copy
        // would have written.
        maskedDraw(surfaces, target, ground, f, c);
        return;
    }
    bitBlt(target, x, y, kCellSize, kCellSize, ground, x, y, RasterOp::SrcCopy);
    drawFrame(surfaces, target, x, y, f);
}

}  // namespace mole
