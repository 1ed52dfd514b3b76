// The whole contract between a front end and the game.
//
// A front end owns the entry point, the event loop and the one full-screen window. It
// implements FrontEnd, the platform's services, and calls the shell's handlers back, one
// per window event. The game never calls the platform any other way, and the front end
// never touches the game's state except through these handlers and the read-only
// ShellState it paints from.
//
// Everything runs on one thread. ask() runs a modal loop; while it is open, paints and a
// destroy request may arrive and must be routed to onPaint and onDestroy as usual (the
// shell copes with being destroyed in the middle of a dialog), but the front end must not
// deliver ticks or clicks (the timer is stopped and the window is disabled for input).
#pragma once

#include <cstdint>
#include <ctime>
#include <string_view>

#include "picture/surface.h"
#include "shell/messages.h"  // DialogButtons
#include "shell/shell_state.h"

namespace mole {

class PaintTarget;

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

inline constexpr int kSwingSoundId = 105;
inline constexpr int kHitSoundId = 106;

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // A modal message box owned by the game's window, the caption as its title; topmost
    // keeps it above every window. Texts are UTF-8. Yes/No boxes answer Yes or No (a box
    // closed any other way answers No); OK boxes answer Ok.
    virtual DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                             bool topmost) = 0;
    // Starts sound 105 or 106 asynchronously; a new sound cuts off the one playing.
    // No audio device means silence.
    virtual void playSound(int soundId) = 0;
    // The 50 ms timer (id 123); starting a running timer restarts it.
    virtual void startTick() = 0;
    virtual void stopTick() = 0;
    // Marks the whole window for repainting; the next paint calls onPaint.
    virtual void invalidateAll() = 0;
    // Paints the whole of `field` onto the window through a paint cycle: only the part of
    // the window waiting to be repainted changes, and then counts as repainted.
    virtual void presentField(const Surface& field) = 0;
    // Ends the event loop with exit code 0. Called once, after the surfaces are released.
    virtual void endEventLoop() = 0;
    // Shows the struck hammer until the platform next sets the window's own cursor (the
    // raised hammer) on mouse movement or button release.
    virtual void showStruckCursor() = 0;
    // The cursor position in screen coordinates, read now.
    virtual ScreenPoint cursorPosition() = 0;
};

// The clock read once to seed the random source: calendar time in whole seconds.
inline uint32_t clockSeed() {
    return static_cast<uint32_t>(std::time(nullptr));
}

// Window created: `snapshot` is the screen as it was before the window appeared, of the
// screen size in `state` (set by the front end before the window exists). A snapshot of
// another size is fitted: what lies outside it stays black.
void onCreate(ShellState& state, FrontEnd& frontEnd, const Surface& snapshot, uint32_t seedSeconds);
// The window must be painted: copies what the mode calls for from the view.
void onPaint(const ShellState& state, PaintTarget& target);
// The 50 ms timer fired.
void onTimer(ShellState& state, FrontEnd& frontEnd);
// Left button pressed anywhere in the window.
void onLeftButtonDown(ShellState& state, FrontEnd& frontEnd);
// Right button pressed anywhere in the window.
void onRightButtonDown(ShellState& state, FrontEnd& frontEnd);
// The window is being destroyed (close request, session end, signal).
void onDestroy(ShellState& state, FrontEnd& frontEnd);

}  // namespace mole
