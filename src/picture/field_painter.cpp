#include "picture/field_painter.h"

#include <algorithm>
#include <cstring>

#include "picture/raster.h"

namespace mole {

namespace {

// Each row of the healing shape as one run of columns [from, to).
struct HealingRow {
    int32_t from = kCellSize;
    int32_t to = 0;
};

constexpr std::array<HealingRow, kCellSize> healingRows() {
    std::array<HealingRow, kCellSize> rows{};
    for (int32_t y = 0; y < kCellSize; ++y) {
        for (const Rect& r : kHealingShape) {
            if (y >= r.y && y < r.y + r.height) {
                rows[y].from = std::min(rows[y].from, r.x);
                rows[y].to = std::max(rows[y].to, r.x + r.width);
            }
        }
    }
    return rows;
}

constexpr std::array<HealingRow, kCellSize> kHealingRows = healingRows();

// The runs stand for the rectangles only if every row is covered without a gap.
constexpr bool healingRowsAreExact() {
    for (int32_t y = 0; y < kCellSize; ++y) {
        for (int32_t x = 0; x < kCellSize; ++x) {
            bool covered = false;
            for (const Rect& r : kHealingShape) {
                covered |= x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            }
            const bool inRun = x >= kHealingRows[y].from && x < kHealingRows[y].to;
            if (covered != inRun) {
                return false;
            }
        }
    }
    return true;
}
static_assert(healingRowsAreExact());

}  // namespace

void SurfacePainter::composeCell(const MoleSlot& slot) {
    // The cell copy and the frame are done in one pass when a frame is drawn; no phase
    // draws two frames.
    if (slot.phase > kAboveGroundPhase) {
        drawFrameOver(surfaces_, surfaces_.view, surfaces_.field, slot.x, slot.y,
                      slot.phase - kAboveGroundPhase);
    } else if (slot.phase <= kHealPhase) {  // knocked out
        drawFrameOver(surfaces_, surfaces_.view, surfaces_.field, slot.x, slot.y, kKnockedOutFrame);
    } else {
        bitBlt(surfaces_.view, slot.x, slot.y, kCellSize, kCellSize, surfaces_.field, slot.x,
               slot.y, RasterOp::SrcCopy);
    }
}

void SurfacePainter::healHole(const MoleSlot& slot) {
    Surface& field = surfaces_.field;
    const Surface& pristine = surfaces_.pristine;
    const bool inside = slot.x >= 0 && slot.y >= 0 && pristine.width == field.width &&
                        pristine.height == field.height &&
                        int64_t{slot.x} + kCellSize <= field.width &&
                        int64_t{slot.y} + kCellSize <= field.height;
    if (!inside) {
        for (const Rect& r : kHealingShape) {
            bitBlt(field, slot.x + r.x, slot.y + r.y, r.width, r.height, pristine, slot.x + r.x,
                   slot.y + r.y, RasterOp::SrcCopy);
        }
        return;
    }
    // All five copies come from pristine to the same place, so each pixel ends up the same
    // whichever rectangles cover it: one copy per row of the shape gives the same ground
    // with a quarter of the work.
    for (int32_t y = 0; y < kCellSize; ++y) {
        const HealingRow& r = kHealingRows[static_cast<std::size_t>(y)];
        std::memcpy(field.row(slot.y + y) + slot.x + r.from,
                    pristine.row(slot.y + y) + slot.x + r.from,
                    static_cast<std::size_t>(r.to - r.from) * sizeof(Pixel));
    }
}

void SurfacePainter::stampHole(const MoleSlot& slot, bool intoScars) {
    drawFrame(surfaces_, surfaces_.field, slot.x, slot.y, kHoleFrame);
    if (intoScars) {
        drawFrame(surfaces_, surfaces_.scars, slot.x, slot.y, kHoleFrame);
    }
}

void paintWindow(const Surfaces& surfaces, const MoleField& field, bool playing,
                 PaintTarget& target) {
    target.beginPaint();
    if (playing) {
        for (const MoleSlot& slot : field.moleTable) {
            target.copyFromView(surfaces.view, Rect{slot.x, slot.y, kCellSize, kCellSize});
        }
    } else {
        target.copyFromView(surfaces.view, Rect{0, 0, surfaces.view.width, surfaces.view.height});
    }
    target.endPaint();
}

void presentField(const Surfaces& surfaces, PaintTarget& target) {
    target.beginPaint();
    target.copyFromView(surfaces.field, Rect{0, 0, surfaces.field.width, surfaces.field.height});
    target.endPaint();
}

void syncViewWithField(Surfaces& surfaces) {
    bitBlt(surfaces.view, 0, 0, surfaces.field.width, surfaces.field.height, surfaces.field, 0, 0,
           RasterOp::SrcCopy);
}

}  // namespace mole
