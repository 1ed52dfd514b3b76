#include "picture/raster.h"

#include <gtest/gtest.h>

#include <climits>

#include "test_pictures.h"

namespace mole {
namespace {

// Applies op to one pair of colour values, straight from the definitions.
Pixel expectedColour(RasterOp op, Pixel d, Pixel s) {
    switch (op) {
        case RasterOp::SrcCopy:
            return s;
        case RasterOp::SrcAnd:
            return d & s;
        case RasterOp::SrcPaint:
            return d | s;
        case RasterOp::NotSrcCopy:
            return ~s & 0xFFFFFFu;
    }
    return d;
}

TEST(RasterOp, CodesAreTheGdiOnes) {
    EXPECT_EQ(static_cast<uint32_t>(RasterOp::SrcCopy), 0x00CC0020u);
    EXPECT_EQ(static_cast<uint32_t>(RasterOp::SrcAnd), 0x008800C6u);
    EXPECT_EQ(static_cast<uint32_t>(RasterOp::SrcPaint), 0x00EE0086u);
    EXPECT_EQ(static_cast<uint32_t>(RasterOp::NotSrcCopy), 0x00330008u);
}

TEST(RasterOp, ColourOntoColour) {
    const Pixel dst[] = {0x000000, 0xFFFFFF, 0xF0F0F0, 0x123456, 0x00FF00};
    const Pixel src[] = {0x0F0FF0, 0x000001, 0xFFFFFF, 0x000000, 0xABCDEF};
    for (RasterOp op :
         {RasterOp::SrcCopy, RasterOp::SrcAnd, RasterOp::SrcPaint, RasterOp::NotSrcCopy}) {
        Surface d(5, 1), s(5, 1);
        std::copy(std::begin(dst), std::end(dst), d.pixels.begin());
        std::copy(std::begin(src), std::end(src), s.pixels.begin());
        bitBlt(d, 0, 0, 5, 1, s, 0, 0, op);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(d.pixels[i], expectedColour(op, dst[i], src[i]))
                << "op " << std::hex << static_cast<uint32_t>(op) << " pixel " << i;
        }
    }
}

TEST(RasterOp, MonochromeOntoColourTakesOneAsWhiteAndZeroAsBlack) {
    struct Case {
        RasterOp op;
        Pixel underOne, underZero;  // results over destination 0x345678
    };
    const Case cases[] = {
        {RasterOp::SrcCopy, 0xFFFFFF, 0x000000},
        {RasterOp::SrcAnd, 0x345678, 0x000000},
        {RasterOp::SrcPaint, 0xFFFFFF, 0x345678},
        {RasterOp::NotSrcCopy, 0x000000, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        Surface d(2, 1, 0x345678);
        MonoSurface s(2, 1);
        s.bits = {1, 0};
        bitBlt(d, 0, 0, 2, 1, s, 0, 0, c.op);
        EXPECT_EQ(d.pixels[0], c.underOne);
        EXPECT_EQ(d.pixels[1], c.underZero);
    }
}

TEST(RasterOp, ColourOntoMonochromeTakesOnlyWhiteAsOne) {
    Surface s(4, 1);
    s.pixels = {0xFFFFFF, 0xFFFFFE, 0x000000, 0x7F7F7F};
    struct Case {
        RasterOp op;
        uint8_t before;
        std::vector<uint8_t> after;
    };
    const Case cases[] = {
        {RasterOp::SrcCopy, 0, {1, 0, 0, 0}},    {RasterOp::SrcCopy, 1, {1, 0, 0, 0}},
        {RasterOp::SrcAnd, 1, {1, 0, 0, 0}},     {RasterOp::SrcAnd, 0, {0, 0, 0, 0}},
        {RasterOp::SrcPaint, 0, {1, 0, 0, 0}},   {RasterOp::SrcPaint, 1, {1, 1, 1, 1}},
        {RasterOp::NotSrcCopy, 0, {0, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        MonoSurface d(4, 1, c.before);
        bitBlt(d, 0, 0, 4, 1, s, 0, 0, c.op);
        EXPECT_EQ(d.bits, c.after) << std::hex << static_cast<uint32_t>(c.op);
    }
}

TEST(RasterOp, MonochromeOntoMonochrome) {
    MonoSurface s(2, 1);
    s.bits = {1, 0};
    for (auto [op, before, after] : {std::tuple{RasterOp::SrcCopy, 1, std::vector<uint8_t>{1, 0}},
                                     {RasterOp::SrcAnd, 1, {1, 0}},
                                     {RasterOp::SrcPaint, 0, {1, 0}},
                                     {RasterOp::NotSrcCopy, 0, {0, 1}}}) {
        MonoSurface d(2, 1, static_cast<uint8_t>(before));
        bitBlt(d, 0, 0, 2, 1, s, 0, 0, op);
        EXPECT_EQ(d.bits, after);
    }
}

TEST(RasterOp, UnknownCodeDrawsNothing) {
    Surface d(2, 2, 0x111111);
    const Surface s(2, 2, 0x222222);
    bitBlt(d, 0, 0, 2, 2, s, 0, 0, static_cast<RasterOp>(0x00BB0226));
    EXPECT_EQ(d.pixels, Surface(2, 2, 0x111111).pixels);
}

// The clipped transfer, pixel by pixel: a destination pixel changes exactly when it lies in
// the destination rectangle and its source pixel lies inside the source surface.
Surface referenceTransfer(const Surface& dst, int64_t dx, int64_t dy, int64_t w, int64_t h,
                          const Surface& src, int64_t sx, int64_t sy) {
    Surface out = dst;
    for (int32_t y = 0; y < dst.height; ++y) {
        for (int32_t x = 0; x < dst.width; ++x) {
            if (x < dx || x >= dx + w || y < dy || y >= dy + h) {
                continue;
            }
            const int64_t u = x - dx + sx, v = y - dy + sy;
            if (u >= 0 && u < src.width && v >= 0 && v < src.height) {
                out.at(x, y) = src.at(static_cast<int32_t>(u), static_cast<int32_t>(v));
            }
        }
    }
    return out;
}

TEST(RasterClipping, EveryEdgeOfBothSurfaces) {
    struct Case {
        int32_t dx, dy, w, h, sx, sy;
    };
    const Case cases[] = {
        {0, 0, 5, 4, 0, 0},      // exactly the destination
        {-2, 1, 4, 2, 0, 0},     // off the destination's left edge
        {4, 1, 4, 2, 0, 0},      // off its right edge
        {1, -3, 2, 5, 0, 0},     // off its top edge
        {1, 3, 2, 5, 0, 0},      // off its bottom edge
        {0, 0, 4, 2, -3, 0},     // source left of the source surface
        {0, 0, 4, 2, 5, 1},      // source running off its right edge
        {0, 0, 3, 3, 1, -2},     // source above it
        {0, 0, 3, 5, 1, 4},      // source running off its bottom edge
        {-1, -1, 9, 9, -1, -1},  // larger than both, everywhere
        {-6, 0, 3, 3, 0, 0},     // wholly outside the destination
        {0, 0, 3, 3, 7, 0},      // wholly outside the source
        {2, 1, 0, 3, 0, 0},      // zero width
        {2, 1, 3, -2, 0, 0},     // negative height
        {1, 1, 2, 2, 6, 5},      // last source pixel only
    };
    const Surface src = testing::patterned(7, 6, 1);
    for (const Case& c : cases) {
        Surface dst = testing::patterned(5, 4, 2);
        const Surface want = referenceTransfer(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
        bitBlt(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, RasterOp::SrcCopy);
        EXPECT_EQ(dst.pixels, want.pixels)
            << c.dx << "," << c.dy << " " << c.w << "x" << c.h << " from " << c.sx << "," << c.sy;
    }
}

TEST(RasterClipping, ExtremeCoordinatesNeitherOverflowNorStray) {
    const int32_t lo = INT32_MIN, hi = INT32_MAX;
    struct Case {
        int32_t dx, dy, w, h, sx, sy;
    };
    const Case cases[] = {
        {lo, lo, hi, hi, 0, 0}, {0, 0, hi, hi, 0, 0},    {hi, hi, hi, hi, 0, 0},
        {0, 0, hi, hi, lo, lo}, {lo, 0, hi, 3, hi, 0},   {-1, -1, hi, hi, lo, lo},
        {0, 0, lo, lo, 0, 0},   {hi - 1, 0, 2, 2, 0, 0}, {0, 0, 2, 2, hi - 1, hi - 1},
    };
    const Surface src = testing::patterned(7, 6, 3);
    for (const Case& c : cases) {
        Surface dst = testing::patterned(5, 4, 4);
        const Surface want = referenceTransfer(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
        bitBlt(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, RasterOp::SrcCopy);
        EXPECT_EQ(dst.pixels, want.pixels) << c.dx << "," << c.dy << " " << c.w << "x" << c.h;
    }
}

TEST(RasterClipping, MonochromeTransfersClipToo) {
    MonoSurface mask(3, 3, 1);
    Surface colour(4, 4, 0x123456);
    bitBlt(colour, 2, 2, 5, 5, mask, -1, -1, RasterOp::SrcCopy);  // only (3, 3) gets a source
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(colour.at(x, y), (x == 3 && y == 3) ? kWhite : Pixel{0x123456});
        }
    }
    MonoSurface back(2, 2);
    bitBlt(back, -1, 0, 3, 9, colour, 2, 2, RasterOp::SrcCopy);
    EXPECT_EQ(back.bits, (std::vector<uint8_t>{0, 0, 1, 0}));  // (0, 1) reads the white (3, 3)
}

TEST(RasterClipping, EmptySurfacesAreSafe) {
    Surface empty;
    Surface s(3, 3, 0x010203);
    bitBlt(empty, 0, 0, 3, 3, s, 0, 0, RasterOp::SrcCopy);
    bitBlt(s, 0, 0, 3, 3, empty, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(s.pixels, Surface(3, 3, 0x010203).pixels);
}

TEST(RasterOverlap, OneSurfaceBehavesAsTwoPictures) {
    for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {2, 0}, {0, -2}}) {
        Surface s = testing::patterned(6, 5, 5);
        const Surface before = s;
        const Surface want = referenceTransfer(s, dx + 1, dy + 1, 4, 3, before, 1, 1);
        bitBlt(s, dx + 1, dy + 1, 4, 3, s, 1, 1, RasterOp::SrcCopy);
        EXPECT_EQ(s.pixels, want.pixels) << dx << "," << dy;
    }
}

TEST(Intersection, MeetsAndMisses) {
    const Rect a{0, 0, 10, 10};
    const Rect in = intersection(a, Rect{5, -5, 10, 8});
    EXPECT_EQ((std::tuple{in.x, in.y, in.width, in.height}), (std::tuple{5, 0, 5, 3}));
    EXPECT_EQ(intersection(a, Rect{10, 0, 5, 5}).width, 0);
    EXPECT_EQ(intersection(a, Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}).width, 0);
    const Rect all = intersection(a, Rect{-1, -1, INT32_MAX, INT32_MAX});
    EXPECT_EQ((std::tuple{all.x, all.y, all.width, all.height}), (std::tuple{0, 0, 10, 10}));
}

}  // namespace
}  // namespace mole
