// The story around the game: the emergency call, the briefing or the refusal, the nuke, and
// the closing sequence after the hundredth hit. It owns the mode, is the only code that
// stops and restarts the tick, and reaches the platform only through MissionHost.
#pragma once

#include <string_view>

#include "shell/messages.h"
#include "shell/shell_state.h"

namespace mole {

class MissionHost {
  public:
    virtual ~MissionHost() = default;
    virtual DialogAnswer ask(std::string_view text, std::string_view caption, DialogButtons buttons,
                             bool topmost) = 0;
    virtual void playSound(int soundId) = 0;
    virtual void startTick() = 0;
    virtual void stopTick() = 0;
    virtual void invalidateAll() = 0;
    virtual void presentField() = 0;
    // Releases the surfaces and ends the event loop; sets state.ended. Safe to call again.
    virtual void quit() = 0;
};

// Every function returns at once when the program is ending, and stops as soon as a dialog
// comes back after the window was destroyed under it.

// The tick that finds the mode AwaitingIntro.
void runIntro(ShellState& state, MissionHost& host);
// Every right button press, whatever the mode.
void runNuke(ShellState& state, MissionHost& host);
// Inside the click that made the hundredth hit.
void runClosing(ShellState& state, MissionHost& host);

}  // namespace mole
