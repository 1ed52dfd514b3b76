#include "picture/field_painter.h"

#include "picture/raster.h"

namespace mole {

void SurfacePainter::composeCell(const MoleSlot& slot) {
    bitBlt(surfaces_.view, slot.x, slot.y, kCellSize, kCellSize, surfaces_.field, slot.x, slot.y,
           RasterOp::SrcCopy);
    if (slot.phase > kAboveGroundPhase) {
        drawFrame(surfaces_, surfaces_.view, slot.x, slot.y, slot.phase - kAboveGroundPhase);
    }
    if (slot.phase <= kHealPhase) {  // knocked out
        drawFrame(surfaces_, surfaces_.view, slot.x, slot.y, kKnockedOutFrame);
    }
}

void SurfacePainter::healHole(const MoleSlot& slot) {
    for (const Rect& r : kHealingShape) {
        bitBlt(surfaces_.field, slot.x + r.x, slot.y + r.y, r.width, r.height, surfaces_.pristine,
               slot.x + r.x, slot.y + r.y, RasterOp::SrcCopy);
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
