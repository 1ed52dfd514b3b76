// The screen as the program finds it at start-up, read before its own window exists.
#pragma once

#include <cstdint>

#include <gdk/gdk.h>

#include "picture/surface.h"

namespace mole {

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

// One window pixel per screen pixel, as the snapshot has them, also on a scaled X desktop.
// Call before any window exists. (Kept here so that no other file sees Xlib's macros.)
void useDevicePixels(GdkDisplay* display);

// The size of the screen in device pixels: the X screen's root window, or on a display
// without one (Wayland) the first monitor.
ScreenSize readScreenSize(GdkDisplay* display);

// The whole X screen, W x H pixels from (0, 0), as 0x00RRGGBB. False where there is no X
// root window to read or the read fails; `out` is then left alone.
bool captureRootWindow(GdkDisplay* display, const ScreenSize& size, Surface& out);

}  // namespace mole
