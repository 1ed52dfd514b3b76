#include "shell/gtk/screen_capture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdkx.h>

#include <cstddef>
#include <utility>

namespace mole {

void useDevicePixels(GdkDisplay* display) {
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display)) {
        gdk_x11_display_set_window_scale(display, 1);
    }
#else
    (void)display;
#endif
}

ScreenSize readScreenSize(GdkDisplay* display) {
    ScreenSize size;
#ifdef GDK_WINDOWING_X11
    if (GDK_IS_X11_DISPLAY(display)) {
        // The window scale is forced to 1 at start-up, so these are device pixels.
        GdkWindow* root = gdk_screen_get_root_window(gdk_display_get_default_screen(display));
        size.width = gdk_window_get_width(root);
        size.height = gdk_window_get_height(root);
        return size;
    }
#endif
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    if (monitor != nullptr) {
        GdkRectangle area{};
        gdk_monitor_get_geometry(monitor, &area);
        size.width = area.width;
        size.height = area.height;
    }
    return size;
}

bool captureRootWindow(GdkDisplay* display, const ScreenSize& size, Surface& out) {
#ifdef GDK_WINDOWING_X11
    if (!GDK_IS_X11_DISPLAY(display) || size.width <= 0 || size.height <= 0) {
        return false;
    }
    GdkWindow* root = gdk_screen_get_root_window(gdk_display_get_default_screen(display));
    gdk_x11_display_error_trap_push(display);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(root, 0, 0, size.width, size.height);
    const bool xFailed = gdk_x11_display_error_trap_pop(display) != 0;
    if (pixbuf == nullptr || xFailed || gdk_pixbuf_get_width(pixbuf) != size.width ||
        gdk_pixbuf_get_height(pixbuf) != size.height ||
        gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || gdk_pixbuf_get_n_channels(pixbuf) < 3) {
        if (pixbuf != nullptr) {
            g_object_unref(pixbuf);
        }
        return false;
    }
    Surface shot(size.width, size.height);
    const guchar* bytes = gdk_pixbuf_read_pixels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    for (int32_t y = 0; y < shot.height; ++y) {
        const guchar* in = bytes + static_cast<std::ptrdiff_t>(y) * stride;
        Pixel* row = shot.row(y);
        for (int32_t x = 0; x < shot.width; ++x, in += channels) {
            row[x] = rgb(in[0], in[1], in[2]);
        }
    }
    g_object_unref(pixbuf);
    out = std::move(shot);
    return true;
#else
    (void)display;
    (void)size;
    (void)out;
    return false;
#endif
}

}  // namespace mole
