#include "picture/model_window.h"

#include <algorithm>

#include "picture/raster.h"

namespace mole {

namespace {

bool contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           int64_t{inner.x} + inner.width <= int64_t{outer.x} + outer.width &&
           int64_t{inner.y} + inner.height <= int64_t{outer.y} + outer.height;
}

}  // namespace

ModelWindow::ModelWindow(int32_t width, int32_t height) : shown(width, height, kBlack) {}

void ModelWindow::invalidate(const Rect& r) {
    const Rect clipped = intersection(r, Rect{0, 0, shown.width, shown.height});
    if (clipped.width <= 0 || clipped.height <= 0) {
        return;
    }
    for (const Rect& w : waiting_) {
        if (contains(w, clipped)) {
            return;
        }
    }
    // Keeps the list short when the whole window is invalidated after every tick.
    std::erase_if(waiting_, [&](const Rect& w) { return contains(clipped, w); });
    waiting_.push_back(clipped);
}

void ModelWindow::invalidateAll() {
    invalidate(Rect{0, 0, shown.width, shown.height});
}

bool ModelWindow::isWaiting(int32_t x, int32_t y) const {
    return std::any_of(waiting_.begin(), waiting_.end(), [&](const Rect& w) {
        return x >= w.x && y >= w.y && int64_t{x} - w.x < w.width && int64_t{y} - w.y < w.height;
    });
}

void ModelWindow::copyFromView(const Surface& source, const Rect& r) {
    for (const Rect& w : waiting_) {
        const Rect part = intersection(r, w);
        bitBlt(shown, part.x, part.y, part.width, part.height, source, part.x, part.y,
               RasterOp::SrcCopy);
    }
}

}  // namespace mole
