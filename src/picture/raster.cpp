#include "picture/raster.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace mole {

namespace {

// A transfer cut to the part that lies inside both surfaces.
struct Span {
    int32_t dx, dy, sx, sy, w, h;
};

// Clips one axis: start positions d (destination) and s (source), length n, surface
// extents dMax and sMax. 64-bit throughout, so no input can overflow.
bool clipAxis(int64_t& d, int64_t& s, int64_t& n, int64_t dMax, int64_t sMax) {
    if (n <= 0) {
        return false;
    }
    if (d < 0) {
        s -= d;
        n += d;
        d = 0;
    }
    if (s < 0) {
        d -= s;
        n += s;
        s = 0;
    }
    n = std::min({n, dMax - d, sMax - s});
    return n > 0;
}

bool clipTransfer(int32_t dstW, int32_t dstH, int32_t dx, int32_t dy, int32_t w, int32_t h,
                  int32_t srcW, int32_t srcH, int32_t sx, int32_t sy, Span& out) {
    int64_t x = dx, y = dy, u = sx, v = sy, n = w, m = h;
    if (!clipAxis(x, u, n, dstW, srcW) || !clipAxis(y, v, m, dstH, srcH)) {
        return false;
    }
    out = Span{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(u),
               static_cast<int32_t>(v), static_cast<int32_t>(n), static_cast<int32_t>(m)};
    return true;
}

// The value a source pixel has in the destination's format.
struct ColourAsColour {
    Pixel operator()(Pixel s) const { return s; }
};
struct MonoAsColour {
    Pixel operator()(uint8_t s) const { return s ? kWhite : kBlack; }
};
struct ColourAsMono {
    uint8_t operator()(Pixel s) const { return s == kWhite ? 1 : 0; }
};
struct MonoAsMono {
    uint8_t operator()(uint8_t s) const { return s ? 1 : 0; }
};

// NOT within the destination's format: the colour bits only (the top byte stays zero), or
// the single bit.
inline Pixel invert(Pixel p) {
    return ~p & kColourBits;
}
inline uint8_t invert(uint8_t b) {
    return b ^ 1u;
}

// One loop per operation, so that each inner loop is simple enough to be vectorised.
template <typename D, typename S, typename Conv>
void transferRows(D* dst, std::size_t dstStride, const S* src, std::size_t srcStride, const Span& c,
                  RasterOp op, Conv conv) {
    D* d = dst + static_cast<std::size_t>(c.dy) * dstStride + c.dx;
    const S* s = src + static_cast<std::size_t>(c.sy) * srcStride + c.sx;
    const std::size_t w = static_cast<std::size_t>(c.w);
    for (int32_t row = 0; row < c.h; ++row, d += dstStride, s += srcStride) {
        switch (op) {
            case RasterOp::SrcCopy:
                if constexpr (std::is_same_v<D, S> && std::is_same_v<Conv, ColourAsColour>) {
                    std::memcpy(d, s, w * sizeof(D));
                } else {
                    for (std::size_t i = 0; i < w; ++i) {
                        d[i] = conv(s[i]);
                    }
                }
                break;
            case RasterOp::SrcAnd:
                for (std::size_t i = 0; i < w; ++i) {
                    d[i] = static_cast<D>(d[i] & conv(s[i]));
                }
                break;
            case RasterOp::SrcPaint:
                for (std::size_t i = 0; i < w; ++i) {
                    d[i] = static_cast<D>(d[i] | conv(s[i]));
                }
                break;
            case RasterOp::NotSrcCopy:
                for (std::size_t i = 0; i < w; ++i) {
                    d[i] = invert(conv(s[i]));
                }
                break;
            default:
                return;  // not one of the four: nothing is drawn
        }
    }
}

template <typename DstSurface, typename SrcSurface, typename Conv>
void transfer(DstSurface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const SrcSurface& src,
              int32_t sx, int32_t sy, RasterOp op, Conv conv) {
    Span c{};
    if (!clipTransfer(dst.width, dst.height, dx, dy, w, h, src.width, src.height, sx, sy, c)) {
        return;
    }
    if constexpr (std::is_same_v<DstSurface, SrcSurface>) {
        if (&dst == &src) {
            // Overlapping rectangles of one surface: read the whole source before writing,
            // as if the two were separate pictures.
            SrcSurface copy(c.w, c.h);
            transfer(copy, 0, 0, c.w, c.h, src, c.sx, c.sy, RasterOp::SrcCopy, conv);
            transfer(dst, c.dx, c.dy, c.w, c.h, copy, 0, 0, op, conv);
            return;
        }
    }
    transferRows(dst.row(0), static_cast<std::size_t>(dst.width), src.row(0),
                 static_cast<std::size_t>(src.width), c, op, conv);
}

}  // namespace

Rect intersection(const Rect& a, const Rect& b) {
    const int64_t left = std::max<int64_t>(a.x, b.x);
    const int64_t top = std::max<int64_t>(a.y, b.y);
    const int64_t right =
        std::min<int64_t>(int64_t{a.x} + std::max(a.width, 0), int64_t{b.x} + std::max(b.width, 0));
    const int64_t bottom = std::min<int64_t>(int64_t{a.y} + std::max(a.height, 0),
                                             int64_t{b.y} + std::max(b.height, 0));
    if (right <= left || bottom <= top) {
        return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), 0, 0};
    }
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

void bitBlt(Surface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const Surface& src,
            int32_t sx, int32_t sy, RasterOp op) {
    transfer(dst, dx, dy, w, h, src, sx, sy, op, ColourAsColour{});
}

void bitBlt(Surface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const MonoSurface& src,
            int32_t sx, int32_t sy, RasterOp op) {
    transfer(dst, dx, dy, w, h, src, sx, sy, op, MonoAsColour{});
}

void bitBlt(MonoSurface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const Surface& src,
            int32_t sx, int32_t sy, RasterOp op) {
    transfer(dst, dx, dy, w, h, src, sx, sy, op, ColourAsMono{});
}

void bitBlt(MonoSurface& dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const MonoSurface& src,
            int32_t sx, int32_t sy, RasterOp op) {
    transfer(dst, dx, dy, w, h, src, sx, sy, op, MonoAsMono{});
}

}  // namespace mole
