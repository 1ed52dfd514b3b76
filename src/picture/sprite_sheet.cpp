#include "picture/sprite_sheet.h"

#include <climits>

// The one place stb_image is compiled. Only the two formats we carry, and no stdio, so the
// decoder has no way of reading a file.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#endif
#ifdef MOLE_STB_IMAGE_H
#include MOLE_STB_IMAGE_H  // cross builds: the host's header, by its full path
#else
#include <stb/stb_image.h>
#endif
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace mole {

namespace {

// Larger than any screen we expect to fill (an 8K display is 33 million pixels), small
// enough that a forged header cannot make us allocate gigabytes.
constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;

bool isBmp(const unsigned char* data, std::size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

uint32_t readLe32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// The BMP decoder reads past the end of truncated data as zeros and reports success, so
// an uncompressed BMP must carry every row its header promises before we hand it over.
bool bmpLongEnough(const unsigned char* data, std::size_t size) {
    if (size < 14 + 16) {
        return false;
    }
    const uint32_t pixelOffset = readLe32(data + 10);
    const uint32_t headerSize = readLe32(data + 14);
    int64_t width = 0, height = 0;
    uint32_t bitsPerPixel = 0, compression = 0;
    if (headerSize == 12) {  // OS/2 core header
        width = data[18] | data[19] << 8;
        height = data[20] | data[21] << 8;
        bitsPerPixel = data[24] | data[25] << 8;
    } else {
        if (size < 14 + 20) {
            return false;
        }
        width = static_cast<int32_t>(readLe32(data + 18));
        height = static_cast<int32_t>(readLe32(data + 22));
        bitsPerPixel = data[28] | data[29] << 8;
        compression = readLe32(data + 30);
    }
    if (compression == 1 || compression == 2) {
        return true;  // run-length data has no fixed size; stb_image rejects it anyway
    }
    if (height < 0) {
        height = -height;  // top-down
    }
    if (width <= 0 || height == 0) {
        return false;
    }
    const int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return int64_t{pixelOffset} + rowBytes * height <= static_cast<int64_t>(size);
}

}  // namespace

bool decodePicture(const unsigned char* data, std::size_t size, Surface& out) {
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    const int length = static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, length, &w, &h, &channels)) {
        return false;
    }
    if (w <= 0 || h <= 0 || int64_t{w} * h > kMaxPixels) {
        return false;
    }
    if (isBmp(data, size) && !bmpLongEnough(data, size)) {
        return false;
    }
    unsigned char* rgb = stbi_load_from_memory(data, length, &w, &h, &channels, 3);
    if (rgb == nullptr) {
        return false;
    }
    Surface decoded(w, h);
    const unsigned char* p = rgb;
    for (Pixel& px : decoded.pixels) {
        px = mole::rgb(p[0], p[1], p[2]);
        p += 3;
    }
    stbi_image_free(rgb);
    out = std::move(decoded);
    return true;
}

bool decodeSpriteSheet(const unsigned char* data, std::size_t size, Surface& out) {
    Surface sheet;
    if (!decodePicture(data, size, sheet) || sheet.width != kSpriteSheetWidth ||
        sheet.height != kSpriteSheetHeight) {
        return false;
    }
    out = std::move(sheet);
    return true;
}

Surface scaledPicture(const Surface& src, int32_t w, int32_t h) {
    Surface out(w, h);
    if (out.empty() || src.empty()) {
        return out;
    }
    for (int32_t y = 0; y < out.height; ++y) {
        const int32_t sy = static_cast<int32_t>(int64_t{y} * src.height / out.height);
        const Pixel* from = src.row(sy);
        Pixel* to = out.row(y);
        for (int32_t x = 0; x < out.width; ++x) {
            to[x] = from[int64_t{x} * src.width / out.width];
        }
    }
    return out;
}

}  // namespace mole
