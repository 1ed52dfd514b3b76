// Small pictures built in the tests: BMP and PNG encodings of surfaces, and sprite sheets
// with chosen pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/surface.h"

namespace mole::testing {

// An uncompressed bottom-up BMP, 24 bits per pixel.
std::vector<unsigned char> encodeBmp24(const Surface& s);
// An 8-bit palette BMP, as the sprite sheet resource is stored; at most 256 colours.
std::vector<unsigned char> encodeBmp8(const Surface& s);
std::vector<unsigned char> encodePng(const Surface& s);

// A deterministic picture where neighbouring pixels differ.
Surface patterned(int32_t w, int32_t h, uint32_t seed);

}  // namespace mole::testing
