#include "picture/surfaces.h"

#include <algorithm>

#include "game/constants.h"
#include "picture/raster.h"
#include "picture/sprite_sheet.h"

namespace mole {

namespace {

void copySnapshot(Surface& to, const Surface& snapshot) {
    to = Surface(snapshot.width, snapshot.height);
    bitBlt(to, 0, 0, to.width, to.height, snapshot, 0, 0, RasterOp::SrcCopy);
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
    surfaces.created = false;
}

void drawFrame(const Surfaces& surfaces, Surface& target, int32_t x, int32_t y, int32_t f) {
    if (f < 0 || f >= kFrameCount) {
        return;
    }
    // The two passes fused into one: where the mask is 1 the target survives the AND,
    // where it is 0 the target turns black; then the sheet pixel is ORed in. Clipped as
    // both passes would be, against the target and against both the mask and the sheet.
    const Surface& sheet = surfaces.spriteSheet;
    const MonoSurface& mask = surfaces.spriteMask;
    const Rect frame = intersection(
        Rect{kCellSize * f, 0, kCellSize, kCellSize},
        intersection(Rect{0, 0, sheet.width, sheet.height}, Rect{0, 0, mask.width, mask.height}));
    // Source and destination rectangles, shifted together so both stay inside.
    int64_t sx = frame.x, sy = frame.y;
    int64_t dx = int64_t{x} + (frame.x - int64_t{kCellSize} * f), dy = int64_t{y} + frame.y;
    int64_t w = frame.width, h = frame.height;
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min<int64_t>(w, target.width - dx);
    h = std::min<int64_t>(h, target.height - dy);
    if (w <= 0 || h <= 0) {
        return;
    }
    for (int64_t row = 0; row < h; ++row) {
        Pixel* d = target.row(static_cast<int32_t>(dy + row)) + dx;
        const Pixel* s = sheet.row(static_cast<int32_t>(sy + row)) + sx;
        const uint8_t* m = mask.row(static_cast<int32_t>(sy + row)) + sx;
        for (int64_t i = 0; i < w; ++i) {
            const Pixel keep = (0u - static_cast<Pixel>(m[i] != 0)) & kColourBits;
            d[i] = (d[i] & keep) | s[i];
        }
    }
}

}  // namespace mole
