// Reads the committed asset files and checks every fact the game's drawing, hit box and sound
// code rely on: sizes, bit depths, the sprite sheet's rows and transparency, cursor hotspots and
// the character of the two sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readAsset(const std::string& name) {
    std::ifstream in(std::string(MOLE_ASSET_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le16(const Bytes& b, std::size_t at) {
    return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0;
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return at + 4 <= b.size() ? le16(b, at) | le16(b, at + 2) << 16 : 0;
}
std::int32_t sle32(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}

// --- Sprite sheet ------------------------------------------------------------------------------

constexpr int kSheetWidth = 1024;
constexpr int kCell = 64;

struct Sheet {
    std::array<std::array<unsigned char, 4>, 256> palette{};  // B, G, R, reserved
    std::vector<unsigned char> index;                         // top-down, kSheetWidth per row
    bool black(int x, int y) const {
        const auto& p = palette[index[y * kSheetWidth + x]];
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
};

Sheet loadSheet(const Bytes& bmp) {
    Sheet s;
    const std::uint32_t offset = le32(bmp, 10);
    for (int i = 0; i < 256; ++i) {
        for (int k = 0; k < 4; ++k) {
            s.palette[i][k] = bmp[54 + 4 * i + k];
        }
    }
    s.index.resize(kSheetWidth * kCell);
    for (int y = 0; y < kCell; ++y) {  // stored bottom-up
        for (int x = 0; x < kSheetWidth; ++x) {
            s.index[y * kSheetWidth + x] = bmp[offset + (kCell - 1 - y) * kSheetWidth + x];
        }
    }
    return s;
}

TEST(SpriteSheetFile, IsA1024By64EightBitBitmapWith27PaletteEntriesUsed) {
    const Bytes bmp = readAsset("sprites.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    EXPECT_EQ(le32(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(sle32(bmp, 18), kSheetWidth);
    EXPECT_EQ(sle32(bmp, 22), kCell);  // positive: bottom-up, as LoadBitmap expects
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 8u);
    EXPECT_EQ(le32(bmp, 30), 0u);  // BI_RGB
    const std::uint32_t colours = le32(bmp, 46) == 0 ? 256 : le32(bmp, 46);
    EXPECT_EQ(colours, 256u);
    EXPECT_EQ(le32(bmp, 10), 54u + 4 * 256);
    ASSERT_EQ(bmp.size(), 54u + 4 * 256 + kSheetWidth * kCell);

    const Sheet sheet = loadSheet(bmp);
    std::set<int> used(sheet.index.begin(), sheet.index.end());
    EXPECT_EQ(used.size(), 27u);
    // Exactly one used entry is the transparent pure black; every colour of the artwork differs
    // from it and from each other, so no two indices draw the same.
    std::set<std::array<unsigned char, 3>> colourSet;
    int blackEntries = 0;
    for (int i : used) {
        const auto& p = sheet.palette[i];
        colourSet.insert({p[0], p[1], p[2]});
        blackEntries += p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
    EXPECT_EQ(blackEntries, 1);
    EXPECT_EQ(colourSet.size(), used.size());
}

struct FrameRows {
    int frame;
    int top;
};

// The first row with artwork in each frame; every frame's artwork ends at row 55.
constexpr FrameRows kFrameRows[] = {
    {0, 38}, {1, 38}, {2, 36},  {3, 34},  {4, 32},  {5, 30},  {6, 28},  {7, 26},
    {8, 24}, {9, 22}, {10, 20}, {11, 18}, {12, 16}, {13, 14}, {14, 14}, {15, 1},
};

TEST(SpriteSheetFile, EachFrameHasArtworkExactlyInItsRows) {
    const Sheet sheet = loadSheet(readAsset("sprites.bmp"));
    for (const FrameRows& f : kFrameRows) {
        int first = -1;
        int last = -1;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                if (!sheet.black(kCell * f.frame + x, y)) {
                    first = first < 0 ? y : first;
                    last = y;
                }
            }
        }
        EXPECT_EQ(first, f.top) << "frame " << f.frame;
        EXPECT_EQ(last, 55) << "frame " << f.frame;
    }
}

TEST(SpriteSheetFile, EmptyHoleSpansTheFullCellWidth) {
    const Sheet sheet = loadSheet(readAsset("sprites.bmp"));
    bool left = false;
    bool right = false;
    for (int y = 0; y < kCell; ++y) {
        left = left || !sheet.black(0, y);
        right = right || !sheet.black(kCell - 1, y);
    }
    EXPECT_TRUE(left && right);
}

// Pure black is transparent, so a black pixel the artwork encloses (an outline, a pupil, the
// opening of the hole) would show the picture behind it. The background is what a 4-connected
// flood fill from the cell's edge reaches through black pixels; any other black pixel is a hole.
TEST(SpriteSheetFile, NoPureBlackIsEnclosedByTheArtwork) {
    const Sheet sheet = loadSheet(readAsset("sprites.bmp"));
    for (int f = 0; f < 16; ++f) {
        std::vector<bool> outside(kCell * kCell, false);
        std::vector<std::pair<int, int>> todo;
        auto visit = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= kCell || y >= kCell || outside[y * kCell + x] ||
                !sheet.black(kCell * f + x, y)) {
                return;
            }
            outside[y * kCell + x] = true;
            todo.emplace_back(x, y);
        };
        for (int i = 0; i < kCell; ++i) {
            visit(i, 0);
            visit(i, kCell - 1);
            visit(0, i);
            visit(kCell - 1, i);
        }
        while (!todo.empty()) {
            auto [x, y] = todo.back();
            todo.pop_back();
            visit(x - 1, y);
            visit(x + 1, y);
            visit(x, y - 1);
            visit(x, y + 1);
        }
        int enclosed = 0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                enclosed += sheet.black(kCell * f + x, y) && !outside[y * kCell + x];
            }
        }
        EXPECT_EQ(enclosed, 0) << "frame " << f;
    }
}

// --- Icon and cursors --------------------------------------------------------------------------

struct IconImage {
    int width, height, bits, colourCount;
    std::size_t offset, size;
    int hotspotX, hotspotY;  // planes and bit count fields of a cursor entry
};

std::vector<IconImage> iconDirectory(const Bytes& file, int type) {
    std::vector<IconImage> out;
    EXPECT_EQ(le16(file, 0), 0u);
    EXPECT_EQ(le16(file, 2), static_cast<std::uint32_t>(type));
    const int count = static_cast<int>(le16(file, 4));
    for (int i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * i;
        IconImage img{};
        img.width = file[e] == 0 ? 256 : file[e];
        img.height = file[e + 1] == 0 ? 256 : file[e + 1];
        img.colourCount = file[e + 2];
        img.hotspotX = static_cast<int>(le16(file, e + 4));
        img.hotspotY = static_cast<int>(le16(file, e + 6));
        img.size = le32(file, e + 8);
        img.offset = le32(file, e + 12);
        EXPECT_LE(img.offset + img.size, file.size());
        // The image's own header: twice the height (colour and mask), its real bit depth.
        EXPECT_EQ(le32(file, img.offset), 40u);
        EXPECT_EQ(sle32(file, img.offset + 4), img.width);
        EXPECT_EQ(sle32(file, img.offset + 8), 2 * img.height);
        img.bits = static_cast<int>(le16(file, img.offset + 14));
        const std::size_t rowBytes = ((img.width * img.bits + 31) / 32) * 4;
        const std::size_t maskBytes = ((img.width + 31) / 32) * 4;
        EXPECT_EQ(img.size, 40 + 4 * (std::size_t{1} << img.bits) +
                                (rowBytes + maskBytes) * static_cast<std::size_t>(img.height));
        out.push_back(img);
    }
    return out;
}

TEST(IconFile, HoldsA16ColourAndA256Colour32By32Image) {
    const Bytes ico = readAsset("mole.ico");
    const auto images = iconDirectory(ico, 1);
    ASSERT_EQ(images.size(), 2u);
    std::set<int> depths;
    for (const auto& img : images) {
        EXPECT_EQ(img.width, 32);
        EXPECT_EQ(img.height, 32);
        depths.insert(img.bits);
        EXPECT_EQ(img.colourCount, img.bits == 4 ? 16 : 0);
    }
    EXPECT_EQ(depths, (std::set<int>{4, 8}));
}

// Whether the pixel at (x, y) of a 32 x 32 cursor image is drawn (its AND mask bit is 0).
bool cursorOpaque(const Bytes& cur, const IconImage& img, int x, int y) {
    const std::size_t mask = img.offset + 40 + 8 + 4 * 32;
    const unsigned char byte = cur[mask + 4 * (31 - y) + x / 8];
    return ((byte >> (7 - x % 8)) & 1) == 0;
}

struct CursorCase {
    const char* file;
    int hotspotX, hotspotY;
};

constexpr CursorCase kCursors[] = {
    {"hammer_raised.cur", 6, 16},  // 103
    {"hammer_struck.cur", 29, 3},  // 104
};

TEST(CursorFiles, AreMonochrome32By32WithTheirHotspotsOnTheHammerHead) {
    for (const CursorCase& c : kCursors) {
        SCOPED_TRACE(c.file);
        const Bytes cur = readAsset(c.file);
        const auto images = iconDirectory(cur, 2);
        ASSERT_EQ(images.size(), 1u);
        const IconImage& img = images[0];
        EXPECT_EQ(img.width, 32);
        EXPECT_EQ(img.height, 32);
        EXPECT_EQ(img.bits, 1);
        EXPECT_EQ(img.hotspotX, c.hotspotX);
        EXPECT_EQ(img.hotspotY, c.hotspotY);
        // The two palette entries are black and white.
        EXPECT_EQ(le32(cur, img.offset + 40), 0x000000u);
        EXPECT_EQ(le32(cur, img.offset + 44) & 0xFFFFFFu, 0xFFFFFFu);
        // The strike lands where the hammer is drawn, not on a transparent pixel.
        EXPECT_TRUE(cursorOpaque(cur, img, c.hotspotX, c.hotspotY));
        int drawn = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                drawn += cursorOpaque(cur, img, x, y);
            }
        }
        EXPECT_GT(drawn, 150);  // a hammer, not a dot
        EXPECT_LT(drawn, 700);  // and not a filled square
    }
}

// --- Sounds ------------------------------------------------------------------------------------

struct Wave {
    std::uint32_t format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<int> samples;  // centred: -128..127
};

Wave loadWave(const Bytes& b) {
    Wave w;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 4) + 8, b.size());
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id(b.begin() + at, b.begin() + at + 4);
        const std::uint32_t size = le32(b, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            w.format = le16(b, body);
            w.channels = le16(b, body + 2);
            w.rate = le32(b, body + 4);
            w.byteRate = le32(b, body + 8);
            w.blockAlign = le16(b, body + 12);
            w.bits = le16(b, body + 14);
        } else if (id == "data") {
            EXPECT_LE(body + size, b.size());
            for (std::size_t i = 0; i < size && body + i < b.size(); ++i) {
                w.samples.push_back(static_cast<int>(b[body + i]) - 128);
            }
        }
        at = body + size + (size & 1);  // chunks are word aligned
    }
    return w;
}

int peak(const std::vector<int>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    int p = 0;
    for (std::size_t i = from; i < s.size() && i < to; ++i) {
        p = std::max(p, std::abs(s[i]));
    }
    return p;
}

// Share of the signal's power in [lowHz, highHz], by a DFT over the whole sound.
double bandShare(const Wave& w, double lowHz, double highHz) {
    const std::size_t n = w.samples.size();
    double inBand = 0;
    double total = 0;
    for (std::size_t k = 1; k < n / 2; ++k) {
        // Goertzel's recurrence for bin k.
        const double coeff = 2 * std::cos(2 * std::numbers::pi * static_cast<double>(k) / n);
        double s1 = 0, s2 = 0;
        for (int v : w.samples) {
            const double s0 = v + coeff * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
        const double hz = static_cast<double>(k) * w.rate / n;
        total += power;
        inBand += (hz >= lowHz && hz <= highHz) ? power : 0;
    }
    return inBand / total;
}

struct SoundCase {
    const char* file;
    std::uint32_t rate;
    std::size_t samples;
    int minPeak, maxPeak;
    double lowHz, highHz;
};

constexpr SoundCase kSounds[] = {
    {"swing.wav", 22255, 6428, 54, 74, 300, 900},    // 105: a whoosh at about half scale
    {"hit.wav", 22050, 9057, 127, 128, 1000, 2200},  // 106: a full-scale knock
};

TEST(SoundFiles, AreMono8BitPcmWithTheirRatesLengthsLevelsAndBands) {
    for (const SoundCase& c : kSounds) {
        SCOPED_TRACE(c.file);
        const Wave w = loadWave(readAsset(c.file));
        EXPECT_EQ(w.format, 1u);
        EXPECT_EQ(w.channels, 1u);
        EXPECT_EQ(w.bits, 8u);
        EXPECT_EQ(w.blockAlign, 1u);
        EXPECT_EQ(w.rate, c.rate);
        EXPECT_EQ(w.byteRate, c.rate);
        EXPECT_EQ(w.samples.size(), c.samples);
        const int p = peak(w.samples);
        EXPECT_GE(p, c.minPeak);
        EXPECT_LE(p, c.maxPeak);
        EXPECT_GT(bandShare(w, c.lowHz, c.highHz), 0.5);
    }
}

constexpr int kNearSilence = 3;  // of 128

std::size_t leadingSilence(const std::vector<int>& s) {
    std::size_t i = 0;
    while (i < s.size() && std::abs(s[i]) <= kNearSilence) {
        ++i;
    }
    return i;
}

TEST(SoundFiles, SwingStartsAfterANearSilenceAndFadesOut) {
    const Wave w = loadWave(readAsset("swing.wav"));
    const double silentMs = 1000.0 * leadingSilence(w.samples) / w.rate;
    EXPECT_GE(silentMs, 30);
    EXPECT_LE(silentMs, 60);
    // Faded out: the last tenth is near silent.
    EXPECT_LE(peak(w.samples, w.samples.size() * 9 / 10), kNearSilence);
}

TEST(SoundFiles, HitStartsAtOnceAndDecaysWithinAboutAThirdOfASecond) {
    const Wave w = loadWave(readAsset("hit.wav"));
    EXPECT_LT(leadingSilence(w.samples), w.rate / 200);           // within 5 ms
    EXPECT_GT(peak(w.samples, w.rate / 10, w.rate / 5), 8);       // still ringing at 0.1 to 0.2 s
    EXPECT_LE(peak(w.samples, w.rate * 35 / 100), kNearSilence);  // quiet from 0.35 s
}

}  // namespace
