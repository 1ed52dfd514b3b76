#include "picture/field_painter.h"

#include <gtest/gtest.h>

#include "picture/model_window.h"
#include "picture/raster.h"
#include "test_pictures.h"

namespace mole {
namespace {

constexpr Pixel frameColour(int32_t f) {
    return rgb(f + 1, 0x80, 0x33);
}

// Frame 0, the hole, is opaque over the whole cell so that every pixel of a stamped hole
// shows; frames 1 to 15 are opaque on rows 8 to 55 only.
Surface testSheet() {
    Surface sheet(1024, 64, kBlack);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 1024; ++x) {
            const int32_t f = x / 64;
            if (f == 0 || (y >= 8 && y < 56)) {
                sheet.at(x, y) = frameColour(f);
            }
        }
    }
    return sheet;
}

// The healing shape as its rows are described: a staircase at every corner.
bool insideHealingShape(int32_t x, int32_t y) {
    const int32_t fromEdge = std::min(y, 63 - y);
    const int32_t inset[] = {6, 4, 2, 1};
    const int32_t i = fromEdge < 4 ? inset[fromEdge] : 0;
    return x >= i && x <= 63 - i;
}

class FieldPainterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto bmp = testing::encodeBmp24(testSheet());
        ASSERT_TRUE(createSurfaces(s, testing::patterned(400, 300, 31), bmp.data(), bmp.size()));
    }

    // Cell pixel (x, y) of a surface, relative to the slot.
    static Pixel cell(const Surface& surface, const MoleSlot& slot, int32_t x, int32_t y) {
        return surface.at(slot.x + x, slot.y + y);
    }

    Surfaces s;
    SurfacePainter painter{s};
};

TEST_F(FieldPainterTest, ComposeCellDrawsTheFrameOfThePhase) {
    struct Case {
        int32_t phase, direction, frame;  // frame -1: ground only
    };
    const Case cases[] = {
        {9, 0, -1},  {10, 0, -1},  {11, 0, 1},  {23, 0, 13}, {24, 1, 14}, {11, 1, 1},
        {10, 1, -1}, {-10, 0, 15}, {-3, 0, 15}, {-2, 0, -1}, {-1, 0, -1}, {0, 0, -1},
    };
    const MoleSlot slot{120, 80, 0, 0};
    painter.stampHole(slot, false);
    for (const Case& c : cases) {
        s.view = testing::patterned(400, 300, 32);  // stale view: the cell must be redone
        const Surface staleView = s.view;
        painter.composeCell(MoleSlot{slot.x, slot.y, c.phase, c.direction});
        for (int32_t y = 0; y < 64; ++y) {
            for (int32_t x = 0; x < 64; ++x) {
                const bool sprite = c.frame >= 0 && y >= 8 && y < 56;
                const Pixel want = sprite ? frameColour(c.frame) : cell(s.field, slot, x, y);
                ASSERT_EQ(cell(s.view, slot, x, y), want) << "phase " << c.phase;
            }
        }
        // Outside the cell the view is not touched.
        EXPECT_EQ(s.view.at(slot.x - 1, slot.y), staleView.at(slot.x - 1, slot.y));
        EXPECT_EQ(s.view.at(slot.x + 64, slot.y + 63), staleView.at(slot.x + 64, slot.y + 63));
    }
}

TEST_F(FieldPainterTest, StampHoleGoesIntoScarsOnlyWhenAsked) {
    const MoleSlot a{10, 20, 0, 0}, b{200, 150, 0, 0};
    const Surface snapshot = s.pristine;
    painter.stampHole(a, false);
    painter.stampHole(b, true);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            EXPECT_EQ(cell(s.field, a, x, y), frameColour(0));
            EXPECT_EQ(cell(s.field, b, x, y), frameColour(0));
            EXPECT_EQ(cell(s.scars, a, x, y), cell(snapshot, a, x, y));
            EXPECT_EQ(cell(s.scars, b, x, y), frameColour(0));
        }
    }
    EXPECT_EQ(s.pristine.pixels, snapshot.pixels);
    EXPECT_EQ(s.view.pixels, snapshot.pixels);
}

TEST_F(FieldPainterTest, HealingShapeIsTheFiveRectanglesWithTheirStaircase) {
    int covered = 0;
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            bool inRects = false;
            for (const Rect& r : kHealingShape) {
                inRects |= x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            }
            EXPECT_EQ(inRects, insideHealingShape(x, y)) << x << "," << y;
            covered += inRects;
        }
    }
    EXPECT_EQ(covered, 4044);
}

TEST_F(FieldPainterTest, KnockedOutMoleHealsToPristineExceptTheCorners) {
    // The tick order for a struck mole: at -3 the knocked-out frame, then the heal; at -2
    // the healed ground.
    MoleSlot slot{150, 100, -3, 0};
    painter.stampHole(slot, true);
    painter.composeCell(slot);
    EXPECT_EQ(cell(s.view, slot, 32, 32), frameColour(15));
    painter.healHole(slot);
    slot.phase = -2;
    painter.composeCell(slot);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            const Pixel want =
                insideHealingShape(x, y) ? cell(s.pristine, slot, x, y) : frameColour(0);
            ASSERT_EQ(cell(s.view, slot, x, y), want) << x << "," << y;
            ASSERT_EQ(cell(s.field, slot, x, y), want) << x << "," << y;
            ASSERT_EQ(cell(s.scars, slot, x, y), frameColour(0));  // scars never heal
        }
    }
}

TEST_F(FieldPainterTest, HealingOneCellRemovesTheNeighboursHoleInsideTheShape) {
    const MoleSlot a{100, 100, 0, 0}, b{140, 130, 0, 0};  // b's hole overlaps a's cell
    painter.stampHole(a, true);
    painter.stampHole(b, true);
    painter.healHole(a);
    for (int32_t y = b.y; y < b.y + 64; ++y) {
        for (int32_t x = b.x; x < b.x + 64; ++x) {
            const bool healed =
                x < a.x + 64 && y < a.y + 64 && insideHealingShape(x - a.x, y - a.y);
            ASSERT_EQ(s.field.at(x, y), healed ? s.pristine.at(x, y) : frameColour(0))
                << x << "," << y;
        }
    }
}

TEST_F(FieldPainterTest, HealingEqualsTheFiveCopiesInOrder) {
    for (const MoleSlot& slot :
         {MoleSlot{100, 100, 0, 0}, MoleSlot{0, 0, 0, 0}, MoleSlot{336, 236, 0, 0},
          MoleSlot{-20, 250, 0, 0}, MoleSlot{380, -5, 0, 0}}) {
        s.field = testing::patterned(400, 300, 36);
        Surface want = s.field;
        for (const Rect& r : kHealingShape) {
            bitBlt(want, slot.x + r.x, slot.y + r.y, r.width, r.height, s.pristine, slot.x + r.x,
                   slot.y + r.y, RasterOp::SrcCopy);
        }
        painter.healHole(slot);
        EXPECT_EQ(s.field.pixels, want.pixels) << slot.x << "," << slot.y;
    }
}

TEST_F(FieldPainterTest, CellsAtTheScreenEdgeClip) {
    for (const MoleSlot& slot : {MoleSlot{-30, -30, -5, 0}, MoleSlot{370, 270, 20, 0}}) {
        painter.stampHole(slot, true);
        painter.composeCell(slot);
        painter.healHole(slot);
    }
    EXPECT_EQ(s.field.at(0, 0), s.pristine.at(0, 0));
    EXPECT_EQ(s.view.at(0, 20), frameColour(15));
    EXPECT_EQ(s.view.at(399, 299), frameColour(10));
    EXPECT_EQ(s.view.at(399, 271), frameColour(0));  // above the sprite: the hole
    EXPECT_EQ(s.field.at(399, 299), s.pristine.at(399, 299));
}

TEST_F(FieldPainterTest, StartingHolesGoIntoTheFieldOnly) {
    MoleField moles;
    moles.random.seed(1);
    const Surface snapshot = s.pristine;
    placeInitialMoles(moles, 400, 300, painter);
    EXPECT_NE(s.field.pixels, snapshot.pixels);
    EXPECT_EQ(s.scars.pixels, snapshot.pixels);
    EXPECT_EQ(s.view.pixels, snapshot.pixels);
    for (const MoleSlot& slot : moles.moleTable) {
        if (slot.phase >= 0) {
            EXPECT_EQ(cell(s.field, slot, 32, 60), frameColour(0));
        }
    }
}

TEST_F(FieldPainterTest, PaintWhilePlayingRefreshesOnlyTheTwentyCells) {
    MoleField moles;
    for (int k = 0; k < kMoleCount; ++k) {
        moles.moleTable[k] = MoleSlot{(k % 5) * 80, (k / 5) * 70, 0, 0};
    }
    s.view = testing::patterned(400, 300, 33);
    ModelWindow window(400, 300);
    window.invalidateAll();
    paintWindow(s, moles, /*playing=*/true, window);
    EXPECT_FALSE(window.hasWaitingRegion());
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            const bool inCell = x % 80 < 64 && y % 70 < 64 && y < 4 * 70;
            ASSERT_EQ(window.shown.at(x, y), inCell ? s.view.at(x, y) : kBlack) << x << "," << y;
        }
    }
}

TEST_F(FieldPainterTest, PaintInAnyOtherModeShowsTheWholeView) {
    MoleField moles;
    painter.stampHole(MoleSlot{50, 50, 0, 0}, true);
    syncViewWithField(s);
    EXPECT_EQ(s.view.pixels, s.field.pixels);
    ModelWindow window(400, 300);
    window.invalidateAll();
    paintWindow(s, moles, /*playing=*/false, window);
    EXPECT_EQ(window.shown.pixels, s.field.pixels);
}

TEST_F(FieldPainterTest, PresentFieldChangesOnlyTheWaitingRegion) {
    ModelWindow window(400, 300);
    window.invalidateAll();
    paintWindow(s, MoleField{}, false, window);  // the bare snapshot, as during the intro
    const Surface before = window.shown;
    s.field = testing::patterned(400, 300, 34);
    window.invalidate(Rect{100, 80, 150, 90});  // a dialog was here
    window.invalidate(Rect{380, 290, 50, 50});  // one that stuck out of the screen
    presentField(s, window);
    EXPECT_FALSE(window.hasWaitingRegion());
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 400; ++x) {
            const bool uncovered =
                (x >= 100 && x < 250 && y >= 80 && y < 170) || (x >= 380 && y >= 290);
            ASSERT_EQ(window.shown.at(x, y), uncovered ? s.field.at(x, y) : before.at(x, y))
                << x << "," << y;
        }
    }
    // With nothing waiting, presenting again changes nothing.
    const Surface after = window.shown;
    s.field = testing::patterned(400, 300, 35);
    presentField(s, window);
    EXPECT_EQ(window.shown.pixels, after.pixels);
}

TEST(ModelWindow, WaitingRegionIsTheUnionOfInvalidatedRects) {
    ModelWindow window(100, 50);
    EXPECT_FALSE(window.hasWaitingRegion());
    window.invalidate(Rect{-10, -10, 5, 5});  // off the window: nothing waits
    window.invalidate(Rect{90, 40, 0, 9});
    EXPECT_FALSE(window.hasWaitingRegion());
    window.invalidate(Rect{10, 10, 10, 10});
    window.invalidate(Rect{15, 15, 10, 10});
    EXPECT_TRUE(window.isWaiting(10, 10));
    EXPECT_TRUE(window.isWaiting(24, 24));
    EXPECT_FALSE(window.isWaiting(24, 10));
    EXPECT_FALSE(window.isWaiting(INT32_MIN, INT32_MIN));
    window.endPaint();
    EXPECT_FALSE(window.isWaiting(10, 10));
    window.invalidateAll();
    EXPECT_TRUE(window.isWaiting(0, 0));
    EXPECT_TRUE(window.isWaiting(99, 49));
    EXPECT_FALSE(window.isWaiting(100, 49));
}

}  // namespace
}  // namespace mole
