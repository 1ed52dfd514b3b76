#include "picture/sprite_sheet.h"

#include <gtest/gtest.h>

#include "test_pictures.h"

namespace mole {
namespace {

TEST(DecodePicture, BmpAndPngGiveTheirPixels) {
    const Surface picture = testing::patterned(13, 7, 11);  // odd width: padded BMP rows
    Surface palettised(13, 7);
    for (std::size_t i = 0; i < palettised.pixels.size(); ++i) {
        palettised.pixels[i] = (i % 3 == 0) ? kBlack : rgb(0, 0, 1 + i % 5);
    }
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        const Surface* want;
    };
    const Case cases[] = {
        {"bmp24", testing::encodeBmp24(picture), &picture},
        {"bmp8", testing::encodeBmp8(palettised), &palettised},
        {"png", testing::encodePng(picture), &picture},
    };
    for (const Case& c : cases) {
        Surface out;
        ASSERT_TRUE(decodePicture(c.bytes.data(), c.bytes.size(), out)) << c.name;
        EXPECT_EQ(out.width, c.want->width) << c.name;
        EXPECT_EQ(out.height, c.want->height) << c.name;
        EXPECT_EQ(out.pixels, c.want->pixels) << c.name;
    }
}

TEST(DecodePicture, BrokenInputFailsAndLeavesTheOutputAlone) {
    const Surface picture = testing::patterned(64, 16, 12);
    const std::vector<unsigned char> bmp = testing::encodeBmp24(picture);
    const std::vector<unsigned char> png = testing::encodePng(picture);
    std::vector<unsigned char> garbage(4096);
    for (std::size_t i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    }
    std::vector<unsigned char> hugeBmp = bmp;  // header promises 60000 x 60000 pixels
    for (int at : {18, 22}) {
        hugeBmp[at] = 0x60;
        hugeBmp[at + 1] = 0xEA;
        hugeBmp[at + 2] = 0;
        hugeBmp[at + 3] = 0;
    }
    struct Case {
        const char* name;
        const unsigned char* data;
        std::size_t size;
    };
    const Case cases[] = {
        {"bmp cut in the pixels", bmp.data(), bmp.size() - 1},
        {"bmp cut after a row", bmp.data(), 54 + 64 * 3},
        {"bmp header only", bmp.data(), 54},
        {"bmp cut in the header", bmp.data(), 20},
        {"png cut", png.data(), png.size() / 2},
        {"garbage", garbage.data(), garbage.size()},
        {"huge bmp", hugeBmp.data(), hugeBmp.size()},
        {"empty", bmp.data(), 0},
        {"null", nullptr, 100},
    };
    for (const Case& c : cases) {
        Surface out(2, 2, 0x445566);
        EXPECT_FALSE(decodePicture(c.data, c.size, out)) << c.name;
        EXPECT_EQ(out.pixels, Surface(2, 2, 0x445566).pixels) << c.name;
    }
}

TEST(DecodeSpriteSheet, AcceptsOnlyTheSheetSize) {
    Surface out;
    const auto sheet = testing::encodeBmp24(testing::patterned(1024, 64, 13));
    EXPECT_TRUE(decodeSpriteSheet(sheet.data(), sheet.size(), out));
    EXPECT_EQ(out.width, 1024);
    EXPECT_EQ(out.height, 64);
    for (auto [w, h] : {std::pair{1024, 63}, {1023, 64}, {64, 64}}) {
        const auto other = testing::encodeBmp24(testing::patterned(w, h, 14));
        Surface rejected;
        EXPECT_FALSE(decodeSpriteSheet(other.data(), other.size(), rejected)) << w << "x" << h;
    }
}

TEST(ScaledPicture, NearestNeighbour) {
    Surface src(2, 2);
    src.pixels = {1, 2, 3, 4};
    const Surface up = scaledPicture(src, 4, 3);
    EXPECT_EQ(up.pixels, (std::vector<Pixel>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4}));
    const Surface down = scaledPicture(testing::patterned(9, 9, 15), 3, 3);
    EXPECT_EQ(down.at(1, 1), testing::patterned(9, 9, 15).at(3, 3));
    EXPECT_EQ(scaledPicture(Surface{}, 3, 2).pixels, Surface(3, 2).pixels);
    EXPECT_TRUE(scaledPicture(src, 0, 5).empty());
    EXPECT_TRUE(scaledPicture(src, 5, -1).empty());
}

}  // namespace
}  // namespace mole
