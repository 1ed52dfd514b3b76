// Our stand-in for the platform's bitmaps. A colour surface is W x H pixels 0x00RRGGBB,
// row-major and top-down: the memory layout of a 32-bit top-down DIB and of cairo's RGB24,
// so a front end presents it without conversion. The top byte is always zero, so pixels
// compare equal exactly when their colours do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mole {

using Pixel = uint32_t;

inline constexpr Pixel kBlack = 0x000000u;
inline constexpr Pixel kWhite = 0xFFFFFFu;
inline constexpr Pixel kColourBits = 0xFFFFFFu;

inline constexpr Pixel rgb(uint32_t r, uint32_t g, uint32_t b) {
    return ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Pixel> pixels;

    Surface() = default;
    Surface(int32_t w, int32_t h, Pixel fill = kBlack)
        : width(w > 0 ? w : 0),
          height(h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

    bool empty() const { return pixels.empty(); }
    Pixel* row(int32_t y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const Pixel* row(int32_t y) const {
        return pixels.data() + static_cast<std::size_t>(y) * width;
    }
    Pixel at(int32_t x, int32_t y) const { return row(y)[x]; }
    Pixel& at(int32_t x, int32_t y) { return row(y)[x]; }
    // Frees the picture, not just its contents.
    void release() {
        std::vector<Pixel>().swap(pixels);
        width = height = 0;
    }
};

// A 1-bit picture, held one byte per pixel (0 or 1) so that transfers stay simple loops.
struct MonoSurface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bits;

    MonoSurface() = default;
    MonoSurface(int32_t w, int32_t h, uint8_t fill = 0)
        : width(w > 0 ? w : 0),
          height(h > 0 ? h : 0),
          bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill ? 1 : 0) {}

    uint8_t* row(int32_t y) { return bits.data() + static_cast<std::size_t>(y) * width; }
    const uint8_t* row(int32_t y) const {
        return bits.data() + static_cast<std::size_t>(y) * width;
    }
    uint8_t at(int32_t x, int32_t y) const { return row(y)[x]; }
    void release() {
        std::vector<uint8_t>().swap(bits);
        width = height = 0;
    }
};

}  // namespace mole
