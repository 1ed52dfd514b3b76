#include "picture/surfaces.h"

#include <gtest/gtest.h>

#include "picture/raster.h"
#include "test_pictures.h"

namespace mole {
namespace {

Surfaces makeSurfaces(const Surface& snapshot, const Surface& sheet) {
    Surfaces s;
    const std::vector<unsigned char> bmp = testing::encodeBmp24(sheet);
    EXPECT_TRUE(createSurfaces(s, snapshot, bmp.data(), bmp.size()));
    return s;
}

// The masked draw as two raster passes, the reference for the fused drawFrame.
void drawFrameTwoPasses(const Surfaces& s, Surface& target, int32_t x, int32_t y, int32_t f) {
    bitBlt(target, x, y, 64, 64, s.spriteMask, 64 * f, 0, RasterOp::SrcAnd);
    bitBlt(target, x, y, 64, 64, s.spriteSheet, 64 * f, 0, RasterOp::SrcPaint);
}

TEST(CreateSurfaces, ScreenSurfacesAreIdenticalCopiesOfTheSnapshot) {
    const Surface snapshot = testing::patterned(200, 120, 21);
    Surfaces s = makeSurfaces(snapshot, testing::patterned(1024, 64, 22));
    EXPECT_TRUE(s.created);
    for (const Surface* screen : {&s.field, &s.view, &s.pristine, &s.scars}) {
        EXPECT_EQ(screen->width, 200);
        EXPECT_EQ(screen->height, 120);
        EXPECT_EQ(screen->pixels, snapshot.pixels);
    }
}

TEST(CreateSurfaces, MaskIsWhiteExactlyOnPureBlack) {
    Surface sheet(1024, 64, rgb(10, 20, 30));
    const std::pair<int, int> black[] = {{0, 0}, {1023, 63}, {500, 7}};
    for (auto [x, y] : black) {
        sheet.at(x, y) = kBlack;
    }
    sheet.at(1, 0) = rgb(0, 0, 1);
    sheet.at(2, 0) = rgb(1, 0, 0);
    sheet.at(3, 0) = kWhite;  // white artwork must stay opaque
    const Surfaces s = makeSurfaces(Surface(8, 8), sheet);
    ASSERT_EQ(s.spriteMask.width, 1024);
    ASSERT_EQ(s.spriteMask.height, 64);
    EXPECT_EQ(s.spriteSheet.pixels, sheet.pixels);
    int ones = 0;
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 1024; ++x) {
            EXPECT_EQ(s.spriteMask.at(x, y), sheet.at(x, y) == kBlack ? 1 : 0) << x << "," << y;
            ones += s.spriteMask.at(x, y);
        }
    }
    EXPECT_EQ(ones, 3);
}

TEST(CreateSurfaces, UndecodableOrMisfitSheetFallsBackToInvisibleMoles) {
    const auto small = testing::encodeBmp24(testing::patterned(64, 64, 23));
    const unsigned char garbage[] = {'B', 'M', 1, 2, 3};
    struct Case {
        const unsigned char* data;
        std::size_t size;
    };
    for (const Case& c :
         {Case{small.data(), small.size()}, Case{garbage, sizeof garbage}, Case{nullptr, 0}}) {
        const Surface snapshot = testing::patterned(100, 80, 24);
        Surfaces s;
        EXPECT_FALSE(createSurfaces(s, snapshot, c.data, c.size));
        EXPECT_TRUE(s.created);
        EXPECT_EQ(s.spriteSheet.width, 1024);
        EXPECT_EQ(s.spriteSheet.height, 64);
        Surface target = snapshot;
        for (int32_t f = 0; f < 16; ++f) {
            drawFrame(s, target, 10, 10, f);
        }
        EXPECT_EQ(target.pixels, snapshot.pixels);
    }
}

TEST(ReleaseSurfaces, FreesEverythingAndIsSafeToRepeat) {
    Surfaces s = makeSurfaces(testing::patterned(50, 40, 25), testing::patterned(1024, 64, 26));
    releaseSurfaces(s);
    EXPECT_FALSE(s.created);
    for (const Surface* p : {&s.field, &s.view, &s.pristine, &s.scars, &s.spriteSheet}) {
        EXPECT_TRUE(p->pixels.empty());
        EXPECT_EQ(p->pixels.capacity(), 0u);
        EXPECT_EQ(p->width, 0);
    }
    EXPECT_EQ(s.spriteMask.bits.capacity(), 0u);
    releaseSurfaces(s);
    Surfaces never;
    releaseSurfaces(never);
    Surface target(10, 10, 0x777777);
    drawFrame(s, target, 0, 0, 3);  // drawing from released surfaces draws nothing
    EXPECT_EQ(target.pixels, Surface(10, 10, 0x777777).pixels);
}

TEST(DrawFrame, PureBlackIsTransparentAndEveryOtherColourDrawn) {
    Surface sheet(1024, 64, kBlack);
    const int32_t f = 5;
    sheet.at(64 * f + 0, 0) = rgb(0, 0, 1);
    sheet.at(64 * f + 1, 0) = rgb(1, 0, 0);
    sheet.at(64 * f + 2, 0) = kWhite;
    sheet.at(64 * f + 3, 0) = rgb(0, 1, 0);
    const Surfaces s = makeSurfaces(Surface(8, 8), sheet);
    Surface target(100, 100, rgb(200, 100, 50));
    drawFrame(s, target, 20, 30, f);
    EXPECT_EQ(target.at(20, 30), rgb(0, 0, 1));
    EXPECT_EQ(target.at(21, 30), rgb(1, 0, 0));
    EXPECT_EQ(target.at(22, 30), kWhite);
    EXPECT_EQ(target.at(23, 30), rgb(0, 1, 0));
    int changed = 0;
    for (Pixel p : target.pixels) {
        changed += p != rgb(200, 100, 50);
    }
    EXPECT_EQ(changed, 4);
}

TEST(DrawFrame, FrameFReadsColumns64FTo64FPlus63OfMaskAndSheet) {
    // Each frame's own colour fills its columns; the edge columns of every frame are black.
    Surface sheet(1024, 64, kBlack);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 1024; ++x) {
            if (x % 64 != 0 && x % 64 != 63) {
                sheet.at(x, y) = rgb(x / 64 + 1, 0x40, y);
            }
        }
    }
    const Surfaces s = makeSurfaces(Surface(8, 8), sheet);
    for (int32_t f = 0; f < 16; ++f) {
        Surface target(66, 64, 0x0A0B0C);
        drawFrame(s, target, 1, 0, f);
        for (int32_t y = 0; y < 64; ++y) {
            EXPECT_EQ(target.at(0, y), 0x0A0B0Cu);
            EXPECT_EQ(target.at(1, y), 0x0A0B0Cu);   // column 64 f: transparent
            EXPECT_EQ(target.at(64, y), 0x0A0B0Cu);  // column 64 f + 63: transparent
            EXPECT_EQ(target.at(65, y), 0x0A0B0Cu);
            for (int32_t x = 2; x < 64; ++x) {
                ASSERT_EQ(target.at(x, y), rgb(f + 1, 0x40, y)) << f << ": " << x << "," << y;
            }
        }
    }
}

TEST(DrawFrame, FrameOutsideTheSheetDrawsNothing) {
    const Surfaces s = makeSurfaces(Surface(8, 8), Surface(1024, 64, kWhite));
    Surface target(64, 64, 0x123456);
    for (int32_t f : {-1, 16, 1000, INT32_MIN, INT32_MAX}) {
        drawFrame(s, target, 0, 0, f);
    }
    EXPECT_EQ(target.pixels, Surface(64, 64, 0x123456).pixels);
}

// A sheet of opaque colours, pure black and near-black pixels, with some rows wholly
// transparent, frame 0 all transparent and frame 15 all opaque.
Surface mixedSheet() {
    Surface sheet = testing::patterned(1024, 64, 27);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 1024; ++x) {
            const int32_t f = x / 64;
            Pixel& p = sheet.at(x, y);
            if (f == 15) {
                p |= 1;
            } else if (f == 0 || (y * 7 + f) % 5 == 0 || x % 3 == 0) {
                p = kBlack;
            } else if (x % 7 == 0) {
                p = rgb(0, 0, 1);
            }
        }
    }
    return sheet;
}

// Positions inside, across every edge of, and outside a 130 x 100 target.
const std::pair<int32_t, int32_t> kPlaces[] = {
    {10, 20}, {-30, 5}, {70, -40},      {100, 60}, {-63, -63}, {129, 99},
    {-64, 0}, {0, 100}, {INT32_MIN, 0}, {66, 36},  {0, 0},     {INT32_MAX, INT32_MAX},
};

TEST(DrawFrame, FusedDrawMatchesTheTwoPasses) {
    const Surfaces s = makeSurfaces(Surface(8, 8), mixedSheet());
    uint32_t seed = 100;
    for (auto [x, y] : kPlaces) {
        for (int32_t f = 0; f < 16; ++f) {
            const Surface before = testing::patterned(130, 100, ++seed);
            Surface fused = before, twoPass = before;
            drawFrame(s, fused, x, y, f);
            drawFrameTwoPasses(s, twoPass, x, y, f);
            ASSERT_EQ(fused.pixels, twoPass.pixels) << "frame " << f << " at " << x << "," << y;
        }
    }
}

TEST(DrawFrame, DrawingOverAGroundMatchesCopyThenDraw) {
    const Surfaces s = makeSurfaces(Surface(8, 8), mixedSheet());
    const Surface ground = testing::patterned(130, 100, 28);
    uint32_t seed = 200;
    for (auto [x, y] : kPlaces) {
        for (int32_t f : {-1, 0, 1, 7, 14, 15, 16}) {
            const Surface before = testing::patterned(130, 100, ++seed);
            Surface over = before, stepwise = before;
            drawFrameOver(s, over, ground, x, y, f);
            bitBlt(stepwise, x, y, 64, 64, ground, x, y, RasterOp::SrcCopy);
            drawFrameTwoPasses(s, stepwise, x, y, f);
            ASSERT_EQ(over.pixels, stepwise.pixels) << "frame " << f << " at " << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace mole
