// The program on a Linux desktop. It takes no arguments and reads no files: the screen is
// read once, the window covers it with that picture, and the shell runs the game.
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <cstdio>

#include "picture/surface.h"
#include "shell/default_desktop.h"
#include "shell/gtk/gtk_front_end.h"
#include "shell/gtk/screen_capture.h"
#include "shell/host.h"
#include "shell/shell_state.h"

namespace {

gboolean onTerminationSignal(gpointer frontEnd) {
    static_cast<mole::GtkFrontEnd*>(frontEnd)->requestClose();
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main() {
    g_set_prgname("mole");
    // The game draws with cairo only; without this GDK would load a GL driver at start-up,
    // which on a plain X server costs some 50 MB for nothing.
    g_setenv("GDK_GL", "disable", FALSE);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fputs("mole: no display to open.\n", stderr);
        return 1;
    }
    GdkDisplay* display = gdk_display_get_default();
    mole::useDevicePixels(display);

    static mole::ShellState state;
    const mole::ScreenSize size = mole::readScreenSize(display);
    state.screenWidth = size.width;
    state.screenHeight = size.height;

    // Before the window exists, so the picture is the desktop and not the game.
    mole::Surface snapshot;
    if (!mole::captureRootWindow(display, size, snapshot)) {
        std::fputs("mole: the screen cannot be captured here; showing a default desktop.\n",
                   stderr);
        snapshot = mole::defaultDesktopPicture(size.width, size.height);
    }

    mole::GtkFrontEnd frontEnd(state, display);
    frontEnd.createWindow();
    mole::onCreate(state, frontEnd, snapshot, mole::clockSeed());
    snapshot.release();

    g_unix_signal_add(SIGTERM, onTerminationSignal, &frontEnd);
    g_unix_signal_add(SIGINT, onTerminationSignal, &frontEnd);

    frontEnd.showWindow();
    gtk_main();
    return 0;
}
