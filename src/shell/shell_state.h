// The game's whole state, in one plain struct. A front end holds the one instance of the
// process; tests build fresh ones.
#pragma once

#include <cstdint>

#include "game/mission_tally.h"
#include "game/mole_field.h"
#include "picture/surfaces.h"
#include "shell/messages.h"

namespace mole {

enum class GameMode : int32_t {
    Playing = 0,        // ticks advance the moles; a paint refreshes only the mole cells
    Halted = 1,         // a dialog is open or the program is ending; a paint shows the view
    AwaitingIntro = 2,  // the next tick runs the intro; a paint shows the view
};

enum class DialogAnswer { Ok, Yes, No };

struct ShellState {
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    Surfaces surfaces;
    GameMode mode = GameMode::Halted;
    MoleField moles;
    MissionTally tally;
    DialogTexts texts;  // the buffers every dialog text is composed in
    // Set once the program is ending: from then on nothing may touch the surfaces, show a
    // dialog or end the loop again, also when a dialog that was open returns later.
    bool ended = false;
};

}  // namespace mole
