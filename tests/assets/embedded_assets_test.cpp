// The bytes compiled into the program must be exactly the committed asset files.
#include "assets/embedded_assets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct EmbeddedCase {
    const char* file;
    mole::assets::Blob (*blob)();
};

const EmbeddedCase kEmbedded[] = {
    {"sprites.bmp", mole::assets::spriteSheetBitmap},
    {"mole.ico", mole::assets::iconGroup},
    {"hammer_raised.cur", mole::assets::raisedHammerCursor},
    {"hammer_struck.cur", mole::assets::struckHammerCursor},
    {"swing.wav", mole::assets::swingSound},
    {"hit.wav", mole::assets::hitSound},
    {"default_desktop.png", mole::assets::defaultDesktop},
};

TEST(EmbeddedAssets, EqualTheCommittedFiles) {
    for (const EmbeddedCase& c : kEmbedded) {
        SCOPED_TRACE(c.file);
        std::ifstream in(std::string(MOLE_ASSET_DIR) + "/" + c.file, std::ios::binary);
        ASSERT_TRUE(in);
        const std::vector<unsigned char> file(std::istreambuf_iterator<char>(in), {});
        const mole::assets::Blob blob = c.blob();
        ASSERT_NE(blob.data, nullptr);
        ASSERT_EQ(blob.size, file.size());
        EXPECT_TRUE(std::equal(file.begin(), file.end(), blob.data));
    }
}

}  // namespace
