#include "test_pictures.h"

#include <algorithm>
#include <map>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace mole::testing {

namespace {

void put16(std::vector<unsigned char>& b, uint32_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& b, uint32_t v) {
    put16(b, v & 0xFFFFu);
    put16(b, v >> 16);
}

std::vector<unsigned char> bmpHeaders(const Surface& s, uint32_t bits, uint32_t paletteEntries) {
    const uint32_t rowBytes = (static_cast<uint32_t>(s.width) * bits + 31) / 32 * 4;
    const uint32_t offset = 14 + 40 + paletteEntries * 4;
    std::vector<unsigned char> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + rowBytes * static_cast<uint32_t>(s.height));
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, static_cast<uint32_t>(s.width));
    put32(b, static_cast<uint32_t>(s.height));
    put16(b, 1);
    put16(b, bits);
    put32(b, 0);  // uncompressed
    put32(b, rowBytes * static_cast<uint32_t>(s.height));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, paletteEntries);
    put32(b, 0);
    return b;
}

}  // namespace

std::vector<unsigned char> encodeBmp24(const Surface& s) {
    std::vector<unsigned char> b = bmpHeaders(s, 24, 0);
    for (int32_t y = s.height - 1; y >= 0; --y) {
        std::size_t n = 0;
        for (int32_t x = 0; x < s.width; ++x, n += 3) {
            const Pixel p = s.at(x, y);
            b.push_back(static_cast<unsigned char>(p));
            b.push_back(static_cast<unsigned char>(p >> 8));
            b.push_back(static_cast<unsigned char>(p >> 16));
        }
        for (; n % 4 != 0; ++n) {
            b.push_back(0);
        }
    }
    return b;
}

std::vector<unsigned char> encodeBmp8(const Surface& s) {
    std::map<Pixel, uint8_t> index;
    std::vector<Pixel> palette;
    for (Pixel p : s.pixels) {
        if (index.emplace(p, static_cast<uint8_t>(palette.size())).second) {
            palette.push_back(p);
        }
    }
    palette.resize(256, kBlack);
    std::vector<unsigned char> b = bmpHeaders(s, 8, 256);
    for (Pixel p : palette) {
        b.push_back(static_cast<unsigned char>(p));
        b.push_back(static_cast<unsigned char>(p >> 8));
        b.push_back(static_cast<unsigned char>(p >> 16));
        b.push_back(0);
    }
    for (int32_t y = s.height - 1; y >= 0; --y) {
        int32_t n = 0;
        for (int32_t x = 0; x < s.width; ++x, ++n) {
            b.push_back(index[s.at(x, y)]);
        }
        for (; n % 4 != 0; ++n) {
            b.push_back(0);
        }
    }
    return b;
}

std::vector<unsigned char> encodePng(const Surface& s) {
    std::vector<unsigned char> rgb;
    for (Pixel p : s.pixels) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    std::vector<unsigned char> out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* o = static_cast<std::vector<unsigned char>*>(context);
            const auto* bytes = static_cast<const unsigned char*>(data);
            o->insert(o->end(), bytes, bytes + size);
        },
        &out, s.width, s.height, 3, rgb.data(), s.width * 3);
    return out;
}

Surface patterned(int32_t w, int32_t h, uint32_t seed) {
    Surface s(w, h);
    uint32_t state = seed * 2654435761u + 1;
    for (Pixel& p : s.pixels) {
        state = state * 1664525u + 1013904223u;
        p = (state >> 8) & kColourBits;
    }
    return s;
}

}  // namespace mole::testing
