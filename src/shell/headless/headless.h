// The front end with no window system: null services that record what the real ones would
// do. Pixels go to a modelled window, dialogs are answered by a script and recorded with
// every text, sounds, cursors and timer changes are logged, and time moves only when the
// caller says. It runs the same shell as the desktop front ends, so what its window shows
// after each event is the reference for them.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "picture/model_window.h"
#include "picture/surface.h"
#include "shell/host.h"
#include "shell/shell_state.h"

namespace mole {

struct DialogRecord {
    std::string caption;
    std::string text;
    DialogButtons buttons = DialogButtons::Ok;
    bool topmost = false;
    DialogAnswer answer = DialogAnswer::Ok;
};

// One service call, in the order the shell made them.
struct HostEvent {
    enum Kind {
        Dialog,
        Sound,
        StartTick,
        StopTick,
        Invalidate,
        PresentField,
        EndLoop,
        StruckCursor
    };
    Kind kind;
    int value = 0;  // the sound id, or the index of the dialog in dialogs
    bool operator==(const HostEvent&) const = default;
};

// How a scripted dialog is answered. Close destroys the window while the box is open (a
// close request from outside, the session ending) and then lets the box return.
enum class ScriptedAnswer { Yes, No, Ok, Close };

class HeadlessGame;

class HeadlessFrontEnd final : public FrontEnd {
  public:
    HeadlessFrontEnd(HeadlessGame& game, int32_t width, int32_t height);

    DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                     bool topmost) override;
    void playSound(int soundId) override;
    void startTick() override;
    void stopTick() override;
    void invalidateAll() override;
    void presentField(const Surface& field) override;
    void endEventLoop() override;
    void showStruckCursor() override;
    ScreenPoint cursorPosition() override { return cursor; }

    ModelWindow window;
    ScreenPoint cursor;
    bool timerRunning = false;
    bool loopEnded = false;
    std::vector<DialogRecord> dialogs;
    std::vector<HostEvent> events;
    // The area a message box covers; it waits to be repainted once the box has closed.
    Rect dialogArea;
    // Answers the dialogs; by default the scripted answers in turn, then Yes or OK.
    std::function<DialogAnswer(const DialogRecord&)> answerer;
    std::deque<ScriptedAnswer> answers;
    // Called as each dialog appears, before it is answered (the demo prints it).
    std::function<void(const DialogRecord&)> onDialogShown;

  private:
    DialogAnswer scriptedAnswer(const DialogRecord& record);
    HeadlessGame& game_;
};

// A whole program without a window system: the shell's state, the headless services and a
// manual clock.
class HeadlessGame {
  public:
    HeadlessGame(int32_t screenWidth, int32_t screenHeight);

    // Creates the window over the given snapshot (or the default desktop picture).
    void start(const Surface& snapshot, uint32_t seed);
    void start(uint32_t seed);

    // One period of the timer: fires it if it runs. Returns whether it fired.
    bool tick();
    // Ticks while the timer runs, up to n times; returns how many fired.
    int ticks(int n);
    void leftClick(int32_t x, int32_t y);
    void rightClick();
    void close();

    bool running() const { return !frontEnd.loopEnded; }
    // Serves a pending paint, as the event loop does when it goes idle.
    void pump();

    ShellState state;
    HeadlessFrontEnd frontEnd;
    int paints = 0;
    int timerFirings = 0;
};

}  // namespace mole
