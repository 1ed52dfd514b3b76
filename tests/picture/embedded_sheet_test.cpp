#include <gtest/gtest.h>

#include "assets/embedded_assets.h"
#include "picture/sprite_sheet.h"
#include "picture/surfaces.h"

namespace mole {
namespace {

TEST(EmbeddedSheet, DecodesToTheSheetSizeWithAMaskExactlyOnPureBlack) {
    const assets::Blob bmp = assets::spriteSheetBitmap();
    Surfaces s;
    ASSERT_TRUE(createSurfaces(s, Surface(128, 128), bmp.data, bmp.size));
    ASSERT_EQ(s.spriteSheet.width, 1024);
    ASSERT_EQ(s.spriteSheet.height, 64);
    int transparent = 0;
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 1024; ++x) {
            const bool black = s.spriteSheet.at(x, y) == kBlack;
            ASSERT_EQ(s.spriteMask.at(x, y), black ? 1 : 0) << x << "," << y;
            transparent += black;
        }
    }
    // Every frame has artwork and a transparent background around it.
    EXPECT_GT(transparent, 0);
    EXPECT_LT(transparent, 1024 * 64);
    for (int32_t f = 0; f < 16; ++f) {
        EXPECT_NE(s.frameRowsDrawn[f], 0u) << "frame " << f;
        // The artwork ends at row 55: an upside-down decode would show here.
        EXPECT_EQ(s.frameRowsDrawn[f] >> 56, 0u) << "frame " << f << ": rows 56 to 63";
    }
}

}  // namespace
}  // namespace mole
