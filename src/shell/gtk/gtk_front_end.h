// The Linux desktop front end: one GTK 3 window covering the screen, GTK message boxes,
// the GLib main loop and a 50 ms GLib timeout as the tick, SDL2 for the two sounds.
#pragma once

#include <gtk/gtk.h>

#include <string_view>

#include "picture/surface.h"
#include "shell/gtk/sdl_sound.h"
#include "shell/host.h"
#include "shell/shell_state.h"

namespace mole {

class GtkFrontEnd final : public FrontEnd {
  public:
    GtkFrontEnd(ShellState& state, GdkDisplay* display);
    ~GtkFrontEnd() override;
    GtkFrontEnd(const GtkFrontEnd&) = delete;
    GtkFrontEnd& operator=(const GtkFrontEnd&) = delete;

    // The window, realized but not shown, of the screen size in `state`, at (0, 0).
    void createWindow();
    void showWindow();
    // A close request or a termination signal: the shell's destroy path, then the loop ends,
    // also when a message box is open.
    void requestClose();

    DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                     bool topmost) override;
    void playSound(int soundId) override;
    void startTick() override;
    void stopTick() override;
    void invalidateAll() override;
    void presentField(const Surface& field) override;
    void endEventLoop() override;
    void showStruckCursor() override;
    ScreenPoint cursorPosition() override;

  private:
    static gboolean onDrawSignal(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean onButtonPressSignal(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean onCursorResetSignal(GtkWidget*, GdkEvent* event, gpointer self);
    static gboolean onDeleteSignal(GtkWidget*, GdkEvent*, gpointer self);
    static gboolean onTickSource(gpointer self);

    void draw(cairo_t* cr);
    void restoreRaisedCursor();
    // Adds r to the area waiting to be repainted and makes sure a paint cycle comes.
    void markWaiting(const cairo_rectangle_int_t& r);
    static gboolean onPaintCycle(gpointer self);
    // The waiting area counts as repainted; what the paint changed goes to the screen.
    void finishPaint(const cairo_region_t* changed);
    // The part of the window a closed message box uncovered, which now waits for a repaint.
    void noteUncovered(GtkWidget* dialog);

    ShellState& state_;
    GdkDisplay* display_;
    GtkWidget* window_ = nullptr;
    GtkWidget* openDialog_ = nullptr;
    guint tickSource_ = 0;
    GdkCursor* raisedCursor_ = nullptr;
    GdkCursor* struckCursor_ = nullptr;
    bool struckShown_ = false;
    SdlSound sound_;
    // What the window shows, kept by the window system (an X pixmap), and the area of it
    // waiting to be repainted: the same pair as the modelled window of the headless runs.
    cairo_surface_t* shown_ = nullptr;
    cairo_region_t* waiting_ = nullptr;
    guint paintCycle_ = 0;
    bool closing_ = false;
    bool loopEnded_ = false;
};

}  // namespace mole
