// The window of the headless front end, and the reference for what every front end's window
// shows: the pixels painted last, plus the area waiting to be repainted. Like a window with
// no background brush, nothing is ever erased; a paint changes only the waiting area.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/field_painter.h"
#include "picture/surface.h"

namespace mole {

class ModelWindow final : public PaintTarget {
  public:
    // A fresh window shows black and has nothing waiting.
    ModelWindow(int32_t width, int32_t height);

    // Marks r (clipped to the window) as waiting, as a covering dialog does when it closes.
    void invalidate(const Rect& r);
    void invalidateAll();
    bool hasWaitingRegion() const { return !waiting_.empty(); }
    bool isWaiting(int32_t x, int32_t y) const;

    void beginPaint() override {}
    void copyFromView(const Surface& source, const Rect& r) override;
    void endPaint() override { waiting_.clear(); }

    int32_t width() const { return shown.width; }
    int32_t height() const { return shown.height; }

    Surface shown;  // what the window shows

  private:
    // The waiting area as a union of rectangles; they may overlap, which is harmless because
    // copying the same source pixel twice gives the same result.
    std::vector<Rect> waiting_;
};

}  // namespace mole
