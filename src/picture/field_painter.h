// Field drawing: the painter the mole life cycle calls, and what the window shows.
#pragma once

#include <array>
#include <cstdint>

#include "game/mole_field.h"
#include "picture/surface.h"
#include "picture/surfaces.h"

namespace mole {

inline constexpr int32_t kHoleFrame = 0;
inline constexpr int32_t kKnockedOutFrame = 15;

// The healed ground of a struck mole's cell, relative to the cell's top-left corner, copied
// in this order. It leaves a small staircase at each corner, so a healed hole looks round.
inline constexpr std::array<Rect, 5> kHealingShape{{
    {6, 0, 52, 64},
    {4, 1, 56, 62},
    {2, 2, 60, 60},
    {1, 3, 62, 58},
    {0, 4, 64, 56},
}};

class SurfacePainter final : public FieldPainter {
  public:
    explicit SurfacePainter(Surfaces& surfaces) : surfaces_(surfaces) {}
    // field -> view for the cell, then the mole's frame for its phase, if any.
    void composeCell(const MoleSlot& slot) override;
    // pristine -> field through the healing shape; scars is left alone.
    void healHole(const MoleSlot& slot) override;
    // The hole frame into field, and into scars too when intoScars.
    void stampHole(const MoleSlot& slot, bool intoScars) override;

  private:
    Surfaces& surfaces_;
};

// A window as the picture code sees it. paintWindow and presentField call beginPaint, then
// copyFromView for each rectangle, then endPaint. A front end copies rectangle r of source
// to the same place of its window, clipped to the area waiting to be repainted, and at
// endPaint that area counts as repainted (BeginPaint/EndPaint on Win32; the modelled window
// for headless runs). Pixels outside the waiting area keep what was painted last.
class PaintTarget {
  public:
    virtual ~PaintTarget() = default;
    virtual void beginPaint() {}
    virtual void copyFromView(const Surface& source, const Rect& r) = 0;
    virtual void endPaint() {}
};

// The paint handler's drawing: while playing, the twenty current cells of view in table
// order; in every other mode the whole of view.
void paintWindow(const Surfaces& surfaces, const MoleField& field, bool playing,
                 PaintTarget& target);

// The whole of field offered to the window; only the waiting area actually changes. Used
// when a dialog closes and play starts or resumes.
void presentField(const Surfaces& surfaces, PaintTarget& target);

// view becomes a copy of field (at the end of the mission).
void syncViewWithField(Surfaces& surfaces);

}  // namespace mole
