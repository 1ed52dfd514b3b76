// Decoding the pictures the program carries. Input is untrusted bytes: anything that is not
// a complete, sane image of a supported kind makes these return false, never crash.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/surface.h"

namespace mole {

inline constexpr int32_t kSpriteSheetWidth = 1024;  // sixteen 64 x 64 frames side by side
inline constexpr int32_t kSpriteSheetHeight = 64;
inline constexpr int32_t kFrameCount = 16;

// A BMP or PNG of any size up to a sane limit, into out (unchanged on failure).
bool decodePicture(const unsigned char* data, std::size_t size, Surface& out);

// As decodePicture, but only a picture of exactly the sprite sheet's size is accepted.
bool decodeSpriteSheet(const unsigned char* data, std::size_t size, Surface& out);

// src stretched or shrunk to w x h by nearest neighbour (the default desktop picture has to
// fit any screen). An empty src gives a black picture; w or h of 0 or less an empty one.
Surface scaledPicture(const Surface& src, int32_t w, int32_t h);

}  // namespace mole
