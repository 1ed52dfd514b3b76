// The picture shown where no screen can be captured: a plausible desktop carried in the
// program, fitted to the screen size.
#pragma once

#include <cstdint>

#include "picture/surface.h"

namespace mole {

Surface defaultDesktopPicture(int32_t width, int32_t height);

}  // namespace mole
